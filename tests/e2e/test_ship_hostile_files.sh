#!/usr/bin/env bash
# Hand-made hostile settings and links files (garbage, NUL bytes, a 1 MiB line, duplicates,
# CP932 with 0x5C second bytes, out-of-range numbers, ...): the real program starts on each,
# exits cleanly, writes the seven keys as expected and keeps every other line byte for byte.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
cases=$RUPETA_SOURCE_DIR/tests/e2e/fixtures/hostile_cases.py

desktop_start || desktop_fail "no desktop"
# The first run opens the start page: record it instead of starting a browser.
mkdir -p "$DESKTOP_DIR/bin"
printf '#!/bin/sh\nexit 0\n' >"$DESKTOP_DIR/bin/xdg-open"
chmod +x "$DESKTOP_DIR/bin/xdg-open"
export PATH=$DESKTOP_DIR/bin:$PATH

base=$DESKTOP_DIR/cases
python3 "$cases" prepare "$base"

# The tray icon of one process.
tray_icon_of() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        window_geometry "$w" || continue
        if ((WIN_W <= 32 && WIN_H <= 32 && WIN_W > 1 && WIN_H > 1)); then
            echo "$w"
            return 0
        fi
    done
    return 1
}

# The open tray menu of one process.
menu_of() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        window_geometry "$w" || continue
        ((WIN_W > 32 || WIN_H > 32)) && return 0
    done
    return 1
}

# The icon's place, once the tray has stopped moving icons about (they shift whenever
# another process's icon comes or goes).
settled_icon_of() {
    local icon before
    icon=$(tray_icon_of "$1") || return 1
    window_geometry "$icon" || return 1
    before="$WIN_X,$WIN_Y"
    sleep 0.3
    window_geometry "$icon" || return 1
    [ "$before" = "$WIN_X,$WIN_Y" ] && echo "$icon"
}

# Ends one process as a user would: tray menu, "終了(&X)" by its access key. A click that
# missed the icon is undone with Escape and tried again.
exit_via_menu() {
    local pid=$1 icon try
    for try in 1 2 3; do
        icon=$(wait_until 5 settled_icon_of "$pid" && settled_icon_of "$pid") || return 1
        click_window "$icon" 3
        if wait_until 3 menu_of "$pid"; then
            xdotool key x
            wait_for_exit 15 "$pid"
            return
        fi
        xdotool key Escape
    done
    return 1
}

fault() {
    echo "$*" >>"$base.faults"
}

# One at a time: with several icons in the tray the reported icon places run ahead of
# where the tray draws them.
started=$SECONDS
: >"$base.faults"
mapfile -t names < <(python3 "$cases" list)
for name in "${names[@]}"; do
    (cd "$base/$name" && exec "$RUPETA_BIN") >"$base/$name.log" 2>&1 &
    pid=$!
    desktop_track "$pid"
    if ! wait_until 20 tray_icon_of "$pid"; then
        fault "$name: no tray icon"
    elif ! exit_via_menu "$pid"; then
        fault "$name: did not end through the tray menu"
    elif [ "$WAIT_STATUS" != 0 ]; then
        fault "$name: exit status $WAIT_STATUS"
    fi
    kill -KILL "$pid" 2>/dev/null || true
    if compgen -G "$base/$name/core*" >/dev/null; then
        fault "$name: core dump"
    fi
done
echo "${#names[@]} cases started and ended in $((SECONDS - started)) s"

if [ -s "$base.faults" ]; then
    cat "$base.faults" >&2
    for name in $(cut -d: -f1 "$base.faults" | sort -u); do
        echo "--- $name.log" >&2
        tail -5 "$base/$name.log" >&2
    done
    desktop_fail "$(wc -l <"$base.faults") program faults"
fi
python3 "$cases" check "$base" || desktop_fail "settings files not as expected"
