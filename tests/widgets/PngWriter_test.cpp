// PNG writer: every chunk kind written and read back, the image data (filters, interlacing, IDAT sizes,
// 16-bit and 2-bit stores, gamma), pictures built from DIBs with their transparent colour, and the pointer
// list. The suite-wide round trip against libpng runs in tools/png (compare_suite.py).
#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

#include "PngBuilder.h"
#include "PngCore.h"

using namespace pngtest;

namespace {

struct TWrittenChunk {
    std::string Type;
    Bytes Body;
};

// The chunks of a file as written (CRCs checked).
std::vector<TWrittenChunk> ChunksOf(const Bytes& file) {
    std::vector<TWrittenChunk> out;
    EXPECT_TRUE(file.size() >= 8 && Bytes(file.begin(), file.begin() + 8) == Signature());
    size_t pos = 8;
    while (pos + 12 <= file.size()) {
        uint32_t n = uint32_t(file[pos]) << 24 | file[pos + 1] << 16 | file[pos + 2] << 8 | file[pos + 3];
        TWrittenChunk c{std::string(file.begin() + long(pos + 4), file.begin() + long(pos + 8)),
                        Bytes(file.begin() + long(pos + 8), file.begin() + long(pos + 8 + n))};
        uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, file.data() + pos + 4, 4 + n) ^ 0xFFFFFFFFu;
        const uint8_t* s = file.data() + pos + 8 + n;
        EXPECT_EQ(crc, uint32_t(s[0]) << 24 | s[1] << 16 | s[2] << 8 | s[3]) << c.Type;
        out.push_back(c);
        pos += 12 + n;
    }
    EXPECT_EQ(pos, file.size());
    return out;
}

std::string TypesOf(const std::vector<TWrittenChunk>& chunks) {
    std::string s;
    for (const TWrittenChunk& c : chunks) s += c.Type + " ";
    return s;
}

// The inflated image data of a written file.
Bytes ImageData(const std::vector<TWrittenChunk>& chunks) {
    Bytes compressed;
    for (const TWrittenChunk& c : chunks)
        if (c.Type == "IDAT") compressed.insert(compressed.end(), c.Body.begin(), c.Body.end());
    Bytes raw(1 << 20);
    uLongf size = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &size, compressed.data(), uLong(compressed.size())), Z_OK);
    raw.resize(size);
    return raw;
}

// Written and read again.
void RoundTrip(TPngImage& image, TPngImage& again) {
    Bytes file = image.SaveToMemory();
    again.LoadFromMemory(file.data(), file.size());
}

// A w x h RGBA image whose pixels vary in every channel.
Bytes RgbaFile(uint32_t w, uint32_t h, uint8_t interlace = 0) {
    std::vector<Bytes> rows;
    for (uint32_t y = 0; y < h; ++y) {
        Bytes r;
        for (uint32_t x = 0; x < w; ++x) r.insert(r.end(), {uint8_t(x * 7), uint8_t(y * 5), uint8_t(x ^ y), uint8_t(x * y)});
        rows.push_back(r);
    }
    Bytes data = interlace ? Adam7Rows(rows, 4, 0) : Rows(rows);
    return File({Ihdr(w, h, 8, 6, interlace), Chunk("IDAT", Deflate(data))});
}

} // namespace

