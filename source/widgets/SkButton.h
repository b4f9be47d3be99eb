// TskCustomButton: a focusable push button of the skin-form pack: pointer tracking, a pressed look for
// the mouse and for Space and Enter, default and cancel keys, a modal result for its form and a repeat
// event while the left button is held. Its pictures come from the style's "ButtonImage" (three frames:
// normal, pointer over, pressed). TskImageButton draws four pictures of its own instead.
#pragma once

#include "PushButtonBase.h"
#include "SkStyles.h"
#include "SkThemeMgr.h"

class TskCustomButton : public TPushButtonBase {
  ORV_CLASS(TskCustomButton)
public:
  explicit TskCustomButton(TComponent* owner);
  ~TskCustomButton() override;

  // Caption, Cancel, Default, ModalResult, Active, Pressed, RepeatTimer and the events: TPushButtonBase.
  void SetAutoSize(bool v) override;
  void SetTransparent(bool v);
  virtual TskUIStyle GetUIStyle() const { return FUIStyle; }
  virtual void SetUIStyle(TskUIStyle v);
  TskFileTheme* GetFileTheme() const { return FFileTheme; }
  void SetFileTheme(TskFileTheme* t);
  int GetMouseContinuouslyDownInterval() const { return FRepeatInterval; }
  void SetMouseContinuouslyDownInterval(int v) { FRepeatInterval = v; }
  void SetFocusedRectMargin(int v);
  bool MouseInside() const { return FHovered; }
  bool PictureTransparent() const { return FPictureTransparent; }

  void SetEnabled(bool v) override;
  void Paint() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation op) override;
  void WndProc(TMessage& m) override;

  // ---- replaceable steps ----
  virtual void UpdateAutoSize();
  void CaptionChanged() override {}
  virtual void TransparentChanged();
  virtual void EnabledChanged() {}
  virtual void UIStyleChanged() {}
  virtual void DrawPicture(TCanvas* canvas, TBitmap* bitmap);
  virtual void DrawCaption(TCanvas* canvas, const std::string& text);
  virtual void PaintFocusRect(TCanvas* canvas);
  virtual void GetNormalPicture(TBitmap* bitmap);
  virtual void GetMouseOnPicture(TBitmap* bitmap);
  virtual void GetMouseDownPicture(TBitmap* bitmap);
  virtual void GetDisabledPicture(TBitmap* bitmap);

protected:
  // The control's font changed (also through ParentFont): the canvas takes it and the button repaints.
  void FontChanged() override;
  void GetStyleFrame(TBitmap* bitmap, int frame);
  TskUIStyle FUIStyle = DeepBlue;
  TskFileTheme* FFileTheme = nullptr;
  bool FPictureTransparent = false;
};

class TskImageButton : public TskCustomButton {
  ORV_CLASS(TskImageButton)
public:
  explicit TskImageButton(TComponent* owner);
  ~TskImageButton() override;

  TPicture* GetPicNormal() const { return FPicNormal; }
  void SetPicNormal(TPicture* p);
  TPicture* GetPicMouseOn() const { return FPicMouseOn; }
  void SetPicMouseOn(TPicture* p);
  TPicture* GetPicMouseDown() const { return FPicMouseDown; }
  void SetPicMouseDown(TPicture* p);
  TPicture* GetPicDisabled() const { return FPicDisabled; }
  void SetPicDisabled(TPicture* p);
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  bool GetDrawFocused() const { return FDrawFocused; }
  void SetDrawFocused(bool v);
  // The image button's pictures never depend on a style: it always reads FromThemeFile.
  TskUIStyle GetUIStyle() const override { return FromThemeFile; }

  void UpdateAutoSize() override;
  void DrawPicture(TCanvas* canvas, TBitmap* bitmap) override;
  void PaintFocusRect(TCanvas* canvas) override;
  void GetNormalPicture(TBitmap* bitmap) override;
  void GetMouseOnPicture(TBitmap* bitmap) override;
  void GetMouseDownPicture(TBitmap* bitmap) override;
  void GetDisabledPicture(TBitmap* bitmap) override;

private:
  void SetPic(TPicture* target, TPicture* source);
  void CopyState(TPicture* own, TBitmap* bitmap);
  TPicture* FPicNormal;
  TPicture* FPicMouseOn;
  TPicture* FPicMouseDown;
  TPicture* FPicDisabled;
  bool FStretch = false, FDrawFocused = false;
};
