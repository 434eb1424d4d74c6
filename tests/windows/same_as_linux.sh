#!/usr/bin/env bash
# The Windows vorlan-cli.exe under Wine and the Linux vorlan-cli, given the same commands in
# two folders holding the same files: each must exit alike, say the same (paths aside) and
# leave the same bytes behind. Disc images are made once, by genisoimage and by xorriso, and
# copied to both sides.
# Usage: same_as_linux.sh LINUX_CLI WINDOWS_CLI WINE
set -uo pipefail
linux_cli="$(realpath "$1")" windows_cli="$(realpath "$2")" wine="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
L="$tmp/linux" W="$tmp/windows"
mkdir -p "$L" "$W" "$tmp/config-linux" "$tmp/config-windows"
passed=0 failed=0

# A folder's Windows name. winepath may print Wine's own notes on standard output while the
# prefix starts, so only a line that is a drive path is taken, asking again if none came.
windows_name() {
    local name attempt
    for attempt in 1 2 3 4 5; do
        name="$("$wine" winepath -w "$1" 2>/dev/null | tr -d '\r' | grep -E '^[A-Za-z]:\\' | tail -n1)"
        [ -n "$name" ] && { printf '%s' "$name"; return 0; }
        sleep 1
    done
    echo "winepath gave no Windows name for $1" >&2
    exit 1
}

# Each side's own configuration folder (the region key); the Windows one through APPDATA.
export XDG_CONFIG_HOME="$tmp/config-linux"
windows_appdata="$(windows_name "$tmp/config-windows")"
wdir="$(windows_name "$W")"

# What a side printed, with its own folder's name and the time of day made neutral (a saved
# region's name holds the second it was made).
neutral() {  # $1 = file, $2 = the side's folder as that side writes it
    sed -e "s|$(printf '%s' "$2" | sed 's/[\\.|*[^$]/\\&/g')|<dir>|g" \
        -e 's/[0-9]\{8\}-[0-9]\{6\}/<time>/g' "$1"
}

# Runs one command on both sides and compares status, standard output and error. "@DIR@" in
# an argument stands for the side's own folder as an absolute path that starts with "/" (under
# Wine the current drive's root, which is the Linux root): a path, never an option.
both() {
    local name="$1"
    shift
    (cd "$L" && "$linux_cli" "${@//@DIR@/$L}" >"$tmp/l.out" 2>"$tmp/l.err")
    local ls=$?
    (cd "$W" && APPDATA="$windows_appdata" "$wine" "$windows_cli" "${@//@DIR@/$W}" >"$tmp/w.out" \
        2>"$tmp/w.err")
    local ws=$?
    local ok=1
    [ "$ls" = "$ws" ] || { echo "  exit status: linux $ls, windows $ws"; ok=0; }
    echo "$ls $name" >>"$tmp/statuses"
    last_status=$ls
    for s in out err; do
        # Windows writes its own separator in the names it prints (never in a \xNN code).
        if ! diff <(neutral "$tmp/l.$s" "$L") \
            <(neutral "$tmp/w.$s" "$wdir" | sed -e "s|$W|<dir>|g" -e 's|<dir>\\|<dir>/|g' \
                -e 's|\\\([^x]\)|/\1|g') \
            >"$tmp/diff" 2>&1; then
            echo "  std$s differs:" && head -20 "$tmp/diff" | sed 's/^/    /'
            ok=0
        fi
    done
    result "$name ($*)" "$ok"
}

# The last command ended as it should have (both sides alike is not enough).
expect() {
    result "exit status $1 (${last_status:-none})" "$([ "${last_status:-}" = "$1" ] && echo 1 || echo 0)"
}

# The files both sides left at `path` are the same bytes.
same() {
    local path
    for path in "$@"; do
        if [ -e "$L/$path" ] && cmp -s "$L/$path" "$W/$path"; then
            result "same bytes: $path" 1
        else
            result "same bytes: $path" 0
        fi
    done
}

