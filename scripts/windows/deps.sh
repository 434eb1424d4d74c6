#!/usr/bin/env bash
# Cross-builds the libraries the Windows programs link from Debian's source packages of the
# versions this machine's Linux build uses, with Debian's mingw-w64 compiler, into a prefix
# under the user's cache folder. Built once per set of versions and per version of this
# script; later runs print the prefix at once.
#
#   scripts/windows/deps.sh          libsodium, libcsv, libdeflate, libcdio (libudf, libiso9660),
#                                    and the header-only CLI11, nlohmann/json, GoogleTest sources
#   scripts/windows/deps.sh --qt     Qt's base (Core, Gui, Widgets, the windows platform plugin)
#
# The last line printed is the prefix. The sources come through apt, with a sources list of
# our own in a private apt folder: its archive is the one this machine's apt configuration
# names, so apt checks the release signature and every file's checksum as it does for
# binary packages. VORLAN_WIN_JOBS sets the parallel jobs (2); every build runs at nice 19.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/vorlan"
triple=x86_64-w64-mingw32
jobs="${VORLAN_WIN_JOBS:-2}"
what=libs
[ "${1:-}" = "--qt" ] && what=qt

say() { echo "[windows deps] $*" >&2; }

# Source package and version of an installed binary package: the same code as on Linux.
source_of() {
    dpkg-query -W -f='${source:Package}=${source:Version}' "$1" 2>/dev/null || {
        say "$1 is not installed: run scripts/deps.sh first"
        exit 1
    }
}

if [ "$what" = qt ]; then
    sources=("$(source_of qt6-base-dev)")
    patches=("$here"/qtbase-*.patch)
else
    sources=("$(source_of libsodium-dev)" "$(source_of libcsv-dev)"
             "$(source_of libdeflate-dev)" "$(source_of libudf-dev)")
    patches=()
fi
key="$( { printf '%s\n' "${sources[@]}"; cat "$0" "$here/toolchain.cmake" "${patches[@]}";
          "$triple-g++-posix" --version | head -1; } | sha256sum | cut -c1-16)"
prefix="$cache/windows-$what-$key"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
exec 9>"$cache/windows-$what.lock"
say "waiting for another build of the same prefix" && flock 9 && say "building $what into $prefix"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# --- the sources, through a private apt folder ---------------------------------------------

# Every archive entry of this machine's apt configuration for its own release, as deb-src
# lines with the same keyring. Both formats: one-line sources.list and deb822 .sources.
codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
archive_lines() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk '$1 == "deb" { $1 = "deb-src"; print }' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk 'function flush() {
                 if (types ~ /(^| )deb( |$)/ && enabled != "no")
                     for (u in uris) for (s in suites)
                         printf "deb-src %s %s %s %s\n", (key ? "[signed-by=" key "]" : ""), uris[u], suites[s], comps
                 delete uris; delete suites; types = ""; key = ""; comps = ""; enabled = ""
             }
             /^[ \t]*#/ { next }
             /^[ \t]*$/ { flush(); next }
             { field = tolower($1); sub(/:$/, "", field); $1 = ""; sub(/^ +/, "") }
             field == "types" { types = $0 }
             field == "uris" { n = split($0, a, " "); for (i = 1; i <= n; i++) uris[a[i]] = a[i] }
             field == "suites" { n = split($0, a, " "); for (i = 1; i <= n; i++) suites[a[i]] = a[i] }
             field == "components" { comps = $0 }
             field == "signed-by" { key = $0 }
             field == "enabled" { enabled = tolower($0) }
             END { flush() }' "$f"
    done
}
apt_dir="$cache/windows-apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/parts" "$apt_dir/src"
# Only this release's suites (bookworm, bookworm-updates, bookworm-security): another
# repository the machine may name serves no sources of these packages.
archive_lines | awk -v c="$codename" '{ for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) {
        if ($(i + 1) == c || index($(i + 1), c "-") == 1) print; break } }' \
    | sort -u >"$apt_dir/sources.list"
[ -s "$apt_dir/sources.list" ] || { say "no $codename archive in this machine's apt configuration"; exit 1; }
: >"$apt_dir/status"
apt_opts=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/parts"
          -o Dir::State::Lists="$apt_dir/lists" -o Dir::State::status="$apt_dir/status"
          -o Dir::Cache::archives="$apt_dir/archives" -o Dir::Cache::pkgcache=""
          -o Dir::Cache::srcpkgcache="" -o APT::Get::Only-Source=true)
# As root apt would drop to its own user, who cannot enter a private cache folder.
[ "$(id -u)" -eq 0 ] && apt_opts+=(-o APT::Sandbox::User=root)
fetched=0
fetch() {  # $1 = package=version; prints the folder the source was unpacked in
    local name="${1%%=*}" version="${1#*=}"
    version="${version#*:}"  # no epoch in file names
    local dsc="$apt_dir/src/${name}_${version}.dsc"
    if [ ! -f "$dsc.fetched" ]; then
        if [ "$fetched" -eq 0 ]; then
            apt-get "${apt_opts[@]}" -qq update >&2
            fetched=1
        fi
        # libcdio's Debian changes are listed but no longer served: what was fetched is still
        # checked, and its upstream tarball is used as it is.
        (cd "$apt_dir/src" && apt-get "${apt_opts[@]}" -qq --download-only source "$1" >&2) ||
            say "$1: not every file of the source package could be fetched"
        [ -f "$dsc" ] && ls "$apt_dir/src/${name}_${version%%-*}".orig.tar.* >/dev/null ||
            { say "$1: no source fetched"; exit 1; }
        touch "$dsc.fetched"
    fi
    local out="$work/$name"
    rm -rf "$out"
    if ! dpkg-source --no-check -x "$dsc" "$out" >&2; then
        say "$1: unpacking its upstream tarball alone"
        rm -rf "$out" && mkdir -p "$out"
        tar -xf "$(ls "$apt_dir/src/${name}_${version%%-*}".orig.tar.* | head -1)" -C "$out" \
            --strip-components=1
    fi
    echo "$out"
}

work="$(mktemp -d "$cache/windows-build.XXXXXX")"
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix"
export CC="$triple-gcc-posix" CXX="$triple-g++-posix" AR="$triple-gcc-ar-posix"
export RANLIB="$triple-gcc-ranlib-posix" STRIP="$triple-strip" RC="$triple-windres"
build() { nice -n 19 "$@"; }

build_qt() {
    local src
    src="$(fetch "${sources[0]}")"
    local p
    for p in "${patches[@]}"; do
        patch -d "$src" -p1 -s <"$p"
    done
    mkdir -p "$work/qt-build"
    cd "$work/qt-build"
    # Core, Gui, Widgets (and Concurrent, which the editor uses) with the windows platform
    # plugin; the image and font libraries Qt bundles, so the programs need no other DLL.
    # Debian's host tools (moc, rcc, uic) of the same version stand in for the target's.
    build "$src/configure" -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr \
        -release -shared -no-opengl -no-dbus -no-feature-vulkan -no-feature-direct2d \
        -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -no-icu \
        -no-feature-sql -no-feature-network -no-feature-testlib -no-feature-printsupport \
        -no-feature-xml -nomake examples -nomake tests -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
    build cmake --build . --parallel "$jobs" >&2
    cmake --install . >&2
}

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

if [ "$what" = qt ]; then
    build_qt
else
    build_libs
fi
printf '%s\n' "${sources[@]}" >"$prefix/.complete"
say "done"
echo "$prefix"
