#pragma once
// The point records of a MIC file: kind Mid(0, 8), count Mid(8, 8), code Mid(16, 8) (atoi); a
// record with a positive count and the kind 1 or at least 11 is a point with x Mid(32, 14),
// y Mid(46, 14), z Mid(60, 14) (atof). The point (coordinates only) goes to the left rail when
// its code is a left code, to the right rail when it is a right code, to the centre when it is a
// centre code, each test on its own. Other lines are ignored; a record whose x, y or z is not
// finite is skipped.

#include "frame/readers/PointTargets.h"
#include "platform/host/LineSource.h"

namespace rigel {

ReadCounts ReadMicPoints(LineSource& lines, const LineCodes& codes, const LinePoints& points);

} // namespace rigel
