#include "frame/readers/PxyReader.h"

#include "frame/readers/Columns.h"
#include "frame/readers/NumberField.h"
#include "platform/base/Diagnostics.h"

namespace rigel {

ReadCounts ReadPxyPoints(LineSource& lines, CvSporopPointList& centre) {
    ReadCounts counts;
    std::string line;
    while (lines.Next(line)) {
        ++counts.lines;
        if (lines.LineNumber() <= 2)
            continue;
        ++counts.records;
        NoteTabs(line, 50, lines);
        const std::string_view xText = columns::Mid(line, 14, 12);
        const std::string_view yText = columns::Mid(line, 26, 12);
        if (xText.empty() || yText.empty()) {
            ++counts.skipped;
            DiagnoseAs("lines skipped: x or y empty", lines.Name(), lines.LineNumber(),
                       "line skipped: %s is empty",
                       xText.empty() ? "x (columns 14-25)" : "y (columns 26-37)");
            continue;
        }
        const double x = ReadNumberField(xText, lines, "x");
        const double y = ReadNumberField(yText, lines, "y");
        const double z = ReadNumberField(columns::Mid(line, 38, 12), lines, "z");
        if (!FiniteCoordinates(x, y, z, lines)) {
            ++counts.skipped;
            continue;
        }
        centre.Append(std::make_unique<CvSporopPoint>(x, y, z,
                                                      std::string(columns::Mid(line, 51, 8)),
                                                      std::string(columns::Mid(line, 0, 13))));
        ++counts.placed;
    }
    return counts;
}

} // namespace rigel
