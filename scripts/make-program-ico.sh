#!/usr/bin/env bash
# Wraps the program icon (a 32 x 32 PNG with a 16-colour palette) into a
# Windows .ico file for the program file's resources:
#
#   make-program-ico.sh PNG ICO
#
# An icon directory may carry a PNG image as it is (Windows Vista and
# later, and Wine, read it), so no picture conversion is needed and the
# build depends on nothing beyond bash.
set -euo pipefail
png=$1
ico=$2

size=$(stat -c %s "$png")
# Bytes of a little-endian number, as printf escapes.
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
    $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

signature=$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')
[ "$signature" = 89504e470d0a1a0a ] || { echo "$png: not a PNG file" >&2; exit 1; }

{
    # Directory: reserved, type 1 (icon), one image.
    printf "$(le16 0)$(le16 1)$(le16 1)"
    # Entry: 32 x 32, 16 colours, reserved, 1 plane, 4 bits per pixel,
    # the image's size and its offset after the 6 + 16 header bytes.
    printf '\x20\x20\x10\x00'
    printf "$(le16 1)$(le16 4)$(le32 "$size")$(le32 22)"
    cat "$png"
} >"$ico.tmp"
mv "$ico.tmp" "$ico"
