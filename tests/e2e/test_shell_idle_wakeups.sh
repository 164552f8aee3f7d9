#!/usr/bin/env bash
# Idle, the program must wake once a tick like a bare tray program, not twice: a tick that
# waited for the reply to its cursor query slept and woke a second time. Counted as the
# voluntary context switches of its threads, which the machine's load does not inflate.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"

run=$DESKTOP_DIR/run
mkdir -p "$run"
(cd "$run" && exec "$RUPETA_BIN") >"$run/out.log" 2>&1 &
pid=$!
desktop_track "$pid"
wait_tray_icon 15 rupeta >/dev/null || desktop_fail "no tray icon (log: $(cat "$run/out.log"))"
sleep 5 # start-up work done

voluntary() { cat /proc/"$pid"/task/*/status | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'; }
window=30
before=$(voluntary)
sleep "$window"
after=$(voluntary)
per_second=$(awk -v d=$((after - before)) -v w="$window" 'BEGIN {printf "%.2f", d / w}')
echo "idle wake-ups: $per_second a second (one tick a second)"
awk -v r="$per_second" 'BEGIN {exit !(r <= 1.15)}' ||
    desktop_fail "idle, the program wakes $per_second times a second"
echo "PASS: one wake-up per tick"
