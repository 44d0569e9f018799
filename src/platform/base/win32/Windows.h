#pragma once
// windows.h as the Windows backends use it: without its rarely used parts, without the min and max
// macros, and without the old API's INI-file macros that would rename CWinApp's profile members.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString
