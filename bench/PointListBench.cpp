// Benchmarks of the point list's analysis: the recomputation the project reader runs on points
// from an older file, and the three cleaning operations.

#include "BenchRegistry.h"

#include "points/CvSporopPointList.h"

#include <cmath>
#include <random>

namespace {

using rigel::bench::Report;
using rigel::bench::Time;

// A surveyed centre line, a point every 0.25 m: straights, transitions and arcs to either side
// (radii 600 to 2000 m), millimetre noise in plan and height, a gently rolling height profile.
// Stations by plan distance.
void MakeTrack(CvSporopPointList& list, long long n) {
    std::mt19937_64 rng(4);
    std::uniform_real_distribution<double> noise(-0.001, 0.001);
    std::uniform_real_distribution<double> radius(600.0, 2000.0);
    constexpr double step = 0.25;
    list.Reserve(static_cast<std::size_t>(n));
    double x = 6543210.0, y = 123456.0, bearing = 0.3, s = 0.0;
    double k = 0.0;           // curvature now
    double kTarget = 0.0;     // curvature of the next arc
    double sectionLeft = 0.0; // metres left in this section
    int section = 0;          // 0 straight, 1 transition in, 2 arc, 3 transition out
    double side = 1.0;
    for (long long i = 0; i < n; ++i) {
        if (sectionLeft <= 0.0) {
            section = (section + 1) % 4;
            sectionLeft = section == 2 ? 300.0 : 120.0;
            if (section == 1) {
                side = -side;
                kTarget = side / radius(rng);
            }
        }
        if (section == 1)
            k += kTarget * step / 120.0;
        else if (section == 3)
            k -= kTarget * step / 120.0;
        else if (section == 0)
            k = 0.0;
        sectionLeft -= step;
        bearing += k * step;
        x += step * std::cos(bearing);
        y += step * std::sin(bearing);
        s += step;
        list.LeggTil(new CvSporopPoint(x + noise(rng), y + noise(rng),
                                       100.0 + 5.0 * std::sin(s / 2000.0) + noise(rng), "", ""));
    }
    list.UpdateDefaultStationing(1, nullptr, 0);
}

const rigel::bench::Register curvatures{
    "curvatures",
    "UpdateDirections(0), UpdateCurvatures7, UpdateCurvaturesByCircles(7,3), UpdateCurvatures, "
    "UpdateVerticalCurvatures on a survey of n points",
    1'000'000, [](long long n) {
        CvSporopPointList list;
        MakeTrack(list, n);
        const double directions = Time([&] { list.UpdateDirections(0); });
        const double c7 = Time([&] { list.UpdateCurvatures7(); });
        const double c3 = Time([&] { list.UpdateCurvaturesByCircles(7, 3); });
        const double c1 = Time([&] { list.UpdateCurvatures(); });
        const double vertical = Time([&] { list.UpdateVerticalCurvatures(); });
        Report("curvatures", n, directions + c7 + c3 + c1 + vertical,
               {{"update_directions_s", directions},
                {"update_curvatures7_s", c7},
                {"curvatures_by_circles_7_3_s", c3},
                {"update_curvatures_s", c1},
                {"update_vertical_curvatures_s", vertical}});
    }};

const rigel::bench::Register cleaning{
    "cleaning",
    "RemoveCurvature7Outliers, RemoveCurvature7Jumps, RemoveDirectionJumps(500) on a survey of n "
    "points with a stray every 20 m",
    1'000'000, [](long long n) {
        CvSporopPointList list;
        MakeTrack(list, n);
        // Strays 5 cm off the line: a point every 20 m whose curvatures and directions jump.
        for (int i = 40; i < list.Antall(); i += 80)
            list.Punkt(i)->InitRel(0.0, 0.05);
        list.UpdateDirections(0);
        list.UpdateCurvatures7();
        const long long before = list.Antall();
        const double outliers = Time([&] { list.RemoveCurvature7Outliers(); });
        const long long afterOutliers = list.Antall();
        int jumps = 0, directionJumps = 0;
        const double curvatureJumps = Time([&] { jumps = list.RemoveCurvature7Jumps(); });
        const double directions = Time([&] { directionJumps = list.RemoveDirectionJumps(500.0); });
        Report("cleaning", n, outliers + curvatureJumps + directions,
               {{"remove_curvature7_outliers_s", outliers},
                {"outliers_removed", static_cast<double>(before - afterOutliers)},
                {"remove_curvature7_jumps_s", curvatureJumps},
                {"curvature7_jumps_removed", jumps},
                {"remove_direction_jumps_s", directions},
                {"direction_jumps_removed", directionJumps}});
    }};

} // namespace
