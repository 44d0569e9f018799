#pragma once
// A GPS coordinate file: each line read with the format "%d %lf %lf %lf" (number, x, y, z); a line
// that yields all four becomes a point with these coordinates only, appended to centre. Other
// lines, and lines with a coordinate that is not finite, are skipped (blank lines without a
// note).

#include "frame/readers/PointTargets.h"
#include "platform/host/LineSource.h"

namespace rigel {

ReadCounts ReadGpsPoints(LineSource& lines, CvSporopPointList& centre);

} // namespace rigel
