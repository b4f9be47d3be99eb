// The skinned non-client area of a window skinned by TSkinnerForm: the geometry (border sizes, client
// rectangle, hit tests), the four borders and the caption strip painted from the skin's border and
// title elements, the caption buttons with their visibility rules, states and actions, and the window
// region cut from transparent border images.
#include "SkinnerFrame.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "Timer.h"

namespace {

// What a caption button does, by its element's Action.
enum TSysButtonAction {
  baClose = 0, baMaximize = 1, baMinimize = 2, baSystemMenu = 3, baHelp = 4, baMdiMinimize = 7, baMdiRestore = 8,
  baMdiClose = 9, baSystemIcon = 11, baSystemMenu2 = 12, baMaximize2 = 22, baMinimize2 = 23, baMdiMinimize2 = 60,
  baMdiRestore2 = 61, baMdiClose2 = 62
};

bool IsIconAction(int action) { return action == baSystemMenu || action == baSystemIcon; }

// The system's own caption-button codes: a skinned caption shows none of the system's buttons.
bool IsSystemButtonCode(LRESULT code) {
  return code == HTSYSMENU || code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP;
}

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

std::unique_ptr<TBitmap> NewCanvasBitmap(int w, int h) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(std::max(w, 0), std::max(h, 0), pf24bit);
  return b;
}

}  // namespace

int SysButtonHitCode(int action) {
  switch (action) {
    case baClose: return HTCLOSE;
    case baMaximize:
    case baMaximize2: return HTMAXBUTTON;
    case baMinimize:
    case baMinimize2: return HTMINBUTTON;
    case baSystemMenu:
    case baSystemIcon:
    case baSystemMenu2: return HTSYSMENU;
    case baHelp: return HTHELP;
    default: return HTCAPTION;
  }
}

// ---- the hot objects ----

void TNCObject::MouseDown() {
  if (Form->HotObject && Form->HotObject != this) Form->HotObject->MouseLeave();
  if (!Visible) return;
  Form->HotObject = this;
  State = ncPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = ncHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form->HotObject == this) return;
  if (Form->HotObject) Form->HotObject->MouseLeave();
  if (!Visible) return;
  Form->HotObject = this;
  State = ncHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Form->HotObject = nullptr;
  State = ncNormal;
  Paint();
}

void TWinSysButton::Paint() { Form->PaintSysButton(this, State); }

// ---- caption buttons ----

void TSkinnerForm::BuildSysButtons() {
  if (FSkinData->NoSkin) return;
  if (BorderKind == bkNone) {
    BorderLeft = BorderTop = BorderRight = BorderBottom = 0;
    MenuBarHeight = 0;
  } else {
    // A frame count written as 0 counts as one frame.
    auto frames = [](TDataSkinObject* e) { return std::max(1, e->FrameCount); };
    BorderTop = FSkinData->BorderTop->Bitmap->GetHeight() / frames(FSkinData->BorderTop);
    BorderLeft = FSkinData->BorderLeft->Bitmap->GetWidth() / frames(FSkinData->BorderLeft);
    BorderRight = FSkinData->BorderRight->Bitmap->GetWidth() / frames(FSkinData->BorderRight);
    BorderBottom = FSkinData->BorderBottom->Bitmap->GetHeight() / frames(FSkinData->BorderBottom);
  }
  FreeSysButtons();
  for (TDataSkinSysButton* e : FSkinData->SysButtons) {
    FSysButtons.push_back(new TWinSysButton(this, e));
    if (!IsIconAction(e->Action)) continue;
    // The icon button is as large as the window's small icon; the skin draws no picture for it.
    LoadSmallIcon();
    if (e->Bitmap->Empty()) e->Bitmap->Assign(FSmallIcon);
    if (FSkinData->AppIcon->Empty()) FSkinData->AppIcon->Assign(FSmallIcon);
    e->FrameCount = 1;
  }
}

void TSkinnerForm::FreeSysButtons() {
  HotObject = nullptr;
  for (TWinSysButton* b : FSysButtons) delete b;
  FSysButtons.clear();
}

