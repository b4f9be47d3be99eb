// Free drawing and geometry routines shared by the skin-form pack's controls.
// DrawParentBackground(Canvas, Control) is the class library's routine (Controls.h); the picture
// buttons use the same one.
#pragma once

#include <windows.h>

#include <string>

#include "Controls.h"

// Copies of `graphic` at every multiple of its width and height from the canvas origin, until they
// cover the rectangle's extent (the canvas clips the last row and column).
void TileDraw(TCanvas* canvas, TGraphic* graphic, const RECT& rect);

// The union of one-pixel-high rectangles, one per horizontal run of pixels whose colour differs from
// `transparentColor` (compared exactly, so a system colour matches nothing), made the window's region.
void SetWindowRegionFromBitmap(HWND window, TBitmap* bitmap, TColor transparentColor);
// The same region, for callers that want it themselves (the caller frees it).
HRGN CreateRegionFromBitmap(TBitmap* bitmap, TColor transparentColor);

bool CoordInRectInclusive(int x, int y, const RECT& r);  // the right and bottom edges count as inside
bool PointInRectInclusive(POINT p, const RECT& r);
// The work area of the monitor nearest the main form, or of the primary screen without one.
void GetWorkArea(RECT& area);
// Left, Top, Width and Height in this order.
void SetControlBounds(TControl* control, const RECT& r);
std::string PCharToString(const char* text);
// A bitmap of three equal horizontal parts across `rect`: left part at the left, right part ending at
// the right edge, middle part stretched between them; the side parts are masked by the top-left
// (keyAtTop) or bottom-left pixel when `useKey`, else by $FF00FF.
void StretchDrawThreePart(TBitmap* bitmap, TCanvas* canvas, const RECT& rect, bool keyAtTop, bool useKey);
void RotateBitmap180(TBitmap* bitmap);
bool HasPublishedProperty(TObject* component, const std::string& name);
// `target` becomes frame k (from 1) of `source` cut into n frames of equal width.
void ExtractFrame(TBitmap* source, TBitmap* target, int n, int k);
// Whether a skinned form is drawn as active.
bool IsFormActive(TCustomForm* form);
