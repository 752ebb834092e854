#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG into the hicolor tree under packaging/icons, and the
# 256-pixel one as the window icon data/tallyroll.png. The PNGs are committed, so building needs
# none of this; regenerating needs rsvg-convert (package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
svg=packaging/icons/hicolor/scalable/apps/tallyroll.svg
for n in 16 24 32 48 64 128 256; do
  mkdir -p "packaging/icons/hicolor/${n}x${n}/apps"
  rsvg-convert -w "$n" -h "$n" "$svg" -o "packaging/icons/hicolor/${n}x${n}/apps/tallyroll.png"
done
cp packaging/icons/hicolor/256x256/apps/tallyroll.png data/tallyroll.png
