#pragma once
// A number column read as atof reads it, with a note to the diagnostics sink when the text is not
// entirely a number (atof then takes its leading number, or 0).

#include "platform/host/LineSource.h"

#include <string_view>

namespace rigel {

double ReadNumberField(std::string_view text, const LineSource& lines, const char* field);

// False, with a note, when x, y or z is not finite ("nan", "inf", or a number beyond the range
// of a double): such a point cannot lie on a track, and a single one would upset the ordering of
// every point measured with it, so the readers skip it.
bool FiniteCoordinates(double x, double y, double z, const LineSource& lines);

// A note when a tab lies in the first `columns` characters of a fixed-column record: the columns
// count it as one character, which is seldom what the writer meant.
void NoteTabs(std::string_view line, std::size_t columns, const LineSource& lines);

} // namespace rigel
