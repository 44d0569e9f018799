#pragma once
// What the readers of point records share: the coordinates of a fixed-column record read at their
// columns, and the checks and notes that go with every point read.

#include "platform/base/FixedColumns.h"
#include "platform/host/LineSource.h"

#include <optional>
#include <string_view>

namespace rigel {

struct Coordinates {
    double x, y, z;
};

struct CoordinateColumns {
    Column x, y, z;
    // What a record is called in notes ("point record", "line"); with emptySkips, a record whose x
    // or y column is empty is skipped (otherwise it reads as 0, as atof reads an empty text).
    const char* record;
    bool emptySkips;
    const char* emptyTally; // the summary's name for those skips
};

// x, y and z as atof reads their columns, with a note for a field that is not entirely a number
// and for a tab inside the columns (it counts as one character). Nothing, with a note, for a
// record skipped for an empty x or y (see emptySkips) or a coordinate that is not finite.
std::optional<Coordinates> ReadCoordinates(std::string_view line, const CoordinateColumns& columns,
                                           const LineSource& lines);

// False, with a note, when x, y or z is not finite ("nan", "inf", or a number beyond the range
// of a double): such a point cannot lie on a track, and a single one would upset the ordering of
// every point measured with it, so the readers skip it.
bool FiniteCoordinates(const Coordinates& p, const LineSource& lines);

} // namespace rigel
