"""Draws the program's icon, three distinct dots for the three distinct primes of a sphenic
number on a blue tile, and writes it as a Windows .ico with the sizes Windows shows: 16, 24,
32 and 48 pixels as 32-bit bitmaps, 256 as a PNG. The same bytes on every run: the build
takes sphenischezahlen.ico beside it, which this drew, and CI draws it again to compare.

    python3 draw_icon.py OUTPUT.ico
"""

import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 256)
TILE = (0x1F, 0x3A, 0x5F)
# Each dot: centre and radius, as parts of the icon's side, and its colour.
DOTS = (((0.50, 0.31), 0.17, (0xE4, 0x57, 0x2E)),
        ((0.29, 0.67), 0.17, (0xF3, 0xA7, 0x12)),
        ((0.71, 0.67), 0.17, (0x5C, 0xB8, 0x5C)))


def coverage(distance_outside, pixel):
    """How much of a pixel a shape covers whose edge lies distance_outside (in parts of the
    side, negative inside) from the pixel's centre: a linear ramp one pixel wide."""
    return min(1.0, max(0.0, 0.5 - distance_outside / pixel))


def tile_distance(x, y):
    """Signed distance from (x, y) to a rounded square with a margin of 0.03."""
    half, radius = 0.47, 0.16
    dx = max(abs(x - 0.5) - (half - radius), 0.0)
    dy = max(abs(y - 0.5) - (half - radius), 0.0)
    inner = min(max(abs(x - 0.5), abs(y - 0.5)) - (half - radius), 0.0)
    return (dx * dx + dy * dy) ** 0.5 + inner - radius


def pixels(size):
    """Returns the rows of the icon at size pixels, top first, as (r, g, b, a) tuples."""
    pixel = 1.0 / size
    rows = []
    for row in range(size):
        y = (row + 0.5) * pixel
        line = []
        for column in range(size):
            x = (column + 0.5) * pixel
            alpha = coverage(tile_distance(x, y), pixel)
            colour = TILE
            for (cx, cy), radius, dot in DOTS:
                part = coverage(((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 - radius, pixel)
                colour = tuple(round(c * (1 - part) + d * part) for c, d in zip(colour, dot))
            line.append(colour + (round(255 * alpha),))
        rows.append(line)
    return rows


def bitmap(size):
    """A 32-bit bitmap as an icon holds it: its header, the rows bottom first in BGRA, and
    an all-clear AND mask (the alpha channel says it all)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b"".join(bytes((b, g, r, a)) for line in reversed(pixels(size))
                       for r, g, b, a in line)
    mask = bytes(((size + 31) // 32 * 4) * size)
    return header + colours + mask


def png(size):
    """The icon at size pixels as a PNG, compressed alike on every run."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(value for rgba in line for value in rgba)
                   for line in pixels(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(output):
    images = [png(size) if size == 256 else bitmap(size) for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, image in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image),
                                 offset)
        offset += len(image)
    with open(output, "wb") as icon:
        icon.write(directory + b"".join(images))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    main(sys.argv[1])
