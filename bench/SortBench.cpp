// Benchmarks of the point sorter.

#include "BenchRegistry.h"
#include "SyntheticSurvey.h"

#include "points/CvMeasurePointSort.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

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

// Sorts one rail of about n points and returns the seconds; reports them under name unless it is
// null.
double SortOnce(long long n, double bearing, const char* name) {
    CvSporopPointList list;
    FillRail(list, n, bearing, 42);
    CvMeasurePointSort sorter;
    const long long count = list.Antall();
    const double seconds = Time([&] { sorter.Sort(&list, 1, 0); });
    if (name != nullptr)
        Report(name, count, seconds,
               {{"duplicates", sorter.duplicates},
                {"measured_errors", sorter.measuredErrors},
                {"analyzed", sorter.pointsAnalyzed}});
    return seconds;
}

// Runs f in a forked child and returns the number it gives (or exits when the child fails).
template <typename F> double InChildProcess(F f) {
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("rigel-bench sort: pipe");
        std::exit(1);
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("rigel-bench sort: fork");
        std::exit(1);
    }
    if (child == 0) {
        close(channel[0]);
        const double result = f();
        const bool sent = write(channel[1], &result, sizeof result) == sizeof result;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    double result = 0;
    const bool received = read(channel[0], &result, sizeof result) == sizeof result;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fputs("rigel-bench sort: a child run failed\n", stderr);
        std::exit(1);
    }
    return result;
}

const rigel::bench::Register sortBench{
    "sort",
    "Sort of n shuffled rail points heading north-east, east and north; then 2n north-east, and "
    "the growth from n to 2n (best of three runs of each)",
    1'000'000, [](long long n) {
        double one = SortOnce(n, 0.6, "sort_northeast");
        SortOnce(n, 1.5707963267948966, "sort_east");
        SortOnce(n, 0.0, "sort_north");
        double two = SortOnce(2 * n, 0.6, "sort_northeast_2n");
        // The growth from the best of three runs of each size, so that a stall of the (shared,
        // virtual) machine during one run does not pass for growth. Each of the further runs is
        // made in a child process of its own: in this process a later run would reuse the memory
        // an earlier one had already faulted in, which favours the smaller size.
        for (int run = 0; run < 2; ++run) {
            one = std::min(one, InChildProcess([n] { return SortOnce(n, 0.6, nullptr); }));
            two = std::min(two, InChildProcess([n] { return SortOnce(2 * n, 0.6, nullptr); }));
        }
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
