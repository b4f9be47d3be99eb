// TLayeredButton: a push button on a layered window with four state pictures (PNG files or image
// resources) and an anti-aliased caption, drawn into the window's memory surface.
#pragma once

#include "LayeredWnd.h"

class TLayeredButton : public TLayeredControl {
  ORV_CLASS(TLayeredButton)
public:
  explicit TLayeredButton(TComponent* owner);
  ~TLayeredButton() override;
  void WndProc(TMessage& m) override;
  void Click() override;
  void MouseMove(TShiftState shift, int x, int y) override;

  bool GetActive() const { return FActive; }
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  int GetModalResult() const { return FModalResult; }
  void SetModalResult(int v) { FModalResult = v; }
  TLayeredAlignment GetPictureAlign() const { return FPictureAlign; }
  void SetPictureAlign(TLayeredAlignment v);
  int GetPictureX() const { return FPictureX; }
  void SetPictureX(int v);
  int GetPictureY() const { return FPictureY; }
  void SetPictureY(int v);
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);

  std::string GetPicNormal() const { return FPicNormal; }
  void SetPicNormal(const std::string& path);
  std::string GetPicMouseHover() const { return FPicMouseHover; }
  void SetPicMouseHover(const std::string& path);
  std::string GetPicMouseDown() const { return FPicMouseDown; }
  void SetPicMouseDown(const std::string& path);
  std::string GetPicDisabled() const { return FPicDisabled; }
  void SetPicDisabled(const std::string& path);

  HMODULE ResourceModule = nullptr;  // where image resources are looked up (null: the program)
  std::string GetResourcesTypeName() const { return FResourcesTypeName; }
  void SetResourcesTypeName(const std::string& v);
  std::string GetImageResourcesNameNormal() const { return FResNames[0]; }
  void SetImageResourcesNameNormal(const std::string& v) { SetResourceName(0, v); }
  std::string GetImageResourcesNameHover() const { return FResNames[1]; }
  void SetImageResourcesNameHover(const std::string& v) { SetResourceName(1, v); }
  std::string GetImageResourcesNameMouseDown() const { return FResNames[2]; }
  void SetImageResourcesNameMouseDown(const std::string& v) { SetResourceName(2, v); }
  std::string GetImageResourcesNameDisabled() const { return FResNames[3]; }
  void SetImageResourcesNameDisabled(const std::string& v) { SetResourceName(3, v); }

  // The picture of the current state: disabled, pressed, hovered, normal; a missing down or
  // disabled picture falls back to the normal one. May be null.
  virtual TGPImage* GetStateImage();

  TNotifyEvent OnMouseExit;

protected:
  void CreateWnd() override;
  void DrawContent(TGPGraphics* g) override;
  virtual void DrawPicture(TGPGraphics* g, TGPImage* image);
  bool FocusRectWanted() const override;
  bool CaptionFollowsPress() const override { return true; }

private:
  enum TState { stNormal, stHover, stDown, stDisabled };
  void SetPicture(TState state, const std::string& path);
  void SetResourceName(int state, const std::string& name);
  bool FActive = false;
  bool FCancel = false, FDefault = false;
  int FModalResult = 0;
  TLayeredAlignment FPictureAlign = Alignment_TopLeft;
  int FPictureX = 0, FPictureY = 0;
  bool FStretch = false;
  TGPImage* FImages[4] = {nullptr, nullptr, nullptr, nullptr};  // normal, hover, down, disabled
  std::string FPicNormal, FPicMouseHover, FPicMouseDown, FPicDisabled;
  std::string FResourcesTypeName;
  std::string FResNames[4];
};
