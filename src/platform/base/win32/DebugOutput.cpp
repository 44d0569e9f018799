#include "platform/base/DebugOutput.h"

#include <string>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace rigel {

bool DebuggerListens() {
    return IsDebuggerPresent() != FALSE;
}

void SendToDebugger(std::string_view line) {
    OutputDebugStringA(std::string(line).c_str());
}

} // namespace rigel
