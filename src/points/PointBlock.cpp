#include "points/PointBlock.h"

#include "platform/base/HugePages.h"
#include "points/CvSporopPoint.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <mutex>
#include <new>
#include <stdexcept>
#include <vector>

namespace rigel {
namespace {

struct Block {
    std::uintptr_t begin;
    std::uintptr_t end;
    std::size_t built;    // points built in it; final once open is false
    std::size_t released; // points deleted
    bool open;            // still being filled: not freed even when nothing lives
};

// Never destroyed, so that points deleted by other static objects at exit still find it.
std::mutex& RegistryMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}
std::vector<Block>& Registry() {
    static auto* blocks = new std::vector<Block>;
    return *blocks;
}
std::atomic<std::size_t> registered{0};

// The block holding p, or end(). Blocks are sorted by begin and never overlap.
std::vector<Block>::iterator BlockOf(std::uintptr_t p) {
    std::vector<Block>& blocks = Registry();
    auto it = std::upper_bound(blocks.begin(), blocks.end(), p,
                               [](std::uintptr_t q, const Block& b) { return q < b.begin; });
    if (it == blocks.begin())
        return blocks.end();
    --it;
    return p < it->end ? it : blocks.end();
}

// Frees the block at it when it is closed and every point built in it is gone. Under the mutex.
void FreeIfEmpty(std::vector<Block>::iterator it) {
    if (it->open || it->released != it->built)
        return;
    void* memory = reinterpret_cast<void*>(it->begin);
    Registry().erase(it);
    registered.fetch_sub(1, std::memory_order_relaxed);
    ::operator delete(memory);
}

} // namespace

bool ReleaseBlockPoint(void* p) noexcept {
    if (registered.load(std::memory_order_relaxed) == 0)
        return false;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    const auto it = BlockOf(reinterpret_cast<std::uintptr_t>(p));
    if (it == Registry().end())
        return false;
    ++it->released;
    FreeIfEmpty(it);
    return true;
}

PointBlock::PointBlock(std::size_t count) : block_(nullptr), count_(count) {
    if (count == 0)
        return;
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(CvSporopPoint))
        throw std::bad_alloc();
    const std::size_t bytes = count * sizeof(CvSporopPoint);
    block_ = ::operator new(bytes);
    AdviseHugePages(block_, bytes);
    const auto begin = reinterpret_cast<std::uintptr_t>(block_);
    try {
        std::lock_guard<std::mutex> lock(RegistryMutex());
        std::vector<Block>& blocks = Registry();
        const auto at =
            std::upper_bound(blocks.begin(), blocks.end(), begin,
                             [](std::uintptr_t q, const Block& b) { return q < b.begin; });
        blocks.insert(at, Block{begin, begin + bytes, 0, 0, true});
        registered.fetch_add(1, std::memory_order_relaxed);
    } catch (...) {
        ::operator delete(block_);
        throw;
    }
}

PointBlock::~PointBlock() {
    if (block_ == nullptr)
        return;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    const auto it = BlockOf(reinterpret_cast<std::uintptr_t>(block_));
    it->open = false;
    it->built = built_;
    FreeIfEmpty(it);
}

CvSporopPoint* PointBlock::Construct() {
    if (built_ == count_)
        throw std::logic_error("PointBlock: the block is full");
    void* place = static_cast<char*>(block_) + built_ * sizeof(CvSporopPoint);
    CvSporopPoint* point = ::new (place) CvSporopPoint();
    ++built_;
    return point;
}

void PointBlock::Truncate(std::size_t keep) {
    for (; built_ > keep; --built_)
        static_cast<CvSporopPoint*>(
            static_cast<void*>(static_cast<char*>(block_) + (built_ - 1) * sizeof(CvSporopPoint)))
            ->~CvSporopPoint();
}

} // namespace rigel
