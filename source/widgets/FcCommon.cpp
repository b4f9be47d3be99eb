#include "FcCommon.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

#include "FcGrafx.h"
#include "Registry.h"
#include "Strings.h"

// ---- vocabulary ----

const std::vector<std::string>& FrameStyleNames() {
  static const std::vector<std::string> n = {"fsNone",   "fsFlat",       "fsGroove", "fsBump",
                                             "fsLowered", "fsButtonDown", "fsRaised", "fsButtonUp",
                                             "fsStatus", "fsPopup",      "fsFlatBold", "fsFlatRounded"};
  return n;
}
const std::vector<std::string>& SideNames() {
  static const std::vector<std::string> n = {"sdLeft", "sdTop", "sdRight", "sdBottom"};
  return n;
}
const std::vector<std::string>& FramingPreferenceNames() {
  static const std::vector<std::string> n = {"fpCustomFraming", "fpXPThemes"};
  return n;
}
const std::vector<std::string>& GradientDirectionNames() {
  static const std::vector<std::string> n = {"gdDiagonalUp",    "gdDiagonalDown",   "gdHorizontalEnd",
                                             "gdHorizontalCenter", "gdHorizontalBox", "gdVerticalEnd",
                                             "gdVerticalCenter", "gdVerticalBox",  "gdSquareBox",
                                             "gdBigSquareBox"};
  return n;
}
const std::vector<std::string>& BarStyleNames() {
  static const std::vector<std::string> n = {"bsTraditional", "bsLED", "bsGradient"};
  return n;
}
const std::vector<std::string>& OrientationNames() {
  static const std::vector<std::string> n = {"orHorizontal", "orVertical"};
  return n;
}
const std::vector<std::string>& AlignmentVerticalNames() {
  static const std::vector<std::string> n = {"avTop", "avCenter", "avBottom"};
  return n;
}
const std::vector<std::string>& TextStyleNames() {
  static const std::vector<std::string> n = {"tsNormal", "tsRaised", "tsRecessed", "tsShadow"};
  return n;
}
const std::vector<std::string>& FrameControllerPropertyNames() {
  static const std::vector<std::string> n = {
      "fcpColor",         "fcpFocusColor",    "fcpDisabledColor", "fcpReadOnlyColor",
      "fcpReadOnlyColorOnFocus", "fcpParentColor", "fcpFlatButtonColor", "fcpFlatButtons",
      "fcpFrameColor",    "fcpFrameHotColor", "fcpFrameHotTrack", "fcpFrameHotStyle",
      "fcpFrameSides",    "fcpFrameStyle",    "fcpFrameVisible",  "fcpFramingPreference"};
  return n;
}

const TColor UpperLeftFrameColors[11] = {clWindow,      cl3DDkShadow, clBtnShadow,    clBtnHighlight,
                                         clBtnShadow,   clNone,       cl3DDkShadow,   clNone,
                                         clBtnShadow,   clBtnHighlight, clBtnShadow};
const TColor LowerRightFrameColors[11] = {clWindow,      cl3DDkShadow, clBtnHighlight, clBtnShadow,
                                          clBtnHighlight, clNone,      clBtnFace,      clNone,
                                          clBtnHighlight, clBtnShadow,  clBtnShadow};

// ---- visual styles ----

namespace {
int gThemesOverride = -1;

bool ComCtl6Loaded() {
  HMODULE m = GetModuleHandleA("comctl32.dll");
  if (!m) return false;
  typedef HRESULT(CALLBACK * TDllGetVersion)(DLLVERSIONINFO*);
  auto fn = reinterpret_cast<TDllGetVersion>(reinterpret_cast<void*>(GetProcAddress(m, "DllGetVersion")));
  if (!fn) return false;
  DLLVERSIONINFO v{};
  v.cbSize = sizeof(v);
  return SUCCEEDED(fn(&v)) && v.dwMajorVersion >= 6;
}
}  // namespace

bool FcThemesEnabled() {
  if (gThemesOverride >= 0) return gThemesOverride == 1;
  static const bool enabled = IsThemeActive() && IsAppThemed() && ComCtl6Loaded();
  return enabled;
}

void SetFcThemesOverride(int mode) { gThemesOverride = mode; }

// ---- colour arithmetic ----

namespace {
inline int RedOf(COLORREF c) { return int(c & 0xFF); }
inline int GreenOf(COLORREF c) { return int((c >> 8) & 0xFF); }
inline int BlueOf(COLORREF c) { return int((c >> 16) & 0xFF); }
inline uint8_t RoundByte(double v) { return uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0)); }
}  // namespace

void RgbToHsl240(TColor color, uint8_t& h, uint8_t& s, uint8_t& l) {
  COLORREF c = ColorToRGB(color);
  double r = RedOf(c) / 255.0, g = GreenOf(c) / 255.0, b = BlueOf(c) / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double L = (mx + mn) / 2, H = 0, S = 0;
  if (mx != mn) {
    double d = mx - mn;
    S = L < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
      H = (g - b) / d;
    else if (g == mx)
      H = (b - r) / d + 2;
    else
      H = (r - g) / d + 4;
    H /= 6;
    if (H < 0) H += 1;
  }
  h = RoundByte(H * 240);
  s = RoundByte(S * 240);
  l = RoundByte(L * 240);
}

uint8_t HueOf(TColor color) {
  uint8_t h, s, l;
  RgbToHsl240(color, h, s, l);
  return h;
}

