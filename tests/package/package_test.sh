#!/usr/bin/env bash
# The release package: made by cpack from this build folder, unpacked with dpkg -x into a
# fresh root, and its programs run from there. They must find the data folder installed
# beside them (never the build tree's), let the player's own lists come first, and the
# package must name the Debian packages it runs on.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; fail "cpack"; }
deb="$(ls "$tmp"/pkg/vorlan-editor_*.deb)"
[ "$(dpkg-deb -f "$deb" Package)" = vorlan-editor ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section"
! dpkg-deb -f "$deb" Description | grep -q ';' || fail "description split as a CMake list"
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libcdio19 libudf0 libdeflate0 libcsv3 libsodium23; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

root="$tmp/root"
dpkg -x "$deb" "$root"
bin="$root/usr/bin"
data="$root/usr/share/vorlan/data"
for f in "$bin/vorlan-editor" "$bin/vorlan-cli" "$data/unit.txt" "$data/pilot.txt" \
    "$data/jn.txt" "$data/string.txt" "$data/struct.txt" "$data/使用说明.txt" \
    "$root/usr/share/applications/vorlan-editor.desktop" \
    "$root/usr/share/icons/hicolor/scalable/apps/vorlan-editor.svg"; do
    [ -f "$f" ] || fail "not in the package: ${f#"$root"}"
done
[ ! -e "$data/.stamp" ] || fail "the build's stamp file is in the package"

# No per-user lists unless the test puts them there.
export HOME="$tmp/home" XDG_DATA_HOME="" QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME=""
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$tmp"

# Libraries come from the system only: a file planted in the folder the programs are started
# from is never loaded (an empty library search path entry would mean that folder).
printf 'not a library' >libcsv.so.3
for program in "$bin/vorlan-cli" "$bin/vorlan-editor" "$build/bin/vorlan-cli" "$build/bin/vorlan-editor"; do
    ! readelf -d "$program" | grep -qE 'R(UN)?PATH' || fail "${program#"$root"} has a library search path"
    "$program" --help >/dev/null 2>planted.txt || fail "$program loads a planted library: $(cat planted.txt)"
done
rm libcsv.so.3

# The installed lists, marked so that a name read from anywhere else shows.
sed -i '6s/.*/安装的机体/' "$data/unit.txt"
"$bin/vorlan-cli" tables >tables.txt || fail "vorlan-cli tables"
grep -q '^unit ' tables.txt || fail "tables lists no unit table"
demo="$tmp/demo/SLKV_618.04"
mkdir -p "$tmp/demo"
"$bin/vorlan-cli" make-demo "$demo" >/dev/null || fail "vorlan-cli make-demo"
"$bin/vorlan-cli" --exe "$demo" get unit 5 >unit5.txt || fail "vorlan-cli get unit 5"
grep -q '安装的机体' unit5.txt || fail "get unit 5 did not read the installed lists: $(head -2 unit5.txt)"

"$bin/vorlan-editor" --version | grep -qx "vorlan-editor [0-9.]*" || fail "editor --version"
"$bin/vorlan-editor" --help | grep -q "lists used: $data\$" || fail "editor --help names another data folder"
set +e
"$bin/vorlan-editor" --bogus 2>bogus.txt
status=$?
set -e
[ $status -eq 2 ] && grep -q '未知的选项：--bogus' bogus.txt || fail "unknown option: status $status"
timeout 60 "$bin/vorlan-editor" --quit-after-paint "$demo" || fail "editor did not paint and quit"
# Without the installed lists the editor says which file it missed (and does not wait).
mv "$data/jn.txt" "$tmp/jn.txt"
set +e
timeout 60 "$bin/vorlan-editor" --quit-after-paint "$demo" 2>missing.txt
status=$?
set -e
[ $status -eq 1 ] && grep -qF "$data/jn.txt" missing.txt || fail "missing list: status $status"
mv "$tmp/jn.txt" "$data/jn.txt"

# The player's own lists come first, file by file, for both programs: a folder with only
# unit.txt takes the other lists from the installed folder.
own="$HOME/.local/share/vorlan/data"
mkdir -p "$own"
cp "$data"/unit.txt "$own/"
sed -i '6s/.*/我的机体/' "$own/unit.txt"
"$bin/vorlan-cli" --exe "$demo" get unit 5 | grep -q '我的机体' || fail "cli ignores the own lists"
"$bin/vorlan-editor" --help | grep -qF "lists used: $own（其中没有的列表取自 $data）" ||
    fail "editor ignores the own lists"
timeout 60 "$bin/vorlan-editor" --quit-after-paint "$demo" || fail "editor with the own lists"
echo "package: $(basename "$deb") passed"
