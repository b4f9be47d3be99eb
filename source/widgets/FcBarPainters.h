// The three looks of the framed progress bar: a solid bar with its percentage, a row of LED segments
// (or the visual style's chunks) and a gradient bar. They draw on the given canvas and keep no state.
#pragma once

#include "FcCommon.h"

void PaintSolidBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor backColor, int percent,
                   bool showPercent, bool transparent);
void PaintLedBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor backColor,
                 int numSegments, int percent, bool themeAware, bool transparent);
void PaintGradientBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor barColorStop,
                      TColor backColor, TColor backColorStop, TGradientDirection direction, int percent,
                      bool showPercent, bool transparent);
// The filled part of a solid or gradient bar (the whole of r from 100 on).
RECT BarFilledPart(const RECT& r, TOrientation orientation, int percent);
// Segment geometry of the LED style: count, size and margin for an interior length.
struct TLedLayout {
  int Count, Size, Margin;
};
TLedLayout LedLayout(int length, int numSegments);
