# Cross build for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64), using
# its POSIX thread model so that std::thread and std::mutex exist. Programs built here run on this
# machine through Wine (package wine64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RIGEL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RIGEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RIGEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RIGEL_MINGW_PREFIX}-windres)

# Look for libraries and headers only in the MinGW tree and in the prefix named by
# $RIGEL_WINDOWS_DEPS (the dependencies that scripts/windows.sh builds), never in the Linux system's.
set(CMAKE_FIND_ROOT_PATH /usr/${RIGEL_MINGW_PREFIX})
if(DEFINED ENV{RIGEL_WINDOWS_DEPS})
    list(APPEND CMAKE_FIND_ROOT_PATH $ENV{RIGEL_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthreads go into each program and into rigel.dll, so that a host
# loads one file and nothing from the compiler's folder.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
