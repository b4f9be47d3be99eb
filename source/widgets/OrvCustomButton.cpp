#include "OrvCustomButton.h"

#include <algorithm>
#include <cctype>

#include "StdCtrls.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TOrvCustomButton, TCustomControl, FactoryOf<TOrvCustomButton>(),
                 {StrProp<TOrvCustomButton>("Caption", &TOrvCustomButton::GetCaption, &TOrvCustomButton::SetCaption),
                  IntProp<TOrvCustomButton>("TextX", &TOrvCustomButton::GetTextX, &TOrvCustomButton::SetTextX),
                  IntProp<TOrvCustomButton>("TextY", &TOrvCustomButton::GetTextY, &TOrvCustomButton::SetTextY),
                  IntProp<TOrvCustomButton>("ModalResult", &TOrvCustomButton::GetModalResult,
                                            &TOrvCustomButton::SetModalResult, &ModalResultIdents()),
                  BoolProp<TOrvCustomButton>("Transparent", &TOrvCustomButton::GetTransparent, &TOrvCustomButton::SetTransparent),
                  IntProp<TOrvCustomButton>("FocusedRectMargin", &TOrvCustomButton::GetFocusedRectMargin,
                                            &TOrvCustomButton::SetFocusedRectMargin),
                  EnumProp<TOrvCustomButton, TOrvAlignment>("TextAlign", OrvAlignmentNames(), &TOrvCustomButton::GetTextAlign,
                                                            &TOrvCustomButton::SetTextAlign),
                  BoolProp<TOrvCustomButton>("MultiLines", &TOrvCustomButton::GetMultiLines, &TOrvCustomButton::SetMultiLines),
                  BoolProp<TOrvCustomButton>("EnableStatesFont", &TOrvCustomButton::GetEnableStatesFont,
                                             &TOrvCustomButton::SetEnableStatesFont),
                  ObjProp<TOrvCustomButton, TFont>("FontMouseHover", &TOrvCustomButton::GetFontMouseHover,
                                                   &TOrvCustomButton::SetFontMouseHover),
                  ObjProp<TOrvCustomButton, TFont>("FontMouseDown", &TOrvCustomButton::GetFontMouseDown,
                                                   &TOrvCustomButton::SetFontMouseDown),
                  ObjProp<TOrvCustomButton, TFont>("FontDisabled", &TOrvCustomButton::GetFontDisabled,
                                                   &TOrvCustomButton::SetFontDisabled),
                  BoolProp<TOrvCustomButton>("ShowDisabledShadow", &TOrvCustomButton::GetShowDisabledShadow,
                                             &TOrvCustomButton::SetShowDisabledShadow)})

bool IsAccelerator(char ch, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {  // "&&" is a literal ampersand
      ++i;
      continue;
    }
    return std::toupper((unsigned char)caption[i + 1]) == std::toupper((unsigned char)ch);
  }
  return false;
}

TOrvCustomButton::TOrvCustomButton(TComponent* owner)
    : TCustomControl(owner), FFontMouseHover(new TFont), FFontMouseDown(new TFont), FFontDisabled(new TFont) {
  FFontMouseHover->Assign(GetFont());
  FFontMouseDown->Assign(GetFont());
  FFontDisabled->Assign(GetFont());
  OnClick = nullptr;
  FText.clear();
  // A fast second click arrives as an ordinary press; nothing is placed inside a button.
  FControlStyle &= ~unsigned(csAcceptsControls | csDoubleClicks);
  FAutoSize = false;
}

TOrvCustomButton::~TOrvCustomButton() {
  MarkDestroying();  // the window goes away without events reaching a half-destroyed button
  FreeRepeatTimer();
  DestroyHandle();
  delete FFontMouseHover;
  delete FFontMouseDown;
  delete FFontDisabled;
}

// ---- property writers ----

void TOrvCustomButton::SetCaption(const std::string& v) {
  FCaption = v;
  if (GetText() != v) TCustomControl::SetText(v);
  Repaint();
}

