#!/usr/bin/env bash
# The chime through a real sound server (a private PulseAudio null sink, recorded from its
# monitor): the preview plays all of it, twice in a row, and once it has played the program
# closes its stream so the server does not keep waking it between reminders.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"
desktop_start_pulse || desktop_fail "no sound server"

run=$DESKTOP_DIR/run
mkdir -p "$run"
rupeta_start "$run" "$DESKTOP_DIR/out.log"
pid=$RUPETA_PID
icon=$(wait_tray_icon 15 rupeta) || desktop_fail "no tray icon"
rec=$DESKTOP_DIR/rec.raw
pulse_record_start "$rec"
wait_until 5 test -s "$rec" || desktop_fail "nothing recorded from the sound server"

preview() {
    click_window "$icon" 1
    wait_until 5 popup_menu_window rupeta || desktop_fail "no menu"
    xdotool key b
}

stream_closed() {
    ! pactl list short sink-inputs 2>/dev/null | grep -q .
}
dismiss() {
    local popup
    popup=$(popup_window) || desktop_fail "no reminder to click"
    click_window "$popup" 1
}

for round in 1 2; do
    preview
    wait_until 5 popup_window || desktop_fail "preview $round showed no reminder"
    sleep 2.5
    wait_until 3 stream_closed ||
        desktop_fail "the stream stayed open after the chime (round $round)"
    dismiss
    sleep 0.5
done
pulse_record_stop

# Sound bursts in the recording (44100 Hz stereo s16le), split at 0.3 s of silence.
read -r -a bursts < <(python3 - "$rec" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
frames = len(data) // 4
left = struct.unpack("<%dh" % (2 * frames), data[: 4 * frames])[0::2]
loud = [i for i, v in enumerate(left) if abs(v) > 0.005 * 32768]
spans, start, last = [], None, None
for i in loud:
    if start is None:
        start = last = i
    elif i - last > 0.3 * 44100:
        spans.append((last - start) / 44100)
        start = i
    last = i
if start is not None:
    spans.append((last - start) / 44100)
print(" ".join("%.3f" % s for s in spans))
PY
)
echo "sound bursts (s): ${bursts[*]}"
[ "${#bursts[@]}" = 2 ] || desktop_fail "expected two chimes, got ${#bursts[*]}: ${bursts[*]}"
# The chime is 1.18 s above the threshold; each preview must play all of it.
awk -v a="${bursts[0]}" -v b="${bursts[1]}" 'BEGIN {exit !(a >= 1.1 && b >= 1.1)}' ||
    desktop_fail "a chime was cut short: ${bursts[*]}"
kill "$pid"
echo "PASS: sound"
