#!/usr/bin/env python3
"""Draws the options dialog's pictures into kz/resources/options.

- banner.png: the 671 x 41 banner over the top of the dialog (the dialog
  writes "by Quorvane Software" over its lower right); banner2x.png the same
  drawn at twice the size, for scales above 100 %.
- box16.bmp .. box96.bmp: a box window of that side, for the box-size preview.
- arrange0.png .. arrange9.png (64 x 64): the dialog's ImageList1 - 0 and 1
  the horizontal and vertical orientation, 2 to 9 the eight arrangements
  (boxes along the top edge from the left, from the right, along the bottom
  edge from the left, from the right, down the left edge from the top, down
  the right edge from the top, up the left edge from the bottom, up the right
  edge from the bottom); arrange0_2x.png .. arrange9_2x.png the same drawn at
  128 x 128, for scales above 100 %.
- colordialog.bmp (16 x 16): the palette's button for the system colour dialog.

The bitmaps are 24-bit; the big pictures are PNG, which the host decodes at
run time. The standard library only; every run writes the same bytes.
"""

import os
import sys

import canvas

WHITE = (255, 255, 255)
SCREEN = (0xE8, 0xEE, 0xF6)
FRAME = (0x40, 0x48, 0x58)
BOX = (0x2A, 0x5C, 0xC8)
BOX_LIGHT = (0xA8, 0xC4, 0xF0)
ARROW = (0xD4, 0x34, 0x30)
GREY = (0xA8, 0xB0, 0xBC)


class Canvas(canvas.Canvas):
    """A canvas drawn in the coordinates of the 100 % design, k pixels to
    each of its units."""

    blank = WHITE

    def __init__(self, width, height, fill=None, k=1):
        super().__init__(width * k, height * k, fill)
        self.k = k

    def rect(self, left, top, right, bottom, colour):
        k = self.k
        super().rect(left * k, top * k, right * k, bottom * k, colour)

    def save(self, path):
        data = canvas.png_bytes(self) if path.endswith(".png") else canvas.bmp_bytes(self, indexed=False)
        with open(path, "wb") as f:
            f.write(data)


def banner(k=1):
    """The banner at k times its 671 x 41 pixels; lines one design pixel wide."""
    width, height = 671 * k, 41 * k
    c = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            t = x / (width - 1)
            c.put(x, y, (int(0x14 + 0xC0 * t), int(0x3C + 0xB0 * t), int(0x96 + 0x60 * t)))

    def rect(left, top, right, bottom, colour):
        c.rect(left * k, top * k, right * k, bottom * k, colour)

    def frame(left, top, right, bottom, colour):
        rect(left, top, right, top + 1, colour)
        rect(left, bottom - 1, right, bottom, colour)
        rect(left, top, left + 1, bottom, colour)
        rect(right - 1, top, right, bottom, colour)

    # A caption with three extra buttons at the left, as the product adds them.
    rect(10, 8, 190, 30, (0xF0, 0xF4, 0xFA))
    frame(10, 8, 190, 30, FRAME)
    for i in range(3):
        left = 108 + i * 20
        rect(left, 11, left + 17, 27, BOX_LIGHT)
        frame(left, 11, left + 17, 27, FRAME)
    rect(14, 16, 90, 20, GREY)
    return c


def box(side):
    c = Canvas(side, side)
    c.rect(0, 0, side, side, BOX_LIGHT)
    c.frame(0, 0, side, side, FRAME)
    # The window's icon: a small window with a caption.
    m = max(2, side // 5)
    c.rect(m, m, side - m, side - m, WHITE)
    c.frame(m, m, side - m, side - m, FRAME)
    c.rect(m + 1, m + 1, side - m - 1, m + max(2, side // 8), BOX)
    return c


def arrow(c, x0, y0, x1, y1):
    """A straight arrow from (x0, y0) to (x1, y1), horizontal or vertical."""
    if y0 == y1:
        step = 1 if x1 > x0 else -1
        for x in range(x0, x1, step):
            c.rect(x, y0 - 1, x + 1, y0 + 1, ARROW)
        for i in range(4):
            c.rect(x1 - step * i, y0 - i - 1, x1 - step * i + 1, y0 + i + 1, ARROW)
    else:
        step = 1 if y1 > y0 else -1
        for y in range(y0, y1, step):
            c.rect(x0 - 1, y, x0 + 1, y + 1, ARROW)
        for i in range(4):
            c.rect(x0 - i - 1, y1 - step * i, x0 + i + 1, y1 - step * i + 1, ARROW)


def screen(k):
    c = Canvas(64, 64, k=k)
    c.rect(4, 4, 60, 60, SCREEN)
    c.frame(4, 4, 60, 60, FRAME)
    return c


def small_box(c, x, y):
    c.rect(x, y, x + 10, y + 10, BOX)
    c.frame(x, y, x + 10, y + 10, FRAME)


def arrangement(edge, start, k=1):
    """Boxes along an edge ("top", "bottom", "left", "right") from a corner
    ("low" = left or top, "high" = right or bottom), with the direction."""
    c = screen(k)
    positions = [7, 19, 31]
    if start == "high":
        positions = [47, 35, 23]
    for p in positions:
        if edge == "top":
            small_box(c, p, 7)
        elif edge == "bottom":
            small_box(c, p, 47)
        elif edge == "left":
            small_box(c, 7, p)
        else:
            small_box(c, 47, p)
    first, last = positions[0] + 5, positions[-1] + 5
    end = last + (10 if start == "low" else -10)
    if edge == "top":
        arrow(c, first, 24, end, 24)
    elif edge == "bottom":
        arrow(c, first, 40, end, 40)
    elif edge == "left":
        arrow(c, 24, first, 24, end)
    else:
        arrow(c, 40, first, 40, end)
    return c


def orientation(vertical, k=1):
    c = screen(k)
    for i in range(3):
        if vertical:
            small_box(c, 27, 9 + i * 16)
        else:
            small_box(c, 9 + i * 16, 27)
    return c


def colour_dialog_picture():
    c = Canvas(16, 16, (0xC0, 0xC0, 0xC0))
    colours = [(255, 0, 0), (0, 200, 0), (0, 0, 255), (255, 220, 0)]
    for i, colour in enumerate(colours):
        x = 2 + (i % 2) * 6
        y = 2 + (i // 2) * 6
        c.rect(x, y, x + 6, y + 6, colour)
    c.frame(2, 2, 14, 14, (0, 0, 0))
    return c


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "kz", "resources", "options")
    os.makedirs(out, exist_ok=True)
    banner().save(os.path.join(out, "banner.png"))
    banner(2).save(os.path.join(out, "banner2x.png"))
    for side in (16, 32, 48, 64, 96):
        box(side).save(os.path.join(out, "box%d.bmp" % side))
    for k, suffix in ((1, ""), (2, "_2x")):
        pictures = [
            orientation(False, k), orientation(True, k),
            arrangement("top", "low", k), arrangement("top", "high", k),
            arrangement("bottom", "low", k), arrangement("bottom", "high", k),
            arrangement("left", "low", k), arrangement("right", "low", k),
            arrangement("left", "high", k), arrangement("right", "high", k),
        ]
        for i, picture in enumerate(pictures):
            picture.save(os.path.join(out, "arrange%d%s.png" % (i, suffix)))
    colour_dialog_picture().save(os.path.join(out, "colordialog.bmp"))


if __name__ == "__main__":
    main()
