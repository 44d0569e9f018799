#include "platform/polyline/ProjectionIndex.h"

#include "platform/polyline/CvPolyLine.h"

#include <algorithm>
#include <numeric>

namespace rigel::polyline {

namespace {
constexpr int kLeafSize = 4;
} // namespace

ProjectionIndex::ProjectionIndex(const CvPolyLine& chain) {
    const int n = chain.GetCount();
    editCount_ = CvPolyElement::GlobalEditCount();
    elements_.reserve(n);
    versions_.reserve(n);
    itemOf_.assign(n, -1);
    for (int i = 0; i < n; ++i) {
        CvPolyElement* e = chain.Element(i);
        elements_.push_back(e);
        versions_.push_back(e != nullptr ? e->Version() : 0);
        if (e == nullptr)
            continue;
        const ElementGeometry& g = e->Geometry();
        if (!g.Placeable())
            continue;
        itemOf_[i] = static_cast<int>(items_.size());
        items_.push_back({i, e, &g, g.Bounds()});
        const double a = g.StartStation(), b = g.EndStation();
        lo_.push_back(std::min(a, b));
        hi_.push_back(std::max(a, b));
    }
    for (std::size_t k = 1; k < lo_.size(); ++k) {
        if (lo_[k] < lo_[k - 1] || hi_[k] < hi_[k - 1])
            monotone_ = false;
    }
    if (!elements_.empty() && elements_.front() != nullptr)
        frame_ = elements_.front()->Frame();
    if (items_.empty())
        return;
    firstIndex_ = items_.front().index;
    lastIndex_ = items_.back().index;
    order_.resize(items_.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::vector<double> cx(items_.size()), cy(items_.size());
    for (std::size_t k = 0; k < items_.size(); ++k) {
        cx[k] = 0.5 * (items_[k].box.minX + items_[k].box.maxX);
        cy[k] = 0.5 * (items_[k].box.minY + items_[k].box.maxY);
    }
    nodes_.reserve(2 * items_.size() / kLeafSize + 2);
    Build(0, static_cast<int>(items_.size()), cx, cy);
}

int ProjectionIndex::Build(int first, int count, std::vector<double>& cx, std::vector<double>& cy) {
    const int at = static_cast<int>(nodes_.size());
    nodes_.emplace_back();
    Box box = items_[order_[first]].box;
    for (int i = first + 1; i < first + count; ++i) {
        const Box& b = items_[order_[i]].box;
        box.minX = std::min(box.minX, b.minX);
        box.minY = std::min(box.minY, b.minY);
        box.maxX = std::max(box.maxX, b.maxX);
        box.maxY = std::max(box.maxY, b.maxY);
    }
    nodes_[at].box = box;
    if (count <= kLeafSize) {
        nodes_[at].first = first;
        nodes_[at].count = count;
        return at;
    }
    const bool alongX = box.maxX - box.minX >= box.maxY - box.minY;
    const std::vector<double>& key = alongX ? cx : cy;
    const int half = count / 2;
    std::nth_element(order_.begin() + first, order_.begin() + first + half,
                     order_.begin() + first + count,
                     [&](int a, int b) { return key[a] < key[b] || (key[a] == key[b] && a < b); });
    const int left = Build(first, half, cx, cy);
    const int right = Build(first + half, count - half, cx, cy);
    nodes_[at].left = left;
    nodes_[at].right = right;
    return at;
}

bool ProjectionIndex::Matches(const CvPolyLine& chain) const {
    const int n = chain.GetCount();
    if (n != static_cast<int>(elements_.size()))
        return false;
    if (n > 0 && (chain.Forste() != static_cast<const HovedObjekt*>(elements_.front()) ||
                  chain.Siste() != static_cast<const HovedObjekt*>(elements_.back())))
        return false;
    const std::uint64_t edits = CvPolyElement::GlobalEditCount();
    if (edits == editCount_)
        return true;
    // Some element somewhere changed: see whether it is one of ours.
    for (int i = 0; i < n; ++i) {
        const CvPolyElement* e = chain.Element(i);
        if (e != elements_[i] || (e != nullptr && e->Version() != versions_[i]))
            return false;
    }
    editCount_ = edits;
    return true;
}

int ProjectionIndex::ItemAtStation(double s, double tol) const {
    const int n = static_cast<int>(items_.size());
    if (monotone_) {
        // First item whose range ends at or after s; the ranges ahead of it start later.
        const auto it = std::lower_bound(hi_.begin(), hi_.end(), s - tol);
        if (it == hi_.end())
            return -1;
        const int k = static_cast<int>(it - hi_.begin());
        return lo_[k] <= s + tol ? k : -1;
    }
    for (int k = 0; k < n; ++k) {
        if (s >= lo_[k] - tol && s <= hi_[k] + tol)
            return k;
    }
    return -1;
}

} // namespace rigel::polyline
