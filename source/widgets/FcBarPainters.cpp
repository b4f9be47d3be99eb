#include "FcBarPainters.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cstdio>

#include "FcGrafx.h"
#include "Strings.h"

RECT BarFilledPart(const RECT& r, TOrientation orientation, int percent) {
  if (percent >= 100) return r;
  RECT f = r;
  if (orientation == orHorizontal)
    f.right = r.left + int(RoundHalfEven(double(percent) * (r.right - r.left) / 100.0));
  else
    f.top = r.bottom - int(RoundHalfEven(double(percent) * (r.bottom - r.top) / 100.0));
  return f;
}

namespace {

RECT EmptyPart(const RECT& r, const RECT& filled, TOrientation orientation) {
  RECT e = r;
  if (orientation == orHorizontal)
    e.left = filled.right;
  else
    e.bottom = filled.top;
  return e;
}

std::string PercentText(int percent) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u%%", unsigned(percent));
  return buf;
}

// The percentage text clipped to `clip`, centred on x = r.right / 2; opaque fills `clip` with `back`.
void PercentOut(TCanvas* canvas, const RECT& r, const RECT& clip, const std::string& text, TColor fore, TColor back,
                bool opaque) {
  HDC dc = canvas->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, canvas->Font()->Handle());
  SIZE x{};
  GetTextExtentPoint32A(dc, "X", 1, &x);
  UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_TOP);
  SetTextColor(dc, ColorToRGB(fore));
  SetBkColor(dc, ColorToRGB(back));
  int oldMode = SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  int y = r.top + ((r.bottom - r.top) - x.cy) / 2;
  ExtTextOutA(dc, r.right / 2, y, ETO_CLIPPED | (opaque ? ETO_OPAQUE : 0), &clip, text.c_str(), UINT(text.size()),
              nullptr);
  SetBkMode(dc, oldMode);
  SetTextAlign(dc, oldAlign);
  SelectObject(dc, oldFont);
}

}  // namespace

void PaintSolidBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor backColor, int percent,
                   bool showPercent, bool transparent) {
  std::string text = showPercent ? PercentText(percent) : "";
  RECT filled = BarFilledPart(r, orientation, percent), empty = EmptyPart(r, filled, orientation);
  PercentOut(canvas, r, filled, text, backColor, barColor, true);
  PercentOut(canvas, r, empty, text, barColor, backColor, !transparent);
}

void PaintGradientBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor barColorStop,
                      TColor backColor, TColor backColorStop, TGradientDirection direction, int percent,
                      bool showPercent, bool transparent) {
  RECT filled = BarFilledPart(r, orientation, percent), empty = EmptyPart(r, filled, orientation);
  DrawGradient(canvas, filled, direction, barColor, barColorStop, 1);
  if (!transparent) DrawGradient(canvas, empty, direction, backColor, backColorStop, 1);
  if (!showPercent) return;
  std::string text = PercentText(percent);
  PercentOut(canvas, r, filled, text, backColor, barColor, false);
  PercentOut(canvas, r, empty, text, barColor, backColor, false);
}

TLedLayout LedLayout(int length, int numSegments) {
  int n = std::max(numSegments, 1);
  int s = length / n;
  if (length <= 80 && n > 10) {
    n = 10;
    s = length / 10;
  }
  if (s != 0 && length - n * s >= s) n += (length - n * s) / s;
  return TLedLayout{n, s, (length - n * s) / 2};
}

void PaintLedBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor backColor,
                 int numSegments, int percent, bool themeAware, bool transparent) {
  HDC dc = canvas->GetHandle();
  if (themeAware && FcThemesEnabled()) {
    r = ShrinkSides(r, AllSides, 1);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (orientation == orHorizontal) {
      DrawThemePart(dc, L"PROGRESS", PP_CHUNK, 0,
                    RECT{r.left, r.top, r.left + int(RoundHalfEven(w * percent / 100.0)), r.bottom});
    } else {
      int f = std::max(int(RoundHalfEven(h * percent / 100.0)), 1);
      TBitmap bmp;
      bmp.SetSize(w, f, pf24bit);
      DrawThemePart(bmp.Canvas()->GetHandle(), L"PROGRESS", PP_CHUNKVERT, 0, RECT{0, 0, w, f});
      FlipVertical(&bmp);
      BitBlt(dc, r.left, r.bottom - f, w, f, bmp.Canvas()->GetHandle(), 0, 0, SRCCOPY);
    }
    return;
  }
  bool horizontal = orientation == orHorizontal;
  int len = horizontal ? r.right - r.left : r.bottom - r.top;
  TLedLayout lay = LedLayout(len, numSegments);
  int n = lay.Count, s = lay.Size, m = lay.Margin;
  // A rectangle without an outline covers its area less the right column and bottom row.
  auto noOutline = [dc](int l, int t, int rr, int b, TColor c) { FillColorRect(dc, l, t, rr - 1, b - 1, c); };
  if (!transparent) {
    if (horizontal) {
      noOutline(r.left, r.top, r.left + m + 1, r.bottom + 1, backColor);
      noOutline(r.right - m - 1, r.top, r.right + 1, r.bottom + 1, backColor);
    } else {
      noOutline(r.left, r.top, r.right + 1, r.top + m + 1, backColor);
      noOutline(r.left, r.bottom - m - 1, r.right + 1, r.bottom + 1, backColor);
    }
  }
  int lit = std::min(int((int64_t(percent) * n) / 100), n);
  for (int i = 1; i <= n; ++i) {
    RECT seg = horizontal ? RECT{r.left + m + (i - 1) * s, r.top, r.left + m + i * s, r.bottom}
                          : RECT{r.left, r.top + m + (n - i) * s, r.right, r.top + m + (n - i + 1) * s};
    bool on = i <= lit;
    if (transparent) {
      if (on) FillColorRect(dc, seg.left + 1, seg.top + 1, seg.right - 1, seg.bottom - 1, barColor);
      continue;
    }
    RECT in = PaintBox(canvas, seg, backColor);
    FillColorRect(dc, in.left, in.top, in.right, in.bottom, on ? barColor : backColor);
  }
}
