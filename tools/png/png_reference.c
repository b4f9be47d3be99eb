/* Reference decoder for the conformance test, built natively on libpng.
 * png_reference FILE OUT [FILE OUT ...] writes the same dump as pngdump: width, height (little-endian 32-bit),
 * then RGBA8 rows, top row first. libpng does the chunk reading, inflating, unfiltering and de-interlacing;
 * this tool then applies our codec's own rules for the stored image:
 *  - gamma: a table built from the last gAMA chunk (value g, 0 ignored): round-half-even of
 *    255 * (i/255)^(1/(g/100000 * 2.2)); palette colours use the gAMA read before PLTE, grey levels and RGB
 *    samples the one read before the image data; sRGB, cHRM and iCCP are ignored;
 *  - 16-bit samples keep their high byte (after gamma for colour, grey goes through its ramp);
 *  - grey levels of depth d < 8 are scaled to 0..255 (s * 255 / (2^d - 1)) and then go through the table;
 *  - alpha: the alpha channel, or the tRNS entry of a palette index; grey and RGB colour keys are not alpha.
 * On a libpng error it prints "error: text" and the exit code is 1. */
#include <math.h>
#include <png.h>
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void build_gamma(unsigned value, unsigned char *table) {
    int i;
    if (value == 0) return;
    for (i = 0; i < 256; ++i) {
        double v = i == 0 ? 0.0 : 255.0 * pow(i / 255.0, 1.0 / (value / 100000.0 * 2.2));
        double r = nearbyint(v);
        table[i] = (unsigned char)(r < 0 ? 0 : r > 255 ? 255 : r);
    }
}

/* Walks the chunks to find the gamma tables in force at PLTE and at the first IDAT. */
static void find_gamma(const unsigned char *data, size_t size, unsigned char *plte_g, unsigned char *idat_g) {
    unsigned char current[256];
    size_t pos = 8;
    int i;
    for (i = 0; i < 256; ++i) current[i] = (unsigned char)i;
    memcpy(plte_g, current, 256);
    while (pos + 8 <= size) {
        unsigned len = (unsigned)data[pos] << 24 | data[pos + 1] << 16 | data[pos + 2] << 8 | data[pos + 3];
        const unsigned char *type = data + pos + 4;
        if (memcmp(type, "gAMA", 4) == 0 && len == 4 && pos + 12 <= size)
            build_gamma((unsigned)data[pos + 8] << 24 | data[pos + 9] << 16 | data[pos + 10] << 8 | data[pos + 11],
                        current);
        if (memcmp(type, "PLTE", 4) == 0) memcpy(plte_g, current, 256);
        if (memcmp(type, "IDAT", 4) == 0) break;
        if (len > size) break;
        pos += 12 + (size_t)len;
    }
    memcpy(idat_g, current, 256);
}

struct src { const unsigned char *data; size_t size, pos; };
static void read_fn(png_structp p, png_bytep out, png_size_t n) {
    struct src *s = (struct src *)png_get_io_ptr(p);
    if (n > s->size - s->pos) png_error(p, "unexpected end of file");
    memcpy(out, s->data + s->pos, n);
    s->pos += n;
}
static void error_fn(png_structp p, png_const_charp msg) {
    fprintf(stderr, "error: %s\n", msg);
    longjmp(png_jmpbuf(p), 1);
}
static void warning_fn(png_structp p, png_const_charp msg) { (void)p; (void)msg; }

static unsigned sample(const unsigned char *row, unsigned index, int depth) {
    if (depth == 16) return (unsigned)row[index * 2] << 8 | row[index * 2 + 1];
    if (depth == 8) return row[index];
    {
        unsigned bit = index * (unsigned)depth;
        return (row[bit >> 3] >> (8 - depth - (bit & 7))) & ((1u << depth) - 1);
    }
}

