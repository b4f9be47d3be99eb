// A skinned window hides the system's caption buttons and system menu, so its form skinner offers
// them itself: the skinned system menu (an owner-drawn popup menu rebuilt from the window's system
// menu each time it opens), the window commands behind the caption buttons, the keyboard's menu keys
// and the right click on the caption. For an MDI frame it also watches the MDI client window.
#include <windowsx.h>

#include "Menus.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "SkinnerFrame.h"
#include "SkinnerMenu.h"
#include "Subclass.h"
#include "Timer.h"

namespace {

constexpr int SystemPopupTag = 33333;

// The platform's version as GetVersion tells it.
struct TVersion {
  bool Nt;
  int Major;
};
TVersion WindowsVersion() {
  const DWORD v = GetVersion();
  return TVersion{!(v & 0x80000000u), int(LOBYTE(LOWORD(v)))};
}
// Windows NT 4 and older know no system menu items to copy.
bool OldNt() {
  const TVersion v = WindowsVersion();
  return v.Nt && v.Major < 5;
}

}  // namespace

// The MDI client window of a skinned MDI frame, routed to the frame's skinner.
class TMdiClientSubclass : public TWindowSubclass {
public:
  explicit TMdiClientSubclass(TSkinnerForm* owner) : FOwner(owner) {}
  LRESULT Previous(TMessage& m) { return m.Result = CallPrevious(m.Msg, m.WParam, m.LParam); }

protected:
  LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
    TMessage m{msg, w, l, 0};
    try {
      FOwner->MdiClientProc(m);
    } catch (...) {
      // Nothing leaves the engine.
    }
    return m.Result;
  }

private:
  TSkinnerForm* FOwner;
};

// ---- messages ----

// Commands chosen in a popup arrive as WM_COMMAND: the window commands among them become system commands.
bool TSkinnerForm::WMCommand(TMessage& m) {
  switch (LOWORD(m.WParam)) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      PostMessageA(WindowHandle, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
      m.Result = 0;
      return true;
  }
  return Previous(m);
}

bool TSkinnerForm::WMSysCommand(TMessage& m) {
  const UINT command = UINT(m.WParam) & 0xFFF0;
  if (!MenuTracking && command == SC_KEYMENU) {
    if (m.LParam != ' ' && m.LParam != '-' && !GetCapture()) {
      // Alt alone opens the menu bar's first item and Alt+key the item with that accelerator.
      TMenuBtn* item = nullptr;
      if (m.LParam == 0 && FMenuBar && !FMenuBar->Buttons.empty())
        item = FMenuBar->Buttons.front();
      else if (m.LParam != 0)
        item = FindAccelButton(WORD(m.LParam));
      if (m.LParam == 0 || item) {
        TrackMenuButton(item);
        m.Result = 1;
        return true;
      }
    } else if (m.LParam == ' ') {
      // Alt+Space: the skinned system menu at the client area's corner. The system's own would
      // follow it where the window keeps WS_SYSMENU, so the message ends here.
      POINT origin{0, 0};
      ClientToScreen(WindowHandle, &origin);
      ShowSystemMenu(origin);
      m.Result = 0;
      return true;
    }
  }
  switch (command) {
    case SC_MINIMIZE: ShowState = ssMinimizedWindow; break;
    case SC_MAXIMIZE: ShowState = ssMaximizedWindow; break;
    case SC_RESTORE:
      ShowState = ssNormalWindow;
      if (WindowKind == wkMdiChild && SkinManager && SkinManager->MenuMode) SkinManager->SetMenuMode(false);
      break;
  }
  return Previous(m);
}

