#include "BenchRegistry.h"

#include <sys/resource.h>

#include <cstdio>

namespace rigel::bench {

std::vector<Benchmark>& Registry() {
    static std::vector<Benchmark> all;
    return all;
}

const Benchmark* Find(const std::string& name) {
    for (const Benchmark& b : Registry())
        if (b.name == name)
            return &b;
    return nullptr;
}

Register::Register(std::string name, std::string description, long long defaultN,
                   std::function<void(long long)> run) {
    Registry().push_back({std::move(name), std::move(description), defaultN, std::move(run)});
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}

void Report(const std::string& bench, long long n, double seconds,
            const std::vector<std::pair<std::string, double>>& extra, double peakRssMb) {
    // Benchmark output is not file text read back by the library; the C locale of this program
    // is never changed, so printf is fine here.
    std::printf("{\"bench\":\"%s\",\"n\":%lld,\"seconds\":%.6f,\"per_second\":%.1f,"
                "\"peak_rss_mb\":%.1f",
                bench.c_str(), n, seconds, seconds > 0 ? static_cast<double>(n) / seconds : 0.0,
                peakRssMb >= 0 ? peakRssMb : PeakRssMb());
    for (const auto& [key, value] : extra)
        std::printf(",\"%s\":%.6g", key.c_str(), value);
    std::printf("}\n");
    std::fflush(stdout);
}

} // namespace rigel::bench
