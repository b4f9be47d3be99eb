#include "SkPopupMenu.h"

#include <memory>

#include "Forms.h"
#include "SkBitmaps.h"
#include "SkThemeMgr.h"
#include "Subclass.h"

namespace {

std::unique_ptr<TImageList>& CheckedImages() {
  static std::unique_ptr<TImageList> list;
  return list;
}

struct TStartUp {
  TStartUp() {
    auto& list = CheckedImages();
    list.reset(new TImageList(nullptr));
    try {
      TBitmap check;
      LoadSkinFormBitmap("MENU_CHECKED", &check);
      list->SetWidth(check.GetWidth());
      list->SetHeight(check.GetHeight());
      list->AddMasked(&check, clWhite);
    } catch (...) {
      // Start-up goes on; a menu would then show its items without a check mark.
    }
  }
  ~TStartUp() { CheckedImages().reset(); }
};

const TStartUp gStartUp;

// The menus' colours, entries 18 to 23 of the style table, in the order of their fields.
enum { eSelectedBorder = 18, eSelected, eSelectedFont, eBackground, eFont, eBar };

}  // namespace

TImageList* SkMenuCheckedImages() { return CheckedImages().get(); }

namespace {

// Repaints the flat border whenever the menu window paints; lives as long as the window. The border
// is all that lies between the window's edge and its items (the system draws its own there, in the
// frame or inside the client area): one line in the border colour, the rest in the menu's colour.
class TFlatMenuBorder : public TWindowSubclass {
public:
  TFlatMenuBorder(TColor border, TColor face) : FBorder(border), FFace(face) {}
  void Paint() {
    HWND h = Window();
    RECT wr, items{0, 0, 0, 0};
    GetWindowRect(h, &wr);
    HMENU menu = HMENU(SendMessageA(h, MN_GETHMENU, 0, 0));
    for (int i = 0, n = menu ? GetMenuItemCount(menu) : 0; i < n; ++i) {
      RECT r;
      if (GetMenuItemRect(nullptr, menu, UINT(i), &r)) UnionRect(&items, &items, &r);
    }
    if (IsRectEmpty(&items)) {
      ::GetClientRect(h, &items);
      MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&items), 2);
    }
    OffsetRect(&items, -wr.left, -wr.top);
    OffsetRect(&wr, -wr.left, -wr.top);
    IntersectRect(&items, &items, &wr);
    HDC dc = GetWindowDC(h);
    ExcludeClipRect(dc, items.left, items.top, items.right, items.bottom);
    FillSolidRect(dc, wr, FFace);
    HBRUSH b = CreateSolidBrush(ColorToRGB(FBorder));
    FrameRect(dc, &wr, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
  }

protected:
  LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
    LRESULT r = CallPrevious(msg, w, l);
    if (msg == WM_NCPAINT || msg == WM_PAINT || msg == WM_WINDOWPOSCHANGED) Paint();
    return r;
  }
  void WindowDestroyed() override { delete this; }

private:
  TColor FBorder, FFace;
};

}  // namespace

void TskMenuLook::DressMenuWindow(HWND window) {
  if (!FFlatMenu || !window) return;
  auto* border = TWindowSubclass::Find<TFlatMenuBorder>(window);
  if (!border) {
    border = new TFlatMenuBorder(FBorderColor, FColor);
    if (!border->Install(window)) {
      delete border;
      return;
    }
  }
  border->Paint();
}

// ---- the look ----

void TskMenuLook::SetUIStyle(TskUIStyle v) {
  FUIStyle = v;
  TskUIStyle style;
  bool file = UseFileTheme(FFileTheme, v, style);
  FBarWidth = 26;
  if (style == MacOS && !file) {
    FItemHeight = 20;
    FSeparatorHeight = 12;
    FSeparatorColor = clBlack;
  } else {
    FItemHeight = 21;
    FSeparatorHeight = 5;
    FSeparatorColor = TColor(0x848284);
  }
  auto colour = [&](int entry) { return file ? FFileTheme->GetColor(entry) : GetBuiltInThemeColor(style, entry); };
  FSelectedBorderColor = colour(eSelectedBorder);
  FSelectedColor = colour(eSelected);
  FSelectedFontColor = colour(eSelectedFont);
  FColor = colour(eBackground);
  FFontColor = colour(eFont);
  FBarColor = colour(eBar);
}

void TskMenuLook::SetFileTheme(TskFileTheme* v) {
  FFileTheme = v;
  SetUIStyle(FUIStyle);
}

