#!/usr/bin/env bash
# The release is reproducible: scripts/release.sh, run in two checkouts of HEAD at paths of
# different lengths (the second with another umask, time zone and language), writes the same
# files to the byte. Where one differs, names it and shows how its parts differ.
# Usage: release_test.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source=$1 work=$2
if ! commit=$(git -C "$source" rev-parse --verify -q HEAD); then
    echo "SKIP: $source is no git checkout, and a release is a commit's"
    exit 77
fi
echo "The release of HEAD, $commit: uncommitted changes are not in it"
rm -rf "$work" && mkdir -p "$work/second"
release() {  # TREE UMASK TZ LANGUAGE
    local start=$SECONDS
    (umask "$2" && git init -q "$1" && cd "$1" && git fetch -q "$source" "$commit" &&
        git -c advice.detachedHead=false checkout -q FETCH_HEAD &&
        TZ=$3 LC_ALL=$4 scripts/release.sh) >"$1.log" 2>&1 ||
        { tail -n 30 "$1.log"; echo "FAILED: scripts/release.sh in $1"; exit 1; }
    echo "ok: released in $1 in $((SECONDS - start)) s"
}
release "$work/a" 0022 UTC C.UTF-8
release "$work/second/checkout" 0077 Pacific/Chatham de_DE.UTF-8

# What each kind of file holds, to show where two of them differ.
parts() {
    case $1 in
    *.zip) zipinfo -v "$1" | tail -n +2 ;;
    *.tar.gz) tar -tvzf "$1" && tar -xOzf "$1" | sha256sum ;;
    *.deb) dpkg-deb --info "$1" && dpkg-deb --contents "$1" && dpkg-deb --fsys-tarfile "$1" | sha256sum ;;
    *.msi) msiinfo suminfo "$1" && msiinfo tables "$1" ;;
    *SUMS) cat "$1" ;;
    *) od -A d -t x1 "$1" ;;
    esac
}
one=$work/a/dist other=$work/second/checkout/dist
diff <(ls "$one") <(ls "$other") || { echo "FAILED: the two releases have different files"; exit 1; }
failed=0
for file in $(ls "$one"); do
    if cmp -s "$one/$file" "$other/$file"; then
        echo "ok: $file is the same to the byte"
    else
        echo "FAILED: $file differs between the two releases:"
        diff <(parts "$one/$file") <(parts "$other/$file") | head -n 20 || true
        failed=1
    fi
done
exit "$failed"
