#!/usr/bin/env python3
"""Draws the PNG button faces and glyphs of the styles that paint with alpha
into trelmo/res.

  face142.png   31 x 176  glass faces: eight frames of 22 rows
  glyph147.png 252 x 17   fourteen glyphs of 18 x 17 side by side
  face148.png   35 x 168  Office faces, blue scheme: eight frames of 21 rows
  face149.png   35 x 168  Office faces, black scheme
  face150.png   35 x 168  Office faces, silver scheme
  face152.png   24 x 144  Skype faces: eight frames of 18 rows

Frames, top to bottom: normal, hot, pressed, disabled for an active caption,
then the same for an inactive one. The glyphs reuse the drawings of the
classic strips (make_glyphs.py), in white with a dark rim so that they read on
glass and on coloured faces alike.

Only the standard library is used (zlib for the image data) and nothing
depends on time, so every run writes the same bytes.
"""

import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_glyphs import DRAWINGS  # noqa: E402


def png_bytes(width, height, pixels):
    """An RGBA PNG of rows of (r, g, b, a) tuples, top row first."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter: the drawings are flat and compress well as they are
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def face_frame(width, height, top, bottom, rim, alpha, radius=3):
    """A rounded button: a vertical gradient from top to bottom colour inside a
    one-pixel rim; corners cut by the radius are transparent."""
    rows = []
    for y in range(height):
        row = []
        fill = mix(top, bottom, y / max(height - 1, 1))
        for x in range(width):
            dx = max(radius - x, x - (width - 1 - radius), 0)
            dy = max(radius - y, y - (height - 1 - radius), 0)
            if dx * dx + dy * dy > radius * radius:
                row.append((0, 0, 0, 0))
                continue
            edge = x in (0, width - 1) or y in (0, height - 1) or dx * dx + dy * dy > (radius - 1) ** 2
            colour = rim if edge else fill
            row.append(colour + (alpha,))
        rows.append(row)
    return rows


def face_strip(width, frame_height, looks):
    """looks: eight (top, bottom, rim, alpha) tuples in frame order."""
    rows = []
    for top, bottom, rim, alpha in looks:
        rows.extend(face_frame(width, frame_height, top, bottom, rim, alpha))
    return rows


def active_and_inactive(normal, hot, pressed, disabled, fade):
    """The four active looks, then the same faded towards grey for an inactive caption."""
    active = [normal, hot, pressed, disabled]
    grey = (200, 200, 200)
    inactive = [(mix(t, grey, fade), mix(b, grey, fade), mix(r, grey, fade), a) for t, b, r, a in active]
    return active + inactive


GLASS = active_and_inactive(
    ((120, 150, 190), (40, 70, 120), (20, 30, 50), 200),
    ((140, 200, 250), (40, 120, 200), (20, 40, 70), 230),
    ((30, 60, 110), (80, 130, 190), (10, 20, 40), 240),
    ((150, 150, 150), (110, 110, 110), (70, 70, 70), 140),
    0.6)

OFFICE_SCHEMES = {
    148: active_and_inactive(  # blue
        ((225, 236, 250), (180, 205, 235), (110, 140, 180), 255),
        ((255, 240, 190), (255, 210, 110), (190, 150, 60), 255),
        ((250, 180, 100), (250, 210, 140), (150, 100, 40), 255),
        ((220, 225, 230), (200, 205, 210), (160, 165, 170), 255),
        0.5),
    149: active_and_inactive(  # black
        ((90, 90, 95), (45, 45, 50), (20, 20, 20), 255),
        ((255, 240, 190), (255, 210, 110), (190, 150, 60), 255),
        ((250, 180, 100), (250, 210, 140), (150, 100, 40), 255),
        ((110, 110, 110), (90, 90, 90), (60, 60, 60), 255),
        0.5),
    150: active_and_inactive(  # silver
        ((240, 242, 245), (200, 205, 215), (140, 145, 155), 255),
        ((255, 240, 190), (255, 210, 110), (190, 150, 60), 255),
        ((250, 180, 100), (250, 210, 140), (150, 100, 40), 255),
        ((230, 230, 230), (215, 215, 215), (180, 180, 180), 255),
        0.5),
}

SKYPE = active_and_inactive(
    ((235, 245, 252), (200, 225, 245), (120, 170, 210), 255),
    ((200, 235, 255), (130, 200, 245), (60, 140, 200), 255),
    ((90, 170, 230), (150, 205, 245), (40, 110, 170), 255),
    ((225, 225, 225), (210, 210, 210), (170, 170, 170), 255),
    0.5)

GLYPH_WIDTH = 18
GLYPH_HEIGHT = 17

# Glyph index: kinds 1..9 (strips 130..138), then the checked or pressed
# looks of kinds 4, 5, 7 and 8, then the overflow button (strip 143).
def flipped(drawing):
    return list(reversed(drawing))


def filled(drawing):
    """Every row filled between its outermost marks: the see-through half made solid."""
    rows = []
    for row in drawing:
        if "#" in row:
            first, last = row.index("#"), row.rindex("#")
            row = row[:first] + "#" * (last - first + 1) + row[last + 1:]
        rows.append(row)
    return rows


def pushed_in(drawing):
    """The pin pushed in: its needle shortened by two rows."""
    return ["." * 12, "." * 12] + drawing[:7] + drawing[9:]


GLYPHS = [DRAWINGS[130 + kind - 1] for kind in range(1, 10)] + [
    flipped(DRAWINGS[133]),    # 9: rolled up: the arrow points down
    pushed_in(DRAWINGS[134]),  # 10: on top
    filled(DRAWINGS[136]),     # 11: transparent
    flipped(DRAWINGS[137]),    # 12: transparency menu open
    DRAWINGS[143],             # 13: overflow
]

WHITE = (255, 255, 255, 255)
RIM = (0, 0, 0, 150)
CLEAR = (0, 0, 0, 0)


def glyph_strip():
    width = GLYPH_WIDTH * len(GLYPHS)
    rows = [[CLEAR] * width for _ in range(GLYPH_HEIGHT)]
    for index, drawing in enumerate(GLYPHS):
        assert len(drawing) == 12 and all(len(row) == 12 for row in drawing), index
        left, top = index * GLYPH_WIDTH + 3, 2
        marks = {(x, y) for y, row in enumerate(drawing) for x, mark in enumerate(row) if mark == "#"}
        for (x, y) in sorted(marks):
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    if (x + dx, y + dy) not in marks:
                        rows[top + y + dy][left + x + dx] = RIM
        for (x, y) in sorted(marks):
            rows[top + y][left + x] = WHITE
    return width, rows


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = os.path.join(root, "trelmo", "res")
    os.makedirs(out, exist_ok=True)
    images = {
        "face142.png": (31, face_strip(31, 22, GLASS)),
        "glyph147.png": glyph_strip(),
        "face152.png": (24, face_strip(24, 18, SKYPE)),
    }
    for resource, looks in OFFICE_SCHEMES.items():
        images["face%d.png" % resource] = (35, face_strip(35, 21, looks))
    for name in sorted(images):
        width, rows = images[name]
        with open(os.path.join(out, name), "wb") as f:
            f.write(png_bytes(width, len(rows), rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
