#!/usr/bin/env bash
# A session whose tray comes up after the program (autostart order is not guaranteed, and
# plain GNOME has no tray at all): the program keeps running without an icon or any visible
# window, and its icon appears by itself once a tray is there.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"

# desktop_start without its window manager: the X server alone, no tray host yet.
export XDG_RUNTIME_DIR=$DESKTOP_DIR/runtime
mkdir -p "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
_desktop_start_xvfb || desktop_fail "no X server"
mkdir -p "$DESKTOP_DIR/work"
rupeta_start "$DESKTOP_DIR/work" "$DESKTOP_DIR/program.log"
pid=$RUPETA_PID
wait_for_file 20 "$DESKTOP_DIR/work/rupeta.ini" || desktop_fail "no rupeta.ini without a tray"
sleep 2
_desktop_gone "$pid" && desktop_fail "the program ended without a tray: $(cat "$DESKTOP_DIR/program.log")"
[ -z "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" ] ||
    desktop_fail "a window is visible while there is no tray"

_desktop_write_fluxbox_rc
HOME=$DESKTOP_DIR/fluxbox fluxbox -rc "$DESKTOP_DIR/fluxbox/init" >"$DESKTOP_DIR/fluxbox.log" 2>&1 &
DESKTOP_WM_PID=$!
desktop_track "$DESKTOP_WM_PID"
wait_until 15 _desktop_tray_owned || desktop_fail "the tray did not come up"
wait_until 15 tray_icon_of "$pid" || desktop_fail "no icon after the tray came up"
exit_via_menu "$pid" || desktop_fail "did not end through the tray menu"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "exit status $WAIT_STATUS"
echo "the icon appeared once the tray was there"
