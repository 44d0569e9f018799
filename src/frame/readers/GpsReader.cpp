#include "frame/readers/GpsReader.h"

#include "frame/readers/ColumnRecord.h"
#include "platform/base/Diagnostics.h"
#include "platform/base/TextScan.h"

namespace rigel {

ReadCounts ReadGpsPoints(LineSource& lines, CvSporopPointList& centre) {
    ReadCounts counts;
    std::string line;
    while (lines.Next(line)) {
        ++counts.lines;
        int number = 0;
        double x = 0.0, y = 0.0, z = 0.0;
        const int fields = Scan(line, "%d %lf %lf %lf", &number, &x, &y, &z);
        if (fields < 0)
            continue; // nothing but blanks
        ++counts.records;
        if (fields != 4) {
            ++counts.skipped;
            static const char* const kWhat[] = {"the point number", "x", "y", "z"};
            DiagnoseAs("lines skipped: fewer than 4 fields", lines.Name(), lines.LineNumber(),
                       "line skipped: \"%%d %%lf %%lf %%lf\" read %d of 4 fields (no %s)", fields,
                       kWhat[fields]);
            continue;
        }
        if (!FiniteCoordinates({x, y, z}, lines)) {
            ++counts.skipped;
            continue;
        }
        centre.Append(std::make_unique<CvSporopPoint>(x, y, z, std::string(), std::string()));
        ++counts.placed;
    }
    return counts;
}

} // namespace rigel