bool TSkinnerForm::IsSysButtonVisible(int index) {
  TWinSysButton* button = FSysButtons.at(size_t(index));
  const TDataSkinSysButton* e = button->Element;
  const bool maxBox = ButtonFlags & bfMaximize, minBox = ButtonFlags & bfMinimize, help = ButtonFlags & bfHelp,
             sysMenu = ButtonFlags & bfSystemMenu, maximized = ShowState == ssMaximizedWindow;
  // One condition from Visibility (first) or Visibility1.
  auto condition = [&](int value, bool first) -> bool {
    switch (value) {
      case -1: return false;
      case 0: return true;
      case 1: return maximized;
      case 2: return !maximized;
      case 3: return Active;
      case 4: return !Active;
      case 5: return false;
      case 6:
      case 8: return first ? (minBox || maxBox) && sysMenu : minBox || maxBox;
      case 7: return !maxBox;
      case 9: return !minBox;
      case 10: return first ? help && !minBox && !maxBox : help;
      case 100: return WindowKind == wkMdiFrame && IsMdiChildMaximized() && HasMenuBar();
      case 200: return !DialogClass && BorderKind == bkDialog;
    }
    if (value >= 201 && value <= 999) return true;
    // The application decides through its own window procedure (0 when it does not answer).
    if (value >= 1000 && value <= 2000)
      return !first || SendMessageA(WindowHandle, SM_CAPTIONBUTTONVISIBLE, WPARAM(value), LPARAM(e->Action)) > 0;
    return false;
  };
  const bool a = condition(e->Visibility, true);
  const bool b = e->Visibility1 == 100 ? a : condition(e->Visibility1, false);
  bool visible = a && b;
  switch (e->Action) {
    case baClose:
      if (!sysMenu) visible = false;
      break;
    case baMaximize: button->Enabled = maxBox && sysMenu; break;
    case baMinimize: button->Enabled = minBox && sysMenu; break;
    case baSystemMenu:
    case baSystemIcon:
    case baSystemMenu2:
      if (BorderKind == bkDialog) visible = false;
      break;
  }
  button->Visible = visible;
  return visible;
}

void TSkinnerForm::LayoutSysButtons() {
  const int W = FWindowWidth;
  for (size_t i = 0; i < FSysButtons.size(); ++i) {
    TWinSysButton* b = FSysButtons[i];
    const TDataSkinSysButton* e = b->Element;
    if (!IsSysButtonVisible(int(i)) || e->Bitmap->Empty()) continue;
    const int bw = e->Bitmap->GetWidth() / std::max(1, e->FrameCount), bh = e->Bitmap->GetHeight();
    int x = 0, y = 0;
    switch (e->Align) {
      case 0: x = e->XCoord; y = e->YCoord; break;
      case 1: x = W - e->XCoord; y = e->YCoord; break;
      case 2:
      case 8: x = FCaptionTextRect.left - bw - e->XCoord; y = e->YCoord; break;
      case 3:
      case 9: x = FCaptionTextRect.right + e->XCoord; y = e->YCoord; break;
      case 100:
        x = W - e->XCoord - BorderRight - (FSkinData->MenuBar ? FSkinData->MenuBar->Margins.Left : 0);
        y = BorderTop + (MenuBarHeight - bh) / 2;
        break;
    }
    b->Rect = RECT{x, y, x + bw, y + bh};
  }
}

void TSkinnerForm::DrawSysButtons(HDC dc) {
  for (TWinSysButton* b : FSysButtons) {
    const TDataSkinSysButton* e = b->Element;
    // The MDI child's buttons stand in the menu bar, which draws them.
    if (!b->Visible || e->Bitmap->Empty() || e->Visibility == 100) continue;
    if (IsIconAction(e->Action)) {
      DrawSmallIcon(dc, b->Rect);
      continue;
    }
    const int frame = e->FrameCount < 4 || (Active && b->Enabled) ? 1 : 4;
    DrawSkinFrame(dc, b->Rect, e->Bitmap, true, e->FrameCount, frame);
  }
}

