// The progress bar: the progress window's gradient bars worked through pixel by pixel, the solid and
// LED styles, the property rules (percent events, parts, bar style defaults, orientation by shape).
#include <gtest/gtest.h>

#include <cmath>

#include "FcPrgres.h"
#include "PixelMap.h"

namespace {

void PaintInto(TFcProgressBar& bar, TPixelCanvas& pc) { bar.Perform(WM_PAINT, WPARAM(pc.Canvas()->GetHandle()), 0); }

// The property values the progress window's layout gives prgStatus and prgBatch, in layout order.
void ApplyProgressWindowLayout(TFcProgressBar& bar) {
  bar.SetLoading(true);
  const std::pair<const char*, const char*> props[] = {
      {"Width", "507"},          {"Height", "25"},          {"BarStyle", "bsGradient"},
      {"BarColor", "clWhite"},   {"BarColorStop", "10832715"}, {"BackColorStop", "clWhite"},
      {"BorderColor", "4080708"}, {"BorderOuter", "fsGroove"}, {"BorderWidth", "0"},
      {"InteriorOffset", "0"},   {"ShowPercent", "False"},  {"ThemeAware", "False"},
      {"Percent", "0"},          {"PartsComplete", "0"},    {"TotalParts", "0"}};
  for (auto& p : props) SetPropText(&bar, p.first, p.second);
  bar.SetLoading(false);
  bar.Loaded();
}

TEST(FcProgressBar, ProgressWindowBarWorkedThrough) {
  const COLORREF stop = ColorToRGB(0xA54B4B), white = RGB(255, 255, 255);
  for (int p : {0, 40, 100, 150}) {
    TFcProgressBar bar(nullptr);
    ApplyProgressWindowLayout(bar);
    EXPECT_EQ(bar.GetBackColor(), clWhite);
    EXPECT_EQ(bar.GetBorderInner(), fsNone);
    bar.SetPercent(p);
    TPixelCanvas pc(507, 25);
    PaintInto(bar, pc);
    // Groove: outer ring dark at left/top, light at right/bottom; inner ring the other way round.
    EXPECT_EQ(pc.At(0, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pc.At(1, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pc.At(505, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pc.At(506, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pc.At(100, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pc.At(100, 24), ColorToRGB(clBtnHighlight));
    int edge = 2 + (p >= 100 ? 503 : int(std::nearbyint(503.0 * p / 100)));
    for (int y = 2; y < 23; ++y) {
      int row = y - 2;
      COLORREF bar = row <= 10 ? StepColour(stop, white, 11, 10 - row) : StepColour(white, stop, 10, 20 - row);
      for (int x : {2, 3, edge - 1, edge, 300, 504}) {
        if (x < 2 || x > 504) continue;
        EXPECT_EQ(pc.At(x, y), x < edge ? bar : white) << "percent " << p << " at " << x << "," << y;
      }
    }
  }
}

TEST(FcProgressBar, SolidBarWithoutAndWithText) {
  TFcProgressBar bar(nullptr);
  bar.SetBorderOuter(fsNone);
  bar.SetBorderColor(clBlack);
  bar.SetBarColor(0x0000FF);
  bar.SetBackColor(0x00FF00);
  bar.SetShowPercent(false);
  bar.SetBounds(0, 0, 100, 20);
  bar.SetPercent(25);
  TPixelCanvas pc(100, 20);
  PaintInto(bar, pc);
  for (int x = 0; x < 100; ++x) EXPECT_EQ(pc.At(x, 10), x < 25 ? RGB(255, 0, 0) : RGB(0, 255, 0)) << x;

  // With the text, its pixels take the other part's colour on each side of the edge. Text may be drawn
  // smoothed, so its pixels are the two colours or blends of them: nothing with blue in it, nothing but the
  // part's own colour outside the text's box (measured with the bar's font), and inside it on each side
  // pixels nearer the other part's colour.
  bar.SetShowPercent(true);
  bar.SetPercent(50);
  TPixelCanvas text(100, 20);
  PaintInto(bar, text);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, bar.GetFont()->Handle());
  SIZE extent{};
  GetTextExtentPoint32A(screen, "50%", 3, &extent);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  ASSERT_GT(extent.cx, 0);
  const RECT box = {50 - extent.cx / 2 - 1, (20 - extent.cy) / 2 - 1, 50 + extent.cx / 2 + 2,
                    (20 - extent.cy) / 2 + extent.cy + 1};
  int inverseInFilled = 0, inverseInEmpty = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x) {
      COLORREF c = text.At(x, y), part = x < 50 ? RGB(255, 0, 0) : RGB(0, 255, 0);
      EXPECT_EQ(GetBValue(c), 0) << x << "," << y;
      bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
      if (!inBox) {
        EXPECT_EQ(c, part) << "outside the text at " << x << "," << y;
      }
      if (x < 50 && GetGValue(c) > GetRValue(c)) ++inverseInFilled;
      if (x >= 50 && GetRValue(c) > GetGValue(c)) ++inverseInEmpty;
    }
  EXPECT_GT(inverseInFilled, 0);
  EXPECT_GT(inverseInEmpty, 0);
}

TEST(FcProgressBar, PercentEventsAndParts) {
  TFcProgressBar bar(nullptr);
  std::vector<int> events;
  bar.OnChange = [&](TObject*, int p) { events.push_back(p); };
  bar.SetPercent(30);
  bar.SetPercent(30);
  bar.SetPercent(150);
  EXPECT_EQ(events, (std::vector<int>{30, 150}));

  struct TCase {
    int Total, Parts, StoredParts, Percent;
  } cases[] = {{3, 2, 2, 67}, {3, 5, 3, 100}, {8, 1, 1, 12}, {8, 3, 3, 38}, {200, 1, 1, 0}, {200, 3, 3, 2}};
  for (const auto& c : cases) {
    TFcProgressBar b(nullptr);
    b.SetPercent(99);
    b.SetTotalParts(c.Total);
    EXPECT_EQ(b.GetPercent(), 0) << "a new total starts again";
    b.SetPartsComplete(c.Parts);
    EXPECT_EQ(b.GetPartsComplete(), c.StoredParts);
    EXPECT_EQ(b.GetPercent(), c.Percent) << c.Parts << "/" << c.Total;
  }
  // 12.5 and 1.5 round to the even neighbour: 8 parts, 1 done is 12; 200 parts, 3 done is 2.

  TFcProgressBar none(nullptr);
  none.SetPercent(40);
  none.SetPartsComplete(1);
  EXPECT_EQ(none.GetPartsComplete(), 0);
  EXPECT_EQ(none.GetPercent(), 40);

  TFcProgressBar loading(nullptr);
  loading.SetPercent(40);
  loading.SetLoading(true);
  loading.SetTotalParts(4);
  loading.SetPartsComplete(2);
  loading.SetLoading(false);
  EXPECT_EQ(loading.GetPercent(), 40);
}

TEST(FcProgressBar, BarStyleSetsTextAndOffsetDefaults) {
  TFcProgressBar bar(nullptr);
  EXPECT_TRUE(bar.GetShowPercent());
  bar.SetBarStyle(bsLED);
  EXPECT_FALSE(bar.GetShowPercent());
  EXPECT_EQ(bar.GetInteriorOffset(), 1);
  bar.SetBarStyle(bsTraditional);
  EXPECT_TRUE(bar.GetShowPercent());
  EXPECT_EQ(bar.GetInteriorOffset(), 0);
  bar.SetBarStyle(bsGradient);
  SetPropText(&bar, "ShowPercent", "False");  // later form data overrides
  EXPECT_FALSE(bar.GetShowPercent());
  bar.SetBarColor(0x123456);
  EXPECT_EQ(bar.GetFont()->GetColor(), 0x123456);
}

TEST(FcProgressBar, ShapeDecidesTheOrientation) {
  TFcProgressBar bar(nullptr);
  EXPECT_EQ(bar.GetWidth(), 200);
  EXPECT_EQ(bar.GetHeight(), 24);
  EXPECT_EQ(bar.GetOrientation(), orHorizontal);
  bar.SetBounds(0, 0, 20, 100);
  EXPECT_EQ(bar.GetOrientation(), orVertical);
  bar.SetBounds(0, 0, 100, 20);
  EXPECT_EQ(bar.GetOrientation(), orHorizontal);
  bar.SetBounds(0, 0, 30, 30);
  EXPECT_EQ(bar.GetOrientation(), orHorizontal);
}

TEST(FcProgressBar, VerticalSolidBarFillsFromTheBottom) {
  TFcProgressBar bar(nullptr);
  bar.SetBorderOuter(fsFlat);
  bar.SetFlatColor(clBlack);
  bar.SetFlatColorAdjustment(0);
  bar.SetBarColor(0x0000FF);
  bar.SetShowPercent(false);
  bar.SetBounds(0, 0, 10, 42);
  bar.SetPercent(25);
  TPixelCanvas pc(10, 42);
  PaintInto(bar, pc);
  EXPECT_EQ(pc.At(5, 0), RGB(0, 0, 0));
  // Interior rows 1..40 (40 rows): the lower 10 are filled.
  for (int y = 1; y < 41; ++y) EXPECT_EQ(pc.At(5, y), y >= 31 ? RGB(255, 0, 0) : RGB(255, 255, 255)) << y;
}

}  // namespace
