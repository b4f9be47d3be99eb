#include "ComCtrls.h"

#include <algorithm>

#include "Forms.h"
#include "Menus.h"

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

TListItem* TListView::Add(const std::string& caption, int imageIndex) {
  auto* item = new TListItem(this);
  item->FCaption = caption;
  item->FImageIndex = imageIndex;
  FItems.push_back(item);
  if (HandleAllocated()) InsertNative(Count() - 1);
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
    const NMHDR* hdr = NotifyHeader(m);
    if (!hdr) return TWinControl::WndProc(m);
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

// ---- track bar ----

ORV_DEFINE_CLASS(TTrackBar, TWinControl, FactoryOf<TTrackBar>(),
                 {IntProp<TTrackBar>("Frequency", &TTrackBar::GetFrequency, &TTrackBar::SetFrequency),
                  IntProp<TTrackBar>("LineSize", &TTrackBar::GetLineSize, &TTrackBar::SetLineSize),
                  IntProp<TTrackBar>("Max", &TTrackBar::GetMax, &TTrackBar::SetMax),
                  IntProp<TTrackBar>("Min", &TTrackBar::GetMin, &TTrackBar::SetMin),
                  EnumProp<TTrackBar, TTrackBarOrientation>("Orientation", {"trHorizontal", "trVertical"},
                                                            &TTrackBar::GetOrientation, &TTrackBar::SetOrientation),
                  IntProp<TTrackBar>("PageSize", &TTrackBar::GetPageSize, &TTrackBar::SetPageSize),
                  IntProp<TTrackBar>("Position", &TTrackBar::GetPosition, &TTrackBar::SetPosition),
                  BoolProp<TTrackBar>("SliderVisible", &TTrackBar::GetSliderVisible, &TTrackBar::SetSliderVisible),
                  EnumProp<TTrackBar, TTickMark>("TickMarks", {"tmBottomRight", "tmTopLeft", "tmBoth"},
                                                 &TTrackBar::GetTickMarks, &TTrackBar::SetTickMarks),
                  EnumProp<TTrackBar, TTickStyle>("TickStyle", {"tsNone", "tsAuto", "tsManual"},
                                                  &TTrackBar::GetTickStyle, &TTrackBar::SetTickStyle),
                  EventProp("OnChange", &TTrackBar::OnChange)})

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 45;
  FTabStop = true;
  FColor = clBtnFace;
  FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, TRACKBAR_CLASSA);
  static const DWORD marks[] = {TBS_BOTTOM, TBS_TOP, TBS_BOTH};
  p.Style |= (FOrientation == trVertical ? TBS_VERT : TBS_HORZ) | marks[FTickMarks];
  if (FTickStyle == tsNone) p.Style |= TBS_NOTICKS;
  if (FTickStyle == tsAuto) p.Style |= TBS_AUTOTICKS;
  if (!FSliderVisible) p.Style |= TBS_NOTHUMB;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  MirrorToWindow();
}

