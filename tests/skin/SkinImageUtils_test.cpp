// Skin drawing primitives checked on the pixels of memory bitmaps.
#include <gtest/gtest.h>

#include "SkinImageUtils.h"
#include "SkinTestKit.h"

namespace {

// A 9-grid frame of 2 x 2 blocks: corners a c g i, edges b d f h, centre e; frame 2 in capitals.
const TLegend Legend = {{'a', 0x000011}, {'b', 0x000022}, {'c', 0x000033}, {'d', 0x000044}, {'e', 0x000055},
                        {'f', 0x000066}, {'g', 0x000077}, {'h', 0x000088}, {'i', 0x000099}, {'z', 0x0000AA},
                        {'A', 0x110000}, {'B', 0x220000}, {'C', 0x330000}, {'D', 0x440000}, {'E', 0x550000},
                        {'F', 0x660000}, {'G', 0x770000}, {'H', 0x880000}, {'I', 0x990000}, {'Z', 0xAA0000},
                        {'m', SkinTransparentColor}, {'.', 0x00C000}};

const TCharMap Grid1 = {"aabbcc", "aabbcc", "ddeeff", "ddeeff", "gghhii", "gghhii"};
const TCharMap Grid2 = {"AABBCC", "AABBCC", "DDEEFF", "DDEEFF", "GGHHII", "GGHHII"};
// The centre holds a pattern, so tiling and stretching differ.
const TCharMap Patterned1 = {"aabbcc", "aabbcc", "ddezff", "ddzzff", "gghhii", "gghhii"};
const TCharMap Patterned2 = {"AABBCC", "AABBCC", "DDEZFF", "DDZZFF", "GGHHII", "GGHHII"};

TCharMap SideBySide(const TCharMap& a, const TCharMap& b) {
  TCharMap r;
  for (size_t y = 0; y < a.size(); ++y) r.push_back(a[y] + b[y]);
  return r;
}
TCharMap Stacked(const TCharMap& a, const TCharMap& b) {
  TCharMap r = a;
  r.insert(r.end(), b.begin(), b.end());
  return r;
}

const TSkinMargins Margins2{2, 2, 2, 2};

struct BuildCase {
  const char* Name;
  TCharMap Image;
  bool Vertical;
  int Tile, FrameCount, Frame;
  int W, H;
  TSkinMargins Margins;
  TCharMap Expected;
};

TEST(SkinImageUtils, BuildSkinBitmapComposesTheNineGrid) {
  const BuildCase cases[] = {
      {"side by side, frame 2 stretched", SideBySide(Grid1, Grid2), false, 0, 2, 2, 10, 7, Margins2,
       {"AABBBBBBCC", "AABBBBBBCC", "DDEEEEEEFF", "DDEEEEEEFF", "DDEEEEEEFF", "GGHHHHHHII", "GGHHHHHHII"}},
      {"stacked, frame 1", Stacked(Grid1, Grid2), true, 0, 2, 1, 8, 6, Margins2,
       {"aabbbbcc", "aabbbbcc", "ddeeeeff", "ddeeeeff", "gghhhhii", "gghhhhii"}},
      {"centre stretched", SideBySide(Patterned1, Patterned2), false, 0, 2, 1, 10, 8, Margins2,
       {"aabbbbbbcc", "aabbbbbbcc", "ddeeezzzff", "ddeeezzzff", "ddzzzzzzff", "ddzzzzzzff", "gghhhhhhii",
        "gghhhhhhii"}},
      {"centre tiled, the last tile cut by the right edge", SideBySide(Patterned1, Patterned2), false, 1, 2, 2, 9,
       8, Margins2,
       {"AABBBBBCC", "AABBBBBCC", "DDEZEZEFF", "DDZZZZZFF", "DDEZEZEFF", "DDZZZZZFF", "GGHHHHHII", "GGHHHHHII"}},
      {"narrower than both margins: no side pieces", Grid1, false, 0, 1, 1, 3, 6, Margins2,
       {"abc", "abc", "def", "def", "ghi", "ghi"}},
      {"lower than both margins: no top or bottom pieces", Grid1, false, 0, 1, 1, 6, 3, Margins2,
       {"aabbcc", "ddeeff", "gghhii"}},
      {"no margins: the whole frame stretched", Grid1, false, 0, 1, 1, 3, 3, TSkinMargins{},
       {"abc", "def", "ghi"}},
      {"frame count 0 is one frame", Grid1, false, 0, 0, 1, 6, 6, Margins2, Grid1},
      {"frame beyond the count is the last", SideBySide(Grid1, Grid2), false, 0, 2, 7, 6, 6, Margins2, Grid2},
  };
  for (const BuildCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto image = BitmapFromMap(c.Image, Legend);
    std::unique_ptr<TBitmap> result(
        BuildSkinBitmap(RECT{5, 5, 5 + c.W, 5 + c.H}, image.get(), c.Margins, c.Vertical, c.Tile, c.FrameCount, c.Frame));
    ASSERT_EQ(result->GetWidth(), c.W);
    ASSERT_EQ(result->GetHeight(), c.H);
    EXPECT_EQ(MapOf(result.get(), Legend), c.Expected);
  }
}

TEST(SkinImageUtils, BuildSkinBitmapOfAnEmptyImageOrRectFails) {
  TBitmap empty;
  std::unique_ptr<TBitmap> a(BuildSkinBitmap(RECT{0, 0, 4, 4}, &empty, Margins2, false, 0, 1, 1));
  EXPECT_EQ(a->GetWidth(), 4);
  auto image = BitmapFromMap(Grid1, Legend);
  std::unique_ptr<TBitmap> b(BuildSkinBitmap(RECT{3, 3, 3, 9}, image.get(), Margins2, false, 1, 1, 1));
  EXPECT_TRUE(b->Empty());
  std::unique_ptr<TBitmap> c(BuildSkinBitmap(RECT{3, 3, 1, 1}, image.get(), Margins2, false, 1, 1, 1));
  EXPECT_TRUE(c->Empty());
}

class CanvasTest : public testing::Test {
protected:
  void SetUp() override { canvas = SolidBitmap(10, 8, Legend.at('.')); }
  HDC Dc() { return canvas->Canvas()->GetHandle(); }
  TCharMap Map() { return MapOf(canvas.get(), Legend); }
  std::unique_ptr<TBitmap> canvas;
};

TEST_F(CanvasTest, DrawSkinImageLeavesMagentaTransparent) {
  const TCharMap frame = {"aabbcc", "aabbcc", "ddmmff", "ddmmff", "gghhii", "gghhii"};
  auto image = BitmapFromMap(frame, Legend);
  DrawSkinImage(Dc(), RECT{1, 1, 9, 7}, image.get(), false, 0, true, 1, 1, Margins2);
  EXPECT_EQ(Map(), (TCharMap{"..........", ".aabbbbcc.", ".aabbbbcc.", ".dd....ff.", ".dd....ff.", ".gghhhhii.",
                             ".gghhhhii.", ".........."}));
}

TEST_F(CanvasTest, DrawSkinImageOpaqueCopiesMagenta) {
  const TCharMap frame = {"mm", "mm"};
  auto image = BitmapFromMap(frame, Legend);
  DrawSkinImage(Dc(), RECT{0, 0, 2, 1}, image.get(), false, 0, false, 1, 1, TSkinMargins{});
  EXPECT_EQ(Map()[0], "mm........");
}

TEST_F(CanvasTest, DrawSkinImageIntoAnEmptyOrInvertedRectDrawsNothing) {
  auto image = BitmapFromMap(Grid1, Legend);
  for (RECT r : {RECT{4, 1, 4, 7}, RECT{1, 4, 9, 4}, RECT{6, 1, 2, 7}, RECT{1, 6, 9, 2}}) {
    DrawSkinImage(Dc(), r, image.get(), false, 1, true, 1, 1, Margins2);
    DrawSkinImage(Dc(), r, image.get(), false, 0, false, 1, 1, Margins2);
  }
  EXPECT_EQ(Map(), TCharMap(8, ".........."));
}

TEST_F(CanvasTest, DrawSkinGlyphCentresTheFrameAtItsSize) {
  auto image = BitmapFromMap({"aaBm", "aaBB"}, Legend);
  DrawSkinGlyph(Dc(), RECT{0, 0, 7, 6}, image.get(), true, 2, 2);  // x = (7 - 2) div 2, y = (6 - 2) div 2
  DrawSkinGlyph(Dc(), RECT{8, 0, 9, 3}, image.get(), false, 2, 1);  // (1 - 2) div 2 and (3 - 2) div 2 are 0
  EXPECT_EQ(Map(), (TCharMap{"........aa", "........aa", "..B.......", "..BB......", "..........", "..........",
                             "..........", ".........."}));
}

TEST_F(CanvasTest, DrawSkinFrameStretchesOneFrame) {
  auto image = BitmapFromMap({"aB", "aB"}, Legend);
  DrawSkinFrame(Dc(), RECT{2, 2, 6, 4}, image.get(), false, 2, 2);
  EXPECT_EQ(Map()[2], "..BBBB....");
  EXPECT_EQ(Map()[3], "..BBBB....");
  EXPECT_EQ(Map()[4], "..........");
}

TEST_F(CanvasTest, DrawSkin3SliceKeepsTheEndsAndStretchesTheMiddle) {
  auto image = BitmapFromMap({"aabbcc", "ddeeff"}, Legend);
  DrawSkin3Slice(Dc(), RECT{0, 0, 10, 2}, image.get(), false, 1, 1, Margins2);
  EXPECT_EQ(Map()[0], "aabbbbbbcc");
  EXPECT_EQ(Map()[1], "ddeeeeeeff");
  // A frame wider than the rect is stretched whole.
  DrawSkin3Slice(Dc(), RECT{0, 4, 3, 5}, image.get(), false, 1, 1, Margins2);
  EXPECT_EQ(Map()[4], "abc.......");
}

TEST_F(CanvasTest, DrawSkinStripRepeatsTheMiddlePiece) {
  auto image = BitmapFromMap({"aabzcc"}, Legend);
  DrawSkinStrip(canvas->Canvas(), RECT{0, 0, 10, 2}, image.get(), false, false, 1, 1, Margins2);
  DrawSkinStrip(canvas->Canvas(), RECT{0, 3, 9, 4}, image.get(), false, false, 1, 1, Margins2);
  EXPECT_EQ(Map()[0], "aabzbzbzcc");
  EXPECT_EQ(Map()[1], "aabzbzbzcc");
  EXPECT_EQ(Map()[3], "aabzbzbcc.");
}

TEST_F(CanvasTest, DrawSkinStripWithoutAMiddleEnds) {
  auto image = BitmapFromMap({"aacc"}, Legend);
  DrawSkinStrip(canvas->Canvas(), RECT{0, 0, 8, 1}, image.get(), false, false, 1, 1, Margins2);
  EXPECT_EQ(Map()[0].substr(0, 2), "aa");
  EXPECT_EQ(Map()[0].substr(6, 2), "cc");
}

TEST_F(CanvasTest, DrawTransparentCopiesTheTopLeftPartOnly) {
  auto image = BitmapFromMap({"amb", "mam", "bbb"}, Legend);
  DrawTransparent(Dc(), RECT{4, 4, 6, 6}, image.get(), SkinTransparentColor);
  EXPECT_EQ(Map()[4], "....a.....");
  EXPECT_EQ(Map()[5], ".....a....");
  EXPECT_EQ(Map()[6], "..........");
}

// ---- colours and gradients ----

struct MixCase {
  TColor A, B;
  int W;
  COLORREF Expected;
};

TEST(SkinImageUtils, MixColorsWeighsByHundredOrThousand) {
  const MixCase cases[] = {
      {clRed, clBlue, 150, RGB(38, 0, 217)},   // 15 %: (255 x 150 + 500) div 1000
      {clRed, clBlue, 100, RGB(26, 0, 230)},   // 10 %
      {clRed, clBlue, 99, RGB(252, 0, 3)},     // 99 %
      {clWhite, clBlack, 50, RGB(128, 128, 128)},
      {clWhite, clBlack, 0, RGB(0, 0, 0)},
  };
  for (const MixCase& c : cases) EXPECT_EQ(COLORREF(MixColors(c.A, c.B, c.W)), c.Expected) << c.W;
}

TEST(SkinImageUtils, MixColorsResolvesSystemColoursFirst) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto mix = [](int a, int b) { return (a * 60 + b * 40 + 50) / 100; };
  EXPECT_EQ(COLORREF(MixColors(clBtnFace, clWhite, 60)),
            RGB(mix(GetRValue(face), 255), mix(GetGValue(face), 255), mix(GetBValue(face), 255)));
}