TEST(PngWriter, EveryChunkKindIsWrittenBackInOrder) {
    Bytes gama = {0, 0, 0xB1, 0x8F}, phys = {0, 0, 0x0B, 0x13, 0, 0, 0x0B, 0x12, 1};
    Bytes time = {0x07, 0xEA, 12, 10, 21, 30, 59}, iccp = Text("icc\0\0xyz");
    std::string longText(300, 'x');
    for (size_t i = 0; i < longText.size(); ++i) longText[i] = char('a' + i % 26);
    Bytes ztxt = Text("Comment");
    ztxt.insert(ztxt.end(), {0, 0});
    Bytes z = Deflate(Text(longText));
    ztxt.insert(ztxt.end(), z.begin(), z.end());
    Bytes text = Text("Title");
    text.push_back(0);
    Bytes t2 = Text("Orvane");
    text.insert(text.end(), t2.begin(), t2.end());
    Bytes file = File({Ihdr(3, 2, 8, 3), Chunk("gAMA", gama), Chunk("cHRM", Bytes(32, 1)), Chunk("PLTE", {10, 20, 30, 40, 50, 60}),
                       Chunk("tRNS", {0}), Chunk("pHYs", phys), Chunk("tIME", time), Chunk("iCCP", iccp),
                       Chunk("tEXt", text), Chunk("zTXt", ztxt), Chunk("IDAT", Deflate(Rows({{0, 1, 0}, {1, 1, 0}})))});
    TPngImage image, again;
    Load(image, file);
    Bytes written = image.SaveToMemory();
    std::vector<TWrittenChunk> chunks = ChunksOf(written);
    EXPECT_EQ(TypesOf(chunks), "IHDR gAMA PLTE tRNS pHYs tIME iCCP tEXt zTXt IDAT IEND ");
    EXPECT_EQ(chunks[1].Body, gama);
    EXPECT_EQ(chunks[4].Body, phys);
    EXPECT_EQ(chunks[5].Body, time);
    EXPECT_EQ(chunks[6].Body, iccp);
    EXPECT_EQ(chunks[7].Body, text);
    EXPECT_EQ(chunks[8].Body[7], 0); // keyword end
    EXPECT_EQ(chunks[8].Body[8], 0); // deflate

    again.LoadFromMemory(written.data(), written.size());
    EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA());
    auto* p = again.ChunkList.ItemFromClass<TChunkpHYs>();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->PixelsPerUnitX, 2835u);
    EXPECT_EQ(p->PixelsPerUnitY, 2834u);
    EXPECT_EQ(p->UnitSpecifier, 1);
    auto* t = again.ChunkList.ItemFromClass<TChunktIME>();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Year, 2026);
    EXPECT_EQ(t->Second, 59);
    auto* zt = again.ChunkList.ItemFromClass<TChunkzTXt>();
    ASSERT_NE(zt, nullptr);
    EXPECT_EQ(zt->Keyword, "Comment");
    EXPECT_EQ(zt->Text, longText);
    auto* tx = again.ChunkList.ItemFromClass<TChunktEXt>(); // the tEXt comes first
    EXPECT_EQ(tx->Keyword, "Title");
    EXPECT_EQ(tx->Text, "Orvane");
    EXPECT_EQ(again.TransparencyKind(), ptmBit);
    EXPECT_EQ(again.TransparentColor(), image.TransparentColor());
}

TEST(PngWriter, FieldsSetInCodeAreWritten) {
    TPngImage image, again;
    Load(image, File({Ihdr(1, 1, 8, 2), Chunk("tEXt", Text("k\0v")), Chunk("zTXt", Bytes{'k', 0, 0, 0x78}),
                      Chunk("pHYs", Bytes(9, 0)), Chunk("IDAT", Deflate(Rows({{1, 2, 3}})))}));
    auto* text = image.ChunkList.ItemFromClass<TChunktEXt>();
    text->Keyword = "Author";
    text->Text = "Someone";
    image.ChunkList.ItemFromClass<TChunkzTXt>()->Text.clear(); // an empty compressed text is written as a blank
    image.ChunkList.ItemFromClass<TChunkpHYs>()->PixelsPerUnitX = 3780;
    RoundTrip(image, again);
    EXPECT_EQ(again.ChunkList.ItemFromClass<TChunktEXt>()->Keyword, "Author");
    EXPECT_EQ(again.ChunkList.ItemFromClass<TChunktEXt>()->Text, "Someone");
    EXPECT_EQ(again.ChunkList.ItemFromClass<TChunkzTXt>()->Text, " ");
    EXPECT_EQ(again.ChunkList.ItemFromClass<TChunkpHYs>()->PixelsPerUnitX, 3780u);
}

