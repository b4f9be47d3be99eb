#!/usr/bin/env python3
"""Draws the main window's artwork: the shaped background, the picture-button states and the
file-list icons. Plain Python (zlib only), so the pictures come out the same on every machine.

    python3 tools/artwork/make_artwork.py [RESOURCES_DIR]

Writes PNG files under RESOURCES_DIR/pictures/main/ (default: the project's resources/). Fuchsia
(255, 0, 255) marks what the window or a button cuts away.
"""
import os
import struct
import sys
import zlib

FUCHSIA = (255, 0, 255, 255)


class Canvas:
    def __init__(self, w, h, colour=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(colour) for _ in range(w * h)]

    def put(self, x, y, c, alpha=1.0):
        if 0 <= x < self.w and 0 <= y < self.h:
            p = self.px[y * self.w + x]
            a = alpha * (c[3] / 255.0 if len(c) > 3 else 1.0)
            for i in range(3):
                p[i] = int(round(p[i] * (1 - a) + c[i] * a))
            p[3] = max(p[3], int(round(255 * a)))

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.put(x, y, c)

    def vgradient(self, x0, y0, x1, y1, top, bottom, inside=None):
        span = max(1, y1 - y0 - 1)
        for y in range(max(0, y0), min(self.h, y1)):
            t = (y - y0) / span
            c = tuple(int(round(top[i] + (bottom[i] - top[i]) * t)) for i in range(3)) + (255,)
            for x in range(max(0, x0), min(self.w, x1)):
                if inside is None or inside(x, y):
                    self.put(x, y, c)

    def round_inside(self, x0, y0, x1, y1, r):
        """Test for a rounded rectangle [x0, x1) x [y0, y1) with corner radius r."""
        def inside(x, y):
            if x < x0 or x >= x1 or y < y0 or y >= y1:
                return False
            cx = x0 + r if x < x0 + r else (x1 - 1 - r if x > x1 - 1 - r else x)
            cy = y0 + r if y < y0 + r else (y1 - 1 - r if y > y1 - 1 - r else y)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r + r * 0.8
        return inside

    def frame(self, inside, c):
        """Draws the one-pixel edge of a shape given by its inside test."""
        for y in range(self.h):
            for x in range(self.w):
                if inside(x, y) and not (inside(x - 1, y) and inside(x + 1, y) and
                                         inside(x, y - 1) and inside(x, y + 1)):
                    self.put(x, y, c)

    def polygon(self, pts, c):
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for i in range(len(pts)):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % len(pts)]
                if (ay <= yc < by) or (by <= yc < ay):
                    xs.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(int(round(xs[i])), int(round(xs[i + 1]))):
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c, width=2):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        half = width / 2.0
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for yy in range(int(y - half), int(y + half) + 1):
                for xx in range(int(x - half), int(x + half) + 1):
                    if (xx + 0.5 - x) ** 2 + (yy + 0.5 - y) ** 2 <= half * half + 0.25:
                        self.put(xx, yy, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def bmp(self, path):
        """24-bit bitmap (for image-list strips, which take their mask from the bottom-left pixel)."""
        row = (self.w * 3 + 3) & ~3
        pixels = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                line.extend((b, g, r))
            pixels.extend(line + b"\0" * (row - len(line)))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(header + info + pixels)

    def png(self, path):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                raw.extend(bytes(self.px[y * self.w + x]))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


# ---- the window background -------------------------------------------------------------------
W, H = 661, 500
TITLE_H = 32
INK = (28, 52, 92)
BODY_TOP, BODY_BOTTOM = (233, 238, 246), (206, 216, 232)


def background():
    c = Canvas(W, H, FUCHSIA)
    outline = c.round_inside(0, 0, W, H, 12)
    c.vgradient(0, 0, W, H, BODY_TOP, BODY_BOTTOM, outline)
    c.vgradient(0, 0, W, TITLE_H, (52, 92, 156), (30, 58, 108), outline)
    c.rect(0, TITLE_H, W, TITLE_H + 1, (18, 36, 70, 255))
    # Wells behind the file list, the media panel and the format area.
    for x0, y0, x1, y1 in ((8, 76, 461, 334), (464, 76, 653, 334), (8, 338, 653, 446)):
        well = c.round_inside(x0, y0, x1, y1, 6)
        c.vgradient(x0, y0, x1, y1, (246, 248, 252), (226, 232, 242), well)
        c.frame(well, (150, 166, 194, 255))
    c.frame(outline, (18, 36, 70, 255))
    # A small film-strip mark before the title text.
    c.rect(10, 9, 26, 23, (240, 200, 80, 255))
    for y in (10, 14, 18):
        c.rect(11, y, 13, y + 2, (30, 58, 108, 255))
        c.rect(23, y, 25, y + 2, (30, 58, 108, 255))
    return c


# ---- picture buttons -------------------------------------------------------------------------
STATES = {
    "normal": ((250, 252, 255), (208, 220, 240), (110, 130, 170), INK),
    "hover": ((255, 255, 255), (222, 236, 255), (70, 110, 190), (20, 70, 160)),
    "down": ((190, 206, 232), (226, 234, 246), (60, 90, 150), (12, 40, 90)),
    "disabled": ((238, 238, 238), (222, 222, 222), (170, 170, 170), (160, 160, 160)),
}
TITLE_STATES = {
    "normal": ((70, 110, 176), (44, 76, 132), (24, 44, 84), (235, 240, 250)),
    "hover": ((96, 140, 210), (60, 100, 170), (24, 44, 84), (255, 255, 255)),
    "down": ((30, 56, 104), (52, 86, 146), (16, 30, 60), (220, 228, 245)),
    "disabled": ((90, 100, 120), (80, 90, 110), (60, 70, 90), (140, 150, 170)),
}


def button(w, h, state, glyph=None, states=STATES, radius=5, glyph_x=None):
    top, bottom, edge, ink = states[state]
    c = Canvas(w, h, FUCHSIA)
    shape = c.round_inside(0, 0, w, h, radius)
    c.vgradient(0, 0, w, h, top, bottom, shape)
    c.frame(shape, edge + (255,))
    if glyph:
        dx = 1 if state == "down" else 0
        glyph(c, (w / 2.0 if glyph_x is None else glyph_x) + dx, h / 2.0 + dx, ink + (255,))
    return c


def g_open(c, x, y, ink):  # a folder
    c.polygon([(x - 10, y - 7), (x - 3, y - 7), (x - 1, y - 4), (x + 10, y - 4), (x + 10, y + 8),
               (x - 10, y + 8)], ink)
    c.polygon([(x - 8, y - 1), (x + 12, y - 1), (x + 9, y + 8), (x - 10, y + 8)], (240, 200, 80, 255))


def g_add(c, x, y, ink):
    c.line(x - 8, y, x + 8, y, ink, 4)
    c.line(x, y - 8, x, y + 8, ink, 4)


def g_delete(c, x, y, ink):
    c.line(x - 7, y - 7, x + 7, y + 7, (190, 40, 40, 255), 4)
    c.line(x + 7, y - 7, x - 7, y + 7, (190, 40, 40, 255), 4)


def g_up(c, x, y, ink):
    c.polygon([(x, y - 8), (x + 9, y + 6), (x - 9, y + 6)], ink)


def g_down(c, x, y, ink):
    c.polygon([(x - 9, y - 6), (x + 9, y - 6), (x, y + 8)], ink)


def g_min(c, x, y, ink):
    c.line(x - 5, y + 4, x + 5, y + 4, ink, 2)


def g_close(c, x, y, ink):
    c.line(x - 4, y - 4, x + 4, y + 4, ink, 2)
    c.line(x + 4, y - 4, x - 4, y + 4, ink, 2)


def g_help(c, x, y, ink):  # a question mark from an arc, a stem and a dot
    import math
    for i in range(13):
        a = math.pi * (1.1 - i * 0.125)
        c.disc(x + 3.5 * math.cos(a), y - 3 - 3.5 * math.sin(a), 1.1, ink)
    c.line(x, y + 1, x, y + 3, ink, 2)
    c.disc(x, y + 6, 1.2, ink)


def g_menu_arrow(c, x, y, ink):
    c.polygon([(x - 5, y - 2), (x + 5, y - 2), (x, y + 4)], ink)


def media_panel():
    """The media panel's face: the well's gradient with a rule under each group heading."""
    c = Canvas(186, 255, FUCHSIA)
    c.vgradient(0, 0, 186, 255, (247, 249, 253), (228, 234, 244))
    for y in (14, 98, 195):
        c.rect(4, y, 182, y + 1, (170, 186, 214, 255))
    return c


def icons():
    """The list's image strip: 0 a film frame (normal), 1 the same crossed out (error); 20 x 18 each."""
    c = Canvas(40, 18, FUCHSIA)
    for i in range(2):
        ox = i * 20
        c.rect(ox + 2, 2, ox + 18, 16, (40, 60, 100, 255))
        c.rect(ox + 5, 4, ox + 15, 14, (150, 190, 240, 255))
        for y in (3, 7, 11):
            c.rect(ox + 3, y, ox + 4, y + 2, (230, 230, 230, 255))
            c.rect(ox + 16, y, ox + 17, y + 2, (230, 230, 230, 255))
    c.line(22, 2, 38, 16, (210, 30, 30, 255), 3)
    c.line(38, 2, 22, 16, (210, 30, 30, 255), 3)
    # The strip's mask colour is its bottom-left pixel: keep it fuchsia.
    c.put(0, 17, FUCHSIA)
    return c


# name -> (width, height, glyph, state table, corner radius)
BUTTONS = {
    "btnOpen": (76, 36, g_open, STATES, 5),       # the folder on the left, the caption beside it
    "btnAdd": (40, 36, g_add, STATES, 5),
    "btnDelete": (40, 36, g_delete, STATES, 5),
    "btnUp": (40, 36, g_up, STATES, 5),
    "btnDown": (40, 36, g_down, STATES, 5),
    "btnHelp": (24, 20, g_help, TITLE_STATES, 4),
    "btnMin": (24, 20, g_min, TITLE_STATES, 4),
    "btnClose": (24, 20, g_close, TITLE_STATES, 4),
    "btnText90": (90, 24, None, STATES, 4),       # Edit ProFile, Browse... (caption drawn by the button)
    "btnOthers": (72, 24, None, STATES, 4),       # To Others...
    "btnMore": (60, 18, None, STATES, 4),
    "btnProfileAdditional": (24, 24, g_menu_arrow, STATES, 4),
    "btnConvert": (132, 38, None, {
        "normal": ((120, 200, 110), (40, 140, 50), (20, 90, 30), (255, 255, 255)),
        "hover": ((150, 224, 140), (56, 166, 66), (20, 90, 30), (255, 255, 255)),
        "down": ((40, 130, 48), (90, 180, 96), (16, 70, 24), (240, 240, 240)),
        "disabled": ((210, 214, 210), (186, 190, 186), (150, 150, 150), (140, 140, 140)),
    }, 8),
}


BITMAP_BUTTONS = ("btnConvert",)
# Glyphs that sit left of the centre to leave room for a caption.
GLYPH_X = {"btnOpen": 19}


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources")
    out = os.path.join(root, "pictures", "main")
    background().png(os.path.join(out, "Background.png"))
    media_panel().png(os.path.join(out, "MediaPanel.png"))
    icons().bmp(os.path.join(out, "FileIcons.bmp"))
    for name, (w, h, glyph, states, radius) in BUTTONS.items():
        for state in ("normal", "hover", "down", "disabled"):
            picture = button(w, h, state, glyph, states, radius, GLYPH_X.get(name))
            # The skin pack's image button takes bitmaps (its key colour is the top-left pixel).
            if name in BITMAP_BUTTONS:
                picture.bmp(os.path.join(out, "%s_%s.bmp" % (name, state)))
            else:
                picture.png(os.path.join(out, "%s_%s.png" % (name, state)))


if __name__ == "__main__":
    main()
