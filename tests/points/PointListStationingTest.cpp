#include "points/CvSporopPointList.h"

#include "platform/polyline/CvPolyLine.h"
#include "support/TestSupport.h"

namespace {

// Plan distance only: (0,0) -> (3,4) is 5 whatever the heights.
TEST(PointListStationing, DefaultStationingAndLengthsOnly) {
    CvSporopPointList list;
    list.LeggTil(new CvSporopPoint(0, 0, 0, "", ""));
    list.LeggTil(new CvSporopPoint(3, 4, 100, "", ""));
    list.LeggTil(new CvSporopPoint(3, 16, -7, "", ""));
    list.Punkt(0)->length = -1.0; // the first point's length is not written
    const DT_Double start(100.0);
    EXPECT_EQ(list.UpdateDefaultStationing(1, &start, 0), 0);
    EXPECT_EQ(list.Punkt(0)->profile, 100.0);
    EXPECT_EQ(list.Punkt(2)->profile, 117.0);
    EXPECT_EQ(list.Punkt(0)->length, -1.0);
    EXPECT_EQ(list.Punkt(1)->length, 105.0);
    EXPECT_EQ(list.Punkt(2)->length, 117.0);

    // Keeping the first profile: the lengths count from it and the profiles stay.
    list.Punkt(0)->profile = 20.0;
    list.Punkt(1)->profile = list.Punkt(2)->profile = -9.0;
    EXPECT_EQ(list.UpdateDefaultStationing(0, &start, 1), 0);
    EXPECT_EQ(list.Punkt(0)->profile, 20.0);
    EXPECT_EQ(list.Punkt(1)->profile, -9.0);
    EXPECT_EQ(list.Punkt(1)->length, 25.0);
    EXPECT_EQ(list.Punkt(2)->length, 37.0);
}

// A straight alignment heading north from (0,0) to (100,0), stations 1000 to 1100. The first
// point lies before its start and the last beyond its end: neither projects, the last keeps its
// profile, the first has the 0 of the default stationing.
TEST(PointListStationing, UpdateProfilesProjectsAndFlagsWhatDoesNotProject) {
    CvPolyLine alignment;
    alignment.AddElement(
        new CvPolyElement(DT_Punkt(0, 0), DT_Punkt(100, 0), 0, 0, 100, 1000, 1100, 1));
    CvSporopPointList list;
    list.LeggTil(new CvSporopPoint(-5, 1, 9, "", ""));
    list.LeggTil(new CvSporopPoint(10, 2, 9, "", ""));
    list.LeggTil(new CvSporopPoint(50, -3, 9, "", ""));
    list.LeggTil(new CvSporopPoint(150, 0, 9, "", ""));
    const double before[] = {42.0, 5.0, 6.0, 777.25};
    for (int i = 0; i < 4; ++i) {
        list.Punkt(i)->profile = before[i];
        list.Punkt(i)->ignored = 1 - i % 2;
    }

    rigel::test::TraceCapture trace;
    EXPECT_EQ(list.UpdateProfiles(&alignment), 1);
    const std::vector<std::string>& lines = trace.lines;

    const double profile[] = {0.0, 1010.0, 1050.0, 777.25};
    const int ignored[] = {1, 0, 0, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(list.Punkt(i)->profile, profile[i], 1e-9) << i;
        EXPECT_EQ(list.Punkt(i)->ignored, ignored[i]) << i;
    }
    EXPECT_NEAR(list.Punkt(3)->length,
                std::hypot(15.0, 1.0) + std::hypot(40.0, 5.0) + std::hypot(100.0, 3.0), 1e-9);

    const std::string p = "[CvSporopPointList::UpdateProfiles] ";
    // START, three lines of the stationing steps, one line a point, END.
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "\n" + p + "START\n");
    EXPECT_EQ(lines[4], p + "Idx:   0 Old STA=      0.000 New STA=      0.000 Diff=      0.000 "
                            "Ignored=1\n");
    EXPECT_EQ(lines[5], p + "Idx:   1 Old STA=      5.000 New STA=   1010.000 Diff=  -1005.000 "
                            "Ignored=0\n");
    EXPECT_EQ(lines[8].rfind(p + "END [", 0), 0u) << lines[8];
    EXPECT_EQ(lines[8].substr(lines[8].size() - 5), " ms]\n");
}

// Fewer than two points: the stationing changes nothing, UpdateProfiles only says it started.
TEST(PointListStationing, FewerThanTwoPointsChangeNothing) {
    CvPolyLine alignment;
    CvSporopPointList list;
    const DT_Double start(100.0);
    EXPECT_EQ(list.UpdateDefaultStationing(1, &start, 0), 1);
    list.LeggTil(new CvSporopPoint(5.0, 50.0, 3.0, "", ""));
    list.Punkt(0)->profile = 7.0;
    EXPECT_EQ(list.UpdateDefaultStationing(1, &start, 0), 1);
    rigel::test::TraceCapture trace;
    EXPECT_EQ(list.UpdateProfiles(&alignment), 1);
    EXPECT_EQ(list.Punkt(0)->profile, 7.0);
    EXPECT_EQ(list.Punkt(0)->ignored, 0);
    EXPECT_EQ(trace.lines,
              std::vector<std::string>{"\n[CvSporopPointList::UpdateProfiles] START\n"});
}

} // namespace
