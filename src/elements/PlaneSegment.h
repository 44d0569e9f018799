#pragma once
// A plain plane segment from (x1, y1) to (x2, y2).

struct PlaneSegment {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;

    // Crossing of this segment with the segment (x3, y3) -> (x4, y4). Segments whose direction
    // cross product is below 0.001 in magnitude count as parallel: the result is 0 and x, y are
    // not touched. Otherwise the crossing of the two lines is written to x, y, and the result is 1
    // when it lies on both segments (ends included), 0 when it lies outside either.
    int SegmentIntersection(double x3, double y3, double x4, double y4, double& x, double& y) const;
};
