#pragma once
// The benchmarks of rigel-bench: each registers itself with a name, a description, a default size
// and a function that runs it and reports its figures with Report.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace rigel::bench {

struct Benchmark {
    std::string name;
    std::string description;
    long long defaultN;
    std::function<void(long long n)> run;
};

std::vector<Benchmark>& Registry();
const Benchmark* Find(const std::string& name);

struct Register {
    Register(std::string name, std::string description, long long defaultN,
             std::function<void(long long)> run);
};

// Peak resident set size of the process so far, in MiB.
double PeakRssMb();

// Prints one JSON line: {"bench":..., "n":..., "seconds":..., "per_second":..., "peak_rss_mb":...}
// plus any extra "key": number fields given. The peak is PeakRssMb() now unless given: a
// benchmark that checks its result after the timing takes the peak before the check.
void Report(const std::string& bench, long long n, double seconds,
            const std::vector<std::pair<std::string, double>>& extra = {}, double peakRssMb = -1);

// Seconds taken by f().
template <typename F> double Time(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Keeps the optimiser from dropping a computed value.
template <typename T> void KeepAlive(const T& value) {
    asm volatile("" : : "g"(&value) : "memory");
}

} // namespace rigel::bench
