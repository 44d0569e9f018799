#include "platform/host/ModuleVersion.h"

#include "Version.h"

namespace rigel {

std::string ModuleVersion() {
    return RIGEL_VERSION;
}

} // namespace rigel
