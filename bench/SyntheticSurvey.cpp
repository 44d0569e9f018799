#include "SyntheticSurvey.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace rigel::bench {
namespace {

// Curvature along the centre line: a repeating pattern of straight, transition in, arc,
// transition out, alternating the side of the curves.
double Curvature(double s) {
    constexpr double straight = 300, transition = 120, arc = 250;
    constexpr double period = 2 * (straight + 2 * transition + arc);
    double t = std::fmod(s, period);
    double sign = 1.0;
    if (t >= period / 2) {
        t -= period / 2;
        sign = -1.0;
    }
    const double k = sign / 600.0; // R = 600 m
    if (t < straight)
        return 0.0;
    t -= straight;
    if (t < transition)
        return k * t / transition;
    t -= transition;
    if (t < arc)
        return k;
    t -= arc;
    return k * (1.0 - t / transition);
}

} // namespace

std::vector<SurveyPoint> MakeSurvey(const SurveyOptions& o) {
    std::mt19937_64 rng(o.seed);
    std::normal_distribution<double> noise(0.0, o.noise);
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    std::vector<SurveyPoint> points;
    const long n = static_cast<long>(o.length / o.spacing) + 1;
    points.reserve(static_cast<std::size_t>(n * 3));
    double x = 6543210.0, y = 234567.0, bearing = o.startBearing, z = 120.0;
    const double sub = o.spacing / 8; // integration step
    std::vector<std::pair<double, double>> normals; // right-hand normal at each point
    for (long i = 0; i < n; ++i) {
        const double s = i * o.spacing;
        const double k = Curvature(s);
        // Cant grows with curvature (150 mm at R = 600 m); the outer rail is raised.
        const double cant = 0.150 * std::fabs(k) * 600.0;
        const double leftUp = k > 0 ? cant : 0.0;  // right-hand curve: left rail is outer
        const double rightUp = k < 0 ? cant : 0.0;
        // Right-hand normal of the bearing in the (north, east) frame.
        const double rx = -std::sin(bearing), ry = std::cos(bearing);
        const double height = z + 2.0 * std::sin(s / 700.0);
        if (o.centre)
            points.push_back({x + noise(rng), y + noise(rng), height + noise(rng), 0, i});
        if (o.rails) {
            points.push_back({x - 0.75 * rx + noise(rng), y - 0.75 * ry + noise(rng),
                              height + leftUp + noise(rng), 1, i});
            points.push_back({x + 0.75 * rx + noise(rng), y + 0.75 * ry + noise(rng),
                              height + rightUp + noise(rng), 2, i});
        }
        normals.resize(points.size(), {rx, ry});
        for (int step = 0; step < 8; ++step) {
            const double kk = Curvature(s + (step + 0.5) * sub);
            const double b = bearing + kk * sub / 2;
            x += sub * std::cos(b);
            y += sub * std::sin(b);
            bearing += kk * sub;
        }
    }
    const std::size_t measured = points.size();
    std::uniform_int_distribution<std::size_t> pick(0, measured - 1);
    const auto extra = [&](double share) {
        return static_cast<std::size_t>(share * static_cast<double>(measured));
    };
    for (std::size_t i = 0, m = extra(o.duplicateShare); i < m; ++i)
        points.push_back(points[pick(rng)]);
    // Stray points: a prism on something else, 2 to 6 m to the side of the track. Their
    // neighbours are track points that have nearer track neighbours on both sides.
    for (std::size_t i = 0, m = extra(o.strayShare); i < m; ++i) {
        const std::size_t at = pick(rng);
        SurveyPoint stray = points[at];
        const double side = (unit(rng) < 0.5 ? -1.0 : 1.0) * (2.0 + 4.0 * unit(rng));
        stray.x += side * normals[at].first;
        stray.y += side * normals[at].second;
        stray.index = -1;
        points.push_back(stray);
    }
    if (o.shuffle)
        std::shuffle(points.begin(), points.end(), rng);
    return points;
}

} // namespace rigel::bench
