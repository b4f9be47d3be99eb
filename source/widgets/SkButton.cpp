#include "SkButton.h"

#include <algorithm>

#include "SkUtils.h"
#include "Strings.h"

// The class library sees TCustomControl as the parent (TPushButtonBase only shares code).
ORV_DEFINE_CLASS(TskCustomButton, TCustomControl, nullptr,
                 {StrProp<TskCustomButton>("Caption", &TskCustomButton::GetCaption, &TskCustomButton::SetCaption)})

ORV_DEFINE_CLASS(
    TskImageButton, TskCustomButton, FactoryOf<TskImageButton>(),
    {EnumProp<TskImageButton, TskUIStyle>("UIStyle", UIStyleNames(), &TskImageButton::GetUIStyle, &TskImageButton::SetUIStyle),
     RefProp<TskImageButton, TskFileTheme>("FileTheme", &TskImageButton::GetFileTheme, &TskImageButton::SetFileTheme),
     BoolProp<TskImageButton>("DrawFocused", &TskImageButton::GetDrawFocused, &TskImageButton::SetDrawFocused),
     IntProp<TskImageButton>("FocusedRectMargin", &TskImageButton::GetFocusedRectMargin, &TskImageButton::SetFocusedRectMargin),
     ObjProp<TskImageButton, TPicture>("PicNormal", &TskImageButton::GetPicNormal, &TskImageButton::SetPicNormal),
     ObjProp<TskImageButton, TPicture>("PicMouseOn", &TskImageButton::GetPicMouseOn, &TskImageButton::SetPicMouseOn),
     ObjProp<TskImageButton, TPicture>("PicMouseDown", &TskImageButton::GetPicMouseDown, &TskImageButton::SetPicMouseDown),
     ObjProp<TskImageButton, TPicture>("PicDisabled", &TskImageButton::GetPicDisabled, &TskImageButton::SetPicDisabled),
     BoolProp<TskImageButton>("Stretch", &TskImageButton::GetStretch, &TskImageButton::SetStretch),
     BoolProp<TskImageButton>("Cancel", &TskImageButton::GetCancel, &TskImageButton::SetCancel),
     BoolProp<TskImageButton>("Default", &TskImageButton::GetDefault, &TskImageButton::SetDefault),
     IntProp<TskImageButton>("MouseContinuouslyDownInterval", &TskImageButton::GetMouseContinuouslyDownInterval,
                             &TskImageButton::SetMouseContinuouslyDownInterval),
     BoolProp<TskImageButton>("Transparent", &TskImageButton::GetTransparent, &TskImageButton::SetTransparent),
     IntProp<TskImageButton>("ModalResult", &TskImageButton::GetModalResult, &TskImageButton::SetModalResult,
                             &ModalResultIdents()),
     EventProp("OnMouseExit", &TskImageButton::OnMouseExit),
     EventProp("OnMouseContinuouslyDown", &TskImageButton::OnMouseContinuouslyDown)})

// ---- TskCustomButton ----

TskCustomButton::TskCustomButton(TComponent* owner) : TPushButtonBase(owner) {
  FTabStop = true;
  SetUIStyle(DefaultUIStyleFor(owner));
}

TskCustomButton::~TskCustomButton() {
  MarkDestroying();
  FreeRepeatTimer();
  if (FFileTheme) FFileTheme->RemoveFreeNotification(this);
  DestroyHandle();
}

void TskCustomButton::SetAutoSize(bool v) {
  FAutoSize = v;
  UpdateAutoSize();
  Repaint();
}

void TskCustomButton::SetTransparent(bool v) {
  FTransparent = v;
  TransparentChanged();
  Repaint();
}

void TskCustomButton::SetUIStyle(TskUIStyle v) {
  FUIStyle = v;
  UIStyleChanged();
  Repaint();
}

void TskCustomButton::SetFileTheme(TskFileTheme* t) {
  if (FFileTheme && FFileTheme != t) FFileTheme->RemoveFreeNotification(this);
  FFileTheme = t;
  if (t) t->FreeNotification(this);
  Repaint();
}

void TskCustomButton::SetFocusedRectMargin(int v) {
  FFocusedRectMargin = v;
  Repaint();
}

void TskCustomButton::SetEnabled(bool v) {
  TPushButtonBase::SetEnabled(v);
  EnabledChanged();
  Repaint();
}

