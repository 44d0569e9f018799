#include "points/CvSporopPointList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kNorth = 6543210.0;
constexpr double kEast = 123456.0;

// Points every `spacing` metres along a circle of radius r that starts at the map origin heading
// north; turning right (clockwise seen from above) when right is set, else left.
void FillArc(CvSporopPointList& list, int n, double r, double spacing, bool right) {
    const double theta = spacing / r; // central angle between neighbours
    const double side = right ? 1.0 : -1.0;
    for (int k = 0; k < n; ++k) {
        const double t = k * theta;
        list.LeggTil(new CvSporopPoint(kNorth + r * std::sin(t),
                                       kEast + side * r * (1 - std::cos(t)), 0.0, "", ""));
    }
}

// Signed radius of the circle through a, b, c computed here: R = |ab| |bc| |ca| / (2 |cross|),
// positive when b lies right of the chord a -> c (east of a chord heading north), 0 in a line.
double SignedRadius(const CvSporopPoint& a, const CvSporopPoint& b, const CvSporopPoint& c) {
    const double abx = b.x() - a.x(), aby = b.y() - a.y();
    const double acx = c.x() - a.x(), acy = c.y() - a.y();
    const double cross = acx * aby - acy * abx;
    if (cross == 0.0)
        return 0.0;
    const double ab = std::hypot(abx, aby), ac = std::hypot(acx, acy);
    const double bc = std::hypot(c.x() - b.x(), c.y() - b.y());
    return ab * bc * ac / (2.0 * cross);
}

// Ten points of a curve whose radius shrinks (y = 0.002 t^2 + 0.00004 t^3 beside a line heading
// north), unevenly spaced, so that every window and every circle gives its own value. The
// circles of each point, bits 1, 2 and 3, written out: the end windows reach the end point,
// the middle ones are symmetric, points 0 and 9 extrapolate from their two inward neighbours.
TEST(PointListCurvature, EndAndMiddleWindowsOnIrregularPoints) {
    const double t[] = {0, 7, 11, 20, 24, 35, 38, 50, 61, 64};
    const int circles[10][3][3] = {{},
                                   {{0, 1, 2}, {0, 1, 3}, {0, 1, 4}},
                                   {{1, 2, 3}, {0, 2, 4}, {0, 2, 5}},
                                   {{2, 3, 4}, {1, 3, 5}, {0, 3, 6}},
                                   {{3, 4, 5}, {2, 4, 6}, {1, 4, 7}},
                                   {{4, 5, 6}, {3, 5, 7}, {2, 5, 8}},
                                   {{5, 6, 7}, {4, 6, 8}, {3, 6, 9}},
                                   {{6, 7, 8}, {5, 7, 9}, {4, 7, 9}},
                                   {{7, 8, 9}, {6, 8, 9}, {5, 8, 9}},
                                   {}};
    for (const double side : {1.0, -1.0}) {
        CvSporopPointList list;
        for (const double u : t)
            list.LeggTil(new CvSporopPoint(kNorth + u, kEast + side * (0.002 + 0.00004 * u) * u * u,
                                           0.0, "", ""));
        ASSERT_EQ(list.UpdateCurvatures(), 1);
        ASSERT_EQ(list.UpdateCurvatures7(), 1);
        ASSERT_EQ(list.UpdateCurvaturesByCircles(7, CvSporopPointList::kTargetCurvature3), 1);
        for (const auto& [mask, field] :
             {std::pair{1, &CvSporopPoint::curvature}, std::pair{4, &CvSporopPoint::curvature7},
              std::pair{7, &CvSporopPoint::curvature3}}) {
            double expected[10];
            for (int i = 1; i <= 8; ++i) {
                double sum = 0;
                int count = 0;
                for (int k = 0; k < 3; ++k) {
                    if ((mask >> k & 1) == 0)
                        continue;
                    const int(&c)[3] = circles[i][k];
                    sum += SignedRadius(*list.Punkt(c[0]), *list.Punkt(c[1]), *list.Punkt(c[2]));
                    ++count;
                }
                expected[i] = count / sum;
            }
            expected[0] = 2 * expected[1] - expected[2];
            expected[9] = 2 * expected[8] - expected[7];
            for (int i = 0; i < 10; ++i) {
                const double got = list.Punkt(i)->*field;
                EXPECT_NEAR(got, expected[i], 1e-7 * std::fabs(expected[i]))
                    << "side " << side << " mask " << mask << " point " << i;
                // Side 1 bends east, a right-hand curve: its points lie west (left) of their
                // chords, which is negative.
                EXPECT_LT(side * got, 0.0);
            }
        }
    }
}

