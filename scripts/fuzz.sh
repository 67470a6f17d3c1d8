#!/usr/bin/env bash
# Builds the fuzz target with clang and libFuzzer and runs it for ${1:-30} seconds over a copy of
# the corpus. Fails when it cannot fuzz (no clang) or ran no input, so that CI cannot go green
# without fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ not found; scripts/setup.sh installs it" >&2
    exit 1
fi
BUILD_DIR=build-fuzz scripts/configure.sh -DCMAKE_CXX_COMPILER=clang++ -DQUORVANE_FUZZ=ON \
    -DQUORVANE_WINDOW=OFF -DBUILD_TESTING=OFF -DQUORVANE_BENCH=OFF
corpus=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$corpus" "$log"' EXIT
cp tests/fuzz/corpus/* "$corpus"/
if ! build-fuzz/tests/fuzz/fuzz_text_to_double -max_total_time="$seconds" -max_len=4096 \
    -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    cat "$log"
    exit 1
fi
grep -E '^(Done|stat::number_of_executed_units)' "$log"
runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log")
if [ "${runs:-0}" -eq 0 ]; then
    cat "$log"
    echo "fuzz: no input was run" >&2
    exit 1
fi
