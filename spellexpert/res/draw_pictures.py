#!/usr/bin/env python3
"""Draws the expert's pictures: the product's quill over a checked line for the spell dialog and
the options window, and the engine's open book for the options window, 32 x 32 each in the
16-colour palette, olive where transparent. Run it to rewrite the .bmp files beside it; the build
embeds those files (pictures.list)."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../platform/vcl/res"))
import draw_glyphs as g  # noqa: E402

g.N = 32


def quill():
    p = g.Pic()
    p.line(6, 25, 25, 4, g.WHITE, 5)      # the feather ...
    p.line(8, 23, 24, 6, g.SILVER, 1)
    p.line(3, 29, 7, 24, g.NAVY, 2)       # ... its nib
    p.outline(g.BLACK)
    p.rect(12, 28, 29, 28, g.NAVY)        # the line it writes
    p.line(22, 22, 24, 25, g.GREEN, 2)    # and the check over it
    p.line(24, 25, 30, 17, g.GREEN, 2)
    return p


def book():
    p = g.Pic()
    p.rect(3, 6, 15, 26, g.WHITE)         # two open pages
    p.rect(17, 6, 29, 26, g.WHITE)
    p.rect(16, 5, 16, 27, g.NAVY)
    for y in range(9, 25, 3):
        p.rect(5, y, 13, y, g.GRAY)
        p.rect(19, y, 27, y, g.GRAY)
    p.outline(g.BLACK)
    p.rect(6, 28, 26, 29, g.MAROON)       # the cover below
    return p


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    g.write_bmp(os.path.join(here, "quillo.bmp"), [quill()])
    g.write_bmp(os.path.join(here, "vmkspell.bmp"), [book()])
