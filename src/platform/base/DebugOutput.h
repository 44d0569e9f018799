#pragma once
// The system's debugger output, which the trace also feeds: OutputDebugStringA on Windows, while a
// debugger listens. POSIX has no such channel: nobody listens and nothing is sent.

#include <string_view>

namespace rigel {

bool DebuggerListens();
void SendToDebugger(std::string_view line);

} // namespace rigel
