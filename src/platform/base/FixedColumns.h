#pragma once
// Fixed-column records: a column of a record line, the text in it, and the layout of the KOF
// point record, which the KOF reader, the code scan and the rail-format writer share.
//
// A column's text is the host's CString::Mid(start, width) followed by Trim(): the characters
// from start (from 0; clamped to the line), without the blanks (space, tab, CR, LF, VT, FF) at
// either end.

#include <cstddef>
#include <string_view>

namespace rigel {

std::string_view Mid(std::string_view line, std::size_t start, std::size_t width);

struct Column {
    std::size_t start;
    std::size_t width;
    const char* name; // how messages name the field

    std::string_view In(std::string_view line) const { return Mid(line, start, width); }
    constexpr std::size_t End() const { return start + width; } // one past the last character
};

namespace kof {

// A point record begins with exactly " 05" (blank, zero, five); its fields lie at these columns,
// each written left-aligned (texts) or right-aligned (numbers) with a blank between them except
// before z: " 05 DDDDDDDDDD CCCCCCCC XXXXXXXXXXXX YYYYYYYYYYYYZZZZZZZZ".
inline constexpr std::string_view kPointRecordStart = " 05";
inline constexpr Column kDescription{4, 10, "description"};
inline constexpr Column kCode{15, 8, "code"};
inline constexpr Column kX{24, 12, "x"};
inline constexpr Column kY{37, 12, "y"};
inline constexpr Column kZ{49, 8, "z"};
inline constexpr std::size_t kRecordWidth = kZ.End();

inline bool IsPointRecord(std::string_view line) {
    return line.substr(0, kPointRecordStart.size()) == kPointRecordStart;
}

} // namespace kof

} // namespace rigel
