#!/usr/bin/env python3
"""Draws the built-in pictures of the skin-form pack's five UI styles (MacOS, WinXP, DeepBlue, Protein,
BlueGlass): button, check box, radio button, title bar, title bar buttons, progress bar, track bar,
scroll bar, check list, scroll button, tab, side channel, and the menus' check mark and MacOS menu
pictures. Same plain drawing as make_artwork.py (zlib only, same result everywhere).

    python3 tools/artwork/make_styles.py [RESOURCES_DIR]

Writes 24-bit bitmaps named after their resource names (DEEPBLUE_TITLEBTN.bmp ...) under
RESOURCES_DIR/pictures/styles/ (default: the project's resources/). Magenta (255, 0, 255) is the key
colour the controls cut away. Strips of frames are laid side by side, frames of equal width.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_artwork import Canvas  # noqa: E402

MAGENTA = (255, 0, 255, 255)
WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)
GREY = (128, 128, 128, 255)


class Style:
    def __init__(self, prefix, border, top, bottom, title_top, title_bottom, ink, button_top, round_title):
        self.prefix = prefix
        self.border, self.top, self.bottom = border, top, bottom
        self.title_top, self.title_bottom = title_top, title_bottom
        self.ink = ink
        self.button_top = button_top      # the style's TitleBarButtonTopInt
        self.round_title = round_title    # rounded upper corners of the title bar

    @property
    def title_height(self):
        return 2 * self.button_top + TITLE_BUTTON


TITLE_BUTTON = 18
STYLES = [
    Style("MACOS", (127, 127, 127), (250, 250, 250), (200, 200, 205), (238, 238, 238), (186, 186, 192), (60, 60, 60), 4, True),
    Style("WINXP", (0, 60, 116), (255, 255, 255), (214, 208, 197), (0, 88, 238), (0, 60, 190), (255, 255, 255), 5, True),
    Style("DEEPBLUE", (68, 74, 160), (232, 236, 250), (150, 160, 215), (74, 84, 176), (30, 36, 110), (255, 255, 255), 2, False),
    Style("PROTEIN", (45, 48, 196), (250, 250, 255), (190, 195, 240), (70, 76, 214), (36, 40, 150), (255, 255, 255), 2, False),
    Style("BLUEGLASS", (94, 94, 236), (225, 235, 255), (120, 160, 235), (150, 182, 250), (70, 104, 214), (255, 255, 255), 6, True),
]


def rgba(c):
    return tuple(c[:3]) + (255,)


def mix(a, b, t):
    """The same integer blend as the widget kit's code: truncated toward zero."""
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3)) + (255,)


def lighter(c, t):
    return mix(c, (255, 255, 255), t)


def darker(c, t):
    return mix(c, (0, 0, 0), t)


# Three looks of a pressable frame: normal, pointer over, pressed.
def face(style, state, t):
    if state == 1:
        return mix(mix(style.top, style.bottom, t), (255, 255, 255), 0.35)
    if state == 2:
        return mix(style.bottom, style.top, t)
    return mix(style.top, style.bottom, t)


def box(c, x0, y0, w, h, style, state, corners=True):
    """A framed gradient box with magenta corners, as the push button frames."""
    for x in range(w):
        for y in range(h):
            edge_x, edge_y = x in (0, w - 1), y in (0, h - 1)
            if edge_x and edge_y and corners:
                p = MAGENTA
            elif edge_x or edge_y:
                p = rgba(style.border)
            else:
                p = face(style, state, y / max(1, h - 1))
            c.put(x0 + x, y0 + y, p)


def button(style):
    fw, h = 74, 21
    c = Canvas(3 * fw, h)
    for f in range(3):
        box(c, f * fw, 0, fw, h, style, f)
    return c


def tick(c, x0, y0, colour):
    for x, y in ((3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)):
        for dy in range(2):
            c.put(x0 + x, y0 + y + dy, colour)


