// TOrvCustomButton: an owner-drawn, double-buffered push button with hover, pressed, disabled and
// focused looks, a caption font per state, a repeat event while the left button is held, and
// transparency over its parent's background. TOrvButton adds the state pictures.
#pragma once

#include "OrvWindowsUtils.h"
#include "PushButtonBase.h"

class TOrvCustomButton : public TPushButtonBase, public TStateFontsOwner {
  ORV_CLASS(TOrvCustomButton)
public:
  explicit TOrvCustomButton(TComponent* owner);
  ~TOrvCustomButton() override;

  // ---- properties (Caption, Cancel, Default, ModalResult: TPushButtonBase) ----
  void SetTransparent(bool v);
  bool GetEnableTransparentColor() const { return FEnableTransparentColor; }
  void SetEnableTransparentColor(bool v);
  TColor GetTransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor v);
  int GetRepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(int v) { FRepeatInterval = v; }
  void SetFocusedRectMargin(int v);
  TOrvAlignment GetTextAlign() const { return FTextAlign; }
  void SetTextAlign(TOrvAlignment v);
  TOrvAlignment GetPictureAlign() const { return FPictureAlign; }
  void SetPictureAlign(TOrvAlignment v);
  int GetTextX() const { return FTextX; }
  void SetTextX(int v);
  int GetTextY() const { return FTextY; }
  void SetTextY(int v);
  int GetPictureX() const { return FPictureX; }
  void SetPictureX(int v);
  int GetPictureY() const { return FPictureY; }
  void SetPictureY(int v);
  bool GetMultiLines() const { return FMultiLines; }
  void SetMultiLines(bool v);
  bool GetShowDisabledShadow() const { return FShowDisabledShadow; }
  void SetShowDisabledShadow(bool v);
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  bool GetDrawFocused() const { return FDrawFocused; }
  void SetDrawFocused(bool v);
  bool GetDrawBorder() const { return FDrawBorder; }
  void SetDrawBorder(bool v);

  // The look's two flags are Hovered and Pressed.
  bool Hovered() const { return FHovered; }

  // ---- overridden operations ----
  void SetEnabled(bool v) override;
  void Paint() override;
  void Click() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void WndProc(TMessage& m) override;

  // ---- drawing steps, replaceable by descendants ----
  virtual void DrawPicture(TCanvas* canvas, TPicture* picture);
  virtual void DrawCaption(TCanvas* canvas, const std::string& text);
  virtual void DrawFocusRect(TCanvas* canvas);
  virtual void DrawBorder(TCanvas* canvas);
  // Fills `picture` with the picture of the current state; false when there is none.
  virtual bool GetStatePicture(TPicture* picture);

protected:
  void StateFontsChanged() override { Repaint(); }
  // A press shows the pressed look in place of the hovered one.
  void PressBegins() override {
    FPressed = true;
    FHovered = false;
  }

  bool FEnableTransparentColor = false;
  TColor FTransparentColor = clFuchsia;
  TOrvAlignment FTextAlign = TOrvAlignment::alCenter;
  TOrvAlignment FPictureAlign = TOrvAlignment::alTopLeft;
  int FTextX = 0, FTextY = 0;
  int FPictureX = 0, FPictureY = 0;
  bool FMultiLines = false;
  bool FShowDisabledShadow = false;
  bool FStretch = false;
  bool FDrawFocused = true;
  bool FDrawBorder = false;

private:
  template <class T>
  void StoreAndRepaint(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void HandleMouseEnter();
  void HandleMouseLeave();
};
