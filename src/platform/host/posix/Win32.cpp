#include "platform/host/Win32.h"

#include "platform/base/Trace.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace {

void FillSystemTime(SYSTEMTIME* out, bool local) {
    if (out == nullptr)
        return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm parts{};
    if (local)
        localtime_r(&now.tv_sec, &parts);
    else
        gmtime_r(&now.tv_sec, &parts);
    out->wYear = static_cast<WORD>(parts.tm_year + 1900);
    out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    out->wDay = static_cast<WORD>(parts.tm_mday);
    out->wHour = static_cast<WORD>(parts.tm_hour);
    out->wMinute = static_cast<WORD>(parts.tm_min);
    out->wSecond = static_cast<WORD>(parts.tm_sec);
    out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

std::string LoginName() {
    long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> scratch(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, scratch.data(), scratch.size(), &found) == ERANGE &&
           scratch.size() < (std::size_t{1} << 20))
        scratch.resize(scratch.size() * 2);
    if (found != nullptr && found->pw_name != nullptr && found->pw_name[0] != '\0')
        return found->pw_name;
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
}

} // namespace

void OutputDebugStringA(const char* text) {
    if (text != nullptr)
        rigel::TraceText(text);
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr)
        return FALSE;
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    count->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr)
        return FALSE;
    frequency->QuadPart = 1000000000;
    return TRUE;
}

void GetLocalTime(SYSTEMTIME* time) {
    FillSystemTime(time, true);
}

void GetSystemTime(SYSTEMTIME* time) {
    FillSystemTime(time, false);
}

BOOL GetUserNameA(char* buffer, DWORD* size) {
    if (size == nullptr)
        return FALSE;
    const std::string name = LoginName();
    if (name.empty())
        return FALSE;
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed;
    return TRUE;
}