TColor Hsl240ToRgb(int H, int S, int L) {
  double l = L / 240.0, s = S / 240.0;
  double top = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (top <= 0) return 0;
  double h6 = H / 239.0 * 6;
  int k = int(h6);
  double bottom = 2 * l - top, f = h6 - k;
  double rise = bottom + (top - bottom) * f, fall = top - (top - bottom) * f;
  double r, g, b;
  switch (k) {
    case 1: r = fall, g = top, b = bottom; break;
    case 2: r = bottom, g = top, b = rise; break;
    case 3: r = bottom, g = fall, b = top; break;
    case 4: r = rise, g = bottom, b = top; break;
    case 5: r = top, g = bottom, b = fall; break;
    default: r = top, g = rise, b = bottom; break;
  }
  auto ch = [](double v) { return int(RoundByte(std::min(v, 1.0) * 255)); };
  return RGB(ch(r), ch(g), ch(b));
}

TColor DarkenColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  RgbToHsl240(color, h, s, l);
  return Hsl240ToRgb(h, s, std::max(int(l) - int(amount), 0));
}

TColor LightenColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  RgbToHsl240(color, h, s, l);
  return Hsl240ToRgb(h, s, std::min(int(l) + int(amount), 255));
}

TColor ShiftLuminance(TColor color, int amount) {
  if (amount < 0) return DarkenColor(color, uint8_t(-amount));
  if (amount == 0) return color;
  return LightenColor(color, uint8_t(amount));
}

