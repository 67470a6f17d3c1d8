#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need. Idempotent: when all
# are present it touches nothing. Uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config dpkg-dev    # build, packaging
    libgtest-dev libbenchmark-dev                # tests, benchmarks
    clang libclang-rt-14-dev                     # fuzzing
    qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core  # the window
    xvfb xauth xdotool xclip imagemagick python3-xlib      # end-to-end tests, screenshots
    desktop-file-utils appstream                 # desktop metadata checks
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
