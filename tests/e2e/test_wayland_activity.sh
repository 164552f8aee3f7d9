#!/usr/bin/env bash
# Activity on Wayland desktops, seen through the compositors' own idle interfaces. With
# Timer=2 and Reset=1: Enter pressed every few seconds brings the reminder at about 120 s;
# with no input the idle count resets and no reminder comes in 150 s. On headless sway
# (org_kde_kwin_idle; Enter typed into a native Wayland window) and on headless Mutter
# (org.gnome.Mutter.IdleMonitor; Enter through RemoteDesktop). Beside Mutter's quiet copy, a
# copy whose session bus has no IdleMonitor (Mutter has neither Wayland idle protocol) says
# once that activity cannot be seen. Every case has a compositor of its own, all side by side:
# the idle state is the whole seat's.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
wayland_require_user "$@"
export LANG=C.UTF-8 # the program's window titles are Japanese

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

# Each case runs in a subshell with a desktop of its own and writes "ok" or what went wrong.
results=$DESKTOP_DIR/results
mkdir -p "$results"
case_pids=()
run_case() { # name function
    (
        wayland_second_desktop
        result=$results/$1
        fail() {
            echo "$*" >"$result"
            exit 1
        }
        detail=""
        "$2"
        echo "ok${detail:+ ($detail)}" >"$result"
    ) &
    case_pids+=($!)
    desktop_track $!
}

# Presses Enter every 4 s through the given command until the copy's reminder shows.
expect_reminder_while_typing() { # copy-pid command...
    local copy=$1 t0=$SECONDS came=""
    shift
    while ((SECONDS - t0 < 150)); do
        if reminder_of "$copy"; then
            came=$((SECONDS - t0))
            break
        fi
        kill -0 "$copy" || fail "the program ended"
        ((SECONDS % 4 == 0)) && "$@"
        sleep 1
    done
    [ -n "$came" ] || fail "no reminder in 150 s with Enter pressed every 4 s"
    ((came >= 110 && came <= 135)) || fail "the reminder came after $came s, not about 120 s"
    [ "$(notices_of "$copy")" = 0 ] || fail "a notice though the compositor reports idleness"
    detail="reminder after $came s"
}

# 150 s without input: no reminder; the program keeps running.
expect_no_reminder_when_quiet() { # copy-pid [function run every second]
    local copy=$1 t0=$SECONDS
    while ((SECONDS - t0 < 150)); do
        reminder_of "$copy" && fail "a reminder came after $((SECONDS - t0)) s without input"
        kill -0 "$copy" || fail "the program ended"
        [ $# -lt 2 ] || "$2"
        sleep 1
    done
}

sway_typing() {
    sway_start || fail "no sway"
    sway_open_terminal || fail "no Wayland terminal has the focus"
    start_copy "$DESKTOP_DIR/typing"
    expect_reminder_while_typing "$COPY_PID" sway_type Return
}

sway_quiet() {
    sway_start || fail "no sway"
    start_copy "$DESKTOP_DIR/quiet"
    expect_no_reminder_when_quiet "$COPY_PID"
}

mutter_typing() {
    mutter_start || fail "no Mutter"
    mutter_input_start || fail "no RemoteDesktop session: $(cat "$DESKTOP_DIR/mutter-input.log")"
    start_copy "$DESKTOP_DIR/typing"
    expect_reminder_while_typing "$COPY_PID" mutter_key 28
}

mutter_quiet() {
    mutter_start || fail "no Mutter"
    start_copy "$DESKTOP_DIR/quiet"
    quiet_copy=$COPY_PID
    local bus=$DBUS_SESSION_BUS_ADDRESS
    wayland_start_bus
    start_copy "$DESKTOP_DIR/blind"
    blind=$COPY_PID
    export DBUS_SESSION_BUS_ADDRESS=$bus
    wait_until 20 has_notice "$blind" || fail "no notice where activity cannot be seen"
    expect_no_reminder_when_quiet "$quiet_copy" check_notices
}
check_notices() {
    local n
    n=$(notices_of "$blind")
    [ "$n" = 1 ] || fail "$n notices instead of one"
    [ "$(notices_of "$quiet_copy")" = 0 ] || fail "a notice though IdleMonitor answers"
}

run_case "sway, Enter typed" sway_typing
run_case "sway, no input" sway_quiet
run_case "Mutter, Enter pressed" mutter_typing
run_case "Mutter, no input" mutter_quiet
for pid in "${case_pids[@]}"; do
    wait "$pid" || true
done
failed=0
for name in "sway, Enter typed" "sway, no input" "Mutter, Enter pressed" "Mutter, no input"; do
    echo "$name: $(cat "$results/$name" 2>/dev/null || echo "no result")"
    [[ $(cat "$results/$name" 2>/dev/null) == ok* ]] || failed=1
done
[ $failed = 0 ] || desktop_fail "see above"
echo "PASS: activity on Wayland"
