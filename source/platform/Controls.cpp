#include "Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "Forms.h"

namespace {

const char* const kControlProp = "OrvControl";
thread_local TWinControl* gCreatingControl = nullptr;
TControl* gMouseControl = nullptr;
TControl* gCaptureControl = nullptr;  // a graphic control that has the mouse (through its parent)
bool gLayoutAligning = false;         // the first alignment after a layout: anchors are not applied yet
// A function: the application object sets the handler during static initialisation, possibly
// before this file's variables are constructed.
TExceptionHandler& ExceptionHandler() {
  static TExceptionHandler h;
  return h;
}
UINT gNextControlId = 100;

struct TRegisteredClass {
  std::string Name;
  WNDPROC DefProc;
};
std::vector<TRegisteredClass*>& RegisteredClasses() {
  static std::vector<TRegisteredClass*> r;
  return r;
}

POINT MessagePoint(LPARAM l) { return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

bool IsMouseMessage(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }

// Without csDoubleClicks a second fast press arrives as an ordinary press.
void UndoDoubleClick(TControl* c, TMessage& m) {
  if (c->ControlStyle() & csDoubleClicks) return;
  if (m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK)
    m.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
}

}  // namespace

// ---- shift states, cursors, modal results ----

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM data) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (data & 0x20000000) s |= ssAlt;
  return s;
}

