#!/usr/bin/env python3
"""Draws the host's caption button glyphs and its classic caption picture
into kz/resources/art.

- bt101.bmp .. bt110.bmp: the glyph of button kind 0 .. 9 (kind 0, the
  separator, is blank). Each is 18 x 144: eight 18 x 18 cells stacked from
  the top, one per visual state: normal, hot, pressed, disabled for an active
  window, then the same four for an inactive one. White is keyed out when a
  glyph is drawn; black is where the glyph colour goes (the host recolours
  it). Disabled cells are grey so that they are never recoloured, and the
  pressed cell is moved one pixel down and right like a pushed button's face.
- cap121.bmp: the classic caption picture, 32 x 40: two 32 x 20 frames, the
  active caption on top and the inactive one below, with a 4-pixel frame
  border on the left, right and top and 5 at the bottom.

The drawings are the hook library's own (tools/glyphs/make_glyphs.py), so a
button looks the same whoever draws it. Only the standard library is used and
nothing depends on time, so every run writes the same bytes.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True  # leave the library's tool folder as it is
sys.path.insert(0, os.path.join(ROOT, "tools", "glyphs"))

import make_glyphs  # noqa: E402  (the library's drawings and BMP writer)

SIZE = 18
ORIGIN = 3
WHITE = (255, 255, 255)
INK = (0, 0, 0)
GREY = (128, 128, 128)
FIRST_KIND_RESOURCE = 130  # the library's strip of kind k is 129 + k

CAPTION_WIDTH = 32
CAPTION_FRAME_HEIGHT = 20
FRAME_COLOUR = (192, 192, 192)
ACTIVE_CAPTION = (0, 0, 128)
INACTIVE_CAPTION = (128, 128, 128)


def cell(drawing, colour, shift=0):
    rows = [[WHITE] * SIZE for _ in range(SIZE)]
    for y, row in enumerate(drawing or []):
        for x, mark in enumerate(row):
            if mark == "#":
                rows[ORIGIN + y + shift][ORIGIN + x + shift] = colour
    return rows


def glyph_rows(drawing):
    normal = cell(drawing, INK)
    pressed = cell(drawing, INK, 1)
    disabled = cell(drawing, GREY)
    rows = []
    for frame in (normal, normal, pressed, disabled) * 2:
        rows.extend(frame)
    return rows


def caption_frame(fill):
    rows = []
    for y in range(CAPTION_FRAME_HEIGHT):
        inside = 4 <= y < CAPTION_FRAME_HEIGHT - 5
        rows.append([fill if inside and 4 <= x < CAPTION_WIDTH - 4 else FRAME_COLOUR
                     for x in range(CAPTION_WIDTH)])
    return rows


def main():
    out = os.path.join(ROOT, "kz", "resources", "art")
    os.makedirs(out, exist_ok=True)
    for kind in range(10):
        drawing = make_glyphs.DRAWINGS.get(FIRST_KIND_RESOURCE + kind - 1) if kind else None
        with open(os.path.join(out, "bt%d.bmp" % (101 + kind)), "wb") as f:
            f.write(make_glyphs.bmp_bytes(glyph_rows(drawing)))
    with open(os.path.join(out, "cap121.bmp"), "wb") as f:
        f.write(make_glyphs.bmp_bytes(caption_frame(ACTIVE_CAPTION) + caption_frame(INACTIVE_CAPTION)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
