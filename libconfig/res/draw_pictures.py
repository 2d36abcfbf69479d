#!/usr/bin/env python3
"""Draws Vorl's pictures in the 16-colour palette: the program icon (32 x 32, a shelf of library
books) and the search-path order window's arrows (16 x 16, olive where transparent). Run it to
rewrite the files beside it; the build embeds those files (vorl.list)."""
import os
import struct

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)
NONE = -1


def canvas(n, fill):
    return [[fill] * n for _ in range(n)]


def rect(p, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            p[y][x] = c


def pixels_4bit(p, transparent_as):
    """Rows bottom-up, two pixels a byte, each row padded to 4 bytes."""
    n = len(p[0])
    out = b""
    for row in reversed(p):
        line = bytes(((transparent_as if a == NONE else a) << 4) | (transparent_as if b == NONE else b)
                     for a, b in zip(row[0::2], row[1::2]))
        out += line + b"\0" * (-len(line) % 4)
    return out


def palette():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def write_bmp(path, p):
    n = len(p)
    bits = pixels_4bit(p, OLIVE)
    offset = 14 + 40 + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, n, n, 1, 4, 0, len(bits), 0, 0, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette() + bits)


def write_ico(path, p):
    n = len(p)
    xor = pixels_4bit(p, BLACK)
    mask = b""
    for row in reversed(p):
        bits = 0
        for x, c in enumerate(row):
            if c == NONE:
                bits |= 1 << (n - 1 - x)
        line = bits.to_bytes(n // 8, "big")
        mask += line + b"\0" * (-len(line) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + palette() + xor + mask
    head = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(head + image)


def icon():
    p = canvas(32, NONE)
    # A shelf with five books of the library, one of them leaning on its neighbour.
    books = [(3, 8, NAVY), (8, 5, MAROON), (12, 10, TEAL), (17, 6, GREEN), (21, 9, PURPLE)]
    for x, top, colour in books:
        width = 4 if x != 12 else 5
        rect(p, x, top, x + width - 1, 26, BLACK)
        rect(p, x + 1, top + 1, x + width - 2, 25, colour)
        rect(p, x + 1, top + 4, x + width - 2, top + 5, YELLOW)
        rect(p, x + 1, 21, x + width - 2, 21, YELLOW)
    for i in range(17):
        y = 26 - i
        x = 25 + i // 6
        p[y][x] = BLACK
        p[y][x + 1] = RED
        p[y][x + 2] = RED
        p[y][x + 3] = BLACK
    rect(p, 1, 27, 30, 29, GRAY)
    rect(p, 1, 27, 30, 27, SILVER)
    rect(p, 1, 30, 30, 30, BLACK)
    return p


def arrow(up):
    p = canvas(16, NONE)
    # A black head of seven rows over a three-pixel shaft.
    for i in range(7):
        y = 3 + i
        rect(p, 7 - i, y, 8 + i, y, BLACK)
    rect(p, 6, 10, 9, 13, BLACK)
    return p if up else list(reversed(p))


here = os.path.dirname(os.path.abspath(__file__))
write_ico(os.path.join(here, "vorl.ico"), icon())
write_bmp(os.path.join(here, "arrowup.bmp"), arrow(True))
write_bmp(os.path.join(here, "arrowdown.bmp"), arrow(False))
