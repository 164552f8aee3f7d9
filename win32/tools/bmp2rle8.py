#!/usr/bin/env python3
"""Compresses an 8-bit bitmap file with RLE8, which Windows decodes when it loads the file as a
bitmap resource: the stretch picture then takes a quarter of the room in the program.

Usage: bmp2rle8.py INPUT.bmp OUTPUT.bmp
"""
import struct
import sys
from pathlib import Path

BI_RGB, BI_RLE8 = 0, 1
# An absolute stretch of 255 needs a pad byte, which Wine 8's decoder does not skip: the rest of
# the row came out wrong.
MAX_ABSOLUTE = 254


class BitmapError(Exception):
    pass


def encode_row(row):
    """One row as RLE8: runs as (count, index); stretches without runs in absolute mode
    (0, count, indices, padded to a word); ends with the end-of-line mark."""
    out = bytearray()
    i, n = 0, len(row)

    def run_at(k):
        r = 1
        while k + r < n and r < 255 and row[k + r] == row[k]:
            r += 1
        return r

    while i < n:
        r = run_at(i)
        if r >= 2:
            out += bytes((r, row[i]))
            i += r
            continue
        start = i
        while i < n and i - start < MAX_ABSOLUTE and run_at(i) < 3:
            i += 1
        literal = row[start:i]
        if len(literal) < 3:  # absolute mode needs three or more
            for index in literal:
                out += bytes((1, index))
        else:
            out += bytes((0, len(literal))) + literal
            if len(literal) % 2:
                out += b"\0"
    return bytes(out + b"\0\0")


def compress(data):
    if data[:2] != b"BM":
        raise BitmapError("not a bitmap file")
    offset = struct.unpack_from("<I", data, 10)[0]
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if size != 40 or bits != 8 or compression != BI_RGB or width <= 0 or height <= 0:
        raise BitmapError("only uncompressed 8-bit bitmaps with an information header")
    stride = (width + 3) & ~3
    pixels = data[offset:offset + stride * height]
    if len(pixels) != stride * height:
        raise BitmapError("the pixels are cut short")
    rows = [pixels[y * stride:y * stride + width] for y in range(height)]
    encoded = b"".join(encode_row(row) for row in rows)[:-2] + b"\0\1"  # end of bitmap
    header = bytearray(data[14:offset])
    struct.pack_into("<I", header, 16, BI_RLE8)
    struct.pack_into("<I", header, 20, len(encoded))
    file_header = b"BM" + struct.pack("<IHHI", offset + len(encoded), 0, 0, offset)
    return file_header + bytes(header) + encoded


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    try:
        out = compress(Path(argv[1]).read_bytes())
    except (BitmapError, struct.error) as error:
        print(f"bmp2rle8.py: {argv[1]}: {error}", file=sys.stderr)
        return 1
    Path(argv[2]).write_bytes(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
