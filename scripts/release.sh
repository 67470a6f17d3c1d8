#!/usr/bin/env bash
# Builds a release from nothing into ${RELEASE_DIR:-build-release}/ and writes its files to
# ${DIST_DIR:-dist}/: the Debian package, the Windows installer and the .exe it installs, the page
# as a zip, the source as `git archive` makes it from HEAD, and SHA256SUMS. Every time stamp is
# the release date of the package's changelog, so that one commit gives the same bytes on any
# Debian 12 of the same package versions, in any folder, time zone, language or umask. Refuses
# uncommitted changes, which the source archive would not hold.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git diff --quiet HEAD --; then
    echo "release.sh: uncommitted changes: the source archive would be HEAD's, not the source" \
        "of the programs; commit them first" >&2
    exit 1
fi
unset SOURCE_DATE_EPOCH  # the package takes the release date itself
builds=${RELEASE_DIR:-build-release} dist=${DIST_DIR:-dist}
rm -rf "$builds" "$dist"
scripts/setup.sh release
BUILD_DIR=$builds/package scripts/package.sh
BUILD_DIR=$builds/windows scripts/windows.sh

# The name, version and release date, as CMakeLists.txt gave them to the changelog.
changelog=$builds/package/packaging/changelog
name=$(dpkg-parsechangelog -l "$changelog" -S Source)
release=$name-$(dpkg-parsechangelog -l "$changelog" -S Version)
epoch=$(dpkg-parsechangelog -l "$changelog" -S Timestamp)
WASM_BUILD_DIR=$builds/wasm WEB_DIR=$builds/$release-web scripts/web.sh

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
cp "$builds"/package/*.deb "$builds/windows/$release-x64.msi" "$dist/"
cp "$builds/windows/$name.exe" "$dist/$release.exe"
# The page in one folder: its files in name order, each dated at the release, read by all, with
# no owner or time zone of the build (-X).
find "$builds/$release-web" -type f -exec chmod 644 {} + -exec touch -d "@$epoch" {} +
(cd "$builds" && find "$release-web" -type f | LC_ALL=C sort |
    TZ=UTC zip -X -D -9 -q -@ "$dist/$release-web.zip")
# HEAD's tree, not the commit, so that its files take the time of the archive, held at the release.
TZ=UTC faketime -f "$(date -u -d "@$epoch" '+%F %T')" git -c tar.umask=0022 \
    -c core.autocrlf=false archive --format=tar --prefix="$release/" 'HEAD^{tree}' |
    gzip -n -9 >"$dist/$release.tar.gz"
(cd "$dist" && export LC_ALL=C && sha256sum -- * >SHA256SUMS && cat SHA256SUMS)
touch -d "@$epoch" "$dist"/*  # as a host will date them
