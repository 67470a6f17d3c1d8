#!/usr/bin/env bash
# Installs the Debian packages that building and running need (`setup.sh run`), what the
# Windows build needs (`setup.sh windows`), what the page in WebAssembly needs (`setup.sh web`),
# what a release needs besides those (`setup.sh release`), or all of that and what the test suite
# needs too (`setup.sh test`, the default). Idempotent: when all are present it touches nothing.
# Uses sudo when not run as root. `test` also installs the npm packages that package-lock.json
# pins (node_modules/), with `npm ci`, when they are missing.
set -euo pipefail

run=(
    cmake ninja-build g++ pkg-config dpkg-dev    # build, packaging
    libfast-float-dev                            # the core's number reading
    qt6-base-dev libgl-dev fonts-dejavu-core     # the window
    librsvg2-bin imagemagick                     # its pictures, drawn at build time
    qt6-translations-l10n                        # Qt's own texts in the user's language
)
windows=(
    cmake ninja-build g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64  # the cross build
    libfast-float-dev                            # the core's number reading
    librsvg2-bin imagemagick                     # the pictures, rendered at build time
    wixl msitools faketime                       # the installer, reproducible
    wine64                                       # to run it
)
web=(
    clang-19 lld-19 libc++-19-dev-wasm32 libc++abi-19-dev-wasm32  # WebAssembly
    libclang-rt-19-dev-wasm32 wasi-libc libfast-float-dev binaryen cmake ninja-build
)
release=(git zip faketime)                       # the source archive, the page's zip, their dates
test=(
    libgtest-dev libbenchmark-dev unicode-data   # tests, benchmarks
    clang libclang-rt-14-dev                     # fuzzing
    xvfb xauth xdotool xclip imagemagick python3-xlib  # end-to-end tests, screenshots
    dbus-daemon at-spi2-core python3-pyatspi     # what screen readers get, through AT-SPI
    chromium chromium-driver firefox-esr webkit2gtk-driver  # the page in three engines
    python3-selenium python3-websocket locales-all      # their drivers; languages for WebKitGTK
    desktop-file-utils appstream lintian man-db  # package checks
)
case "${1:-test}" in
    run) packages=("${run[@]}") ;;
    windows) packages=("${windows[@]}") ;;
    web) packages=("${web[@]}") ;;
    release) packages=("${release[@]}") ;;
    test) packages=("${run[@]}" "${windows[@]}" "${web[@]}" "${release[@]}" "${test[@]}") ;;
    *) echo "usage: setup.sh [run|windows|web|release|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}"
fi

# The browser test's accessibility rules (axe-core), exactly as package-lock.json pins them.
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-test}" = test ] && [ ! -f "$root/node_modules/axe-core/axe.min.js" ]; then
    if command -v npm >/dev/null; then
        (cd "$root" && npm ci --no-audit --no-fund)
    else
        echo "setup.sh: no npm: the browser test will skip axe-core's rules" >&2
    fi
fi
