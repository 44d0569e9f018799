#include "platform/host/ModuleVersion.h"

#include "Version.h"
#include "platform/base/Trace.h"

#include "platform/base/win32/Windows.h"

#include <cstring>
#include <vector>

namespace rigel {
namespace {

std::string ResourceVersion() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ResourceVersion), &module))
        return {};
    char path[MAX_PATH] = {};
    if (GetModuleFileNameA(module, path, MAX_PATH) == 0)
        return {};
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data()))
        return {};
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductVersion",
                        reinterpret_cast<void**>(&value), &length) ||
        length == 0)
        return {};
    return std::string(value, strnlen(value, length));
}

} // namespace

std::string ModuleVersion() {
    std::string version = ResourceVersion();
    if (version.empty()) {
        Trace("[ModuleVersion] no version resource in this module; %s as built\n", RIGEL_VERSION);
        version = RIGEL_VERSION;
    }
    return version;
}

} // namespace rigel
