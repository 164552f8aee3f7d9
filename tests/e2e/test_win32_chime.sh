#!/usr/bin/env bash
# The chime's MCI rules against Wine's real sound output: the GoogleTest program of
# tests/win32/MciChimeWinTest.cpp on the Wine desktop with a private PulseAudio null sink, whose
# recording must hold the chime's samples.
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
: "${RUPETA_CHIME_TEST:?the chime test program (.exe)}"
wine_desktop_start || desktop_fail "no Wine desktop"
wine_start_pulse || desktop_fail "no PulseAudio"
wine_copy "$RUPETA_SOURCE_DIR/resources/beep.wav" >/dev/null
exe=$(wine_copy "$RUPETA_CHIME_TEST")
pulse_record_start "$DESKTOP_DIR/chime.raw"
(cd "$WINE_DIR/bin" && wine_exec wine "$exe")
status=$?
pulse_record_stop
[ "$status" = 0 ] || desktop_fail "the chime test failed ($status)"
amplitude=$(pulse_max_amplitude "$DESKTOP_DIR/chime.raw")
awk -v a="$amplitude" 'BEGIN { exit !(a > 0.05) }' ||
    desktop_fail "the chime did not reach the sink (amplitude $amplitude)"
echo "PASS: MCI chime rules, samples at the sink (amplitude $amplitude)"
