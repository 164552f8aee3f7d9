#!/usr/bin/env python3
"""The bitmap compressor: whatever the rows hold, decoding its RLE8 as Windows does gives the
picture back pixel for pixel, the stretch picture included; other bitmaps are refused."""
import struct
import sys
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "win32" / "tools"))
import bmp2rle8  # noqa: E402


def bitmap(width, rows, bits=8):
    """An uncompressed bottom-up bitmap file with a grey colour table."""
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(r) + b"\xee" * (stride - width) for r in rows)
    palette = b"".join(bytes((i, i, i, 0)) for i in range(256))
    info = struct.pack("<IiiHHIIiiII", 40, width, len(rows), 1, bits, 0, len(pixels), 2835, 2835,
                       256, 256)
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + \
        pixels


def decode(data):
    """The rows of an RLE8 bitmap file, as the format defines them."""
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    assert struct.unpack_from("<I", data, 30)[0] == bmp2rle8.BI_RLE8
    assert struct.unpack_from("<I", data, 34)[0] == len(data) - offset
    assert struct.unpack_from("<I", data, 2)[0] == len(data)
    codes, rows, row, i = data[offset:], [], bytearray(), 0
    while True:
        count, value = codes[i], codes[i + 1]
        i += 2
        if count:
            row += bytes((value,)) * count
        elif value == 0:
            rows.append(bytes(row))
            row = bytearray()
        elif value == 1:
            rows.append(bytes(row))
            break
        elif value == 2:
            raise AssertionError("no deltas are written")
        else:
            # Wine 8 misreads the pad byte after an absolute stretch of 255.
            assert value < 255, "an absolute stretch of 255"
            row += codes[i:i + value]
            i += value + (value & 1)
    assert i == len(codes), "bytes after the end of the bitmap"
    assert all(len(r) == width for r in rows) and len(rows) == height
    return rows


class Compressor(unittest.TestCase):
    def test_rows_of_every_kind_come_back_unchanged(self):
        width = 301  # rows padded in the input, long runs split, odd literals padded
        cases = [
            [7] * width,
            list(range(256)) + list(range(45)),
            [1, 2] * 150 + [3],
            [5, 5, 6, 7, 7, 7, 8] * 43,
            [9] + [4] * 299 + [9],
            [0, 1, 2] + [3] * 298,
        ]
        rows = [bytes(r) for r in cases]
        self.assertEqual(decode(bmp2rle8.compress(bitmap(width, rows))), rows)

    def test_the_stretch_picture_comes_back_in_a_quarter_of_the_room(self):
        data = (ROOT / "resources" / "stretch" / "stretch.bmp").read_bytes()
        out = bmp2rle8.compress(data)
        offset = struct.unpack_from("<I", data, 10)[0]
        self.assertEqual(out[14:offset][:16], data[14:offset][:16])  # size, planes, depth
        self.assertEqual(out[14 + 40:offset], data[14 + 40:offset])  # colour table
        rows = [data[offset + y * 640:offset + (y + 1) * 640] for y in range(396)]
        self.assertEqual(decode(out), rows)
        self.assertLess(len(out), len(data) // 4)

    def test_other_bitmaps_are_refused(self):
        with self.assertRaisesRegex(bmp2rle8.BitmapError, "8-bit"):
            bmp2rle8.compress(bitmap(4, [[0] * 12], bits=24))
        with self.assertRaisesRegex(bmp2rle8.BitmapError, "cut short"):
            bmp2rle8.compress(bitmap(8, [[0] * 8, [1] * 8])[:-4])
        with self.assertRaisesRegex(bmp2rle8.BitmapError, "not a bitmap"):
            bmp2rle8.compress(b"GIF89a")


if __name__ == "__main__":
    unittest.main()
