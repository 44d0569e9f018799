#include "frame/readers/NumberField.h"

#include "platform/base/Diagnostics.h"
#include "platform/base/TextScan.h"

#include <cmath>

namespace rigel {

double ReadNumberField(std::string_view text, const LineSource& lines, const char* field) {
    double value = 0.0;
    const std::size_t used = ParseDouble(text, value);
    if (used != text.size())
        Diagnose(lines.Name(), lines.LineNumber(), "%s \"%s\" is not a plain number; read as %.17g",
                 field, std::string(text), value);
    return value;
}

bool FiniteCoordinates(double x, double y, double z, const LineSource& lines) {
    const char* bad = !std::isfinite(x)   ? "x"
                      : !std::isfinite(y) ? "y"
                      : !std::isfinite(z) ? "z"
                                          : nullptr;
    if (bad == nullptr)
        return true;
    Diagnose(lines.Name(), lines.LineNumber(), "point skipped: %s is not a finite number", bad);
    return false;
}

} // namespace rigel
