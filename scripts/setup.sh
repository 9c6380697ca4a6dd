#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages that are missing, then configures
# and builds into build/. Safe to run again.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang libclang-rt-14-dev binutils fonts-dejavu-core locales
          g++-mingw-w64-x86-64 wine64 "$@")

# How this user runs what needs root: as root itself, through sudo, or not at all.
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    as_root=(false)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "${as_root[*]}" = false ]; then
        echo "These Debian packages are missing and this user cannot install them: ${missing[*]}" >&2
        exit 1
    fi
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
fi

# The tests check that numbers keep their decimal point for a user whose regional settings write
# a decimal comma; they need such a locale, and skip (saying why) where there is none.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    "${as_root[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
        echo "Could not make the locale de_DE.UTF-8" >&2
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
