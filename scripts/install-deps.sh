#!/usr/bin/env bash
# Installs the Debian 12 packages of the named groups that are missing, through sudo when not
# root. Without apt-get it lists the packages and goes on, in case they are there already.
# Usage: install-deps.sh GROUP...
#   build    compiling and running ルペタ
#   desktop  the virtual desktop for machines without a display (also the desktop tests)
#   package  making and checking the Debian package
#   windows  cross-building the Windows program, its tests under Wine, installer and zip
#   test     everything the test command needs (all of the above and the test tools)
set -euo pipefail

build_pkgs=(
  cmake
  ninja-build
  g++
  pkg-config
  qt6-base-dev
  qt6-multimedia-dev
  libqt6multimedia6
  libxi-dev
  libx11-dev
  libxcb1-dev
  libsndfile1-dev
  libwayland-dev
  libwayland-bin
  wayland-protocols
  plasma-wayland-protocols
  fonts-ipafont-gothic
  xdg-utils
  qt6-translations-l10n
)
desktop_pkgs=(
  xvfb
  xauth
  fluxbox
  xdotool
  imagemagick
  x11-utils
  python3
)
package_pkgs=(
  dpkg-dev
  file
  lintian
  desktop-file-utils
  appstream
  appstream-compose
  librsvg2-bin
  git
)
windows_pkgs=(
  cmake
  ninja-build
  python3
  g++-mingw-w64-x86-64-posix
  mingw-w64-tools
  googletest
  wine
  wine64
  nsis
  zip
  qt6-base-dev
)
test_pkgs=(
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  clang
  libclang-rt-dev
  ccache
  openbox
  pulseaudio
  pulseaudio-utils
  sox
  libglib2.0-bin
  procps
  psmisc
  strace
  tzdata
  sway
  wtype
  xwayland
  foot
  mutter
  dbus-daemon
  python3-dbus
  python3-gi
  dbus-bin
  gnome-shell
  gnome-shell-extension-appindicator
  plasma-desktop
  plasma-workspace
  kded5
  libkf5service-bin
  kwin-wayland
  qtwayland5
)

pkgs=()
for group in "$@"; do
  case $group in
    build) pkgs+=("${build_pkgs[@]}") ;;
    desktop) pkgs+=("${desktop_pkgs[@]}") ;;
    package) pkgs+=("${build_pkgs[@]}" "${package_pkgs[@]}") ;;
    windows) pkgs+=("${windows_pkgs[@]}") ;;
    test) pkgs+=("${build_pkgs[@]}" "${desktop_pkgs[@]}" "${package_pkgs[@]}" "${windows_pkgs[@]}"
                 "${test_pkgs[@]}") ;;
    *) echo "install-deps.sh: unknown group $group (build, desktop, package, windows, test)" >&2
       exit 2 ;;
  esac
done

if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
  echo "No apt-get here: make sure these packages (Debian names) or their equivalents are" \
    "installed: ${pkgs[*]}" >&2
  exit 0
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0

# Only installing packages needs root.
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Missing packages: ${missing[*]}; install them as root (apt-get install), then run this again." >&2
    exit 1
  fi
  echo "Installing missing packages through sudo: ${missing[*]}"
  sudo=(sudo)
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  "${missing[@]}"
