#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Extra arguments go to cmake, e.g.
#   BUILD_DIR=build-asan scripts/test.sh -DQUORVANE_SANITIZE=ON
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test
scripts/configure.sh -DBUILD_TESTING=ON "$@"
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"
