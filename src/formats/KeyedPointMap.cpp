#include "formats/KeyedPointMap.h"

#include "platform/base/CompactText.h"
#include "platform/base/HugePages.h"
#include "points/CvSporopPoint.h"
#include "points/CvSporopPointList.h"
#include "points/PointBlock.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace rigel {
namespace {

constexpr std::uint8_t kHasName = 1;
constexpr std::uint8_t kHasHeight = 2;

// Points are kept in blocks of 1024 points, then of twice as many as the block before up to
// 2^18 points (38 MB, mostly whole huge pages: HugePages.h), then of 2^18 points each, so that a
// small map takes little memory and a large one few blocks. Point n lies in block b at offset o.
constexpr std::size_t kFirstBlockShift = 10;
constexpr std::size_t kLastBlockShift = 18;
struct Place {
    std::size_t block, offset;
};
Place PlaceOf(std::size_t n) {
    if (n < (std::size_t{1} << kLastBlockShift)) {
        const std::size_t b = static_cast<std::size_t>(std::bit_width(n >> kFirstBlockShift));
        return {b, b == 0 ? n : n - (std::size_t{1} << (kFirstBlockShift - 1 + b))};
    }
    return {kLastBlockShift - kFirstBlockShift + (n >> kLastBlockShift),
            n & ((std::size_t{1} << kLastBlockShift) - 1)};
}
std::size_t BlockSize(std::size_t block) {
    return std::size_t{1} << std::clamp(kFirstBlockShift - 1 + block, kFirstBlockShift,
                                        kLastBlockShift);
}

// The key order keeps a point number in 28 bits beside 4 bits of key length.
constexpr unsigned kNumberBits = 28;
constexpr std::uint32_t kNumberMask = (std::uint32_t{1} << kNumberBits) - 1;
constexpr std::size_t kMaxPoints = kNumberMask - 1; // numbers + 1 in the index

// Empties v and gives its storage back (v = {} would keep it).
template <typename V> void Free(V& v) {
    V().swap(v);
}

constexpr char kMark = '\xA7'; // "§" in Windows-1252

std::uint64_t HashKey(std::string_view key) {
    return std::hash<std::string_view>()(key);
}
// An index entry is 0 for a free slot, else the point number + 1 in the low bits and 4 bits of
// the key's hash above them, which spare most probes a look at the point's key.
struct Hashed {
    std::size_t slot;
    std::uint32_t tag;
};
Hashed Mix(std::uint64_t h, std::size_t mask) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return {static_cast<std::size_t>(h) & mask, static_cast<std::uint32_t>(h >> 60) << kNumberBits};
}

// A key as the texts of its point: code, then the mark and the name when there is a name.
struct KeyView {
    std::string_view code;
    bool hasName;
    std::string_view name;

    std::size_t size() const { return code.size() + (hasName ? 1 + name.size() : 0); }
    // HashKey of the whole key.
    std::uint64_t Hash() const {
        const std::size_t n = size();
        char buffer[128];
        if (n <= sizeof buffer) {
            Copy(0, n, buffer);
            return HashKey(std::string_view(buffer, n));
        }
        std::string whole(n, '\0');
        Copy(0, n, whole.data());
        return HashKey(whole);
    }
    bool operator==(std::string_view key) const {
        if (key.size() != size() || key.substr(0, code.size()) != code)
            return false;
        return !hasName || (key[code.size()] == kMark && key.substr(code.size() + 1) == name);
    }
    // Bytes [from, from + n) of the key, all inside it, to out.
    void Copy(std::size_t from, std::size_t n, char* out) const {
        const std::size_t end = from + n;
        if (from < code.size()) {
            const std::size_t m = std::min(end, code.size()) - from;
            std::memcpy(out, code.data() + from, m);
            out += m;
            from += m;
        }
        if (from < end && from == code.size()) {
            *out++ = kMark;
            ++from;
        }
        if (from < end)
            std::memcpy(out, name.data() + (from - code.size() - 1), end - from);
    }
};

