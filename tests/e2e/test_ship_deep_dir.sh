#!/usr/bin/env bash
# A working directory nested about 5,000 bytes deep, beyond PATH_MAX, works like any other:
# the program starts, shows its tray icon, ends through its menu and writes the seven keys.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"

desktop_start || desktop_fail "no desktop"
fake_opener

# No single path this long can be passed to the kernel: build and enter it one level at a
# time, relative to the level before; each level's name is 200 bytes long.
level=$(printf 'd%.0s' $(seq 1 199))
depth=25
descend() {
    local i
    cd "$DESKTOP_DIR"
    for ((i = 0; i < depth; i++)); do
        mkdir -p "$level$i"
        cd "$level$i"
    done
}
(
    descend
    deep_length=$(($(printf '%s' "$DESKTOP_DIR" | wc -c) + depth * 201))
    echo "working directory: $deep_length bytes deep"
    ((deep_length > 4096)) || desktop_fail "not deeper than PATH_MAX"
    exec "$RUPETA_BIN"
) >"$DESKTOP_DIR/program.log" 2>&1 &
pid=$!
desktop_track "$pid"
wait_until 20 tray_icon_of "$pid" || desktop_fail "no tray icon (log: $(cat "$DESKTOP_DIR/program.log"))"
exit_via_menu "$pid" || desktop_fail "did not end through the tray menu"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "exit status $WAIT_STATUS"
head -1 "$DESKTOP_DIR/program.log"

(
    descend
    for key in Timer=60 Reset=10 bReset=1 Position=3 'ID=[0-9-]+' 'first-activated=[0-9/]+' Password=; do
        grep -qaE "^$key"$'\r'"?\$" rupeta.ini || desktop_fail "rupeta.ini lacks $key: $(cat -A rupeta.ini)"
    done
    [ "$(grep -c = rupeta.ini)" = 7 ] || desktop_fail "rupeta.ini does not hold exactly seven keys"
    ! compgen -G ".rupeta.ini.*" >/dev/null || desktop_fail "temporary file left behind"
)
echo "rupeta.ini written with its seven keys"
