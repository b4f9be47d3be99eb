// The skinned form frame's title bar (TskTitleBar) with its buttons, picture sections and window menu.
#pragma once

#include <functional>
#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "SkPopupMenu.h"
#include "SkStyles.h"

class TskFileTheme;

enum TskTitleBarBtnType { skMax, skMin, skClose, skHelp, skControlBox, skCustom };
enum TskTitleBarAlign { skLeft, skRight, skClient };
using TskTitleBarButtonClickEvent = std::function<void(TObject* Sender, int ButtonIndex)>;

class TskTitleBar;

// The frame's texts: ids of its string table and the table's lookup ("" for an unknown id).
enum : int { SSkMinimize = 65300, SSkMaximizeRestore = 65301, SSkClose = 65302 };
const char* SkFormResourceString(int id);
// Entries of the style table the frame and its title bar read.
enum {
  eTitleButtonImage = 5, eTitleButtonTransparent = 6, eTitleButtonLeftOffset = 7, eTitleButtonRightOffset = 8,
  eTitleButtonTop = 9, eTitleLeft = 10, eTitleClient = 11, eTitleRight = 12, eFormMinWidth = 13,
  eFormRoundCorner = 14, eFormBackground = 15, eFormBorderColor = 16, eFormBorderWidth = 17,
  eMenuBarColor = 48, eTitleFontColor = 44, eFormLeftBorder = 45, eFormBottomBorder = 46
};

// What a title bar asks of the frame it stands on (TskForm): the frame keeps its own maximized state
// (the system's would ask a window manager).
class IskTitleBarHost {
public:
  virtual bool Maximized() const = 0;
  virtual void SetMaximized(bool v) = 0;

protected:
  ~IskTitleBarHost() = default;
};

class TskTitleBarButton : public TCollectionItem {
  ORV_CLASS(TskTitleBarButton)
public:
  explicit TskTitleBarButton(TCollection* collection);
  ~TskTitleBarButton() override;
  TskUIStyle GetUIStyle() const { return FUIStyle; }
  void SetUIStyle(TskUIStyle v);
  TskTitleBarBtnType GetButtonType() const { return FButtonType; }
  void SetButtonType(TskTitleBarBtnType v);  // refuses a second control box
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  int GetTop() const { return FTop; }
  void SetTop(int v);
  TPopupMenu* GetControlBoxMenu() const { return FControlBoxMenu; }
  void SetControlBoxMenu(TPopupMenu* v);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  TPicture* GetPicNormal() const { return FPics[0]; }
  TPicture* GetPicMouseOn() const { return FPics[1]; }
  TPicture* GetPicMouseDown() const { return FPics[2]; }
  // The picture of a state (0 normal, 1 pointer over, 2 pressed): its own, else the style's frame.
  void GetPicture(int state, bool maximized, TBitmap* bitmap) const;
  TskTitleBar* TitleBar() const;

private:
  TskUIStyle FUIStyle = DeepBlue;
  TskTitleBarBtnType FButtonType = skCustom;
  bool FTransparent = false, FVisible = true;
  int FTop = 2;
  TPopupMenu* FControlBoxMenu = nullptr;
  TPicture* FPics[3];
};

class TskTitleBarSection : public TCollectionItem {
  ORV_CLASS(TskTitleBarSection)
public:
  explicit TskTitleBarSection(TCollection* collection);
  ~TskTitleBarSection() override;
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  int GetWidth() const { return FWidth; }
  void SetWidth(int v);
  TskTitleBarAlign GetAlign() const { return FAlign; }
  void SetAlign(TskTitleBarAlign v);  // refuses a second client section
  TPicture* GetPicture() const { return FPicture; }
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  // The width it takes: the picture's with AutoSize, else Width.
  int ShownWidth() const;

private:
  bool FAutoSize = false, FStretch = false;
  int FWidth = 10;
  TskTitleBarAlign FAlign = skLeft;
  TPicture* FPicture;
};

