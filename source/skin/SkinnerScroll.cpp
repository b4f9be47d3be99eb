#include "SkinnerScroll.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "SkinImageUtils.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "SkinnerHeader.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TWScrollbar, TCustomControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinScrollbar, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinListView, TSkinScrollbar, nullptr, {})
ORV_DEFINE_CLASS(TSkinScrollbarH, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TComboxScrollBar, TSkinControl, nullptr, {})

namespace {

// Frames of the skin's 23-frame arrow strip.
constexpr int StripFrames = 23;
constexpr int LeftArrowFrame = 1, UpArrowFrame = 9, ArrowPairOffset = 4;  // right = left + 4, down = up + 4
constexpr int HorzGripFrame = 17, VertGripFrame = 20;

bool ReadScrollBar(HWND window, bool vertical, SCROLLBARINFO& info) {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  return window && SafeGetScrollBarInfo(window, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
}

bool Invisible(const SCROLLBARINFO& info) { return info.rgstate[0] & STATE_SYSTEM_INVISIBLE; }
bool Unavailable(const SCROLLBARINFO& info) { return info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE; }

// A rectangle along the bar's axis (from `from` to `to`) across `thickness`.
RECT AlongAxis(bool vertical, int from, int to, int thickness) {
  return vertical ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
}

bool Empty(TDataSkinObject* e) { return !e || e->Bitmap->Empty(); }

void FreeOverlays(TWScrollbar*& horz, TWScrollbar*& vert) {
  delete horz;
  delete vert;
  horz = vert = nullptr;
}

// A scroll message names the part it moves in its low word (a thumb position may sit in the high word).
void MarkScrolledPart(TWScrollbar* horz, TWScrollbar* vert, const TMessage& m) {
  if (TWScrollbar* bar = m.Msg == WM_HSCROLL ? horz : vert) {
    bar->HotPart = LOWORD(m.WParam);
    bar->RepaintNow();
  }
}

// The square between two shown bars takes the face colour; `shift` moves it from client into window
// coordinates.
void FillCorner(HDC dc, TWScrollbar* horz, TWScrollbar* vert, int shift, TColor face) {
  if (!horz || !vert || !horz->Shown || !vert->Shown) return;
  FillRectColor(dc, RECT{vert->BarRect.left + shift, horz->BarRect.top + shift, vert->BarRect.right + 2,
                         horz->BarRect.bottom + 2}, face);
}

}  // namespace

// ---- painting one bar ----

bool SkinHasScrollBar(TSkinData* data, bool vertical) {
  if (!data || Empty(data->Scrollbar)) return false;
  return vertical ? data->VertScroll && data->VertScrollThumb : data->HorzScroll && data->HorzScrollThumb;
}

int ScrollBarPartAt(int a, int arrowSize, int thumbStart, int thumbEnd, int barLength) {
  if (a < arrowSize) return sbFirstArrow;
  if (a < thumbStart) return sbTrackBefore;
  if (a < thumbEnd) return sbThumb;
  if (a < barLength - arrowSize) return sbTrackAfter;
  return sbSecondArrow;
}

void PaintSkinScrollBar(TSkinData* data, HDC dc, POINT at, SIZE size, const TScrollBarLook& look) {
  if (!SkinHasScrollBar(data, look.Vertical) || size.cx <= 0 || size.cy <= 0) return;
  const bool v = look.Vertical;
  TDataSkinObject* track = v ? data->VertScroll : data->HorzScroll;
  TDataSkinObject* thumb = v ? data->VertScrollThumb : data->HorzScrollThumb;
  TBitmap* strip = data->Scrollbar->Bitmap;
  const int length = v ? size.cy : size.cx;
  // A strip that is about the system's thickness keeps its own; anything else is drawn at the system's.
  int thickness = strip->GetHeight();
  if (std::abs(thickness - look.ArrowSize) > 2) thickness = look.ArrowSize;

  TBitmap bitmap;
  bitmap.SetSize(size.cx, size.cy, pf24bit);
  HDC b = bitmap.Canvas()->GetHandle();
  if (!b) return;
  const int oldMode = SetStretchBltMode(b, COLORONCOLOR);
  FillRectColor(b, RECT{0, 0, size.cx, size.cy}, data->ButtonFace);

  if (length > 2 * look.ArrowSize)
    DrawSkinImage(b, AlongAxis(v, look.ArrowSize, length - look.ArrowSize, thickness), track->Bitmap, false,
                  track->Tile, track->Trans == 1, 4, look.Enabled ? 1 : 3, track->Margins);

  const int room = look.ArrowRoom > 0 ? look.ArrowRoom : length;
  const int arrow = room < 2 * look.ArrowSize ? room / 2 : look.ArrowSize;
  const int first = v ? UpArrowFrame : LeftArrowFrame;
  auto arrowFrame = [&](int frame, int part) {
    if (look.HotPart != part) return frame;
    return frame + (look.Pressed ? 1 : 3);
  };
  DrawImageFrame(nullptr, b, AlongAxis(v, 0, arrow, thickness), StripFrames, arrowFrame(first, sbFirstArrow), strip);
  DrawImageFrame(nullptr, b, AlongAxis(v, length - arrow, length, thickness), StripFrames,
                 arrowFrame(first + ArrowPairOffset, sbSecondArrow), strip);

  if (look.Enabled) {
    const bool thumbHot = look.HotPart == sbThumb;
    const int start = look.ThumbStart, end = look.ThumbEnd;
    const int thumbFrame = thumbHot ? (look.Pressed ? 2 : 3) : 1;
    if (start < look.Limit && end < look.Limit && end > start)
      DrawSkinImage(b, AlongAxis(v, start, end, thickness), thumb->Bitmap, false, 0, thumb->Trans == 1,
                    thumb->FrameCount, thumbFrame, thumb->Margins);
    const int g = strip->GetHeight(), thumbLength = end - start;
    if (g < thumbLength + 2) {
      const int offset = (thumbLength - g) / 2;
      const int grip = (v ? VertGripFrame : HorzGripFrame) + (thumbHot ? (look.Pressed ? 1 : 2) : 0);
      if (start + offset < look.Limit && start + offset + g < look.Limit)
        DrawImageFrame(nullptr, b, AlongAxis(v, start + offset, start + offset + g, thickness), StripFrames, grip,
                       strip);
    }
  }
  SetStretchBltMode(b, oldMode);
  BitBlt(dc, at.x, at.y, size.cx, size.cy, b, 0, 0, SRCCOPY);
}

// ---- the overlay ----

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomControl(owner), ArrowSize(GetSystemMetrics(SM_CXHSCROLL)) {
  // The press goes to the target's own scroll loop, which takes the capture itself.
  SetControlStyle(ControlStyle() & ~(csCaptureMouse | csClickEvents | csDoubleClicks));
  FTabStop = false;
  FVisible = false;
}

void TWScrollbar::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.ExStyle = WS_EX_TOOLWINDOW;
}

