// The skinned form frame's menu bar: the main menu's items as flat buttons.
#pragma once

#include <vector>

#include "Controls.h"
#include "Menus.h"

// The main menu's top-level items as flat buttons below the title bar; a click opens the item's
// sub-menu (or clicks an item without one).
class TskMenuBar : public TCustomControl {
  ORV_CLASS(TskMenuBar)
public:
  explicit TskMenuBar(TComponent* owner);
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* m);
  // The button of each visible item (client coordinates), wrapping onto further rows.
  std::vector<RECT> ItemRects();
  int ItemAt(int x, int y);
  void ClickItem(int index);
  // The visible, enabled item whose caption has `ch` as its accelerator; -1 for none.
  int AcceleratorItem(char ch) const;
  void Paint() override;

protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

public:
  TColor BarColor = clBtnFace;
  int RowHeight = 22;

private:
  std::vector<TMenuItem*> VisibleItems() const;
  TMainMenu* FMenu = nullptr;
  int FHot = -1;
};
