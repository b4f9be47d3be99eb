#include "LayeredButton.h"

#include <algorithm>

#include "StdCtrls.h"

static const bool TLayeredButton_listed = ListLayeredClass(&TLayeredButton::StaticClassInfo);

ORV_DEFINE_LAYERED_CLASS(
    TLayeredButton, TLayeredControl, FactoryOf<TLayeredButton>(),
    {BoolProp<TLayeredButton>("Cancel", &TLayeredButton::GetCancel, &TLayeredButton::SetCancel),
     BoolProp<TLayeredButton>("Default", &TLayeredButton::GetDefault, &TLayeredButton::SetDefault),
     IntProp<TLayeredButton>("ModalResult", &TLayeredButton::GetModalResult, &TLayeredButton::SetModalResult,
                             &ModalResultIdents()),
     EnumProp<TLayeredButton, TLayeredAlignment>("PictureAlign", LayeredAlignmentNames(),
                                                 &TLayeredButton::GetPictureAlign, &TLayeredButton::SetPictureAlign),
     IntProp<TLayeredButton>("PictureX", &TLayeredButton::GetPictureX, &TLayeredButton::SetPictureX),
     IntProp<TLayeredButton>("PictureY", &TLayeredButton::GetPictureY, &TLayeredButton::SetPictureY),
     BoolProp<TLayeredButton>("Stretch", &TLayeredButton::GetStretch, &TLayeredButton::SetStretch),
     EventProp("OnMouseExit", &TLayeredButton::OnMouseExit),
     StrProp<TLayeredButton>("PicNormal", &TLayeredButton::GetPicNormal, &TLayeredButton::SetPicNormal),
     StrProp<TLayeredButton>("PicMouseHover", &TLayeredButton::GetPicMouseHover, &TLayeredButton::SetPicMouseHover),
     StrProp<TLayeredButton>("PicMouseDown", &TLayeredButton::GetPicMouseDown, &TLayeredButton::SetPicMouseDown),
     StrProp<TLayeredButton>("PicDisabled", &TLayeredButton::GetPicDisabled, &TLayeredButton::SetPicDisabled),
     StrProp<TLayeredButton>("ResourcesTypeName", &TLayeredButton::GetResourcesTypeName,
                             &TLayeredButton::SetResourcesTypeName),
     StrProp<TLayeredButton>("ImageResourcesNameNormal", &TLayeredButton::GetImageResourcesNameNormal,
                             &TLayeredButton::SetImageResourcesNameNormal),
     StrProp<TLayeredButton>("ImageResourcesNameHover", &TLayeredButton::GetImageResourcesNameHover,
                             &TLayeredButton::SetImageResourcesNameHover),
     StrProp<TLayeredButton>("ImageResourcesNameMouseDown", &TLayeredButton::GetImageResourcesNameMouseDown,
                             &TLayeredButton::SetImageResourcesNameMouseDown),
     StrProp<TLayeredButton>("ImageResourcesNameDisabled", &TLayeredButton::GetImageResourcesNameDisabled,
                             &TLayeredButton::SetImageResourcesNameDisabled)})

TLayeredButton::TLayeredButton(TComponent* owner) : TLayeredControl(owner) {
  FTextAlign = Alignment_Center;
  FDrawFocused = true;
  FTabStop = true;
}

TLayeredButton::~TLayeredButton() {
  for (TGPImage*& image : FImages) {
    delete image;
    image = nullptr;
  }
}

void TLayeredButton::CreateWnd() {
  TLayeredControl::CreateWnd();
  FActive = FDefault;
}

// ---- pictures ----

void TLayeredButton::SetPicture(TState state, const std::string& path) {
  std::string* paths[] = {&FPicNormal, &FPicMouseHover, &FPicMouseDown, &FPicDisabled};
  delete FImages[state];
  FImages[state] = nullptr;
  *paths[state] = path;
  // A file that cannot be decoded stays as an image that draws nothing.
  if (!path.empty()) FImages[state] = new TGPImage(path, false);
  Repaint();
}

void TLayeredButton::SetPicNormal(const std::string& path) { SetPicture(stNormal, path); }
void TLayeredButton::SetPicMouseHover(const std::string& path) { SetPicture(stHover, path); }
void TLayeredButton::SetPicMouseDown(const std::string& path) { SetPicture(stDown, path); }
void TLayeredButton::SetPicDisabled(const std::string& path) { SetPicture(stDisabled, path); }

