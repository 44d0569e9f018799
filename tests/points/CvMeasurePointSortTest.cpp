#include "points/CvMeasurePointSort.h"
#include "platform/host/ScriptedHostUi.h"
#include "points/NeighbourSearch.h"

#include "synthetic/SurveyCheck.h"
#include "synthetic/SyntheticSurvey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
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

// 0 to n - 1, or back from n - 1 to 0.
std::vector<int> Range(int n, bool down = false) {
    std::vector<int> r(static_cast<std::size_t>(n));
    std::iota(r.begin(), r.end(), 0);
    if (down)
        std::reverse(r.begin(), r.end());
    return r;
}

// Points along a bearing from (6543210, 123456), spacing 0.25 m, code = index along the track,
// in shuffled order.
void AddLine(CvSporopPointList& list, int n, double bearing, std::mt19937& rng) {
    std::vector<int> idx = Range(n);
    std::shuffle(idx.begin(), idx.end(), rng);
    for (int i : idx)
        list.LeggTil(new CvSporopPoint(6543210.0 + 0.25 * i * std::cos(bearing),
                                       123456.0 + 0.25 * i * std::sin(bearing), 10.0,
                                       std::to_string(i), ""));
}

std::vector<int> Codes(const CvSporopPointList& list) {
    std::vector<int> codes;
    for (int i = 0; i < list.Antall(); ++i)
        codes.push_back(std::stoi(list.Punkt(i)->code.str()));
    return codes;
}

} // namespace

TEST(CvMeasurePointSort, StraightTracksComeBackInTrackOrderFromTheSmallestX) {
    std::mt19937 rng(7);
    // North-south and east-west tracks (the duplicates test sorts a diagonal one); the walk starts
    // at the end with the smallest x. Due east all x are equal within the tolerance, so y decides.
    const struct {
        double bearing;
        bool smallXAtStart;
    } cases[] = {{0.0, true},
                 {std::numbers::pi, false},
                 {std::numbers::pi / 2 + 0.001, false},
                 {std::numbers::pi / 2, true}};
    for (const auto& c : cases) {
        CvSporopPointList list;
        AddLine(list, 400, c.bearing, rng);
        CvMeasurePointSort sorter;
        ASSERT_EQ(sorter.Sort(&list, 1, 0), 1);
        EXPECT_EQ(Codes(list), Range(400, !c.smallXAtStart)) << c.bearing;
        EXPECT_EQ(TotalsOf(sorter), (Totals{400, 0, 0, 0, 400}));
    }
}

TEST(CvMeasurePointSort, DuplicatesCountOnceAndTotalsStartAfresh) {
    std::mt19937 rng(3);
    CvSporopPointList list;
    AddLine(list, 50, 0.3, rng);
    list.LeggTil(new CvSporopPoint(*list.Punkt(10)));
    list.LeggTil(new CvSporopPoint(*list.Punkt(10)));
    list.LeggTil(new CvSporopPoint(*list.Punkt(20)));
    CvMeasurePointSort sorter;
    ASSERT_EQ(sorter.Sort(&list, 1, 0), 1);
    EXPECT_EQ(Codes(list), Range(50));
    EXPECT_EQ(TotalsOf(sorter), (Totals{53, 3, 3, 0, 50}));

    // Totals that run on over the rails of a survey: the realistic surveys below.
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
}

