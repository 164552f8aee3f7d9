#!/usr/bin/env bash
# The reminder on a real desktop, shown by the preview item: it sits 40 pixels from the chosen
# corner of the 1024 x 768 screen (or centred at 65 % of its height), is 153 x 57, leaves the
# keyboard focus where it was, blinks between its base colour and light red, sounds and falls
# silent at a click, hides at a click, and hides by itself after 30 seconds. The preview does
# not touch the running count.
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

# --- The above layer: taken away by someone else, the reminder puts itself back ----------------
# (but not while a dialog runs, which may need to come above it)
remove_above() { # window
    python3 - "$1" <<'PY'
import ctypes, ctypes.util, os, sys
x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
class Message(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("message", Message), ("pad", ctypes.c_long * 24)]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
e = Event()
e.message.type = 33  # ClientMessage
e.message.window = int(sys.argv[1])
e.message.message_type = x.XInternAtom(d, b"_NET_WM_STATE", 0)
e.message.format = 32
e.message.data[0] = 0  # remove
e.message.data[1] = x.XInternAtom(d, b"_NET_WM_STATE_ABOVE", 0)
e.message.data[3] = 1
x.XSendEvent(d, x.XDefaultRootWindow(d), 0, (1 << 19) | (1 << 20), ctypes.byref(e))
x.XFlush(d)
x.XCloseDisplay(d)
PY
}
above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above "$1"; }
start_rupeta 3
preview
above "$POPUP" || desktop_fail "the reminder is not in the above layer"
remove_above "$POPUP"
sleep 1
above "$POPUP" || desktop_fail "the reminder did not put itself back into the above layer"
click_window "$ICON" 1
wait_until 5 popup_menu_window rupeta || desktop_fail "no menu"
xdotool key a
about() { xdotool search --onlyvisible --name '^ルペタについて$' 2>/dev/null | head -n 1; }
wait_until 5 about || desktop_fail "no about dialog"
remove_above "$POPUP"
wait_until 3 not_above "$POPUP" || desktop_fail "the above state could not be taken away"
sleep 1
not_above "$POPUP" || desktop_fail "the reminder put itself above while a dialog runs"
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
