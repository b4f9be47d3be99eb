#include "FcButton.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "FcGrafx.h"
#include "Forms.h"
#include "Timer.h"

// ---- TFcCustomButton ----

static const std::vector<std::string> kHotTrackColorTypeNames = {"htctComplement", "htctActual"};

ORV_DEFINE_CLASS(
    TFcCustomButton, TCustomControl, nullptr,
    {EnumProp<TFcCustomButton, TAlignmentVertical>("AlignmentVertical", AlignmentVerticalNames(),
                                                   &TFcCustomButton::GetAlignmentVertical,
                                                   &TFcCustomButton::SetAlignmentVertical),
     BoolProp<TFcCustomButton>("HotTrack", &TFcCustomButton::GetHotTrack, &TFcCustomButton::SetHotTrack),
     IntProp<TFcCustomButton>("HotTrackColor", &TFcCustomButton::GetHotTrackColor, &TFcCustomButton::SetHotTrackColor,
                              &ColorIdents()),
     EnumProp<TFcCustomButton, TFcHotTrackColorType>("HotTrackColorType", kHotTrackColorTypeNames,
                                                     &TFcCustomButton::GetHotTrackColorType,
                                                     &TFcCustomButton::SetHotTrackColorType),
     IntProp<TFcCustomButton>("HighlightColor", &TFcCustomButton::GetHighlightColor,
                              &TFcCustomButton::SetHighlightColor, &ColorIdents()),
     BoolProp<TFcCustomButton>("LightTextStyle", &TFcCustomButton::GetLightTextStyle,
                               &TFcCustomButton::SetLightTextStyle),
     EnumProp<TFcCustomButton, TTextStyle>("TextStyle", TextStyleNames(), &TFcCustomButton::GetTextStyle,
                                           &TFcCustomButton::SetTextStyle),
     IntProp<TFcCustomButton>("TextHighlightColor", &TFcCustomButton::GetTextHighlightColor,
                              &TFcCustomButton::SetTextHighlightColor, &ColorIdents()),
     IntProp<TFcCustomButton>("TextShadowColor", &TFcCustomButton::GetTextShadowColor,
                              &TFcCustomButton::SetTextShadowColor, &ColorIdents()),
     IntProp<TFcCustomButton>("TextShadowDepth", &TFcCustomButton::GetTextShadowDepth,
                              &TFcCustomButton::SetTextShadowDepth),
     BoolProp<TFcCustomButton>("ThemeAware", &TFcCustomButton::GetThemeAware, &TFcCustomButton::SetThemeAware),
     BoolProp<TFcCustomButton>("Transparent", &TFcCustomButton::GetTransparent, &TFcCustomButton::SetTransparent)})

TFcCustomButton::TFcCustomButton(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = csCaptureMouse | csSetCaption | csDoubleClicks | csReplicatable;
  FWidth = 115;
  FHeight = 17;
  FTabStop = true;
  FColor = clBtnFace;
  FParentColor = true;  // the glyph and caption sit on the parent's colour
}

void TFcCustomButton::SetAlignmentVertical(TAlignmentVertical v) { StoreAndInvalidate(FAlignmentVertical, v); }
void TFcCustomButton::SetHotTrack(bool v) { StoreAndInvalidate(FHotTrack, v); }
void TFcCustomButton::SetHotTrackColor(TColor v) { StoreAndInvalidate(FHotTrackColor, v); }
void TFcCustomButton::SetHotTrackColorType(TFcHotTrackColorType v) { StoreAndInvalidate(FHotTrackColorType, v); }
void TFcCustomButton::SetHighlightColor(TColor v) { StoreAndInvalidate(FHighlightColor, v); }
void TFcCustomButton::SetLightTextStyle(bool v) { StoreAndInvalidate(FLightTextStyle, v); }
void TFcCustomButton::SetTextStyle(TTextStyle v) { StoreAndInvalidate(FTextStyle, v); }
void TFcCustomButton::SetTextHighlightColor(TColor v) { StoreAndInvalidate(FTextHighlightColor, v); }
void TFcCustomButton::SetTextShadowColor(TColor v) { StoreAndInvalidate(FTextShadowColor, v); }
void TFcCustomButton::SetTextShadowDepth(int v) { StoreAndInvalidate(FTextShadowDepth, v); }
void TFcCustomButton::SetThemeAware(bool v) { StoreAndInvalidate(FThemeAware, v); }
void TFcCustomButton::SetTransparent(bool v) { StoreAndInvalidate(FTransparent, v); }

void TFcCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !FEnabled) return;
  if (CanFocus() && !Focused()) {
    try {
      SetFocus();
    } catch (const EPropertyError&) {
      // A button outside any form takes the system focus directly.
      if (HandleAllocated()) ::SetFocus(Handle());
    }
  }
  if (!Focused()) return;
  FPressedLook = true;
  RepaintState();
  FTracking = true;
}

void TFcCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FTracking) return;
  bool inside = x >= 0 && x < GetClientWidth() && y >= 0 && y < GetClientHeight();
  if (inside == FPressedLook) return;
  FPressedLook = inside;
  RepaintState();
}

void TFcCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!FTracking) return;
  FTracking = false;
  FPressedLook = false;
  if (x >= 0 && x < GetClientWidth() && y >= 0 && y < GetClientHeight()) ChangeState();
  RepaintState();
}

void TFcCustomButton::HoverChanged() {
  if (!(FHotTrack || (FThemeAware && FcThemesEnabled())) || !HandleAllocated()) return;
  RECT r;
  GetHotTrackRect(r);
  InvalidateRect(Handle(), &r, FALSE);
}

void TFcCustomButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      FPointerInside = true;
      TCustomControl::WndProc(m);
      HoverChanged();
      return;
    case CM_MOUSELEAVE:
      FPointerInside = false;
      TCustomControl::WndProc(m);
      HoverChanged();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(m);
      RepaintFocusChange();
      return;
    case WM_ERASEBKGND:
      if (FTransparent) {
        EraseTransparentBackground(HDC(m.WParam));
        m.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
      if (!FEnabled && FParent && Focused())
        if (TCustomForm* f = GetParentForm(this)) f->SelectNext(this, true, true);
      if (HandleAllocated()) EnableWindow(Handle(), FEnabled);
      Invalidate();
      return;
    case CM_TEXTCHANGED:
      TCustomControl::WndProc(m);
      Repaint();
      return;
  }
  TCustomControl::WndProc(m);
}

