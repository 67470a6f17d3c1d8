#!/usr/bin/env bash
# The WebAssembly build's tests, as the Linux suite runs them:
#   wasm_test.sh build SOURCE_DIR BUILD_DIR        configure and build (clang-19, wasm32-wasi)
#   wasm_test.sh run BUILD_DIR PROGRAM [ARGS...]   run a test program of that build under Node
# Exits 77 with a message where clang-19, the wasm32 C++ library or Node is missing
# (scripts/setup.sh web installs the first two).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing=()
command -v clang++-19 >/dev/null || missing+=(clang-19)
[ -f /usr/lib/wasm32-wasi/libc++.a ] || missing+=(libc++-19-dev-wasm32)
[ -f /usr/include/fast_float/fast_float.h ] || missing+=(libfast-float-dev)
command -v node >/dev/null || missing+=(node)
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: not found: ${missing[*]} (scripts/setup.sh web installs the Debian packages)"
    exit 77
fi
case "$1" in
    build)
        source_dir=$2 build_dir=$3
        generator=()
        [ -f "$build_dir/CMakeCache.txt" ] || generator=(-G Ninja)
        cmake -S "$source_dir" -B "$build_dir" "${generator[@]}" -DBUILD_TESTING=ON \
            -DCMAKE_TOOLCHAIN_FILE="$source_dir/scripts/wasm32-wasi.cmake" \
            -DCMAKE_BUILD_TYPE=Release >/dev/null
        cmake --build "$build_dir" --parallel "$(nproc)" ;;
    run)
        build_dir=$2 program=$3
        shift 3
        # The Unicode data and the fuzz corpus are the folders the tests may read.
        corpus=$(cd "$here/../fuzz/corpus" && pwd)
        exec node --no-warnings "$here/run.mjs" --dir=/usr/share/unicode --dir="$corpus" \
            "$build_dir/tests/wasm/$program" "$@" ;;
    *) echo "usage: wasm_test.sh build SOURCE BUILD | run BUILD PROGRAM [ARGS]" >&2; exit 2 ;;
esac
