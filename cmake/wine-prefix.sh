#!/bin/sh
# Makes a fresh Wine prefix in DIR, after ending and removing a previous one there.
# Usage: wine-prefix.sh DIR          make it
#        wine-prefix.sh --end DIR    end its Wine server and remove it (some 700 MB)
set -eu
. "$(dirname "$0")/wine-env.sh"
end=false
if [ "$1" = --end ]; then
    end=true
    shift
fi
export WINEPREFIX="$1"
if [ -d "$WINEPREFIX/dosdevices" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
fi
rm -rf "$WINEPREFIX"
$end && exit 0
mkdir -p "$WINEPREFIX"
unset DISPLAY WAYLAND_DISPLAY
wineboot -i
