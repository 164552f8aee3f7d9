#!/usr/bin/env bash
# Runs the dialogs' desktop test program under Wine on the harness's private desktop
# (tests/e2e/wine.sh), in a directory of its own where it writes a picture of each dialog; the
# pictures land in the artifacts, the program's result is passed on.
# Usage: wine_dialogs.sh PROGRAM.exe [GTEST ARG...]
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
wine_desktop_start || desktop_fail "no Wine desktop"
exe=$(wine_copy "$1")
shift
shots=$WINE_DIR/shots
mkdir -p "$shots"
[ ${#WINE_AS[@]} -eq 0 ] || chown nobody:nogroup "$shots"
(cd "$shots" && wine_exec wine "$exe" "$@")
status=$?
for shot in "$shots"/*.bmp; do
    [ -e "$shot" ] && save_artifact "$shot" "wine-$(basename "$shot")"
done
exit "$status"
