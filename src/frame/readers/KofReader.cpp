#include "frame/readers/KofReader.h"

#include "frame/readers/ColumnRecord.h"
#include "frame/readers/Columns.h"
#include "platform/base/Diagnostics.h"

namespace rigel {
namespace {

constexpr CoordinateColumns kCoordinates{
    kof::kX, kof::kY, kof::kZ, "point record", true, "point records skipped: x or y empty"};

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
        if (!kof::IsPointRecord(line)) {
            if (LooksLikeMisplacedRecord(line))
                DiagnoseAs("lines like point records not beginning with \" 05\"", lines.Name(),
                           lines.LineNumber(),
                           "not a point record: a point record begins with \" 05\"");
            continue;
        }
        ++counts.records;
        const std::optional<Coordinates> p = ReadCoordinates(line, kCoordinates, lines);
        if (!p) {
            ++counts.skipped;
            continue;
        }
        const int code = columns::KofCode(line);
        const RecordPoint point{p->x, p->y, p->z, kof::kCode.In(line), kof::kDescription.In(line)};
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
