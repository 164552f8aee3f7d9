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