void TFcCustomButton::DrawCaption(TCanvas* canvas, RECT r, UINT flags) {
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(FFont);
  std::string text = GetCaption();
  RECT calc = r;
  canvas->DrawText(text, calc, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
  int h = calc.bottom - calc.top;
  switch (FAlignmentVertical) {
    case avTop: r.bottom = r.top + h; break;
    case avCenter:
      r.top = (r.top + r.bottom - h) / 2;
      r.bottom = r.top + h;
      break;
    case avBottom: r.top = r.bottom - h - 1; break;
  }
  if (FRightToLeft) flags |= DT_RTLREADING;
  if (FEnabled) {
    auto copy = [&](int dx, int dy, TColor c) {
      RECT o = r;
      OffsetRect(&o, dx, dy);
      canvas->Font()->SetColor(c);
      canvas->DrawText(text, o, flags);
    };
    if (FTextStyle == tsRaised || FTextStyle == tsRecessed) {
      TColor plus = FTextStyle == tsRaised ? FTextShadowColor : FTextHighlightColor;
      TColor minus = FTextStyle == tsRaised ? FTextHighlightColor : FTextShadowColor;
      if (!FLightTextStyle || FTextStyle == tsRecessed) copy(1, 1, plus);
      if (!FLightTextStyle || FTextStyle == tsRaised) copy(-1, -1, minus);
    } else if (FTextStyle == tsShadow) {
      copy((flags & DT_RIGHT) ? 0 : FTextShadowDepth, FTextShadowDepth, FTextShadowColor);
    }
    canvas->Font()->SetColor(FFont->GetColor());
    if (flags & DT_RIGHT) OffsetRect(&r, -FTextShadowDepth, 0);
  } else {
    canvas->Font()->SetColor(clGrayText);
  }
  canvas->DrawText(text, r, flags);
  canvas->Brush()->SetStyle(bsSolid);
}

// ---- repeat timers ----

namespace {

class TPlatformRepeatTimer : public TFcRepeatTimer {
public:
  TPlatformRepeatTimer() : FTimer(nullptr) {
    FTimer.SetEnabled(false);
    FTimer.OnTimer = [this](TObject*) {
      if (OnTick) OnTick();
    };
  }
  void SetInterval(unsigned ms) override { FTimer.SetInterval(int(ms)); }
  void SetEnabled(bool on) override { FTimer.SetEnabled(on); }

private:
  TTimer FTimer;
};

TFcRepeatTimerFactory& RepeatTimerFactory() {
  static TFcRepeatTimerFactory f;
  return f;
}

}  // namespace

void SetFcRepeatTimerFactory(TFcRepeatTimerFactory factory) { RepeatTimerFactory() = std::move(factory); }

// ---- TFcControlButton ----

static const std::vector<std::string> kControlButtonStyleNames = {"cbsNone", "cbsLeft", "cbsUp",
                                                                   "cbsRight", "cbsDown", "cbsDropDown"};

ORV_DEFINE_CLASS(
    TFcControlButton, TGraphicControl, FactoryOf<TFcControlButton>(),
    {BoolProp<TFcControlButton>("Flat", &TFcControlButton::GetFlat, &TFcControlButton::SetFlat),
     ObjProp<TFcControlButton, TBitmap>("Glyph", &TFcControlButton::GetGlyph, &TFcControlButton::SetGlyph),
     IntProp<TFcControlButton>("NumGlyphs", &TFcControlButton::GetNumGlyphs, &TFcControlButton::SetNumGlyphs),
     IntProp<TFcControlButton>("Delay", &TFcControlButton::GetDelay, &TFcControlButton::SetDelay),
     IntProp<TFcControlButton>("InitialDelay", &TFcControlButton::GetInitialDelay,
                               &TFcControlButton::SetInitialDelay),
     BoolProp<TFcControlButton>("RepeatClicks", &TFcControlButton::GetRepeatClicks,
                                &TFcControlButton::SetRepeatClicks),
     EnumProp<TFcControlButton, TFcControlButtonStyle>("Style", kControlButtonStyleNames, &TFcControlButton::GetStyle,
                                                       &TFcControlButton::SetStyle)})

TFcControlButton::TFcControlButton(TComponent* owner) : TGraphicControl(owner), FGlyph(new TBitmap) {
  FControlStyle = csCaptureMouse;
  FWidth = 17;
  FHeight = 21;
  FColor = clBtnFace;
  FGlyph->OnChange = [this](TObject*) { GlyphChangedDefault(); };
}

TFcControlButton::~TFcControlButton() {
  FRepeatClickTimer.reset();
  delete FGlyph;
}

void TFcControlButton::SetFlat(bool v) {
  if (FFlat == v) return;
  FFlat = v;
  Repaint();
}
void TFcControlButton::SetGlyph(TBitmap* v) { FGlyph->Assign(v); }
void TFcControlButton::SetNumGlyphs(int v) {
  v = std::clamp(v, 1, 4);
  if (FNumGlyphs == v) return;
  FNumGlyphs = v;
  Invalidate();
}
void TFcControlButton::SetStyle(TFcControlButtonStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  Invalidate();
}

void TFcControlButton::GlyphChangedDefault() {
  int w = FGlyph->GetWidth(), h = FGlyph->GetHeight();
  if (h != 0 && w % h == 0) SetNumGlyphs(w / h < 5 ? w / h : 1);
  Invalidate();
}

SIZE TFcControlButton::GetGlyphSize() const { return SIZE{FGlyph->GetWidth() / FNumGlyphs, FGlyph->GetHeight()}; }

bool TFcControlButton::Active() const { return FButtonPressed || (FPointerInside && FEnabled); }

void TFcControlButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && PressFilter && !PressFilter()) return;
  if (button == mbLeft && FEnabled) {
    if (!FButtonPressed) {
      FButtonPressed = true;
      Invalidate();
    }
    FTracking = true;
  }
  if (FRepeatClicks) {
    if (!FRepeatClickTimer) {
      FRepeatClickTimer = RepeatTimerFactory() ? RepeatTimerFactory()() : std::make_unique<TPlatformRepeatTimer>();
      FRepeatClickTimer->OnTick = [this] { RepeatTick(); };
    }
    FRepeatClickTimer->SetInterval(unsigned(FInitialDelay));
    FRepeatClickTimer->SetEnabled(true);
  }
}