TColor AlphaMixColors(TColor color1, TColor color2, uint8_t alpha) {
  COLORREF a = ColorToRGB(color1), b = ColorToRGB(color2);
  float f = alpha / 255.0f;
  auto mix = [f](int c1, int c2) { return int(RoundByte(double(f) * c1 + double(1.0f - f) * c2)); };
  return RGB(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

bool ColorsSimilar(TColor color1, TColor color2) {
  uint8_t h1, s1, l1, h2, s2, l2;
  RgbToHsl240(color1, h1, s1, l1);
  RgbToHsl240(color2, h2, s2, l2);
  return std::abs(int(h1) - int(h2)) < 20 && std::abs(int(l1) - int(l2)) < 60;
}

TColor OppositeHueColor(TColor color, uint8_t luminance) {
  int h = HueOf(color);
  h = h < 120 ? h + 120 : h - 120;
  return Hsl240ToRgb(h, 240, luminance);
}

bool DisplayHasFullColor() {
  HDC dc = GetDC(nullptr);
  int colours = GetDeviceCaps(dc, NUMCOLORS);
  ReleaseDC(nullptr, dc);
  return colours == -1;
}

int ReadXPColorScheme() {
  std::string name;
  try {
    name = ReadRegistryString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager",
                              "ColorName")
               .value_or("");
  } catch (...) {
    name.clear();
  }
  name = UpperCase(name);
  if (name == "HOMESTEAD") return 1;
  if (name == "METALLIC") return 2;
  return 0;
}

bool FullColorDisplay = DisplayHasFullColor();
int XPColorScheme = ReadXPColorScheme();

// ---- geometry ----

RECT RectCentredIn(const RECT& r, int width, int height) {
  int l = (r.left + r.right - width) / 2, t = (r.top + r.bottom - height) / 2;
  return RECT{l, t, l + width, t + height};
}

int FontLineHeight(TFont* font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight + 2;
}

void RedrawWindowFrame(HWND window, const RECT& r) {
  HDC dc = GetWindowDC(window);
  RECT clip{};
  int kind = dc ? GetClipBox(dc, &clip) : ERROR;
  if (dc) ReleaseDC(window, dc);
  if (kind != NULLREGION && kind != ERROR) RedrawWindow(window, &r, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

// ---- frames ----

namespace {

inline HDC DcOf(TCanvas* c) { return c->GetHandle(); }

void Fill(HDC dc, int l, int t, int r, int b, TColor c) {
  if (c == clNone || r <= l || b <= t) return;
  FillSolidRect(dc, RECT{l, t, r, b}, c);
}
inline void Pixel(HDC dc, int x, int y, TColor c) { Fill(dc, x, y, x + 1, y + 1, c); }

RECT Shrink(RECT r, TSides sides, int by) {
  if (HasSide(sides, sdLeft)) r.left += by;
  if (HasSide(sides, sdTop)) r.top += by;
  if (HasSide(sides, sdRight)) r.right -= by;
  if (HasSide(sides, sdBottom)) r.bottom -= by;
  return r;
}

RECT PaintEtched(TCanvas* canvas, RECT b, TColor ul, TColor lr, TSides sides) {
  HDC dc = DcOf(canvas);
  bool left = HasSide(sides, sdLeft), top = HasSide(sides, sdTop), right = HasSide(sides, sdRight),
       bottom = HasSide(sides, sdBottom);
  if (right)
    Pixel(dc, b.right - 1, b.top, lr);
  else if (top)
    Pixel(dc, b.right - 1, b.top, ul);
  if (bottom)
    Pixel(dc, b.left, b.bottom - 1, lr);
  else if (left)
    Pixel(dc, b.left, b.bottom - 1, ul);
  if (top && !left) Pixel(dc, b.left, b.top + 1, lr);
  if (left && !top) Pixel(dc, b.left + 1, b.top, lr);
  if (bottom && !right) Pixel(dc, b.right - 1, b.bottom - 2, ul);
  if (right && !bottom) Pixel(dc, b.right - 2, b.bottom - 1, ul);
  PaintSides(canvas, RECT{b.left + 1, b.top + 1, b.right, b.bottom}, lr, lr, sides);
  PaintSides(canvas, RECT{b.left, b.top, b.right - 1, b.bottom - 1}, ul, ul, sides);
  return Shrink(b, sides, 2);
}

// How one frame style is drawn: nothing, one or two rings, or the etched pattern.
struct TBorderRecipe {
  enum { None, Rings, Etched } Kind = None;
  int Count = 0;
  TColor UL[2] = {clNone, clNone};
  TColor LR[2] = {clNone, clNone};
};

TBorderRecipe Rings(TColor ul1, TColor lr1) {
  TBorderRecipe r;
  r.Kind = TBorderRecipe::Rings;
  r.Count = 1;
  r.UL[0] = ul1, r.LR[0] = lr1;
  return r;
}
TBorderRecipe Rings(TColor ul1, TColor lr1, TColor ul2, TColor lr2) {
  TBorderRecipe r = Rings(ul1, lr1);
  r.Count = 2;
  r.UL[1] = ul2, r.LR[1] = lr2;
  return r;
}
TBorderRecipe Etched(TColor ul, TColor lr) {
  TBorderRecipe r = Rings(ul, lr);
  r.Kind = TBorderRecipe::Etched;
  return r;
}

TBorderRecipe SystemRecipe(TFrameStyleEx style) {
  auto ul = [](TFrameStyleEx s) { return UpperLeftFrameColors[s]; };
  auto lr = [](TFrameStyleEx s) { return LowerRightFrameColors[s]; };
  switch (style) {
    case fsNone: return TBorderRecipe{};
    case fsFlat:
    case fsStatus:
    case fsPopup: return Rings(ul(style), lr(style));
    case fsFlatBold: return Rings(ul(style), lr(style), ul(style), lr(style));
    case fsLowered: return Rings(clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight);
    case fsRaised: return Rings(cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow);
    case fsButtonDown: return Rings(clBtnText, clBtnText, clBtnShadow, clBtnShadow);
    case fsButtonUp: return Rings(clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow);
    case fsGroove: return Etched(ul(fsGroove), lr(fsGroove));
    default: return Etched(ul(fsBump), lr(fsBump));
  }
}

TBorderRecipe FaceRecipe(TFrameStyleEx style, TColor face) {
  auto D = [face](uint8_t a) { return DarkenColor(face, a); };
  auto L = [face](uint8_t a) { return LightenColor(face, a); };
  switch (style) {
    case fsNone: return TBorderRecipe{};
    case fsFlat: return Rings(D(50), D(50));
    case fsStatus: return Rings(D(50), L(100));
    case fsPopup: return Rings(L(100), D(50));
    case fsFlatBold: return Rings(D(50), D(50), D(50), D(50));
    case fsLowered: return Rings(D(50), L(100), D(100), L(50));
    case fsRaised: return Rings(L(50), D(100), L(100), D(50));
    case fsButtonDown: return Rings(D(100), D(100), D(50), D(50));
    case fsButtonUp: return Rings(L(100), D(100), L(40), D(50));
    case fsGroove: return Etched(D(50), L(100));
    default: return Etched(L(100), D(50));
  }
}

RECT ApplyRecipe(TCanvas* canvas, RECT b, const TBorderRecipe& rc, TSides sides) {
  switch (rc.Kind) {
    case TBorderRecipe::None: return b;
    case TBorderRecipe::Etched: return PaintEtched(canvas, b, rc.UL[0], rc.LR[0], sides);
    case TBorderRecipe::Rings:
      for (int i = 0; i < rc.Count; ++i) b = PaintSides(canvas, b, rc.UL[i], rc.LR[i], sides);
      return b;
  }
  return b;
}

}  // namespace

RECT PaintSides(TCanvas* canvas, RECT b, TColor ul, TColor lr, TSides sides) {
  HDC dc = DcOf(canvas);
  if (ul != clNone) {
    if (HasSide(sides, sdLeft)) Fill(dc, b.left, b.top, b.left + 1, b.bottom, ul);
    if (HasSide(sides, sdTop)) Fill(dc, b.left, b.top, b.right, b.top + 1, ul);
  }
  if (lr != clNone) {
    if (HasSide(sides, sdRight)) Fill(dc, b.right - 1, b.top, b.right, b.bottom, lr);
    if (HasSide(sides, sdBottom)) Fill(dc, b.left, b.bottom - 1, b.right, b.bottom, lr);
  }
  return Shrink(b, sides, 1);
}

RECT PaintBevel(TCanvas* canvas, RECT b, TColor ul, TColor lr, int count, TSides sides) {
  canvas->Pen()->SetWidth(1);
  for (int i = 0; i < count; ++i) b = PaintSides(canvas, b, ul, lr, sides);
  return b;
}

RECT PaintBorderSides(TCanvas* canvas, RECT b, TFrameStyleEx style, TSides sides) {
  return ApplyRecipe(canvas, b, SystemRecipe(style), sides);
}

RECT PaintBorder(TCanvas* canvas, RECT b, TFrameStyleEx style) { return PaintBorderSides(canvas, b, style, AllSides); }

RECT PaintColorBorderSides(TCanvas* canvas, RECT b, TColor face, TFrameStyleEx style, TSides sides) {
  return ApplyRecipe(canvas, b, FaceRecipe(style, face), sides);
}

RECT PaintColorBorder(TCanvas* canvas, RECT b, TColor face, TFrameStyleEx style) {
  return PaintColorBorderSides(canvas, b, face, style, AllSides);
}

RECT PaintBox(TCanvas* canvas, RECT b, TColor lineColor) {
  return PaintSides(canvas, b, lineColor, lineColor, AllSides);
}

RECT PaintRoundedFlatBorder(TCanvas* canvas, RECT b, TColor color, TSides sides) {
  HDC dc = DcOf(canvas);
  bool left = HasSide(sides, sdLeft), top = HasSide(sides, sdTop), right = HasSide(sides, sdRight),
       bottom = HasSide(sides, sdBottom);
  int t = b.top + (top ? 2 : 0), bt = b.bottom - (bottom ? 2 : 0);
  int l = b.left + (left ? 2 : 0), rt = b.right - (right ? 2 : 0);
  if (left) Fill(dc, b.left, t, b.left + 1, bt, color);
  if (right) Fill(dc, b.right - 1, t, b.right, bt, color);
  if (top) Fill(dc, l, b.top, rt, b.top + 1, color);
  if (bottom) Fill(dc, l, b.bottom - 1, rt, b.bottom, color);
  if (left && top) Pixel(dc, b.left + 1, b.top + 1, color);
  if (top && right) Pixel(dc, b.right - 2, b.top + 1, color);
  if (right && bottom) Pixel(dc, b.right - 2, b.bottom - 2, color);
  if (bottom && left) Pixel(dc, b.left + 1, b.bottom - 2, color);
  return Shrink(b, sides, 2);
}

RECT PaintFocusBorder(TCanvas* canvas, RECT b) {
  // Each dot becomes the inverse of what it covers; a corner reached by two edges is set once.
  HDC dc = DcOf(canvas);
  std::set<std::pair<int, int>> dots;
  for (int y = b.top + 1; y < b.bottom; y += 2) {
    dots.insert({b.left, y});
    dots.insert({b.right - 1, y});
  }
  for (int x = b.left + 1; x < b.right; x += 2) {
    dots.insert({x, b.top});
    dots.insert({x, b.bottom - 1});
  }
  for (auto& d : dots) {
    COLORREF c = ::GetPixel(dc, d.first, d.second);
    if (c != CLR_INVALID) SetPixelV(dc, d.first, d.second, c ^ 0xFFFFFF);
  }
  return Shrink(b, AllSides, 1);
}

void PaintEditFrame(TCanvas* canvas, int width, int height, TFrameStyleEx style, TColor color, TColor frameColor,
                    TSides sides, bool skipBackgroundRing) {
  RECT r{0, 0, width, height};
  if (!skipBackgroundRing) PaintBevel(canvas, r, color, color, 2, AllSides);
  if (style == fsFlat)
    PaintSides(canvas, r, frameColor, frameColor, sides);
  else if (style == fsFlatBold)
    PaintBevel(canvas, r, frameColor, frameColor, 2, sides);
  else if (color == clWindow)
    PaintBorderSides(canvas, r, style, sides);
  else
    PaintColorBorderSides(canvas, r, color, style, sides);
}

RECT PaintInnerOuterBorders(TCanvas* canvas, RECT r, const TInnerOuterBorder& b) {
  HDC dc = DcOf(canvas);
  TColor F = ShiftLuminance(b.FlatColor, b.FlatColorAdjustment);
  bool borderRing = b.BorderWidth > 0 || b.BorderInner != fsNone;
  switch (b.BorderOuter) {
    case fsFlat: r = PaintSides(canvas, r, F, F, b.Sides); break;
    case fsFlatBold: r = PaintBevel(canvas, r, F, F, 2, b.Sides); break;
    case fsFlatRounded: {
      RECT orig = r;
      if (!b.Transparent) {
        RECT in = PaintSides(canvas, r, b.ParentColor, b.ParentColor, b.Sides);
        TColor c = borderRing ? b.BorderColor : b.Color;
        PaintSides(canvas, in, c, c, b.Sides);
      } else if (borderRing) {
        PaintSides(canvas, Shrink(r, b.Sides, 1), b.BorderColor, b.BorderColor, b.Sides);
      }
      r = PaintRoundedFlatBorder(canvas, orig, F, b.Sides);
      break;
    }
    case fsPopup: r = PaintBevel(canvas, r, b.HighlightColor, b.ShadowColor, b.BevelWidth, b.Sides); break;
    case fsStatus: r = PaintBevel(canvas, r, b.ShadowColor, b.HighlightColor, b.BevelWidth, b.Sides); break;
    default: r = PaintBorderSides(canvas, r, b.BorderOuter, b.Sides); break;
  }
  if (b.BorderWidth > 0) r = PaintBevel(canvas, r, b.BorderColor, b.BorderColor, b.BorderWidth, b.Sides);
  switch (b.BorderInner) {
    case fsFlat:
      if (b.RoundedInnerFlat) {
        Fill(dc, r.left, r.top + 1, r.left + 1, r.bottom - 1, F);
        Fill(dc, r.right - 1, r.top + 1, r.right, r.bottom - 1, F);
        Fill(dc, r.left + 1, r.top, r.right - 1, r.top + 1, F);
        Fill(dc, r.left + 1, r.bottom - 1, r.right - 1, r.bottom, F);
        r = Shrink(r, AllSides, 1);
      } else {
        r = PaintSides(canvas, r, F, F, b.Sides);
      }
      break;
    case fsFlatBold: r = PaintBevel(canvas, r, F, F, 2, b.Sides); break;
    case fsFlatRounded: {
      RECT orig = r;
      if (!b.Transparent) {
        RECT in = PaintSides(canvas, r, b.BorderColor, b.BorderColor, b.Sides);
        PaintSides(canvas, in, b.Color, b.Color, b.Sides);
      } else {
        PaintSides(canvas, r, b.BorderColor, b.BorderColor, b.Sides);
      }
      r = PaintRoundedFlatBorder(canvas, orig, F, b.Sides);
      break;
    }
    case fsStatus: r = PaintBevel(canvas, r, b.ShadowColor, b.HighlightColor, b.BevelWidth, b.Sides); break;
    case fsPopup: r = PaintBevel(canvas, r, b.HighlightColor, b.ShadowColor, b.BevelWidth, b.Sides); break;
    default: r = PaintBorderSides(canvas, r, b.BorderInner, b.Sides); break;
  }
  return r;
}

// ---- arrows ----

bool DrawThemePart(HDC dc, const wchar_t* cls, int part, int state, const RECT& r) {
  HTHEME t = OpenThemeData(nullptr, cls);
  if (!t) return false;
  DrawThemeBackground(t, dc, part, state, &r, nullptr);
  CloseThemeData(t);
  return true;
}

namespace {

TColor ArrowColor(TCanvas* canvas, bool flat, bool enabled) {
  if (!enabled) return clBtnShadow;
  if (flat) {
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(17, 21);
    FillSolidRect(bmp.Canvas()->GetHandle(), RECT{0, 0, 17, 21}, clBlack);
    if (FcThemesEnabled())
      DrawThemePart(bmp.Canvas()->GetHandle(), L"COMBOBOX", CP_DROPDOWNBUTTON, CBXS_NORMAL, RECT{0, 0, 16, 20});
    TColor c = TColor(::GetPixel(bmp.Canvas()->GetHandle(), 8, 10));
    return ColorsSimilar(c, clWindow) ? cl3DDkShadow : c;
  }
  return ColorsSimilar(canvas->Brush()->GetColor(), clBlack) ? cl3DDkShadow : clBlack;
}

void FillPolygon(HDC dc, const std::vector<POINT>& pts, TColor c) {
  HBRUSH br = CreateSolidBrush(ColorToRGB(c));
  HGDIOBJ ob = SelectObject(dc, br), op = SelectObject(dc, GetStockObject(NULL_PEN));
  ::Polygon(dc, pts.data(), int(pts.size()));
  SelectObject(dc, op);
  SelectObject(dc, ob);
  DeleteObject(br);
}

void ArrowCentre(const RECT& r, int& cx, int& cy) {
  int w = r.right - r.left, h = r.bottom - r.top;
  cx = r.left + w / 2;
  cy = r.top + h / 2 - (h % 2 == 0 ? 1 : 0);
}

}  // namespace

void PaintSpinArrow(TCanvas* canvas, const RECT& r, bool flat, TFcArrowDirection direction, bool pressed,
                    bool enabled) {
  HDC dc = DcOf(canvas);
  TColor c = ArrowColor(canvas, flat, enabled);
  int cx, cy;
  ArrowCentre(r, cx, cy);
  int shift = enabled && pressed ? 1 : 0;
  if (!flat) {
    if (direction == adUp || direction == adDown)
      cy += 1;
    else
      cx -= 2;
    cx += shift, cy += shift;
    for (int i = 0; i < 4; ++i) {  // i = distance from the tip
      switch (direction) {
        case adUp: Fill(dc, cx - i, cy - 3 + i, cx + i + 1, cy - 2 + i, c); break;
        case adDown: Fill(dc, cx - i, cy - i, cx + i + 1, cy - i + 1, c); break;
        case adLeft: Fill(dc, cx + i, cy - i, cx + i + 1, cy + i + 1, c); break;
        case adRight: Fill(dc, cx + 3 - i, cy - i, cx + 4 - i, cy + i + 1, c); break;
      }
    }
  } else {
    switch (direction) {
      case adUp: cy += 4; break;
      case adDown: cy += 2; break;
      case adLeft: cx -= 1; break;
      case adRight: cx -= 3; break;
    }
    int x = cx + shift, y = cy + shift;
    std::vector<POINT> p;
    switch (direction) {
      case adUp: p = {{x, y - 5}, {x + 4, y}, {x + 1, y}, {x, y - 2}, {x - 1, y}, {x - 4, y}}; break;
      case adDown: p = {{x, y}, {x - 3, y - 4}, {x, y - 4}, {x, y - 3}, {x + 1, y - 4}, {x + 4, y - 4}}; break;
      case adLeft: p = {{x, y}, {x + 4, y - 4}, {x + 4, y - 1}, {x + 3, y}, {x + 4, y + 1}, {x + 4, y + 4}}; break;
      case adRight: p = {{x + 4, y}, {x, y + 4}, {x, y + 1}, {x + 1, y}, {x, y - 1}, {x, y - 4}}; break;
    }
    FillPolygon(dc, p, c);
  }
  canvas->Pen()->SetStyle(psSolid);
}

void PaintDropDownArrow(TCanvas* canvas, const RECT& r, bool flat, bool pressed, bool enabled) {
  HDC dc = DcOf(canvas);
  TColor c = ArrowColor(canvas, flat, enabled);
  int cx, cy;
  ArrowCentre(r, cx, cy);
  cy += flat ? 4 : 2;
  if (pressed) ++cx, ++cy;
  if (!flat) {
    for (int i = 0; i < 4; ++i) Fill(dc, cx - i, cy - i, cx + i + 1, cy - i + 1, c);
  } else {
    int x = cx, y = cy;
    FillPolygon(dc, {{x, y}, {x - 4, y - 5}, {x - 3, y - 7}, {x, y - 3}, {x + 3, y - 7}, {x + 5, y - 5}}, c);
  }
  canvas->Pen()->SetStyle(psSolid);
}

// ---- progress-bar painters ----

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
  HDC dc = DcOf(canvas);
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
  HDC dc = DcOf(canvas);
  if (themeAware && FcThemesEnabled()) {
    r = Shrink(r, AllSides, 1);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (orientation == orHorizontal) {
      DrawThemePart(dc, L"PROGRESS", PP_CHUNK, 0,
                    RECT{r.left, r.top, r.left + int(RoundHalfEven(w * percent / 100.0)), r.bottom});
    } else {
      int f = std::max(int(RoundHalfEven(h * percent / 100.0)), 1);
      TBitmap bmp;
      bmp.SetPixelFormat(pf24bit);
      bmp.SetSize(w, f);
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
  auto noOutline = [dc](int l, int t, int rr, int b, TColor c) { Fill(dc, l, t, rr - 1, b - 1, c); };
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
      if (on) Fill(dc, seg.left + 1, seg.top + 1, seg.right - 1, seg.bottom - 1, barColor);
      continue;
    }
    RECT in = PaintBox(canvas, seg, backColor);
    Fill(dc, in.left, in.top, in.right, in.bottom, on ? barColor : backColor);
  }
}

// ---- hot-track radio glyph ----

void PaintHotTrackRadioGlyph(TCanvas* canvas, const RECT& r, const THotTrackRadioGlyph& g) {
  static const char* const kMap[13] = {"BBBbaLFLabBBB", "BBaF12321FaBB", "BaL2iiiii2LaB", "bF2iiiiiii2Fb",
                                       "a1iiiiiiiii1a", "L2iiiiiiiii2L", "F3iiiiiiiii3F", "L2iiiiiiiii2L",
                                       "a1iiiiiiiii1a", "bF2iiiiiii2Fb", "BaL2iiiii2LaB", "BBaF12321FaBB",
                                       "BBBbaLFLabBBB"};
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(w, h);
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
  Fill(dc, 0, 0, w, h, interior);

  TColor frame = hot && g.HotTrackStyle == htsFrame ? g.HotDark : g.FrameColor;
  TColor light = FullColorDisplay ? LightenColor(frame, 10) : frame;

  if (hot && FullColorDisplay) {
    if (g.HotTrackStyle == htsFrame) {
      for (auto p : {POINT{5, 1}, {6, 1}, {7, 1}, {1, 5}, {11, 5}, {1, 6}, {11, 6}, {1, 7}, {11, 7}, {5, 11},
                     {6, 11}, {7, 11}})
        set(p.x, p.y, light);
      for (auto p : {POINT{4, 1}, {8, 1}, {1, 4}, {11, 4}, {1, 8}, {11, 8}, {4, 11}, {8, 11}}) set(p.x, p.y, frame);
    } else {
      DrawGradient(bmp.Canvas(), RECT{0, 0, w, h}, gdDiagonalDown, g.HotLight, g.HotDark, 1);
      Fill(dc, 4, 4, 9, 9, interior);
      Fill(dc, 5, 3, 8, 10, interior);
      Fill(dc, 3, 5, 10, 8, interior);
    }
  }

  TColor back = g.Transparent ? g.KeyColor : g.Color;
  TColor a, b;
  if (g.Transparent)
    a = b = g.KeyColor;
  else if (FullColorDisplay)
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
  if (FullColorDisplay) {
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
    TColor edge = FullColorDisplay ? AlphaMixColors(dot, get(4, 4), 153) : dot;
    Fill(dc, 5, 5, 8, 8, dot);
    for (auto p : {POINT{6, 4}, {4, 6}, {8, 6}, {6, 8}}) set(p.x, p.y, dot);
    for (auto p : {POINT{5, 4}, {7, 4}, {4, 5}, {8, 5}, {4, 7}, {8, 7}, {5, 8}, {7, 8}}) set(p.x, p.y, edge);
  }
  BitBlt(DcOf(canvas), r.left, r.top, w, h, dc, 0, 0, SRCCOPY);
}

// ---- frame controller ----

namespace {

using FC = TFcFrameController;

// The property names the settings are pushed under: the member names without "fcp".
std::string SettingName(TFcFrameControllerProperty p) { return FrameControllerPropertyNames()[p].substr(3); }

// The order of a full push.
const TFcFrameControllerProperty FullPushOrder[] = {
    fcpParentColor, fcpColor,      fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
    fcpFrameSides,  fcpFrameStyle, fcpFrameVisible,  fcpFramingPreference};

}  // namespace

ORV_DEFINE_CLASS(
    TFcFrameController, TComponent, FactoryOf<TFcFrameController>(),
    {IntProp<FC>("Color", &FC::GetColor, &FC::SetColor, &ColorIdents()),
     BoolProp<FC>("ParentColor", &FC::GetParentColor, &FC::SetParentColor),
     IntProp<FC>("DisabledColor", &FC::GetDisabledColor, &FC::SetDisabledColor, &ColorIdents()),
     IntProp<FC>("ReadOnlyColor", &FC::GetReadOnlyColor, &FC::SetReadOnlyColor, &ColorIdents()),
     BoolProp<FC>("ReadOnlyColorOnFocus", &FC::GetReadOnlyColorOnFocus, &FC::SetReadOnlyColorOnFocus),
     IntProp<FC>("FlatButtonColor", &FC::GetFlatButtonColor, &FC::SetFlatButtonColor, &ColorIdents()),
     BoolProp<FC>("FlatButtons", &FC::GetFlatButtons, &FC::SetFlatButtons),
     IntProp<FC>("FocusColor", &FC::GetFocusColor, &FC::SetFocusColor, &ColorIdents()),
     IntProp<FC>("FrameColor", &FC::GetFrameColor, &FC::SetFrameColor, &ColorIdents()),
     IntProp<FC>("FrameHotColor", &FC::GetFrameHotColor, &FC::SetFrameHotColor, &ColorIdents()),
     EnumProp<FC, TFrameStyle>("FrameHotStyle", FrameStyleNames(), &FC::GetFrameHotStyle, &FC::SetFrameHotStyle),
     BoolProp<FC>("FrameHotTrack", &FC::GetFrameHotTrack, &FC::SetFrameHotTrack),
     SetProp<FC>("FrameSides", SideNames(), &FC::GetFrameSides, &FC::SetFrameSides),
     EnumProp<FC, TFrameStyle>("FrameStyle", FrameStyleNames(), &FC::GetFrameStyle, &FC::SetFrameStyle),
     BoolProp<FC>("FrameVisible", &FC::GetFrameVisible, &FC::SetFrameVisible),
     EnumProp<FC, TFramingPreference>("FramingPreference", FramingPreferenceNames(), &FC::GetFramingPreference,
                                      &FC::SetFramingPreference),
     RefProp<FC, TFcRegIniFile>("RegIniFile", &FC::GetRegIniFile, &FC::SetRegIniFile),
     FrameFlatProp<FC>(),
     EnumProp<FC, TFrameStyle>("FrameFocusStyle", FrameStyleNames(), &FC::GetFrameHotStyle, &FC::SetFrameHotStyle),
     TFcOldPropReader::Identifier("FrameFlatStyle", FrameStyleNames())})

TFcFrameController::TFcFrameController(TComponent* owner) : TComponent(owner) {}

TFcFrameController::~TFcFrameController() {
  // The controls hear of it through their removal notice and clear their links.
  FControls.clear();
}

void TFcFrameController::SetColor(TColor v) {
  if (FColor == v) return;
  if (FFocusColor == FColor) FFocusColor = v;  // a focus colour that was the colour moves along
  FColor = v;
  FParentColor = false;
  Push(fcpColor);
}

void TFcFrameController::SetParentColor(bool v) {
  if (FParentColor == v) return;
  FParentColor = v;
  Push(fcpParentColor);
  if (!v) Push(fcpColor);
}

void TFcFrameController::SetFrameHotTrack(bool v) {
  if (FFrameHotTrack == v) return;
  FFrameHotTrack = v;
  if (v) {
    FFrameVisible = true;
    if (!IsLoading()) FFrameSides = AllSides;
  }
  Push(fcpFrameHotTrack);
}

void TFcFrameController::SetRegIniFile(TFcRegIniFile* v) {
  if (FRegIniFile == v) return;
  if (FRegIniFile) RemoveFreeNotification(FRegIniFile);
  FRegIniFile = v;
  if (v) FreeNotification(v);
}

void TFcFrameController::Notification(TComponent* component, TOperation op) {
  TComponent::Notification(component, op);
  if (op != opRemove) return;
  if (component == FRegIniFile) FRegIniFile = nullptr;
  FControls.erase(std::remove(FControls.begin(), FControls.end(), component), FControls.end());
}

void TFcFrameController::Assign(TPersistent* source) {
  auto* c = As<TFcFrameController>(source);
  if (!c) return TComponent::Assign(source);
  BeginUpdate();
  FColor = c->FColor, FParentColor = c->FParentColor, FDisabledColor = c->FDisabledColor;
  FReadOnlyColor = c->FReadOnlyColor, FReadOnlyColorOnFocus = c->FReadOnlyColorOnFocus;
  FFlatButtonColor = c->FFlatButtonColor, FFlatButtons = c->FFlatButtons, FFocusColor = c->FFocusColor;
  FFrameColor = c->FFrameColor, FFrameHotColor = c->FFrameHotColor, FFrameHotStyle = c->FFrameHotStyle;
  FFrameHotTrack = c->FFrameHotTrack, FFrameSides = c->FFrameSides, FFrameStyle = c->FFrameStyle;
  FFrameVisible = c->FFrameVisible, FFramingPreference = c->FFramingPreference;
  EndUpdate();
}

void TFcFrameController::Loaded() {
  TComponent::Loaded();
  PushAll();
}

void TFcFrameController::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) PushAll();
}

