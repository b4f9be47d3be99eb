// Popup menus and their items. An item bound to an action takes the action's caption (when it has
// one), enabled and checked state each time the menu opens, and executes the action when chosen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ActnList.h"
#include "Controls.h"

class TMenuItem : public TComponent {
  ORV_CLASS(TMenuItem)
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v) { FChecked = v; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v) { FDefault = v; }
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v) { FRadioItem = v; }
  TAction* GetAction() const { return FAction; }
  void SetAction(TAction* a);
  bool IsLine() const { return FCaption == "-"; }

  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int i) const { return FItems.at(size_t(i)); }
  TMenuItem* Parent() const { return FParentItem; }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  void Clear();  // frees the sub-items
  void SetParentComponent(TComponent* parent) override;
  void Notification(TComponent* c, TOperation op) override;

  // The caption, enabled and checked state it shows (from its action where it has one).
  std::string ShownCaption() const;
  bool ShownEnabled() const;
  bool ShownChecked() const;
  bool ShownVisible() const;
  // Executes the action, or runs OnClick.
  virtual void Click();
  TNotifyEvent OnClick;

private:
  std::string FCaption;
  bool FChecked = false, FEnabled = true, FVisible = true, FDefault = false, FRadioItem = false;
  TAction* FAction = nullptr;
  TMenuItem* FParentItem = nullptr;
  std::vector<TMenuItem*> FItems;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
  ORV_CLASS(TPopupMenu)
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  TMenuItem* Items() const { return FItems; }
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }
  TComponent* PopupComponent = nullptr;
  // Runs OnPopup, shows the menu at the screen point and runs the chosen item's Click.
  virtual void Popup(int x, int y);
  TNotifyEvent OnPopup;
  // The item the default item, or null.
  TMenuItem* DefaultItem() const;

private:
  TMenuItem* FItems;
  bool FAutoPopup = true;
};

// How a popup menu lets the user choose: the default shows the system's menu and waits. Tests install
// their own chooser (return the item to click, or null for none). Returns the previous one.
using TMenuChooser = std::function<TMenuItem*(TPopupMenu* menu, int x, int y)>;
TMenuChooser SetMenuChooser(TMenuChooser chooser);
// Finds an item by name in a menu tree.
TMenuItem* FindMenuItem(TMenuItem* root, const std::string& name);
