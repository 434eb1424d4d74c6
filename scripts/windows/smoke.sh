#!/usr/bin/env bash
# The Windows zip, unpacked into a folder with a Chinese name, run under Wine on a virtual
# display with a window manager: vorlan-cli.exe makes a demo executable, vorlan-editor.exe
# opens it, one field is written through its window (the unit grid's HP of unit 1, typed and
# confirmed), and vorlan-cli.exe reads the bytes back. Then the disc image tool, from the 镜像
# menu with Wine's own file dialogs: an image made by genisoimage is chosen, its executable
# extracted beside it and the edited one put into it; vorlan-cli.exe checks both. Screenshots
# go to dist/ beside the zip, for a person to look at (Chinese text, fonts, the image tool).
#   scripts/windows/smoke.sh dist/vorlan-<version>-windows-x64.zip
set -euo pipefail
zip="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
root="$(cd "$(dirname "$0")/../.." && pwd)"
shots="${zip%.zip}"
wine=/usr/lib/wine/wine64
tmp="$(mktemp -d)"
xvfb="" wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    WINEPREFIX="$tmp/wine" "$wine"server -k 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

folder="$tmp/张三的程序"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
app="$(ls -d "$folder"/vorlan-*-windows-x64)"
export WINEPREFIX="$tmp/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"$wine" wineboot --init >/dev/null 2>&1 || true

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
sleep 2
# A window manager places, focuses and decorates the window as on a desktop.
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

cd "$app"
"$wine" vorlan-cli.exe make-demo 游戏.exe >/dev/null || fail "make-demo"
cp 游戏.exe "$tmp/original.exe"
hp() { "$wine" vorlan-cli.exe --exe 游戏.exe get unit 1 --json | python3 -c \
    'import json,sys; print(next(f["value"] for f in json.load(sys.stdin)["fields"] if f["key"] == "hp"))'; }
before="$(hp)"
started=$SECONDS
"$wine" vorlan-editor.exe --table unit 游戏.exe >"$tmp/editor.log" 2>&1 &
editor=$!
window=""
for _ in $(seq 1 120); do
    window="$(xdotool search --onlyvisible --name 'VORLAN|unit|机体' 2>/dev/null | tail -1 || true)"
    [ -n "$window" ] && break
    sleep 1
done
[ -n "$window" ] || { cat "$tmp/editor.log"; fail "no editor window within two minutes"; }
echo "editor window up in $((SECONDS - started)) s"
sleep 5
import -window root "$shots-smoke-start.png"

# The grid opens with its filter box taking the keyboard: Tab to the cells, to unit 1's row
# (the second), then right to the HP column (a name's code has its text in the next column),
# type, confirm, and write with Ctrl+S.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
column="$("$wine" vorlan-cli.exe fields unit | tr -d '\r' | awk 'NR > 1 && !/^ / {
    if ($1 == "hp") { print column + 0; exit }
    column++
    if ($NF == "name-code") column++ }')"
[ -n "$column" ] || fail "no hp field"
xdotool key --delay 100 Tab ctrl+Home Down
for _ in $(seq 1 "$column"); do xdotool key --delay 50 Right; done
xdotool type --delay 80 12345
xdotool key --delay 200 Return ctrl+s
sleep 5
import -window root "$shots-smoke-written.png"
after="$(hp)"
echo "HP of unit 1: $before → $after"
[ "$after" = 12345 ] || fail "the write through the window did not reach the file"
[ -f 游戏.exe.bak ] || fail "no backup beside the executable"

# The disc image tool through the main window's 镜像 menu (Alt+I; its items in order: 选择镜像…,
# 提取…, 替换, 恢复) and Wine's own file dialogs, whose name box takes a typed path.
images="$tmp/images"
mkdir -p "$images"
"$root/tests/windows/make_image.sh" "$images/game.iso" "$tmp/original.exe" genisoimage -quiet \
    -V VORLAN || fail "no disc image made"
main="$(xdotool search --onlyvisible --name 'VORLAN静态修改器' 2>/dev/null | head -1 || true)"
[ -n "$main" ] || fail "no main window"
# The grid closes (Alt+F4, as the window manager has it), so that the pictures show the tool.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key --delay 300 alt+F4
sleep 2
menu() {  # $1 = how many items down
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
    sleep 1
    xdotool key --delay 300 alt+i
    for _ in $(seq 1 "$1"); do xdotool key --delay 150 Down; done
    xdotool key --delay 300 Return
    sleep 4
}
menu 0
xdotool type --delay 40 "Z:${images//\//\\}\\game.iso"
xdotool key --delay 300 Return
sleep 4
import -window root "$shots-smoke-image.png"
menu 1
# The save dialog proposes SLKV_618.04 beside the image; then "是否打开它？" is answered no.
xdotool key --delay 300 Return
sleep 4
xdotool key --delay 300 Escape
sleep 2
cmp -s "$images/SLKV_618.04" "$tmp/original.exe" || fail "提取… did not write the image's executable"
menu 2
sleep 6
import -window root "$shots-smoke-replaced.png"
xdotool key --delay 300 Return
"$wine" vorlan-cli.exe iso extract "Z:${images//\//\\}\\game.iso" "$tmp/from-image.exe" \
    >/dev/null || fail "the image after 替换 does not pass iso extract"
cmp -s "$tmp/from-image.exe" 游戏.exe || fail "替换 did not put the edited executable into the image"
kill "$editor" 2>/dev/null || true
wait "$editor" 2>/dev/null || true
echo "smoke test passed; screenshots: $shots-smoke-{start,written,image,replaced}.png"
