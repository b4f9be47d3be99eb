#include "Forms.h"

#include <algorithm>

#include "Menus.h"
#include "Prompter.h"

#include "Thread.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

// ---- TCustomForm ----

// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kBorderStyleNames() { return {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}; }
// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kPositionNames() { return {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                                        "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}; }

ORV_DEFINE_CLASS(TCustomForm, TWinControl, nullptr,
                 {RefProp<TCustomForm, TWinControl>("ActiveControl", &TCustomForm::GetActiveControl, &TCustomForm::SetActiveControl),
                  SetProp<TCustomForm>("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
                                       &TCustomForm::GetBorderIcons, &TCustomForm::SetBorderIcons),
                  EnumProp<TCustomForm, TFormBorderStyle>("BorderStyle", kBorderStyleNames(), &TCustomForm::GetBorderStyle, &TCustomForm::SetBorderStyle),
                  EnumProp<TCustomForm, TFormStyle>("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"},
                                                    &TCustomForm::GetFormStyle, &TCustomForm::SetFormStyle),
                  BoolProp<TCustomForm>("KeyPreview", &TCustomForm::GetKeyPreview, &TCustomForm::SetKeyPreview),
                  IntProp<TCustomForm>("BorderWidth", &TCustomForm::GetBorderWidth, &TCustomForm::SetBorderWidth),
                  BoolProp<TCustomForm>("Scaled", &TCustomForm::GetScaled, &TCustomForm::SetScaled),
                  RefProp<TCustomForm, TMainMenu>("Menu", &TCustomForm::GetMenu, &TCustomForm::SetMenu),
                  EnumProp<TCustomForm, TPosition>("Position", kPositionNames(), &TCustomForm::GetPosition, &TCustomForm::SetPosition),
                  EnumProp<TCustomForm, TWindowState>("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"},
                                                      &TCustomForm::GetWindowState, &TCustomForm::SetWindowState),
                  EventProp("OnActivate", &TCustomForm::OnActivate),
                  EventProp("OnClose", &TCustomForm::OnClose),
                  EventProp("OnCloseQuery", &TCustomForm::OnCloseQuery),
                  EventProp("OnCreate", &TCustomForm::OnCreate),
                  EventProp("OnDeactivate", &TCustomForm::OnDeactivate),
                  EventProp("OnDestroy", &TCustomForm::OnDestroy),
                  EventProp("OnHide", &TCustomForm::OnHide),
                  EventProp("OnPaint", &TCustomForm::OnPaint),
                  EventProp("OnShow", &TCustomForm::OnShow)})

ORV_DEFINE_CLASS(TForm, TCustomForm, nullptr, {})

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), FCanvas(new TControlCanvas(this)) {
  FVisible = false;
  FColor = clBtnFace;
  FControlStyle |= csAcceptsControls;
  FWidth = 320;
  FHeight = 240;
  Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
  MarkDestroying();
  auto& forms = Screen->FForms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Application->FMainForm == this) Application->FMainForm = nullptr;
  DestroyHandle();
  delete FCanvas;
}

void TCustomForm::BeforeDestruction() {
  if (OnDestroy && !IsDestroying()) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  TWinControl::BeforeDestruction();
}

