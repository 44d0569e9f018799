#pragma once
// Every exported function runs its body through GuardExport, so that no exception crosses the
// library's boundary: whatever escapes the body is traced and the export's failure value returned.

#include "platform/base/Trace.h"

#include <exception>
#include <type_traits>

namespace rigel {

template <typename R, typename Body>
R GuardExport(const char* name, R failValue, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        try {
            Trace("[%s] failed: %s\n", name, e.what());
        } catch (...) {
        }
    } catch (...) {
        try {
            Trace("[%s] failed: unknown exception\n", name);
        } catch (...) {
        }
    }
    return failValue;
}

template <typename Body> void GuardExport(const char* name, Body&& body) noexcept {
    GuardExport(name, 0, [&] {
        body();
        return 0;
    });
}

} // namespace rigel
