#!/usr/bin/env bash
# Cross-builds the libraries the Windows programs link (libsodium, libcsv, libdeflate, libcdio's
# libudf and libiso9660) from Debian's source packages of the versions this machine's Linux
# build uses, with Debian's mingw-w64 compiler (posix threads), into a prefix under the
# user's cache folder; the header-only CLI11 and nlohmann/json and GoogleTest's sources are
# copied from the Debian packages installed here. Built once for a set of versions, this
# script and the toolchain file; later runs print the prefix at once. The last line printed
# is the prefix. VORLAN_WIN_JOBS sets the parallel jobs (2).
set -euo pipefail
what=libs
source "$(dirname "$0")/common.sh"
sources=("$(source_of libsodium-dev)" "$(source_of libcsv-dev)" "$(source_of libdeflate-dev)"
         "$(source_of libudf-dev)")
start_prefix "$0"

autotools_build() {  # $1 = source folder, then configure's own options
    local src="$1"
    shift
    (cd "$src" && build ./configure --host="$triple" --prefix="$prefix" --disable-shared \
        --enable-static "$@" >&2 && build make -j"$jobs" >&2 && make install >&2)
}

build_libs() {
    local src
    # libsodium: Debian's tarball is the repository's, without a generated configure.
    src="$(fetch "${sources[0]}")"
    (cd "$src" && [ -x configure ] || autoreconf -fi >&2)
    autotools_build "$src" --disable-pie
    # libcsv: its config.sub (2011) knows no mingw-w64 host.
    src="$(fetch "${sources[1]}")"
    cp /usr/share/misc/config.sub /usr/share/misc/config.guess "$src/" 2>/dev/null ||
        cp /usr/share/automake-*/config.{sub,guess} "$src/"
    autotools_build "$src"
    # libdeflate: a plain Makefile that would take the archiver's name from the compiler's
    # (wrong for a -posix one), and names its static library the Visual C++ way for Windows.
    src="$(fetch "${sources[2]}")"
    (cd "$src" && build make -j"$jobs" CC="$CC" AR="$AR" libdeflatestatic.lib >&2 &&
        install -D -m 644 libdeflatestatic.lib "$prefix/lib/libdeflate.a" &&
        install -D -m 644 libdeflate.h "$prefix/include/libdeflate.h")
    # libcdio: the libraries only (the UDF reader, and the ISO 9660 reader the tests use).
    src="$(fetch "${sources[3]}")"
    autotools_build "$src" --disable-cxx --disable-cpp-progs --disable-example-progs \
        --without-cd-drive --without-cd-info --without-cd-read --without-cdda-player \
        --without-iso-info --without-iso-read --disable-joliet --disable-rock \
        --disable-cddb --disable-vcd-info --without-libiconv-prefix
    # The header-only libraries and GoogleTest's sources, from Debian's packages on this
    # machine (the Linux build's): the same code on both systems.
    mkdir -p "$prefix/include" "$prefix/src"
    cp -r /usr/include/CLI /usr/include/nlohmann "$prefix/include/"
    cp -r /usr/src/googletest "$prefix/src/googletest"
}

build_libs
finish_prefix