void TskMenuLook::SetMenuItemHeight(int v) {
  if (FUIStyle != MacOS) FItemHeight = v;
}

void TskMenuLook::SetSeparatorHeight(int v) {
  if (FUIStyle != MacOS) FSeparatorHeight = v;
}

void TskMenuLook::Hook(TMenuItem* item) {
  if (item != FMenu->Items()) {
    item->OnMeasureItem = [this](TObject* s, TCanvas* c, int& w, int& h) { MeasureItem(static_cast<TMenuItem*>(s), c, w, h); };
    item->OnDrawItem = [this](TObject* s, TCanvas* c, const RECT& r, bool sel) { DrawItem(static_cast<TMenuItem*>(s), c, r, sel); };
  }
  for (int i = 0; i < item->Count(); ++i) Hook(item->Items(i));
}

void TskMenuLook::SetFontOf(TCanvas* canvas, TMenuItem* item) {
  if (FUseSystemFont) {
    canvas->Font()->Assign(Screen->MenuFont());
  } else {
    canvas->Font()->SetName(FFontName);
    canvas->Font()->SetSize(FFontSize);
    canvas->Font()->SetCharset(FFontCharset);
  }
  canvas->Font()->SetStyle(item->GetDefault() ? 1u << fsBold : 0);
}

void TskMenuLook::MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
  SetFontOf(canvas, item);
  int sc = item->ShownShortCut();
  width = canvas->TextWidth(item->ShownCaption()) + (sc ? canvas->TextWidth(ShortCutToText(sc)) : 0) + FBarWidth + 40;
  height = item->IsLine() ? FSeparatorHeight : FItemHeight;
}

