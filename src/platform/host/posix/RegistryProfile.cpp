#include "platform/host/RegistryProfile.h"

namespace rigel {

bool RegistryAvailable() {
    return false;
}

std::optional<std::string> ReadRegistryProfile(const std::string&, const std::string&, const char*,
                                               const char*) {
    return std::nullopt;
}

bool WriteRegistryProfile(const std::string&, const std::string&, const char*, const char*,
                          const char*, std::string* reason) {
    if (reason)
        *reason = "this system has no registry; give the profile a file";
    return false;
}

} // namespace rigel
