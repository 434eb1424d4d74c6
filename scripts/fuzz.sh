#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS
# (default 600) on a working copy of its corpus in build-fuzz/corpus/.
# A dictionary fuzz/TARGET.dict, when there is one, is handed to the fuzzer.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: lists codec engine numbers iso journal bps ips pnach tbl
#   region import_json import_csv)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(lists codec engine numbers iso journal bps ips pnach tbl region import_json import_csv)
"$root/scripts/deps.sh"
if ! command -v clang++ >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-14-dev
fi
if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLAN_FUZZ=ON
fi
cmake --build "$build" -j "$(nproc)" $(printf -- '--target fuzz_%s ' "${targets[@]}")
for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t"
    cp -n "$root/fuzz/corpus/$t/"* "$build/corpus/$t/" 2>/dev/null || true
    echo "== fuzz_$t for $seconds s"
    dict=()
    [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
    "$build/bin/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" "$build/corpus/$t" 2>&1 | grep -v "^#" | tail -40
done
