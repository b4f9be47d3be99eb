// How messages reach the controls: the window classes and the one window procedure with its exception
// boundary, the control behind a window, the shift states of mouse and key messages, mouse enter and
// leave, mouse capture, a window's mouse messages handed to its graphic children and the notifications
// a parent receives handed to the child they concern.
#include "Controls.h"

#include <windowsx.h>

#include "Forms.h"

namespace {

const char* const kControlProp = "OrvControl";
thread_local TWinControl* gCreatingControl = nullptr;
TControl* gMouseControl = nullptr;
TControl* gCaptureControl = nullptr;  // a graphic control that has the mouse (through its parent)
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

// Without csDoubleClicks a second fast press arrives as an ordinary press.
void UndoDoubleClick(TControl* c, TMessage& m) {
  if (c->ControlStyle() & csDoubleClicks) return;
  if (m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK)
    m.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
}

}  // namespace

POINT MessagePoint(LPARAM l) { return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

bool IsMouseMessage(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }

// ---- shift states ----

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

// ---- exceptions inside message handling ----

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

TControl* MouseControl() { return gMouseControl; }
TControl* CaptureControl() { return gCaptureControl; }

void ForgetMouseControl(TControl* c) {
  if (gMouseControl == c) gMouseControl = nullptr;
  if (gCaptureControl == c) gCaptureControl = nullptr;
}

// ---- mouse capture ----

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

void ReleaseGraphicCapture(TWinControl* parent) {
  if (gCaptureControl && gCaptureControl->GetParent() == parent) gCaptureControl = nullptr;
}

// ---- mouse messages to graphic children, notifications to the child they concern ----

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
