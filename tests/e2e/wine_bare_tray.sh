#!/usr/bin/env bash
# The Wine desktop harness, proven with the bare Win32 tray program: its icon appears in Wine's
# own tray window while notepad keeps the focus, a right click on the icon reaches the program
# and opens its menu, and choosing "Quit" there ends it cleanly.
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
: "${RUPETA_BARE_TRAY:?the bare tray program (.exe)}"

_menu_window() {
    local id
    for id in $(xdotool search --onlyvisible --classname 'bare-tray-win32.exe' 2>/dev/null); do
        xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && echo "$id" && return 0
    done
    return 1
}

wine_desktop_start || desktop_fail "no Wine desktop"
wine_notepad || desktop_fail "notepad did not start"
exe=$(wine_copy "$RUPETA_BARE_TRAY")
wine_run "$WINE_DIR/bare" "$exe"
wine_wait_tray 30 >/dev/null || desktop_fail "no icon in Wine's tray window"
[ "$(xdotool getwindowfocus)" = "$NOTEPAD_WIN" ] || desktop_fail "the tray icon took the focus"

# The icon is drawn where the harness says it is: its middle differs from the tray's empty
# end.
wine_tray_icon_centre 0
shot=$DESKTOP_DIR/tray.png
screenshot "$shot"
save_artifact "$shot" wine-bare-tray.png >/dev/null
[ "$(pixel_at "$shot" "$ICON_X" "$ICON_Y")" != "$(pixel_at "$shot" $((ICON_X + 120)) "$ICON_Y")" ] ||
    desktop_fail "nothing drawn at the icon's place ($ICON_X, $ICON_Y)"

xdotool mousemove "$ICON_X" "$ICON_Y" click 3
wait_until 10 _menu_window || desktop_fail "a right click on the icon opened no menu"
menu=$(_menu_window)
window_geometry "$menu"
xdotool mousemove $((WIN_X + WIN_W / 2)) $((WIN_Y + WIN_H / 2)) click 1
wait_for_exit 10 "$WINE_PID" || desktop_fail "\"Quit\" did not end the program"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "the program ended with status $WAIT_STATUS"
echo "PASS: icon at ($ICON_X, $ICON_Y) in Wine's tray, menu by right click, clean quit"
