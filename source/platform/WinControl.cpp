// TWinControl: a control with a window of its own: creation and destruction of the window, children,
// tab order and focus, text, colour, visibility, bounds from the window, alignment and anchors,
// painting with a passed DC and the window's own messages. How messages reach it: ControlDispatch.cpp.
#include "Controls.h"

#include <algorithm>

#include "Forms.h"

namespace {
bool gLayoutAligning = false;  // the first alignment after a layout: anchors are not applied yet
}  // namespace

ORV_DEFINE_CLASS(TWinControl, TControl, nullptr,
                 {BoolProp<TWinControl>("ParentBackground", &TWinControl::GetParentBackground, &TWinControl::SetParentBackground),
                  IntProp<TWinControl>("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder),
                  BoolProp<TWinControl>("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop),
                  EventProp("OnEnter", &TWinControl::OnEnter),
                  EventProp("OnExit", &TWinControl::OnExit),
                  EventProp("OnKeyDown", &TWinControl::OnKeyDown),
                  EventProp("OnKeyPress", &TWinControl::OnKeyPress),
                  EventProp("OnKeyUp", &TWinControl::OnKeyUp)})

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::TWinControl(TComponent* owner, const TSystemControl& system)
    : TControl(owner), FSystemClass(system.SystemClass), FSystemStyle(system.Style), FSystemExStyle(system.ExStyle) {
  FWidth = system.Width;
  FHeight = system.Height;
  FTabStop = system.TabStop;
  FColor = system.Color;
  FControlStyle = system.ControlStyle;
}

TWinControl::~TWinControl() {
  MarkDestroying();
  for (TControl* c : FControls) c->MarkDestroying();  // children stop reacting before their windows go
  DestroyHandle();
  // The class library frees child controls with their parent.
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    delete c;  // already marked as destroying above; its destructor leaves FControls
    if (!FControls.empty() && FControls.back() == c) FControls.pop_back();
  }
  // Leaves the parent while still a windowed control, so that it also leaves the parent's tab list and
  // its form's focus records (in the TControl destructor it could no longer be told from a plain control).
  if (FParent) FParent->RemoveControl(this);
  delete FBrush;
}

void TWinControl::BeforeDestruction() { TControl::BeforeDestruction(); }

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = FText;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle & csAcceptsControls) p.Style |= WS_CLIPCHILDREN;
  if (FVisible) p.Style |= WS_VISIBLE;
  if (!FEnabled) p.Style |= WS_DISABLED;
  if (FTabStop) p.Style |= WS_TABSTOP;
  p.X = FLeft;
  p.Y = FTop;
  p.Width = FWidth;
  p.Height = FHeight;
  p.WndParent = FParent ? FParent->FHandle : FParentWindow;
  p.WinClassName = ClassName();
  if (FSystemClass) {
    CreateSubClass(p, FSystemClass);
    p.Style |= FSystemStyle;
    p.ExStyle |= FSystemExStyle;
  }
  p.ExStyle |= BiDiExStyle();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* systemClass) { params.SystemClass = systemClass; }

void TWinControl::CreateHandle() {
  if (FHandle) return;
  if (FParent) {
    FParent->Handle();
    if (FHandle) return;  // created with the parent's children
  }
  CreateWnd();
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (!w->WindowDeferred()) w->CreateHandle();
  // Tab order follows the z-order of creation; put the windows in the tab list's order for dialogs.
  Realign();
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if (p.WndParent == nullptr && (p.Style & WS_CHILD))
    throw EPropertyError("Control '" + GetName() + "' has no parent window");
  FDefWndProc = RegisterControlClass(p.WinClassName, p.SystemClass, p.WindowClassStyle);
  CreateWindowHandle(p);
  if (!FHandle) throw EPropertyError("Error creating window of " + ClassName());
  if (!p.SystemClass.empty() || true) SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->Handle()), 0);
  UpdateBoundsFromWindow();
}

