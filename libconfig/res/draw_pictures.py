#!/usr/bin/env python3
"""Draws Vorl's pictures in the 16-colour palette: the program icon (32 x 32, a shelf of library
books), the search-path order window's arrows (16 x 16, olive where transparent), the toolbar's
button pictures (20 x 20) and its background. Run it to
rewrite the files beside it; the build embeds those files (vorl.list)."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../platform/vcl/res"))
from draw_glyphs import (bits_4, palette_bytes, write_rows_bmp, BLACK, BLUE, GRAY, GREEN, LIME,  # noqa: E402
                         MAROON, NAVY, OLIVE, PURPLE, RED, SILVER, TEAL, WHITE, YELLOW)
NONE = -1


def canvas(n, fill, h=None):
    return [[fill] * n for _ in range(h or n)]


def rect(p, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            p[y][x] = c


def opaque(p, transparent_as):
    return [[transparent_as if c == NONE else c for c in row] for row in p]


def write_bmp(path, p):
    write_rows_bmp(path, opaque(p, OLIVE))


def write_ico(path, p):
    n = len(p)
    xor = bits_4(opaque(p, BLACK))
    mask = b""
    for row in reversed(p):
        bits = 0
        for x, c in enumerate(row):
            if c == NONE:
                bits |= 1 << (n - 1 - x)
        line = bits.to_bytes(n // 8, "big")
        mask += line + b"\0" * (-len(line) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + palette_bytes() + xor + mask
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


def line(p, x0, y0, x1, y1, c, width=1):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = round(x0 + (x1 - x0) * i / steps)
        y = round(y0 + (y1 - y0) * i / steps)
        rect(p, x, y, x + width - 1, y + width - 1, c)


def disc(p, cx, cy, r, c):
    for y in range(len(p)):
        for x in range(len(p[0])):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                p[y][x] = c


def page(p, x0, y0, x1, y1):
    """A sheet of paper with its top right corner folded."""
    rect(p, x0, y0, x1, y1, BLACK)
    rect(p, x0 + 1, y0 + 1, x1 - 1, y1 - 1, WHITE)
    for i in range(4):
        rect(p, x1 - 4 + i, y0, x1, y0 + i, NONE)
        p[y0 + i][x1 - 4 + i] = BLACK
    rect(p, x1 - 4, y0 + 4, x1, y0 + 4, BLACK)
    rect(p, x1 - 4, y0, x1 - 4, y0 + 4, BLACK)


# The toolbar's pictures, 20 x 20 with olive for transparent.
def tool_apply():
    p = canvas(20, NONE)
    page(p, 3, 1, 14, 17)
    for y in range(5, 15, 3):
        rect(p, 5, y, 11, y, GRAY)
    line(p, 8, 13, 11, 17, GREEN, 2)
    line(p, 11, 17, 17, 7, GREEN, 2)
    return p


def tool_new():
    p = canvas(20, NONE)
    page(p, 4, 1, 15, 18)
    # A star where the new sheet begins.
    line(p, 14, 11, 18, 15, YELLOW)
    line(p, 18, 11, 14, 15, YELLOW)
    rect(p, 13, 13, 19, 13, YELLOW)
    rect(p, 16, 10, 16, 16, YELLOW)
    return p


def tool_refresh(colour, head):
    p = canvas(20, NONE)
    # Two arrows chasing each other round a circle.
    for y in range(20):
        for x in range(20):
            d = (x - 9.5) ** 2 + (y - 9.5) ** 2
            if 30 <= d <= 56 and not (abs(x - y) <= 1 and x > 9) and not (abs(x - y) <= 1 and x < 10):
                p[y][x] = colour
    for i in range(4):
        rect(p, 14, 14 - i, 18 - i, 14 - i, head)
        rect(p, 1 + i, 5 + i, 5, 5 + i, head)
    return p


def tool_delete(colour, shadow):
    p = canvas(20, NONE)
    for s, c in ((1, shadow), (0, colour)):
        line(p, 3 + s, 3 + s, 15 + s, 15 + s, c, 3)
        line(p, 15 + s, 3 + s, 3 + s, 15 + s, c, 3)
    return p


def tool_print():
    p = canvas(20, NONE)
    page(p, 5, 1, 14, 9)
    rect(p, 1, 8, 18, 15, BLACK)
    rect(p, 2, 9, 17, 14, SILVER)
    rect(p, 2, 9, 17, 9, WHITE)
    rect(p, 14, 11, 15, 11, LIME)
    rect(p, 4, 13, 15, 17, BLACK)
    rect(p, 5, 14, 14, 16, WHITE)
    return p


def tool_help():
    p = canvas(20, NONE)
    disc(p, 9.5, 9.5, 9, BLACK)
    disc(p, 9.5, 9.5, 8, NAVY)
    for x0, y0, x1, y1 in ((7, 4, 12, 4), (6, 5, 7, 7), (12, 5, 13, 8), (11, 9, 12, 9), (9, 10, 10, 11), (9, 14, 10, 15)):
        rect(p, x0, y0, x1, y1, WHITE)
    return p


def tool_exit():
    p = canvas(20, NONE)
    # An open door in its frame, and the way out.
    rect(p, 3, 1, 13, 18, BLACK)
    rect(p, 4, 2, 12, 18, WHITE)
    for y in range(2, 19):
        w = 6 - (y - 2) // 6
        rect(p, 4, y, 4 + w, y, MAROON)
    p[10][9] = YELLOW
    rect(p, 14, 9, 18, 10, GREEN)
    line(p, 16, 7, 18, 9, GREEN)
    line(p, 16, 12, 18, 10, GREEN)
    return p


def toolbar_background(w, h):
    """The toolbar's face: button grey with a light line above and a dark one below."""
    p = canvas(w, SILVER, h)
    rect(p, 0, 0, w - 1, 0, WHITE)
    rect(p, 0, h - 1, w - 1, h - 1, GRAY)
    return p


here = os.path.dirname(os.path.abspath(__file__))
write_ico(os.path.join(here, "vorl.ico"), icon())
write_bmp(os.path.join(here, "arrowup.bmp"), arrow(True))
write_bmp(os.path.join(here, "arrowdown.bmp"), arrow(False))
for name, picture in (("apply", tool_apply()), ("new", tool_new()), ("refresh", tool_refresh(NAVY, BLUE)),
                      ("refreshoff", tool_refresh(GRAY, GRAY)), ("delete", tool_delete(RED, MAROON)),
                      ("deleteoff", tool_delete(GRAY, WHITE)), ("print", tool_print()), ("help", tool_help()),
                      ("exit", tool_exit())):
    write_bmp(os.path.join(here, "tb" + name + ".bmp"), picture)
write_bmp(os.path.join(here, "toolbar.bmp"), toolbar_background(402, 54))
