#!/usr/bin/env python3
"""Draws the turning globe of the splash and main windows as an animated GIF.

Usage: make_globe_gif.py [output]   (default: ../globe1_14807.gif beside this folder)
Only the standard library is used; the GIF encoder (LZW) is written out below.
"""
import math
import os
import struct
import sys

SIZE = 48
FRAMES = 16
DELAY_CS = 10  # hundredths of a second per frame

# Palette index 0 is transparent.
PALETTE = [
    (255, 255, 255),  # 0 background (transparent)
    (16, 52, 120),    # 1 ocean, shaded
    (40, 96, 190),    # 2 ocean, lit
    (30, 110, 40),    # 3 land, shaded
    (70, 170, 70),    # 4 land, lit
    (150, 190, 230),  # 5 grid lines
    (10, 30, 70),     # 6 outline
    (230, 240, 255),  # 7 highlight
]


def land(lon, lat):
    v = math.sin(3 * lon) * math.cos(2 * lat) + 0.6 * math.sin(5 * lon + 3 * lat)
    return v > 0.3


def frame(phase):
    r = SIZE / 2 - 2
    c = (SIZE - 1) / 2
    pixels = []
    for py in range(SIZE):
        for px in range(SIZE):
            x = (px - c) / r
            y = (py - c) / r
            d = x * x + y * y
            if d > 1.0:
                pixels.append(6 if d < 1.0 + 4.0 / r else 0)
                continue
            z = math.sqrt(1.0 - d)
            lon = math.atan2(x, z) + phase
            lat = math.asin(max(-1.0, min(1.0, -y)))
            lit = (x * -0.5 + y * -0.5 + z * 0.7) > 0.35
            if (x + 0.35) ** 2 + (y + 0.35) ** 2 < 0.012:
                pixels.append(7)
                continue
            grid_lon = abs(math.sin(lon * 3)) < 0.06
            grid_lat = abs(math.sin(lat * 3)) < 0.05
            if grid_lon or grid_lat:
                pixels.append(5)
            elif land(lon, lat):
                pixels.append(4 if lit else 3)
            else:
                pixels.append(2 if lit else 1)
    return pixels


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def write(self, code, width):
        self.acc |= code << self.n
        self.n += width
        while self.n >= 8:
            self.out.append(self.acc & 0xFF)
            self.acc >>= 8
            self.n -= 8

    def flush(self):
        if self.n:
            self.out.append(self.acc & 0xFF)
        return bytes(self.out)


def lzw(pixels, min_size):
    clear = 1 << min_size
    eoi = clear + 1
    bits = BitWriter()

    def reset():
        return {(i,): i for i in range(clear)}, eoi + 1, min_size + 1

    table, next_code, width = reset()
    bits.write(clear, width)
    w = (pixels[0],)
    for k in pixels[1:]:
        wk = w + (k,)
        if wk in table:
            w = wk
            continue
        bits.write(table[w], width)
        table[wk] = next_code
        next_code += 1
        if next_code == 4096:
            bits.write(clear, width)
            table, next_code, width = reset()
        elif next_code > (1 << width):
            width += 1
        w = (k,)
    bits.write(table[w], width)
    bits.write(eoi, width)
    return bits.flush()


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def gif(frames):
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", SIZE, SIZE, 0xF0 | 2, 0, 0)  # global table of 8 colours
    for rgb in PALETTE:
        out += bytes(rgb)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for pixels in frames:
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0x09, DELAY_CS, 0) + b"\x00"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
        out.append(3)  # LZW minimum code size for 8 colours
        out += sub_blocks(lzw(pixels, 3))
    out += b"\x3B"
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "globe1_14807.gif")
    frames = [frame(2 * math.pi * i / FRAMES) for i in range(FRAMES)]
    with open(target, "wb") as f:
        f.write(gif(frames))


if __name__ == "__main__":
    main()