TEST(PngWriter, OnlyTheAllowedFiltersAreUsed) {
    for (uint8_t set : {uint8_t(PngFilterNone), uint8_t(PngFilterSub), uint8_t(PngFilterUp), uint8_t(PngFilterAverage),
                        uint8_t(PngFilterPaeth), uint8_t(PngFilterUp | PngFilterPaeth), uint8_t(PngAllFilters), uint8_t(0)}) {
        TPngImage image, again;
        Load(image, RgbaFile(13, 9));
        image.FilterSet = set;
        Bytes written = image.SaveToMemory();
        Bytes raw = ImageData(ChunksOf(written));
        ASSERT_EQ(raw.size(), 9u * (1 + 13 * 4));
        uint8_t allowed = set ? set : uint8_t(PngFilterNone);
        for (size_t row = 0; row < 9; ++row) EXPECT_TRUE(allowed & (1 << raw[row * 53])) << int(set) << " row " << row;
        again.LoadFromMemory(written.data(), written.size());
        EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA()) << int(set);
    }
}

TEST(PngWriter, SeveralFiltersChooseTheMostRepetitiveRow) {
    // Grey rows: ramps of a slope that grows from row to row favour Sub; a noisy row repeated favours Up
    // from the second row on (the first row has nothing above it, so it is not checked there).
    struct {
        const char* Name;
        uint8_t (*Pixel)(int x, int y);
        int FirstRow, OtherRows;
    } cases[] = {
        {"ramps", [](int x, int y) { return uint8_t(x * (y + 1)); }, 1, 1},
        {"repeated noise", [](int x, int) { return uint8_t((x * 97) ^ (x * x * 31) ^ 0x5A); }, -1, 2},
    };
    for (const auto& c : cases) {
        std::vector<Bytes> rows(5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 40; ++x) rows[size_t(y)].push_back(c.Pixel(x, y));
        TPngImage image;
        Load(image, File({Ihdr(40, 5, 8, 0), Chunk("IDAT", Deflate(Rows(rows)))}));
        image.FilterSet = PngFilterNone | PngFilterSub | PngFilterUp;
        Bytes raw = ImageData(ChunksOf(image.SaveToMemory()));
        ASSERT_EQ(raw.size(), 5u * 41) << c.Name;
        if (c.FirstRow >= 0) { EXPECT_EQ(raw[0], c.FirstRow) << c.Name; }
        for (size_t row = 1; row < 5; ++row) EXPECT_EQ(raw[row * 41], c.OtherRows) << c.Name << " row " << row;
    }
}

TEST(PngWriter, InterlacingFollowsInterlaceMode) {
    for (uint8_t from : {0, 1})
        for (uint8_t to : {0, 1}) {
            TPngImage image, again;
            Load(image, RgbaFile(11, 10, from));
            image.InterlaceMode = to;
            Bytes written = image.SaveToMemory();
            std::vector<TWrittenChunk> chunks = ChunksOf(written);
            EXPECT_EQ(chunks[0].Body[12], to);
            // Adam7 rows of 11 x 10 pixels: 2+2+4+6+10+15+20 pixels ... in rows of their passes.
            size_t plain = 10 * (1 + 11 * 4);
            EXPECT_EQ(ImageData(chunks).size() == plain, to == 0) << int(from) << int(to);
            again.LoadFromMemory(written.data(), written.size());
            EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA()) << int(from) << int(to);
        }
}