void TSkinnerForm::PaintSysButton(TWinSysButton* button, int state) {
  const TDataSkinSysButton* e = button->Element;
  if (e->Bitmap->Empty() || !IsWindow(WindowHandle)) return;
  int frame = state;
  if (!button->Enabled) frame = e->FrameCount > 3 ? 4 : 1;
  if (e->Visibility == 100 && state == ncHot) frame = 4;
  HDC dc = GetWindowDC(WindowHandle);
  if (IsIconAction(e->Action))
    DrawSmallIcon(dc, button->Rect);
  else
    DrawSkinFrame(dc, button->Rect, e->Bitmap, true, e->FrameCount, frame);
  ReleaseDC(WindowHandle, dc);
}

TWinSysButton* TSkinnerForm::FindSysButtonAt(POINT p) const {
  for (TWinSysButton* b : FSysButtons)
    if (b->Visible && b->Element->Action >= 0 && PtInRect(&b->Rect, p)) return b;
  return nullptr;
}

void TSkinnerForm::SysButtonClick(int x, int y) {
  auto* button = dynamic_cast<TWinSysButton*>(HotObject);
  if (!button) return;
  const HWND h = WindowHandle;
  switch (const int action = button->Element->Action) {
    case baClose:
      if (HasSysMenuClose()) {
        FHoverTimer->SetEnabled(false);
        PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    case baMaximize:
    case baMaximize2:
      if (button->Enabled) ToggleMaximize();
      break;
    case baMinimize:
    case baMinimize2:
      if (button->Enabled) ToggleMinimize();
      break;
    case baSystemMenu:
    case baSystemIcon:
    case baSystemMenu2: ShowSystemMenu(POINT{x + 1, y + 1}); break;
    case baHelp: PostMessageA(h, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case baMdiMinimize:
    case baMdiMinimize2: MdiChildCommand(SC_MINIMIZE); break;
    case baMdiRestore:
    case baMdiRestore2: MdiChildCommand(SC_RESTORE); break;
    case baMdiClose:
    case baMdiClose2: MdiChildCommand(SC_CLOSE); break;
    default:
      // The application gives its own caption buttons a meaning.
      PostMessageA(h, SM_CAPTIONBUTTONACTION, WPARAM(action), 0);
      break;
  }
}

void TSkinnerForm::SetSysMenuStyle(bool remove) {
  if (ButtonFlags & bfKeepSysMenuStyle) return;
  const HWND h = WindowHandle;
  const bool unicode = IsWindowUnicode(h);
  const LONG style = unicode ? GetWindowLongW(h, GWL_STYLE) : GetWindowLongA(h, GWL_STYLE);
  LONG wanted = style;
  if (remove)
    wanted &= ~LONG(WS_SYSMENU);
  else if (SystemMenu)
    wanted |= WS_SYSMENU;
  // Written only when it changes: every frame paint asks for it.
  if (wanted == style) return;
  if (unicode)
    SetWindowLongW(h, GWL_STYLE, wanted);
  else
    SetWindowLongA(h, GWL_STYLE, wanted);
}

void TSkinnerForm::LoadSmallIcon() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  FSmallIcon->SetPixelFormat(pf16bit);
  FSmallIcon->SetSize(cx, cy);
  FSmallIcon->Canvas()->Brush()->SetColor(clFuchsia);
  FSmallIcon->Canvas()->FillRect(RECT{0, 0, cx, cy});
  SmallIconSize = cx;
  const HWND h = WindowHandle;
  IconHandle = HICON(SendMessageA(h, WM_GETICON, ICON_SMALL, 0));
  if (!IconHandle) IconHandle = HICON(SendMessageA(h, WM_GETICON, ICON_BIG, 0));
  // A window without an icon of its own shows its class's, as the system's caption does.
  if (!IconHandle) IconHandle = HICON(GetClassLongPtrA(h, GCLP_HICONSM));
  if (!IconHandle) IconHandle = HICON(GetClassLongPtrA(h, GCLP_HICON));
  if (!IconHandle) return;
  HICON copy = HICON(CopyImage(IconHandle, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
  DrawIconEx(FSmallIcon->Canvas()->GetHandle(), 0, 0, copy ? copy : IconHandle, cx, cy, 0, nullptr, DI_NORMAL);
  if (copy) DestroyIcon(copy);
}

void TSkinnerForm::DrawSmallIcon(HDC dc, const RECT& r) {
  if (IconHandle) DrawIconEx(dc, r.left, r.top, IconHandle, SmallIconSize, SmallIconSize, 0, nullptr, DI_NORMAL);
}

// ---- geometry ----

POINT TSkinnerForm::ScreenToWindow(int x, int y) const {
  POINT p{x, y};
  ScreenToClient(WindowHandle, &p);
  if (!(WindowKind == wkMdiChild && ShowState == ssMinimizedWindow)) {
    p.x += BorderLeft;
    p.y += BorderTop + MenuBarHeight;
  }
  return p;
}

bool TSkinnerForm::WMNCCalcSize(TMessage& m) {
  const bool systemFrame = (WindowKind == wkMdiChild && ShowState != ssNormalWindow) || BorderKind == bkNone;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  const RECT proposed = params->rgrc[0];  // the window rectangle asked for
  CallPrevious(m);
  RECT window = proposed;
  if (m.WParam && params->lppos) {
    const WINDOWPOS* pos = params->lppos;
    window = RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
  }
  // Never a client rectangle turned inside out by a window smaller than its borders.
  RECT client{window.left + BorderLeft, window.top + BorderTop + MenuBarHeight, window.right - BorderRight,
              window.bottom - BorderBottom};
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
  if (!m.WParam) {
    // Asked for the client rectangle of a window rectangle: the skinned frame's answer.
    if (!systemFrame) params->rgrc[0] = client;
    m.Result = 0;
    return true;
  }
  if (systemFrame) {
    params->rgrc[1] = params->rgrc[0];
  } else {
    params->rgrc[0] = client;
    params->rgrc[1] = client;
  }
  m.Result = WVR_REDRAW;
  return true;
}

bool TSkinnerForm::WMNCHitTest(TMessage& m) {
  CallPrevious(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION && !IsSystemButtonCode(m.Result)) return true;
  if (IsSystemButtonCode(m.Result)) m.Result = HTCAPTION;
  const POINT p = ScreenToWindow(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  // The top few pixels keep the system's answer (a sizing edge, or nothing).
  if (p.y > 3) m.Result = HTCAPTION;
  if (p.y > BorderTop && MenuBarHeight > 0) m.Result = HTMENU;
  if (m.Result == HTCAPTION)
    if (TWinSysButton* b = FindSysButtonAt(p)) m.Result = SysButtonHitCode(b->Element->Action);
  return true;
}

// ---- painting ----

bool TSkinnerForm::WMNCPaint(TMessage& m) {
  SetSysMenuStyle(true);
  m.Result = 0;
  if (!FSkinData->PaintFrames) return true;
  if ((WindowKind == wkMdiChild && ShowState == ssMaximizedWindow) || BorderKind == bkNone) {
    CallPrevious(m);
    return true;
  }
  PaintFrame(nullptr);
  return true;
}

bool TSkinnerForm::WMNCActivate(TMessage& m) {
  Active = LOBYTE(LOWORD(m.WParam)) != 0;
  FHoverTimer->SetEnabled(Active);
  if (WindowKind == wkMdiFrame && MdiClient)
    SendMessageA(MdiClient, WM_NCACTIVATE, m.WParam, 0);
  else if (WindowKind == wkMdiChild)
    CallPrevious(m);
  if (!(WindowKind == wkMdiChild && ShowState == ssMaximizedWindow)) PaintFrame(nullptr);
  m.Result = 1;
  return true;
}

void TSkinnerForm::PaintFrame(HDC dc) {
  if (!ScratchBitmap() || !FSkinData || !FSkinData->PaintFrames || !IsWindow(WindowHandle)) return;
  if ((FState != skSkinned && FState != skReapplying) || BorderKind == bkNone) return;
  if (WindowKind == wkMdiChild && ShowState == ssMaximizedWindow) return;
  HDC own = dc ? nullptr : GetWindowDC(WindowHandle);
  HDC target = dc ? dc : own;
  try {
    GetWindowRect(WindowHandle, &WindowRect);
    const int W = WidthOf(WindowRect), H = HeightOf(WindowRect);
    FWindowWidth = W;
    FWindowHeight = H;
    const int L = BorderLeft, T = BorderTop, R = BorderRight, B = BorderBottom, M = MenuBarHeight;
    if (ShowState == ssMinimizedWindow) {
      PaintCaption(target);
    } else {
      DrawBorder(1, RECT{0, 0, L, H}, target);
      DrawBorder(2, RECT{W - R, 0, W, H}, target);
      DrawBorder(4, RECT{L, H - B, W - R, H}, target);
      PaintCaption(target);
      const RECT bar{L, T, W - R, T + M};
      if (!PaintMenuBar(target, bar) && M > 0 && FSkinData->ButtonFaceBrush)
        FillRect(target, &bar, FSkinData->ButtonFaceBrush);
    }
  } catch (...) {
    // A picture that fails to draw leaves the frame partly painted; the window goes on working.
  }
  HotObject = nullptr;
  if (own) ReleaseDC(WindowHandle, own);
}

namespace {
TDataSkinBorder* BorderElement(TSkinData* data, int index) {
  switch (index) {
    case 1: return data->BorderLeft;
    case 2: return data->BorderRight;
    case 3: return data->BorderTop;
    default: return data->BorderBottom;
  }
}
}  // namespace

void TSkinnerForm::DrawBorder(int index, RECT r, HDC dc) {
  const int w = WidthOf(r), h = HeightOf(r);
  if (w <= 0 || h <= 0) return;
  const TDataSkinBorder* e = BorderElement(FSkinData, index);
  const int frame = Active || e->FrameCount == 1 ? 1 : 2;
  // Top and bottom frames stand stacked; the middle is stretched when the skin says Stretch=1.
  std::unique_ptr<TBitmap> b(BuildSkinBitmap(RECT{0, 0, w, h}, e->Bitmap, e->Margins, index >= 3,
                                             e->Tile == 1 ? 0 : 1, e->FrameCount, frame));
  if (!b->Empty()) BitBlt(dc, r.left, r.top, w, h, b->Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TSkinnerForm::PaintCaption(HDC dc) {
  const int W = FWindowWidth, H = FWindowHeight;
  const int L = BorderLeft, T = BorderTop, R = BorderRight;
  TBitmap* b = FCaptionBitmap;
  b->SetPixelFormat(pf24bit);
  RECT caption;
  if (ShowState == ssMinimizedWindow) {
    b->SetSize(W, H);
    b->Canvas()->Brush()->SetColor(FSkinData->ButtonFace);
    b->Canvas()->FillRect(RECT{0, 0, W, H});
    caption = RECT{0, 0, W, T};
  } else {
    b->SetSize(W, T);
    // The corners the side borders painted stay under the caption strip.
    BitBlt(b->Canvas()->GetHandle(), 0, 0, W, T, dc, 0, 0, SRCCOPY);
    caption = RECT{L, 0, W - R, T};
  }
  HDC bdc = b->Canvas()->GetHandle();
  DrawBorder(3, caption, bdc);
  DrawCaptionText(b->Canvas(), caption);
  LayoutSysButtons();
  DrawSysButtons(bdc);
  BitBlt(dc, 0, 0, b->GetWidth(), b->GetHeight(), bdc, 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TSkinnerForm::DrawCaptionText(TCanvas* canvas, const RECT& caption) {
  const TDataSkinTitle* title = FSkinData->Title;
  const HWND h = WindowHandle;
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (RightToLeft) format |= DT_RIGHT | DT_RTLREADING;

  std::wstring windowText;
  if (IsWindowUnicode(h)) {
    wchar_t buffer[1000] = {};
    GetWindowTextW(h, buffer, 1000);
    windowText = buffer;
  } else {
    char buffer[1000] = {};
    SendMessageA(h, WM_GETTEXT, 1000, LPARAM(buffer));
    windowText = AnsiToWide(buffer);
  }
  const std::wstring text = CaptionPrefix + windowText + CaptionSuffix;

  FRightButtonEdge = 0;
  for (size_t i = 0; i < FSysButtons.size(); ++i) {
    const TDataSkinSysButton* e = FSysButtons[i]->Element;
    if (e->Align == 1 && !e->Bitmap->Empty() && IsSysButtonVisible(int(i)))
      FRightButtonEdge = std::max(FRightButtonEdge, e->XCoord);
  }

  HDC dc = canvas->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, CaptionFont->Handle());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Active ? FSkinData->TitleTextActive : FSkinData->TitleTextNoActive));

  RECT r = caption;
  DrawTextWide(dc, text, r, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  r.right += title->TextBackLeft + title->TextBackRight;
  const int tw = WidthOf(r), th = HeightOf(r), cw = WidthOf(caption), ch = HeightOf(caption);
  const int shift = title->Margins.Left, shiftVert = title->Margins.Top, rightClip = title->Margins.Right;
  int dx = 0;
  switch (title->TextAlignment) {
    case 0: dx = shift; break;
    case 1: dx = (cw - tw) / 2; break;
    case 2: dx = cw - rightClip - tw; break;
  }
  if (RightToLeft) {
    switch (title->TextAlignment) {
      case 0: dx = cw - FRightButtonEdge - tw; break;
      case 1: dx = (cw - tw - FRightButtonEdge) / 2; break;
      case 2: dx = shift; break;
    }
  }
  const int dy = (ch - th) / 2 + shiftVert / 2;
  OffsetRect(&r, dx, dy);
  if (RightToLeft && dx <= 0) r.left = shift;

  if (GetWindowLongA(h, GWL_STYLE) & WS_POPUP) {
    if (RightToLeft)
      OffsetRect(&r, 10, 0);
    else if (FRightButtonEdge > 5 && caption.right - FRightButtonEdge - 5 < r.right)
      r.right = caption.right - FRightButtonEdge - 5;
  } else if (RightToLeft) {
    OffsetRect(&r, 10, 0);
  } else if (caption.right - rightClip < r.right) {
    r.right = caption.right - rightClip;
  }
  if (BorderKind == bkDialog && title->TextAlignment == 0) r.left -= 16;
  FCaptionTextRect = r;

  if (!title->Bitmap->Empty())
    DrawSkinStrip(canvas, RECT{r.left, caption.top, r.right, caption.bottom}, title->Bitmap, true, true, 2,
                  Active ? 1 : 2, TSkinMargins{title->TextBackLeft, 0, title->TextBackRight, 0});
  r.left += title->TextBackLeft;
  r.right -= title->TextBackRight;
  DrawTextWide(dc, text, r, format);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

// ---- the mouse ----

bool TSkinnerForm::WMNCMouseMove(TMessage& m) {
  if (!Active) {
    CallPrevious(m);
    return true;
  }
  if (TNCObject* o = ObjectAt(ScreenToWindow(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)))) {
    o->MouseEnter();
    m.Result = 0;
    return true;
  }
  if (HotObject) {
    HotObject->MouseLeave();
    HotObject = nullptr;
  }
  CallPrevious(m);
  return true;
}

bool TSkinnerForm::WMNCLButtonDown(TMessage& m) {
  if (TNCObject* o = ObjectAt(ScreenToWindow(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)))) {
    if (!Active) SetForegroundWindow(WindowHandle);
    o->MouseDown();
    o->OpenPopup();
    m.Result = 0;
    return true;
  }
  // A maximized window is not dragged by its caption.
  if (ShowState == ssMaximizedWindow && Active && m.WParam == HTCAPTION) m.WParam = HTMENU;
  CallPrevious(m);
  return true;
}

bool TSkinnerForm::WMNCLButtonUp(TMessage& m) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  if (TNCObject* o = ObjectAt(ScreenToWindow(x, y))) {
    if (o == HotObject && dynamic_cast<TWinSysButton*>(o)) {
      o->MouseUp();
      SysButtonClick(x, y);
    }
    m.Result = 0;
    return true;
  }
  CallPrevious(m);
  return true;
}

bool TSkinnerForm::WMNCLButtonDblClk(TMessage& m) {
  if (TWinSysButton* b = FindSysButtonAt(ScreenToWindow(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)))) {
    if (IsIconAction(b->Element->Action)) {
      FHoverTimer->SetEnabled(false);
      PostMessageA(WindowHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    m.Result = 0;
    return true;
  }
  // Only the caption toggles the window: a double click on a sizing edge or the menu bar does not.
  if (m.WParam == HTCAPTION) {
    if (ShowState != ssNormalWindow) {
      Restore();
      m.Result = 0;
      return true;
    }
    if (ButtonFlags & bfMaximize) {
      ToggleMaximize();
      m.Result = 0;
      return true;
    }
  }
  CallPrevious(m);
  return true;
}

// ---- the window region ----

void TSkinnerForm::UpdateRegion() {
  if (FState == skReleased || !FFrameSkinned) return;
  // A window without a border keeps the shape it has (the main window is cut from its picture).
  if (BorderKind == bkNone) return;
  const HWND h = WindowHandle;
  RECT wr;
  GetWindowRect(h, &wr);
  const int W = WidthOf(wr), H = HeightOf(wr);
  if (W * H == 0) return;
  if (WindowKind == wkMdiChild && ShowState != ssNormalWindow) return;
  if (W == FRegionWidth && H == FRegionHeight && WindowKind != wkMdiChild && FState != skReapplying) return;

  const int L = BorderLeft, T = BorderTop, R = BorderRight, B = BorderBottom;
  TSkinData* d = FSkinData;
  HRGN region;
  if (d->BorderLeft->Trans != 1 && d->BorderRight->Trans != 1 && d->BorderTop->Trans != 1 &&
      d->BorderBottom->Trans != 1) {
    region = CreateRectRgn(0, 0, W, H);
  } else {
    region = CreateRectRgn(L, T, W - R, H - B);
    // A border's region: its pixels other than magenta when the skin says Trans=1, else its rectangle.
    auto add = [&](int index, bool cut, const RECT& r) {
      HRGN piece = nullptr;
      if (cut) {
        std::unique_ptr<TBitmap> b = NewCanvasBitmap(WidthOf(r), HeightOf(r));
        DrawBorder(index, RECT{0, 0, WidthOf(r), HeightOf(r)}, b->Canvas()->GetHandle());
        piece = RegionFromBitmap(b.get(), r.left, r.top, 0, 0, 0, SkinTransparentColor);
      } else {
        piece = CreateRectRgn(r.left, r.top, r.right, r.bottom);
      }
      if (!piece) return;
      CombineRgn(region, region, piece, RGN_OR);
      DeleteObject(piece);
    };
    add(1, d->BorderLeft->Trans == 1 && H > 1, RECT{0, 0, L, H});
    add(2, d->BorderRight->Trans == 1 && H > 1, RECT{W - R, 0, W, H});
    add(4, d->BorderBottom->Trans == 1 && B >= 2, RECT{L, H - B, W - R, H});
    add(3, d->BorderTop->Trans == 1 && T > 1 && W - L - R > 0, RECT{L, 0, W - R, T});
  }
  FRegionWidth = W;
  FRegionHeight = H;
  if (SetWindowRgn(h, region, TRUE))
    FRegion = region;  // the system owns it now; this object only remembers that it set one
  else
    DeleteObject(region);
}

void TSkinnerForm::DeleteRegion() {
  if (!FRegion) return;
  FRegion = nullptr;
  FRegionWidth = FRegionHeight = 0;  // the next UpdateRegion builds it again
  SetWindowRgn(WindowHandle, nullptr, WindowKind == wkMdiChild);
}

// Caption buttons and menu-bar items that the mouse left without a leave notice lose their hot look.
void TSkinnerForm::HoverTimerTick(TObject*) {
  if (MenuTracking || !HotObject) return;
  POINT cursor;
  GetCursorPos(&cursor);
  if (PtInRect(&HotObject->Rect, ScreenToWindow(cursor.x, cursor.y))) return;
  HotObject->MouseLeave();
  HotObject = nullptr;
}