void TWScrollbar::AttachOverlay(TSkinControl* skinner, TWinControl* control, int kind) {
  TargetControl = control;
  if (skinner) SetColor(skinner->GetParentColor(skinner->SkinData->ButtonFace));
  AttachOverlayToWindow(skinner, control->Handle(), kind);
}

void TWScrollbar::AttachOverlayToWindow(TSkinControl* skinner, HWND target, int kind) {
  Skinner = skinner;
  Target = target;
  Kind = kind;
  SetParentWindow(::GetParent(target));
  Reposition(target);
}

bool TWScrollbar::ReadBar(SCROLLBARINFO& info) const { return ReadScrollBar(Target, Vertical(), info); }

void TWScrollbar::Reposition(HWND target) {
  Target = target;
  SCROLLBARINFO info;
  Shown = ReadBar(info);
  if (!Shown) return;
  if (!(GetWindowLongA(target, GWL_STYLE) & WS_VISIBLE) || Invisible(info)) {
    HideOverlay();
    return;
  }
  const RECT& s = info.rcScrollBar;
  POINT tl{s.left, s.top}, br{s.right, s.bottom};
  ::ScreenToClient(target, &tl);
  ::ScreenToClient(target, &br);
  BarRect = RECT{tl.x, tl.y, br.x, br.y};
  BarLength = Vertical() ? s.bottom - s.top : s.right - s.left;
  BarScreenOrigin = POINT{s.left, s.top};
  POINT at{s.left, s.top};
  const HWND parent = ::GetParent(target);
  ::ScreenToClient(parent, &at);
  if (GetParentWindow() != parent) SetParentWindow(parent);
  const HWND self = Handle();
  FVisible = true;
  Shown = true;
  // Just above the target, so the target's own drawing of the bar stays under the overlay.
  const HWND above = GetWindow(target, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (above == self) flags |= SWP_NOZORDER;
  SetWindowPos(self, above ? above : HWND_TOP, at.x, at.y, s.right - s.left, s.bottom - s.top, flags);
  MoveWindow(self, at.x, at.y, s.right - s.left, s.bottom - s.top, TRUE);
  UpdateBoundsFromWindow();
}

void TWScrollbar::HideOverlay() {
  if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
  Shown = false;
  FVisible = false;
}

void TWScrollbar::RepaintNow() {
  if (!HandleAllocated()) return;
  InvalidateRect(FHandle, nullptr, FALSE);
  UpdateWindow(FHandle);
}

int TWScrollbar::HitTest(POINT p) const {
  return ScrollBarPartAt(Vertical() ? p.y : p.x, ArrowSize, ThumbStart, ThumbEnd, BarLength);
}

void TWScrollbar::Paint() {
  TSkinData* data = Skinner ? Skinner->SkinData : nullptr;
  SCROLLBARINFO info;
  if (!SkinHasScrollBar(data, Vertical()) || !ReadBar(info) || Invisible(info)) return;
  const RECT& s = info.rcScrollBar;
  const int w = s.right - s.left, h = s.bottom - s.top;
  if (w < 0 || h < 0 || w > GetWidth() || h > GetHeight()) return;
  BarLength = Vertical() ? h : w;
  TScrollBarLook look;
  look.Vertical = Vertical();
  look.ArrowSize = ArrowSize;
  look.Enabled = !Unavailable(info);
  look.HotPart = HotPart;
  look.Pressed = Pressed;
  look.Limit = Vertical() ? GetHeight() : GetWidth();
  int start = info.xyThumbTop, end = info.xyThumbBottom;
  if (Pressed && HotPart == sbThumb) {
    // The thumb follows the mouse while the system's loop drags it.
    const int length = end - start;
    POINT c;
    GetCursorPos(&c);
    start = DownThumbStart + (Vertical() ? c.y - DownCursor.y : c.x - DownCursor.x);
    start = std::max(ArrowSize, std::min(start, BarLength - ArrowSize - length));
    end = start + length;
  }
  ThumbStart = look.ThumbStart = start;
  ThumbEnd = look.ThumbEnd = end;
  PaintSkinScrollBar(data, Canvas()->GetHandle(), POINT{0, 0}, SIZE{w, h}, look);
}

void TWScrollbar::PressBar(TMessage& m) {
  TCustomControl::WndProc(m);
  GetCursorPos(&DownCursor);
  SCROLLBARINFO info;
  const bool read = ReadBar(info);
  if (read) DownThumbStart = info.xyThumbTop;
  const POINT p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
  HotPart = HitTest(p);
  if (read) BarScreenOrigin = POINT{info.rcScrollBar.left, info.rcScrollBar.top};
  const POINT screen{p.x + BarScreenOrigin.x, p.y + BarScreenOrigin.y};
  Pressed = true;
  RepaintNow();
  ReleaseCapture();
  // The target's own scroll loop runs inside this call until the button is released.
  SendMessageA(Target, WM_NCLBUTTONDOWN, Vertical() ? HTVSCROLL : HTHSCROLL, MAKELPARAM(screen.x, screen.y));
  Pressed = false;
  if (GetCapture() == FHandle) ReleaseCapture();
  POINT c;
  GetCursorPos(&c);
  ::ScreenToClient(FHandle, &c);
  RECT own;
  ::GetClientRect(FHandle, &own);
  HotPart = PtInRect(&own, c) ? HitTest(c) : sbNone;
  if (IsWindow(Target)) Reposition(Target);
  RepaintNow();
}

void TWScrollbar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_MOUSEMOVE: {
      TCustomControl::WndProc(m);
      const int part = HitTest(POINT{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))});
      if (part != HotPart) {
        HotPart = part;
        RepaintNow();
      }
      SafeTrackMouseEvent(FHandle);
      return;
    }
    case WM_MOUSELEAVE:
      TCustomControl::WndProc(m);
      if (!Pressed) {
        HotPart = sbNone;
        RepaintNow();
      }
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      PressBar(m);
      return;
    case WM_LBUTTONUP: {
      TCustomControl::WndProc(m);
      const POINT screen{short(LOWORD(m.LParam)) + BarScreenOrigin.x, short(HIWORD(m.LParam)) + BarScreenOrigin.y};
      Pressed = false;
      ReleaseCapture();
      PostMessageA(Target, WM_NCLBUTTONUP, Vertical() ? HTVSCROLL : HTHSCROLL, MAKELPARAM(screen.x, screen.y));
      return;
    }
  }
  TCustomControl::WndProc(m);
}

