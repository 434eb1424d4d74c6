#!/usr/bin/env bash
# The release package as Debian's own checker sees it: lintian must report no error and no
# warning (tags the package overrides, in usr/share/lintian/overrides/vorlan-editor, each
# with its reason, are not reported). The documents lintian asks for must be there and
# well made: the copyright file, the changelog compressed without name or date, and a
# manual page for each program naming the installed data folder, never the build's.
# Usage: lintian_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v lintian >/dev/null || fail "lintian is not installed (scripts/deps.sh --tests installs it)"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; fail "cpack"; }
deb="$(ls "$tmp"/pkg/vorlan-editor_*.deb)"

set +e
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$tmp/lintian.txt" 2>&1
status=$?
set -e
cat "$tmp/lintian.txt"
! grep -qE '^[EW]: ' "$tmp/lintian.txt" || fail "lintian reports errors or warnings"
[ $status -eq 0 ] || fail "lintian exited with status $status"

root="$tmp/root"
dpkg -x "$deb" "$root"
doc="$root/usr/share/doc/vorlan-editor"
head -1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
    fail "the copyright file is not in the machine-readable format"
# gzip -9n: no file name (flag bit 3) and no time stamp (bytes 4-7) in the header.
header="$(od -An -tx1 -N8 "$doc/changelog.gz" | tr -d ' \n')"
[ "${header:0:8}" = 1f8b0800 ] && [ "${header:8:8}" = 00000000 ] ||
    fail "changelog.gz keeps a name or a date: $header"
version="$(dpkg-deb -f "$deb" Version)"
zcat "$doc/changelog.gz" | head -1 | grep -qF "vorlan-editor ($version)" ||
    fail "the changelog's first entry is not of version $version"
man="$root/usr/share/man/man1"
for program in vorlan-editor vorlan-cli; do
    page="$man/$program.1.gz"
    [ -f "$page" ] || fail "no manual page for $program"
    zcat "$page" | grep -q '/usr/share/vorlan/data' || fail "$program.1 names no installed data folder"
    ! zcat "$page" | grep -qF "$build" || fail "$program.1 names the build folder"
done
zcat "$man/vorlan-cli.1.gz" | grep -q 'extract' || fail "vorlan-cli.1 does not list iso extract"
echo "lintian: $(basename "$deb") passed"
