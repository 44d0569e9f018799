#pragma once
// The plain Windows integer types that host-facing code is written against, with the sizes they
// have on Windows (DWORD and LONG are 32 bits there, whatever `long` is here).

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using UINT = unsigned int;
#ifdef _WIN32
// The same types as windows.h declares them, so that both may be seen together.
using DWORD = unsigned long;
using LONG = long;
#else
using DWORD = std::uint32_t;
using LONG = std::int32_t;
#endif
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;

// Macros, as on Windows, so that code testing `== TRUE` or passing FALSE reads the same; guarded
// because a few system headers define them too.
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
