#!/usr/bin/env bash
# release_test.sh SOURCE_DIR BUILD_DIR: scripts/release.sh in two checkouts of HEAD (at paths of
# other lengths, the second with another umask, time zone and language) gives the same bytes.
set -euo pipefail
source=$1 work=$2/release
grep -q '^QUORVANE_SANITIZE:BOOL=ON' "$2/CMakeCache.txt" && echo "SKIP: sanitizer build" && exit 77
commit=$(git -C "$source" rev-parse --verify -q HEAD) || { echo "SKIP: no git checkout"; exit 77; }
echo "The release of HEAD, $commit: uncommitted changes are not in it"
rm -rf "$work" && mkdir -p "$work/b"
release() {  # TREE UMASK TZ LANGUAGE
    (umask "$2" && git init -q "$1" && cd "$1" && git fetch -q --depth 1 "$source" "$commit" &&
        git checkout -q FETCH_HEAD && TZ=$3 LC_ALL=$4 scripts/release.sh) >"$1.log" 2>&1 ||
        { tail -n 30 "$1.log"; echo "FAILED: scripts/release.sh in $1"; exit 1; }
}
release "$work/a" 0022 UTC C.UTF-8 && release "$work/b/checkout" 0077 Pacific/Chatham de_DE.UTF-8
parts() {  # what a file holds: names, times, modes and each member's checksum where it has them
    case $1 in
    *.zip) zipinfo -v "$1" | tail -n +2 ;;
    *.deb) dpkg-deb --contents "$1" && dpkg-deb --ctrl-tarfile "$1" | tar -xO ./md5sums ;;
    *.msi) msiinfo suminfo "$1" ;;
    *) od -A d -t x1 "$1" ;;
    esac
}
cd "$work/a/dist" && other=$work/b/checkout/dist failed=0
diff <(ls) <(ls "$other") || { echo "FAILED: the two releases hold different files"; exit 1; }
for file in *; do
    cmp -s "$file" "$other/$file" && echo "ok: $file is the same to the byte" && continue
    echo "FAILED: $file differs between the two releases:" && failed=1
    diff <(parts "$file") <(parts "$other/$file") | head -n 20 || true
done
exit "$failed"
