#!/usr/bin/env bash
# Configures (once) and builds the project into build/ (or $VORLAN_BUILD_DIR).
# With target names as arguments, builds only those (scripts/run.sh builds the two programs).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${VORLAN_BUILD_TYPE:-RelWithDebInfo}"
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
