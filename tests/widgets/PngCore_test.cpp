// PNG decoding core: load errors with their exact messages, chunk handling, decoding rules and the mended
// faults. Files are built in memory (PngBuilder.h) or read from the generated error fixtures.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <algorithm>
#include <map>
#include <sstream>

#include "PngBuilder.h"
#include "PngCore.h"

using namespace pngtest;

namespace {

const std::map<std::string, std::string> ExpectedMessages = {
    {"EPNGInvalidFileHeader",
     "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid header. "
     "This file may be corruped, try obtaining it again."},
    {"EPngUnexpectedEnd",
     "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the file."},
    {"EPNGIHDRNotFirst",
     "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk is not the first)"},
    {"EPNGUnknownCriticalChunk",
     "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded."},
    {"EPngInvalidCRC",
     "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc error)"},
    {"EPngInvalidIHDR",
     "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) might be "
     "corrupted"},
    {"EPNGSizeExceeds",
     "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds the maximum "
     "size, which is 65535 pixels length."},
    {"EPNGUnknownCompression",
     "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not be decoded."},
    {"EPNGUnknownInterlace",
     "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded."},
    {"EPNGInvalidPalette", "The \"Portable Network Graphics\" image contains an invalid palette."},
    {"EPNGMissingMultipleIDAT", "This \"Portable Network Graphics\" image is invalid because it has missing image parts."},
    {"EPNGZLIBError", "Could not decompress the image because it contains invalid compressed data.\r\n Description: "},
    {"EPNGNoImageData", "This \"Portable Network Graphics\" image contains no data."},
    {"EPNGHeaderNotPresent", "This operation is not valid because the current image contains no valid header."},
    {"EPNGOutMemory",
     "Some operation could not be performed because the system is out of resources. Close some windows and try again."},
    {"EPNGInvalidNewSize", "The new size provided for image resizing is invalid."},
};

struct Failure {
    std::string Class, Message;
};

template <class F> Failure Catch(F f) {
    try {
        f();
    } catch (const Exception& e) {
        return {e.ClassName(), e.Message()};
    }
    return {"", ""};
}

Failure LoadFailure(const Bytes& file) {
    TPngImage image;
    return Catch([&] { Load(image, file); });
}

Bytes ReadFile(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Pixel(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t x, uint32_t y) {
    auto p = rgba.begin() + (size_t(y) * width + x) * 4;
    return std::vector<uint8_t>(p, p + 4);
}

// Rows of a w x 4 RGBA image, pixel (x, y) = (37x + 11y, 100 + 9x, 200 - 50y, 60x + y).
std::vector<Bytes> RgbaPixels(int w = 4) {
    std::vector<Bytes> rows;
    for (int y = 0; y < 4; ++y) {
        Bytes r;
        for (int x = 0; x < w; ++x)
            r.insert(r.end(), {uint8_t(37 * x + 11 * y), uint8_t(100 + 9 * x), uint8_t(200 - 50 * y), uint8_t(60 * x + y)});
        rows.push_back(r);
    }
    return rows;
}
Bytes RgbaRows() { return Rows(RgbaPixels()); }

} // namespace

TEST(PngErrors, EveryFixtureFailsWithItsClassAndExactMessage) {
    std::ifstream list(std::string(ORV_TEST_DATA_DIR) + "png_errors/expected.txt");
    ASSERT_TRUE(list.good());
    std::string line;
    int count = 0;
    std::map<std::string, int> classes;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, cls, suffix, word;
        fields >> name >> cls;
        while (fields >> word) suffix += (suffix.empty() ? "" : " ") + word;
        SCOPED_TRACE(name);
        Failure f = LoadFailure(ReadFile(std::string(ORV_TEST_DATA_DIR) + "png_errors/" + name));
        EXPECT_EQ(f.Class, cls);
        EXPECT_EQ(f.Message, ExpectedMessages.at(cls) + suffix);
        ++count;
        ++classes[cls];
    }
    EXPECT_GE(count, 30);
    EXPECT_EQ(classes.size(), 14u); // every load error class is covered
}

