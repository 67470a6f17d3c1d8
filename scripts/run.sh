#!/usr/bin/env bash
# Installs what building and running need (only what is missing), builds the program alone (no
# tests) into ${BUILD_DIR:-build}, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scripts/setup.sh run
BUILD_DIR=$build_dir scripts/configure.sh -DBUILD_TESTING=OFF -DQUORVANE_BENCH=OFF
exec "$build_dir/window/qt/quorvane"