TEST(CvMeasurePointSort, RealisticSurveysKeepEveryTrackPointInOrderAndLoseEveryStray) {
    // Shuffled surveys with 1 mm noise, 2 % repeats, 0.5 % strays 2 to 6 m to the side and strays
    // beside the line ends; double-rail surveys sort each rail, single-line ones the centre.
    using rigel::bench::TrackShape;
    const double pi = std::numbers::pi;
    const struct {
        const char* name;
        TrackShape shape;
        double radius, bearing, spacing, length;
        bool rails;
        int endStrays;
        double side;
    } cases[] = {
        {"east, end strays with the smallest x", TrackShape::Straight, 600, pi / 2, 0.25, 1250,
         true, 3, 1},
        {"east, end strays with the largest x", TrackShape::Straight, 600, pi / 2, 0.25, 600, true,
         3, -1},
        {"north, 1 m", TrackShape::Straight, 600, 0, 1.0, 1500, false, 3, 0},
        {"mixed R 300 north", TrackShape::Mixed, 300, 0, 0.5, 1500, true, 3, 0},
        {"mixed R 1200 south-west", TrackShape::Mixed, -1200, 3.93, 1.0, 2500, false, 1, 0},
        {"arc R 300 east", TrackShape::Arc, 300, pi / 2, 0.25, 800, false, 2, 1},
        {"arc R 1200 north-east", TrackShape::Arc, -1200, 0.8, 0.75, 2000, true, 3, -1},
    };
    std::uint64_t seed = 1;
    for (const auto& c : cases) {
        rigel::bench::SurveyOptions o;
        o.shape = c.shape;
        o.radius = c.radius;
        o.startBearing = c.bearing;
        o.spacing = c.spacing;
        o.length = c.length;
        o.rails = c.rails;
        o.centre = !c.rails;
        o.endStrays = c.endStrays;
        o.endStraySide = c.side;
        o.seed = ++seed;
        const auto survey = rigel::bench::MakeSurvey(o);
        const auto counts = rigel::bench::CountSurvey(survey);
        const rigel::bench::SurveyIndex index(survey);
        CvMeasurePointSort sorter;
        int reset = 1;
        for (int line : c.rails ? std::vector<int>{1, 2} : std::vector<int>{0}) {
            CvSporopPointList list;
            for (const auto& p : survey)
                if (p.line == line)
                    list.LeggTil(new CvSporopPoint(p.x, p.y, p.z, "", ""));
            ASSERT_EQ(sorter.Sort(&list, reset, 0), 1);
            reset = 0;
            EXPECT_EQ(rigel::bench::CheckTrackOrder(list, line, counts.track[line], index), "")
                << c.name;
        }
        const Totals t = TotalsOf(sorter);
        EXPECT_EQ(rigel::bench::CheckTotals({t.read, t.deleted, t.duplicates, t.errors, t.analyzed},
                                            counts),
                  "")
            << c.name;
        EXPECT_EQ(sorter.pointsUnplaced, 0) << c.name;
    }
}

// A line along x, 1 m apart (codes 0 to n - 1), with a few disturbed points after it (codes from
// n on), sorted; the walk paths that these inputs take were found by a search over random
// disturbances.
CvMeasurePointSort SortDisturbed(CvSporopPointList& list, int n,
                                 const std::vector<std::pair<double, double>>& extra) {
    for (int i = 0; i < n; ++i)
        list.LeggTil(new CvSporopPoint(i, 0, 0, std::to_string(i), ""));
    for (std::size_t k = 0; k < extra.size(); ++k)
        list.LeggTil(new CvSporopPoint(extra[k].first, extra[k].second, 0,
                                       std::to_string(n + static_cast<int>(k)), ""));
    CvMeasurePointSort sorter;
    sorter.Sort(&list, 1, 0);
    return sorter;
}