// ---- a control of ours with window scroll bars ----

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() { FreeOverlays(HorzBar, VertBar); }

void TSkinScrollbar::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  (void)setColour;
  if (auto* w = As<TWinControl>(Owner())) AttachScrollbars(w, data, form, canvas);
}

void TSkinScrollbar::AttachScrollbars(TWinControl* control, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) {
  if (Attached || !control) return;
  // The dispatch marks a skinner of a bar without a border (mode 1) before attaching it.
  const bool borderless = Mode == 1;
  TSkinControl::AttachControl(form, data, false, canvas);
  if (!Attached) return;
  DrawBorder = LowerText(GetEnumPropText(control, "BorderStyle")) != "bsnone" && !borderless &&
               UpperCase(control->ClassName()) != "TIMAGESCROLLBOX";
  if (FindPropInfo(control, "FixedColor") && GetOrdPropByName(control, "FixedColor") != -1) {
    SavedFixedColor = TColor(GetOrdPropByName(control, "FixedColor"));
    RestoreFixedColor = true;
    SetPropByText(control, "FixedColor", std::to_string(int(SkinData->ButtonFace)));
  }
  HorzBar = new TWScrollbar(this);
  VertBar = new TWScrollbar(this);
  HorzBar->AttachOverlay(this, control, SB_HORZ);
  VertBar->AttachOverlay(this, control, SB_VERT);
  HorzBar->SetEnabled(control->GetEnabled());
  VertBar->SetEnabled(control->GetEnabled());
  if (!control->GetVisible()) {
    HorzBar->HideOverlay();
    VertBar->HideOverlay();
  }
  if (WindowHandle)
    SetWindowPos(WindowHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::Detach() {
  if (RestoreFixedColor && Control) {
    SetPropByText(Control, "FixedColor", std::to_string(int(SavedFixedColor)));
    RestoreFixedColor = false;
  }
  TSkinControl::Detach();
  if (SkinnerState != ssWindowDestroyed) {
    FreeOverlays(HorzBar, VertBar);
    // The system draws its own bars and border again.
    if (WindowHandle && IsWindow(WindowHandle))
      RedrawWindow(WindowHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
  }
}

void TSkinScrollbar::PaintBorder(HDC dc) {
  RECT r;
  if (!GetWindowRect(WindowHandle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  HBRUSH shadow = CreateSolidBrush(ColorToRGB(SkinData->ButtonShadow));
  HBRUSH face = CreateSolidBrush(ColorToRGB(SkinData->ButtonFace));
  FrameRect(dc, &r, shadow);
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, face);
  DeleteObject(shadow);
  DeleteObject(face);
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NCPAINT && DrawBorder) {
    CallDefault(m);
    HDC dc = GetWindowDC(WindowHandle);
    PaintBorder(dc);
    ReleaseDC(WindowHandle, dc);
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::RepositionBars() {
  for (TWScrollbar* bar : {HorzBar, VertBar})
    if (bar) bar->Reposition(WindowHandle);
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      RepositionBars();
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      MarkScrolledPart(HorzBar, VertBar, m);
      return;
    case WM_MOUSEWHEEL:
      for (TWScrollbar* bar : {HorzBar, VertBar})
        if (bar && bar->Shown) bar->RepaintNow();
      return;
    case CM_VISIBLECHANGED:
      if (m.WParam)
        RepositionBars();
      else
        for (TWScrollbar* bar : {HorzBar, VertBar})
          if (bar) bar->HideOverlay();
      return;
    case CM_ENABLEDCHANGED:
      for (TWScrollbar* bar : {HorzBar, VertBar})
        if (bar && Control) bar->SetEnabled(Control->GetEnabled());
      return;
    case CM_RECREATEWND:
      // The old window is gone: the form makes a new skinner for the new one.
      if (Form && Form->WindowHandle) PostMessageA(Form->WindowHandle, SM_RECREATESCROLL, WPARAM(WindowHandle), 0);
      return;
    case SM_PAINTFRAMETO:
      if (m.LParam == SkinNoticeParam) {
        if (m.WParam) PaintBorder(HDC(m.WParam));
        m.Result = SkinNoticeParam;
      }
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT& r) {
  (void)r;
  const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);
  struct TBar {
    TWScrollbar* Bar;
    LONG Style;
  };
  for (const TBar& b : {TBar{VertBar, WS_VSCROLL}, TBar{HorzBar, WS_HSCROLL}}) {
    if (!b.Bar) continue;
    if (b.Bar->Shown)
      b.Bar->RepaintNow();
    else if (style & b.Style)
      b.Bar->Reposition(WindowHandle);
  }
  // The control's border is two pixels wide.
  FillCorner(dc, HorzBar, VertBar, 2, SkinData->ButtonFace);
}

void TSkinScrollbar::SkinChanged() {
  if (RestoreFixedColor && Control) SetPropByText(Control, "FixedColor", std::to_string(int(SkinData->ButtonFace)));
  TSkinControl::SkinChanged();
}

// ---- list views ----

void TSkinListView::AttachScrollbars(TWinControl* control, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) {
  TSkinScrollbar::AttachScrollbars(control, data, form, canvas);
  if (!Attached) return;
  const HWND header = HWND(SendMessageA(WindowHandle, LVM_GETHEADER, 0, 0));
  if (header && Form && !Form->FindControlByWindow(header)) {
    Header = new TSkinHeader(Owner());
    Header->FreeNotification(this);
    Header->AttachWindow(header, SkinData, Form, canvas);
  }
}

void TSkinListView::Notification(TComponent* component, TOperation op) {
  TSkinScrollbar::Notification(component, op);
  if (op == opRemove && component == Header) Header = nullptr;
}

// ---- a raw window's two bars ----

TSkinScrollbarH::~TSkinScrollbarH() { FreeOverlays(HorzBar, VertBar); }

void TSkinScrollbarH::AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) {
  if (Attached) return;
  HorzBar = new TWScrollbar(this);
  VertBar = new TWScrollbar(this);
  SkinData = data;  // the overlays read the skin through their skinner
  HorzBar->AttachOverlayToWindow(this, window, SB_HORZ);
  VertBar->AttachOverlayToWindow(this, window, SB_VERT);
  TSkinControl::AttachWindow(window, data, form, canvas);
}

void TSkinScrollbarH::Detach() {
  TSkinControl::Detach();
  if (SkinnerState != ssWindowDestroyed) FreeOverlays(HorzBar, VertBar);
}

void TSkinScrollbarH::AfterMessage(TMessage& m) {
  if (VertBar && !IsWindowVisible(WindowHandle)) VertBar->HideOverlay();
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
      for (TWScrollbar* bar : {HorzBar, VertBar})
        if (bar) bar->Reposition(WindowHandle);
      InvalidateRect(WindowHandle, nullptr, TRUE);
      UpdateWindow(WindowHandle);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      MarkScrolledPart(HorzBar, VertBar, m);
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinScrollbarH::DrawControl(HDC dc, const RECT& r) {
  (void)r;
  for (TWScrollbar* bar : {VertBar, HorzBar})
    if (bar && bar->Shown) bar->RepaintNow();
  FillCorner(dc, HorzBar, VertBar, 0, SkinData->ButtonFace);
}

// ---- a drop-down list's bar ----

TComboxScrollBar::TComboxScrollBar(TComponent* owner) : TSkinControl(owner), ArrowSize(GetSystemMetrics(SM_CXHSCROLL)) {}

bool TComboxScrollBar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      return true;
    case WM_NCMOUSEMOVE:
      // The system would draw a hot bar over the painted one.
      return m.WParam != HTHSCROLL && m.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
      if (m.WParam == HTVSCROLL && DragThumb(POINT{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))})) {
        m.Result = 0;
        return false;
      }
      return true;
  }
  return TSkinControl::BeforeMessage(m);
}

