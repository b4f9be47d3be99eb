#include "FcEdit.h"

#include <uxtheme.h>
#include <windowsx.h>
#include <vssym32.h>

#include <functional>

using E = TFcCustomEdit;

// The input-method name of the layouts has no effect here.
static TPropInfo ImeNameProp() {
  TPropInfo p;
  p.Name = "ImeName";
  p.Kind = pkString;
  p.GetStr = [](TObject*) { return std::string(); };
  p.SetStr = [](TObject*, const std::string&) {};
  return p;
}

static const std::vector<std::string> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};

ORV_DEFINE_CLASS(
    TFcCustomEdit, TCustomMaskEdit, nullptr,
    {EnumProp<E, TAlignment>("Alignment", kAlignmentNames, &E::GetAlignment, &E::SetAlignment),
     BoolProp<E>("AutoSelect", &E::GetAutoSelect, &E::SetAutoSelect),
     IntProp<E>("DisabledColor", &E::GetDisabledColor, &E::SetDisabledColor, &ColorIdents()),
     IntProp<E>("FocusColor", &E::GetFocusColor, &E::SetFocusColor, &ColorIdents()),
     IntProp<E>("ReadOnlyColor", &E::GetReadOnlyColor, &E::SetReadOnlyColor, &ColorIdents()),
     BoolProp<E>("ReadOnlyColorOnFocus", &E::GetReadOnlyColorOnFocus, &E::SetReadOnlyColorOnFocus),
     BoolProp<E>("FrameVisible", &E::GetFrameVisible, &E::SetFrameVisible),
     EnumProp<E, TFrameStyleEx>("FrameStyle", FrameStyleNames(), &E::GetFrameStyle, &E::SetFrameStyle),
     IntProp<E>("FrameColor", &E::GetFrameColor, &E::SetFrameColor, &ColorIdents()),
     BoolProp<E>("FrameHotTrack", &E::GetFrameHotTrack, &E::SetFrameHotTrack),
     EnumProp<E, TFrameStyleEx>("FrameHotStyle", FrameStyleNames(), &E::GetFrameHotStyle, &E::SetFrameHotStyle),
     IntProp<E>("FrameHotColor", &E::GetFrameHotColor, &E::SetFrameHotColor, &ColorIdents()),
     SetProp<E>("FrameSides", SideNames(), &E::GetFrameSides, &E::SetFrameSides),
     EnumProp<E, TFramingPreference>("FramingPreference", FramingPreferenceNames(), &E::GetFramingPreference,
                                     &E::SetFramingPreference),
     BoolProp<E>("TabOnEnter", &E::GetTabOnEnter, &E::SetTabOnEnter),
     BoolProp<E>("ReadOnly", &E::GetEdReadOnly, &E::SetEdReadOnly),
     FrameControllerProp<E>(), FrameControllerNotificationsProp<E>(), FcAboutProp(),
     ImeNameProp(), FrameFlatProp<E>(),
     EnumProp<E, TFrameStyleEx>("FrameFocusStyle", FrameStyleNames(), &E::GetFrameHotStyle, &E::SetFrameHotStyle),
     TFcOldPropReader::Identifier("FrameFlatStyle", FrameStyleNames())})
ORV_DEFINE_CLASS(TFcEdit, TFcCustomEdit, FactoryOf<TFcEdit>(), {})

namespace {
std::function<void()>& BeepHook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void TFcCustomEdit::SetBeepHook(std::function<void()> hook) { BeepHook() = std::move(hook); }

TFcCustomEdit::TFcCustomEdit(TComponent* owner) : TCustomMaskEdit(owner) {
  FControlStyle |= csCaptureMouse;
  FControlStyle &= ~unsigned(csSetCaption);
}

TFcCustomEdit::~TFcCustomEdit() = default;

void TFcCustomEdit::Notification(TComponent* component, TOperation op) {
  TCustomMaskEdit::Notification(component, op);
  if (op == opRemove) FFrameLink.Removed(component);
}

void TFcCustomEdit::CreateParams(TCreateParams& p) {
  TCustomMaskEdit::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
  if (FAlignment == taRightJustify) p.Style |= ES_RIGHT;
  if (FAlignment == taCenter) p.Style |= ES_CENTER;
  p.Style &= ~DWORD(ES_MULTILINE);
}

void TFcCustomEdit::SetAlignment(TAlignment v) {
  if (v == FAlignment) return;
  FAlignment = v;
  if (HandleAllocated()) RecreateWnd();
}

void TFcCustomEdit::BeepIfAllowed() {
  if (!FBeepOnInvalidKey) return;
  if (BeepHook())
    BeepHook()();
  else
    MessageBeep(0);
}

int TFcCustomEdit::GetSelStart() {
  if (!HandleAllocated()) return 0;
  DWORD s = 0, e = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&s), LPARAM(&e));
  return int(s);
}
int TFcCustomEdit::GetSelLength() {
  if (!HandleAllocated()) return 0;
  DWORD s = 0, e = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&s), LPARAM(&e));
  return int(e - s);
}
void TFcCustomEdit::SetSel(int start, int length) {
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, WPARAM(start), LPARAM(start + length));
}

