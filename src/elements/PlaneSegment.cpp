#include "elements/PlaneSegment.h"

#include <cmath>

int PlaneSegment::SegmentIntersection(double x3, double y3, double x4, double y4, double& x,
                                      double& y) const {
    const double den = (y4 - y3) * (x2 - x1) - (y2 - y1) * (x4 - x3);
    if (std::fabs(den) < 0.001)
        return 0;
    // t: position on the other segment, u: position on this one (0 at the start, 1 at the end).
    const double t = ((y1 - y3) * (x2 - x1) - (y2 - y1) * (x1 - x3)) / den;
    // u from the coordinate along which this segment runs; a segment that barely moves in x is
    // measured in y (unless it moves even less in y, a segment of almost no length).
    const double dx = x2 - x1, dy = y2 - y1;
    const bool alongY = std::fabs(dx) < 0.001 && std::fabs(dy) > std::fabs(dx);
    const double u = alongY ? ((y4 - y3) * t - (y1 - y3)) / dy : ((x4 - x3) * t - (x1 - x3)) / dx;
    x = x3 + (x4 - x3) * t;
    y = y3 + (y4 - y3) * t;
    return t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0 ? 1 : 0;
}
