#include "platform/base/FixedColumns.h"

namespace rigel {
namespace {

// The blank set of CString::Trim.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::string_view Mid(std::string_view line, std::size_t start, std::size_t width) {
    if (start >= line.size())
        return {};
    std::string_view piece = line.substr(start, width);
    while (!piece.empty() && IsBlank(piece.front()))
        piece.remove_prefix(1);
    while (!piece.empty() && IsBlank(piece.back()))
        piece.remove_suffix(1);
    return piece;
}

} // namespace rigel
