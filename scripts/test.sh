#!/usr/bin/env bash
# Runs every test, as your own user (CI runs it as root); it asks for root (through sudo) only
# to install missing packages. The normal build (preset "default", build/) runs all unit,
# window and desktop tests, then the sanitizer build (preset "asan", build-asan/) the unit and
# window tests, the fuzzer and the short soak; the Windows build (preset "windows",
# build-windows/) runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test

jobs=$(nproc)
cmake --preset default >/dev/null
cmake --build --preset default -j"$jobs"

# The desktop tests spend most of their time waiting for the screen, so the Windows and the
# sanitizer builds compile meanwhile, at a lower priority than the tests.
others_log=build/other-builds.log
(
    cmake --preset windows >/dev/null &&
        nice -n 10 cmake --build --preset windows -j"$jobs" &&
        cmake --preset asan >/dev/null &&
        nice -n 10 cmake --build --preset asan -j"$jobs"
) >"$others_log" 2>&1 &
others=$!

status=0
echo "== normal build =="
ctest --preset default || status=1
if ! wait "$others"; then
    cat "$others_log"
    echo "the Windows or the sanitizer build failed"
    exit 1
fi
echo "== Windows build, under Wine =="
ctest --preset windows || status=1
echo "== sanitizer build =="
ctest --preset asan || status=1
exit $status
