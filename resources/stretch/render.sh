#!/usr/bin/env bash
# Renders stretch.svg into stretch.bmp, the picture the stretch guide shows: 640 x 396,
# 8 bits per pixel with a 256-entry colour table, uncompressed, bottom-up (254518 bytes).
# Needs rsvg-convert (librsvg2-bin), ImageMagick and the IPA Gothic fonts.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rsvg-convert -w 640 -h 396 -b white "$here/stretch.svg" -o "$work/stretch.png"
convert "$work/stretch.png" -alpha off -dither FloydSteinberg -colors 256 -type Palette \
    -compress none "BMP3:$work/stretch.bmp"

size=$(stat -c %s "$work/stretch.bmp")
if [ "$size" -ne 254518 ]; then
    echo "render.sh: stretch.bmp came out at $size bytes, not 254518" >&2
    exit 1
fi
mv "$work/stretch.bmp" "$here/stretch.bmp"
identify "$here/stretch.bmp"
