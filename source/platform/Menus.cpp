#include "Menus.h"

#include <algorithm>

#include "Forms.h"

ORV_DEFINE_CLASS(TMenuItem, TComponent, FactoryOf<TMenuItem>(),
                 {RefProp<TMenuItem, TAction>("Action", &TMenuItem::GetAction, &TMenuItem::SetAction),
                  StrProp<TMenuItem>("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption),
                  BoolProp<TMenuItem>("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked),
                  BoolProp<TMenuItem>("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault),
                  BoolProp<TMenuItem>("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled),
                  BoolProp<TMenuItem>("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem),
                  BoolProp<TMenuItem>("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible),
                  EventProp("OnClick", &TMenuItem::OnClick)})

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* i : FItems) i->FParentItem = nullptr;
  if (FParentItem) FParentItem->Remove(this);
  if (FAction) FAction->RemoveFreeNotification(this);
}

void TMenuItem::SetAction(TAction* a) {
  if (FAction) FAction->RemoveFreeNotification(this);
  FAction = a;
  if (a) a->FreeNotification(this);
}

void TMenuItem::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FAction) FAction = nullptr;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->FParentItem) item->FParentItem->Remove(item);
  index = std::max(0, std::min(index, Count()));
  FItems.insert(FItems.begin() + index, item);
  item->FParentItem = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParentItem = nullptr;
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
  else if (auto* menu = As<TPopupMenu>(parent))
    menu->Items()->Add(this);
}

std::string TMenuItem::ShownCaption() const {
  return FAction && !FAction->GetCaption().empty() ? FAction->GetCaption() : FCaption;
}
bool TMenuItem::ShownEnabled() const { return FAction ? FAction->GetEnabled() : FEnabled; }
bool TMenuItem::ShownChecked() const { return FAction ? FAction->GetChecked() : FChecked; }
bool TMenuItem::ShownVisible() const { return FAction ? FAction->GetVisible() : FVisible; }

void TMenuItem::Click() {
  if (FAction)
    FAction->Execute();
  else if (OnClick)
    OnClick(this);
}

TMenuItem* FindMenuItem(TMenuItem* root, const std::string& name) {
  if (!root) return nullptr;
  if (SameTextCI(root->GetName(), name)) return root;
  for (int i = 0; i < root->Count(); ++i)
    if (TMenuItem* found = FindMenuItem(root->Items(i), name)) return found;
  return nullptr;
}

// ---- popup menu ----

ORV_DEFINE_CLASS(TPopupMenu, TComponent, FactoryOf<TPopupMenu>(),
                 {BoolProp<TPopupMenu>("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup),
                  EventProp("OnPopup", &TPopupMenu::OnPopup)})

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu() {
  // Items created by a layout belong to the form and are freed with it; only unhook them here.
  while (FItems->Count() > 0) FItems->Remove(FItems->Items(0));
  delete FItems;
}

TMenuItem* TPopupMenu::DefaultItem() const {
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->GetDefault()) return FItems->Items(i);
  return nullptr;
}

namespace {
// Builds the system menu; ids are 1-based indexes into `flat`.
HMENU BuildMenu(TMenuItem* parent, std::vector<TMenuItem*>& flat) {
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->ShownVisible()) continue;
    if (item->IsLine()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->ShownEnabled() ? 0 : MF_GRAYED) | (item->ShownChecked() ? MF_CHECKED : 0);
    std::string caption = item->ShownCaption();
    if (item->Count() > 0) {
      AppendMenuA(menu, flags | MF_POPUP, UINT_PTR(BuildMenu(item, flat)), caption.c_str());
    } else {
      flat.push_back(item);
      AppendMenuA(menu, flags, flat.size(), caption.c_str());
      if (item->GetDefault()) SetMenuDefaultItem(menu, UINT(flat.size()), FALSE);
    }
  }
  return menu;
}

TMenuItem* SystemChooser(TPopupMenu* popup, int x, int y) {
  std::vector<TMenuItem*> flat;
  HMENU menu = BuildMenu(popup->Items(), flat);
  HWND owner = Application->Handle();
  if (Application->MainForm() && Application->MainForm()->HandleAllocated()) owner = Application->MainForm()->Handle();
  SetForegroundWindow(owner);
  UINT id = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return id >= 1 && id <= flat.size() ? flat[id - 1] : nullptr;
}

TMenuChooser& Chooser() {
  static TMenuChooser chooser = SystemChooser;
  return chooser;
}
}  // namespace

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