void TFcControlButton::RepeatTick() {
  FRepeatClickTimer->SetInterval(unsigned(FDelay));
  if (!FButtonPressed || !GetMouseCapture()) return;
  try {
    Click();
  } catch (...) {
    FRepeatClickTimer->SetEnabled(false);
    throw;
  }
}

void TFcControlButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (FTracking) {
    FTracking = false;
    bool inside = x >= 0 && x < FWidth && y >= 0 && y < FHeight;
    FButtonPressed = false;
    FPointerInside = false;
    Repaint();
    if (inside) Click();
    RefreshHover();
  }
  if (FRepeatClickTimer) FRepeatClickTimer->SetEnabled(false);
}

void TFcControlButton::RefreshHover() {
  if (!(FFlat || FcThemesEnabled()) || !FEnabled || IsDestroying()) return;
  POINT p;
  GetCursorPos(&p);
  POINT local = ScreenToClient(p);
  bool over = local.x >= 0 && local.x < FWidth && local.y >= 0 && local.y < FHeight;
  Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TFcControlButton::WndProc(TMessage& m) {
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
    FPointerInside = m.Msg == CM_MOUSEENTER;
    TGraphicControl::WndProc(m);
    if (FFlat || FcThemesEnabled()) Repaint();
    return;
  }
  TGraphicControl::WndProc(m);
}

