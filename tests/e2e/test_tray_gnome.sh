#!/usr/bin/env bash
# The tray on GNOME Shell 43 with the AppIndicator extension, clicked through Mutter's
# RemoteDesktop pointer: the shell draws the program's menu from its dbusmenu on a left and on a
# right click, closes it on a click elsewhere and on Esc, opens it again on the next click, and
# its items work (the preview puts the reminder at 831, 671; the settings item opens the dialog
# and the shell gets its reply at once). The dialog's window class is ASCII, the tooltip the
# minutes. One shell session for every case.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/shells.sh"
wayland_require_user "$@"
export LANG=C.UTF-8 # xdotool matches Japanese window names only then

gnome_start || desktop_fail "no GNOME Shell"
shots=$DESKTOP_DIR/shots
mkdir -p "$shots"
# The shell starts in the overview; the Activities button leaves it.
shell_do move 50 15
shell_do click 1
sleep 1
shell_do shot "$shots/before.png" || desktop_fail "no screenshot"
run=$DESKTOP_DIR/run
mkdir -p "$run"
# Period long enough that no reminder comes by itself; the reminder at the bottom right.
printf '[Timer]\r\nTimer=60\r\nReset=10\r\nbReset=0\r\nPosition=3\r\n' >"$run/rupeta.ini"
fake_opener
shell_monitor_start
(cd "$run" && exec "$RUPETA_BIN") >"$run/out.log" 2>&1 &
pid=$!
desktop_track "$pid"

icon_shown() { shell_do shot "$shots/icon.png" && shell_icon_box "$shots/before.png" "$shots/icon.png"; }
wait_until 30 icon_shown || desktop_fail "no tray icon in the top bar"
read -r x y w h <<<"$(icon_shown)"
icon_x=$((x + w / 2))
icon_y=$((y + h / 2))
save_artifact "$shots/icon.png" gnome-tray-icon.png >/dev/null

tip=$(shell_item_tooltip) || desktop_fail "no tooltip"
[ "$tip" = $'0分経過しました\n(タイマー設定: 60分間)' ] || desktop_fail "tooltip: $tip"

# The menu's area below the top bar differs from the screenshot without it.
menu_box() { shell_changed_box "$shots/icon.png" "$1" 500 32 524 500; }
menu_open() { shell_do shot "$shots/$1.png" && menu_box "$shots/$1.png"; }
menu_closed() { shell_do shot "$shots/$1.png" && ! menu_box "$shots/$1.png"; }
# The visible items: settings, reset, preview, stretch, links, about, exit (demo is hidden).
rows_of() {
    local mx my mw mh
    read -r mx my mw mh <<<"$(menu_box "$shots/$1.png")"
    shell_menu_rows "$shots/$1.png" "$mx" "$my" "$mw" "$mh"
}

# --- left click: the whole menu; a click on the panel closes it; a second click opens it again --
shell_do move "$icon_x" "$icon_y"
shell_do click 1
wait_until 5 menu_open left || desktop_fail "no menu after a left click"
save_artifact "$shots/left.png" gnome-menu-left-click.png >/dev/null
rows=$(rows_of left)
[ "$(wc -l <<<"$rows")" = 7 ] || desktop_fail "the menu shows $(wc -l <<<"$rows") items, not 7"
shell_do move 300 15
shell_do click 1
wait_until 5 menu_closed outside || desktop_fail "the menu stays open after a click on the panel"
shell_do move "$icon_x" "$icon_y"
shell_do click 1
wait_until 5 menu_open again || desktop_fail "no menu after a second left click"

# --- the preview item: the reminder at its place ------------------------------------------------
read -r mx my mw mh <<<"$(menu_box "$shots/again.png")"
preview_y=$(sed -n 3p <<<"$(rows_of again)")
shell_do move $((mx + 60)) "$preview_y"
shell_do click 1
wait_until 10 popup_window || desktop_fail "no reminder from the preview item"
window_geometry "$(popup_window)"
[ "$WIN_X $WIN_Y" = "831 671" ] || desktop_fail "reminder at $WIN_X $WIN_Y, not 831 671"
wait_until 5 menu_closed chosen || desktop_fail "the menu stays open after its item was chosen"

# --- right click: the menu too; Esc closes it ---------------------------------------------------
shell_do move "$icon_x" "$icon_y"
shell_do click 3
wait_until 5 menu_open right || desktop_fail "no menu after a right click"
save_artifact "$shots/right.png" gnome-menu-right-click.png >/dev/null
shell_do key 1
wait_until 5 menu_closed esc || desktop_fail "Esc leaves the menu open"

# --- the settings item: the dialog, and the shell's call returned at once -----------------------
shell_do click 1
wait_until 5 menu_open settings || desktop_fail "no menu for the settings item"
read -r mx my mw mh <<<"$(menu_box "$shots/settings.png")"
settings_y=$(sed -n 1p <<<"$(rows_of settings)")
shell_do move $((mx + 60)) "$settings_y"
shell_do click 1
dialog() { xdotool search --onlyvisible --name '^ルペタ設定$' 2>/dev/null | head -n 1; }
wait_until 10 dialog || desktop_fail "no settings dialog from the settings item"
class=$(program_window_class "$(dialog)")
[ "$class" = "rupeta,rupeta" ] || desktop_fail "the dialog's WM_CLASS is $class"
delay=$(shell_reply_delay Event 'string "clicked"') || desktop_fail "the menu's call got no reply while the dialog runs"
awk -v d="$delay" 'BEGIN { exit !(d < 1) }' || desktop_fail "the menu's call waited $delay s"
shell_do shot "$shots/dialog.png"
save_artifact "$shots/dialog.png" gnome-settings-dialog.png >/dev/null
[ "$(shell_calls Activate)" = 0 ] || desktop_fail "the shell sent Activate"

kill "$pid"
wait_for_exit 10 "$pid" || desktop_fail "the program did not end"
echo "PASS: tray on GNOME Shell"
