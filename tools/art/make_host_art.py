#!/usr/bin/env python3
"""Draws the host program's pictures into kz/resources/art.

- trayicon.ico: the host's tray icon, a window whose caption carries two
  extra buttons.
- ti101.ico .. ti106.ico: the animation frames of the common tray icon, a
  menu whose highlight runs down its items; frame 0 (ti101) is the resting
  picture without a highlight.
- iltray0.ico .. iltray5.ico: the pictures of the tray menu's items (help,
  about, options, restore changed windows, exit, show trayed windows).
- splash.png: the 497 x 297 splash and About picture, light at the top right
  and the bottom right where the host writes its version and web address;
  splash2x.png the same drawn at twice the size, for scales above 100 %.
  Stored compressed: the host decodes them at run time.

Every icon carries an image for each scale from 100 % to 200 % and for the
large icon (16, 20, 24, 32 and 48 pixels), each drawn at its size: the
pictures are designed on a grid of 16 x 16 cells whose edges fall on whole
pixels of the image, so no image is another one stretched.

Icon images are 32-bit with an alpha channel, each stored as PNG (Windows
Vista and later read them), a small fraction of the same image as a bitmap.
Only the standard library is used and nothing depends on time, so every run
writes the same bytes.
"""

import math
import os
import sys

import canvas
from canvas import ico_bytes, png_bytes

TRANSPARENT = (0, 0, 0, 0)
PALETTE = {
    ".": None,
    "k": (0x20, 0x24, 0x34, 255),
    "b": (0x2A, 0x5C, 0xC8, 255),
    "B": (0x14, 0x3C, 0x96, 255),
    "w": (0xFF, 0xFF, 0xFF, 255),
    "g": (0xA8, 0xB0, 0xBC, 255),
    "y": (0xF2, 0xA2, 0x1E, 255),
    "r": (0xD4, 0x34, 0x30, 255),
    "G": (0x2E, 0xA0, 0x44, 255),
}


class Canvas(canvas.Canvas):
    blank = TRANSPARENT

    def disc(self, cx, cy, radius, colour):
        for y in range(self.height):
            for x in range(self.width):
                if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius:
                    self.put(x, y, colour)

    def drawing(self, rows, x0=0, y0=0):
        """Paints a picture of palette letters on the grid; '.' leaves the cell."""
        for y, row in enumerate(rows):
            for x, letter in enumerate(row):
                self.cells(x, y, x + 1, y + 1, PALETTE[letter], x0, y0)

    def at(self, cell):
        """The pixel where a grid line falls: 16 cells span the canvas."""
        return round(cell * self.width / GRID)

    def cells(self, left, top, right, bottom, colour, x0=0, y0=0):
        """Fills the cells [left, right) x [top, bottom) of the grid."""
        self.rect(x0 + self.at(left), y0 + self.at(top), x0 + self.at(right), y0 + self.at(bottom), colour)

    def cell_frame(self, left, top, right, bottom, colour):
        """A frame one cell wide, as a 16-pixel image draws it."""
        self.cells(left, top, right, top + 1, colour)
        self.cells(left, bottom - 1, right, bottom, colour)
        self.cells(left, top, left + 1, bottom, colour)
        self.cells(right - 1, top, right, bottom, colour)


# ---------------------------------------------------------------- icons

GRID = 16
ICON_SIZES = (16, 20, 24, 32, 48)


def icon_images(picture):
    """The images of one icon: picture(size) drawn at every size."""
    return [picture(size) for size in ICON_SIZES]


