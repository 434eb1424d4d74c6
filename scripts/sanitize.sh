#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/
# (or $VORLAN_SANITIZE_BUILD_DIR) and runs every test there, the fault-injection ones included
# (they preload the sanitizer's runtime before their fault library). Not part of test.sh:
# the build takes about twice as long as the ordinary one.
# Usage: scripts/sanitize.sh [CTEST ARGS...]   e.g. scripts/sanitize.sh -R 'SideFiles|Planted'
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
"$root/scripts/deps.sh"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLAN_SANITIZE=ON
fi
cmake --build "$build" -j "$(nproc)"
# Leaks are checked too; Qt's and the font libraries' own caches, kept until exit, are not ours.
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORMTHEME=
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