// ---- state colours ----

void TFcCustomEdit::ApplyStateColor() {
  if (IsLoading()) return;
  TColor c;
  if (!FEnabled)
    c = FDisabledColor;
  else if (FFocusActive)
    c = EffectiveReadOnly() && FReadOnlyColorOnFocus ? FReadOnlyColor : FFocusColor;
  else if (EffectiveReadOnly())
    c = FReadOnlyColor;
  else
    c = FIdleColor;
  FColorUpdating = true;
  try {
    SetColor(c);
  } catch (...) {
    FColorUpdating = false;
    throw;
  }
  FColorUpdating = false;
}

void TFcCustomEdit::SetDisabledColor(TColor v) {
  FDisabledColor = v;
  if (!FEnabled) ApplyStateColor();
}
void TFcCustomEdit::SetFocusColor(TColor v) {
  FFocusColor = v;
  if (FFocusActive) ApplyStateColor();
}
void TFcCustomEdit::SetReadOnlyColor(TColor v) {
  FReadOnlyColor = v;
  if (EffectiveReadOnly()) ApplyStateColor();
}

void TFcCustomEdit::SetEdReadOnly(bool v) {
  if (v == FReadOnly) return;
  SetReadOnly(v);
  ReadOnlyStateChanged();
}

void TFcCustomEdit::ReadOnlyStateChanged() {
  if (EffectiveReadOnly())
    ReadOnlyOnHook();
  else
    ReadOnlyOffHook();
  ApplyStateColor();
  InvalidateNonClientFrame();
}

void TFcCustomEdit::SetActiveState(bool viaMouse, bool active) {
  if (viaMouse)
    FMouseInside = active;
  else
    FFocusActive = active;
  if (FDropButtonShown)
    RedrawButtonStrip();
  else if (FFrameHotTrack)
    InvalidateNonClientFrame();
  ApplyStateColor();
}

void TFcCustomEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  ApplyStateColor();
  SetActiveState(false, false);
}

// ---- frame ----

bool TFcCustomEdit::ThemedFrameInUse() const { return FFramingPreference == fpXPThemes && FcThemesEnabled(); }

void TFcCustomEdit::InvalidateNonClientFrame() {
  if (!HandleAllocated()) return;
  RECT r = GetClientRect();
  RedrawWindowFrame(Handle(), r);
}

RECT TFcCustomEdit::TextArea() { return GetClientRect(); }

