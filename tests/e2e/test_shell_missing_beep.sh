#!/usr/bin/env bash
# Without a usable "beep.wav" (missing, not a sound, a FIFO) the program does not start: it
# shows an error naming the file, adds no tray icon, writes no settings file and ends with a
# non-zero status.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"

# A copy of the program in a directory of its own, so the chime beside the built program is
# not found; started in an empty current directory.
bin=$DESKTOP_DIR/bin
run=$DESKTOP_DIR/run
mkdir -p "$bin" "$run"
cp "$RUPETA_BIN" "$bin/rupeta"
cmd=("$bin/rupeta")
# The third place looked in is the installed data directory; if this machine has the package
# installed, hide that directory from the program only, in a mount namespace of its own.
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$RUPETA_BUILD_DIR/CMakeCache.txt")
datadir=${prefix:-/usr/local}/share/rupeta
if [ -e "$datadir/beep.wav" ]; then
    cmd=(unshare --mount sh -c 'mount -t tmpfs none "$1" && shift && exec "$@"' sh "$datadir"
        "$bin/rupeta")
fi

check_refuses() { # what
    (cd "$run" && exec "${cmd[@]}") >"$DESKTOP_DIR/out.log" 2>&1 &
    local pid=$!
    desktop_track "$pid"
    message_box() { xdotool search --onlyvisible --name '^ルペタ$' 2>/dev/null | head -n 1; }
    wait_until 15 message_box || desktop_fail "$1: no error message"
    local box
    box=$(message_box)
    local shot=$DESKTOP_DIR/error.png
    screenshot "$shot"
    save_artifact "$shot" "shell-missing-beep-$2.png" >/dev/null
    tray_icon_window rupeta >/dev/null && desktop_fail "$1: a tray icon was added"
    xdotool windowactivate --sync "$box" 2>/dev/null || click_window "$box"
    xdotool key Return
    wait_for_exit 10 "$pid" || desktop_fail "$1: still running after the message was closed"
    [ "$WAIT_STATUS" != 0 ] || desktop_fail "$1: exit status 0"
    [ -z "$(ls -A "$run" | grep -v '^beep.wav$')" ] || desktop_fail "$1: wrote $(ls -A "$run")"
}

check_refuses "missing file" missing
# A file that is there but is no sound stops start-up just the same.
printf '[Timer]\r\nTimer=60\r\n' >"$run/beep.wav"
check_refuses "not a sound" broken
# A FIFO would hold a blocking open for ever: start-up stops with the message instead.
rm "$run/beep.wav"
mkfifo "$run/beep.wav"
check_refuses "a FIFO" fifo
echo "PASS: missing beep.wav"
