#include "points/NeighbourSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rigel {
namespace {

constexpr double kCollectMargin = 64 * NeighbourSearch::kTolerance;

double Distance(double dx, double dy) {
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

NeighbourSearch::NeighbourSearch(const std::vector<double>& xs, const std::vector<double>& ys,
                                 const std::vector<char>& excluded)
    : xs_(xs), ys_(ys), excluded_(excluded),
      tree_(xs, ys, [&](std::size_t i) { return excluded[i] == 0; }) {
    double highest = -std::numeric_limits<double>::infinity();
    for (const double x : xs) {
        if (!std::isfinite(x))
            continue;
        inversion_ = std::max(inversion_, highest - x);
        highest = std::max(highest, x);
    }
}

bool NeighbourSearch::Accept(int r, int nearest, int c) const {
    if (c == r || excluded_[c])
        return false;
    if (nearest < 0)
        return true;
    if (c == nearest)
        return false;
    const double dot =
        (xs_[nearest] - xs_[r]) * (xs_[c] - xs_[r]) + (ys_[nearest] - ys_[r]) * (ys_[c] - ys_[r]);
    return dot <= kTolerance; // DT_Double::MindreEllerLik(0, 1e-9): false for NaN
}

NeighbourSearch::Result NeighbourSearch::Find(int r, int nearest, double initial) const {
    Result none;
    if (excluded_[r] || tree_.Empty() || !std::isfinite(xs_[r]) || !std::isfinite(ys_[r]))
        return Scan(r, nearest, initial);
    const double qx = xs_[r], qy = ys_[r];
    // Direction to the nearest neighbour, for the half-plane of an opposite search.
    const double nx = nearest >= 0 ? xs_[nearest] - qx : 0.0;
    const double ny = nearest >= 0 ? ys_[nearest] - qy : 0.0;
    double best = std::numeric_limits<double>::infinity();
    const auto bound = [&] { return std::min(best + kCollectMargin, initial); };
    std::vector<Candidate>& found = scratch_;
    found.clear();

    // The records next to r in presorted order are usually near: their distances bound the
    // search from the start (they are met again in the tree).
    for (int c : {r - 1, r + 1, r - 2, r + 2}) {
        if (c < 0 || c >= static_cast<int>(xs_.size()) || !Accept(r, nearest, c))
            continue;
        const double d = Distance(xs_[c] - qx, ys_[c] - qy);
        if (std::isfinite(d) && !(nearest >= 0 && d == 0.0))
            best = std::min(best, d);
    }
    tree_.SearchFrom(
        r, qx, qy,
        [&] {
            const double b = bound();
            return b * b;
        },
        [&](const KdTree::Node& box) {
            if (nearest < 0)
                return true;
            // The half-plane test is linear in the candidate: its smallest value over the box
            // is at a corner.
            const double ax = nx * (nx >= 0 ? box.minX - qx : box.maxX - qx);
            const double ay = ny * (ny >= 0 ? box.minY - qy : box.maxY - qy);
            return !(ax + ay > kTolerance);
        },
        [&](int c, double cx, double cy) {
            if (c == r || excluded_[static_cast<std::size_t>(c)] || c == nearest)
                return;
            const double dx = cx - qx, dy = cy - qy;
            // Accept's half-plane test, on the coordinates the tree hands over.
            if (nearest >= 0 && !(nx * dx + ny * dy <= kTolerance))
                return;
            const double d = Distance(dx, dy);
            if ((nearest >= 0 && d == 0.0) || d > bound())
                return; // distance 0 is never an opposite neighbour
            found.push_back({c, d});
            best = std::min(best, d);
        });
    if (found.empty())
        return none;
    const double limit = best + kCollectMargin;
    std::erase_if(found, [&](const Candidate& c) { return c.distance > limit; });
    // Scan order: forward from r first, then backward.
    const auto order = [&](int c) {
        return c > r ? static_cast<long long>(c - r) : static_cast<long long>(xs_.size()) + (r - c);
    };
    std::sort(found.begin(), found.end(), [&](const Candidate& a, const Candidate& b) {
        return order(a.index) < order(b.index);
    });
    if (found.front().distance > limit - kTolerance || !(limit < initial - kTolerance)) {
        ++fallbacks_;
        return Scan(r, nearest, initial);
    }
    if (inversion_ > kTolerance) {
        // The scan could stop before a candidate only at a record at least `best` away in x;
        // every record it meets before c lies within |dx of c| + inversion_ in x.
        for (const Candidate& c : found) {
            if (!(std::fabs(xs_[static_cast<std::size_t>(c.index)] - qx) + inversion_ < best)) {
                ++fallbacks_;
                return Scan(r, nearest, initial);
            }
        }
    }
    Result result;
    double chain = initial; // the scan's best distance as it goes
    for (const Candidate& c : found) {
        if (c.distance < chain - kTolerance) {
            chain = c.distance;
            result = {c.index, c.distance};
        }
    }
    return result;
}

NeighbourSearch::Result NeighbourSearch::Scan(int r, int nearest, double initial) const {
    Result result;
    if (excluded_[r])
        return result;
    double best = initial;
    const int n = static_cast<int>(xs_.size());
    const auto visit = [&](int c) {
        if (c == r || excluded_[c] || c == nearest)
            return true; // skipped, the scan goes on
        const double dx = xs_[c] - xs_[r];
        const double dy = ys_[c] - ys_[r];
        if (std::fabs(dx) >= best && std::fabs(dy) >= best)
            return false;
        if (!Accept(r, nearest, c))
            return true;
        const double d = Distance(dx, dy);
        if (d < best - kTolerance && !(nearest >= 0 && d == 0.0)) {
            best = d;
            result = {c, d};
        }
        return true;
    };
    for (int c = r + 1; c < n && visit(c); ++c) {
    }
    for (int c = r - 1; c >= 0 && visit(c); --c) {
    }
    return result;
}

NeighbourSearch::Result NeighbourSearch::Nearest(int r, double initial) const {
    return Find(r, -1, initial);
}

NeighbourSearch::Result NeighbourSearch::Opposite(int r, int nearest, double initial) const {
    return Find(r, nearest, initial);
}

NeighbourSearch::Result NeighbourSearch::ScanNearest(int r, double initial) const {
    return Scan(r, -1, initial);
}

NeighbourSearch::Result NeighbourSearch::ScanOpposite(int r, int nearest, double initial) const {
    return Scan(r, nearest, initial);
}

} // namespace rigel
