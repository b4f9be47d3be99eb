// The skinned menu bar of a window with a menu (the popup-menu windows' skinner is the manager's,
// SkinManage.h).
//
// TSkinnerMenu draws the top-level items of a skinned window's menu (TMenuBtn, one per item) in the
// strip the frame leaves between caption and client area. The window's own menu is taken away while
// the bar stands; an item opens its native popup with TrackPopupMenu, and a message-filter hook lets
// the user slide from item to item (mouse, Left and Right keys) while a popup is open.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Component.h"
#include "SkinManage.h"
#include "SkinnerFrame.h"

class TSkinData;
class TSkinnerForm;
class TBitmap;
class TMenu;
class TMenuItem;

// One top-level item of the skinned menu bar.
class TMenuBtn : public TNCObject {
public:
  explicit TMenuBtn(TSkinnerForm* form) : TNCObject(form) {}
  void Paint() override;
  void OpenPopup() override;

  TMenuItem* Item = nullptr;  // the item of ours, or null for a window without a form of ours
  TSkinData* SkinData = nullptr;
  int Index = 0;
  std::wstring Caption;  // with its "&" accelerator marker
  HMENU Popup = nullptr;
  UINT Command = 0;
};

class TSkinnerMenu : public TComponent {
public:
  TSkinnerMenu(TSkinnerForm* form, TSkinData* skinData, HWND window);
  ~TSkinnerMenu() override;

  // Reads the top-level items of the window's menu and takes the menu away from the window.
  void BuildItems();
  void BuildItemsFromVcl();
  // The window's menu changed (a new menu handle, or new items): read it again and lay it out.
  void RebuildItems();
  // The item rectangles (window coordinates) without painting.
  void Layout();
  // Paints the bar into the DC at the bar rectangle (window coordinates) and places the items.
  void Paint(HDC dc, const RECT& bar);
  // The first item under the window point whose caption is not empty, or null.
  TMenuBtn* ButtonAt(POINT p) const;
  // The neighbour of the open item, wrapping at both ends.
  TMenuBtn* NextButton(bool right) const;
  // Whether the caption's accelerator ("&" and the character) is the key, ignoring case.
  static bool IsAccel(WORD key, const std::wstring& caption);
  // The first enabled, visible item with that accelerator, or null.
  TMenuBtn* FindAccel(WORD key) const;
  // Gives the window its menu back (unskinning).
  void RestoreNativeMenu();

  std::vector<TMenuBtn*> Buttons;
  TMenu* VclMenu = nullptr;
  RECT BarRect{};
  TSkinData* SkinData;
  TSkinnerForm* Form;
  TBitmap* BarBitmap;  // the painted bar without items, to repaint one item
  bool Painting = false;
  HMENU NativeMenu = nullptr;
  HWND WindowHandle;

private:
  void FreeButtons();
  void ReadItems(bool onlyEmptyCaptions);
  int Inset(int barWidth) const;
  bool BarRightToLeft() const;
};

// The menu-bar popup that is open: the index of its bar item (-1 when none).
int OpenMenuBarIndex();
// The text of a native entry, also once the skin made it owner-drawn (the menu keeps it); empty for a
// separator, an unknown entry or a menu that is gone.
std::string OwnerDrawnText(HMENU menu, UINT id);
