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
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIGEL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" --no-warn-unused-cli "${launcher[@]}" >/dev/null
ninja -C "$out" -j2
[ "$build_only" = 1 ] && exit 0

# --- The export table of rigel.dll --------------------------------------------------------------
# Every entry point of rigel.def under its plain name; besides them only C++ names (mangled, _Z...).
x86_64-w64-mingw32-objdump -p "$out/rigel.dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' >"$out/exports.txt"
sed -n 's/^[[:space:]]\{1,\}\([A-Za-z_][A-Za-z0-9_]*\)$/\1/p' "$root/src/frame/exports/rigel.def" |
    sort >"$out/exports.expected"
grep -v '^_Z' "$out/exports.txt" | sort >"$out/exports.plain"
if ! diff -u "$out/exports.expected" "$out/exports.plain"; then
    echo "windows.sh: rigel.dll's plain exports differ from rigel.def (- missing, + unexpected)" >&2
    exit 1
fi
echo "windows.sh: rigel.dll exports the $(wc -l <"$out/exports.plain") entry points by their plain names and $(grep -c '^_Z' "$out/exports.txt") C++ names"

# --- The tests under Wine ---------------------------------------------------------------------
# Tests that cannot hold under Wine, each with its reason:
# - TextFormat.*Snprintf*, TextFormat.GeneratedFormatGivesTheSameRecordAsC, TextScan.*Sscanf*,
#   TextScan.NumbersMatchStrtodAtoiAndStrtoll: their reference is glibc's printf, sscanf and strtod.
#   The Windows C runtime prints NaN without its sign, clamps out-of-range integers differently
#   and reads no hexadecimal numbers in atof, so it is no reference; the formatter and the scanner
#   are the same code on both systems and the Linux suite holds them to glibc.
# - LandXmlExport.PrecisionVersionsSchemasAndTheImport: the schema check runs xmllint, a Linux
#   program that cannot read the Windows paths of the test's files.
excluded=(
    TextFormat.FormatsOfOnlyDoublesMatchSnprintf
    TextFormat.MixedRecordFormatsMatchSnprintf
    TextFormat.GeneratedFormatGivesTheSameRecordAsC
    TextScan.EveryLayoutMatchesSscanfOnSurveyLinesAndGarbage
    TextScan.NumbersMatchStrtodAtoiAndStrtoll
    LandXmlExport.PrecisionVersionsSchemasAndTheImport
)
filter="-$(IFS=:; echo "${excluded[*]}")"

export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all RIGEL_TRACE=0
wine=/usr/lib/wine/wine64
failed=0
run() { # name command...
    local name=$1
    shift
    # Wine can end a crashed program with status 0 after its debugger ran: the crash report in
    # the log counts too.
    if "$@" >"$out/$name.log" 2>&1 && ! grep -q '^wine: Unhandled' "$out/$name.log"; then
        echo "windows.sh: $name passed ($(grep -ho '[0-9]* tests\? from .* ran\|[0-9]* inputs\? replayed' "$out/$name.log" | tail -n 1))"
    else
        echo "windows.sh: $name FAILED; the end of $out/$name.log:" >&2
        tail -n 40 "$out/$name.log" >&2
        failed=1
    fi
}
(cd "$out" && "$wine" cmd /c exit 0 >/dev/null 2>&1) || true # makes the Wine prefix
cd "$out"
run rigel_tests "$wine" ./rigel_tests.exe --gtest_filter="$filter"
run rigel_shared_library_tests "$wine" ./rigel_shared_library_tests.exe
for replay in ./fuzz_*_replay.exe; do
    name=$(basename "$replay" .exe)
    corpus=${name#fuzz_}
    run "$name" "$wine" "$replay" "$root/fuzz/corpus/${corpus%_replay}"
done
/usr/lib/wine/wineserver -w 2>/dev/null || true
if [ "$failed" != 0 ]; then
    echo "windows.sh: tests failed under Wine" >&2
    exit 1
fi
echo "windows.sh: every test passed under Wine (${#excluded[@]} named above left out)"
