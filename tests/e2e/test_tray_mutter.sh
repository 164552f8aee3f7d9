#!/usr/bin/env bash
# The reminder under Mutter's XWayland: a desktop with no tray at all, so the reminder comes
# from a one-minute period. It lands at the top-left corner of the placement table, is no window
# that Mutter manages, and leaves the focus alone.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
wayland_require_user "$@"
export LANG=C.UTF-8 # xdotool matches Japanese window names only then

mutter_start || desktop_fail "no Mutter"
run=$DESKTOP_DIR/run
mkdir -p "$run"
printf '[Timer]\r\nTimer=1\r\nReset=10\r\nbReset=0\r\nPosition=0\r\n' >"$run/rupeta.ini"
focused=$(xdotool getwindowfocus 2>/dev/null || echo none)
(cd "$run" && QT_QPA_PLATFORM=xcb exec "$RUPETA_BIN") >"$run/out.log" 2>&1 &
pid=$!
desktop_track "$pid"
wait_until 90 popup_window || desktop_fail "no reminder after a minute (log: $(cat "$run/out.log"))"
popup=$(popup_window)
window_geometry "$popup"
[ "$WIN_X $WIN_Y" = "40 40" ] || desktop_fail "reminder at $WIN_X $WIN_Y, not 40 40"
xwininfo -id "$popup" -all | grep -q 'Override Redirect State: yes' ||
    desktop_fail "Mutter manages the reminder"
! xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$popup")" ||
    desktop_fail "the reminder is in Mutter's client list"
now=$(xdotool getwindowfocus 2>/dev/null || echo none)
[ "$now" = "$focused" ] || desktop_fail "the focus moved from $focused to $now"
kill "$pid"
wait_for_exit 10 "$pid" || desktop_fail "the program did not end"
echo "PASS: reminder under Mutter"
