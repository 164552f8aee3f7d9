#!/usr/bin/env python3
"""Writes beep.wav: a soft two-tone chime (about 1.2 s, 16-bit mono, 22050 Hz).

Usage: python3 make_beep.py [output]   (default: beep.wav beside this script)
Standard library only; the output is the same on every run.
"""
import math
import os
import struct
import sys
import wave

RATE = 22050


def bell(freq, start, length, total):
    """One struck note: a quick attack, a soft exponential decay, a quiet octave partial."""
    out = [0.0] * total
    first = int(start * RATE)
    for i in range(int(length * RATE)):
        t = i / RATE
        attack = min(1.0, t / 0.006)
        decay = math.exp(-t * 4.0)
        tone = math.sin(2 * math.pi * freq * t) + 0.25 * math.sin(2 * math.pi * 2 * freq * t) * math.exp(-t * 6)
        if first + i < total:
            out[first + i] = attack * decay * tone
    return out


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "beep.wav")
    total = int(1.2 * RATE)
    high = bell(1318.51, 0.0, 1.2, total)   # E6
    low = bell(1046.50, 0.28, 0.92, total)  # C6
    mix = [h + l for h, l in zip(high, low)]
    # A short fade at the very end so the last sample is silent.
    fade = int(0.05 * RATE)
    for i in range(fade):
        mix[total - fade + i] *= 1 - i / fade
    peak = max(abs(s) for s in mix)
    scale = 0.5 * 32767 / peak
    frames = b"".join(struct.pack("<h", int(round(s * scale))) for s in mix)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
