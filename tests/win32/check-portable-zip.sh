#!/bin/sh
# The portable zip holds one folder named like the zip, with exactly the program, its chime,
# the README and the licence; the program and the chime are the build's, byte for byte.
# Usage: check-portable-zip.sh ZIP PROGRAM.exe CHIME.wav
set -eu
zip=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
(cd "$dir" && cmake -E tar xf "$zip")
top=$(basename "$zip" .zip)
found=$(cd "$dir" && find . -type f | sort | tr '\n' ' ')
expected="./$top/LICENSE.txt ./$top/README.txt ./$top/beep.wav ./$top/rupeta.exe "
if [ "$found" != "$expected" ]; then
    echo "FAIL: the zip holds $found, not $expected" >&2
    exit 1
fi
cmp "$dir/$top/rupeta.exe" "$2"
cmp "$dir/$top/beep.wav" "$3"
[ -s "$dir/$top/LICENSE.txt" ] && [ -s "$dir/$top/README.txt" ]
echo "PASS: $top.zip"
