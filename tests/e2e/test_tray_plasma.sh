#!/usr/bin/env bash
# The tray on KDE Plasma 5.27 (kwin_wayland and plasmashell), clicked through KWin's fake-input
# pointer and keys: a left click (Activate) opens the program's menu, which closes on Esc and on
# a click on the panel and takes the access keys (B: the reminder at 831, 671); a right click
# opens Plasma's own rendering of the exported menu at the click; a double click opens the
# settings dialog, and no menu ever opens by itself while it runs (the host's calls return at
# once, so Plasma never falls back to ContextMenu). The dialog's window class is ASCII, the
# tooltip the minutes. One Plasma session for every case.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/shells.sh"
wayland_require_user "$@"
export LANG=C.UTF-8 # xdotool matches Japanese window names only then

plasma_start || desktop_fail "no Plasma"
shots=$DESKTOP_DIR/shots
mkdir -p "$shots"
# The panel is drawn a few seconds after the tray host is up.
panel_drawn() {
    shell_do shot "$shots/before.png" &&
        [ "$("$DESKTOP_CONVERT" "$shots/before.png" -crop 1024x30+0+735 -colorspace gray \
            -format '%[fx:int(mean*100)]' info:)" -gt 20 ]
}
wait_until 30 panel_drawn || desktop_fail "Plasma's panel is not drawn"
# The wallpaper fades in.
settled() {
    shell_do shot "$shots/before.png" && sleep 0.5 && shell_do shot "$shots/settled.png" &&
        ! shell_changed_box "$shots/before.png" "$shots/settled.png" 0 0 1024 768 >/dev/null
}
wait_until 30 settled || desktop_fail "Plasma's desktop does not settle"
run=$DESKTOP_DIR/run
mkdir -p "$run"
printf '[Timer]\r\nTimer=60\r\nReset=10\r\nbReset=0\r\nPosition=3\r\n' >"$run/rupeta.ini"
fake_opener
shell_monitor_start
(cd "$run" && exec "$RUPETA_BIN") >"$run/out.log" 2>&1 &
pid=$!
desktop_track "$pid"

# The tray grows to the left of the clock: the new icon is the left end of what changed there.
icon_shown() {
    shell_do shot "$shots/icon.png" &&
        shell_changed_box "$shots/before.png" "$shots/icon.png" 560 720 230 48
}
wait_until 30 icon_shown || desktop_fail "no tray icon in the panel"
read -r x y w h <<<"$(icon_shown)"
icon_x=$((x + 8))
icon_y=$((y + h / 2))
save_artifact "$shots/icon.png" plasma-tray-icon.png >/dev/null

tip=$(shell_item_tooltip) || desktop_fail "no tooltip"
[ "$tip" = $'0分経過しました\n(タイマー設定: 60分間)' ] || desktop_fail "tooltip: $tip"

menu() { popup_menu_window rupeta; }
no_menu() { ! menu >/dev/null; }
dialog() { xdotool search --onlyvisible --name '^ルペタ設定$' 2>/dev/null | head -n 1; }
# Plasma opens the exported menu itself: the host asks for it, then says it opened.
host_menus() { grep -c 'string "opened"' "$DESKTOP_DIR/monitor.log" || true; }

# --- right click: Plasma's menu at the click --------------------------------------------------
opened=$(host_menus)
shell_do move "$icon_x" "$icon_y"
# Plasma's tooltip comes up a moment after the pointer arrives, and closes a menu opened before.
sleep 1.5
shell_do shot "$shots/hover.png"
shell_do click 3
wait_until 5 eval '[ "$(host_menus)" -gt "$opened" ]' || desktop_fail "a right click opened no menu"
sleep 0.5
shell_do shot "$shots/right.png"
save_artifact "$shots/right.png" plasma-menu-right-click.png >/dev/null
box=$(shell_changed_box "$shots/hover.png" "$shots/right.png" 0 0 1024 720) ||
    desktop_fail "nothing drawn for the right click's menu"
read -r mx my mw mh <<<"$box"
((mx <= icon_x && icon_x <= mx + mw && my + mh >= 700)) ||
    desktop_fail "the menu of a right click at $icon_x,$icon_y is at $mx,$my ${mw}x$mh"
[ "$(shell_calls ContextMenu)" = 0 ] || desktop_fail "Plasma fell back to ContextMenu"
shell_do key 1
sleep 0.5

# --- left click: the program's menu -------------------------------------------------------------
shell_do move "$icon_x" "$icon_y"
shell_do click 1
wait_until 5 menu || desktop_fail "a left click opened no menu"
[ "$(shell_calls Activate)" = 1 ] || desktop_fail "Plasma sent $(shell_calls Activate) Activate calls"
shell_do shot "$shots/left.png"
save_artifact "$shots/left.png" plasma-menu-left-click.png >/dev/null
# The menu under XWayland closes on Esc and on a click on the panel, and takes the access keys.
shell_do key 1
wait_until 5 no_menu || desktop_fail "Esc left the menu open"
shell_do click 1
wait_until 5 menu || desktop_fail "a second left click opened no menu"
shell_do move 400 750
shell_do click 1
wait_until 5 no_menu || desktop_fail "a click on the panel left the menu open"
shell_do move "$icon_x" "$icon_y"
shell_do click 1
wait_until 5 menu || desktop_fail "a third left click opened no menu"
shell_do key 48 # B, the preview item's access key
wait_until 10 popup_window || desktop_fail "the access key B showed no reminder"
window_geometry "$(popup_window)"
[ "$WIN_X $WIN_Y" = "831 671" ] || desktop_fail "reminder at $WIN_X $WIN_Y, not 831 671"
no_menu || desktop_fail "the menu stays open after its item was chosen"
shell_do move 900 700
shell_do click 1
wait_until 5 no_popup || desktop_fail "the reminder stays after a click on it"

# --- double click: the settings dialog, and no menu for 40 seconds ----------------------------
opened=$(host_menus)
shell_do move "$icon_x" "$icon_y"
shell_do double
wait_until 10 dialog || desktop_fail "a double click opened no settings dialog"
class=$(program_window_class "$(dialog)")
[ "$class" = "rupeta,rupeta" ] || desktop_fail "the dialog's WM_CLASS is $class"
delay=$(shell_reply_delay Activate) || desktop_fail "Activate got no reply while the dialog runs"
awk -v d="$delay" 'BEGIN { exit !(d < 1) }' || desktop_fail "Activate waited $delay s"
shell_do shot "$shots/dialog.png"
save_artifact "$shots/dialog.png" plasma-settings-dialog.png >/dev/null
for ((i = 0; i < 40; i++)); do
    no_menu || desktop_fail "the program's menu opened by itself ${i} s after the double click"
    [ "$(host_menus)" = "$opened" ] && [ "$(shell_calls ContextMenu)" = 0 ] ||
        desktop_fail "Plasma's menu opened by itself ${i} s after the double click"
    [ -n "$(dialog)" ] || desktop_fail "the dialog went away"
    sleep 1
done

kill "$pid"
wait_for_exit 10 "$pid" || desktop_fail "the program did not end"
echo "PASS: tray on KDE Plasma"
