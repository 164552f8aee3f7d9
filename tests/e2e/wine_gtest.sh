#!/usr/bin/env bash
# Runs a GoogleTest program that needs a desktop under Wine, on the harness's private desktop
# (tests/e2e/wine.sh), and passes its result on.
# Usage: wine_gtest.sh PROGRAM.exe [GTEST ARG...]
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
wine_desktop_start || desktop_fail "no Wine desktop"
exe=$(wine_copy "$1")
shift
(cd "$WINE_DIR/bin" && wine_exec wine "$exe" "$@")