void TFcCustomEdit::SetFrameVisible(bool v) {
  if (v == FFrameVisible) return;
  FFrameVisible = v;
  if (HandleAllocated()) RecreateWnd();
}
void TFcCustomEdit::SetFrameStyle(TFrameStyleEx v) {
  if (v == FFrameStyle) return;
  FFrameStyle = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameColor(TColor v) {
  if (v == FFrameColor) return;
  FFrameColor = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameHotStyle(TFrameStyleEx v) {
  if (v == FFrameHotStyle) return;
  FFrameHotStyle = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameHotColor(TColor v) {
  if (v == FFrameHotColor) return;
  FFrameHotColor = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameSides(unsigned v) {
  if (v == FFrameSides) return;
  FFrameSides = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameHotTrack(bool v) {
  if (v == FFrameHotTrack) return;
  FFrameHotTrack = v;
  if (v) {
    SetFrameVisible(true);
    if (!IsLoading()) FFrameSides = AllSides;
  }
  InvalidateNonClientFrame();
  Invalidate();
}
void TFcCustomEdit::SetFramingPreference(TFramingPreference v) {
  if (v == FFramingPreference) return;
  FFramingPreference = v;
  if (v == fpCustomFraming) InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFlatButtons(bool v) {
  FFlatButtons = v;
  InvalidateNonClientFrame();
}

void TFcCustomEdit::PaintOnWindowDC(const std::function<void(HDC)>& paint) {
  HWND h = Handle();
  HDC dc = GetWindowDC(h);
  FNonClientCanvas.SetHandle(dc);
  try {
    paint(dc);
  } catch (...) {
    FNonClientCanvas.SetHandle(nullptr);
    ReleaseDC(h, dc);
    throw;
  }
  FNonClientCanvas.SetHandle(nullptr);
  ReleaseDC(h, dc);
}

void TFcCustomEdit::PaintNonClient() {
  if (!FFrameVisible || ThemedFrameInUse() || !HandleAllocated()) return;
  PaintOnWindowDC([this](HDC) {
    bool hot = FFrameHotTrack && Hot();
    PaintEditFrame(&FNonClientCanvas, FWidth, FHeight, hot ? FFrameHotStyle : FFrameStyle, FColor,
                   hot ? FFrameHotColor : FFrameColor, FFrameSides, false);
  });
}

// ---- messages ----

void TFcCustomEdit::KeyPress(char& key) {
  if (FTabOnEnter && key == '\r') {
    key = 0;
    PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  TCustomMaskEdit::KeyPress(key);
}

void TFcCustomEdit::KeyDown(WORD& key, TShiftState shift) {
  TCustomMaskEdit::KeyDown(key, shift);
  if (!FDropButtonShown || !key) return;
  if ((key == VK_DOWN && (shift & ssAlt)) || (key == VK_F4 && !(shift & (ssAlt | ssCtrl | ssShift)))) {
    key = 0;
    RunDropDown(false);
  }
}

void TFcCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_COLORCHANGED:
    case CM_PARENTCOLORCHANGED: {
      if (m.Msg == CM_PARENTCOLORCHANGED) {
        TCustomMaskEdit::WndProc(m);  // adopts the parent's colour when ParentColor is on
        return;
      }
      if (!FColorUpdating) {
        if (FFocusColor == FIdleColor) FFocusColor = FColor;
        FIdleColor = FColor;
      }
      TCustomMaskEdit::WndProc(m);
      if (FFrameVisible && !ThemedFrameInUse()) InvalidateNonClientFrame();
      return;
    }
    case CM_ENABLEDCHANGED:
      TCustomMaskEdit::WndProc(m);
      ApplyStateColor();
      if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      return;
    case CM_ENTER:
      SetActiveState(false, true);
      TCustomMaskEdit::WndProc(m);
      return;
    case CM_EXIT:
      TCustomMaskEdit::WndProc(m);
      SetActiveState(false, false);
      return;
    case CM_MOUSEENTER:
      TCustomMaskEdit::WndProc(m);
      SetActiveState(true, true);
      return;
    case CM_MOUSELEAVE:
      TCustomMaskEdit::WndProc(m);
      SetActiveState(true, false);
      return;
    case CM_TEXTCHANGED:
      // Without a window the system sends no change notice; the text changed all the same.
      TCustomMaskEdit::WndProc(m);
      if (!HandleAllocated() && !IsLoading()) Change();
      return;
    case WM_NCPAINT:
      TCustomMaskEdit::WndProc(m);
      PaintNonClient();
      if (FFrameVisible && !ThemedFrameInUse()) m.Result = 0;
      PaintDropButtonArea();
      return;
    case WM_NCCALCSIZE:
      TCustomMaskEdit::WndProc(m);
      if (FDropButtonShown) {
        RECT& client = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0];  // also the plain RECT form
        client.right = std::max(client.left, client.right - DropButtonWidth());
      }
      return;
    case WM_NCHITTEST: {
      TCustomMaskEdit::WndProc(m);
      if (!FDropButtonShown) return;
      // The button strip is no part the system knows: the mouse over it is ours. The system gives
      // the same answer over the sunken border, which stays no part of the button.
      RECT b = DropButtonRect(), wr;
      GetWindowRect(Handle(), &wr);
      POINT p{GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top};
      FPointerOnButton = m.Result == HTNOWHERE && PtInRect(&b, p);
      if (FPointerOnButton) m.Result = HTCLIENT;
      return;
    }
    case WM_SETCURSOR:
      if (FDropButtonShown && FPointerOnButton && LOWORD(m.LParam) == HTCLIENT) {
        ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        m.Result = TRUE;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FDropButtonShown && FPointerOnButton) {
        if (!Focused() && CanFocus()) SetFocus();
        RunDropDown(true);
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (FDropButtonShown) {
        if (!FDroppedDown) SetDropButtonState(dbsUp);
        if (GetCapture() == Handle()) ReleaseCapture();
        if (FPointerOnButton) return;
      }
      break;
    case WM_KILLFOCUS:
      if (FDropButtonShown) {
        if (!FDroppedDown) SetDropButtonState(dbsUp);
        if (GetCapture() == Handle()) ReleaseCapture();
      }
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      if (FDropButtonShown && FPointerOnButton) return;  // no context menu over the button
      break;
    case WM_SIZE:
      TCustomMaskEdit::WndProc(m);
      if (FFrameVisible && !ThemedFrameInUse()) InvalidateNonClientFrame();
      return;
  }
  TCustomMaskEdit::WndProc(m);
}

// ---- drop button ----

void TFcCustomEdit::SetDropButtonShown(bool v) {
  FDropButtonShown = v;
  if (!v) FPointerOnButton = false;
  if (HandleAllocated()) RecreateWnd();
}

void TFcCustomEdit::SetDropButtonState(TDropButtonState v) {
  if (!FDropButtonShown || v == FDropButtonState) return;
  FDropButtonState = v;
  if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
}

int TFcCustomEdit::DropButtonWidth() const { return GetSystemMetrics(SM_CXVSCROLL) - (FcThemesEnabled() ? 1 : 0); }

RECT TFcCustomEdit::DropButtonRect() const {
  if (!FDropButtonShown || !HandleAllocated()) return RECT{0, 0, 0, 0};
  RECT r;
  GetWindowRect(FHandle, &r);
  OffsetRect(&r, -r.left, -r.top);
  int inset = FcThemesEnabled() ? 1 : (GetWindowLongA(FHandle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ? 2 : 0;
  InflateRect(&r, -inset, -inset);
  r.left = std::max(r.left, r.right - DropButtonWidth());
  return r;
}

void TFcCustomEdit::RunDropDown(bool fromMouse) {
  FDroppedDown = true;
  // The press holds the mouse until its release; a key takes nothing from the mouse.
  if (fromMouse) SetCapture(Handle());
  SetDropButtonState(dbsDown);
  try {
    if (OnDropDown) OnDropDown(this);
    if (OnCloseUp) OnCloseUp(this);
  } catch (...) {
    FDroppedDown = false;
    SetDropButtonState(dbsUp);
    throw;
  }
  SetDropButtonState(dbsUp);
  FDroppedDown = false;
}

void TFcCustomEdit::RedrawButtonStrip() {
  if (!HandleAllocated() || FDropButtonState == dbsDown) return;
  if (!(FFlatButtons || FFrameHotTrack || FcThemesEnabled())) return;
  RECT r = GetClientRect();
  if (!FFrameHotTrack) r.left = std::max(r.left, r.right - 2);
  r.right += DropButtonWidth() + 2;
  RedrawWindowFrame(Handle(), r);
}

void TFcCustomEdit::PaintDropButtonArea() {
  if (!FDropButtonShown || !HandleAllocated()) return;
  PaintOnWindowDC([this](HDC dc) {
    // Inside the border: the button, and what lies between it and the text (nothing with the usual
    // border) in the edit's colour.
    RECT button = DropButtonRect(), inner;
    GetWindowRect(Handle(), &inner);
    OffsetRect(&inner, -inner.left, -inner.top);
    InflateRect(&inner, -button.top, -button.top);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    PaintDropButton(button);
    ExcludeClipRect(dc, button.left, button.top, button.right, button.bottom);
    RECT client = ClientRectInWindow(Handle());
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FNonClientCanvas.Brush()->SetColor(FColor);
    FNonClientCanvas.FillRect(inner);
  });
}

void TFcCustomEdit::PaintDropButton(const RECT& r) {
  TCanvas* canvas = &FNonClientCanvas;
  HDC dc = canvas->GetHandle();
  if (!dc) return;  // only while the non-client area is painted
  bool down = FDropButtonState == dbsDown;
  bool hot = Hot();
  if (FcThemesEnabled()) {
    if (FFlatButtons && !hot) {
      canvas->Brush()->SetColor(FColor);
      canvas->FillRect(r);
      PaintDropDownArrow(canvas, r, true, false, FEnabled);
    } else {
      int state = !FEnabled ? CBXS_DISABLED : down ? CBXS_PRESSED : hot ? CBXS_HOT : CBXS_NORMAL;
      DrawThemePart(dc, L"COMBOBOX", CP_DROPDOWNBUTTON, state, r);
    }
  } else if (!FFlatButtons) {
    RECT b = r;
    UINT state = DFCS_SCROLLCOMBOBOX | (down ? DFCS_PUSHED | DFCS_FLAT : 0) | (FEnabled ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &b, DFC_SCROLL, state);
  } else if (hot) {
    RECT face = FFlatButtonColor == clBtnFace ? PaintSides(canvas, r, clBtnHighlight, clBtnShadow, AllSides)
                                              : PaintColorBorder(canvas, r, FFlatButtonColor, fsPopup);
    canvas->Brush()->SetColor(FFlatButtonColor);
    canvas->FillRect(face);
    PaintDropDownArrow(canvas, face, false, down, FEnabled);
  } else {
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(r);
    PaintDropDownArrow(canvas, r, false, false, FEnabled);
  }
}

// ---- mask ----

void TFcCustomEdit::ValidateError(int position) {
  std::string message;
  if (OnValidateError) OnValidateError(this, message);
  if (!message.empty()) throw EDBEditError(message);
  TCustomMaskEdit::ValidateError(position);
}
