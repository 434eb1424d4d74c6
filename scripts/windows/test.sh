#!/usr/bin/env bash
# Builds vorlan-cli.exe and the core tests for Windows and runs them under Wine; then the
# same commands through the Windows and the Linux program, which must write the same files
# and say the same (tests/windows/same_as_linux.sh). When the cross-built Qt is in the cache
# (scripts/windows/qt.sh), also the editor and its widget tests, run under Wine on the
# offscreen platform. The libraries are cross-built first when the cache has none
# (scripts/windows/deps.sh, a few minutes once).
#   scripts/windows/test.sh [--with-qt] [LINUX_BUILD_DIR] [ctest arguments...]
# --with-qt builds the Windows Qt first when the cache has none (45 processor-minutes once).
# VORLAN_WIN_BUILD_DIR names the build folder (build-windows beside build/).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build_qt=""
if [ "${1:-}" = "--with-qt" ]; then
    build_qt=1
    shift
fi
linux_build="${1:-$root/build}"
shift || true
build="${VORLAN_WIN_BUILD_DIR:-$root/build-windows}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "wine64 is not installed: run scripts/deps.sh --tests"; exit 2; }
what=tests
source "$root/scripts/windows/common.sh"

started=$SECONDS
libs="$("$root/scripts/windows/deps.sh" | tail -1)"
qt=""
if [ -n "$build_qt" ]; then
    qt="$("$root/scripts/windows/qt.sh" | tail -1)"
else
    qt="$(VORLAN_WIN_CACHED_ONLY=1 "$root/scripts/windows/qt.sh" 2>/dev/null | tail -1)" || qt=""
fi
linux_cli=()
[ -x "$linux_build/bin/vorlan-cli" ] && linux_cli=(-DVORLAN_LINUX_CLI="$linux_build/bin/vorlan-cli")
configure_build "$build" "$libs" "$qt" -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" "${linux_cli[@]}"
targets=(vorlan-cli core_tests)
# With Qt, everything: the editor, its DLLs and the widget tests too.
[ -n "$qt" ] && targets=(all)
nice -n 10 cmake --build "$build" --parallel "${VORLAN_WIN_JOBS:-$(nproc)}" -- "${targets[@]}"
[ -n "$qt" ] || echo "No Windows Qt in the cache: the editor's widget tests are left out (--with-qt builds it)"

# A Wine folder of the build's own, made once (its first start takes a while).
# No .NET or HTML engine (nothing asks to download them), no menu entries.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1 || true
fi
echo "Windows build ready in $((SECONDS - started)) s; running its tests under Wine"
cd "$build"
status=0
# Now and then Wine fails to start a program at all under load (no output, 0 s): such a test
# runs once more; one that fails twice fails.
ctest --output-on-failure -j "$(nproc)" --repeat until-pass:2 "$@" || status=$?
"$wine"server -k 2>/dev/null || true
exit "$status"
