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
#include "SkMenuBar.h"
#include "SkStyles.h"
#include "SkTitleBar.h"

// The private query a frame answers with the width of its side border picture (0 without one).
constexpr UINT SK_SIDEBORDERWIDTH = 9923;

class TskForm : public TCustomPanel, public IskTitleBarHost {
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
  bool Maximized() const override { return FMaximized; }
  void SetMaximized(bool v) override;
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
