#include "OrvButton.h"

ORV_DEFINE_CLASS(TOrvButton, TOrvCustomButton, FactoryOf<TOrvButton>(),
                 {BoolProp<TOrvButton>("Cancel", &TOrvButton::GetCancel, &TOrvButton::SetCancel),
                  BoolProp<TOrvButton>("Default", &TOrvButton::GetDefault, &TOrvButton::SetDefault),
                  EventProp("OnMouseExit", &TOrvButton::OnMouseExit),
                  EventProp("OnMouseContinuouslyDown", &TOrvButton::OnMouseContinuouslyDown),
                  BoolProp<TOrvButton>("Stretch", &TOrvButton::GetStretch, &TOrvButton::SetStretch),
                  BoolProp<TOrvButton>("DrawFocused", &TOrvButton::GetDrawFocused, &TOrvButton::SetDrawFocused),
                  BoolProp<TOrvButton>("DrawBorder", &TOrvButton::GetDrawBorder, &TOrvButton::SetDrawBorder),
                  IntProp<TOrvButton>("TransparentColor", &TOrvButton::GetTransparentColor,
                                      &TOrvButton::SetTransparentColor, &ColorIdents()),
                  BoolProp<TOrvButton>("EnableTransparentColor", &TOrvButton::GetEnableTransparentColor,
                                       &TOrvButton::SetEnableTransparentColor),
                  IntProp<TOrvButton>("PictureX", &TOrvButton::GetPictureX, &TOrvButton::SetPictureX),
                  IntProp<TOrvButton>("PictureY", &TOrvButton::GetPictureY, &TOrvButton::SetPictureY),
                  EnumProp<TOrvButton, TOrvAlignment>("PictureAlign", OrvAlignmentNames(), &TOrvButton::GetPictureAlign,
                                                      &TOrvButton::SetPictureAlign),
                  ObjProp<TOrvButton, TPicture>("PicNormal", &TOrvButton::GetPicNormal, &TOrvButton::SetPicNormal),
                  ObjProp<TOrvButton, TPicture>("PicMouseHover", &TOrvButton::GetPicMouseHover,
                                                &TOrvButton::SetPicMouseHover),
                  ObjProp<TOrvButton, TPicture>("PicMouseDown", &TOrvButton::GetPicMouseDown, &TOrvButton::SetPicMouseDown),
                  ObjProp<TOrvButton, TPicture>("PicDisabled", &TOrvButton::GetPicDisabled, &TOrvButton::SetPicDisabled)})

TOrvButton::TOrvButton(TComponent* owner)
    : TOrvCustomButton(owner),
      FPicNormal(new TPicture),
      FPicMouseHover(new TPicture),
      FPicMouseDown(new TPicture),
      FPicDisabled(new TPicture) {}

TOrvButton::~TOrvButton() {
  MarkDestroying();  // the window goes away without events reaching a half-destroyed button
  DestroyHandle();
  delete FPicNormal;
  delete FPicMouseHover;
  delete FPicMouseDown;
  delete FPicDisabled;
}

void TOrvButton::CopyPicture(TPicture* target, TPicture* source) {
  target->Assign(source);
  Repaint();
}

void TOrvButton::SetPicNormal(TPicture* p) { CopyPicture(FPicNormal, p); }
void TOrvButton::SetPicMouseHover(TPicture* p) { CopyPicture(FPicMouseHover, p); }
void TOrvButton::SetPicMouseDown(TPicture* p) { CopyPicture(FPicMouseDown, p); }
void TOrvButton::SetPicDisabled(TPicture* p) { CopyPicture(FPicDisabled, p); }

bool TOrvButton::GetStatePicture(TPicture* picture) {
  TPicture* candidate = nullptr;
  if (!GetEnabled())
    candidate = FPicDisabled;
  else if (FPressed)
    candidate = FPicMouseDown;
  else if (FHovered)
    candidate = FPicMouseHover;
  for (TPicture* p : {candidate, FPicNormal}) {
    if (p && p->HasGraphic()) {
      picture->Assign(p);
      return true;
    }
  }
  return false;
}
