#include "platform/host/ScriptedHostUi.h"
#include "points/CvMeasurePointSort.h"
#include "points/NeighbourSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

struct Totals {
    int read, deleted, duplicates, errors, analyzed;
    bool operator==(const Totals&) const = default;
};

Totals TotalsOf(const CvMeasurePointSort& s) {
    Totals t{};
    s.GetQuickSortStatus(&t.read, &t.deleted, &t.duplicates, &t.errors, &t.analyzed);
    return t;
}

// Points along a bearing from (x0, y0), spacing 0.25 m, code = index along the track, in
// shuffled order.
void AddLine(CvSporopPointList& list, int n, double bearing, double x0, double y0,
             std::mt19937& rng) {
    std::vector<int> idx(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        idx[static_cast<std::size_t>(i)] = i;
    std::shuffle(idx.begin(), idx.end(), rng);
    for (int i : idx)
        list.LeggTil(new CvSporopPoint(x0 + 0.25 * i * std::cos(bearing),
                                       y0 + 0.25 * i * std::sin(bearing), 10.0,
                                       std::to_string(i), ""));
}

std::vector<int> Codes(const CvSporopPointList& list) {
    std::vector<int> codes;
    for (int i = 0; i < list.Antall(); ++i)
        codes.push_back(std::stoi(list.Punkt(i)->code));
    return codes;
}

std::vector<int> Range(int from, int to) { // inclusive, either direction
    std::vector<int> r;
    for (int i = from;; i += (to >= from ? 1 : -1)) {
        r.push_back(i);
        if (i == to)
            break;
    }
    return r;
}

} // namespace

TEST(CvMeasurePointSort, StraightTracksComeBackInTrackOrderFromTheSmallestX) {
    std::mt19937 rng(7);
    // North-south, east-west and diagonal tracks; the walk starts at the end with the smallest x.
    const struct {
        double bearing;
        bool smallXAtStart;
    } cases[] = {{0.0, true}, {std::numbers::pi, false}, {std::numbers::pi / 2 + 0.001, false},
                 {0.7, true}, {-2.0, false}};
    for (const auto& c : cases) {
        CvSporopPointList list;
        AddLine(list, 400, c.bearing, 6543210.0, 123456.0, rng);
        CvMeasurePointSort sorter;
        ASSERT_EQ(sorter.Sort(&list, 1, 0), 1);
        EXPECT_EQ(Codes(list), c.smallXAtStart ? Range(0, 399) : Range(399, 0)) << c.bearing;
        EXPECT_EQ(TotalsOf(sorter), (Totals{400, 0, 0, 0, 400}));
    }
    // Due east: all x equal within the tolerance, so y decides.
    CvSporopPointList east;
    AddLine(east, 300, std::numbers::pi / 2, 100.0, 0.0, rng);
    CvMeasurePointSort sorter;
    sorter.Sort(&east, 1, 0);
    EXPECT_EQ(Codes(east), Range(0, 299));
}

TEST(CvMeasurePointSort, DuplicatesCountOnceAndTotalsRunOn) {
    std::mt19937 rng(3);
    CvSporopPointList list;
    AddLine(list, 50, 0.3, 0.0, 0.0, rng);
    list.LeggTil(new CvSporopPoint(*list.Punkt(10)));
    list.LeggTil(new CvSporopPoint(*list.Punkt(10)));
    list.LeggTil(new CvSporopPoint(*list.Punkt(20)));
    CvMeasurePointSort sorter;
    ASSERT_EQ(sorter.Sort(&list, 1, 0), 1);
    EXPECT_EQ(Codes(list), Range(0, 49));
    EXPECT_EQ(TotalsOf(sorter), (Totals{53, 3, 3, 0, 50}));

    EXPECT_EQ(sorter.Sort(&list, 0, 0), 1);
    EXPECT_EQ(TotalsOf(sorter), (Totals{103, 3, 3, 0, 100})) << "added to the totals";
    EXPECT_EQ(sorter.Sort(nullptr, 1, 0), 1) << "the list given before";
    EXPECT_EQ(TotalsOf(sorter), (Totals{50, 0, 0, 0, 50})) << "started afresh";

    CvSporopPointList empty;
    EXPECT_EQ(sorter.Sort(&empty, 1, 0), -2);
    EXPECT_EQ(sorter.ErrorKode(), -2);
    EXPECT_EQ(TotalsOf(sorter), (Totals{50, 0, 0, 0, 50})) << "unchanged by an empty list";
    CvMeasurePointSort noList;
    EXPECT_EQ(noList.Sort(nullptr, 1, 0), -1);
}

