#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks need, and makes sure a
# decimal-comma locale exists for the locale test. Returns at once when everything is present.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    libfmt-dev libcli11-dev libpugixml-dev libexpat1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libxml2-utils locales binutils
    clang libclang-rt-14-dev clang-format
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ "${#missing[@]}" -gt 0 ]; then
    echo "deps.sh: installing ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is a comma, for the test that file text does not follow it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "deps.sh: generating de_DE.UTF-8"
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