TEST(PngErrors, OperationsWithoutHeaderOrOnBadArgumentsRaise) {
    TPngImage image;
    Failure f = Catch([&] { image.HeaderChunk(); });
    EXPECT_EQ(f.Class, "EPNGHeaderNotPresent");
    EXPECT_EQ(f.Message, ExpectedMessages.at("EPNGHeaderNotPresent"));
    EXPECT_EQ(image.Width(), 0u);

    Load(image, File({Ihdr(2, 2, 8, 3), Chunk("PLTE", {1, 2, 3, 4, 5, 6}), Chunk("IDAT", Deflate(Rows({{0, 1}, {1, 0}})))}));
    for (auto size : {std::make_pair(0, 5), std::make_pair(5, 0), std::make_pair(-1, 1)}) {
        f = Catch([&] { image.Resize(size.first, size.second); });
        EXPECT_EQ(f.Class, "EPNGInvalidNewSize");
        EXPECT_EQ(f.Message, ExpectedMessages.at("EPNGInvalidNewSize"));
    }
    TChunkPLTE* plte = image.ChunkList.ItemFromClass<TChunkPLTE>();
    ASSERT_NE(plte, nullptr);
    EXPECT_EQ(plte->PaletteEntry(1).rgbRed, 4);
    f = Catch([&] { plte->PaletteEntry(2); });
    EXPECT_EQ(f.Class, "EPngError");
    EXPECT_EQ(f.Message, "There is no such palette entry.");
    f = Catch([&] { plte->CopyChunk(*image.ChunkList.Item(0)); });
    EXPECT_EQ(f.Class, "EPngError");
    EXPECT_EQ(f.Message, "The chunks must be compatible to be assigned.");
}

TEST(PngErrors, ZlibCodeTexts) {
    const std::pair<int, const char*> cases[] = {{-6, "incompatible version (-6)"}, {-5, "buffer error (-5)"},
                                                 {-4, "insufficient memory (-4)"},  {-3, "data error (-3)"},
                                                 {-2, "stream error (-2)"},         {-1, "file error (-1)"},
                                                 {0, "(0)"},                        {1, "stream end (1)"},
                                                 {2, "need dictionary (2)"}};
    for (auto& c : cases) EXPECT_EQ(PngZlibCodeText(c.first), c.second);
}

TEST(PngChunks, ChunkListKeepsUnknownAncillaryDropsChrmAndLateIdat) {
    Bytes data = Deflate(RgbaRows());
    TPngImage image;
    Load(image, File({Ihdr(4, 4, 8, 6), Chunk("iCCP", Text("icc")), Chunk("cHRM", Bytes(32, 1)), Chunk("IDAT", data),
                      Chunk("tEXt", Text("k\0v")), Chunk("IDAT", Text("garbage"))}));
    std::vector<std::string> types;
    for (size_t i = 0; i < image.ChunkList.Count(); ++i) types.push_back(image.ChunkList.Item(i)->ChunkType());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "iCCP", "IDAT", "tEXt", "IEND"}));
    EXPECT_STREQ(image.ChunkList.Item(1)->ChunkTypeName(), "");
    EXPECT_EQ(image.ChunkList.Item(1)->BodySize(), 3u);
}

TEST(PngChunks, ChunkClassesNameTheirType) {
    TPngImage image;
    TChunk generic(&image);
    TChunkgAMA gama(&image);
    TChunkzTXt ztxt(&image);
    TChunkIHDR ihdr(&image);
    EXPECT_EQ(generic.ChunkType(), "");
    EXPECT_EQ(gama.ChunkType(), "gAMA");
    EXPECT_EQ(ztxt.ChunkType(), "zTXt");
    EXPECT_EQ(ihdr.ChunkType(), "IHDR");
    EXPECT_EQ(gama.GammaValue(), 1u); // a new gAMA holds the value 1
    EXPECT_NE(dynamic_cast<TChunktEXt*>(&ztxt), nullptr);
}

TEST(PngChunks, WidthLimitIs65535) {
    Bytes one = Deflate(Rows({Bytes(65535 / 8 + 1, 0)}));
    TPngImage image;
    Load(image, File({Ihdr(65535, 1, 1, 0), Chunk("IDAT", one)}));
    EXPECT_EQ(image.Width(), 65535u);
    EXPECT_EQ(LoadFailure(File({Ihdr(65536, 1, 1, 0), Chunk("IDAT", one)})).Class, "EPNGSizeExceeds");
}

TEST(PngChunks, GammaTables) {
    struct Case {
        uint32_t Value;
        int In, Out;
    } cases[] = {{45454, 128, 128}, {45454, 1, 1}, {100000, 128, 186}, {100000, 0, 0}, {100000, 255, 255}};
    for (const Case& c : cases) {
        TPngImage image;
        image.SetGamma(c.Value);
        EXPECT_EQ(image.GammaTable[c.In], c.Out) << c.Value << " " << c.In;
    }
    TPngImage identity;
    identity.SetGamma(45454);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(identity.GammaTable[i], i);
    TPngImage unchanged;
    unchanged.SetGamma(100000);
    unchanged.SetGamma(0);
    EXPECT_EQ(unchanged.GammaTable[128], 186);
}

