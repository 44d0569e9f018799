#include "synthetic/SyntheticAlignment.h"

#include <cmath>
#include <random>

namespace rigel::bench {

std::unique_ptr<CvPolyLine> MakeSyntheticAlignment(int elements, double length,
                                                   std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> lineLength(60.0, 200.0);
    std::uniform_real_distribution<double> transitionLength(40.0, 150.0);
    std::uniform_real_distribution<double> arcLength(50.0, 300.0);
    std::uniform_real_distribution<double> radius(300.0, 5000.0);
    std::bernoulli_distribution left(0.5);

    struct Part {
        double r1, r2, length;
    };
    std::vector<Part> parts;
    double r = 0.0;
    for (int i = 0; i < elements; ++i) {
        switch (i % 4) {
        case 0:
            parts.push_back({0.0, 0.0, lineLength(rng)});
            break;
        case 1:
            r = radius(rng) * (left(rng) ? -1.0 : 1.0);
            parts.push_back({0.0, r, transitionLength(rng)});
            break;
        case 2:
            parts.push_back({r, r, arcLength(rng)});
            break;
        default:
            parts.push_back({r, 0.0, transitionLength(rng)});
            break;
        }
    }
    double total = 0.0;
    for (const Part& p : parts)
        total += p.length;
    const double scale = length / total;

    auto chain = std::make_unique<CvPolyLine>(1);
    DT_Punkt start(6'650'000.0, 560'000.0);
    double direction = 0.3;
    double station = 0.0;
    int number = 1;
    for (const Part& p : parts) {
        auto* e = new CvPolyElement();
        e->InitFromStart(start, direction, p.r1, p.r2, p.length * scale, station, number++);
        DT_Double dir;
        e->PosAtStation(e->EndSTA()->Get(), nullptr, &dir);
        start = *e->EndPoint();
        direction = dir.Get();
        station = e->EndSTA()->Get();
        chain->AddElement(e);
    }
    return chain;
}

std::vector<AlignmentPoint> PointsAlong(CvPolyLine& alignment, long long n, double maxOffset,
                                        std::uint64_t seed) {
    std::vector<AlignmentPoint> points;
    double s0 = 0.0, s1 = 0.0;
    if (n <= 0 || alignment.StationRange(&s0, &s1) == 0)
        return points;
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> offset(-maxOffset, maxOffset);
    points.reserve(static_cast<std::size_t>(n));
    for (long long i = 0; i < n; ++i) {
        const double s = s0 + (s1 - s0) * (static_cast<double>(i) + 0.5) / static_cast<double>(n);
        const double o = offset(rng);
        DT_Punkt p;
        if (alignment.PosAtStation(s, &p, nullptr, nullptr, nullptr, o) != 0)
            points.push_back({p, s, o});
    }
    return points;
}

} // namespace rigel::bench
