#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the program icon at the sizes the program uses (quillet.png for windows,
# quillet-large.png for the about box) and the about box's information sign
# (info.png): ImageMagick's SVG renderer loses the letter's face and the white
# fills, so the pictures of quillet.svg and info.svg are drawn directly.
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
convert -size 48x48 xc:none -fill '#2d5ea8' -stroke '#1c3f73' -strokewidth 2 -draw 'circle 24,24 24,3' \
  -stroke none -fill white -draw 'circle 24,13.5 24,10.2' \
  -draw 'polygon 19.8,21 26.4,21 26.4,36.6 29.4,36.6 29.4,39.9 19.2,39.9 19.2,36.6 22.2,36.6 22.2,24.3 19.8,24.3' \
  info.png
