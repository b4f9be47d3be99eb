#include "FcCommon.h"

#include <shlwapi.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

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

bool FullColorDisplay() {
  static const bool full = DisplayHasFullColor();
  return full;
}

int XPColorScheme() {
  static const int scheme = ReadXPColorScheme();
  return scheme;
}

// ---- geometry ----

RECT RectCentredIn(const RECT& r, int width, int height) {
  int l = (r.left + r.right - width) / 2, t = (r.top + r.bottom - height) / 2;
  return RECT{l, t, l + width, t + height};
}

int FontLineHeight(TFont* font) { return font->CellHeight() + 2; }

void RedrawWindowFrame(HWND window, const RECT& r) {
  HDC dc = GetWindowDC(window);
  RECT clip{};
  int kind = dc ? GetClipBox(dc, &clip) : ERROR;
  if (dc) ReleaseDC(window, dc);
  if (kind != NULLREGION && kind != ERROR) RedrawWindow(window, &r, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

// ---- frames ----

RECT ShrinkSides(RECT r, TSides sides, int by) {
  if (HasSide(sides, sdLeft)) r.left += by;
  if (HasSide(sides, sdTop)) r.top += by;
  if (HasSide(sides, sdRight)) r.right -= by;
  if (HasSide(sides, sdBottom)) r.bottom -= by;
  return r;
}

void FillColorRect(HDC dc, int left, int top, int right, int bottom, TColor color) {
  if (color == clNone || right <= left || bottom <= top) return;
  FillSolidRect(dc, RECT{left, top, right, bottom}, color);
}

namespace {

inline HDC DcOf(TCanvas* c) { return c->GetHandle(); }
inline void Pixel(HDC dc, int x, int y, TColor c) { FillColorRect(dc, x, y, x + 1, y + 1, c); }

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
  return ShrinkSides(b, sides, 2);
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
    if (HasSide(sides, sdLeft)) FillColorRect(dc, b.left, b.top, b.left + 1, b.bottom, ul);
    if (HasSide(sides, sdTop)) FillColorRect(dc, b.left, b.top, b.right, b.top + 1, ul);
  }
  if (lr != clNone) {
    if (HasSide(sides, sdRight)) FillColorRect(dc, b.right - 1, b.top, b.right, b.bottom, lr);
    if (HasSide(sides, sdBottom)) FillColorRect(dc, b.left, b.bottom - 1, b.right, b.bottom, lr);
  }
  return ShrinkSides(b, sides, 1);
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
  if (left) FillColorRect(dc, b.left, t, b.left + 1, bt, color);
  if (right) FillColorRect(dc, b.right - 1, t, b.right, bt, color);
  if (top) FillColorRect(dc, l, b.top, rt, b.top + 1, color);
  if (bottom) FillColorRect(dc, l, b.bottom - 1, rt, b.bottom, color);
  if (left && top) Pixel(dc, b.left + 1, b.top + 1, color);
  if (top && right) Pixel(dc, b.right - 2, b.top + 1, color);
  if (right && bottom) Pixel(dc, b.right - 2, b.bottom - 2, color);
  if (bottom && left) Pixel(dc, b.left + 1, b.bottom - 2, color);
  return ShrinkSides(b, sides, 2);
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
  return ShrinkSides(b, AllSides, 1);
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
        PaintSides(canvas, ShrinkSides(r, b.Sides, 1), b.BorderColor, b.BorderColor, b.Sides);
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
        FillColorRect(dc, r.left, r.top + 1, r.left + 1, r.bottom - 1, F);
        FillColorRect(dc, r.right - 1, r.top + 1, r.right, r.bottom - 1, F);
        FillColorRect(dc, r.left + 1, r.top, r.right - 1, r.top + 1, F);
        FillColorRect(dc, r.left + 1, r.bottom - 1, r.right - 1, r.bottom, F);
        r = ShrinkSides(r, AllSides, 1);
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
    bmp.SetSize(17, 21, pf24bit);
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
        case adUp: FillColorRect(dc, cx - i, cy - 3 + i, cx + i + 1, cy - 2 + i, c); break;
        case adDown: FillColorRect(dc, cx - i, cy - i, cx + i + 1, cy - i + 1, c); break;
        case adLeft: FillColorRect(dc, cx + i, cy - i, cx + i + 1, cy + i + 1, c); break;
        case adRight: FillColorRect(dc, cx + 3 - i, cy - i, cx + 4 - i, cy + i + 1, c); break;
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
    for (int i = 0; i < 4; ++i) FillColorRect(dc, cx - i, cy - i, cx + i + 1, cy - i + 1, c);
  } else {
    int x = cx, y = cy;
    FillPolygon(dc, {{x, y}, {x - 4, y - 5}, {x - 3, y - 7}, {x, y - 3}, {x + 3, y - 7}, {x + 5, y - 5}}, c);
  }
  canvas->Pen()->SetStyle(psSolid);
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
