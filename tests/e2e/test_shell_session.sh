#!/usr/bin/env bash
# A whole session on a real desktop: the first start writes a complete settings file, a
# hand-edited file is normalised, the tray icon opens the menu on a left and a right click,
# menu items work, and "終了(&X)" saves, removes the icon and ends with status 0.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"

start_rupeta() { # directory
    rupeta_start "$1" "$1/out.log"
    PID=$RUPETA_PID
    ICON=$(wait_tray_icon 15 rupeta) || desktop_fail "no tray icon (log: $(cat "$1/out.log"))"
}

open_menu() { # button
    click_window "$ICON" "$1"
    wait_until 5 popup_menu_window rupeta || desktop_fail "button $1 opened no menu"
    MENU=$(popup_menu_window rupeta)
    window_geometry "$MENU"
}

# --- First start in an empty directory --------------------------------------------------
first=$DESKTOP_DIR/first
mkdir -p "$first"
start_rupeta "$first"
wait_for_file 5 "$first/rupeta.ini" || desktop_fail "no rupeta.ini after start-up"
mapfile -t lines < <(tr -d '\r' <"$first/rupeta.ini")
keys=$(printf '%s\n' "${lines[@]}" | sed 's/=.*//' | paste -sd' ')
[ "$keys" = "[Timer] Timer Reset bReset Position [User] ID first-activated Password" ] ||
    desktop_fail "keys in unexpected order: $keys"
[ "${lines[1]}" = Timer=60 ] && [ "${lines[2]}" = Reset=10 ] && [ "${lines[3]}" = bReset=1 ] &&
    [ "${lines[4]}" = Position=3 ] && [ "${lines[8]}" = Password= ] ||
    desktop_fail "unexpected defaults: ${lines[*]}"
[[ ${lines[6]} =~ ^ID=[0-9]{1,5}(-[0-9]{1,5}){5}$ ]] || desktop_fail "malformed ${lines[6]}"
[ "${lines[7]}" = "first-activated=$(date +%Y/%m/%d)" ] || desktop_fail "not today: ${lines[7]}"
first_id=${lines[6]}

# Left click: the menu opens at the cursor; Escape closes it.
open_menu 1
shot=$DESKTOP_DIR/menu.png
screenshot "$shot"
save_artifact "$shot" shell-menu-left-click.png >/dev/null
xdotool key Escape
no_menu() { ! popup_menu_window rupeta >/dev/null; }
wait_until 3 no_menu || desktop_fail "Escape did not close the menu"

# Right click, then the preview item by its access key: the reminder appears (153 x 57).
open_menu 3
xdotool key b
wait_until 5 popup_window || desktop_fail "the preview item showed no reminder"

# Exit by clicking the last menu item with the mouse.
open_menu 1
xdotool mousemove $((WIN_X + WIN_W / 2)) $((WIN_Y + WIN_H - 12))
sleep 0.2
xdotool click 1
wait_for_exit 10 "$PID" || desktop_fail "still running after 終了"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "exit status $WAIT_STATUS"
tray_icon_window rupeta >/dev/null && desktop_fail "tray icon still there after exit"
grep -qx "$first_id" <(tr -d '\r' <"$first/rupeta.ini") || desktop_fail "the identifier changed"

# --- A hand-edited file is read as it stands and written back normalised ------------------
edited=$DESKTOP_DIR/edited
mkdir -p "$edited"
printf '[timer]\r\nTimer=0x3C\r\nReset= 7\r\nbReset=2\r\nPosition=7\r\n; mine\r\n[User]\r\nID=1-2-3-4-5-6\r\nfirst-activated=2007/1/5\r\n' \
    >"$edited/rupeta.ini"
start_rupeta "$edited"
expected=$(printf '%s\n' '[timer]' Timer=60 Reset=7 bReset=1 Position=7 '; mine' '[User]' \
    ID=1-2-3-4-5-6 first-activated=2007/01/05 Password=)
wait_until 5 sh -c "[ \"\$(tr -d '\r' <'$edited/rupeta.ini')\" = '$expected' ]" ||
    desktop_fail "not normalised: $(cat "$edited/rupeta.ini")"
kill "$PID"
echo "PASS: session"
