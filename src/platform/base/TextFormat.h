#pragma once
// The one way numbers become file text: printf formats rendered by {fmt}, which gives the same
// bytes as C printf in the "C" locale whatever locale the host process has switched to.

#include <fmt/printf.h>

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

} // namespace rigel
