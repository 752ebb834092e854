#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG into the hicolor tree under packaging/icons; the 16 to
# 64 pixel ones are built into the program as its window icon. The PNGs are committed, so building
# needs none of this; regenerating needs rsvg-convert (package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
svg=packaging/icons/hicolor/scalable/apps/tallyroll.svg
for n in 16 24 32 48 64 128 256; do
  mkdir -p "packaging/icons/hicolor/${n}x${n}/apps"
  rsvg-convert -w "$n" -h "$n" "$svg" -o "packaging/icons/hicolor/${n}x${n}/apps/tallyroll.png"
done