// Turns a map point's texts (code and name) into those of its key's survey point: the key split
// at its first mark. The name stays the description unless the code is empty or holds the mark.
void FinishTexts(CvSporopPoint& p, bool hasName) {
    const std::string_view code = p.code;
    const std::size_t mark = code.find(kMark);
    if (mark == std::string_view::npos) {
        if (!hasName || code.empty())
            p.description.clear();
        return;
    }
    std::string key(code);
    if (hasName) {
        key += kMark;
        key += p.description.view();
    }
    CompactText newCode(std::string_view(key).substr(0, mark));
    CompactText newDescription(mark == 0 ? std::string_view()
                                         : std::string_view(key).substr(mark + 1));
    p.code = std::move(newCode);
    p.description = std::move(newDescription);
}

KeyView KeyOf(const CvSporopPoint& p, std::uint8_t flags) {
    return {p.code, (flags & kHasName) != 0, p.description};
}

bool SameKey(const KeyView& a, const KeyView& b) {
    if (a.size() != b.size())
        return false;
    if (a.code.size() == b.code.size()) // then both have a name or neither has
        return a.code == b.code && (!a.hasName || a.name == b.name);
    char x[64], y[64];
    for (std::size_t from = 0; from < a.size(); from += sizeof x) {
        const std::size_t n = std::min(sizeof x, a.size() - from);
        a.Copy(from, n, x);
        b.Copy(from, n, y);
        if (std::memcmp(x, y, n) != 0)
            return false;
    }
    return true;
}

} // namespace

KeyedPointMap::KeyedPointMap(std::size_t mergeFloor) : mergeFloor_(mergeFloor) {}

KeyedPointMap::~KeyedPointMap() {
    clear();
}

CvSporopPoint* KeyedPointMap::Point(std::size_t number) const {
    const Place place = PlaceOf(number);
    return blockStarts_[place.block] + place.offset;
}

bool KeyedPointMap::HasName(std::size_t number) const {
    return (flags_[number] & kHasName) != 0;
}

void KeyedPointMap::insert_or_assign(std::string_view code, bool hasName, std::string_view name,
                                     const KeyedPoint& point) {
    const KeyView key{code, hasName, name};
    std::size_t slot = 0;
    std::uint32_t tag = 0;
    if (!index_.empty()) {
        // Since the first lookup, a point replaces its key's point at once.
        if (2 * (count_ + 1) > index_.size())
            BuildIndex(2 * index_.size());
        const std::size_t mask = index_.size() - 1;
        const Hashed hashed = Mix(key.Hash(), mask);
        for (slot = hashed.slot; index_[slot] != 0; slot = (slot + 1) & mask) {
            if ((index_[slot] & ~kNumberMask) != hashed.tag)
                continue;
            const std::size_t number = (index_[slot] & kNumberMask) - 1;
            if (SameKey(KeyOf(*Point(number), flags_[number]), key)) {
                Point(number)->Init(point.northing, point.easting,
                                    point.hasHeight ? point.height : 0.0);
                flags_[number] = static_cast<std::uint8_t>((flags_[number] & ~kHasHeight) |
                                                           (point.hasHeight ? kHasHeight : 0));
                return;
            }
        }
        tag = hashed.tag;
    } else if (count_ >= mergeFloor_ && count_ >= 2 * keptAtLastPass_) {
        DropRepeats();
    }
    if (count_ >= kMaxPoints)
        throw std::length_error("KeyedPointMap: too many points");
    // Everything that may throw comes before the point is counted.
    CompactText newCode(code), newName(hasName ? name : std::string_view());
    flags_.push_back(
        static_cast<std::uint8_t>((hasName ? kHasName : 0) | (point.hasHeight ? kHasHeight : 0)));
    CvSporopPoint* p = nullptr;
    try {
        p = NewPoint();
    } catch (...) {
        flags_.pop_back();
        throw;
    }
    p->Init(point.northing, point.easting, point.hasHeight ? point.height : 0.0);
    p->code = std::move(newCode);
    p->description = std::move(newName);
    if (!index_.empty())
        index_[slot] = tag | static_cast<std::uint32_t>(count_ + 1);
    ++count_;
}

