#!/usr/bin/env bash
# Draws the 32 x 32 window icon, data/tallyroll.png: a beige calculator body with a paper tape,
# a black display band and a keypad. Needs ImageMagick (scripts/install-deps.sh installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
convert -size 32x32 xc:none \
  -fill '#B8B29C' -stroke '#6E6A5C' -draw 'roundrectangle 1,1 30,30 5,5' \
  -stroke none -fill white -draw 'rectangle 5,4 26,11' \
  -fill '#C0FFC0' -draw 'rectangle 6,6 25,7' \
  -fill black -draw 'rectangle 5,13 26,17' \
  -fill '#80FF80' -draw 'rectangle 17,14 24,16' \
  -fill '#FFFFE1' -draw 'rectangle 6,20 9,22' -draw 'rectangle 12,20 15,22' -draw 'rectangle 18,20 21,22' \
  -draw 'rectangle 6,25 9,27' -draw 'rectangle 12,25 15,27' -draw 'rectangle 18,25 21,27' \
  -fill '#C0C0C0' -draw 'rectangle 23,20 26,27' \
  -define png:exclude-chunks=date,time -strip data/tallyroll.png
