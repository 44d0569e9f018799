#include "formats/KeyedPointMap.h"

#include "platform/base/HugePages.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>
#include <stdexcept>

namespace rigel {
namespace {

// Room for extra more elements in v, doubling, in storage offered for huge pages: the arrays of a
// large file are tens of MB, written once each, and their first touch is a good part of the cost.
template <typename Storage> void MakeRoom(Storage& v, std::size_t extra) {
    if (v.size() + extra <= v.capacity())
        return;
    Storage bigger;
    ReserveLarge(bigger, std::max({2 * v.capacity(), v.size() + extra, std::size_t{256}}));
    bigger.insert(bigger.end(), v.begin(), v.end());
    v.swap(bigger);
}

} // namespace

void KeyedPointMap::insert_or_assign(std::string_view key, const KeyedPoint& point) {
    if (key.size() > std::numeric_limits<std::uint32_t>::max() ||
        entries_.size() >= std::numeric_limits<std::uint32_t>::max() - 1)
        throw std::length_error("KeyedPointMap: key or map too large");
    const std::size_t appended = entries_.size() - sorted_;
    if (appended >= mergeFloor_ && appended >= sorted_)
        Merge();
    MakeRoom(entries_, 1);
    MakeRoom(keys_, key.size());
    entries_.push_back({point.northing, point.easting, point.height, point.tolerance, keys_.size(),
                        static_cast<std::uint32_t>(key.size()), point.hasHeight});
    keys_.append(key);
    if (!index_.empty())
        IndexAppended(entries_.size() - 1);
}

bool KeyedPointMap::Find(std::string_view key, KeyedPoint& point) const {
    std::ptrdiff_t found = FindAppended(key);
    if (found < 0)
        found = FindSorted(key);
    if (found < 0)
        return false;
    point = entries_[static_cast<std::size_t>(found)].Point();
    return true;
}

std::size_t KeyedPointMap::size() const {
    Sort();
    return entries_.size();
}

void KeyedPointMap::clear() {
    keys_ = std::string();
    entries_ = std::vector<Entry>();
    sorted_ = 0;
    index_ = std::vector<std::uint32_t>();
    indexed_ = 0;
}

std::ptrdiff_t KeyedPointMap::FindSorted(std::string_view key) const {
    const auto end = entries_.begin() + static_cast<std::ptrdiff_t>(sorted_);
    const auto it =
        std::lower_bound(entries_.begin(), end, key,
                         [this](const Entry& e, std::string_view k) { return Key(e) < k; });
    return it != end && Key(*it) == key ? it - entries_.begin() : -1;
}

std::ptrdiff_t KeyedPointMap::FindAppended(std::string_view key) const {
    if (sorted_ == entries_.size())
        return -1;
    if (index_.empty()) {
        GrowIndex();
    }
    const std::size_t mask = index_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(key) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = index_[slot];
        if (held == 0)
            return -1;
        if (Key(entries_[held - 1]) == key)
            return static_cast<std::ptrdiff_t>(held - 1);
    }
}

// Puts entry into the index, in place of an earlier entry with the same key.
void KeyedPointMap::IndexAppended(std::size_t entry) const {
    if (2 * (indexed_ + 1) > index_.size()) {
        GrowIndex(); // indexes every appended entry, this one included
        return;
    }
    const std::string_view key = Key(entries_[entry]);
    const std::size_t mask = index_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(key) & mask;; slot = (slot + 1) & mask) {
        std::uint32_t& held = index_[slot];
        if (held == 0) {
            ++indexed_;
        } else if (Key(entries_[held - 1]) != key) {
            continue;
        }
        held = static_cast<std::uint32_t>(entry + 1);
        return;
    }
}

// Rebuilds the index over all appended entries, at most half full.
void KeyedPointMap::GrowIndex() const {
    std::size_t slots = 64;
    while (slots < 4 * (entries_.size() - sorted_))
        slots *= 2;
    index_.assign(slots, 0);
    indexed_ = 0;
    for (std::size_t i = sorted_; i < entries_.size(); ++i) {
        const std::string_view key = Key(entries_[i]);
        const std::size_t mask = slots - 1;
        for (std::size_t slot = std::hash<std::string_view>()(key) & mask;;
             slot = (slot + 1) & mask) {
            std::uint32_t& held = index_[slot];
            if (held == 0)
                ++indexed_;
            else if (Key(entries_[held - 1]) != key)
                continue;
            held = static_cast<std::uint32_t>(i + 1);
            break;
        }
    }
}

void KeyedPointMap::Merge() const {
    // The appended entries by key, the later of equal keys last; only the last of each key stays.
    // Each item carries the first 16 bytes of its key as two big-endian numbers (zero-padded), so
    // that most comparisons never reach the arena.
    struct Item {
        std::uint64_t head[2];
        std::uint64_t offset;
        std::uint32_t length;
        std::uint32_t entry;
    };
    const char* const keys = keys_.data();
    std::vector<Item> order;
    ReserveLarge(order, entries_.size() - sorted_);
    for (std::size_t i = sorted_; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        Item item{{0, 0}, e.keyOffset, e.keyLength, static_cast<std::uint32_t>(i)};
        const std::size_t n = std::min<std::size_t>(e.keyLength, 16);
        for (std::size_t b = 0; b < n; ++b)
            item.head[b / 8] |= std::uint64_t{static_cast<unsigned char>(keys[e.keyOffset + b])}
                                << (56 - 8 * (b % 8));
        order.push_back(item);
    }
    const auto key = [keys](const Item& item) {
        return std::string_view(keys + item.offset, item.length);
    };
    // Equal heads: a key of at most 16 bytes is a prefix of the other key, so the shorter is less;
    // else the bytes after the head decide.
    const auto compare = [&key](const Item& a, const Item& b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0] ? -1 : 1;
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1] ? -1 : 1;
        if (a.length <= 16 || b.length <= 16)
            return a.length < b.length ? -1 : a.length > b.length ? 1 : 0;
        return key(a).substr(16).compare(key(b).substr(16));
    };
    std::sort(order.begin(), order.end(), [&compare](const Item& a, const Item& b) {
        const int c = compare(a, b);
        return c < 0 || (c == 0 && a.entry < b.entry);
    });
    std::size_t unique = 0;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (i + 1 == order.size() || compare(order[i], order[i + 1]) != 0)
            order[unique++] = order[i];
    order.resize(unique);

    // Merged with the sorted entries; an appended entry replaces a sorted one of the same key.
    std::vector<Entry> merged;
    ReserveLarge(merged, sorted_ + order.size());
    std::string mergedKeys;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < sorted_; ++i)
        bytes += entries_[i].keyLength;
    for (const Item& item : order)
        bytes += item.length;
    ReserveLarge(mergedKeys, bytes);
    const auto take = [&](const Entry& entry) {
        merged.push_back(entry);
        merged.back().keyOffset = mergedKeys.size();
        mergedKeys.append(Key(entry));
    };
    std::size_t s = 0;
    for (const Item& item : order) {
        const std::string_view k = key(item);
        for (; s < sorted_ && Key(entries_[s]) < k; ++s)
            take(entries_[s]);
        if (s < sorted_ && Key(entries_[s]) == k)
            ++s;
        take(entries_[item.entry]);
    }
    for (; s < sorted_; ++s)
        take(entries_[s]);

    order = std::vector<Item>();
    entries_.swap(merged);
    keys_.swap(mergedKeys);
    sorted_ = entries_.size();
    index_ = std::vector<std::uint32_t>();
    indexed_ = 0;
}

} // namespace rigel
