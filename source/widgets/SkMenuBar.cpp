#include "SkMenuBar.h"

#include <algorithm>

#include "Forms.h"
#include "OrvWindowsUtils.h"

// ---- menu bar ----

ORV_DEFINE_CLASS(TskMenuBar, TCustomControl, FactoryOf<TskMenuBar>(), {})

TskMenuBar::TskMenuBar(TComponent* owner) : TCustomControl(owner) { SetHeight(RowHeight); }

void TskMenuBar::SetMenu(TMainMenu* m) {
  FMenu = m;
  SetVisible(m != nullptr);
  Invalidate();
}

std::vector<TMenuItem*> TskMenuBar::VisibleItems() const {
  std::vector<TMenuItem*> items;
  if (FMenu)
    for (int i = 0; i < FMenu->Items()->Count(); ++i)
      if (FMenu->Items()->Items(i)->ShownVisible()) items.push_back(FMenu->Items()->Items(i));
  return items;
}

std::vector<RECT> TskMenuBar::ItemRects() {
  std::vector<RECT> rects;
  Canvas()->Font()->Assign(Screen->MenuFont());
  int x = 2, y = 0, width = std::max(1, GetWidth());
  for (TMenuItem* item : VisibleItems()) {
    int w = Canvas()->TextWidth(item->ShownCaption()) + 14;
    if (x + w > width && x > 2) {  // the bar wraps
      x = 2;
      y += RowHeight;
    }
    rects.push_back(RECT{x, y, x + w, y + RowHeight});
    x += w;
  }
  return rects;
}

int TskMenuBar::ItemAt(int x, int y) {
  std::vector<RECT> rects = ItemRects();
  for (size_t i = 0; i < rects.size(); ++i)
    if (x >= rects[i].left && x < rects[i].right && y >= rects[i].top && y < rects[i].bottom) return int(i);
  return -1;
}

int TskMenuBar::AcceleratorItem(char ch) const {
  std::vector<TMenuItem*> items = VisibleItems();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i]->ShownEnabled() && IsAccelerator(ch, items[i]->ShownCaption())) return int(i);
  return -1;
}

void TskMenuBar::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(BarColor);
  c->FillRect(GetClientRect());
  std::vector<RECT> rects = ItemRects();
  std::vector<TMenuItem*> items = VisibleItems();
  c->Brush()->SetStyle(bsClear);
  for (size_t i = 0; i < items.size(); ++i) {
    c->Font()->SetColor(items[i]->ShownEnabled() ? clMenuText : clGrayText);
    RECT r = rects[i];
    c->DrawText(items[i]->ShownCaption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  c->Brush()->SetStyle(bsSolid);
}

void TskMenuBar::ClickItem(int index) {
  std::vector<TMenuItem*> items = VisibleItems();
  if (index < 0 || index >= int(items.size()) || !items[index]->ShownEnabled()) return;
  TMenuItem* item = items[index];
  if (item->Count() == 0) {
    item->Click();
    return;
  }
  RECT r = ItemRects()[size_t(index)];
  POINT p = ClientToScreen(POINT{r.left, r.bottom});
  TCustomForm* form = nullptr;
  for (TWinControl* w = GetParent(); w && !form; w = w->GetParent()) form = As<TCustomForm>(w);
  HWND owner = form && form->HandleAllocated() ? form->Handle() : Handle();
  // The chosen command reaches the form as WM_COMMAND and from there its item.
  TrackPopupMenu(item->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, 0, owner, nullptr);
}

void TskMenuBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button == mbLeft) ClickItem(ItemAt(x, y));
}
