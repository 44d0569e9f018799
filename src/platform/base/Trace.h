#pragma once
// The debug trace: one printf-style line formatted into a buffer of 1024 bytes and handed to a
// sink. The switch is on by default; without a sink installed by the host the lines go nowhere,
// unless RIGEL_TRACE=1 sends them to standard error. On Windows a debugger that listens gets every
// line through OutputDebugStringA as well (DebugOutput.h).

#include "platform/base/TextFormat.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace rigel {

inline constexpr std::size_t kTraceBufferSize = 1024;
inline constexpr std::string_view kTraceTruncated = " [Truncated]";

using TraceSink = std::function<void(std::string_view line)>;

// Installs the host's sink (an empty function removes it); returns the previous one.
TraceSink SetTraceSink(TraceSink sink);

// The library switch for debug output; on by default.
void SetTraceEnabled(bool on);
bool TraceEnabled();
// True when a traced line would go somewhere: the switch is on and a sink is installed or
// RIGEL_TRACE=1. Lines nobody receives are not even formatted.
bool TraceWanted();

// Cuts text that does not fit the 1024-byte buffer (with its terminating NUL) so that
// " [Truncated]" ends it: the result is at most 1023 bytes.
std::string FitTraceBuffer(std::string text);

// Hands one already formatted line to the sink (OutputDebugStringA).
void TraceText(std::string_view text);

// Formats and traces one line when the switch is on. A format that does not fit its arguments
// is traced as such rather than thrown: tracing never breaks the operation that traces.
template <typename... Args> void Trace(std::string_view format, const Args&... args) {
    if (!TraceWanted())
        return;
    std::string text;
    try {
        text = Format(format, args...);
    } catch (const std::exception& e) {
        text = std::string("[trace] bad format \"") + std::string(format) + "\": " + e.what();
    }
    TraceText(FitTraceBuffer(std::move(text)));
}

} // namespace rigel

// The base component's trace, used the same way as the library's own.
template <typename... Args> void WINVDS01_TRACE1(std::string_view format, const Args&... args) {
    rigel::Trace(format, args...);
}
