#include "SkinnerTrackBar.h"

#include <memory>

#include "SkinImageUtils.h"
#include "SkinnerData.h"

ORV_DEFINE_CLASS(TSkinTrackBar, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinProgress, TSkinControl, nullptr, {})

namespace {

bool HasImage(const TDataSkinObject* e) { return e && !e->Bitmap->Empty(); }

// What the skinner answers to each stage of the track bar's custom drawing: it asks for the parts,
// leaves the tick marks to the control and draws the thumb and the channel itself.
// Any other stage or part is left to the control.
constexpr DWORD_PTR AnyItem = ~DWORD_PTR(0);
struct TCustomDrawRow {
  DWORD Stage;
  DWORD_PTR Item;  // the part, for the item stage
  LRESULT Answer;
  void (TSkinTrackBar::*Draw)(HDC dc);
};
const TCustomDrawRow CustomDrawRows[] = {
    {CDDS_PREPAINT, AnyItem, CDRF_NOTIFYITEMDRAW, nullptr},
    {CDDS_ITEMPREPAINT, TBCD_TICS, CDRF_DODEFAULT, nullptr},
    {CDDS_ITEMPREPAINT, TBCD_THUMB, CDRF_SKIPDEFAULT, &TSkinTrackBar::DrawThumb},
    {CDDS_ITEMPREPAINT, TBCD_CHANNEL, CDRF_SKIPDEFAULT, &TSkinTrackBar::DrawChannel},
};

}  // namespace

// ---- track bar ----

void TSkinTrackBar::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  TSkinControl::AttachControl(form, data, true, canvas);
  (void)setColour;
}

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NOTIFY || m.Msg == CN_NOTIFY) {
    const NMHDR* h = NotifyHeader(m);
    // Only the bar's own drawing: a tool tip of the bar notifies it of its drawing too.
    if (!h || h->code != UINT(NM_CUSTOMDRAW) || h->hwndFrom != WindowHandle) return true;
    m.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam));
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& cd) {
  for (const TCustomDrawRow& row : CustomDrawRows)
    if (cd.dwDrawStage == row.Stage && (row.Item == AnyItem || cd.dwItemSpec == row.Item)) {
      if (row.Draw) {
        try {
          (this->*row.Draw)(cd.hdc);
        } catch (...) {
          // A part that cannot be drawn stays empty; the control goes on.
        }
      }
      return row.Answer;
    }
  return CDRF_DODEFAULT;
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!IsWindow(WindowHandle)) return;
  RECT t{};
  SendMessageA(WindowHandle, TBM_GETTHUMBRECT, 0, LPARAM(&t));
  const bool vertical = GetWindowLongA(WindowHandle, GWL_STYLE) & TBS_VERT;
  TDataSkinObject* e = vertical && SkinData->TrackThumbVert ? SkinData->TrackThumbVert : SkinData->TrackThumbHorz;
  if (HasImage(e)) {
    DrawImageFrame(this, dc, t, 5, 2, e->Bitmap);
    return;
  }
  TBorrowedCanvas c(dc);
  c.Canvas.Pen()->SetColor(SkinData->ButtonShadow);
  c.Canvas.Rectangle(t);
}

void TSkinTrackBar::DrawChannel(HDC dc) {
  RECT c{};
  SendMessageA(WindowHandle, TBM_GETCHANNELRECT, 0, LPARAM(&c));
  DrawTrackChannel(SkinData, dc, c, GetWindowLongA(WindowHandle, GWL_STYLE) & TBS_VERT);
}

void DrawTrackChannel(TSkinData* data, HDC dc, const RECT& reported, bool vertical) {
  if (vertical && HasImage(data->TrackVert)) {
    const TDataSkinObject* e = data->TrackVert;
    const RECT c{reported.top, reported.left, reported.bottom, reported.right};
    const int w = e->Bitmap->GetWidth(), h = e->Bitmap->GetHeight();
    const int t = e->Margins.Top, b = e->Margins.Bottom;
    const int cw = c.right - c.left, ch = c.bottom - c.top;
    const int x = w < cw ? (cw - w) / 2 : 0;
    HDC src = e->Bitmap->Canvas()->GetHandle();
    StretchBlt(dc, c.left + x, c.top, w, t, src, 0, 0, w, t, SRCCOPY);
    StretchBlt(dc, c.left + x, c.top + t, w, ch - t - b, src, 0, t, w, h - t - b, SRCCOPY);
    StretchBlt(dc, c.left + x, c.bottom - b, w, b, src, 0, h - b, w, b, SRCCOPY);
  } else if (HasImage(data->Track)) {
    const TDataSkinObject* e = data->Track;
    const RECT& c = reported;
    const int w = e->Bitmap->GetWidth(), h = e->Bitmap->GetHeight();
    const int l = e->Margins.Left, r = e->Margins.Right;
    const int cw = c.right - c.left, ch = c.bottom - c.top;
    const int y = h < ch ? (ch - h) / 2 : 0;
    HDC src = e->Bitmap->Canvas()->GetHandle();
    StretchBlt(dc, c.left, c.top + y, l, h, src, 0, 0, l, h, SRCCOPY);
    StretchBlt(dc, c.left + l, c.top + y, cw - l - r, h, src, l, 0, w - l - r, h, SRCCOPY);
    StretchBlt(dc, c.right - r, c.top + y, r, h, src, w - r, 0, r, h, SRCCOPY);
  }
}

