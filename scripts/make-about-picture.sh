#!/usr/bin/env bash
# Draws the about box's picture, app/resources/about.gif: a radiation
# trefoil and the detector family's name on a soft gradient, 216 x 95,
# saved as GIF89a with a full 256-colour global palette. The gradient and
# the anti-aliased edges give the image more than 128 colours, so the
# quantised palette fills all 256 entries.
set -euo pipefail
cd "$(dirname "$0")/.."
out=app/resources/about.gif
font=$(fc-match -f '%{file}' 'Liberation Sans:bold')

cx=48 cy=47 r=40 hub=7 gap=12
# One blade: a ring sector from the gap to the rim, 60 degrees wide.
blade() {
    awk -v cx=$cx -v cy=$cy -v r=$r -v g=$gap -v mid="$1" 'BEGIN {
        pi = atan2(0, -1); a0 = (mid - 30) * pi / 180; a1 = (mid + 30) * pi / 180
        printf "path \"M %.2f,%.2f L %.2f,%.2f A %d,%d 0 0,1 %.2f,%.2f L %.2f,%.2f A %d,%d 0 0,0 %.2f,%.2f Z\"",
            cx + g * cos(a0), cy + g * sin(a0), cx + r * cos(a0), cy + r * sin(a0), r, r,
            cx + r * cos(a1), cy + r * sin(a1), cx + g * cos(a1), cy + g * sin(a1), g, g,
            cx + g * cos(a0), cy + g * sin(a0) }'
}

convert -size 216x95 gradient:'#fdf6d8-#c9d7ea' \
    -fill '#f5c400' -stroke '#6b5500' -strokewidth 1 \
    -draw "circle $cx,$cy $((cx + r + 4)),$cy" \
    -fill '#202020' -stroke none \
    -draw "$(blade -90)" -draw "$(blade 30)" -draw "$(blade 150)" \
    -draw "circle $cx,$cy $((cx + hub)),$cy" \
    -font "$font" -pointsize 26 -fill '#1d3b6e' -annotate +98+45 'ОРНЕТ-5' \
    -font "$font" -pointsize 13 -fill '#3a4a5e' -annotate +100+68 'мощность дозы' \
    -dither FloydSteinberg -colors 256 -define gif:version=89a "GIF:$out"

identify -format '%f: %m %wx%h, %k colours\n' "$out"
[ "$(head -c 6 "$out")" = GIF89a ] || { echo "not GIF89a" >&2; exit 1; }
packed=$(od -An -tu1 -j10 -N1 "$out" | tr -d ' ')
[ $((packed & 0x87)) -eq $((0x87)) ] || { echo "no 256-entry global palette" >&2; exit 1; }
