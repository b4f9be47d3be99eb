#include "FcRadioGlyph.h"

#include "FcGrafx.h"

void PaintHotTrackRadioGlyph(TCanvas* canvas, const RECT& r, const THotTrackRadioGlyph& g) {
  static const char* const kMap[13] = {"BBBbaLFLabBBB", "BBaF12321FaBB", "BaL2iiiii2LaB", "bF2iiiiiii2Fb",
                                       "a1iiiiiiiii1a", "L2iiiiiiiii2L", "F3iiiiiiiii3F", "L2iiiiiiiii2L",
                                       "a1iiiiiiiii1a", "bF2iiiiiii2Fb", "BaL2iiiii2LaB", "BBaF12321FaBB",
                                       "BBBbaLFLabBBB"};
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TBitmap bmp;
  bmp.SetSize(w, h, pf24bit);
  HDC dc = bmp.Canvas()->GetHandle();
  auto get = [dc](int x, int y) { return TColor(::GetPixel(dc, x, y)); };
  auto set = [dc](int x, int y, TColor c) { SetPixelV(dc, x, y, ColorToRGB(c)); };
  bool hot = g.State == gsHot;

  TColor interior;
  if (g.State == gsPressed)
    interior = DarkenColor(g.FocusColor, 20);
  else if (g.State == gsDisabled)
    interior = g.DisabledColor;
  else if (g.Focused)
    interior = g.ReadOnly && g.ReadOnlyColorOnFocus ? g.ReadOnlyColor : g.FocusColor;
  else
    interior = g.ReadOnly ? g.ReadOnlyColor : g.FillColor;
  FillColorRect(dc, 0, 0, w, h, interior);

  const bool fullColor = FullColorDisplay();
  TColor frame = hot && g.HotTrackStyle == htsFrame ? g.HotDark : g.FrameColor;
  TColor light = fullColor ? LightenColor(frame, 10) : frame;

  if (hot && fullColor) {
    if (g.HotTrackStyle == htsFrame) {
      for (auto p : {POINT{5, 1}, {6, 1}, {7, 1}, {1, 5}, {11, 5}, {1, 6}, {11, 6}, {1, 7}, {11, 7}, {5, 11},
                     {6, 11}, {7, 11}})
        set(p.x, p.y, light);
      for (auto p : {POINT{4, 1}, {8, 1}, {1, 4}, {11, 4}, {1, 8}, {11, 8}, {4, 11}, {8, 11}}) set(p.x, p.y, frame);
    } else {
      DrawGradient(bmp.Canvas(), RECT{0, 0, w, h}, gdDiagonalDown, g.HotLight, g.HotDark, 1);
      FillColorRect(dc, 4, 4, 9, 9, interior);
      FillColorRect(dc, 5, 3, 8, 10, interior);
      FillColorRect(dc, 3, 5, 10, 8, interior);
    }
  }

  TColor back = g.Transparent ? g.KeyColor : g.Color;
  TColor a, b;
  if (g.Transparent)
    a = b = g.KeyColor;
  else if (fullColor)
    a = AlphaMixColors(frame, g.Color, 128), b = AlphaMixColors(frame, g.Color, 40);
  else
    a = frame, b = g.Color;
  for (int y = 0; y < 13 && y < h; ++y)
    for (int x = 0; x < 13 && x < w; ++x) switch (kMap[y][x]) {
        case 'B': set(x, y, back); break;
        case 'a': set(x, y, a); break;
        case 'b': set(x, y, b); break;
        case 'F': set(x, y, frame); break;
        case 'L': set(x, y, light); break;
      }

  auto blend = [&](int x, int y, uint8_t alpha) { set(x, y, AlphaMixColors(frame, get(x, y), alpha)); };
  if (fullColor) {
    if (hot && g.HotTrackStyle == htsFrame) {
      for (auto p : {POINT{3, 2}, {9, 2}, {2, 3}, {10, 3}, {2, 9}, {10, 9}, {3, 10}, {9, 10}}) blend(p.x, p.y, 150);
      for (auto p : {POINT{4, 2}, {8, 2}, {2, 4}, {10, 4}, {2, 8}, {10, 8}, {4, 10}, {8, 10}}) blend(p.x, p.y, 80);
    } else {
      for (int y = 0; y < 13 && y < h; ++y)
        for (int x = 0; x < 13 && x < w; ++x) {
          char c = kMap[y][x];
          if (c == '1') blend(x, y, 128);
          if (c == '2') blend(x, y, 80);
          if (c == '3') blend(x, y, 40);
        }
    }
  } else {
    for (int y = 0; y < 13 && y < h; ++y)
      for (int x = 0; x < 13 && x < w; ++x) {
        if (kMap[y][x] == '1') set(x, y, frame);
        if (kMap[y][x] == '2') set(x, y, 0xC0C0C0);
      }
  }

  if (g.Checked) {
    TColor dot = g.State == gsDisabled ? clBtnShadow : g.HighlightColor;
    TColor edge = fullColor ? AlphaMixColors(dot, get(4, 4), 153) : dot;
    FillColorRect(dc, 5, 5, 8, 8, dot);
    for (auto p : {POINT{6, 4}, {4, 6}, {8, 6}, {6, 8}}) set(p.x, p.y, dot);
    for (auto p : {POINT{5, 4}, {7, 4}, {4, 5}, {8, 5}, {4, 7}, {8, 7}, {5, 8}, {7, 8}}) set(p.x, p.y, edge);
  }
  BitBlt(canvas->GetHandle(), r.left, r.top, w, h, dc, 0, 0, SRCCOPY);
}