// ---- progress bar ----

bool TSkinProgress::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!HasImage(SkinData->Progress)) break;
      return HandleSkinPaint(this, m);
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinProgress::DrawControl(HDC dc, const RECT& r) {
  const int position = int(SendMessageA(WindowHandle, PBM_GETPOS, 0, 0));
  const int high = int(SendMessageA(WindowHandle, PBM_GETRANGE, 0, 0));
  DrawProgressBar(SkinData, dc, r, position, high, GetWindowLongA(WindowHandle, GWL_STYLE) & PBS_VERTICAL);
}

namespace {

// The chunks of the filled part, f pixels long, drawn over the work bitmap.
void DrawChunks(HDC work, const TDataSkinObject* chunk, const RECT& w, int top, int f) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  HDC s;
  const int cw = chunk->Bitmap->GetWidth(), ch = chunk->Bitmap->GetHeight();
  if (chunk->Tile == 1) {
    // Copies of the chunk side by side, the last one cut at the strip's end.
    strip.SetSize(f, ch);
    s = strip.Canvas()->GetHandle();
    for (int x = 0; x <= f && cw > 0; x += cw)
      BitBlt(s, x, 0, cw, ch, chunk->Bitmap->Canvas()->GetHandle(), 0, 0, SRCCOPY);
    const int x0 = chunk->Margins.Left + 2, y0 = top + (w.bottom - ch) / 2;
    DrawTransparent(work, RECT{x0, y0, x0 + f, y0 + ch}, &strip, SkinTransparentColor);
  } else {
    // One chunk stretched between its ends over the whole height; its lowest rows stay outside.
    const int h = (w.bottom - w.top) - 4;
    if (h <= 0) return;
    strip.SetSize(f, h);
    s = strip.Canvas()->GetHandle();
    FillRectColor(s, RECT{0, 0, f, h}, SkinTransparentColor);
    DrawSkin3Slice(s, RECT{0, 0, f, w.bottom - w.top}, chunk->Bitmap, false, 1, 1, chunk->Margins);
    DrawTransparent(work, RECT{2, 2, 2 + f, 2 + h}, &strip, SkinTransparentColor);
  }
}

void DrawSkinPart(HDC work, const RECT& r, const TDataSkinObject* e, int tile, int frameCount, int frame) {
  std::unique_ptr<TBitmap> b(BuildSkinBitmap(r, e->Bitmap, e->Margins, false, tile, frameCount, frame));
  DrawTransparent(work, r, b.get(), SkinTransparentColor);
}

}  // namespace

void DrawProgressBar(TSkinData* data, HDC dc, const RECT& r, int position, int high, bool vertical) {
  const TDataSkinBorder* p = data->Progress;
  if (!HasImage(p)) return;
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  if (rw <= 0 || rh <= 0) return;
  // A vertical bar is drawn lying down and turned up at the end, so that it fills from the bottom.
  const RECT w = vertical ? RECT{0, 0, rh, rw} : RECT{0, 0, rw, rh};
  TBitmap work;
  work.SetSize(w.right, w.bottom, pf24bit);
  HDC wdc = work.Canvas()->GetHandle();
  FillRectColor(wdc, w, data->ButtonFace);
  const bool filled = position > 0 && high > 0;
  const int f = filled ? MulDiv(w.right, position, high) : 0;
  if (p->Style != 1) {
    DrawSkinPart(wdc, w, p, p->Tile, 2, 1);
    if (f > 0) DrawSkinPart(wdc, RECT{w.left, w.top, w.left + f, w.bottom}, p, p->Tile, 2, 2);
  } else {
    // The trough shows even when the skin has no chunk to fill it with.
    DrawSkinPart(wdc, w, p, 0, 1, 1);
    const TDataSkinObject* chunk = data->ProgressChunk;
    if (f > 0 && HasImage(chunk)) DrawChunks(wdc, chunk, w, r.top, f);
  }
  if (vertical) RotateBitmapLeft(&work);
  BitBlt(dc, r.left, r.top, rw, rh, work.Canvas()->GetHandle(), 0, 0, SRCCOPY);
}
