#!/usr/bin/env python3
"""Draws the faces of the command-panel buttons (data/Images/Button1/).

Three image sets (0 to 2), each in the three sizes the panels choose by screen width:
  NN1.bmp NN2.bmp NN3.bmp NN4.bmp        76 x 32
  NN1_m.bmp ... NN4_m.bmp                64 x 19
  NN1_s.bmp ... NN4_s.bmp                59 x 17
Image 1 is the left part of a face, image 2 the same in the selected look; images 3 and 4 are
the right end. White is the colour the image lists treat as transparent, so the corners are
white. Set 0 is blue, set 1 green, set 2 grey; the selected look is orange in every set.
Run from anywhere: python3 make_button_images.py"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.normpath(os.path.join(HERE, "..", "..", "..", "..", "data", "Images", "Button1"))

SIZES = {"": (76, 32), "_m": (64, 19), "_s": (59, 17)}
# (top colour, bottom colour, frame) per set; the selected look is shared.
SETS = [((0xE8, 0xF0, 0xFF), (0xA8, 0xC4, 0xF0), (0x40, 0x60, 0xA0)),
        ((0xE8, 0xFF, 0xE8), (0xA8, 0xE0, 0xA8), (0x30, 0x80, 0x30)),
        ((0xF4, 0xF4, 0xF4), (0xC8, 0xC8, 0xC8), (0x60, 0x60, 0x60))]
SELECTED = ((0xFF, 0xE0, 0xA0), (0xFF, 0xA0, 0x30), (0xB0, 0x50, 0x00))
WHITE = (0xFF, 0xFF, 0xFF)


def write_bmp(path, width, height, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    row_size = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        body += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def face(width, height, colours, right_end):
    """A face with a rounded outer side: the left side for a left part, the right for an end."""
    top, bottom, frame = colours
    radius = max(2, height // 6)

    def pixel(x, y):
        edge_x = width - 1 - x if right_end else x
        # Corners outside the rounding stay transparent.
        for cy in (y, height - 1 - y):
            if edge_x < radius and cy < radius:
                dx, dy = radius - edge_x, radius - cy
                if dx * dx + dy * dy > radius * radius:
                    return WHITE
        if edge_x == 0 or y == 0 or y == height - 1:
            return frame
        t = y / max(1, height - 1)
        return tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))

    return pixel


def main():
    os.makedirs(DATA, exist_ok=True)
    for number, colours in enumerate(SETS):
        for suffix, (width, height) in SIZES.items():
            images = [face(width, height, colours, False), face(width, height, SELECTED, False),
                      face(width, height, colours, True), face(width, height, SELECTED, True)]
            for index, pixel in enumerate(images, start=1):
                write_bmp(os.path.join(DATA, f"{number:02d}{index}{suffix}.bmp"), width, height, pixel)


if __name__ == "__main__":
    main()