TEST(PngChunks, TextChunksAreBounded) {
    std::string longText(300, 'x');
    for (int i = 0; i < 300; ++i) longText[size_t(i)] = char('a' + i % 26);
    Bytes z = Text(std::string("Comment\0\0", 9));
    Bytes packed = Deflate(Text(longText));
    z.insert(z.end(), packed.begin(), packed.end());
    TPngImage image;
    Load(image, File({Ihdr(4, 4, 8, 6), Chunk("tEXt", Text("nozerobyte")), Chunk("zTXt", z),
                      Chunk("zTXt", Text("keyonly")), Chunk("IDAT", Deflate(RgbaRows()))}));
    auto* text = dynamic_cast<TChunktEXt*>(image.ChunkList.Item(1));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Keyword, "nozerobyte");
    EXPECT_EQ(text->Text, "");
    auto* ztxt = dynamic_cast<TChunkzTXt*>(image.ChunkList.Item(2));
    ASSERT_NE(ztxt, nullptr);
    EXPECT_EQ(ztxt->Keyword, "Comment");
    EXPECT_EQ(ztxt->Text, longText);
    auto* bare = dynamic_cast<TChunkzTXt*>(image.ChunkList.Item(3));
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->Keyword, "keyonly");
    EXPECT_EQ(bare->Text, "");
}

TEST(PngDecode, EveryFilterTypeDecodesToTheSamePixels) {
    TPngImage plain;
    Load(plain, File({Ihdr(4, 4, 8, 6), Chunk("IDAT", Deflate(RgbaRows()))}));
    std::vector<uint8_t> expected = plain.ExportRGBA();
    EXPECT_EQ(Pixel(expected, 4, 3, 2), (std::vector<uint8_t>{111 + 22, 127, 100, 182}));
    for (uint8_t filter = 1; filter <= 4; ++filter) {
        TPngImage image;
        Load(image, File({Ihdr(4, 4, 8, 6), Chunk("IDAT", Deflate(FilterRows(RgbaPixels(), 4, filter)))}));
        EXPECT_EQ(image.ExportRGBA(), expected) << "filter " << int(filter);
    }
    // An unknown filter type leaves the row as it is.
    TPngImage seven;
    Load(seven, File({Ihdr(4, 4, 8, 6), Chunk("IDAT", Deflate(Rows(RgbaPixels(), 7)))}));
    EXPECT_EQ(seven.ExportRGBA(), expected);
}

TEST(PngDecode, ThreeIdatChunksDecodeAsOneAndAFourthAfterTextIsIgnored) {
    Bytes data = Deflate(FilterRows(RgbaPixels(), 4, 4));
    TPngImage one, three;
    Load(one, File({Ihdr(4, 4, 8, 6), Chunk("IDAT", data)}));
    long a = long(data.size() / 3), b = long(2 * data.size() / 3);
    Load(three, File({Ihdr(4, 4, 8, 6), Chunk("IDAT", Bytes(data.begin(), data.begin() + a)),
                      Chunk("IDAT", Bytes(data.begin() + a, data.begin() + b)), Chunk("IDAT", Bytes(data.begin() + b, data.end())),
                      Chunk("tEXt", Text("a\0b")), Chunk("IDAT", Text("ignored"))}));
    EXPECT_EQ(one.ExportRGBA(), three.ExportRGBA());
    // A wrong CRC on the middle chunk is found when the reader moves on to the third.
    EXPECT_EQ(LoadFailure(File({Ihdr(4, 4, 8, 6), Chunk("IDAT", Bytes(data.begin(), data.begin() + a)),
                                Chunk("IDAT", Bytes(data.begin() + a, data.begin() + b), true),
                                Chunk("IDAT", Bytes(data.begin() + b, data.end()))}))
                  .Class,
              "EPngInvalidCRC");
}

