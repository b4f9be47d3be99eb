#include "TrayIcon.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "Forms.h"
#include "Timer.h"

LRESULT CALLBACK TrayIconHandlerProc(HWND h, UINT msg, WPARAM w, LPARAM l);

namespace {

// Registered only when the shell can broadcast it (common controls 4.71 and later).
UINT RegisterTaskbarCreated() {
  return CommonControlsVersion() >= 0x00040047 ? RegisterWindowMessageA("TaskbarCreated") : 0;
}

TShellNotifyIconFn& ShellNotifyIcon() {
  static TShellNotifyIconFn fn;
  return fn;
}

struct TIconRegistry {
  THiddenWindow Window{"TTrayIconHandler", TrayIconHandlerProc};
  std::set<TTrayIcon*> Icons;  // live icons; a notification for any other is stale
  WNDPROC OldAppProc = nullptr;
  HWND HookedApp = nullptr;
};

TIconRegistry& Registry() {
  static TIconRegistry r;
  return r;
}

void CopyCut(char* dest, size_t capacity, const std::string& text) {
  std::memset(dest, 0, capacity);
  std::memcpy(dest, text.data(), std::min(text.size(), capacity - 1));
}

TShiftState AsyncShiftState(TShiftState button) {
  TShiftState s = button;
  if (GetAsyncKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetAsyncKeyState(VK_MENU) < 0) s |= ssAlt;
  if (GetAsyncKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  return s;
}

}  // namespace

DWORD CommonControlsVersion() {
  HMODULE lib = GetModuleHandleA("comctl32.dll");
  if (!lib) return CommonControlsFileVersion();
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(lib, "DllGetVersion"));
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  return getVersion && SUCCEEDED(getVersion(&info)) ? (info.dwMajorVersion << 16) | info.dwMinorVersion : 0;
}

DWORD CommonControlsFileVersion() {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA("comctl32.dll", &ignored);
  if (size == 0) return 0;
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoA("comctl32.dll", 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info || length < sizeof *info)
    return 0;
  return info->dwFileVersionMS;  // major in the high word, minor in the low word
}

const UINT WM_TASKBARCREATED = RegisterTaskbarCreated();

void SetShellNotifyIcon(TShellNotifyIconFn fn) { ShellNotifyIcon() = std::move(fn); }

TTrayMenuServices& TrayMenuServices() {
  static TTrayMenuServices s{
      [](TComponent* menu) { return !HasProp(menu, "AutoPopup") || GetOrdProp(menu, "AutoPopup") != 0; },
      [](TComponent*, TComponent*, int, int) {}, [](TComponent*) { return false; }};
  return s;
}

// ---- the shared handler window ----

LRESULT CALLBACK TrayIconHandlerProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  TIconRegistry& reg = Registry();
  if (msg == WM_TRAYNOTIFY) {
    auto* icon = reinterpret_cast<TTrayIcon*>(w);
    if (!reg.Icons.count(icon)) return 0;  // the icon is gone
    try {
      icon->HandleIconMessage(UINT(l));
    } catch (...) {
      HandleControlException(icon);
    }
    return 0;
  }
  if (WM_TASKBARCREATED != 0 && msg == WM_TASKBARCREATED) {
    // The shell restarted and forgot every icon: the visible ones come back.
    auto icons = reg.Icons;
    for (TTrayIcon* icon : icons)
      if (reg.Icons.count(icon) && icon->GetIconVisible()) icon->ShowIcon();
    return 0;
  }
  switch (msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
      return 1;
  }
  return DefWindowProcA(h, msg, w, l);
}

// Messages of the application's hidden window; passed on unchanged.
LRESULT CALLBACK TrayApplicationProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  TIconRegistry& reg = Registry();
  auto icons = reg.Icons;
  for (TTrayIcon* icon : icons) {
    if (!reg.Icons.count(icon)) continue;
    try {
      icon->ApplicationHook(msg, w, l);
    } catch (...) {
      HandleControlException(icon);
    }
  }
  return CallWindowProcA(reg.OldAppProc, h, msg, w, l);
}

HWND TTrayIcon::HandlerWindow() { return Registry().Window.Existing(); }

// ---- class info ----

