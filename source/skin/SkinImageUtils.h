// Drawing primitives of the skin engine: colour arithmetic and cached gradients, whole-bitmap
// transformations, one state frame of a skin image drawn into a rectangle through 9-grid margins
// (stretched or tiled, with magenta as the transparent colour), window regions built from bitmaps,
// a control's parent background, and small text and platform helpers.
//
// Skin images hold their state frames side by side with equal widths (or stacked, when a routine is told
// so); frames are numbered from 1. A frame count below 1 is taken as 1 and a frame number outside
// 1..count as the nearest valid one, so a bad skin value never reads outside the image.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Controls.h"
#include "Graphics.h"

class TControl;
class TWinControl;

constexpr TColor SkinTransparentColor = 0xFF00FF;  // pure magenta

// A canvas over a DC that someone else owns, for the class library's drawing routines; the DC is left
// to its owner.
struct TBorrowedCanvas {
  TCanvas Canvas;
  explicit TBorrowedCanvas(HDC dc) { Canvas.SetHandle(dc); }
  ~TBorrowedCanvas() { Canvas.SetHandle(nullptr); }
  TBorrowedCanvas(const TBorrowedCanvas&) = delete;
  TBorrowedCanvas& operator=(const TBorrowedCanvas&) = delete;
};

// Left, top, right and bottom widths that split a frame into a 9-grid.
struct TSkinMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// ---- colours and gradients ----
// w parts of a and the rest of b: parts of 100 for w below 100, else of 1000 (150 is 15 %).
// System colours are resolved first.
TColor MixColors(TColor a, TColor b, int w);
// 0..255 saturation of a plain colour (no system-colour resolution); 200 for colours whose channels are
// all below 160.
int ColorSaturation(TColor c);
// Index of a cache slot holding `count` colours running from `from` to `to` (count must be above 0).
int GetGradient(int count, TColor from, TColor to);
int FindGradient(int count, TColor from, TColor to);
int MakeGradient(int count, TColor from, TColor to);
const std::vector<TColor>& GradientColors(int slot);
constexpr int GradientSlots = 16;
// Fills the rect line by line from `from` to `to` (top to bottom when vertical, else left to right),
// only the lines inside the DC's clip box.
void FillGradient(HDC dc, const RECT& r, TColor from, bool vertical, TColor to);

// ---- whole-bitmap transformations (the results are 24-bit) ----
void GrayBitmap(TBitmap* bitmap);
void RecolorMagenta(TBitmap* bitmap, TColor colour);  // every pure magenta pixel takes the colour
void MirrorBitmap(TBitmap* bitmap);
void FlipBitmap(TBitmap* bitmap);
void RotateBitmapLeft(TBitmap* bitmap);   // counter-clockwise
void RotateBitmapRight(TBitmap* bitmap);  // clockwise

// ---- skin images ----
// Frame n of the image composed into a new bitmap of the rect's size (the caller frees it): corners at
// their size, edges stretched along their length, the centre stretched, or tiled when tile is set.
TBitmap* BuildSkinBitmap(const RECT& dest, TBitmap* image, TSkinMargins margins, bool vertical, int tile,
                         int frameCount, int frame);
void DrawSkinImage(HDC dc, const RECT& r, TBitmap* image, bool vertical, int tile, bool transparent,
                   int frameCount, int frame, TSkinMargins margins);
// Left piece, middle piece repeated, right piece (only the left and right margins count).
void DrawSkinStrip(TCanvas* canvas, const RECT& r, TBitmap* image, bool vertical, bool transparent,
                   int frameCount, int frame, TSkinMargins margins);
// Frame n of side-by-side frames stretched into the rect.
void DrawSkinFrame(HDC dc, const RECT& r, TBitmap* image, bool transparent, int frameCount, int frame);
// Frame n of side-by-side frames at its own size, centred in the rect.
void DrawSkinGlyph(HDC dc, const RECT& r, TBitmap* image, bool transparent, int frameCount, int frame);
// Left piece, stretched middle, right piece straight into the DC.
void DrawSkin3Slice(HDC dc, const RECT& r, TBitmap* image, bool vertical, int frameCount, int frame,
                    TSkinMargins margins);
// Copies the bitmap's top-left rect-sized part to the rect, leaving pixels of `colour` untouched.
void DrawTransparent(HDC dc, const RECT& r, TBitmap* bitmap, TColor colour);

// A window region of every pixel outside the colour range colour .. colour + tolerance (per channel),
// moved by dx, dy; the caller owns it. The bitmap is converted to 32 bits.
HRGN RegionFromBitmap(TBitmap* bitmap, int dx, int dy, int blueTolerance, int greenTolerance, int redTolerance,
                      TColor colour);
// Paints the control's parent into the DC under the control.
void PaintParentBackground(TControl* control, HDC dc);

// ---- text and platform helpers ----
inline int MinInt(int a, int b) { return a < b ? a : b; }
std::wstring AnsiToWide(const std::string& text);
std::wstring WideLeft(const std::wstring& text, int n);  // n = -1: all
int DrawTextWide(HDC dc, const std::wstring& text, RECT& r, UINT flags);
// The class library's control object of a window, or null (also for a null window).
TWinControl* FindVclControl(HWND window);

// user32 functions that older systems lack, looked up by name once; null when absent.
struct TOptionalUser32 {
  BOOL(WINAPI* GetScrollBarInfo)(HWND, LONG, PSCROLLBARINFO) = nullptr;
  BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;
  BOOL(WINAPI* GetComboBoxInfo)(HWND, PCOMBOBOXINFO) = nullptr;
};
const TOptionalUser32& OptionalUser32();
bool SafeGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info);
void SafeTrackMouseEvent(HWND window);  // asks for WM_MOUSELEAVE when the system can

// ---- plain drawing ----
void FillRectColor(HDC dc, const RECT& r, TColor colour);
void FrameRectColor(HDC dc, const RECT& r, TColor colour);

// The canvas's font selected for plain transparent text, put back on leaving.
class TSkinCaptionText {
public:
  explicit TSkinCaptionText(TCanvas* canvas) : FCanvas(canvas), FDc(canvas->GetHandle()) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetStyle(0);
    FOldFont = SelectObject(FDc, canvas->Font()->Handle());
    SetBkMode(FDc, TRANSPARENT);
  }
  ~TSkinCaptionText() { SelectObject(FDc, FOldFont); }
  // The text's rectangle as DrawText measures it from r with these flags.
  RECT Measure(const std::wstring& text, const RECT& r, UINT flags) {
    RECT t = r;
    DrawTextWide(FDc, text, t, flags | DT_CALCRECT | DT_NOCLIP);
    return t;
  }
  void Draw(const std::wstring& text, RECT& r, UINT flags, bool enabled) {
    SetTextColor(FDc, ColorToRGB(enabled ? FCanvas->Font()->GetColor() : clBtnShadow));
    DrawTextWide(FDc, text, r, flags);
  }

private:
  TCanvas* FCanvas;
  HDC FDc;
  HGDIOBJ FOldFont;
};

// A one-line caption centred both ways; alignment as TAlignment.
void DrawCenteredCaption(TCanvas* canvas, const RECT& r, const std::wstring& text, TAlignment alignment,
                         bool enabled);