result() {
    if [ "$2" = 1 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1"
    fi
}

both "make-demo" make-demo game.exe
same game.exe
cp "$L/game.exe" "$L/original.exe" && cp "$W/game.exe" "$W/original.exe"
both "tables" tables
both "fields" fields unit
for table in $("$linux_cli" tables 2>/dev/null | awk 'NR > 1 { print $1 }'); do
    index=0
    [ "$table" = weapon ] && index=5:2
    both "get $table" --exe game.exe get "$table" "$index" --json
done
both "get unit" --exe game.exe get unit 5
both "get pilot" --exe game.exe get pilot 3
both "set unit" --exe game.exe set unit 5 hp=12345 Text33=82A082A2
expect 0
both "set pilot" --exe game.exe set pilot 3 sp=50 melee=120
expect 0
both "set refused" --exe game.exe set pilot 3 sp=999
expect 1
same game.exe game.exe.bak
both "copy" --exe game.exe copy unit 5 6
expect 0
same game.exe
both "export csv" --exe game.exe export --all --out exported
same exported/unit.csv exported/pilot.csv exported/weapon.csv exported/spirit.csv
both "export json" --exe game.exe export pilot --format json --out pilot.json
same pilot.json
both "export changed" --exe game.exe export unit --changed-since original.exe --out changed.csv
same changed.csv
both "export to stdout" --exe original.exe export unit --format json
both "import dry run" --exe original.exe import pilot pilot.json --dry-run
both "import csv" --exe original.exe import --all exported
expect 0
same original.exe
cp "$L/game.exe.bak" "$L/fresh.exe" && cp "$W/game.exe.bak" "$W/fresh.exe"
both "diff" --exe game.exe diff fresh.exe --json
for kind in bps ips pnach; do
    both "mod create $kind" --exe game.exe mod create "mod.$kind" --from fresh.exe
    same "mod.$kind"
done
both "mod apply" --exe fresh.exe mod apply mod.bps
expect 0
same fresh.exe
both "chars" chars export chars.tbl
same chars.tbl
both "decode" decode 82A082A2
both "lookup in Chinese" lookup 银翼王
# Absolute paths that start with "/": paths on both systems, never options.
both "get, /-path" --exe "@DIR@/game.exe" get unit 5
expect 0
both "export, /-paths" --exe "@DIR@/game.exe" export unit --out "@DIR@/absolute.csv"
expect 0
same absolute.csv
both "import, /-paths" --exe "@DIR@/original.exe" import weapon "@DIR@/exported/weapon.csv" --dry-run
expect 0
mkdir -p "$L/张三" "$W/张三"
both "a Chinese folder" make-demo 张三/游戏.exe
both "get in a Chinese folder" --exe 张三/游戏.exe get unit 1
both "set in a Chinese folder" --exe 张三/游戏.exe set unit 1 hp=321
expect 0
same 张三/游戏.exe 张三/游戏.exe.bak

# Refusals: a second name of the executable as its backup, an output onto the executable,
# a planted journal.
cp "$L/fresh.exe" "$L/linked.exe" && cp "$W/fresh.exe" "$W/linked.exe"
ln "$L/linked.exe" "$L/linked.exe.bak" && ln "$W/linked.exe" "$W/linked.exe.bak"
both "a hard link as the backup" --exe linked.exe set unit 5 hp=1
expect 1
same linked.exe
both "an export onto the executable" --exe fresh.exe export unit --out fresh.exe --overwrite
expect 1
printf 'not a journal of ours' >"$L/fresh.exe.journal" && cp "$L/fresh.exe.journal" "$W/"
both "a planted journal" --exe fresh.exe set unit 5 hp=2
expect 1
same fresh.exe fresh.exe.journal

# A write killed half-way through, on the Windows side: the patch is killed once its journal
# is there and the executable differs from its backup (a torn file); the next open must play
# the journal back, say so, and leave the executable as it was before the killed write.
# Wine runs the program in the process it starts, so kill -9 stops it as the system would.
torn_test() {
    local try name pid
    for try in $(seq 1 20); do
        name="torn$try.exe"
        (cd "$W" && "$wine" "$windows_cli" make-demo "$name" >/dev/null 2>&1)
        (cd "$W" && exec "$wine" "$windows_cli" --exe "$name" patch upgrade-limits >/dev/null 2>&1) &
        pid=$!
        while kill -0 "$pid" 2>/dev/null && ! { [ -e "$W/$name.journal" ] && [ -e "$W/$name.bak" ] &&
                ! cmp -s "$W/$name" "$W/$name.bak"; }; do
            sleep 0.002
        done
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        if [ -e "$W/$name.journal" ] && ! cmp -s "$W/$name" "$W/$name.bak"; then
            echo "  killed during try $try"
            local status=0
            (cd "$W" && "$wine" "$windows_cli" --exe "$name" get unit 5 >"$tmp/torn.out" 2>"$tmp/torn.err") ||
                status=$?
            result "a killed write is played back at the next open (status $status)" \
                "$([ "$status" = 0 ] && echo 1 || echo 0)"
            result "the next open says it restored the file" "$(grep -q 恢复 "$tmp/torn.err" && echo 1 || echo 0)"
            result "the file is as before the killed write" "$(cmp -s "$W/$name" "$W/$name.bak" && echo 1 || echo 0)"
            result "the journal is gone" "$([ ! -e "$W/$name.journal" ] && echo 1 || echo 0)"
            return
        fi
    done
    result "a write killed half-way through (never caught in 20 tries)" 0
}
torn_test

# Disc images by two programs that are not ours.
if command -v genisoimage >/dev/null && command -v xorriso >/dev/null && command -v isoinfo >/dev/null; then
    make_image="$(dirname "$0")/make_image.sh"
    "$make_image" "$tmp/genisoimage.iso" "$L/original.exe" genisoimage -quiet -V VORLAN &&
        "$make_image" "$tmp/xorriso.iso" "$L/original.exe" xorriso -as mkisofs -quiet -V VORLAN ||
        result "disc images made" 0
    for maker in genisoimage xorriso; do
        cp "$tmp/$maker.iso" "$L/" && cp "$tmp/$maker.iso" "$W/"
        both "iso check $maker" iso check "$maker.iso"
        both "iso check $maker, /-path" iso check "@DIR@/$maker.iso"
        expect 0
        both "iso extract $maker" iso extract "$maker.iso" "from-$maker.exe"
        same "from-$maker.exe"
        both "iso replace $maker" --exe game.exe iso replace "$maker.iso"
        expect 0
        same "$maker.iso"
        both "iso restore $maker" iso restore "$maker.iso"
        expect 0
        same "$maker.iso"
    done
else
    echo "genisoimage, xorriso or isoinfo missing: no disc images compared"
fi

[ -n "${VORLAN_SHOW_STATUSES:-}" ] && cat "$tmp/statuses"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
