#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the editor need.
# Does nothing when every package is already present.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config python3 clang-format
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev
    libcli11-dev nlohmann-json3-dev zlib1g-dev libdeflate-dev libcsv-dev libsodium-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-microhei fonts-wqy-zenhei
    xvfb xauth imagemagick xorriso genisoimage libiso9660-dev libudf-dev libcdio-dev
    dpkg-dev file help2man
)

# The tests also open CSV files in a real spreadsheet program and check the package with
# Debian's own checker (scripts/test.sh passes --tests).
if [ "${1:-}" = "--tests" ]; then
    packages+=(libreoffice-calc-nogui lintian)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
