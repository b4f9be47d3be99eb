// Menus: items, the popup menu and the main menu of a form, over real system menu handles.
//
// Every item has a command identifier unique in the process and, once it has sub-items and someone
// asks, a menu handle of its own holding them. A menu's handle is its root item's. The handles
// follow every change of the items (caption, state, short cut, sub-items), so a main menu attached
// to a form is always the one the window shows.
//
// An item bound to an action shows the action's caption (when it has one), enabled and checked
// state, and executes the action when chosen. Owner-drawn items (the menu's OwnerDraw, or an item
// with its own OnDrawItem) are measured and drawn by their items: the window that owns the menu
// hands WM_MEASUREITEM, WM_DRAWITEM, WM_INITMENUPOPUP and menu WM_COMMAND to DispatchMenuMessage,
// which finds the item by its command.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ActnList.h"
#include "Controls.h"

class TMenu;

using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

class TMenuItem : public TComponent, public TCaptionedState {
  ORV_CLASS(TMenuItem)
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  int GetShortCut() const { return FShortCut; }  // a key plus scShift, scCtrl, scAlt; 0 for none
  void SetShortCut(int v);
  std::string GetShortCutText() const { return ShortCutToText(FShortCut); }
  void SetShortCutText(const std::string& v) { SetShortCut(TextToShortCut(v)); }
  TAction* GetAction() const { return FAction; }
  void SetAction(TAction* a);
  bool IsLine() const { return FCaption == "-"; }

  // The identifier the system reports when the item is chosen (below the system commands).
  UINT Command() const { return FCommand; }
  // The menu handle of the sub-items, created on first use.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int i) const { return FItems.at(size_t(i)); }
  TMenuItem* Parent() const { return FParentItem; }
  int MenuIndex() const { return FParentItem ? FParentItem->IndexOf(this) : -1; }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  void Clear();  // frees the sub-items
  // The menu whose tree holds the item, or null.
  TMenu* GetParentMenu() const;
  void SetParentComponent(TComponent* parent) override;
  void Notification(TComponent* c, TOperation op) override;

  // The caption, enabled and checked state and short cut it shows (from its action where it has one).
  std::string ShownCaption() const;
  bool ShownEnabled() const;
  bool ShownChecked() const;
  bool ShownVisible() const;
  int ShownShortCut() const;
  bool IsOwnerDraw() const;
  bool InBar() const;  // a top-level item of a main menu
  // Executes the action, or runs OnClick.
  virtual void Click();
  // The size of an owner-drawn item: the default size, then OnMeasureItem may change it.
  virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
  // Draws an owner-drawn item: OnDrawItem when assigned, else the default look.
  virtual void DrawItem(TCanvas* canvas, const RECT& rect, bool selected);
  // The default look: highlight, check mark or image, caption and short cut in the canvas font.
  void DefaultDrawItem(TCanvas* canvas, const RECT& rect, bool selected);
  // Puts the visible sub-items into the handle again (with their current captions and states).
  void RebuildHandle();

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

private:
  friend class TMenu;
  void Changed() override;
  bool FDefault = false, FRadioItem = false;
  int FImageIndex = -1;
  int FShortCut = 0;
  TAction* FAction = nullptr;
  TMenuItem* FParentItem = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> FItems;
  UINT FCommand;
  HMENU FHandle = nullptr;
};

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

// What popup and main menus share: the item tree, its handle, images and owner drawing.
class TMenu : public TComponent {
  ORV_CLASS(TMenu)
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem* Items() const { return FItems; }
  HMENU Handle() { return FItems->Handle(); }
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool v);
  // The item with this command, sub-menu handle or short cut, or null.
  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
  // Clicks the enabled item with this short cut; true when there was one.
  bool IsShortCut(int shortCut);
  void Notification(TComponent* c, TOperation op) override;
  // Some item of the tree changed.
  virtual void MenuChanged(TMenuItem* source) { (void)source; }
  // A menu bar (a window's menu) rather than a popup.
  virtual bool IsBar() const { return false; }
  // A window of the system shows the menu's items (or a sub-menu's) and waits for the user; called
  // each time the menu loop idles, so a menu may dress the window it is shown in.
  virtual void MenuWindowIdle(HWND window) { (void)window; }
  // The direction of its owner control while ParentBiDiMode (left to right without one); a menu
  // reading right to left lays its entries out from the right.
  TBiDiMode GetBiDiMode() const;
  void SetBiDiMode(TBiDiMode v);
  bool GetParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool v);
  bool IsRightToLeft() const { return GetBiDiMode() != bdLeftToRight; }

private:
  TMenuItem* FItems;
  TImageList* FImages = nullptr;
  bool FOwnerDraw = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  void RebuildHandles();
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
  ORV_CLASS(TPopupMenu)
public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }
  TComponent* PopupComponent = nullptr;
  // Runs OnPopup, shows the menu at the screen point and runs the chosen item's Click.
  virtual void Popup(int x, int y);
  TNotifyEvent OnPopup;
  // The item the default item, or null.
  TMenuItem* DefaultItem() const;

private:
  bool FAutoPopup = true;
};

// A form's menu bar. The form attaches it to its window; every change of the items reaches the
// window as CM_MENUCHANGED, on which the form puts the menu back and redraws the bar.
class TMainMenu : public TMenu {
  ORV_CLASS(TMainMenu)
public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  ~TMainMenu() override;
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND h) { FWindowHandle = h; }
  void MenuChanged(TMenuItem* source) override;
  bool IsBar() const override { return true; }

private:
  HWND FWindowHandle = nullptr;
};

// What menus take from the application, which fills it in when it is made (Forms sits above this file):
// the window that owns a popup menu while it is open, and the font items are measured and drawn in.
struct TMenuEnvironment {
  std::function<HWND()> PopupOwner;
  std::function<TFont*()> MenuFont;
};
void SetMenuEnvironment(TMenuEnvironment environment);

// How a popup menu lets the user choose: the default shows the system's menu and waits. Tests install
// their own chooser (return the item to click, or null for none). Returns the previous one.
using TMenuChooser = std::function<TMenuItem*(TPopupMenu* menu, int x, int y)>;
TMenuChooser SetMenuChooser(TMenuChooser chooser);
// Shows the sub-items of `parent` as a popup menu at the screen point and waits; the chosen item (one
// of parent's descendants), or null when none was chosen.
TMenuItem* TrackMenuItems(TMenuItem* parent, int x, int y);
// Finds an item by name in a menu tree.
TMenuItem* FindMenuItem(TMenuItem* root, const std::string& name);
// The item of any live menu with this command, or null.
TMenuItem* FindItemByCommand(UINT command);
// Handles the menu messages a window receives for our menus (owner drawing, the chosen command, the
// opening of a sub-menu); false when the message is not about one of our items.
bool DispatchMenuMessage(HWND window, TMessage& m);
