#include "LayeredWnd.h"

#include <cstring>
#include <vector>

#include "Strings.h"

namespace {
std::vector<const TClassInfo& (*)()>& ListedLayeredClasses() {
  static std::vector<const TClassInfo& (*)()> classes;
  return classes;
}
}  // namespace

bool ListLayeredClass(const TClassInfo& (*classInfo)()) {
  ListedLayeredClasses().push_back(classInfo);
  return true;
}

void RegisterLayeredClasses() {
  static const bool done = [] {
    TClassInfo::Register(TfrmLayered::StaticClassInfo());
    TClassInfo::Register(TLayeredControl::StaticClassInfo());
    for (auto classInfo : ListedLayeredClasses()) TClassInfo::Register(classInfo());
    return true;
  }();
  (void)done;
}

ORV_DEFINE_LAYERED_CLASS(
    TfrmLayered, TForm, FactoryOf<TfrmLayered>(),
    {IntProp<TfrmLayered>("BlendAlpha", &TfrmLayered::GetBlendAlphaInt, &TfrmLayered::SetBlendAlphaInt),
     StrProp<TfrmLayered>("BackgroundImage", &TfrmLayered::GetBackgroundImage, &TfrmLayered::SetBackgroundImage),
     IntProp<TfrmLayered>("KeyColor", &TfrmLayered::GetKeyColorInt, &TfrmLayered::SetKeyColorInt),
     EnumProp<TfrmLayered, TTextQuality>(
         "TextQuality",
         {"TextQuality_SystemDefault", "TextQuality_SingleBitPerPixelGridFit", "TextQuality_SingleBitPerPixel",
          "TextQuality_AntiAliasGridFit", "TextQuality_AntiAlias", "TextQuality_ClearTypeGridFit"},
         &TfrmLayered::GetTextQuality, &TfrmLayered::SetTextQuality),
     StrProp<TfrmLayered>("ResourcesTypeName", &TfrmLayered::GetResourcesTypeName,
                          &TfrmLayered::SetResourcesTypeName),
     StrProp<TfrmLayered>("BackgroundResourcesName", &TfrmLayered::GetBackgroundResourcesName,
                          &TfrmLayered::SetBackgroundResourcesName)})

TfrmLayered::TfrmLayered(TComponent* owner) : TForm(owner), FBlendFunction(DefaultLayeredBlend()) {
  RegisterLayeredClasses();
}

TfrmLayered::~TfrmLayered() {
  delete FBackgroundPicture;
  FBackgroundPicture = nullptr;
  FreeBuffers();
}

void TfrmLayered::DeclareLayout(TLayoutBinder& binder) {
  TForm::DeclareLayout(binder);
  binder.Handler("FormMouseDown", this, &TfrmLayered::FormMouseDown);
}

void TfrmLayered::CreateParams(TCreateParams& p) {
  TForm::CreateParams(p);
  p.Style &= 0xFF3BFFFF;  // no caption, no sizing frame
  p.ExStyle &= ~DWORD(WS_EX_DLGMODALFRAME | WS_EX_TRANSPARENT);
  p.ExStyle |= WS_EX_LAYERED;
}

void TfrmLayered::Loaded() {
  TForm::Loaded();
  // The layouts (this class's own and the descendant's) have given the window its final size.
  if (!FBuffersTried) {
    FBuffersTried = true;
    CreateBuffers();
  }
}

void TfrmLayered::FreeBuffers() {
  delete FMemGraphics;
  FMemGraphics = nullptr;
  if (FMemDC) DeleteDC(FMemDC);
  if (FBackgroundDC) DeleteDC(FBackgroundDC);
  if (FMemBitmap) DeleteObject(FMemBitmap);
  if (FBackgroundBitmap) DeleteObject(FBackgroundBitmap);
  FMemDC = FBackgroundDC = nullptr;
  FMemBitmap = FBackgroundBitmap = nullptr;
}