TEST(PngWriter, ImageDataIsSplitIntoChunksOfAtMostMaxDataChunkSize) {
    // Noise does not compress, so 300 x 300 RGBA pixels need several 65535-byte chunks.
    std::vector<Bytes> rows(300);
    uint32_t seed = 12345;
    for (Bytes& r : rows)
        for (int i = 0; i < 300 * 4; ++i) r.push_back(uint8_t((seed = seed * 1103515245u + 12345u) >> 24));
    Bytes file = File({Ihdr(300, 300, 8, 6), Chunk("IDAT", Deflate(Rows(rows)))});
    for (int limit : {0, 1000, 65535, 100000}) {
        TPngImage image, again;
        Load(image, file);
        image.MaxDataChunkSize = limit;
        Bytes written = image.SaveToMemory();
        size_t expectedMax = size_t(std::max(limit, 65535)), count = 0, last = 0;
        for (const TWrittenChunk& c : ChunksOf(written))
            if (c.Type == "IDAT") {
                EXPECT_LE(c.Body.size(), expectedMax) << limit;
                if (count > 0) { EXPECT_EQ(last, expectedMax) << "only the last chunk may be short"; }
                last = c.Body.size();
                ++count;
            }
        EXPECT_GE(count, 360000 / expectedMax) << limit;
        again.LoadFromMemory(written.data(), written.size());
        EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA()) << limit;
    }
}

TEST(PngWriter, SixteenBitSamplesKeepBothBytesAndOpaqueStaysOpaque) {
    // RGBA and grey-alpha at depth 16: the colour's low bytes come back from their plane; the alpha's low
    // byte is not kept by the store, so alpha a is written as a x 257 (255 stays fully opaque).
    TPngImage image;
    Load(image, File({Ihdr(2, 1, 16, 6), Chunk("IDAT", Deflate(Rows({{1, 2, 3, 4, 5, 6, 0xFF, 0x12, 7, 8, 9, 10, 11, 12, 0x80, 0x34}})))}));
    image.FilterSet = PngFilterNone;
    TPngImage again;
    Bytes written = image.SaveToMemory();
    EXPECT_EQ(ImageData(ChunksOf(written)), (Bytes{0, 1, 2, 3, 4, 5, 6, 0xFF, 0xFF, 7, 8, 9, 10, 11, 12, 0x80, 0x80}));
    again.LoadFromMemory(written.data(), written.size());
    EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA());

    Load(image, File({Ihdr(1, 1, 16, 4), Chunk("IDAT", Deflate(Rows({{0xAB, 0xCD, 0x40, 0x01}})))}));
    image.FilterSet = PngFilterNone;
    EXPECT_EQ(ImageData(ChunksOf(image.SaveToMemory())), (Bytes{0, 0xAB, 0xCD, 0x40, 0x40}));
}

TEST(PngWriter, TwoBitGreyIsWrittenAtDepthFourWithItsColourKey) {
    // Levels 0..3 of depth 2 are levels 0, 5, 10, 15 of depth 4; the tRNS grey sample moves along.
    TPngImage image, again;
    Load(image, File({Ihdr(4, 1, 2, 0), Chunk("tRNS", {0, 2}), Chunk("IDAT", Deflate(Rows({{0x1B}})))}));
    image.FilterSet = PngFilterNone;
    Bytes written = image.SaveToMemory();
    std::vector<TWrittenChunk> chunks = ChunksOf(written);
    EXPECT_EQ(chunks[0].Body[8], 4);
    EXPECT_EQ(chunks[1].Body, (Bytes{0, 10}));
    EXPECT_EQ(ImageData(chunks), (Bytes{0, 0x05, 0xAF}));
    again.LoadFromMemory(written.data(), written.size());
    EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA());
    EXPECT_EQ(again.TransparentColor(), image.TransparentColor());
    EXPECT_EQ(again.TransparentColor(), PngRGB(170, 170, 170));
}

TEST(PngWriter, ColoursGoBackThroughTheGammaInForceWhereTheyStand) {
    // gAMA 100000 maps 128 to 186; the file keeps 128, and writing leaves the picture's tables as they were.
    TPngImage image, again;
    Load(image, File({Ihdr(1, 1, 8, 3), Chunk("gAMA", {0, 1, 0x86, 0xA0}), Chunk("PLTE", {128, 0, 255}),
                      Chunk("IDAT", Deflate(Rows({{0}})))}));
    uint8_t gamma[256];
    std::copy(image.GammaTable, image.GammaTable + 256, gamma);
    EXPECT_EQ(image.ExportRGBA()[0], 186);
    Bytes written = image.SaveToMemory();
    EXPECT_TRUE(std::equal(gamma, gamma + 256, image.GammaTable));
    EXPECT_EQ(ChunksOf(written)[2].Body, (Bytes{128, 0, 255}));
    again.LoadFromMemory(written.data(), written.size());
    EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA());
}

