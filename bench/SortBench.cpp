// Benchmarks of the point sorter.

#include "BenchRegistry.h"
#include "SyntheticSurvey.h"

#include "points/CvMeasurePointSort.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using rigel::bench::Report;
using rigel::bench::Time;

// One rail of a survey of about n points, shuffled, with repeats and strays.
void FillRail(CvSporopPointList& list, long long n, double bearing, std::uint64_t seed) {
    rigel::bench::SurveyOptions o;
    o.length = static_cast<double>(n) * 0.25 / 1.025;
    o.startBearing = bearing;
    o.seed = seed;
    list.Reserve(static_cast<std::size_t>(n) + 16);
    for (const auto& p : rigel::bench::MakeSurvey(o))
        if (p.line == 1)
            list.LeggTil(new CvSporopPoint(p.x, p.y, p.z, "7101", ""));
}

double SortOnce(long long n, double bearing, const char* name,
                std::vector<std::pair<std::string, double>> extra = {}) {
    CvSporopPointList list;
    FillRail(list, n, bearing, 42);
    CvMeasurePointSort sorter;
    const long long count = list.Antall();
    const double seconds = Time([&] { sorter.Sort(&list, 1, 0); });
    std::vector<std::pair<std::string, double>> fields = {
        {"duplicates", sorter.duplicates},
        {"measured_errors", sorter.measuredErrors},
        {"analyzed", sorter.pointsAnalyzed}};
    fields.insert(fields.end(), extra.begin(), extra.end());
    Report(name, count, seconds, fields);
    return seconds;
}

const rigel::bench::Register sortBench{
    "sort", "Sort of n shuffled rail points heading north-east, east and north; then 2n north-east",
    1'000'000, [](long long n) {
        const double one = SortOnce(n, 0.6, "sort_northeast");
        SortOnce(n, 1.5707963267948966, "sort_east");
        SortOnce(n, 0.0, "sort_north");
        const double two = SortOnce(2 * n, 0.6, "sort_northeast_2n");
        Report("sort_growth", 2 * n, two, {{"seconds_n", one}, {"ratio_2n_to_n", two / one}});
    }};

const rigel::bench::Register sortIdentical{
    "sort_identical", "Sort of n identical points", 200'000, [](long long n) {
        CvSporopPointList list;
        for (long long i = 0; i < n; ++i)
            list.LeggTil(new CvSporopPoint(6543210.0, 123456.0, 10.0, "7101", ""));
        CvMeasurePointSort sorter;
        const double seconds = Time([&] { sorter.Sort(&list, 1, 0); });
        Report("sort_identical", n, seconds, {{"left", list.Antall()}});
    }};

} // namespace
