#!/usr/bin/env bash
# Activity on headless sway, seen through its idle protocol: with Timer=2 and Reset=1, Enter
# typed every few seconds into a native Wayland window brings the reminder at about 120 s;
# with no input the idle count resets and no reminder comes in 150 s. The two cases run side
# by side, each in a sway of its own (the idle state is the whole seat's).
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
wayland_require_user "$@"

start_copy() { # working directory; sets COPY_PID
    mkdir -p "$1"
    printf '[Timer]\r\nTimer=2\r\nReset=1\r\nbReset=1\r\n' >"$1/rupeta.ini"
    (cd "$1" && exec "$RUPETA_BIN") >"$1/out.log" 2>&1 &
    COPY_PID=$!
    desktop_track "$COPY_PID"
}

# The reminder (153 x 57) of one copy, found through XWayland.
reminder_of() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        window_geometry "$w" && [ "$WIN_W" = 153 ] && [ "$WIN_H" = 57 ] && return 0
    done
    return 1
}

quiet=$DESKTOP_DIR/quiet.result
(
    wayland_second_desktop
    sway_start || { echo "no second sway" >"$quiet"; exit 1; }
    start_copy "$DESKTOP_DIR/quiet"
    t0=$SECONDS
    while ((SECONDS - t0 < 150)); do
        if reminder_of "$COPY_PID"; then
            echo "a reminder came after $((SECONDS - t0)) s without input" >"$quiet"
            exit 1
        fi
        kill -0 "$COPY_PID" || { echo "the quiet copy ended" >"$quiet"; exit 1; }
        sleep 1
    done
    echo ok >"$quiet"
) &
quiet_pid=$!
desktop_track "$quiet_pid"

sway_start || desktop_fail "no sway"
sway_open_terminal || desktop_fail "no Wayland terminal has the focus"
start_copy "$DESKTOP_DIR/typing"
typing=$COPY_PID
t0=$SECONDS
came=""
while ((SECONDS - t0 < 150)); do
    if reminder_of "$typing"; then
        came=$((SECONDS - t0))
        break
    fi
    kill -0 "$typing" || desktop_fail "the typing copy ended: $(cat "$DESKTOP_DIR/typing/out.log")"
    ((SECONDS % 4 == 0)) && sway_type Return
    sleep 1
done
[ -n "$came" ] || desktop_fail "no reminder in 150 s with Enter typed every 4 s"
((came >= 110 && came <= 135)) || desktop_fail "the reminder came after $came s, not about 120 s"
echo "typing: reminder after $came s"

wait "$quiet_pid" || true
[ "$(cat "$quiet" 2>/dev/null)" = ok ] || desktop_fail "quiet case: $(cat "$quiet" 2>/dev/null)"
echo "PASS: activity on sway"
