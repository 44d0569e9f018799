#!/usr/bin/env bash
# The test command: installs what is missing, then builds and runs the whole suite twice, once in a
# normal build and once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

jobs="${RIGEL_JOBS:-2}"

run_suite() {
    local dir="$1"; shift
    cmake -S . -B "$dir" -G Ninja -DRIGEL_WERROR=ON "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" -j "$jobs" --output-on-failure --no-tests=error
}

echo "== format (clang-format, .clang-format) =="
find src tests tools bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run -Werror

echo "== normal build =="
run_suite build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== sanitizer build (address, undefined) =="
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite build/asan -DCMAKE_BUILD_TYPE=Debug -DRIGEL_SANITIZE=ON

echo "test.sh: both builds passed"
