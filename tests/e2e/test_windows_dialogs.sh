#!/usr/bin/env bash
# The dialogs on a real desktop, reached as a person reaches them: started with Ctrl and Shift
# held, the demo item brings the reminder within about 20 s while the mouse keeps moving, and
# that reminder takes a click although a dialog is open; in the settings dialog OK with "100"
# stores 90; the about dialog and the stretch guide ignore Esc and close with Enter; the
# reminder's link label opens the guide; each dialog, its frame included, is centred on the
# screen; a dialog under the guide ignores its close box until the guide has closed.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"

run=$DESKTOP_DIR/run
mkdir -p "$run"
printf '[Timer]\r\nTimer=30\r\nReset=10\r\nbReset=1\r\nPosition=3\r\n' >"$run/rupeta.ini"

# Ctrl and Shift held at start-up reveal the demo item.
xdotool keydown Control_L Shift_L
rupeta_start "$run" "$DESKTOP_DIR/out.log"
pid=$RUPETA_PID
icon=$(wait_tray_icon 15 rupeta) || { xdotool keyup Control_L Shift_L; desktop_fail "no tray icon"; }
xdotool keyup Control_L Shift_L

open_menu() {
    click_window "$icon" 1
    wait_until 5 popup_menu_window rupeta || desktop_fail "the tray icon opened no menu"
}
named_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
wait_named() { # title
    wait_until 5 named_window "$1" || desktop_fail "no window \"$1\""
    named_window "$1"
}
# The whole window, the window manager's frame included, centred on the 1024 x 768 screen
# (to a pixel, for odd sizes). Prints the frame's geometry. xwininfo, not xdotool, which adds
# the frame's offset to a framed window's position.
frame_centred() { # window
    local left right top bottom info x y w h
    IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
    [ -n "$bottom" ] || return 1
    info=$(xwininfo -id "$1") || return 1
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/^ *Width: *//p' <<<"$info")
    h=$(sed -n 's/^ *Height: *//p' <<<"$info")
    echo "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))"
    local dx=$((2 * (x - left) + w + left + right - 1024))
    local dy=$((2 * (y - top) + h + top + bottom - 768))
    ((dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1))
}
click_close_box() { # window: the rightmost title bar button of fluxbox's frame
    local frame w x y
    frame=$(frame_centred "$1") || true
    IFS='x+' read -r w _ x y <<<"$frame"
    xdotool mousemove $((x + w - 11)) $((y + 9)) click 1
}
check_centred() { # window title
    wait_until 3 frame_centred "$1" || desktop_fail "\"$2\" is not centred: frame $(frame_centred "$1")"
    echo "\"$2\" centred: frame $(frame_centred "$1")"
}
shoot() { # window artifact-name: the window with its frame, as the screen shows it
    import -frame -window "$1" "$DESKTOP_DIR/$2"
    save_artifact "$DESKTOP_DIR/$2" >/dev/null
}

# Demo mode counts idle ticks a hundred times faster: keep the pointer moving, away from the
# windows under test. Sets mover.
keep_moving() {
    (while :; do
        xdotool mousemove 600 200
        sleep 0.4
        xdotool mousemove 610 210
        sleep 0.4
    done) >/dev/null 2>&1 &
    mover=$!
    desktop_track "$mover"
}

# --- Demo mode: a 30-minute period in about 18 s, the mouse kept moving -----------------------
open_menu
menu=$(popup_menu_window rupeta)
shoot "$menu" windows-tray-menu.png
xdotool key d
# The about dialog is open when the reminder comes: the reminder still takes a click.
open_menu
xdotool key a
about=$(wait_named "ルペタについて")
keep_moving
started=$SECONDS
wait_until 25 popup_window || desktop_fail "no reminder within 25 s of demo mode"
echo "reminder after $((SECONDS - started)) s of demo mode"
kill "$mover"
popup=$(popup_window)
window_geometry "$popup"
xdotool mousemove $((WIN_X + 147)) $((WIN_Y + 52)) click 1
wait_until 2 no_popup || desktop_fail "a click did not hide the reminder that came up over a dialog"
[ -n "$(named_window "ルペタについて")" ] || desktop_fail "the about dialog went away"
xdotool windowactivate --sync "$about" 2>/dev/null || true
xdotool key Return
gone() { [ -z "$(named_window "$1")" ]; }
wait_until 5 gone "ルペタについて" || desktop_fail "Enter did not close the about dialog"