void TWinControl::DestroyWnd() {
  if (!FHandle) return;
  // Keep the text the user typed.
  int n = GetWindowTextLengthA(FHandle);
  std::string t(size_t(n) + 1, '\0');
  GetWindowTextA(FHandle, &t[0], n + 1);
  t.resize(size_t(n));
  FText = t;
  DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

// Goes through the message chain, so that whoever hooked the control's WindowProc sees the old window
// go and can attach to the new one after passing the message on.
void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND);
}

void TWinControl::SetParentWindow(HWND h) {
  FParentWindow = h;
  if (FHandle && !FParent) ::SetParent(FHandle, h);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (FHandle && m.Msg < CM_BASE) {
    m.Result = CallWindowProcA(FDefWndProc ? FDefWndProc : DefWindowProcA, FHandle, m.Msg, m.WParam, m.LParam);
    return;
  }
  TControl::DefaultHandler(m);
}

bool TWinControl::ContainsControl(TControl* c) const {
  while (c && c != this) c = c->GetParent();
  return c == this;
}

void TWinControl::InsertControl(TControl* c) {
  FControls.push_back(c);
  c->FParent = this;
  if (auto* w = dynamic_cast<TWinControl*>(c)) FTabList.push_back(w);
  if (!IsLoading()) Perform(CM_CONTROLLISTCHANGE, WPARAM(c), TRUE);
}

void TWinControl::RemoveControl(TControl* c) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
    if (TCustomForm* f = GetParentForm(this)) f->ControlRemoved(w);
    if (w->FHandle && !w->IsDestroying() && !IsDestroying()) w->DestroyHandle();
  }
  c->Invalidate();
  c->FParent = nullptr;
  if (!IsDestroying()) Realign();
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    bool win = dynamic_cast<TWinControl*>(c) != nullptr;
    if (win && !allowWinControls) continue;
    if (!c->FVisible || (!c->FEnabled && !allowDisabled)) continue;
    RECT r = c->BoundsRect();
    if (!PtInRect(&r, p)) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(p.x - c->FLeft, p.y - c->FTop)) == 0) continue;
    return c;
  }
  return nullptr;
}

int TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  auto& l = FParent->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : int(it - l.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!FParent) return;
  auto& l = FParent->FTabList;
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
  if (v < 0 || size_t(v) > l.size()) v = int(l.size());
  l.insert(l.begin() + v, this);
}

