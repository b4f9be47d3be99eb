#include "Menus.h"

#include <algorithm>
#include <map>

namespace {

// A function: the application object sets it during static initialisation, possibly before this file's
// variables are constructed.
TMenuEnvironment& Environment() {
  static TMenuEnvironment environment;
  return environment;
}

// Live items by command. Commands stay below the system commands (SC_SIZE and up) and fit the
// 16-bit identifier of WM_COMMAND.
constexpr UINT kFirstCommand = 1, kLastCommand = 0xEFFF;

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

UINT AllocateCommand(TMenuItem* item) {
  static UINT next = kFirstCommand;
  auto& commands = Commands();
  if (commands.size() > kLastCommand - kFirstCommand) throw Exception("Too many menu items");
  while (commands.count(next)) next = next == kLastCommand ? kFirstCommand : next + 1;
  UINT id = next;
  commands[id] = item;
  next = next == kLastCommand ? kFirstCommand : next + 1;
  return id;
}

}  // namespace

ORV_DEFINE_CLASS(TMenuItem, TComponent, FactoryOf<TMenuItem>(),
                 {RefProp<TMenuItem, TAction>("Action", &TMenuItem::GetAction, &TMenuItem::SetAction),
                  StrProp<TMenuItem>("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption),
                  BoolProp<TMenuItem>("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked),
                  BoolProp<TMenuItem>("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault),
                  BoolProp<TMenuItem>("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled),
                  IntProp<TMenuItem>("ImageIndex", &TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex),
                  BoolProp<TMenuItem>("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem),
                  StrProp<TMenuItem>("ShortCut", &TMenuItem::GetShortCutText, &TMenuItem::SetShortCutText),
                  BoolProp<TMenuItem>("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible),
                  EventProp("OnClick", &TMenuItem::OnClick),
                  EventProp("OnDrawItem", &TMenuItem::OnDrawItem),
                  EventProp("OnMeasureItem", &TMenuItem::OnMeasureItem)})

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(AllocateCommand(this)) {}

TMenuItem::~TMenuItem() {
  MarkDestroying();
  for (TMenuItem* i : FItems) i->FParentItem = nullptr;
  FItems.clear();
  if (FParentItem) FParentItem->Remove(this);
  if (FAction) {
    FAction->RemoveClient(this);
    FAction->RemoveFreeNotification(this);
  }
  if (FHandle) {
    // The sub-items' own handles are theirs: take them out before the handle goes.
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    DestroyMenu(FHandle);
  }
  Commands().erase(FCommand);
}

// Each setter changes the handle the item sits in only when the value really changes.
void TMenuItem::SetDefault(bool v) { if (ChangeField(FDefault, v)) Changed(); }
void TMenuItem::SetRadioItem(bool v) { if (ChangeField(FRadioItem, v)) Changed(); }
void TMenuItem::SetImageIndex(int v) { if (ChangeField(FImageIndex, v)) Changed(); }
void TMenuItem::SetShortCut(int v) { if (ChangeField(FShortCut, v)) Changed(); }

void TMenuItem::SetAction(TAction* a) {
  if (FAction == a) return;
  if (FAction) {
    FAction->RemoveClient(this);
    FAction->RemoveFreeNotification(this);
  }
  FAction = a;
  if (a) {
    a->FreeNotification(this);
    a->AddClient(this, [this](TAction*) { Changed(); });
  }
  Changed();
}

void TMenuItem::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FAction) {
    FAction = nullptr;
    Changed();
  }
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->FParentItem) root = root->FParentItem;
  return root->FMenu;
}

bool TMenuItem::InBar() const {
  TMenu* menu = GetParentMenu();
  return menu && menu->IsBar() && FParentItem == menu->Items();
}

void TMenuItem::Changed() {
  if (IsDestroying()) return;
  if (FParentItem) FParentItem->RebuildHandle();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->FParentItem) item->FParentItem->Remove(item);
  index = std::max(0, std::min(index, Count()));
  FItems.insert(FItems.begin() + index, item);
  item->FParentItem = this;
  RebuildHandle();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(item);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParentItem = nullptr;
  if (IsDestroying()) return;
  RebuildHandle();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Clear() {
  while (!FItems.empty()) {
    TMenuItem* i = FItems.back();
    Remove(i);
    if (i->Owner())
      i->Free();
    else
      delete i;
  }
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* item = As<TMenuItem>(parent))
    item->Add(this);
  else if (auto* menu = As<TMenu>(parent))
    menu->Items()->Add(this);
}

std::string TMenuItem::ShownCaption() const {
  return FAction && !FAction->GetCaption().empty() ? FAction->GetCaption() : FCaption;
}
bool TMenuItem::ShownEnabled() const { return FAction ? FAction->GetEnabled() : FEnabled; }
bool TMenuItem::ShownChecked() const { return FAction ? FAction->GetChecked() : FChecked; }
bool TMenuItem::ShownVisible() const { return FAction ? FAction->GetVisible() : FVisible; }
int TMenuItem::ShownShortCut() const { return FShortCut == 0 && FAction ? FAction->GetShortCut() : FShortCut; }

bool TMenuItem::IsOwnerDraw() const {
  if (OnDrawItem) return true;
  TMenu* menu = GetParentMenu();
  return menu && menu->GetOwnerDraw();
}

void TMenuItem::Click() {
  if (FAction)
    FAction->Execute();
  else if (OnClick)
    OnClick(this);
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    TMenu* menu = FParentItem ? nullptr : FMenu;
    FHandle = menu && menu->IsBar() ? CreateMenu() : CreatePopupMenu();
    if (!FHandle) RaiseLastOSError("Error creating a menu : ");
    RebuildHandle();
  }
  return FHandle;
}

void TMenuItem::RebuildHandle() {
  if (!FHandle || IsDestroying()) return;
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  UINT pos = 0;
  for (TMenuItem* item : FItems) {
    if (!item->ShownVisible()) continue;
    std::string text = item->ShownCaption();
    if (int sc = item->ShownShortCut()) text += "\t" + ShortCutToText(sc);
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    mi.wID = item->FCommand;
    // The item itself travels with the owner-draw messages: the dispatcher checks it against the command.
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    mi.hSubMenu = item->Count() > 0 ? item->Handle() : nullptr;
    if (item->IsLine()) mi.fType |= MFT_SEPARATOR;
    if (item->IsOwnerDraw()) mi.fType |= MFT_OWNERDRAW;
    if (item->FRadioItem) mi.fType |= MFT_RADIOCHECK;
    if (!item->IsLine() && !item->IsOwnerDraw()) {
      mi.fMask |= MIIM_STRING;
      mi.dwTypeData = const_cast<char*>(text.c_str());
    }
    mi.fState = (item->ShownEnabled() ? 0 : MFS_GRAYED) | (item->ShownChecked() ? MFS_CHECKED : 0) |
                (item->FDefault ? MFS_DEFAULT : 0);
    InsertMenuItemA(FHandle, pos++, TRUE, &mi);
  }
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->GetImages() : nullptr;
  int glyph = InBar() ? 0 : images ? std::max(16, images->GetWidth()) : 16;
  if (IsLine()) {
    width = glyph;
    height = 5;
  } else {
    unsigned style = canvas->Font()->GetStyle();
    canvas->Font()->SetStyle(FDefault ? style | (1u << fsBold) : style);
    SIZE text = canvas->TextExtent(ShownCaption());
    int sc = ShownShortCut();
    width = glyph ? 4 + glyph + 8 + text.cx + (sc ? 16 + canvas->TextWidth(ShortCutToText(sc)) : 0) + 8 : text.cx + 8;
    height = std::max<int>(text.cy + 6, (images ? images->GetHeight() : 16) + 4);
    canvas->Font()->SetStyle(style);
  }
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, const RECT& rect, bool selected) {
  if (OnDrawItem)
    OnDrawItem(this, canvas, rect, selected);
  else
    DefaultDrawItem(canvas, rect, selected);
}

void TMenuItem::DefaultDrawItem(TCanvas* canvas, const RECT& rect, bool selected) {
  bool enabled = ShownEnabled();
  bool hot = selected && enabled;
  canvas->Brush()->SetColor(hot ? clHighlight : clMenu);
  canvas->FillRect(rect);
  if (IsLine()) {
    RECT line = rect;
    line.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(canvas->GetHandle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->GetImages() : nullptr;
  int glyph = InBar() ? 0 : images ? std::max(16, images->GetWidth()) : 16;
  RECT box{rect.left + 2, rect.top, rect.left + 2 + glyph, rect.bottom};
  if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
    images->Draw(canvas, box.left, box.top + (rect.bottom - rect.top - images->GetHeight()) / 2, FImageIndex, enabled);
  } else if (ShownChecked()) {
    RECT mark{box.left, rect.top + (rect.bottom - rect.top - 16) / 2, box.left + 16, 0};
    mark.bottom = mark.top + 16;
    DrawFrameControl(canvas->GetHandle(), &mark, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  canvas->Brush()->SetStyle(bsClear);
  unsigned style = canvas->Font()->GetStyle();
  if (FDefault) canvas->Font()->SetStyle(style | (1u << fsBold));
  canvas->Font()->SetColor(!enabled ? clGrayText : hot ? clHighlightText : clMenuText);
  RECT text{box.right + (glyph ? 8 : 4), rect.top, rect.right - (glyph ? 8 : 4), rect.bottom};
  canvas->DrawText(ShownCaption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (int sc = ShownShortCut()) canvas->DrawText(ShortCutToText(sc), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  canvas->Font()->SetStyle(style);
  canvas->Brush()->SetStyle(bsSolid);
}

TMenuItem* FindMenuItem(TMenuItem* root, const std::string& name) {
  if (!root) return nullptr;
  if (SameTextCI(root->GetName(), name)) return root;
  for (int i = 0; i < root->Count(); ++i)
    if (TMenuItem* found = FindMenuItem(root->Items(i), name)) return found;
  return nullptr;
}

TMenuItem* FindItemByCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

// ---- menu ----

ORV_DEFINE_CLASS(TMenu, TComponent, nullptr,
                 {EnumProp<TMenu, TBiDiMode>("BiDiMode", BiDiModeNames(), &TMenu::GetBiDiMode, &TMenu::SetBiDiMode),
                  BoolProp<TMenu>("ParentBiDiMode", &TMenu::GetParentBiDiMode, &TMenu::SetParentBiDiMode),
                  RefProp<TMenu, TImageList>("Images", &TMenu::GetImages, &TMenu::SetImages),
                  BoolProp<TMenu>("OwnerDraw", &TMenu::GetOwnerDraw, &TMenu::SetOwnerDraw)})

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() {
  // Items created by a layout belong to the form and are freed with it; only unhook them here.
  FItems->MarkDestroying();
  while (FItems->Count() > 0) FItems->Remove(FItems->Items(0));
  delete FItems;
  if (FImages) FImages->RemoveFreeNotification(this);
}

void TMenu::SetImages(TImageList* v) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = v;
  if (v) v->FreeNotification(this);
}

void TMenu::SetOwnerDraw(bool v) {
  if (FOwnerDraw == v) return;
  FOwnerDraw = v;
  RebuildHandles();
}

TBiDiMode TMenu::GetBiDiMode() const {
  if (!FParentBiDiMode) return FBiDiMode;
  auto* owner = dynamic_cast<TControl*>(Owner());
  return owner ? owner->GetBiDiMode() : FBiDiMode;
}

void TMenu::SetBiDiMode(TBiDiMode v) {
  FBiDiMode = v;
  FParentBiDiMode = false;
  if (!IsLoading()) RebuildHandles();
}

void TMenu::SetParentBiDiMode(bool v) {
  FParentBiDiMode = v;
  if (!IsLoading()) RebuildHandles();
}

// Every level takes the new item type.
void TMenu::RebuildHandles() {
  std::function<void(TMenuItem*)> rebuild = [&rebuild](TMenuItem* item) {
    item->RebuildHandle();
    for (int i = 0; i < item->Count(); ++i) rebuild(item->Items(i));
  };
  rebuild(FItems);
  MenuChanged(FItems);
}

void TMenu::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FImages) FImages = nullptr;
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const {
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
    for (int i = 0; i < item->Count(); ++i) {
      TMenuItem* c = item->Items(i);
      bool hit = kind == fkCommand    ? c->Command() == value
                 : kind == fkHandle   ? c->HandleAllocated() && UINT_PTR(c->FHandle) == value
                                      : value != 0 && UINT_PTR(c->ShownShortCut()) == value;
      if (hit) return c;
      if (TMenuItem* found = find(c)) return found;
    }
    return nullptr;
  };
  if (kind == fkHandle && FItems->HandleAllocated() && UINT_PTR(FItems->FHandle) == value) return FItems;
  return find(FItems);
}

bool TMenu::IsShortCut(int shortCut) {
  TMenuItem* item = FindItem(UINT_PTR(shortCut), fkShortCut);
  // Every level up to the menu must be usable.
  for (TMenuItem* i = item; i && i != FItems; i = i->Parent())
    if (!i->ShownEnabled() || !i->ShownVisible()) return false;
  if (!item) return false;
  item->Click();
  return true;
}

// ---- popup menu ----

ORV_DEFINE_CLASS(TPopupMenu, TMenu, FactoryOf<TPopupMenu>(),
                 {BoolProp<TPopupMenu>("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup),
                  EventProp("OnPopup", &TPopupMenu::OnPopup)})

TMenuItem* TPopupMenu::DefaultItem() const {
  for (int i = 0; i < Items()->Count(); ++i)
    if (Items()->Items(i)->GetDefault()) return Items()->Items(i);
  return nullptr;
}

namespace {

void RebuildTree(TMenuItem* item) {
  item->RebuildHandle();
  for (int i = 0; i < item->Count(); ++i) RebuildTree(item->Items(i));
}

bool Descends(TMenuItem* item, TMenuItem* root) {
  for (TMenuItem* i = item; i; i = i->Parent())
    if (i == root) return true;
  return false;
}

TMenuItem* SystemChooser(TPopupMenu* popup, int x, int y) { return TrackMenuItems(popup->Items(), x, y); }

TMenuChooser& Chooser() {
  static TMenuChooser chooser = SystemChooser;
  return chooser;
}

// A canvas on a DC with the screen's menu font, for measuring and drawing items.
class TMenuCanvas : public TCanvas {
public:
  explicit TMenuCanvas(HDC dc) {
    SetHandle(dc);
    Font()->Assign(Environment().MenuFont());
  }
  ~TMenuCanvas() override { SetHandle(nullptr); }
};

// The item an owner-draw message speaks of: the command must name a live item that is the one the
// menu entry carries, so other menus' entries with the same number are left alone.
TMenuItem* OwnerDrawItem(UINT command, ULONG_PTR data) {
  TMenuItem* item = FindItemByCommand(command);
  return item && reinterpret_cast<TMenuItem*>(data) == item ? item : nullptr;
}

}  // namespace

TMenuItem* TrackMenuItems(TMenuItem* parent, int x, int y) {
  HMENU menu = parent->Handle();
  RebuildTree(parent);  // actions may have changed captions and states since the last time
  HWND owner = Environment().PopupOwner();
  SetForegroundWindow(owner);
  UINT id = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  TMenuItem* chosen = id ? FindItemByCommand(id) : nullptr;
  return chosen && Descends(chosen, parent) ? chosen : nullptr;
}

void SetMenuEnvironment(TMenuEnvironment environment) { Environment() = std::move(environment); }

TMenuChooser SetMenuChooser(TMenuChooser chooser) {
  TMenuChooser old = Chooser();
  Chooser() = chooser ? chooser : TMenuChooser(SystemChooser);
  return old;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  if (TMenuItem* item = Chooser()(this, x, y)) {
    if (item->ShownEnabled()) item->Click();
  }
}

// ---- main menu ----

ORV_DEFINE_CLASS(TMainMenu, TMenu, FactoryOf<TMainMenu>(), {})

TMainMenu::~TMainMenu() {
  if (FWindowHandle && IsWindow(FWindowHandle) && GetMenu(FWindowHandle) == Items()->Handle())
    SetMenu(FWindowHandle, nullptr);
}

void TMainMenu::MenuChanged(TMenuItem* source) {
  (void)source;
  if (FWindowHandle && IsWindow(FWindowHandle) && !IsDestroying()) SendMessageA(FWindowHandle, CM_MENUCHANGED, 0, 0);
}

// ---- messages ----

bool DispatchMenuMessage(HWND window, TMessage& m) {
  switch (m.Msg) {
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      TMenuItem* item = mi && mi->CtlType == ODT_MENU ? OwnerDrawItem(mi->itemID, mi->itemData) : nullptr;
      if (!item) return false;
      HDC dc = GetDC(window);
      {
        TMenuCanvas canvas(dc);
        int w = int(mi->itemWidth), h = int(mi->itemHeight);
        item->MeasureItem(&canvas, w, h);
        mi->itemWidth = UINT(std::max(0, w));
        mi->itemHeight = UINT(std::max(0, h));
      }
      ReleaseDC(window, dc);
      m.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      TMenuItem* item = d && d->CtlType == ODT_MENU ? OwnerDrawItem(d->itemID, d->itemData) : nullptr;
      if (!item) return false;
      int saved = SaveDC(d->hDC);
      {
        TMenuCanvas canvas(d->hDC);
        item->DrawItem(&canvas, d->rcItem, (d->itemState & ODS_SELECTED) != 0);
      }
      RestoreDC(d->hDC, saved);
      m.Result = 1;
      return true;
    }
    case WM_COMMAND: {
      if (HIWORD(m.WParam) != 0 || m.LParam != 0) return false;  // a control's notification or an accelerator
      TMenuItem* item = FindItemByCommand(LOWORD(m.WParam));
      if (!item) return false;
      if (item->ShownEnabled()) item->Click();
      m.Result = 0;
      return true;
    }
    case WM_INITMENUPOPUP: {
      // The sub-menu opens: show its items as their actions stand now.
      HMENU h = HMENU(m.WParam);
      for (auto& entry : Commands())
        if (entry.second->HandleAllocated() && entry.second->Handle() == h) {
          entry.second->RebuildHandle();
          break;
        }
      return false;  // the window's own handling goes on
    }
    case WM_ENTERIDLE: {
      // The menu loop waits: lParam is the window that shows the current (sub-)menu.
      HWND menuWindow = HWND(m.LParam);
      if (m.WParam != MSGF_MENU || !menuWindow || !IsWindow(menuWindow)) return false;
      HMENU h = HMENU(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
      for (auto& entry : Commands())
        if (h && entry.second->HandleAllocated() && entry.second->Handle() == h) {
          if (TMenu* menu = entry.second->GetParentMenu()) menu->MenuWindowIdle(menuWindow);
          break;
        }
      return false;
    }
  }
  return false;
}
