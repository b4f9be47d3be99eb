// The GDI+ wrappers: pictures from files and streams, drawing with alpha into a 32-bit surface, string
// formats, and wrappers whose native object could not be made (they draw nothing and never raise).
#include <gtest/gtest.h>

#include <cstring>

#include "GdiPlusObjects.h"
#include "LayeredTestSupport.h"
#include "OrvWindowsUtils.h"
#include "TempDir.h"

using namespace layered_test;

namespace {

class GdiPlusTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartGdiPlus()); }
};

// A 32-bit top-down DIB section selected into a memory DC.
struct TSurface {
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TSurface(int w, int h) {
    BITMAPINFO bi = Dib32Info(w, h);
    void* bits;
    Bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    DC = CreateCompatibleDC(nullptr);
    Old = SelectObject(DC, Bitmap);
  }
  ~TSurface() {
    SelectObject(DC, Old);
    DeleteDC(DC);
    DeleteObject(Bitmap);
  }
};

TEST_F(GdiPlusTest, StartingTwiceKeepsOneSession) {
  EXPECT_TRUE(StartGdiPlus());
  EXPECT_TRUE(GdiPlusStarted());
}

TEST_F(GdiPlusTest, ImageSizesFromFileAndStream) {
  TempDir dir;
  struct Case {
    int w, h;
  };
  const Case cases[] = {{1, 1}, {7, 3}, {64, 40}};
  for (const Case& c : cases) {
    std::string path = WritePng(dir / ("p" + std::to_string(c.w) + ".png"), TImage(c.w, c.h, 0xFF112233));
    TGPImage fromFile(path);
    EXPECT_EQ(fromFile.GetWidth(), unsigned(c.w));
    EXPECT_EQ(fromFile.GetHeight(), unsigned(c.h));
    EXPECT_EQ(fromFile.GetLastStatus(), GpOk);

    std::vector<uint8_t> bytes = EncodePng(TImage(c.w, c.h, 0xFF112233));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    TGPImage* fromStream = TGPImage::FromStream(stream);
    stream->Release();
    EXPECT_EQ(fromStream->GetWidth(), unsigned(c.w));
    EXPECT_EQ(fromStream->GetHeight(), unsigned(c.h));
    delete fromStream;
  }
}

TEST_F(GdiPlusTest, FailedObjectsDrawNothingAndRecordTheStatus) {
  TGPImage missing("Z:\\no\\such\\picture.png");
  EXPECT_EQ(missing.Native(), nullptr);
  EXPECT_EQ(missing.GetWidth(), 0u);
  EXPECT_EQ(missing.GetHeight(), 0u);
  EXPECT_NE(missing.GetLastStatus(), GpOk);

  TGPGraphics noDC(nullptr);
  EXPECT_EQ(noDC.Native(), nullptr);
  EXPECT_NE(noDC.GetLastStatus(), GpOk);
  TGPPen pen(0xFF000000, 1);
  EXPECT_NE(noDC.DrawRectangle(&pen, 0, 0, 5, 5), GpOk);

  TSurface s(8, 8);
  TGPGraphics g(s.DC);
  EXPECT_NE(g.DrawImage(&missing, 0, 0, 8, 8), GpOk);
  EXPECT_EQ(DibPixel(s.Bitmap, 4, 4), 0u);
}

TEST_F(GdiPlusTest, AlphaPicturesBlendIntoTheSurfacePremultiplied) {
  TempDir dir;
  TImage img(4, 1, 0);
  img.Px = {0xFFFF0000, 0x80FF0000, 0x00FF0000, 0xFF00FF00};
  std::string path = WritePng(dir / "alpha.png", img);
  TSurface s(4, 1);
  TGPImage pic(path);
  TGPGraphics g(s.DC);
  ASSERT_EQ(g.DrawImage(&pic, TGPRect(0, 0, 4, 1), 0, 0, 4, 1, GpUnitPixel), GpOk);
  EXPECT_EQ(DibPixel(s.Bitmap, 0, 0), 0xFFFF0000u);
  uint32_t half = DibPixel(s.Bitmap, 1, 0);
  EXPECT_NEAR(int(Alpha(half)), 128, 1);
  EXPECT_NEAR(int(Red(half)), 128, 2);  // premultiplied, as UpdateLayeredWindow wants it
  EXPECT_EQ(DibPixel(s.Bitmap, 2, 0), 0u);
  EXPECT_EQ(DibPixel(s.Bitmap, 3, 0), 0xFF00FF00u);
}

TEST_F(GdiPlusTest, StringFormatFlagsAndText) {
  TGPStringFormat f(0, 0);
  EXPECT_EQ(f.GetFormatFlags(), 0);
  EXPECT_EQ(f.SetFormatFlags(StringFormatFlagsNoWrap), GpOk);
  EXPECT_EQ(f.GetFormatFlags(), StringFormatFlagsNoWrap);
  EXPECT_EQ(f.SetAlignment(1), GpOk);
  EXPECT_EQ(f.SetLineAlignment(2), GpOk);
  EXPECT_EQ(f.SetTrimming(StringTrimmingEllipsisWord), GpOk);

  TSurface s(60, 20);
  TGPGraphics g(s.DC);
  TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-13);
  TGPFont gpFont(s.DC, font.Handle());
  ASSERT_TRUE(gpFont.IsAvailable());
  TGPSolidBrush brush(0xFFFFFFFF);
  ASSERT_EQ(g.DrawString(L"Wg", 2, &gpFont, TGPRectF(0, 0, 60, 20), &f, &brush), GpOk);
  int lit = 0;
  for (uint32_t p : DibRect(s.Bitmap, RECT{0, 0, 60, 20})) lit += (p & 0xFFFFFF) != 0;
  EXPECT_GT(lit, 10);
}

}  // namespace
