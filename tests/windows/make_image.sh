#!/usr/bin/env bash
# Makes a disc image as the game's discs are laid out, by a program that is not ours: the
# executable as SLKV_618.04 at sector 362, after SYSTEM.CNF and a padding file whose length is
# found by trying (each maker places files its own way).
#   make_image.sh IMAGE EXECUTABLE MAKER [MAKER's options...]   e.g. genisoimage -quiet -V VORLAN
set -uo pipefail
image="$1" exe="$2"
shift 2
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
pad=100000
for _ in 1 2 3 4; do
    rm -rf "$root/files" && mkdir -p "$root/files"
    printf 'BOOT2 = cdrom0:\\SLKV_618.04;1\r\nVER = 1.00\r\n' >"$root/files/SYSTEM.CNF"
    cp "$exe" "$root/files/SLKV_618.04"
    head -c "$pad" /dev/zero | tr '\0' 'Z' >"$root/files/A_PAD.BIN"
    rm -f "$image"
    "$@" -o "$image" "$root/files" >/dev/null 2>&1 || exit 1
    at="$(isoinfo -l -i "$image" 2>/dev/null | awk '/SLKV_618.04/ { gsub(/\[/, ""); print $(NF-2); exit }')"
    [ "$at" = 362 ] && exit 0
    pad=$((pad + (362 - at) * 2048))
done
exit 1
