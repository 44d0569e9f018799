// Benchmarks of the text helpers and the point list.

#include "BenchRegistry.h"

#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "points/CvSporopPointList.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using rigel::bench::KeepAlive;
using rigel::bench::Report;
using rigel::bench::Time;

// A GPS-style point record: number, northing, easting, height.
constexpr const char* kRecordFormat = "%d %.4f %.4f %.4f";
constexpr const char* kRecordScan = "%d %lf %lf %lf";

std::vector<std::string> MakeRecords(long long n) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(n));
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> jitter(0.0, 1000.0);
    for (long long i = 0; i < n; ++i)
        lines.push_back(rigel::Format(kRecordFormat, static_cast<int>(i), 6543210.0 + jitter(rng),
                                      123456.0 + jitter(rng), 10.0 + jitter(rng) / 100));
    return lines;
}

const rigel::bench::Register formatRecord{
    "format_point_record", "formats point records \"%d %.4f %.4f %.4f\" (lines per second)",
    1'000'000, [](long long n) {
        std::size_t bytes = 0;
        const double s = Time([&] {
            for (long long i = 0; i < n; ++i) {
                std::string line =
                    rigel::Format(kRecordFormat, static_cast<int>(i),
                                  6543210.1234 + static_cast<double>(i) * 0.25, 123456.789, 12.345);
                bytes += line.size();
            }
        });
        KeepAlive(bytes);
        Report("format_point_record", n, s);
    }};

const rigel::bench::Register scanRecord{
    "scan_point_record", "scans point records with \"%d %lf %lf %lf\" (lines per second)",
    1'000'000, [](long long n) {
        const std::vector<std::string> lines = MakeRecords(n);
        double sum = 0;
        const double s = Time([&] {
            for (const std::string& line : lines) {
                int number = 0;
                double x = 0, y = 0, z = 0;
                if (rigel::Scan(line, kRecordScan, &number, &x, &y, &z) == 4)
                    sum += x + y + z + number;
            }
        });
        KeepAlive(sum);
        Report("scan_point_record", n, s);
    }};

const rigel::bench::Register listOps{
    "point_list", "appends n points, reads them by index, copies and deletes the list", 1'000'000,
    [](long long n) {
        CvSporopPointList list;
        const double append = Time([&] {
            for (long long i = 0; i < n; ++i)
                list.LeggTil(new CvSporopPoint(static_cast<double>(i), 2.0 * static_cast<double>(i),
                                               0.0, "7101", ""));
        });
        Report("point_list_append", n, append);

        std::mt19937 rng(2);
        std::vector<int> order(static_cast<std::size_t>(n));
        for (int i = 0; i < static_cast<int>(n); ++i)
            order[static_cast<std::size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), rng);
        double sum = 0;
        const double index = Time([&] {
            for (int i : order)
                sum += list.Punkt(i)->x();
        });
        KeepAlive(sum);
        Report("point_list_random_index", n, index);

        CvSporopPointList copy;
        const double copying = Time([&] { copy.CopyPointsFrom(list); });
        Report("point_list_copy", n, copying);

        const double removing = Time([&] {
            copy.RemoveIf([](HovedObjekt* o) {
                return static_cast<long long>(static_cast<CvSporopPoint*>(o)->x()) % 2 == 0;
            });
        });
        Report("point_list_remove_half", n, removing);

        const double sorting = Time([&] { list.Sorter(1); });
        Report("point_list_sorter", n, sorting);
    }};

} // namespace
