#pragma once
// A static 2-d tree over the plan coordinates of a set of points, for nearest-point searches that
// prune by distance (and by any other box test the caller adds). Points with a non-finite
// coordinate are left out. Depth is log2(n / kLeafSize): every split halves its range.
//
// The coordinates are copied in leaf order, so that a leaf's points lie side by side in memory
// whatever the order of the input; a visitor that takes (index, x, y) gets them from there.

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
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
        int parent;      // -1 for the root
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
        if (items_.empty())
            return;
        Build(0, static_cast<int>(items_.size()), -1);
        ReserveLarge(cells_, nodes_.size());
        constexpr double kInf = std::numeric_limits<double>::infinity();
        cells_.push_back({-kInf, -kInf, kInf, kInf});
        // Children come after their parent in nodes_.
        for (std::size_t id = 1; id < nodes_.size(); ++id) {
            const Node& parent = nodes_[static_cast<std::size_t>(nodes_[id].parent)];
            Cell cell = cells_[static_cast<std::size_t>(nodes_[id].parent)];
            const bool left = parent.left == static_cast<int>(id);
            double& side =
                parent.splitX ? (left ? cell.maxX : cell.minX) : (left ? cell.maxY : cell.minY);
            side = parent.split;
            cells_.push_back(cell);
        }
        ReserveLarge(itemX_, items_.size());
        ReserveLarge(itemY_, items_.size());
        for (const int k : items_) {
            itemX_.push_back(xs[static_cast<std::size_t>(k)]);
            itemY_.push_back(ys[static_cast<std::size_t>(k)]);
        }
        AssignLarge(leafOf_, xs.size());
        std::fill(leafOf_.begin(), leafOf_.end(), -1);
        for (std::size_t id = 0; id < nodes_.size(); ++id)
            if (nodes_[id].left < 0)
                for (int i = nodes_[id].lo; i < nodes_[id].hi; ++i)
                    leafOf_[static_cast<std::size_t>(items_[static_cast<std::size_t>(i)])] =
                        static_cast<int>(id);
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

    // The same search for a point of the tree at (x, y) (the coordinates of point `from`): it
    // starts at the leaf that holds `from` and climbs, searching at each level the other child
    // as Search would. Every leaf is reached once, as from the root, so the points visited within
    // the bound are the same; the nearby leaves that usually settle the bound come first. A point
    // that is not in the tree is searched from the root.
    template <typename Bound2, typename KeepBox, typename Visit>
    void SearchFrom(int from, double x, double y, Bound2 bound2, KeepBox keepBox,
                    Visit visit) const {
        const int leaf = from >= 0 && static_cast<std::size_t>(from) < leafOf_.size()
                             ? leafOf_[static_cast<std::size_t>(from)]
                             : -1;
        if (leaf < 0) {
            Search(x, y, bound2, keepBox, visit);
            return;
        }
        SearchNode(leaf, x, y, bound2, keepBox, visit);
        for (int child = leaf, up = nodes_[static_cast<std::size_t>(leaf)].parent; up >= 0;
             child = up, up = nodes_[static_cast<std::size_t>(up)].parent) {
            if (Inside(cells_[static_cast<std::size_t>(child)], x, y, bound2()))
                return; // every point not yet reached lies outside child's cell: beyond the bound
            const Node& node = nodes_[static_cast<std::size_t>(up)];
            SearchNode(node.left == child ? node.right : node.left, x, y, bound2, keepBox, visit);
        }
    }

private:
    // The region of the plane a node's splits give it: its points, and the points of no node
    // beside it, lie within (on the boundary a point may belong to either side).
    struct Cell {
        double minX, minY, maxX, maxY;
    };

    // True when every point outside the cell lies farther than the bound from (x, y) (farther
    // squared than bound2, as the boxes are pruned).
    static bool Inside(const Cell& c, double x, double y, double bound2) {
        const double gap = std::min({x - c.minX, c.maxX - x, y - c.minY, c.maxY - y});
        return gap > 0 && gap * gap > bound2;
    }

    template <typename Visit> static void Call(Visit& visit, int k, double x, double y) {
        if constexpr (std::is_invocable_v<Visit&, int, double, double>)
            visit(k, x, y);
        else
            visit(k);
    }

    int Build(int lo, int hi, int parent) {
        Node node{std::numeric_limits<double>::infinity(),
                  std::numeric_limits<double>::infinity(),
                  -std::numeric_limits<double>::infinity(),
                  -std::numeric_limits<double>::infinity(),
                  lo,
                  hi,
                  -1,
                  -1,
                  parent,
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
            const int left = Build(lo, mid, id);
            const int right = Build(mid, hi, id);
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
                Call(visit, items_[static_cast<std::size_t>(i)],
                     itemX_[static_cast<std::size_t>(i)], itemY_[static_cast<std::size_t>(i)]);
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
    std::vector<double> itemX_, itemY_; // coordinates of items_, in the same order
    std::vector<int> leafOf_;           // leaf of each input point, -1 for one left out
    std::vector<Node> nodes_;
    std::vector<Cell> cells_; // of nodes_, in the same order
};

} // namespace rigel
