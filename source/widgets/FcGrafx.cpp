#include "FcGrafx.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "Forms.h"

// ---- bitmaps ----

void DrawMaskedBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& d, const RECT& s, TColor transparentColor) {
  int w = d.right - d.left, h = d.bottom - d.top;
  if (w <= 0 || h <= 0 || !bitmap || bitmap->Empty()) return;
  HDC sdc = bitmap->Canvas()->GetHandle();
  HDC wdc = CreateCompatibleDC(nullptr);
  HDC mdc = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP work = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ ow = SelectObject(wdc, work);
  HGDIOBJ om = SelectObject(mdc, mask);
  // The source rectangle scaled into the work bitmap; the mask has the transparent pixels set.
  SetStretchBltMode(wdc, COLORONCOLOR);
  StretchBlt(wdc, 0, 0, w, h, sdc, s.left, s.top, s.right - s.left, s.bottom - s.top, SRCCOPY);
  SetBkColor(wdc, ColorToRGB(transparentColor));
  BitBlt(mdc, 0, 0, w, h, wdc, 0, 0, SRCCOPY);
  HDC dc = canvas->GetHandle();
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0)), oldBk = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, d.left, d.top, w, h, wdc, 0, 0, SRCINVERT);
  BitBlt(dc, d.left, d.top, w, h, mdc, 0, 0, SRCAND);
  BitBlt(dc, d.left, d.top, w, h, wdc, 0, 0, SRCINVERT);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  SelectObject(wdc, ow);
  SelectObject(mdc, om);
  DeleteObject(work);
  DeleteObject(mask);
  DeleteDC(wdc);
  DeleteDC(mdc);
}

void PaintParentImage(TControl* control, HDC dc, bool invalidateParent) {
  TWinControl* parent = control ? control->GetParent() : nullptr;
  if (!parent) return;
  int saved = SaveDC(dc);
  try {
    OffsetViewportOrgEx(dc, -control->GetLeft(), -control->GetTop(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->GetClientWidth(), parent->GetClientHeight());
    parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    parent->Perform(WM_PAINT, WPARAM(dc), 0);
  } catch (...) {
    RestoreDC(dc, saved);
    throw;
  }
  RestoreDC(dc, saved);
  bool selfPainting = dynamic_cast<TCustomControl*>(parent) || dynamic_cast<TCustomForm*>(parent);
  if (invalidateParent && !selfPainting) parent->Invalidate();
}

void FlipVertical(TBitmap* bitmap) {
  int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  if (w <= 0 || h <= 1) return;
  TBitmap copy;
  copy.Assign(bitmap);
  HDC src = copy.Canvas()->GetHandle(), dst = bitmap->Canvas()->GetHandle();
  for (int y = 0; y < h; ++y) BitBlt(dst, 0, h - 1 - y, w, 1, src, 0, y, SRCCOPY);
}

// ---- gradients ----

namespace {

struct TFixedColor {  // three 16.16 channels
  int32_t R, G, B;
  static TFixedColor Of(TColor c) {
    COLORREF v = ColorToRGB(c);
    return {int32_t(GetRValue(v)) << 16, int32_t(GetGValue(v)) << 16, int32_t(GetBValue(v)) << 16};
  }
  static TFixedColor Step(TColor from, TColor to, int n) {
    TFixedColor a = Of(from), b = Of(to);
    return {(b.R - a.R) / n, (b.G - a.G) / n, (b.B - a.B) / n};
  }
  void Add(const TFixedColor& d) { R += d.R, G += d.G, B += d.B; }
  TColor Color() const {
    auto ch = [](int32_t v) { return std::clamp(v >> 16, 0, 255); };
    return RGB(ch(R), ch(G), ch(B));
  }
};

void FillBand(HDC dc, int l, int t, int r, int b, TColor c) {
  if (r <= l || b <= t) return;
  FillSolidRect(dc, RECT{l, t, r, b}, c);
}

// One pass of the linear fill over `count` coordinates from `first` downwards, starting with colour `a`.
void StripPass(HDC dc, bool alongX, int first, int count, TColor a, TColor b, int minBand) {
  if (count <= 0) return;
  TFixedColor v = TFixedColor::Of(a), d = TFixedColor::Step(a, b, count);
  int i = 0;
  while (i < count) {
    TColor c = v.Color();
    int start = first - i, len = 1;
    v.Add(d);
    ++i;
    while (i < count && (v.Color() == c || len < minBand)) {
      v.Add(d);
      ++i;
      ++len;
    }
    int lo = start - len + 1;
    if (alongX)
      FillBand(dc, lo, 0, start + 1, 8, c);
    else
      FillBand(dc, 0, lo, 8, start + 1, c);
  }
}

void StripAlong(HDC dc, bool alongX, int position, int length, TColor start, TColor stop, int colorSteps) {
  int minBand = MinimumBandWidth(colorSteps, 255);
  if (position < 0) {
    StripPass(dc, alongX, length - 1, length, stop, start, minBand);
    return;
  }
  position = std::min(position, length - 1);
  StripPass(dc, alongX, position, position + 1, stop, start, minBand);
  StripPass(dc, alongX, length - 1, length - 1 - position, start, stop, minBand);
}

bool PolygonEmpty(const std::vector<POINT>& p) {
  long long area = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const POINT& a = p[i];
    const POINT& b = p[(i + 1) % p.size()];
    area += (long long)a.x * b.y - (long long)b.x * a.y;
  }
  return area == 0;
}

void FillPolygon(HDC dc, const std::vector<POINT>& p, TColor c) {
  if (PolygonEmpty(p)) return;
  HBRUSH br = CreateSolidBrush(ColorToRGB(c));
  HGDIOBJ ob = SelectObject(dc, br), op = SelectObject(dc, GetStockObject(NULL_PEN));
  ::Polygon(dc, p.data(), int(p.size()));
  SelectObject(dc, op);
  SelectObject(dc, ob);
  DeleteObject(br);
}

}  // namespace