void TskMenuLook::DrawItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, bool selected) {
  bool enabled = item->ShownEnabled();
  bool hot = selected && enabled && !item->IsLine();
  bool macOS = FUIStyle == MacOS;
  const bool rightToLeft = FMenu->IsRightToLeft();
  RECT bar{rect.left, rect.top, rect.left + FBarWidth, rect.bottom};
  RECT rest{bar.right, rect.top, rect.right, rect.bottom};
  if (rightToLeft) {
    bar = RECT{rect.right - FBarWidth, rect.top, rect.right, rect.bottom};
    rest = RECT{rect.left, rect.top, bar.left, rect.bottom};
  }
  if (hot) {
    if (macOS) {
      TBitmap pic;
      LoadSkinFormBitmap("MACOS_MENU_SELECT", &pic);
      canvas->StretchDraw(rect, &pic);
    } else {
      canvas->Brush()->SetColor(FSelectedColor);
      canvas->FillRect(rect);
      canvas->Brush()->SetColor(FSelectedBorderColor);
      canvas->FrameRect(rect);
    }
  } else {
    if (macOS) {
      TBitmap pic;
      LoadSkinFormBitmap("MACOS_MENU_BAR", &pic);
      canvas->StretchDraw(bar, &pic);
    } else {
      canvas->Brush()->SetColor(FBarColor);
      canvas->FillRect(bar);
    }
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(rest);
  }
  if (item->IsLine()) {
    canvas->Pen()->SetColor(FSeparatorColor);
    canvas->MoveTo(rest.left, rect.top + 2);
    canvas->LineTo(rest.right, rect.top + 2);
    return;
  }
  TImageList* checks = SkMenuCheckedImages();
  TImageList* images = FMenu->GetImages();
  int markLeft = rightToLeft ? rect.right - 4 - (checks ? checks->GetWidth() : 16) : rect.left + 4;
  if (item->ShownChecked() && checks)
    checks->Draw(canvas, markLeft, rect.top + 3, 0, enabled);
  else if (images && item->GetImageIndex() >= 0)
    images->Draw(canvas, rightToLeft ? rect.right - 4 - images->GetWidth() : rect.left + 4, rect.top + 3,
                 item->GetImageIndex(), enabled);
  SetFontOf(canvas, item);
  canvas->Font()->SetColor(!enabled ? TColor(0x808080) : hot ? FSelectedFontColor : FFontColor);
  canvas->Brush()->SetStyle(bsClear);
  if (rightToLeft) {
    // Mirrored: the caption ends 4 pixels before the bar, the short cut starts 16 pixels in.
    RECT text{rect.left + 16, rect.top + 4, bar.left - 4, rect.bottom};
    canvas->DrawText(item->ShownCaption(), text, DT_SINGLELINE | DT_RIGHT | DT_RTLREADING);
    if (int sc = item->ShownShortCut()) canvas->DrawText(ShortCutToText(sc), text, DT_SINGLELINE | DT_LEFT);
  } else {
    RECT text{bar.right + 4, rect.top + 4, rect.right - 16, rect.bottom};
    canvas->DrawText(item->ShownCaption(), text, DT_SINGLELINE | DT_LEFT);
    if (int sc = item->ShownShortCut()) canvas->DrawText(ShortCutToText(sc), text, DT_SINGLELINE | DT_RIGHT);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

// ---- the two menus ----

#define ORV_SK_MENU_PROPS(C)                                                                                   \
  RefProp<C, TskFileTheme>("FileTheme", &C::GetFileTheme, &C::SetFileTheme),                                 \
      EnumProp<C, TskUIStyle>("UIStyle", UIStyleNames(), &C::GetUIStyle, &C::SetUIStyle),                     \
      BoolProp<C>("OwnerDraw", &C::GetOwnerDraw, &C::SetOwnerDraw),                                           \
      IntProp<C>("MenuItemHeight", &C::GetMenuItemHeight, &C::SetMenuItemHeight),                            \
      IntProp<C>("SeparatorHeight", &C::GetSeparatorHeight, &C::SetSeparatorHeight),                         \
      IntProp<C>("BarWidth", &C::GetBarWidth, &C::SetBarWidth),                                               \
      IntProp<C>("BarColor", &C::GetBarColor, &C::SetBarColor, &ColorIdents()),                               \
      IntProp<C>("Color", &C::GetColor, &C::SetColor, &ColorIdents()),                                        \
      IntProp<C>("SeparatorColor", &C::GetSeparatorColor, &C::SetSeparatorColor, &ColorIdents()),             \
      IntProp<C>("SelectedBorderColor", &C::GetSelectedBorderColor, &C::SetSelectedBorderColor, &ColorIdents()), \
      IntProp<C>("SelectedColor", &C::GetSelectedColor, &C::SetSelectedColor, &ColorIdents()),                \
      IntProp<C>("SelectedFontColor", &C::GetSelectedFontColor, &C::SetSelectedFontColor, &ColorIdents()),    \
      IntProp<C>("FontColor", &C::GetFontColor, &C::SetFontColor, &ColorIdents()),                            \
      IntProp<C>("BorderColor", &C::GetBorderColor, &C::SetBorderColor, &ColorIdents()),                      \
      BoolProp<C>("FlatMenu", &C::GetFlatMenu, &C::SetFlatMenu),                                              \
      StrProp<C>("FontName", &C::GetFontName, &C::SetFontName),                                               \
      IntProp<C>("FontSize", &C::GetFontSize, &C::SetFontSize),                                               \
      IntProp<C>("FontCharset", &C::GetFontCharset, &C::SetFontCharset),                                      \
      BoolProp<C>("UseSystemFont", &C::GetUseSystemFont, &C::SetUseSystemFont)

// The popup menu publishes no Images of its own.
ORV_DEFINE_CLASS(TskPopupMenu, TPopupMenu, FactoryOf<TskPopupMenu>(), {ORV_SK_MENU_PROPS(TskPopupMenu)})
ORV_DEFINE_CLASS(TskMainMenu, TMainMenu, FactoryOf<TskMainMenu>(), {ORV_SK_MENU_PROPS(TskMainMenu)})
#undef ORV_SK_MENU_PROPS

void TskMenuLook::ForgetFileTheme(TComponent* component) {
  if (component == FFileTheme) FFileTheme = nullptr;
}

TskPopupMenu::TskPopupMenu(TComponent* owner) : TskLookMenu(owner) {
  TMenu::SetOwnerDraw(true);
  SetUIStyle(DefaultUIStyleFor(owner));
}

TskMainMenu::TskMainMenu(TComponent* owner) : TskLookMenu(owner) {
  TMenu::SetOwnerDraw(true);
  SetUIStyle(DefaultUIStyleFor(owner));
}

void TskMainMenu::MenuChanged(TMenuItem* source) {
  TskLookMenu::MenuChanged(source);
  if (OnChange) OnChange(this);
}

void TskMainMenu::Loaded() {
  TMainMenu::Loaded();
  auto* form = As<TCustomForm>(Owner());
  if (!form) return;
  if (form->GetMenu() == this) form->SetMenu(nullptr);
  for (TControl* c : form->ControlList())
    if (c->InheritsFrom("TskForm")) {
      if (!GetObjectProp(c, "Menu")) FindPropInfo(c, "Menu")->SetObj(c, this);
      break;
    }
}