ORV_DEFINE_CLASS(TTrayIcon, TComponent, FactoryOf<TTrayIcon>(),
                 {BoolProp<TTrayIcon>("DesignPreview", &TTrayIcon::GetDesignPreview, &TTrayIcon::SetDesignPreview),
                  RefProp<TTrayIcon, TImageList>("IconList", &TTrayIcon::GetIconList, &TTrayIcon::SetIconList),
                  BoolProp<TTrayIcon>("CycleIcons", &TTrayIcon::GetCycleIcons, &TTrayIcon::SetCycleIcons),
                  IntProp<TTrayIcon>("CycleInterval", &TTrayIcon::GetCycleInterval, &TTrayIcon::SetCycleInterval),
                  BoolProp<TTrayIcon>("Enabled", &TTrayIcon::GetEnabled, &TTrayIcon::SetEnabled),
                  StrProp<TTrayIcon>("Hint", &TTrayIcon::GetHint, &TTrayIcon::SetHint),
                  BoolProp<TTrayIcon>("ShowHint", &TTrayIcon::GetShowHint, &TTrayIcon::SetShowHint),
                  ObjProp<TTrayIcon, TIcon>("Icon", &TTrayIcon::GetIcon, &TTrayIcon::SetIcon),
                  BoolProp<TTrayIcon>("IconVisible", &TTrayIcon::GetIconVisible, &TTrayIcon::SetIconVisible),
                  IntProp<TTrayIcon>("IconIndex", &TTrayIcon::GetIconIndex, &TTrayIcon::SetIconIndex),
                  RefProp<TTrayIcon, TComponent>("PopupMenu", &TTrayIcon::GetPopupMenu, &TTrayIcon::SetPopupMenu),
                  BoolProp<TTrayIcon>("LeftPopup", &TTrayIcon::GetLeftPopup, &TTrayIcon::SetLeftPopup),
                  BoolProp<TTrayIcon>("WantEnterExitEvents", &TTrayIcon::GetWantEnterExitEvents,
                                      &TTrayIcon::SetWantEnterExitEvents),
                  BoolProp<TTrayIcon>("MinimizeToTray", &TTrayIcon::GetMinimizeToTray, &TTrayIcon::SetMinimizeToTray),
                  EventProp("OnClick", &TTrayIcon::OnClick),
                  EventProp("OnDblClick", &TTrayIcon::OnDblClick),
                  EventProp("OnMouseDown", &TTrayIcon::OnMouseDown),
                  EventProp("OnMouseUp", &TTrayIcon::OnMouseUp),
                  EventProp("OnMouseMove", &TTrayIcon::OnMouseMove),
                  EventProp("OnMouseEnter", &TTrayIcon::OnMouseEnter),
                  EventProp("OnMouseExit", &TTrayIcon::OnMouseExit),
                  EventProp("OnCycle", &TTrayIcon::OnCycle),
                  EventProp("OnBalloonHintShow", &TTrayIcon::OnBalloonHintShow),
                  EventProp("OnBalloonHintHide", &TTrayIcon::OnBalloonHintHide),
                  EventProp("OnBalloonHintTimeout", &TTrayIcon::OnBalloonHintTimeout),
                  EventProp("OnBalloonHintClick", &TTrayIcon::OnBalloonHintClick),
                  EventProp("OnMinimizeToTray", &TTrayIcon::OnMinimizeToTray),
                  EventProp("OnStartup", &TTrayIcon::OnStartup)})

// ---- life ----

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner), FIcon(new TIcon) {
  TIconRegistry& reg = Registry();
  reg.Icons.insert(this);

  FIcon->OnChange = [this](TObject*) {
    if (!FIconChanging) ModifyIcon();
  };
  std::memset(&FNotifyData, 0, sizeof(FNotifyData));
  FNotifyData.cbSize = TrayNotifyDataSize;
  FNotifyData.hWnd = reg.Window.Handle();
  FNotifyData.uID = UINT(reinterpret_cast<UINT_PTR>(this));
  FNotifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FNotifyData.uCallbackMessage = WM_TRAYNOTIFY;

  FIconCycleTimer = new TSimpleTimer(1000, [this](TObject*) { CycleTick(); });
  FDoubleClickTimer = new TSimpleTimer(1000, [this](TObject*) { DoubleClickTick(); });
  FExitPollTimer = new TSimpleTimer(20, [this](TObject*) { ExitPollTick(); });

  // The application's hidden window: minimising, restoring, the main form's first showing.
  HWND app = Application->Handle();
  if (!reg.HookedApp) {
    reg.OldAppProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(app, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayApplicationProc)));
    reg.HookedApp = app;
  }
  // The owner window: showing and minimising.
  if ((FOwnerControl = dynamic_cast<TWinControl*>(owner))) {
    FOldOwnerProc = FOwnerControl->WindowProc;
    FOwnerControl->WindowProc = [this](TMessage& m) { OwnerWindowProc(m); };
  }
}

