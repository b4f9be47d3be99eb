#include "SkinnerHeader.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"

ORV_DEFINE_CLASS(TSkinHeader, TSkinControl, nullptr, {})

namespace {

// Captions are read into a buffer of this many characters.
constexpr int HeaderTextBuffer = 201;

bool HasHeaderImage(TSkinData* data) { return data && data->Headerbar && !data->Headerbar->Bitmap->Empty(); }

// The caption's alignment for the caption painter: 0 left, 1 centre, 2 right.
int AlignmentOf(int format) {
  switch (format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: return 2;
    case HDF_CENTER: return 1;
  }
  return 0;
}

}  // namespace

void TSkinHeader::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  TSkinControl::AttachControl(form, data, setColour, canvas);
  HotItem = -1;
}

void TSkinHeader::AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) {
  TSkinControl::AttachWindow(window, data, form, canvas);
  HotItem = -1;
}

bool TSkinHeader::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return HandleSkinPaint(this, m);
    case WM_ERASEBKGND:
      if (!HasHeaderImage(SkinData)) break;
      m.Result = 1;
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinHeader::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const POINT p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
      for (size_t i = 0; i < ItemRects.size(); ++i)
        if (PtInRect(&ItemRects[i], p) && int(i) != HotItem) {
          HotItem = int(i);
          Repaint();
        }
      SafeTrackMouseEvent(WindowHandle);
      return;
    }
    case WM_MOUSELEAVE:
      HotItem = -1;
      Repaint();
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinHeader::DrawControl(HDC dc, const RECT& r) {
  if (!HasHeaderImage(SkinData)) return;
  TDataSkinObject* bar = SkinData->Headerbar;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TBitmap whole;
  whole.SetSize(w, h, pf24bit);
  HDC wdc = whole.Canvas()->GetHandle();
  SetBkMode(wdc, TRANSPARENT);
  HIMAGELIST images = HIMAGELIST(SendMessageA(WindowHandle, HDM_GETIMAGELIST, 0, 0));
  const int n = std::max(0, int(Header_GetItemCount(WindowHandle)));
  ItemRects.assign(size_t(n), RECT{});
  auto cell = [&](const RECT& place, int frame) {
    return std::unique_ptr<TBitmap>(BuildSkinBitmap(RECT{0, 0, place.right - place.left, place.bottom - place.top},
                                                    bar->Bitmap, bar->Margins, false, bar->Tile, bar->FrameCount,
                                                    frame));
  };
  int rightmost = 0;
  for (int i = 0; i < n; ++i) {
    RECT ir;
    if (!Header_GetItemRect(WindowHandle, i, &ir) || ir.right <= ir.left || ir.bottom <= ir.top) continue;
    wchar_t text[HeaderTextBuffer] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = HeaderTextBuffer;
    SendMessageW(WindowHandle, HDM_GETITEMW, WPARAM(i), LPARAM(&item));
    std::unique_ptr<TBitmap> b = cell(ir, i == HotItem ? 2 : 1);
    if (text[0]) {
      UseWindowFont(b->Canvas(), WindowHandle);
      const int image = item.fmt & (HDF_IMAGE | HDF_OWNERDRAW) ? item.iImage : -1;
      DrawIconCaption(this, b->Canvas(), RECT{0, 0, b->GetWidth(), b->GetHeight()}, AlignmentOf(item.fmt), text, image,
                      images);
    }
    BitBlt(wdc, ir.left, ir.top, b->GetWidth(), b->GetHeight(), b->Canvas()->GetHandle(), 0, 0, SRCCOPY);
    ItemRects[size_t(i)] = RECT{ir.left + 3, ir.top, ir.right - 3, ir.bottom};
    rightmost = std::max(rightmost, int(ir.right));
  }
  if (rightmost < w) {
    const RECT rest{rightmost, 0, w, h};
    std::unique_ptr<TBitmap> b = cell(rest, 1);
    BitBlt(wdc, rest.left, 0, b->GetWidth(), b->GetHeight(), b->Canvas()->GetHandle(), 0, 0, SRCCOPY);
  }
  BitBlt(dc, r.left, r.top, w, h, wdc, 0, 0, SRCCOPY);
}

TSkinHeader* SkinListViewHeader(TSkinControl* listViewSkinner) {
  HWND header = listViewSkinner && listViewSkinner->WindowHandle ? ListView_GetHeader(listViewSkinner->WindowHandle) : nullptr;
  if (!header) return nullptr;
  auto* s = new TSkinHeader(listViewSkinner->Owner());
  s->AttachWindow(header, listViewSkinner->SkinData, listViewSkinner->Form, listViewSkinner->Canvas);
  return s;
}