void TLayeredButton::SetResourcesTypeName(const std::string& v) {
  FResourcesTypeName = v;
  Repaint();
}

void TLayeredButton::SetResourceName(int state, const std::string& name) {
  FResNames[state] = name;
  if (FResourcesTypeName.empty()) return;
  if (TGPImage* image = LoadImageFromResource(name, FResourcesTypeName, ResourceModule)) {
    delete FImages[state];
    FImages[state] = image;
  }
  Repaint();
}

TGPImage* TLayeredButton::GetStateImage() {
  if (!GetEnabled()) return FImages[stDisabled] ? FImages[stDisabled] : FImages[stNormal];
  if (FPressed) return FImages[stDown] ? FImages[stDown] : FImages[stNormal];
  if (FHovered && FImages[stHover]) return FImages[stHover];
  return FImages[stNormal];
}

void TLayeredButton::DrawContent(TGPGraphics* g) {
  if (TGPImage* image = GetStateImage()) DrawPicture(g, image);
  TLayeredControl::DrawContent(g);
}

void TLayeredButton::DrawPicture(TGPGraphics* g, TGPImage* image) {
  if (!GetVisible()) return;
  int iw = int(image->GetWidth()), ih = int(image->GetHeight());
  if (iw == 0 || ih == 0) return;
  int w = GetWidth(), h = GetHeight();
  POINT at = AlignedOrigin(FPictureAlign, w, h, iw, ih, FPictureX, FPictureY);
  at.x += GetLeft();
  at.y += GetTop();
  int sw = std::min(w, iw), sh = std::min(h, ih);
  // Unscaled pictures are clipped to the button; stretched ones fill it.
  TGPRect dest(at.x, at.y, FStretch ? w : sw, FStretch ? h : sh);
  g->DrawImage(image, dest, 0, 0, sw, sh, GpUnitPixel);
}

bool TLayeredButton::FocusRectWanted() const { return GetTabStop() && TLayeredControl::FocusRectWanted(); }

// ---- plain setters ----

void TLayeredButton::SetDefault(bool v) {
  FDefault = v;
  if (!HandleAllocated()) return;
  if (TCustomForm* f = GetParentForm(this)) f->Perform(CM_FOCUSCHANGED, 0, LPARAM(f->GetActiveControl()));
}

void TLayeredButton::SetPictureAlign(TLayeredAlignment v) {
  if (v == FPictureAlign) return;
  FPictureAlign = v;
  Repaint();
}

void TLayeredButton::SetPictureX(int v) {
  if (v == FPictureX) return;
  FPictureX = v;
  Repaint();
}

void TLayeredButton::SetPictureY(int v) {
  if (v == FPictureY) return;
  FPictureY = v;
  Repaint();
}

void TLayeredButton::SetStretch(bool v) {
  if (v == FStretch) return;
  FStretch = v;
  Repaint();
}

// ---- input ----

void TLayeredButton::MouseMove(TShiftState shift, int x, int y) {
  TLayeredControl::MouseMove(shift, x, y);
  if (!Inside(x, y) && !FPressed) SetState(false, false);
}

void TLayeredButton::Click() {
  if (FPressed) SetState(true, false);
  if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
  TLayeredControl::Click();
}

void TLayeredButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSELEAVE:
      TLayeredControl::WndProc(m);
      if (!FPressed && OnMouseExit) OnMouseExit(this);
      return;
    case WM_KILLFOCUS:
      TCustomControl::WndProc(m);
      FPressed = false;
      Repaint();
      return;
    case WM_KEYDOWN:
      TLayeredControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && GetEnabled()) SetState(false, true);
      return;
    case WM_KEYUP:
      TLayeredControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && FPressed && GetEnabled()) {
        SetState(true, false);
        Click();
      }
      return;
    case CM_FOCUSCHANGED: {
      TCustomControl::WndProc(m);
      auto* c = reinterpret_cast<TWinControl*>(m.LParam);
      FActive = dynamic_cast<TButton*>(c) ? c == this : FDefault;
      Repaint();
      return;
    }
    case CM_DIALOGKEY:
      if (PressOnDialogKey(this, m, FActive, FCancel)) return;
      break;
    case CM_DIALOGCHAR: {
      TLayeredControl::WndProc(m);
      char key = LowerChar(char(m.WParam & 0xFF));
      char accel = CaptionAccelerator(FCaption);
      if (accel && key == accel && GetEnabled()) {
        Click();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    }
  }
  TLayeredControl::WndProc(m);
}
