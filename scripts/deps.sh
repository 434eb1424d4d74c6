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

# The tests also open CSV files in a real spreadsheet program, check the package with
# Debian's own checker, and build and run the Windows programs: Debian's mingw-w64 compiler,
# Wine, and what scripts/windows/deps.sh needs to cross-build the libraries from their
# Debian sources (scripts/test.sh passes --tests); the Windows zip and its smoke test under a
# window manager need zip, xdotool and openbox.
if [ "${1:-}" = "--tests" ]; then
    packages+=(libreoffice-calc-nogui lintian
               g++-mingw-w64-x86-64-posix wine64 libz-mingw-w64-dev autoconf automake libtool
               make patch xz-utils bzip2
               zip unzip xdotool openbox)
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
# Another install on the machine holds apt's lock: wait for it (up to ten minutes).
apt_wait=(-o DPkg::Lock::Timeout=600)
for attempt in 1 2 3 4 5 6 7 8 9 10; do
    "${sudo_cmd[@]}" apt-get "${apt_wait[@]}" update -qq && break
    [ "$attempt" -eq 10 ] && exit 1
    sleep 30
done
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get "${apt_wait[@]}" install -y -qq \
    --no-install-recommends "${missing[@]}"
