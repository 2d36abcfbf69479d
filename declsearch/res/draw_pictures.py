#!/usr/bin/env python3
"""Draws the declaration search's pictures in the 16-colour palette: the check list's boxes
(fuchsia takes the window colour, olive the control's) and the results list's closed and open
book for file headers (white is transparent). Run it to rewrite the .bmp files beside it; the
build embeds those files (delvo32.list)."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../platform/vcl/res"))
from draw_glyphs import (write_rows_bmp, AQUA, BLACK, FUCHSIA, GRAY, NAVY, OLIVE, SILVER, TEAL,  # noqa: E402
                         WHITE, YELLOW)


def canvas(w, h, c):
    return [[c] * w for _ in range(h)]


def rect(p, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            p[y][x] = c


def box(three_d, checked):
    # 13 x 13: the box on the control's colour, its inside in the window colour.
    p = canvas(13, 13, OLIVE)
    if three_d:
        rect(p, 0, 0, 12, 0, GRAY); rect(p, 0, 0, 0, 12, GRAY)
        rect(p, 1, 1, 11, 1, BLACK); rect(p, 1, 1, 1, 11, BLACK)
        rect(p, 0, 12, 12, 12, WHITE); rect(p, 12, 0, 12, 12, WHITE)
        rect(p, 1, 11, 11, 11, SILVER); rect(p, 11, 1, 11, 11, SILVER)
        rect(p, 2, 2, 10, 10, FUCHSIA)
    else:
        rect(p, 0, 0, 12, 12, BLACK)
        rect(p, 1, 1, 11, 11, FUCHSIA)
    if checked:
        # A tick three pixels thick.
        for i, (x, y) in enumerate([(3, 5), (4, 6), (5, 7), (6, 6), (7, 5), (8, 4), (9, 3)]):
            for d in range(3):
                p[y + d][x] = BLACK
    return p


def book(opened):
    p = canvas(16, 14, WHITE)
    if opened:
        rect(p, 1, 3, 7, 11, YELLOW); rect(p, 8, 3, 14, 11, YELLOW)
        for x in range(1, 15):
            p[2][x] = NAVY; p[12][x] = NAVY
        for y in range(2, 13):
            p[y][0] = NAVY; p[y][15] = NAVY; p[y][8] = NAVY
        for y in (5, 7, 9):
            rect(p, 3, y, 6, y, GRAY); rect(p, 10, y, 13, y, GRAY)
    else:
        rect(p, 3, 1, 13, 12, TEAL)
        rect(p, 2, 1, 2, 12, NAVY)
        for x in range(2, 14):
            p[1][x] = NAVY; p[12][x] = NAVY
        for y in range(1, 13):
            p[y][13] = NAVY
        rect(p, 4, 12, 12, 12, WHITE)
        rect(p, 3, 12, 3, 12, NAVY)
        rect(p, 6, 4, 11, 5, AQUA)
    return p


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, pic in {"kw_uncheck": box(False, False), "kw_check": box(False, True),
                      "kw_uncheck3d": box(True, False), "kw_check3d": box(True, True),
                      "bookcls": book(False), "bookopen": book(True)}.items():
        write_rows_bmp(os.path.join(here, name + ".bmp"), pic)