void TTrackBar::MirrorToWindow() {
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
  SendMessageA(FHandle, TBM_SETRANGEMAX, FALSE, FMax);
  SendMessageA(FHandle, TBM_SETLINESIZE, 0, FLineSize);
  SendMessageA(FHandle, TBM_SETPAGESIZE, 0, FPageSize);
  if (FTickStyle == tsAuto) SendMessageA(FHandle, TBM_SETTICFREQ, WPARAM(FFrequency), 0);
  SendMessageA(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::ApplyParams(int position, int min, int max) {
  if (IsLoading()) {
    // Layout values come in any order: take them as they are; Loaded brings them in line.
    FMin = min;
    FMax = max;
    FPosition = position;
    return;
  }
  position = std::max(min, std::min(position, max));
  bool moved = position != FPosition;
  bool ranged = min != FMin || max != FMax;
  FMin = min;
  FMax = max;
  FPosition = position;
  if (ranged || moved) MirrorToWindow();
  if (moved) Changed();
}

void TTrackBar::SetMin(int v) {
  if (IsLoading() || v <= FMax) ApplyParams(FPosition, v, FMax);
}

void TTrackBar::SetMax(int v) {
  if (IsLoading() || v >= FMin) ApplyParams(FPosition, FMin, v);
}

void TTrackBar::SetRange(int min, int max) {
  if (min <= max) ApplyParams(FPosition, min, max);
}

void TTrackBar::SetPosition(int v) { ApplyParams(v, FMin, FMax); }

void TTrackBar::Loaded() {
  TWinControl::Loaded();
  if (FMax < FMin) FMax = FMin;
  FPosition = std::max(FMin, std::min(FPosition, FMax));
  MirrorToWindow();
}

void TTrackBar::SetFrequency(int v) {
  FFrequency = v;
  if (HandleAllocated() && FTickStyle == tsAuto) SendMessageA(FHandle, TBM_SETTICFREQ, WPARAM(v), 0);
}

void TTrackBar::SetLineSize(int v) {
  FLineSize = v;
  if (HandleAllocated()) SendMessageA(FHandle, TBM_SETLINESIZE, 0, v);
}

void TTrackBar::SetPageSize(int v) {
  FPageSize = v;
  if (HandleAllocated()) SendMessageA(FHandle, TBM_SETPAGESIZE, 0, v);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (FOrientation == v) return;
  FOrientation = v;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle v) {
  if (FTickStyle == v) return;
  FTickStyle = v;
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark v) {
  if (FTickMarks == v) return;
  FTickMarks = v;
  RecreateWnd();
}

void TTrackBar::SetSliderVisible(bool v) {
  if (FSliderVisible == v) return;
  FSliderVisible = v;
  RecreateWnd();
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: {
      // The user moved the slider (drag, keys, click on the channel): take the window's position.
      int pos = int(SendMessageA(FHandle, TBM_GETPOS, 0, 0));
      ApplyParams(pos, FMin, FMax);
      m.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
      DefaultHandler(m);
      return;
  }
  TWinControl::WndProc(m);
}

// ---- tab sheet ----

// The sheet's and the page control's class infos name each other; this side names the page control's
// base class, so that neither has to be built while the other is being built.
static TPropInfo PageControlProp() {
  TPropInfo p;
  p.Name = "PageControl";
  p.Kind = pkComponent;
  p.ObjectClass = &TWinControl::StaticClassInfo();
  p.GetObj = [](TObject* o) -> TObject* { return static_cast<TTabSheet*>(o)->GetPageControl(); };
  p.SetObj = [](TObject* o, TObject* v) {
    auto* pc = dynamic_cast<TPageControl*>(v);
    if (v && !pc) throw EPropertyError("PageControl must be a TPageControl");
    static_cast<TTabSheet*>(o)->SetPageControl(pc);
  };
  return p;
}

ORV_DEFINE_CLASS(TTabSheet, TWinControl, FactoryOf<TTabSheet>(),
                 {IntProp<TTabSheet>("ImageIndex", &TTabSheet::GetImageIndex, &TTabSheet::SetImageIndex),
                  PageControlProp(),
                  IntProp<TTabSheet>("PageIndex", &TTabSheet::GetPageIndex, &TTabSheet::SetPageIndex),
                  BoolProp<TTabSheet>("TabVisible", &TTabSheet::GetTabVisible, &TTabSheet::SetTabVisible),
                  EventProp("OnShow", &TTabSheet::OnShow),
                  EventProp("OnHide", &TTabSheet::OnHide)})

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  FWidth = 200;
  FHeight = 150;
  FColor = clBtnFace;
  FVisible = false;  // the page control shows its active page only
  FControlStyle = csAcceptsControls | csSetCaption | csClickEvents | csDoubleClicks;
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TTabSheet::SetParent(TWinControl* p) {
  TPageControl* pc = dynamic_cast<TPageControl*>(p);
  if (FPageControl && FPageControl != pc) FPageControl->RemovePage(this);
  TWinControl::SetParent(p);
  if (pc && FPageControl != pc) pc->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* p) { SetParent(p); }

int TTabSheet::GetPageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int v) {
  if (FPageControl) FPageControl->MovePage(this, v);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return n;
    if (p->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  if (FTabVisible == v) return;
  FTabVisible = v;
  if (FPageControl) FPageControl->TabVisibilityChanged(this);
}

void TTabSheet::SetImageIndex(int v) {
  FImageIndex = v;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetText(const std::string& v) {
  TWinControl::SetText(v);
  if (FPageControl) FPageControl->UpdateTabs();
}

// ---- page control ----

ORV_DEFINE_CLASS(TPageControl, TWinControl, FactoryOf<TPageControl>(),
                 {RefProp<TPageControl, TTabSheet>("ActivePage", &TPageControl::GetActivePage, &TPageControl::SetActivePage),
                  IntProp<TPageControl>("ActivePageIndex", &TPageControl::GetActivePageIndex, &TPageControl::SetActivePageIndex),
                  EventProp("OnChange", &TPageControl::OnChange),
                  EventProp("OnChanging", &TPageControl::OnChanging)})

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  FWidth = 289;
  FHeight = 193;
  FTabStop = true;
  FColor = clBtnFace;
  FControlStyle = csAcceptsControls | csDoubleClicks;
}

TPageControl::~TPageControl() {
  // The sheets are freed with the children; they need not tell us.
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

void TPageControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_TABCONTROLA);
  p.Style |= WS_CLIPCHILDREN | TCS_TABS;
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateTabs();
}

int TPageControl::TabCount() const {
  return int(std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->FTabVisible; }));
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible && tabIndex-- == 0) return p;
  return nullptr;
}

