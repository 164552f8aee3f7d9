#!/usr/bin/env bash
# Activity on headless GNOME Mutter, seen through org.gnome.Mutter.IdleMonitor: with Timer=2
# and Reset=1, Enter pressed every few seconds (RemoteDesktop input) brings the reminder at
# about 120 s; with no input no reminder comes in 150 s. Beside the quiet copy, a copy whose
# session bus has no IdleMonitor (and Mutter has neither Wayland idle protocol) tells once
# that activity cannot be seen. Two Mutters side by side: the idle state is the whole seat's.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
wayland_require_user "$@"
export LANG=C.UTF-8 # the notice's title is Japanese

start_copy() { # working directory; sets COPY_PID
    mkdir -p "$1"
    printf '[Timer]\r\nTimer=2\r\nReset=1\r\nbReset=1\r\n' >"$1/rupeta.ini"
    (cd "$1" && exec "$RUPETA_BIN") >"$1/out.log" 2>&1 &
    COPY_PID=$!
    desktop_track "$COPY_PID"
}

reminder_of() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        window_geometry "$w" && [ "$WIN_W" = 153 ] && [ "$WIN_H" = 57 ] && return 0
    done
    return 1
}

# Visible windows of one copy titled "ルペタ" other than the reminder, which has that title too.
notices_of() {
    local w n=0
    for w in $(xdotool search --all --onlyvisible --pid "$1" --name '^ルペタ$' 2>/dev/null); do
        window_geometry "$w" && [ "$WIN_W" = 153 ] && [ "$WIN_H" = 57 ] && continue
        n=$((n + 1))
    done
    echo "$n"
}
has_notice() { [ "$(notices_of "$1")" -ge 1 ]; }

quiet=$DESKTOP_DIR/quiet.result
(
    wayland_second_desktop
    mutter_start || { echo "no second Mutter" >"$quiet"; exit 1; }
    start_copy "$DESKTOP_DIR/quiet"
    quiet_copy=$COPY_PID
    bus=$DBUS_SESSION_BUS_ADDRESS
    wayland_start_bus
    start_copy "$DESKTOP_DIR/blind"
    blind=$COPY_PID
    export DBUS_SESSION_BUS_ADDRESS=$bus
    t0=$SECONDS
    if ! wait_until 20 has_notice "$blind"; then
        echo "no notice where activity cannot be seen" >"$quiet"
        exit 1
    fi
    while ((SECONDS - t0 < 150)); do
        if reminder_of "$quiet_copy"; then
            echo "a reminder came after $((SECONDS - t0)) s without input" >"$quiet"
            exit 1
        fi
        n=$(notices_of "$blind")
        [ "$n" = 1 ] || { echo "$n notices instead of one" >"$quiet"; exit 1; }
        if [ "$(notices_of "$quiet_copy")" != 0 ]; then
            echo "a notice though IdleMonitor answers ($(cat "$DESKTOP_DIR/quiet/out.log"))" >"$quiet"
            exit 1
        fi
        kill -0 "$quiet_copy" || { echo "the quiet copy ended" >"$quiet"; exit 1; }
        sleep 1
    done
    echo ok >"$quiet"
) &
quiet_pid=$!
desktop_track "$quiet_pid"

mutter_start || desktop_fail "no Mutter"
mutter_input_start || desktop_fail "no RemoteDesktop session: $(cat "$DESKTOP_DIR/mutter-input.log")"
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
    ((SECONDS % 4 == 0)) && mutter_key 28
    sleep 1
done
[ -n "$came" ] || desktop_fail "no reminder in 150 s with Enter pressed every 4 s"
((came >= 110 && came <= 135)) || desktop_fail "the reminder came after $came s, not about 120 s"
[ "$(notices_of "$typing")" = 0 ] || desktop_fail "a notice though IdleMonitor answers"
echo "typing: reminder after $came s"

wait "$quiet_pid" || true
[ "$(cat "$quiet" 2>/dev/null)" = ok ] || desktop_fail "quiet case: $(cat "$quiet" 2>/dev/null)"
echo "PASS: activity on Mutter"
