#!/usr/bin/env python3
"""Draws the program's own pictures: its icon (every size Windows asks for), the progress window's
header tile and the conversion clip that plays in that header. Same plain drawing as make_artwork.py
(zlib only, same result everywhere).

    python3 tools/artwork/make_program_art.py [RESOURCES_DIR]

Writes under RESOURCES_DIR (default: the project's resources/):
  program/Orvane.ico              48, 32, 24 and 16 pixels, each at 4, 8 and 32 bits per pixel
  program/Convert.avi             uncompressed 8-bit clip, the kind the system's animation control plays
  pictures/progress/Header.png    the header band's tile (43 pixels high)
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_artwork import Canvas  # noqa: E402

BLUE_RING, BLUE_DEEP = (255, 255, 255), (30, 70, 130)
ACCENT = (255, 150, 30)
WHITE = (255, 255, 255)


# ---- the icon ----------------------------------------------------------------------------------
def icon_canvas(size):
    """The program's mark (the splash's emblem): a ringed disc with a play triangle and an orange arrow
    of conversion across its lower right. Drawn four times larger, then averaged down."""
    k = 4
    s = size * k
    c = Canvas(s, s)
    r = s * 0.40
    cx, cy = s * 0.44, s * 0.44
    c.disc(cx, cy, r, BLUE_RING + (255,))
    c.disc(cx, cy, r - max(k, s * 0.07), BLUE_DEEP + (255,))
    c.polygon([(cx - r * 0.32, cy - r * 0.48), (cx + r * 0.55, cy), (cx - r * 0.32, cy + r * 0.48)], WHITE + (255,))
    # The arrow: a bar and a head, outlined in dark blue so that it stands out on the disc.
    y = s * 0.80
    bar = max(k * 2, s * 0.10)
    edge = max(k, s * 0.035)
    head = [(s * 0.70, y - s * 0.17), (s * 0.99, y), (s * 0.70, y + s * 0.17)]
    c.line(s * 0.22, y, s * 0.76, y, (18, 40, 78, 255), bar + 2 * edge)
    c.polygon([(head[0][0] - edge, head[0][1] - 2 * edge), (head[1][0], head[1][1]),
               (head[2][0] - edge, head[2][1] + 2 * edge)], (18, 40, 78, 255))
    c.line(s * 0.22 + edge, y, s * 0.76, y, ACCENT + (255,), bar)
    c.polygon([(head[0][0], head[0][1] + edge), (head[1][0] - 2 * edge, head[1][1]), (head[2][0], head[2][1] - edge)],
              ACCENT + (255,))
    return downsample(c, k)


def downsample(c, k):
    out = Canvas(c.w // k, c.h // k)
    for y in range(out.h):
        for x in range(out.w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for yy in range(y * k, y * k + k):
                for xx in range(x * k, x * k + k):
                    p = c.px[yy * c.w + xx]
                    a = p[3] / 255.0
                    for i in range(3):
                        acc[i] += p[i] * a
                    acc[3] += a
            n = k * k
            if acc[3] > 0:
                out.px[y * out.w + x] = [int(round(acc[i] / acc[3])) for i in range(3)] + [int(round(255 * acc[3] / n))]
    return out


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
         (0, 255, 255), (255, 255, 255)]


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((palette[i][j] - rgb[j]) ** 2 for j in range(3)))


def adaptive_palette(pixels, count):
    """The most frequent colours (reduced to 5 bits a channel), black first for the masked pixels."""
    seen = {}
    for p in pixels:
        if p[3] >= 128:
            key = tuple((v >> 3) << 3 | 4 for v in p[:3])
            seen[key] = seen.get(key, 0) + 1
    ranked = sorted(seen, key=lambda c: (-seen[c], c))
    return [(0, 0, 0)] + ranked[:count - 1]


def ico_image(c, bpp):
    """One icon image: BITMAPINFOHEADER (double height), palette, colour rows, AND mask; bottom-up."""
    w, h = c.w, c.h
    opaque = [p[3] >= 128 for p in c.px]
    if bpp == 32:
        palette = []
        rows = [b"".join(bytes((p[2], p[1], p[0], p[3])) for p in c.px[y * w:(y + 1) * w]) for y in range(h)]
    else:
        palette = VGA16 if bpp == 4 else adaptive_palette(c.px, 256)
        palette = palette + [(0, 0, 0)] * ((1 << bpp) - len(palette))
        cache = {}
        index = []
        for p, o in zip(c.px, opaque):
            key = tuple(p[:3])
            if key not in cache:
                cache[key] = nearest(palette, key)
            index.append(cache[key] if o else 0)
        rows = []
        for y in range(h):
            line = index[y * w:(y + 1) * w]
            if bpp == 8:
                rows.append(bytes(line))
            else:
                rows.append(bytes((line[x] << 4) | (line[x + 1] if x + 1 < w else 0) for x in range(0, w, 2)))
    pad = lambda b: b + b"\0" * (-len(b) % 4)
    xor = b"".join(pad(rows[y]) for y in range(h - 1, -1, -1))
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray((w + 7) // 8)
        for x in range(w):
            if not opaque[y * w + x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.extend(pad(bytes(bits)))
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, len(xor) + len(mask), 0, 0, 0, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + xor + bytes(mask)


def write_ico(path, canvases):
    images = []
    for c in canvases:
        for bpp in (32, 8, 4):
            images.append((c.w, c.h, bpp, ico_image(c, bpp)))
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, bpp, img in images:
        data += struct.pack("<BBBBHHII", w % 256, h % 256, 16 if bpp == 4 else 0, 0, 1, bpp, len(img), offset)
        offset += len(img)
    data += b"".join(img for _, _, _, img in images)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# ---- the progress window's header --------------------------------------------------------------
HEADER_H = 43
CLIP_W, CLIP_H, CLIP_TOP = 96, 32, 6   # the clip sits this far down in the header
CLIP_FRAMES, CLIP_FPS = 12, 10


def header_colour(y):
    """The header band's colour on row y: a deep blue gradient with a light top edge and a dark foot."""
    if y == 0:
        return (96, 140, 205)
    if y == HEADER_H - 1:
        return (14, 30, 60)
    t = (y - 1) / (HEADER_H - 3)
    top, bottom = (58, 100, 166), (24, 50, 98)
    return tuple(int(round(top[i] + (bottom[i] - top[i]) * t)) for i in range(3))