void TPageControl::InsertPage(TTabSheet* p) {
  FPages.push_back(p);
  p->FPageControl = this;
  FreeNotification(p);
  UpdateTabs();
  Realign();
}

void TPageControl::RemovePage(TTabSheet* p) {
  auto it = std::find(FPages.begin(), FPages.end(), p);
  if (it == FPages.end()) return;
  if (FActivePage == p) {
    // The neighbour takes over, as when its tab is hidden.
    TTabSheet* next = FindNextPage(p, true, true);
    if (next == p) next = nullptr;
    FActivePage = nullptr;
    FPages.erase(it);
    p->FPageControl = nullptr;
    if (!IsDestroying()) SetActivePage(next);
  } else {
    FPages.erase(it);
    p->FPageControl = nullptr;
  }
  if (!IsDestroying()) UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* p, int index) {
  auto it = std::find(FPages.begin(), FPages.end(), p);
  if (it == FPages.end()) return;
  FPages.erase(it);
  index = std::max(0, std::min(index, int(FPages.size())));
  FPages.insert(FPages.begin() + index, p);
  UpdateTabs();
}

void TPageControl::TabVisibilityChanged(TTabSheet* p) {
  if (p == FActivePage && !p->FTabVisible && !IsLoading()) {
    // The tab that now stands at the hidden one's place, else the last tab; with no tab left the
    // page stays active without one.
    int place = 0;
    for (TTabSheet* q : FPages) {
      if (q == p) break;
      if (q->FTabVisible) ++place;
    }
    TTabSheet* next = PageForTab(place);
    if (!next) next = PageForTab(TabCount() - 1);
    if (next) FActivePage = next;
  }
  UpdateTabs();
  Realign();
}

void TPageControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  FUpdatingTabs = true;
  SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
  int n = 0;
  for (TTabSheet* p : FPages) {
    if (!p->FTabVisible) continue;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    std::string text = p->GetText();
    item.pszText = &text[0];
    item.iImage = p->FImageIndex;
    SendMessageA(FHandle, TCM_INSERTITEMA, WPARAM(n++), LPARAM(&item));
  }
  FUpdatingTabs = false;
  // Without tabs the system class would leave an empty tab row: we paint the frame ourselves then.
  if (TabCount() == 0)
    FControlState |= csCustomPaint;
  else
    FControlState &= ~unsigned(csCustomPaint);
  ShowActivePage();
  Realign();
  Invalidate();
}

void TPageControl::ShowActivePage() {
  if (IsLoading()) return;
  if (HandleAllocated()) SendMessageA(FHandle, TCM_SETCURSEL, WPARAM(FActivePage ? FActivePage->TabIndex() : -1), 0);
  // Show the new page before hiding the old one, so the area never flashes empty.
  if (FActivePage && !FActivePage->GetVisible()) {
    FActivePage->SetVisible(true);
    FActivePage->BringToFront();
    if (FActivePage->OnShow) FActivePage->OnShow(FActivePage);
  }
  for (TTabSheet* p : FPages)
    if (p != FActivePage && p->GetVisible()) {
      p->SetVisible(false);
      if (p->OnHide) p->OnHide(p);
    }
}

void TPageControl::SetActivePage(TTabSheet* p) {
  if (p && p->FPageControl != this) return;
  if (IsLoading()) {
    FActivePage = p;  // shown in Loaded
    return;
  }
  // The focus must not stay on a control that is about to be hidden.
  if (FActivePage && FActivePage != p)
    if (TCustomForm* f = GetParentForm(this))
      if (TWinControl* a = f->GetActiveControl())
        if (FActivePage->ContainsControl(a) && HandleAllocated() && a->Focused()) SetFocus();
  FActivePage = p;
  ShowActivePage();
}

int TPageControl::GetActivePageIndex() const { return FActivePage ? FActivePage->GetPageIndex() : -1; }

