#pragma once
// The few Windows API calls the library makes: debug output, the performance counter, the clock
// and the user name. On Windows they are the system's own; elsewhere platform/host/posix/Win32.cpp
// gives them with the same names, argument types and results.

#ifdef _WIN32
#include "platform/base/win32/Windows.h"
#else

#include "platform/host/WinTypes.h"

// The 64-bit counter value of the performance counter calls.
typedef struct _LARGE_INTEGER {
    LONGLONG QuadPart = 0;
} LARGE_INTEGER;

typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;     // 1 to 12
    WORD wDayOfWeek; // 0 Sunday to 6 Saturday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME;

// Hands the text to the debug trace's sink (rigel::TraceText), whether or not the trace switch
// is on, as the debugger sees every OutputDebugStringA. Null is ignored.
void OutputDebugStringA(const char* text);

// The steady clock in nanoseconds; the frequency is therefore 1e9. FALSE only for a null pointer.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

// The wall clock in the local time zone / in UTC, to the millisecond.
void GetLocalTime(SYSTEMTIME* time);
void GetSystemTime(SYSTEMTIME* time);

// The login name: from the password database for the real user id, else $USER. size holds the
// buffer's size in bytes; on success the name and its NUL are copied and size becomes the bytes
// copied including the NUL. When the buffer is too small (or null) the result is 0, nothing is
// copied and size becomes the size needed including the NUL. 0 with size unchanged when no name
// can be found or size is null.
BOOL GetUserNameA(char* buffer, DWORD* size);

#endif
