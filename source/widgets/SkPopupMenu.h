// The skin-form pack's owner-drawn menus (TskPopupMenu, TskMainMenu) and the unit's shared check-mark
// image list ("MENU_CHECKED", white as the transparent colour), created when the program starts and
// freed when it ends.
//
// Both menus are always owner-drawn: every item, also one inserted later, is measured and drawn by the
// menu's look (a side bar, colours of the UI style, a selected frame, the check-mark picture). With
// FlatMenu the system's window that shows the items gets a flat border: one line in BorderColor, the
// rest of its frame in the menu's Color.
#pragma once

#include <string>

#include "Graphics.h"
#include "Menus.h"
#include "SkStyles.h"

class TskFileTheme;

// The shared check-mark images (one image; empty when the picture could not be loaded).
TImageList* SkMenuCheckedImages();

// What the two menus share: their look, its properties and the measure and draw handlers.
class TskMenuLook {
public:
  explicit TskMenuLook(TMenu* menu) : FMenu(menu) {}
  virtual ~TskMenuLook() = default;

  TskUIStyle GetUIStyle() const { return FUIStyle; }
  void SetUIStyle(TskUIStyle v);
  TskFileTheme* GetFileTheme() const { return FFileTheme; }
  void SetFileTheme(TskFileTheme* v);
  int GetMenuItemHeight() const { return FItemHeight; }
  void SetMenuItemHeight(int v);  // ignored in the MacOS style
  int GetSeparatorHeight() const { return FSeparatorHeight; }
  void SetSeparatorHeight(int v);  // ignored in the MacOS style
#define ORV_LOOK_FIELD(Name, Type, Field) \
  Type Get##Name() const { return Field; } \
  void Set##Name(Type v) { Field = v; }
  ORV_LOOK_FIELD(BarWidth, int, FBarWidth)
  ORV_LOOK_FIELD(BarColor, TColor, FBarColor)
  ORV_LOOK_FIELD(Color, TColor, FColor)
  ORV_LOOK_FIELD(SeparatorColor, TColor, FSeparatorColor)
  ORV_LOOK_FIELD(SelectedBorderColor, TColor, FSelectedBorderColor)
  ORV_LOOK_FIELD(SelectedColor, TColor, FSelectedColor)
  ORV_LOOK_FIELD(SelectedFontColor, TColor, FSelectedFontColor)
  ORV_LOOK_FIELD(FontColor, TColor, FFontColor)
  ORV_LOOK_FIELD(BorderColor, TColor, FBorderColor)
  ORV_LOOK_FIELD(FlatMenu, bool, FFlatMenu)
  ORV_LOOK_FIELD(FontSize, int, FFontSize)
  ORV_LOOK_FIELD(FontCharset, int, FFontCharset)
  ORV_LOOK_FIELD(UseSystemFont, bool, FUseSystemFont)
#undef ORV_LOOK_FIELD
  std::string GetFontName() const { return FFontName; }
  void SetFontName(const std::string& v) { FFontName = v; }
  bool GetOwnerDraw() const { return true; }
  void SetOwnerDraw(bool) {}  // always owner-drawn

  // The handlers every item gets (public for tests and for the menu bar).
  void MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height);
  void DrawItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, bool selected);
  // The window showing the menu waits for the user: a flat menu gives it its flat border.
  void DressMenuWindow(HWND window);

protected:
  // Gives the item and everything below it the look's handlers.
  void Hook(TMenuItem* item);
  // Drops the theme component when `component` is it.
  void ForgetFileTheme(TComponent* component);
  void SetFontOf(TCanvas* canvas, TMenuItem* item);
  TMenu* FMenu;
  TskUIStyle FUIStyle = DeepBlue;
  TskFileTheme* FFileTheme = nullptr;
  int FItemHeight = 21, FSeparatorHeight = 21, FBarWidth = 26;
  TColor FBarColor = clBtnFace, FColor = clWhite, FSeparatorColor = clGray, FSelectedBorderColor = clHighlight,
         FSelectedColor = clHighlight, FSelectedFontColor = clHighlightText, FFontColor = clBlack,
         FBorderColor = clBlack;
  bool FFlatMenu = false, FUseSystemFont = false;
  std::string FFontName = "MS Sans Serif";
  int FFontSize = 8, FFontCharset = DEFAULT_CHARSET;
};

// A platform menu class with the look: every changed item is hooked for measuring and drawing, and
// a theme component that goes is forgotten.
template <class Menu>
class TskLookMenu : public Menu, public TskMenuLook {
public:
  using TskMenuLook::GetOwnerDraw;
  using TskMenuLook::SetOwnerDraw;
  void MenuChanged(TMenuItem* source) override {
    Hook(source);
    Menu::MenuChanged(source);
  }
  void MenuWindowIdle(HWND window) override { DressMenuWindow(window); }
  void Notification(TComponent* c, TOperation op) override {
    Menu::Notification(c, op);
    if (op == opRemove) ForgetFileTheme(c);
  }

protected:
  explicit TskLookMenu(TComponent* owner) : Menu(owner), TskMenuLook(this) {}
};

class TskPopupMenu : public TskLookMenu<TPopupMenu> {
  ORV_CLASS(TskPopupMenu)
public:
  explicit TskPopupMenu(TComponent* owner);
};

class TskMainMenu : public TskLookMenu<TMainMenu> {
  ORV_CLASS(TskMainMenu)
public:
  explicit TskMainMenu(TComponent* owner);
  void MenuChanged(TMenuItem* source) override;
  // Owned by a form: takes the form's menu away and hands itself to the form's first skinned frame.
  void Loaded() override;
  // Told of every change of the items (the skinned frame's menu bar follows them).
  TNotifyEvent OnChange;
};
