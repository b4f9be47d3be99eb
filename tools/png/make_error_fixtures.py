#!/usr/bin/env python3
"""Writes the small broken PNG files that exercise every load error of the PNG codec, and expected.txt
(file name, exception class, and for zlib errors the code text the message ends with).
usage: make_error_fixtures.py OUTDIR"""
import os, struct, sys, zlib

SIG = b'\x89PNG\r\n\x1a\n'

def chunk(t, body, crc=None):
    c = zlib.crc32(t + body) & 0xffffffff if crc is None else crc
    return struct.pack('>I', len(body)) + t + body + struct.pack('>I', c)

def ihdr(w=4, h=4, depth=8, ct=6, comp=0, filt=0, il=0):
    return chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, depth, ct, comp, filt, il))

def raw_rows(w=4, h=4, bpp=4):
    return b''.join(b'\x01' + bytes(range(w * bpp)) for _ in range(h))

def idat(data=None):
    return chunk(b'IDAT', zlib.compress(raw_rows() if data is None else data))

IEND = chunk(b'IEND', b'')
GOOD = SIG + ihdr() + idat() + IEND

def flip(b, pos):
    return b[:pos] + bytes([b[pos] ^ 1]) + b[pos + 1:]

def three_idats(bad_middle_crc):
    z = zlib.compress(raw_rows())
    parts = [z[:len(z) // 3], z[len(z) // 3:2 * len(z) // 3], z[2 * len(z) // 3:]]
    out = SIG + ihdr()
    for i, p in enumerate(parts):
        out += chunk(b'IDAT', p, crc=0x12345678 if (bad_middle_crc and i == 1) else None)
    return out + IEND

# zlib stream with the preset-dictionary flag: 0x78 0xBB, then a dictionary id
need_dict = bytes([0x78, 0xBB]) + struct.pack('>I', 1) + zlib.compress(raw_rows())[2:]

FIXTURES = [
    ('bad_signature.png', 'EPNGInvalidFileHeader', b'\x89PNX\r\n\x1a\n' + GOOD[8:]),
    ('short_signature.png', 'EPNGInvalidFileHeader', SIG[:5]),
    ('truncated_chunk_head.png', 'EPngUnexpectedEnd', SIG + b'\x00\x00'),
    ('no_iend.png', 'EPngUnexpectedEnd', SIG + ihdr() + idat()),
    ('length_ffffffff.png', 'EPngUnexpectedEnd', SIG + ihdr() + struct.pack('>I', 0xffffffff) + b'tEXt' + b'x' * 16),
    ('length_beyond_end.png', 'EPngUnexpectedEnd', SIG + ihdr() + struct.pack('>I', 5000) + b'tEXt' + b'a\0b' + IEND),
    ('truncated_idat.png', 'EPngUnexpectedEnd', (SIG + ihdr() + idat())[:-10]),
    ('ihdr_not_first.png', 'EPNGIHDRNotFirst', SIG + chunk(b'tEXt', b'a\0b') + ihdr() + idat() + IEND),
    ('unknown_critical.png', 'EPNGUnknownCriticalChunk', SIG + ihdr() + chunk(b'ABCD', b'xyz') + idat() + IEND),
    ('crc_ihdr.png', 'EPngInvalidCRC', flip(GOOD, 8 + 8 + 3)),
    ('crc_text_bit.png', 'EPngInvalidCRC', flip(SIG + ihdr() + chunk(b'tEXt', b'key\0value') + idat() + IEND, 33 + 8 + 5)),
    ('crc_middle_idat.png', 'EPngInvalidCRC', three_idats(True)),
    ('ihdr_short.png', 'EPngInvalidIHDR', SIG + chunk(b'IHDR', struct.pack('>IIBBBB', 4, 4, 8, 6, 0, 0)) + idat() + IEND),
    ('ihdr_zero_width.png', 'EPngInvalidIHDR', SIG + ihdr(w=0) + idat() + IEND),
    ('ihdr_zero_height.png', 'EPngInvalidIHDR', SIG + ihdr(h=0) + idat() + IEND),
    ('ihdr_colortype1.png', 'EPngInvalidIHDR', SIG + ihdr(ct=1) + idat() + IEND),
    ('ihdr_depth3.png', 'EPngInvalidIHDR', SIG + ihdr(depth=3, ct=0) + idat() + IEND),
    ('ihdr_rgb_depth4.png', 'EPngInvalidIHDR', SIG + ihdr(depth=4, ct=2) + idat() + IEND),
    ('ihdr_palette_depth16.png', 'EPngInvalidIHDR', SIG + ihdr(depth=16, ct=3) + idat() + IEND),
    ('second_ihdr.png', 'EPngInvalidIHDR', SIG + ihdr() + ihdr() + idat() + IEND),
    ('width_65536.png', 'EPNGSizeExceeds', SIG + ihdr(w=65536) + idat() + IEND),
    ('height_ffffffff.png', 'EPNGSizeExceeds', SIG + ihdr(h=0xffffffff) + idat() + IEND),
    ('compression1.png', 'EPNGUnknownCompression', SIG + ihdr(comp=1) + idat() + IEND),
    ('interlace2.png', 'EPNGUnknownInterlace', SIG + ihdr(il=2) + idat() + IEND),
    ('plte_770.png', 'EPNGInvalidPalette', SIG + ihdr(ct=3) + chunk(b'PLTE', b'\1' * 770) + idat() + IEND),
    ('plte_257_entries.png', 'EPNGInvalidPalette', SIG + ihdr(ct=3) + chunk(b'PLTE', b'\1' * 771) + idat() + IEND),
    ('trns_257.png', 'EPNGInvalidPalette', SIG + ihdr(ct=3) + chunk(b'PLTE', b'\1' * 6) + chunk(b'tRNS', b'\0' * 257) + idat() + IEND),
    ('missing_idat_parts.png', 'EPNGMissingMultipleIDAT', SIG + ihdr() + chunk(b'IDAT', zlib.compress(raw_rows())[:20]) + IEND),
    ('missing_idat_text.png', 'EPNGMissingMultipleIDAT', SIG + ihdr() + chunk(b'IDAT', zlib.compress(raw_rows())[:20]) + chunk(b'tEXt', b'a\0b') + IEND),
    ('zlib_data_error.png', 'EPNGZLIBError data error (-3)', SIG + ihdr() + chunk(b'IDAT', b'\x78\x9c\xff\xff\xff\xff' * 4) + IEND),
    ('zlib_bad_header.png', 'EPNGZLIBError data error (-3)', SIG + ihdr() + chunk(b'IDAT', b'\x00\x00' + zlib.compress(raw_rows())[2:]) + IEND),
    ('zlib_need_dictionary.png', 'EPNGZLIBError need dictionary (2)', SIG + ihdr() + chunk(b'IDAT', need_dict) + IEND),
    ('no_idat.png', 'EPNGNoImageData', SIG + ihdr() + chunk(b'tEXt', b'a\0b') + IEND),
    ('huge_image.png', 'EPNGOutMemory', SIG + ihdr(w=65535, h=65535) + idat() + IEND),
]

def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, 'expected.txt'), 'w') as ex:
        ex.write('# file  exception-class  [zlib code text the message ends with]; made by make_error_fixtures.py\n')
        for name, expect, data in FIXTURES:
            with open(os.path.join(out, name), 'wb') as f:
                f.write(data)
            ex.write('%s %s\n' % (name, expect))

if __name__ == '__main__':
    main()
