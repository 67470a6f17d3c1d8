#!/usr/bin/env bash
# Builds the Windows program on Debian 12: installs what is missing (MinGW-w64, wixl and
# msitools, Wine, and what renders the pictures), cross-builds a stripped Release into
# ${BUILD_DIR:-build-windows}: quorvane.exe (statically linked, importing only Windows' own DLLs)
# and quorvane-<version>-x64.msi. Extra arguments go to cmake (-DBUILD_TESTING=ON builds the
# Win32 window's own tests as well).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-windows}
scripts/setup.sh windows
generator=()
[ -f "$build_dir/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_TOOLCHAIN_FILE=scripts/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
ls -l "$build_dir"/*.exe "$build_dir"/*.msi
