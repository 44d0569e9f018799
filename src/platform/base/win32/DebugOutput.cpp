#include "platform/base/DebugOutput.h"

#include <string>

#include "platform/base/win32/Windows.h"

namespace rigel {

bool DebuggerListens() {
    return IsDebuggerPresent() != FALSE;
}

void SendToDebugger(std::string_view line) {
    OutputDebugStringA(std::string(line).c_str());
}

} // namespace rigel
