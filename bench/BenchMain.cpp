// rigel-bench: runs named benchmarks and prints one JSON line per figure.
//   rigel-bench --list
//   rigel-bench NAME... [--n N]

#include "BenchRegistry.h"
#include "synthetic/SurveyCheck.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> names;
    long long n = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list") == 0) {
            for (const rigel::bench::Benchmark& b : rigel::bench::Registry())
                std::printf("%-24s %s\n", b.name.c_str(), b.description.c_str());
            return 0;
        }
        if (std::strcmp(argv[i], "--n") == 0 && i + 1 < argc) {
            char* end = nullptr;
            n = std::strtoll(argv[++i], &end, 10);
            if (end == nullptr || *end != '\0' || n <= 0) {
                std::fprintf(stderr, "rigel-bench: --n wants a positive whole number\n");
                return 2;
            }
            continue;
        }
        if (argv[i][0] == '-') {
            std::fprintf(stderr, "usage: rigel-bench --list | rigel-bench NAME... [--n N]\n");
            return 2;
        }
        names.emplace_back(argv[i]);
    }
    if (names.empty()) {
        std::fprintf(stderr, "usage: rigel-bench --list | rigel-bench NAME... [--n N]\n");
        return 2;
    }
    for (const std::string& name : names) {
        const rigel::bench::Benchmark* b = rigel::bench::Find(name);
        if (b == nullptr) {
            std::fprintf(stderr, "rigel-bench: no benchmark named %s (see --list)\n", name.c_str());
            return 2;
        }
        b->run(n > 0 ? n : b->defaultN);
    }
    // A benchmark whose result failed its check printed no figure for it and said why.
    return rigel::bench::AnyInsane() ? 1 : 0;
}