// Room for the next point: in the last block, or in a new one.
CvSporopPoint* KeyedPointMap::NewPoint() {
    const Place place = PlaceOf(count_);
    if (place.offset != 0)
        return blocks_.back()->Construct();
    blocks_.reserve(blocks_.size() + 1);
    blockStarts_.reserve(blockStarts_.size() + 1);
    auto block = std::make_unique<PointBlock>(BlockSize(place.block));
    CvSporopPoint* first = block->Construct();
    blocks_.push_back(std::move(block));
    blockStarts_.push_back(first);
    return first;
}

bool KeyedPointMap::Find(std::string_view key, KeyedPoint& point) const {
    if (count_ == 0)
        return false;
    if (index_.empty())
        BuildIndex(std::bit_ceil(std::max<std::size_t>(64, 4 * count_)));
    const std::size_t mask = index_.size() - 1;
    const Hashed hashed = Mix(HashKey(key), mask);
    for (std::size_t slot = hashed.slot; index_[slot] != 0; slot = (slot + 1) & mask) {
        if ((index_[slot] & ~kNumberMask) != hashed.tag)
            continue;
        const std::size_t number = (index_[slot] & kNumberMask) - 1;
        if (KeyOf(*Point(number), flags_[number]) == key) {
            const CvSporopPoint& p = *Point(number);
            point = KeyedPoint{p.x(), p.y(), p.z(), (flags_[number] & kHasHeight) != 0};
            return true;
        }
    }
    return false;
}

void KeyedPointMap::BuildIndex(std::size_t slots) const {
    std::vector<std::uint32_t> index(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t number = 0; number < count_; ++number) {
        const KeyView key = KeyOf(*Point(number), flags_[number]);
        const Hashed hashed = Mix(key.Hash(), mask);
        std::size_t slot = hashed.slot;
        for (; index[slot] != 0; slot = (slot + 1) & mask) {
            const std::size_t held = (index[slot] & kNumberMask) - 1;
            if ((index[slot] & ~kNumberMask) == hashed.tag &&
                SameKey(KeyOf(*Point(held), flags_[held]), key))
                break;
        }
        index[slot] = hashed.tag | static_cast<std::uint32_t>(number + 1);
    }
    index_.swap(index);
}

std::vector<std::uint32_t> KeyedPointMap::KeyOrder() const {
    // An MSD radix walk by words of 8 key bytes: the points are sorted by the first word of
    // their keys, then every run of equal words by the next word, and so on; a word is read
    // from the points only when the run holding it is sorted. Beside the word, the number of
    // key bytes left (capped at 9) puts a key before the longer keys it begins. A run of equal
    // words that ends its keys is a key repeated: sorted by number, all but its last are
    // dropped.
    struct Item {
        std::uint32_t high, low, rest; // rest: bytes left << kNumberBits | point number
    };
    constexpr std::uint32_t kDropped = 15;
    const auto left = [](const Item& item) { return item.rest >> kNumberBits; };
    const auto same = [&left](const Item& a, const Item& b) {
        return a.high == b.high && a.low == b.low && left(a) == left(b);
    };
    const auto less = [](const Item& a, const Item& b) {
        return a.high != b.high ? a.high < b.high
               : a.low != b.low ? a.low < b.low
                                : a.rest < b.rest; // bytes left, then number
    };
    const auto fill = [this](Item& item, std::size_t depth) {
        const std::uint32_t number = item.rest & kNumberMask;
        const KeyView key = KeyOf(*Point(number), flags_[number]);
        const std::size_t remaining = key.size() - depth;
        char bytes[8] = {};
        key.Copy(depth, std::min<std::size_t>(remaining, 8), bytes);
        const auto word = [&bytes](int at) {
            std::uint32_t w = 0;
            for (int i = at; i < at + 4; ++i)
                w = w << 8 | static_cast<unsigned char>(bytes[i]);
            return w;
        };
        item = {word(0), word(4),
                static_cast<std::uint32_t>(std::min<std::size_t>(remaining, 9)) << kNumberBits |
                    number};
    };
    std::vector<Item> items;
    ReserveLarge(items, count_);
    for (std::size_t number = 0; number < count_; ++number)
        items.push_back({0, 0, static_cast<std::uint32_t>(number)});
    struct Run {
        std::size_t begin, end, depth;
    };
    std::vector<Run> work{{0, items.size(), 0}};
    std::size_t dropped = 0;
    while (!work.empty()) {
        const Run run = work.back();
        work.pop_back();
        for (std::size_t i = run.begin; i < run.end; ++i)
            fill(items[i], run.depth);
        std::sort(items.begin() + static_cast<std::ptrdiff_t>(run.begin),
                  items.begin() + static_cast<std::ptrdiff_t>(run.end), less);
        for (std::size_t i = run.begin; i < run.end;) {
            std::size_t j = i + 1;
            while (j < run.end && same(items[i], items[j]))
                ++j;
            if (j - i > 1 && left(items[i]) == 9) {
                work.push_back({i, j, run.depth + 8});
            } else {
                for (std::size_t k = i; k + 1 < j; ++k, ++dropped)
                    items[k].rest = kDropped << kNumberBits | (items[k].rest & kNumberMask);
            }
            i = j;
        }
    }
    std::vector<std::uint32_t> order;
    ReserveLarge(order, items.size() - dropped);
    for (const Item& item : items)
        if (left(item) != kDropped)
            order.push_back(item.rest & kNumberMask);
    return order;
}

