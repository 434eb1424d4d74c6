#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy: bugprone and performance) over src/core, using
# the build's compile commands; any finding fails the run. Other folders as arguments:
# scripts/tidy.sh src/cli
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BUILD_DIR:-$root/build}"
[ -f "$build/compile_commands.json" ] || "$root/scripts/build.sh" >/dev/null
folders=("$@")
[ ${#folders[@]} -eq 0 ] && folders=(src/core)
files=()
for f in "${folders[@]}"; do
    while IFS= read -r -d '' file; do files+=("$file"); done \
        < <(find "$root/$f" -name '*.cpp' -not -name '*_win.cpp' -print0 | sort -z)
done
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
printf '%s\0' "${files[@]}" |
    xargs -0 -n 8 -P "$(nproc)" clang-tidy -p "$build" --quiet >"$log" 2>/dev/null || true
if grep -q "error:" "$log"; then
    grep -A3 "error:" "$log"
    echo "clang-tidy: $(grep -c "error:" "$log") findings in ${folders[*]}"
    exit 1
fi
echo "clang-tidy: no findings in ${folders[*]} (${#files[@]} files)"
