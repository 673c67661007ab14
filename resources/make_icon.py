#!/usr/bin/env python3
"""Draws the program's icon: a crescent moon and a "z" on a night-blue tile.

Writes wendrel.ico beside this script with four images, 32x32 and 16x16,
each in 16 and in 256 colours. Standard library only; the output is the
same on every run, so the committed file can be checked against it.
"""

import os
import struct

SAMPLES = 4  # sub-samples per pixel side, for smooth edges

# The 16 colours every display has.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette256():
    colours = list(VGA16)
    levels = (0, 51, 102, 153, 204, 255)
    colours += [(r, g, b) for r in levels for g in levels for b in levels]
    # Blues and yellows for the tile's shading and the moon's edge.
    colours += [(12 + 3 * i, 18 + 3 * i, 56 + 6 * i) for i in range(12)]
    colours += [(255, 200 + 4 * i, 40 + 8 * i) for i in range(12)]
    while len(colours) < 256:
        colours.append((0, 0, 0))
    return colours[:256]


def in_tile(x, y):
    """The rounded square, in unit coordinates."""
    lo, hi, r = 0.03, 0.97, 0.2
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return lo <= x <= hi and lo <= y <= hi and (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_moon(x, y):
    lit = (x - 0.40) ** 2 + (y - 0.55) ** 2 <= 0.29 ** 2
    shadow = (x - 0.54) ** 2 + (y - 0.44) ** 2 <= 0.25 ** 2
    return lit and not shadow


def near_segment(x, y, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2


def in_z(x, y, size):
    left, top, right, bottom = 0.60, 0.14, 0.86, 0.38
    w = 0.07 if size >= 32 else 0.11
    return (near_segment(x, y, left, top, right, top, w)
            or near_segment(x, y, right, top, left, bottom, w)
            or near_segment(x, y, left, bottom, right, bottom, w))


def render(size, shaded):
    """Rows of (r, g, b) or None for transparent, top row first."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            tile = moon = z = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    if in_tile(x, y):
                        tile += 1
                        if in_z(x, y, size):
                            z += 1
                        elif in_moon(x, y):
                            moon += 1
            if tile * 2 < n:
                row.append(None)
                continue
            v = py / (size - 1)
            if shaded:
                base = (int(40 - 28 * v), int(52 - 34 * v), int(140 - 84 * v))
            else:
                base = (0, 0, 128)
            moon_colour = (255, 224, 72) if shaded else (255, 255, 0)
            colour = mix(base, moon_colour, moon / tile)
            colour = mix(colour, (255, 255, 255), z / tile)
            row.append(colour)
        rows.append(row)
    return rows


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def nearest(colour, palette):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        d = sum((colour[k] - p[k]) ** 2 for k in range(3))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def dib(rows, bits, palette):
    """BITMAPINFOHEADER, palette, colour bits and mask, rows bottom-up."""
    size = len(rows)
    per_byte = 8 // bits
    stride = ((size * bits + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        mline = bytearray(mask_stride)
        for x, colour in enumerate(row):
            if colour is None:
                mline[x // 8] |= 0x80 >> (x % 8)
                index = 0
            else:
                index = nearest(colour, palette)
            shift = (per_byte - 1 - x % per_byte) * bits
            line[x // per_byte] |= index << shift
        pixels += line
        mask += mline
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bytes(pixels) + bytes(mask)


def main():
    images = []
    for size in (32, 16):
        images.append((size, 16, dib(render(size, False), 4, VGA16)))
        images.append((size, 256, dib(render(size, True), 8, palette256())))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, colours, data in images:
        out += struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1,
                           4 if colours == 16 else 8, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wendrel.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