void KeyedPointMap::Compact(const std::vector<bool>& kept) {
    std::size_t to = 0;
    for (std::size_t from = 0; from < count_; ++from) {
        if (!kept[from])
            continue;
        if (to != from) {
            CvSporopPoint& a = *Point(to);
            CvSporopPoint& b = *Point(from);
            a.Init(b);
            a.code = std::move(b.code);
            a.description = std::move(b.description);
            flags_[to] = flags_[from];
        }
        ++to;
    }
    // The places from `to` on hold moved or dropped points.
    count_ = to;
    flags_.resize(to);
    const std::size_t blocks = to == 0 ? 0 : PlaceOf(to - 1).block + 1;
    for (; blocks_.size() > blocks; blocks_.pop_back(), blockStarts_.pop_back())
        blocks_.back()->Truncate(0);
    if (to > 0)
        blocks_.back()->Truncate(PlaceOf(to - 1).offset + 1);
}

void KeyedPointMap::DropRepeats() {
    const std::vector<std::uint32_t> order = KeyOrder();
    std::vector<bool> kept(count_, false);
    for (const std::uint32_t number : order)
        kept[number] = true;
    Compact(kept);
    keptAtLastPass_ = count_;
}

void KeyedPointMap::clear() {
    for (const auto& block : blocks_)
        block->Truncate(0);
    Free(blocks_);
    Free(blockStarts_);
    Free(flags_);
    Free(index_);
    count_ = 0;
    keptAtLastPass_ = 0;
}

void KeyedPointMap::CopyTo(CvSporopPointList& list) const {
    const std::vector<std::uint32_t> order = KeyOrder();
    std::size_t next = 0;
    list.AppendBlock(order.size(), [&](CvSporopPoint& point) {
        const std::uint32_t number = order[next++];
        const CvSporopPoint& from = *Point(number);
        point.Init(from);
        point.code = from.code;
        point.description = from.description;
        FinishTexts(point, HasName(number));
    });
}

void KeyedPointMap::TakePoints(CvSporopPointList& list) {
    if (count_ == 0)
        return;
    std::vector<std::uint32_t> order;
    std::vector<bool> kept;
    try {
        Free(index_);
        order = KeyOrder();
        kept.assign(count_, false);
        list.Reserve(static_cast<std::size_t>(list.Antall()) + order.size());
        for (const std::uint32_t number : order) {
            kept[number] = true;
            FinishTexts(*Point(number), HasName(number));
        }
    } catch (...) {
        clear();
        throw;
    }
    Free(flags_);
    for (const std::uint32_t number : order)
        list.LeggTil(Point(number)); // cannot fail after the reserve: the list owns the point
    for (std::size_t number = 0; number < count_; ++number)
        if (!kept[number])
            delete Point(number); // a repeated key's earlier point
    Free(blocks_);                // the blocks now belong to their points
    Free(blockStarts_);
    count_ = 0;
    keptAtLastPass_ = 0;
}

} // namespace rigel