void TOrvCustomButton::SetDefault(bool v) {
  FDefault = v;
  if (!HandleAllocated()) return;
  // Every button of the form recomputes Active for the control that has the focus now.
  if (TCustomForm* f = ParentForm()) f->Perform(CM_FOCUSCHANGED, 0, LPARAM(f->GetActiveControl()));
}

void TOrvCustomButton::SetTransparent(bool v) { StoreAndRepaint(FTransparent, v); }
void TOrvCustomButton::SetEnableTransparentColor(bool v) { StoreAndRepaint(FEnableTransparentColor, v); }
void TOrvCustomButton::SetTransparentColor(TColor v) { StoreAndRepaint(FTransparentColor, v); }
void TOrvCustomButton::SetFocusedRectMargin(int v) { StoreAndRepaint(FFocusedRectMargin, v); }
void TOrvCustomButton::SetTextAlign(TOrvAlignment v) { StoreAndRepaint(FTextAlign, v); }
void TOrvCustomButton::SetPictureAlign(TOrvAlignment v) { StoreAndRepaint(FPictureAlign, v); }
void TOrvCustomButton::SetTextX(int v) { StoreAndRepaint(FTextX, v); }
void TOrvCustomButton::SetTextY(int v) { StoreAndRepaint(FTextY, v); }
void TOrvCustomButton::SetPictureX(int v) { StoreAndRepaint(FPictureX, v); }
void TOrvCustomButton::SetPictureY(int v) { StoreAndRepaint(FPictureY, v); }
void TOrvCustomButton::SetMultiLines(bool v) { StoreAndRepaint(FMultiLines, v); }
void TOrvCustomButton::SetStretch(bool v) { StoreAndRepaint(FStretch, v); }
void TOrvCustomButton::SetDrawFocused(bool v) { StoreAndRepaint(FDrawFocused, v); }
void TOrvCustomButton::SetDrawBorder(bool v) { StoreAndRepaint(FDrawBorder, v); }

void TOrvCustomButton::SetShowDisabledShadow(bool v) {
  FShowDisabledShadow = v;
  Repaint();
}
void TOrvCustomButton::SetEnableStatesFont(bool v) {
  FEnableStatesFont = v;
  Repaint();
}
void TOrvCustomButton::SetFontMouseHover(TFont* f) {
  FFontMouseHover->Assign(f);
  Repaint();
}
void TOrvCustomButton::SetFontMouseDown(TFont* f) {
  FFontMouseDown->Assign(f);
  Repaint();
}
void TOrvCustomButton::SetFontDisabled(TFont* f) {
  FFontDisabled->Assign(f);
  Repaint();
}

void TOrvCustomButton::SetEnabled(bool v) {
  TCustomControl::SetEnabled(v);
  Repaint();
}

void TOrvCustomButton::CreateWnd() {
  TCustomControl::CreateWnd();
  FActive = FDefault;
}

// ---- repeat timer ----

void TOrvCustomButton::StartRepeatTimer() {
  FRepeatTimer = new TTimer(nullptr);
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(std::max(FRepeatInterval, 0));
  FRepeatTimer->OnTimer = [this](TObject*) {
    if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
  };
  FRepeatTimer->SetEnabled(true);
}

void TOrvCustomButton::FreeRepeatTimer() {
  delete FRepeatTimer;
  FRepeatTimer = nullptr;
}

// ---- painting ----

