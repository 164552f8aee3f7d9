#!/bin/sh
# Runs a Windows program under wine64 in the prefix named by WINEPREFIX (made by
# cmake/wine-prefix.sh), never in the user's own ~/.wine, and with no window of its own
# on the user's desktop. Wine's exit code is the program's.
# Usage: wine-run.sh PROGRAM.exe [ARG...]
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX/dosdevices" ]; then
    echo "wine-run.sh: WINEPREFIX must name a prefix made by cmake/wine-prefix.sh" >&2
    exit 2
fi
. "$(dirname "$0")/wine-env.sh"
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