bool TfrmLayered::CreateBuffers() {
  FreeBuffers();
  BITMAPINFO bi = Dib32Info(GetWidth(), GetHeight());  // bottom-up rows
  void* bits = nullptr;
  HBITMAP mem = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HBITMAP back = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!mem || !back) {
    if (mem) DeleteObject(mem);
    if (back) DeleteObject(back);
    return false;
  }
  HDC memDC = CreateCompatibleDC(nullptr);
  HDC backDC = CreateCompatibleDC(nullptr);
  SelectObject(memDC, mem);
  SelectObject(backDC, back);
  auto* graphics = new TGPGraphics(memDC);
  if (!graphics->Native()) {
    delete graphics;
    DeleteDC(memDC);
    DeleteDC(backDC);
    DeleteObject(mem);
    DeleteObject(back);
    return false;
  }
  FMemDC = memDC;
  FMemBitmap = mem;
  FBackgroundDC = backDC;
  FBackgroundBitmap = back;
  FMemGraphics = graphics;
  FMemGraphics->SetTextRenderingHint(TextQuality_AntiAlias);
  return true;
}

void TfrmLayered::RestoreBackground() {
  if (FBackgroundDC) BitBlt(FMemDC, 0, 0, GetWidth(), GetHeight(), FBackgroundDC, 0, 0, SRCCOPY);
}

void TfrmLayered::Repaint() { Paint(); }

bool TfrmLayered::Present(BLENDFUNCTION blend) {
  if (!FMemDC) return false;
  GdiFlush();
  SIZE size{GetWidth(), GetHeight()};
  POINT source{0, 0};
  return CallUpdateLayeredWindow(Handle(), nullptr, nullptr, &size, FMemDC, &source, FKeyColor, &blend,
                                 ULW_ALPHA) != FALSE;
}

void TfrmLayered::Paint() {
  if (!FMemGraphics) return;
  if (FBackgroundPicture) RestoreBackground();
  // The children draw into the surface; the window is presented once for all of them.
  for (TControl* c : ControlList()) {
    if (auto* child = dynamic_cast<TLayeredChild*>(c)) {
      child->SetLayeredParent(this);
      child->DrawLayer();
    }
  }
  Present(FBlendFunction);
}

void TfrmLayered::UseBackground(TGPImage* picture) {
  delete FBackgroundPicture;
  FBackgroundPicture = picture;
  // A picture with transparent parts must not blend over the one it replaces.
  if (picture->GetWidth() > 0) {
    GdiFlush();
    BITMAP bm;
    if (GetObjectA(FBackgroundBitmap, sizeof(bm), &bm) && bm.bmBits)
      std::memset(bm.bmBits, 0, size_t(bm.bmWidthBytes) * size_t(bm.bmHeight));
  }
  TGPGraphics g(FBackgroundDC);
  g.DrawImage(picture, 0, 0, GetWidth(), GetHeight());
}

void TfrmLayered::SetBackgroundImage(const std::string& path) {
  TGPImage* picture = LoadImageFromFile(path);
  if (!FMemGraphics) {
    delete picture;
    delete FBackgroundPicture;
    FBackgroundPicture = nullptr;
    return;
  }
  FBackgroundImage = path;
  UseBackground(picture);
  Repaint();
}

void TfrmLayered::SetBackgroundResourcesName(const std::string& v) {
  FBackgroundResourcesName = v;
  if (v.empty() || FResourcesTypeName.empty()) return;
  TGPImage* picture = LoadImageFromResource(v, FResourcesTypeName, ResourceModule);
  if (picture && FMemGraphics)
    UseBackground(picture);
  else
    delete picture;
  Repaint();
}

void TfrmLayered::SetResourcesTypeName(const std::string& v) {
  FResourcesTypeName = v;
  SetBackgroundResourcesName(FBackgroundResourcesName);
}

void TfrmLayered::SetKeyColor(unsigned v) {
  FKeyColor = v;
  Repaint();
}

void TfrmLayered::SetTextQuality(TTextQuality v) {
  FTextQuality = v;
  if (FMemGraphics) FMemGraphics->SetTextRenderingHint(v >= 1 && v <= 5 ? int(v) : 0);
  Repaint();
}

void TfrmLayered::FormMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  ReleaseCapture();
  SendMessageA(Handle(), WM_SYSCOMMAND, 0xF012, 0);  // move by the caption until the button is released
}

// ---- TLayeredControl ----

char LowerChar(char c) {
  CharLowerBuffA(&c, 1);
  return c;
}

char CaptionAccelerator(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return LowerChar(caption[i + 1]);
  }
  return 0;
}

