#!/usr/bin/env bash
# Builds a Release build with the benchmarks into build-release/ (or $VORLAN_BENCH_BUILD_DIR),
# runs the benchmark suite briefly, then times whole processes: each case once per round,
# the cases interleaved (A, B, C, A, B, C, …), and prints the medians, a few ratios and each
# case's peak memory.
# Usage: scripts/bench.sh [ROUNDS]   (default 20; BENCH_MIN_TIME sets the suite's minimum
#        time per benchmark in seconds, default 0.2)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BENCH_BUILD_DIR:-$root/build-release}"
rounds="${1:-20}"
"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORLAN_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target vorlan-editor vorlan-cli vorlan_bench bare_window
bin="$build/bin"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" QT_QPA_PLATFORMTHEME=""
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

echo "== Benchmark suite"
"$bin/vorlan_bench" --benchmark_min_time="${BENCH_MIN_TIME:-0.2}"

# The demo executable, an edited copy, and a disc image holding the demo at sector 362 (a
# padding file that sorts first moves it there, as the tests' images do).
demo="$work/SLKV_618.04"
edited="$work/edited/SLKV_618.04"
mkdir -p "$work/edited" "$work/iso"
"$bin/vorlan-cli" make-demo "$demo" >/dev/null
cp "$demo" "$edited"
"$bin/vorlan-cli" --exe "$edited" --no-backup set unit 5 hp=12345 >/dev/null
printf 'BOOT2 = cdrom0:\\SLKV_618.04;1\r\nVER = 1.00\r\n' >"$work/iso/SYSTEM.CNF"
cp "$demo" "$work/iso/SLKV_618.04"
pad=100000
for _ in 1 2 3 4; do
    head -c "$pad" /dev/zero >"$work/iso/A_PAD.BIN"
    genisoimage -quiet -V VORLAN -o "$work/game.iso" "$work/iso"
    at="$(isoinfo -l -i "$work/game.iso" | awk '/SLKV_618.04/ { gsub(/[][]/, " "); print $(NF-2) }')"
    [ "$at" = 362 ] && break
    pad=$((pad + (362 - at) * 2048))
done
[ "$at" = 362 ] || { echo "could not place SLKV_618.04 at sector 362" >&2; exit 1; }

# Each write-back starts from the untouched image, flushed, with no saved regions beside it.
reset_image() { rm -f "$work/$1".*; cp "$work/game.iso" "$work/$1"; sync; }

# The cases: a name, a command (split on spaces), and an untimed step before each run.
names=() commands=() preps=()
add() { names+=("$1"); commands+=("$2"); preps+=("${3:-:}"); }
add editor "$bin/vorlan-editor --quit-after-paint $demo"
add editor_grid "$bin/vorlan-editor --quit-after-paint --table weapon $demo"
add bare_window "$bin/bare_window"
add cli_help "$bin/vorlan-cli --help"
add cli_get "$bin/vorlan-cli --exe $demo get unit 5 --json"
add cli_export "$bin/vorlan-cli --exe $demo export unit"
add iso_replace "$bin/vorlan-cli --exe $edited iso replace $work/replace.iso" "reset_image replace.iso"
add dd "dd if=$edited of=$work/dd.iso bs=2048 seek=362 conv=notrunc,fsync status=none" "reset_image dd.iso"

run() {  # run CASE: appends "milliseconds peak-kB" to $work/CASE.times
    local i=$1
    eval "${preps[$i]}"
    local start=$EPOCHREALTIME
    # shellcheck disable=SC2086
    /usr/bin/time -f %M -o "$work/mem" ${commands[$i]} >/dev/null 2>"$work/err" ||
        { echo "${names[$i]} failed:" >&2; cat "$work/err" >&2; exit 1; }
    local end=$EPOCHREALTIME
    echo "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", (b - a) * 1000 }') $(tail -1 "$work/mem")" \
        >>"$work/${names[$i]}.times"
}

echo "== Whole processes, $rounds interleaved rounds (after one warm-up)"
for i in "${!names[@]}"; do run "$i"; done
rm -f "$work"/*.times
for ((r = 0; r < rounds; r++)); do
    for i in "${!names[@]}"; do run "$i"; done
done

python3 - "$work" "${names[@]}" <<'PY'
import statistics, sys
work, names = sys.argv[1], sys.argv[2:]
t, m = {}, {}
for n in names:
    rows = [l.split() for l in open(f"{work}/{n}.times")]
    t[n] = statistics.median(float(r[0]) for r in rows)
    m[n] = statistics.median(int(r[1]) for r in rows) / 1024
print(f"{'case':<14}{'median ms':>11}{'peak MB':>10}")
for n in names:
    print(f"{n:<14}{t[n]:>11.1f}{m[n]:>10.1f}")
print()
for what, a, b, d in [("editor / bare window", "editor", "bare_window", t),
                      ("memory editor / bare", "editor", "bare_window", m),
                      ("weapon grid / editor", "editor_grid", "editor", t),
                      ("cli get / cli --help", "cli_get", "cli_help", t),
                      ("export unit / --help", "cli_export", "cli_help", t),
                      ("iso replace / dd", "iso_replace", "dd", t)]:
    print(f"{what:<24}{d[a] / d[b]:>6.2f}")
PY