TEST(SkinImageUtils, ColorSaturation) {
  EXPECT_EQ(ColorSaturation(TColor(RGB(100, 50, 50))), 200);  // all channels below 160
  EXPECT_EQ(ColorSaturation(TColor(RGB(200, 100, 100))), 128);  // 127.5 rounds to even
  EXPECT_EQ(ColorSaturation(TColor(RGB(255, 255, 255))), 0);
  EXPECT_EQ(ColorSaturation(TColor(RGB(0, 0, 255))), 255);
}

std::vector<int> Reds(int slot) {
  std::vector<int> r;
  for (TColor c : GradientColors(slot)) r.push_back(GetRValue(COLORREF(c)));
  return r;
}

TEST(SkinImageUtils, GradientsRoundPerChannel) {
  EXPECT_EQ(Reds(GetGradient(1, clBlack, clWhite)), std::vector<int>({127}));
  EXPECT_EQ(COLORREF(GradientColors(GetGradient(1, clBlack, clWhite))[0]), RGB(127, 127, 127));
  EXPECT_EQ(Reds(GetGradient(5, clBlack, clWhite)), (std::vector<int>{0, 64, 128, 191, 255}));
  // A falling channel truncates toward zero and misses the end colour by one.
  EXPECT_EQ(Reds(GetGradient(5, clWhite, clBlack)), (std::vector<int>{255, 192, 128, 65, 1}));
  EXPECT_THROW(GetGradient(0, clBlack, clWhite), Exception);
}

