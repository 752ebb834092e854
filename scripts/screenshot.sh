#!/usr/bin/env bash
# Starts build/tallyroll under its own Xvfb, keys a short tape and writes docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
display=:${SCREENSHOT_DISPLAY:-91}
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
build/tallyroll >/dev/null 2>&1 &
app=$!
for _ in $(seq 100); do win=$(xdotool search --name '^Calculator 1.5$' 2>/dev/null | head -1) && [ -n "$win" ] && break; sleep 0.1; done
xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
xdotool type --delay 40 '1250.5+'; xdotool type --delay 40 '320*'; xdotool type --delay 40 '1.08*'
xdotool type --delay 40 '45.75-'; xdotool type --delay 40 '12/'; xdotool type --delay 40 's'
xdotool type --delay 40 '99.95+'; xdotool type --delay 40 's'; xdotool type --delay 40 '12.5'
sleep 0.5
mkdir -p "$(dirname "$out")"
# import can wait forever on a window it cannot read; the whole screen is the fallback.
timeout 10 import -window "$win" -frame "$out" 2>/dev/null || timeout 10 import -window root "$out"
echo "wrote $out"
