#!/usr/bin/env bash
# Set-up, build and run for a fresh Debian 12 machine.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run the whole suite
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config
  libwxgtk3.2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libx11-dev
  libpng-dev libfreetype-dev libfontconfig-dev libstb-dev fonts-liberation
  libgtest-dev
  xvfb xauth x11-utils imagemagick
  xdotool procps
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local line="apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:"
    echo "  apt-get update && $line"
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $line
}

build() {
  if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPANEL_WERROR=ON >/dev/null
  fi
  cmake --build build -j "$(nproc)"
}

run_program() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec build/app/instrument-panel
  fi
  echo "No X display is reachable (DISPLAY='${DISPLAY:-}'); rendering a headless snapshot instead."
  local out="$PWD/build/panel-snapshot.png"
  build/tools/panel-snapshot -o "$out"
  echo "Snapshot written to $out"
}

case "${1:-}" in
  run)
    install_missing
    build
    run_program
    ;;
  test)
    install_missing
    build
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    ;;
  *)
    echo "usage: ./build.sh run | test" >&2
    exit 2
    ;;
esac
