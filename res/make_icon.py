#!/usr/bin/env python3
"""Draws Quince's application icon and writes res/quince.ico.

The picture is a quince: a golden, slightly pear-shaped fruit with a dark
outline, a short stem and one green leaf. Each image size is rendered on its
own (supersampled) rather than scaled down from the largest, so the small
sizes stay crisp. Images of 16, 24, 32 and 48 px are stored as 32-bit DIBs,
256 px as PNG, which is what Windows expects of an application icon.

Python's standard library only; the output is byte-for-byte reproducible.

    python3 res/make_icon.py [OUTPUT.ico]
"""
import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 24, 32, 48, 256)

FRUIT_LIGHT = (250, 222, 98)
FRUIT_DARK = (214, 160, 30)
OUTLINE = (110, 70, 20)
LEAF_LIGHT = (120, 190, 70)
LEAF_DARK = (50, 120, 40)
STEM = (100, 65, 30)


def circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def smooth_union(a, b, k):
    h = max(k - abs(a - b), 0.0) / k
    return min(a, b) - h * h * k * 0.25


def ellipse(x, y, cx, cy, rx, ry, angle):
    # Approximate distance to a rotated ellipse (good enough for shading).
    c, s = math.cos(angle), math.sin(angle)
    dx, dy = x - cx, y - cy
    u, v = dx * c + dy * s, -dx * s + dy * c
    q = math.hypot(u / rx, v / ry)
    return (q - 1.0) * min(rx, ry)


def fruit(x, y):
    # A large lower lobe and a smaller upper one, blended into a quince.
    return smooth_union(circle(x, y, 0.50, 0.62, 0.33), circle(x, y, 0.47, 0.36, 0.20), 0.18)


def stem(x, y):
    # A short slanted bar above the fruit.
    t = max(0.0, min(1.0, (y - 0.10) / 0.12))
    cx = 0.49 + (1.0 - t) * 0.03
    return max(abs(x - cx) - 0.025, abs(y - 0.16) - 0.07)


def leaf(x, y):
    return ellipse(x, y, 0.66, 0.16, 0.16, 0.065, -0.45)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def sample(x, y, outline_width):
    """Colour (r, g, b) and coverage 0/1 of one point of the unit square."""
    d = leaf(x, y)
    if d <= 0:
        if d > -outline_width * 0.8:
            return LEAF_DARK, 1
        # Lighter towards the upper left, with a darker midrib.
        rib = abs((x - 0.66) * math.sin(0.45) + (y - 0.16) * math.cos(0.45))
        colour = mix(LEAF_LIGHT, LEAF_DARK, (x - 0.5) * 2.5)
        return (mix(colour, LEAF_DARK, 0.6) if rib < 0.008 + outline_width * 0.3 else colour), 1
    if stem(x, y) <= 0:
        return STEM, 1
    d = fruit(x, y)
    if d <= 0:
        if d > -outline_width:
            return OUTLINE, 1
        # Light from the upper left, plus a small highlight.
        shade = math.hypot(x - 0.36, y - 0.42) / 0.55
        colour = mix(FRUIT_LIGHT, FRUIT_DARK, shade)
        if math.hypot(x - 0.37, y - 0.50) < 0.06:
            colour = mix(colour, (255, 250, 220), 0.55)
        return colour, 1
    return (0, 0, 0), 0


def render(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    grid = 4 if size <= 48 else 3
    # Thicker outline (in unit terms) at small sizes so that it stays visible.
    outline_width = max(1.2 / size, 0.018)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = cover = 0.0
            for sy in range(grid):
                for sx in range(grid):
                    x = (px + (sx + 0.5) / grid) / size
                    y = (py + (sy + 0.5) / grid) / size
                    colour, covered = sample(x, y, outline_width)
                    if covered:
                        r, g, b = r + colour[0], g + colour[1], b + colour[2]
                        cover += 1
            n = grid * grid
            if cover:
                row.append((round(r / cover), round(g / cover), round(b / cover), round(255 * cover / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def dib(rows):
    size = len(rows)
    # BITMAPINFOHEADER; the height counts the colour image and the AND mask.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    return directory + entries + blobs


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("quince.ico")
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(rows) if size >= 256 else dib(rows)))
    out.write_bytes(ico(images))
    print(f"wrote {out} ({', '.join(str(s) for s in SIZES)} px)")


if __name__ == "__main__":
    main()
