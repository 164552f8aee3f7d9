#!/usr/bin/env bash
# Hand-made hostile settings and links files (garbage, NUL bytes, files over 1 MiB, 50 MB of
# blank lines, a pipe, a link to /dev/zero, a link of the user's own, lines ending in CR CR LF,
# duplicates, CP932 with 0x5C second bytes, out-of-range numbers, ...): the real program starts
# on each, exits cleanly, writes the seven keys as expected and keeps every other line byte for
# byte; a file it may not read it leaves exactly as it was.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"
cases=$RUPETA_SOURCE_DIR/tests/e2e/fixtures/hostile_cases.py

desktop_start || desktop_fail "no desktop"
# A first run may open the start page: no browser here.
fake_opener

base=$DESKTOP_DIR/cases
python3 "$cases" prepare "$base"

fault() {
    echo "$*" >>"$base.faults"
}

# One at a time: with several icons in the tray the reported icon places run ahead of
# where the tray draws them.
started=$SECONDS
: >"$base.faults"
mapfile -t names < <(python3 "$cases" list)
for name in "${names[@]}"; do
    rupeta_start "$base/$name" "$base/$name.log"
    pid=$RUPETA_PID
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
