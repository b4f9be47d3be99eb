// TControl, the control base: bounds, parent, visibility, text, font and colour with their change
// notifications, the mouse pipeline of one control, and the names of its enumerations. The windowed
// control is in WinControl.cpp, how messages reach the controls in ControlDispatch.cpp, the controls
// that paint on a canvas in GraphicControls.cpp.
#include "Controls.h"

#include <algorithm>

// ---- enumeration names ----

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

const std::vector<std::string>& BiDiModeNames() {
  static const std::vector<std::string> names = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                                 "bdRightToLeftReadingOnly"};
  return names;
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
  ForgetMouseControl(this);
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
