// A curve between tangents set up from a polyline arc element.

#include "elements/C_Arc.h"

#include "platform/polyline/CvPolyElement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;

// An arc from start along the azimuth `azimuth` (north 0, east pi/2) with signed radius r.
CvPolyElement ArcFrom(const DT_Punkt& start, double azimuth, double r, double length) {
    CvPolyElement e;
    EXPECT_EQ(e.InitFromStart(start, kPi / 2 - azimuth, r, r, length, 0.0), 1);
    return e;
}
} // namespace

TEST(C_ArcFromElement, RightQuarterTurn) {
    // North from the origin, turning right with radius 100: centre (0, 100), end (100, 100).
    const CvPolyElement e = ArcFrom(DT_Punkt(0.0, 0.0), 0.0, 100.0, 50.0 * kPi);
    C_Arc arc;
    ASSERT_EQ(arc.InitFromArcElement(&e, 1), 1);
    EXPECT_TRUE(arc.Lik(DT_Punkt(0.0, 100.0), 1e-9, 0)) << arc.x() << " " << arc.y();
    // (Turn, tangent length and tangent points are checked on the left curve below.)
    EXPECT_TRUE(arc.PI()->Lik(DT_Punkt(100.0, 0.0), 1e-9, 0));
    EXPECT_DOUBLE_EQ(arc.Radius()->Get(), 100.0);

    // Axes swapped: the same curve mirrored, so the side rule gives it the other sign.
    C_Arc swapped;
    ASSERT_EQ(swapped.InitFromArcElement(&e, 0), 1);
    EXPECT_TRUE(swapped.Lik(DT_Punkt(100.0, 0.0), 1e-9, 0));
    EXPECT_TRUE(swapped.PI()->Lik(DT_Punkt(0.0, 100.0), 1e-9, 0));
    EXPECT_DOUBLE_EQ(swapped.Radius()->Get(), -100.0);
}

TEST(C_ArcFromElement, TangentPointsAgreeWithTheElementsEnds) {
    // A left curve of 30 degrees, radius 500, heading 1.1 rad, at map coordinates.
    const double r = -500.0, turn = kPi / 6;
    const CvPolyElement e = ArcFrom(DT_Punkt(6650000.0, 550000.0), 1.1, r, 500.0 * turn);
    C_Arc arc;
    ASSERT_EQ(arc.InitFromArcElement(&e, 1), 1);
    EXPECT_NEAR(arc.Deflection()->Get(), turn, 1e-9);
    EXPECT_NEAR(arc.TangentLength()->Get(), 500.0 * std::tan(turn / 2), 1e-6);
    EXPECT_DOUBLE_EQ(arc.Radius()->Get(), r);
    // PI lies T from both ends, and the recomputed tangent points are the element's ends.
    EXPECT_NEAR(arc.PI()->AvstandTil(*e.StartPoint()), arc.TangentLength()->Get(), 1e-6);
    EXPECT_NEAR(arc.PI()->AvstandTil(*e.EndPoint()), arc.TangentLength()->Get(), 1e-6);
    EXPECT_TRUE(arc.ArcStart()->Lik(*e.StartPoint(), 1e-6, 0));
    EXPECT_TRUE(arc.ArcEnd()->Lik(*e.EndPoint(), 1e-6, 0));
    EXPECT_NEAR(arc.AvstandTil(*e.StartPoint()), 500.0, 1e-6);
}

TEST(C_ArcFromElement, Failures) {
    C_Arc arc;
    EXPECT_EQ(arc.InitFromArcElement(nullptr, 1), -1);
    EXPECT_EQ(arc.ErrorKode(), -1);

    CvPolyElement line;
    line.InitFromStart(DT_Punkt(0.0, 0.0), 0.0, 0.0, 0.0, 50.0, 0.0);
    EXPECT_EQ(arc.InitFromArcElement(&line, 1), -2);
    CvPolyElement transition;
    transition.InitFromStart(DT_Punkt(0.0, 0.0), 0.0, 0.0, 300.0, 50.0, 0.0);
    EXPECT_EQ(arc.InitFromArcElement(&transition, 1), -2);

    const CvPolyElement noLength(DT_Punkt(0.0, 0.0), DT_Punkt(0.0, 0.0), 100.0, 100.0, 0.0, 0.0,
                                 0.0);
    EXPECT_EQ(arc.InitFromArcElement(&noLength, 1), 2);

    // A full circle has no chord to place it on, so no centre.
    const CvPolyElement circle(DT_Punkt(5.0, 5.0), DT_Punkt(5.0, 5.0), 100.0, 100.0, 200.0 * kPi,
                               0.0, 200.0 * kPi);
    EXPECT_EQ(arc.InitFromArcElement(&circle, 1), 3);

    // A half circle: the tangents at its ends are parallel.
    const CvPolyElement half = ArcFrom(DT_Punkt(0.0, 0.0), 0.0, 100.0, 100.0 * kPi);
    EXPECT_EQ(arc.InitFromArcElement(&half, 1), 4);
    EXPECT_EQ(arc.ErrorKode(), 4);

    const CvPolyElement good = ArcFrom(DT_Punkt(0.0, 0.0), 0.0, 100.0, 50.0);
    EXPECT_EQ(arc.InitFromArcElement(&good, 1), 1);
    EXPECT_EQ(arc.ErrorKode(), 0) << "cleared on success";
}
