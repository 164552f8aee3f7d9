#!/usr/bin/env bash
# The reminder of the Windows program at real speed under Wine, three copies side by side:
#   Timer=1, Position=3: with Enter typed into notepad, the reminder comes after 60 s at
#     (831, 671) of the 1024x768 screen, notepad keeps the focus, the popup blinks between its
#     two colours, the chime's samples reach the null sink, and a click hides it;
#   Timer=1, Position=4: at the centre rule ((1024 - 153) / 2, 768 * 0.65) = (435, 499);
#   Timer=2, Reset=1, Position=0, left idle from its start: the idle reset comes after a minute,
#     so its reminder, due at two minutes without it, never shows at (40, 40).
# The pointer waits from the start where the first reminder will appear, so the click that
# hides it moves nothing that the idle copy would count as activity.
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
: "${RUPETA_EXE:?rupeta.exe}"

# The popups shown now, as "X,Y" lines.
popups() {
    local w
    for w in $(xdotool search --onlyvisible --classname 'rupeta.exe' 2>/dev/null); do
        window_geometry "$w" && [ "$WIN_W" = 153 ] && [ "$WIN_H" = 57 ] || continue
        echo "$WIN_X,$WIN_Y"
    done
}
popup_shown() { popups | grep -qx "$1"; }
start_copy() { # DIR SETTINGS
    mkdir -p "$1"
    printf '%b' "$2" >"$1/rupeta.ini"
    chown -R nobody:nogroup "$1" 2>/dev/null || true
    wine_run "$1" "$exe"
}

wine_desktop_start || desktop_fail "no Wine desktop"
wine_start_pulse || desktop_fail "no PulseAudio"
wine_notepad || desktop_fail "notepad did not start"
wine_copy "$RUPETA_SOURCE_DIR/resources/beep.wav" >/dev/null
exe=$(wine_copy "$RUPETA_EXE")
xdotool mousemove 851 716

start_copy "$WINE_DIR/r3" '[Timer]\r\nTimer=1\r\nReset=5\r\nbReset=1\r\nPosition=3\r\n'
started=$SECONDS
start_copy "$WINE_DIR/r4" '[Timer]\r\nTimer=1\r\nReset=5\r\nbReset=1\r\nPosition=4\r\n'
wine_wait_tray 30 >/dev/null || desktop_fail "no icon in Wine's tray"
for _ in 1 2 3; do
    sleep 3
    xdotool key Return
done
[ "$(xdotool getwindowfocus)" = "$NOTEPAD_WIN" ] || desktop_fail "notepad lost the focus"
start_copy "$WINE_DIR/idle" '[Timer]\r\nTimer=2\r\nReset=1\r\nbReset=1\r\nPosition=0\r\n'
idle_started=$SECONDS

sleep $((started + 50 - SECONDS))
popups | grep -q . && desktop_fail "a reminder came early: $(popups)"
pulse_record_start "$DESKTOP_DIR/chime.raw"
wait_until 20 popup_shown 831,671 || desktop_fail "no reminder at (831, 671): $(popups)"
after=$((SECONDS - started))
((after >= 58 && after <= 65)) || desktop_fail "the reminder came after $after s, not 60"
wait_until 5 popup_shown 435,499 || desktop_fail "no reminder at the centre rule: $(popups)"
[ "$(xdotool getwindowfocus)" = "$NOTEPAD_WIN" ] || desktop_fail "the reminder took the focus"

# Blinking: both colours within a few seconds, sampled inside the popup.
colours=""
for _ in 1 2 3 4 5 6; do
    screenshot "$DESKTOP_DIR/blink.png"
    colours+="$(pixel_at "$DESKTOP_DIR/blink.png" 931 676) "
    sleep 0.5
done
[[ $colours == *ffffd7* && $colours == *ff8c8c* ]] ||
    desktop_fail "the popup did not blink between ffffd7 and ff8c8c: $colours"
save_artifact "$DESKTOP_DIR/blink.png" wine-reminder.png >/dev/null
pulse_record_stop
amplitude=$(pulse_max_amplitude "$DESKTOP_DIR/chime.raw")
awk -v a="$amplitude" 'BEGIN { exit !(a > 0.05) }' ||
    desktop_fail "the chime did not reach the sink (amplitude $amplitude)"

xdotool click 1
first_gone() { ! popup_shown 831,671; }
wait_until 5 first_gone ||
    desktop_fail "a click left the reminder up"

# The idle copy: reset after a minute of no input, so nothing at two minutes.
while ((SECONDS < idle_started + 128)); do
    popup_shown 40,40 && desktop_fail "the idle copy showed its reminder after $((SECONDS - idle_started)) s"
    sleep 1
done
echo "PASS: reminder after $after s at (831, 671) and the centre rule, focus kept, blink," \
    "chime (amplitude $amplitude), click hides; idle copy reset, no reminder"
