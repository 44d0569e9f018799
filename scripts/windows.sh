#!/usr/bin/env bash
# The Windows build: rigel.dll (with its import library), rigel.exe and the test programs for
# x86_64 Windows, cross-built with MinGW-w64 and run here under Wine.
#
#   bash scripts/windows.sh            build, check the DLL's export table, run every test
#   bash scripts/windows.sh --build    build only
#
# Libraries that Debian ships only for Linux (expat, pugixml, {fmt}, CLI11, GoogleTest) are built
# for Windows from Debian's own source packages (apt-get source), into build/windows-deps.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build_only=0
[ "${1:-}" = "--build" ] && build_only=1

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# --- The cross compiler, Wine and the tools to unpack source packages -------------------------
packages=(g++-mingw-w64-x86-64 wine64 dpkg-dev cmake ninja-build)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "windows.sh: installing ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# --- Dependencies from Debian's source packages --------------------------------------------------
deps="$root/build/windows-deps"
prefix="$deps/prefix"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
sources=(expat pugixml fmtlib cli11 googletest)

fetch_sources() {
    local list=/etc/apt/sources.list.d/rigel-deb-src.sources
    if ! apt-get source --print-uris -qq expat >/dev/null 2>&1; then
        echo "windows.sh: adding Debian's source archive ($list)"
        codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
        printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
            "Suites: $codename" "Components: main" \
            "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" | $SUDO tee "$list" >/dev/null
        $SUDO apt-get update -qq
    fi
    mkdir -p "$deps/src"
    (cd "$deps/src" && apt-get source -qq "${sources[@]}" >"$deps/src.log" 2>&1) ||
        { cat "$deps/src.log" >&2; exit 1; }
}

# The unpacked source folder of a package (name-version).
source_dir() {
    find "$deps/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | sort | tail -n 1
}

configure_dependency() { # name cmake-source-subfolder cmake-options...
    local name=$1 sub=$2
    shift 2
    local src
    src=$(source_dir "$name")
    [ -n "$src" ] || { echo "windows.sh: no source of $name in $deps/src" >&2; exit 1; }
    cmake -S "$src/$sub" -B "$deps/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_SHARED_LIBS=OFF "$@" >"$deps/build/$name.log" 2>&1 ||
        { cat "$deps/build/$name.log" >&2; exit 1; }
}

install_dependency() { # name
    ninja -C "$deps/build/$1" -j2 install >>"$deps/build/$1.log" 2>&1 ||
        { tail -n 40 "$deps/build/$1.log" >&2; exit 1; }
}

build_dependency() { # name cmake-source-subfolder cmake-options...
    configure_dependency "$@"
    install_dependency "$1"
}

if [ ! -f "$prefix/.complete" ]; then
    rm -rf "$deps"
    fetch_sources
    mkdir -p "$deps/build"
    export RIGEL_WINDOWS_DEPS="$prefix"
    echo "windows.sh: building expat, pugixml, fmt, CLI11 and GoogleTest for Windows"
    # Debian's security patches to expat test `XML_DTD == 1`, which its configure script defines
    # and its CMake files define empty; the CMake build gets the configure script's value.
    configure_dependency expat expat -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
        -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_SHARED_LIBS=OFF \
        -DEXPAT_BUILD_PKGCONFIG=OFF
    sed -i 's/^#define XML_DTD$/#define XML_DTD 1/' "$deps/build/expat/expat_config.h"
    install_dependency expat
    build_dependency pugixml . -DPUGIXML_BUILD_TESTS=OFF
    build_dependency fmtlib . -DFMT_TEST=OFF -DFMT_DOC=OFF
    build_dependency cli11 . -DCLI11_BUILD_TESTS=OFF -DCLI11_BUILD_EXAMPLES=OFF \
        -DCLI11_BUILD_DOCS=OFF -DCLI11_PRECOMPILED=OFF
    build_dependency googletest . -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
    touch "$prefix/.complete"
fi
export RIGEL_WINDOWS_DEPS="$prefix"

# --- Rigel itself ------------------------------------------------------------------------------
out="$root/build/windows"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRIGEL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" >/dev/null
ninja -C "$out" -j2
[ "$build_only" = 1 ] && exit 0

exec bash "$root/scripts/windows-check.sh" "$out"
