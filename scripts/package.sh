#!/usr/bin/env bash
# Builds a stripped Release in ${BUILD_DIR:-build-package} (the program only, no tests) and makes
# the Debian package there: quorvane_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-package}
umask 022  # the folders the package makes are readable by all, whatever the caller's umask
scripts/setup.sh run
BUILD_DIR=$build_dir scripts/configure.sh -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DQUORVANE_BENCH=OFF "$@"
(cd "$build_dir" && cpack -G DEB)
ls "$build_dir"/*.deb
