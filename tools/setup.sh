#!/usr/bin/env bash
# Installs whatever the demo, its tests and its tools need from Debian's
# packages (only what is missing), then configures and builds.
#   tools/setup.sh install      packages only
#   tools/setup.sh build DIR    packages, then a build in DIR (extra args go to cmake)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
  g++ cmake make pkg-config
  libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libsdl-gfx1.2-dev
  libgtest-dev libbenchmark-dev zlib1g-dev
  python3 python3-pil python3-numpy fonts-dejavu-core lame sox espeak-ng ffmpeg
  xvfb python3-xlib imagemagick x11-utils valgrind
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "setup: installing ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  local dir="$1"
  shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

case "${1:-}" in
  install) install_packages ;;
  build)
    install_packages
    dir="$2"
    shift 2
    build "$dir" "$@"
    ;;
  *)
    echo "usage: tools/setup.sh install | build DIR [cmake args]" >&2
    exit 2
    ;;
esac
