// The frame's drawing: its border, the theme file's border pictures, the window region and the bounds
// of its own maximized state. The window procedure (SkForm.cpp) calls on these.
#include "SkForm.h"

#include <algorithm>

#include "SkThemeMgr.h"
#include "SkUtils.h"

void TskForm::PaintFrame() {
  HWND h = FForm->Handle();
  RECT wr, cr = ClientRectInWindow(h);
  GetWindowRect(h, &wr);
  OffsetRect(&wr, -wr.left, -wr.top);
  HDC dc = GetWindowDC(h);
  ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
  // The frame's outer BorderWidth pixels in BorderColor, the rest in the frame's own colour.
  FillSolidRect(dc, wr, GetColor());
  HBRUSH border = CreateSolidBrush(ColorToRGB(FBorderColor));
  RECT r = wr;
  for (int i = 0; i < FFrameWidth; ++i) {
    FrameRect(dc, &r, border);
    InflateRect(&r, -1, -1);
  }
  DeleteObject(border);
  // The border pictures hug the client area: the sides from its top down to the bottom picture's lower
  // edge, the bottom picture between them; each stretched along its side.
  int side = SideBorderWidth(), bottom = BottomBorderHeight();
  TCanvas canvas;
  canvas.SetHandle(dc);
  if (side > 0) {
    canvas.StretchDraw(RECT{cr.left - side, cr.top, cr.left, cr.bottom + bottom}, FLeftBorder.get());
    canvas.StretchDraw(RECT{cr.right, cr.top, cr.right + side, cr.bottom + bottom}, FRightBorder.get());
  }
  if (bottom > 0) canvas.StretchDraw(RECT{cr.left, cr.bottom, cr.right, cr.bottom + bottom}, FBottomBorder.get());
  canvas.SetHandle(nullptr);
  ReleaseDC(h, dc);
}

void TskForm::LoadBorderPictures() {
  FLeftBorder.reset();
  FRightBorder.reset();
  FBottomBorder.reset();
  TskUIStyle s;
  if (!UseFileTheme(FFileTheme, FUIStyle, s)) return;  // the built-in styles have none
  auto load = [this](int entry) {
    std::unique_ptr<TBitmap> b(new TBitmap);
    FFileTheme->GetBitmap(entry, b.get());
    if (b->Empty()) b.reset();
    return b;
  };
  FLeftBorder = load(eFormLeftBorder);
  FBottomBorder = load(eFormBottomBorder);
  if (FLeftBorder) {
    FRightBorder.reset(new TBitmap);
    FRightBorder->Assign(FLeftBorder.get());
    RotateBitmap180(FRightBorder.get());
  }
}

void TskForm::SetMaximized(bool v) {
  if (!FForm || !FForm->HandleAllocated() || v == FMaximized) return;
  if (v) {
    GetWindowRect(FForm->Handle(), &FNormalBounds);
    FMaximized = true;
    RECT area;
    GetWorkArea(area);
    SetWindowPos(FForm->Handle(), nullptr, area.left - 4, area.top - 4, area.right - area.left + 8,
                 area.bottom - area.top + 3, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FMaximized = false;
    const RECT& r = FNormalBounds;
    SetWindowPos(FForm->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FTitleBar->Invalidate();
}

void TskForm::UpdateRegion() {
  if (!FForm || !FForm->HandleAllocated()) return;
  RECT wr;
  GetWindowRect(FForm->Handle(), &wr);
  int w = wr.right - wr.left, hgt = wr.bottom - wr.top;
  if (FRoundCorner <= 0 && FRoundCornerBottom <= 0) {
    SetWindowRgn(FForm->Handle(), nullptr, TRUE);
    return;
  }
  HRGN upper = CreateRoundRectRgn(0, 0, w + 1, hgt / 2 + FRoundCorner + 1, FRoundCorner, FRoundCorner);
  HRGN lower = CreateRoundRectRgn(0, hgt / 2 - FRoundCornerBottom, w + 1, hgt + 1, FRoundCornerBottom, FRoundCornerBottom);
  // The halves overlap by a corner's height so that no seam is cut between them.
  HRGN upperHalf = CreateRectRgn(0, 0, w, hgt / 2);
  HRGN lowerHalf = CreateRectRgn(0, hgt / 2, w, hgt);
  CombineRgn(upper, upper, upperHalf, RGN_AND);
  CombineRgn(lower, lower, lowerHalf, RGN_AND);
  CombineRgn(upper, upper, lower, RGN_OR);
  DeleteObject(lower);
  DeleteObject(upperHalf);
  DeleteObject(lowerHalf);
  SetWindowRgn(FForm->Handle(), upper, TRUE);  // the window owns the region now
}