void TWinControl::SetTabStop(bool v) {
  FTabStop = v;
  if (FHandle) {
    LONG s = GetWindowLongA(FHandle, GWL_STYLE);
    SetWindowLongA(FHandle, GWL_STYLE, v ? (s | WS_TABSTOP) : (s & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* w : FTabList) {
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->FParent) {
    if (!c->FVisible || !c->FEnabled) return false;
    if (dynamic_cast<const TCustomForm*>(c)) break;
  }
  return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* f = GetParentForm(this)) {
    f->FocusControl(this);
  } else if (FParentWindow) {
    ::SetFocus(Handle());
  } else {
    throw EPropertyError("Cannot focus a control without a form");
  }
}

void TWinControl::SetParentBackground(bool v) {
  if (v)
    FControlStyle |= csParentBackground;
  else
    FControlStyle &= ~unsigned(csParentBackground);
  Invalidate();
}

TBrush* TWinControl::Brush() {
  if (!FBrush) FBrush = new TBrush;
  FBrush->SetColor(FColor);
  return FBrush;
}

void TWinControl::SetText(const std::string& v) {
  if (FHandle) {
    if (GetText() == v) return;
    SetWindowTextA(FHandle, v.c_str());
    FText = v;
    Perform(CM_TEXTCHANGED);
    AdjustSize();
    return;
  }
  TControl::SetText(v);
}

std::string TWinControl::GetText() const {
  if (!FHandle) return FText;
  int n = GetWindowTextLengthA(FHandle);
  std::string t(size_t(n) + 1, '\0');
  n = GetWindowTextA(FHandle, &t[0], n + 1);
  t.resize(size_t(std::max(n, 0)));
  return t;
}

RECT TWinControl::GetClientRect() const {
  RECT r{0, 0, FWidth, FHeight};
  if (FHandle) ::GetClientRect(FHandle, &r);
  return r;
}

void TWinControl::SetColor(TColor v) {
  bool changed = v != FColor;
  TControl::SetColor(v);
  if (changed) {
    TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
    Broadcast(m);
  }
}

void TWinControl::SetEnabled(bool v) {
  if (FEnabled == v) return;
  FEnabled = v;
  if (FHandle) EnableWindow(FHandle, v);
  Perform(CM_ENABLEDCHANGED);
}

void TWinControl::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  if (FHandle) {
    if (v && !GetParentForm(this) && !FParent && !FParentWindow) {
      ShowWindow(FHandle, SW_SHOW);
    } else {
      SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (v ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
  } else if (v && FParent && FParent->HandleAllocated() && !IsLoading()) {
    HandleNeeded();
  }
  Perform(CM_VISIBLECHANGED, v);
  if (FParent && !IsLoading() && FAlign != alNone) FParent->Realign();
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !(FControlStyle & csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::DoSetBounds(int l, int t, int w, int h) {
  TControl::DoSetBounds(l, t, w, h);
  if (FHandle && !FUpdatingBounds)
    SetWindowPos(FHandle, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!FHandle || FUpdatingBounds) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  if (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, ::GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
  if (IsIconic(FHandle)) return;  // a minimised window keeps its restored bounds
  FUpdatingBounds = true;
  try {
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  } catch (...) {
    FUpdatingBounds = false;
    throw;
  }
  FUpdatingBounds = false;
}

void TWinControl::AlignLoadedTree() {
  // Positions in a layout are meant against the parents' final sizes: align first, then let the
  // anchors take their distances from there.
  gLayoutAligning = true;
  try {
    RealignTree(this);
  } catch (...) {
    gLayoutAligning = false;
    throw;
  }
  gLayoutAligning = false;
  UpdateAnchorTree(this);
}

void TWinControl::RealignTree(TWinControl* w) {
  w->Realign();
  for (TControl* c : w->FControls)
    if (auto* cw = dynamic_cast<TWinControl*>(c)) RealignTree(cw);
}

void TWinControl::UpdateAnchorTree(TWinControl* w) {
  for (TControl* c : w->FControls) {
    c->UpdateAnchorRules();
    if (auto* cw = dynamic_cast<TWinControl*>(c)) UpdateAnchorTree(cw);
  }
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || IsLoading() || IsDestroying()) return;
  AlignAndAnchor();
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0) Realign();
}

void TWinControl::AlignControls(TControl* /*control*/, RECT& r) {
  auto place = [&](TAlign a) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->FAlign == a && c->FVisible) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
      switch (a) {
        case alTop: return x->FTop < y->FTop;
        case alBottom: return x->FTop + x->FHeight > y->FTop + y->FHeight;
        case alLeft: return x->FLeft < y->FLeft;
        case alRight: return x->FLeft + x->FWidth > y->FLeft + y->FWidth;
        default: return false;
      }
    });
    for (TControl* c : list) {
      int w = r.right - r.left, h = r.bottom - r.top;
      switch (a) {
        case alTop:
          c->SetBounds(r.left, r.top, w, c->FHeight);
          r.top += c->FHeight;
          break;
        case alBottom:
          c->SetBounds(r.left, r.bottom - c->FHeight, w, c->FHeight);
          r.bottom -= c->FHeight;
          break;
        case alLeft:
          c->SetBounds(r.left, r.top, c->FWidth, h);
          r.left += c->FWidth;
          break;
        case alRight:
          c->SetBounds(r.right - c->FWidth, r.top, c->FWidth, h);
          r.right -= c->FWidth;
          break;
        case alClient:
          c->SetBounds(r.left, r.top, w, h);
          break;
        default:
          break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
}

void TWinControl::AlignAndAnchor() {
  RECT full = GetClientRect();
  RECT r = full;
  AdjustClientRect(r);
  ++FAlignLevel;
  try {
    AlignControls(nullptr, r);
    int cw = full.right - full.left, ch = full.bottom - full.top;
    for (TControl* c : FControls) {
      if (c->FAlign != alNone || gLayoutAligning) continue;
      int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
      bool aL = c->FAnchors & (1u << akLeft), aR = c->FAnchors & (1u << akRight);
      bool aT = c->FAnchors & (1u << akTop), aB = c->FAnchors & (1u << akBottom);
      if (aR) {
        if (aL)
          w = cw - c->FAnchorRight - l;
        else
          l = cw - c->FAnchorRight - w;
      }
      if (aB) {
        if (aT)
          h = ch - c->FAnchorBottom - t;
        else
          t = ch - c->FAnchorBottom - h;
      }
      if (aR || aB) c->SetBounds(l, t, w, h);
    }
  } catch (...) {
    --FAlignLevel;
    throw;
  }
  --FAlignLevel;
}

void TWinControl::Broadcast(TMessage& m) {
  auto list = FControls;
  for (TControl* c : list) {
    m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
    if (m.Result != 0) return;
  }
}

void TWinControl::SetMessageHandler(UINT msg, std::function<void(TMessage&)> handler) {
  if (handler)
    FMessageHandlers[msg] = std::move(handler);
  else
    FMessageHandlers.erase(msg);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Placed while a layout was read into a parent whose window already existed (a form shaped during
  // reading): the window was not made then, so make it now.
  if (FParent && FParent->HandleAllocated() && !FHandle && !WindowDeferred()) HandleNeeded();
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  bool started = first == nullptr;
  for (TControl* c : FControls) {
    if (!started) {
      started = c == first;
      if (!started) continue;
    }
    if (dynamic_cast<TWinControl*>(c) || !c->FVisible) continue;
    RECT b = c->BoundsRect();
    if (!RectVisible(dc, &b)) continue;
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, c->FLeft, c->FTop, nullptr);
    IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
    c->Perform(WM_PAINT, WPARAM(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, WPARAM(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& m) {
  bool hasGraphic = std::any_of(FControls.begin(), FControls.end(),
                                [](TControl* c) { return dynamic_cast<TWinControl*>(c) == nullptr; });
  bool systemClass = FDefWndProc && FDefWndProc != DefWindowProcA;
  if (systemClass && !hasGraphic && !(FControlState & csCustomPaint)) {
    DefaultHandler(m);
    return;
  }
  HDC dc = HDC(m.WParam);
  PAINTSTRUCT ps{};
  if (!dc) dc = BeginPaint(FHandle, &ps);
  try {
    PaintWindow(dc);
    PaintControls(dc);
  } catch (...) {
    if (!m.WParam) EndPaint(FHandle, &ps);
    throw;
  }
  if (!m.WParam) EndPaint(FHandle, &ps);
  m.Result = 0;
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, x, y, nullptr);
  RECT r = GetClientRect();
  IntersectClipRect(dc, 0, 0, r.right, r.bottom);
  Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (w->FVisible) w->PaintTo(dc, x + w->FLeft, y + w->FTop);
}

void TWinControl::WMSetCursor(TMessage& m) {
  if (HWND(m.WParam) == FHandle && LOWORD(m.LParam) == HTCLIENT) {
    TCursor cur = Screen ? Screen->GetCursor() : crDefault;
    if (cur == crDefault) {
      POINT p;
      GetCursorPos(&p);
      TControl* c = ControlAtPos(ScreenToClient(p), false);
      cur = c && c->FCursor != crDefault ? c->FCursor : FCursor;
    }
    if (cur != crDefault) {
      ::SetCursor(CursorHandle(cur));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::HandleKeyMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = WORD(m.WParam);
      const TShiftState shift = KeyDataToShiftState(m.LParam);
      if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN)
        KeyDown(key, shift);
      else
        KeyUp(key, shift);
      if (key == 0) return true;
      m.WParam = key;
      return false;
    }
    case WM_CHAR: {
      char k = char(m.WParam);
      KeyPress(k);
      if (k == 0) return true;
      m.WParam = WPARAM((unsigned char)k);
      return false;
    }
  }
  return false;
}

void TWinControl::WndProc(TMessage& m) {
  auto handler = FMessageHandlers.find(m.Msg);
  if (handler != FMessageHandlers.end()) {
    auto fn = handler->second;  // the handler may replace itself
    fn(m);
    return;
  }
  if (IsMouseMessage(m.Msg) && m.Msg != WM_MOUSEWHEEL && IsControlMouseMsg(m)) return;
  switch (m.Msg) {
    case WM_SETFOCUS:
      DefaultHandler(m);
      if (TCustomForm* f = GetParentForm(this))
        if (!f->IsDestroying()) f->SetFocusedControl(this);
      return;
    case WM_PAINT:
      PaintHandler(m);
      return;
    case WM_ERASEBKGND:
      if (FDefWndProc && FDefWndProc != DefWindowProcA) {
        DefaultHandler(m);
      } else {
        RECT r = GetClientRect();
        ::FillRect(HDC(m.WParam), &r, Brush()->Handle());
        m.Result = 1;
      }
      return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORDLG:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      if (m.Msg == WM_COMMAND && m.LParam == 0) break;  // menus and accelerators
      ReflectNotification(m);
      return;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORSCROLLBAR: {
      HDC dc = HDC(m.WParam);
      SetTextColor(dc, ColorToRGB(FFont->GetColor()));
      SetBkColor(dc, ColorToRGB(FColor));
      m.Result = LRESULT(Brush()->Handle());
      return;
    }
    case WM_SIZE:
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      UpdateBoundsFromWindow();
      return;
    case WM_SETCURSOR:
      WMSetCursor(m);
      return;
    case WM_MOUSELEAVE: {
      DefaultHandler(m);
      POINT p;
      GetCursorPos(&p);
      UpdateMouseControl(p);
      return;
    }
    case WM_CAPTURECHANGED:
      ReleaseGraphicCapture(this);
      DefaultHandler(m);
      return;
    case WM_SETTEXT:
      DefaultHandler(m);
      if (m.LParam) FText = reinterpret_cast<const char*>(m.LParam);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
      if (HandleKeyMessage(m)) return;
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      // Tab, Enter, Escape and the arrows go to the form unless the control wants them itself.
      m.Result = 1;
      WORD key = WORD(m.WParam);
      UINT mask = 0;
      switch (key) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
      }
      if (mask && !(Perform(WM_GETDLGCODE) & mask)) {
        if (TCustomForm* f = GetParentForm(this))
          if (f->Perform(CM_DIALOGKEY, key, m.LParam) != 0) return;
      }
      m.Result = 0;
      return;
    }
    case CN_SYSCHAR:
      if (TCustomForm* f = GetParentForm(this)) m.Result = f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(m);
      return;
    case CM_RECREATEWND:
      if (FHandle) {
        DestroyHandle();
        CreateHandle();
      }
      return;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case CM_FONTCHANGED: {
      if (FHandle) SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->Handle()), TRUE);
      TMessage pm{CM_PARENTFONTCHANGED, 0, 0, 0};
      Broadcast(pm);
      Invalidate();
      return;
    }
    case CM_FOCUSCHANGED: {
      FocusedChanged();
      auto list = FControls;
      for (TControl* c : list) c->Perform(m.Msg, m.WParam, m.LParam);
      return;
    }
  }
  TControl::WndProc(m);
}
