#include "platform/host/RegistryProfile.h"

#include "platform/base/TextFormat.h"

#include "platform/base/win32/Windows.h"

#include <cstring>
#include <vector>

namespace rigel {
namespace {

std::string KeyPath(const std::string& key, const std::string& app, const char* section) {
    std::string path = "Software\\" + key + "\\" + app;
    if (section)
        path += std::string("\\") + section;
    return path;
}

std::string SystemMessage(LSTATUS status) {
    char text[512] = {};
    const DWORD n =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(status), 0, text, sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message.empty() ? Format("error %ld", static_cast<long>(status)) : message;
}

bool Fail(std::string* reason, const std::string& path, LSTATUS status) {
    if (reason)
        *reason = "cannot write HKEY_CURRENT_USER\\" + path + ": " + SystemMessage(status);
    return false;
}

} // namespace

bool RegistryAvailable() {
    return true;
}

std::optional<std::string> ReadRegistryProfile(const std::string& key, const std::string& app,
                                               const char* section, const char* entry) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(key, app, section).c_str(), 0, KEY_READ,
                      &handle) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::string> value;
    if (RegQueryValueExA(handle, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 1);
        if (RegQueryValueExA(handle, entry, nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
            if (type == REG_SZ || type == REG_EXPAND_SZ) {
                std::string text(reinterpret_cast<const char*>(data.data()), size);
                while (!text.empty() && text.back() == '\0')
                    text.pop_back();
                value = std::move(text);
            } else if (type == REG_DWORD && size == sizeof(DWORD)) {
                DWORD number = 0;
                std::memcpy(&number, data.data(), sizeof number);
                value = Format("%d", static_cast<int>(number));
            }
        }
    }
    RegCloseKey(handle);
    return value;
}

bool WriteRegistryProfile(const std::string& key, const std::string& app, const char* section,
                          const char* entry, const char* value, std::string* reason) {
    if (entry == nullptr) {
        const std::string path = KeyPath(key, app, section);
        const LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ||
               Fail(reason, path, status);
    }
    const std::string path = KeyPath(key, app, section);
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                     nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS)
        return Fail(reason, path, status);
    if (value == nullptr) {
        status = RegDeleteValueA(handle, entry);
        if (status == ERROR_FILE_NOT_FOUND)
            status = ERROR_SUCCESS;
    } else {
        status = RegSetValueExA(handle, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                static_cast<DWORD>(std::strlen(value) + 1));
    }
    RegCloseKey(handle);
    return status == ERROR_SUCCESS || Fail(reason, path, status);
}

} // namespace rigel
