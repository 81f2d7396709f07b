#!/usr/bin/env python3
"""Draws Typewell's icon and writes src/win32/resources/typewell.ico.

The picture: a white card with three lines of text and a small blue arrow pointing into it.
ImageMagick draws it once at 256x256 and scales it; this script then packs the icon file
itself. It holds every size Windows asks for (the small and the large icon at 100 % to 200 %,
and the shell's views):

- 16 and 32 in 16 colours (4 bits per pixel, the standard 16-colour palette, with a
  transparency mask): the program's icon is a 32x32 picture in 16 colours;
- 20, 24 and 32 as 32-bit bitmaps, with soft edges;
- 40, 48, 64 and 256 as PNG (which Windows reads in icons from Vista on): a 32-bit bitmap of
  64x64 alone would take 17 KB of the exe, its PNG takes 2.

The output is byte-for-byte reproducible; it is checked in, so a build does not need
ImageMagick.
"""
import os
import struct
import subprocess
import tempfile

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "win32", "resources")

# The standard 16-colour palette (RGB).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

DRAW = [
    "-fill", "#808080", "-draw", "roundrectangle 44,24 232,248 16,16",
    "-fill", "white", "-stroke", "#000000", "-strokewidth", "10",
    "-draw", "roundrectangle 32,12 220,236 16,16",
    "-stroke", "none", "-fill", "#000080",
    "-draw", "rectangle 72,60 188,82", "-draw", "rectangle 72,112 188,134",
    "-draw", "rectangle 72,164 156,186",
    "-fill", "#0000ff", "-stroke", "#000080", "-strokewidth", "6",
    "-draw", "polygon 6,148 70,148 70,122 122,174 70,226 70,200 6,200",
]


def magick(*args):
    return subprocess.run(["convert", *args], check=True, capture_output=True).stdout


def rgba(master, size):
    """The master scaled to size x size, as rows of (r, g, b, a), top row first."""
    raw = magick(master, "-resize", f"{size}x{size}", "-depth", "8", "rgba:-")
    pixels = [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]
    return [pixels[y * size:(y + 1) * size] for y in range(size)]


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE[i], rgb)))


def mask_rows(rows):
    """The AND mask: 1 bit per pixel, set where transparent, rows padded to 32 bits."""
    out = b""
    for row in reversed(rows):
        bits = 0
        for x, p in enumerate(row):
            if p[3] < 128:
                bits |= 1 << (len(row) - 1 - x)
        stride = ((len(row) + 31) // 32) * 4
        out += bits.to_bytes(stride, "big")
    return out


def dib(size, bpp, colors, pixel_bytes, mask):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(pixel_bytes) + len(mask), 0, 0, colors, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE) if colors else b""
    return header + palette + pixel_bytes + mask


def four_bit(rows):
    size = len(rows)
    data = b""
    for row in reversed(rows):
        idx = [0 if p[3] < 128 else nearest(p[:3]) for p in row]
        line = bytes((idx[x] << 4) | idx[x + 1] for x in range(0, size, 2))
        data += line + b"\0" * ((-len(line)) % 4)
    return dib(size, 4, 16, data, mask_rows(rows))


def true_colour(rows):
    size = len(rows)
    data = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    return dib(size, 32, 0, data, mask_rows(rows))


def png(master, size):
    return magick(master, "-resize", f"{size}x{size}", "-define",
                  "png:exclude-chunks=date,time", "PNG32:-")


def main():
    with tempfile.TemporaryDirectory() as work:
        master = os.path.join(work, "master.png")
        magick("-size", "256x256", "xc:none", *DRAW, master)
        entries = [
            (16, 16, 4, four_bit(rgba(master, 16))),
            (20, 0, 32, true_colour(rgba(master, 20))),
            (24, 0, 32, true_colour(rgba(master, 24))),
            (32, 16, 4, four_bit(rgba(master, 32))),
            (32, 0, 32, true_colour(rgba(master, 32))),
        ] + [(size, 0, 32, png(master, size)) for size in (40, 48, 64, 256)]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, colors, bpp, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colors, 0, 1, bpp, len(data),
                           offset)
        offset += len(data)
    out += b"".join(e[3] for e in entries)
    with open(os.path.join(HERE, "typewell.ico"), "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
