#include "frame/CentreTrack.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/Cant.h"
#include "points/CvMeasurePointSort.h"

#include "synthetic/SurveyCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <vector>

namespace {

class CentreTrack : public ::testing::Test {
protected:
    void SetUp() override { rigel_ClearCoordinateLists(); }
    void TearDown() override { rigel_ClearCoordinateLists(); }
    CvSporopPointList& Centre() { return rigel::State().CenterPoints; }
    CvSporopPointList& Left() { return rigel::State().LeftRailPoints; }
    CvSporopPointList& Right() { return rigel::State().RightRailPoints; }
};

// Rails of a straight track heading north, 1.5 m apart, one point a metre.
void StraightRails(CvSporopPointList& left, CvSporopPointList& right, int nLeft, int nRight,
                   double zLeft, double zRight) {
    for (int i = 0; i < nLeft; ++i)
        left.LeggTil(new CvSporopPoint(1000.0 + i, 500.0 - 0.75, zLeft, "L", ""));
    for (int i = 0; i < nRight; ++i)
        right.LeggTil(new CvSporopPoint(1000.0 + i, 500.0 + 0.75, zRight, "R", ""));
}

} // namespace

TEST(Cant, WholeMillimetresCutTowardsZeroWithoutLosingWholeOnes) {
    EXPECT_EQ(rigel::CantFromHeights(10.080, 10.0), 80) << "0.0799999... m is 80 mm";
    EXPECT_EQ(rigel::CantFromHeights(1.1, 1.0), 100);
    EXPECT_EQ(rigel::CantFromHeights(10.0845, 10.0), 84);
    EXPECT_EQ(rigel::CantFromHeights(10.0, 10.0845), -84);
    EXPECT_EQ(rigel::WholeMillimetres(std::nan("")), 999);
    EXPECT_EQ(rigel::WholeMillimetres(1e300), 2147483647);
}

TEST_F(CentreTrack, BothRailsGiveMidpointsWithCantAndCodes) {
    StraightRails(Left(), Right(), 10, 12, 10.0845, 10.0);
    ASSERT_TRUE(CheckCenterCoordinateList(nullptr));
    ASSERT_EQ(Centre().Antall(), 10) << "one centre point per point of the shorter rail";
    for (int i = 0; i < 10; ++i) {
        const CvSporopPoint& c = *Centre().Punkt(i);
        EXPECT_DOUBLE_EQ(c.x(), 1000.0 + i);
        EXPECT_DOUBLE_EQ(c.y(), 500.0);
        EXPECT_EQ(c.z(), 10.0) << "the lowest rail without an alignment";
        EXPECT_EQ(c.cant, 84);
        EXPECT_EQ(c.code, "C-" + std::to_string(i + 1));
        EXPECT_EQ(c.description, "[Calculated]");
    }
    int read = 0, deleted = 0, dup = 0, err = 0, analyzed = 0;
    GetQuickSortStatus(&read, &deleted, &dup, &err, &analyzed);
    EXPECT_EQ(read, 22) << "the totals cover both rails";

    rigel_ClearCoordinateLists();
    StraightRails(Left(), Right(), 12, 10, 10.0, 10.0845);
    ASSERT_TRUE(CheckCenterCoordinateList(nullptr));
    ASSERT_EQ(Centre().Antall(), 10) << "the right rail is walked";
    EXPECT_EQ(Centre().Punkt(0)->cant, -84) << "still left minus right";
}

