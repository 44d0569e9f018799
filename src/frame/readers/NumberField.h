#pragma once
// A number column read as atof reads it, with a note to the diagnostics sink when the text is not
// entirely a number (atof then takes its leading number, or 0).

#include "frame/readers/LineSource.h"

#include <string_view>

namespace rigel {

double ReadNumberField(std::string_view text, const LineSource& lines, const char* field);

} // namespace rigel
