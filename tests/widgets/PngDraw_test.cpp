// Drawing PNG pictures onto a DC: alpha blending on black and white, stretching, colour keys, opaque images,
// and that drawing neither raises nor leaks its work objects.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "PngBuilder.h"
#include "OrvWindowsUtils.h"
#include "PngDraw.h"

using namespace pngtest;

namespace {

// A 32-bit top-down DIB section in a memory DC, filled with one colour.
class TTarget {
public:
    TTarget(int w, int h, COLORREF fill) : w_(w), h_(h) {
        BITMAPINFO bi = Dib32Info(w, -h);
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < w * h; ++i) bits_[i] = RGB(GetBValue(fill), GetGValue(fill), GetRValue(fill));
    }
    ~TTarget() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC DC() const { return dc_; }
    // The pixel as red, green, blue.
    COLORREF At(int x, int y) const {
        GdiFlush();
        uint32_t v = bits_[y * w_ + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t* bits_ = nullptr;
};

// How many more GDI objects the process can create (the table is finite on every system): a leak shows as
// a smaller number after the work.
// Counted by filling the handle table with the smallest object there is: a full table of device contexts
// takes so much memory that a 32-bit process under an emulator has too little left to start a thread.
int FreeGdiHandles() {
    std::vector<HRGN> regions;
    while (HRGN region = CreateRectRgn(0, 0, 1, 1)) {
        regions.push_back(region);
        if (regions.size() > 200000) break;
    }
    for (HRGN region : regions) DeleteObject(region);
    return int(regions.size());
}

uint8_t Blend(int s, int a, int t) { return uint8_t((s * a + (255 - a) * t + 255) / 256); }

const uint8_t Alphas[] = {0, 1, 64, 128, 200, 254, 255};

// 20 x 21 RGBA picture: alpha cycles through Alphas, colour varies with the position.
struct TRgbaPicture {
    static const int W = 20, H = 21;
    uint8_t R(int x, int y) const { return uint8_t(x * 12); }
    uint8_t G(int x, int y) const { return uint8_t(y * 11); }
    uint8_t B(int x, int y) const { return uint8_t((x + y) * 6); }
    uint8_t A(int x, int y) const { return Alphas[(x + 3 * y) % 7]; }
    Bytes File() const {
        std::vector<Bytes> rows;
        for (int y = 0; y < H; ++y) {
            Bytes r;
            for (int x = 0; x < W; ++x) r.insert(r.end(), {R(x, y), G(x, y), B(x, y), A(x, y)});
            rows.push_back(r);
        }
        return pngtest::File({Ihdr(W, H, 8, 6), Chunk("IDAT", Deflate(FilterRows(rows, 4, 1)))});
    }
};

void ExpectBlended(const TTarget& t, const TRgbaPicture& p, COLORREF bg, int ox, int oy, int scale) {
    for (int y = 0; y < TRgbaPicture::H * scale; ++y)
        for (int x = 0; x < TRgbaPicture::W * scale; ++x) {
            int sx = x / scale, sy = y / scale, a = p.A(sx, sy);
            COLORREF expected = RGB(Blend(p.R(sx, sy), a, GetRValue(bg)), Blend(p.G(sx, sy), a, GetGValue(bg)),
                                    Blend(p.B(sx, sy), a, GetBValue(bg)));
            if (a == 0) expected = bg;
            if (a == 255) expected = RGB(p.R(sx, sy), p.G(sx, sy), p.B(sx, sy));
            ASSERT_EQ(t.At(ox + x, oy + y), expected) << "at " << x << "," << y << " alpha " << a;
        }
}

} // namespace

TEST(PngDraw, AlphaBlendOnBlackAndOnWhite) {
    TRgbaPicture picture;
    TPngDibImage image;
    Load(image, picture.File());
    ASSERT_EQ(image.TransparencyKind(), ptmPartial);
    for (COLORREF bg : {RGB(0, 0, 0), RGB(255, 255, 255), RGB(10, 120, 250)}) {
        TTarget target(30, 30, bg);
        RECT r = {5, 4, 25, 25};
        DrawPngImage(target.DC(), r, image);
        ExpectBlended(target, picture, bg, 5, 4, 1);
        EXPECT_EQ(target.At(4, 4), bg); // outside the rectangle
        EXPECT_EQ(target.At(25, 10), bg);
    }
}

TEST(PngDraw, HalfTransparentBlackOverWhiteGives127) {
    TPngDibImage image;
    Load(image, File({Ihdr(1, 1, 8, 6), Chunk("IDAT", Deflate(Rows({{0, 0, 0, 128}})))}));
    TTarget target(1, 1, RGB(255, 255, 255));
    RECT r = {0, 0, 1, 1};
    DrawPngImage(target.DC(), r, image);
    EXPECT_EQ(target.At(0, 0), RGB(127, 127, 127));
}

TEST(PngDraw, StretchRepeatsEachPixelTwice) {
    TRgbaPicture picture;
    TPngDibImage image;
    Load(image, picture.File());
    TTarget target(40, 42, RGB(255, 255, 255));
    RECT r = {0, 0, 40, 42};
    DrawPngImage(target.DC(), r, image);
    ExpectBlended(target, picture, RGB(255, 255, 255), 0, 0, 2);
    // A reversed rectangle is the same rectangle.
    TTarget reversed(40, 42, RGB(255, 255, 255));
    RECT rr = {40, 42, 0, 0};
    DrawPngImage(reversed.DC(), rr, image);
    ExpectBlended(reversed, picture, RGB(255, 255, 255), 0, 0, 2);
}

TEST(PngDraw, OpaqueImagesAreCopiedAndStretched) {
    // RGB and 2-bit grey, drawn at twice their size.
    TPngDibImage rgb, grey;
    Load(rgb, File({Ihdr(2, 1, 8, 2), Chunk("IDAT", Deflate(Rows({{200, 10, 20, 30, 40, 250}})))}));
    Load(grey, File({Ihdr(4, 1, 2, 0), Chunk("IDAT", Deflate(Rows({{0x1B}})))}));
    TTarget target(8, 2, RGB(1, 2, 3));
    RECT r = {0, 0, 4, 2};
    DrawPngImage(target.DC(), r, rgb);
    EXPECT_EQ(target.At(1, 1), RGB(200, 10, 20));
    EXPECT_EQ(target.At(2, 0), RGB(30, 40, 250));
    TTarget g(8, 2, RGB(1, 2, 3));
    RECT gr = {0, 0, 8, 2};
    DrawPngImage(g.DC(), gr, grey);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(g.At(x, 1), RGB(85 * (x / 2), 85 * (x / 2), 85 * (x / 2))) << x;
}

TEST(PngDraw, KeyedPaletteLeavesTheKeyColourTransparent) {
    // Entries: black (opaque), red (alpha 0: the key), green (opaque).
    TPngDibImage image;
    Load(image, File({Ihdr(3, 2, 8, 3), Chunk("PLTE", {0, 0, 0, 255, 0, 0, 0, 255, 0}), Chunk("tRNS", {255, 0}),
                      Chunk("IDAT", Deflate(Rows({{0, 1, 2}, {1, 2, 0}})))}));
    ASSERT_EQ(image.TransparencyKind(), ptmBit);
    const COLORREF bg = RGB(9, 99, 199);
    TTarget target(6, 4, bg);
    RECT r = {0, 0, 6, 4};
    DrawPngImage(target.DC(), r, image);
    const COLORREF expected[2][3] = {{RGB(0, 0, 0), bg, RGB(0, 255, 0)}, {bg, RGB(0, 255, 0), RGB(0, 0, 0)}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(target.At(x, y), expected[y / 2][x / 2]) << x << "," << y;
}

TEST(PngDraw, OnePartlyTransparentEntryIsBlendedAndBlackStays) {
    // Entries: black (opaque), white at alpha 128.
    TPngDibImage image;
    Load(image, File({Ihdr(2, 1, 8, 3), Chunk("PLTE", {0, 0, 0, 255, 255, 255}), Chunk("tRNS", {255, 128}),
                      Chunk("IDAT", Deflate(Rows({{0, 1}})))}));
    ASSERT_EQ(image.TransparencyKind(), ptmPartial);
    TTarget target(2, 1, RGB(0, 0, 200));
    RECT r = {0, 0, 2, 1};
    DrawPngImage(target.DC(), r, image);
    EXPECT_EQ(target.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(target.At(1, 0), RGB(Blend(255, 128, 0), Blend(255, 128, 0), Blend(255, 128, 200)));
}

TEST(PngDraw, PaletteIndexWithoutEntryDoesNotRaise) {
    // Index 5 has no PLTE entry: that pixel leaves the target as it is.
    TPngDibImage image;
    Load(image, File({Ihdr(2, 1, 8, 3), Chunk("PLTE", {10, 20, 30}), Chunk("tRNS", {100, 100}),
                      Chunk("IDAT", Deflate(Rows({{0, 5}})))}));
    TTarget target(2, 1, RGB(50, 50, 50));
    RECT r = {0, 0, 2, 1};
    EXPECT_NO_THROW(DrawPngImage(target.DC(), r, image));
    EXPECT_EQ(target.At(1, 0), RGB(50, 50, 50));
    EXPECT_EQ(target.At(0, 0), RGB(Blend(10, 100, 50), Blend(20, 100, 50), Blend(30, 100, 50)));
}

TEST(PngDraw, GreyWithAlphaBlends) {
    TPngDibImage image;
    Load(image, File({Ihdr(3, 1, 8, 4), Chunk("IDAT", Deflate(Rows({{200, 0, 200, 255, 200, 100}})))}));
    TTarget target(3, 1, RGB(0, 100, 255));
    RECT r = {0, 0, 3, 1};
    DrawPngImage(target.DC(), r, image);
    EXPECT_EQ(target.At(0, 0), RGB(0, 100, 255));
    EXPECT_EQ(target.At(1, 0), RGB(200, 200, 200));
    EXPECT_EQ(target.At(2, 0), RGB(Blend(200, 100, 0), Blend(200, 100, 100), Blend(200, 100, 255)));
}

TEST(PngDraw, DrawingLeaksNoGdiObjects) {
    TRgbaPicture picture;
    TPngDibImage alpha, keyed;
    Load(alpha, picture.File());
    Load(keyed, File({Ihdr(2, 1, 8, 3), Chunk("PLTE", {0, 0, 0, 255, 0, 0}), Chunk("tRNS", {255, 0}),
                      Chunk("IDAT", Deflate(Rows({{0, 1}})))}));
    TTarget target(40, 42, RGB(255, 255, 255));
    RECT r = {0, 0, 40, 42};
    DrawPngImage(target.DC(), r, alpha);
    DrawPngImage(target.DC(), r, keyed);
    int before = FreeGdiHandles();
    for (int i = 0; i < 50; ++i) {
        DrawPngImage(target.DC(), r, alpha);
        DrawPngImage(target.DC(), r, keyed);
    }
    // Loading again and freeing images returns their DC, DIB section and palette.
    for (int i = 0; i < 20; ++i) {
        TPngDibImage again;
        Load(again, picture.File());
        Load(again, File({Ihdr(2, 1, 8, 3), Chunk("PLTE", {0, 0, 0, 255, 0, 0}), Chunk("IDAT", Deflate(Rows({{0, 1}})))}));
        again.Resize(3, 3);
    }
    EXPECT_EQ(FreeGdiHandles(), before);
}

TEST(PngDraw, DibStoreHoldsTheSameImageAsTheCore) {
    const Bytes files[] = {
        TRgbaPicture().File(),
        File({Ihdr(5, 2, 1, 3), Chunk("PLTE", {1, 2, 3, 4, 5, 6}), Chunk("IDAT", Deflate(Rows({{0xA8}, {0x50}})))}),
        File({Ihdr(5, 2, 4, 0), Chunk("gAMA", {0, 1, 0x86, 0xA0}), Chunk("IDAT", Deflate(Rows({{0x12, 0x34, 0x50}, {0xFE, 0xDC, 0xB0}})))}),
    };
    for (const Bytes& f : files) {
        TPngImage core;
        TPngDibImage dib;
        Load(core, f);
        Load(dib, f);
        EXPECT_EQ(core.ExportRGBA(), dib.ExportRGBA());
        EXPECT_NE(dib.StoreDC(), nullptr);
    }
}