const TIdentMap& CursorIdents() {
  static const TIdentMap m = {{crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"},
                              {crCross, "crCross"}, {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"},
                              {crSizeNS, "crSizeNS"}, {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
                              {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crNo, "crNo"},
                              {crAppStart, "crAppStart"}, {crHelp, "crHelp"}, {crHandPoint, "crHandPoint"},
                              {crSizeAll, "crSizeAll"}};
  return m;
}

const TIdentMap& ModalResultIdents() {
  static const TIdentMap m = {{mrNone, "mrNone"}, {mrOk, "mrOk"}, {mrCancel, "mrCancel"}, {mrAbort, "mrAbort"},
                              {mrRetry, "mrRetry"}, {mrIgnore, "mrIgnore"}, {mrYes, "mrYes"}, {mrNo, "mrNo"},
                              {mrAll, "mrAll"}, {mrNoToAll, "mrNoToAll"}, {mrYesToAll, "mrYesToAll"}};
  return m;
}

void SetControlExceptionHandler(TExceptionHandler handler) { ExceptionHandler() = std::move(handler); }

void HandleControlException(TObject* sender) {
  if (ExceptionHandler()) {
    try {
      ExceptionHandler()(sender);
    } catch (...) {
      // The handler itself failed; nothing may unwind through a window procedure.
    }
  }
}

TControl* MouseControl() { return gMouseControl; }
TControl* CaptureControl() { return gCaptureControl; }

// ---- window classes and the window procedure ----

WNDPROC RegisterControlClass(const std::string& className, const std::string& systemClass, UINT classStyle) {
  for (auto* r : RegisteredClasses())
    if (SameTextCI(r->Name, className)) return r->DefProc;
  auto* reg = new TRegisteredClass{className, DefWindowProcA};
  WNDCLASSA wc{};
  if (!systemClass.empty()) {
    // The common controls' classes exist once their library has registered them. Forms and windows of
    // our own classes need none of them, so that library is first asked for with the first system class.
    static bool commonControls = false;
    if (!commonControls) {
      INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES};
      InitCommonControlsEx(&icc);
      commonControls = true;
    }
    if (!GetClassInfoA(nullptr, systemClass.c_str(), &wc) &&
        !GetClassInfoA(GetModuleHandleA(nullptr), systemClass.c_str(), &wc))
      throw EPropertyError("Window class " + systemClass + " does not exist");
    reg->DefProc = wc.lpfnWndProc;
    wc.style &= ~UINT(CS_GLOBALCLASS);
  } else {
    wc.style = classStyle;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
  }
  wc.lpfnWndProc = ControlWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = reg->Name.c_str();
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EPropertyError("Cannot register window class " + className);
  RegisteredClasses().push_back(reg);
  return reg->DefProc;
}

LRESULT CALLBACK ControlWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* c = static_cast<TWinControl*>(GetPropA(h, kControlProp));
  if (!c) {
    c = gCreatingControl;
    if (!c) return DefWindowProcA(h, msg, w, l);
    gCreatingControl = nullptr;
    c->FHandle = h;
    SetPropA(h, kControlProp, c);
  }
  TMessage m{msg, w, l, 0};
  if (IsMouseMessage(msg)) UndoDoubleClick(c, m);
  try {
    if (c->IsDestroying())
      c->DefaultHandler(m);  // no events from a control that is going away
    else if (c->WindowProc)
      c->WindowProc(m);
    else
      c->WndProc(m);
  } catch (...) {
    HandleControlException(c);
  }
  if (msg == WM_NCDESTROY) {
    RemovePropA(h, kControlProp);
    if (c->FHandle == h) c->FHandle = nullptr;
  }
  return m.Result;
}

TWinControl* FindControl(HWND h) { return h ? static_cast<TWinControl*>(GetPropA(h, kControlProp)) : nullptr; }

TWinControl* FindVclWindow(HWND h) {
  while (h) {
    if (TWinControl* c = FindControl(h)) return c;
    h = GetParent(h);
  }
  return nullptr;
}

TCustomForm* GetParentForm(TControl* c) {
  while (c && c->GetParent()) c = c->GetParent();
  return As<TCustomForm>(c);
}

// ---- mouse enter and leave ----

static TControl* FindControlAtScreen(POINT pt) {
  TWinControl* w = FindVclWindow(WindowFromPoint(pt));
  if (!w) return nullptr;
  POINT cp = w->ScreenToClient(pt);
  TControl* g = w->ControlAtPos(cp, true);
  return g ? g : w;
}

void UpdateMouseControl(POINT screenPoint) {
  TControl* now = FindControlAtScreen(screenPoint);
  if (now == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = now;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (now && gMouseControl == now) {
    // Leaving the window without another mouse move is reported by the system.
    auto* w = dynamic_cast<TWinControl*>(now);
    if (!w) w = now->GetParent();
    if (w && w->HandleAllocated()) {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, w->Handle(), 0};
      TrackMouseEvent(&t);
    }
    now->Perform(CM_MOUSEENTER);
  }
}

// ---- TControl ----

// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kAlignNames() { return {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}; }
// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kAnchorNames() { return {"akLeft", "akTop", "akRight", "akBottom"}; }

ORV_DEFINE_CLASS(TControl, TComponent, nullptr,
                 {EnumProp<TControl, TAlign>("Align", kAlignNames(), &TControl::GetAlign, &TControl::SetAlign),
                  SetProp<TControl>("Anchors", kAnchorNames(), &TControl::GetAnchors, &TControl::SetAnchors),
                  IntProp<TControl>("Left", &TControl::GetLeft, &TControl::SetLeft),
                  IntProp<TControl>("Top", &TControl::GetTop, &TControl::SetTop),
                  IntProp<TControl>("Width", &TControl::GetWidth, &TControl::SetWidth),
                  IntProp<TControl>("Height", &TControl::GetHeight, &TControl::SetHeight),
                  IntProp<TControl>("ClientWidth", &TControl::GetClientWidth, &TControl::SetClientWidth),
                  IntProp<TControl>("ClientHeight", &TControl::GetClientHeight, &TControl::SetClientHeight),
                  BoolProp<TControl>("AutoSize", &TControl::GetAutoSize, &TControl::SetAutoSize),
                  EnumProp<TControl, TBiDiMode>("BiDiMode", BiDiModeNames(), &TControl::GetBiDiMode,
                                                &TControl::SetBiDiMode),
                  BoolProp<TControl>("ParentBiDiMode", &TControl::GetParentBiDiMode, &TControl::SetParentBiDiMode),
                  StrProp<TControl>("Caption", &TControl::GetCaption, &TControl::SetCaption),
                  IntProp<TControl>("Color", &TControl::GetColor, &TControl::SetColor, &ColorIdents()),
                  IntProp<TControl>("Cursor", &TControl::GetCursor, &TControl::SetCursor, &CursorIdents()),
                  BoolProp<TControl>("Enabled", &TControl::GetEnabled, &TControl::SetEnabled),
                  ObjProp<TControl, TFont>("Font", &TControl::GetFont, &TControl::SetFont),
                  StrProp<TControl>("Hint", &TControl::GetHint, &TControl::SetHint),
                  BoolProp<TControl>("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor),
                  BoolProp<TControl>("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont),
                  BoolProp<TControl>("ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint),
                  RefProp<TControl, TComponent>("PopupMenu", &TControl::GetPopupMenu, &TControl::SetPopupMenu),
                  BoolProp<TControl>("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint),
                  BoolProp<TControl>("Visible", &TControl::GetVisible, &TControl::SetVisible),
                  EventProp("OnClick", &TControl::OnClick),
                  EventProp("OnDblClick", &TControl::OnDblClick),
                  EventProp("OnMouseDown", &TControl::OnMouseDown),
                  EventProp("OnMouseMove", &TControl::OnMouseMove),
                  EventProp("OnMouseUp", &TControl::OnMouseUp),
                  EventProp("OnMouseEnter", &TControl::OnMouseEnter),
                  EventProp("OnMouseLeave", &TControl::OnMouseLeave),
                  EventProp("OnResize", &TControl::OnResize)})

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(new TFont) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  MarkDestroying();
  if (gMouseControl == this) gMouseControl = nullptr;
  if (gCaptureControl == this) gCaptureControl = nullptr;
  if (FParent) FParent->RemoveControl(this);
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  delete FFont;
}

void TControl::BeforeDestruction() { TComponent::BeforeDestruction(); }

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
    case WM_GETTEXTLENGTH:
      m.Result = LRESULT(FText.size());
      break;
    case CM_HITTEST:
      m.Result = HTCLIENT;
      break;
    default:
      break;
  }
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return HandleMouseDown(m, mbLeft);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return HandleMouseDown(m, mbRight);
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return HandleMouseDown(m, mbMiddle);
    case WM_LBUTTONUP:
      return HandleMouseUp(m, mbLeft);
    case WM_RBUTTONUP:
      return HandleMouseUp(m, mbRight);
    case WM_MBUTTONUP:
      return HandleMouseUp(m, mbMiddle);
    case WM_MOUSEMOVE: {
      DefaultHandler(m);
      POINT p = MessagePoint(m.LParam);
      UpdateMouseControl(ClientToScreen(p));
      MouseMove(KeysToShiftState(m.WParam), p.x, p.y);
      return;
    }
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_HITTEST:
      m.Result = HTCLIENT;
      return;
    case CM_PARENTFONTCHANGED:
      if (FParentFont) ApplyParentFont();
      return;
    case CM_PARENTCOLORCHANGED:
      if (FParentColor) ApplyParentColor();
      return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    default:
      DefaultHandler(m);
  }
}

void TControl::HandleMouseDown(TMessage& m, TMouseButton b) {
  DefaultHandler(m);
  if (FControlStyle & csCaptureMouse) SetMouseCapture(true);
  bool dbl = m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
  if (b == mbLeft && (FControlStyle & csClickEvents)) FControlState |= csClicked;
  POINT p = MessagePoint(m.LParam);
  TShiftState s = KeysToShiftState(m.WParam);
  if (dbl) {
    s |= ssDouble;
    if (b == mbLeft && (FControlStyle & csClickEvents)) DblClick();
  }
  MouseDown(b, s, p.x, p.y);
}

void TControl::HandleMouseUp(TMessage& m, TMouseButton b) {
  DefaultHandler(m);
  if (FControlStyle & csCaptureMouse) SetMouseCapture(false);
  POINT p = MessagePoint(m.LParam);
  // The class library clicks before the mouse-up notification, and only for a release inside.
  if (b == mbLeft && (FControlState & csClicked)) {
    FControlState &= ~unsigned(csClicked);
    RECT cr = GetClientRect();
    if (PtInRect(&cr, p)) Click();
  }
  if (IsDestroying()) return;
  MouseUp(b, KeysToShiftState(m.WParam), p.x, p.y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}

bool TControl::GetMouseCapture() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->FHandle && GetCapture() == w->FHandle;
  return gCaptureControl == this;
}

void TControl::SetMouseCapture(bool v) {
  if (GetMouseCapture() == v) return;
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    if (v)
      SetCapture(w->Handle());
    else
      ReleaseCapture();
    return;
  }
  if (v) {
    if (!FParent) return;
    gCaptureControl = this;
    SetCapture(FParent->Handle());
  } else {
    gCaptureControl = nullptr;
    ReleaseCapture();
  }
}

