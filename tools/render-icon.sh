#!/usr/bin/env bash
# Renders the program icon's PNG sizes from its SVG into the hicolor tree
# under packaging/icons (needs rsvg-convert from librsvg2-bin). Run it after
# changing the SVG, and commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons/hicolor"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" scalable/apps/varnolix.svg -o "${size}x${size}/apps/varnolix.png"
done
