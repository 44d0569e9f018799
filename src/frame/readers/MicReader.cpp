#include "frame/readers/MicReader.h"

#include "frame/readers/Columns.h"
#include "frame/readers/NumberField.h"
#include "platform/base/Diagnostics.h"

namespace rigel {

ReadCounts ReadMicPoints(LineSource& lines, const LineCodes& codes, const LinePoints& points) {
    const CodeRoutes routes(codes);
    ReadCounts counts;
    std::string line;
    while (lines.Next(line)) {
        ++counts.lines;
        const columns::MicHead head = columns::ReadMicHead(line);
        if (!head.IsPoint())
            continue;
        ++counts.records;
        NoteTabs(line, 74, lines);
        const double x = ReadNumberField(columns::Mid(line, 32, 14), lines, "x");
        const double y = ReadNumberField(columns::Mid(line, 46, 14), lines, "y");
        const double z = ReadNumberField(columns::Mid(line, 60, 14), lines, "z");
        if (!FiniteCoordinates(x, y, z, lines)) {
            ++counts.skipped;
            continue;
        }

        const RecordPoint point{x, y, z, {}, {}};
        const int placed = PlaceByCode(point, head.code, routes, points, false);
        counts.placed += placed;
        if (placed == 0) {
            ++counts.skipped;
            DiagnoseAs("point records skipped: code assigned to no line", lines.Name(),
                       lines.LineNumber(), "point record skipped: code %d is assigned to no line",
                       head.code);
        }
    }
    return counts;
}

} // namespace rigel