int MinimumBandWidth(int colorSteps, int range) {
  if (colorSteps <= 0) return 1;
  if (colorSteps <= 8) return colorSteps;
  return range / colorSteps + 1;
}

void GradientStrip(HDC dc, int positionX, int positionY, int length, TColor start, TColor stop, int colorSteps) {
  if (positionX != 0)
    StripAlong(dc, true, positionX, length, start, stop, colorSteps);
  else
    StripAlong(dc, false, positionY, length, start, stop, colorSteps);
}

void ReplicateBlock(HDC dc, int x, int y, int totalWidth, int totalHeight, int filledWidth, int filledHeight,
                    DWORD rop) {
  if (filledWidth <= 0 || filledHeight <= 0) return;
  bool down = filledHeight < totalHeight;
  while (filledWidth < totalWidth || filledHeight < totalHeight) {
    if (down && filledHeight < totalHeight) {
      int h = std::min(filledHeight, totalHeight - filledHeight);
      BitBlt(dc, x, y + filledHeight, filledWidth, h, dc, x, y, rop);
      filledHeight += h;
      down = false;
    } else if (filledWidth < totalWidth) {
      int w = std::min(filledWidth, totalWidth - filledWidth);
      BitBlt(dc, x + filledWidth, y, w, filledHeight, dc, x, y, rop);
      filledWidth += w;
      down = true;
    } else {
      down = true;
    }
  }
}

void GradientQuadrant(HDC dc, int width, int height, int xInset, int yInset, TColor start, TColor stop,
                      int colorSteps) {
  if (ColorToRGB(start) == ColorToRGB(stop) || width <= 4 || height <= 4) {
    FillBand(dc, 0, 0, width + 1, height + 1, start);
    return;
  }
  int cx = int(unsigned(width - 1) >> 1), cy = int(unsigned(height - 1) >> 1);
  int x0 = std::max(cx - xInset, 0), y0 = std::max(cy - yInset, 0);
  int n = std::max(x0, y0) + 1;
  TFixedColor v = TFixedColor::Of(stop), dv = TFixedColor::Step(stop, start, n);
  int32_t x = x0 << 16, y = y0 << 16, dx = (x0 << 16) / n, dy = (y0 << 16) / n;
  int px = cx + 1, py = cy + 1;
  TColor c = ColorToRGB(stop);
  int minBand = MinimumBandWidth(colorSteps, 256);
  // A position that turns negative before the other is held at the edge (0).
  for (int guard = 0; guard <= n + 2; ++guard) {
    int steps = 0;
    do {
      v.Add(dv);
      x -= dx;
      y -= dy;
      ++steps;
    } while ((v.Color() == c || steps < minBand) && (x >= 0 || y >= 0) && steps <= n + 1);
    if (x < 0 && y < 0) return;
    int X = std::max(x, 0) >> 16, Y = std::max(y, 0) >> 16;
    if (Y != py) FillBand(dc, X, Y, cx + 1, py, c);
    if (X != px) FillBand(dc, X, py, px, cy + 1, c);
    px = X;
    py = Y;
    c = v.Color();
    if (dx == 0 && dy == 0) return;
  }
}

void MirrorQuadrant(HDC dc, int x, int y, int width, int height, DWORD rop) {
  int hw = int(unsigned(width) >> 1), hh = int(unsigned(height) >> 1);
  // Top rows, upside down, into the bottom rows.
  for (int i = 0; i < hh; ++i) BitBlt(dc, x, y + height - 1 - i, hw + 1, 1, dc, x, y + i, rop);
  // The left part over the full height, mirrored into the right part (nearest column when scaled).
  int srcW = hw % 2 ? hw - 1 : hw, dstW = hw % 2 ? hw + 1 : hw;
  if (srcW <= 0) srcW = 1;
  for (int j = 0; j < dstW; ++j) {
    int sx = x + int((long long)j * srcW / dstW);
    BitBlt(dc, x + width - 1 - j, y, 1, height, dc, sx, y, rop);
  }
}