TEST(PngDecode, Adam7MatchesPlainForEveryWidth) {
    for (int w : {1, 2, 3, 5, 8, 9}) {
        std::vector<Bytes> pixels = RgbaPixels(w);
        TPngImage plain, interlaced;
        Load(plain, File({Ihdr(uint32_t(w), 4, 8, 6), Chunk("IDAT", Deflate(Rows(pixels)))}));
        Load(interlaced, File({Ihdr(uint32_t(w), 4, 8, 6, 1), Chunk("IDAT", Deflate(Adam7Rows(pixels, 4, 1)))}));
        EXPECT_EQ(plain.ExportRGBA(), interlaced.ExportRGBA()) << "width " << w;
    }
}

TEST(PngDecode, GreyLevelsOfEveryDepthSpanBlackToWhite) {
    struct Case {
        uint8_t Depth;
        Bytes Row; // the four levels 0, 1/3, 2/3, 1 (where the depth has them)
        std::vector<uint8_t> Expected;
    } cases[] = {
        {1, {0x50}, {0, 255, 0, 255}},         // 0 1 0 1
        {2, {0x1B}, {0, 85, 170, 255}},        // 0 1 2 3
        {4, {0x05, 0xAF}, {0, 85, 170, 255}},  // 0 5 10 15
        {8, {0, 85, 170, 255}, {0, 85, 170, 255}},
        {16, {0, 9, 85, 1, 170, 2, 255, 255}, {0, 85, 170, 255}},
    };
    for (const Case& c : cases) {
        TPngImage image;
        Load(image, File({Ihdr(4, 1, c.Depth, 0), Chunk("IDAT", Deflate(Rows({c.Row})))}));
        std::vector<uint8_t> rgba = image.ExportRGBA();
        for (uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(Pixel(rgba, 4, x, 0), (std::vector<uint8_t>{c.Expected[x], c.Expected[x], c.Expected[x], 255}))
                << "depth " << int(c.Depth) << " x " << x;
    }
}

TEST(PngDecode, PaletteTransparencyKinds) {
    Bytes plte = {0, 0, 0, 255, 0, 0, 0, 255, 0};
    struct Case {
        Bytes Trns;
        TPNGTransparencyKind Kind;
    } cases[] = {
        {{}, ptmNone},
        {{255, 0}, ptmBit},        // one fully transparent entry, the rest opaque: a colour key
        {{128}, ptmPartial},       // one partly transparent entry: blended, black stays visible
        {{0, 128}, ptmPartial},    // two entries not opaque
        {{255, 255, 255}, ptmPartial},
    };
    for (const Case& c : cases) {
        TPngImage image;
        if (c.Trns.empty())
            Load(image, File({Ihdr(3, 1, 8, 3), Chunk("PLTE", plte), Chunk("IDAT", Deflate(Rows({{0, 1, 2}})))}));
        else
            Load(image, File({Ihdr(3, 1, 8, 3), Chunk("PLTE", plte), Chunk("tRNS", c.Trns),
                              Chunk("IDAT", Deflate(Rows({{0, 1, 2}})))}));
        EXPECT_EQ(image.TransparencyKind(), c.Kind) << c.Trns.size();
    }
}

TEST(PngDecode, ShortGreyOrRgbTrnsIsIgnored) {
    TPngImage grey, rgb;
    Load(grey, File({Ihdr(4, 1, 8, 0), Chunk("tRNS", {7}), Chunk("IDAT", Deflate(Rows({{1, 2, 3, 4}})))}));
    EXPECT_EQ(grey.TransparencyKind(), ptmNone);
    Load(rgb, File({Ihdr(1, 1, 8, 2), Chunk("tRNS", {0, 1, 0, 2}), Chunk("IDAT", Deflate(Rows({{1, 2, 3}})))}));
    EXPECT_EQ(rgb.TransparencyKind(), ptmNone);
    TPngImage keyed;
    Load(keyed, File({Ihdr(1, 1, 8, 2), Chunk("tRNS", {0, 10, 0, 20, 0, 30}), Chunk("IDAT", Deflate(Rows({{1, 2, 3}})))}));
    EXPECT_EQ(keyed.TransparencyKind(), ptmBit);
    EXPECT_EQ(keyed.TransparentColor(), PngRGB(10, 20, 30));
}

TEST(PngDecode, LargeSingleIdatIsReadToItsEndBeforeItsCrc) {
    // A stored zlib stream whose final empty block and checksum lie beyond the last full 65535-byte read, so
    // the rows are complete before the chunk's body has been read through.
    const uint32_t w = 800, h = 60;
    Bytes raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (uint32_t x = 0; x < w * 4; ++x) raw.push_back(uint8_t(x * 7 + y));
    }
    const Bytes emptyBlock = {0, 0, 0, 0xFF, 0xFF};
    size_t dataBlocks = (raw.size() + 65534) / 65535;
    size_t base = 2 + raw.size() + 5 * dataBlocks + 5 + 4;
    size_t padding = 0;
    while ((base + 5 * padding) % 65535 == 0 || (base + 5 * padding) % 65535 > 9) ++padding;
    Bytes z = {0x78, 0x01};
    for (size_t i = 0; i < padding; ++i) z.insert(z.end(), emptyBlock.begin(), emptyBlock.end());
    for (size_t pos = 0; pos < raw.size(); pos += 65535) {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        z.insert(z.end(), {0, uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
        z.insert(z.end(), raw.begin() + long(pos), raw.begin() + long(pos + n));
    }
    z.insert(z.end(), {1, 0, 0, 0xFF, 0xFF});
    PutBE32(z, uint32_t(adler32(adler32(0, nullptr, 0), raw.data(), uInt(raw.size()))));
    ASSERT_EQ(z.size() % 65535 > 0 && z.size() % 65535 <= 9, true);
    TPngImage image;
    Load(image, File({Ihdr(w, h, 8, 6), Chunk("IDAT", z), Chunk("tEXt", Text("after\0image"))}));
    EXPECT_EQ(image.ChunkList.Count(), 4u);
    EXPECT_EQ(Pixel(image.ExportRGBA(), w, 5, h - 1)[0], uint8_t(20 * 7 + h - 1));
}

TEST(PngDecode, TruncatedCompressedDataLeavesRowsEmpty) {
    // The compressed stream ends early: no error, the rows not decoded stay zero.
    Bytes oneRow = Deflate(Rows({{9, 9, 9, 200}}));
    TPngImage image;
    Load(image, File({Ihdr(1, 3, 8, 6), Chunk("IDAT", oneRow)}));
    std::vector<uint8_t> rgba = image.ExportRGBA();
    EXPECT_EQ(Pixel(rgba, 1, 0, 0), (std::vector<uint8_t>{9, 9, 9, 200}));
    EXPECT_EQ(Pixel(rgba, 1, 0, 2), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(PngDecode, ExportLargerThanA32BitSizeFailsInsteadOfWrapping) {
    // A 1-bit store of 32768 x 32769 pixels takes 128 MB, but four bytes a pixel are 2^32 + 2^17 bytes:
    // counted in 32 bits that is 128 kB, and the export would write 4 GB into it.
    // A 32-bit process does not always find 128 MB in one piece (under an emulator it rarely does); the
    // store is then refused by the load already, and the export cannot be tried.
    TPngImage image;
    Failure load = Catch([&] { Load(image, File({Ihdr(32768, 32769, 1, 0), Chunk("IDAT", Deflate({}))})); });
    if (load.Class == "EPNGOutMemory") GTEST_SKIP() << "no room for the 128 MB store in this process";
    ASSERT_EQ(load.Class, "");
    EXPECT_EQ(Catch([&] { image.ExportRGBA(); }).Class, "EPNGOutMemory");
}

TEST(PngDecode, AssignCopiesTheImage) {
    TPngImage source, copy;
    Load(source, File({Ihdr(3, 1, 8, 3), Chunk("PLTE", {0, 0, 0, 255, 0, 0, 0, 255, 0}), Chunk("tRNS", {255, 0}),
                       Chunk("IDAT", Deflate(Rows({{0, 1, 2}})))}));
    copy.Assign(source);
    EXPECT_EQ(copy.ExportRGBA(), source.ExportRGBA());
    EXPECT_EQ(copy.TransparencyKind(), ptmBit);
    EXPECT_EQ(copy.TransparentColor(), PngRGB(255, 0, 0));
}

TEST(PngDecode, ResizeKeepsTheOverlap) {
    TPngImage image;
    Load(image, File({Ihdr(4, 4, 8, 6), Chunk("IDAT", Deflate(RgbaRows()))}));
    std::vector<uint8_t> before = image.ExportRGBA();
    image.Resize(2, 6);
    std::vector<uint8_t> after = image.ExportRGBA();
    EXPECT_EQ(image.Width(), 2u);
    EXPECT_EQ(Pixel(after, 2, 1, 3), Pixel(before, 4, 1, 3));
    EXPECT_EQ(Pixel(after, 2, 0, 5)[3], 255); // new rows are opaque
}

TEST(PngPixels, ReadAndWritePixelsOfEveryStoreKind) {
    struct Case {
        const char* Name;
        Bytes File;
        TPngColor Written, ReadBack; // writing a colour, then reading it back
    } cases[] = {
        {"grey 1", File({Ihdr(3, 2, 1, 0), Chunk("IDAT", Deflate(Rows({{0}, {0}})))}), PngRGB(200, 200, 200), PngRGB(255, 255, 255)},
        {"grey 2", File({Ihdr(3, 2, 2, 0), Chunk("IDAT", Deflate(Rows({{0}, {0}})))}), PngRGB(100, 90, 80), PngRGB(85, 85, 85)},
        {"grey 4", File({Ihdr(3, 2, 4, 0), Chunk("IDAT", Deflate(Rows({{0, 0}, {0, 0}})))}), PngRGB(34, 34, 34), PngRGB(34, 34, 34)},
        {"grey 16", File({Ihdr(3, 2, 16, 0), Chunk("IDAT", Deflate(Rows({Bytes(6), Bytes(6)})))}), PngRGB(7, 7, 7), PngRGB(7, 7, 7)},
        {"palette 2", File({Ihdr(3, 2, 2, 3), Chunk("PLTE", {0, 0, 0, 250, 0, 0, 0, 0, 250}), Chunk("IDAT", Deflate(Rows({{0}, {0}})))}),
         PngRGB(10, 0, 200), PngRGB(0, 0, 250)},
        {"grey alpha", File({Ihdr(3, 2, 8, 4), Chunk("IDAT", Deflate(Rows({Bytes(6), Bytes(6)})))}), PngRGB(77, 1, 2), PngRGB(77, 77, 77)},
        {"rgb", File({Ihdr(3, 2, 8, 2), Chunk("IDAT", Deflate(Rows({Bytes(9), Bytes(9)})))}), PngRGB(1, 2, 3), PngRGB(1, 2, 3)},
        {"rgba 16", File({Ihdr(3, 2, 16, 6), Chunk("IDAT", Deflate(Rows({Bytes(24), Bytes(24)})))}), PngRGB(9, 8, 7), PngRGB(9, 8, 7)},
    };
    for (const Case& c : cases) {
        TPngImage image;
        Load(image, c.File);
        image.WritePixel(1, 1, c.Written);
        EXPECT_EQ(image.ReadPixel(1, 1), c.ReadBack) << c.Name;
        EXPECT_EQ(image.ReadPixel(0, 1), 0u) << c.Name;       // neighbours untouched
        EXPECT_EQ(image.ReadPixel(2, 1), 0u) << c.Name;
        EXPECT_EQ(image.ReadPixel(1, 0), 0u) << c.Name;
        image.WritePixel(3, 0, c.Written);                      // outside: ignored
        EXPECT_EQ(image.ReadPixel(3, 0), 0u) << c.Name;
        EXPECT_EQ(image.ReadPixel(-1, 0), 0u) << c.Name;
    }
}

TEST(PngChunks, CompressedTextsCannotInflateWithoutBound) {
    // Each zTXt holds 4 MiB of blanks in a few kilobytes; together they would ask for far more than the
    // texts of one image may take, so the later ones load without their text.
    Bytes body = Text(std::string("Big\0\0", 5));
    Bytes packed = Deflate(Bytes(4u << 20, ' '), 9);
    body.insert(body.end(), packed.begin(), packed.end());
    Bytes ztxt = Chunk("zTXt", body);
    Bytes file = Signature();
    Bytes head = Ihdr(1, 1, 8, 0);
    file.insert(file.end(), head.begin(), head.end());
    for (int i = 0; i < 6; ++i) file.insert(file.end(), ztxt.begin(), ztxt.end());
    for (const Bytes& c : {Chunk("IDAT", Deflate(Rows({{0}}))), Chunk("IEND", {})}) file.insert(file.end(), c.begin(), c.end());
    TPngImage image;
    Load(image, file);
    size_t whole = 0, empty = 0;
    for (size_t i = 0; i < image.ChunkList.Count(); ++i)
        if (auto* z = dynamic_cast<TChunkzTXt*>(image.ChunkList.Item(i))) {
            whole += z->Text.size() == (4u << 20);
            empty += z->Text.empty();
        }
    EXPECT_GE(whole, 1u);
    EXPECT_GE(empty, 1u);
    EXPECT_EQ(whole + empty, 6u);
    // The next load starts with the full allowance again.
    Load(image, file);
    EXPECT_EQ(dynamic_cast<TChunkzTXt*>(image.ChunkList.Item(1))->Text.size(), 4u << 20);
}
