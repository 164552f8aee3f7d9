#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing ルペタ needs.
# Usage: install-deps.sh [run|test]   (default: test, which is a superset of run)
set -euo pipefail
what=${1:-test}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

run_pkgs=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6 libxi-dev libx11-dev libxcb1-dev libsndfile1-dev
  libwayland-dev libwayland-bin wayland-protocols plasma-wayland-protocols
  fonts-ipafont-gothic xdg-utils
  xvfb xauth fluxbox xdotool imagemagick x11-utils python3
)
test_pkgs=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64
  pulseaudio pulseaudio-utils sox
  lintian desktop-file-utils appstream dpkg-dev file libglib2.0-bin
  procps psmisc
  sway wtype xwayland foot mutter dbus-daemon python3-dbus python3-gi
)
pkgs=("${run_pkgs[@]}")
[ "$what" = run ] || pkgs+=("${test_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
