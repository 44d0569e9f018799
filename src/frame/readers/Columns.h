#pragma once
// Fixed-column access shared by the point-file readers and the feature-code scan.
//
// Mid(line, p, n) is the host's CString::Mid(p, n) followed by Trim(): the n characters from
// position p (from 0; clamped to the line), without the blanks (space, tab, CR, LF, VT, FF) at
// either end. Numbers in columns are read as atof/atoi read them (rigel::Atof/Atoi).

#include <string_view>

namespace rigel::columns {

std::string_view Mid(std::string_view line, std::size_t position, std::size_t count);

// A KOF point record begins with exactly " 05" (blank, zero, five).
bool IsKofPointRecord(std::string_view line);
// The code field of a KOF point record: Mid(15, 8) and its atoi value.
std::string_view KofCodeText(std::string_view line);
int KofCode(std::string_view line);

// The head of a MIC record: kind Mid(0, 8), count Mid(8, 8), code Mid(16, 8), each by atoi.
struct MicHead {
    int kind = 0;
    int count = 0;
    int code = 0;
    // Point records: a positive count and the kind 1 or at least 11.
    bool IsPoint() const { return count > 0 && (kind == 1 || kind >= 11); }
};
MicHead ReadMicHead(std::string_view line);

} // namespace rigel::columns
