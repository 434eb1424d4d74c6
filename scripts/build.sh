#!/usr/bin/env bash
# Configures (once) and builds the project into build/ (or $VORLAN_BUILD_DIR).
# With target names as arguments, builds only those (scripts/run.sh builds the two programs).
# VORLAN_WERROR=ON makes warnings errors (scripts/test.sh sets it).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BUILD_DIR:-$root/build}"
werror="${VORLAN_WERROR:-OFF}"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${VORLAN_BUILD_TYPE:-RelWithDebInfo}" \
        -DVORLAN_WERROR="$werror"
elif ! grep -qx "VORLAN_WERROR:BOOL=$werror" "$build/CMakeCache.txt"; then
    cmake "$build" -DVORLAN_WERROR="$werror" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
