// TOrvButton: the picture button of the borderless main window: TOrvCustomButton with four state
// pictures (normal, hovered, pressed, disabled); a missing state picture falls back to the normal one.
#pragma once

#include "OrvCustomButton.h"

class TOrvButton : public TOrvCustomButton {
  ORV_CLASS(TOrvButton)
public:
  explicit TOrvButton(TComponent* owner);
  ~TOrvButton() override;

  TPicture* GetPicNormal() const { return FPicNormal; }
  void SetPicNormal(TPicture* p);
  TPicture* GetPicMouseHover() const { return FPicMouseHover; }
  void SetPicMouseHover(TPicture* p);
  TPicture* GetPicMouseDown() const { return FPicMouseDown; }
  void SetPicMouseDown(TPicture* p);
  TPicture* GetPicDisabled() const { return FPicDisabled; }
  void SetPicDisabled(TPicture* p);

  bool GetStatePicture(TPicture* picture) override;

private:
  void CopyPicture(TPicture* target, TPicture* source);
  TPicture* FPicNormal;
  TPicture* FPicMouseHover;
  TPicture* FPicMouseDown;
  TPicture* FPicDisabled;
};
