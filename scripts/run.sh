#!/usr/bin/env bash
# Builds and starts the editor. With no argument it makes a synthetic demo executable
# under the build folder and opens that; otherwise it opens the given executable.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VORLAN_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" vorlan-editor vorlan-cli
exe="${1:-}"
if [ -z "$exe" ]; then
    mkdir -p "$build/demo"
    exe="$build/demo/SLKV_618.04"
    # Made once; edits made in the editor stay in it across runs.
    [ -f "$exe" ] || "$build/bin/vorlan-cli" make-demo "$exe"
    echo "Demo executable: $exe"
fi
exec "$build/bin/vorlan-editor" "$exe"
