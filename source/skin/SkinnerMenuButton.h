// Two more button skinners on the push buttons' ground (SkinnerButton.h), for control classes that
// the skin data's Skin3rd rows name:
//   TSkinMenuButton: a drop-down menu button, the [Buttons] element with the caption and a small
//     down-pointing triangle at the right; everything but the painting is the push button's.
//   TSkinSpeedButton: a speed button, a control without a window of its own that its parent paints.
//     The skinner sits in front of the button's WindowProc and paints into the parent's DC where the
//     button stands: the [Buttons] element, the glyph and the caption laid out like a bitmap button.
//     A flat speed button shows the element only while hot or pressed (or down).
#pragma once

#include "SkinnerButton.h"

class TSkinMenuButton : public TSkinButton {
  ORV_CLASS(TSkinMenuButton)
public:
  explicit TSkinMenuButton(TComponent* owner) : TSkinButton(owner) {}

  void DrawControl(HDC dc, const RECT& r) override;

  // The state frame (reads focus and enabled first): pressed 2, hot or focused 4, else 1; disabled 3.
  int MenuFrame();
  // Width of the strip at the right that holds the arrow.
  static constexpr int ArrowRoom = 17;
  // Where a caption of that size goes in a w x h button (an empty caption: a point).
  static RECT CaptionBox(int w, int h, SIZE text);
  // The arrow's corners: its tip, then the two upper corners.
  static void ArrowCorners(int w, int h, POINT corners[3]);
};

class TSkinSpeedButton : public TSkinBitButton {
  ORV_CLASS(TSkinSpeedButton)
public:
  explicit TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}

  bool Painting = false;  // a paint is in progress (painting the parent behind comes back here)

  // A speed button is attached with AttachSpeedButton whichever way the dispatch reaches it.
  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void AttachSpeedButton(TSkinnerForm* form, TSkinData* data, TCanvas* canvas);
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  // Paints at once through the button's canvas (the parent's DC at the button's place).
  void PaintWindow(HDC dc) override;
  void DrawControl(HDC dc, const RECT& r) override;

  // The [Buttons] frame to draw: down 2; else disabled 3, pressed 2, hot 4, normal 1 (reads Enabled
  // and Down first).
  int ElementFrame();
  bool Down() const { return FDown; }
  // The glyph cell for that frame: down 4; else pressed 3, disabled 2, otherwise 1.
  int GlyphCell(int frame) const { return FDown ? 4 : frame == bfPressed ? 3 : frame == bfDisabled ? 2 : 1; }
  // Whether the element is drawn under glyph and caption at that frame.
  bool DrawsElement(int frame) const;

private:
  void DrawSpeedButton(HDC dc, const RECT& r);
  bool FDown = false;
};