void TOrvCustomButton::Paint() {
  RECT client = GetClientRect();
  int w = GetWidth(), h = GetHeight();
  TPicture holder;
  TBitmap buffer;
  buffer.SetPixelFormat(pfDevice);
  buffer.SetSize(w, h);
  TCanvas* bc = buffer.Canvas();

  if (FTransparent) {
    TWinControl* p = GetParent();
    if (p && p->InheritsFrom("TTabSheet"))
      DrawParentBackground(bc, p);
    else
      DrawParentBackground(bc, this);
  } else {
    bc->Brush()->SetStyle(bsSolid);
    bc->Brush()->SetColor(GetColor());
    bc->FillRect(client);
  }

  // The picture goes onto a copy of the background, which is then laid over the buffer, with the
  // colour key when one is set.
  try {
    if (GetStatePicture(&holder)) {
      TBitmap scratch;
      scratch.SetPixelFormat(pfDevice);
      scratch.SetSize(w, h);
      RECT all{0, 0, w, h};
      scratch.Canvas()->CopyRect(all, bc, all);
      DrawPicture(scratch.Canvas(), &holder);
      if (FEnableTransparentColor)
        GdiTransparentBlt(bc->GetHandle(), 0, 0, w, h, scratch.Canvas()->GetHandle(), 0, 0, w, h,
                          ColorToRGB(FTransparentColor));
      else
        BitBlt(bc->GetHandle(), 0, 0, w, h, scratch.Canvas()->GetHandle(), 0, 0, SRCCOPY);
    }
  } catch (...) {
    // A picture that cannot be drawn leaves the background; the rest of the button still shows.
  }

  if (FDrawBorder) DrawBorder(bc);
  if (FDrawFocused && Focused() && FTabStop) DrawFocusRect(bc);
  if (!Trim(FCaption).empty()) DrawCaption(bc, FCaption);
  Canvas()->CopyRect(client, bc, client);
}

void TOrvCustomButton::DrawPicture(TCanvas* canvas, TPicture* picture) {
  if (!picture || picture->GetWidth() == 0 || picture->GetHeight() == 0) return;
  int w = GetWidth(), h = GetHeight();
  int pw = picture->GetWidth(), ph = picture->GetHeight();
  int x = FPictureX, y = FPictureY;
  TOrvPlacement p = OrvPlacementOf(FPictureAlign);
  if (p.Horizontal >= 0) {
    auto at = [](int part, int room, int size) { return part == 0 ? 0 : part == 1 ? (room - size) / 2 : room - size; };
    x = at(p.Horizontal, w, pw);
    y = at(p.Vertical, h, ph);
  }
  if (FStretch)
    canvas->StretchDraw(RECT{x, y, w, h}, picture->Graphic());
  else
    canvas->Draw(x, y, picture->Graphic());
}

void TOrvCustomButton::DrawCaption(TCanvas* canvas, const std::string& /*text*/) {
  canvas->Brush()->SetStyle(bsClear);
  RECT r = GetClientRect();
  canvas->SetFont(GetFont());
  UINT flags = FMultiLines ? (DT_WORDBREAK | DT_EXPANDTABS | DT_EDITCONTROL)
                           : (DT_WORDBREAK | DT_SINGLELINE | DT_EXPANDTABS);
  bool custom = FTextAlign == TOrvAlignment::alCustom;
  if (custom) {
    r = RECT{FTextX, FTextY, GetClientWidth(), GetClientHeight()};
  } else {
    static const UINT horizontal[] = {0, DT_CENTER, DT_RIGHT};
    static const UINT vertical[] = {0, DT_VCENTER, DT_BOTTOM};
    TOrvPlacement p = OrvPlacementOf(FTextAlign);
    flags |= horizontal[p.Horizontal] | vertical[p.Vertical];
  }
  // The text up to a zero character, as the system's text routines see it.
  std::string text = FCaption.c_str();
  auto draw = [&]() {
    RECT box = r;
    canvas->DrawText(text, box, flags);
  };
  if (!GetEnabled()) {
    canvas->SetFont(FEnableStatesFont ? FFontDisabled : GetFont());
    draw();
    OffsetRect(&r, 1, 1);
    if (FShowDisabledShadow) {
      canvas->Font()->SetColor(clGray);
      draw();
    }
  } else if (FPressed) {
    canvas->SetFont(FEnableStatesFont ? FFontMouseDown : GetFont());
    if (!custom) OffsetRect(&r, 1, 1);
    draw();
  } else if (FHovered) {
    canvas->SetFont(FEnableStatesFont ? FFontMouseHover : GetFont());
    draw();
  } else {
    canvas->SetFont(GetFont());
    draw();
  }
}

void TOrvCustomButton::DrawFocusRect(TCanvas* canvas) {
  int m = FFocusedRectMargin;
  RECT r{m, m, GetClientWidth() - m, GetClientHeight() - m};
  canvas->Brush()->SetStyle(bsSolid);
  canvas->DrawFocusRect(r);
}