TEST(PngWriter, NothingIsWrittenWithoutAHeader) {
    TPngImage image;
    EXPECT_THROW(image.SaveToMemory(), EPNGHeaderNotPresent);
}

namespace {

struct TDib {
    TPngBitmapInfoHeader Info{};
    TPngRGBQuad Colors[256] = {};
    Bytes Bits;
};

// A DIB of the given depth whose pixel (x, y) holds `index(x, y)` (palette) or the colour (R x, G y, B x^y).
TDib MakeDib(int bpp, int w, int h, bool topDown) {
    TDib d;
    d.Info.biSize = 40;
    d.Info.biWidth = w;
    d.Info.biHeight = topDown ? -h : h;
    d.Info.biPlanes = 1;
    d.Info.biBitCount = uint16_t(bpp);
    size_t stride = (size_t(bpp) * size_t(w) + 31) / 32 * 4;
    d.Bits.assign(stride * size_t(h), 0xFF); // padding and unused bits set: the picture must not take them
    for (int i = 0; i < 256; ++i) d.Colors[i] = TPngRGBQuad{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    for (int y = 0; y < h; ++y) {
        uint8_t* row = d.Bits.data() + stride * size_t(topDown ? y : h - 1 - y);
        for (int x = 0; x < w; ++x) {
            unsigned index = unsigned(x + 3 * y) % (1u << std::min(bpp, 8));
            switch (bpp) {
            case 1: row[x / 8] = uint8_t((row[x / 8] & ~(0x80 >> (x % 8))) | (index << (7 - x % 8))); break;
            case 4: row[x / 2] = uint8_t((row[x / 2] & (x % 2 ? 0xF0 : 0x0F)) | (index << (x % 2 ? 0 : 4))); break;
            case 8: row[x] = uint8_t(index); break;
            default: {
                uint8_t* p = row + x * (bpp / 8);
                p[0] = uint8_t(x ^ y), p[1] = uint8_t(y * 9), p[2] = uint8_t(x * 11);
            }
            }
        }
    }
    return d;
}

TPngColor ExpectedDibPixel(const TDib& d, int x, int y) {
    if (d.Info.biBitCount > 8) return PngRGB(uint8_t(x * 11), uint8_t(y * 9), uint8_t(x ^ y));
    const TPngRGBQuad& q = d.Colors[unsigned(x + 3 * y) % (1u << d.Info.biBitCount)];
    return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

} // namespace

TEST(PngWriter, PicturesBuiltFromDibsOfEveryDepth) {
    for (int bpp : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true}) {
            TDib d = MakeDib(bpp, 13, 5, topDown);
            TPngImage image, again;
            image.BuildFromDib(d.Info, d.Colors, d.Bits.data(), false, 0);
            TChunkIHDR* h = image.HeaderChunk();
            EXPECT_EQ(h->ColorType, bpp < 16 ? 3 : 2) << bpp;
            EXPECT_EQ(h->BitDepth, bpp < 16 ? bpp : 8) << bpp;
            EXPECT_EQ(image.TransparencyKind(), ptmNone);
            RoundTrip(image, again);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 13; ++x) {
                    EXPECT_EQ(image.ReadPixel(x, y), ExpectedDibPixel(d, x, y)) << bpp << " " << x << "," << y;
                    EXPECT_EQ(again.ReadPixel(x, y), ExpectedDibPixel(d, x, y)) << bpp << " " << x << "," << y;
                }
            EXPECT_EQ(again.ExportRGBA(), image.ExportRGBA()) << bpp;
            Bytes written = image.SaveToMemory();
            std::string types = TypesOf(ChunksOf(written));
            EXPECT_EQ(types, bpp < 16 ? "IHDR PLTE IDAT IEND " : "IHDR IDAT IEND ") << bpp;
        }
}

