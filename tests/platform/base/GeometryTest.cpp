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
    EXPECT_NEAR(east.Vinkel(), std::numbers::pi / 2, 1e-15);
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

    // (station, height): a 2 % rising grade.
    const B_Linje grade(DT_Punkt(100, 10), DT_Punkt(200, 12));
    EXPECT_NEAR(grade.StigningsTall(1.0, 1), 0.02, 1e-15);
    EXPECT_NEAR(grade.StigningsTall(100.0, 1), 2.0, 1e-12);
    const B_Linje back(DT_Punkt(200, 12), DT_Punkt(100, 10));
    EXPECT_NEAR(back.StigningsTall(1.0, 1), -0.02, 1e-15) << "walking down the grade";
    EXPECT_NEAR(back.StigningsTall(1.0, 0), 0.02, 1e-15) << "the same line seen the other way";
}

TEST(B_Vinkel, NormalisesIntoZeroToTwoPi) {
    B_Vinkel v;
    EXPECT_NEAR(v.InitMellom0og2PI(-std::numbers::pi / 2), 1.5 * std::numbers::pi, 1e-15);
    EXPECT_NEAR(v.InitMellom0og2PI(5 * std::numbers::pi), std::numbers::pi, 1e-14);
    EXPECT_EQ(v.InitMellom0og2PI(-1e-18), 0.0) << "never 2*pi itself";
    EXPECT_EQ(v.InitMellom0og2PI(0.25), 0.25);
}

TEST(VS_LinjePaalegg, TangentPointsOfAVerticalCurve) {
    // Grades of +1 % and -1 % meeting at station 500, radius 10000: the turn is
    // 2 * atan(0.01), T = 10000 * tan(atan(0.01)) = 100 m along each grade.
    const DT_Punkt corner(500, 20);
    B_Linje in(corner, DT_Punkt(0, 15));
    B_Linje out(corner, DT_Punkt(1000, 15));
    double t = 0;
    ASSERT_EQ(VS_LinjePaalegg::CalculateTangPoints(in, out, -10000.0, t), 1);
    EXPECT_NEAR(t, 100.0, 1e-9);
    const double run = 100.0 / std::sqrt(1.0 + 1e-4);
    EXPECT_NEAR(in.Slutt().x(), 500.0 - run, 1e-9);
    EXPECT_NEAR(in.Slutt().y(), 20.0 - 0.01 * run, 1e-9);
    EXPECT_NEAR(out.Slutt().x(), 500.0 + run, 1e-9);
    EXPECT_EQ(in.Start().x(), 500.0) << "the corner stays";

    B_Linje straightIn(corner, DT_Punkt(0, 15)), straightOut(corner, DT_Punkt(1000, 25));
    EXPECT_EQ(VS_LinjePaalegg::CalculateTangPoints(straightIn, straightOut, 5000, t), 0)
        << "no turn, no curve";

    VS_LinjePaalegg profile;
    profile.LeggTil(new DT_Punkt(0, 15, 0));
    profile.LeggTil(new DT_Punkt(500, 20, 10000));
    profile.LeggTil(new DT_Punkt(1000, 15, 0));
    EXPECT_EQ(profile.CheckCurve(), 1);
    EXPECT_NEAR(profile.TangentLength(1), 100.0, 1e-9);
    profile.Punkt(1)->Init(500, 20, 60000); // T = 600 m > 500 m to each end
    EXPECT_EQ(profile.CheckCurve(), 0);
    profile.Punkt(1)->Init(1000, 20, 0); // station equal to the next one
    EXPECT_EQ(profile.CheckCurve(), 0);
    VS_LinjePaalegg single;
    single.LeggTil(new DT_Punkt(0, 0, 0));
    EXPECT_EQ(single.CheckCurve(), 0);
}