void TFcFrameController::AddControl(TControl* control) {
  if (!control || std::find(FControls.begin(), FControls.end(), control) != FControls.end()) return;
  FControls.push_back(control);
  if (FUpdateCount == 0 && !IsLoading()) PushAllTo(control);
}

void TFcFrameController::RemoveControl(TControl* control) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
  if (FControls.empty()) std::vector<TControl*>().swap(FControls);
}

int64_t TFcFrameController::Setting(TFcFrameControllerProperty p) const {
  return GetOrdProp(const_cast<TFcFrameController*>(this), SettingName(p));
}

void TFcFrameController::Push(TFcFrameControllerProperty p) {
  if (FUpdateCount > 0 || IsLoading()) return;
  std::vector<TControl*> controls = FControls;  // a control may leave while it takes the setting
  for (TControl* c : controls) PushTo(c, p);
}

void TFcFrameController::PushTo(TControl* control, TFcFrameControllerProperty p) {
  if (auto* notify = dynamic_cast<IFcFrameNotify*>(control)) return notify->UpdateFrame(this);
  const std::string name = SettingName(p);
  if (!HasProp(control, name)) return;
  int64_t takes = HasProp(control, "FrameControllerNotifications")
                      ? GetOrdProp(control, "FrameControllerNotifications")
                      : int64_t(AllFrameNotifications);
  if ((takes >> p) & 1) SetOrdProp(control, name, Setting(p));
}

