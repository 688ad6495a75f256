#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program icon of the desktop's icon theme (hicolor) at the usual sizes
# from its scalable picture; the PNGs are kept in the tree so that building needs
# no SVG renderer. Run again after changing hicolor/scalable/apps/quillet.svg.
set -euo pipefail
cd "$(dirname "$0")/hicolor"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  # Drawn four times larger than needed, then reduced: smoother edges at small sizes.
  convert -background none -density "$((96 * size / 64 * 4))" scalable/apps/quillet.svg \
    -resize "${size}x${size}" -strip "PNG32:${size}x${size}/apps/quillet.png"
done
