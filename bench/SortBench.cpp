// Benchmarks of the point sorter.

#include "BenchRegistry.h"
#include "synthetic/SurveyCheck.h"
#include "synthetic/SyntheticSurvey.h"

#include "platform/base/TextFormat.h"
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

// A survey of one line of about n points (repeats and strays included), shuffled: a track of
// straights, transitions and arcs starting out on `bearing`.
rigel::bench::SurveyOptions LineSurvey(long long n, double bearing) {
    rigel::bench::SurveyOptions o;
    o.length = static_cast<double>(n) * 0.25 / 1.025;
    o.startBearing = bearing;
    o.rails = false;
    o.centre = true;
    o.seed = 42;
    return o;
}

// Sorts one line of about n points and returns the seconds, or a negative number when the sort
// did not drop exactly the repeats and strays. A run with a name is checked also for track
// order (on the survey made again: the sort runs without the survey beside it) and reported.
double SortOnce(long long n, double bearing, const char* name) {
    const rigel::bench::SurveyOptions o = LineSurvey(n, bearing);
    CvSporopPointList list;
    rigel::bench::SurveyCounts counts{};
    {
        const std::vector<rigel::bench::SurveyPoint> survey = rigel::bench::MakeSurvey(o);
        counts = rigel::bench::CountSurvey(survey);
        list.Reserve(survey.size());
        for (const rigel::bench::SurveyPoint& p : survey)
            list.LeggTil(new CvSporopPoint(p.x, p.y, p.z, "7101", ""));
    }
    CvMeasurePointSort sorter;
    const long long count = list.Antall();
    const double seconds = Time([&] { sorter.Sort(&list, 1, 0); });
    const double peak = rigel::bench::PeakRssMb();
    std::string problems =
        rigel::bench::CheckTotals({sorter.pointsRead, sorter.pointsDeleted, sorter.duplicates,
                                   sorter.measuredErrors, sorter.pointsAnalyzed},
                                  counts);
    if (name != nullptr) {
        const std::string order = rigel::bench::CheckTrackOrder(
            list, 0, counts.track[0], rigel::bench::SurveyIndex(rigel::bench::MakeSurvey(o)));
        problems += (problems.empty() || order.empty() ? "" : "; ") + order;
    }
    if (!rigel::bench::Sane(name != nullptr ? name : "sort (a further run)", problems))
        return -1;
    if (name != nullptr)
        Report(name, count, seconds,
               {{"duplicates", sorter.duplicates},
                {"measured_errors", sorter.measuredErrors},
                {"analyzed", sorter.pointsAnalyzed},
                {"scan_fallbacks", sorter.findings.scanFallbacks}},
               peak);
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
        _exit(sent && result >= 0 ? 0 : 1);
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
    "Sort of n shuffled points of one line heading north-east, east, north and south-west; then "
    "2n north-east, and the growth from n to 2n (best of three runs of each)",
    1'000'000, [](long long n) {
        constexpr double northEast = 0.6, pi = 3.141592653589793;
        double one = SortOnce(n, northEast, "sort_northeast");
        SortOnce(n, pi / 2, "sort_east");
        SortOnce(n, 0.0, "sort_north");
        SortOnce(n, northEast + pi, "sort_southwest");
        double two = SortOnce(2 * n, northEast, "sort_northeast_2n");
        if (one < 0 || two < 0)
            return; // no growth over sorts that failed
        // The growth from the best of three runs of each size, so that a stall of the (shared,
        // virtual) machine during one run does not pass for growth. Each of the further runs is
        // made in a child process of its own: in this process a later run would reuse the memory
        // an earlier one had already faulted in, which favours the smaller size.
        for (int run = 0; run < 2; ++run) {
            one = std::min(one, InChildProcess([n] { return SortOnce(n, northEast, nullptr); }));
            two =
                std::min(two, InChildProcess([n] { return SortOnce(2 * n, northEast, nullptr); }));
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
        // Every point after the first is a repeat of it.
        const rigel::bench::SurveyCounts counts{
            static_cast<long>(n), static_cast<long>(n - 1), 0, {1, 0, 0}};
        std::string problems =
            rigel::bench::CheckTotals({sorter.pointsRead, sorter.pointsDeleted, sorter.duplicates,
                                       sorter.measuredErrors, sorter.pointsAnalyzed},
                                      counts);
        if (problems.empty() && list.Antall() != 1)
            problems = rigel::Format("%d points left", list.Antall());
        if (rigel::bench::Sane("sort_identical", problems))
            Report("sort_identical", n, seconds, {{"left", list.Antall()}});
    }};

} // namespace
