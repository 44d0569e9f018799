#pragma once
// The CgPoints of a LandXML import by their text key: an ordered map from key to point in which a
// later point with a key already present replaces the earlier one, as std::map::insert_or_assign
// would, and whose keys are visited in byte order (std::string's order).
//
// Built for files of hundreds of thousands of points: keys live in one character arena and the
// points in one array, instead of a heap node and a string per point. Points are appended as
// they stream past; they are sorted by key and their duplicates dropped in one pass when the map
// is first walked in key order (or when many have been appended since the last sort). A lookup
// before that (a pntRef naming an earlier point) goes through a hash index of the appended
// points that is built on the first such lookup and kept up to date from then on.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rigel {

// A point of CgPoints, or of a point element's text: northing (x), easting (y) and a height when
// one was given.
struct KeyedPoint {
    double northing = 0.0;
    double easting = 0.0;
    double height = 0.0;
    bool hasHeight = false;
    double tolerance = 1e-8;
};

class KeyedPointMap {
public:
    // Appended points are sorted into the others once there are mergeFloor of them and at least
    // as many as sorted ones, so that a file repeating few keys many times holds each about once.
    explicit KeyedPointMap(std::size_t mergeFloor = std::size_t{1} << 20)
        : mergeFloor_(mergeFloor) {}

    // Sets the point of key; a point already under key is replaced.
    void insert_or_assign(std::string_view key, const KeyedPoint& point);
    // The point of key into point; false (point unchanged) when there is none.
    bool Find(std::string_view key, KeyedPoint& point) const;
    std::size_t count(std::string_view key) const {
        KeyedPoint unused;
        return Find(key, unused) ? 1 : 0;
    }
    std::size_t size() const;
    bool empty() const { return entries_.empty(); }
    void clear();

    // The i-th key in byte order and its point, i below size().
    std::string_view KeyAt(std::size_t i) const {
        Sort();
        return Key(entries_[i]);
    }
    KeyedPoint PointAt(std::size_t i) const {
        Sort();
        return entries_[i].Point();
    }

private:
    // A KeyedPoint without its padding: 48 bytes with the key's place.
    struct Entry {
        double northing, easting, height, tolerance;
        std::uint64_t keyOffset;
        std::uint32_t keyLength;
        bool hasHeight;
        KeyedPoint Point() const { return {northing, easting, height, hasHeight, tolerance}; }
    };

    std::string_view Key(const Entry& entry) const {
        return std::string_view(keys_.data() + entry.keyOffset, entry.keyLength);
    }
    // Index of the sorted entry with key, or -1.
    std::ptrdiff_t FindSorted(std::string_view key) const;
    // Index of the latest appended (unsorted) entry with key, or -1.
    std::ptrdiff_t FindAppended(std::string_view key) const;
    void IndexAppended(std::size_t entry) const;
    void GrowIndex() const;
    void Sort() const {
        if (sorted_ != entries_.size())
            Merge();
    }
    // Merges the appended entries into the sorted ones (later ones win) and compacts the arena.
    void Merge() const;

    // entries_[0, sorted_) are in key order with unique keys; the rest in the order appended.
    // Sorting rearranges both arrays without changing what the map holds, so it may run in const
    // walks and lookups.
    mutable std::string keys_;
    mutable std::vector<Entry> entries_;
    mutable std::size_t sorted_ = 0;
    // Open addressing over the appended entries: entry index + 1, 0 for a free slot. Empty until
    // the first lookup that needs it.
    mutable std::vector<std::uint32_t> index_;
    mutable std::size_t indexed_ = 0; // appended entries in index_
    std::size_t mergeFloor_;
};

} // namespace rigel
