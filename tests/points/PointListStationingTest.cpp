#include "points/CvSporopPointList.h"

#include <gtest/gtest.h>

namespace {

void FillX(CvSporopPointList& list, std::initializer_list<double> xs) {
    for (double x : xs)
        list.LeggTil(new CvSporopPoint(x, 50.0, 3.0, "", ""));
}

TEST(PointListStationing, DefaultStationingFromAStartStation) {
    CvSporopPointList list;
    FillX(list, {0.0, 3.0, 10.0});
    list.Punkt(0)->length = -1.0; // the first point's length is not written
    const DT_Double start(100.0);
    EXPECT_EQ(list.UpdateDefaultStationing(1, &start, 0), 0);
    EXPECT_EQ(list.Punkt(0)->profile, 100.0);
    EXPECT_EQ(list.Punkt(1)->profile, 103.0);
    EXPECT_EQ(list.Punkt(2)->profile, 110.0);
    EXPECT_EQ(list.Punkt(0)->length, -1.0);
    EXPECT_EQ(list.Punkt(1)->length, 103.0);
    EXPECT_EQ(list.Punkt(2)->length, 110.0);
}

// Plan distance only: (0,0) -> (3,4) is 5 whatever the heights.
TEST(PointListStationing, KeepFirstProfileAndLengthsOnly) {
    CvSporopPointList list;
    list.LeggTil(new CvSporopPoint(0, 0, 0, "", ""));
    list.LeggTil(new CvSporopPoint(3, 4, 100, "", ""));
    list.LeggTil(new CvSporopPoint(3, 16, -7, "", ""));
    list.Punkt(0)->profile = 20.0;
    list.Punkt(1)->profile = list.Punkt(2)->profile = -9.0;
    const DT_Double start(100.0);
    EXPECT_EQ(list.UpdateDefaultStationing(0, &start, 1), 0);
    EXPECT_EQ(list.Punkt(0)->profile, 20.0);
    EXPECT_EQ(list.Punkt(1)->profile, -9.0);
    EXPECT_EQ(list.Punkt(1)->length, 25.0);
    EXPECT_EQ(list.Punkt(2)->length, 37.0);

    EXPECT_EQ(list.UpdateDefaultStationing(1, nullptr, 0), 0);
    EXPECT_EQ(list.Punkt(0)->profile, 0.0);
    EXPECT_EQ(list.Punkt(2)->profile, 17.0);
}

TEST(PointListStationing, FewerThanTwoPointsChangeNothing) {
    CvSporopPointList list;
    const DT_Double start(100.0);
    EXPECT_EQ(list.UpdateDefaultStationing(1, &start, 0), 1);
    FillX(list, {5.0});
    list.Punkt(0)->profile = 7.0;
    EXPECT_EQ(list.UpdateDefaultStationing(1, &start, 0), 1);
    EXPECT_EQ(list.Punkt(0)->profile, 7.0);
    EXPECT_EQ(list.Punkt(0)->length, 0.0);
}

} // namespace