bool TSkinnerForm::WMNCRButtonDown(TMessage& m) {
  if (m.WParam == HTCAPTION && WindowKind != wkMdiChild) {
    ShowSystemMenu(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    m.Result = 0;
    return true;
  }
  return Previous(m);
}

// ---- the system menu ----

void TSkinnerForm::ShowSystemMenu(POINT p) {
  const DWORD now = GetTickCount();
  if (now - FLastSysMenuTick > FDoubleClickTime) {
    if (SkinManager) SkinManager->PopupMode = 2;
    FLastSysMenuTick = now;
    BuildSystemMenu();
    if (FSystemPopup) FSystemPopup->Popup(p.x, p.y);
  } else if (HotObject) {
    // The second click of a double click on the icon button.
    FHoverTimer->SetEnabled(false);
    PostMessageA(WindowHandle, WM_CLOSE, 0, 0);
  }
}

void TSkinnerForm::FreeSystemPopup() {
  delete FSystemPopup;
  FSystemPopup = nullptr;
}

void TSkinnerForm::BuildSystemMenu() {
  FreeSystemPopup();
  if (OldNt()) {
    BuildDefaultSystemMenu();
    return;
  }
  if (!SystemMenu) return;
  FSystemPopup = new TPopupMenu(this);
  FSystemPopup->SetTag(SystemPopupTag);
  FSystemPopup->SetOwnerDraw(true);
  FSystemPopup->SetImages(FSkinData->MenuGlyphs);
  const bool maximized = ShowState == ssMaximizedWindow, minimized = ShowState == ssMinimizedWindow;
  const int count = GetMenuItemCount(SystemMenu);
  for (int i = 0; i < count; ++i) {
    char text[80] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(SystemMenu, UINT(i), TRUE, &info)) continue;
    auto* item = new TMenuItem(FSystemPopup);
    item->SetCaption(text[0] ? text : "-");
    item->SetTag(int(info.wID));
    int image = -1;
    bool enabled = true;
    switch (info.wID) {
      // Size only where the frame can be sized, as the system's own menu has it.
      case SC_SIZE: enabled = !maximized && !minimized && ThickFrame; break;
      case SC_MOVE: enabled = !maximized; break;
      case SC_MINIMIZE:
        image = 2;
        enabled = !minimized && (ButtonFlags & bfMinimize);
        break;
      case SC_MAXIMIZE:
        image = 1;
        enabled = !maximized && (ButtonFlags & bfMaximize);
        break;
      case SC_CLOSE: image = 3; break;
      case SC_RESTORE:
        image = 0;
        enabled = ShowState != ssNormalWindow;
        break;
    }
    if (info.fState == (MFS_GRAYED | MFS_DISABLED)) enabled = false;
    item->SetImageIndex(image);
    item->SetEnabled(enabled);
    item->SetChecked(info.fState & MFS_CHECKED);
    item->OnClick = [this](TObject* sender) { SysMenuItemClick(sender); };
    item->OnDrawItem = DrawItemEvent();
    item->OnMeasureItem = MeasureItemEvent(true);
    FSystemPopup->Items()->Add(item);
  }
}

void TSkinnerForm::BuildDefaultSystemMenu() {
  FSystemPopup = new TPopupMenu(this);
  FSystemPopup->SetTag(SystemPopupTag);
  FSystemPopup->SetOwnerDraw(true);
  FSystemPopup->SetImages(FSkinData->MenuGlyphs);
  AddSysMenuItem(" Restore ", 0);
  if (ButtonFlags & bfMaximize) AddSysMenuItem(" Maximize ", 1);
  if (ButtonFlags & bfMinimize) AddSysMenuItem(" Minimize ", 2);
  AddSysMenuItem("-", 100);
  AddSysMenuItem(" Close ", 3);
}

void TSkinnerForm::AddSysMenuItem(const std::string& caption, int tag) {
  auto* item = new TMenuItem(FSystemPopup);
  item->SetCaption(caption);
  item->SetTag(tag);
  item->SetImageIndex(tag);
  if (tag == 3) item->SetShortCutText("ALT+F4");
  item->OnClick = [this](TObject* sender) { DefaultSysMenuItemClick(sender); };
  item->OnDrawItem = DrawItemEvent();
  item->OnMeasureItem = MeasureItemEvent(true);
  FSystemPopup->Items()->Add(item);
}

void TSkinnerForm::SysMenuItemClick(TObject* sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(sender))
    PostMessageA(WindowHandle, WM_SYSCOMMAND, WPARAM(UINT(item->GetTag())), 0);
}

void TSkinnerForm::DefaultSysMenuItemClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item) return;
  switch (item->GetTag()) {
    case 0: Restore(); break;
    case 1: ToggleMaximize(); break;
    case 2: ToggleMinimize(); break;
    case 3:
      FHoverTimer->SetEnabled(false);
      PostMessageA(WindowHandle, WM_CLOSE, 0, 0);
      break;
  }
}

// ---- window commands ----

