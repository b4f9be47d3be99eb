#include "SkinnerMenu.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <memory>

#include "Forms.h"
#include "Menus.h"
#include "SkinImageUtils.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"

namespace {

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

}  // namespace

// ---- the menu bar ----

void TMenuBtn::OpenPopup() {
  Form->TrackMenuButton(this);
  Form->HotObject = this;
}

void TMenuBtn::Paint() {
  TSkinnerMenu* bar = Form->MenuBar();
  if (!bar || !IsWindow(Form->WindowHandle) || bar->BarBitmap->Empty()) return;
  HDC dc = GetWindowDC(Form->WindowHandle);
  TCanvas* canvas = Form->FrameCanvas();
  canvas->SetHandle(dc);
  const RECT& b = bar->BarRect;
  // The strip under the item from the bar's picture.
  BitBlt(dc, Rect.left, b.top, WidthOf(Rect), HeightOf(b), bar->BarBitmap->Canvas()->GetHandle(), Rect.left - b.left,
         0, SRCCOPY);
  if (State == ncHot || State == ncPressed) {
    FrameRectColor(dc, Rect, SkinData->ButtonHilight);
  }
  canvas->Font()->Assign(Screen->MenuFont());
  canvas->Font()->SetStyle(0);
  canvas->Font()->SetColor(Enabled ? SkinData->MenuBarText : SkinData->ButtonShadow);
  canvas->Brush()->SetStyle(bsClear);
  SetBkMode(dc, TRANSPARENT);
  DrawCenteredCaption(canvas, Rect, Caption, taCenter, Enabled);
  canvas->SetHandle(nullptr);
  ReleaseDC(Form->WindowHandle, dc);
}

TSkinnerMenu::TSkinnerMenu(TSkinnerForm* form, TSkinData* skinData, HWND window)
    : TComponent(form), SkinData(skinData), Form(form), BarBitmap(new TBitmap), WindowHandle(window) {}

TSkinnerMenu::~TSkinnerMenu() {
  FreeButtons();
  delete BarBitmap;
}

void TSkinnerMenu::FreeButtons() {
  if (Form && std::find(Buttons.begin(), Buttons.end(), Form->HotObject) != Buttons.end()) Form->HotObject = nullptr;
  for (TMenuBtn* b : Buttons) delete b;
  Buttons.clear();
}

namespace {

struct TNativeItem {
  std::string Text;
  UINT State = 0, Id = 0;
  HMENU Sub = nullptr;
};

bool ReadNativeItem(HMENU menu, int pos, TNativeItem& item) {
  char text[80] = {};
  MENUITEMINFOA info{};
  info.cbSize = 48;  // the structure of the systems without item bitmaps
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
  info.dwTypeData = text;
  info.cch = sizeof text - 1;
  if (!GetMenuItemInfoA(menu, UINT(pos), TRUE, &info)) return false;
  // An owner-drawn entry carries no text.
  item.Text = (info.fType & MFT_OWNERDRAW) ? std::string() : std::string(text);
  item.State = info.fState;
  item.Id = info.wID;
  item.Sub = info.hSubMenu;
  return true;
}

bool OldPlatform() {
  const DWORD v = GetVersion();
  const int major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
  const bool nt = !(v & 0x80000000u);
  return (nt && major < 5) || (major == 4 && minor == 0);
}

}  // namespace

