// The skin-form pack's replacement for a form's frame: TskForm fills the form, draws the frame in a
// UI style, and holds a title bar (TskTitleBar, with its buttons and picture sections) and, for a main
// menu, a flat menu bar (TskMenuBar). No window of the program places them.
//
// The frame is a border of BorderWidth pixels in BorderColor; a theme file with side and bottom border
// pictures ("FormLeftBorderImage", "FormBottomBorderImage") adds them inside it, the right side being
// the left picture turned by 180 degrees, and the client area shrinks by their sizes. While the form is
// active an application message hook hands its key presses to the main menu's short cuts, and Alt with
// the accelerator of a menu-bar item that no control of the form claims to that item, since the form
// keeps no menu of its own.
#pragma once

#include <memory>
#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "SkPopupMenu.h"
#include "SkStyles.h"

enum TskTitleBarBtnType { skMax, skMin, skClose, skHelp, skControlBox, skCustom };
enum TskTitleBarAlign { skLeft, skRight, skClient };
using TskTitleBarButtonClickEvent = std::function<void(TObject* Sender, int ButtonIndex)>;

class TskTitleBar;

// The frame's texts: ids of its string table and the table's lookup ("" for an unknown id).
enum : int { SSkMinimize = 65300, SSkMaximizeRestore = 65301, SSkClose = 65302 };
const char* SkFormResourceString(int id);
// The private query a frame answers with the width of its side border picture (0 without one).
constexpr UINT SK_SIDEBORDERWIDTH = 9923;

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

class TskForm : public TCustomPanel {
  ORV_CLASS(TskForm)
public:
  explicit TskForm(TComponent* owner);
  ~TskForm() override;

  TskTitleBar* TitleBar() const { return FTitleBar; }
  TskMenuBar* MenuBar() const { return FMenuBar; }
  bool GetTitleBarCustom() const { return FTitleBar->GetCustom(); }
  void SetTitleBarCustom(bool v) { FTitleBar->SetCustom(v); }
  TskFileTheme* GetFileTheme() const { return FFileTheme; }
  void SetFileTheme(TskFileTheme* v);
  TskUIStyle GetUIStyle() const { return FUIStyle; }
  void SetUIStyle(TskUIStyle v);
  bool GetUIStyleAutoUpdateSub() const { return FAutoUpdateSub; }
  void SetUIStyleAutoUpdateSub(bool v) { FAutoUpdateSub = v; }
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v);
  int GetFrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int v);
  bool GetTitleBarVisible() const { return FTitleBar->GetVisible(); }
  void SetTitleBarVisible(bool v) { FTitleBar->SetVisible(v); }
  std::string GetCaption() const;
  void SetCaption(const std::string& v);
  TWinControl* GetFormPanel() const { return FFormPanel; }
  void SetFormPanel(TWinControl* v);  // refuses the frame itself
  TskTitleBarButtons* GetTitleBarButtons() const { return FTitleBar->GetButtons(); }
  TskTitleBarSections* GetTitleBarSections() const { return FTitleBar->GetSections(); }
  bool GetTitleBarDrawAppIcon() const { return FTitleBar->GetDrawAppIcon(); }
  void SetTitleBarDrawAppIcon(bool v) { FTitleBar->SetDrawAppIcon(v); }
  TMainMenu* GetMenu() const { return FMenuBar->Menu(); }
  void SetMenu(TMainMenu* m);
  TColor GetMenuBarColor() const { return FMenuBar->BarColor; }
  void SetMenuBarColor(TColor v);
  int GetMenuBarHeight() const { return FMenuBar->RowHeight; }
  void SetMenuBarHeight(int v);
  int GetRoundCorner() const { return FRoundCorner; }
  void SetRoundCorner(int v);
  int GetRoundCornerBottom() const { return FRoundCornerBottom; }
  void SetRoundCornerBottom(int v);
  std::string GetVersion() const { return "5.8"; }
  void SetVersion(const std::string&) {}

  // Whether this frame skins its form (the first one placed on it).
  bool Attached() const { return FForm != nullptr; }
  TCustomForm* Form() const { return FForm; }
  void Loaded() override;
  void SetParent(TWinControl* parent) override;
  void Notification(TComponent* c, TOperation op) override;
  // Maximized: the work area, 4 pixels wider on the left, top and right and one less at the bottom.
  bool Maximized() const { return FMaximized; }
  void SetMaximized(bool v);
  // The window region: rounded upper and lower halves.
  void UpdateRegion();
  // The theme file's border pictures as the frame draws them (null without them).
  TBitmap* LeftBorderPicture() const { return FLeftBorder.get(); }
  TBitmap* RightBorderPicture() const { return FRightBorder.get(); }
  TBitmap* BottomBorderPicture() const { return FBottomBorder.get(); }
  int SideBorderWidth() const { return FLeftBorder ? FLeftBorder->GetWidth() : 0; }
  int BottomBorderHeight() const { return FBottomBorder ? FBottomBorder->GetHeight() : 0; }
  // A key press while the form is active: the main menu's short cut, a menu-bar accelerator, or
  // Alt+Space for the window menu. True when it was used.
  bool HandleKeyMessage(const MSG& msg);

  TskTitleBarButtonClickEvent OnTitleBarCustomBtnsClick, OnTitleBarHelpBtnClick;

private:
  void Attach();
  void Detach();
  void FormWndProc(TMessage& m);
  void PaintFrame();
  void StripCaption();
  void LoadBorderPictures();
  void ShowWindowMenu();
  TskTitleBar* FTitleBar;
  TskMenuBar* FMenuBar;
  TskFileTheme* FFileTheme = nullptr;
  TskUIStyle FUIStyle = DeepBlue;
  bool FAutoUpdateSub = false;
  TColor FBorderColor = clBlack;
  int FFrameWidth = 1, FRoundCorner = 0, FRoundCornerBottom = 0;
  TWinControl* FFormPanel = nullptr;
  TCustomForm* FForm = nullptr;
  bool FMaximized = false;
  RECT FNormalBounds{0, 0, 0, 0};
  std::function<void(TMessage&)> FPreviousWndProc;
  std::unique_ptr<TBitmap> FLeftBorder, FRightBorder, FBottomBorder;
  int FKeyHook = 0;
};