TTrayIcon::~TTrayIcon() {
  HideIcon();
  FDesignPreview = false;
  delete FIconCycleTimer;
  delete FDoubleClickTimer;
  delete FExitPollTimer;
  try {
    delete FIcon;
  } catch (...) {
  }
  TIconRegistry& reg = Registry();
  reg.Icons.erase(this);
  // An owner that frees this icon is already gone past its window procedure; only a living owner
  // gets its own procedure back.
  if (FOwnerControl && Owner() == FOwnerControl && !FOwnerControl->IsDestroying())
    FOwnerControl->WindowProc = FOldOwnerProc;
  if (reg.Icons.empty()) {
    if (reg.HookedApp && IsWindow(reg.HookedApp) &&
        GetWindowLongPtrA(reg.HookedApp, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(TrayApplicationProc))
      SetWindowLongPtrA(reg.HookedApp, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(reg.OldAppProc));
    reg.HookedApp = nullptr;
    reg.Window.Destroy();
  }
}

bool TTrayIcon::AskStartup() {
  bool show = true;
  if (OnStartup) OnStartup(this, show);
  return show;
}

void TTrayIcon::Loaded() {
  TComponent::Loaded();
  if (FOwnerControl && !AskStartup()) {
    Application->ShowMainForm = false;
    HideMainWindow();
  }
  ModifyIcon();
  SetIconVisible(FIconVisible);
  SetCycleIcons(FCycleIcons);
  SetWantEnterExitEvents(FWantEnterExitEvents);
  SetNotifyVersion(FNotifyVersion);
}

void TTrayIcon::Notification(TComponent* component, TOperation op) {
  TComponent::Notification(component, op);
  if (op != opRemove) return;
  if (component == FIconList) {
    FIconList = nullptr;
    FIconIndex = 0;
  }
  if (component == FPopupMenu) FPopupMenu = nullptr;
}

// ---- shell requests ----

bool TTrayIcon::Notify(DWORD message) {
  if (IsLoading()) return false;  // Loaded brings the shell up to date
  const TShellNotifyIconFn& fn = ShellNotifyIcon();
  return (fn ? fn(message, &FNotifyData) : Shell_NotifyIconA(message, &FNotifyData)) != FALSE;
}

void TTrayIcon::PrepareNotifyData() {
  FNotifyData.hIcon = FIcon->GetHandle();
  if (!FHint.empty() && FShowHint)
    CopyCut(FNotifyData.szTip, sizeof(FNotifyData.szTip), FHint);
  else
    std::memset(FNotifyData.szTip, 0, sizeof(FNotifyData.szTip));
}

bool TTrayIcon::ShowIcon() {
  if (!FInPreviewChange) FIconVisible = true;
  PrepareNotifyData();
  return Notify(NIM_ADD);
}

bool TTrayIcon::HideIcon() {
  if (!FInPreviewChange) FIconVisible = false;
  PrepareNotifyData();
  return Notify(NIM_DELETE);
}

bool TTrayIcon::ModifyIcon() {
  PrepareNotifyData();
  return Notify(NIM_MODIFY);
}

bool TTrayIcon::HideBalloonHint() {
  FNotifyData.uFlags |= NIF_INFO;
  std::memset(FNotifyData.szInfo, 0, sizeof(FNotifyData.szInfo));
  bool ok = ModifyIcon();
  FNotifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  return ok;
}

bool TTrayIcon::ShowBalloonHint(const std::string& title, const std::string& text, TBalloonHintIcon iconKind,
                                uint8_t timeoutSeconds) {
  HideBalloonHint();
  static const DWORD kInfoFlags[] = {NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR};
  FNotifyData.uFlags |= NIF_INFO;
  CopyCut(FNotifyData.szInfo, sizeof(FNotifyData.szInfo), text);
  CopyCut(FNotifyData.szInfoTitle, sizeof(FNotifyData.szInfoTitle), title);
  FNotifyData.uTimeout = UINT(timeoutSeconds) * 1000;
  FNotifyData.dwInfoFlags = kInfoFlags[iconKind <= bitError ? iconKind : bitNone];
  bool ok = ModifyIcon();
  FNotifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  return ok;
}

bool TTrayIcon::SetNotifyVersion(int version) {
  FNotifyVersion = version == 1 ? 1 : 0;
  FNotifyData.uVersion = FNotifyVersion == 1 ? NOTIFYICON_VERSION : 0;
  return Notify(NIM_SETVERSION);
}

// ---- properties ----

void TTrayIcon::SetIconVisible(bool v) {
  if (v)
    ShowIcon();
  else
    HideIcon();
}

void TTrayIcon::SetHint(const std::string& v) {
  // The conversion sets the hint for every line the encoder prints; most leave it as it was, and each
  // call to the shell costs a round trip to it.
  if (v == FHint) return;
  FHint = v;
  ModifyIcon();
}

void TTrayIcon::SetShowHint(bool v) {
  FShowHint = v;
  ModifyIcon();
}

void TTrayIcon::SetIcon(TIcon* v) {
  FIconChanging = true;
  try {
    FIcon->Assign(v);
  } catch (...) {
    FIconChanging = false;
    throw;
  }
  FIconChanging = false;
  ModifyIcon();
}

void TTrayIcon::CopyListImageToIcon() {
  if (!FIconList || FIconIndex < 0 || FIconIndex >= FIconList->Count()) return;
  HICON h = ImageList_GetIcon(FIconList->Handle(), FIconIndex, ILD_NORMAL);
  FIconChanging = true;
  FIcon->SetHandle(h);
  FIconChanging = false;
}

void TTrayIcon::SetIconList(TImageList* v) {
  if (FIconList) FIconList->RemoveFreeNotification(this);
  FIconList = v;
  if (v) v->FreeNotification(this);
  SetIconIndex(0);
}

void TTrayIcon::SetIconIndex(int v) {
  if (FIconList) {
    FIconIndex = std::max(0, std::min(v, FIconList->Count() - 1));
    CopyListImageToIcon();
  } else {
    FIconIndex = 0;
  }
  ModifyIcon();
}

void TTrayIcon::SetCycleIcons(bool v) {
  FCycleIcons = v;
  if (!v) {
    FIconCycleTimer->Stop(true);
    return;
  }
  SetIconIndex(0);
  FIconCycleTimer->SetInterval(FCycleInterval);
  FIconCycleTimer->Start();
}

void TTrayIcon::SetCycleInterval(int v) {
  FCycleInterval = unsigned(std::max(0, v));
  SetCycleIcons(FCycleIcons);
}

void TTrayIcon::SetWantEnterExitEvents(bool v) {
  FWantEnterExitEvents = v;
  if (v)
    FExitPollTimer->Start();
  else
    FExitPollTimer->Stop(true);
}

void TTrayIcon::SetPopupMenu(TComponent* v) {
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = v;
  if (v) v->FreeNotification(this);
}

void TTrayIcon::SetDesignPreview(bool v) {
  FDesignPreview = v;
  if (!(ComponentState() & csDesigning)) return;
  FInPreviewChange = true;
  if (v) {
    if (FIcon->Empty()) FIcon->SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
    ShowIcon();
  } else {
    HideIcon();
  }
  FInPreviewChange = false;
}

// ---- events ----

void TTrayIcon::DoClick() {
  if (OnClick) OnClick(this);
}
void TTrayIcon::DoDblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TTrayIcon::DoCycle(int nextIndex) {
  if (OnCycle) OnCycle(this, nextIndex);
}
void TTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TTrayIcon::DoMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TTrayIcon::DoMouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}

