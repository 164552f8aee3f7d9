#!/usr/bin/env bash
# Soak in demo mode against the sanitizer build: two hours of program time (7,200 ticks of
# 10 ms; SOAK_HOURS sets another length) with the mouse kept moving, so that a reminder comes
# every hour of program time and hides itself after its real 30 seconds. Checks: every
# reminder is shown and hidden, no sanitizer report, the resident memory at the end within 5 %
# of what it was after the first reminder, and a clean exit. Prints the figures.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"

hours=${SOAK_HOURS:-2}
reminders=$hours # the default period is 60 minutes
[ "$reminders" -ge 2 ] || { echo "FAIL: SOAK_HOURS must be at least 2" >&2; exit 1; }

desktop_start || desktop_fail "no desktop"
mkdir -p "$DESKTOP_DIR/work" "$DESKTOP_DIR/sanitizer"
fake_opener
san=$DESKTOP_DIR/sanitizer
# A small quarantine fills within the first minutes, so that resident memory afterwards
# shows growth of live memory rather than the quarantine filling up.
export ASAN_OPTIONS="log_path=$san/asan:detect_leaks=1:halt_on_error=1:quarantine_size_mb=4"
export UBSAN_OPTIONS="log_path=$san/ubsan:print_stacktrace=1:halt_on_error=1"
# Leaks whose every frame lies in the desktop's own libraries are not ours to fix.
export LSAN_OPTIONS="suppressions=$RUPETA_SOURCE_DIR/tests/e2e/fixtures/lsan-suppressions.txt:print_suppressions=0"

rss_kib() {
    awk '/^VmRSS:/ {print $2}' "/proc/$1/status"
}

# Demo mode shows only when Ctrl and Shift are down while the program starts.
xdotool keydown ctrl shift
rupeta_start "$DESKTOP_DIR/work" "$DESKTOP_DIR/program.log"
pid=$RUPETA_PID
icon_ok=0
wait_until 60 tray_icon_of "$pid" && icon_ok=1
xdotool keyup ctrl shift
[ $icon_ok = 1 ] || desktop_fail "no tray icon: $(tail -5 "$DESKTOP_DIR/program.log")"
rss_start=$(rss_kib "$pid")
open_menu_of "$pid" || desktop_fail "no tray menu"
xdotool key d
started=$SECONDS

# Activity: the pointer moves every 50 ms, away from the tray and the reminder.
(
    x=200
    while :; do
        x=$((x == 200 ? 210 : 200))
        xdotool mousemove "$x" 200
        sleep 0.05
    done
) &
mover=$!
desktop_track "$mover"

# Count the reminder's appearances and disappearances by polling whether the program shows a
# window larger than its icon. A demo hour is 36 s; the reminder stays 30 s.
shown=0 hidden=0 visible=0 rss_first=""
deadline=$((SECONDS + 36 * reminders * 2 + 120))
while ((hidden < reminders)); do
    ((SECONDS < deadline)) || desktop_fail "only $shown reminders shown, $hidden hidden by $((SECONDS - started)) s"
    _desktop_gone "$pid" && desktop_fail "the program ended: $(tail -5 "$DESKTOP_DIR/program.log")"
    if menu_of "$pid"; then
        ((visible)) || { shown=$((shown + 1)) visible=1; echo "reminder $shown shown at $((SECONDS - started)) s"; }
    elif ((visible)); then
        hidden=$((hidden + 1)) visible=0
        echo "reminder $hidden hidden at $((SECONDS - started)) s, RSS $(rss_kib "$pid") KiB"
        [ -n "$rss_first" ] || rss_first=$(rss_kib "$pid")
    fi
    sleep 0.2
done
rss_end=$(rss_kib "$pid")
elapsed=$((SECONDS - started))
cpu=$(awk '{printf "%.1f", ($14 + $15) / 100}' "/proc/$pid/stat")

kill "$mover"
wait "$mover" 2>/dev/null || true
exit_via_menu "$pid" 60 || desktop_fail "did not end through the tray menu"
status=$WAIT_STATUS
reports=$(cat "$san"/* 2>/dev/null | grep -cE '^(==[0-9]+==ERROR|.*runtime error)' || true)

echo "program time: $hours h ($((hours * 3600)) ticks) in $elapsed s wall time, CPU $cpu s"
echo "reminders: $shown shown, $hidden hidden (expected $reminders)"
echo "RSS: start $rss_start KiB, after first reminder $rss_first KiB, end $rss_end KiB"
echo "sanitizer reports: $reports; exit status: $status"
if [ "$reports" != 0 ]; then
    cat "$san"/* >&2
    desktop_fail "sanitizer reports"
fi
[ "$status" = 0 ] || desktop_fail "exit status $status"
((shown == reminders && hidden == reminders)) || desktop_fail "reminders shown $shown, hidden $hidden"
((rss_end * 100 <= rss_first * 105)) ||
    desktop_fail "resident memory grew from $rss_first to $rss_end KiB"
echo "soak passed"