TEST(CvMeasurePointSort, AClosedLoopIsWalkedOnceAround) {
    // 72 points on a circle of radius 100 m, every 5 degrees; all have both neighbours, so the
    // start is the record with the greatest opposite distance (the first such in presorted order).
    CvSporopPointList list;
    for (int i = 0; i < 72; ++i) {
        const double a = i * std::numbers::pi / 36;
        list.LeggTil(new CvSporopPoint(1000 + 100 * std::cos(a), 2000 + 100 * std::sin(a), 0,
                                       std::to_string(i), ""));
    }
    CvMeasurePointSort sorter;
    ASSERT_EQ(sorter.Sort(&list, 1, 0), 1);
    const std::vector<int> codes = Codes(list);
    ASSERT_EQ(codes.size(), 72u);
    // Consecutive points are neighbours on the circle (one step either way, all the same way).
    const int step = (codes[1] - codes[0] + 72) % 72;
    ASSERT_TRUE(step == 1 || step == 71);
    for (std::size_t i = 1; i < codes.size(); ++i)
        EXPECT_EQ((codes[i] - codes[i - 1] + 72) % 72, step) << i;
    EXPECT_EQ(TotalsOf(sorter).errors, 0);
}

TEST(CvMeasurePointSort, StrayPointsAreMeasuringErrorsAndRemoved) {
    // A trolley-like run along a gentle curve with two stray points off the track. A stray point
    // is nobody's neighbour on both sides: the walk meets a one-way link and the second walk,
    // without the strays, places every track point.
    std::mt19937 rng(11);
    CvSporopPointList list;
    const int n = 600;
    std::vector<int> idx(n);
    for (int i = 0; i < n; ++i)
        idx[i] = i;
    std::shuffle(idx.begin(), idx.end(), rng);
    const double radius = 800.0;
    for (int i : idx) {
        const double a = 0.25 * i / radius;
        list.LeggTil(new CvSporopPoint(radius * std::sin(a), radius * (1 - std::cos(a)), 5.0,
                                       std::to_string(i), ""));
    }
    list.LeggTil(new CvSporopPoint(20.0, 0.9, 5.0, "-1", "stray"));
    list.LeggTil(new CvSporopPoint(100.1, 7.4, 5.0, "-2", "stray"));
    CvMeasurePointSort sorter;
    ASSERT_EQ(sorter.Sort(&list, 1, 0), 1);
    EXPECT_EQ(Codes(list), Range(0, n - 1));
    EXPECT_EQ(TotalsOf(sorter), (Totals{n + 2, 2, 0, 2, n}));
}