void TCustomForm::InitLayout() {
  if (FLayoutRead) return;
  FLayoutRead = true;
  FFormState |= fsCreating;
  TLayoutBinder binder;
  DeclareLayout(binder);
  ReadLayout(this, LayoutName(), binder);
  binder.BindFields(this, LayoutName());
  FFormState &= ~unsigned(fsCreating);
  if (!OnCreate) return;
  // A failing creation handler is reported like a failing event handler; the form stays as far as the
  // handler got, so that whoever makes it (start-up, a window opened from a menu) goes on with it.
  try {
    OnCreate(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle = BiDiExStyle();
  p.WndParent = FParentWindow ? FParentWindow : Application->Handle();
  if (FParentWindow) p.Style |= WS_CHILD;
  switch (FBorderStyle) {
    case bsNone:
      if (!FParentWindow) p.Style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow:
      p.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != bsNone) {
    if (FBorderIcons & (1u << biSystemMenu)) {
      p.Style |= WS_SYSMENU;
      if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
        if (FBorderIcons & (1u << biMinimize)) p.Style |= WS_MINIMIZEBOX;
        if (FBorderIcons & (1u << biMaximize)) p.Style |= WS_MAXIMIZEBOX;
      }
      if (FBorderStyle == bsDialog && (FBorderIcons & (1u << biHelp))) p.ExStyle |= WS_EX_CONTEXTHELP;
    }
  }
  if (FFormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
}

SIZE TCustomForm::FrameSize() const {
  if (FHandle) {
    RECT w, c;
    GetWindowRect(FHandle, &w);
    ::GetClientRect(FHandle, &c);
    return SIZE{(w.right - w.left) - c.right, (w.bottom - w.top) - c.bottom};
  }
  TCreateParams p;
  const_cast<TCustomForm*>(this)->CreateParams(p);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, p.Style, FMenu != nullptr && !(p.Style & WS_CHILD), p.ExStyle);
  return SIZE{r.right - r.left + 2 * FBorderWidth, r.bottom - r.top + 2 * FBorderWidth};
}

void TCustomForm::CreateWnd() {
  RECT want = GetClientRect();  // from the frame the window is made with, menu bar included
  TWinControl::CreateWnd();
  // Every top-level window shows the program's icon (caption, task switcher).
  if (!FParentWindow) {
    if (ShowsProgramIcon()) {
      if (HICON big = Application->Icon()) SendMessageA(FHandle, WM_SETICON, ICON_BIG, LPARAM(big));
      if (HICON little = Application->Icon(true)) SendMessageA(FHandle, WM_SETICON, ICON_SMALL, LPARAM(little));
    } else {
      // Without an icon, the system loads its default one for the window when it first shows it (some
      // milliseconds); the class holds the program's, loaded already, at no message's cost. The small
      // one first: the class would otherwise copy it from the large one.
      SetClassLongPtrA(FHandle, GCLP_HICONSM, LONG_PTR(Application->Icon(true)));
      SetClassLongPtrA(FHandle, GCLP_HICON, LONG_PTR(Application->Icon()));
    }
  }
  if (!FMenu) return;
  AttachMenu();
  // A bar of owner-drawn or wrapping items may be higher than the system's standard one.
  RECT got = TWinControl::GetClientRect();
  if (got.bottom != want.bottom && !IsIconic(FHandle) && !IsZoomed(FHandle)) SetClientHeight(want.bottom);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (FMenu == menu) return;
  if (FMenu) {
    FMenu->RemoveFreeNotification(this);
    FMenu->SetWindowHandle(nullptr);
  }
  FMenu = menu;
  if (menu) menu->FreeNotification(this);
  AttachMenu();
}

void TCustomForm::AttachMenu() {
  if (!FHandle) return;
  if (FMenu) FMenu->SetWindowHandle(FHandle);
  // A window keeps its size when the menu bar comes or goes; the client area gives way.
  ::SetMenu(FHandle, FMenu ? FMenu->Handle() : nullptr);
  DrawMenuBar(FHandle);
}

void TCustomForm::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == FMenu) {
    FMenu = nullptr;
    if (FHandle && !IsDestroying()) ::SetMenu(FHandle, nullptr);
  }
}

RECT TCustomForm::GetClientRect() const {
  if (FHandle && !IsIconic(FHandle)) return TWinControl::GetClientRect();
  SIZE f = FrameSize();
  return RECT{0, 0, std::max(0, int(FWidth - f.cx)), std::max(0, int(FHeight - f.cy))};
}

void TCustomForm::SetClientWidth(int v) {
  if (IsLoading()) FWantClientWidth = v;
  SetWidth(v + FrameSize().cx);
}

void TCustomForm::SetClientHeight(int v) {
  if (IsLoading()) FWantClientHeight = v;
  SetHeight(v + FrameSize().cy);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (FBorderStyle == v) return;
  RECT client = GetClientRect();
  FBorderStyle = v;
  if (FHandle) {
    RecreateWnd();
  } else if (!IsLoading()) {
    SIZE f = FrameSize();  // keep the client area, as the class library does for a new frame
    SetBounds(FLeft, FTop, client.right + f.cx, client.bottom + f.cy);
  }
}