TEST(SkinImageUtils, GradientCacheReusesSlotsAndCyclesThroughSixteen) {
  const int slot = MakeGradient(7, TColor(RGB(1, 2, 3)), TColor(RGB(200, 201, 202)));
  EXPECT_EQ(GetGradient(7, TColor(RGB(1, 2, 3)), TColor(RGB(200, 201, 202))), slot);  // found, not rebuilt
  int last = slot;
  for (int i = 1; i <= 16; ++i) last = MakeGradient(3 + i, clBlack, clWhite);
  EXPECT_EQ(last, slot);  // the 17th gradient reuses the first one's slot
  EXPECT_EQ(FindGradient(7, TColor(RGB(1, 2, 3)), TColor(RGB(200, 201, 202))), -1);  // overwritten
}

TEST(SkinImageUtils, FillGradientFillsOnlyTheClippedLines) {
  auto b = SolidBitmap(2, 5, Legend.at('.'));
  HDC dc = b->Canvas()->GetHandle();
  FillGradient(dc, RECT{0, 0, 2, 5}, clBlack, true, clWhite);
  EXPECT_EQ(PixelAt(b.get(), 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(b.get(), 0, 1), RGB(64, 64, 64));
  EXPECT_EQ(PixelAt(b.get(), 1, 3), RGB(191, 191, 191));
  EXPECT_EQ(PixelAt(b.get(), 0, 4), RGB(255, 255, 255));

  auto h = SolidBitmap(5, 1, Legend.at('.'));
  HDC hdc = h->Canvas()->GetHandle();
  HRGN clip = CreateRectRgn(1, 0, 3, 1);
  SelectClipRgn(hdc, clip);
  FillGradient(hdc, RECT{0, 0, 5, 1}, clBlack, false, clWhite);
  SelectClipRgn(hdc, nullptr);
  DeleteObject(clip);
  EXPECT_EQ(PixelAt(h.get(), 0, 0), COLORREF(Legend.at('.')));
  EXPECT_EQ(PixelAt(h.get(), 1, 0), RGB(64, 64, 64));
  EXPECT_EQ(PixelAt(h.get(), 2, 0), RGB(128, 128, 128));
  EXPECT_EQ(PixelAt(h.get(), 3, 0), COLORREF(Legend.at('.')));
}

// ---- whole-bitmap transformations ----

struct TransformCase {
  const char* Name;
  void (*Transform)(TBitmap*);
  TCharMap Expected;
};

TEST(SkinImageUtils, MirrorFlipAndRotate) {
  const TCharMap source = {"abc", "def"};
  const TransformCase cases[] = {
      {"mirror", MirrorBitmap, {"cba", "fed"}},
      {"flip", FlipBitmap, {"def", "abc"}},
      {"rotate left", RotateBitmapLeft, {"cf", "be", "ad"}},
      {"rotate right", RotateBitmapRight, {"da", "eb", "fc"}},
  };
  for (const TransformCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto b = BitmapFromMap(source, Legend);
    c.Transform(b.get());
    EXPECT_EQ(MapOf(b.get(), Legend), c.Expected);
  }
}

TEST(SkinImageUtils, GrayAndRecolorMagenta) {
  auto b = BitmapFromMap({"xm", "ma"}, {{'x', TColor(RGB(30, 60, 90))}, {'m', SkinTransparentColor}, {'a', 0x000011}});
  RecolorMagenta(b.get(), TColor(RGB(1, 2, 3)));
  EXPECT_EQ(PixelAt(b.get(), 1, 0), RGB(1, 2, 3));
  EXPECT_EQ(PixelAt(b.get(), 0, 1), RGB(1, 2, 3));
  EXPECT_EQ(PixelAt(b.get(), 0, 0), RGB(30, 60, 90));
  GrayBitmap(b.get());
  EXPECT_EQ(PixelAt(b.get(), 0, 0), RGB(60, 60, 60));
  EXPECT_EQ(PixelAt(b.get(), 1, 1), RGB(5, 5, 5));  // (0x11 + 0 + 0) div 3
}

// ---- regions ----

TEST(SkinImageUtils, RegionFromBitmapLeavesOutTheToleratedColours) {
  auto b = BitmapFromMap({"mnoa", "aaaa"}, {{'m', TColor(RGB(255, 0, 255))},
                                           {'n', TColor(RGB(255, 1, 255))},
                                           {'o', TColor(RGB(254, 0, 255))},
                                           {'a', 0x000011}});
  HRGN rgn = RegionFromBitmap(b.get(), 10, 20, 1, 1, 1, SkinTransparentColor);
  ASSERT_NE(rgn, nullptr);
  EXPECT_FALSE(PtInRegion(rgn, 10, 20));  // magenta
  EXPECT_FALSE(PtInRegion(rgn, 11, 20));  // within the tolerance
  EXPECT_TRUE(PtInRegion(rgn, 12, 20));   // red below magenta's
  EXPECT_TRUE(PtInRegion(rgn, 13, 20));
  for (int x = 10; x < 14; ++x) EXPECT_TRUE(PtInRegion(rgn, x, 21));
  EXPECT_FALSE(PtInRegion(rgn, 14, 21));
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  DeleteObject(rgn);
}

TEST(SkinImageUtils, RegionFromBitmapBatchesManyRectangles) {
  // One rectangle per row, 2100 rows: more than one batch of 2000.
  TCharMap rows;
  for (int y = 0; y < 2100; ++y) rows.push_back(y % 2 ? "ma" : "am");
  auto b = BitmapFromMap(rows, {{'m', SkinTransparentColor}, {'a', 0x000011}});
  HRGN rgn = RegionFromBitmap(b.get(), 0, 0, 0, 0, 0, SkinTransparentColor);
  ASSERT_NE(rgn, nullptr);
  for (int y : {0, 1, 1999, 2000, 2001, 2099}) {
    SCOPED_TRACE(y);
    EXPECT_EQ(bool(PtInRegion(rgn, y % 2, y)), true);
    EXPECT_EQ(bool(PtInRegion(rgn, 1 - y % 2, y)), false);
  }
  DeleteObject(rgn);
}

TEST(SkinImageUtils, RegionOfAnAllTransparentBitmapIsEmpty) {
  auto b = SolidBitmap(3, 3, SkinTransparentColor);
  HRGN rgn = RegionFromBitmap(b.get(), 0, 0, 0, 0, 0, SkinTransparentColor);
  ASSERT_NE(rgn, nullptr);
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), NULLREGION);
  DeleteObject(rgn);
}

TEST(SkinImageUtils, TextHelpers) {
  EXPECT_EQ(AnsiToWide("Abc"), L"Abc");
  EXPECT_EQ(WideLeft(L"Abcdef", 3), L"Abc");
  EXPECT_EQ(WideLeft(L"Abcdef", -1), L"Abcdef");
  EXPECT_EQ(WideLeft(L"Ab", 5), L"Ab");
  EXPECT_EQ(MinInt(3, -2), -2);
}

TEST(SkinImageUtils, PlatformHelpersTolerateNothing) {
  EXPECT_EQ(FindVclControl(nullptr), nullptr);
  EXPECT_EQ(FindVclControl(GetDesktopWindow()), nullptr);  // not a window of the class library
  PaintParentBackground(nullptr, nullptr);                   // no control: nothing to paint
  SafeTrackMouseEvent(nullptr);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(SafeGetScrollBarInfo(nullptr, OBJID_HSCROLL, &info));
}

}  // namespace
