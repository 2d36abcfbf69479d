#!/usr/bin/env python3
"""Draws the bitmap buttons' stock glyphs: for each kind a strip of two 18 x 18 pictures (up and
disabled) in the 16-colour palette, olive where transparent. Run it to rewrite the .bmp files
beside it; the build embeds those files (glyphs.list)."""
import math
import os
import struct

N = 18
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)


class Pic:
    def __init__(self):
        self.p = [[OLIVE] * N for _ in range(N)]

    def dot(self, x, y, c):
        if 0 <= x < N and 0 <= y < N:
            self.p[y][x] = c

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1) * 4
        r = (width - 1) / 2
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dy in range(-2, 3):
                for dx in range(-2, 3):
                    if dx * dx + dy * dy <= r * r + 0.01:
                        self.dot(round(x + dx), round(y + dy), c)

    def disc(self, cx, cy, r, c):
        for y in range(N):
            for x in range(N):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def ring(self, cx, cy, r, c, width=1.0):
        for y in range(N):
            for x in range(N):
                d = math.hypot(x - cx, y - cy)
                if r - width <= d <= r:
                    self.dot(x, y, c)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def outline(self, c=BLACK, of=None):
        """A one-pixel outline around the pixels of the colours in `of` (all drawn ones by default)."""
        drawn = [[self.p[y][x] != OLIVE and (of is None or self.p[y][x] in of) for x in range(N)] for y in range(N)]
        for y in range(N):
            for x in range(N):
                if self.p[y][x] != OLIVE:
                    continue
                if any(0 <= x + dx < N and 0 <= y + dy < N and drawn[y + dy][x + dx]
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    self.p[y][x] = c

    def disabled(self):
        """The period's disabled look: the picture's shape in grey, with white one pixel right and down."""
        out = Pic()
        for y in range(N):
            for x in range(N):
                if self.p[y][x] not in (OLIVE, WHITE, SILVER, YELLOW, LIME, AQUA):
                    out.dot(x + 1, y + 1, WHITE)
        for y in range(N):
            for x in range(N):
                if self.p[y][x] not in (OLIVE, WHITE, SILVER, YELLOW, LIME, AQUA):
                    out.p[y][x] = GRAY
        return out


def check(p, c=GREEN, light=LIME, dx=0):
    p.line(2 + dx, 9, 6 + dx, 13, c, 3)
    p.line(6 + dx, 13, 15 + dx, 3, c, 3)
    p.line(3 + dx, 9, 6 + dx, 12, light)
    p.outline(BLACK)


def ok():
    p = Pic()
    check(p)
    return p


def all_():
    p = Pic()
    p.line(1, 8, 4, 11, GREEN, 2)
    p.line(4, 11, 11, 3, GREEN, 2)
    p.line(5, 11, 8, 14, GREEN, 2)
    p.line(8, 14, 16, 5, GREEN, 2)
    p.outline(BLACK)
    return p


def cancel():
    p = Pic()
    p.line(4, 4, 13, 13, RED, 3)
    p.line(13, 4, 4, 13, RED, 3)
    p.outline(MAROON)
    return p


def no():
    p = Pic()
    p.ring(8.5, 8.5, 7.5, RED, 2.2)
    p.line(4, 13, 13, 4, RED, 2)
    p.outline(MAROON, of=(RED,))
    return p


def abort():
    p = Pic()
    p.disc(8.5, 8.5, 7.3, RED)
    p.line(5, 5, 12, 12, WHITE, 2)
    p.line(12, 5, 5, 12, WHITE, 2)
    p.outline(MAROON)
    return p


def help_():
    p = Pic()
    # A question mark in blue.
    for x, y in [(6, 3), (7, 2), (8, 2), (9, 2), (10, 2), (11, 3), (12, 4), (12, 5), (11, 6), (10, 7),
                 (9, 8), (9, 9), (9, 10)]:
        p.rect(x - 1, y, x, y + 1, BLUE)
    p.rect(8, 13, 10, 15, BLUE)
    p.outline(NAVY)
    return p


def close():
    p = Pic()
    p.rect(3, 1, 10, 16, BLACK)       # the door frame
    p.rect(4, 2, 9, 15, YELLOW)       # light through the open door
    for y in range(2, 17):            # the door, swung open towards us
        p.line(4, y, 7, y + 1, TEAL)
    p.line(4, 1, 7, 2, BLACK)
    p.line(4, 16, 7, 17, BLACK)
    p.line(7, 2, 7, 17, BLACK)
    p.dot(6, 9, YELLOW)
    p.line(11, 9, 16, 9, RED, 1)      # the way out
    p.line(14, 7, 16, 9, RED)
    p.line(14, 11, 16, 9, RED)
    return p


def retry():
    p = Pic()
    p.ring(8.5, 9, 6.5, GREEN, 2.2)
    p.rect(9, 1, 12, 4, OLIVE)        # a gap at the top ...
    p.line(8, 0, 11, 3, GREEN, 1)     # ... closed by the arrow head
    p.line(8, 6, 11, 3, GREEN, 1)
    p.line(7, 1, 7, 5, GREEN, 1)
    p.outline(BLACK)
    return p


def ignore():
    p = Pic()
    p.ring(8.5, 12, 6.5, BLUE, 1.8)   # the hop over the line ...
    p.rect(0, 11, 17, 17, OLIVE)
    p.line(13, 11, 16, 11, BLUE)      # ... landing with an arrow head
    p.line(14, 12, 15, 12, BLUE)
    p.outline(BLACK)
    p.rect(1, 14, 16, 15, NAVY)       # the line that is stepped over
    return p


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def bits_4(rows):
    """Rows of palette indices, top-down, as a 4-bit bitmap's bits: bottom-up, two pixels a byte
    (an odd width ends in black), each row padded to 4 bytes."""
    w = len(rows[0])
    row = ((w * 4 + 31) // 32) * 4
    bits = bytearray()
    for r in reversed(rows):
        line = bytearray()
        for x in range(0, w, 2):
            line.append(r[x] << 4 | (r[x + 1] if x + 1 < w else 0))
        bits += line + bytes(row - len(line))
    return bytes(bits)


def write_rows_bmp(path, rows):
    """A 16-colour .bmp of rows of palette indices, top-down."""
    h, w = len(rows), len(rows[0])
    bits = bits_4(rows)
    pal = palette_bytes()
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(bits), 0, 0, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + bits)


def write_bmp(path, pics):
    """The pictures side by side, as a button's strip."""
    write_rows_bmp(path, [[pics[x // N].p[y][x % N] for x in range(N * len(pics))] for y in range(N)])


KINDS = {"BBOK": ok, "BBCANCEL": cancel, "BBHELP": help_, "BBYES": ok, "BBNO": no, "BBCLOSE": close,
         "BBABORT": abort, "BBRETRY": retry, "BBIGNORE": ignore, "BBALL": all_}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in KINDS.items():
        up = draw()
        write_bmp(os.path.join(here, name.lower() + ".bmp"), [up, up.disabled()])
