#pragma once
// The application profile in the system registry, where MFC keeps it once an application has
// called SetRegistryKey: HKEY_CURRENT_USER\Software\<key>\<application>\<section>, one value per
// entry. Values are written as strings; a number value (REG_DWORD) reads as its decimal text.
// platform/host/win32/ has the registry; elsewhere there is none: reads find nothing and writes
// fail with the reason.

#include <optional>
#include <string>

namespace rigel {

bool RegistryAvailable();

std::optional<std::string> ReadRegistryProfile(const std::string& key, const std::string& app,
                                               const char* section, const char* entry);
// A null value removes the entry, a null entry the whole section. False with the reason when the
// registry refuses.
bool WriteRegistryProfile(const std::string& key, const std::string& app, const char* section,
                          const char* entry, const char* value, std::string* reason);

} // namespace rigel
