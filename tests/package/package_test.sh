#!/usr/bin/env bash
# The installed files are valid desktop metadata, and the Debian package made from this build is
# clean under lintian --pedantic, holds them and starts.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
if grep -q '^QUORVANE_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
    echo "SKIP: a sanitizer build is no package"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=org.quorvane.Calculator

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
app="$work/root/usr/share"
desktop-file-validate "$app/applications/$id.desktop"
grep -qx 'StartupWMClass=quorvane' "$app/applications/$id.desktop"
echo "ok: desktop-file-validate"
# The id has capitals for good; anything else appstreamcli says at all is a failure.
appstreamcli validate --pedantic --no-net "$app/metainfo/$id.metainfo.xml" >"$work/as.txt" || true
if grep -E '^[EWIP]:' "$work/as.txt" | grep -v 'cid-contains-uppercase-letter'; then
    echo "FAILED: appstreamcli validate --pedantic"
    exit 1
fi
echo "ok: appstreamcli validate --pedantic"
grep -q 'release version="1.00" date="2026-12-08"' "$app/metainfo/$id.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
    identify -format '%w %h\n' "$app/icons/hicolor/${size}x${size}/apps/$id.png" |
        grep -qx "$size $size"
done
test -s "$app/icons/hicolor/scalable/apps/$id.svg"
echo "ok: metadata version and icons"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/*.deb)
dpkg-deb --field "$deb" Package Version Section Depends

# Info tags accepted, each for a reason:
#   binary-has-unneeded-section: CPack strips with plain strip, which keeps .comment (the
#     compiler's version string); dh_strip would remove it.
accepted='binary-has-unneeded-section'
lintian --pedantic --info --tag-display-limit 0 "$deb" 2>/dev/null >"$work/lintian.txt" || true
cat "$work/lintian.txt"
if grep -E '^[EW]:' "$work/lintian.txt" || grep -E '^[IPX]:' "$work/lintian.txt" |
    grep -vE ": ($accepted) "; then
    echo "FAILED: lintian --pedantic"
    exit 1
fi
echo "ok: lintian --pedantic"

dpkg-deb -x "$deb" "$work/unpacked"
test -x "$work/unpacked/usr/bin/quorvane"
test -s "$work/unpacked/usr/share/doc/quorvane/copyright"
gzip -t "$work/unpacked/usr/share/doc/quorvane/changelog.gz"
man -l --warnings "$work/unpacked/usr/share/man/man1/quorvane.1.gz" 2>&1 >/dev/null |
    { ! grep . ; } || { echo "FAILED: the manual page has warnings"; exit 1; }
# Started from the package, it must keep running until closed: a timeout is success here.
set +e
QT_QPA_PLATFORM=offscreen timeout 3 "$work/unpacked/usr/bin/quorvane"
status=$?
set -e
[ "$status" -eq 124 ] || { echo "FAILED: the packaged program ended with status $status"; exit 1; }
echo "ok: the package's program starts"
