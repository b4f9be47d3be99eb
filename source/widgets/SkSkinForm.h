// TskSkinForm: makes the form that owns it a borderless window whose outline, size and background
// come from one bitmap. Pixels of TransparentColor are cut out of the window region; a press on the
// picture drags the window.
#pragma once

#include "Controls.h"
#include "Forms.h"

class TskSkinForm : public TGraphicControl {
  ORV_CLASS(TskSkinForm)
public:
  explicit TskSkinForm(TComponent* owner);
  ~TskSkinForm() override;

  TBitmap* GetGlyph() const { return FGlyph; }
  void SetGlyph(TBitmap* b);  // copies the picture, then applies it
  TColor GetTransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor c);  // stores, then applies the glyph
  // Shapes the form's window to the glyph and sizes control and form to it; nothing for an empty glyph.
  void ApplyGlyph();
  TCustomForm* OwnerForm() const { return FOwnerForm; }

  TNotifyEvent OnRegionChanged, OnPaint;

  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void WndProc(TMessage& m) override;

private:
  TCustomForm* FOwnerForm = nullptr;
  TBitmap* FGlyph;
  TColor FTransparentColor = clFuchsia;
};
