// TPngPicture in the graphics framework: registered for "png", loads through TPicture, draws on a canvas.
#include <gtest/gtest.h>

#include "PngBuilder.h"
#include "PngPicture.h"

#include <cstdio>

using namespace pngtest;

TEST(PngPicture, PictureLoaderCreatesAPngPictureAndItDraws) {
    ASSERT_TRUE(bool(TPicture::FindFormat("png")));
    ASSERT_TRUE(bool(TPicture::FindFormat("TPngPicture")));
    TPicture picture;
    picture.LoadFromData("png", File({Ihdr(2, 1, 8, 6), Chunk("IDAT", Deflate(Rows({{255, 0, 0, 255, 0, 0, 255, 0}})))}));
    auto* png = As<TPngPicture>(picture.Graphic());
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->GetWidth(), 2);
    EXPECT_EQ(png->GetHeight(), 1);
    EXPECT_TRUE(png->GetTransparent());
    ASSERT_NE(png->ImageCanvas()->GetHandle(), nullptr);

    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(2, 1);
    target.Canvas()->SetPixel(0, 0, clWhite);
    target.Canvas()->SetPixel(1, 0, clWhite);
    RECT r = {0, 0, 2, 1};
    png->Draw(target.Canvas(), r);
    EXPECT_EQ(target.Canvas()->GetPixel(0, 0), clRed);
    EXPECT_EQ(target.Canvas()->GetPixel(1, 0), clWhite);

    TPicture copy;
    copy.Assign(&picture);
    ASSERT_NE(As<TPngPicture>(copy.Graphic()), nullptr);
    EXPECT_EQ(As<TPngPicture>(copy.Graphic())->ExportRGBA(), png->ExportRGBA());
}

TEST(PngPicture, LoadErrorsPropagate) {
    TPicture picture;
    try {
        picture.LoadFromData("png", {1, 2, 3});
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.ClassName(), "EPNGInvalidFileHeader");
    }
}

namespace {

// A 3 x 2 palette picture of depth 1, 4 or 8 holding the indices (0 1 0 / 0 0 1), index 2 in the 8-bit
// picture's corners; with `keyed`, index 1 is its transparent colour.
Bytes PalettePng(uint8_t depth, bool keyed) {
    Bytes plte = {200, 10, 10, 10, 200, 10, 10, 10, 200};
    std::vector<Bytes> rows;
    switch (depth) {
    case 1:
        rows = {{0x40}, {0x20}};
        plte.resize(6);
        break;
    case 4: rows = {{0x01, 0x00}, {0x00, 0x10}}; break;
    default: rows = {{2, 1, 0}, {0, 0, 1}}; break;
    }
    Bytes header = Ihdr(3, 2, depth, 3), palette = Chunk("PLTE", plte), data = Chunk("IDAT", Deflate(Rows(rows)));
    return keyed ? File({header, palette, Chunk("tRNS", {255, 0}), data}) : File({header, palette, data});
}

} // namespace

TEST(PngPicture, SavedFileLoadsAgainThroughThePictureLoader) {
    TPngPicture png;
    png.LoadFromBytes(PalettePng(8, true));
    std::string path = "png_picture_saved.png";
    png.SaveToFile(path);
    TPicture picture;
    picture.LoadFromFile(path);
    std::remove(path.c_str());
    auto* loaded = As<TPngPicture>(picture.Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->ExportRGBA(), png.ExportRGBA());
    EXPECT_TRUE(loaded->GetTransparent());
    TPngPicture empty;
    EXPECT_THROW(empty.SaveToBytes(), EPNGHeaderNotPresent);
}

