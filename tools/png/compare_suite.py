#!/usr/bin/env python3
"""Conformance check: decodes every good PNG of the suite with our codec (DUMP tool) and with the libpng
reference tool, and compares the dumps byte for byte; broken files must fail with the expected exception
class; files that once crashed libpng must fail cleanly or decode. Then every good file is written back with
our writer (DUMP --resave) and the written file must decode to the same pixels with ours and with libpng.

compare_suite.py --dump CMD --reference TOOL --suite CACHE --work DIR [--errors FIXTURE_DIR]
CMD may hold a launcher ("wine64 pngdump.exe"); file names are passed as given (Wine maps / paths).
"""
import argparse, os, shlex, struct, subprocess, sys, zlib

def chunks(data):
    pos, out = 8, []
    while pos + 8 <= len(data):
        n = struct.unpack('>I', data[pos:pos + 4])[0]
        out.append([data[pos + 4:pos + 8], bytearray(data[pos + 8:pos + 8 + n]), data[pos + 8 + n:pos + 12 + n]])
        pos += 12 + n
    return out

def join(sig, cs, fix_crc=True):
    out = bytearray(sig)
    for t, body, crc in cs:
        out += struct.pack('>I', len(body)) + t + body
        out += struct.pack('>I', zlib.crc32(t + bytes(body)) & 0xffffffff) if fix_crc else crc
    return bytes(out)

def ihdr_byte(index, value):
    def f(data):
        cs = chunks(data)
        cs[0][1][index] = value
        return join(data[:8], cs)
    return f

def bad_crc(ctype):
    def f(data):
        cs = chunks(data)
        for c in cs:
            if c[0] == ctype:
                c[2] = bytes([c[2][0] ^ 0xff]) + c[2][1:]
                break
        return join(data[:8], cs, fix_crc=False)
    return f

def drop(ctype):
    def f(data):
        return join(data[:8], [c for c in chunks(data) if c[0] != ctype])
    return f

def sig_byte(i, v):
    return lambda d: d[:i] + bytes([v]) + d[i + 1:]

# The broken files of the PNG test-image suite (x...), made from its good files the way the suite made them.
X_FILES = [
    ('xs1n0g01.png', 'basn0g01.png', sig_byte(0, 0x09), 'EPNGInvalidFileHeader'),
    ('xs2n0g01.png', 'basn0g01.png', sig_byte(1, ord('Q')), 'EPNGInvalidFileHeader'),
    ('xs4n0g01.png', 'basn0g01.png', sig_byte(3, ord('g')), 'EPNGInvalidFileHeader'),
    ('xs7n0g01.png', 'basn0g01.png', sig_byte(6, 0x20), 'EPNGInvalidFileHeader'),
    ('xcrn0g04.png', 'basn0g04.png', lambda d: d.replace(b'\n', b'\r\n'), 'EPNGInvalidFileHeader'),
    ('xlfn0g04.png', 'basn0g04.png', lambda d: d.replace(b'\r', b'\r\n'), 'EPNGInvalidFileHeader'),
    ('xc1n0g08.png', 'basn0g08.png', ihdr_byte(9, 1), 'EPngInvalidIHDR'),
    ('xc9n2c08.png', 'basn2c08.png', ihdr_byte(9, 9), 'EPngInvalidIHDR'),
    ('xd0n2c08.png', 'basn2c08.png', ihdr_byte(8, 0), 'EPngInvalidIHDR'),
    ('xd3n2c08.png', 'basn2c08.png', ihdr_byte(8, 3), 'EPngInvalidIHDR'),
    ('xd9n2c08.png', 'basn2c08.png', ihdr_byte(8, 9), 'EPngInvalidIHDR'),
    ('xdtn0g01.png', 'basn0g01.png', drop(b'IDAT'), 'EPNGNoImageData'),
    ('xhdn0g08.png', 'basn0g08.png', bad_crc(b'IHDR'), 'EPngInvalidCRC'),
    ('xcsn0g01.png', 'basn0g01.png', bad_crc(b'IDAT'), 'EPngInvalidCRC'),
]

def run_batch(cmd, pairs, chunk=60, prefix=''):
    """Runs CMD FILE OUT ... in batches; returns {file: error line} for the files that failed."""
    errors = {}
    for i in range(0, len(pairs), chunk):
        args = []
        for f, o in pairs[i:i + chunk]:
            args += [prefix + f, prefix + o]
        p = subprocess.run(cmd + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=600)
        for line in p.stderr.decode('latin-1').splitlines():
            if '\t' in line:
                f, msg = line.split('\t', 1)
                errors[f[len(prefix):]] = msg
            elif len(pairs[i:i + chunk]) == 1 and line.strip():
                errors[pairs[i][0]] = line
    return errors

