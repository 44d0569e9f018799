#pragma once
// The point records of a KOF file. A record is a line that begins with exactly " 05"; its fields
// are columns (Mid with blanks trimmed): description Mid(4, 10), code Mid(15, 8) (text, and its
// atoi value), x Mid(24, 12), y Mid(37, 12), z Mid(49, 8), numbers by atof. A record whose x or y
// text is empty is skipped, and so is one whose x, y or z is not finite. The point (x, y, z, code
// text, description) is appended to the left rail when its code is a left code, to the right
// rail when it is a right code, and to the centre when it is a centre code or 0; each test on its
// own, so one record can land on several lines. Other lines are ignored. Skips and unplaced
// records go to the diagnostics sink.

#include "frame/readers/PointTargets.h"
#include "platform/host/LineSource.h"

namespace rigel {

ReadCounts ReadKofPoints(LineSource& lines, const LineCodes& codes, const LinePoints& points);

} // namespace rigel
