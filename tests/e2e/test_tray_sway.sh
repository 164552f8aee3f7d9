#!/usr/bin/env bash
# The tray on sway: swaybar is the StatusNotifierItem host. The headless seat has no pointer
# device, so swaybar cannot be clicked; the test makes the calls swaybar makes for a click on
# the icon, with the point swaybar reports. A click opens the menu, a double click (two
# Activate calls) the settings dialog and no menu, a right click the menu at the clicked place.
# The host gets the tooltip with the minutes, changing as they pass, and the pictures as drawn.
# The reminder, under XWayland, lands at the placement table's places (bottom right and centre)
# without taking the focus from the Wayland terminal and without becoming a sway window.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/tray.sh"
wayland_require_user "$@"
export LANG=C.UTF-8 # xdotool matches Japanese window names only then

sway_start || desktop_fail "no sway"
sway_open_terminal || desktop_fail "no Wayland terminal has the focus"

PID=""
start_rupeta() { # position
    local run=$DESKTOP_DIR/run$1
    mkdir -p "$run"
    printf '[Timer]\r\nTimer=60\r\nReset=10\r\nbReset=0\r\nPosition=%s\r\n' "$1" >"$run/rupeta.ini"
    (cd "$run" && QT_QPA_PLATFORM=xcb exec "$RUPETA_BIN") >"$run/out.log" 2>&1 &
    PID=$!
    desktop_track "$PID"
    STARTED=$SECONDS
    wait_until 15 sni_item || desktop_fail "no StatusNotifierItem (log: $(cat "$run/out.log"))"
}
stop_rupeta() {
    kill "$PID"
    wait_for_exit 10 "$PID" || desktop_fail "the program did not end"
}
menu() { popup_menu_window rupeta; }
no_menu() { ! menu >/dev/null; }
settings_dialog() { xdotool search --onlyvisible --name '^ルペタ設定$' 2>/dev/null | head -n 1; }
in_sway_tree() { swaymsg -t get_tree | grep -q "\"window\": $1[,}]"; }

# swaybar's point for a click on its tray icon at the right end of the bottom bar.
CLICK_X=1012
CLICK_Y=756

start_rupeta 3

# --- What the host shows ----------------------------------------------------------------------
[ "$(sni_tooltip)" = "$(printf '0分経過しました\n(タイマー設定: 60分間)')" ] ||
    desktop_fail "tooltip at the start: $(sni_tooltip)"
for size in 16 32 48; do
    sni_pixmap "$size" "$DESKTOP_DIR/icon$size.png" || desktop_fail "no ${size}-pixel picture"
    diff=$(compare -metric AE "$DESKTOP_DIR/icon$size.png" \
        "$RUPETA_SOURCE_DIR/resources/icons/tray/$size/image1.png" null: 2>&1 || true)
    [ "$diff" = 0 ] || desktop_fail "the ${size}-pixel picture differs from its drawing in $diff pixels"
done

# --- Clicks -----------------------------------------------------------------------------------
sni_call Activate "$CLICK_X" "$CLICK_Y"
wait_until 5 menu || desktop_fail "a click opened no menu"
xdotool key Escape
wait_until 3 no_menu || desktop_fail "the menu did not close"

sni_double_click "$CLICK_X" "$CLICK_Y"
wait_until 5 settings_dialog || desktop_fail "a double click opened no settings dialog"
sleep 1
no_menu || desktop_fail "a double click opened the menu as well"
xdotool key Escape
wait_until 3 eval '[ -z "$(settings_dialog)" ]' || desktop_fail "the settings dialog did not close"

# The X pointer is far from the panel (it never entered an X window there). Right after the
# settings dialog closed, a right click's menu twice failed to show in the test command, under
# load, and never when this test ran alone (cause not found); the click is made once more.
right_click_menu() {
    sni_call ContextMenu "$CLICK_X" "$CLICK_Y"
    wait_until 5 menu
}
right_click_menu || right_click_menu || desktop_fail "a right click opened no menu"
window_geometry "$(menu)"
((WIN_X <= CLICK_X + 1 && WIN_X + WIN_W >= CLICK_X - 1 && WIN_Y <= CLICK_Y + 1 &&
    WIN_Y + WIN_H >= CLICK_Y - 1)) ||
    desktop_fail "the menu of a right click at $CLICK_X,$CLICK_Y is at $WIN_X,$WIN_Y ${WIN_W}x$WIN_H"
echo "right-click menu at $WIN_X,$WIN_Y ${WIN_W}x$WIN_H for a click at $CLICK_X,$CLICK_Y"

# --- The reminder, from the menu's preview item -----------------------------------------------
check_reminder() { # expected place
    wait_until 5 popup_window || desktop_fail "position $1: the preview showed no reminder"
    local popup
    popup=$(popup_window)
    window_geometry "$popup"
    [ "$WIN_X $WIN_Y" = "$2" ] || desktop_fail "position $1: reminder at $WIN_X $WIN_Y, not $2"
    sleep 0.5
    _sway_focused rupeta-e2e-foot || desktop_fail "position $1: the terminal lost the focus"
    ! in_sway_tree "$popup" || desktop_fail "position $1: the reminder is a sway window"
}
xdotool key b
check_reminder 3 "831 671"

# --- The tooltip follows the minutes ----------------------------------------------------------
wait_until $((75 - (SECONDS - STARTED))) eval \
    '[ "$(sni_tooltip)" = "$(printf "1分経過しました\n(タイマー設定: 60分間)")" ]' ||
    desktop_fail "tooltip after a minute: $(sni_tooltip)"
stop_rupeta

start_rupeta 4
sni_call ContextMenu "$CLICK_X" "$CLICK_Y"
wait_until 5 menu || desktop_fail "a right click opened no menu"
xdotool key b
check_reminder 4 "435 499"
stop_rupeta
echo "PASS: tray and reminder on sway"
