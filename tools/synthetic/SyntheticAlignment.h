#pragma once
// A synthetic horizontal alignment for benchmarks: repeated groups of straight line, transition
// curve, circular arc and transition curve (radii 300 to 5000 m, random sides), stationed from 0,
// starting at map coordinates near (6 650 000 N, 560 000 E); and points scattered along it.

#include "platform/polyline/CvPolyLine.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace rigel::bench {

// elements (a multiple of 4 is a whole number of curves) with a total length of `length` metres.
std::unique_ptr<CvPolyLine> MakeSyntheticAlignment(int elements = 600, double length = 50'000.0,
                                                   std::uint64_t seed = 1);

struct AlignmentPoint {
    DT_Punkt position;
    double station; // where it was placed
    double offset;  // right positive
};

// n points in track order: evenly spaced stations over the whole alignment, each shifted by a
// random offset in [-maxOffset, maxOffset].
std::vector<AlignmentPoint> PointsAlong(CvPolyLine& alignment, long long n, double maxOffset,
                                        std::uint64_t seed = 2);

} // namespace rigel::bench