// Both collections repaint their title bar when an item changes.
class TskTitleBarButtons : public TCollection {
  ORV_CLASS(TskTitleBarButtons)
public:
  explicit TskTitleBarButtons(TskTitleBar* bar);
  TskTitleBarButton* Items(int i) const { return static_cast<TskTitleBarButton*>(TCollection::Items(i)); }
  TskTitleBarButton* Add() { return static_cast<TskTitleBarButton*>(TCollection::Add()); }
  void Update(TCollectionItem* item) override;
};

class TskTitleBarSections : public TCollection {
  ORV_CLASS(TskTitleBarSections)
public:
  explicit TskTitleBarSections(TskTitleBar* bar);
  TskTitleBarSection* Items(int i) const { return static_cast<TskTitleBarSection*>(TCollection::Items(i)); }
  TskTitleBarSection* Add() { return static_cast<TskTitleBarSection*>(TCollection::Add()); }
  void Update(TCollectionItem* item) override;
};

// The title bar's window menu: Minimize, Maximize/Restore, a separator and Close.
class TskTitleBarPopupMenu : public TskPopupMenu {
  ORV_CLASS(TskTitleBarPopupMenu)
public:
  explicit TskTitleBarPopupMenu(TComponent* owner);
  // Enables each item as its title bar button is visible.
  void UpdateItems(TskTitleBar* bar);
  TMenuItem *Minimize, *Maximize, *Line, *Close;
};

class TskTitleBar : public TCustomPanel {
  ORV_CLASS(TskTitleBar)
public:
  explicit TskTitleBar(TComponent* owner);
  ~TskTitleBar() override;

  bool GetCustom() const { return FCustom; }
  void SetCustom(bool v);
  TskFileTheme* GetFileTheme() const { return FFileTheme; }
  void SetFileTheme(TskFileTheme* v);
  TskUIStyle GetUIStyle() const { return FUIStyle; }
  void SetUIStyle(TskUIStyle v);
  TskTitleBarButtons* GetButtons() const { return FButtons; }
  TskTitleBarSections* GetSections() const { return FSections; }
  int GetButtonInterval() const { return FButtonInterval; }
  void SetButtonInterval(int v);
  bool GetFormActive() const { return FFormActive; }
  void SetFormActive(bool v);
  int GetLeftBtnXOffset() const { return FLeftBtnXOffset; }
  void SetLeftBtnXOffset(int v);
  int GetRightBtnXOffset() const { return FRightBtnXOffset; }
  void SetRightBtnXOffset(int v);
  bool GetDrawAppIcon() const { return FDrawAppIcon; }
  void SetDrawAppIcon(bool v);
  int GetRoundCorner() const { return FRoundCorner; }
  void SetRoundCorner(int v) { FRoundCorner = v; }
  int GetRoundCornerBottom() const { return FRoundCornerBottom; }
  void SetRoundCornerBottom(int v) { FRoundCornerBottom = v; }
  TskTitleBarPopupMenu* WindowMenu() const { return FWindowMenu; }

  // Where each visible button stands (client coordinates); empty for a hidden one.
  RECT ButtonRect(int index) const;
  int ButtonAt(int x, int y) const;  // -1 for none
  // What a button does (as a click on it would).
  void ButtonAction(int index);
  TCustomForm* Form() const;
  void Paint() override;
  void Notification(TComponent* c, TOperation op) override;

  TskTitleBarButtonClickEvent OnCustomBtnsClick, OnHelpBtnClick;

protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;

private:
  void ToggleMaximize();
  void StyleBitmap(int entry, TBitmap* bitmap) const;
  int ButtonTop() const;
  bool FCustom = false, FFormActive = true, FDrawAppIcon = false;
  TskFileTheme* FFileTheme = nullptr;
  TskUIStyle FUIStyle = DeepBlue;
  TskTitleBarButtons* FButtons;
  TskTitleBarSections* FSections;
  int FButtonInterval = 0, FLeftBtnXOffset = 0, FRightBtnXOffset = 0, FRoundCorner = 0, FRoundCornerBottom = 0;
  int FHot = -1, FPressed = -1;
  TskTitleBarPopupMenu* FWindowMenu;
};
