#!/usr/bin/env python3
"""Draws the built-in bitmaps of the skin-form pack's styles that the program uses:
the "ButtonImage" strips (three 74 x 21 frames: normal, pointer over, pressed) of the five styles and
the menus' check mark. Writes 24-bit BMP files into resources/bitmaps/.

    tools/skinform-bitmaps/make_bitmaps.py [resources/bitmaps]
"""
import os
import struct
import sys

KEY = (255, 0, 255)  # corners: the colour key of transparent styles

# (border, top fill, bottom fill) per style, RGB
STYLES = {
    "MACOS": ((127, 127, 127), (250, 250, 250), (200, 200, 205)),
    "WINXP": ((0, 60, 116), (255, 255, 255), (214, 208, 197)),
    "DEEPBLUE": ((68, 74, 160), (232, 236, 250), (150, 160, 215)),
    "PROTEIN": ((45, 48, 196), (250, 250, 255), (190, 195, 240)),
    "BLUEGLASS": ((94, 94, 236), (225, 235, 255), (120, 160, 235)),
}


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - width * 3)
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def button_strip(border, top, bottom):
    fw, h = 74, 21

    def pixel(x, y):
        frame, fx = divmod(x, fw)
        corner = (fx in (0, fw - 1)) and (y in (0, h - 1))
        if corner:
            return KEY
        if fx in (0, fw - 1) or y in (0, h - 1):
            return border
        t = y / (h - 1)
        if frame == 1:  # pointer over: lighter
            return mix(mix(top, bottom, t), (255, 255, 255), 0.35)
        if frame == 2:  # pressed: the gradient turned over
            return mix(bottom, top, t)
        return mix(top, bottom, t)

    return 3 * fw, h, pixel


def check_mark():
    w, h = 16, 16
    ticks = {(4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)}

    def pixel(x, y):
        if (x, y) in ticks or (x, y - 1) in ticks or (x, y - 2) in ticks:
            return (0, 0, 0)
        return (255, 255, 255)

    return w, h, pixel


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../resources/bitmaps")
    os.makedirs(out, exist_ok=True)
    for name, colours in STYLES.items():
        write_bmp(os.path.join(out, name + "_BUTTON.bmp"), *button_strip(*colours))
    write_bmp(os.path.join(out, "MENU_CHECKED.bmp"), *check_mark())


if __name__ == "__main__":
    main()