ORV_DEFINE_LAYERED_CLASS(
    TLayeredControl, TCustomControl, nullptr,
    {StrProp<TLayeredControl>("Caption", &TLayeredControl::GetCaption, &TLayeredControl::SetCaption),
     IntProp<TLayeredControl>("TextX", &TLayeredControl::GetTextX, &TLayeredControl::SetTextX),
     IntProp<TLayeredControl>("TextY", &TLayeredControl::GetTextY, &TLayeredControl::SetTextY),
     BoolProp<TLayeredControl>("DrawFocused", &TLayeredControl::GetDrawFocused, &TLayeredControl::SetDrawFocused),
     IntProp<TLayeredControl>("FocusedRectMargin", &TLayeredControl::GetFocusedRectMargin,
                              &TLayeredControl::SetFocusedRectMargin),
     EnumProp<TLayeredControl, TLayeredAlignment>("TextAlign", LayeredAlignmentNames(), &TLayeredControl::GetTextAlign,
                                                  &TLayeredControl::SetTextAlign),
     BoolProp<TLayeredControl>("MultiLines", &TLayeredControl::GetMultiLines, &TLayeredControl::SetMultiLines),
     BoolProp<TLayeredControl>("EnableStatesFont", &TLayeredControl::GetEnableStatesFont,
                               &TLayeredControl::SetEnableStatesFont),
     ObjProp<TLayeredControl, TFont>("FontMouseHover", &TLayeredControl::GetFontMouseHover,
                                     &TLayeredControl::SetFontMouseHover),
     ObjProp<TLayeredControl, TFont>("FontMouseDown", &TLayeredControl::GetFontMouseDown,
                                     &TLayeredControl::SetFontMouseDown),
     ObjProp<TLayeredControl, TFont>("FontDisabled", &TLayeredControl::GetFontDisabled,
                                     &TLayeredControl::SetFontDisabled),
     RefProp<TLayeredControl, TfrmLayered>("LayeredParent", &TLayeredControl::GetLayeredParent,
                                           &TLayeredControl::SetLayeredParent)})

TLayeredControl::TLayeredControl(TComponent* owner)
    : TCustomControl(owner), TStateFontsOwner(GetFont()), FBlendFunction(DefaultLayeredBlend()) {
  OnClick = nullptr;
  FText.clear();
  FControlStyle &= ~unsigned(csAcceptsControls | csDoubleClicks);
  FAutoSize = false;
}

TLayeredControl::~TLayeredControl() {}

void TLayeredControl::Repaint() {
  if (FChangeDepth > 0) {
    FRepaintHeld = true;
    return;
  }
  if (FLayeredParent) FBlendFunction.SourceConstantAlpha = FLayeredParent->GetBlendAlpha();
  Paint();
}

void TLayeredControl::Paint() {
  if (!FLayeredParent || !FLayeredParent->GetMemGraphics()) return;
  DrawLayer();
  FBlendFunction.SourceConstantAlpha = FLayeredParent->GetBlendAlpha();
  FLayeredParent->Present(FBlendFunction);
}

void TLayeredControl::DrawLayer() {
  if (!FLayeredParent || !FLayeredParent->GetMemGraphics()) return;
  RestoreBackground();
  DrawContent(FLayeredParent->GetMemGraphics());
}

void TLayeredControl::DrawContent(TGPGraphics* g) {
  DrawFocusRect(g);
  if (!Trim(FCaption).empty()) DrawCaption(g, FCaption);
}

void TLayeredControl::RestoreBackground() {
  if (!FLayeredParent || !FLayeredParent->GetBackgroundDC()) return;
  GdiFlush();
  BitBlt(FLayeredParent->GetMemDC(), GetLeft(), GetTop(), GetWidth(), GetHeight(), FLayeredParent->GetBackgroundDC(),
         GetLeft(), GetTop(), SRCCOPY);
}

TFont* TLayeredControl::StateFont() const { return FStateFonts.For(GetFont(), GetEnabled(), FPressed, FHovered); }

