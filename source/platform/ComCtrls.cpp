#include "ComCtrls.h"

#include <algorithm>

// ---- entries ----

int TListItem::Index() const { return FOwner->IndexOf(this); }

void TListItem::SetCaption(const std::string& v) {
  FCaption = v;
  FOwner->UpdateNative(Index());
}

void TListItem::SetImageIndex(int v) {
  FImageIndex = v;
  FOwner->UpdateNative(Index());
}

bool TListItem::GetSelected() const {
  if (!FOwner->HandleAllocated()) return FSelected;
  return ListView_GetItemState(FOwner->FHandle, Index(), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool v) {
  FSelected = v;
  if (FOwner->HandleAllocated()) ListView_SetItemState(FOwner->FHandle, Index(), v ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

bool TListItem::GetFocused() const {
  if (!FOwner->HandleAllocated()) return FFocused;
  return ListView_GetItemState(FOwner->FHandle, Index(), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool v) {
  FFocused = v;
  if (FOwner->HandleAllocated()) ListView_SetItemState(FOwner->FHandle, Index(), v ? LVIS_FOCUSED : 0, LVIS_FOCUSED);
}

void TListItem::MakeVisible(bool partialOK) {
  if (FOwner->HandleAllocated()) ListView_EnsureVisible(FOwner->FHandle, Index(), partialOK);
}

// ---- the list view ----

ORV_DEFINE_CLASS(TListView, TWinControl, FactoryOf<TListView>(),
                 {IntProp<TListView>("ColumnWidth", &TListView::GetColumnWidth, &TListView::SetColumnWidth),
                  BoolProp<TListView>("HideSelection", &TListView::GetHideSelection, &TListView::SetHideSelection),
                  BoolProp<TListView>("MultiSelect", &TListView::GetMultiSelect, &TListView::SetMultiSelect),
                  BoolProp<TListView>("RowSelect", &TListView::GetRowSelect, &TListView::SetRowSelect),
                  BoolProp<TListView>("ShowColumnHeaders", &TListView::GetShowColumnHeaders, &TListView::SetShowColumnHeaders),
                  RefProp<TListView, TImageList>("SmallImages", &TListView::GetSmallImages, &TListView::SetSmallImages),
                  EventProp("OnChange", &TListView::OnChange),
                  EventProp("OnDeletion", &TListView::OnDeletion)})

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  FWidth = 250;
  FHeight = 150;
  FTabStop = true;
  FColor = clWindow;
  FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
  static bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)initialised;
}

TListView::~TListView() {
  for (TListItem* i : FItems) delete i;
}

void TListView::BeforeDestruction() {
  // Entries go without events once the window is being destroyed.
  OnDeletion = nullptr;
  OnChange = nullptr;
  TWinControl::BeforeDestruction();
}

void TListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_LISTVIEWA);
  p.Style |= LVS_REPORT | LVS_SHAREIMAGELISTS | (FMultiSelect ? 0 : LVS_SINGLESEL) |
             (FShowColumnHeaders ? 0 : LVS_NOCOLUMNHEADER) | (FHideSelection ? 0 : LVS_SHOWSELALWAYS);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
  TWinControl::CreateWnd();
  if (FRowSelect) ListView_SetExtendedListViewStyle(FHandle, LVS_EX_FULLROWSELECT);
  LVCOLUMNA col{};
  col.mask = LVCF_WIDTH;
  col.cx = FColumnWidth;
  SendMessageA(FHandle, LVM_INSERTCOLUMNA, 0, LPARAM(&col));
  if (FSmallImages) ListView_SetImageList(FHandle, FSmallImages->Handle(), LVSIL_SMALL);
  FFilling = true;
  for (int i = 0; i < Count(); ++i) {
    InsertNative(i);
    TListItem* item = FItems[size_t(i)];
    ListView_SetItemState(FHandle, i, (item->FSelected ? LVIS_SELECTED : 0) | (item->FFocused ? LVIS_FOCUSED : 0),
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
  FFilling = false;
}

void TListView::DestroyWnd() {
  FFilling = true;
  for (int i = 0; i < Count(); ++i) {
    FItems[size_t(i)]->FSelected = FItems[size_t(i)]->GetSelected();
    FItems[size_t(i)]->FFocused = FItems[size_t(i)]->GetFocused();
  }
  TWinControl::DestroyWnd();
  FFilling = false;
}

void TListView::InsertNative(int index) {
  TListItem* item = FItems[size_t(index)];
  LVITEMA lv{};
  lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  lv.iItem = index;
  lv.pszText = const_cast<char*>(item->FCaption.c_str());
  lv.iImage = item->FImageIndex;
  lv.lParam = LPARAM(item);
  SendMessageA(FHandle, LVM_INSERTITEMA, 0, LPARAM(&lv));
}

void TListView::UpdateNative(int index) {
  if (!HandleAllocated() || index < 0) return;
  TListItem* item = FItems[size_t(index)];
  LVITEMA lv{};
  lv.mask = LVIF_TEXT | LVIF_IMAGE;
  lv.iItem = index;
  lv.pszText = const_cast<char*>(item->FCaption.c_str());
  lv.iImage = item->FImageIndex;
  SendMessageA(FHandle, LVM_SETITEMA, 0, LPARAM(&lv));
}

TListItem* TListView::Insert(int index) {
  index = std::max(0, std::min(index, Count()));
  auto* item = new TListItem(this);
  FItems.insert(FItems.begin() + index, item);
  if (HandleAllocated()) InsertNative(index);
  return item;
}

void TListView::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  TListItem* item = FItems[size_t(index)];
  FItems.erase(FItems.begin() + index);
  if (HandleAllocated()) {
    FFilling = true;
    ListView_DeleteItem(FHandle, index);
    FFilling = false;
  }
  if (OnDeletion) OnDeletion(this, item);
  delete item;
}

void TListView::Clear() {
  BeginUpdate();
  while (Count() > 0) Delete(Count() - 1);
  EndUpdate();
}

int TListView::IndexOf(const TListItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TListView::BeginUpdate() {
  if (FUpdateCount++ == 0 && HandleAllocated()) SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && HandleAllocated()) {
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
  }
}

TListItem* TListView::Selected() const {
  if (!HandleAllocated()) {
    for (TListItem* i : FItems)
      if (i->FSelected) return i;
    return nullptr;
  }
  int i = ListView_GetNextItem(FHandle, -1, LVNI_SELECTED);
  return i >= 0 && i < Count() ? FItems[size_t(i)] : nullptr;
}

int TListView::SelCount() const {
  if (HandleAllocated()) return int(ListView_GetSelectedCount(FHandle));
  return int(std::count_if(FItems.begin(), FItems.end(), [](TListItem* i) { return i->FSelected; }));
}

void TListView::SelectAll() {
  for (TListItem* i : FItems) i->SetSelected(true);
}

void TListView::ClearSelection() {
  for (TListItem* i : FItems) i->SetSelected(false);
}

TListItem* TListView::ItemFocused() const {
  for (TListItem* i : FItems)
    if (i->GetFocused()) return i;
  return nullptr;
}

void TListView::SetMultiSelect(bool v) {
  if (FMultiSelect == v) return;
  FMultiSelect = v;
  if (HandleAllocated()) RecreateWnd();
}
void TListView::SetShowColumnHeaders(bool v) {
  if (FShowColumnHeaders == v) return;
  FShowColumnHeaders = v;
  if (HandleAllocated()) RecreateWnd();
}
void TListView::SetHideSelection(bool v) {
  if (FHideSelection == v) return;
  FHideSelection = v;
  if (HandleAllocated()) RecreateWnd();
}
void TListView::SetRowSelect(bool v) {
  if (FRowSelect == v) return;
  FRowSelect = v;
  if (HandleAllocated()) RecreateWnd();
}
void TListView::SetColumnWidth(int v) {
  FColumnWidth = v;
  if (HandleAllocated()) ListView_SetColumnWidth(FHandle, 0, v);
}
void TListView::SetSmallImages(TImageList* v) {
  if (FSmallImages) FSmallImages->RemoveFreeNotification(this);
  FSmallImages = v;
  if (v) v->FreeNotification(this);
  if (HandleAllocated()) ListView_SetImageList(FHandle, v ? v->Handle() : nullptr, LVSIL_SMALL);
}

void TListView::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == FSmallImages) FSmallImages = nullptr;
}

void TListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == LVN_ITEMCHANGED && !FFilling && !IsDestroying()) {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
      if (nm->iItem >= 0 && nm->iItem < Count() && OnChange) {
        TItemChange change = (nm->uChanged & LVIF_STATE) ? ctState : (nm->uChanged & LVIF_IMAGE) ? ctImage : ctText;
        OnChange(this, FItems[size_t(nm->iItem)], change);
      }
    } else if (hdr->code == NM_DBLCLK) {
      DblClick();
    }
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_LBUTTONDBLCLK) {
    // The control reports the double click itself (NM_DBLCLK); let it run its own handling only.
    DefaultHandler(m);
    return;
  }
  TWinControl::WndProc(m);
}
