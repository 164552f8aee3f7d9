#!/usr/bin/env bash
# Installs what ルペタ needs to run, builds it into build/ when needed, and starts it.
#
# On a desktop ($DISPLAY reachable) it starts ルペタ there, in the directory you ran this from
# (rupeta.ini is kept in the current directory), and returns when you choose "終了(&X)".
#
# Without a display it says so, starts a private virtual desktop (Xvfb + fluxbox with a tray),
# runs ルペタ there in artifacts/run/, and saves two screenshots to artifacts/run/: the tray
# icon (tray-icon.png, also 8x enlarged) and the open tray menu (tray-menu.png). From a
# terminal it then keeps running until Ctrl+C; without a terminal (CI, a pipe) it stops after
# the screenshots.
set -euo pipefail
start_dir=$PWD
repo=$(cd "$(dirname "$0")/.." && pwd)

bash "$repo/scripts/install-deps.sh" run
if [ ! -f "$repo/build/CMakeCache.txt" ]; then
    # Only the program: the test libraries are not among the run packages.
    cmake -S "$repo" -B "$repo/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DRUPETA_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$repo/build" --target rupeta -j"$(nproc)"
bin=$repo/build/rupeta

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
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