void TSkinnerMenu::ReadItems(bool onlyEmptyCaptions) {
  if (GetMenu(WindowHandle)) NativeMenu = GetMenu(WindowHandle);
  if (!NativeMenu) return;
  if (Form->Form()) {
    auto* form = As<TCustomForm>(Form->Form());
    VclMenu = form ? form->GetMenu() : nullptr;
    if (!VclMenu) return;
  }
  FreeButtons();
  const int count = GetMenuItemCount(NativeMenu);
  for (int i = 0; i < count; ++i) {
    TNativeItem native;
    if (!ReadNativeItem(NativeMenu, i, native)) continue;
    auto* b = new TMenuBtn(Form);
    b->SkinData = SkinData;
    b->Index = i;
    b->Popup = native.Sub;
    b->Enabled = !(native.State & (MFS_GRAYED | MFS_DISABLED));
    b->Visible = true;
    b->Command = native.Id;
    b->Caption = AnsiToWide(native.Text);
    TMenuItem* item = VclMenu ? VclMenu->FindItem(native.Id, fkCommand) : nullptr;
    if (item && (!onlyEmptyCaptions || native.Text.empty())) {
      b->Caption = AnsiToWide(item->ShownCaption());
      b->Enabled = item->ShownEnabled();
      b->Item = item;
      b->Command = item->Command();
      b->Popup = item->Count() > 0 ? item->Handle() : nullptr;
    } else if (item) {
      b->Item = item;
    }
    Buttons.push_back(b);
  }
}

void TSkinnerMenu::BuildItems() {
  if (OldPlatform()) {
    BuildItemsFromVcl();
    return;
  }
  // The items' actions first bring their captions and states up to date (a change reaches the bar
  // as a menu change now, not while the items are read).
  if (auto* form = As<TCustomForm>(Form->Form()))
    if (TMenu* menu = form->GetMenu())
      for (int i = 0; i < menu->Items()->Count(); ++i)
        if (TAction* action = menu->Items()->Items(i)->GetAction()) action->Update();
  ReadItems(false);
  SetMenu(WindowHandle, nullptr);
}

void TSkinnerMenu::BuildItemsFromVcl() {
  if (GetMenu(WindowHandle)) NativeMenu = GetMenu(WindowHandle);
  auto* form = As<TCustomForm>(Form->Form());
  VclMenu = form ? form->GetMenu() : nullptr;
  if (!VclMenu) return;
  FreeButtons();
  TMenuItem* root = VclMenu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    auto* b = new TMenuBtn(Form);
    b->SkinData = SkinData;
    b->Index = i;
    b->Visible = item->ShownVisible();
    b->Enabled = item->ShownEnabled();
    b->Command = item->Command();
    b->Caption = AnsiToWide(item->ShownCaption());
    b->Item = item;
    b->Popup = item->Count() > 0 ? item->Handle() : nullptr;
    Buttons.push_back(b);
  }
  SetMenu(WindowHandle, nullptr);
}

void TSkinnerMenu::RebuildItems() {
  ReadItems(true);
  SetMenu(WindowHandle, nullptr);
  Layout();
}

void TSkinnerMenu::RestoreNativeMenu() {
  if (NativeMenu && IsWindow(WindowHandle) && IsMenu(NativeMenu)) SetMenu(WindowHandle, NativeMenu);
}

bool TSkinnerMenu::BarRightToLeft() const { return VclMenu ? VclMenu->IsRightToLeft() : Form->RightToLeft; }

int TSkinnerMenu::Inset(int barWidth) const {
  int inset = 6;
  if (const TDataSkinObject* e = SkinData->MenuBar) inset = BarRightToLeft() ? e->Margins.Right + 8 : e->Margins.Left + 4;
  if (barWidth < inset) inset = 12;
  return inset;
}

