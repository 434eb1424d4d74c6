#!/usr/bin/env bash
# Cross-builds Qt's base (Core, Gui, Widgets, Concurrent, the windows platform plugin and the
# Fusion style) for the Windows editor from Debian's source package of the version the Linux
# build uses, with Debian's host tools (moc, rcc, uic) of that version, into a prefix under
# the user's cache folder. About 45 processor-minutes, at the lowest priority: built once
# for a version, this script, its patch and the toolchain file. The last line printed is the
# prefix. VORLAN_WIN_JOBS sets the parallel jobs (2).
set -euo pipefail
what=qt
source "$(dirname "$0")/common.sh"
sources=("$(source_of qt6-base-dev)")
patches=("$here"/qtbase-*.patch)
start_prefix "$0" "${patches[@]}"

build_qt() {
    local src="$work/qt6-base"
    if [ -f "$work/qt-build/build.ninja" ] && [ -f "$src/.patched" ]; then
        say "going on with the build in $work"
        cd "$work/qt-build"
        build cmake --build . --parallel "$jobs" >&2
        cmake --install . >&2
        return
    fi
    rm -rf "$work/qt-build"
    src="$(fetch "${sources[0]}")"
    local p
    for p in "${patches[@]}"; do
        patch -d "$src" -p1 -s <"$p"
    done
    touch "$src/.patched"
    mkdir -p "$work/qt-build"
    cd "$work/qt-build"
    # Core, Gui, Widgets (and Concurrent, which the editor uses) with the windows platform
    # plugin; the image and font libraries Qt bundles, so the programs need no other DLL.
    # Debian's host tools (moc, rcc, uic) of the same version stand in for the target's.
    build "$src/configure" -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr \
        -release -shared -no-opengl -no-dbus -no-feature-vulkan -no-feature-direct2d \
        -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -no-icu \
        -no-feature-sql -no-feature-network -no-feature-printsupport \
        -no-feature-xml -nomake examples -nomake tests -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
    build cmake --build . --parallel "$jobs" >&2
    cmake --install . >&2
}

build_qt
finish_prefix
