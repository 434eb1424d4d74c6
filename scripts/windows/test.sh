#!/usr/bin/env bash
# Builds vorlan-cli.exe and the core tests for Windows and runs them under Wine; then the
# same commands through the Windows and the Linux program, which must write the same files
# and say the same (tests/windows/same_as_linux.sh). The libraries are cross-built first
# when the cache has none (scripts/windows/deps.sh, a few minutes once).
#   scripts/windows/test.sh [LINUX_BUILD_DIR] [ctest arguments...]
# VORLAN_WIN_BUILD_DIR names the build folder (build-windows beside build/).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
linux_build="${1:-$root/build}"
shift || true
build="${VORLAN_WIN_BUILD_DIR:-$root/build-windows}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "wine64 is not installed: run scripts/deps.sh --tests"; exit 2; }

started=$SECONDS
prefix="$("$root/scripts/windows/deps.sh" | tail -1)"
linux_cli=()
[ -x "$linux_build/bin/vorlan-cli" ] && linux_cli=(-DVORLAN_LINUX_CLI="$linux_build/bin/vorlan-cli")
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/toolchain.cmake" \
    -DVORLAN_WIN_PREFIX="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
    "${linux_cli[@]}" >/dev/null
nice -n 10 cmake --build "$build" --parallel "${VORLAN_WIN_JOBS:-$(nproc)}" -- vorlan-cli core_tests

# A Wine folder of the build's own, made once (its first start takes a while).
# No .NET or HTML engine (nothing asks to download them), no menu entries.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1 || true
fi
echo "Windows build ready in $((SECONDS - started)) s; running its tests under Wine"
cd "$build"
status=0
ctest --output-on-failure -j "$(nproc)" "$@" || status=$?
"$wine"server -k 2>/dev/null || true
exit "$status"
