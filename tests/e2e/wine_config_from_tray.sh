#!/usr/bin/env bash
# The settings dialog through the real program under Wine: a double click on ルペタ's icon in
# Wine's tray window opens it; its controls, read back through Win32 by a probe in the same
# Wine, sit at the rectangles of the stored layout; Esc closes it and the program runs on.
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
: "${RUPETA_EXE:?rupeta.exe}"
: "${RUPETA_DIALOG_PROBE:?the settings dialog probe (.exe)}"

wine_desktop_start || desktop_fail "no Wine desktop"
exe=$(wine_copy "$RUPETA_EXE")
probe=$(wine_copy "$RUPETA_DIALOG_PROBE")
run=$WINE_DIR/run
mkdir -p "$run"
cp "$RUPETA_SOURCE_DIR/resources/beep.wav" "$run/"
[ ${#WINE_AS[@]} -eq 0 ] || chown -R nobody:nogroup "$run"
wine_run "$run" "$exe"
wine_wait_tray 30 >/dev/null || desktop_fail "no icon in Wine's tray window"

wine_tray_icon_centre 0
xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
(cd "$WINE_DIR/bin" && wine_exec wine "$probe" shown) ||
    desktop_fail "the settings dialog did not come up where its layout puts its controls"
dialog=$(xdotool search --onlyvisible --name '^ルペタ設定$' | head -n1)
[ -n "$dialog" ] || desktop_fail "no X window for the settings dialog"
shot=$DESKTOP_DIR/config.png
screenshot "$shot"
save_artifact "$shot" wine-config-from-tray.png >/dev/null
[ "$(xdotool getwindowfocus)" = "$dialog" ] || desktop_fail "the settings dialog has no focus"

xdotool key Escape
(cd "$WINE_DIR/bin" && wine_exec wine "$probe" gone) || desktop_fail "Esc left the dialog open"
kill -0 "$WINE_PID" 2>/dev/null || desktop_fail "the program ended with the dialog"
echo "PASS: double click on the tray icon, the settings dialog at its layout, Esc closed it"
