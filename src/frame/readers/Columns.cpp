#include "frame/readers/Columns.h"

#include "platform/base/TextScan.h"

namespace rigel::columns {
namespace {

// The blank set of CString::Trim.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::string_view Mid(std::string_view line, std::size_t position, std::size_t count) {
    if (position >= line.size())
        return {};
    std::string_view piece = line.substr(position, count);
    while (!piece.empty() && IsBlank(piece.front()))
        piece.remove_prefix(1);
    while (!piece.empty() && IsBlank(piece.back()))
        piece.remove_suffix(1);
    return piece;
}

bool IsKofPointRecord(std::string_view line) {
    return line.substr(0, 3) == " 05";
}

std::string_view KofCodeText(std::string_view line) {
    return Mid(line, 15, 8);
}

int KofCode(std::string_view line) {
    return Atoi(KofCodeText(line));
}

MicHead ReadMicHead(std::string_view line) {
    MicHead head;
    head.kind = Atoi(Mid(line, 0, 8));
    head.count = Atoi(Mid(line, 8, 8));
    head.code = Atoi(Mid(line, 16, 8));
    return head;
}

} // namespace rigel::columns
