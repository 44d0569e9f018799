// Circle curvatures of a point list: plan curvatures from circles through each point and
// neighbours at one, two and three places, and the curvature of the height profile.

#include "points/CvSporopPointList.h"

#include "elements/B_Sirkel2.h"

#include <cmath>

namespace {

constexpr double kTolerance = 1e-9;

// Signed radius of the circle through a, b and c: positive when b lies to the right of the chord
// a -> c (B_Linje::DistTo3DLine positive), negative to the left, 0 when there is no circle.
// ThreePointCircle answers +1 for b on the left, hence the change of sign.
double SignedRadius(const DT_Punkt& a, const DT_Punkt& b, const DT_Punkt& c) {
    B_Sirkel2 circle;
    const int orientation = circle.ThreePointCircle(&a, &b, &c);
    if (orientation != 1 && orientation != -1)
        return 0.0;
    return -orientation * circle.Radius()->Get();
}

// One curvature value from up to three circles, each given by the list indices of its three
// points in track order; circle k counts when bit k of mask is set, a circle without radius
// counting as 0. The value is the reciprocal of the mean signed radius (not the mean curvature).
template <typename PointAt>
double CircleCurvature(int mask, const PointAt& at, const int (&circles)[3][3]) {
    double sum = 0.0;
    int selected = 0;
    for (int k = 0; k < 3; ++k) {
        if ((mask & (1 << k)) == 0)
            continue;
        ++selected;
        sum += SignedRadius(at(circles[k][0]), at(circles[k][1]), at(circles[k][2]));
    }
    if (selected == 0)
        return 0.0;
    const double mean = sum / selected;
    return DT_Double(mean).Lik(0.0, kTolerance) ? 0.0 : 1.0 / mean;
}

double CvSporopPoint::*TargetField(int target) {
    switch (target) {
    case CvSporopPointList::kTargetCurvature:
        return &CvSporopPoint::curvature;
    case CvSporopPointList::kTargetCurvature7:
        return &CvSporopPoint::curvature7;
    case CvSporopPointList::kTargetCurvature3:
        return &CvSporopPoint::curvature3;
    case CvSporopPointList::kTargetVerticalCurvature:
        return &CvSporopPoint::verticalCurvature;
    default:
        return nullptr;
    }
}

} // namespace

int CvSporopPointList::UpdateCurvatures() {
    return UpdateCurvaturesByCircles(1, kTargetCurvature);
}

int CvSporopPointList::UpdateCurvatures7() {
    return UpdateCurvaturesByCircles(4, kTargetCurvature7);
}

int CvSporopPointList::UpdateVerticalCurvatures() {
    return UpdateCurvaturesByCircles(1, kTargetVerticalCurvature);
}

int CvSporopPointList::UpdateCurvaturesByCircles(int mask, int target) {
    const int n = Antall();
    double CvSporopPoint::*field = TargetField(target);
    if (n < 7 || field == nullptr)
        return 0;

    // The vertical curvature is the curvature of height against station.
    const bool vertical = target == kTargetVerticalCurvature;
    const auto at = [this, vertical](int i) {
        const CvSporopPoint* p = Punkt(i);
        return vertical ? DT_Punkt(p->profile, p->z()) : DT_Punkt(p->x(), p->y());
    };
    const auto value = [&](const int(&circles)[3][3]) {
        return CircleCurvature(mask, at, circles);
    };

    // Every point with three points on either side: circles through its neighbours at one, two
    // and three places.
    for (int i = 3; i + 3 < n; ++i) {
        const int circles[3][3] = {{i - 1, i, i + 1}, {i - 2, i, i + 2}, {i - 3, i, i + 3}};
        Punkt(i)->*field = value(circles);
    }

    // Each end from the six points e0 (the end point) ... e5 inward: the third point from the end
    // and the second from circles that reach the end point, the end point by extrapolating the
    // two values inward of it. Circles keep their points in track order, so the signs agree with
    // the middle.
    for (const bool start : {true, false}) {
        const auto e = [&](int k) { return start ? k : n - 1 - k; };
        // Circles given by positions counted from the end inward, turned into list indices in
        // track order.
        const auto circleSet = [&](const int(&inward)[3][3], int(&out)[3][3]) {
            for (int k = 0; k < 3; ++k) {
                const int a = e(inward[k][0]), b = e(inward[k][1]), c = e(inward[k][2]);
                out[k][0] = start ? a : c;
                out[k][1] = b;
                out[k][2] = start ? c : a;
            }
        };
        const int third[3][3] = {{1, 2, 3}, {0, 2, 4}, {0, 2, 5}};
        const int second[3][3] = {{0, 1, 2}, {0, 1, 3}, {0, 1, 4}};
        int circles[3][3];
        circleSet(third, circles);
        Punkt(e(2))->*field = value(circles);
        circleSet(second, circles);
        Punkt(e(1))->*field = value(circles);
        const double v1 = Punkt(e(1))->*field;
        const double v2 = Punkt(e(2))->*field;
        Punkt(e(0))->*field = v1 - (v2 - v1);
    }
    return 1;
}
