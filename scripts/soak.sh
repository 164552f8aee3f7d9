#!/usr/bin/env bash
# The long soak: ルペタ in demo mode for HOURS of program time (default 24: 86,400 ticks of
# 10 ms, about 15 minutes plus the reminders' 30-second closes) under AddressSanitizer,
# LeakSanitizer and UBSan, with the mouse kept moving. Prints RSS at start, after the first
# reminder and at the end, the reminders shown and hidden, and the sanitizer reports.
#   scripts/soak.sh [HOURS]        (uses build-asan/, or $RUPETA_BUILD_DIR)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${RUPETA_BUILD_DIR:-$repo/build-asan}

if [ ! -f "$build/CMakeCache.txt" ]; then
    (cd "$repo" && cmake --preset asan -B "$build" >/dev/null)
fi
grep -q '^RUPETA_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" ||
    { echo "$build is not a sanitizer build (RUPETA_SANITIZE=ON)" >&2; exit 1; }
cmake --build "$build" --target rupeta -j2 >/dev/null

SOAK_HOURS=${1:-24} RUPETA_BIN=$build/rupeta RUPETA_SOURCE_DIR=$repo RUPETA_BUILD_DIR=$build \
    exec bash "$repo/tests/e2e/soak_short.sh"