def check_box(style, flat=False):
    """Unchecked, checked, unchecked disabled, checked disabled; 13 x 13 each."""
    s = 13
    c = Canvas(4 * s, s)
    for f in range(4):
        disabled = f >= 2
        border = GREY if disabled else rgba(style.border)
        for y in range(s):
            for x in range(s):
                if x in (0, s - 1) or y in (0, s - 1):
                    p = border
                elif disabled:
                    p = (224, 224, 224, 255)
                elif flat:
                    p = WHITE
                else:
                    p = mix(WHITE, style.bottom, y / (s - 1) * 0.6)
                c.put(f * s + x, y, p)
        if f % 2 == 1:
            tick(c, f * s, 0, GREY if disabled else rgba(darker(style.border, 0.3)))
    return c


def radio_button(style):
    s = 13
    c = Canvas(4 * s, s, MAGENTA)
    for f in range(4):
        disabled = f >= 2
        cx = f * s + 6.5
        c.disc(cx, 6.5, 6.5, GREY if disabled else rgba(style.border))
        c.disc(cx, 6.5, 5.4, (224, 224, 224, 255) if disabled else WHITE)
        if f % 2 == 1:
            c.disc(cx, 6.5, 2.6, GREY if disabled else rgba(darker(style.border, 0.3)))
    return c


def glyph(c, x0, y0, kind, ink, hole):
    """The title bar buttons' signs inside an 18 x 18 frame; `hole` fills their hollow parts."""
    if kind == "box":       # control box: a small window
        c.rect(x0 + 5, y0 + 5, x0 + 13, y0 + 13, ink)
        c.rect(x0 + 6, y0 + 7, x0 + 12, y0 + 12, (255, 255, 255, 90))
    elif kind == "help":
        c.line(x0 + 7, y0 + 6, x0 + 9, y0 + 4.5, ink, 1.6)
        c.line(x0 + 9, y0 + 4.5, x0 + 11, y0 + 6.5, ink, 1.6)
        c.line(x0 + 11, y0 + 6.5, x0 + 9, y0 + 9.5, ink, 1.6)
        c.line(x0 + 9, y0 + 9.5, x0 + 9, y0 + 11, ink, 1.6)
        c.disc(x0 + 9, y0 + 13.5, 1.1, ink)
    elif kind == "max":
        c.rect(x0 + 5, y0 + 5, x0 + 13, y0 + 13, ink)
        c.rect(x0 + 6, y0 + 7, x0 + 12, y0 + 12, hole)
    elif kind == "restore":
        c.rect(x0 + 7, y0 + 4, x0 + 14, y0 + 10, ink)
        c.rect(x0 + 4, y0 + 8, x0 + 11, y0 + 14, ink)
        c.rect(x0 + 5, y0 + 10, x0 + 10, y0 + 13, hole)
    elif kind == "min":
        c.rect(x0 + 5, y0 + 11, x0 + 13, y0 + 13, ink)
    elif kind == "close":
        c.line(x0 + 5, y0 + 5, x0 + 13, y0 + 13, ink, 2)
        c.line(x0 + 13, y0 + 5, x0 + 5, y0 + 13, ink, 2)