void TPageControl::SetActivePageIndex(int v) {
  SetActivePage(v >= 0 && v < PageCount() ? FPages[size_t(v)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  int n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), current);
  int start = it == FPages.end() ? (goForward ? n - 1 : 0) : int(it - FPages.begin());
  int i = start;
  for (int k = 0; k < n; ++k) {
    i = goForward ? (i + 1) % n : (i + n - 1) % n;
    TTabSheet* p = FPages[size_t(i)];
    if (!checkTabVisible || p->FTabVisible) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* p = FindNextPage(FActivePage, goForward, true);
  if (p && p != FActivePage && CanChange()) {
    SetActivePage(p);
    Change();
  }
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  if (!FActivePage) {
    // Like the designer's choice of the first page when the layout names none.
    if (!FPages.empty()) FActivePage = FPages.front();
  }
  UpdateTabs();
  ShowActivePage();
}

void TPageControl::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == FActivePage) FActivePage = nullptr;
}

void TPageControl::AdjustClientRect(RECT& r) const {
  if (!HandleAllocated()) {
    InflateRect(&r, -4, -4);
    r.top += 20;
    return;
  }
  if (TabCount() == 0) {
    InflateRect(&r, -2, -2);  // no tab row: only the frame
    return;
  }
  SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&r));
}

void TPageControl::AlignControls(TControl* control, RECT& r) {
  // Every page fills the display area, shown or not, so a page shows at its size the moment it becomes
  // active; other children follow the usual alignment.
  (void)control;
  for (TTabSheet* p : FPages) p->SetBounds(r.left, r.top, std::max(0, int(r.right - r.left)), std::max(0, int(r.bottom - r.top)));
  TWinControl::AlignControls(control, r);
}

void TPageControl::PaintWindow(HDC dc) {
  if (TabCount() > 0) {
    TWinControl::PaintWindow(dc);
    return;
  }
  // The tab control would still draw its frame under an empty tab row; draw a frame round the whole.
  RECT r = GetClientRect();
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
}

void TPageControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: {
      const NMHDR* hdr = NotifyHeader(m);
      if (!hdr) break;
      if (hdr->code == TCN_SELCHANGING) {
        m.Result = CanChange() ? FALSE : TRUE;
        return;
      }
      if (hdr->code == TCN_SELCHANGE) {
        TTabSheet* p = PageForTab(int(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0)));
        if (p && p != FActivePage) {
          SetActivePage(p);
          Change();
        }
        m.Result = 0;
        return;
      }
      break;
    }
    case WM_SIZE:
      TWinControl::WndProc(m);
      Realign();
      return;
    case CM_DIALOGKEY:
      // Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on the tabs or inside a page.
      if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated() &&
          (::GetFocus() == FHandle || IsChild(FHandle, ::GetFocus()))) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
      }
      break;
  }
  TWinControl::WndProc(m);
}

// ---- animation ----

ORV_DEFINE_CLASS(TAnimate, TWinControl, FactoryOf<TAnimate>(),
                 {BoolProp<TAnimate>("Active", &TAnimate::GetActive, &TAnimate::SetActive),
                  BoolProp<TAnimate>("Center", &TAnimate::GetCenter, &TAnimate::SetCenter),
                  StrProp<TAnimate>("FileName", &TAnimate::GetFileName, &TAnimate::SetFileName),
                  IntProp<TAnimate>("Repetitions", &TAnimate::GetRepetitions, &TAnimate::SetRepetitions),
                  StrProp<TAnimate>("ResName", &TAnimate::GetResName, &TAnimate::SetResName),
                  IntProp<TAnimate>("StartFrame", &TAnimate::GetStartFrame, &TAnimate::SetStartFrame),
                  IntProp<TAnimate>("StopFrame", &TAnimate::GetStopFrame, &TAnimate::SetStopFrame),
                  BoolProp<TAnimate>("Transparent", &TAnimate::GetTransparent, &TAnimate::SetTransparent),
                  EventProp("OnStart", &TAnimate::OnStart), EventProp("OnStop", &TAnimate::OnStop)})

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) {
  FWidth = 100;
  FHeight = 80;
  FColor = clBtnFace;
}

void TAnimate::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, ANIMATE_CLASSA);
  if (FCenter) p.Style |= ACS_CENTER;
  if (FTransparent) p.Style |= ACS_TRANSPARENT;
}

void TAnimate::CreateWnd() {
  TWinControl::CreateWnd();
  OpenClip();
  if (FActive) Play(FStartFrame, FStopFrame, FRepetitions);
}

