// Lines, angles and the vertical intersection-point list, against values computed by hand.

#include "platform/base/B_Linje.h"
#include "platform/base/B_Vinkel.h"
#include "platform/base/VS_LinjePaalegg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(B_Linje, SignedDistanceIsPositiveToTheRightOfTheDirection) {
    const B_Linje north(DT_Punkt(0, 0), DT_Punkt(10, 0));
    EXPECT_NEAR(north.DistTo3DLine(DT_Punkt(5, 2)), 2.0, 1e-12) << "east of a line heading north";
    EXPECT_NEAR(north.DistTo3DLine(DT_Punkt(5, -3)), -3.0, 1e-12);
    const B_Linje east(DT_Punkt(0, 0), DT_Punkt(0, 10));
    EXPECT_NEAR(east.DistTo3DLine(DT_Punkt(-1, 4)), 1.0, 1e-12) << "south of a line heading east";
}

TEST(B_Linje, IntersectionAndGrade) {
    const B_Linje a(DT_Punkt(0, 0), DT_Punkt(10, 10));
    const B_Linje b(DT_Punkt(0, 10), DT_Punkt(10, 0));
    DT_Punkt x(-1, -1, 7);
    ASSERT_EQ(a.SkjaeringMed(b, x), 1);
    EXPECT_NEAR(x.x(), 5.0, 1e-12);
    EXPECT_NEAR(x.y(), 5.0, 1e-12);
    EXPECT_EQ(x.z(), 7.0);
    // Outside both segments the unbounded lines still meet.
    ASSERT_EQ(B_Linje(DT_Punkt(0, 0), DT_Punkt(1, 0))
                  .SkjaeringMed(B_Linje(DT_Punkt(5, 3), DT_Punkt(5, 4)), x),
              1);
    EXPECT_NEAR(x.x(), 5.0, 1e-12);
    EXPECT_NEAR(x.y(), 0.0, 1e-12);
    DT_Punkt untouched(1, 2);
    EXPECT_EQ(a.SkjaeringMed(B_Linje(DT_Punkt(0, 1), DT_Punkt(5, 6)), untouched), 0);
    EXPECT_EQ(untouched.x(), 1.0);

    // (station, height): a 2 % rising grade in percent. Grades per metre and their sign either
    // way along a line are in the vertical tables' goldens (the crest and sag signs).
    const B_Linje grade(DT_Punkt(100, 10), DT_Punkt(200, 12));
    EXPECT_NEAR(grade.StigningsTall(100.0, 1), 2.0, 1e-12);
}

TEST(B_Vinkel, NormalisesIntoZeroToTwoPi) {
    B_Vinkel v;
    EXPECT_NEAR(v.InitMellom0og2PI(-std::numbers::pi / 2), 1.5 * std::numbers::pi, 1e-15);
    EXPECT_NEAR(v.InitMellom0og2PI(5 * std::numbers::pi), std::numbers::pi, 1e-14);
    EXPECT_EQ(v.InitMellom0og2PI(-1e-18), 0.0) << "never 2*pi itself";
    EXPECT_EQ(v.InitMellom0og2PI(0.25), 0.25);
}

// Tangent points and lengths, and a curve too long for its grades, are in the goldens of the
// vertical tables (formats) and of the rail output; here what those never meet.
TEST(VS_LinjePaalegg, NoCurveWithoutATurnOrWithoutRisingStations) {
    const DT_Punkt corner(500, 20);
    B_Linje straightIn(corner, DT_Punkt(0, 15)), straightOut(corner, DT_Punkt(1000, 25));
    double t = 0;
    EXPECT_EQ(VS_LinjePaalegg::CalculateTangPoints(straightIn, straightOut, 5000, t), 0)
        << "no turn, no curve";

    VS_LinjePaalegg profile;
    profile.LeggTil(new DT_Punkt(0, 15, 0));
    profile.LeggTil(new DT_Punkt(1000, 20, 0)); // station equal to the next one
    profile.LeggTil(new DT_Punkt(1000, 15, 0));
    EXPECT_EQ(profile.CheckCurve(), 0);
    profile.SlettAlleIListen(1);
    profile.LeggTil(new DT_Punkt(0, 0, 0));
    EXPECT_EQ(profile.CheckCurve(), 0) << "a single point";
}