const std::vector<std::string>& BiDiModeNames() {
  static const std::vector<std::string> names = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                                 "bdRightToLeftReadingOnly"};
  return names;
}

TBiDiMode TControl::GetBiDiMode() const {
  return FParentBiDiMode && FParent ? FParent->GetBiDiMode() : FBiDiMode;
}

void TControl::SetBiDiMode(TBiDiMode v) {
  const TBiDiMode old = GetBiDiMode();
  FBiDiMode = v;
  FParentBiDiMode = false;
  if (old == v) return;
  if (auto* w = dynamic_cast<TWinControl*>(this))
    if (w->HandleAllocated() && !IsLoading()) w->RecreateWnd();
  Invalidate();
}

DWORD TControl::BiDiExStyle() const {
  const TBiDiMode mode = GetBiDiMode();
  if (mode == bdLeftToRight) return 0;
  return WS_EX_RTLREADING | (mode == bdRightToLeftReadingOnly ? 0 : WS_EX_LEFTSCROLLBAR);
}

void TControl::SetParentBiDiMode(bool v) {
  if (FParentBiDiMode == v) return;
  const TBiDiMode old = GetBiDiMode();
  FParentBiDiMode = v;
  if (old == GetBiDiMode()) return;
  if (auto* w = dynamic_cast<TWinControl*>(this))
    if (w->HandleAllocated() && !IsLoading()) w->RecreateWnd();
}

