#!/usr/bin/env bash
# Installs what is missing, builds, and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/configure.sh
if [ -x build/window/quorvane ]; then
    exec build/window/quorvane
fi
echo "Built the calculation core; the window comes next."