void TFcFrameController::PushAllTo(TControl* control) {
  if (dynamic_cast<IFcFrameNotify*>(control)) return PushTo(control, fcpColor);  // it takes them all at once
  for (TFcFrameControllerProperty p : FullPushOrder)
    if (p != fcpColor || !FParentColor) PushTo(control, p);
}

void TFcFrameController::PushAll() {
  if (FUpdateCount > 0 || IsLoading()) return;
  std::vector<TControl*> controls = FControls;
  for (TControl* c : controls) PushAllTo(c);
}

void TFcFrameControllerLink::Set(TFcFrameController* controller) {
  if (controller == FController) return;
  if (FController) {
    FController->RemoveControl(FControl);
    FControl->RemoveFreeNotification(FController);
  }
  FController = controller;
  if (controller) {
    FControl->FreeNotification(controller);
    controller->AddControl(FControl);
  }
}

TPropInfo TFcOldPropReader::Boolean(const char* name) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkBoolean;
  p.EnumNames = {"False", "True"};
  p.GetOrd = [](TObject*) -> int64_t { return 0; };
  p.SetOrd = [](TObject*, int64_t) {};
  return p;
}

TPropInfo TFcOldPropReader::Identifier(const char* name, std::vector<std::string> names) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkEnum;
  p.EnumNames = std::move(names);
  p.GetOrd = [](TObject*) -> int64_t { return 0; };
  p.SetOrd = [](TObject*, int64_t) {};
  return p;
}

