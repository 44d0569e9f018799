#pragma once
// The system's own message box, where there is one: MessageBoxA on Windows. Nothing where the
// system has none (POSIX) or the process may not show one (no desktop, as in a service or a
// session without a display); the default HostUi then answers the box's default button.

#include "platform/host/WinTypes.h"

#include <optional>
#include <string>

namespace rigel {

std::optional<int> SystemMessageBox(const std::string& text, const std::string& caption, UINT type);

} // namespace rigel