TEST(PngWriter, DibTransparentColourBecomesTheColourKey) {
    // Palette: the first entry of the colour becomes transparent, the ones before it stay opaque; a colour
    // the palette lacks gives no tRNS at all. RGB: a 6-byte key.
    TDib d = MakeDib(8, 6, 2, false);
    d.Colors[9] = d.Colors[4];
    TPngImage image, again;
    const TPngRGBQuad& q = d.Colors[4];
    image.BuildFromDib(d.Info, d.Colors, d.Bits.data(), true, PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    Bytes written = image.SaveToMemory();
    std::vector<TWrittenChunk> chunks = ChunksOf(written);
    EXPECT_EQ(TypesOf(chunks), "IHDR PLTE tRNS IDAT IEND ");
    EXPECT_EQ(chunks[2].Body, (Bytes{255, 255, 255, 255, 0}));
    EXPECT_EQ(chunks[1].Body.size(), 256u * 3);
    again.LoadFromMemory(written.data(), written.size());
    EXPECT_EQ(again.TransparencyKind(), ptmBit);
    EXPECT_EQ(again.TransparentColor(), PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue));

    image.BuildFromDib(d.Info, d.Colors, d.Bits.data(), true, PngRGB(1, 2, 3)); // not in the palette
    EXPECT_EQ(TypesOf(ChunksOf(image.SaveToMemory())), "IHDR PLTE IDAT IEND ");
    EXPECT_EQ(image.TransparencyKind(), ptmNone);

    TDib rgb = MakeDib(24, 4, 4, true);
    image.BuildFromDib(rgb.Info, nullptr, rgb.Bits.data(), true, PngRGB(0x21, 0x43, 0x65));
    chunks = ChunksOf(image.SaveToMemory());
    EXPECT_EQ(TypesOf(chunks), "IHDR tRNS IDAT IEND ");
    EXPECT_EQ(chunks[1].Body, (Bytes{0, 0x21, 0, 0x43, 0, 0x65}));
    EXPECT_EQ(image.TransparentColor(), PngRGB(0x21, 0x43, 0x65));
}

TEST(PngWriter, DibsThePictureCannotHoldAreRefused) {
    TDib d = MakeDib(24, 4, 4, false);
    TPngImage image;
    d.Info.biBitCount = 16;
    EXPECT_THROW(image.BuildFromDib(d.Info, nullptr, d.Bits.data(), false, 0), EPngError);
    d.Info.biBitCount = 24;
    d.Info.biCompression = 1; // run-length encoded
    EXPECT_THROW(image.BuildFromDib(d.Info, nullptr, d.Bits.data(), false, 0), EPngError);
    d.Info.biCompression = 0;
    d.Info.biWidth = 0;
    EXPECT_THROW(image.BuildFromDib(d.Info, nullptr, d.Bits.data(), false, 0), EPNGInvalidNewSize);
}

TEST(PngPointerList, GrowsRemovesTheLastMatchAndIgnoresOutOfRange) {
    TPngImage owner;
    TPNGPointerList list(&owner);
    int a = 0, b = 0;
    list.Add(&a);
    list.Add(&b);
    list.Add(&a);
    EXPECT_EQ(list.Owner(), &owner);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Remove(&a), &a);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Item(0), &a); // the last &a went
    EXPECT_EQ(list.Item(1), &b);
    EXPECT_EQ(list.Remove(&owner), nullptr);
    EXPECT_EQ(list.Item(5), nullptr);
    list.SetItem(5, &a);
    EXPECT_EQ(list.Count(), 2u);
    list.SetItem(1, &a);
    EXPECT_EQ(list.Item(1), &a);
    list.SetCount(4);
    EXPECT_EQ(list.Item(3), nullptr);
    list.SetCount(0);
    EXPECT_EQ(list.Count(), 0u);
}
