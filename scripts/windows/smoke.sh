#!/usr/bin/env bash
# The Windows zip, unpacked into a folder with a Chinese name, run under Wine on a virtual
# display with a window manager: vorlan-cli.exe makes a demo executable, vorlan-editor.exe
# opens it, one field is written through its window (the unit grid's HP of unit 1, typed and
# confirmed), and vorlan-cli.exe reads the bytes back. Screenshots of the window before and
# after go to dist/ beside the zip, for a person to look at (Chinese text, fonts).
#   scripts/windows/smoke.sh dist/vorlan-<version>-windows-x64.zip
set -euo pipefail
zip="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
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
kill "$editor" 2>/dev/null || true
wait "$editor" 2>/dev/null || true

after="$(hp)"
echo "HP of unit 1: $before → $after"
[ "$after" = 12345 ] || fail "the write through the window did not reach the file"
[ -f 游戏.exe.bak ] || fail "no backup beside the executable"
echo "smoke test passed; screenshots: $shots-smoke-start.png, $shots-smoke-written.png"
