#!/usr/bin/env bash
# What staying resident costs on Windows, measured under Wine: the bare Win32 tray program with
# a 1-second timer (bench/win32), the idle rupeta.exe of the build (with its chime beside it) and
# each other .exe given, side by side on one Wine desktop
# (tests/e2e/wine.sh: Xvfb, openbox, Wine's own tray window, a private PulseAudio when
# installed). After a settling minute it prints, per program, what Windows reports (private
# bytes, working set, handles, GDI and USER objects; bench/win32/ProcessFigures.cpp) and what
# Linux sees of the Wine process (RSS and USS from /proc/PID/smaps_rollup), then the CPU time
# over the next two minutes as seconds per hour; and the .exe's size and DLL imports; last,
# rupeta.exe against its targets (private bytes within 1.5 times the bare program's, the .exe
# under 1 MB). Prints figures only; never fails on them.
#   scripts/bench-win32.sh [PROGRAM.exe...]   (builds build-windows/ first;
#                                             RUPETA_BENCH_WINDOW=600 for a ten-minute window)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build-windows
settle=${RUPETA_BENCH_SETTLE:-60}
window=${RUPETA_BENCH_WINDOW:-120}

if [ ! -f "$build/CMakeCache.txt" ]; then
    (cd "$repo" && cmake --preset windows >/dev/null)
fi
cmake --build "$build" --target bare-tray-win32 process-figures rupeta -j2 >/dev/null
programs=("$build/bench/win32/bare-tray-win32.exe" "$build/win32/rupeta.exe" "$@")

source "$repo/tests/e2e/wine.sh"
wine_desktop_start || desktop_fail "no Wine desktop"
sound="no sound server"
if command -v pulseaudio >/dev/null && wine_start_pulse; then
    sound="private PulseAudio"
fi
probe=$(wine_copy "$build/bench/win32/process-figures.exe")
# rupeta.exe finds its chime beside itself; each program runs in an empty folder of its own.
wine_copy "$repo/resources/beep.wav" >/dev/null

pids=()
names=()
for exe in "${programs[@]}"; do
    name=$(basename "$exe")
    copy=$(wine_copy "$exe")
    wine_run "$WINE_DIR/run-${#pids[@]}" "$copy"
    pids+=("$WINE_PID")
    names+=("$name")
done
sleep "$settle"

# The Linux process that runs a Windows program: Wine execs its loader, so it is the one that
# was started.
cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$1/stat"
}
kb() {
    awk -v key="$2" '$1 == key":" {print $2}' "/proc/$1/smaps_rollup"
}

echo "Resident cost under Wine $(wine --version 2>/dev/null) ($sound), $(date -u '+%F %H:%M UTC')"
for i in "${!pids[@]}"; do
    exe=${programs[i]}
    imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
        tr '\n' ' ')
    echo "${names[i]}: $(stat -c %s "$exe") bytes; imports: $imports"
done
wine_exec wine "$probe" "${names[@]}" 2>/dev/null | tr -d '\r' || true
declare -A before
for i in "${!pids[@]}"; do
    pid=${pids[i]}
    uss=$(($(kb "$pid" Private_Clean) + $(kb "$pid" Private_Dirty)))
    echo "${names[i]}: Linux view: RSS $(kb "$pid" Rss) KB, USS $uss KB"
    before[$pid]=$(cpu_ticks "$pid")
done
sleep "$window"
hz=$(getconf CLK_TCK)
for i in "${!pids[@]}"; do
    pid=${pids[i]}
    ticks=$(($(cpu_ticks "$pid") - before[$pid]))
    awk -v t="$ticks" -v hz="$hz" -v w="$window" -v n="${names[i]}" \
        'BEGIN {printf "%s: CPU %.2f s per hour (%d ticks in %d s)\n", n, t / hz * 3600 / w, t, w}'
done
figures=$(wine_exec wine "$probe" "${names[@]}" 2>/dev/null | tr -d '\r' || true)
echo "$figures"

# rupeta.exe against its targets.
private_kb() { sed -n "s/^$1: private \([0-9.]*\) KB.*/\1/p" <<<"$figures" | head -n1; }
bare=$(private_kb bare-tray-win32.exe)
rupeta=$(private_kb rupeta.exe)
awk -v r="$rupeta" -v b="$bare" -v size="$(stat -c %s "${programs[1]}")" 'BEGIN {
    if (r != "" && b > 0)
        printf "rupeta.exe: private bytes %.2f times the bare program'"'"'s (target: within 1.5)\n", r / b
    printf "rupeta.exe: %.0f KB on disk (target: under 1024 KB)\n", size / 1024
}'
