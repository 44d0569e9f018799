#include "elements/B_Sirkel2.h"

#include "elements/B_Linje2.h"

#include <cmath>

namespace {
constexpr double kTolerance = 1e-9;
}

int B_Sirkel2::ThreePointCircle(const DT_Punkt* a, const DT_Punkt* b, const DT_Punkt* c) {
    // No circle: radius 0 about the origin, so that nothing of an earlier circle survives.
    const auto none = [this](int code) {
        const DT_Punkt origin;
        const DT_Double zero(0.0);
        Senter(&origin);
        Radius(&zero);
        return code;
    };
    if (a == nullptr || b == nullptr || c == nullptr)
        return none(kPointMissing);
    if (a->AvstandTil(*b) <= kTolerance)
        return none(kFirstPairEqual);
    if (b->AvstandTil(*c) <= kTolerance)
        return none(kSecondPairEqual);
    if (a->AvstandTil(*c) <= kTolerance)
        return none(kChordZero);

    const B_Linje2 chord(*a, *c);
    const double side = chord.SignedDistance(*b);
    if (std::fabs(side) <= kTolerance)
        return none(kCollinear);

    // Intersection of the perpendicular bisectors of a-b and a-c, relative to a so that large
    // map coordinates do not swamp the small differences.
    const double bx = b->x() - a->x(), by = b->y() - a->y();
    const double cx = c->x() - a->x(), cy = c->y() - a->y();
    const double det = 2.0 * (bx * cy - by * cx);
    if (det == 0.0)
        return none(kCollinear);
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double ux = (cy * b2 - by * c2) / det;
    const double uy = (bx * c2 - cx * b2) / det;

    const DT_Punkt centre(a->x() + ux, a->y() + uy, 0.0);
    Senter(&centre);
    const DT_Double radius(std::hypot(ux, uy));
    Radius(&radius);
    return side < 0.0 ? 1 : -1;
}
