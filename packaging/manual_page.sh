#!/usr/bin/env bash
# Writes a program's manual page, gzip'd, from its --help (help2man), as the
# installed program would print them: no display, no lists of the player's own, and the
# build tree's data folder named by its installed path (the page must not name the build).
# Usage: manual_page.sh PROGRAM VERSION "WHAT IT DOES" INSTALLED_DATA_DIR CHANGELOG OUT.1.gz
set -euo pipefail
program="$1" version="$2" what="$3" installed="$4" changelog="$5" out="$6"
name="$(basename "$program")"
built_data="$(cd "$(dirname "$program")/data" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/bin" "$tmp/home"

# help2man names the page after the program it runs: a stand-in of the same name.
cat >"$tmp/bin/$name" <<WRAPPER
#!/usr/bin/env bash
set -o pipefail
env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C.UTF-8 HOME="$tmp/home" XDG_DATA_HOME= "$program" "\$@" |
    sed -e "s|$built_data|$installed|g" -e "s|$tmp/home|~|g"
WRAPPER
chmod +x "$tmp/bin/$name"

# The page's date is the release's (the changelog's first entry), so a rebuild makes the
# same bytes.
date="$(sed -n 's/^ -- .*>  //p' "$changelog" | head -1)"
export SOURCE_DATE_EPOCH="$(date -d "$date" +%s)"
# The help texts are half Chinese: read and written as UTF-8.
export LC_ALL=C.UTF-8
help2man --no-info --no-discard-stderr --locale=C.UTF-8 --section=1 --name="$what" \
    --version-string="$version" \
    --output="$tmp/$name.1" "$tmp/bin/$name"
if grep -qF "$tmp" "$tmp/$name.1"; then
    echo "manual_page.sh: the page of $name names a temporary folder" >&2
    exit 1
fi
gzip -9n -c "$tmp/$name.1" >"$out"
