#pragma once
// Internal: what CvPolyLine derives from its elements for projections and station look-ups.
//
// A bounding-volume tree over the boxes of the placeable elements (built top down, split at the
// median of the box centres along the longer side, up to four elements a leaf), searched nearest
// box first; and the elements' station ranges in chain order for PosAtStation.

#include "platform/polyline/ElementGeometry.h"

#include <cstdint>
#include <vector>

class CvPolyLine;
class CvPolyElement;

namespace rigel::polyline {

class ProjectionIndex {
public:
    // Built from the chain as it is now.
    explicit ProjectionIndex(const CvPolyLine& chain);

    // Still describes chain (same elements in the same order, none edited since)?
    bool Matches(const CvPolyLine& chain) const;

    struct Item {
        int index; // in the chain
        CvPolyElement* element;
        const ElementGeometry* geometry;
        Box box;
    };
    const std::vector<Item>& Items() const { return items_; }
    // Item of a chain index, -1 when that element cannot be placed.
    int ItemOf(int chainIndex) const {
        return chainIndex >= 0 && chainIndex < static_cast<int>(itemOf_.size())
                   ? itemOf_[chainIndex]
                   : -1;
    }
    // The chain's frame (that of its first element) when the index was built.
    int Frame() const { return frame_; }
    int FirstPlaceable() const { return items_.empty() ? -1 : firstIndex_; }
    int LastPlaceable() const { return items_.empty() ? -1 : lastIndex_; }

    // Calls visit(item) for every item whose box lies within the current bound of (X, Y), nearest
    // box first; visit returns the new squared bound (the search prunes boxes farther than it).
    template <typename Visit> void Search(double X, double Y, double bound2, Visit&& visit) const;

    // The item whose station range first holds s (chain order), -1 when none.
    int ItemAtStation(double s, double tol) const;

private:
    struct Node {
        Box box;
        int left = -1, right = -1; // children, or -1 for a leaf
        int first = 0, count = 0;  // leaf: items in order_
    };
    int Build(int first, int count, std::vector<double>& cx, std::vector<double>& cy);

    std::vector<Item> items_; // chain order
    std::vector<int> itemOf_; // chain index -> item
    std::vector<int> order_;  // leaf order of the items
    std::vector<Node> nodes_;
    std::vector<double> lo_, hi_; // station range of each item
    bool monotone_ = true;
    int frame_ = 1;
    int firstIndex_ = -1, lastIndex_ = -1;
    // What the index was built from.
    std::vector<const CvPolyElement*> elements_;
    std::vector<std::uint64_t> versions_;
    mutable std::uint64_t editCount_ = 0;
};

template <typename Visit>
void ProjectionIndex::Search(double X, double Y, double bound2, Visit&& visit) const {
    if (nodes_.empty())
        return;
    struct Entry {
        int node;
        double d2;
    };
    Entry stack[128];
    int top = 0;
    stack[top++] = {0, nodes_[0].box.Dist2(X, Y)};
    while (top > 0) {
        const Entry e = stack[--top];
        if (e.d2 > bound2)
            continue;
        const Node& n = nodes_[e.node];
        if (n.left < 0) {
            for (int i = 0; i < n.count; ++i) {
                const Item& item = items_[order_[n.first + i]];
                if (item.box.Dist2(X, Y) <= bound2)
                    bound2 = visit(item);
            }
            continue;
        }
        const double dl = nodes_[n.left].box.Dist2(X, Y);
        const double dr = nodes_[n.right].box.Dist2(X, Y);
        // Push the farther child first so that the nearer one is searched first.
        if (dl <= dr) {
            if (dr <= bound2)
                stack[top++] = {n.right, dr};
            if (dl <= bound2)
                stack[top++] = {n.left, dl};
        } else {
            if (dl <= bound2)
                stack[top++] = {n.left, dl};
            if (dr <= bound2)
                stack[top++] = {n.right, dr};
        }
    }
}

} // namespace rigel::polyline