void TAnimate::OpenClip() {
  if (!HandleAllocated()) return;
  const bool wasActive = FActive;
  FActive = false;
  SendMessageA(FHandle, ACM_OPENA, 0, 0);  // closes any clip
  FOpened = false;
  if (!FResName.empty())
    FOpened = SendMessageA(FHandle, ACM_OPENA, WPARAM(FResHandle ? FResHandle : GetModuleHandleA(nullptr)),
                           LPARAM(FResName.c_str())) != 0;
  else if (!FFileName.empty())
    FOpened = SendMessageA(FHandle, ACM_OPENA, 0, LPARAM(FFileName.c_str())) != 0;
  if (wasActive && OnStop) OnStop(this);
}

void TAnimate::SetResName(const std::string& v) {
  FResName = v;
  OpenClip();
}

void TAnimate::SetResHandle(HINSTANCE v) {
  FResHandle = v;
  OpenClip();
}

void TAnimate::SetFileName(const std::string& v) {
  FFileName = v;
  OpenClip();
}

void TAnimate::SetCenter(bool v) {
  if (FCenter == v) return;
  FCenter = v;
  RecreateWnd();
}

void TAnimate::SetTransparent(bool v) {
  if (FTransparent == v) return;
  FTransparent = v;
  RecreateWnd();
}

void TAnimate::SetActive(bool v) {
  if (v)
    Play(FStartFrame, FStopFrame, FRepetitions);
  else
    Stop();
}

void TAnimate::Play(int fromFrame, int toFrame, int count) {
  FStartFrame = fromFrame;
  FStopFrame = toFrame;
  FRepetitions = count;
  if (!HandleAllocated()) {
    FActive = true;  // starts when the window is created
    return;
  }
  // The control counts 0 and -1 alike as "for ever"; the frame numbers are 16 bits, -1 the last.
  const LPARAM range = MAKELPARAM(WORD(fromFrame), WORD(toFrame < 0 ? 0xFFFF : toFrame));
  if (!FOpened || !SendMessageA(FHandle, ACM_PLAY, WPARAM(count > 0 ? count : -1), range)) {
    FActive = false;
    return;
  }
  if (!FActive) {
    FActive = true;
    if (OnStart) OnStart(this);
  }
}

void TAnimate::Stop() {
  if (HandleAllocated()) SendMessageA(FHandle, ACM_STOP, 0, 0);
  if (!FActive) return;
  FActive = false;
  if (OnStop) OnStop(this);
}

void TAnimate::Seek(int frame) {
  Stop();
  if (HandleAllocated() && FOpened) SendMessageA(FHandle, ACM_PLAY, 1, MAKELPARAM(WORD(frame), WORD(frame)));
}

void TAnimate::Reset() { Seek(0); }