void TTrayIcon::DoMinimizeToTray() {
  HideMainWindow();
  SetIconVisible(true);
}

// ---- the shell's notifications ----

void TTrayIcon::HandleIconMessage(UINT msg) {
  switch (msg) {  // balloon notifications arrive whatever Enabled says
    case NIN_BALLOONSHOW:
      if (OnBalloonHintShow) OnBalloonHintShow(this);
      return;
    case NIN_BALLOONHIDE:
      if (OnBalloonHintHide) OnBalloonHintHide(this);
      return;
    case NIN_BALLOONTIMEOUT:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
      return;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      return;
  }
  if (!FEnabled) return;
  POINT p{0, 0};
  GetCursorPos(&p);
  switch (msg) {
    case WM_MOUSEMOVE:
      if (FWantEnterExitEvents && FMouseOutside) {
        DoMouseEnter();
        FMouseOutside = false;
      }
      DoMouseMove(AsyncShiftState(0), p.x, p.y);
      FLastMousePos = p;
      break;
    case WM_LBUTTONDOWN:
      if (OnDblClick) {
        FDoubleClickTimer->SetInterval(GetDoubleClickTime());
        FDoubleClickTimer->Start();
      }
      DoMouseDown(mbLeft, AsyncShiftState(ssLeft), p.x, p.y);
      FLeftPressed = true;
      if (FLeftPopup) ShowPopupMenu();
      break;
    case WM_LBUTTONUP:
      if (FLeftPressed) FClickPending = true;
      if (FLeftPressed && !FDoubleClickTimer->GetEnabled()) {
        // No double click to wait for: the click counts at once.
        FLeftPressed = FClickPending = false;
        DoClick();
      }
      FLeftPressed = false;
      DoMouseUp(mbLeft, AsyncShiftState(ssLeft), p.x, p.y);
      break;
    case WM_LBUTTONDBLCLK:
      FClickPending = false;
      FDoubleClicked = true;
      DoDblClick();
      if (FPopupMenu && !FLeftPopup && TrayMenuServices().AutoPopup(FPopupMenu))
        TrayMenuServices().ClickDefaultItem(FPopupMenu);
      break;
    case WM_RBUTTONDOWN:
      DoMouseDown(mbRight, AsyncShiftState(ssRight), p.x, p.y);
      ShowPopupMenu();
      break;
    case WM_RBUTTONUP:
      if (FNotifyVersion == 0) DoMouseUp(mbRight, AsyncShiftState(ssRight), p.x, p.y);
      break;
    case WM_CONTEXTMENU:
    case NIN_SELECT:
    case NIN_KEYSELECT:
      if (FNotifyVersion == 1) DoMouseUp(mbRight, AsyncShiftState(ssRight), p.x, p.y);
      break;
    case WM_MBUTTONDOWN:
      DoMouseDown(mbMiddle, AsyncShiftState(ssMiddle), p.x, p.y);
      break;
    case WM_MBUTTONUP:
      DoMouseUp(mbMiddle, AsyncShiftState(ssMiddle), p.x, p.y);
      break;
  }
}

