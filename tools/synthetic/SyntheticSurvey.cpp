#include "synthetic/SyntheticSurvey.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <unordered_map>

namespace rigel::bench {
namespace {

constexpr double kStraight = 300, kTransition = 120, kArc = 250;
constexpr double kPi = 3.14159265358979323846;
constexpr double kStrayNearest = 1.0; // metres from the track points of its own line
constexpr double kStrayApart = 0.001; // metres between two strays
constexpr double kStrayReach = 6.0;   // largest distance beside the track
constexpr double kRailOffset = 0.75;  // metres from the centre line

double Square(double v) {
    return v * v;
}

// Curvature along the centre line. Mixed repeats straight, transition in, arc, transition out,
// alternating the side of the curves.
double Curvature(const SurveyOptions& o, double s) {
    if (o.shape == TrackShape::Straight)
        return 0.0;
    if (o.shape == TrackShape::Arc)
        return 1.0 / o.radius;
    constexpr double period = 2 * (kStraight + 2 * kTransition + kArc);
    double t = std::fmod(s, period);
    double sign = 1.0;
    if (t >= period / 2) {
        t -= period / 2;
        sign = -1.0;
    }
    const double k = sign / o.radius;
    if (t < kStraight)
        return 0.0;
    t -= kStraight;
    if (t < kTransition)
        return k * t / kTransition;
    t -= kTransition;
    if (t < kArc)
        return k;
    t -= kArc;
    return k * (1.0 - t / kTransition);
}

// The largest change of heading between two points of the track (radians).
double Turn(const SurveyOptions& o) {
    switch (o.shape) {
    case TrackShape::Straight:
        return 0.0;
    case TrackShape::Arc:
        return o.length / std::fabs(o.radius);
    case TrackShape::Mixed:
        break;
    }
    // The heading swings between the start bearing and one curve's turn to the side.
    return (kArc + kTransition) / std::fabs(o.radius);
}

void CheckOptions(const SurveyOptions& o) {
    if (!(o.length >= 0) || !(o.spacing > 0) || !std::isfinite(o.length / o.spacing))
        throw std::invalid_argument("MakeSurvey: length must be >= 0 and spacing > 0");
    if (o.shape != TrackShape::Straight && !(std::isfinite(o.radius) && o.radius != 0))
        throw std::invalid_argument("MakeSurvey: the radius must be finite and not 0");
    if (!(Turn(o) < kPi))
        throw std::invalid_argument("MakeSurvey: the track would turn by half a turn or more");
}

// Keeps strays off the track and apart. A stray near the track point `station` of its line can
// only come near the track points of that line within `window` stations of it: the chord between
// two centre points at arc length s is at least s * share (share: cos of half the turn, as every
// tangent lies within half the turn of the middle heading; for one arc the chord-to-arc ratio of
// the whole arc), and a rail point lies 0.75 m off its centre point.
class StrayPlacer {
public:
    StrayPlacer(const std::vector<SurveyPoint>& points, const SurveyOptions& o, long stations)
        : points_(points), stations_(stations), centre_(o.centre) {
        const double turn = Turn(o);
        const double share = o.shape == TrackShape::Arc
                                 ? (turn > 0 ? std::sin(turn / 2) / (turn / 2) : 1.0)
                                 : std::cos(turn / 2);
        const double reach = kStrayReach + 0.5 * o.spacing; // from the station's own point
        const double far = reach + kStrayNearest + 2 * kRailOffset + 1.0 + 10 * o.noise;
        window_ = static_cast<long>(
            std::min(std::ceil(far / share / o.spacing) + 1.0, static_cast<double>(stations)));
        perStation_ = (o.centre ? 1 : 0) + (o.rails ? 2 : 0);
    }

    // Where the track point of `line` at `station` is in the survey.
    std::size_t Track(int line, long station) const {
        const int column = line == 0 ? 0 : (centre_ ? 1 : 0) + (line - 1);
        return static_cast<std::size_t>(station * perStation_ + column);
    }