void TAnimate::WndProc(TMessage& m) {
  // The control reports the end of a finite play through its parent (reflected here).
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == ACN_STOP && FActive) {
      FActive = false;
      if (OnStop) OnStop(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- tool bar ----

TCustomDrawState CustomDrawStateOf(UINT s) {
  TCustomDrawState state = 0;
  const std::pair<UINT, TCustomDrawStateFlag> map[] = {
      {CDIS_SELECTED, cdsSelected}, {CDIS_GRAYED, cdsGrayed},   {CDIS_DISABLED, cdsDisabled},
      {CDIS_CHECKED, cdsChecked},   {CDIS_FOCUS, cdsFocused},   {CDIS_DEFAULT, cdsDefault},
      {CDIS_HOT, cdsHot},           {CDIS_MARKED, cdsMarked},   {CDIS_INDETERMINATE, cdsIndeterminate}};
  for (const auto& m : map)
    if (s & m.first) state |= m.second;
  return state;
}

namespace {
const std::vector<std::string>& ToolButtonStyleNames() {
  static const std::vector<std::string> names = {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"};
  return names;
}
}  // namespace

ORV_DEFINE_CLASS(TToolButton, TControl, FactoryOf<TToolButton>(),
                 {EnumProp<TToolButton, TToolButtonStyle>("Style", ToolButtonStyleNames(), &TToolButton::GetStyle,
                                                          &TToolButton::SetStyle),
                  IntProp<TToolButton>("ImageIndex", &TToolButton::GetImageIndex, &TToolButton::SetImageIndex),
                  BoolProp<TToolButton>("Down", &TToolButton::GetDown, &TToolButton::SetDown),
                  RefProp<TToolButton, TMenuItem>("MenuItem", &TToolButton::GetMenuItem, &TToolButton::SetMenuItem),
                  RefProp<TToolButton, TPopupMenu>("DropdownMenu", &TToolButton::GetDropdownMenu,
                                                   &TToolButton::SetDropdownMenu)})

TToolButton::TToolButton(TComponent* owner) : TControl(owner) {
  static UINT next = 0;
  FCommand = 1 + next++ % 0xFFF0;  // a WORD: what the system control reports in WM_COMMAND
  FWidth = 23;
  FHeight = 22;
}

TToolButton::~TToolButton() {
  if (FToolBar) FToolBar->RemoveButton(this);
  if (FMenuItem) FMenuItem->RemoveFreeNotification(this);
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
}

int TToolButton::Index() const {
  if (!FToolBar) return -1;
  auto& b = FToolBar->FButtons;
  return int(std::find(b.begin(), b.end(), this) - b.begin());
}

void TToolButton::SetParent(TWinControl* p) {
  auto* bar = dynamic_cast<TToolBar*>(p);
  if (FToolBar && FToolBar != bar) FToolBar->RemoveButton(this);
  TControl::SetParent(p);
  if (bar && FToolBar != bar) bar->InsertButton(this);
}

void TToolButton::Changed() {
  if (FToolBar) FToolBar->RebuildButtons();
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  FStyle = v;
  Changed();
}

void TToolButton::SetImageIndex(int v) {
  FImageIndex = v;
  Changed();
}

bool TToolButton::GetDown() const {
  if (FToolBar && FToolBar->HandleAllocated())
    return SendMessageA(FToolBar->FHandle, TB_ISBUTTONCHECKED, FCommand, 0) != 0;
  return FDown;
}

void TToolButton::SetDown(bool v) {
  FDown = v;
  if (FToolBar && FToolBar->HandleAllocated()) SendMessageA(FToolBar->FHandle, TB_CHECKBUTTON, FCommand, MAKELONG(v, 0));
}

void TToolButton::SetMenuItem(TMenuItem* v) {
  if (FMenuItem) FMenuItem->RemoveFreeNotification(this);
  FMenuItem = v;
  if (v) {
    v->FreeNotification(this);
    FText = v->ShownCaption();
    FEnabled = v->ShownEnabled();
  }
  Changed();
}

void TToolButton::SetDropdownMenu(TPopupMenu* v) {
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
  FDropdownMenu = v;
  if (v) v->FreeNotification(this);
}

void TToolButton::Notification(TComponent* c, TOperation op) {
  TControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FMenuItem) FMenuItem = nullptr;
  if (c == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::SetText(const std::string& v) {
  TControl::SetText(v);
  Changed();
}

void TToolButton::SetEnabled(bool v) {
  TControl::SetEnabled(v);
  Changed();
}

void TToolButton::SetVisible(bool v) {
  TControl::SetVisible(v);
  Changed();
}

void TToolButton::WndProc(TMessage& m) {
  // The mouse belongs to the bar's system control: the button is never the control under it.
  if (m.Msg == CM_HITTEST) {
    m.Result = HTNOWHERE;
    return;
  }
  TControl::WndProc(m);
}

void TToolButton::Click() {
  if (FMenuItem && FMenuItem->Count() > 0) {
    DropDown();
    return;
  }
  if (FMenuItem) {
    if (FMenuItem->ShownEnabled()) FMenuItem->Click();
    return;
  }
  TControl::Click();
}

bool TToolButton::DropDown() {
  if (!FToolBar || !FToolBar->HandleAllocated()) return false;
  if (!FDropdownMenu && (!FMenuItem || FMenuItem->Count() == 0)) return false;
  const HWND bar = FToolBar->FHandle;
  const UINT command = FCommand;  // the chosen item's handler may free the button
  RECT r{};
  SendMessageA(bar, TB_GETRECT, FCommand, LPARAM(&r));
  POINT p{r.left, r.bottom};
  ::ClientToScreen(bar, &p);
  // The button shows pressed while its menu is open.
  SendMessageA(bar, TB_PRESSBUTTON, FCommand, MAKELONG(TRUE, 0));
  if (FDropdownMenu) {
    FDropdownMenu->PopupComponent = this;
    FDropdownMenu->Popup(p.x, p.y);
  } else if (TMenuItem* chosen = TrackMenuItems(FMenuItem, p.x, p.y)) {
    if (chosen->ShownEnabled()) chosen->Click();
  }
  if (IsWindow(bar)) SendMessageA(bar, TB_PRESSBUTTON, command, MAKELONG(FALSE, 0));
  return true;
}

ORV_DEFINE_CLASS(TToolBar, TWinControl, FactoryOf<TToolBar>(),
                 {BoolProp<TToolBar>("Flat", &TToolBar::GetFlat, &TToolBar::SetFlat),
                  BoolProp<TToolBar>("ShowCaptions", &TToolBar::GetShowCaptions, &TToolBar::SetShowCaptions),
                  IntProp<TToolBar>("ButtonWidth", &TToolBar::GetButtonWidth, &TToolBar::SetButtonWidth),
                  IntProp<TToolBar>("ButtonHeight", &TToolBar::GetButtonHeight, &TToolBar::SetButtonHeight),
                  RefProp<TToolBar, TImageList>("Images", &TToolBar::GetImages, &TToolBar::SetImages),
                  RefProp<TToolBar, TMenu>("Menu", &TToolBar::GetMenu, &TToolBar::SetMenu),
                  EventProp("OnCustomDraw", &TToolBar::OnCustomDraw),
                  EventProp("OnCustomDrawButton", &TToolBar::OnCustomDrawButton)})

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner), FCanvas(new TControlCanvas(this)) {
  FWidth = 150;
  FHeight = 29;
  FAlign = alTop;
  FColor = clBtnFace;
  FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks;
}

TToolBar::~TToolBar() {
  for (TToolButton* b : FButtons) b->FToolBar = nullptr;
  FButtons.clear();
  if (FImages) FImages->RemoveFreeNotification(this);
  if (FMenu) FMenu->RemoveFreeNotification(this);
  delete FCanvas;
}

void TToolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, TOOLBARCLASSNAMEA);
  // The bar keeps the bounds it is given; the class library places it.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (FFlat ? TBSTYLE_FLAT : 0);
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(FHandle, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  RebuildButtons();
}

void TToolBar::Loaded() {
  TWinControl::Loaded();
  RebuildButtons();
}

void TToolBar::DoSetBounds(int l, int t, int w, int h) {
  TWinControl::DoSetBounds(l, t, w, h);
  UpdateButtonBounds();
}

void TToolBar::SetFlat(bool v) {
  if (FFlat == v) return;
  FFlat = v;
  if (HandleAllocated()) {
    const LONG style = GetWindowLongA(FHandle, GWL_STYLE);
    SetWindowLongA(FHandle, GWL_STYLE, v ? style | TBSTYLE_FLAT : style & ~TBSTYLE_FLAT);
    InvalidateRect(FHandle, nullptr, TRUE);
  }
}

void TToolBar::SetShowCaptions(bool v) {
  FShowCaptions = v;
  RebuildButtons();
}

void TToolBar::SetButtonWidth(int v) {
  FButtonWidth = v;
  RebuildButtons();
}

void TToolBar::SetButtonHeight(int v) {
  FButtonHeight = v;
  RebuildButtons();
}

void TToolBar::SetImages(TImageList* v) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = v;
  if (v) v->FreeNotification(this);
  RebuildButtons();
}

// One button per top-level item of the menu, in place of the ones made for the menu before.
void TToolBar::SetMenu(TMenu* v) {
  if (FMenu) FMenu->RemoveFreeNotification(this);
  const std::vector<TToolButton*> old = FMenuButtons;
  FMenuButtons.clear();
  for (TToolButton* b : old) b->Free();
  FMenu = v;
  if (!v) return;
  v->FreeNotification(this);
  FRebuilding = true;  // one rebuild at the end
  for (int i = 0; i < v->Items()->Count(); ++i) {
    auto* b = new TToolButton(this);
    b->SetParent(this);
    b->SetMenuItem(v->Items()->Items(i));
    FMenuButtons.push_back(b);
  }
  FRebuilding = false;
  RebuildButtons();
}

void TToolBar::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FImages) {
    FImages = nullptr;
    RebuildButtons();
  }
  if (c == FMenu) FMenu = nullptr;
  FMenuButtons.erase(std::remove(FMenuButtons.begin(), FMenuButtons.end(), c), FMenuButtons.end());
}