void TCustomForm::SetBorderWidth(int v) {
  v = std::max(0, v);
  if (FBorderWidth == v) return;
  FBorderWidth = v;
  if (FHandle)
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderIcons(unsigned v) {
  if (FBorderIcons == v) return;
  FBorderIcons = v;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  FFormStyle = v;
  if (FHandle)
    SetWindowPos(FHandle, v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState v) {
  FWindowState = v;
  if (FHandle && FVisible) {
    static const int cmd[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, cmd[v]);
  }
}

void TCustomForm::Loaded() {
  // The client size stands whatever border the layout chose before or after it.
  if (FWantClientWidth >= 0) SetWidth(FWantClientWidth + FrameSize().cx);
  if (FWantClientHeight >= 0) SetHeight(FWantClientHeight + FrameSize().cy);
  FWantClientWidth = FWantClientHeight = -1;
  TWinControl::Loaded();
}

void TCustomForm::ApplyPosition() {
  if (FPositioned) return;
  FPositioned = true;
  RECT area{0, 0, Screen->Width(), Screen->Height()};
  TCustomForm* over = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
      break;
    case poMainFormCenter:
      over = Application->MainForm();
      break;
    case poOwnerFormCenter:
      over = As<TCustomForm>(Owner());
      break;
    default:
      return;
  }
  if (over == this) over = nullptr;
  if (over) area = over->BoundsRect();
  SetBounds(area.left + ((area.right - area.left) - FWidth) / 2, area.top + ((area.bottom - area.top) - FHeight) / 2,
            FWidth, FHeight);
}

void TCustomForm::SetVisible(bool v) {
  if (IsLoading()) {
    FVisible = v;
    return;
  }
  if (v) {
    FVisible = true;
    HandleNeeded();
    ApplyPosition();
    if (!(FFormState & fsShowing) && !IsWindowVisible(FHandle)) {
      FFormState |= fsShowing;
      try {
        if (OnShow) OnShow(this);
      } catch (...) {
        FFormState &= ~unsigned(fsShowing);
        throw;
      }
      FFormState &= ~unsigned(fsShowing);
    }
    static const int cmd[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, cmd[FWindowState]);
    SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
    if (FActiveControl && GetActiveWindow() == FHandle && FActiveControl->CanFocus())
      ::SetFocus(FActiveControl->Handle());
  } else {
    if (!FVisible) return;
    FVisible = false;
    if (OnHide && !IsDestroying()) OnHide(this);
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
  }
  Perform(CM_VISIBLECHANGED, v);
}

void TCustomForm::SetModalResult(TModalResult v) {
  FModalResult = v;
  // Wake the modal loop: the value may come from a sent (synchronised) call, after which
  // GetMessage would otherwise go on waiting for a posted message.
  if (v != mrNone && (FFormState & fsModal) && FHandle) PostMessageA(FHandle, WM_NULL, 0, 0);
}

namespace {
struct TDisabledWindows {
  HWND Except;
  std::vector<HWND> List;
};
BOOL CALLBACK DisableWindow(HWND h, LPARAM l) {
  auto* d = reinterpret_cast<TDisabledWindows*>(l);
  if (h != d->Except && IsWindowVisible(h) && IsWindowEnabled(h)) {
    d->List.push_back(h);
    EnableWindow(h, FALSE);
  }
  return TRUE;
}
}  // namespace

int TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || (FFormState & fsModal))
    throw EPropertyError("Cannot make a visible window modal");
  if (GetCapture()) SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FFormState |= fsModal;
  ++Application->FModalLevel;
  HWND activeWindow = GetActiveWindow();
  TDisabledWindows disabled{HandleAllocated() ? FHandle : nullptr, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableWindow, LPARAM(&disabled));
  TModalResult result = mrNone;
  auto restore = [&]() {
    for (HWND h : disabled.List)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    FFormState &= ~unsigned(fsModal);
    --Application->FModalLevel;
  };
  try {
    Show();
    FModalResult = mrNone;
    // The loop goes on while the form is hidden (the progress window sent to the tray).
    do {
      try {
        Application->HandleMessage();
      } catch (...) {
        Application->HandleException(this);
      }
      if (Application->Terminated())
        FModalResult = mrCancel;
      else if (FModalResult != mrNone)
        CloseModal();
    } while (FModalResult == mrNone);
    result = FModalResult;
    Hide();
  } catch (...) {
    if (!IsDestroying()) Hide();
    restore();
    throw;
  }
  restore();
  return result;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone)
    FModalResult = mrNone;
  else if (action == caFree)
    Release();
}

