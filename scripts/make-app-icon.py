#!/usr/bin/env python3
"""Draws the program icon (ovwinshell/AppGui/Resources/ovwinshell.ico): a
scientific camera seen from the front, a dark body with a blue lens and a red
pilot lamp, at 32 x 32 and 16 x 16 pixels, 32 bits per pixel with alpha.

Run from anywhere: python3 scripts/make-app-icon.py
"""
import math
import os
import struct
import sys

BODY = (70, 74, 82)
BODY_EDGE = (30, 32, 36)
TOP = (110, 114, 122)
LENS_RING = (20, 20, 24)
LENS_OUTER = (30, 60, 150)
LENS_INNER = (70, 140, 230)
GLINT = (235, 245, 255)
LAMP = (230, 40, 30)


def draw(size):
    """Rows (top first) of (r, g, b, a) for an icon of size x size pixels."""
    s = size / 32.0
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def inside_rounded(x, y, left, top, right, bottom, radius):
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

    for py in range(size):
        for px in range(size):
            x, y = (px + 0.5) / s, (py + 0.5) / s  # in 32-pixel units
            colour = None
            # The top plate with the viewfinder hump.
            if inside_rounded(x, y, 9, 4, 21, 10, 1.5):
                colour = TOP
            # The body.
            if inside_rounded(x, y, 2, 8, 30, 28, 3):
                edge = not inside_rounded(x, y, 3.2, 9.2, 28.8, 26.8, 2)
                colour = BODY_EDGE if edge else BODY
            # The lens.
            d = math.hypot(x - 16, y - 18)
            if d <= 8.5:
                colour = LENS_RING
            if d <= 7:
                colour = LENS_OUTER
            if d <= 4.5:
                colour = LENS_INNER
            if math.hypot(x - 13.8, y - 15.6) <= 1.6:
                colour = GLINT
            # The pilot lamp.
            if math.hypot(x - 26, y - 12) <= 1.7:
                colour = LAMP
            if colour:
                pixels[py][px] = colour + (255,)
    return pixels


def icon_image(size):
    rows = draw(size)
    xor = bytearray()
    for row in reversed(rows):  # bottom-up
        for (r, g, b, a) in row:
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = os.path.join(root, 'ovwinshell', 'AppGui', 'Resources', 'ovwinshell.ico')
    sizes = [32, 16]
    images = [icon_image(size) for size in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, 'wb') as f:
        f.write(out)
    print(f'{path}: {", ".join(f"{n}x{n}" for n in sizes)}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
