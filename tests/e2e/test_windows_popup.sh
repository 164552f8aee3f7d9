#!/usr/bin/env bash
# The reminder on a real desktop, shown by the preview item: it sits 40 pixels from the chosen
# corner of the 1024 x 768 screen (or centred at 65 % of its height), is 153 x 57, has no
# taskbar entry, leaves the keyboard focus where it was, comes back above a window that covers
# it, blinks between its base colour and light red, sounds and falls silent at a click, hides at
# a click, and hides by itself after 30 seconds. The preview does not touch the running count.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"
desktop_start_pulse || desktop_fail "no sound server"

PID=""
start_rupeta() { # position [interval]
    local run=$DESKTOP_DIR/run$1
    mkdir -p "$run"
    # No auto reset, so the count runs on while the test does not touch the mouse.
    printf '[Timer]\r\nTimer=%s\r\nReset=10\r\nbReset=0\r\nPosition=%s\r\n' "${2:-60}" "$1" \
        >"$run/rupeta.ini"
    rupeta_start "$run" "$run/out.log"
    PID=$RUPETA_PID
    ICON=$(wait_tray_icon 15 rupeta) || desktop_fail "no tray icon (log: $(cat "$run/out.log"))"
}

stop_rupeta() {
    kill "$PID"
    wait_for_exit 10 "$PID" || desktop_fail "the program did not end"
}


preview() {
    click_window "$ICON" 1
    wait_until 5 popup_menu_window rupeta || desktop_fail "the tray icon opened no menu"
    xdotool key b
    wait_until 5 popup_window || desktop_fail "the preview showed no reminder"
    POPUP=$(popup_window)
    window_geometry "$POPUP"
}

# A window of another program holds the focus; the reminder must leave it there.
xmessage -geometry 200x60+380+150 "focus" >/dev/null 2>&1 &
desktop_track $!
focus_window() { xdotool search --onlyvisible --class xmessage 2>/dev/null | head -n 1; }
wait_until 10 focus_window || desktop_fail "no xmessage window"
click_window "$(focus_window)" 1
sleep 0.3
focused=$(xdotool getwindowfocus)

# --- Placement for every position ---------------------------------------------------------
declare -A expected=([0]="40 40" [1]="40 671" [2]="831 40" [3]="831 671" [4]="435 499" [7]="435 499")
for position in 0 1 2 3 4 7; do
    start_rupeta "$position"
    preview
    [ "$WIN_X $WIN_Y" = "${expected[$position]}" ] ||
        desktop_fail "position $position: reminder at $WIN_X $WIN_Y, not ${expected[$position]}"
    # No taskbar entry: the window manager neither manages nor lists it, so fluxbox's iconbar,
    # which shows the managed windows, has no button for it.
    xwininfo -id "$POPUP" -all | grep -q 'Override Redirect State: yes' ||
        desktop_fail "position $position: the window manager manages the reminder"
    ! xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$POPUP")" ||
        desktop_fail "position $position: the reminder is in the window manager's client list"
    sleep 0.3
    now=$(xdotool getwindowfocus)
    [ "$now" = "$focused" ] || desktop_fail "position $position: the focus moved from $focused to $now"
    if [ "$position" = 3 ]; then
        shot=$DESKTOP_DIR/popup.png
        screenshot_window "$POPUP" "$shot"
        save_artifact "$shot" windows-popup.png >/dev/null
    fi
    stop_rupeta
    wait_until 5 no_popup || desktop_fail "position $position: reminder still there after exit"
done

# --- Colours, sound and a click -------------------------------------------------------------
start_rupeta 3
rec=$DESKTOP_DIR/sound.raw
pulse_record_start "$rec"
sleep 0.5
preview
# A spot of plain background inside the frame, clear of the texts.
spot_x=$((WIN_X + 147))
spot_y=$((WIN_Y + 52))
seen=""
for _ in $(seq 1 12); do
    screenshot "$DESKTOP_DIR/now.png"
    seen="$seen $(pixel_at "$DESKTOP_DIR/now.png" "$spot_x" "$spot_y")"
    sleep 0.2
done
case $seen in *ffffd7*) ;; *) desktop_fail "never the base colour: $seen" ;; esac
case $seen in *ff8c8c*) ;; *) desktop_fail "never the blink colour: $seen" ;; esac
other=$(tr ' ' '\n' <<<"$seen" | grep -v -e '^$' -e ffffd7 -e ff8c8c || true)
[ -z "$other" ] || desktop_fail "colours other than base and blink: $other"
pulse_record_stop
sounding=$(pulse_max_amplitude "$rec")
awk -v a="$sounding" 'BEGIN { exit !(a > 0.01) }' || desktop_fail "no sound with the reminder ($sounding)"

# A click during the sound: the reminder hides at once and the sound stops.
preview
pulse_record_start "$rec"
xdotool mousemove "$spot_x" "$spot_y" click 1
wait_until 2 no_popup || desktop_fail "a click did not hide the reminder"
sleep 0.3
pulse_record_stop
pulse_record_start "$rec"
sleep 1.2
pulse_record_stop
after=$(pulse_max_amplitude "$rec")
awk -v a="$after" 'BEGIN { exit !(a < 0.001) }' || desktop_fail "sound went on after the click ($after)"
stop_rupeta

