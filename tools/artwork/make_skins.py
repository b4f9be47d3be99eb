#!/usr/bin/env python3
"""Draws the pictures of the two layered windows: the splash picture, the about window's background and
its OK button in four states. Same plain drawing as make_artwork.py (zlib only, same result everywhere).

    python3 tools/artwork/make_skins.py OUTPUT_DIR

Writes Splash.png, imgAbout.png and btnAboutOK_{Normal,Hover,Down,Disabled}.png into OUTPUT_DIR (the
program's skins folder). Transparent pixels (alpha 0) are where the layered windows let the desktop
show through; the rounded corners rely on that.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_artwork import Canvas  # noqa: E402

CLEAR = (0, 0, 0, 0)
DEEP, LIGHT = (18, 40, 78), (46, 92, 160)
ACCENT = (255, 170, 40, 255)


def emblem(c, cx, cy, r):
    """The program's mark: a ring with a play triangle, an orange arrow of conversion below it."""
    c.disc(cx, cy, r, (255, 255, 255, 230))
    c.disc(cx, cy, r - 4, (30, 70, 130, 255))
    c.polygon([(cx - r * 0.35, cy - r * 0.5), (cx + r * 0.55, cy), (cx - r * 0.35, cy + r * 0.5)], (255, 255, 255, 255))
    c.line(cx - r, cy + r + 14, cx + r - 6, cy + r + 14, ACCENT, width=4)
    c.polygon([(cx + r - 10, cy + r + 6), (cx + r + 4, cy + r + 14), (cx + r - 10, cy + r + 22)], ACCENT)


def panel(w, h, radius, top, bottom, border):
    c = Canvas(w, h, CLEAR)
    inside = c.round_inside(0, 0, w, h, radius)
    c.vgradient(0, 0, w, h, top, bottom, inside)
    c.frame(inside, border)
    return c


def splash():
    w, h = 566, 273
    c = panel(w, h, 18, LIGHT, DEEP, (200, 220, 255, 255))
    emblem(c, 120, 120, 60)
    # Bars on the right stand for the frames of a video passing through.
    for i in range(6):
        x = 230 + i * 52
        c.rect(x, 90, x + 40, 150, (255, 255, 255, 60 + i * 25))
    c.rect(230, 200, 536, 204, ACCENT)
    return c


def about():
    w, h = 468, 375
    c = panel(w, h, 12, (36, 70, 120), (12, 26, 52), (170, 195, 235, 255))
    c.rect(1, 30, w - 1, 31, (170, 195, 235, 160))  # under the "About" heading
    emblem(c, 60, 90, 34)
    c.rect(121, 200, 440, 201, (170, 195, 235, 120))  # above the two links
    return c


BUTTON_STATES = {  # gradient top, bottom and border of each state
    "Normal": ((250, 250, 250), (205, 212, 224), (90, 110, 140, 255)),
    "Hover": ((255, 246, 222), (250, 206, 120), (200, 130, 20, 255)),
    "Down": ((232, 180, 90), (255, 226, 160), (150, 90, 10, 255)),
    "Disabled": ((220, 220, 220), (200, 200, 200), (150, 150, 150, 255)),
}


def ok_button(state):
    top, bottom, border = BUTTON_STATES[state]
    return panel(105, 25, 5, top, bottom, border)


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: make_skins.py OUTPUT_DIR")
    out = sys.argv[1]
    splash().png(os.path.join(out, "Splash.png"))
    about().png(os.path.join(out, "imgAbout.png"))
    for state in BUTTON_STATES:
        ok_button(state).png(os.path.join(out, "btnAboutOK_%s.png" % state))


if __name__ == "__main__":
    main()
