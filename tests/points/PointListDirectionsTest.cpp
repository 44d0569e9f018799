#include "points/CvSporopPointList.h"

#include "support/TestSupport.h"

namespace {

// Points every `spacing` metres on a circle of radius r, starting at (x0, y0) with bearing
// `bearing0`; turning right (clockwise, bearings growing) when right is set. Chord k has the
// bearing bearing0 + (k + 1/2) * theta, theta = spacing / r for a right-hand curve.
void FillArc(CvSporopPointList& list, int n, double r, double spacing, double bearing0,
             bool right) {
    const double side = right ? 1.0 : -1.0;
    // Centre a quarter turn to the side of the start bearing.
    const double cx = 6543210.0 + r * std::cos(bearing0 + side * std::numbers::pi / 2);
    const double cy = 123456.0 + r * std::sin(bearing0 + side * std::numbers::pi / 2);
    const double theta = spacing / r;
    for (int k = 0; k < n; ++k) {
        const double a =
            bearing0 - side * std::numbers::pi / 2 + side * k * theta; // centre -> point
        list.LeggTil(new CvSporopPoint(cx + r * std::cos(a), cy + r * std::sin(a), 0.0, "", ""));
    }
}

// Unevenly spaced points of a curve whose radius shrinks (y = 0.003 t^2 + 0.00005 t^3 beside a
// chord heading north-east), to the right and mirrored to the left. The bearings stay far from
// +-pi, so the accumulated turn is the weighted bearing's change since the second point, with
// the sign of a turn to the left (a right-hand curve falls): for a middle point b between a and
// c the weighted bearing is (bearing(a->b) |bc| + bearing(b->c) |ab|) / (|ab| + |bc|); the
// last point takes the last chord's bearing, the first the first chord's.
TEST(PointListDirections, WeightedBearingsOfUnevenChords) {
    const double t[] = {0, 6, 9, 17, 20, 31, 33, 44, 52, 55};
    const int n = 10;
    const double c0 = std::cos(0.7), s0 = std::sin(0.7);
    for (const double side : {1.0, -1.0}) {
        CvSporopPointList list;
        for (const double u : t) {
            const double v = side * (0.003 + 0.00005 * u) * u * u; // to the right of the chord
            list.LeggTil(new CvSporopPoint(6543210.0 + u * c0 - v * s0, 123456.0 + u * s0 + v * c0,
                                           0.0, "", ""));
        }
        const auto at = [&](int i) { return *list.Punkt(i); };
        const auto bearing = [&](int i, int j) {
            return std::atan2(at(j).y() - at(i).y(), at(j).x() - at(i).x());
        };
        const auto length = [&](int i, int j) {
            return std::hypot(at(j).y() - at(i).y(), at(j).x() - at(i).x());
        };
        const auto weighted = [&](int b) {
            const double ab = length(b - 1, b), bc = length(b, b + 1);
            return (bearing(b - 1, b) * bc + bearing(b, b + 1) * ab) / (ab + bc);
        };
        list.UpdateDirections(0);
        const double w1 = weighted(1);
        EXPECT_NEAR(list.Punkt(0)->direction, -(bearing(0, 1) - w1), 1e-12) << side;
        EXPECT_EQ(list.Punkt(1)->direction, 0.0);
        for (int i = 2; i + 1 < n; ++i)
            EXPECT_NEAR(list.Punkt(i)->direction, -(weighted(i) - w1), 1e-12) << side << " " << i;
        EXPECT_NEAR(list.Punkt(n - 1)->direction, -(bearing(n - 2, n - 1) - w1), 1e-12) << side;
        EXPECT_LT(side * list.Punkt(n - 1)->direction, -0.5) << "a right-hand curve falls";
    }
}

// A track heading south whose chord bearings run from just below +pi to just above -pi.
TEST(PointListDirections, BearingsThroughPlusMinusPiStayContinuous) {
    const double theta = 20.0 / 400.0;
    CvSporopPointList list;
    FillArc(list, 12, 400.0, 20.0, std::numbers::pi - 5.5 * theta, true);
    // The chords straddle the cut: the bearing jumps from +pi to -pi in the middle.
    ASSERT_GT(list.Punkt(4)->AngleTo(*list.Punkt(5)), 3.0);
    ASSERT_LT(list.Punkt(6)->AngleTo(*list.Punkt(7)), -3.0);

    // Turning right is negative: each weighted bearing is one chord angle on from the last.
    list.UpdateDirections(0);
    EXPECT_NEAR(list.Punkt(0)->direction, theta / 2, 1e-9);
    for (int i = 1; i + 1 < 12; ++i)
        EXPECT_NEAR(list.Punkt(i)->direction, -(i - 1) * theta, 1e-9) << i;
    EXPECT_NEAR(list.Punkt(11)->direction, -9 * theta - theta / 2, 1e-9);

    list.UpdateChordDirections();
    const double first = list.Punkt(0)->AngleTo(*list.Punkt(1));
    EXPECT_NEAR(list.Punkt(0)->direction, first, 1e-12);
    for (int i = 1; i < list.Antall(); ++i)
        EXPECT_NEAR(list.Punkt(i)->direction, first + (i - 1) * theta, 1e-9) << i;
}

// The curve (station, direction) through (0,0) (1,0) (2,1) (3,1): first and last take the chord
// bearings 0 and 0, the second the bearing pi/4 of the chord after it, the third the mean of
// pi/4 and 0 weighted by the other chord's length: (pi/4 * 1 + 0 * sqrt 2) / (sqrt 2 + 1).
TEST(PointListDirections, RecomputeTakesTheWeightedAngleOfTheDirectionCurve) {
    CvSporopPointList list;
    const double direction[] = {0, 0, 1, 1};
    for (int k = 0; k < 4; ++k) {
        auto* p = new CvSporopPoint(k, 0.0, 0.0, "", "");
        p->profile = k;
        p->direction = direction[k];
        list.LeggTil(p);
    }
    rigel::test::TraceCapture trace;
    list.RecomputeDirections();

    EXPECT_NEAR(list.Punkt(0)->direction, 0.0, 1e-15);
    EXPECT_NEAR(list.Punkt(1)->direction, std::numbers::pi / 4, 1e-15);
    EXPECT_NEAR(list.Punkt(2)->direction, (std::numbers::pi / 4) / (std::sqrt(2.0) + 1), 1e-15);
    EXPECT_NEAR(list.Punkt(3)->direction, 0.0, 1e-15);
    EXPECT_EQ(trace.lines, std::vector<std::string>{"pt2->direction = 1.000000 newDir = 0.325323"});
}

// On a right-hand arc the accumulated turn falls by theta per chord c = 2 r sin(theta / 2) of
// station: the curve (station, turn) is a line whose angle atan2(-theta, c) the middle points get.
TEST(PointListDirections, RecomputeFlagTakesTheAngleAgainstStation) {
    const double r = 300.0, theta = 7.0 / r;
    CvSporopPointList list;
    FillArc(list, 9, r, 7.0, 2.0, true);
    list.UpdateDefaultStationing(1, nullptr, 0);
    list.UpdateDirections(1);
    // The last point's turn is half a chord's, which bends the curve at its neighbour.
    for (int i = 2; i + 2 < list.Antall(); ++i)
        EXPECT_NEAR(list.Punkt(i)->direction, std::atan2(-theta, 2 * r * std::sin(theta / 2)), 1e-9)
            << i;
}

TEST(PointListDirections, ShortListsAreLeftAlone) {
    CvSporopPointList list;
    list.LeggTil(new CvSporopPoint(0, 0, 0, "", ""));
    list.LeggTil(new CvSporopPoint(1, 1, 0, "", ""));
    list.Punkt(0)->direction = list.Punkt(1)->direction = 7.0;
    list.UpdateDirections(1);
    list.UpdateChordDirections();
    list.RecomputeDirections();
    EXPECT_EQ(list.Punkt(0)->direction, 7.0);
    EXPECT_EQ(list.Punkt(1)->direction, 7.0);
}

// Infinite and huge values would keep a naive unwrapping loop turning for ever.
TEST(PointListDirections, NonFiniteValuesTerminate) {
    const double inf = std::numeric_limits<double>::infinity();
    CvSporopPointList list;
    for (int k = 0; k < 6; ++k) {
        auto* p = new CvSporopPoint(k, k % 2 == 0 ? 0.0 : 1e300, 0.0, "", "");
        p->profile = k == 3 ? inf : k;
        p->direction = k == 2 ? 1e300 : -1e-300;
        list.LeggTil(p);
    }
    list.Punkt(4)->Init(std::numeric_limits<double>::quiet_NaN(), inf);
    list.RecomputeDirections();
    list.UpdateDirections(1);
    list.UpdateChordDirections();
    // The first chord, (0,0) -> (1,1e300), is still an ordinary one: due east.
    EXPECT_NEAR(list.Punkt(0)->direction, std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(list.Punkt(1)->direction, std::numbers::pi / 2, 1e-12);
}

} // namespace
