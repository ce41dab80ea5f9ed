#!/usr/bin/env bash
# Draws the program icon, app/resources/program-icon.png: a black radiation
# trefoil on a yellow disc, 32 x 32, at most 16 colours in a 4-bit palette
# with one fully transparent entry, like a classic 16-colour icon whose
# mask is a plain on/off bit. Drawn 8 times larger and scaled down, so the
# edges keep a few anti-aliasing shades within the 16 colours.
set -euo pipefail
cd "$(dirname "$0")/.."
out=app/resources/program-icon.png

scale=8
size=$((32 * scale))
c=$((16 * scale)) r=$((15 * scale)) rim=$((15 * scale - 2 * scale))
blade_in=$((4 * scale)) blade_out=$((12 * scale)) hub=$((5 * scale / 2))
# One blade: a ring sector from blade_in to blade_out, 60 degrees wide.
blade() {
    awk -v c=$c -v ri=$blade_in -v ro=$blade_out -v mid="$1" 'BEGIN {
        pi = atan2(0, -1); a0 = (mid - 30) * pi / 180; a1 = (mid + 30) * pi / 180
        printf "path \"M %.2f,%.2f L %.2f,%.2f A %d,%d 0 0,1 %.2f,%.2f L %.2f,%.2f A %d,%d 0 0,0 %.2f,%.2f Z\"",
            c + ri * cos(a0), c + ri * sin(a0), c + ro * cos(a0), c + ro * sin(a0), ro, ro,
            c + ro * cos(a1), c + ro * sin(a1), c + ri * cos(a1), c + ri * sin(a1), ri, ri,
            c + ri * cos(a0), c + ri * sin(a0) }'
}

convert -size ${size}x${size} xc:none \
    -fill '#6b5500' -draw "circle $c,$c $((c + r)),$c" \
    -fill '#f5c400' -draw "circle $c,$c $((c + rim)),$c" \
    -fill '#202020' \
    -draw "$(blade -90)" -draw "$(blade 30)" -draw "$(blade 150)" \
    -draw "circle $c,$c $((c + hub)),$c" \
    -filter Box -resize 32x32 \
    -channel A -threshold 50% +channel \
    -background none -colors 15 \
    -define png:bit-depth=4 "PNG8:$out"

identify -format '%f: %m %wx%h, %k colours\n' "$out"
[ "$(identify -format '%wx%h' "$out")" = 32x32 ] || { echo "not 32 x 32" >&2; exit 1; }
[ "$(identify -format '%k' "$out")" -le 16 ] || { echo "more than 16 colours" >&2; exit 1; }
[ "$(identify -format '%[opaque]' "$out")" = false ] || { echo "no transparent corners" >&2; exit 1; }
