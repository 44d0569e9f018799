#include "points/CvSporopPointList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Points at stations 0, 1, 2, ... carrying the given curvature7 (or direction) values.
void Fill(CvSporopPointList& list, const std::vector<double>& values, bool directions = false) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto* p = new CvSporopPoint(static_cast<double>(i), 0.0, 0.0, "", "");
        p->profile = static_cast<double>(i);
        (directions ? p->direction : p->curvature7) = values[i];
        list.LeggTil(p);
    }
}

std::vector<double> Stations(const CvSporopPointList& list) {
    std::vector<double> s;
    for (int i = 0; i < list.Antall(); ++i)
        s.push_back(list.Punkt(i)->profile);
    return s;
}

// A rise of more than 5e-5 per metre is deleted, a fall never. After a deletion the kept point is
// compared with the next: 1.2e-4 over 2 m from station 0 is still too steep (against the deleted
// point it would be a gentle 2e-5); 1.4e-4 over 3 m is not.
TEST(PointListCleaning, Curvature7RisesAreRemovedAgainstTheLastKeptPoint) {
    CvSporopPointList list;
    Fill(list, {0, 1e-4, 1.2e-4, 1.4e-4, 0, -1e-4, -1e-4});
    EXPECT_EQ(list.RemoveCurvature7Jumps(), 2);
    EXPECT_EQ(Stations(list), (std::vector<double>{0, 3, 4, 5, 6}));
}

// Limit 1/100 per metre, in either direction.
TEST(PointListCleaning, DirectionJumpsBothWays) {
    CvSporopPointList list;
    Fill(list, {0, 0.005, 0.03, 0.015, -0.01, 0.02}, true);
    EXPECT_EQ(list.RemoveDirectionJumps(100.0), 2);
    EXPECT_EQ(Stations(list), (std::vector<double>{0, 1, 3, 5}));
}

// The spike X = 1e-3 at station 4 stands out (|X - mean| / sigma = 2.4), its neighbour 4e-4 does
// not while X is in its window. Marks are decided before deleting: with X gone the 4e-4 would
// stand out too. The 1e-4 at station 10 stands out by as many sigmas, but a deviation under
// 0.00012 is kept.
TEST(PointListCleaning, Curvature7OutliersAreJudgedOnTheOriginalValues) {
    CvSporopPointList list;
    Fill(list, {0, 0, 0, 0, 1e-3, 4e-4, 0, 0, 0, 0, 1e-4, 0, 0, 0, 0});
    list.RemoveCurvature7Outliers();
    EXPECT_EQ(Stations(list), (std::vector<double>{0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    list.RemoveCurvature7Outliers();
    EXPECT_EQ(Stations(list), (std::vector<double>{0, 1, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
}

TEST(PointListCleaning, TinyListsAreSafe) {
    for (int n = 0; n <= 2; ++n) {
        CvSporopPointList list;
        Fill(list, std::vector<double>(static_cast<std::size_t>(n), 1.0));
        list.RemoveCurvature7Outliers();
        EXPECT_EQ(list.RemoveCurvature7Jumps(), 0);
        EXPECT_EQ(list.RemoveDirectionJumps(100.0), 0);
        EXPECT_EQ(list.Antall(), n);
    }
}

} // namespace