bool TCustomForm::CloseQuery() {
  bool can = true;
  if (OnCloseQuery) OnCloseQuery(this, can);
  return can;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
  if (FFormState & fsModal) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this)
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() {
  if (FHandle)
    PostMessageA(FHandle, CM_RELEASE, 0, 0);
  else
    Free();
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  if (c == FActiveControl) return;
  if (c && (c == this || GetParentForm(c) != this || (!IsLoading() && !c->CanFocus())))
    throw EPropertyError("Cannot focus a disabled or invisible window");
  FActiveControl = c;
  if (!IsLoading() && c && FHandle && IsWindowVisible(FHandle) && GetActiveWindow() == FHandle) ::SetFocus(c->Handle());
}

void TCustomForm::FocusControl(TWinControl* c) {
  if (c && !c->CanFocus()) throw EPropertyError("Cannot focus a disabled or invisible window");
  FActiveControl = c;
  if (c) ::SetFocus(c->Handle());
}

void TCustomForm::SetFocus() {
  if (!FVisible || !FEnabled) throw EPropertyError("Cannot focus a disabled or invisible window");
  ::SetFocus(FActiveControl ? FActiveControl->Handle() : Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* c) {
  if (c == FFocusedControl) return;
  TWinControl* old = FFocusedControl;
  FFocusedControl = c;
  if (c != this) FActiveControl = c;
  // The control losing the focus finishes (its OnExit) before the new one's OnEnter and before a
  // clicked button's OnClick.
  if (old && old != this && !old->IsDestroying()) old->Perform(CM_EXIT);
  if (c && c != this && FFocusedControl == c) c->Perform(CM_ENTER);
  if (FFocusedControl == c) Perform(CM_FOCUSCHANGED, 0, LPARAM(c));
}

void TCustomForm::ControlRemoved(TWinControl* c) {
  if (FActiveControl && (FActiveControl == c || c->ContainsControl(FActiveControl))) FActiveControl = nullptr;
  if (FFocusedControl && (FFocusedControl == c || c->ContainsControl(FFocusedControl))) FFocusedControl = nullptr;
}

TWinControl* TCustomForm::FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = int(list.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[size_t(i)] == current) start = i;
  if (start < 0) start = forward ? n - 1 : 0;
  int i = start;
  for (int k = 0; k < n; ++k) {
    i = forward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[size_t(i)];
    if (c == current && k > 0) break;
    if (!c->CanFocus()) continue;
    if (checkTabStop && !c->GetTabStop()) continue;
    if (checkParent && current && c->GetParent() != current->GetParent()) continue;
    return c;
  }
  return nullptr;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* c = FindNextControl(current, forward, checkTabStop, false)) c->SetFocus();
}

