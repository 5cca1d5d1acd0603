#!/usr/bin/env python3
"""Draws the uninstaller's icon and writes res/Uninstall.ico.

Three images, 16x16, 32x32 and 48x48, each 24 bits per pixel with a 1-bit mask that is all
zero: every pixel is opaque. The dialog draws the colour image alone (without the mask), so
the artwork fills the whole square, a blue tile with a dark frame along its edges, holding a
light box with a red "remove" badge; the button, the caption and the taskbar then all show
the same picture. Edges inside the artwork are supersampled.

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


# The frame is one pixel wide at 16x16, so it stays crisp at every size.
FRAME = 1.0 / 16


def colour_at(x, y):
    """The artwork in unit coordinates (0..1, y downwards); every point has a colour."""
    inside_frame = FRAME <= x <= 1 - FRAME and FRAME <= y <= 1 - FRAME
    colour = TILE if inside_frame else TILE_EDGE

    # The box: a light square with a lid line, standing for the installed application.
    if 0.18 <= x <= 0.70 and 0.22 <= y <= 0.74:
        colour = BOX
        if y <= 0.34 or x >= 0.62:
            colour = BOX_SHADE

    # The badge: a red disc with a white bar, bottom right, clear of the frame.
    bx, by, br = 0.68, 0.68, 0.245
    d2 = (x - bx) ** 2 + (y - by) ** 2
    if d2 <= br ** 2:
        colour = BADGE if d2 <= (br - 0.045) ** 2 else BADGE_EDGE
        if abs(y - by) <= 0.055 and abs(x - bx) <= 0.15:
            colour = WHITE
    return colour


def render(size):
    """Rows of (r, g, b), top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            hits = [colour_at((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    for sy in range(n) for sx in range(n)]
            row.append(tuple(sum(c[i] for c in hits) // len(hits) for i in range(3)))
        rows.append(row)
    return rows


def dib(size):
    """One icon image: BITMAPINFOHEADER, 24-bit colour rows, all-zero 1-bit AND mask, bottom-up."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    colour_stride = (size * 3 + 3) & ~3
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(colour_stride - len(line))
        colour += line
    # A zero AND bit keeps the colour pixel wherever the icon is drawn with its mask.
    mask = bytes(mask_stride * size)
    return header + bytes(colour) + mask


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
