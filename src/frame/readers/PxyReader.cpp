#include "frame/readers/PxyReader.h"

#include "frame/readers/ColumnRecord.h"
#include "frame/readers/Columns.h"

namespace rigel {
namespace {

using namespace columns;
constexpr CoordinateColumns kCoordinates{pxy::kX, pxy::kY, pxy::kZ,
                                         "line",  true,    "lines skipped: x or y empty"};

} // namespace

ReadCounts ReadPxyPoints(LineSource& lines, CvSporopPointList& centre) {
    ReadCounts counts;
    std::string line;
    while (lines.Next(line)) {
        ++counts.lines;
        if (lines.LineNumber() < pxy::kFirstRecordLine)
            continue;
        ++counts.records;
        const std::optional<Coordinates> p = ReadCoordinates(line, kCoordinates, lines);
        if (!p) {
            ++counts.skipped;
            continue;
        }
        centre.Append(std::make_unique<CvSporopPoint>(p->x, p->y, p->z,
                                                      std::string(pxy::kCode.In(line)),
                                                      std::string(pxy::kDescription.In(line))));
        ++counts.placed;
    }
    return counts;
}

} // namespace rigel