void TControl::SetParent(TWinControl* p) {
  if (p == FParent) return;
  if (p == this) throw EPropertyError("A control cannot be its own parent");
  if (FParent) FParent->RemoveControl(this);
  if (p) {
    p->InsertControl(this);
    if (FParentFont) ApplyParentFont();
    if (FParentColor) ApplyParentColor();
    if (!IsLoading()) UpdateAnchorRules();
    if (auto* w = dynamic_cast<TWinControl*>(this))
      if (p->HandleAllocated() && !IsLoading() && !w->WindowDeferred()) w->HandleNeeded();
    Invalidate();
    RequestAlign();
  }
}

void TControl::SetParentComponent(TComponent* parent) {
  auto* w = dynamic_cast<TWinControl*>(parent);
  if (!w) throw EPropertyError(GetName() + " cannot be placed in " + (parent ? parent->GetName() : std::string("nothing")));
  SetParent(w);
}

RECT TControl::GetClientRect() const { return RECT{0, 0, FWidth, FHeight}; }
int TControl::GetClientWidth() const {
  RECT r = GetClientRect();
  return r.right - r.left;
}
int TControl::GetClientHeight() const {
  RECT r = GetClientRect();
  return r.bottom - r.top;
}
void TControl::SetClientWidth(int v) { SetWidth(FWidth - GetClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(FHeight - GetClientHeight() + v); }

POINT TControl::ClientOrigin() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this)) {
    POINT p{0, 0};
    if (w->FHandle) {
      ::ClientToScreen(w->FHandle, &p);
      return p;
    }
  }
  if (!FParent) return POINT{FLeft, FTop};
  POINT p = FParent->ClientOrigin();
  return POINT{p.x + FLeft, p.y + FTop};
}
POINT TControl::ClientToScreen(POINT p) const {
  POINT o = ClientOrigin();
  return POINT{p.x + o.x, p.y + o.y};
}
POINT TControl::ScreenToClient(POINT p) const {
  POINT o = ClientOrigin();
  return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetBounds(int l, int t, int w, int h) {
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  if (l == FLeft && t == FTop && w == FWidth && h == FHeight) return;
  bool sizeChanged = w != FWidth || h != FHeight;
  bool graphic = dynamic_cast<TWinControl*>(this) == nullptr;
  if (graphic) InvalidateControl(FVisible, false);
  DoSetBounds(l, t, w, h);
  if (IsLoading()) return;
  if (FParent && FParent->FAlignLevel == 0) UpdateAnchorRules();
  if (graphic) InvalidateControl(FVisible, false);
  RequestAlign();
  if (sizeChanged) {
    if (auto* wc = dynamic_cast<TWinControl*>(this)) wc->Realign();
    Resize();
  }
}

void TControl::DoSetBounds(int l, int t, int w, int h) {
  FLeft = l;
  FTop = t;
  FWidth = w;
  FHeight = h;
}

void TControl::UpdateAnchorRules() {
  if (!FParent) return;
  RECT r = FParent->GetClientRect();
  FAnchorRight = (r.right - r.left) - (FLeft + FWidth);
  FAnchorBottom = (r.bottom - r.top) - (FTop + FHeight);
}

void TControl::Loaded() {
  TComponent::Loaded();
  AdjustSize();
}

void TControl::RequestAlign() {
  if (FParent && !IsLoading() && FAlign != alNone) FParent->Realign();
}

void TControl::SetAlign(TAlign v) {
  if (FAlign == v) return;
  FAlign = v;
  if (FParent && !IsLoading()) FParent->Realign();
}

void TControl::SetAnchors(unsigned v) {
  FAnchors = v;
  if (!IsLoading()) UpdateAnchorRules();
}

bool TControl::Showing() const {
  if (!FVisible) return false;
  if (auto* w = dynamic_cast<const TWinControl*>(this)) {
    if (w->FHandle) return IsWindowVisible(w->FHandle) != FALSE;
  }
  return FParent ? FParent->Showing() : false;
}

void TControl::SetVisible(bool v) {
  if (FVisible == v) return;
  VisibleChanging();
  InvalidateControl(true, false);
  FVisible = v;
  Perform(CM_VISIBLECHANGED, v);
  InvalidateControl(true, false);
  if (FParent && !IsLoading() && FAlign != alNone) FParent->Realign();
}

void TControl::SetEnabled(bool v) {
  if (FEnabled == v) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& v) {
  if (FText == v) return;
  FText = v;
  Perform(CM_TEXTCHANGED);
  AdjustSize();
}

void TControl::FontChanged() {
  if (!(FControlState & csCreating)) FParentFont = false;
  Perform(CM_FONTCHANGED);
  AdjustSize();
}

void TControl::ApplyParentFont() {
  if (!FParent) return;
  unsigned saved = FControlState;
  FControlState |= csCreating;  // marks the change as inherited: ParentFont stays on
  FFont->Assign(FParent->GetFont());
  FControlState = saved;
}

void TControl::SetParentFont(bool v) {
  FParentFont = v;
  if (v) ApplyParentFont();
}

void TControl::SetColor(TColor v) {
  FParentColor = false;
  if (FColor == v) return;
  FColor = v;
  Perform(CM_COLORCHANGED);
}

void TControl::ApplyParentColor() {
  if (!FParent) return;
  TColor c = FParent->GetColor();
  if (FColor != c) {
    FColor = c;
    Perform(CM_COLORCHANGED);
  }
}

void TControl::SetParentColor(bool v) {
  FParentColor = v;
  if (v) ApplyParentColor();
}

void TControl::SetCursor(TCursor v) { FCursor = v; }

void TControl::SetPopupMenu(TComponent* m) {
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = m;
  if (m) FreeNotification(m);
}

void TControl::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustSize();
}