TEST(CvMeasurePointSort, LongTextsAreCutAndTheReportShowsTheTotals) {
    CvSporopPointList list;
    list.LeggTil(new CvSporopPoint(0, 0, 0, std::string(300, 'k'), std::string(256, 'd')));
    list.LeggTil(new CvSporopPoint(1, 0, 0, "b", ""));
    list.Punkt(0)->profile = 12.0;
    list.Punkt(0)->cant = 45;

    rigel::ScriptedHostUi ui;
    ui.QueueMessageBoxAnswer(IDOK);
    rigel::ScopedHostUi scope(ui);
    CvMeasurePointSort sorter;
    ASSERT_EQ(sorter.Sort(&list, 1, 1), 1);
    ASSERT_EQ(list.Antall(), 2);
    EXPECT_EQ(list.Punkt(0)->code, std::string(255, 'k'));
    EXPECT_EQ(list.Punkt(0)->description, std::string(255, 'd'));
    EXPECT_EQ(list.Punkt(0)->cant, 45);
    EXPECT_EQ(list.Punkt(0)->profile, 0.0) << "values derived before the sort are cleared";

    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              "Sorting measured points:\n\n2 points read.\n\n0 points deleted:\n     0 points "
              "were duplicates.\n     0 points assumed as measured errors.\n\n2 points will be "
              "analyzed.");
    EXPECT_EQ(ui.MessageBoxes()[0].type, MB_OK);
    ui.Verify();
}

TEST(CvMeasurePointSort, PresortOrdersByXThenYThenZAndKeepsEqualOnesInOrder) {
    CvSporopPointList list;
    list.LeggTil(new CvSporopPoint(2, 1, 0, "a", ""));
    list.LeggTil(new CvSporopPoint(1, 5, 0, "b", ""));
    list.LeggTil(new CvSporopPoint(1 + 1e-10, 3, 0, "c", "")); // x equal within 1e-9
    list.LeggTil(new CvSporopPoint(1, 3, -1, "d", ""));
    list.LeggTil(new CvSporopPoint(2, 1, 0, "e", "")); // equal to "a"
    CvMeasurePointSort sorter(&list);
    ASSERT_EQ(sorter.Presort(1), 1);
    std::string order;
    for (int i = 0; i < list.Antall(); ++i)
        order += list.Punkt(i)->code;
    EXPECT_EQ(order, "dcbae");
    sorter.Presort(0);
    order.clear();
    for (int i = 0; i < list.Antall(); ++i)
        order += list.Punkt(i)->code;
    EXPECT_EQ(order, "eabcd") << "decreasing: the same order reversed";
    EXPECT_EQ(sorter.Compare(nullptr, list.Punkt(0)), 0);
}

TEST(NeighbourSearch, TreeGivesTheScansAnswersIncludingTies) {
    // Clouds with exact and near ties (a regular grid, points 1e-10 apart in distance) and random
    // points: every record's nearest and opposite neighbour must be the scan's.
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0.0, 50.0);
    std::vector<double> xs, ys;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j) {
            xs.push_back(i * 0.5);
            ys.push_back(j * 0.5 + (j % 3 == 0 ? 1e-10 : 0.0));
        }
    for (int i = 0; i < 800; ++i) {
        xs.push_back(u(rng));
        ys.push_back(u(rng));
    }
    // Presorted order, as the sorter hands them over.
    std::vector<std::size_t> p(xs.size());
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = i;
    std::stable_sort(p.begin(), p.end(), [&](std::size_t a, std::size_t b) {
        return xs[a] < xs[b] || (xs[a] == xs[b] && ys[a] < ys[b]);
    });
    std::vector<double> sx, sy;
    for (std::size_t i : p) {
        sx.push_back(xs[i]);
        sy.push_back(ys[i]);
    }
    std::vector<char> excluded(sx.size(), 0);
    excluded[17] = excluded[400] = 1;
    const rigel::NeighbourSearch search(sx, sy, excluded);
    int opposites = 0;
    for (int r = 0; r < static_cast<int>(sx.size()); ++r) {
        const auto tree = search.Nearest(r, 99999999.9);
        const auto scan = search.ScanNearest(r, 99999999.9);
        ASSERT_EQ(tree.index, scan.index) << r;
        if (tree.index < 0)
            continue;
        const auto treeOpp = search.Opposite(r, tree.index, 99999999.9);
        const auto scanOpp = search.ScanOpposite(r, tree.index, 99999999.9);
        ASSERT_EQ(treeOpp.index, scanOpp.index) << r;
        opposites += treeOpp.index >= 0;
    }
    EXPECT_GT(opposites, 1500);
}