// Middle point (0,0): the circle through (-1,1) and (1,1) has radius 1, the one through (-2,0)
// and (2,0) does not exist, the one through (-3,3) and (3,3) has radius 3 (centre (0,3)); the
// middle point lies left (west) of both chords. Value 1 / ((-1 + 0 - 3) / 3).
TEST(PointListCurvature, DegenerateCircleCountsAsZeroRadiusInTheMean) {
    CvSporopPointList list;
    for (const auto& [x, y] : {std::pair{-3, 3}, {-2, 0}, {-1, 1}, {0, 0}, {1, 1}, {2, 0}, {3, 3}})
        list.LeggTil(new CvSporopPoint(x, y, 0.0, "", ""));
    ASSERT_EQ(list.UpdateCurvaturesByCircles(7, CvSporopPointList::kTargetCurvature3), 1);
    EXPECT_NEAR(list.Punkt(3)->curvature3, -0.75, 1e-12);
    // Only the degenerate circle selected: no radius, no curvature.
    ASSERT_EQ(list.UpdateCurvaturesByCircles(2, CvSporopPointList::kTargetCurvature3), 1);
    EXPECT_EQ(list.Punkt(3)->curvature3, 0.0);
}

TEST(PointListCurvature, ShortListsAndUnknownTargetsChangeNothing) {
    CvSporopPointList list;
    FillArc(list, 6, 500.0, 5.0, true);
    for (int i = 0; i < 6; ++i)
        list.Punkt(i)->curvature = list.Punkt(i)->curvature7 = 0.5;
    EXPECT_EQ(list.UpdateCurvatures(), 0);
    EXPECT_EQ(list.UpdateCurvatures7(), 0);
    EXPECT_EQ(list.UpdateCurvaturesByCircles(7, 3), 0);
    // Seven points are enough (the degenerate circle's test), but not for an unknown target.
    list.LeggTil(new CvSporopPoint(kNorth + 30, kEast, 0.0, "", ""));
    EXPECT_EQ(list.UpdateCurvaturesByCircles(1, 5), 0);
    EXPECT_EQ(list.UpdateCurvaturesByCircles(1, 0), 0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list.Punkt(i)->curvature, 0.5);
        EXPECT_EQ(list.Punkt(i)->curvature7, 0.5);
        EXPECT_EQ(list.Punkt(i)->curvature3, 0.0);
    }
}

// Height against station on a crest of radius 2000 m and a sag of radius 3000 m: a crest has its
// middle points above the chords, which is positive.
TEST(PointListCurvature, VerticalCurvatureOfCrestAndSag) {
    for (const double r : {2000.0, -3000.0}) {
        CvSporopPointList list;
        const double c = std::fabs(r);
        for (int k = 0; k < 15; ++k) {
            const double s = 1000.0 + 10.0 * k;
            const double u = s - 1070.0; // summit or bottom at station 1070
            const double z =
                r > 0 ? 50.0 + std::sqrt(c * c - u * u) - c : 50.0 - std::sqrt(c * c - u * u) + c;
            auto* p = new CvSporopPoint(kNorth + k, kEast, z, "", "");
            p->profile = s;
            list.LeggTil(p);
        }
        ASSERT_EQ(list.UpdateVerticalCurvatures(), 1);
        for (int i = 0; i < list.Antall(); ++i)
            EXPECT_NEAR(list.Punkt(i)->verticalCurvature, 1.0 / r, 1e-9) << r << " " << i;
    }
}

TEST(PointListCurvature, EqualAndNaNPointsDoNotSpreadBeyondTheirCircles) {
    CvSporopPointList equal;
    for (int k = 0; k < 10; ++k)
        equal.LeggTil(new CvSporopPoint(kNorth, kEast, 0.0, "", ""));
    ASSERT_EQ(equal.UpdateCurvaturesByCircles(7, CvSporopPointList::kTargetCurvature3), 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(equal.Punkt(i)->curvature3, 0.0);

    CvSporopPointList list;
    FillArc(list, 30, 500.0, 5.0, false);
    list.Punkt(15)->Init(std::numeric_limits<double>::quiet_NaN(), kEast);
    ASSERT_EQ(list.UpdateCurvatures7(), 1);
    EXPECT_TRUE(std::isnan(list.Punkt(15)->curvature7));
    // Points whose circle does not reach the bad point keep their value.
    for (int i : {0, 5, 11, 13, 17, 19, 25, 29})
        EXPECT_NEAR(list.Punkt(i)->curvature7, 1.0 / 500, 1e-9) << i;
}

} // namespace
