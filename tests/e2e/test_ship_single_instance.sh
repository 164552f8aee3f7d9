#!/usr/bin/env bash
# One copy per working directory: a second start there (here through a symbolic link to the
# same directory) brings up the first copy's settings dialog and ends with status 0 without
# touching rupeta.ini; with that dialog open a further start opens no second one; a start in
# another directory runs beside it; after a SIGKILL of the first copy a new start runs. Ten
# copies released at the same instant in one directory leave exactly one running; the other
# nine end with status 0 without writing rupeta.ini, and after a SIGKILL of the survivor the
# next start runs.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"

desktop_start || desktop_fail "no desktop"
mkdir -p "$DESKTOP_DIR/bin"
printf '#!/bin/sh\nexit 0\n' >"$DESKTOP_DIR/bin/xdg-open"
chmod +x "$DESKTOP_DIR/bin/xdg-open"
export PATH=$DESKTOP_DIR/bin:$PATH

a=$DESKTOP_DIR/a
b=$DESKTOP_DIR/b
mkdir -p "$a" "$b"
ln -s "$a" "$DESKTOP_DIR/a-link"
log=$DESKTOP_DIR/program.log

# Starts the program in DIR in the background; sets PID.
start_in() {
    (cd "$1" && exec "$RUPETA_BIN") >>"$log" 2>&1 &
    PID=$!
    desktop_track "$PID"
}
settings_of() { xdotool search --all --onlyvisible --pid "$1" --name '^ルペタ設定$' 2>/dev/null; }
settings_count() { xdotool search --onlyvisible --name '^ルペタ設定$' 2>/dev/null | wc -l; }
stamp() { stat -c '%i %s %y' "$1"; }

start_in "$a"
first=$PID
wait_until 20 tray_icon_of "$first" || desktop_fail "the first copy shows no tray icon"
cp "$a/rupeta.ini" "$DESKTOP_DIR/before.ini"
before=$(stamp "$a/rupeta.ini")

start_in "$DESKTOP_DIR/a-link"
second=$PID
wait_for_exit 10 "$second" || desktop_fail "the second copy in the same directory keeps running"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "the second copy ended with status $WAIT_STATUS"
wait_until 10 settings_of "$first" || desktop_fail "the first copy did not open its settings dialog"
cmp -s "$a/rupeta.ini" "$DESKTOP_DIR/before.ini" || desktop_fail "rupeta.ini changed by the second start"
[ "$(stamp "$a/rupeta.ini")" = "$before" ] || desktop_fail "rupeta.ini rewritten by the second start"
echo "a second start in the same directory opened the first copy's settings and ended with 0"

# While the dialog runs, a further start is turned away and opens nothing more.
start_in "$a"
wait_for_exit 10 "$PID" || desktop_fail "the third copy keeps running"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "the third copy ended with status $WAIT_STATUS"
sleep 1
[ "$(settings_count)" = 1 ] || desktop_fail "$(settings_count) settings dialogs are open"
xdotool windowactivate --sync "$(settings_of "$first")" 2>/dev/null || true
xdotool key Escape
gone() { [ -z "$(settings_of "$first")" ]; }
wait_until 5 gone || desktop_fail "Esc did not close the settings dialog"

# Another directory has its own settings, so its copy runs beside the first.
start_in "$b"
other=$PID
wait_until 20 tray_icon_of "$other" || desktop_fail "the copy in another directory shows no tray icon"
_desktop_gone "$first" && desktop_fail "the first copy went away"
# Two icons in the tray move under the pointer: ended by SIGTERM, which closes it cleanly.
kill -TERM "$other"
wait_for_exit 10 "$other" || desktop_fail "the copy in another directory did not end on SIGTERM"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "the copy in another directory ended with status $WAIT_STATUS"
[ -s "$b/rupeta.ini" ] || desktop_fail "the copy in another directory wrote no rupeta.ini there"
echo "a copy in another directory ran beside the first"

# A crashed copy leaves its socket behind; it must not block the next start.
kill -KILL "$first"
wait_for_exit 10 "$first" || desktop_fail "the first copy survived SIGKILL"
start_in "$a"
wait_until 20 tray_icon_of "$PID" || desktop_fail "no start after the first copy was killed: $(tail -3 "$log")"
exit_via_menu "$PID" || desktop_fail "the new copy did not end through its menu"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "the new copy ended with status $WAIT_STATUS"
echo "after a SIGKILL of the first copy a new start ran"

# Ten at the same instant: each waits at a FIFO until it opens for writing, then starts under
# strace, which records every open, rename and removal of a file, and holds every bind(2) for
# half a second: the moment a copy takes its socket is drawn out as on a loaded machine, so a
# check for a running copy that is not one step with the claim lets several through.
c=$DESKTOP_DIR/c
gate=$DESKTOP_DIR/gate
mkdir -p "$c"
mkfifo "$gate"
traced=open,openat,creat,rename,renameat,renameat2,unlink,unlinkat,truncate,bind
racers=()
for i in $(seq 0 9); do
    (
        read -r _ <"$gate" || true
        cd "$c" && exec strace -f -qq --seccomp-bpf -e trace=$traced \
            -e inject=bind:delay_enter=500000 -o "$DESKTOP_DIR/race.$i" "$RUPETA_BIN"
    ) >>"$log" 2>&1 &
    racers+=($!)
    desktop_track "$!"
done
sleep 1
exec 3>"$gate"
exec 3>&-
survivor=""
ended=0
for i in $(seq 0 9); do
    if wait_for_exit 20 "${racers[i]}"; then
        [ "$WAIT_STATUS" = 0 ] || desktop_fail "copy $i of ten ended with status $WAIT_STATUS"
        # Reading is allowed; anything else that names the file is a write.
        writes=$(grep 'rupeta\.ini' "$DESKTOP_DIR/race.$i" | grep -v 'O_RDONLY' || true)
        [ -z "$writes" ] || desktop_fail "copy $i of ten ended but wrote rupeta.ini: $writes"
        ended=$((ended + 1))
    else
        [ -z "$survivor" ] || desktop_fail "copies $survivor and $i of ten both keep running"
        survivor=$i
    fi
done
[ -n "$survivor" ] || desktop_fail "none of ten copies keeps running"
grep -q 'rename.*rupeta\.ini' "$DESKTOP_DIR/race.$survivor" ||
    desktop_fail "strace saw the survivor save nothing, so it could not have seen the others"
program=$(pgrep -P "${racers[survivor]}" | head -n 1)
wait_until 20 tray_icon_of "$program" || desktop_fail "the survivor of ten shows no tray icon"
echo "ten copies at once: copy $survivor runs, $ended ended with 0 and wrote nothing"

kill -KILL "$program"
wait_for_exit 10 "${racers[survivor]}" || desktop_fail "the survivor of ten survived SIGKILL"
start_in "$c"
wait_until 20 tray_icon_of "$PID" || desktop_fail "no start after the survivor was killed: $(tail -3 "$log")"
kill -TERM "$PID"
wait_for_exit 10 "$PID" || desktop_fail "the copy after the survivor did not end on SIGTERM"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "the copy after the survivor ended with status $WAIT_STATUS"
echo "after a SIGKILL of the survivor a new start ran"
