// TskImagePanel: a container that paints a picture (natural size, stretched or tiled) or a plain
// colour, optionally over its parent's background, and a one-line caption; composed off screen and
// copied in one piece, never erased.
#pragma once

#include "ExtCtrls.h"
#include "SkStyles.h"

class TskCustomPanel : public TCustomPanel {
  ORV_CLASS(TskCustomPanel)
public:
  explicit TskCustomPanel(TComponent* owner);
  ~TskCustomPanel() override;

  TPicture* GetPicture() const { return FPicture; }
  void SetPicture(TPicture* p);
  bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool v);
  void SetAutoSize(bool v) override;
  TskDrawStyle GetDrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TskDrawStyle v);
  RECT CaptionRect() const { return FCaptionRect; }

  void Paint() override;
  void Resize() override;
  void WndProc(TMessage& m) override;

  virtual void PaintBackground();
  virtual void CaptionChanged(const RECT& previous) { (void)previous; }
  virtual void PictureChanged();

protected:
  void ApplyAutoSize();
  void SyncPictureTransparency();
  TPicture* FPicture;
  bool FTransparent = false;
  TskDrawStyle FDrawStyle = skNormal;
  RECT FCaptionRect{0, 0, 0, 0};
};

class TskImagePanel : public TskCustomPanel {
  ORV_CLASS(TskImagePanel)
public:
  explicit TskImagePanel(TComponent* owner) : TskCustomPanel(owner) {}
};
