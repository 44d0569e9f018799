#include "platform/host/SystemMessageBox.h"

#include "platform/base/win32/Windows.h"

namespace rigel {

std::optional<int> SystemMessageBox(const std::string& text, const std::string& caption,
                                    UINT type) {
    // The texts are Windows-1252, the ANSI code page of the systems the library is used on.
    const int answer = MessageBoxA(nullptr, text.c_str(), caption.c_str(), type | MB_TASKMODAL);
    if (answer <= 0)
        return std::nullopt;
    return answer;
}

} // namespace rigel
