#include "frame/readers/KofReader.h"

#include "frame/readers/Columns.h"
#include "frame/readers/NumberField.h"
#include "platform/base/Diagnostics.h"

namespace rigel {
namespace {

// Lines that were probably meant as point records but do not begin with " 05" ("05 ...",
// "  05 ...", "-05 ..."): worth a note, since the reader passes over them silently otherwise.
bool LooksLikeMisplacedRecord(std::string_view line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos)
        return false;
    if (line[i] == '-')
        ++i;
    return line.substr(i, 3) == "05 " || line.substr(i) == "05";
}

} // namespace

ReadCounts ReadKofPoints(LineSource& lines, const LineCodes& codes, const LinePoints& points) {
    const CodeRoutes routes(codes);
    ReadCounts counts;
    std::string line;
    while (lines.Next(line)) {
        ++counts.lines;
        if (!columns::IsKofPointRecord(line)) {
            if (LooksLikeMisplacedRecord(line))
                DiagnoseAs("lines like point records not beginning with \" 05\"", lines.Name(),
                           lines.LineNumber(),
                           "not a point record: a point record begins with \" 05\"");
            continue;
        }
        ++counts.records;
        NoteTabs(line, 57, lines);
        const std::string_view xText = columns::Mid(line, 24, 12);
        const std::string_view yText = columns::Mid(line, 37, 12);
        if (xText.empty() || yText.empty()) {
            ++counts.skipped;
            DiagnoseAs("point records skipped: x or y empty", lines.Name(), lines.LineNumber(),
                       "point record skipped: %s is empty",
                       xText.empty() ? "x (columns 24-35)" : "y (columns 37-48)");
            continue;
        }
        const std::string_view codeText = columns::KofCodeText(line);
        const std::string_view description = columns::Mid(line, 4, 10);
        const int code = columns::KofCode(line);
        const double x = ReadNumberField(xText, lines, "x");
        const double y = ReadNumberField(yText, lines, "y");
        const double z = ReadNumberField(columns::Mid(line, 49, 8), lines, "z");
        if (!FiniteCoordinates(x, y, z, lines)) {
            ++counts.skipped;
            continue;
        }

        const RecordPoint point{x, y, z, codeText, description};
        const int placed = PlaceByCode(point, code, routes, points, true);
        counts.placed += placed;
        if (placed == 0) {
            ++counts.skipped;
            DiagnoseAs("point records skipped: code assigned to no line", lines.Name(),
                       lines.LineNumber(), "point record skipped: code %d is assigned to no line",
                       code);
        }
    }
    return counts;
}

} // namespace rigel
