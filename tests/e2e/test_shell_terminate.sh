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

# A logout while the program is still starting: here it waits on a settings file that is a
# FIFO, before its first save. The signal must wait for the event loop, then close cleanly.
run=$DESKTOP_DIR/starting
mkdir -p "$run"
mkfifo "$run/rupeta.ini"
(cd "$run" && exec "$RUPETA_BIN") >"$run/out.log" 2>&1 &
pid=$!
desktop_track "$pid"
# Blocked opening the FIFO until a writer comes.
reading_settings() { grep -qE 'wait_for_partner|fifo_open' "/proc/$pid/wchan"; }
wait_until 15 reading_settings || desktop_fail "never started reading rupeta.ini"
kill -TERM "$pid"
sleep 0.5
kill -0 "$pid" 2>/dev/null || desktop_fail "SIGTERM during start-up killed the program"
# Loading reads the file, and so does the save that keeps its other lines; the save's rename
# then puts a regular file in the FIFO's place.
while [ -p "$run/rupeta.ini" ] && wait_until 5 reading_settings; do
    printf '[Timer]\r\nTimer=45\r\n' | timeout 5 tee "$run/rupeta.ini" >/dev/null ||
        desktop_fail "could not hand over rupeta.ini"
done
wait_for_exit 15 "$pid" || desktop_fail "SIGTERM during start-up did not end the program"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "SIGTERM during start-up: exit status $WAIT_STATUS"
[ -f "$run/rupeta.ini" ] && grep -q '^Timer=45' "$run/rupeta.ini" ||
    desktop_fail "SIGTERM during start-up: settings not saved ($(ls -la "$run"))"
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
