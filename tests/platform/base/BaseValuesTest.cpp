// Numbers, points, texts and file names of the base component.

#include "platform/base/DT_Double.h"
#include "platform/base/DT_Punkt.h"
#include "platform/base/Filnavn.h"
#include "platform/base/Streng.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(DT_Double, TolerantComparisonsAtTheEdgeOfTheTolerance) {
    const DT_Double d(1.0);
    // Within the tolerance the value is "equal" and neither greater nor smaller.
    EXPECT_TRUE(d.Lik(1.0 + 0.5e-9, 1e-9));
    EXPECT_FALSE(d.Lik(1.0 + 2e-9, 1e-9));
    EXPECT_FALSE(d.StorreEnn(1.0 - 0.5e-9, 1e-9));
    EXPECT_TRUE(d.StorreEnn(1.0 - 2e-9, 1e-9));
    EXPECT_FALSE(d.MindreEnn(1.0 + 0.5e-9, 1e-9));
    EXPECT_TRUE(d.MindreEnn(1.0 + 2e-9, 1e-9));
    EXPECT_TRUE(d.StorreEllerLik(1.0 + 0.5e-9, 1e-9));
    EXPECT_TRUE(d.MindreEllerLik(1.0 - 0.5e-9, 1e-9));
    EXPECT_FALSE(d.MindreEllerLik(1.0 - 2e-9, 1e-9));
    // NaN on either side is neither equal, nor greater, nor smaller.
    const DT_Double nan(std::nan(""));
    for (const auto& [x, v] : {std::pair{nan, 1.0}, std::pair{d, std::nan("")}}) {
        EXPECT_FALSE(x.Lik(v, 1e-9) || x.StorreEnn(v, 1e-9) || x.MindreEnn(v, 1e-9));
        EXPECT_FALSE(x.StorreEllerLik(v, 1e-9));
        EXPECT_FALSE(x.MindreEllerLik(v, 1e-9));
    }

    DT_Double v(-2.345);
    v.RundAv(2);
    EXPECT_DOUBLE_EQ(v.Get(), -2.35) << "halves away from zero";

    DT_Int i(41);
    EXPECT_TRUE(i.Lik(42, 1));
    EXPECT_FALSE(i.Lik(43, 1));
}

TEST(DT_Punkt, BearingsAreAzimuthsFromNorthClockwise) {
    const DT_Punkt origin(100.0, 200.0, 5.0);
    EXPECT_NEAR(origin.AngleTo(DT_Punkt(110.0, 200.0)), 0.0, 1e-15) << "north";
    EXPECT_NEAR(origin.AngleTo(DT_Punkt(100.0, 210.0)), std::numbers::pi / 2, 1e-15) << "east";
    EXPECT_NEAR(origin.AngleTo(DT_Punkt(100.0, 190.0)), -std::numbers::pi / 2, 1e-15) << "west";
    EXPECT_NEAR(origin.AvstandTil(DT_Punkt(103.0, 204.0, 99.0)), 5.0, 1e-12) << "plan only";

    // InitPolar's plan position is in the curve-between-tangents tests (elements).
    DT_Punkt p;
    p.InitPolar(std::numbers::pi / 2, 10.0, origin);
    EXPECT_EQ(p.z(), 5.0);

    EXPECT_TRUE(origin.Lik(DT_Punkt(100.0, 200.0, 5.0 + 1e-10), 1e-9, 1));
    EXPECT_FALSE(origin.Lik(DT_Punkt(100.0, 200.0, 6.0), 1e-9, 1));
    EXPECT_TRUE(origin.Lik(DT_Punkt(100.0, 200.0, 6.0), 1e-9, 0)) << "plan only";
}

TEST(Streng, EditingOperations) {
    Streng s;
    s.Init("%d;%.2f;%s", 7, 1.005, "abc");
    EXPECT_EQ(s.str(), "7;1.00;abc"); // 1.005 is 1.00499999... in binary, as in C
    s.Add("%s", "%d");                // text that looks like a format stays text through %s
    EXPECT_EQ(s.str(), "7;1.00;abc%d");
    EXPECT_EQ(s.HvorEr("abc", 8), -1);
    EXPECT_EQ(s.GetFra(99).str(), "") << "past the end";

    Streng blank;
    blank.Set(" \t x y \r\n");
    blank.FjernBlanke();
    EXPECT_EQ(blank.str(), "x y");
    blank.FyllBlankeTilLengdeEr(5, 1);
    EXPECT_EQ(blank.str(), "x y  ");
    blank.FyllBlankeTilLengdeEr(7, 0);
    EXPECT_EQ(blank.str(), "  x y  ");
    blank.FyllBlankeTilLengdeEr(3, 1);
    EXPECT_EQ(blank.Lengde(), 7) << "a longer text is not cut";
}

TEST(Filnavn, PartsOfWindowsAndPosixNames) {
    const Filnavn windows("C:\\data\\line.old.kof");
    EXPECT_EQ(windows.Ext().str(), "kof");
    EXPECT_EQ(windows.Navn().str(), "line.old");
    EXPECT_EQ(windows.Mappe().str(), "C:\\data\\");
    const Filnavn dottedFolder("/a.b/file");
    EXPECT_EQ(dottedFolder.Ext().str(), "");
    EXPECT_EQ(dottedFolder.Navn().str(), "file");
}