    // True, and the stray recorded, when it keeps its distances.
    bool Place(const SurveyPoint& stray, long station) {
        const long from = std::max(0L, station - window_);
        const long to = std::min(stations_ - 1, station + window_);
        for (long j = from; j <= to; ++j) {
            const SurveyPoint& p = points_[Track(stray.line, j)];
            if (Square(p.x - stray.x) + Square(p.y - stray.y) < Square(kStrayNearest))
                return false;
        }
        const long long cx = Cell(stray.x), cy = Cell(stray.y);
        for (long long i = cx - 1; i <= cx + 1; ++i)
            for (long long j = cy - 1; j <= cy + 1; ++j) {
                const auto [first, last] = strays_.equal_range(Key(i, j));
                for (auto it = first; it != last; ++it)
                    if (Square(it->second.first - stray.x) + Square(it->second.second - stray.y) <
                        Square(kStrayApart))
                        return false;
            }
        strays_.emplace(Key(cx, cy), std::pair{stray.x, stray.y});
        return true;
    }

private:
    static long long Cell(double v) { return static_cast<long long>(std::floor(v / kStrayApart)); }
    // Cells that share a key only cost a few more distances.
    static std::uint64_t Key(long long i, long long j) {
        return static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ULL ^
               static_cast<std::uint64_t>(j);
    }

    const std::vector<SurveyPoint>& points_;
    long stations_;
    bool centre_;
    long window_ = 0;
    int perStation_ = 0;
    std::unordered_multimap<std::uint64_t, std::pair<double, double>> strays_;
};

constexpr int kMaxDraws = 1000;

[[noreturn]] void NoRoom() {
    throw std::runtime_error("MakeSurvey: no room for a stray point");
}

} // namespace

std::vector<DesignElement> SurveyDesign(const SurveyOptions& o) {
    if (o.shape != TrackShape::Mixed)
        throw std::invalid_argument("SurveyDesign: only a Mixed survey has a designed pattern");
    std::vector<DesignElement> design;
    double s = 0.0;
    for (int half = 0; s < o.length; ++half) {
        const double r = half % 2 == 0 ? o.radius : -o.radius;
        for (const DesignElement& e :
             {DesignElement{0, 0, kStraight}, DesignElement{0, r, kTransition},
              DesignElement{r, r, kArc}, DesignElement{r, 0, kTransition}}) {
            if (s >= o.length)
                break;
            DesignElement piece = e;
            if (o.length - s < e.length) {
                // Cut short: a transition ends at the curvature it has reached there.
                piece.length = o.length - s;
                if (e.startRadius == 0 && e.endRadius != 0)
                    piece.endRadius = e.endRadius * e.length / piece.length;
                else if (e.startRadius != 0 && e.endRadius == 0)
                    piece.endRadius = e.startRadius * e.length / (e.length - piece.length);
            }
            design.push_back(piece);
            s += e.length;
        }
    }
    return design;
}

std::vector<SurveyPoint> MakeSurvey(const SurveyOptions& o) {
    CheckOptions(o);
    std::mt19937_64 rng(o.seed);
    std::normal_distribution<double> noise(0.0, o.noise);
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    std::vector<SurveyPoint> points;
    const long n = static_cast<long>(o.length / o.spacing) + 1;
    points.reserve(static_cast<std::size_t>(n * 3));
    double x = kSurveyStartX, y = kSurveyStartY, bearing = o.startBearing, z = kSurveyStartZ;
    const double sub = o.spacing / 8; // integration step
    std::vector<double> bearings;     // at each station
    bearings.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) {
        const double s = i * o.spacing;
        const double k = Curvature(o, s);
        // Cant grows with curvature (150 mm at R = 600 m, at most 160 mm); the outer rail is
        // raised.
        const double cant = std::min(0.150 * std::fabs(k) * 600.0, 0.160);
        const double leftUp = k > 0 ? cant : 0.0; // right-hand curve: left rail is outer
        const double rightUp = k < 0 ? cant : 0.0;
        // Right-hand normal of the bearing in the (north, east) frame.
        const double rx = -std::sin(bearing), ry = std::cos(bearing);
        const double height = z + 2.0 * std::sin(s / 700.0);
        if (o.centre)
            points.push_back({x + noise(rng), y + noise(rng), height + noise(rng), 0, i});
        if (o.rails) {
            points.push_back({x - kRailOffset * rx + noise(rng), y - kRailOffset * ry + noise(rng),
                              height + leftUp + noise(rng), 1, i});
            points.push_back({x + kRailOffset * rx + noise(rng), y + kRailOffset * ry + noise(rng),
                              height + rightUp + noise(rng), 2, i});
        }
        bearings.push_back(bearing);
        for (int step = 0; step < 8; ++step) {
            const double kk = Curvature(o, s + (step + 0.5) * sub);
            const double b = bearing + kk * sub / 2;
            x += sub * std::cos(b);
            y += sub * std::sin(b);
            bearing += kk * sub;
        }
    }
    const std::size_t measured = points.size();
    if (measured == 0)
        return points;
    const std::size_t perStation = measured / static_cast<std::size_t>(n);
    std::uniform_int_distribution<std::size_t> pick(0, measured - 1);
    const auto extra = [&](double share) {
        return static_cast<std::size_t>(share * static_cast<double>(measured));
    };
    for (std::size_t i = 0, m = extra(o.duplicateShare); i < m; ++i) {
        SurveyPoint repeat = points[pick(rng)];
        repeat.repeat = true;
        points.push_back(repeat);
    }

