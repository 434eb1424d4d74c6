#!/usr/bin/env bash
# Builds the project and runs every test (widget tests without a display), then builds the
# command line and the core tests for Windows and runs them under Wine (scripts/windows/
# test.sh; the tests labelled "slow" there only with VORLAN_WINDOWS_SLOW=1), and the editor's
# widget tests there too whenever the Windows Qt is in the cache.
# --quick leaves out the tests labelled "slow" (fault matrices, killed and racing processes,
# the package, the spreadsheet program) and the Windows part: `ctest -L slow` in build/ runs
# just those. --with-windows-qt cross-builds the Windows Qt first when the cache has none
# (45 processor-minutes once), so that the Windows widget tests run. Other arguments go to
# ctest.
set -euo pipefail
quick=()
windows_qt=()
while [ $# -gt 0 ]; do
    case "$1" in
        --quick) quick=(-LE slow) ;;
        --with-windows-qt) windows_qt=(--with-qt) ;;
        *) break ;;
    esac
    shift
done
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
    "$root/scripts/windows/test.sh" "${windows_qt[@]}" "$build" "${windows[@]}"
fi
