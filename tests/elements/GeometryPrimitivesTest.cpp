// Construction lines, three-point circles, curves between tangents, segment crossings and the
// clothoid parameter. Expected values are worked out by hand from the geometry of each case.

#include "elements/B_Linje2.h"
#include "elements/B_Sirkel2.h"
#include "elements/C_Arc.h"
#include "elements/CvTransCurveOk.h"
#include "elements/PlaneSegment.h"

#include "support/TestSupport.h"

namespace {
constexpr double kPi = std::numbers::pi;
using rigel::test::In;
} // namespace

// The deflection is unsigned and folded into a half turn, in the unit asked for.
TEST(B_Linje2, DeflectionIsUnsignedAndFoldedIntoAHalfTurnInEveryUnit) {
    const DT_Punkt o(0.0, 0.0);
    B_Linje2 north(o, DT_Punkt(5.0, 0.0)), east(o, DT_Punkt(0.0, 5.0));
    EXPECT_NEAR(north.DeflectionTo(east, B_Linje2::kRadians), kPi / 2, 1e-15);
    EXPECT_NEAR(east.DeflectionTo(north, B_Linje2::kGon), 100.0, 1e-6);
    // Bearings of +170 and -170 degrees differ by 340 degrees as numbers, by 20 as directions.
    const double d = 170.0 * kPi / 180.0;
    B_Linje2 at170(o, DT_Punkt(std::cos(d), std::sin(d)));
    EXPECT_NEAR(
        at170.DeflectionTo(B_Linje(o, DT_Punkt(std::cos(-d), std::sin(-d))), B_Linje2::kDegrees),
        20.0, 1e-6);
}

TEST(B_Sirkel2, CircleOfKnownRadiusAndItsSignBySide) {
    // Circle of radius 50 about (x0, y0 + 50): the track leaves (x0, y0) heading north and turns
    // right (east); the points sit at bearings 270, 315 and 360 degrees from the centre.
    const double x0 = 6543210.0, y0 = 512345.0, r = 50.0;
    const DT_Punkt a(x0, y0);
    const DT_Punkt b(x0 + r * std::sqrt(0.5), y0 + r - r * std::sqrt(0.5));
    const DT_Punkt c(x0 + r, y0 + r);

    B_Sirkel2 circle;
    EXPECT_EQ(circle.ThreePointCircle(&a, &b, &c), 1) << "a right-hand curve";
    EXPECT_NEAR(circle.Radius()->Get(), r, 1e-7);
    EXPECT_NEAR(circle.Senter()->x(), x0, 1e-7);
    EXPECT_NEAR(circle.Senter()->y(), y0 + r, 1e-7);

    B_Sirkel2 reversed;
    EXPECT_EQ(reversed.ThreePointCircle(&c, &b, &a), -1) << "the same curve travelled back";
    EXPECT_NEAR(reversed.Radius()->Get(), r, 1e-7) << "the radius itself is unsigned";
}

TEST(B_Sirkel2, DegenerateTriplesLeaveNoCircleBehind) {
    // Each case after a real circle (radius 5 about (4, 3)), which must not survive it.
    const DT_Punkt a(0.0, 0.0), b(3.0, 4.0), c(6.0, 8.0), d(1.0, 7.0), e(7.0, 7.0);
    const struct {
        const DT_Punkt *p, *q, *r;
        int code;
    } cases[] = {{&a, &b, &c, 0},
                 {&a, &a, &d, -2},
                 {&a, &d, &d, -4},
                 {&a, &d, &a, -3},
                 {&a, nullptr, &d, -5}};
    for (const auto& k : cases) {
        B_Sirkel2 circle;
        ASSERT_EQ(circle.ThreePointCircle(&a, &d, &e), -1);
        ASSERT_NEAR(circle.Radius()->Get(), 5.0, 1e-12);
        EXPECT_EQ(circle.ThreePointCircle(k.p, k.q, k.r), k.code);
        EXPECT_EQ(circle.Radius()->Get(), 0.0) << k.code;
        EXPECT_EQ(circle.Senter()->x(), 0.0) << k.code;
        EXPECT_EQ(circle.Senter()->y(), 0.0) << k.code;
    }
    // Within 1e-9 counts as equal.
    B_Sirkel2 circle;
    EXPECT_EQ(circle.ThreePointCircle(&a, &d, In(DT_Punkt(1.0, 7.0 + 1e-10))), -4);
}