void TFcControlButton::DrawGlyph(const RECT& r) {
  SIZE g = GetGlyphSize();
  int cell = FNumGlyphs > 2 && FButtonPressed ? 2 : (FNumGlyphs < 2 || FEnabled) ? 0 : 1;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TBitmap work;
  work.SetSize(w, h, pf24bit);
  work.Canvas()->Brush()->SetColor(FColor);
  BitBlt(work.Canvas()->GetHandle(), 0, 0, w, h, Canvas()->GetHandle(), r.left, r.top, SRCCOPY);
  DrawMaskedBitmap(work.Canvas(), FGlyph, RECT{0, 0, w, h}, RECT{cell * g.cx, 0, (cell + 1) * g.cx, g.cy},
                   FGlyph->GetTransparentColor());
  BitBlt(Canvas()->GetHandle(), r.left, r.top, w, h, work.Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TFcControlButton::DrawButtonFace(RECT& r) {
  HDC dc = Canvas()->GetHandle();
  bool active = Active();
  if (FcThemesEnabled()) {
    if (active || !FFlat) {
      int state = FButtonPressed ? SCRBS_PRESSED : active ? SCRBS_HOT : FEnabled ? SCRBS_NORMAL : SCRBS_DISABLED;
      RECT e{r.left - 1, r.top - 2, r.right + 2, r.bottom + 2};
      TBitmap work;
      work.SetSize(e.right - e.left, e.bottom - e.top, pf24bit);
      DrawThemePart(work.Canvas()->GetHandle(), L"SCROLLBAR", SBP_THUMBBTNHORZ, state, RECT{0, 0, work.GetWidth(), work.GetHeight()});
      // The element's left column and top two rows fall outside the control: only its face shows.
      BitBlt(dc, 0, 0, FWidth, FHeight, work.Canvas()->GetHandle(), 1, 2, SRCCOPY);
    } else {
      FillSolidRect(dc, r, FColor);
    }
    InflateRect(&r, -2, -2);
    return;
  }
  PaintClassicFace(r, fsRaised, clBtnFace);
}

TColor TFcControlButton::PaintClassicFace(RECT& r, TFrameStyleEx raised, TColor raisedFace) {
  TColor face;
  if (FFlat) {
    if (Active()) r = PaintBorder(Canvas(), r, FButtonPressed ? fsStatus : fsPopup);
    face = FColor;
  } else {
    r = FButtonPressed ? PaintBox(Canvas(), r, clBtnShadow) : PaintBorder(Canvas(), r, raised);
    face = raisedFace;
  }
  FillSolidRect(Canvas()->GetHandle(), r, face);
  return face;
}

void TFcControlButton::DrawArrowButton(RECT& r) {
  HDC dc = Canvas()->GetHandle();
  bool active = Active();
  TFcArrowDirection dir = FStyle == cbsLeft ? adLeft : FStyle == cbsUp ? adUp : FStyle == cbsRight ? adRight : adDown;
  bool flatArrow = false;
  if (FcThemesEnabled()) {
    if (FFlat && !active) {
      FillSolidRect(dc, r, FColor);
      flatArrow = true;
    } else {
      static const int parts[] = {0, SPNP_DOWNHORZ, SPNP_UP, SPNP_UPHORZ, SPNP_DOWN};
      int state = !FEnabled ? 4 : FButtonPressed ? 3 : active ? 2 : 1;  // normal, hot, pressed, disabled
      DrawThemePart(dc, L"SPIN", parts[FStyle], state, r);
      return;
    }
  } else {
    // Inside a spin edit the raised face is the button face colour; elsewhere the button's own.
    TComponent* o = Owner() ? Owner()->Owner() : nullptr;
    Canvas()->Brush()->SetColor(PaintClassicFace(r, fsButtonUp, o && o->InheritsFrom("TFcSpinEdit") ? clBtnFace : FColor));
    flatArrow = false;
  }
  PaintSpinArrow(Canvas(), r, flatArrow || FFlat, dir, FButtonPressed, FEnabled);
}

void TFcControlButton::DrawDropDownButton(RECT& r) {
  HDC dc = Canvas()->GetHandle();
  bool active = Active();
  if (FcThemesEnabled()) {
    InflateRect(&r, 1, 1);
    if (FFlat && !active) {
      FillSolidRect(dc, r, FColor);
      PaintDropDownArrow(Canvas(), r, true, FButtonPressed, FEnabled);
    } else {
      int state = !FEnabled ? CBXS_DISABLED : FButtonPressed ? CBXS_PRESSED : active ? CBXS_HOT : CBXS_NORMAL;
      DrawThemePart(dc, L"COMBOBOX", CP_DROPDOWNBUTTON, state, r);
    }
    InflateRect(&r, -2, -2);
    return;
  }
  Canvas()->Brush()->SetColor(PaintClassicFace(r, fsButtonUp, clBtnFace));
  PaintDropDownArrow(Canvas(), r, false, FButtonPressed, FEnabled);
}

void TFcControlButton::Paint() {
  RECT r{0, 0, FWidth, FHeight};
  switch (FStyle) {
    case cbsNone: {
      DrawButtonFace(r);
      if (FGlyph->Empty()) break;
      RECT in{0, 0, FWidth, FHeight};
      InflateRect(&in, -1, -1);
      SIZE g = GetGlyphSize();
      RECT gr = RectCentredIn(in, g.cx, g.cy);
      if (FButtonPressed) OffsetRect(&gr, 1, FcThemesEnabled() ? 0 : 1);
      DrawGlyph(gr);
      break;
    }
    case cbsDropDown: DrawDropDownButton(r); break;
    default: DrawArrowButton(r); break;
  }
}
