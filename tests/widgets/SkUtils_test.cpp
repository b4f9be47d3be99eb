// The skin-form pack's shared routines: the window region made from a bitmap (read back from the
// window), tiling, inclusive rectangles, frames, turning a bitmap, and handing a style to children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "SkButton.h"
#include "SkUtils.h"
#include "StdCtrls.h"
#include "WidgetTestKit.h"

using namespace wtk;

namespace {

// '#' an opaque pixel (red), '.' a pixel of the key colour.
TBitmap* PatternBitmap(const std::vector<std::string>& rows, TColor key = clFuchsia) {
  int h = int(rows.size()), w = h ? int(rows[0].size()) : 0;
  TBitmap* b = SolidBitmap(w, h, key);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (rows[size_t(y)][size_t(x)] == '#') b->Canvas()->SetPixel(x, y, clRed);
  return b;
}

struct TRegionCase {
  const char* Name;
  std::vector<std::string> Rows;
  TColor Key;
  size_t ExpectedRects;  // as the system stores the region (rows of equal runs merge into one band)
};

const std::vector<TRegionCase> kRegionCases = {
    {"all pixels are the key colour", {"....", "....", "...."}, clFuchsia, 0},
    {"no pixel is the key colour", {"####", "####", "####"}, clFuchsia, 1},
    {"a single pixel in the last column after a key pixel", {"...#", "....", "...."}, clFuchsia, 1},
    {"a run that reaches the row's end", {"..##", ".###", "####"}, clFuchsia, 3},
    {"two runs with a one-pixel gap", {"##.##", "##.##"}, clFuchsia, 2},
    {"rounded corners", {".####.", "######", "######", ".####."}, clFuchsia, 3},
    {"a system colour as key keeps every pixel", {"....", "..#."}, clBtnFace, 1},
};

TEST(SkUtils, WindowRegionFromBitmap) {
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  for (const TRegionCase& c : kRegionCases) {
    SCOPED_TRACE(c.Name);
    TBitmap* b = PatternBitmap(c.Rows);
    SetWindowRegionFromBitmap(w, b, c.Key);
    delete b;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(w, rgn);
    ASSERT_NE(kind, ERROR);
    // Every pixel: inside the region exactly when it is opaque (or when nothing matches the key).
    bool systemKey = c.Key < 0;
    for (size_t y = 0; y < c.Rows.size(); ++y)
      for (size_t x = 0; x < c.Rows[y].size(); ++x) {
        bool opaque = systemKey || c.Rows[y][x] == '#';
        EXPECT_EQ(PtInRegion(rgn, int(x), int(y)) != FALSE, opaque) << x << "," << y;
      }
    // Nothing outside the bitmap.
    EXPECT_FALSE(PtInRegion(rgn, int(c.Rows[0].size()), 0));
    EXPECT_FALSE(PtInRegion(rgn, 0, int(c.Rows.size())));
    DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<uint8_t> data(size);
    GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data()));
    const auto* rd = reinterpret_cast<const RGNDATA*>(data.data());
    EXPECT_EQ(rd->rdh.nCount, c.ExpectedRects);
    if (c.ExpectedRects == 0) {
      EXPECT_EQ(kind, NULLREGION);
    }
    DeleteObject(rgn);
  }
  DestroyWindow(w);
}

TEST(SkUtils, TileDrawRepeatsFromTheCanvasOrigin) {
  TBitmap tile;
  tile.SetPixelFormat(pf24bit);
  tile.SetSize(30, 30);
  tile.Canvas()->Brush()->SetColor(clBlue);
  tile.Canvas()->FillRect(RECT{0, 0, 30, 30});
  tile.Canvas()->SetPixel(0, 0, clRed);  // marks each tile's corner
  TBitmap* canvas = SolidBitmap(100, 50, clWhite);
  TileDraw(canvas->Canvas(), &tile, RECT{0, 0, 100, 50});
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) {
      bool corner = x % 30 == 0 && y % 30 == 0;
      EXPECT_EQ(canvas->Canvas()->GetPixel(x, y), corner ? clRed : clBlue) << x << "," << y;
    }
  delete canvas;
  TBitmap empty;
  TBitmap* untouched = SolidBitmap(10, 10, clWhite);
  TileDraw(untouched->Canvas(), &empty, RECT{0, 0, 10, 10});
  EXPECT_EQ(untouched->Canvas()->GetPixel(5, 5), clWhite);
  delete untouched;
}

TEST(SkUtils, InclusiveRectangles) {
  RECT r{10, 20, 30, 40};
  struct TCase {
    int X, Y;
    bool Inside;
  };
  for (TCase c : {TCase{10, 20, true}, TCase{30, 40, true}, TCase{31, 40, false}, TCase{9, 25, false},
                  TCase{20, 41, false}}) {
    EXPECT_EQ(CoordInRectInclusive(c.X, c.Y, r), c.Inside) << c.X << "," << c.Y;
    EXPECT_EQ(PointInRectInclusive(POINT{c.X, c.Y}, r), c.Inside);
  }
}

