#include "points/NeighbourSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rigel {
namespace {

constexpr int kLeafSize = 8;
constexpr double kCollectMargin = 64 * NeighbourSearch::kTolerance;

double Distance(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

template <typename Box> double BoxDistance2(const Box& b, double x, double y) {
    const double dx = std::max({b.minX - x, 0.0, x - b.maxX});
    const double dy = std::max({b.minY - y, 0.0, y - b.maxY});
    return dx * dx + dy * dy;
}

} // namespace

struct NeighbourSearch::Query {
    int r;
    int nearest; // -1 for a nearest query
    double qx, qy;
    double nx, ny;       // direction to the nearest neighbour (opposite query)
    double initial;      // the scan's starting best distance
    double best;         // smallest distance met so far
    std::vector<Candidate>& found;

    double Bound() const { return std::min(best + kCollectMargin, initial); }
};

NeighbourSearch::NeighbourSearch(const std::vector<double>& xs, const std::vector<double>& ys,
                                 const std::vector<char>& excluded)
    : xs_(xs), ys_(ys), excluded_(excluded) {
    perm_.reserve(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (!excluded[i] && std::isfinite(xs[i]) && std::isfinite(ys[i]))
            perm_.push_back(static_cast<int>(i));
    nodes_.reserve(2 * perm_.size() / kLeafSize + 2);
    if (!perm_.empty())
        root_ = Build(0, static_cast<int>(perm_.size()));
}

// Depth is log2(n / kLeafSize): the median split halves every range.
int NeighbourSearch::Build(int lo, int hi) {
    Node node{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
              -std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
              lo, hi, -1, -1};
    for (int i = lo; i < hi; ++i) {
        const int k = perm_[i];
        node.minX = std::min(node.minX, xs_[k]);
        node.maxX = std::max(node.maxX, xs_[k]);
        node.minY = std::min(node.minY, ys_[k]);
        node.maxY = std::max(node.maxY, ys_[k]);
    }
    const int id = static_cast<int>(nodes_.size());
    nodes_.push_back(node);
    if (hi - lo > kLeafSize) {
        const int mid = lo + (hi - lo) / 2;
        const bool splitX = node.maxX - node.minX >= node.maxY - node.minY;
        const std::vector<double>& key = splitX ? xs_ : ys_;
        std::nth_element(perm_.begin() + lo, perm_.begin() + mid, perm_.begin() + hi,
                         [&](int a, int b) { return key[a] < key[b]; });
        const int left = Build(lo, mid);
        const int right = Build(mid, hi);
        nodes_[id].left = left;
        nodes_[id].right = right;
    }
    return id;
}

bool NeighbourSearch::Accept(int r, int nearest, int c) const {
    if (c == r || excluded_[c])
        return false;
    if (nearest < 0)
        return true;
    if (c == nearest)
        return false;
    const double dot = (xs_[nearest] - xs_[r]) * (xs_[c] - xs_[r]) +
                       (ys_[nearest] - ys_[r]) * (ys_[c] - ys_[r]);
    return !(dot > kTolerance); // DT_Double::MindreEllerLik(0, 1e-9)
}

void NeighbourSearch::Visit(int id, Query& q) const {
    const Node& node = nodes_[id];
    const double bound = q.Bound();
    if (BoxDistance2(node, q.qx, q.qy) > bound * bound)
        return;
    if (q.nearest >= 0) {
        // The half-plane test is linear in the candidate: its smallest value over the box is at
        // a corner.
        const double ax = q.nx * (q.nx >= 0 ? node.minX - q.qx : node.maxX - q.qx);
        const double ay = q.ny * (q.ny >= 0 ? node.minY - q.qy : node.maxY - q.qy);
        if (ax + ay > kTolerance)
            return;
    }
    if (node.left < 0) {
        for (int i = node.lo; i < node.hi; ++i) {
            const int c = perm_[i];
            if (!Accept(q.r, q.nearest, c))
                continue;
            const double d = Distance(xs_[c] - q.qx, ys_[c] - q.qy);
            if (q.nearest >= 0 && d == 0.0)
                continue; // never an opposite neighbour
            if (d > q.Bound())
                continue;
            q.found.push_back({c, d});
            q.best = std::min(q.best, d);
        }
        return;
    }
    // Nearer child first, so that the bound shrinks early.
    const bool leftFirst = BoxDistance2(nodes_[node.left], q.qx, q.qy) <=
                           BoxDistance2(nodes_[node.right], q.qx, q.qy);
    Visit(leftFirst ? node.left : node.right, q);
    Visit(leftFirst ? node.right : node.left, q);
}

NeighbourSearch::Result NeighbourSearch::Find(int r, int nearest, double initial) const {
    Result none;
    if (excluded_[r] || root_ < 0 || !std::isfinite(xs_[r]) || !std::isfinite(ys_[r]))
        return Scan(r, nearest, initial);
    Query q{r, nearest, xs_[r], ys_[r], 0.0, 0.0, initial,
            std::numeric_limits<double>::infinity(), scratch_};
    q.found.clear();
    if (nearest >= 0) {
        q.nx = xs_[nearest] - xs_[r];
        q.ny = ys_[nearest] - ys_[r];
    }
    // The records next to r in presorted order are usually near: their distances bound the
    // search from the start (they are met again in the tree).
    for (int c : {r - 1, r + 1, r - 2, r + 2}) {
        if (c < 0 || c >= static_cast<int>(xs_.size()) || !Accept(r, nearest, c))
            continue;
        const double d = Distance(xs_[c] - q.qx, ys_[c] - q.qy);
        if (std::isfinite(d) && !(nearest >= 0 && d == 0.0))
            q.best = std::min(q.best, d);
    }
    Visit(root_, q);
    if (q.found.empty())
        return none;
    const double limit = q.best + kCollectMargin;
    std::erase_if(q.found, [&](const Candidate& c) { return c.distance > limit; });
    // Scan order: forward from r first, then backward.
    const auto order = [&](int c) {
        return c > r ? static_cast<long long>(c - r) : static_cast<long long>(xs_.size()) + (r - c);
    };
    std::sort(q.found.begin(), q.found.end(),
              [&](const Candidate& a, const Candidate& b) { return order(a.index) < order(b.index); });
    if (q.found.front().distance > limit - kTolerance || !(limit < initial - kTolerance)) {
        ++fallbacks_;
        return Scan(r, nearest, initial);
    }
    Result result;
    double best = initial;
    for (const Candidate& c : q.found) {
        if (c.distance < best - kTolerance) {
            best = c.distance;
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
