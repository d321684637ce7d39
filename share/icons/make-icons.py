#!/usr/bin/python3
"""Draws the program's icon: tarnwell.svg and tarnwell-<size>.png.

The shapes are defined once here, so the vector and the bitmaps match. Run
it from this folder after changing them; the build only copies the results.
"""

import math
import struct
import zlib

SIZE = 256.0
BACKGROUND = (0x1D, 0x4E, 0x6B)
ARROW = (0xFF, 0xFF, 0xFF)
WATER = (0x6F, 0xC3, 0xE8)


def wave(top, amplitude=7.0, period=64.0, thickness=18.0, left=28.0, right=228.0, steps=40):
    """A band between two sine lines, as a closed polygon."""
    upper = []
    for i in range(steps + 1):
        x = left + (right - left) * i / steps
        upper.append((x, top + amplitude * math.sin(2 * math.pi * (x - left) / period)))
    lower = [(x, y + thickness) for x, y in reversed(upper)]
    return upper + lower


SHAPES = [
    ("polygon", ARROW, [(128, 34), (194, 104), (150, 104), (150, 166), (106, 166), (106, 104), (62, 104)]),
    ("polygon", WATER, wave(180)),
    ("polygon", WATER, wave(210)),
]


def inside_rounded(x, y, radius=48.0):
    cx = min(max(x, radius), SIZE - radius)
    cy = min(max(y, radius), SIZE - radius)
    return 0 <= x <= SIZE and 0 <= y <= SIZE and (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def colour_at(x, y):
    """Colour and coverage of one sample point (in 256-unit coordinates)."""
    if not inside_rounded(x, y):
        return None
    colour = BACKGROUND
    for _, fill, points in SHAPES:
        if inside_polygon(x, y, points):
            colour = fill
    return colour


def png(size, path, grid=4):
    scale = SIZE / size
    rows = []
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            r = g = b = a = 0
            for sy in range(grid):
                for sx in range(grid):
                    c = colour_at((px + (sx + 0.5) / grid) * scale, (py + (sy + 0.5) / grid) * scale)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            if a:
                row += bytes([r // a, g // a, b // a, 255 * a // (grid * grid)])
            else:
                row += bytes(4)
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def svg(path):
    def hex_colour(c):
        return "#%02x%02x%02x" % c

    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
             '  <rect width="256" height="256" rx="48" ry="48" fill="%s"/>' % hex_colour(BACKGROUND)]
    for _, fill, points in SHAPES:
        text = " ".join("%.1f,%.1f" % p for p in points)
        parts.append('  <polygon fill="%s" points="%s"/>' % (hex_colour(fill), text))
    parts.append("</svg>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(parts) + "\n")


if __name__ == "__main__":
    svg("tarnwell.svg")
    for size in (48, 128, 256):
        png(size, "tarnwell-%d.png" % size)
