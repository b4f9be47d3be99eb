#include "OrvCustomButton.h"

#include "StdCtrls.h"
#include "Strings.h"

// The class library sees TCustomControl as the parent (TPushButtonBase only shares code).
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

TOrvCustomButton::TOrvCustomButton(TComponent* owner)
    : TPushButtonBase(owner), TStateFontsOwner(GetFont()) {
  OnClick = nullptr;
}

TOrvCustomButton::~TOrvCustomButton() {
  MarkDestroying();  // the window goes away without events reaching a half-destroyed button
  FreeRepeatTimer();
  DestroyHandle();
}

// ---- property writers ----

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

void TOrvCustomButton::SetEnabled(bool v) {
  TPushButtonBase::SetEnabled(v);
  Repaint();
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
  PaintBackground(bc);

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
  canvas->SetFont(FStateFonts.For(GetFont(), GetEnabled(), FPressed, FHovered));
  if (!GetEnabled()) {
    draw();
    OffsetRect(&r, 1, 1);
    if (FShowDisabledShadow) {
      canvas->Font()->SetColor(clGray);
      draw();
    }
  } else {
    if (FPressed && !custom) OffsetRect(&r, 1, 1);
    draw();
  }
}

void TOrvCustomButton::DrawFocusRect(TCanvas* canvas) { PaintFocusRectAtMargin(canvas); }

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

void TOrvCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TPushButtonBase::MouseMove(shift, x, y);
  if (!Inside(x, y) && !FPressed) {
    FHovered = false;
    FPressed = false;
    Repaint();
  }
}

void TOrvCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  FreeRepeatTimer();
  FHovered = Inside(x, y);
  FPressed = false;
  Repaint();
  TPushButtonBase::MouseUp(button, shift, x, y);
}

void TOrvCustomButton::Click() {
  if (FPressed) FHovered = true;  // a click that ends a press leaves the pointer over the button
  TPushButtonBase::Click();
}

void TOrvCustomButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      HandleMouseEnter();
      return;
    case CM_MOUSELEAVE:
      TPushButtonBase::WndProc(m);
      HandleMouseLeave();
      return;
    case CM_FOCUSCHANGED: {
      TPushButtonBase::WndProc(m);
      auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
      if (focused && focused->InheritsFrom(TButton::StaticClassInfo()))
        FActive = static_cast<TControl*>(focused) == this;
      else
        FActive = FDefault;
      Repaint();
      return;
    }
    case CM_FONTCHANGED:
      TPushButtonBase::WndProc(m);
      Canvas()->SetFont(GetFont());
      Repaint();
      return;
  }
  TPushButtonBase::WndProc(m);
}