void TSkinnerMenu::Layout() {
  RECT wr{};
  GetWindowRect(WindowHandle, &wr);
  const int L = Form->BorderLeft, T = Form->BorderTop, R = Form->BorderRight, M = Form->MenuBarHeight;
  const RECT bar{L, T, WidthOf(wr) - R, T + M};
  if (WidthOf(bar) <= 0 || HeightOf(bar) <= 0) return;
  BarRect = bar;
  const int inset = Inset(WidthOf(bar));
  TBitmap* scratch = ScratchBitmap();
  scratch->SetSize(WidthOf(bar), HeightOf(bar));
  scratch->Canvas()->Font()->Assign(Screen->MenuFont());
  HDC dc = scratch->Canvas()->GetHandle();
  HGDIOBJ oldFont = SelectObject(dc, scratch->Canvas()->Font()->Handle());
  const bool rtl = BarRightToLeft();
  int x = rtl ? bar.left + WidthOf(bar) - inset : bar.left + inset;
  // A maximized MDI child's caption buttons stand at the bar's right end: the items start left of them.
  if (rtl && Form->WindowKind == wkMdiFrame && Form->IsMdiChildMaximized())
    for (TWinSysButton* b : Form->SysButtons())
      if (b->Visible && b->Element->Visibility == 100 && b->Rect.right > b->Rect.left)
        x = std::min(x, int(b->Rect.left) - 5);
  for (TMenuBtn* b : Buttons) {
    if (!b->Visible) {
      b->Rect = RECT{0, 0, 0, 0};
      continue;
    }
    int width = 0;
    if (!b->Caption.empty()) {
      RECT m{0, 0, 0, 0};
      DrawTextWide(dc, b->Caption, m, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
      width = WidthOf(m) + 10;
    }
    if (rtl) {
      b->Rect = RECT{x - width, bar.top, x, bar.bottom - 1};
      x -= width;
    } else {
      b->Rect = RECT{x, bar.top, x + width, bar.bottom - 1};
      x += width;
    }
  }
  SelectObject(dc, oldFont);
}

void TSkinnerMenu::Paint(HDC dc, const RECT& bar) {
  const int w = WidthOf(bar), h = HeightOf(bar);
  if (w <= 0 || h <= 0) return;
  Layout();
  BarRect = bar;
  TBitmap* scratch = ScratchBitmap();
  scratch->SetSize(w, h, pf24bit);
  TCanvas* c = scratch->Canvas();
  const RECT local{0, 0, w, h};
  if (const TDataSkinObject* e = SkinData->MenuBar) {
    const int frame = Form->Active ? 1 : 2;
    if (e->Tile == 1)
      DrawSkinImage(c->GetHandle(), local, e->Bitmap, true, 0, false, 2, frame,
                    TSkinMargins{e->Margins.Left, 0, e->Margins.Right, 0});
    else
      DrawSkinStrip(c, local, e->Bitmap, true, false, 2, frame, TSkinMargins{e->Margins.Left, 0, e->Margins.Right, 0});
  } else {
    c->Brush()->SetColor(SkinData->Menubar);
    c->FillRect(local);
  }
  BarBitmap->Assign(scratch);
  c->Font()->Assign(Screen->MenuFont());
  c->Font()->SetStyle(0);
  c->Brush()->SetStyle(bsClear);
  SetBkMode(c->GetHandle(), TRANSPARENT);
  Painting = true;
  for (TMenuBtn* b : Buttons) {
    if (!b->Visible || b->Caption.empty()) continue;
    c->Font()->SetColor(b->Enabled ? SkinData->MenuBarText : SkinData->ButtonShadow);
    RECT r = b->Rect;
    OffsetRect(&r, -bar.left, -bar.top);
    DrawCenteredCaption(c, r, b->Caption, taCenter, b->Enabled);
    b->State = ncNormal;
  }
  Painting = false;
  // A maximized MDI child's caption buttons stand in its frame's bar.
  if (Form->WindowKind == wkMdiFrame && Form->IsMdiChildMaximized()) {
    for (TWinSysButton* b : Form->SysButtons()) {
      const TDataSkinSysButton* e = b->Element;
      if (e->Visibility != 100 || e->Bitmap->Empty() || !b->Visible) continue;
      RECT r = b->Rect;
      OffsetRect(&r, -bar.left, -bar.top);
      DrawSkinFrame(c->GetHandle(), r, e->Bitmap, true, e->FrameCount, 1);
    }
    if (SkinManager && !SkinManager->MenuMode) SkinManager->SetMenuMode(true);
  }
  BitBlt(dc, bar.left, bar.top, w, h, c->GetHandle(), 0, 0, SRCCOPY);
}

TMenuBtn* TSkinnerMenu::ButtonAt(POINT p) const {
  for (TMenuBtn* b : Buttons)
    if (!b->Caption.empty() && PtInRect(&b->Rect, p)) return b;
  return nullptr;
}

TMenuBtn* TSkinnerMenu::NextButton(bool right) const {
  const int count = int(Buttons.size()), open = OpenMenuBarIndex();
  if (count == 0 || open < 0) return nullptr;
  const int next = right ? (open + 1) % count : (open + count - 1) % count;
  return Buttons[size_t(next)];
}

bool TSkinnerMenu::IsAccel(WORD key, const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {  // "&&" shows one ampersand
      ++i;
      continue;
    }
    return std::towupper(caption[i + 1]) == std::towupper(wchar_t(key));
  }
  return false;
}

