#pragma once
// Storage for many survey points in one allocation, for readers that make hundreds of thousands
// of them at once (CvSporopPointList::AppendBlock). One allocation per point costs a heap call and,
// on a fresh heap, a page fault per 4 KiB; one block offered for huge pages costs neither.
//
// A point of a block is deleted like any other (the lists own their points and delete them one
// by one): CvSporopPoint's operator delete asks ReleaseBlockPoint, which counts the block's live
// points down and frees the block with its last one. A block therefore stays allocated as long as
// any of its points lives. Blocks are registered in one process-wide table under a mutex, so points
// may be deleted on any thread.

#include <cstddef>

class CvSporopPoint;

namespace rigel {

// Releases the point at p when it lies in a block: true, and the block is freed when p was its
// last live point. false when p is not in any block (the caller frees it).
bool ReleaseBlockPoint(void* p) noexcept;

// A block of room for count points, registered while the block owns it. Points are built in
// order with Construct; when the PointBlock goes out of scope the block belongs to the points
// built in it (or is freed at once when none was built).
class PointBlock {
public:
    explicit PointBlock(std::size_t count);
    ~PointBlock();
    PointBlock(const PointBlock&) = delete;
    PointBlock& operator=(const PointBlock&) = delete;

    // A default point in the next free place; the caller must hand it to an owner at once.
    CvSporopPoint* Construct();
    // Destroys the points built after the first keep, in place, so that Construct builds their
    // places anew. Only for points that no owner holds.
    void Truncate(std::size_t keep);
    std::size_t Built() const { return built_; }

private:
    void* block_;
    std::size_t count_;
    std::size_t built_ = 0;
};

} // namespace rigel
