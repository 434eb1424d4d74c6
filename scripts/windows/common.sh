# What the scripts that cross-build for Windows share (sourced, not run): the cache, the
# compiler, the prefix each build makes once, and the Debian source packages, fetched through
# apt with a sources list of our own in a private apt folder. Its archive is the one this
# machine's apt configuration names (no address is written here), so apt checks the release
# signature and every file's checksum as it does for binary packages.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/vorlan"
triple=x86_64-w64-mingw32
jobs="${VORLAN_WIN_JOBS:-2}"

say() { echo "[windows $what] $*" >&2; }

# Source package and version of an installed binary package: the same code as on Linux.
source_of() {
    dpkg-query -W -f='${source:Package}=${source:Version}' "$1" 2>/dev/null || {
        say "$1 is not installed: run scripts/deps.sh first"
        exit 1
    }
}

# The prefix for `$what` keyed by the sources, the files that decide the build and the
# compiler; prints it and exits when it was built before. Otherwise takes the lock of its
# kind, removes what an earlier build of that kind left (an unfinished prefix, or one for
# other versions) and sets $prefix and $work for the build.
start_prefix() {  # then the files that decide the build
    local key
    key="$( { printf '%s\n' "${sources[@]}"; cat "$@" "$here/toolchain.cmake";
              "$triple-g++-posix" --version | head -1; } | sha256sum | cut -c1-16)"
    prefix="$cache/windows-$what-$key"
    if [ -f "$prefix/.complete" ]; then
        echo "$prefix"
        exit 0
    fi
    # Asked only whether it is built: it is not (exit status 3, nothing printed).
    [ -n "${VORLAN_WIN_CACHED_ONLY:-}" ] && exit 3
    mkdir -p "$cache"
    exec 9>"$cache/windows-$what.lock"
    flock -n 9 || { say "waiting for another build of $what" && flock 9; }
    if [ -f "$prefix/.complete" ]; then
        echo "$prefix"
        exit 0
    fi
    say "building into $prefix (once; later runs use it)"
    # The build folder is kept until the build succeeds: a build stopped half-way (the
    # machine's session ended) goes on from where it was the next time.
    work="$cache/windows-build-$what-$key"
    local old
    # (windows-build.* are the build folders of this script's first version.)
    for old in "$cache/windows-$what-"* "$cache/windows-build-$what-"* "$cache/windows-build."*; do
        [ "$old" = "$prefix" ] || [ "$old" = "$work" ] || rm -rf "$old"
    done
    mkdir -p "$prefix" "$work"
    export CC="$triple-gcc-posix" CXX="$triple-g++-posix" AR="$triple-gcc-ar-posix"
    export RANLIB="$triple-gcc-ranlib-posix" STRIP="$triple-strip" RC="$triple-windres"
}

finish_prefix() {
    rm -rf "$work"
    printf '%s\n' "${sources[@]}" >"$prefix/.complete"
    say "done"
    echo "$prefix"
}

# Every build step at the lowest priority: the machine is shared.
build() { nice -n 19 "$@"; }

# Every archive entry of this machine's apt configuration for its own release, as deb-src
# lines with the same keyring. Both formats: one-line sources.list and deb822 .sources.
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
# The private apt folder, its sources list made anew from the machine's configuration.
apt_setup() {
    codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
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
    apt-get "${apt_opts[@]}" -qq update >&2
}

fetch() {  # $1 = package=version; prints the folder the source was unpacked in
    local name="${1%%=*}" version="${1#*=}"
    version="${version#*:}"  # no epoch in file names
    local dsc="$apt_dir/src/${name}_${version}.dsc"
    if [ ! -f "$dsc.fetched" ]; then
        # One fetch at a time: the libraries and Qt may be built at once.
        exec 8>"$cache/windows-apt.lock"
        flock 8
        apt_setup
        # libcdio's Debian changes are listed but no longer served: what was fetched is still
        # checked, and its upstream tarball is used as it is.
        (cd "$apt_dir/src" && apt-get "${apt_opts[@]}" -qq --download-only source "$1" >&2) ||
            say "$1: not every file of the source package could be fetched"
        [ -f "$dsc" ] && ls "$apt_dir/src/${name}_${version%%-*}".orig.tar.* >/dev/null ||
            { say "$1: no source fetched"; exit 1; }
        touch "$dsc.fetched"
        flock -u 8
    fi
    local out="$work/$name"
    rm -rf "$out"
    # apt checked every file against the signed release already.
    if ! dpkg-source --no-check -x "$dsc" "$out" >&2; then
        say "$1: unpacking its upstream tarball alone"
        rm -rf "$out" && mkdir -p "$out"
        tar -xf "$(ls "$apt_dir/src/${name}_${version%%-*}".orig.tar.* | head -1)" -C "$out" \
            --strip-components=1
    fi
    echo "$out"
}


# Configures the Windows build in $1 with the libraries' prefix $2 and, when $3 is not empty,
# Qt's prefix $3 (the editor and its widget tests); further arguments go to cmake.
configure_build() {
    local build="$1" libs="$2" qt="$3"
    shift 3
    local with_qt=(-DVORLAN_WIN_PREFIX="$libs" -UCMAKE_PREFIX_PATH -UQt6_DIR)
    [ -n "$qt" ] && with_qt=(-DVORLAN_WIN_PREFIX="$libs;$qt" -DCMAKE_PREFIX_PATH="$qt"
                              -DQT_HOST_PATH=/usr
                              -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    cmake -S "$here/../.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" "${with_qt[@]}" "$@" >/dev/null
}
