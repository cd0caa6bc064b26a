#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Vrax
# needs. Quick when everything is there: apt-get runs only for what is missing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config make
  googletest libgtest-dev libbenchmark-dev
  # benchmarks only: Boost.Graph's astar_search (header-only), the path finder's yardstick
  libboost-graph-dev
  # the game
  libsdl2-dev libsdl2-mixer-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  liblua5.1-0-dev libpugixml-dev
  # content tools
  libfreetype-dev fonts-liberation fonts-dejavu-core libpng-dev
  espeak-ng libvorbis-dev libmp3lame-dev vorbis-tools lame sox imagemagick
  # tests: a private X server driven like a person, low-port capability, network namespaces
  xvfb xauth xdotool libcap2-bin iproute2
  # tests: independent MDX parsers run by node
  nodejs
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The MDX checkers (two independent parsers from the npm registry) live in a
# folder of their own and are used only by the tests.
if ! command -v npm >/dev/null 2>&1; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends npm
fi
checkers="$(cd "$(dirname "$0")/.." && pwd)/tools/checkers"
if [ ! -d "$checkers/node_modules" ]; then
  echo "setup: installing the MDX checkers"
  (cd "$checkers" && npm ci --no-audit --no-fund --loglevel=error)
fi