void TSkinnerForm::ToggleMaximize() {
  if (ShowState == ssMaximizedWindow) {
    Restore();
    return;
  }
  if (WindowKind == wkMdiChild && SkinManager) SkinManager->SetMenuMode(true);
  ShowState = ssMaximizedWindow;
  PostMessageA(WindowHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TSkinnerForm::Restore() {
  ShowState = ssNormalWindow;
  PostMessageA(WindowHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinnerForm::ToggleMinimize() {
  if (ShowState == ssMinimizedWindow) {
    Restore();
    return;
  }
  ShowState = ssMinimizedWindow;
  SetSysMenuStyle(false);  // the minimized window's button keeps its system menu
  PostMessageA(WindowHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

bool TSkinnerForm::HasSysMenuClose() const {
  if (OldNt() || !WindowsVersion().Nt) return true;
  if (!SystemMenu) return false;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  return GetMenuItemInfoA(SystemMenu, SC_CLOSE, FALSE, &info);
}

// ---- MDI ----

bool TSkinnerForm::IsMdiChildMaximized() const {
  if (WindowKind != wkMdiFrame || !MdiClient) return false;
  BOOL maximized = FALSE;
  const HWND active = HWND(SendMessageA(MdiClient, WM_MDIGETACTIVE, 0, LPARAM(&maximized)));
  return active && maximized;
}

void TSkinnerForm::MdiChildCommand(UINT command) {
  if (WindowKind != wkMdiFrame || !MdiClient) return;
  if (const HWND active = HWND(SendMessageA(MdiClient, WM_MDIGETACTIVE, 0, 0)))
    SendMessageA(active, WM_SYSCOMMAND, command, 0);
}

void TSkinnerForm::SubclassMdiClient() {
  if (FMdiClientHook || !MdiClient) return;
  FMdiClientHook = new TMdiClientSubclass(this);
  if (!FMdiClientHook->Install(MdiClient)) UnsubclassMdiClient();
}

void TSkinnerForm::UnsubclassMdiClient() {
  delete FMdiClientHook;  // takes itself out of the client's chain
  FMdiClientHook = nullptr;
}

void TSkinnerForm::CallMdiClient(TMessage& m) {
  if (FMdiClientHook) FMdiClientHook->Previous(m);
}

void TSkinnerForm::MdiClientProc(TMessage& m) {
  const HWND client = MdiClient;
  const bool skinned = FFrameSkinned;
  switch (m.Msg) {
    case WM_NCDESTROY:
      // The subclass lets go of the window by itself; the object goes with the skinner.
      CallMdiClient(m);
      return;
    case WM_NCCALCSIZE:
      if (skinned && !FSkinData->Has(xoMDIScrollbar)) {
        const LONG style = GetWindowLongA(client, GWL_STYLE);
        const LONG bars = WS_VSCROLL | WS_HSCROLL;
        if (style & bars) SetWindowLongA(client, GWL_STYLE, style & ~bars);
      }
      CallMdiClient(m);
      return;
    case WM_MDICREATE:
      FSkinData->SetMenuUpdate(false);
      CallMdiClient(m);
      return;
    case WM_MDIDESTROY:
      CallMdiClient(m);
      if (skinned) {
        if (SkinManager) SkinManager->SetMenuMode(IsMdiChildMaximized());
        // The last child gone: the menu bar follows the menu changes again as it did before.
        if (HasMenuBar() && FMenuBar && !SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) {
          FSkinData->SetMenuUpdate(FSavedMenuUpdate);
          FMenuBar->RebuildItems();
        }
      }
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (skinned && SkinManager && SkinManager->MenuMode) SkinManager->SetMenuMode(false);
      CallMdiClient(m);
      return;
    case WM_MDISETMENU:
      CallMdiClient(m);
      // The skinned menu bar takes the new menu and the window shows none of its own; without a
      // skinned bar the window keeps its menu.
      if (skinned && HasMenuBar() && FMenuBar) {
        if (m.WParam) {
          FMenuBar->NativeMenu = HMENU(m.WParam);
          FMenuBar->RebuildItems();
        }
        SetMenu(WindowHandle, nullptr);
      }
      return;
    case SM_MDIREDRAW:
      RedrawWindow(client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      m.Result = 0;
      return;
  }
  CallMdiClient(m);
}
