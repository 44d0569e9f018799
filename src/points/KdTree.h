#pragma once
// A static 2-d tree over the plan coordinates of a set of points, for nearest-point searches that
// prune by distance (and by any other box test the caller adds). Points with a non-finite
// coordinate are left out. Depth is log2(n / kLeafSize): every split halves its range.

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/base/HugePages.h"

namespace rigel {

class KdTree {
public:
    static constexpr int kLeafSize = 8;

    struct Node {
        double minX, minY, maxX, maxY;
        int lo, hi;      // range in Items()
        int left, right; // children, -1 for a leaf
        double split;    // the left child holds keys <= split, the right keys >= split
        bool splitX;     // the key is x (else y)
    };

    // Builds over the points i with include(i) true; xs and ys must outlive the tree.
    template <typename Include>
    KdTree(const std::vector<double>& xs, const std::vector<double>& ys, Include include)
        : xs_(xs), ys_(ys) {
        ReserveLarge(items_, xs.size());
        for (std::size_t i = 0; i < xs.size(); ++i)
            if (include(i) && std::isfinite(xs[i]) && std::isfinite(ys[i]))
                items_.push_back(static_cast<int>(i));
        ReserveLarge(nodes_, 2 * items_.size() / kLeafSize + 2);
        if (!items_.empty())
            Build(0, static_cast<int>(items_.size()));
    }

    bool Empty() const { return items_.empty(); }

    static double BoxDistance2(const Node& b, double x, double y) {
        const double dx = std::max({b.minX - x, 0.0, x - b.maxX});
        const double dy = std::max({b.minY - y, 0.0, y - b.maxY});
        return dx * dx + dy * dy;
    }

    // Depth-first search from (x, y), nearer child first. bound2() gives the current squared
    // distance beyond which boxes are skipped (a box at exactly the bound is visited); keepBox
    // may skip further boxes; visit(i) is called for every point of the leaves reached.
    template <typename Bound2, typename KeepBox, typename Visit>
    void Search(double x, double y, Bound2 bound2, KeepBox keepBox, Visit visit) const {
        if (nodes_.empty())
            return;
        SearchNode(0, x, y, bound2, keepBox, visit);
    }

private:
    int Build(int lo, int hi) {
        Node node{std::numeric_limits<double>::infinity(),
                  std::numeric_limits<double>::infinity(),
                  -std::numeric_limits<double>::infinity(),
                  -std::numeric_limits<double>::infinity(),
                  lo,
                  hi,
                  -1,
                  -1,
                  0.0,
                  true};
        for (int i = lo; i < hi; ++i) {
            const int k = items_[static_cast<std::size_t>(i)];
            node.minX = std::min(node.minX, xs_[static_cast<std::size_t>(k)]);
            node.maxX = std::max(node.maxX, xs_[static_cast<std::size_t>(k)]);
            node.minY = std::min(node.minY, ys_[static_cast<std::size_t>(k)]);
            node.maxY = std::max(node.maxY, ys_[static_cast<std::size_t>(k)]);
        }
        const int id = static_cast<int>(nodes_.size());
        nodes_.push_back(node);
        if (hi - lo > kLeafSize) {
            const int mid = lo + (hi - lo) / 2;
            const bool splitX = node.maxX - node.minX >= node.maxY - node.minY;
            const std::vector<double>& key = splitX ? xs_ : ys_;
            std::nth_element(
                items_.begin() + lo, items_.begin() + mid, items_.begin() + hi, [&](int a, int b) {
                    return key[static_cast<std::size_t>(a)] < key[static_cast<std::size_t>(b)];
                });
            const double split =
                key[static_cast<std::size_t>(items_[static_cast<std::size_t>(mid)])];
            const int left = Build(lo, mid);
            const int right = Build(mid, hi);
            Node& built = nodes_[static_cast<std::size_t>(id)];
            built.left = left;
            built.right = right;
            built.split = split;
            built.splitX = splitX;
        }
        return id;
    }

    template <typename Bound2, typename KeepBox, typename Visit>
    void SearchNode(int id, double x, double y, Bound2& bound2, KeepBox& keepBox,
                    Visit& visit) const {
        const Node& node = nodes_[static_cast<std::size_t>(id)];
        if (BoxDistance2(node, x, y) > bound2() || !keepBox(node))
            return;
        if (node.left < 0) {
            for (int i = node.lo; i < node.hi; ++i)
                visit(items_[static_cast<std::size_t>(i)]);
            return;
        }
        // The side of the split that holds the query first; the other side only when the split
        // line lies within the bound.
        const double diff = (node.splitX ? x : y) - node.split;
        const int nearSide = diff <= 0 ? node.left : node.right;
        const int farSide = diff <= 0 ? node.right : node.left;
        SearchNode(nearSide, x, y, bound2, keepBox, visit);
        if (diff * diff <= bound2())
            SearchNode(farSide, x, y, bound2, keepBox, visit);
    }

    const std::vector<double>& xs_;
    const std::vector<double>& ys_;
    std::vector<int> items_;
    std::vector<Node> nodes_;
};

} // namespace rigel
