#!/usr/bin/env bash
# The Windows side, where a MinGW cross toolchain is installed (.ci/run installs it): the
# resource file compiles, with the version from the one project version, and the core
# cross-compiles. Skipped with a message otherwise.
# Usage: windows_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1
build=$2
for tool in x86_64-w64-mingw32-windres x86_64-w64-mingw32-gcc x86_64-w64-mingw32-g++; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool not found (Debian: gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64)"
        exit 77
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# windres preprocesses with the cross compiler, which brings winver.h.
x86_64-w64-mingw32-windres "$build/window/quorvane.rc" -O coff -o "$work/quorvane.res.o"
x86_64-w64-mingw32-objdump -h "$work/quorvane.res.o" | grep -q '\.rsrc'
grep -q '^FILEVERSION 1,0,0,0$' "$build/window/quorvane.rc"
grep -q '"ProductVersion", "1.00"' "$build/window/quorvane.rc"
echo "ok: the resource file compiles"

for file in "$source"/core/*.cpp; do
    x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror -ffp-contract=off -O2 \
        -c "$file" -o "$work/$(basename "$file").o"
done
echo "ok: the core cross-compiles"