void TCustomForm::SelectFirst() {
  if (TWinControl* c = FindNextControl(nullptr, true, true, false)) c->SetFocus();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC dc) {
  FCanvas->PaintOn(dc, FFont, [this] {
    FCanvas->Brush()->SetColor(FColor);
    Paint();
  });
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_ENTERIDLE:
      if (DispatchMenuMessage(FHandle, m)) return;
      break;
    case CM_MENUCHANGED:
      AttachMenu();
      return;
    case WM_DESTROY:
      // The menu outlives the window: the system would destroy a menu still attached.
      if (FMenu) ::SetMenu(FHandle, nullptr);
      break;
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case CM_RELEASE:
      Free();
      return;
    case WM_ACTIVATE: {
      DefaultHandler(m);
      bool active = LOWORD(m.WParam) != WA_INACTIVE;
      FActive = active;
      if (active && !HIWORD(m.WParam)) {
        if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
        if (FActiveControl && FActiveControl->CanFocus()) ::SetFocus(FActiveControl->Handle());
        if (OnActivate) OnActivate(this);
      } else if (!active) {
        if (OnDeactivate) OnDeactivate(this);
      }
      m.Result = 0;
      return;
    }
    case WM_SETFOCUS:
      DefaultHandler(m);
      // The form itself got the focus: hand it to the active control.
      if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated())
        ::SetFocus(FActiveControl->Handle());
      return;
    case CM_DIALOGKEY:
      if (GetKeyState(VK_MENU) >= 0) {
        if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        if ((m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN) && FActiveControl) {
          if (TWinControl* n = FindNextControl(FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false, true))
            n->SetFocus();
          m.Result = 1;
          return;
        }
      }
      break;
    case WM_GETMINMAXINFO:
      DefaultHandler(m);
      return;
    case WM_NCCALCSIZE:
      DefaultHandler(m);
      if (FBorderWidth > 0) {
        RECT& client = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0];  // also the plain RECT form
        InflateRect(&client, -FBorderWidth, -FBorderWidth);
        client.right = std::max(client.left, client.right);
        client.bottom = std::max(client.top, client.bottom);
      }
      return;
    case WM_NCPAINT:
      DefaultHandler(m);
      if (FBorderWidth > 0 && !IsIconic(FHandle)) {
        // The band between the frame and the client area, in the form's colour.
        RECT cr = ClientRectInWindow(FHandle);
        RECT band = cr;
        InflateRect(&band, FBorderWidth, FBorderWidth);
        HDC dc = GetWindowDC(FHandle);
        ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
        HBRUSH b = CreateSolidBrush(ColorToRGB(FColor));
        FillRect(dc, &band, b);
        DeleteObject(b);
        ReleaseDC(FHandle, dc);
      }
      return;
  }
  TWinControl::WndProc(m);
}

// ---- TApplication ----

namespace {
// The window that owns a popup menu: the active form of ours when there is one (a modal window's main
// window is disabled, and a menu whose owner is not the active window closes at once), else the main
// form's window, else the application's.
HWND PopupMenuOwner() {
  HWND owner = Application->Handle();
  if (Application->MainForm() && Application->MainForm()->HandleAllocated()) owner = Application->MainForm()->Handle();
  if (HWND active = GetActiveWindow())
    if (As<TCustomForm>(FindVclWindow(active)) && IsWindowEnabled(active) && IsWindowVisible(active)) owner = active;
  return owner;
}
}  // namespace

ORV_DEFINE_CLASS(TApplication, TComponent, nullptr, {})

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  size_t slash = p.find_last_of("\\/");
  std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  FTitle = dot == std::string::npos ? name : name.substr(0, dot);
  SetControlExceptionHandler([this](TObject* sender) { HandleException(sender); });
  SetDefaultPromptCaption([this] { return FTitle; });
  SetMenuEnvironment({PopupMenuOwner, [] { return Screen->MenuFont(); }});
}

TApplication::~TApplication() {
  SetDefaultPromptCaption(nullptr);
  SetMenuEnvironment({});
  // The forms first: they may still take their message hooks back.
  DestroyComponents();
  if (FHandle) DestroyWindow(FHandle);
}

void TApplication::Initialize() {
  Handle();
  // The window that services synchronised calls is not made here: it would hold up the first window
  // the program shows. TThread makes it on the main thread; a program may make it earlier.
  ThreadExceptionHandler = [this](std::exception_ptr e) { ShowException(e); };
}

LRESULT CALLBACK TApplication::AppWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  try {
    TMessage m{msg, w, l, 0};
    if (DispatchMenuMessage(h, m)) return m.Result;  // popup menus shown before any form has a window
    switch (msg) {
      case WM_CLOSE:
        if (Application->FMainForm) Application->FMainForm->Close();
        return 0;
      case WM_SYSCOMMAND:
        if ((w & 0xFFF0) == SC_MINIMIZE) {
          Application->Minimize();
          return 0;
        }
        if ((w & 0xFFF0) == SC_RESTORE) {
          Application->Restore();
          return 0;
        }
        break;
      case WM_ACTIVATEAPP:
        break;
      case WM_SETFOCUS:
        // Focus the active form rather than the invisible application window.
        if (TCustomForm* f = Screen->ActiveForm()) {
          if (f->HandleAllocated() && IsWindowVisible(f->Handle()) && IsWindowEnabled(f->Handle())) SetFocus(f->Handle());
        }
        return 0;
    }
  } catch (...) {
    Application->HandleException(Application);
    return 0;
  }
  return DefWindowProcA(h, msg, w, l);
}

