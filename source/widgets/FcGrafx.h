// Gradient fills in the ten TGradientDirection geometries, bitmaps drawn with one colour transparent,
// top-to-bottom mirroring and the parent's image behind a transparent control. No state of its own.
#pragma once

#include <windows.h>

#include "Controls.h"
#include "FcCommon.h"

// ---- bitmaps ----
void DrawMaskedBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& destRect, const RECT& sourceRect,
                      TColor transparentColor);
void PaintParentImage(TControl* control, HDC dc, bool invalidateParent);
void FlipVertical(TBitmap* bitmap);

// ---- gradients ----
// Fills `bounds` of the canvas; nothing for a zero width or height.
void DrawGradient(TCanvas* canvas, const RECT& bounds, TGradientDirection direction, TColor startColor,
                  TColor stopColor, int colorSteps);

// The building blocks, on a DC whose origin is the gradient's top-left corner.
// A non-zero positionX selects the x axis (8-pixel-high bands), otherwise the y axis (8-pixel-wide bands);
// a negative position is one pass over the whole length, 0 or more two passes meeting there.
void GradientStrip(HDC dc, int positionX, int positionY, int length, TColor startColor, TColor stopColor,
                   int colorSteps);
void ReplicateBlock(HDC dc, int x, int y, int totalWidth, int totalHeight, int filledWidth, int filledHeight,
                    DWORD rop);
void GradientQuadrant(HDC dc, int width, int height, int xInset, int yInset, TColor startColor, TColor stopColor,
                      int colorSteps);
void MirrorQuadrant(HDC dc, int x, int y, int width, int height, DWORD rop);
void GradientDiagonal(HDC dc, int width, int height, TColor startColor, TColor stopColor, int colorSteps);

// Least run of pixels per band: colorSteps 1..8 as given, above 8 `range` / colorSteps + 1, 0 gives 1.
int MinimumBandWidth(int colorSteps, int range);
