#!/usr/bin/env bash
# Draws the program icon at the sizes the program uses (quillet.png for windows,
# quillet-large.png for the about box): ImageMagick's SVG renderer loses the
# letter's face and colour, so the picture of quillet.svg is drawn directly.
set -euo pipefail
cd "$(dirname "$0")"
draw() {
  local size=$1 out=$2
  local k
  k=$(awk "BEGIN { print $size / 16 }")
  convert -size "${size}x${size}" xc:none \
    -stroke '#555555' -strokewidth "$(awk "BEGIN { w = $k / 2; print (w < 1 ? 1 : w) }")" -fill white \
    -draw "polygon $(awk "BEGIN { k = $k; printf \"%g,%g %g,%g %g,%g %g,%g %g,%g\", 2.5*k, 1.5*k, 10.5*k, 1.5*k, 13.5*k, 4.5*k, 13.5*k, 14.5*k, 2.5*k, 14.5*k }")" \
    -stroke none -fill '#2d5ea8' -font DejaVu-Serif-Bold -pointsize "$(awk "BEGIN { print 10.5 * $k }")" \
    -gravity center -annotate "+0+$(awk "BEGIN { print int(1.2 * $k) }")" 'Ё' "$out"
}
draw 32 quillet.png
draw 100 quillet-large.png
