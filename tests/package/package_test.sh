#!/usr/bin/env bash
# The installed files are valid desktop metadata, and the Debian package holds them and starts.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
app="$work/root/usr/share"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$app/applications/org.quorvane.Calculator.desktop"
    echo "ok: desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$app/metainfo/org.quorvane.Calculator.metainfo.xml" >/dev/null
    echo "ok: appstreamcli validate"
fi
grep -q 'release version="1.00"' "$app/metainfo/org.quorvane.Calculator.metainfo.xml"
for size in 16 32 48 256; do
    identify -format '%w %h\n' "$app/icons/hicolor/${size}x${size}/apps/org.quorvane.Calculator.png" |
        grep -qx "$size $size"
done
echo "ok: metadata version and icons"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/*.deb)
dpkg-deb --field "$deb" Package Version Depends
dpkg-deb -x "$deb" "$work/unpacked"
test -x "$work/unpacked/usr/bin/quorvane"
# Started from the package, it must keep running until closed: a timeout is success here.
set +e
QT_QPA_PLATFORM=offscreen timeout 3 "$work/unpacked/usr/bin/quorvane"
status=$?
set -e
[ "$status" -eq 124 ] || { echo "FAILED: the packaged program ended with status $status"; exit 1; }
echo "ok: the package's program starts"
