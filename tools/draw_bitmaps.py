#!/usr/bin/env python3
"""Draws the module's bitmaps as 16-colour (4 bpp) Windows .bmp files.

- paper_sizes.bmp (4041): nine 32 x 32 paper-size icons side by side, in the
  order of the inserter paper table, on RGB(0, 128, 0), the colour the image
  list treats as transparent;
- bank_marker.bmp (4016): the 14 x 17 marker beside the first row of a tab bank;
- tab_sheet.bmp (4020): a 32 x 32 picture of a sheet of index-tab stock.

The files are committed beside vx5prcfg.rc; run this again only to change them.

usage: draw_bitmaps.py OUT_DIR
"""

import os
import struct
import sys

# The standard 16-colour palette (RGB), so that the icons look the same on
# any display and the transparent colour is index 2.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

TRANSPARENT = GREEN  # RGB(0, 128, 0)
ICON_SIZE = 32

BITMAP_FILE_HEADER_SIZE = 14
BITMAP_INFO_HEADER_SIZE = 40
BITS_PER_PIXEL = 4

# Glyphs 3 pixels wide and 5 high, top row first, for the labels on the icons.
GLYPHS = {
    "A": ["010", "101", "111", "101", "101"],
    "B": ["110", "101", "110", "101", "110"],
    "C": ["011", "100", "100", "100", "011"],
    "D": ["110", "101", "101", "101", "110"],
    "F": ["111", "100", "110", "100", "100"],
    "G": ["011", "100", "101", "101", "011"],
    "L": ["100", "100", "100", "100", "111"],
    "M": ["101", "111", "111", "101", "101"],
    "O": ["010", "101", "101", "101", "010"],
    "P": ["110", "101", "110", "100", "100"],
    "R": ["110", "101", "110", "101", "101"],
    "T": ["111", "010", "010", "010", "010"],
    "3": ["110", "001", "010", "001", "110"],
    "4": ["101", "101", "111", "001", "001"],
    "5": ["111", "100", "110", "001", "110"],
}

# (label, width mm, height mm) in the order of the inserter paper table.
PAPER_SIZES = [
    ("LTR", 216, 279), ("A4", 210, 297), ("LGL", 216, 356),
    ("LDG", 279, 432), ("FOL", 210, 330), ("A3", 297, 420),
    ("B4", 257, 364), ("B5", 182, 257), ("CMP", 257, 356),
]
LARGEST_SHEET_MM = 432
LARGEST_SHEET_PX = 30


class Canvas:
    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill_rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, colour)

    def frame_rect(self, x, y, w, h, colour):
        for xx in range(x, x + w):
            self.put(xx, y, colour)
            self.put(xx, y + h - 1, colour)
        for yy in range(y, y + h):
            self.put(x, yy, colour)
            self.put(x + w - 1, yy, colour)

    def text(self, x, y, label, colour):
        for glyph in label:
            for row, bits in enumerate(GLYPHS[glyph]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.put(x + col, y + row, colour)
            x += 4


def draw_sheet(canvas, left, top, width, height, background):
    """A white sheet with a shadow and a folded top-right corner."""
    canvas.fill_rect(left + 1, top + 1, width, height, GRAY)
    canvas.fill_rect(left, top, width, height, WHITE)
    canvas.frame_rect(left, top, width, height, BLACK)
    fold = 4
    for i in range(fold):
        for j in range(fold - i):
            canvas.put(left + width - fold + i + j, top + i, background)
        canvas.put(left + width - fold + i, top + i, BLACK)
        canvas.put(left + width - fold + i, top + fold - 1, SILVER if i else BLACK)
    canvas.frame_rect(left + width - fold, top, 1, fold, BLACK)
    for x in range(left + width - fold, left + width):
        canvas.put(x, top + fold - 1, BLACK)


def draw_paper_icon(canvas, origin_x, label, width_mm, height_mm):
    width = max(round(width_mm * LARGEST_SHEET_PX / LARGEST_SHEET_MM), 13)
    height = round(height_mm * LARGEST_SHEET_PX / LARGEST_SHEET_MM)
    left = origin_x + (ICON_SIZE - width) // 2 - 1
    top = ICON_SIZE - 1 - height
    draw_sheet(canvas, left, top, width, height, TRANSPARENT)
    label_width = 4 * len(label) - 1
    canvas.text(left + (width - label_width) // 2, top + height - 8, label, NAVY)
    for y in range(top + 6, top + height - 10, 2):
        canvas.fill_rect(left + 3, y, width - 6, 1, SILVER)


def paper_sizes():
    canvas = Canvas(ICON_SIZE * len(PAPER_SIZES), ICON_SIZE, TRANSPARENT)
    for index, (label, width_mm, height_mm) in enumerate(PAPER_SIZES):
        draw_paper_icon(canvas, index * ICON_SIZE, label, width_mm, height_mm)
    return canvas


def bank_marker():
    # A coloured index tab on the dialog's face colour.
    canvas = Canvas(14, 17, SILVER)
    canvas.fill_rect(2, 1, 9, 15, NAVY)
    canvas.fill_rect(11, 4, 2, 9, NAVY)
    canvas.fill_rect(3, 2, 7, 13, BLUE)
    canvas.fill_rect(10, 5, 2, 7, BLUE)
    canvas.fill_rect(4, 4, 1, 9, AQUA)
    canvas.fill_rect(2, 16, 11, 1, GRAY)
    return canvas


def tab_sheet():
    # A sheet of tab stock: the page and its tabs standing out on the right.
    canvas = Canvas(ICON_SIZE, ICON_SIZE, SILVER)
    draw_sheet(canvas, 3, 2, 22, 28, SILVER)
    for i, colour in enumerate([RED, YELLOW, LIME, AQUA, FUCHSIA]):
        top = 4 + i * 5
        canvas.fill_rect(25, top, 4, 4, colour)
        canvas.frame_rect(24, top, 5, 4, BLACK)
    for y in range(8, 27, 3):
        canvas.fill_rect(6, y, 14, 1, GRAY)
    return canvas


def encode_bmp(canvas):
    """BITMAPFILEHEADER, BITMAPINFOHEADER, palette, rows bottom-up."""
    row_bytes = ((canvas.width * BITS_PER_PIXEL + 31) // 32) * 4
    rows = []
    for y in reversed(range(canvas.height)):
        row = bytearray(row_bytes)
        for x, colour in enumerate(canvas.pixels[y]):
            row[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        rows.append(bytes(row))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    bits = b"".join(rows)
    offset = BITMAP_FILE_HEADER_SIZE + BITMAP_INFO_HEADER_SIZE + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", BITMAP_INFO_HEADER_SIZE, canvas.width,
                              canvas.height, 1, BITS_PER_PIXEL, 0, len(bits), 0, 0,
                              len(PALETTE), 0)
    return file_header + info_header + palette + bits


BITMAPS = {
    "paper_sizes.bmp": paper_sizes,
    "bank_marker.bmp": bank_marker,
    "tab_sheet.bmp": tab_sheet,
}


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    for name, draw in BITMAPS.items():
        with open(os.path.join(argv[1], name), "wb") as out:
            out.write(encode_bmp(draw()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
