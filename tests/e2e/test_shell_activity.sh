#!/usr/bin/env bash
# Global activity on a real desktop, watched through the tray picture in demo mode: after
# ResetMinutes of idle ticks the monitor in the picture goes dark; Enter, Space and a mouse
# move anywhere light it again, another key does not.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"

run=$DESKTOP_DIR/run
mkdir -p "$run"
# Five idle minutes are 301 ticks: about three seconds at the demo's 10 ms.
printf '[Timer]\r\nTimer=90\r\nReset=5\r\nbReset=1\r\n' >"$run/rupeta.ini"

# Ctrl and Shift held at start-up reveal the demo item.
xdotool keydown Control_L Shift_L
rupeta_start "$run" "$DESKTOP_DIR/out.log"
pid=$RUPETA_PID
icon=$(wait_tray_icon 15 rupeta) || { xdotool keyup Control_L Shift_L; desktop_fail "no tray icon"; }
xdotool keyup Control_L Shift_L
click_window "$icon" 1
wait_until 5 popup_menu_window rupeta || desktop_fail "no menu"
xdotool key d
xdotool mousemove 500 300

# The monitor's screen in the picture: blue while counting, black once idle.
window_geometry "$icon"
icon_x=$((WIN_X + 5))
icon_y=$((WIN_Y + 5))
screen_colour() {
    screenshot "$DESKTOP_DIR/now.png"
    pixel_at "$DESKTOP_DIR/now.png" "$icon_x" "$icon_y"
}
idle_shown() { [ "$(screen_colour)" = 000000 ]; }
active_shown() { [ "$(screen_colour)" = 0000ff ]; }

expect_wakes() { # what, command...
    local what=$1
    shift
    wait_until 20 idle_shown || desktop_fail "never went idle before $what (colour $(screen_colour))"
    "$@"
    wait_until 3 active_shown || desktop_fail "$what was not seen as activity"
}
expect_wakes "Enter" xdotool key Return
expect_wakes "Space" xdotool key space
expect_wakes "a mouse move" xdotool mousemove 520 320

wait_until 20 idle_shown || desktop_fail "never went idle before the other key"
xdotool key a
for _ in 1 2 3 4 5; do
    sleep 0.3
    idle_shown || desktop_fail "a key other than Enter or Space counted as activity"
done
shot=$DESKTOP_DIR/idle.png
screenshot "$shot"
save_artifact "$shot" shell-idle-tray.png >/dev/null
kill "$pid"
echo "PASS: activity"
