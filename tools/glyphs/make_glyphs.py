#!/usr/bin/env python3
"""Draws the glyph strips of the caption buttons into trelmo/res.

Each strip is an 18 x 144 palette BMP (4 bits a pixel: the strips have four
colours): eight 18 x 18 frames stacked from the top. Frames 0-3 are normal, hot, pressed and disabled for an active caption,
4-7 the same for an inactive one. Black is where the glyph colour goes (the
library recolours it); the key colour, also the bottom-right pixel, is keyed
out when drawing. Disabled frames are grey so that they are never recoloured.

Only the standard library is used and nothing depends on time or on the
order of a set, so every run writes the same bytes.
"""

import os
import struct
import sys

SIZE = 18
FRAMES = 8
KEY = (255, 0, 255)
GLYPH = (0, 0, 0)
GREY = (128, 128, 128)
LIGHT = (255, 255, 255)
ORIGIN = 3  # the 12 x 12 drawings sit in the middle of the frame

# 12 x 12 drawings, '#' marks the glyph. Kept inside the middle twelve
# columns so that a button narrower than 18 pixels still shows all of it.
DRAWINGS = {
    # Minimize to tray: a window sinking into the tray bar.
    130: [
        ".##########.",
        ".##########.",
        ".#........#.",
        ".#........#.",
        ".##########.",
        ".....##.....",
        "...######...",
        "....####....",
        ".....##.....",
        "............",
        "############",
        "############",
    ],
    # Minimize to common tray: a list of windows above the tray bar.
    131: [
        "............",
        ".##.#######.",
        ".##.#######.",
        "............",
        ".##.#######.",
        ".##.#######.",
        "............",
        ".##.#######.",
        ".##.#######.",
        "............",
        "############",
        "############",
    ],
    # Minimize to box: a small square showing the window's icon.
    132: [
        "............",
        "............",
        "..########..",
        "..########..",
        "..#......#..",
        "..#.####.#..",
        "..#.####.#..",
        "..#......#..",
        "..########..",
        "............",
        "............",
        "............",
    ],
    # Roll up/unroll: an arrow pointing up at a caption bar.
    133: [
        ".....##.....",
        "....####....",
        "...######...",
        "..##.##.##..",
        ".....##.....",
        ".....##.....",
        "............",
        "############",
        "############",
        "#..........#",
        "############",
        "............",
    ],
    # Always on top: a pin.
    134: [
        "...######...",
        "....####....",
        "....####....",
        "....####....",
        "....####....",
        "...######...",
        "..########..",
        ".....##.....",
        ".....##.....",
        ".....##.....",
        ".....#......",
        ".....#......",
    ],
    # Push to background: the back window filled, the front one hollow.
    135: [
        "....########",
        "....########",
        "....########",
        "....########",
        "########.###",
        "########.###",
        "#......#.###",
        "#......#....",
        "#......#....",
        "#......#....",
        "#......#....",
        "########....",
    ],
    # Transparency preset: a square half solid, half see-through.
    136: [
        "############",
        "######.#.#.#",
        "#######.#.##",
        "######.#.#.#",
        "#######.#.##",
        "######.#.#.#",
        "#######.#.##",
        "######.#.#.#",
        "#######.#.##",
        "######.#.#.#",
        "#######.#.##",
        "############",
    ],
    # Tune transparency: rising levels and a drop-down mark.
    137: [
        "......##....",
        "......##....",
        "......##....",
        "...##.##....",
        "...##.##....",
        "...##.##....",
        "##.##.##....",
        "##.##.##....",
        "##.##.######",
        "##.##.##.##.",
        "##.##.##..#.",
        "............",
    ],
    # Run application copy: a second window coming out of the first.
    138: [
        "...#########",
        "...#########",
        "...#.......#",
        "#########..#",
        "#########..#",
        "#.......#..#",
        "#...#...#..#",
        "#..###..####",
        "#...#...#...",
        "#.......#...",
        "#########...",
        "............",
    ],
    # Overflow: a double chevron.
    143: [
        "............",
        "............",
        "..##..##....",
        "...##..##...",
        "....##..##..",
        ".....##..##.",
        ".....##..##.",
        "....##..##..",
        "...##..##...",
        "..##..##....",
        "............",
        "............",
    ],
}


def blank_frame():
    return [[KEY] * SIZE for _ in range(SIZE)]


def paint(frame, drawing, colour, dx=0, dy=0):
    for y, row in enumerate(drawing):
        for x, mark in enumerate(row):
            if mark == "#":
                frame[ORIGIN + y + dy][ORIGIN + x + dx] = colour


def frames_of(drawing):
    normal = blank_frame()
    paint(normal, drawing, GLYPH)
    hot = blank_frame()
    paint(hot, drawing, GLYPH)
    pressed = blank_frame()
    paint(pressed, drawing, GLYPH, 1, 1)
    # Active captions get the engraved look of a disabled control; inactive
    # ones are dull already and get the grey alone.
    engraved = blank_frame()
    paint(engraved, drawing, LIGHT, 1, 1)
    paint(engraved, drawing, GREY)
    flat = blank_frame()
    paint(flat, drawing, GREY)
    return [normal, hot, pressed, engraved, normal, hot, pressed, flat]


def palette_of(rows):
    """The colours of the rows in the order they first appear."""
    colours = []
    for row in rows:
        for colour in row:
            if colour not in colours:
                colours.append(colour)
    return colours


def packed_row(indices, depth):
    """Palette indices packed high bits first, padded to four bytes."""
    per_byte = 8 // depth
    line = bytearray()
    for start in range(0, len(indices), per_byte):
        byte = 0
        for i, index in enumerate(indices[start:start + per_byte]):
            byte |= index << (8 - depth * (i + 1))
        line.append(byte)
    line += bytes(-len(line) % 4)
    return line


def bmp_bytes(rows):
    """A bottom-up palette BMP of the given rows (top row first): 4 bits a
    pixel for up to 16 colours, else 8."""
    width, height = len(rows[0]), len(rows)
    colours = palette_of(rows)
    assert len(colours) <= 256, "more colours than an 8-bit palette holds"
    depth = 4 if len(colours) <= 16 else 8
    index_of = {colour: i for i, colour in enumerate(colours)}
    pixels = bytearray()
    for row in reversed(rows):
        pixels += packed_row([index_of[colour] for colour in row], depth)
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours)
    header_size = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, 0, len(pixels), 2835, 2835,
                              len(colours), len(colours))
    return file_header + info_header + palette + bytes(pixels)


def strip_rows(drawing):
    rows = []
    for frame in frames_of(drawing):
        rows.extend(frame)
    assert len(rows) == SIZE * FRAMES
    assert rows[-1][-1] == KEY, "the bottom-right pixel names the transparent colour"
    return rows


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = os.path.join(root, "trelmo", "res")
    os.makedirs(out, exist_ok=True)
    for resource in sorted(DRAWINGS):
        drawing = DRAWINGS[resource]
        assert len(drawing) == 12 and all(len(row) == 12 for row in drawing), resource
        path = os.path.join(out, "glyph%d.bmp" % resource)
        with open(path, "wb") as f:
            f.write(bmp_bytes(strip_rows(drawing)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
