#pragma once
// One NADB segment: a line of text kept byte for byte, so that a segment read from a project file
// is written back as the same text. The text of a segment made here is
//   "<element number> <start station> <end station> <name>"
// (numbers with "%d" and "%.17g", the name is the rest of the line and may be empty); Fields()
// reads that layout back, and texts of any other layout are kept unparsed.

#include "platform/base/Streng.h"

#include <string>
#include <string_view>

namespace rigel::klasse {
inline constexpr int SegmentType = 104;
} // namespace rigel::klasse

class SegmentType : public Streng {
public:
    SegmentType() = default;
    explicit SegmentType(std::string_view text) : Streng(text) {}

    const char* KlasseNavn() const override { return "SegmentType"; }
    int KlasseType() const override { return rigel::klasse::SegmentType; }

    // The text as it was given (no line end).
    const std::string& Text() const { return str(); }

    // Builds the text of a segment from its fields (a line end in name is cut off there).
    static SegmentType Make(int number, double startSTA, double endSTA, std::string_view name);

    // Reads the fields of a text in the layout above. 1 when the text has that layout (the
    // outputs that are not null are then set), 0 otherwise (outputs untouched).
    int Fields(int* number, double* startSTA, double* endSTA, std::string* name) const;
};
