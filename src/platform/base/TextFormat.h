#pragma once
// The one way numbers become file text: printf formats rendered by {fmt}, which gives the same
// bytes as C printf in the "C" locale whatever locale the host process has switched to.

#include <fmt/printf.h>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace rigel {

// printf-compatible formatting ("%d", "%.4f", "%15.6f", "%s", "%-10s", "%e", "%g", ...).
// A format that does not fit its arguments throws fmt::format_error.
template <typename... Args> std::string Format(std::string_view format, const Args&... args) {
    return fmt::sprintf(format, args...);
}

// Appends the formatted text to out.
template <typename... Args>
void FormatAppend(std::string& out, std::string_view format, const Args&... args) {
    out += fmt::sprintf(format, args...);
}

// Appends value as "%d" would write it.
inline void AppendInteger(std::string& out, long long value) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Appends value as "%.<decimals>f" would write it: std::to_chars gives the same digits (both are
// exact), much faster than formatting.
inline void AppendFixed(std::string& out, double value, int decimals) {
    if (!std::isfinite(value)) {
        out += Format("%.*f", decimals, value);
        return;
    }
    char digits[400];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value,
                                     std::chars_format::fixed, decimals)
                           .ptr);
}

// The text with every line break made a blank, for the line-based layouts.
inline std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\n' || c == '\r')
            c = ' ';
    return out;
}

} // namespace rigel
