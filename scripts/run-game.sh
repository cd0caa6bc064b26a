#!/usr/bin/env bash
# Starts Vrax in its game folder; with no display, under a private X server.
set -euo pipefail
cd "$(dirname "$0")/../build/game"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found, starting Vrax under Xvfb"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./Vrax
fi
exec ./Vrax
