#pragma once
// The neighbour links of the point sorter, found with a k-d tree.
//
// The sorter's rule is a scan over the presorted records, first forward (r+1, r+2, ...) and then
// backward (r-1, r-2, ...), in which a candidate replaces the best one only when it is nearer by
// more than 1e-9 m, and which stops in a direction at the first record whose |dx| and |dy| both
// reach the best distance so far. The tree answers exactly as the scan does:
// - Ties: the answer depends on the scan order among candidates whose distances lie within a few
//   1e-9 m of each other. The tree collects every candidate within dmin + 64e-9 of the smallest
//   distance dmin and replays the scan rule over them in scan order. That is the scan's answer
//   whenever the first of them in scan order lies below dmin + 63e-9 (then the scan must have
//   taken it, whatever came before); otherwise the record is answered by the scan itself.
// - The stop: with x increasing along the presorted order, a record at |dx| >= best is followed
//   only by records at least as far, so the stop never passes a nearer candidate. The presort
//   compares x with a tolerance of 1e-9, so a run of x values each within 1e-9 of the next is
//   ordered by y and x may fall along it, by more than 1e-9 over a long run. With D the largest
//   such fall (x[i] - x[j] for i < j), the scan meets every record before a candidate c within
//   |dx of c| + D, and stops only at |dx| >= dmin: when some collected candidate has
//   |dx| + D >= dmin (possible only when D > 1e-9), the record is answered by the scan itself.
// Fallbacks() counts the records answered by the scan.
//
// "Opposite" neighbours are restricted to the half-plane facing away from the nearest neighbour:
// (nearest - r) . (c - r) <= 1e-9. The tree prunes boxes that lie wholly outside it, so a track
// end, which has no opposite neighbour, does not make its search visit the whole survey.

#include "points/KdTree.h"

#include <cstddef>
#include <vector>

namespace rigel {

class NeighbourSearch {
public:
    static constexpr double kTolerance = 1e-9;

    struct Result {
        int index = -1; // -1: none
        double distance = 0.0;
    };

    // Records in presorted order; excluded records (measuring errors) take no part.
    NeighbourSearch(const std::vector<double>& xs, const std::vector<double>& ys,
                    const std::vector<char>& excluded);

    // Nearest other record of r, starting from the best distance `initial`.
    Result Nearest(int r, double initial) const;
    // Nearest record on the far side from `nearest` (not `nearest`, not at distance 0).
    Result Opposite(int r, int nearest, double initial) const;

    // The sorter's scan itself (reference and fallback).
    Result ScanNearest(int r, double initial) const;
    Result ScanOpposite(int r, int nearest, double initial) const;

    // How many queries had to fall back to the scan (for tests and benchmarks).
    std::size_t Fallbacks() const { return fallbacks_; }

private:
    struct Candidate {
        int index;
        double distance;
    };

    Result Find(int r, int nearest, double initial) const;
    Result Scan(int r, int nearest, double initial) const;
    bool Accept(int r, int nearest, int c) const;

    const std::vector<double>& xs_;
    const std::vector<double>& ys_;
    const std::vector<char>& excluded_;
    KdTree tree_;
    double inversion_ = 0.0; // D above
    mutable std::size_t fallbacks_ = 0;
    mutable std::vector<Candidate> scratch_;
};

} // namespace rigel
