#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for ${1:-30} seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ not found, skipped"
    exit 0
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
