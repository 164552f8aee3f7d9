#!/usr/bin/env bash
# What staying resident costs: ルペタ next to a bare Qt tray program with a precise 1-second
# timer (bench/bare-tray), both on the same private virtual desktop (Xvfb + fluxbox, and a
# private PulseAudio when installed, as on a real desktop). After a minute it reads, for each:
# RSS, PSS and USS (/proc/PID/smaps_rollup), then over the next two minutes the CPU time (as
# seconds per hour) and the wake-ups per second (voluntary + involuntary context switches of
# all threads, and the voluntary ones alone: on a busy machine preemptions add involuntary
# switches that are the load's, not the program's). Prints figures only; never fails on them.
#   scripts/bench-resident.sh            (uses build/, or $RUPETA_BUILD_DIR;
#                                         RUPETA_BENCH_WINDOW=600 for a ten-minute window;
#                                         RUPETA_BENCH_DESKTOP=sway on headless sway instead,
#                                         both programs through XWayland, as an ordinary
#                                         user when started as root)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${RUPETA_BUILD_DIR:-$repo/build}
settle=60
window=${RUPETA_BENCH_WINDOW:-120} # seconds; longer windows resolve CPU time more finely

desktop=${RUPETA_BENCH_DESKTOP:-x11}

# Built by whoever owns the build tree; the ordinary user of the sway run only reads it.
if [ ! -e "$build" ] || [ -w "$build" ]; then
    if [ ! -f "$build/CMakeCache.txt" ]; then
        (cd "$repo" && cmake --preset default -B "$build" >/dev/null)
    fi
    cmake --build "$build" --target rupeta -j2 >/dev/null
    cmake -S "$repo/bench/bare-tray" -B "$build/bare-tray" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build/bare-tray" -j2 >/dev/null
fi

source "$repo/tests/e2e/desktop.sh"
case $desktop in
x11)
    desktop_start || desktop_fail "no virtual desktop"
    ;;
sway)
    source "$repo/tests/e2e/wayland.sh"
    WAYLAND_USER_BUILD_FILES=(bare-tray/bare-tray)
    RUPETA_BUILD_DIR=$build RUPETA_SOURCE_DIR=$repo wayland_require_user "$@"
    sway_start || desktop_fail "no sway"
    # ルペタ chooses XWayland by itself; the bare program is told to, for a fair comparison.
    export QT_QPA_PLATFORM=xcb
    ;;
*)
    echo "RUPETA_BENCH_DESKTOP: x11 or sway, not $desktop" >&2
    exit 2
    ;;
esac
sound="no sound server"
if command -v pulseaudio >/dev/null && desktop_start_pulse; then
    sound="private PulseAudio"
fi

mkdir -p "$DESKTOP_DIR/rupeta" "$DESKTOP_DIR/bare"
(cd "$DESKTOP_DIR/rupeta" && exec "$build/rupeta") >/dev/null 2>&1 &
rupeta=$!
desktop_track "$rupeta"
(cd "$DESKTOP_DIR/bare" && exec "$build/bare-tray/bare-tray") >/dev/null 2>&1 &
bare=$!
desktop_track "$bare"
if [ "$desktop" = sway ]; then
    # swaybar's tray is a StatusNotifierItem host: both items registered with its watcher.
    sni_items() {
        gdbus call --session --dest org.kde.StatusNotifierWatcher \
            --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
            org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems |
            grep -o "'[^']*'" | wc -l
    }
    two_items() { [ "$(sni_items)" -ge 2 ]; }
    wait_until 15 two_items || desktop_fail "the tray items did not register"
else
    wait_tray_icon 15 rupeta >/dev/null || desktop_fail "ルペタ has no tray icon"
    wait_tray_icon 15 bare-tray >/dev/null || desktop_fail "bare-tray has no tray icon"
fi

kib() { awk -v k="$2" '$1 == k":" {print $2}' "/proc/$1/smaps_rollup"; }
uss() { awk '$1 == "Private_Clean:" || $1 == "Private_Dirty:" {s += $2} END {print s}' \
    "/proc/$1/smaps_rollup"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {s += $2} END {print s}'; }
voluntary() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt/ {s += $2} END {print s}'; }
threads() { ls "/proc/$1/task" | wc -l; }

echo "Settling for ${settle} s (desktop $desktop, $sound)..."
sleep "$settle"
declare -A rss pss uss c0 s0 v0
for p in "$rupeta" "$bare"; do
    rss[$p]=$(kib "$p" Rss)
    pss[$p]=$(kib "$p" Pss)
    uss[$p]=$(uss "$p")
    c0[$p]=$(cpu_ticks "$p")
    s0[$p]=$(switches "$p")
    v0[$p]=$(voluntary "$p")
done
echo "Measuring CPU and wake-ups over ${window} s..."
sleep "$window"
hz=$(getconf CLK_TCK)

printf '\n%-10s %9s %9s %9s %14s %12s %12s %8s\n' program "RSS MiB" "PSS MiB" "USS MiB" \
    "CPU s/hour" "wakeups/s" "voluntary/s" threads
declare -A cph wps vps
for p in "$rupeta" "$bare"; do
    name=rupeta
    [ "$p" = "$bare" ] && name=bare-tray
    dc=$(($(cpu_ticks "$p") - c0[$p]))
    ds=$(($(switches "$p") - s0[$p]))
    cph[$p]=$(awk -v t="$dc" -v hz="$hz" -v w="$window" 'BEGIN {printf "%.2f", t / hz * 3600 / w}')
    wps[$p]=$(awk -v d="$ds" -v w="$window" 'BEGIN {printf "%.2f", d / w}')
    vps[$p]=$(awk -v d=$(($(voluntary "$p") - v0[$p])) -v w="$window" \
        'BEGIN {printf "%.2f", d / w}')
    printf '%-10s %9.1f %9.1f %9.1f %14s %12s %12s %8s\n' "$name" \
        "$(awk -v k="${rss[$p]}" 'BEGIN {print k / 1024}')" \
        "$(awk -v k="${pss[$p]}" 'BEGIN {print k / 1024}')" \
        "$(awk -v k="${uss[$p]}" 'BEGIN {print k / 1024}')" "${cph[$p]}" "${wps[$p]}" "${vps[$p]}" \
        "$(threads "$p")"
done
awk -v a="${rss[$rupeta]}" -v b="${rss[$bare]}" -v c="${cph[$rupeta]}" -v d="${cph[$bare]}" \
    'BEGIN {
        cpu = (d > 0) ? sprintf("%.2fx", c / d) : "n/a (bare-tray used no measurable CPU)"
        printf "\nrupeta / bare-tray: RSS %.2fx (target <= 1.25x), CPU %s (target <= 1.5x)\n",
            a / b, cpu
    }'
awk -v a="${wps[$rupeta]}" -v b="${wps[$bare]}" -v c="${vps[$rupeta]}" -v d="${vps[$bare]}" \
    'BEGIN {printf "wake-ups %.2fx, voluntary %.2fx (target <= 1.1x)\n", a / b, c / d}'
echo "(CPU time is counted in 1/${hz} s ticks: over ${window} s one tick is $(awk -v hz="$hz" -v w="$window" 'BEGIN {printf "%.1f", 3600 / w / hz}') s/hour.)"
