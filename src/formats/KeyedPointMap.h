#pragma once
// The CgPoints of a LandXML import by their text key: the point's code, followed by "§" and its
// name when it has one. A later point with a key already present replaces the earlier one, as
// std::map::insert_or_assign would, and keys are visited in byte order (std::string's order).
//
// Built for files of hundreds of thousands of points, whose import must not hold each point
// twice: the map keeps every point as the survey point it is going to be, with the code and the
// name as its two texts (so the key is never stored apart from them), in blocks of many points
// (PointBlock.h). Points are appended as they come; the key order, found when the points are
// handed out, also drops the earlier points of a repeated key. So that a file repeating few keys
// many times holds each about once, the repeats are dropped in passing too, once there are
// mergeFloor points and twice as many as after the last such pass. A lookup builds a hash index
// of the points, kept from then on, with which later points replace their key's point at once.
// TakePoints hands the map's own points to a list, in key order, and leaves the map empty.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CvSporopPoint;
class CvSporopPointList;

namespace rigel {

class PointBlock;

// A point of CgPoints, or of a point element's text: northing (x), easting (y) and a height when
// one was given. Every point of the map was read from a text, hence the tolerance.
struct KeyedPoint {
    double northing = 0.0;
    double easting = 0.0;
    double height = 0.0;
    bool hasHeight = false;
    double tolerance = 1e-8;
};

class KeyedPointMap {
public:
    explicit KeyedPointMap(std::size_t mergeFloor = std::size_t{1} << 20);
    ~KeyedPointMap();
    KeyedPointMap(const KeyedPointMap&) = delete;
    KeyedPointMap& operator=(const KeyedPointMap&) = delete;

    // Sets the point of the key code + "§" + name (code alone when hasName is false); a point
    // already under that key takes the new values.
    void insert_or_assign(std::string_view code, bool hasName, std::string_view name,
                          const KeyedPoint& point);
    // The point of key into point; false (point unchanged) when there is none.
    bool Find(std::string_view key, KeyedPoint& point) const;
    std::size_t count(std::string_view key) const {
        KeyedPoint unused;
        return Find(key, unused) ? 1 : 0;
    }
    bool empty() const { return count_ == 0; }
    void clear();

    // Appends a survey point per key to list, in key order: x, y and z the northing, easting and
    // height (0 without one); the key split at its first "§" into code and description, a key
    // without "§" being all code and one that starts with "§" giving neither. CopyTo keeps the
    // map as it is; TakePoints appends the map's own points and leaves the map empty (also when
    // it throws, the list then being unchanged).
    void CopyTo(CvSporopPointList& list) const;
    void TakePoints(CvSporopPointList& list);

private:
    CvSporopPoint* Point(std::size_t number) const;
    bool HasName(std::size_t number) const;
    CvSporopPoint* NewPoint();
    // Index of every point, a later point of a key replacing an earlier one.
    void BuildIndex(std::size_t slots) const;
    // The numbers of the points that are not repeated by a later point of their key, in key
    // order.
    std::vector<std::uint32_t> KeyOrder() const;
    // Deletes the points of the numbers not marked in kept and closes up the others in order.
    void Compact(const std::vector<bool>& kept);
    void DropRepeats();

    std::vector<std::unique_ptr<PointBlock>> blocks_; // open while the map owns their points
    std::vector<CvSporopPoint*> blockStarts_;         // first point of every block
    std::vector<std::uint8_t> flags_;                 // per point: kHasName, kHasHeight
    // Open addressing: 0 for a free slot, else the point number + 1 and a tag of the key's hash.
    // Empty until the first lookup.
    mutable std::vector<std::uint32_t> index_;
    std::size_t count_ = 0;
    std::size_t keptAtLastPass_ = 0;
    std::size_t mergeFloor_;
};

} // namespace rigel
