#!/usr/bin/env python3
"""Draws the Quick Code window's button pictures: for each button a strip of two 18 x 18 pictures
(up and disabled), drawn with the class library's glyph helpers. Run it to rewrite the .bmp files
beside it; the window's form file (CodeForm.dfm) holds them as its buttons' glyphs."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../platform/vcl/res"))
from draw_glyphs import (Pic, write_bmp, close, BLACK, GREEN, NAVY, OLIVE, RED, SILVER, TEAL, WHITE)  # noqa: E402


def page(p, x0=3, y0=1, x1=12, y1=16):
    p.rect(x0, y0, x1, y1, WHITE)
    for y in range(y0 + 3, y1 - 1, 2):
        p.rect(x0 + 2, y, x1 - 3, y, NAVY)
    p.outline(BLACK, of=(WHITE,))


def insert():
    p = Pic()
    page(p, 6, 1, 15, 16)
    p.line(1, 9, 7, 9, RED, 2)        # an arrow into the text
    p.line(5, 6, 8, 9, RED, 2)
    p.line(5, 12, 8, 9, RED, 2)
    return p


def add():
    p = Pic()
    page(p)
    p.rect(12, 8, 14, 16, GREEN)      # a plus
    p.rect(9, 11, 17, 13, GREEN)
    p.outline(BLACK, of=(GREEN,))
    return p


def delete():
    p = Pic()
    page(p)
    p.line(8, 9, 16, 17, RED, 2)
    p.line(16, 9, 8, 17, RED, 2)
    return p


def save():
    p = Pic()
    p.rect(2, 2, 15, 15, NAVY)        # a disk ...
    p.rect(5, 2, 12, 7, WHITE)        # ... its label ...
    p.rect(5, 10, 12, 15, SILVER)     # ... and its shutter
    p.rect(9, 11, 10, 14, NAVY)
    p.outline(BLACK)
    return p


def cancel_():
    p = Pic()
    p.ring(9, 9.5, 6, TEAL, 2.2)      # an arrow turning back
    p.rect(0, 10, 8, 17, OLIVE)
    p.line(1, 6, 4, 10, TEAL, 2)
    p.line(4, 10, 8, 7, TEAL, 2)
    p.outline(BLACK)
    return p


def refresh():
    p = Pic()
    p.ring(8.5, 8.5, 7, GREEN, 2.2)
    p.rect(9, 0, 17, 7, OLIVE)            # a gap at the top right ...
    p.line(8, 0, 11, 2, GREEN, 1)     # ... closed by the arrow head
    p.line(8, 5, 11, 2, GREEN, 1)
    p.line(7, 0, 7, 5, GREEN, 1)
    p.outline(BLACK)
    return p


PICTURES = {"QCINSERT": insert, "QCADD": add, "QCDELETE": delete, "QCSAVE": save, "QCCANCEL": cancel_,
            "QCCLOSE": close, "QCREFRESH": refresh}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in PICTURES.items():
        up = draw()
        write_bmp(os.path.join(here, name.lower() + ".bmp"), [up, up.disabled()])
