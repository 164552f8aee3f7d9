#!/usr/bin/env bash
# A logout sends SIGTERM: the program must close as "終了(&X)" does — save its settings, remove
# its tray icon and end with status 0 — rather than die with them unsaved.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"

for signal in TERM INT HUP; do
    run=$DESKTOP_DIR/$signal
    mkdir -p "$run"
    rupeta_start "$run" "$run/out.log"
    pid=$RUPETA_PID
    wait_tray_icon 15 rupeta >/dev/null || desktop_fail "no tray icon (log: $(cat "$run/out.log"))"
    wait_for_file 5 "$run/rupeta.ini" || desktop_fail "no rupeta.ini after start-up"
    # Only the save on the way out can bring the file back.
    rm "$run/rupeta.ini"
    kill -"$signal" "$pid"
    wait_for_exit 10 "$pid" || desktop_fail "SIG$signal did not end the program"
    [ "$WAIT_STATUS" = 0 ] || desktop_fail "SIG$signal: exit status $WAIT_STATUS"
    [ -f "$run/rupeta.ini" ] || desktop_fail "SIG$signal: settings not saved on the way out"
    [ "$(grep -c '=' "$run/rupeta.ini")" = 7 ] || desktop_fail "SIG$signal: incomplete rupeta.ini"
    no_icon() { ! tray_icon_window rupeta >/dev/null; }
    wait_until 5 no_icon || desktop_fail "SIG$signal: the tray icon stayed"
    echo "SIG$signal: closed cleanly"
done

# A logout in the middle of the start-up save: strace holds the save's rename for a few
# seconds while its temporary file exists. The signal must wait for the event loop, then
# close cleanly, and the save must not be cut short.
run=$DESKTOP_DIR/starting
mkdir -p "$run"
printf '[Timer]\r\nTimer=45\r\n' >"$run/rupeta.ini"
renames=rename,renameat,renameat2
(cd "$run" && exec strace -o /dev/null -e trace=$renames \
    -e inject=$renames:delay_enter=3000000 "$RUPETA_BIN") >"$run/out.log" 2>&1 &
pid=$!
desktop_track "$pid"
saving() { compgen -G "$run/.rupeta.ini.*.tmp" >/dev/null; }
wait_until 20 saving || desktop_fail "never started the start-up save"
program=$(pgrep -P "$pid" | head -n 1)
[ -n "$program" ] || desktop_fail "no program under strace"
kill -TERM "$program"
wait_for_exit 20 "$pid" || desktop_fail "SIGTERM during start-up did not end the program"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "SIGTERM during start-up: exit status $WAIT_STATUS"
[ -f "$run/rupeta.ini" ] && grep -q '^Timer=45' "$run/rupeta.ini" &&
    [ "$(grep -c '=' "$run/rupeta.ini")" = 7 ] ||
    desktop_fail "SIGTERM during start-up: settings not saved ($(cat "$run/rupeta.ini"))"
leftovers=$(find "$run" -name '*.tmp')
[ -z "$leftovers" ] || desktop_fail "SIGTERM during start-up left $leftovers"
wait_until 5 no_icon || desktop_fail "SIGTERM during start-up: the tray icon stayed"
echo "SIGTERM during start-up: closed cleanly once running"

# Started under nohup, SIGHUP arrives ignored and must stay so; SIGTERM still closes.
run=$DESKTOP_DIR/nohup
mkdir -p "$run"
(cd "$run" && trap '' HUP && exec "$RUPETA_BIN") >"$run/out.log" 2>&1 &
pid=$!
desktop_track "$pid"
wait_tray_icon 15 rupeta >/dev/null || desktop_fail "nohup: no tray icon"
kill -HUP "$pid"
sleep 1
kill -0 "$pid" 2>/dev/null || desktop_fail "nohup: SIGHUP ended the program"
tray_icon_window rupeta >/dev/null || desktop_fail "nohup: the tray icon went after SIGHUP"
kill -TERM "$pid"
wait_for_exit 10 "$pid" || desktop_fail "nohup: SIGTERM did not end the program"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "nohup: exit status $WAIT_STATUS"
echo "nohup: SIGHUP ignored, SIGTERM closed cleanly"