TEST(C_Arc, TangentLengthAndRadiusOfQuarterAndSixtyDegreeTurns) {
    // Tangents north then east: a right-hand quarter turn with PI at (100, 0).
    C_Arc arc;
    arc.TangentStart(In(DT_Punkt(0.0, 0.0)));
    arc.PI(In(DT_Punkt(100.0, 0.0)));
    arc.TangentEnd(In(DT_Punkt(100.0, 300.0)));
    EXPECT_NEAR(arc.Deflection()->Get(), kPi / 2, 1e-15);

    arc.Radius(In(DT_Double(100.0)));
    EXPECT_NEAR(arc.TangentLength()->Get(), 100.0, 1e-12);
    EXPECT_DOUBLE_EQ(arc.Radius()->Get(), 100.0) << "tangent end right of the first tangent";
    EXPECT_TRUE(arc.ArcStart()->Lik(DT_Punkt(0.0, 0.0), 1e-12));
    EXPECT_TRUE(arc.ArcEnd()->Lik(DT_Punkt(100.0, 100.0), 1e-12));

    // Mirrored to the left the radius turns negative, whatever sign was given.
    arc.TangentEnd(In(DT_Punkt(100.0, -300.0)));
    arc.Radius(In(DT_Double(100.0)));
    EXPECT_DOUBLE_EQ(arc.Radius()->Get(), -100.0);
    arc.TangentLength(In(DT_Double(-100.0)));
    EXPECT_DOUBLE_EQ(arc.TangentLength()->Get(), 100.0);
    EXPECT_NEAR(arc.Radius()->Get(), -100.0, 1e-12);

    // Deflection 60 degrees: T = R tan 30 = R / sqrt(3).
    arc.TangentEnd(In(DT_Punkt(100.0 + std::cos(kPi / 3), std::sin(kPi / 3))));
    arc.Radius(In(DT_Double(300.0)));
    EXPECT_NEAR(arc.TangentLength()->Get(), 300.0 / std::sqrt(3.0), 1e-9);
    arc.TangentLength(In(DT_Double(100.0)));
    EXPECT_NEAR(arc.Radius()->Get(), 100.0 * std::sqrt(3.0), 1e-9);
}

TEST(C_Arc, HalfTurnAndStraightStayFinite) {
    C_Arc arc;
    arc.TangentStart(In(DT_Punkt(0.0, 0.0)));
    arc.PI(In(DT_Punkt(100.0, 0.0)));
    arc.TangentEnd(In(DT_Punkt(40.0, 0.0))); // back along the first tangent
    EXPECT_NEAR(arc.Deflection()->Get(), kPi, 1e-15);
    arc.Radius(In(DT_Double(-250.0)));
    EXPECT_EQ(arc.TangentLength()->Get(), 0.0);
    EXPECT_EQ(arc.Radius()->Get(), 250.0) << "tangent end on the line counts as right";
    arc.TangentLength(In(DT_Double(30.0)));
    EXPECT_EQ(arc.TangentLength()->Get(), 30.0);
    EXPECT_EQ(arc.Radius()->Get(), 250.0);
    EXPECT_TRUE(arc.ArcStart()->Lik(DT_Punkt(70.0, 0.0), 1e-12));

    arc.TangentEnd(In(DT_Punkt(300.0, 0.0))); // straight on
    EXPECT_EQ(arc.Deflection()->Get(), 0.0);
    arc.TangentLength(In(DT_Double(30.0)));
    EXPECT_EQ(arc.Radius()->Get(), 0.0);
    arc.Radius(In(DT_Double(500.0)));
    EXPECT_EQ(arc.TangentLength()->Get(), 0.0);
}

TEST(PlaneSegment, CrossingInsideOutsideAndParallel) {
    const PlaneSegment s{0.0, 0.0, 2.0, 2.0};
    double x = -1.0, y = -1.0;
    EXPECT_EQ(s.SegmentIntersection(0.0, 2.0, 2.0, 0.0, x, y), 1);
    EXPECT_DOUBLE_EQ(x, 1.0);
    EXPECT_DOUBLE_EQ(y, 1.0);

    // The lines cross at (3, 3), beyond the end of s and on the other segment.
    EXPECT_EQ(s.SegmentIntersection(3.0, 0.0, 3.0, 5.0, x, y), 0);
    EXPECT_DOUBLE_EQ(x, 3.0);
    EXPECT_DOUBLE_EQ(y, 3.0);

    x = y = -7.0;
    EXPECT_EQ(s.SegmentIntersection(0.0, 1.0, 2.0, 3.0, x, y), 0);
    EXPECT_EQ(x, -7.0);
    EXPECT_EQ(y, -7.0);

    // A segment along y: its position comes from y.
    const PlaneSegment v{0.0, 0.0, 0.0, 10.0};
    EXPECT_EQ(v.SegmentIntersection(-5.0, 5.0, 5.0, 5.0, x, y), 1);
    EXPECT_EQ(v.SegmentIntersection(-5.0, 15.0, 5.0, 15.0, x, y), 0);
}

TEST(CvTransCurveOk, ParameterFromLengthAndRadii) {
    const CvTransCurveOk clothoid;
    EXPECT_DOUBLE_EQ(clothoid.CurvatureChange(0.0, 400.0), 0.0025);
    EXPECT_DOUBLE_EQ(clothoid.CurvatureChange(-400.0, 0.0), 0.0025);
    EXPECT_NEAR(clothoid.ParameterFromLength(0.0, 400.0, 80.0), 178.88543819998318, 1e-12);
    EXPECT_NEAR(clothoid.ParameterFromLength(0.0, 400.0, -80.0), 178.88543819998318, 1e-12);
    // 1/400 - 1/1200 = 1/600.
    EXPECT_NEAR(clothoid.ParameterFromLength(1200.0, 400.0, 200.0), std::sqrt(120000.0), 1e-9);
    EXPECT_EQ(clothoid.CurvatureChange(0.0, 1e-10), 0.0);
    EXPECT_EQ(clothoid.ParameterFromLength(0.0, 0.0, 80.0), 0.0);
    EXPECT_EQ(clothoid.ParameterFromLength(500.0, 500.0, 80.0), 0.0);
    EXPECT_EQ(clothoid.ParameterFromLength(400.0, -400.0, 80.0), 0.0) << "magnitudes";
}