TEST_F(CentreTrack, HeightFromTheInnerRailOfTheAlignment) {
    // Arcs of radius 500 m from (0, 0) heading north; positive curves to the right.
    for (const double radius : {500.0, -500.0, 0.0}) {
        rigel_ClearCoordinateLists();
        CvPolyLine alignment(1);
        const double length = 100.0, a = length / 500.0, side = radius > 0 ? 1.0 : -1.0;
        const DT_Punkt end = radius == 0.0
                                 ? DT_Punkt(length, 0.0)
                                 : DT_Punkt(500 * std::sin(a), side * 500 * (1 - std::cos(a)));
        alignment.AddElement(
            new CvPolyElement(DT_Punkt(0, 0), end, radius, radius, length, 0.0, length));
        for (int i = 1; i < 20; ++i) {
            const double s = i * 4.0, b = radius == 0.0 ? 0.0 : side * s / 500.0;
            const double cx = radius == 0.0 ? s : 500 * std::sin(s / 500.0);
            const double cy = radius == 0.0 ? 0.0 : side * 500 * (1 - std::cos(s / 500.0));
            const double nx = -std::sin(b), ny = std::cos(b); // right-hand normal
            // The inner rail is the higher one here, so that its height differs from the lowest.
            const double zLeft = radius > 0 ? 10.0 : 10.1, zRight = radius > 0 ? 10.1 : 10.0;
            Left().LeggTil(new CvSporopPoint(cx - 0.75 * nx, cy - 0.75 * ny, zLeft, "L", ""));
            Right().LeggTil(new CvSporopPoint(cx + 0.75 * nx, cy + 0.75 * ny, zRight, "R", ""));
        }
        ASSERT_TRUE(CheckCenterCoordinateList(&alignment));
        ASSERT_EQ(Centre().Antall(), 19);
        for (int i = 0; i < 19; ++i) {
            const CvSporopPoint& c = *Centre().Punkt(i);
            EXPECT_EQ(c.z(), radius == 0.0 ? 10.0 : 10.1)
                << "inner rail (lowest on the straight), radius " << radius;
            EXPECT_EQ(c.cant, radius > 0 ? -100 : 100);
        }
        if (radius != 0.0) {
            // The raised rail's height where the alignment does not reach: the lowest height.
            rigel_ClearCoordinateLists();
            // The inner rail is the higher one again: the lowest height proves it was not used.
            Left().LeggTil(new CvSporopPoint(-50, -0.75, radius > 0 ? 10.0 : 10.1, "L", ""));
            Right().LeggTil(new CvSporopPoint(-50, 0.75, radius > 0 ? 10.1 : 10.0, "R", ""));
            CheckCenterCoordinateList(&alignment);
            EXPECT_EQ(Centre().Punkt(0)->z(), 10.0);
        }
    }
}

TEST_F(CentreTrack, ListsTurnToRunAwayFromTheFirstMeasuredPoint) {
    // Measured from the north end: the first point read lies at the far end of the sorted line.
    for (int i = 9; i >= 0; --i) {
        Left().LeggTil(new CvSporopPoint(1000.0 + i, 499.25, 10.0, "L" + std::to_string(i), ""));
        Right().LeggTil(new CvSporopPoint(1000.0 + i, 500.75, 10.0, "R" + std::to_string(i), ""));
    }
    ASSERT_TRUE(CheckCenterCoordinateList(nullptr));
    EXPECT_EQ(Centre().Punkt(0)->x(), 1009.0);
    EXPECT_EQ(Centre().Punkt(0)->code, "C-1") << "codes count from the new first point";
    EXPECT_EQ(Centre().Punkt(9)->code, "C-10");
    EXPECT_EQ(Left().Punkt(0)->code, "L9");
    EXPECT_EQ(Right().Punkt(0)->code, "R9");
}

TEST_F(CentreTrack, MeasuredCentreOrOneRail) {
    // Only the right rail: sorted and copied with its own texts.
    for (int i = 4; i >= 0; --i)
        Right().LeggTil(new CvSporopPoint(10.0 + i, 0.0, 1.0, "R" + std::to_string(i), "right"));
    ASSERT_TRUE(CheckCenterCoordinateList(nullptr));
    ASSERT_EQ(Centre().Antall(), 5);
    EXPECT_EQ(Centre().Punkt(0)->code, "R4") << "sorted, then turned away from the first read";
    EXPECT_EQ(Centre().Punkt(0)->description, "right");
    EXPECT_EQ(Centre().Punkt(0)->cant, 999);

    // Centre points present: the rails are neither sorted nor used, only turned with the centre.
    rigel_ClearCoordinateLists();
    for (int i = 2; i >= 0; --i)
        Centre().LeggTil(new CvSporopPoint(i, 0.0, 0.0, "C" + std::to_string(i), ""));
    Left().LeggTil(new CvSporopPoint(5, 5, 0, "a", ""));
    Left().LeggTil(new CvSporopPoint(1, 1, 0, "b", ""));
    ASSERT_TRUE(CheckCenterCoordinateList(nullptr));
    EXPECT_EQ(Centre().Antall(), 3);
    EXPECT_EQ(Centre().Punkt(0)->code, "C2");
    EXPECT_EQ(Left().Punkt(0)->code, "b") << "reversed with the centre, never sorted";

    rigel_ClearCoordinateLists();
    EXPECT_FALSE(CheckCenterCoordinateList(nullptr));
}

