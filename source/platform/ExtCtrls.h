// Panels, paint boxes, images and bevels (minimal; the family grows here).
#pragma once

#include "Controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
  ORV_CLASS(TCustomPanel)
public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v);
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  void Paint() override;

protected:
  void AdjustClientRect(RECT& r) const override;
  TBevelCut FBevelInner = bvNone, FBevelOuter = bvRaised;
  int FBevelWidth = 1, FBorderWidth = 0;
  TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
  ORV_CLASS(TPanel)
public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

class TPaintBox : public TGraphicControl {
  ORV_CLASS(TPaintBox)
public:
  explicit TPaintBox(TComponent* owner);
  void Paint() override;
  TNotifyEvent OnPaint;
};

class TImage : public TGraphicControl {
  ORV_CLASS(TImage)
public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  TPicture* GetPicture() const { return FPicture; }
  void SetPicture(TPicture* p) { FPicture->Assign(p); }
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  void Paint() override;

protected:
  bool CanAutoSize(int& w, int& h) override;
  TPicture* FPicture;
  bool FStretch = false, FCenter = false, FTransparent = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
  ORV_CLASS(TBevel)
public:
  explicit TBevel(TComponent* owner);
  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape v);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle v);
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};
