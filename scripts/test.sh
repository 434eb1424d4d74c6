#!/usr/bin/env bash
# Builds the project and runs every test (widget tests without a display).
# --quick leaves out the tests labelled "slow" (fault matrices, killed and racing processes,
# the package, the spreadsheet program): `ctest -L slow` in build/ runs just those.
# Other arguments go to ctest.
set -euo pipefail
quick=()
if [ "${1:-}" = "--quick" ]; then
    quick=(-LE slow)
    shift
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh" --tests
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORMTHEME=
cd "$build"
ctest --output-on-failure -j "$(nproc)" "${quick[@]}" "$@"
