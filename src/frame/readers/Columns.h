#pragma once
// The column layouts of the fixed-column point files (KOF in platform/base/FixedColumns.h) and
// the heads that tell their point records. Numbers in columns are read as atoi reads them.

#include "platform/base/FixedColumns.h"

namespace rigel::columns {

// The code of a KOF point record by atoi (0 for a blank or unreadable code).
int KofCode(std::string_view line);

// PXY: every line from the third is a point record.
namespace pxy {
inline constexpr long kFirstRecordLine = 3;
inline constexpr Column kDescription{0, 13, "description"};
inline constexpr Column kX{14, 12, "x"};
inline constexpr Column kY{26, 12, "y"};
inline constexpr Column kZ{38, 12, "z"};
inline constexpr Column kCode{51, 8, "code"};
} // namespace pxy

// MIC: a head of kind, count and code; point records carry x, y and z after it.
namespace mic {
inline constexpr Column kKind{0, 8, "kind"};
inline constexpr Column kCount{8, 8, "count"};
inline constexpr Column kCode{16, 8, "code"};
inline constexpr Column kX{32, 14, "x"};
inline constexpr Column kY{46, 14, "y"};
inline constexpr Column kZ{60, 14, "z"};
} // namespace mic

struct MicHead {
    int kind = 0;
    int count = 0;
    int code = 0;
    // Point records: a positive count and the kind 1 or at least 11.
    bool IsPoint() const { return count > 0 && (kind == 1 || kind >= 11); }
};
MicHead ReadMicHead(std::string_view line);

} // namespace rigel::columns
