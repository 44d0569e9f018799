#pragma once
// The centre points of `rigel load` as CSV: one header line, then one row per point (index, the
// coordinates, the derived values, cant, code, description), numbers in their shortest form that
// reads back to the same double.

#include "points/CvSporopPointList.h"

#include <string>

namespace rigel::cli {

// Writes the rows to standard output when path is empty, else atomically to the file at path.
// false (with the reason in *reason) when the output cannot be written.
bool WriteCentreCsv(const CvSporopPointList& points, const std::string& path,
                    std::string* reason = nullptr);

} // namespace rigel::cli
