// Check boxes and radio buttons with the box drawn from the skin's CheckButton and RadioButton images
// (frames side by side). A control of ours with an image is painted whole by the skinner (mode 1); a
// raw dialog button paints itself and gets the skin's box over its own after each paint (mode 0).
//
// TSkinObjImage serves controls that draw their own glyphs from a strip: it hands them a strip built
// from the skin's frames through their published properties and takes no part in their messages.
#pragma once

#include "SkinnerControl.h"

// The frame of the image for a state: 1 unchecked, 2 checked, 3 unchecked and disabled, 4 checked and
// disabled (also indeterminate). Images of 8 and 12 frames hold four frames per check state (normal,
// hot, pressed, disabled), unchecked first; other counts take the state as the frame.
int CheckStateFrame(int frameCount, int state);

class TSkinToggleButton : public TSkinControl {
  ORV_CLASS(TSkinToggleButton)
public:
  using TSkinControl::TSkinControl;
  bool Transparent = false;

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;

  // The frame to draw for the control's state now.
  virtual int FrameIndex() = 0;
  virtual TBitmap* Image() const = 0;
  virtual int FrameCount() const = 0;

protected:
  bool HasImage() const;
  // How far the box sits from the right edge with the text on the left.
  virtual int RightInset() const = 0;
};

class TSkinCheckBox : public TSkinToggleButton {
  ORV_CLASS(TSkinCheckBox)
public:
  using TSkinToggleButton::TSkinToggleButton;
  int DataState = 0;  // 0 none, else the last BM_SETCHECK argument + 1

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void AfterMessage(TMessage& m) override;
  int FrameIndex() override;
  TBitmap* Image() const override;
  int FrameCount() const override;

protected:
  int RightInset() const override { return 0; }
};

class TSkinRadioButton : public TSkinToggleButton {
  ORV_CLASS(TSkinRadioButton)
public:
  using TSkinToggleButton::TSkinToggleButton;
  int FrameIndex() override;
  TBitmap* Image() const override;
  int FrameCount() const override;

protected:
  int RightInset() const override { return 1; }
};

// Kinds: 1 a framed-family check box, 2 a framed-family radio button, 3 a check box whose glyph lives
// in its Properties.Glyph.
class TSkinObjImage : public TSkinControl {
  ORV_CLASS(TSkinObjImage)
public:
  explicit TSkinObjImage(TComponent* owner);
  ~TSkinObjImage() override;
  int Kind = 0;
  TBitmap* Strip;  // the glyph strip handed to the control

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void Detach() override;
  void SkinChanged() override;
  // Builds the strip from the skin and hands it to the control.
  void BuildGlyphs();
};
