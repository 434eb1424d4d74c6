#!/usr/bin/env bash
# Checks the core as a Windows port would meet it: every src/core file outside core/io (the
# one folder that speaks to the operating system) compiles, syntax only, with the Windows
# cross compiler. The libraries' own headers are taken from this system.
# Needs Debian's g++-mingw-w64-x86-64-posix (scripts/deps.sh --tests installs it). The
# io folder itself is built for Windows by scripts/windows/test.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cxx=x86_64-w64-mingw32-g++-posix
command -v "$cxx" >/dev/null || { echo "$cxx is not installed (apt-get install g++-mingw-w64-x86-64-posix)"; exit 2; }
headers="$(mktemp -d)"
trap 'rm -rf "$headers"' EXIT
for h in csv.h libdeflate.h sodium.h sodium nlohmann cdio; do
    ln -s "/usr/include/$h" "$headers/$h"
done
failed=0
while IFS= read -r -d '' file; do
    if ! "$cxx" -std=c++20 -fsyntax-only -I"$root/src/core" -I"$headers" "$file" 2>"$headers/log"; then
        echo "FAIL ${file#$root/}"
        grep -m 3 "error" "$headers/log" | sed 's/^/    /'
        failed=1
    fi
done < <(find "$root/src/core" -name '*.cpp' -not -path "$root/src/core/io/*" -print0 | sort -z)
[ "$failed" -eq 0 ] && echo "every core file outside core/io compiles for Windows"
exit "$failed"