TMenuBtn* TSkinnerMenu::FindAccel(WORD key) const {
  for (TMenuBtn* b : Buttons)
    if (b->Enabled && b->Visible && IsAccel(key, b->Caption)) return b;
  return nullptr;
}

// ---- tracking a bar item's popup ----

namespace {

struct TMenuHookState {
  HHOOK Hook = nullptr;
  TMenuItem* Selected = nullptr;  // the item of ours last selected in the open popup
  int OpenIndex = -1;
  POINT LastCursor{};
  bool Started = false;
  bool Switching = false;
  TSkinnerForm* Tracking = nullptr;
};
TMenuHookState Track;

LRESULT CALLBACK MenuMsgFilterProc(int code, WPARAM w, LPARAM l);

void InstallMenuHook() {
  Track.Switching = false;
  Track.Started = false;
  GetCursorPos(&Track.LastCursor);
  if (!Track.Hook) Track.Hook = SetWindowsHookExA(WH_MSGFILTER, MenuMsgFilterProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuHook() {
  if (Track.Hook) UnhookWindowsHookEx(Track.Hook);
  Track.Hook = nullptr;
  Track.Selected = nullptr;
  Track.OpenIndex = -1;
  Track.Started = false;
}

TMenuItem* FindVclItem(TMenu* menu, UINT_PTR value, TFindItemKind kind) {
  return menu ? menu->FindItem(value, kind) : nullptr;
}

// The item selected in the open popup, or the popup closing.
void NoteMenuSelect(TSkinnerForm* form, WPARAM w, LPARAM l) {
  TSkinnerMenu* bar = form->MenuBar();
  if (!bar) return;
  if (HIWORD(w) == 0xFFFF && l == 0) {
    if (!Track.Switching) form->EndMenuTracking();
    return;
  }
  Track.Switching = false;
  if (HIWORD(w) & MF_POPUP)
    Track.Selected = FindVclItem(bar->VclMenu, UINT_PTR(GetSubMenu(HMENU(l), LOWORD(w))), fkHandle);
  else
    Track.Selected = FindVclItem(bar->VclMenu, LOWORD(w), fkCommand);
}

LRESULT CALLBACK MenuMsgFilterProc(int code, WPARAM w, LPARAM l) {
  auto* msg = reinterpret_cast<MSG*>(l);
  // In a right-to-left menu Left and Right trade places, for the menu's own loop as well.
  if (msg && Track.Selected && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
      (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
    if (TMenu* menu = Track.Selected->GetParentMenu(); menu && menu->IsRightToLeft())
      msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
  const LRESULT result = CallNextHookEx(Track.Hook, code, w, l);
  if (result != 0 || code != MSGF_MENU || !msg) return result;
  TSkinnerForm* form = Track.Tracking;
  TSkinnerMenu* bar = form ? form->MenuBar() : nullptr;
  if (!bar) return result;
  if (!Track.Started) {
    Track.Started = true;
    // The popup opens with its first item selected, as a menu opened from the bar does.
    PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  TMenuBtn* target = nullptr;
  switch (msg->message) {
    case WM_KEYDOWN: {
      const WPARAM key = msg->wParam;
      if (key == VK_RETURN || key == VK_ESCAPE) Track.Switching = false;
      TMenuItem* s = Track.Selected;
      if (key == VK_LEFT) {
        const HMENU tracked = form->TrackedPopup;
        if (!s || (s->Parent() && s->Parent()->HandleAllocated() && s->Parent()->Handle() == tracked) ||
            (s->HandleAllocated() && s->Handle() == tracked))
          target = bar->NextButton(false);
      } else if (key == VK_RIGHT) {
        if (!s || s->Count() == 0) target = bar->NextButton(true);
      }
      break;
    }
    case WM_SYSKEYDOWN:
      if (msg->wParam == VK_MENU) {
        form->EndMenuTracking();
        return result;
      }
      break;
    case WM_MENUSELECT:
      NoteMenuSelect(form, msg->wParam, msg->lParam);
      if (HIWORD(msg->wParam) == 0xFFFF && msg->lParam == 0) return result;
      break;
    case WM_MOUSEMOVE:
      if (msg->pt.x != Track.LastCursor.x || msg->pt.y != Track.LastCursor.y) {
        target = bar->ButtonAt(form->ScreenToWindow(msg->pt.x, msg->pt.y));
        Track.LastCursor = msg->pt;
      }
      break;
  }
  if (target && target->Index != Track.OpenIndex) {
    Track.Switching = true;
    form->ClickMenuButton(target);
  }
  return result;
}

}  // namespace

int OpenMenuBarIndex() { return Track.OpenIndex; }

// The selection reaches the window as a sent WM_MENUSELECT as well (the filter sees only the messages
// the menu's loop takes from the queue).
bool TSkinnerForm::WMMenuSelect(TMessage& m) {
  if (MenuTracking && Track.Tracking == this) NoteMenuSelect(this, m.WParam, m.LParam);
  return Previous(m);
}

TMenuBtn* TSkinnerForm::FindAccelButton(WORD key) const { return FMenuBar ? FMenuBar->FindAccel(key) : nullptr; }

void TSkinnerForm::EndMenuTracking() { MenuTracking = false; }

// A click on the item as the mouse would make it: the non-client button-down finds the item by its
// position and opens it. While another item's popup is open, that popup closes first.
void TSkinnerForm::ClickMenuButton(TMenuBtn* item) {
  if (!item) return;
  GetWindowRect(WindowHandle, &WindowRect);
  if (MenuTracking) EndMenu();
  PostMessageA(WindowHandle, WM_NCLBUTTONDOWN, 1,
               MAKELPARAM(WORD(SHORT(WindowRect.left + item->Rect.left + 1)),
                          WORD(SHORT(WindowRect.top + item->Rect.top + 1))));
}

// The text stays in the menu: an entry made owner-drawn through its type alone keeps its string, and
// asking for the string (not the type) reads it back. Nothing is kept beside the menu, so a menu
// destroyed in any way (by us, by other code, by the system with its window) takes its texts along,
// and a later menu that gets the same handle never shows an old text.
std::string OwnerDrawnText(HMENU menu, UINT id) {
  char text[80] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof text;
  if (!menu || !GetMenuItemInfoA(menu, id, FALSE, &info)) return std::string();
  return text;
}

// Sets every entry of the menu and of its sub-menus to owner drawing, keeping the rest of its type
// and its text.
void TSkinnerForm::SetNativeMenuOwnerDraw(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, UINT(i), TRUE, &info)) continue;
    if (info.hSubMenu) SetNativeMenuOwnerDraw(info.hSubMenu);
    if (info.fType & MFT_OWNERDRAW) continue;
    info.fMask = MIIM_FTYPE;
    info.fType |= MFT_OWNERDRAW;
    SetMenuItemInfoA(menu, UINT(i), TRUE, &info);
  }
}

bool TSkinnerForm::TrackMenuButton(TMenuBtn* item) {
  if (!item) return false;
  PostMessageA(WindowHandle, WM_COMMAND, item->Command, 0);
  if (!item->Popup) return false;
  Track.OpenIndex = item->Index;
  Track.Tracking = this;
  GetWindowRect(WindowHandle, &WindowRect);
  const DWORD v = GetVersion();
  if (!(!(v & 0x80000000u) && LOBYTE(LOWORD(v)) == 4)) SetNativeMenuOwnerDraw(item->Popup);
  MenuTracking = true;
  const int x = (RightToLeft ? item->Rect.right : item->Rect.left) + WindowRect.left;
  const int y = item->Rect.bottom + WindowRect.top;
  if (SkinManager) SkinManager->PopupMode = 1;
  TrackedPopup = item->Popup;
  // Opened from the keyboard the item shows pressed as well.
  if (HotObject != item) item->MouseDown();
  InstallMenuHook();
  if (item->Enabled) {
    UINT flags = TPM_NONOTIFY | TPM_RIGHTBUTTON;
    if (RightToLeft) flags |= TPM_RIGHTALIGN;
    TrackPopupMenu(item->Popup, flags, x, y, 0, WindowHandle, nullptr);
  }
  RemoveMenuHook();
  MenuTracking = false;
  Track.Tracking = nullptr;
  return true;
}

bool TSkinnerForm::MenuBarClick(TMessage& m) {
  const POINT p = ScreenToWindow(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (!FindSysButtonAt(p) && FMenuBar)
    if (TMenuBtn* b = FMenuBar->ButtonAt(p)) TrackMenuButton(b);
  m.Result = 0;
  return true;
}

void TSkinnerForm::DialogCharHook(TMessage& m) {
  FFormHook.CallSaved(m);
  if (m.Result != 0) return;
  if (KeyDataToShiftState(m.LParam) == ssAlt)
    if (TMenuBtn* b = FindAccelButton(WORD(m.WParam))) {
      ClickMenuButton(b);
      m.Result = 1;
      return;
    }
  m.Result = 0;
  if (WindowKind == wkMdiChild) {
    if (SkinManager && SkinManager->MdiFrameForm && SkinManager->MdiFrameForm != FForm) {
      m.Result = SkinManager->MdiFrameForm->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
      if (m.Result) return;
    }
  } else if (auto* form = As<TCustomForm>(FForm)) {
    TCustomForm* main = Application->MainForm();
    // Alt+key in a secondary window opens the main window's menu.
    if (main && form != main && !(form->FormState() & fsModal) && main->HandleAllocated())
      m.Result = main->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
  }
  m.Result = 0;
}

// ---- owner drawing of the items (the drawing itself is in SkinnerMenuItems.cpp) ----

TMenuDrawItemEvent TSkinnerForm::DrawItemEvent() {
  return [this](TObject* s, TCanvas* c, const RECT& r, bool selected) { DrawMenuItem(s, c, r, selected); };
}

TMenuMeasureItemEvent TSkinnerForm::MeasureItemEvent(bool widthOnly) {
  if (widthOnly) return [this](TObject* s, TCanvas* c, int& w, int& h) { MeasureMenuItemWidth(s, c, w, h); };
  return [this](TObject* s, TCanvas* c, int& w, int& h) { MeasureMenuItem(s, c, w, h); };
}

void TSkinnerForm::SetMenuItemsOwnerDraw(TMenuItem* item, bool on) {
  if (!item) return;
  if (on) {
    item->OnDrawItem = DrawItemEvent();
    item->OnMeasureItem = MeasureItemEvent(false);
  } else {
    // Both go: a measure handler left behind would call into this skinner after it is gone.
    item->OnDrawItem = nullptr;
    item->OnMeasureItem = nullptr;
  }
  for (int i = 0; i < item->Count(); ++i) SetMenuItemsOwnerDraw(item->Items(i), on);
}

namespace {
void ForEachItem(TMenuItem* item, const std::function<void(TMenuItem*)>& visit) {
  for (int i = 0; i < item->Count(); ++i) {
    visit(item->Items(i));
    ForEachItem(item->Items(i), visit);
  }
}
}  // namespace

void TSkinnerForm::SetPopupMenusOwnerDraw(TComponent* component, bool on) {
  if (!component || (FForm && FForm->ClassName() == "TwwRichEditForm")) return;
  for (TComponent* c : component->ComponentList()) {
    if (As<TCustomForm>(c)) {
      SetPopupMenusOwnerDraw(c, on);
      continue;
    }
    auto* popup = As<TPopupMenu>(c);
    if (!popup || !FSkinData->Has(xcPopupMenu) || popup->GetTag() == FSkinData->GetDisableTag()) continue;
    // The items first: the menu's handles are rebuilt once, when the menu's own drawing changes.
    ForEachItem(popup->Items(), [this, on](TMenuItem* item) {
      if (on) {
        item->OnDrawItem = DrawItemEvent();
        if (!item->OnMeasureItem) item->OnMeasureItem = MeasureItemEvent(true);
      } else {
        item->OnDrawItem = nullptr;
        item->OnMeasureItem = nullptr;
      }
    });
    popup->SetOwnerDraw(on);
  }
}

void TSkinnerForm::SetMainMenuOwnerDraw(TComponent* component, bool on) {
  if (!component) return;
  for (TComponent* c : component->ComponentList()) {
    auto* menu = As<TMainMenu>(c);
    if (!menu) continue;
    TMenuItem* root = menu->Items();
    for (int i = 0; i < root->Count(); ++i)
      ForEachItem(root->Items(i), [this, on](TMenuItem* item) {
        if (on) {
          if (item->OnDrawItem) return;
          item->OnDrawItem = DrawItemEvent();
          item->OnMeasureItem = MeasureItemEvent(false);
        } else {
          item->OnDrawItem = nullptr;
          item->OnMeasureItem = nullptr;
        }
      });
    if (!on)
      for (int i = 0; i < root->Count(); ++i) {
        root->Items(i)->OnDrawItem = nullptr;
        root->Items(i)->OnMeasureItem = nullptr;
      }
    menu->SetOwnerDraw(on);
  }
}

// ---- the menu bar's life in the form skinner ----

void TSkinnerForm::CreateMenuBar() {
  if (FMenuBar || !NativeMenu || WindowKind == wkMdiChild) return;
  FMenuBar = new TSkinnerMenu(this, FSkinData, WindowHandle);
  MenuBarHeight = GetSystemMetrics(SM_CYMENU);
  if (auto* form = As<TCustomForm>(FForm)) FMenuBar->VclMenu = form->GetMenu();
  FMenuBar->BuildItems();
}

// A caption button, else a menu-bar item.
TNCObject* TSkinnerForm::ObjectAt(POINT p) const {
  if (TWinSysButton* b = FindSysButtonAt(p)) return b;
  return FMenuBar && HasMenuBar() ? FMenuBar->ButtonAt(p) : nullptr;
}

bool TSkinnerForm::PaintMenuBar(HDC dc, const RECT& bar) {
  if (!FMenuBar || !HasMenuBar()) return false;
  FMenuBar->Paint(dc, bar);
  return true;
}

// A window being destroyed goes without the menu the bar took off it. The system destroys a window's
// menu with the window, so a menu that no form of ours owns goes now; a form's menu belongs to its
// menu component.
void TSkinnerForm::DestroyTakenMenu() {
  if (FMenuBar && IsMenu(FMenuBar->NativeMenu) && GetMenu(WindowHandle) != FMenuBar->NativeMenu)
    DestroyMenu(FMenuBar->NativeMenu);
}

void TSkinnerForm::FreeMenuBar(bool restoreMenu) {
  if (!FMenuBar) return;
  if (restoreMenu) FMenuBar->RestoreNativeMenu();
  TSkinnerMenu* bar = FMenuBar;
  FMenuBar = nullptr;
  if (HotObject && dynamic_cast<TMenuBtn*>(HotObject)) HotObject = nullptr;
  delete bar;
}

void TSkinnerForm::MenuChangedRebuild() {
  const HMENU menu = GetMenu(WindowHandle);
  if (!menu) return;
  if (FMenuBar && FSkinData->GetMenuUpdate()) {
    FMenuBar->NativeMenu = menu;
    FMenuBar->RebuildItems();
  }
  SetMenu(WindowHandle, nullptr);
  if (FMenuBar && FState == skSkinned && IsWindowVisible(WindowHandle)) PaintFrame(nullptr);
}