static int dump(const char *in, const char *out) {
    FILE *f = fopen(in, "rb");
    unsigned char *data = NULL, *rgba = NULL;
    png_bytep *rows = NULL;
    png_structp p = NULL;
    png_infop info = NULL;
    size_t size = 0, cap = 0, n;
    unsigned char plte_g[256], idat_g[256], buf[65536];
    int ok = 0;
    if (!f) { fprintf(stderr, "error: cannot open %s\n", in); return 0; }
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) {
        if (size + n > cap) { cap = (size + n) * 2; data = realloc(data, cap); }
        memcpy(data + size, buf, n);
        size += n;
    }
    fclose(f);
    if (size < 8) { fprintf(stderr, "error: too short\n"); free(data); return 0; }
    find_gamma(data, size, plte_g, idat_g);
    p = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, error_fn, warning_fn);
    info = png_create_info_struct(p);
    if (setjmp(png_jmpbuf(p))) goto done;
    {
        struct src s = {data, size, 0};
        png_uint_32 w, h, x, y;
        int depth, ct, il, passes;
        png_colorp pal = NULL;
        int npal = 0, ntrans = 0;
        png_bytep trans = NULL;
        png_color_16p tcol = NULL;
        png_set_read_fn(p, &s, read_fn);
        png_set_user_limits(p, 65535, 65535);
        png_set_crc_action(p, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
        png_read_info(p, info);
        png_get_IHDR(p, info, &w, &h, &depth, &ct, &il, NULL, NULL);
        passes = png_set_interlace_handling(p);
        (void)passes;
        png_read_update_info(p, info);
        png_get_PLTE(p, info, &pal, &npal);
        png_get_tRNS(p, info, &trans, &ntrans, &tcol);
        rows = calloc(h, sizeof *rows);
        for (y = 0; y < h; ++y) rows[y] = malloc(png_get_rowbytes(p, info));
        png_read_image(p, rows);
        rgba = malloc((size_t)w * h * 4);
        for (y = 0; y < h; ++y)
            for (x = 0; x < w; ++x) {
                unsigned char *o = rgba + ((size_t)y * w + x) * 4;
                const unsigned char *r = rows[y];
                unsigned v;
                o[3] = 255;
                switch (ct) {
                case 0:
                case 4: {
                    unsigned idx = ct == 0 ? x : x * 2;
                    v = sample(r, idx, depth);
                    v = depth == 16 ? v >> 8 : v * 255 / ((1u << depth) - 1);
                    o[0] = o[1] = o[2] = idat_g[v];
                    if (ct == 4) o[3] = (unsigned char)(depth == 16 ? sample(r, idx + 1, 16) >> 8 : sample(r, idx + 1, 8));
                    break;
                }
                case 2:
                case 6: {
                    int c, ch = ct == 2 ? 3 : 4;
                    for (c = 0; c < 3; ++c) {
                        v = sample(r, x * ch + c, depth);
                        o[c] = idat_g[depth == 16 ? v >> 8 : v];
                    }
                    if (ct == 6) o[3] = (unsigned char)(depth == 16 ? sample(r, x * 4 + 3, 16) >> 8 : sample(r, x * 4 + 3, 8));
                    break;
                }
                case 3:
                    v = sample(r, x, depth);
                    if ((int)v < npal) o[0] = plte_g[pal[v].red], o[1] = plte_g[pal[v].green], o[2] = plte_g[pal[v].blue];
                    else o[0] = o[1] = o[2] = 0;
                    if (trans && (int)v < ntrans) o[3] = trans[v];
                    break;
                }
            }
        png_read_end(p, NULL);
        {
            FILE *o = fopen(out, "wb");
            unsigned char hd[8];
            int k;
            for (k = 0; k < 4; ++k) hd[k] = (unsigned char)(w >> (8 * k)), hd[4 + k] = (unsigned char)(h >> (8 * k));
            if (!o) { fprintf(stderr, "error: cannot create %s\n", out); goto done; }
            fwrite(hd, 1, 8, o);
            fwrite(rgba, 1, (size_t)w * h * 4, o);
            fclose(o);
        }
        ok = 1;
        for (y = 0; y < h; ++y) free(rows[y]);
        free(rows);
        rows = NULL;
    }
done:
    png_destroy_read_struct(&p, &info, NULL);
    free(rgba);
    free(data);
    return ok;
}

int main(int argc, char **argv) {
    int i, ok = 1;
    if (argc < 3 || (argc - 1) % 2) { fprintf(stderr, "usage: png_reference FILE OUT [FILE OUT ...]\n"); return 2; }
    for (i = 1; i + 1 < argc; i += 2) ok = dump(argv[i], argv[i + 1]) && ok;
    return ok ? 0 : 1;
}
