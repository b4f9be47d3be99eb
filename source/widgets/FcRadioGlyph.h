// The radio button's hot-track glyph: a 13-pixel circle drawn pixel by pixel, with a gradient interior
// or a lit frame while the pointer is over it.
#pragma once

#include "FcCommon.h"

enum TFcGlyphState { gsNormal = 0, gsPressed = 1, gsHot = 2, gsDisabled = 3 };
struct THotTrackRadioGlyph {
  bool Checked = false;
  TFcGlyphState State = gsNormal;
  bool Focused = false;
  TFcButtonHotTrackStyle HotTrackStyle = htsInterior;
  TColor FrameColor = clBtnShadow;
  TColor HighlightColor = clHighlight;
  TColor FillColor = clWindow;
  TColor FocusColor = clWindow;
  TColor DisabledColor = clBtnFace;
  TColor HotLight = clWhite;
  TColor HotDark = clBlack;
  TColor Color = clBtnFace;
  bool Transparent = false;
  TColor KeyColor = 0x008080;
  bool ReadOnly = false;
  bool ReadOnlyColorOnFocus = false;
  TColor ReadOnlyColor = clInfoBk;
};
void PaintHotTrackRadioGlyph(TCanvas* canvas, const RECT& r, const THotTrackRadioGlyph& g);