    // Stray points: a prism on something else, 2 to 6 m to the side of the track. Their
    // neighbours are track points that have nearer track neighbours on both sides.
    StrayPlacer placer(points, o, n);
    const auto offTrack = [&](std::size_t at, double along, double side) {
        SurveyPoint stray = points[at];
        const double b = bearings[at / perStation];
        const double rx = -std::sin(b), ry = std::cos(b);
        stray.x += side * rx + along * ry;
        stray.y += side * ry - along * rx;
        stray.index = -1;
        return stray;
    };
    for (std::size_t i = 0, m = extra(o.strayShare); i < m; ++i) {
        for (int draw = 0;; ++draw) {
            if (draw == kMaxDraws)
                NoRoom();
            const std::size_t at = pick(rng);
            const double sign = unit(rng) < 0.5 ? -1.0 : 1.0;
            const SurveyPoint stray = offTrack(at, 0.0, sign * (2.0 + 4.0 * unit(rng)));
            if (placer.Place(stray, static_cast<long>(at / perStation))) {
                points.push_back(stray);
                break;
            }
        }
    }
    for (int line = 0; line < 3; ++line) {
        if (line == 0 ? !o.centre : !o.rails)
            continue;
        for (const long station : {0L, n - 1}) {
            if ((o.endStrays & (station == 0 ? 1 : 2)) == 0)
                continue;
            const std::size_t at = placer.Track(line, station);
            for (int draw = 0;; ++draw) {
                if (draw == kMaxDraws)
                    NoRoom();
                const double sign = o.endStraySide > 0   ? 1.0
                                    : o.endStraySide < 0 ? -1.0
                                    : unit(rng) < 0.5    ? -1.0
                                                         : 1.0;
                const double side = sign * (2.0 + 4.0 * unit(rng));
                const SurveyPoint stray = offTrack(at, (unit(rng) - 0.5) * o.spacing, side);
                if (placer.Place(stray, station)) {
                    points.push_back(stray);
                    break;
                }
            }
        }
    }
    if (o.shuffle)
        std::shuffle(points.begin(), points.end(), rng);
    return points;
}

SurveyCounts CountSurvey(const std::vector<SurveyPoint>& points) {
    SurveyCounts counts{static_cast<long>(points.size()), 0, 0, {0, 0, 0}};
    for (const SurveyPoint& p : points) {
        if (p.repeat)
            ++counts.repeats;
        else if (p.index < 0)
            ++counts.strays;
        else if (p.line >= 0 && p.line < 3)
            ++counts.track[p.line];
    }
    return counts;
}

} // namespace rigel::bench