void TToolBar::InsertButton(TToolButton* b) {
  b->FToolBar = this;
  FButtons.push_back(b);
  RebuildButtons();
}

void TToolBar::RemoveButton(TToolButton* b) {
  b->FToolBar = nullptr;
  FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), b), FButtons.end());
  FMenuButtons.erase(std::remove(FMenuButtons.begin(), FMenuButtons.end(), b), FMenuButtons.end());
  RebuildButtons();
}

TToolButton* TToolBar::ButtonByCommand(UINT command) const {
  for (TToolButton* b : FButtons)
    if (b->FCommand == command) return b;
  return nullptr;
}

void TToolBar::RebuildButtons() {
  if (!HandleAllocated() || FRebuilding || IsLoading() || IsDestroying()) return;
  FRebuilding = true;
  // The checked states live in the system control while it stands.
  for (TToolButton* b : FButtons)
    if (SendMessageA(FHandle, TB_COMMANDTOINDEX, b->FCommand, 0) >= 0)
      b->FDown = SendMessageA(FHandle, TB_ISBUTTONCHECKED, b->FCommand, 0) != 0;
  while (SendMessageA(FHandle, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(FHandle, TB_DELETEBUTTON, 0, 0);
  SendMessageA(FHandle, TB_SETIMAGELIST, 0, LPARAM(FImages ? FImages->Handle() : nullptr));
  SendMessageA(FHandle, TB_SETBUTTONSIZE, 0, MAKELONG(FButtonWidth, FButtonHeight));
  std::vector<std::string> texts;
  texts.reserve(FButtons.size());
  for (TToolButton* b : FButtons) texts.push_back(b->FText);
  std::vector<TBBUTTON> buttons;
  for (size_t i = 0; i < FButtons.size(); ++i) {
    TToolButton* b = FButtons[i];
    TBBUTTON tb{};
    tb.idCommand = int(b->FCommand);
    const bool separator = b->FStyle == tbsSeparator || b->FStyle == tbsDivider;
    tb.iBitmap = separator ? b->FWidth : (FImages ? b->FImageIndex : I_IMAGENONE);
    tb.fsStyle = BYTE(separator                   ? BTNS_SEP
                      : b->FStyle == tbsCheck     ? BTNS_CHECK
                      : b->FStyle == tbsDropDown  ? BTNS_DROPDOWN
                                                  : BTNS_BUTTON);
    tb.fsState = BYTE((b->FEnabled ? TBSTATE_ENABLED : 0) | (b->FDown ? TBSTATE_CHECKED : 0) |
                      (b->FVisible ? 0 : TBSTATE_HIDDEN));
    tb.iString = FShowCaptions && !separator ? INT_PTR(texts[i].c_str()) : -1;
    buttons.push_back(tb);
  }
  if (!buttons.empty()) SendMessageA(FHandle, TB_ADDBUTTONSA, buttons.size(), LPARAM(buttons.data()));
  FRebuilding = false;
  UpdateButtonBounds();
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TToolBar::UpdateButtonBounds() {
  if (!HandleAllocated()) return;
  for (TToolButton* b : FButtons) {
    RECT r{};
    if (!SendMessageA(FHandle, TB_GETRECT, b->FCommand, LPARAM(&r))) continue;
    b->FLeft = r.left;
    b->FTop = r.top;
    b->FWidth = r.right - r.left;
    b->FHeight = r.bottom - r.top;
  }
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& cd) {
  switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
      const LRESULT items = OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
      if (!OnCustomDraw) return items;
      bool defaultDraw = true;
      FCanvas->PaintOn(cd.nmcd.hdc, FFont, [&] { OnCustomDraw(this, GetClientRect(), defaultDraw); });
      return defaultDraw ? items : CDRF_SKIPDEFAULT;
    }
    case CDDS_ITEMPREPAINT: {
      TToolButton* b = ButtonByCommand(UINT(cd.nmcd.dwItemSpec));
      if (!b || !OnCustomDrawButton) return CDRF_DODEFAULT;
      bool defaultDraw = true;
      FCanvas->PaintOn(cd.nmcd.hdc, FFont, [&] {
        OnCustomDrawButton(this, b, CustomDrawStateOf(cd.nmcd.uItemState), defaultDraw);
        cd.clrText = ColorToRGB(FCanvas->Font()->GetColor());
      });
      // The handler owns the button's background: the bar adds only the image and the text.
      return defaultDraw ? TBCDRF_NOBACKGROUND | TBCDRF_NOEDGES : CDRF_SKIPDEFAULT;
    }
  }
  return CDRF_DODEFAULT;
}

void TToolBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY:
      if (const NMHDR* h = NotifyHeader(m)) {
        if (h->code == NM_CUSTOMDRAW) {
          m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
          return;
        }
        if (h->code == TBN_DROPDOWN) {
          const auto* n = reinterpret_cast<const NMTOOLBARA*>(m.LParam);
          if (TToolButton* b = ButtonByCommand(UINT(n->iItem))) b->DropDown();
          m.Result = TBDDRET_DEFAULT;
          return;
        }
      }
      break;
    case CN_COMMAND:
      if (TToolButton* b = ButtonByCommand(LOWORD(m.WParam))) {
        if (b->FStyle == tbsCheck) b->FDown = SendMessageA(FHandle, TB_ISBUTTONCHECKED, b->FCommand, 0) != 0;
        b->Click();
        m.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(m);
      UpdateButtonBounds();
      return;
  }
  TWinControl::WndProc(m);
}
