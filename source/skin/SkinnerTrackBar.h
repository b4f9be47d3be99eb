// Bars that show a value: the track bar, whose channel and thumb the skinner draws from the skin in the
// control's own custom-draw notifications (the control keeps drawing its tick marks), and the progress
// bar, painted whole from the skin's Progress image (and Progress.Chunk for the chunk style).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "SkinnerControl.h"

class TSkinData;

class TSkinTrackBar : public TSkinControl {
  ORV_CLASS(TSkinTrackBar)
public:
  using TSkinControl::TSkinControl;
  // The bar takes the skin's face colour while skinned, so that no box of the system's colour shows
  // around it on a skinned window; detaching gives its own back.
  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  // A new skin: the base's recolouring and repaint. (Moving the focus to the bar and back to make it
  // redraw would run the focus handlers of the window's controls and bring an inactive window to the
  // front.)

  // The answer to one custom-draw notification of the track bar, drawing the thumb or the channel when
  // that is the part the control is about to draw.
  LRESULT CustomDraw(const NMCUSTOMDRAW& cd);
  void DrawThumb(HDC dc);
  void DrawChannel(HDC dc);
};

// The channel image over the channel rectangle as the control reports it (TBM_GETCHANNELRECT): across
// from the skin's Track image, or, for a vertical bar, upright from its TRACKVERT image (the control
// then reports the rectangle with x and y exchanged). Nothing without the element.
void DrawTrackChannel(TSkinData* data, HDC dc, const RECT& reported, bool vertical);

class TSkinProgress : public TSkinControl {
  ORV_CLASS(TSkinProgress)
public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};

// The progress bar's picture for a position within 0..high into the rectangle (its size; the picture
// goes to its top-left corner): the trough, and the filled part from the left, or from the bottom
// when vertical. Nothing without the skin's Progress image.
void DrawProgressBar(TSkinData* data, HDC dc, const RECT& r, int position, int high, bool vertical);