TEST(SkUtils, ExtractFrameCutsEqualWidths) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(74, 5);
  for (int x = 0; x < 74; ++x)
    for (int y = 0; y < 5; ++y) strip.Canvas()->SetPixel(x, y, RGB(x, y, 0));
  TBitmap frame;
  ExtractFrame(&strip, &frame, 3, 3);
  ASSERT_EQ(frame.GetWidth(), 24);
  ASSERT_EQ(frame.GetHeight(), 5);
  EXPECT_EQ(frame.Canvas()->GetPixel(0, 0), RGB(48, 0, 0));
  EXPECT_EQ(frame.Canvas()->GetPixel(23, 4), RGB(71, 4, 0));
}

TEST(SkUtils, RotateBitmap180MovesEveryPixel) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(5, 3);
  for (int x = 0; x < 5; ++x)
    for (int y = 0; y < 3; ++y) b.Canvas()->SetPixel(x, y, RGB(10 * x, 10 * y, 7));
  RotateBitmap180(&b);
  for (int x = 0; x < 5; ++x)
    for (int y = 0; y < 3; ++y) EXPECT_EQ(b.Canvas()->GetPixel(4 - x, 2 - y), RGB(10 * x, 10 * y, 7)) << x << "," << y;
}

TEST(SkUtils, StretchDrawThreePartKeepsTheEndsAndStretchesTheMiddle) {
  TBitmap parts;
  parts.SetPixelFormat(pf24bit);
  parts.SetSize(9, 2);
  const TColor colours[3] = {clRed, clLime, clBlue};
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 2; ++y) parts.Canvas()->SetPixel(x, y, colours[x / 3]);
  parts.Canvas()->SetPixel(0, 0, clFuchsia);  // masked out of the left part
  TBitmap* target = SolidBitmap(20, 2, clWhite);
  StretchDrawThreePart(&parts, target->Canvas(), RECT{0, 0, 20, 2}, true, false);
  EXPECT_EQ(target->Canvas()->GetPixel(0, 0), clWhite);
  EXPECT_EQ(target->Canvas()->GetPixel(1, 0), clRed);
  EXPECT_EQ(target->Canvas()->GetPixel(10, 1), clLime);
  EXPECT_EQ(target->Canvas()->GetPixel(19, 1), clBlue);
  delete target;
}

TEST(SkUtils, SetControlBoundsAndText) {
  TPanel panel(nullptr);
  SetControlBounds(&panel, RECT{5, 6, 25, 36});
  EXPECT_EQ(panel.GetLeft(), 5);
  EXPECT_EQ(panel.GetTop(), 6);
  EXPECT_EQ(panel.GetWidth(), 20);
  EXPECT_EQ(panel.GetHeight(), 30);
  EXPECT_EQ(PCharToString(nullptr), "");
  EXPECT_EQ(PCharToString("abc"), "abc");
  RECT work{};
  GetWorkArea(work);
  EXPECT_GT(work.right, work.left);
}

// A control that publishes only "UIStyle".
class TStyleOnly : public TCustomControl {
  ORV_CLASS(TStyleOnly)
public:
  explicit TStyleOnly(TComponent* owner) : TCustomControl(owner) {}
  TskUIStyle GetUIStyle() const { return FStyle; }
  void SetUIStyle(TskUIStyle v) { FStyle = v; }
  TskUIStyle FStyle = DeepBlue;
};
ORV_DEFINE_CLASS(TStyleOnly, TCustomControl, nullptr,
                 {EnumProp<TStyleOnly, TskUIStyle>("UIStyle", UIStyleNames(), &TStyleOnly::GetUIStyle, &TStyleOnly::SetUIStyle)})

// A control that publishes both.
class TStyleAndTheme : public TStyleOnly {
  ORV_CLASS(TStyleAndTheme)
public:
  explicit TStyleAndTheme(TComponent* owner) : TStyleOnly(owner) {}
  TskFileTheme* GetFileTheme() const { return FTheme; }
  void SetFileTheme(TskFileTheme* t) { FTheme = t; }
  TskFileTheme* FTheme = nullptr;
};
ORV_DEFINE_CLASS(TStyleAndTheme, TStyleOnly, nullptr,
                 {RefProp<TStyleAndTheme, TskFileTheme>("FileTheme", &TStyleAndTheme::GetFileTheme,
                                                        &TStyleAndTheme::SetFileTheme)})

TEST(SkUtils, ApplyUIStyleToChildrenSkipsControlsWithoutBothProperties) {
  TForm form(nullptr);
  TskFileTheme theme(&form);
  auto* both = new TStyleAndTheme(&form);
  both->SetParent(&form);
  auto* styleOnly = new TStyleOnly(&form);
  styleOnly->SetParent(&form);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* nested = new TStyleAndTheme(&form);
  nested->SetParent(panel);
  ApplyUIStyleToChildren(&form, WinXP, &theme);
  EXPECT_EQ(both->FStyle, WinXP);
  EXPECT_EQ(both->FTheme, &theme);
  EXPECT_EQ(styleOnly->FStyle, DeepBlue);
  EXPECT_EQ(nested->FStyle, DeepBlue);  // only direct children
  EXPECT_TRUE(HasPublishedProperty(both, "FileTheme"));
  EXPECT_FALSE(HasPublishedProperty(styleOnly, "FileTheme"));
}

}  // namespace