def header_tile():
    c = Canvas(8, HEADER_H)
    for y in range(HEADER_H):
        c.rect(0, y, 8, y + 1, header_colour(y) + (255,))
    return c


def clip_frame(n):
    """Frame n of the clip: a film strip runs into an arrow whose chevrons light up in turn, and comes
    out as a page. Drawn on the header's own rows, so the clip sits seamlessly in the tiled band."""
    c = Canvas(CLIP_W, CLIP_H)
    for y in range(CLIP_H):
        c.rect(0, y, CLIP_W, y + 1, header_colour(CLIP_TOP + y) + (255,))
    # The film strip with holes that move one step a frame.
    c.rect(2, 6, 38, 26, (240, 200, 80, 255))
    for x in range(-8, 40, 6):
        hx = x + (n % 6) * 1
        if 3 <= hx <= 34:
            c.rect(hx, 8, hx + 3, 11, (30, 58, 108, 255))
            c.rect(hx, 21, hx + 3, 24, (30, 58, 108, 255))
    c.rect(8 + (n % 6), 12, 20 + (n % 6), 20, (150, 190, 240, 255))
    c.rect(2, 12, 4, 20, (240, 200, 80, 255))
    # Three chevrons; the lit one walks to the right.
    for i in range(3):
        x = 44 + i * 9
        colour = (255, 170, 40, 255) if i == n % 3 else (110, 140, 190, 255)
        c.polygon([(x, 9), (x + 4, 9), (x + 10, 16), (x + 4, 23), (x, 23), (x + 6, 16)], colour)
    # The page, filling up line by line.
    c.rect(76, 4, 94, 28, (250, 252, 255, 255))
    c.polygon([(89, 4), (94, 9), (94, 4)], header_colour(CLIP_TOP + 5) + (255,))
    c.rect(89, 4, 90, 10, (170, 186, 214, 255))
    c.rect(89, 9, 94, 10, (170, 186, 214, 255))
    for i in range(min(n % 7, 5)):
        c.rect(79, 13 + i * 3, 91, 14 + i * 3, (30, 70, 130, 255))
    return c


def write_avi(path, frames, fps):
    """An uncompressed 8-bit clip without sound: what the system's animation control plays."""
    w, h = frames[0].w, frames[0].h
    colours = []
    for f in frames:
        for p in f.px:
            if tuple(p[:3]) not in colours:
                colours.append(tuple(p[:3]))
    if len(colours) > 256:
        raise SystemExit("the clip uses %d colours; 256 at most" % len(colours))
    lookup = {c: i for i, c in enumerate(colours)}
    palette = colours + [(0, 0, 0)] * (256 - len(colours))
    stride = (w + 3) & ~3
    size = stride * h
    bih = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, size, 0, 0, 256, 0)
    bih += b"".join(bytes((b, g, r, 0)) for r, g, b in palette)

    def chunk(tag, data):
        return tag + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")

    def lst(kind, body):
        return chunk(b"LIST", kind + body)

    usec = 1000000 // fps
    avih = struct.pack("<IIIIIIIIII4I", usec, size * fps, 0, 0x10, len(frames), 0, 1, size, w, h, 0, 0, 0, 0)
    strh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, fps, 0, len(frames), size,
                                           0xFFFFFFFF, 0, 0, 0, w, h)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", bih)))
    movi_body = b""
    index = b""
    for f in frames:
        rows = b""
        for y in range(h - 1, -1, -1):
            line = bytes(lookup[tuple(p[:3])] for p in f.px[y * w:(y + 1) * w])
            rows += line + b"\0" * (stride - w)
        index += b"00db" + struct.pack("<III", 0x10, 4 + len(movi_body), len(rows))
        movi_body += chunk(b"00db", rows)
    body = b"AVI " + hdrl + lst(b"movi", movi_body) + chunk(b"idx1", index)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources")
    write_ico(os.path.join(root, "program", "Orvane.ico"), [icon_canvas(s) for s in (48, 32, 24, 16)])
    header_tile().png(os.path.join(root, "pictures", "progress", "Header.png"))
    write_avi(os.path.join(root, "program", "Convert.avi"), [clip_frame(n) for n in range(CLIP_FRAMES)], CLIP_FPS)


if __name__ == "__main__":
    main()
