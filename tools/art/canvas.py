"""The drawing surface of the art scripts and the files made from it.

A Canvas is a grid of pixel tuples, (r, g, b) or (r, g, b, a), top row first.
bmp_bytes, png_bytes and ico_bytes turn one into the bytes of a file; nothing
depends on time, so every run writes the same bytes.
"""

import struct
import zlib


class Canvas:
    # What a new canvas is filled with unless told otherwise.
    blank = (0, 0, 0, 0)

    def __init__(self, width, height, fill=None):
        self.width = width
        self.height = height
        if fill is None:
            fill = self.blank
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        """Paints one pixel; outside the canvas, or colour None, leaves it."""
        if 0 <= x < self.width and 0 <= y < self.height and colour is not None:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        """Fills [left, right) x [top, bottom)."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        self.rect(left, top, right, top + 1, colour)
        self.rect(left, bottom - 1, right, bottom, colour)
        self.rect(left, top, left + 1, bottom, colour)
        self.rect(right - 1, top, right, bottom, colour)


def bmp_bytes(canvas, indexed=True):
    """An uncompressed bottom-up BMP: 8 bits a pixel when indexed and 256
    colours suffice, else 24."""
    colours = sorted({p[:3] for row in canvas.pixels for p in row})
    width, height = canvas.width, canvas.height
    if indexed and len(colours) <= 256:
        index = {colour: i for i, colour in enumerate(colours)}
        stride = (width + 3) & ~3
        rows = b"".join(
            bytes(index[p[:3]] for p in row) + bytes(stride - width) for row in reversed(canvas.pixels)
        )
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
        bits, used = 8, len(colours)
    else:
        stride = (width * 3 + 3) & ~3
        rows = b"".join(
            b"".join(bytes((p[2], p[1], p[0])) for p in row) + bytes(stride - width * 3)
            for row in reversed(canvas.pixels)
        )
        palette = b""
        bits, used = 24, 0
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(rows), 2835, 2835, used, 0)
    return header + info + palette + rows


def png_bytes(canvas, alpha=False):
    """A PNG, each row unfiltered, compressed at zlib's highest level: with
    its alpha channel when asked; else opaque, indexed when 256 colours
    suffice, else 24-bit."""
    colours = sorted({p[:3] for row in canvas.pixels for p in row})
    palette = []
    if alpha:
        rows = b"".join(b"\0" + b"".join(bytes(p[:4]) for p in row) for row in canvas.pixels)
        colour_type = 6
    elif len(colours) <= 256:
        index = {colour: i for i, colour in enumerate(colours)}
        rows = b"".join(b"\0" + bytes(index[p[:3]] for p in row) for row in canvas.pixels)
        colour_type, palette = 3, [b"PLTE" + b"".join(bytes(c) for c in colours)]
    else:
        rows = b"".join(b"\0" + b"".join(bytes(p[:3]) for p in row) for row in canvas.pixels)
        colour_type = 2

    def chunk(body):
        return struct.pack(">I", len(body) - 4) + body + struct.pack(">I", zlib.crc32(body))

    header = b"IHDR" + struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, colour_type, 0, 0, 0)
    chunks = [header] + palette + [b"IDAT" + zlib.compress(rows, 9), b"IEND"]
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunk(c) for c in chunks)


def ico_bytes(canvases):
    """An icon file with one 32-bit image a canvas, each square, stored as
    PNG with its alpha channel (read by Windows Vista and later)."""
    images = [png_bytes(c, alpha=True) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        side = canvas.width % 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)
