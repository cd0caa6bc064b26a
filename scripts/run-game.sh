#!/usr/bin/env bash
# Starts Vrax in its game folder; with no display, on a private X server
# whose number it prints, with the ways to look at what is drawn there.
set -euo pipefail
cd "$(dirname "$0")/../build/game"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./Vrax
fi

numberfile="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberfile" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -f "$numberfile"' EXIT
for _ in $(seq 100); do
  [ -s "$numberfile" ] && break
  sleep 0.1
done
if [ ! -s "$numberfile" ]; then
  echo "run: no display found, and the private X server (Xvfb) did not start" >&2
  exit 1
fi
display=":$(head -n1 "$numberfile")"
cat <<MESSAGE
run: no display found. Vrax is drawn on the private X server $display (Xvfb).
     To look at it, from another terminal:
       - press F12 in the game to save a picture into build/game/Screenshots/:
           DISPLAY=$display xdotool search --name '^Vrax\$' key F12
       - or watch it live: x11vnc -display $display (apt-get install x11vnc), then a VNC viewer on localhost:5900
     Escape in the game (DISPLAY=$display xdotool search --name '^Vrax\$' key Escape) or Ctrl+C here ends it.
MESSAGE
DISPLAY="$display" ./Vrax