TEST(CentreFromRails, NearestRailPointAsComparingEveryPair) {
    // Points on a coarse grid, so that many walked points have several equally near points.
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> cell(0, 30);
    CvSporopPointList left, right, centre;
    for (int i = 0; i < 300; ++i)
        left.LeggTil(new CvSporopPoint(cell(rng) * 0.5, cell(rng) * 0.5, i, "", ""));
    for (int i = 0; i < 400; ++i)
        right.LeggTil(new CvSporopPoint(cell(rng) * 0.5 + 0.25, cell(rng) * 0.5, -i, "", ""));
    rigel::CentreFromRails(left, right, nullptr, centre);
    ASSERT_EQ(centre.Antall(), 300);
    for (int i = 0; i < 300; ++i) {
        const CvSporopPoint& p = *left.Punkt(i);
        double best = 999999999999.0;
        int bestIndex = -1;
        for (int j = 0; j < right.Antall(); ++j) {
            const double dx = right.Punkt(j)->x() - p.x(), dy = right.Punkt(j)->y() - p.y();
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                bestIndex = j;
            }
        }
        EXPECT_EQ(centre.Punkt(i)->z(), std::min(p.z(), right.Punkt(bestIndex)->z())) << i;
    }
}

TEST_F(CentreTrack, LargeSurveysGiveTheSameRailsAndTotalsAsSortingInTurn) {
    // 2 x 12,000 points heading east on straights, transitions and arcs of R 400, shuffled, with
    // repeats and strays (some beside the ends): enough for the rails to be sorted side by side.
    rigel::bench::SurveyOptions o;
    o.length = 11999 * 0.25;
    o.startBearing = std::numbers::pi / 2;
    o.radius = 400.0;
    o.endStrays = 3;
    o.seed = 7;
    const std::vector<rigel::bench::SurveyPoint> survey = rigel::bench::MakeSurvey(o);
    const rigel::bench::SurveyCounts counts = rigel::bench::CountSurvey(survey);
    for (const rigel::bench::SurveyPoint& p : survey)
        (p.line == 1 ? Left() : Right()).LeggTil(new CvSporopPoint(p.x, p.y, p.z, "R", ""));
    CvSporopPointList left(1), right(1);
    left.CopyPointsFrom(Left());
    right.CopyPointsFrom(Right());
    CvMeasurePointSort inTurn;
    ASSERT_EQ(inTurn.Sort(&left, 1, 0), 1);
    ASSERT_EQ(inTurn.Sort(&right, 0, 0), 1);

    ASSERT_TRUE(CheckCenterCoordinateList(nullptr));
    int t[5] = {};
    GetQuickSortStatus(&t[0], &t[1], &t[2], &t[3], &t[4]);
    EXPECT_EQ((std::vector<int>(t, t + 5)),
              (std::vector<int>{inTurn.pointsRead, inTurn.pointsDeleted, inTurn.duplicates,
                                inTurn.measuredErrors, inTurn.pointsAnalyzed}));

    // The same points in the same order, both rails turned round if the track was.
    ASSERT_EQ(Left().Antall(), left.Antall());
    ASSERT_EQ(Right().Antall(), right.Antall());
    const bool turned = !Left().Punkt(0)->Lik(*left.Punkt(0), 0.0, 1);
    for (auto [got, expected] : {std::pair{&Left(), &left}, std::pair{&Right(), &right}}) {
        const int n = expected->Antall();
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(got->Punkt(i)->Lik(*expected->Punkt(turned ? n - 1 - i : i), 0.0, 1))
                << "point " << i;
    }

    // (The sort tests hold the sort's result to the survey's own counts and track order.)
    const rigel::bench::SurveyIndex index(survey);
    // Both rails have all their points, so the left one is walked, and the nearest right point
    // to each is the one of its own station: each centre point lies halfway between the two.
    std::map<long, const CvSporopPoint*> rightAt;
    for (int i = 0; i < Right().Antall(); ++i)
        rightAt[index.Find(Right().Punkt(i)->x(), Right().Punkt(i)->y())->index] = Right().Punkt(i);
    ASSERT_EQ(Centre().Antall(), counts.track[1]);
    for (int i = 0; i < Centre().Antall(); ++i) {
        const CvSporopPoint& l = *Left().Punkt(i);
        const CvSporopPoint& r = *rightAt.at(index.Find(l.x(), l.y())->index);
        ASSERT_NEAR(Centre().Punkt(i)->x(), (l.x() + r.x()) / 2, 1e-9) << "centre point " << i;
        ASSERT_NEAR(Centre().Punkt(i)->y(), (l.y() + r.y()) / 2, 1e-9) << "centre point " << i;
    }
}