void TOrvCustomButton::DrawBorder(TCanvas* canvas) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(GetEnabled() ? clBlack : clGray);
  canvas->FrameRect(GetClientRect());
}

bool TOrvCustomButton::GetStatePicture(TPicture* /*picture*/) { return false; }

// ---- mouse and keyboard ----

void TOrvCustomButton::HandleMouseEnter() {
  FHovered = true;
  FPressed = false;
  Repaint();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TOrvCustomButton::HandleMouseLeave() {
  if (FPressed) return;  // a press survives leaving; the release decides
  FHovered = false;
  FPressed = false;
  FreeRepeatTimer();
  Repaint();
  if (OnMouseExit) OnMouseExit(this);
}

// The capture went elsewhere without a release here (Alt+Tab or a menu while the button was held):
// no mouse-up will come, so the press ends now and the repeat ticks with it.
void TOrvCustomButton::HandleCaptureLost() {
  if (!FPressed && !FRepeatTimer) return;
  FreeRepeatTimer();
  FPressed = false;
  FHovered = false;
  SetControlState(ControlState() & ~unsigned(csClicked));
  Repaint();
}

void TOrvCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    FPressed = true;
    FHovered = false;
    if (!FRepeatTimer) StartRepeatTimer();
    if (FTabStop && CanFocus() && GetEnabled() && GetVisible()) {
      try {
        SetFocus();
      } catch (...) {
        // The press goes on without the focus.
      }
    }
    Repaint();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TOrvCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  bool inside = x >= 0 && x <= GetWidth() && y >= 0 && y <= GetHeight();
  if (!inside && !FPressed) {
    FHovered = false;
    FPressed = false;
    Repaint();
  }
}

void TOrvCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  FreeRepeatTimer();
  bool inside = x >= 0 && x <= GetWidth() && y >= 0 && y <= GetHeight();
  FHovered = inside;
  FPressed = false;
  Repaint();
  TCustomControl::MouseUp(button, shift, x, y);
}

void TOrvCustomButton::Click() {
  if (FPressed) {
    FreeRepeatTimer();
    FPressed = false;
    FHovered = true;
    Repaint();
  }
  if (TCustomForm* f = ParentForm()) f->SetModalResult(FModalResult);
  TCustomControl::Click();
}

void TOrvCustomButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // Paint covers every pixel
      return;
    case CM_MOUSEENTER:
      HandleMouseEnter();
      return;
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(m);
      HandleMouseLeave();
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      FInMouseUp = true;
      try {
        TCustomControl::WndProc(m);
      } catch (...) {
        FInMouseUp = false;
        throw;
      }
      FInMouseUp = false;
      return;
    case WM_CAPTURECHANGED:
      TCustomControl::WndProc(m);
      if (!FInMouseUp && HWND(m.LParam) != FHandle) HandleCaptureLost();
      return;
    case WM_KEYDOWN:
      TCustomControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && GetEnabled()) {
        FPressed = true;
        FHovered = false;
        Repaint();
      }
      return;
    case WM_KEYUP:
      TCustomControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && FPressed && GetEnabled()) {
        FPressed = false;
        Repaint();
        Click();
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(m);
      Repaint();
      return;
    case CM_FOCUSCHANGED: {
      TCustomControl::WndProc(m);
      auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
      if (focused && focused->InheritsFrom(TButton::StaticClassInfo()))
        FActive = static_cast<TControl*>(focused) == this;
      else
        FActive = FDefault;
      Repaint();
      return;
    }
    case CM_DIALOGKEY: {
      bool key = (m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel);
      if (key && (KeyDataToShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      TCustomControl::WndProc(m);
      return;
    }
    case CM_DIALOGCHAR:
      TCustomControl::WndProc(m);
      if (IsAccelerator(char(m.WParam), FCaption) && GetEnabled()) {
        Click();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    case CM_TEXTCHANGED:
      if (GetText() != FCaption) SetCaption(GetText());
      return;
    case CM_FONTCHANGED:
      TCustomControl::WndProc(m);
      Canvas()->SetFont(GetFont());
      Repaint();
      return;
  }
  TCustomControl::WndProc(m);
}
