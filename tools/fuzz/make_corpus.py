#!/usr/bin/env python3
"""Writes the seed files of the PNG and bitmap fuzz targets into corpus/png and corpus/bitmap: small
valid files of every layout the readers take (each colour type and depth of PNG, interlaced, split image
data, text, gamma and transparency chunks; bitmaps of every depth, bit fields, run-length data, long
headers, top-down rows). The skin corpora are packed with the skin-pack tool (README.md).
usage: make_corpus.py [CORPUS_DIR]"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def png(width, height, depth, colour, rows, interlace=0, extra_before=(), extra_after=(), idat_parts=1):
    head = chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace))
    data = zlib.compress(b"".join(rows), 9)
    step = max(1, -(-len(data) // idat_parts))
    idats = b"".join(chunk(b"IDAT", data[i:i + step]) for i in range(0, len(data), step))
    return (b"\x89PNG\r\n\x1a\n" + head + b"".join(extra_before) + idats + b"".join(extra_after) +
            chunk(b"IEND", b""))


def sample_rows(width, height, depth, channels, filters=(0, 1, 2, 3, 4)):
    """Rows of a simple gradient, each with a filter byte (the data is left unfiltered: any filter byte
    is a valid decode, which is all a seed needs)."""
    bits = width * depth * channels
    size = (bits + 7) // 8
    return [bytes([filters[y % len(filters)]]) + bytes((x * 37 + y * 11) & 0xFF for x in range(size))
            for y in range(height)]


def adam7_rows(width, height, depth, channels):
    rows = []
    passes = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2), (1, 0, 2, 1)]
    for y0, x0, dy, dx in [(p[0], p[1], p[2], p[3]) for p in passes]:
        pw = (width - x0 + dx - 1) // dx if x0 < width else 0
        if pw == 0:
            continue
        for y in range(y0, height, dy):
            rows += sample_rows(pw, 1, depth, channels, filters=(y % 5,))
    return rows


def png_files():
    files = {}
    plte16 = chunk(b"PLTE", bytes(range(48)))
    plte256 = chunk(b"PLTE", bytes(i % 256 for i in range(768)))
    for depth in (1, 2, 4, 8, 16):
        files["grey%d.png" % depth] = png(5, 3, depth, 0, sample_rows(5, 3, depth, 1))
    files["grey8_trns.png"] = png(4, 4, 8, 0, sample_rows(4, 4, 8, 1), extra_before=[chunk(b"tRNS", b"\x00\x25")])
    files["grey2_trns.png"] = png(7, 2, 2, 0, sample_rows(7, 2, 2, 1), extra_before=[chunk(b"tRNS", b"\x00\x02")])
    for depth in (8, 16):
        files["rgb%d.png" % depth] = png(3, 3, depth, 2, sample_rows(3, 3, depth, 3))
        files["greyalpha%d.png" % depth] = png(3, 2, depth, 4, sample_rows(3, 2, depth, 2))
        files["rgba%d.png" % depth] = png(4, 3, depth, 6, sample_rows(4, 3, depth, 4))
    files["rgb8_gamma_trns.png"] = png(3, 2, 8, 2, sample_rows(3, 2, 8, 3), extra_before=[
        chunk(b"gAMA", struct.pack(">I", 45455)), chunk(b"tRNS", b"\x00\x25\x00\x4a\x00\x6f")])
    for depth in (1, 2, 4):
        files["palette%d.png" % depth] = png(9, 3, depth, 3, sample_rows(9, 3, depth, 1), extra_before=[plte16])
    files["palette8_key.png"] = png(4, 4, 8, 3, sample_rows(4, 4, 8, 1), extra_before=[
        plte256, chunk(b"tRNS", b"\xff\xff\x00")])
    files["palette4_alpha.png"] = png(5, 5, 4, 3, sample_rows(5, 5, 4, 1), extra_before=[
        plte16, chunk(b"tRNS", b"\x80\x40\xff\x00")])
    files["rgba8_adam7.png"] = png(9, 9, 8, 6, adam7_rows(9, 9, 8, 4), interlace=1)
    files["grey1_adam7_width1.png"] = png(1, 5, 1, 0, adam7_rows(1, 5, 1, 1), interlace=1)
    files["palette2_adam7.png"] = png(10, 3, 2, 3, adam7_rows(10, 3, 2, 1), interlace=1, extra_before=[plte16])
    files["rgb8_three_idat.png"] = png(8, 8, 8, 2, sample_rows(8, 8, 8, 3), idat_parts=3)
    text = [chunk(b"tEXt", b"Title\x00Seed"), chunk(b"zTXt", b"Comment\x00\x00" + zlib.compress(b"a note" * 5)),
            chunk(b"tIME", struct.pack(">HBBBBB", 2026, 12, 11, 9, 45, 0)),
            chunk(b"pHYs", struct.pack(">IIB", 2835, 2835, 1)), chunk(b"iCCP", b"profile\x00\x00" + zlib.compress(b"x")),
            chunk(b"cHRM", bytes(32))]
    files["rgba8_chunks.png"] = png(3, 3, 8, 6, sample_rows(3, 3, 8, 4), extra_before=text,
                                    extra_after=[chunk(b"tEXt", b"After\x00data")])
    return files


def bmp(width, height, bits, pixels, compression=0, palette=b"", header_size=40, masks=b"", size_image=None,
        colours_used=0):
    info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression,
                       len(pixels) if size_image is None else size_image, 2835, 2835, colours_used, 0)
    if header_size > 40:
        rest = masks.ljust(header_size - 40, b"\x00")
        info += rest[:header_size - 40]
        masks = b""
    off = 14 + len(info) + len(masks) + len(palette)
    return b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) + info + masks + palette + pixels


def bmp_rows(width, height, bits):
    stride = (width * bits + 31) // 32 * 4
    return b"".join(bytes((x * 29 + y * 7) & 0xFF for x in range(stride)) for y in range(height))


def grey_palette(n):
    return b"".join(bytes([i * 255 // max(1, n - 1)] * 3 + [0]) for i in range(n))


def bmp_files():
    files = {}
    for bits in (1, 4, 8):
        files["palette%d.bmp" % bits] = bmp(7, 3, bits, bmp_rows(7, 3, bits), palette=grey_palette(1 << bits))
    files["palette8_few_colours.bmp"] = bmp(5, 2, 8, bytes(b % 3 for b in bmp_rows(5, 2, 8)),
                                            palette=grey_palette(3), colours_used=3)
    files["rgb555.bmp"] = bmp(3, 3, 16, bmp_rows(3, 3, 16))
    masks565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    files["rgb565.bmp"] = bmp(3, 2, 16, bmp_rows(3, 2, 16), compression=3, masks=masks565)
    files["rgb565_v5.bmp"] = bmp(3, 2, 16, bmp_rows(3, 2, 16), compression=3, masks=masks565, header_size=124)
    files["rgb24.bmp"] = bmp(5, 3, 24, bmp_rows(5, 3, 24))
    files["rgb24_topdown.bmp"] = bmp(5, -3, 24, bmp_rows(5, 3, 24))
    files["rgb32.bmp"] = bmp(2, 2, 32, bmp_rows(2, 2, 32))
    files["rgb32_v4.bmp"] = bmp(2, 2, 32, bmp_rows(2, 2, 32), header_size=108)
    files["rgb32_bitfields.bmp"] = bmp(2, 2, 32, bmp_rows(2, 2, 32), compression=3,
                                       masks=struct.pack("<III", 0xFF0000, 0xFF00, 0xFF))
    # Run-length data: runs, an absolute run, a delta, end of line and end of bitmap.
    rle8 = bytes([3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 2, 9, 0, 2, 1, 1, 4, 7, 0, 0, 6, 8, 0, 1])
    files["rle8.bmp"] = bmp(6, 4, 8, rle8, compression=1, palette=grey_palette(256))
    rle4 = bytes([4, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 0, 2, 1, 0, 3, 0xAB, 0, 1])
    files["rle4.bmp"] = bmp(6, 3, 4, rle4, compression=2, palette=grey_palette(16))
    files["rle8_no_size.bmp"] = bmp(6, 4, 8, rle8, compression=1, palette=grey_palette(256), size_image=0)
    return files


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "corpus")
    for folder, files in (("png", png_files()), ("bitmap", bmp_files())):
        os.makedirs(os.path.join(out, folder), exist_ok=True)
        for name, data in sorted(files.items()):
            with open(os.path.join(out, folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
