#!/usr/bin/env bash
# Installs the Debian packages Vrax needs, quickly when they are there
# already: apt-get runs only for what is missing.
#   scripts/setup.sh run    what building and running the game needs
#   scripts/setup.sh test   that, and what the tests and benchmarks need
set -euo pipefail

purpose="${1:-test}"

packages=(
  # build
  cmake ninja-build g++ pkg-config make
  # the game
  libsdl2-dev libsdl2-mixer-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  liblua5.1-0-dev libpugixml-dev libpng-dev
  # content generators (fonts, textures; voices and music for the sound)
  libfreetype-dev fonts-liberation fonts-dejavu-core
  espeak-ng libvorbis-dev libmp3lame-dev vorbis-tools lame sox
  # running: the capability for UDP port 240; with no display, a private X
  # server and the key presser that takes pictures of it
  libcap2-bin xvfb xauth xdotool
)
if [ "$purpose" = test ]; then
  packages+=(
    # the sanitizer and fuzz build, the test and benchmark libraries
    clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
    # benchmarks only: Boost.Graph's astar_search (header-only), the path finder's yardstick
    libboost-graph-dev
    # tests: pictures, network namespaces, keyboard layouts
    imagemagick iproute2 x11-xkb-utils
    # tests: a lossy LAN between network namespaces
    nftables
    # tests: independent MDX parsers run by node
    nodejs
  )
elif [ "$purpose" != run ]; then
  echo "usage: $0 run|test" >&2
  exit 2
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The MDX checkers (two independent parsers from the npm registry) live in a
# folder of their own and are used only by the tests.
if [ "$purpose" = test ]; then
  if ! command -v npm >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends npm
  fi
  checkers="$(cd "$(dirname "$0")/.." && pwd)/tools/checkers"
  if [ ! -d "$checkers/node_modules" ]; then
    echo "setup: installing the MDX checkers"
    (cd "$checkers" && npm ci --no-audit --no-fund --loglevel=error)
  fi
fi
