#!/usr/bin/env bash
# Builds ルペタ into build/ when needed and starts it, as your own user; it asks for root
# (through sudo) only to install missing packages.
#
# On a desktop it starts ルペタ there, in the directory you ran this from (rupeta.ini is kept
# in the current directory), and returns when you choose "終了(&X)".
#
# Without a display it says so, starts a private virtual desktop (Xvfb + fluxbox with a tray),
# runs ルペタ there in artifacts/run/, and saves two screenshots to artifacts/run/: the tray
# icon (tray-icon.png, also 8x enlarged) and the open tray menu (tray-menu.png). From a
# terminal it then keeps running until Ctrl+C; without a terminal (CI, a pipe) it stops after
# the screenshots.
set -euo pipefail
start_dir=$PWD
repo=$(cd "$(dirname "$0")/.." && pwd)

# A display this process can draw on: X11 answering, or a Wayland socket.
has_display() {
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        [ -S "${XDG_RUNTIME_DIR:-/nonexistent}/$WAYLAND_DISPLAY" ] && return 0
        [ -S "$WAYLAND_DISPLAY" ] && return 0
    fi
    [ -n "${DISPLAY:-}" ] || return 1
    if command -v xdpyinfo >/dev/null; then
        xdpyinfo >/dev/null 2>&1
    else
        local n=${DISPLAY#*:}
        [ -S "/tmp/.X11-unix/X${n%%.*}" ]
    fi
}

# Through sudo the desktop session is out of reach (no session bus, no runtime directory) and
# everything built would belong to root: carry on as the user who typed sudo.
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    uid=$(id -u "$SUDO_USER")
    home=$(getent passwd "$SUDO_USER" | cut -d: -f6)
    runtime=/run/user/$uid
    if ! runuser -u "$SUDO_USER" -- test -w "$repo"; then
        echo "Run scripts/run.sh without sudo, as the owner of $repo." >&2
        exit 1
    fi
    echo "Started through sudo: building and starting ルペタ as $SUDO_USER, not as root."
    vars=(HOME="$home" USER="$SUDO_USER" LOGNAME="$SUDO_USER")
    if [ -d "$runtime" ]; then
        vars+=(XDG_RUNTIME_DIR="$runtime")
        [ -S "$runtime/bus" ] && vars+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus")
    fi
    cd "$start_dir"
    exec runuser -u "$SUDO_USER" -- env -u XDG_RUNTIME_DIR -u DBUS_SESSION_BUS_ADDRESS \
        "${vars[@]}" bash "$repo/scripts/run.sh" "$@"
fi

if [ -e "$repo/build" ] && [ ! -O "$repo/build" ]; then
    echo "$repo/build belongs to $(stat -c %U "$repo/build"), not to you: remove it" \
        "(sudo rm -rf $repo/build) and run this again." >&2
    exit 1
fi

if has_display; then
    if [ "$(id -u)" -eq 0 ]; then
        echo "ルペタ does not start as root on a desktop: run scripts/run.sh as your own user." >&2
        exit 1
    fi
    bash "$repo/scripts/install-deps.sh" build
else
    bash "$repo/scripts/install-deps.sh" build desktop
fi
if [ ! -f "$repo/build/CMakeCache.txt" ]; then
    # Only the program: the test libraries are not among these packages.
    (cd "$repo" && cmake --preset default -DRUPETA_BUILD_TESTS=OFF >/dev/null)
fi
cmake --build "$repo/build" --target rupeta -j"$(nproc)"
bin=$repo/build/rupeta

if has_display; then
    cd "$start_dir"
    exec "$bin"
fi

echo "No display (DISPLAY is ${DISPLAY:-not set}): starting a virtual desktop."
export RUPETA_ARTIFACTS=$repo/artifacts/run
source "$repo/tests/e2e/desktop.sh"
desktop_start || desktop_fail "could not start the virtual desktop"
mkdir -p "$RUPETA_ARTIFACTS"
(cd "$RUPETA_ARTIFACTS" && exec "$bin") >"$RUPETA_ARTIFACTS/rupeta.log" 2>&1 &
pid=$!
desktop_track "$pid"
icon=$(wait_tray_icon 15 rupeta) || desktop_fail "ルペタ put no icon in the tray (see $RUPETA_ARTIFACTS/rupeta.log)"

screenshot_window "$icon" "$RUPETA_ARTIFACTS/tray-icon.png"
"$DESKTOP_CONVERT" "$RUPETA_ARTIFACTS/tray-icon.png" -filter point -resize 800% \
    "$RUPETA_ARTIFACTS/tray-icon-8x.png"
click_window "$icon" 1
wait_until 5 popup_menu_window rupeta || desktop_fail "the tray menu did not open"
screenshot "$RUPETA_ARTIFACTS/tray-menu.png"
xdotool key Escape
echo "Screenshots: $RUPETA_ARTIFACTS/tray-icon.png, tray-icon-8x.png, tray-menu.png"

if [ -t 0 ]; then
    echo "ルペタ runs on the virtual display $DISPLAY (pid $pid); press Ctrl+C to stop."
    trap 'exit 0' INT TERM
    wait "$pid" || true
fi