void TControl::AdjustSize() {
  if (!FAutoSize || IsLoading()) return;
  int w = FWidth, h = FHeight;
  if (CanAutoSize(w, h)) SetBounds(FLeft, FTop, w, h);
}

void TControl::InvalidateControl(bool wasVisible, bool opaque) {
  if (!wasVisible || !FParent || !FParent->HandleAllocated()) return;
  if (dynamic_cast<TWinControl*>(this)) return;  // a window repaints itself
  RECT r = BoundsRect();
  InvalidateRect(FParent->FHandle, &r, !opaque);
}

void TControl::Invalidate() { InvalidateControl(FVisible, (FControlStyle & csOpaque) != 0); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    if (w->FHandle) SetWindowPos(w->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    if (w->FHandle) SetWindowPos(w->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

// ---- TControlCanvas ----

void TControlCanvas::CreateHandle() {
  auto* w = dynamic_cast<TWinControl*>(FControl);
  if (w) {
    if (!w->HandleAllocated()) return;
    FOwnWindow = w->Handle();
    FOwnDC = GetDC(FOwnWindow);
  } else {
    TWinControl* p = FControl->GetParent();
    if (!p || !p->HandleAllocated()) return;
    FOwnWindow = p->Handle();
    FOwnDC = GetDC(FOwnWindow);
    SetViewportOrgEx(FOwnDC, FControl->GetLeft(), FControl->GetTop(), nullptr);
    IntersectClipRect(FOwnDC, 0, 0, FControl->GetWidth(), FControl->GetHeight());
  }
  SetHandle(FOwnDC);
}

void TControlCanvas::FreeHandle() {
  if (!FOwnDC) return;
  SetHandle(nullptr);
  ReleaseDC(FOwnWindow, FOwnDC);
  FOwnDC = nullptr;
  FOwnWindow = nullptr;
}

void TControlCanvas::PaintOn(HDC dc, TFont* font, const std::function<void()>& paint) {
  FreeHandle();
  SetHandle(dc);
  SetFont(font);
  try {
    paint();
  } catch (...) {
    SetHandle(nullptr);
    throw;
  }
  SetHandle(nullptr);
}

// ---- TWinControl ----

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

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  HMENU id = (p.Style & WS_CHILD) ? HMENU(UINT_PTR(gNextControlId++)) : nullptr;
  TWinControl* saved = gCreatingControl;
  gCreatingControl = this;
  HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                           p.Height, p.WndParent, id, GetModuleHandleA(nullptr), nullptr);
  gCreatingControl = saved;
  if (h && !FHandle) {
    FHandle = h;
    SetPropA(h, kControlProp, this);
  }
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

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* c = nullptr;
  if (gCaptureControl && gCaptureControl->FParent == this && GetCapture() == FHandle)
    c = gCaptureControl;
  else
    c = ControlAtPos(MessagePoint(m.LParam), false);
  if (!c) return false;
  POINT p = MessagePoint(m.LParam);
  TMessage cm{m.Msg, m.WParam, MAKELPARAM(p.x - c->FLeft, p.y - c->FTop), 0};
  UndoDoubleClick(c, cm);
  c->Perform(cm.Msg, cm.WParam, cm.LParam);
  m.Result = 0;
  return true;
}

void TWinControl::ReflectNotification(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_NOTIFY: {
      const NMHDR* hdr = NotifyHeader(m);
      child = hdr ? hdr->hwndFrom : nullptr;
      break;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (d && d->CtlType != ODT_MENU) child = d->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mi && mi->CtlType != ODT_MENU) child = GetDlgItem(FHandle, int(mi->CtlID));
      break;
    }
    case WM_COMPAREITEM:
      child = m.LParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem : nullptr;
      break;
    case WM_DELETEITEM:
      child = m.LParam ? reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem : nullptr;
      break;
    default:  // WM_COMMAND, WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL, WM_CHARTOITEM, WM_VKEYTOITEM
      child = HWND(m.LParam);
  }
  TWinControl* c = child ? FindVclWindow(child) : nullptr;
  if (c && c != this && ContainsControl(c)) {
    m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
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
      if (gCaptureControl && gCaptureControl->FParent == this) gCaptureControl = nullptr;
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

// ---- TGraphicControl and TCustomControl ----

ORV_DEFINE_CLASS(TGraphicControl, TControl, nullptr, {})

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(new TControlCanvas(this)) {}
TGraphicControl::~TGraphicControl() { delete FCanvas; }

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    FCanvas->PaintOn(HDC(m.WParam), FFont, [this] { Paint(); });
    return;
  }
  TControl::WndProc(m);
}

ORV_DEFINE_CLASS(TCustomControl, TWinControl, nullptr, {})

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(new TControlCanvas(this)) {
  FControlStyle |= csAcceptsControls;
}
TCustomControl::~TCustomControl() {
  DestroyHandle();
  delete FCanvas;
}

void TCustomControl::PaintWindow(HDC dc) {
  FCanvas->PaintOn(dc, FFont, [this] {
    FCanvas->Brush()->SetColor(FColor);
    Paint();
  });
}

void DrawParentBackground(TCanvas* canvas, TControl* control) {
  TWinControl* p = control ? control->GetParent() : nullptr;
  if (!p || !canvas) return;
  HDC dc = canvas->GetHandle();
  if (!dc) return;
  int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -control->GetLeft(), -control->GetTop(), nullptr);
  IntersectClipRect(dc, 0, 0, p->GetClientWidth(), p->GetClientHeight());
  p->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  p->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
}