TPropInfo FcAboutProp() {
  TPropInfo p;
  p.Name = "About";
  p.Kind = pkString;
  p.GetStr = [](TObject*) { return std::string(); };
  p.SetStr = [](TObject*, const std::string&) {};
  return p;
}

// ---- storage location settings ----

namespace {
using RI = TFcRegIniFile;
// Functions, not globals: the controller's class (defined above) builds this class's description while
// this file's globals may not exist yet.
const std::vector<std::string>& PathTypeNames() {
  static const std::vector<std::string> n = {"ptIniFile", "ptRegistry"};
  return n;
}
const std::vector<std::string>& RegKeyNames() {
  static const std::vector<std::string> n = {"hkeyClassesRoot", "hkeyCurrentUser",     "hkeyLocalMachine",
                                             "hkeyUsers",       "hkeyPerformanceData", "hkeyCurrentConfig",
                                             "hkeyDynData"};
  return n;
}
const std::vector<std::string>& RegAccessNames() {
  static const std::vector<std::string> n = {"keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys",
                                             "keyNotify",     "keyCreateLink", "keyRead",       "keyWrite",
                                             "keyExecute",    "keyAllAccess"};
  return n;
}
const std::vector<std::string>& SpecialFolderNames() {
  static const std::vector<std::string> n = {"sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal",
                                             "sfUserDocuments", "sfProgramData"};
  return n;
}
}  // namespace