TEST(CvMeasurePointSort, WalkPathsOnDisturbedLines) {
    CvSporopPointList oneWay, opposite, nearest;
    // Two points beside 5: the walk stops at a one-way link; the error pass takes them out and
    // the second walk places the whole line.
    const CvMeasurePointSort a = SortDisturbed(
        oneWay, 9,
        {{5.2279074219659725, -0.20456579811251352}, {5.4440548193423233, 0.26728076116611776}});
    EXPECT_TRUE(a.findings.oneWay);
    EXPECT_EQ(a.findings.linkErrors, 2);
    EXPECT_EQ(Codes(oneWay), Range(9));
    EXPECT_EQ(TotalsOf(a), (Totals{11, 2, 0, 2, 9}));

    // Turning back at a visited opposite (code 2) after the error pass.
    const CvMeasurePointSort b = SortDisturbed(opposite, 13,
                                               {{3.7683331032133687, -0.10462872062509354},
                                                {3.0350621981908668, -0.11650321501479591},
                                                {2.7797872680041937, -0.20810504617516135}});
    EXPECT_EQ(b.findings.turnBacksOpposite, 1);
    EXPECT_EQ(Codes(opposite), (std::vector<int>{0, 1, 2, 3, 14, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(TotalsOf(b), (Totals{16, 2, 0, 2, 14}));

    // Turning back at a visited nearest (code 1) again and again: the walk runs out of its
    // steps, the rest is walked as further pieces and nothing is lost.
    const CvMeasurePointSort c = SortDisturbed(nearest, 15,
                                               {{1.9683796834109575, 0.7071154378681147},
                                                {2.115949523216051, 0.56237466582674245},
                                                {0.2216738058044147, 0.089698217138409225}});
    EXPECT_GT(c.findings.turnBacksNearest, 10);
    EXPECT_EQ(c.findings.walksCut, 1);
    std::vector<int> line = Codes(nearest);
    std::erase_if(line, [](int code) { return code >= 15; });
    EXPECT_EQ(line, Range(15));
    EXPECT_EQ(TotalsOf(c), (Totals{18, 0, 0, 0, 18}));
    EXPECT_EQ(c.pointsUnplaced, 0);
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
    list.LeggTil(new CvSporopPoint(2, 1, 0, "1", ""));
    list.LeggTil(new CvSporopPoint(1, 5, 0, "2", ""));
    list.LeggTil(new CvSporopPoint(1 + 1e-10, 3, 0, "3", "")); // x equal within 1e-9
    list.LeggTil(new CvSporopPoint(1, 3, -1, "4", ""));
    list.LeggTil(new CvSporopPoint(2, 1, 0, "5", "")); // equal to the first
    CvMeasurePointSort sorter(&list);
    ASSERT_EQ(sorter.Presort(1), 1);
    EXPECT_EQ(Codes(list), (std::vector<int>{4, 3, 2, 1, 5}));
    sorter.Presort(0);
    EXPECT_EQ(Codes(list), (std::vector<int>{5, 1, 2, 3, 4}))
        << "decreasing: the same order reversed";
    EXPECT_EQ(sorter.Compare(nullptr, list.Punkt(0)), 0);
}

// Every record's nearest and opposite neighbour from the tree and from the scan, over the
// records in the sorter's presorted order; returns how many queries fell back to the scan, and
// the nearest neighbour of the first record.
std::pair<std::size_t, int>
CompareTreeAndScan(const std::vector<std::pair<double, double>>& points) {
    CvSporopPointList list;
    for (const auto& [x, y] : points)
        list.LeggTil(new CvSporopPoint(x, y, 0, "", ""));
    CvMeasurePointSort(&list).Presort(1);
    std::vector<double> xs, ys;
    for (int i = 0; i < list.Antall(); ++i) {
        xs.push_back(list.Punkt(i)->x());
        ys.push_back(list.Punkt(i)->y());
    }
    std::vector<char> excluded(xs.size(), 0);
    if (xs.size() > 100)
        excluded[17] = excluded[xs.size() / 2] = 1;
    const rigel::NeighbourSearch search(xs, ys, excluded);
    for (int r = 0; r < static_cast<int>(xs.size()); ++r) {
        const auto tree = search.Nearest(r, 99999999.9);
        const auto scan = search.ScanNearest(r, 99999999.9);
        EXPECT_EQ(tree.index, scan.index) << r;
        if (tree.index < 0 || tree.index != scan.index)
            continue;
        EXPECT_EQ(search.Opposite(r, tree.index, 99999999.9).index,
                  search.ScanOpposite(r, tree.index, 99999999.9).index)
            << r;
    }
    const std::size_t fallbacks = search.Fallbacks();
    return {fallbacks, search.Nearest(0, 99999999.9).index};
}

TEST(NeighbourSearch, TreeGivesTheScansAnswersWithTiesInDistanceAndInX) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0.0, 50.0);
    // A grid with exact ties and distances 1e-10 apart, and random points: x rises along the
    // presorted order, so only distance ties can send a query to the scan.
    std::vector<std::pair<double, double>> grid;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j)
            grid.push_back({i * 0.5, j * 0.5 + (j % 3 == 0 ? 1e-10 : 0.0)});
    for (int i = 0; i < 800; ++i)
        grid.push_back({u(rng), u(rng)});
    EXPECT_EQ(CompareTreeAndScan(grid).first, 0u);

    // x values 0.9e-9 apart tie in the presort, 1.8e-9 apart do not: (5, -5), (5 - 0.9e-9, -2.5)
    // and (5 - 1.8e-9, 0) come in that order, x falling by 1.8e-9. Scanning forward from
    // (0, 0), best 5 after (3e-9, 5), the scan stops at (5, -5) before the nearer (5 - 1.8e-9, 0);
    // the tree sees the fall and leaves that query to the scan.
    const std::vector<std::pair<double, double>> fall = {
        {0, 0}, {3e-9, 5}, {5, -5}, {5 - 0.9e-9, -2.5}, {5 - 1.8e-9, 0}};
    // Two fallbacks, for the nearest and the opposite of (0, 0); its nearest is the scan's 1, not
    // 4, which is nearer by 1.8e-9.
    EXPECT_EQ(CompareTreeAndScan(fall), std::pair(std::size_t{2}, 1));
}
