#!/usr/bin/env bash
# Builds the project and runs every test (widget tests without a display).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh" --tests
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORMTHEME=
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
