// TFcProgressBar: a windowless progress bar in three styles (solid, LED segments, two-colour
// gradient), horizontal or vertical, inside a configurable border; composed off screen and copied
// to the parent's canvas in one piece.
#pragma once

#include <functional>

#include "Controls.h"
#include "FcCommon.h"
#include "FcFrameController.h"

using TProgressChangeEvent = std::function<void(TObject* Sender, int Percent)>;

class TFcCustomProgressBar : public TGraphicControl, public IFcFrameNotify {
  ORV_CLASS(TFcCustomProgressBar)
public:
  explicit TFcCustomProgressBar(TComponent* owner);

  int GetPercent() const { return FPercent; }
  virtual void SetPercent(int v);
  bool GetShowPercent() const { return FShowPercent; }
  virtual void SetShowPercent(bool v);
  int GetPartsComplete() const { return FPartsComplete; }
  virtual void SetPartsComplete(int v);
  int GetTotalParts() const { return FTotalParts; }
  virtual void SetTotalParts(int v);
  TBarStyle GetBarStyle() const { return FBarStyle; }
  virtual void SetBarStyle(TBarStyle v);
  TOrientation GetOrientation() const { return FOrientation; }
  virtual void SetOrientation(TOrientation v);
  int GetNumSegments() const { return FNumSegments; }
  virtual void SetNumSegments(int v);
  TColor GetBarColor() const { return FBarColor; }
  virtual void SetBarColor(TColor v);
  TColor GetBackColor() const { return FBackColor; }
  virtual void SetBackColor(TColor v);
  TColor GetBarColorStop() const { return FBarColorStop; }
  TColor GetBackColorStop() const { return FBackColorStop; }
  TGradientDirection GetGradientDirection() const { return FGradientDirection; }
  TFrameStyleEx GetBorderOuter() const { return FBorderOuter; }
  virtual void SetBorderOuter(TFrameStyleEx v);
  TFrameStyleEx GetBorderInner() const { return FBorderInner; }
  virtual void SetBorderInner(TFrameStyleEx v);
  int GetBorderWidth() const { return FBorderWidth; }
  virtual void SetBorderWidth(int v);
  TColor GetBorderColor() const { return FBorderColor; }
  virtual void SetBorderColor(TColor v);
  int GetBevelWidth() const { return FBevelWidth; }
  virtual void SetBevelWidth(int v);
  TColor GetFlatColor() const { return FFlatColor; }
  virtual void SetFlatColor(TColor v);
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  virtual void SetFlatColorAdjustment(int v);
  int GetInteriorOffset() const { return FInteriorOffset; }
  virtual void SetInteriorOffset(int v);
  bool GetThemeAware() const { return FThemeAware; }
  virtual void SetThemeAware(bool v);

  TFcFrameControllerLink& FrameLink() { return FFrameLink; }
  // Takes the controller's settings (only while its FrameVisible is on): its frame style as the outer
  // border, its frame colour as the flat colour, its colour as the back colour, its ParentColor.
  void UpdateFrame(TFcFrameController* controller) override;
  void Notification(TComponent* component, TOperation op) override;

  TProgressChangeEvent OnChange;

  void SetBounds(int l, int t, int w, int h) override;
  void Paint() override;

protected:
  virtual void Change();
  TFcFrameControllerLink FFrameLink{this};
  int FPercent = 0;
  bool FShowPercent = true;
  int FPartsComplete = 0, FTotalParts = 0;
  TBarStyle FBarStyle = bsTraditional;
  TOrientation FOrientation = orHorizontal;
  int FNumSegments = 20;
  TColor FBarColor = clHighlight, FBarColorStop = SysColor(COLOR_HOTLIGHT);
  TColor FBackColor = clWhite, FBackColorStop = clBtnFace;
  TGradientDirection FGradientDirection = gdHorizontalCenter;
  TFrameStyleEx FBorderOuter = fsLowered, FBorderInner = fsNone;
  int FBorderWidth = 0;
  TColor FBorderColor = clBtnFace;
  int FBevelWidth = 1;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
  int FInteriorOffset = 0;
  bool FThemeAware = true;

private:
  template <class T>
  bool Store(T& field, T v) {
    if (field == v) return false;
    field = v;
    return true;
  }
};

class TFcProgressBar : public TFcCustomProgressBar {
  ORV_CLASS(TFcProgressBar)
public:
  explicit TFcProgressBar(TComponent* owner) : TFcCustomProgressBar(owner) {}
  void SetBackColorStop(TColor v);
  void SetBarColorStop(TColor v);
  void SetGradientDirection(TGradientDirection v);
};
