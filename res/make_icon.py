#!/usr/bin/env python3
"""Draws the uninstaller's icon and writes res/Uninstall.ico.

Three images, 16x16, 32x32 and 48x48, each 24 bits per pixel with a 1-bit transparency
mask. The artwork is a blue rounded tile holding a light box with a red "remove" badge.
Edges are supersampled for the colours; a pixel is opaque when at least half of it is
covered, since a 1-bit mask has no partial transparency.

Run with Python 3 and the standard library only:  python3 res/make_icon.py
The .ico is committed, so that the build needs no run of this script.
"""
import os
import struct

SIZES = (16, 32, 48)
SUPERSAMPLE = 4

TILE = (32, 84, 156)
TILE_EDGE = (20, 52, 104)
BOX = (236, 240, 246)
BOX_SHADE = (190, 200, 214)
BADGE = (200, 40, 36)
BADGE_EDGE = (140, 24, 22)
WHITE = (255, 255, 255)


def inside_rounded_square(x, y, lo, hi, radius):
    """Whether (x, y) lies in the square [lo, hi]^2 with corners rounded by radius."""
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    """The artwork in unit coordinates (0..1, y downwards); None where it is transparent."""
    if not inside_rounded_square(x, y, 0.02, 0.98, 0.18):
        return None
    colour = TILE_EDGE if not inside_rounded_square(x, y, 0.07, 0.93, 0.14) else TILE

    # The box: a light square with a lid line, standing for the installed application.
    if 0.18 <= x <= 0.70 and 0.22 <= y <= 0.74:
        colour = BOX
        if y <= 0.34 or x >= 0.62:
            colour = BOX_SHADE

    # The badge: a red disc with a white bar, bottom right.
    bx, by, br = 0.70, 0.70, 0.25
    d2 = (x - bx) ** 2 + (y - by) ** 2
    if d2 <= br ** 2:
        colour = BADGE if d2 <= (br - 0.045) ** 2 else BADGE_EDGE
        if abs(y - by) <= 0.055 and abs(x - bx) <= 0.15:
            colour = WHITE
    return colour


def render(size):
    """Rows of (r, g, b) or None, top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(n):
                for sx in range(n):
                    c = colour_at((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        hits.append(c)
            if len(hits) * 2 < n * n:
                row.append(None)
            else:
                row.append(tuple(sum(c[i] for c in hits) // len(hits) for i in range(3)))
        rows.append(row)
    return rows


def dib(size):
    """One icon image: BITMAPINFOHEADER, 24-bit colour rows, 1-bit AND mask, bottom-up."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    colour_stride = (size * 3 + 3) & ~3
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for c in row:
            r, g, b = c if c is not None else (0, 0, 0)
            line += bytes((b, g, r))
        line += bytes(colour_stride - len(line))
        colour += line
        bits = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def ico():
    images = [dib(size) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


if __name__ == "__main__":
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Uninstall.ico")
    with open(target, "wb") as f:
        f.write(ico())
    print("wrote", target)