void TTrayIcon::DoubleClickTick() {
  FDoubleClickTimer->Stop(true);
  if (!FDoubleClicked && FClickPending) {
    FClickPending = false;
    DoClick();
  }
  FDoubleClicked = false;
}

void TTrayIcon::ExitPollTick() {
  if (FMouseOutside) return;
  POINT p{0, 0};
  if (!GetCursorPos(&p)) return;
  if (p.x != FLastMousePos.x || p.y != FLastMousePos.y) {
    FMouseOutside = true;
    DoMouseExit();
  }
}

void TTrayIcon::CycleTick() {
  int count = FIconList ? FIconList->Count() : 0;
  if (FIconList) CopyListImageToIcon();
  int next = FIconIndex + 1 >= count ? 0 : FIconIndex + 1;
  DoCycle(next);
  SetIconIndex(next);
}

void TTrayIcon::ShowPopupMenu() {
  if (!FPopupMenu || !TrayMenuServices().AutoPopup(FPopupMenu)) return;
  POINT p;
  if (!GetCursorPos(&p)) return;
  // The menu closes properly on a click elsewhere only while this process is in the foreground.
  SetForegroundWindow(Application->Handle());
  Application->ProcessMessages();
  TrayMenuServices().Popup(FPopupMenu, this, p.x, p.y);
  if (FOwnerControl) PostMessageA(FOwnerControl->Handle(), WM_NULL, 0, 0);
}

void TTrayIcon::HideApplicationButton() {
  HWND app = Application->Handle();
  if (IsWindowVisible(app)) ShowWindow(app, SW_HIDE);
}

void TTrayIcon::HideMainWindow() {
  if (!FOwnerControl || !Application->MainForm()) return;
  Application->MainForm()->Hide();
  HideApplicationButton();
}

void TTrayIcon::ApplicationHook(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_SIZE:
      if (w == SIZE_MINIMIZED && FMinimizeToTray) DoMinimizeToTray();
      break;
    case WM_WINDOWPOSCHANGED:
      if (FWaitingForMainForm && Application->MainForm()) {
        auto* form = dynamic_cast<TCustomForm*>(Application->MainForm());
        if (form && form->GetFormStyle() == fsMDIForm && !AskStartup()) HideApplicationButton();
        FWaitingForMainForm = false;
      }
      break;
    case WM_SYSCOMMAND:
      if ((w & 0xFFF0) == SC_RESTORE && Application->MainForm()) Application->MainForm()->Show();
      break;
  }
  (void)l;
}

void TTrayIcon::OwnerWindowProc(TMessage& m) {
  if (m.Msg == WM_SHOWWINDOW && m.WParam == 1 && m.LParam == 0) {
    SetForegroundWindow(Application->Handle());
    SetForegroundWindow(FOwnerControl->Handle());
  } else if ((m.Msg == WM_SHOWWINDOW && m.WParam == 0 && m.LParam == SW_PARENTCLOSING && !Application->Terminated()) ||
             (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MINIMIZE)) {
    if (FMinimizeToTray && OnMinimizeToTray) {
      OnMinimizeToTray(this);
      DoMinimizeToTray();
      m.Result = 1;
      return;
    }
  }
  if (FOldOwnerProc) FOldOwnerProc(m);
}
