#include "platform/host/SystemMessageBox.h"

namespace rigel {

std::optional<int> SystemMessageBox(const std::string&, const std::string&, UINT) {
    return std::nullopt;
}

} // namespace rigel
