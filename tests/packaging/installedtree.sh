#!/bin/sh
# Installs the build into a temporary tree and checks what the desktop reads from it: the metainfo
# with the desktop entry and icon it names, the desktop entry, the manual pages, and that each of
# them names the project's version. Exits 77 when a validator is missing and nothing failed.
# Usage: installedtree.sh <cmake> <build dir> <application id> <version>
set -u
cmake=$1 build=$2 id=$3 version=$4
tree=$(mktemp -d) && trap 'rm -rf "$tree"' EXIT
"$cmake" --install "$build" --prefix "$tree/usr" >/dev/null || exit 1
share=$tree/usr/share
failed=0 skipped=0
fail() { echo "FAIL: $*"; failed=1; }
if command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli validate-tree"
else skipped=1; echo "appstreamcli not installed: metainfo not validated"; fi
if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) && [ -z "$out" ] ||
        fail "desktop-file-validate: $out"
else skipped=1; echo "desktop-file-validate not installed: desktop entry not validated"; fi
for page in "$share"/man/man1/kalo.1.gz "$share"/man/man1/kalo-mkdb.1.gz; do
    zcat "$page" | grep -q "^\.TH .* \"KALO $version\"" || fail "$page names no version $version"
    if command -v man >/dev/null; then
        out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
        [ -z "$out" ] || fail "man warns on $page: $out"
    fi
done
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo has no release $version"
zcat "$share/doc/kalo/changelog.gz" | head -n 1 | grep -q "^kalo ($version)" ||
    fail "the changelog does not start with $version"
[ $failed = 0 ] || exit 1
[ $skipped = 0 ] || exit 77