# --- Still in demo mode: the settings dialog under the guide ignores its close box -------
double_click_window "$icon"
config=$(wait_named "ルペタ設定")
keep_moving
wait_until 25 popup_window || desktop_fail "no reminder within 25 s of demo mode"
kill "$mover"
popup=$(popup_window)
window_geometry "$popup"
xdotool mousemove $((WIN_X + 60)) $((WIN_Y + 47)) click 1
guide=$(wait_named "座ったままで簡単ストレッチ")
# The guide covers the settings dialog: brought up as from the task bar, then its close box.
xdotool windowactivate "$config"
sleep 0.5
click_close_box "$config"
sleep 0.5
[ -n "$(named_window "ルペタ設定")" ] || desktop_fail "the settings dialog closed under the guide"
xdotool windowactivate --sync "$guide" 2>/dev/null || true
xdotool key Return
wait_until 5 gone "座ったままで簡単ストレッチ" || desktop_fail "Enter did not close the stretch guide"
click_close_box "$config"
wait_until 5 gone "ルペタ設定" || desktop_fail "the close box did not close the settings dialog"
open_menu
xdotool key d # back to 1-second ticks

# --- Settings from a double click on the tray icon: OK with "100" stores 90 -------------------
double_click_window "$icon"
config=$(wait_named "ルペタ設定")
check_centred "$config" "ルペタ設定"
[ -z "$(popup_menu_window rupeta 2>/dev/null)" ] || desktop_fail "the double click also opened the menu"
sleep 0.3
xdotool key ctrl+a
xdotool type 100
sleep 0.3
shoot "$config" windows-settings.png
xdotool key Return
wait_until 5 gone "ルペタ設定" || desktop_fail "Enter did not close the settings dialog"
wait_until 5 grep -q $'^Timer=90\r$' "$run/rupeta.ini" ||
    desktop_fail "rupeta.ini does not hold Timer=90: $(tr -d '\r' <"$run/rupeta.ini" | paste -sd' ')"

# --- About: Esc does nothing, Enter closes ------------------------------------------------------
open_menu
xdotool key a
about=$(wait_named "ルペタについて")
check_centred "$about" "ルペタについて"
sleep 0.3
shoot "$about" windows-about.png
xdotool key Escape
sleep 0.5
[ -n "$(named_window "ルペタについて")" ] || desktop_fail "Esc closed the about dialog"
xdotool key Return
wait_until 5 gone "ルペタについて" || desktop_fail "Enter did not close the about dialog"

# --- Stretch guide from the reminder's link label: Esc does nothing, Enter closes ----------------
open_menu
xdotool key b
wait_until 5 popup_window || desktop_fail "the preview showed no reminder"
popup=$(popup_window)
window_geometry "$popup"
xdotool mousemove $((WIN_X + 60)) $((WIN_Y + 47)) click 1 # on "ストレッチの説明を表示"
guide=$(wait_named "座ったままで簡単ストレッチ")
check_centred "$guide" "座ったままで簡単ストレッチ"
no_popup || desktop_fail "the reminder stayed up when its link label opened the guide"
sleep 0.3
shoot "$guide" windows-stretch.png
xdotool key Escape
sleep 0.5
[ -n "$(named_window "座ったままで簡単ストレッチ")" ] || desktop_fail "Esc closed the stretch guide"
xdotool key Return
wait_until 5 gone "座ったままで簡単ストレッチ" || desktop_fail "Enter did not close the stretch guide"

kill "$pid"
echo "PASS: dialogs"
