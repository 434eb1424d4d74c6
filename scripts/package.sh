#!/usr/bin/env bash
# Makes the release package: a Release build of the two programs in build-release/ (or
# $VORLAN_RELEASE_BUILD_DIR), then `cpack -G DEB` there. Prints the path of the .deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_RELEASE_BUILD_DIR:-$root/build-release}"
"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target vorlan-editor vorlan-cli
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
ls "$build"/package/vorlan-editor_*.deb