def tray_icon(size):
    c = Canvas(size, size)
    c.drawing([
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbbbbyykyykrrk.",
        ".kbbbbyykyykrrk.",
        ".kkkkkkkkkkkkkk.",
        ".kwwwwwwwwwwwwk.",
        ".kwggggggwwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwgggggggggwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwggggwwwwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ])
    return c


def animation_frame(frame, size):
    """A menu of five items; frames 1 to 5 highlight items 1 to 5."""
    c = Canvas(size, size)
    c.cells(1, 0, 15, 16, PALETTE["w"])
    c.cell_frame(1, 0, 15, 16, PALETTE["k"])
    for item in range(5):
        top = 2 + item * 3
        if frame == item + 1:
            c.cells(2, top - 1, 14, top + 2, PALETTE["b"])
            text = PALETTE["w"]
        else:
            text = PALETTE["g"]
        c.cells(3, top, 5, top + 1, PALETTE["y"])
        c.cells(6, top, 13 - item % 2 * 2, top + 1, text)
    return c


def round_badge(colour, glyph, size):
    c = Canvas(size, size)
    unit = size / GRID
    c.disc(8 * unit, 8 * unit, 7.5 * unit, PALETTE["k"])
    c.disc(8 * unit, 8 * unit, 7.5 * unit - max(1, round(unit)), PALETTE[colour])
    c.drawing(glyph)
    return c


HELP_GLYPH = [
    "................",
    "................",
    "................",
    "......www.......",
    ".....ww.ww......",
    "........ww......",
    ".......ww.......",
    "......ww........",
    "......ww........",
    "................",
    "......ww........",
    "......ww........",
    "................",
]

ABOUT_GLYPH = [
    "................",
    "................",
    "................",
    ".......ww.......",
    ".......ww.......",
    "................",
    "......www.......",
    ".......ww.......",
    ".......ww.......",
    ".......ww.......",
    "......wwww......",
    "................",
]

EXIT_GLYPH = [
    "................",
    "................",
    "................",
    "................",
    ".....ww..ww.....",
    "......wwww......",
    ".......ww.......",
    "......wwww......",
    ".....ww..ww.....",
    "................",
]


def options_picture(size):
    c = Canvas(size, size)
    c.drawing([
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kwwwwwwwwwwwwk.",
        ".kwgggggggggwwk.",
        ".kwwwwkkkwwwwwk.",
        ".kwwwwkykwwwwwk.",
        ".kgggggggggggwk.",
        ".kwwwwkkkwwwwwk.",
        ".kwwwwwwwwkkkwk.",
        ".kwwwwwwwwkykwk.",
        ".kgggggggggggwk.",
        ".kwwwwwwwwkkkwk.",
        ".kwwwwwwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ])
    return c


def restore_picture(size):
    c = Canvas(size, size)
    c.drawing([
        "................",
        "....kkkkkkkkkkk.",
        "....kbbbbbbbbbk.",
        "....kwwwwwwwwwk.",
        "....kwwwwwwwwwk.",
        ".kkkkkkkkkkkwwk.",
        ".kbbbbbbbbbkwwk.",
        ".kwwwwwwwwwkwwk.",
        ".kwwwwGwwwwkkkk.",
        ".kwwwGGwwwwk....",
        ".kwwGGGGGGwk....",
        ".kwwwGGwwGwk....",
        ".kwwwwGwwGwk....",
        ".kwwwwwwwwwk....",
        ".kkkkkkkkkkk....",
        "................",
    ])
    return c


def trayed_picture(size):
    c = Canvas(size, size)
    c.drawing([
        "................",
        "..kkkkkkkkkkkk..",
        "..kbbbbbbbbbbk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "......kGGk......",
        "....kkGGGGkk....",
        ".....kGGGGk.....",
        "......kGGk......",
        ".......kk.......",
        "................",
        "kkkkkkkkkkkkkkkk",
        "kggggggggggyybbk",
        "kkkkkkkkkkkkkkkk",
        "................",
    ])
    return c


# ---------------------------------------------------------------- splash

FONT = {
    " ": ["", "", "", "", "", "", ""],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
}


def text(canvas, x, y, string, scale, colour):
    for letter in string:
        glyph = FONT[letter]
        width = max((len(row) for row in glyph), default=0) or 3
        for gy, row in enumerate(glyph):
            for gx, cell in enumerate(row):
                if cell == "#":
                    canvas.rect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, colour)
        x += (width + 1) * scale


class Scaled:
    """Draws on a canvas in the coordinates of the 100 % design."""

    def __init__(self, canvas, k):
        self.canvas, self.k = canvas, k

    def rect(self, left, top, right, bottom, colour):
        k = self.k
        self.canvas.rect(left * k, top * k, right * k, bottom * k, colour)

    def frame(self, left, top, right, bottom, colour):
        """A frame one design pixel wide."""
        self.rect(left, top, right, top + 1, colour)
        self.rect(left, bottom - 1, right, bottom, colour)
        self.rect(left, top, left + 1, bottom, colour)
        self.rect(right - 1, top, right, bottom, colour)


def mock_window(c, left, top, right, bottom):
    """A window whose caption carries the extra buttons left of its own."""
    c.rect(left, top, right, bottom, PALETTE["w"])
    c.frame(left, top, right, bottom, PALETTE["k"])
    c.rect(left + 1, top + 1, right - 1, top + 23, PALETTE["b"])
    x = right - 24
    for colour in ("r", "g", "g"):
        c.rect(x, top + 4, x + 18, top + 20, PALETTE[colour])
        c.frame(x, top + 4, x + 18, top + 20, PALETTE["k"])
        x -= 20
    x -= 6
    for _ in range(4):
        c.rect(x, top + 4, x + 18, top + 20, PALETTE["y"])
        c.frame(x, top + 4, x + 18, top + 20, PALETTE["k"])
        x -= 20
    for line in range(4):
        y = top + 36 + line * 16
        c.rect(left + 14, y, right - 40 - line % 2 * 50, y + 6, PALETTE["g"])


def splash(k=1):
    """The picture at k times the design's 497 x 297 pixels."""
    width, height = 497, 297
    canvas = Canvas(width * k, height * k)
    c = Scaled(canvas, k)
    top_colour = (0xF6, 0xF8, 0xFC)
    bottom_colour = (0xC6, 0xD4, 0xEC)
    steps = 48
    for y in range(height * k):
        t = min(steps - 1, y * steps // (height * k)) / (steps - 1)
        colour = tuple(round(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour)) + (255,)
        canvas.rect(0, y, width * k, y + 1, colour)
    c.rect(0, 0, width, 6, PALETTE["B"])
    c.frame(0, 0, width, height, PALETTE["B"])
    text(canvas, 28 * k, 40 * k, "BARQUILL", 7 * k, PALETTE["B"])
    text(canvas, 30 * k, 106 * k, "CAPTION BUTTONS FOR EVERY WINDOW", 2 * k, PALETTE["k"])
    mock_window(c, 40, 150, 330, 262)
    badge = tray_icon(80 * k)
    for y, row in enumerate(badge.pixels):
        for x, p in enumerate(row):
            if p[3]:
                canvas.put(372 * k + x, 150 * k + y, p)
    return canvas


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "kz", "resources", "art")
    os.makedirs(out, exist_ok=True)
    files = {"trayicon.ico": ico_bytes(icon_images(tray_icon))}
    for frame in range(6):
        files["ti%d.ico" % (101 + frame)] = ico_bytes(icon_images(lambda size: animation_frame(frame, size)))
    menu_pictures = [
        lambda size: round_badge("b", HELP_GLYPH, size),
        lambda size: round_badge("b", ABOUT_GLYPH, size),
        options_picture,
        restore_picture,
        lambda size: round_badge("r", EXIT_GLYPH, size),
        trayed_picture,
    ]
    for i, picture in enumerate(menu_pictures):
        files["iltray%d.ico" % i] = ico_bytes(icon_images(picture))
    files["splash.png"] = png_bytes(splash())
    files["splash2x.png"] = png_bytes(splash(2))
    for name, data in sorted(files.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
