#!/usr/bin/env python3
"""Draws the skin engine's media player glyphs: nine buttons (play, pause, stop, next, previous, step,
back, record, eject), each in three looks: enabled (dark ink), disabled (grey ink with a white relief)
and coloured (each button its own colour). Same plain drawing as make_artwork.py (zlib only, same
result everywhere).

    python3 tools/artwork/make_player_glyphs.py [RESOURCES_DIR]

Writes 24-bit bitmaps named after their resource names under RESOURCES_DIR/bitmaps/ (default: the
project's resources/): EN_MPPLAY.bmp, DI_MPPLAY.bmp, CL_MPPLAY.bmp and so on. Olive (128, 128, 0) is
the colour the player's panel leaves transparent.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_artwork import Canvas  # noqa: E402

SIZE = 16
OLIVE = (128, 128, 0, 255)
INK = (24, 24, 24, 255)
GREY = (128, 128, 128, 255)
RELIEF = (255, 255, 255, 255)


# ---- the shapes, each drawn with one ink into a 16 x 16 cell ----------------------------------
def tri_right(c, x0, ink, half=5):
    """A triangle pointing right, its flat side at x0, 2 * half + 1 rows centred on row 8."""
    for y in range(8 - half, 9 + half):
        c.rect(x0, y, x0 + half - abs(y - 8) + 1, y + 1, ink)


def tri_left(c, x1, ink, half=5):
    """A triangle pointing left, its flat side at x1 - 1."""
    for y in range(8 - half, 9 + half):
        c.rect(x1 - (half - abs(y - 8) + 1), y, x1, y + 1, ink)


def g_play(c, ink):
    tri_right(c, 5, ink, 6)


def g_pause(c, ink):
    c.rect(4, 3, 7, 14, ink)
    c.rect(10, 3, 13, 14, ink)


def g_stop(c, ink):
    c.rect(4, 4, 13, 13, ink)


def g_next(c, ink):  # two triangles to a bar
    tri_right(c, 1, ink)
    tri_right(c, 7, ink)
    c.rect(13, 3, 15, 14, ink)


def g_prev(c, ink):  # a bar, then two triangles back
    c.rect(1, 3, 3, 14, ink)
    tri_left(c, 9, ink)
    tri_left(c, 15, ink)


def g_step(c, ink):  # one small triangle to a bar
    tri_right(c, 4, ink)
    c.rect(10, 3, 12, 14, ink)


def g_back(c, ink):  # a bar, then one small triangle back
    c.rect(4, 3, 6, 14, ink)
    tri_left(c, 12, ink)


def g_record(c, ink):
    c.disc(8.5, 8.5, 4.8, ink)


def g_eject(c, ink):
    for y in range(3, 9):  # a triangle pointing up, 11 pixels at its base
        c.rect(8 - (y - 3), y, 9 + (y - 3), y + 1, ink)
    c.rect(3, 11, 14, 13, ink)


BUTTONS = [
    ("MPPLAY", g_play, (0, 150, 40, 255)),
    ("MPPAUSE", g_pause, (220, 160, 0, 255)),
    ("MPSTOP", g_stop, (200, 30, 30, 255)),
    ("MPNEXT", g_next, (30, 90, 200, 255)),
    ("MPPREV", g_prev, (30, 90, 200, 255)),
    ("MPSTEP", g_step, (0, 140, 150, 255)),
    ("MPBACK", g_back, (0, 140, 150, 255)),
    ("MPRECORD", g_record, (230, 20, 20, 255)),
    ("MPEJECT", g_eject, (110, 60, 170, 255)),
]


def enabled(shape):
    c = Canvas(SIZE, SIZE, OLIVE)
    shape(c, INK)
    return c


def disabled(shape):
    """The shape in grey over its own white copy one pixel down and right, as a pressed-in relief."""
    relief = Canvas(SIZE, SIZE, OLIVE)
    shape(relief, RELIEF)
    c = Canvas(SIZE, SIZE, OLIVE)
    for y in range(SIZE - 1):
        for x in range(SIZE - 1):
            p = relief.px[y * SIZE + x]
            if tuple(p[:3]) != OLIVE[:3]:
                c.put(x + 1, y + 1, RELIEF)
    shape(c, GREY)
    return c


def coloured(shape, colour):
    c = Canvas(SIZE, SIZE, OLIVE)
    shape(c, colour)
    return c


def hard_edges(c):
    """No blended pixels: a pixel is the key colour or ink, so the key colour cuts exactly."""
    for p in c.px:
        p[3] = 255
    return c


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                                "..", "..", "resources")
    out = os.path.join(root, "bitmaps")
    for name, shape, colour in BUTTONS:
        hard_edges(enabled(shape)).bmp(os.path.join(out, "EN_%s.bmp" % name))
        hard_edges(disabled(shape)).bmp(os.path.join(out, "DI_%s.bmp" % name))
        hard_edges(coloured(shape, colour)).bmp(os.path.join(out, "CL_%s.bmp" % name))


if __name__ == "__main__":
    main()
