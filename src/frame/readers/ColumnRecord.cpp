#include "frame/readers/ColumnRecord.h"

#include "platform/base/Diagnostics.h"
#include "platform/base/TextScan.h"

#include <algorithm>
#include <cmath>

namespace rigel {
namespace {

double ReadNumber(std::string_view text, const LineSource& lines, const char* field) {
    double value = 0.0;
    const std::size_t used = ParseDouble(text, value);
    if (used != text.size())
        DiagnoseAs(used < text.size() && text[used] == ',' ? "numbers cut at a decimal comma"
                                                           : "numbers not plain",
                   lines.Name(), lines.LineNumber(),
                   "%s \"%s\" is not a plain number; read as %.17g", field, std::string(text),
                   value);
    return value;
}

} // namespace

std::optional<Coordinates> ReadCoordinates(std::string_view line, const CoordinateColumns& columns,
                                           const LineSource& lines) {
    const std::size_t width = std::max({columns.x.End(), columns.y.End(), columns.z.End()});
    if (DiagnosticsWanted() && line.substr(0, width).find('\t') != std::string_view::npos)
        DiagnoseAs("point records with tabs inside the columns", lines.Name(), lines.LineNumber(),
                   "a tab inside the columns counts as one character");
    const std::string_view xText = columns.x.In(line);
    const std::string_view yText = columns.y.In(line);
    if (columns.emptySkips && (xText.empty() || yText.empty())) {
        const Column& empty = xText.empty() ? columns.x : columns.y;
        DiagnoseAs(columns.emptyTally, lines.Name(), lines.LineNumber(),
                   "%s skipped: %s (columns %zu-%zu) is empty", columns.record, empty.name,
                   empty.start, empty.End() - 1);
        return std::nullopt;
    }
    const Coordinates p{ReadNumber(xText, lines, columns.x.name),
                        ReadNumber(yText, lines, columns.y.name),
                        ReadNumber(columns.z.In(line), lines, columns.z.name)};
    if (!FiniteCoordinates(p, lines))
        return std::nullopt;
    return p;
}

bool FiniteCoordinates(const Coordinates& p, const LineSource& lines) {
    const char* bad = !std::isfinite(p.x)   ? "x"
                      : !std::isfinite(p.y) ? "y"
                      : !std::isfinite(p.z) ? "z"
                                            : nullptr;
    if (bad == nullptr)
        return true;
    DiagnoseAs("points skipped: a coordinate not finite", lines.Name(), lines.LineNumber(),
               "point skipped: %s is not a finite number", bad);
    return false;
}

} // namespace rigel