ORV_DEFINE_CLASS(TFcRegIniFile, TComponent, FactoryOf<TFcRegIniFile>(),
                 {StrProp<RI>("Path", &RI::GetPath, &RI::SetPath),
                  EnumProp<RI, TFcPathType>("PathType", PathTypeNames(), &RI::GetPathType, &RI::SetPathType),
                  EnumProp<RI, TFcRegKey>("RegKey", RegKeyNames(), &RI::GetRegKey, &RI::SetRegKey),
                  SetProp<RI>("RegAccess", RegAccessNames(), &RI::GetRegAccess, &RI::SetRegAccess),
                  EnumProp<RI, TFcSpecialFolder>("SpecialFolder", SpecialFolderNames(), &RI::GetSpecialFolder,
                                                 &RI::SetSpecialFolder)})

TFcRegIniFile::~TFcRegIniFile() { Release(); }

void TFcRegIniFile::Release() {
  FIniFile.reset();
  if (FKey) RegCloseKey(FKey);
  FKey = nullptr;
}

std::string TFcRegIniFile::IniFileName() const {
  static const int Folders[] = {0, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_PERSONAL, CSIDL_COMMON_APPDATA};
  if (FSpecialFolder == sfNone) return FPath;
  char folder[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, Folders[FSpecialFolder], nullptr, 0, folder))) return FPath;
  std::string name = folder;
  if (!name.empty() && name.back() != '\\') name += '\\';
  return name + FPath;
}

TIniFile* TFcRegIniFile::IniFile() {
  if (FPathType != ptIniFile) return nullptr;
  if (!FIniFile) FIniFile.reset(new TIniFile(IniFileName()));
  return FIniFile.get();
}

REGSAM TFcRegIniFile::AccessRights() const {
  static const REGSAM Rights[] = {KEY_QUERY_VALUE, KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_ENUMERATE_SUB_KEYS,
                                  KEY_NOTIFY,      KEY_CREATE_LINK, KEY_READ,         KEY_WRITE,
                                  KEY_EXECUTE,     KEY_ALL_ACCESS};
  REGSAM rights = 0;
  for (int i = 0; i <= keyAllAccess; ++i)
    if (FRegAccess & (1u << i)) rights |= Rights[i];
  return rights;
}

HKEY TFcRegIniFile::RegistryKey() {
  if (FPathType != ptRegistry) return nullptr;
  if (!FKey) {
    static const HKEY Roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                                 HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
    if (RegCreateKeyExA(Roots[FRegKey], FPath.c_str(), 0, nullptr, 0, AccessRights(), nullptr, &FKey, nullptr) !=
        ERROR_SUCCESS)
      FKey = nullptr;
  }
  return FKey;
}