def title_buttons(style):
    """Control box, help, maximize, restore, minimize, close; each normal, pointer over, pressed."""
    s = TITLE_BUTTON
    c = Canvas(18 * s, s)
    kinds = ["box", "help", "max", "restore", "min", "close"]
    for k, kind in enumerate(kinds):
        for state in range(3):
            x0 = (3 * k + state) * s
            for y in range(s):
                for x in range(s):
                    edge = x in (0, s - 1) or y in (0, s - 1)
                    corner = x in (0, s - 1) and y in (0, s - 1)
                    t = y / (s - 1)
                    base = mix(style.title_top, style.title_bottom, t)
                    if kind == "close":
                        base = mix((232, 96, 72), (180, 40, 24), t)
                    if state == 1:
                        base = lighter(base, 0.3)
                    elif state == 2:
                        base = darker(base, 0.25)
                    c.put(x0 + x, y, MAGENTA if corner else (rgba(darker(style.title_bottom, 0.4)) if edge else base))
            hole = c.px[(s // 2) * c.w + x0 + s // 2]
            glyph(c, x0, 0, kind, rgba(style.ink) if kind != "close" else WHITE, tuple(hole[:3]) + (255,))
    return c


def title_part(style, part):
    """Left end, client (stretched) and right end of the title bar, 8 pixels wide."""
    w, h = 8, style.title_height
    c = Canvas(w, h)
    c.vgradient(0, 0, w, h, style.title_top, style.title_bottom)
    for x in range(w):
        c.put(x, 0, lighter(style.title_top, 0.4))
        c.put(x, h - 1, darker(style.title_bottom, 0.3))
    if part != "client" and style.round_title:
        r = 5
        for y in range(r):
            for x in range(r):
                xx = x if part == "left" else w - 1 - x
                if (r - x - 0.5) ** 2 + (r - y - 0.5) ** 2 > r * r:
                    c.put(xx, y, MAGENTA)
    if part != "client":
        edge = 0 if part == "left" else w - 1
        for y in range(h):
            if c.px[y * w + edge][:3] != [255, 0, 255]:
                c.put(edge, y, darker(style.title_bottom, 0.3))
    return c


def progress_bar(style):
    """Trough and fill, 10 x 14 each."""
    c = Canvas(20, 14)
    for y in range(14):
        for x in range(10):
            edge = y in (0, 13)
            c.put(x, y, rgba(style.border) if edge else mix(WHITE, style.bottom, 0.25))
            c.put(10 + x, y, rgba(style.border) if edge else mix(lighter(style.title_top, 0.3), style.title_bottom, y / 13))
    return c


def track_bar_bar(style):
    c = Canvas(12, 5)
    for y in range(5):
        for x in range(12):
            c.put(x, y, rgba(style.border) if y in (0, 4) or x in (0, 11) else mix(style.bottom, WHITE, 0.2))
    return c


def slider(style, w, h, vertical):
    c = Canvas(3 * w, h)
    for f in range(3):
        box(c, f * w, 0, w, h, style, f)
        # grip lines across the thumb
        for i in (-2, 0, 2):
            if vertical:
                for x in range(3, w - 3):
                    c.put(f * w + x, h // 2 + i, rgba(style.border))
            else:
                for y in range(4, h - 4):
                    c.put(f * w + w // 2 + i, y, rgba(style.border))
    return c


def arrow(c, x0, y0, s, direction, ink):
    m = s / 2.0
    pts = {"up": [(m - 4, m + 2), (m + 4, m + 2), (m, m - 3)],
           "down": [(m - 4, m - 2), (m + 4, m - 2), (m, m + 3)],
           "left": [(m + 2, m - 4), (m + 2, m + 4), (m - 3, m)],
           "right": [(m - 2, m - 4), (m - 2, m + 4), (m + 3, m)]}[direction]
    c.polygon([(x0 + x, y0 + y) for x, y in pts], ink)


def scroll_bar_buttons(style):
    """Up, down, left, right; each normal, pointer over, pressed; 16 x 16."""
    s = 16
    c = Canvas(12 * s, s)
    for d, direction in enumerate(("up", "down", "left", "right")):
        for state in range(3):
            x0 = (3 * d + state) * s
            box(c, x0, 0, s, s, style, state, corners=False)
            arrow(c, x0, 0, s, direction, rgba(darker(style.border, 0.2)))
    return c


def scroll_bar_track(style):
    s = 16
    c = Canvas(3 * s, s)
    for state in range(3):
        box(c, state * s, 0, s, s, style, state, corners=False)
    return c


def scroll_button(style):
    """A toolbar's scroll button: left and right, each normal, pointer over, pressed; 16 x 16."""
    s = 16
    c = Canvas(6 * s, s)
    for d, direction in enumerate(("left", "right")):
        for state in range(3):
            x0 = (3 * d + state) * s
            box(c, x0, 0, s, s, style, state)
            arrow(c, x0, 0, s, direction, rgba(style.border))
    return c


def tab(style):
    """Normal, pointer over, selected; 24 x 22, rounded upper corners."""
    w, h = 24, 22
    c = Canvas(3 * w, h)
    for f in range(3):
        inside = c.round_inside(f * w, 0, f * w + w, h + 4, 3)
        top = lighter(style.top, 0.2) if f == 2 else style.top
        bottom = WHITE if f == 2 else (lighter(style.bottom, 0.3) if f == 1 else style.bottom)
        for y in range(h):
            for x in range(f * w, f * w + w):
                c.put(x, y, mix(top, bottom, y / (h - 1)) if inside(x, y) else MAGENTA)
        for y in range(h):
            for x in range(f * w, f * w + w):
                if inside(x, y) and not (inside(x - 1, y) and inside(x + 1, y) and inside(x, y - 1)):
                    c.put(x, y, rgba(style.border))
    return c


def tab_line(style):
    c = Canvas(6, 4)
    c.rect(0, 0, 6, 1, rgba(style.border))
    c.rect(0, 1, 6, 4, WHITE)
    return c


def side_channel_handle(style):
    w, h = 10, 40
    c = Canvas(3 * w, h)
    for f in range(3):
        box(c, f * w, 0, w, h, style, f)
        for y in range(h // 2 - 6, h // 2 + 7, 3):
            c.put(f * w + 4, y, rgba(style.border))
            c.put(f * w + 5, y, rgba(style.border))
    return c


def side_channel_bar(style):
    c = Canvas(8, 40)
    for y in range(40):
        for x in range(8):
            c.put(x, y, rgba(style.border) if x in (0, 7) else mix(style.top, style.bottom, x / 7))
    return c


def menu_checked():
    c = Canvas(16, 16, WHITE)
    for x, y in ((4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)):
        for dy in range(3):
            c.put(x, y + dy, BLACK)
    return c


def macos_menu_select():
    c = Canvas(20, 20)
    c.vgradient(0, 0, 20, 20, (90, 140, 225), (40, 90, 190))
    return c


def macos_menu_bar():
    c = Canvas(26, 20)
    c.vgradient(0, 0, 26, 20, (250, 250, 250), (226, 226, 230))
    c.rect(25, 0, 26, 20, GREY)
    return c


# resource suffix -> drawing routine of a style
PER_STYLE = {
    "BUTTON": button,
    "CHECKBOX": check_box,
    "RADIOBUTTON": radio_button,
    "TITLEBTN": title_buttons,
    "TITLE_LEFT": lambda s: title_part(s, "left"),
    "TITLE_CLIENT": lambda s: title_part(s, "client"),
    "TITLE_RIGHT": lambda s: title_part(s, "right"),
    "PROGRESSBAR": progress_bar,
    "TRACKBAR_BAR": track_bar_bar,
    "TRACKBAR_SLIDER": lambda s: slider(s, 11, 20, False),
    "TRACKBAR_SLIDER_V": lambda s: slider(s, 20, 11, True),
    "SCROLLBAR_BUTTON": scroll_bar_buttons,
    "SCROLLBAR_TRACK": scroll_bar_track,
    "CHECKLIST": lambda s: check_box(s, flat=True),
    "TAB": tab,
    "TAB_LINE": tab_line,
    "SIDECHENNEL_HANDLE": side_channel_handle,
    "SIDECHENNEL_BAR": side_channel_bar,
}


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources")
    out = os.path.join(root, "pictures", "styles")
    for style in STYLES:
        for suffix, draw in PER_STYLE.items():
            draw(style).bmp(os.path.join(out, "%s_%s.bmp" % (style.prefix, suffix)))
    # The scroll buttons of the three blue styles are one picture.
    for style in STYLES[:2]:
        scroll_button(style).bmp(os.path.join(out, "%s_SCROLLBUTTON.bmp" % style.prefix))
    scroll_button(STYLES[2]).bmp(os.path.join(out, "MORE_SCROLLBUTTON.bmp"))
    menu_checked().bmp(os.path.join(out, "MENU_CHECKED.bmp"))
    macos_menu_select().bmp(os.path.join(out, "MACOS_MENU_SELECT.bmp"))
    macos_menu_bar().bmp(os.path.join(out, "MACOS_MENU_BAR.bmp"))


if __name__ == "__main__":
    main()
