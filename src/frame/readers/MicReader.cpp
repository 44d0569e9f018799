#include "frame/readers/MicReader.h"

#include "frame/readers/ColumnRecord.h"
#include "frame/readers/Columns.h"
#include "platform/base/Diagnostics.h"

namespace rigel {
namespace {

using namespace columns;
constexpr CoordinateColumns kCoordinates{mic::kX, mic::kY, mic::kZ, "point record", false, ""};

} // namespace

ReadCounts ReadMicPoints(LineSource& lines, const LineCodes& codes, const LinePoints& points) {
    const CodeRoutes routes(codes);
    ReadCounts counts;
    std::string line;
    while (lines.Next(line)) {
        ++counts.lines;
        const MicHead head = ReadMicHead(line);
        if (!head.IsPoint())
            continue;
        ++counts.records;
        const std::optional<Coordinates> p = ReadCoordinates(line, kCoordinates, lines);
        if (!p) {
            ++counts.skipped;
            continue;
        }
        const RecordPoint point{p->x, p->y, p->z, {}, {}};
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