def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--dump', required=True)
    ap.add_argument('--reference', required=True)
    ap.add_argument('--suite', required=True)
    ap.add_argument('--work', required=True)
    ap.add_argument('--errors', help='folder of error fixtures with expected.txt')
    ap.add_argument('--path-prefix', default='', help='put before every path handed to DUMP (Z: for Wine)')
    a = ap.parse_args()
    dump = shlex.split(a.dump)
    os.makedirs(a.work, exist_ok=True)
    good = []
    for sub in ('pngsuite', 'testpngs'):
        d = os.path.join(a.suite, sub)
        good += [os.path.join(d, n) for n in sorted(os.listdir(d)) if n.endswith('.png') and not n.startswith('x')]
    broken = []  # (file, expected class)
    if a.errors:
        with open(os.path.join(a.errors, 'expected.txt')) as f:
            for line in f:
                if line.strip() and not line.startswith('#'):
                    name, cls = line.split()[:2]
                    broken.append((os.path.join(a.errors, name), cls))
    xdir = os.path.join(a.work, 'xfiles')
    os.makedirs(xdir, exist_ok=True)
    for name, base, mutate, cls in X_FILES:
        with open(os.path.join(a.suite, 'pngsuite', base), 'rb') as f:
            data = mutate(f.read())
        with open(os.path.join(xdir, name), 'wb') as f:
            f.write(data)
        broken.append((os.path.join(xdir, name), cls))
    crashers = sorted(os.path.join(a.suite, 'crashers', n) for n in os.listdir(os.path.join(a.suite, 'crashers')))

    def out(f, tag):
        return os.path.join(a.work, os.path.basename(os.path.dirname(f)) + '_' + os.path.basename(f) + '.' + tag)

    ref_pairs = [(f, out(f, 'ref')) for f in good]
    ref_err = run_batch(shlex.split(a.reference), ref_pairs)
    ours_pairs = [(f, out(f, 'ours')) for f in good + [b for b, _ in broken] + crashers]
    for _, o in ours_pairs:
        if os.path.exists(o):
            os.remove(o)
    our_err = run_batch(dump, ours_pairs, prefix=a.path_prefix)

    passed = failed = 0
    def report(ok, what):
        nonlocal passed, failed
        if ok:
            passed += 1
        else:
            failed += 1
            print('FAIL', what)
    for f, r in ref_pairs:
        if f in ref_err:
            # libpng rejects it: ours must reject it too (cleanly)
            report(f in our_err, '%s: libpng fails (%s), ours decodes' % (f, ref_err[f]))
            continue
        if f in our_err:
            report(False, '%s: ours fails: %s' % (f, our_err[f]))
            continue
        with open(r, 'rb') as x, open(out(f, 'ours'), 'rb') as y:
            rb, ob = x.read(), y.read()
        if rb != ob:
            diff = next((i for i in range(min(len(rb), len(ob))) if rb[i] != ob[i]), min(len(rb), len(ob)))
            report(False, '%s: dumps differ at byte %d (sizes %d, %d)' % (f, diff, len(rb), len(ob)))
        else:
            report(True, f)
    for f, cls in broken:
        got = our_err.get(f, '')
        report(got.split(':')[0] == cls, '%s: expected %s, got %r' % (f, cls, got or 'success'))
    for f in crashers:
        got = our_err.get(f)
        report(got is None or got.split(':')[0].startswith('EPNG') or got.split(':')[0].startswith('EPng'),
               '%s: not a codec error: %r' % (f, got))

    # The writer: read, write, read again (ours and libpng) gives what the first read gave.
    decoded = [f for f in good if f not in our_err]
    resaved = [(f, out(f, 'resaved.png')) for f in decoded]
    save_err = run_batch(dump + ['--resave'], resaved, prefix=a.path_prefix)
    written = [w for f, w in resaved if f not in save_err]
    reread_err = run_batch(dump, [(w, w + '.ours') for w in written], prefix=a.path_prefix)
    libpng_err = run_batch(shlex.split(a.reference), [(w, w + '.ref') for w in written])
    for f, w in resaved:
        if f in save_err:
            report(False, '%s: writing fails: %s' % (f, save_err[f]))
            continue
        with open(out(f, 'ours'), 'rb') as x:
            first = x.read()
        for tag, errs in (('ours', reread_err), ('ref', libpng_err)):
            if w in errs:
                report(False, '%s: the written file fails to decode (%s): %s' % (f, tag, errs[w]))
                continue
            with open(w + '.' + tag, 'rb') as y:
                report(y.read() == first, '%s: the written file decodes (%s) to other pixels' % (f, tag))
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0

if __name__ == '__main__':
    sys.exit(main())