HWND TApplication::Handle() {
  if (!FHandle) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = Icon();
    // Loaded with the large one; without it the class would load it again from the resources.
    wc.hIconSm = Icon(true);
    wc.lpszClassName = "TApplication";
    RegisterClassExA(&wc);
    FHandle = CreateWindowExA(0, "TApplication", FTitle.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  return FHandle;
}

HICON TApplication::Icon(bool smallSize) {
  if (!FIconsLoaded) {
    FIconsLoaded = true;
    // Shared icons of the executable's own resources: the system frees them with the program.
    for (int i = 0; i < 2; ++i)
      FIcons[i] = HICON(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                   GetSystemMetrics(i ? SM_CXSMICON : SM_CXICON),
                                   GetSystemMetrics(i ? SM_CYSMICON : SM_CYICON), LR_SHARED));
  }
  return FIcons[smallSize ? 1 : 0];
}

void TApplication::SetTitle(const std::string& t) {
  FTitle = t;
  if (FHandle) SetWindowTextA(FHandle, t.c_str());
}

void TApplication::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FMainForm) FMainForm = nullptr;
}

void TApplication::Run() {
  if (FMainForm && ShowMainForm) {
    ShowWindow(Handle(), SW_SHOWNORMAL);
    FMainForm->Show();
  }
  do {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  } while (!FTerminated);
}

void TApplication::Terminate() { PostQuitMessage(0); }

int TApplication::HookMessages(TMessageHook hook) {
  FMessageHooks.emplace_back(FNextHookId, std::move(hook));
  return FNextHookId++;
}

void TApplication::UnhookMessages(int id) {
  FMessageHooks.erase(std::remove_if(FMessageHooks.begin(), FMessageHooks.end(),
                                     [id](const std::pair<int, TMessageHook>& h) { return h.first == id; }),
                      FMessageHooks.end());
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || GetCapture()) return false;
  TWinControl* c = FindVclWindow(msg.hwnd);
  if (!c) return false;
  return c->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  // A copy: a hook may add or remove hooks.
  auto hooks = FMessageHooks;
  for (auto& h : hooks)
    if (!handled && h.second(msg)) handled = true;
  if (!handled && OnMessage) OnMessage(msg, handled);
  if (!handled && !IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::Idle() {
  if (OnIdle) OnIdle(this);
  WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
    if (FTerminated) break;
  }
}

void TApplication::Minimize() {
  ShowWindow(Handle(), SW_MINIMIZE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  ShowWindow(Handle(), SW_RESTORE);
  if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
  if (TCustomForm* f = Screen->ActiveForm()) SetForegroundWindow(f->Handle());
}

std::string TApplication::ExceptionMessage(std::exception_ptr e) {
  try {
    if (e) std::rethrow_exception(e);
  } catch (const std::exception& x) {
    return x.what();
  } catch (...) {
    return "Unknown exception";
  }
  return std::string();
}

void TApplication::ShowException(std::exception_ptr e) {
  std::string text = ExceptionMessage(e);
  if (!text.empty() && text.back() > '.') text += '.';
  TPrompt p;
  p.Text = text;
  p.Caption = FTitle;
  p.Type = mtError;
  p.Buttons = Buttons({mbOK});
  Prompter().Ask(p);
}

void TApplication::HandleException(TObject* sender) {
  std::exception_ptr e = std::current_exception();
  if (!e) return;
  if (HWND cap = GetCapture()) SendMessageA(cap, WM_CANCELMODE, 0, 0);
  if (OnException)
    OnException(sender, e);
  else
    ShowException(e);
}

// ---- TScreen ----

ORV_DEFINE_CLASS(TScreen, TComponent, nullptr, {})

TScreen::~TScreen() { delete FMenuFont; }

TFont* TScreen::MenuFont() {
  if (!FMenuFont) {
    FMenuFont = new TFont();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      FMenuFont->SetHandle(CreateFontIndirectA(&metrics.lfMenuFont));
    FMenuFont->SetColor(clMenuText);
  }
  return FMenuFont;
}

TCustomForm* TScreen::ActiveForm() const {
  HWND a = GetActiveWindow();
  for (TCustomForm* f : FForms)
    if (f->HandleAllocated() && f->Handle() == a) return f;
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* f = ActiveForm();
  return f ? f->GetActiveControl() : nullptr;
}