void TLayeredControl::DrawCaption(TGPGraphics* g, const std::string& text) {
  if (!GetVisible()) return;
  TGPRectF layout{float(GetLeft()), float(GetTop()), float(GetWidth()), float(GetHeight())};
  int horizontal = 0, vertical = 0;
  CaptionAlignment(FTextAlign, horizontal, vertical);
  if (FTextAlign == Alignment_Custom)
    layout = TGPRectF(float(GetLeft() + FTextX), float(GetTop() + FTextY), float(GetWidth() - FTextX),
                      float(GetHeight() - FTextY));
  TGPStringFormat format(0, 0);
  format.SetAlignment(horizontal);
  format.SetLineAlignment(vertical);
  TFont* font = StateFont();
  TGPFont gpFont(FLayeredParent->GetMemDC(), font->Handle());
  if (!gpFont.IsAvailable()) return;
  TGPSolidBrush brush(ColorToARGB(font->GetColor(), 255));
  if (FPressed && CaptionFollowsPress()) {
    layout.X += 1;
    layout.Y += 1;
  }
  int flags = format.GetFormatFlags();
  format.SetFormatFlags(FMultiLines ? (flags & ~StringFormatFlagsNoWrap) : (flags | StringFormatFlagsNoWrap));
  format.SetTrimming(StringTrimmingEllipsisWord);
  std::wstring w = Widen(text);
  g->DrawString(w.c_str(), int(w.size()), &gpFont, layout, &format, &brush);
}

bool TLayeredControl::FocusRectWanted() const {
  return GetVisible() && FDrawFocused && const_cast<TLayeredControl*>(this)->Focused();
}

void TLayeredControl::DrawFocusRect(TGPGraphics* g) {
  if (!FocusRectWanted()) return;
  int m = FFocusedRectMargin;
  TGPPen pen(ColorToARGB(GetFont()->GetColor(), 128), float(m));
  g->DrawRectangle(&pen, GetLeft() + m, GetTop() + m, GetWidth() - 2 * m, GetHeight() - 2 * m);
}

void TLayeredControl::SetState(bool hovered, bool pressed) {
  if (hovered == FHovered && pressed == FPressed) return;
  FHovered = hovered;
  FPressed = pressed;
  Repaint();
}

void TLayeredControl::EndChange() {
  if (--FChangeDepth > 0 || !FRepaintHeld) return;
  FRepaintHeld = false;
  Repaint();
}

void TLayeredControl::TakeFocus() {
  if (!GetTabStop() || !CanFocus() || !GetEnabled() || !GetVisible()) return;
  try {
    SetFocus();
  } catch (...) {
  }
}

void TLayeredControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    BeginChange();
    FPressed = true;
    FHovered = false;
    TakeFocus();
    Repaint();
    EndChange();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TLayeredControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  bool hovered = Inside(x, y);
  if (hovered && (ComponentState() & csDesigning)) return;
  SetState(hovered, false);
  TCustomControl::MouseUp(button, shift, x, y);
}

void TLayeredControl::SetEnabled(bool v) {
  TCustomControl::SetEnabled(v);
  Repaint();
}

void TLayeredControl::SetCaption(const std::string& v) {
  FCaption = v;
  SetText(v);
  Changed();
}

void TLayeredControl::SetTextAlign(TLayeredAlignment v) {
  if (v == FTextAlign) return;
  FTextAlign = v;
  Repaint();
}

void TLayeredControl::SetTextX(int v) {
  if (v == FTextX) return;
  FTextX = v;
  Repaint();
}

void TLayeredControl::SetTextY(int v) {
  if (v == FTextY) return;
  FTextY = v;
  Repaint();
}

void TLayeredControl::SetMultiLines(bool v) {
  if (v == FMultiLines) return;
  FMultiLines = v;
  Repaint();
}

void TLayeredControl::SetDrawFocused(bool v) {
  if (v == FDrawFocused) return;
  FDrawFocused = v;
  Repaint();
}

void TLayeredControl::SetFocusedRectMargin(int v) {
  if (v == FFocusedRectMargin) return;
  FFocusedRectMargin = v;
  if (FDrawFocused) Repaint();
}


void TLayeredControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      TCustomControl::WndProc(m);
      if (!(ComponentState() & csDesigning)) SetState(true, false);
      return;
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(m);
      if (!FPressed) SetState(false, false);
      return;
    case WM_SETFOCUS:
      TCustomControl::WndProc(m);
      Repaint();
      return;
    case WM_KILLFOCUS:
      TCustomControl::WndProc(m);
      FHovered = false;
      FPressed = false;
      Repaint();
      return;
    case CM_FOCUSCHANGED:
      TCustomControl::WndProc(m);
      Repaint();
      return;
    case CM_TEXTCHANGED:
      if (GetText() != FCaption) SetCaption(GetText());
      return;
    case CM_FONTCHANGED:
      TCustomControl::WndProc(m);
      Canvas()->SetFont(GetFont());
      Repaint();
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
  }
  TCustomControl::WndProc(m);
}
