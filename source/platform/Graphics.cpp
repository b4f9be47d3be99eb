// Colours, fonts, brushes, pens and the canvas. The pictures (bitmaps, icons, their reading and writing,
// the file-format registry and image lists) are in Pictures.cpp.
#include "Graphics.h"

// ---- colours ----

COLORREF ColorToRGB(TColor c) {
  if (c < 0) return GetSysColor(c & 0xFF);
  return COLORREF(c) & 0xFFFFFF;
}

const TIdentMap& ColorIdents() {
  static const TIdentMap map = {
      {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
      {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
      {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
      {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
      {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
      {clMedGray, "clMedGray"}, {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
      {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
      {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
      {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
      {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
      {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
      {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
      {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
      {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
      {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
      {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
      {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"}};
  return map;
}

std::string ColorToString(TColor c) {
  for (const auto& e : ColorIdents())
    if (e.Value == c) return e.Name;
  char buf[16];
  snprintf(buf, sizeof buf, "$%.8X", unsigned(c));
  return buf;
}

TColor StringToColor(const std::string& s) {
  for (const auto& e : ColorIdents())
    if (SameTextCI(e.Name, s)) return e.Value;
  char* end = nullptr;
  const char* b = s.c_str();
  long long v;
  if (*b == '$')
    v = strtoll(b + 1, &end, 16);
  else
    v = strtoll(b, &end, 0);
  if (s.empty() || *end) throw EPropertyError("'" + s + "' is not a valid colour");
  return TColor(uint32_t(v));
}

RECT ClientRectInWindow(HWND window) {
  RECT wr, cr;
  GetWindowRect(window, &wr);
  ::GetClientRect(window, &cr);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&cr), 2);
  OffsetRect(&cr, -wr.left, -wr.top);
  return cr;
}

void FillSolidRect(HDC dc, const RECT& r, TColor c) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(c));
  ::FillRect(dc, &r, b);
  DeleteObject(b);
}

int ScreenPixelsPerInch() {
  static int ppi = 0;
  if (!ppi) {
    HDC dc = GetDC(nullptr);
    ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    if (ppi <= 0) ppi = 96;
  }
  return ppi;
}

// ---- drawing tools ----

ORV_DEFINE_CLASS(TGraphicsObject, TPersistent, nullptr, {})

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kFontStyleNames() { return {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}; }
static const TIdentMap kCharsetIdents = {
    {ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"}, {OEM_CHARSET, "OEM_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"}, {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"}, {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"}, {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"}, {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}};

ORV_DEFINE_CLASS(TFont, TGraphicsObject, nullptr,
                 {IntProp<TFont>("Charset", &TFont::GetCharset, &TFont::SetCharset, &kCharsetIdents),
                  IntProp<TFont>("Color", &TFont::GetColor, &TFont::SetColor, &ColorIdents()),
                  IntProp<TFont>("Height", &TFont::GetHeight, &TFont::SetHeight),
                  StrProp<TFont>("Name", &TFont::GetName, &TFont::SetName),
                  EnumProp<TFont, TFontPitch>("Pitch", {"fpDefault", "fpVariable", "fpFixed"},
                                              &TFont::GetPitch, &TFont::SetPitch),
                  IntProp<TFont>("Size", &TFont::GetSize, &TFont::SetSize),
                  SetProp<TFont>("Style", kFontStyleNames(), &TFont::GetStyle, &TFont::SetStyle)})

TFont::TFont() = default;
TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TFont::Assign(TPersistent* source) {
  auto* f = As<TFont>(source);
  if (!f) return TPersistent::Assign(source);
  FreeHandle();
  TFontAttributes::operator=(*f);
  Changed();
}

int TFont::PixelsPerInch() const { return ScreenPixelsPerInch(); }

int TFont::CellHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Handle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTA lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & (1u << fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & (1u << fsItalic)) != 0;
    lf.lfUnderline = (FStyle & (1u << fsUnderline)) != 0;
    lf.lfStrikeOut = (FStyle & (1u << fsStrikeOut)) != 0;
    lf.lfCharSet = BYTE(FCharset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
    FHandle = CreateFontIndirectA(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT h) {
  LOGFONTA lf{};
  if (!h || !GetObjectA(h, sizeof lf, &lf)) return;
  FreeHandle();
  FName = lf.lfFaceName;
  FHeight = lf.lfHeight;
  FStyle = (lf.lfWeight >= FW_BOLD ? 1u << fsBold : 0) | (lf.lfItalic ? 1u << fsItalic : 0) |
           (lf.lfUnderline ? 1u << fsUnderline : 0) | (lf.lfStrikeOut ? 1u << fsStrikeOut : 0);
  FCharset = lf.lfCharSet;
  FHandle = h;
  Changed();
}

#define ORV_FONT_SETTER(Setter, Field, Type)   \
  void TFont::Setter(Type v) {                 \
    if (Field == v) return;                    \
    FreeHandle();                              \
    Field = v;                                 \
    Changed();                                 \
  }
ORV_FONT_SETTER(SetHeight, FHeight, int)
ORV_FONT_SETTER(SetStyle, FStyle, unsigned)
ORV_FONT_SETTER(SetCharset, FCharset, int)
ORV_FONT_SETTER(SetPitch, FPitch, TFontPitch)

void TFont::SetName(const std::string& v) {
  if (FName == v || v.empty()) return;
  FreeHandle();
  FName = v;
  Changed();
}

void TFont::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;  // the colour is not part of the GDI font
  Changed();
}

int TFont::GetSize() const { return -MulDiv(FHeight, 72, PixelsPerInch()); }
void TFont::SetSize(int v) { SetHeight(-MulDiv(v, PixelsPerInch(), 72)); }

// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kBrushStyleNames() { return {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                                          "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"}; }
ORV_DEFINE_CLASS(TBrush, TGraphicsObject, nullptr,
                 {IntProp<TBrush>("Color", &TBrush::GetColor, &TBrush::SetColor, &ColorIdents()),
                  EnumProp<TBrush, TBrushStyle>("Style", kBrushStyleNames(), &TBrush::GetStyle, &TBrush::SetStyle)})

TBrush::~TBrush() { FreeHandle(); }
void TBrush::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}
void TBrush::Assign(TPersistent* source) {
  auto* b = As<TBrush>(source);
  if (!b) return TPersistent::Assign(source);
  FreeHandle();
  FColor = b->FColor;
  FStyle = b->FStyle;
  Changed();
}
HBRUSH TBrush::Handle() {
  if (!FHandle) {
    static const int hatch[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    if (FStyle == bsClear)
      return HBRUSH(GetStockObject(NULL_BRUSH));
    FHandle = FStyle == bsSolid ? CreateSolidBrush(ColorToRGB(FColor)) : CreateHatchBrush(hatch[FStyle], ColorToRGB(FColor));
  }
  return FHandle;
}
void TBrush::SetColor(TColor v) {
  if (FColor == v && FStyle != bsClear) return;
  FreeHandle();
  FColor = v;
  if (FStyle == bsClear) FStyle = bsSolid;  // choosing a colour makes a cleared brush solid again
  Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (FStyle == v) return;
  FreeHandle();
  FStyle = v;
  Changed();
}

ORV_DEFINE_CLASS(TPen, TGraphicsObject, nullptr,
                 {IntProp<TPen>("Color", &TPen::GetColor, &TPen::SetColor, &ColorIdents()),
                  EnumProp<TPen, TPenMode>("Mode", {"pmCopy", "pmNot", "pmXor", "pmNotXor"}, &TPen::GetMode, &TPen::SetMode),
                  EnumProp<TPen, TPenStyle>("Style", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
                                            &TPen::GetStyle, &TPen::SetStyle),
                  IntProp<TPen>("Width", &TPen::GetWidth, &TPen::SetWidth)})

TPen::~TPen() { FreeHandle(); }
void TPen::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}
void TPen::Assign(TPersistent* source) {
  auto* p = As<TPen>(source);
  if (!p) return TPersistent::Assign(source);
  FreeHandle();
  FColor = p->FColor;
  FWidth = p->FWidth;
  FStyle = p->FStyle;
  FMode = p->FMode;
  Changed();
}
HPEN TPen::Handle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}
void TPen::SetColor(TColor v) {
  if (FColor == v) return;
  FreeHandle();
  FColor = v;
  Changed();
}
void TPen::SetWidth(int v) {
  if (FWidth == v) return;
  FreeHandle();
  FWidth = v;
  Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (FStyle == v) return;
  FreeHandle();
  FStyle = v;
  Changed();
}
void TPen::SetMode(TPenMode v) {
  FMode = v;
  Changed();
}

// ---- canvas ----

ORV_DEFINE_CLASS(TCanvas, TPersistent, nullptr, {})

TCanvas::TCanvas() : FFont(new TFont), FBrush(new TBrush), FPen(new TPen) {}

TCanvas::~TCanvas() {
  DeselectHandles();
  delete FFont;
  delete FBrush;
  delete FPen;
}

HDC TCanvas::GetHandle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == FHandle) return;
  DeselectHandles();
  FHandle = dc;
}

void TCanvas::DeselectHandles() {
  if (FHandle) {
    if (FOldFont) SelectObject(FHandle, FOldFont);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
    if (FOldPen) SelectObject(FHandle, FOldPen);
  }
  FOldFont = FOldBrush = FOldPen = nullptr;
}

void TCanvas::RequireFont() {
  HDC dc = GetHandle();
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, FFont->Handle());
  if (!FOldFont) FOldFont = old;
  SetTextColor(dc, ColorToRGB(FFont->GetColor()));
}

void TCanvas::RequireBrush() {
  HDC dc = GetHandle();
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, FBrush->Handle());
  if (!FOldBrush) FOldBrush = old;
  if (FBrush->GetStyle() == bsClear) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkColor(dc, ColorToRGB(FBrush->GetColor()));
    SetBkMode(dc, FBrush->GetStyle() == bsSolid ? OPAQUE : TRANSPARENT);
  }
}

void TCanvas::RequirePen() {
  HDC dc = GetHandle();
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, FPen->Handle());
  if (!FOldPen) FOldPen = old;
  static const int rop[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_NOTXORPEN};
  SetROP2(dc, rop[FPen->GetMode()]);
}

void TCanvas::RequireAll() {
  RequireFont();
  RequireBrush();
  RequirePen();
}

void TCanvas::MoveTo(int x, int y) {
  if (HDC dc = GetHandle()) MoveToEx(dc, x, y, nullptr);
  FPenPos = {x, y};
}
void TCanvas::LineTo(int x, int y) {
  RequirePen();
  if (HDC dc = GetHandle()) ::LineTo(dc, x, y);
  FPenPos = {x, y};
}
void TCanvas::Rectangle(int l, int t, int r, int b) {
  RequirePen();
  RequireBrush();
  if (HDC dc = GetHandle()) ::Rectangle(dc, l, t, r, b);
}
void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h) {
  RequirePen();
  RequireBrush();
  if (HDC dc = GetHandle()) ::RoundRect(dc, l, t, r, b, w, h);
}
void TCanvas::Ellipse(int l, int t, int r, int b) {
  RequirePen();
  RequireBrush();
  if (HDC dc = GetHandle()) ::Ellipse(dc, l, t, r, b);
}
void TCanvas::Polygon(const std::vector<POINT>& pts) {
  RequirePen();
  RequireBrush();
  if (HDC dc = GetHandle()) ::Polygon(dc, pts.data(), int(pts.size()));
}
void TCanvas::Polyline(const std::vector<POINT>& pts) {
  RequirePen();
  if (HDC dc = GetHandle()) ::Polyline(dc, pts.data(), int(pts.size()));
}
void TCanvas::FillRect(const RECT& r) {
  RequireBrush();
  if (HDC dc = GetHandle())
    if (FBrush->GetStyle() != bsClear) ::FillRect(dc, &r, FBrush->Handle());
}
void TCanvas::FrameRect(const RECT& r) {
  RequireBrush();
  if (HDC dc = GetHandle()) ::FrameRect(dc, &r, FBrush->Handle());
}
void TCanvas::DrawFocusRect(const RECT& r) {
  RequireBrush();
  if (HDC dc = GetHandle()) ::DrawFocusRect(dc, &r);
}
void TCanvas::TextOut(int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  if (HDC dc = GetHandle()) ::TextOutA(dc, x, y, text.c_str(), int(text.size()));
  FPenPos = {x + TextWidth(text), y};
}
void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  UINT opts = ETO_CLIPPED | (FBrush->GetStyle() != bsClear ? ETO_OPAQUE : 0);
  if (HDC dc = GetHandle()) ExtTextOutA(dc, x, y, opts, &r, text.c_str(), UINT(text.size()), nullptr);
}
int TCanvas::DrawText(const std::string& text, RECT& r, UINT format) {
  RequireFont();
  RequireBrush();
  HDC dc = GetHandle();
  return dc ? ::DrawTextA(dc, text.c_str(), int(text.size()), &r, format) : 0;
}
SIZE TCanvas::TextExtent(const std::string& text) {
  SIZE s{0, 0};
  RequireFont();
  if (HDC dc = GetHandle()) GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &s);
  return s;
}
void TCanvas::Draw(int x, int y, TGraphic* g) {
  if (!g || g->Empty()) return;
  RECT r{x, y, x + g->GetWidth(), y + g->GetHeight()};
  g->Draw(this, r);
}
void TCanvas::StretchDraw(const RECT& r, TGraphic* g) {
  if (g && !g->Empty()) g->Draw(this, r);
}
void TCanvas::CopyRect(const RECT& dest, TCanvas* source, const RECT& src) {
  HDC dc = GetHandle();
  HDC sdc = source ? source->GetHandle() : nullptr;
  if (!dc || !sdc) return;
  int mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, sdc, src.left, src.top,
             src.right - src.left, src.bottom - src.top, SRCCOPY);
  SetStretchBltMode(dc, mode);
}
TColor TCanvas::GetPixel(int x, int y) {
  HDC dc = GetHandle();
  return dc ? TColor(::GetPixel(dc, x, y)) : clNone;
}
void TCanvas::SetPixel(int x, int y, TColor c) {
  if (HDC dc = GetHandle()) ::SetPixel(dc, x, y, ColorToRGB(c));
}
RECT TCanvas::ClipRect() {
  RECT r{0, 0, 0, 0};
  if (HDC dc = GetHandle()) GetClipBox(dc, &r);
  return r;
}
