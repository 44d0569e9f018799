#include "frame/readers/NumberField.h"

#include "platform/base/Diagnostics.h"
#include "platform/base/TextScan.h"

#include <cmath>

namespace rigel {

double ReadNumberField(std::string_view text, const LineSource& lines, const char* field) {
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

bool FiniteCoordinates(double x, double y, double z, const LineSource& lines) {
    const char* bad = !std::isfinite(x)   ? "x"
                      : !std::isfinite(y) ? "y"
                      : !std::isfinite(z) ? "z"
                                          : nullptr;
    if (bad == nullptr)
        return true;
    DiagnoseAs("points skipped: a coordinate not finite", lines.Name(), lines.LineNumber(),
               "point skipped: %s is not a finite number", bad);
    return false;
}

void NoteTabs(std::string_view line, std::size_t columns, const LineSource& lines) {
    if (DiagnosticsWanted() && line.substr(0, columns).find('\t') != std::string_view::npos)
        DiagnoseAs("point records with tabs inside the columns", lines.Name(), lines.LineNumber(),
                   "a tab inside the columns counts as one character");
}

} // namespace rigel
