#!/usr/bin/env bash
# Fails, naming each file, when a C++ file under src/ or tests/ is not as clang-format
# (.clang-format at the root) would write it. `clang-format -i FILE` mends one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
find src tests \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    xargs -0 clang-format --dry-run -Werror
