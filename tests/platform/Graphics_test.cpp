// Colours, drawing tools, the canvas, bitmaps in every pixel format, pictures with registered file
// formats, icons and image lists.
#include <gtest/gtest.h>

#include <algorithm>

#include "Graphics.h"

namespace {

TEST(Colors, SystemColoursResolveAndNamesRoundTrip) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_LT(clBtnFace, 0);  // system colours are negative
  EXPECT_EQ(ColorToRGB(clFuchsia), COLORREF(0xFF00FF));
  struct TCase {
    const char* Text;
    TColor Value;
    const char* Back;
  };
  const TCase cases[] = {{"clRed", clRed, "clRed"},         {"$00FF00", clLime, "clLime"},
                         {"16711935", clFuchsia, "clFuchsia"}, {"$00123456", 0x123456, "$00123456"},
                         {"clBtnFace", clBtnFace, "clBtnFace"}};
  for (const auto& c : cases) {
    EXPECT_EQ(StringToColor(c.Text), c.Value) << c.Text;
    EXPECT_EQ(ColorToString(c.Value), c.Back) << c.Text;
  }
  EXPECT_THROW(StringToColor("clPlaid"), EPropertyError);
}

TEST(Tools, ChangesAreReportedAndHandlesFollowTheAttributes) {
  TFont f;
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetName("Tahoma");
  f.SetHeight(-13);
  f.SetStyle(1u << fsBold);
  f.SetHeight(-13);  // unchanged: no notification
  EXPECT_EQ(changes, 3);
  LOGFONTA lf{};
  ASSERT_TRUE(GetObjectA(f.Handle(), sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_STREQ(lf.lfFaceName, "Tahoma");
  TFont copy;
  copy.Assign(&f);
  EXPECT_EQ(copy.GetName(), "Tahoma");
  EXPECT_EQ(copy.GetStyle(), 1u << fsBold);
  TBrush b;
  b.SetStyle(bsClear);
  b.SetColor(clRed);  // a colour makes a cleared brush solid again
  EXPECT_EQ(b.GetStyle(), bsSolid);
}

// Draws with the canvas on a bitmap of each format and reads the pixels back.
class BitmapFormats : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BitmapFormats, DrawSaveLoadKeepsThePixels) {
  TBitmap b;
  b.SetPixelFormat(GetParam());
  b.SetSize(9, 5);
  EXPECT_EQ(b.GetPixelFormat(), GetParam());
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clBlack);
  c->FillRect(RECT{0, 0, 9, 5});
  c->Brush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, 4, 2});
  EXPECT_EQ(c->GetPixel(0, 0), clWhite);
  EXPECT_EQ(c->GetPixel(3, 1), clWhite);
  EXPECT_EQ(c->GetPixel(4, 1), clBlack);
  EXPECT_EQ(c->GetPixel(8, 4), clBlack);
  auto bytes = b.SaveToBytes();
  TBitmap back;
  back.LoadFromBytes(bytes);
  EXPECT_EQ(back.GetWidth(), 9);
  EXPECT_EQ(back.GetHeight(), 5);
  EXPECT_EQ(back.GetPixelFormat(), GetParam() == pfDevice ? pf24bit : GetParam());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(back.Canvas()->GetPixel(x, y), c->GetPixel(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(AllFormats, BitmapFormats,
                         ::testing::Values(pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit));

TEST(Bitmap, ScanLinesAreTopRowFirst) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(2, 3);
  auto* row = static_cast<uint32_t*>(b.ScanLine(0));
  ASSERT_NE(row, nullptr);
  row[1] = 0x000000FF;  // blue in BGRA
  EXPECT_EQ(b.Canvas()->GetPixel(1, 0), clBlue);
  EXPECT_EQ(b.ScanLine(3), nullptr);
}

// Size and format set at once give what setting the format and then the size gives: the same format,
// size and picture (the old picture kept where the two overlap, white beyond).
TEST(Bitmap, SizeAndFormatAtOnceAreTheTwoStepsInOne) {
  struct {
    const char* Name;
    TPixelFormat From;
    int FromW, FromH;
    TPixelFormat To;
    int ToW, ToH;
  } cases[] = {
      {"a new bitmap", pfDevice, 0, 0, pf24bit, 5, 4},
      {"another format, wider and lower", pf32bit, 4, 4, pf24bit, 6, 3},
      {"the same format, smaller", pf24bit, 5, 5, pf24bit, 2, 3},
      {"nothing changes", pf24bit, 4, 4, pf24bit, 4, 4},
      {"pfCustom keeps the format", pf32bit, 3, 3, pfCustom, 4, 2},
      {"a negative size empties it", pf24bit, 3, 3, pf24bit, -2, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap once, twice;
    for (TBitmap* b : {&once, &twice}) {
      b->SetPixelFormat(c.From);
      b->SetSize(c.FromW, c.FromH);
      if (!b->Empty()) {
        b->Canvas()->SetPixel(0, 0, clRed);
        b->Canvas()->SetPixel(c.FromW - 1, c.FromH - 1, clBlue);
      }
    }
    once.SetSize(c.ToW, c.ToH, c.To);
    twice.SetPixelFormat(c.To);
    twice.SetSize(c.ToW, c.ToH);
    EXPECT_EQ(once.GetPixelFormat(), twice.GetPixelFormat());
    EXPECT_EQ(once.GetWidth(), std::max(c.ToW, 0));
    EXPECT_EQ(once.GetHeight(), twice.GetHeight());
    for (int y = 0; y < once.GetHeight(); ++y)
      for (int x = 0; x < once.GetWidth(); ++x)
        EXPECT_EQ(once.Canvas()->GetPixel(x, y), twice.Canvas()->GetPixel(x, y)) << x << "," << y;
  }
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 2);
  src.Canvas()->SetPixel(0, 0, clRed);
  src.Canvas()->SetPixel(1, 0, clLime);
  src.Canvas()->SetPixel(0, 1, clFuchsia);
  src.Canvas()->SetPixel(1, 1, clFuchsia);
  EXPECT_EQ(src.GetTransparentColor(), clFuchsia);
  src.SetTransparent(true);
  TBitmap dst;
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(2, 2);
  dst.Canvas()->Brush()->SetColor(clNavy);
  dst.Canvas()->FillRect(RECT{0, 0, 2, 2});
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(dst.Canvas()->GetPixel(0, 0), clRed);
  EXPECT_EQ(dst.Canvas()->GetPixel(1, 0), clLime);
  EXPECT_EQ(dst.Canvas()->GetPixel(0, 1), clNavy);  // the key colour leaves the target alone
  src.SetTransparentColor(clRed);
  EXPECT_EQ(src.GetTransparentMode(), tmFixed);
  dst.Canvas()->FillRect(RECT{0, 0, 2, 2});
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(dst.Canvas()->GetPixel(0, 0), clNavy);
  EXPECT_EQ(dst.Canvas()->GetPixel(0, 1), clFuchsia);
}

TEST(Bitmap, BrokenFilesAreRejected) {
  TBitmap b;
  EXPECT_THROW(b.LoadFromBytes({}), EPropertyError);
  EXPECT_THROW(b.LoadFromBytes({'B', 'M', 0, 0}), EPropertyError);
  // A valid header whose pixel data is cut short.
  TBitmap good;
  good.SetPixelFormat(pf24bit);
  good.SetSize(16, 16);
  auto bytes = good.SaveToBytes();
  bytes.resize(bytes.size() / 2);
  EXPECT_THROW(b.LoadFromBytes(bytes), EPropertyError);
}

// A graphic class registered for its own extension, as the PNG codec does.
class TFakeGraphic : public TGraphic {
  ORV_CLASS(TFakeGraphic)
public:
  bool Empty() const override { return Data.empty(); }
  int GetWidth() const override { return int(Data.size()); }
  int GetHeight() const override { return 1; }
  void Draw(TCanvas*, const RECT&) override {}
  void LoadFromBytes(const std::vector<uint8_t>& bytes) override { Data = bytes; }
  void Assign(TPersistent* s) override {
    if (auto* f = As<TFakeGraphic>(s)) Data = f->Data;
  }
  std::vector<uint8_t> Data;
};
ORV_DEFINE_CLASS(TFakeGraphic, TGraphic, nullptr, {})

TEST(Picture, RegisteredFormatsLoadByExtensionOrClassName) {
  TPicture::RegisterFileFormat("fake", "Fake pictures", TFakeGraphic::StaticClassInfo(), [] { return new TFakeGraphic; });
  TPicture p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  p.LoadFromData("fake", {1, 2, 3});
  EXPECT_EQ(p.Graphic()->ClassName(), "TFakeGraphic");
  EXPECT_EQ(p.GetWidth(), 3);
  p.LoadFromData("TFakeGraphic", {1});
  EXPECT_EQ(p.GetWidth(), 1);
  EXPECT_EQ(changes, 2);
  TPicture copy;
  copy.Assign(&p);
  EXPECT_EQ(copy.Graphic()->ClassName(), "TFakeGraphic");
  EXPECT_NE(copy.Graphic(), p.Graphic());
  EXPECT_THROW(p.LoadFromData("nope", {1}), EPropertyError);
  TPicture::UnregisterGraphicClass(TFakeGraphic::StaticClassInfo());
  EXPECT_FALSE(TPicture::FindFormat("fake"));
  EXPECT_TRUE(TPicture::FindFormat("bmp"));
  // Asking for the bitmap replaces another graphic.
  EXPECT_EQ(p.Bitmap()->ClassName(), "TBitmap");
}

TEST(ImageList, StripsAreCutIntoImagesOfTheListsWidth) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(48, 16);
  TImageList list(nullptr);
  EXPECT_EQ(list.AddMasked(&strip, clDefault), 0);
  EXPECT_EQ(list.Count(), 3);
  TBitmap one;
  list.GetBitmap(2, &one);
  EXPECT_EQ(one.GetWidth(), 16);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(Icon, LoadsFromAnIconFileImage) {
  // Build a 16x16 32-bit icon file in memory from a bitmap.
  TBitmap color;
  color.SetPixelFormat(pf32bit);
  color.SetSize(16, 16);
  ICONINFO ii{TRUE, 0, 0, CreateBitmap(16, 16, 1, 1, nullptr), color.GetHandle()};
  HICON h = CreateIconIndirect(&ii);
  DeleteObject(ii.hbmMask);
  ASSERT_NE(h, nullptr);
  TIcon icon;
  icon.SetHandle(h);
  EXPECT_EQ(icon.GetWidth(), 16);
  EXPECT_EQ(icon.GetHeight(), 16);
  EXPECT_THROW(icon.LoadFromBytes({0, 0, 1, 0}), EPropertyError);
  TImageList list(nullptr);
  EXPECT_EQ(list.AddIcon(&icon), 0);
}

}  // namespace