TEST(PngPicture, AssignedToABitmapTakesAFormatThatHoldsIt) {
    struct {
        const char* Name;
        Bytes File;
        TPixelFormat Format;
        bool Transparent;
    } cases[] = {
        {"grey depth 1", File({Ihdr(3, 2, 1, 0), Chunk("IDAT", Deflate(Rows({{0x40}, {0xA0}})))}), pf1bit, false},
        {"palette depth 1", PalettePng(1, false), pf1bit, false},
        {"palette depth 4 keyed", PalettePng(4, true), pf4bit, true},
        {"palette depth 8", PalettePng(8, false), pf8bit, false},
        {"rgb", File({Ihdr(3, 2, 8, 2), Chunk("IDAT", Deflate(Rows({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}})))}), pf24bit, false},
        {"rgba", File({Ihdr(3, 2, 8, 6), Chunk("IDAT", Deflate(Rows({Bytes(12, 255), Bytes(12, 255)})))}), pf24bit, false},
    };
    for (const auto& c : cases) {
        TPngPicture png;
        png.LoadFromBytes(c.File);
        TBitmap bitmap;
        bitmap.Assign(&png);
        EXPECT_EQ(bitmap.GetPixelFormat(), c.Format) << c.Name;
        ASSERT_EQ(bitmap.GetWidth(), 3) << c.Name;
        ASSERT_EQ(bitmap.GetHeight(), 2) << c.Name;
        EXPECT_EQ(bitmap.GetTransparent(), c.Transparent) << c.Name;
        if (c.Transparent) {
            EXPECT_EQ(ColorToRGB(bitmap.GetTransparentColor()), png.TransparentColor()) << c.Name;
        }
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                // Transparent pixels keep the transparent colour, which the bitmap draws transparent.
                TPngColor expected = png.ReadPixel(x, y);
                EXPECT_EQ(COLORREF(bitmap.Canvas()->GetPixel(x, y)), expected) << c.Name << " " << x << "," << y;
            }
    }
}

TEST(PngPicture, AssignedFromABitmapKeepsItsPixelsAndTransparentColour) {
    for (TPixelFormat format : {pf4bit, pf8bit, pf24bit, pf32bit}) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(format);
        bitmap.SetSize(5, 3);
        const TColor colors[] = {clBlack, clWhite, clRed, clBlue, clLime};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) bitmap.Canvas()->SetPixel(x, y, colors[(x + y) % 5]);
        bitmap.SetTransparentColor(clRed);
        bitmap.SetTransparent(true);
        TPngPicture png;
        png.Assign(&bitmap);
        ASSERT_EQ(png.GetWidth(), 5);
        EXPECT_EQ(png.HeaderChunk()->ColorType, format <= pf8bit ? 3 : 2) << format;
        EXPECT_TRUE(png.GetTransparent()) << format;
        EXPECT_EQ(png.TransparencyKind(), ptmBit) << format;
        EXPECT_EQ(png.TransparentColor(), COLORREF(clRed)) << format;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(png.ReadPixel(x, y), COLORREF(colors[(x + y) % 5])) << format << " " << x << "," << y;
        // And back through a file.
        TPngPicture again;
        again.LoadFromBytes(png.SaveToBytes());
        EXPECT_EQ(again.ExportRGBA(), png.ExportRGBA()) << format;
    }
}

TEST(PngPicture, ClipboardCarriesTheImageAsABitmap) {
    TPngPicture png;
    png.LoadFromBytes(File({Ihdr(3, 2, 8, 2), Chunk("IDAT", Deflate(Rows({{255, 0, 0, 0, 255, 0, 0, 0, 255}, {1, 2, 3, 4, 5, 6, 7, 8, 9}})))}));
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    png.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, UINT(CF_BITMAP));
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_NE(SetClipboardData(format, data), nullptr); // the clipboard owns the bitmap now
    CloseClipboard();

    TPngPicture pasted;
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE got = GetClipboardData(CF_BITMAP);
    ASSERT_NE(got, nullptr);
    pasted.LoadFromClipboardFormat(CF_BITMAP, got, nullptr);
    CloseClipboard();
    EXPECT_EQ(pasted.ExportRGBA(), png.ExportRGBA());
    EXPECT_FALSE(pasted.GetTransparent());
    EXPECT_THROW(pasted.LoadFromClipboardFormat(CF_TEXT, got, nullptr), Exception);
}
