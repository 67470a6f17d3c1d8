#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}; extra arguments go to cmake. A new folder gets
# Ninja; an existing one keeps the generator it was made with.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
generator=()
[ -f "$build_dir/CMakeCache.txt" ] || generator=(-G Ninja)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S . -B "$build_dir" "${generator[@]}" "$@" >"$log" 2>&1; then
    cat "$log"
    echo "configure.sh: cmake could not configure $build_dir" >&2
    exit 1
fi
cmake --build "$build_dir" --parallel "$(nproc)"