void GradientDiagonal(HDC dc, int width, int height, TColor start, TColor stop, int colorSteps) {
  bool mirrored = width <= 0;
  int W = std::abs(width), H = height;
  TColor first = mirrored ? stop : start, second = mirrored ? start : stop;
  int x0 = mirrored ? W : 0, xf = mirrored ? 0 : W, sgn = mirrored ? -1 : 1;
  int n = int(std::sqrt(double(W) * W + double(H) * H)) + 1;
  int half = std::max(n / 2, 1);
  TFixedColor v = TFixedColor::Of(first), dv = TFixedColor::Step(first, second, n);
  int32_t dx = (W << 16) / half, dy = (H << 16) / half;
  int minBand = MinimumBandWidth(colorSteps, 255);
  TColor c = ColorToRGB(first);
  auto band = [&](int32_t& x, int32_t& y) {
    int steps = 0;
    do {
      v.Add(dv);
      x += sgn * dx;
      y -= dy;
      ++steps;
    } while ((v.Color() == c || steps < minBand) && y >= 0);
  };
  // First half: bands between the starting side and the bottom edge.
  int32_t x = x0 << 16, y = H << 16;
  int Xp = x0, Yp = H;
  for (;;) {
    band(x, y);
    if (y < 0) {
      FillPolygon(dc, {{x0, 0}, {x0, Yp}, {Xp, H}, {xf, H}}, c);
      break;
    }
    int X = x >> 16, Y = y >> 16;
    FillPolygon(dc, {{x0, Y}, {x0, Yp}, {Xp, H}, {X, H}}, c);
    Xp = X, Yp = Y, c = v.Color();
  }
  // Second half: bands between the top edge and the far side; the colour goes on.
  c = v.Color();
  x = x0 << 16, y = H << 16;
  Xp = x0, Yp = H;
  for (;;) {
    band(x, y);
    if (y < 0) {
      FillPolygon(dc, {{Xp, 0}, {xf, 0}, {xf, Yp}}, c);
      break;
    }
    int X = x >> 16, Y = y >> 16;
    FillPolygon(dc, {{X, 0}, {Xp, 0}, {xf, Yp}, {xf, Y}}, c);
    Xp = X, Yp = Y, c = v.Color();
  }
}

void DrawGradient(TCanvas* canvas, const RECT& bounds, TGradientDirection direction, TColor start, TColor stop,
                  int colorSteps) {
  int w = std::abs(int(bounds.right - bounds.left)), h = std::abs(int(bounds.bottom - bounds.top));
  if (w == 0 || h == 0) return;
  TBitmap work;
  work.SetSize(w, h, pf24bit);
  HDC dc = work.Canvas()->GetHandle();
  bool same = ColorToRGB(start) == ColorToRGB(stop);
  switch (direction) {
    case gdHorizontalEnd:
    case gdHorizontalCenter:
      StripAlong(dc, false, direction == gdHorizontalEnd ? -1 : h / 2, h, start, stop, colorSteps);
      ReplicateBlock(dc, 0, 0, w, h, std::min(8, w), h, SRCCOPY);
      break;
    case gdVerticalEnd:
    case gdVerticalCenter:
      StripAlong(dc, true, direction == gdVerticalEnd ? -1 : w / 2, w, start, stop, colorSteps);
      ReplicateBlock(dc, 0, 0, w, h, w, std::min(8, h), SRCCOPY);
      break;
    case gdDiagonalUp:
    case gdDiagonalDown:
      if (same)
        FillBand(dc, 0, 0, w, h, start);
      else
        GradientDiagonal(dc, direction == gdDiagonalUp ? w : -w, h, start, stop, colorSteps);
      break;
    case gdHorizontalBox:
      FillBand(dc, 0, 0, w, h, start);
      GradientQuadrant(dc, w, h, int(unsigned(w) >> 2), 0, start, stop, colorSteps);
      MirrorQuadrant(dc, 0, 0, w, h, SRCCOPY);
      break;
    case gdVerticalBox:
      GradientQuadrant(dc, w, h, 0, int(unsigned(h) >> 2), start, stop, colorSteps);
      MirrorQuadrant(dc, 0, 0, w, h, SRCCOPY);
      break;
    case gdSquareBox:
      FillBand(dc, 0, 0, w, h, start);
      GradientQuadrant(dc, w, h, 0, 0, start, stop, colorSteps);
      MirrorQuadrant(dc, 0, 0, w, h, SRCCOPY);
      break;
    case gdBigSquareBox:
      GradientQuadrant(dc, w, h, int(unsigned(w) >> 2), int(unsigned(h) >> 2), start, stop, colorSteps);
      MirrorQuadrant(dc, 0, 0, w, h, SRCCOPY);
      break;
  }
  BitBlt(canvas->GetHandle(), std::min(bounds.left, bounds.right), std::min(bounds.top, bounds.bottom), w, h, dc, 0,
         0, SRCCOPY);
}