void TComboxScrollBar::AfterMessage(TMessage& m) {
  constexpr UINT ListStartTrack = 0x1AE;  // the drop-down list's own start of tracking
  switch (m.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case ListStartTrack:
      PaintWindow(nullptr);
      return;
  }
  TSkinControl::AfterMessage(m);
}

void TComboxScrollBar::DrawControl(HDC dc, const RECT& r) {
  SCROLLBARINFO info;
  if (!SkinHasScrollBar(SkinData, true) || !ReadScrollBar(WindowHandle, true, info) || Invisible(info)) return;
  const RECT& s = info.rcScrollBar;
  const int w = s.right - s.left, h = s.bottom - s.top;
  if (w <= 0 || h <= 0) return;
  const int listHeight = r.bottom - r.top;
  TScrollBarLook look;
  look.Vertical = true;
  look.ArrowSize = ArrowSize;
  look.ArrowRoom = listHeight;
  look.Enabled = !Unavailable(info);
  look.ThumbStart = info.xyThumbTop;
  look.ThumbEnd = info.xyThumbBottom;
  look.Limit = listHeight;
  PaintSkinScrollBar(SkinData, dc, POINT{s.left - WindowRect.left, s.top - WindowRect.top}, SIZE{w, h}, look);
}

bool TComboxScrollBar::DragThumb(POINT screen) {
  SCROLLBARINFO bar;
  if (!ReadScrollBar(WindowHandle, true, bar)) return false;
  const int a = screen.y - bar.rcScrollBar.top;
  if (a < bar.xyThumbTop || a > bar.xyThumbBottom) return false;
  const HWND list = WindowHandle;
  const HWND oldCapture = GetCapture();
  SetCapture(list);
  POINT down;
  GetCursorPos(&down);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(list, SB_VERT, &si);
  const int offset0 = bar.xyThumbTop - ArrowSize;
  const int track = (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 2 * ArrowSize;
  const int thumb = bar.xyThumbBottom - bar.xyThumbTop;
  const int room = std::max(track - thumb, 1);
  int last = si.nPos;
  for (;;) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Nothing waiting: sleep until something comes, unless the capture went elsewhere meanwhile
      // (then no button-up will ever reach this loop).
      if (GetCapture() != list || !IsWindow(list)) break;
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_NCMOUSEMOVE || msg.message == WM_MOUSEMOVE) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      POINT c;
      GetCursorPos(&c);
      const int p = std::max(offset0 + int(c.y - down.y), 0);
      int pos;
      if (si.nPage > 0) {
        const int q = p > track - thumb ? track - thumb + 1 : p;
        pos = MulDiv(q, si.nMax - si.nMin - int(si.nPage), room) + si.nMin;
        if (pos >= si.nMax - int(si.nPage)) pos = si.nMax - int(si.nPage) + 1;
      } else {
        pos = std::min(MulDiv(std::min(p, track - thumb), si.nMax - si.nMin, std::max(track, 1)) + si.nMin, si.nMax);
      }
      pos = std::max(pos, si.nMin);
      if (pos != last) SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
      last = pos;
      continue;
    }
    if (msg.message == WM_NCLBUTTONUP || msg.message == WM_LBUTTONUP) {
      SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
      PostMessageA(list, WM_VSCROLL, SB_ENDSCROLL, 0);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (IsWindow(list) && GetCapture() == list) {
    ReleaseCapture();
    // The list of an open drop-down keeps the mouse while it is open.
    if (oldCapture == list) SetCapture(list);
  }
  return true;
}
