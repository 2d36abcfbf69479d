#!/usr/bin/env python3
"""Draws the spell dialogs' button pictures: for each button a strip of two 18 x 18 pictures (up
and disabled), drawn with the class library's glyph helpers. Run it to rewrite the .bmp files
beside it; the build embeds those files (glyphs.list)."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../platform/vcl/res"))
from draw_glyphs import (Pic, write_bmp, close, ignore, BLACK, BLUE, GRAY, GREEN, LIME, MAROON,  # noqa: E402
                         NAVY, OLIVE, RED, SILVER, WHITE, YELLOW)


def pencil(p, dx=0, dy=0):
    p.line(4 + dx, 13 + dy, 13 + dx, 4 + dy, YELLOW, 3)
    p.line(12 + dx, 3 + dy, 15 + dx, 6 + dy, RED, 2)
    p.line(2 + dx, 15 + dy, 4 + dx, 13 + dy, BLACK, 1)
    p.outline(BLACK)


def replace():
    p = Pic()
    pencil(p)
    p.rect(1, 16, 9, 16, NAVY)  # the line it writes
    return p


def replace_all():
    p = Pic()
    pencil(p, -2, -2)
    p.rect(1, 14, 7, 14, NAVY)
    p.rect(9, 16, 17, 16, NAVY)
    p.rect(11, 14, 17, 14, NAVY)
    return p


def add():
    p = Pic()
    p.rect(2, 3, 11, 15, NAVY)       # a book ...
    p.rect(3, 4, 10, 13, BLUE)
    p.rect(3, 14, 10, 14, WHITE)     # ... with its pages
    p.rect(12, 6, 14, 16, GREEN)     # and a plus
    p.rect(9, 10, 17, 12, GREEN)
    p.outline(BLACK, of=(GREEN,))
    return p


def skip_all():
    p = Pic()
    for x0 in (2, 8):
        p.line(x0, 4, x0 + 5, 9, BLUE, 2)
        p.line(x0 + 5, 9, x0, 14, BLUE, 2)
    p.outline(NAVY)
    return p


def suggest():
    p = Pic()
    p.disc(8.5, 6.5, 5.2, YELLOW)    # a light bulb
    p.rect(6, 11, 11, 12, YELLOW)
    p.outline(BLACK)
    p.rect(6, 13, 11, 15, GRAY)      # its screw
    p.rect(6, 14, 11, 14, SILVER)
    p.rect(7, 16, 10, 16, BLACK)
    p.dot(6, 4, WHITE)
    return p


PICTURES = {"SPREPLACE": replace, "SPREPLACEALL": replace_all, "SPADD": add, "SPSKIP": ignore,
            "SPSKIPALL": skip_all, "SPSUGGEST": suggest, "SPCLOSE": close}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in PICTURES.items():
        up = draw()
        write_bmp(os.path.join(here, name.lower() + ".bmp"), [up, up.disabled()])
