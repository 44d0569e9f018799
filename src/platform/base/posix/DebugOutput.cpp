#include "platform/base/DebugOutput.h"

namespace rigel {

bool DebuggerListens() {
    return false;
}

void SendToDebugger(std::string_view) {}

} // namespace rigel
