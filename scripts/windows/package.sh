#!/usr/bin/env bash
# Makes dist/vorlan-<version>-windows-x64.zip: vorlan-editor.exe and vorlan-cli.exe with the
# Qt DLLs, the windows platform plugin, Qt's Chinese translations, the C++ runtime DLLs,
# data/ and a README.txt, to unpack anywhere and run from there. Then starts the editor from
# the unpacked folder under Wine and Xvfb on a demo executable, writes one field through its
# window, checks the bytes with vorlan-cli.exe and takes a screenshot (dist/*-smoke.png).
# Qt is cross-built first when the cache has none (scripts/windows/qt.sh: 45 processor-
# minutes). Not part of scripts/test.sh.
#   scripts/windows/package.sh [--no-smoke]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${VORLAN_WIN_BUILD_DIR:-$root/build-windows}"
wine=/usr/lib/wine/wine64
triple=x86_64-w64-mingw32
started=$SECONDS
what=package
source "$root/scripts/windows/common.sh"

# The compiler, Wine, the Debian sources' tools and what the smoke test drives the window with.
"$root/scripts/deps.sh" --tests
libs="$("$root/scripts/windows/deps.sh" | tail -1)"
qt="$("$root/scripts/windows/qt.sh" | tail -1)"
echo "libraries: $libs"
echo "Qt: $qt"
# The same build folder as scripts/windows/test.sh: what one built, the other uses.
configure_build "$build" "$libs" "$qt"
nice -n 10 cmake --build "$build" --parallel "${VORLAN_WIN_JOBS:-2}" -- vorlan-editor vorlan-cli
version="$(sed -n 's/^project(vorlan VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
name="vorlan-$version-windows-x64"
stage="$root/dist/$name"
rm -rf "$stage" "$root/dist/$name.zip"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"

cp "$build/bin/vorlan-editor.exe" "$build/bin/vorlan-cli.exe" "$stage/"
"$triple-strip" "$stage/vorlan-editor.exe" "$stage/vorlan-cli.exe"
cp -r "$root/data" "$stage/data"
# The guide names the region key's place in Windows' words (the editor says it so as well).
sed -i 's|~/\.config/vorlan/region\.key|%APPDATA%\\vorlan\\region.key|g' "$stage/data/使用说明.txt"
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Concurrent; do
    cp "$qt/bin/$dll.dll" "$stage/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
# The Fusion style is in Qt6Widgets; the native look of Windows 10 is a plugin.
[ -f "$qt/plugins/styles/qwindowsvistastyle.dll" ] && cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt's standard dialogs in Chinese: Debian's translations, the same file on every system.
cp /usr/share/qt6/translations/qtbase_zh_CN.qm /usr/share/qt6/translations/qt_zh_CN.qm \
    "$stage/translations/" 2>/dev/null || cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$stage/translations/"
# The C++ runtime the Qt DLLs and the editor share.
gcc_dir="$(dirname "$("$triple-g++-posix" -print-libgcc-file-name)")"
cp "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" "$stage/"
cp "/usr/$triple/lib/libwinpthread-1.dll" "$stage/"
# Debian's runtime DLLs carry their debugging sections; the players need none of them.
find "$stage" -name '*.dll' -exec "$triple-strip" --strip-unneeded {} +
# Qt finds its plugins and translations beside the program, wherever it was unpacked.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$stage/qt.conf"
sed "s/@VERSION@/$version/" "$root/packaging/windows/README.txt" | sed 's/$/\r/' >"$stage/README.txt"
(cd "$root/dist" && rm -f "$name.zip" && zip -qr -9 "$name.zip" "$name")
echo "made dist/$name.zip ($(du -k "$root/dist/$name.zip" | cut -f1) KiB, folder $(du -sk "$stage" | cut -f1) KiB) in $((SECONDS - started)) s"
(cd "$root/dist" && unzip -l "$name.zip" | awk 'NR > 3 && $4 != "" { print $1, $4 }' | grep -v '/data/.' || true)

[ "${1:-}" = "--no-smoke" ] && exit 0
"$root/scripts/windows/smoke.sh" "$root/dist/$name.zip"
