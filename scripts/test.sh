#!/usr/bin/env bash
# Builds the project and runs every test (widget tests without a display), then builds the
# command line and the core tests for Windows and runs them under Wine (scripts/windows/
# test.sh; the tests labelled "slow" there only with VORLAN_WINDOWS_SLOW=1).
# --quick leaves out the tests labelled "slow" (fault matrices, killed and racing processes,
# the package, the spreadsheet program) and the Windows part: `ctest -L slow` in build/ runs
# just those. Other arguments go to ctest.
set -euo pipefail
quick=()
if [ "${1:-}" = "--quick" ]; then
    quick=(-LE slow)
    shift
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh" --tests
VORLAN_WERROR=ON "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORMTHEME=
cd "$build"
ctest --output-on-failure -j "$(nproc)" "${quick[@]}" "$@"
if [ ${#quick[@]} -eq 0 ]; then
    windows=(-LE slow)
    [ "${VORLAN_WINDOWS_SLOW:-}" = 1 ] && windows=()
    "$root/scripts/windows/test.sh" "$build" "${windows[@]}"
fi