void TskCustomButton::FontChanged() {
  TPushButtonBase::FontChanged();
  Canvas()->SetFont(GetFont());
  Repaint();
}

void TskCustomButton::TransparentChanged() {
  FPictureTransparent = FTransparent;
  Repaint();
}

void TskCustomButton::Notification(TComponent* component, TOperation op) {
  TPushButtonBase::Notification(component, op);
  if (op == opRemove && component == FFileTheme) {
    FFileTheme = nullptr;
    SetUIStyle(DeepBlue);
  }
}

// ---- pictures from the style ----

void TskCustomButton::GetStyleFrame(TBitmap* bitmap, int frame) {
  TskUIStyle style = FUIStyle;
  if (UseFileTheme(FFileTheme, FUIStyle, style))
    FFileTheme->GetFrame(1, bitmap, frame, 3);
  else
    GetBuiltInThemeBitmap(style, 1, bitmap, frame, 3);
}

void TskCustomButton::GetNormalPicture(TBitmap* bitmap) { GetStyleFrame(bitmap, 1); }
void TskCustomButton::GetMouseOnPicture(TBitmap* bitmap) { GetStyleFrame(bitmap, 2); }
void TskCustomButton::GetMouseDownPicture(TBitmap* bitmap) { GetStyleFrame(bitmap, 3); }
void TskCustomButton::GetDisabledPicture(TBitmap* bitmap) { GetStyleFrame(bitmap, 1); }

void TskCustomButton::UpdateAutoSize() {
  if (!FAutoSize) return;
  TBitmap whole;
  if (FUIStyle != FromThemeFile) GetBuiltInThemeBitmap(FUIStyle, 1, &whole);
  int h = whole.GetHeight() ? whole.GetHeight() : 21;
  int w = whole.GetWidth() ? whole.GetWidth() : 74;
  SetHeight(h);
  SetWidth(w / 3);
}

// ---- painting ----

void TskCustomButton::Paint() {
  int w = GetWidth(), h = GetHeight();
  RECT client = GetClientRect();
  TBitmap buffer, state;
  try {
    if (!GetEnabled())
      GetDisabledPicture(&state);
    else if (FPressed)
      GetMouseDownPicture(&state);
    else if (FHovered)
      GetMouseOnPicture(&state);
    else
      GetNormalPicture(&state);
  } catch (...) {
    // A picture that cannot become a bitmap leaves a blank area of the standard button size.
    state.SetSize(74, 21, pf24bit);
    state.Canvas()->Brush()->SetColor(clWhite);
    state.Canvas()->FillRect(RECT{0, 0, 74, 21});
  }
  state.SetTransparent(FPictureTransparent);
  buffer.SetPixelFormat(pfDevice);
  buffer.SetSize(w, h);
  TCanvas* bc = buffer.Canvas();
  PaintBackground(bc);
  DrawPicture(bc, &state);
  if (Focused() && FTabStop) PaintFocusRect(bc);
  bc->SetFont(GetFont());
  Canvas()->SetFont(GetFont());
  if (!Trim(FCaption).empty()) DrawCaption(bc, FCaption);
  Canvas()->CopyRect(client, bc, client);
}

void TskCustomButton::DrawPicture(TCanvas* canvas, TBitmap* bitmap) {
  if (!bitmap || bitmap->Empty()) return;
  TImageList images(nullptr);
  images.SetWidth(bitmap->GetWidth());
  images.SetHeight(bitmap->GetHeight());
  if (FPictureTransparent)
    images.AddMasked(bitmap, bitmap->Canvas()->GetPixel(0, 0));
  else
    images.Add(bitmap, nullptr);
  images.Draw(canvas, 0, 0, 0, GetEnabled());
}

void TskCustomButton::DrawCaption(TCanvas* canvas, const std::string& text) {
  canvas->Brush()->SetStyle(bsClear);
  RECT r = GetClientRect();
  canvas->SetFont(GetFont());
  // Measured with word breaks, centred in the rectangle, then drawn on one line.
  auto draw = [&]() {
    RECT measured = r;
    canvas->DrawText(text, measured, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    int dx = ((r.right - r.left) - (measured.right - measured.left)) / 2;
    int dy = ((r.bottom - r.top) - (measured.bottom - measured.top)) / 2;
    RECT box{r.left + dx, r.top + dy, r.left + dx + (measured.right - measured.left),
             r.top + dy + (measured.bottom - measured.top)};
    canvas->DrawText(text, box, DT_CENTER);
  };
  if (!GetEnabled()) {
    OffsetRect(&r, 1, 1);
    canvas->Font()->SetColor(clWhite);
    draw();
    r = GetClientRect();
    canvas->Font()->SetColor(clGray);
  } else if (FPressed) {
    OffsetRect(&r, 1, 1);
  }
  draw();
}

void TskCustomButton::PaintFocusRect(TCanvas* canvas) { PaintFocusRectAtMargin(canvas); }

// ---- mouse and keyboard ----

void TskCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TPushButtonBase::MouseMove(shift, x, y);
  if (!Inside(x, y)) {
    FHovered = false;
    FPressed = false;
    Repaint();
  }
}

void TskCustomButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      FHovered = true;
      Repaint();
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TPushButtonBase::WndProc(m);
      FHovered = false;
      FPressed = false;
      FreeRepeatTimer();
      Repaint();
      if (OnMouseExit) OnMouseExit(this);
      return;
    case CM_FOCUSCHANGED:
      TPushButtonBase::WndProc(m);
      FActive = FDefault;
      Repaint();
      return;
  }
  TPushButtonBase::WndProc(m);
}

// ---- TskImageButton ----

TskImageButton::TskImageButton(TComponent* owner)
    : TskCustomButton(owner),
      FPicNormal(new TPicture),
      FPicMouseOn(new TPicture),
      FPicMouseDown(new TPicture),
      FPicDisabled(new TPicture) {}

TskImageButton::~TskImageButton() {
  MarkDestroying();
  FreeRepeatTimer();
  DestroyHandle();
  delete FPicNormal;
  delete FPicMouseOn;
  delete FPicMouseDown;
  delete FPicDisabled;
}

void TskImageButton::SetPic(TPicture* target, TPicture* source) {
  target->Assign(source);
  UpdateAutoSize();
  Repaint();
}

void TskImageButton::SetPicNormal(TPicture* p) { SetPic(FPicNormal, p); }
void TskImageButton::SetPicMouseOn(TPicture* p) { SetPic(FPicMouseOn, p); }
void TskImageButton::SetPicMouseDown(TPicture* p) { SetPic(FPicMouseDown, p); }
void TskImageButton::SetPicDisabled(TPicture* p) { SetPic(FPicDisabled, p); }

void TskImageButton::SetStretch(bool v) {
  FStretch = v;
  Repaint();
}

void TskImageButton::SetDrawFocused(bool v) {
  FDrawFocused = v;
  Repaint();
}

void TskImageButton::UpdateAutoSize() {
  if (!GetParent() || !FAutoSize || !FPicNormal->HasGraphic()) return;
  SetHeight(FPicNormal->GetHeight());
  SetWidth(FPicNormal->GetWidth());
}

// Only a bitmap copies into the state bitmap; any other graphic (a PNG picture) raises, and the
// button then shows a blank area.
void TskImageButton::CopyState(TPicture* own, TBitmap* bitmap) {
  TPicture* source = own->HasGraphic() ? own : FPicNormal;
  if (!source->HasGraphic()) return;
  auto* b = As<TBitmap>(source->Graphic());
  if (!b) throw Exception("Cannot assign a " + source->Graphic()->ClassName() + " to a TBitmap");
  bitmap->Assign(b);
}

void TskImageButton::GetNormalPicture(TBitmap* bitmap) { CopyState(FPicNormal, bitmap); }
void TskImageButton::GetMouseOnPicture(TBitmap* bitmap) { CopyState(FPicMouseOn, bitmap); }
void TskImageButton::GetMouseDownPicture(TBitmap* bitmap) { CopyState(FPicMouseDown, bitmap); }
void TskImageButton::GetDisabledPicture(TBitmap* bitmap) { CopyState(FPicDisabled, bitmap); }

void TskImageButton::DrawPicture(TCanvas* canvas, TBitmap* bitmap) {
  if (!bitmap || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0) return;
  bitmap->SetTransparentColor(bitmap->Canvas()->GetPixel(0, 0));
  if (FStretch)
    canvas->StretchDraw(RECT{0, 0, GetWidth(), GetHeight()}, bitmap);
  else
    canvas->Draw(0, 0, bitmap);
}

void TskImageButton::PaintFocusRect(TCanvas* canvas) {
  if (FDrawFocused) TskCustomButton::PaintFocusRect(canvas);
}