# --- Above other windows: covered by another program's window, the reminder comes back on top
# (but not while a dialog runs, which may need to come above it)
# A window of another program that bypasses the window manager too, mapped on top of all, pure
# green, at X Y W H; it lives until killed.
cover() {
    /usr/bin/python3 - "$@" <<'PY' &
import ctypes, ctypes.util, os, sys, time
x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 4 + [ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x.XCreateSimpleWindow.restype = ctypes.c_ulong
class Attributes(ctypes.Structure):
    _fields_ = [("pad", ctypes.c_char * 88), ("override_redirect", ctypes.c_int), ("rest", ctypes.c_char * 32)]
x.XChangeWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_void_p]
x.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XFlush.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
X, Y, W, H = (int(a) for a in sys.argv[1:5])
w = x.XCreateSimpleWindow(d, x.XDefaultRootWindow(d), X, Y, W, H, 0, 0, 0x00ff00)
a = Attributes()
a.override_redirect = 1
x.XChangeWindowAttributes(d, w, 1 << 9, ctypes.byref(a))  # CWOverrideRedirect
x.XMapRaised(d, w)
x.XFlush(d)
time.sleep(600)
PY
    COVER_PID=$!
    desktop_track "$COVER_PID"
}
uncover() { kill "$COVER_PID"; wait "$COVER_PID" 2>/dev/null || true; }
spot_colour() {
    screenshot "$DESKTOP_DIR/spot.png" && pixel_at "$DESKTOP_DIR/spot.png" "$spot_x" "$spot_y"
}
reminder_on_top() { case $(spot_colour) in ffffd7 | ff8c8c) return 0 ;; esac; return 1; }
covered() { [ "$(spot_colour)" = 00ff00 ]; }
start_rupeta 3
preview
popup_x=$WIN_X
popup_y=$WIN_Y
spot_x=$((popup_x + 147))
spot_y=$((popup_y + 52))
cover $((popup_x - 20)) $((popup_y - 20)) 200 100
# The cover is really there (its edge outside the reminder is green) ...
cover_edge() {
    screenshot "$DESKTOP_DIR/edge.png" &&
        [ "$(pixel_at "$DESKTOP_DIR/edge.png" $((popup_x - 10)) $((popup_y - 10)))" = 00ff00 ]
}
wait_until 3 cover_edge || desktop_fail "the covering window did not appear"
# ... and the reminder is back above it.
wait_until 2 reminder_on_top || desktop_fail "the reminder stayed under another window: $(spot_colour)"
uncover
click_window "$ICON" 1
wait_until 5 popup_menu_window rupeta || desktop_fail "no menu"
xdotool key a
about() { xdotool search --onlyvisible --name '^ルペタについて$' 2>/dev/null | head -n 1; }
wait_until 5 about || desktop_fail "no about dialog"
cover $((popup_x - 20)) $((popup_y - 20)) 200 100
wait_until 3 covered || desktop_fail "the cover did not come over the reminder"
sleep 1
covered || desktop_fail "the reminder came above another window while a dialog runs"
uncover
xdotool key Return
stop_rupeta

# --- The preview leaves the count alone; the reminder hides after 30 s ----------------------
# Ctrl and Shift held at start-up reveal the demo item; in demo mode the tray picture moves on
# every few seconds, so a reset by the preview would show as the first picture again.
# 90 demo minutes take 54 s, so no real reminder comes while this part runs.
xdotool keydown Control_L Shift_L
start_rupeta 3 90
xdotool keyup Control_L Shift_L
window_geometry "$ICON"
screenshot "$DESKTOP_DIR/first.png"
"$DESKTOP_CONVERT" "$DESKTOP_DIR/first.png" -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$DESKTOP_DIR/icon0.png"
click_window "$ICON" 1
wait_until 5 popup_menu_window rupeta || desktop_fail "no menu"
xdotool key d
sleep 12 # about 20 demo minutes of 90
preview
shown_at=$SECONDS
xdotool mousemove 10 10
window_geometry "$ICON"
screenshot "$DESKTOP_DIR/later.png"
"$DESKTOP_CONVERT" "$DESKTOP_DIR/later.png" -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$DESKTOP_DIR/icon1.png"
diff=$("$DESKTOP_CONVERT" "$DESKTOP_DIR/icon0.png" "$DESKTOP_DIR/icon1.png" -compose difference -composite -format '%[fx:maxima]' info:)
awk -v d="$diff" 'BEGIN { exit !(d > 0) }' || desktop_fail "the tray picture is back at its start after the preview"
save_artifact "$DESKTOP_DIR/later.png" windows-preview-in-demo.png >/dev/null

sleep 25
popup_window >/dev/null || desktop_fail "the reminder hid before 30 s ($((SECONDS - shown_at)) s)"
wait_until 10 no_popup || desktop_fail "the reminder did not hide by itself"
((SECONDS - shown_at >= 29)) || desktop_fail "hid after only $((SECONDS - shown_at)) s"
stop_rupeta
echo "PASS: reminder popup"
