#pragma once
// A PXY coordinate file: lines 1 and 2 are a header and skipped; from line 3 on each line is a
// point with description Mid(0, 13), x Mid(14, 12), y Mid(26, 12), z Mid(38, 12) (atof) and code
// Mid(51, 8) (Mid with blanks trimmed). A line whose x or y text is empty is skipped, and so is
// one whose x, y or z is not finite. Every point goes to centre.

#include "frame/readers/PointTargets.h"
#include "platform/host/LineSource.h"

namespace rigel {

ReadCounts ReadPxyPoints(LineSource& lines, CvSporopPointList& centre);

} // namespace rigel
