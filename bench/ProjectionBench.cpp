// Projection of points onto a 50 km alignment of 600 elements (CvPolyLine::StationAtPos): points
// within 3 m of the track, in track order and shuffled. Each run also checks its results against
// the stations and offsets the points were made from.

#include "BenchRegistry.h"
#include "synthetic/SyntheticAlignment.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>

namespace {

using rigel::bench::AlignmentPoint;
using rigel::bench::KeepAlive;
using rigel::bench::Report;
using rigel::bench::Time;

// CPU time of this thread: on a shared machine the wall time also counts other programs' turns.
double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

void RunProjection(const char* name, long long n, bool shuffled) {
    auto alignment = rigel::bench::MakeSyntheticAlignment(600, 50'000.0, 1);
    std::vector<AlignmentPoint> points = rigel::bench::PointsAlong(*alignment, n, 3.0, 2);
    if (shuffled)
        std::shuffle(points.begin(), points.end(), std::mt19937_64(3));
    std::vector<double> stations(points.size()), offsets(points.size());
    long long failures = 0;
    // The index is built on the first projection; build it before timing.
    DT_Double s, o;
    alignment->StationAtPos(points.front().position, &s, &o);
    const double cpu0 = ThreadCpuSeconds();
    const double seconds = Time([&] {
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (alignment->StationAtPos(points[i].position, &s, &o) == 0) {
                ++failures;
                continue;
            }
            stations[i] = s.Get();
            offsets[i] = o.Get();
        }
    });
    const double cpuSeconds = ThreadCpuSeconds() - cpu0;
    double worstStation = 0.0, worstOffset = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        worstStation = std::max(worstStation, std::fabs(stations[i] - points[i].station));
        worstOffset = std::max(worstOffset, std::fabs(offsets[i] - points[i].offset));
    }
    KeepAlive(stations);
    Report(name, static_cast<long long>(points.size()), seconds,
           {{"cpu_seconds", cpuSeconds},
            {"cpu_per_second",
             cpuSeconds > 0.0 ? static_cast<double>(points.size()) / cpuSeconds : 0.0},
            {"elements", alignment->GetCount()},
            {"failures", static_cast<double>(failures)},
            {"max_station_error_m", worstStation},
            {"max_offset_error_m", worstOffset}});
}

const rigel::bench::Register ordered{
    "projection_ordered",
    "StationAtPos of points within 3 m of a 50 km, 600-element alignment, in track order "
    "(projections per second)",
    1'000'000, [](long long n) { RunProjection("projection_ordered", n, false); }};

const rigel::bench::Register random{
    "projection_random",
    "StationAtPos of points within 3 m of a 50 km, 600-element alignment, in random order "
    "(projections per second)",
    1'000'000, [](long long n) { RunProjection("projection_random", n, true); }};

} // namespace
