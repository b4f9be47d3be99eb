// Skinned tool bars on a real window: the bar made flat and given the skin's custom drawing (the tool
// bar gradient behind it, the [Buttons] frames behind its hot and pressed buttons), the menus of the bar,
// of its buttons and of its drop-down button drawn by the skin, and all of it given back at unskinning
// so that the bar paints exactly as before.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"
#include "Layout.h"
#include "Menus.h"
#include "ModalScript.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinTestKit.h"
#include "SkinnerControl.h"
#include "SkinnerDispatch.h"

namespace {

using namespace skintest;

const char* const kLayout = R"(object frmTools: TForm
  BorderStyle = bsSizeable
  Caption = 'Tools'
  ClientWidth = 360
  ClientHeight = 120
  object mnuMore: TPopupMenu
    object miFirst: TMenuItem
      Caption = 'First'
    end
    object miLine: TMenuItem
      Caption = '-'
    end
    object miSecond: TMenuItem
      Caption = 'Second'
    end
  end
  object mnuBar: TMainMenu
    object miView: TMenuItem
      Caption = '&View'
      object miZoom: TMenuItem
        Caption = 'Zoom'
      end
    end
  end
  object mnuTools: TPopupMenu
    Tag = 99
    object miTools: TMenuItem
      Caption = 'Tools'
      object miOptions: TMenuItem
        Caption = 'Options'
      end
    end
  end
  object barMain: TToolBar
    Left = 0
    Top = 0
    Width = 360
    Height = 32
    Flat = True
    ShowCaptions = True
    ButtonWidth = 64
    ButtonHeight = 26
    object tbOpen: TToolButton
      Caption = 'Open'
    end
    object tbSave: TToolButton
      Caption = 'Save'
    end
    object tbLine: TToolButton
      Style = tbsSeparator
      Width = 8
    end
    object tbMore: TToolButton
      Caption = 'More'
      Style = tbsDropDown
      DropdownMenu = mnuMore
    end
    object tbTools: TToolButton
      MenuItem = miTools
    end
  end
  object barMenu: TToolBar
    Left = 0
    Top = 60
    Width = 360
    Height = 32
    ShowCaptions = True
    ButtonWidth = 64
    ButtonHeight = 26
    Menu = mnuBar
  end
end
)";

TColor FrameColour(int frame) { return TColor(RGB(30 * frame, 220 - 30 * frame, 60 + frame)); }
const TColor GradientTop = TColor(RGB(250, 240, 10)), GradientBottom = TColor(RGB(10, 40, 250));

class ToolBarSkin : public SkinEngine {
protected:
  TForm* form = nullptr;

  void SetUp() override {
    SkinEngine::SetUp();
    SetCursorPos(0, 0);  // no button starts hot
    form = new TForm(Application);
    ReadLayoutText(form, kLayout, "tools.layout", TLayoutBinder());
    form->SetBounds(60, 60, form->GetWidth(), form->GetHeight());
    // The skin's pictures as plain colours: each [Buttons] frame its own, the gradient two halves.
    TBitmap* frames = data->Buttons->Bitmap;
    frames->SetPixelFormat(pf24bit);
    frames->SetSize(5 * 12, 12);
    for (int i = 0; i < 5; ++i)
      FillRectColor(frames->Canvas()->GetHandle(), RECT{12 * i, 0, 12 * i + 12, 12}, FrameColour(i + 1));
    data->Buttons->Margins = TSkinMargins{0, 0, 0, 0};
    data->Buttons->Trans = 0;
    TBitmap* g = data->ToolbarGradient->Bitmap;
    g->SetPixelFormat(pf24bit);
    g->SetSize(10, 40);
    FillRectColor(g->Canvas()->GetHandle(), RECT{0, 0, 10, 20}, GradientTop);
    FillRectColor(g->Canvas()->GetHandle(), RECT{0, 20, 10, 40}, GradientBottom);
    data->SetOptions(data->GetOptions() & ~Bit(xoToolbarBK));
  }
  void TearDown() override {
    if (form) form->Free();
    PumpMessagesUntil([] { return true; });
    SkinEngine::TearDown();
  }
  template <class T>
  T* Find(const char* name) {
    return As<T>(form->FindComponent(name));
  }
  TToolBar* Bar() { return Find<TToolBar>("barMain"); }
  TSkinnerForm* FormSkinner() { return Manager().FindForm(form->Handle()); }
  void Unskin() {
    Manager().ActionData = data;
    Manager().Started = 1;
    Manager().Action = saUnskinAll;
    Manager().DoAction();
  }
  // The bar as the screen shows it.
  void Shot(TBitmap& b) {
    RedrawAll(Bar()->Handle());
    CaptureClient(Bar()->Handle(), b);
  }
  // A point well inside the button, clear of its caption and of the bar's own edges around it.
  static POINT Inside(TToolButton* b) { return POINT{b->GetLeft() + 4, b->GetTop() + 4}; }
};


TEST_F(ToolBarSkin, TheBarsButtonsComeFromTheLayoutInOrder) {
  form->Show();
  TToolBar* bar = Bar();
  ASSERT_EQ(bar->ButtonCount(), 5);
  const char* names[] = {"tbOpen", "tbSave", "tbLine", "tbMore", "tbTools"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(bar->Buttons(i)->GetName(), names[i]);
    EXPECT_EQ(bar->Buttons(i)->Index(), i);
    EXPECT_EQ(SendMessageA(bar->Handle(), TB_COMMANDTOINDEX, bar->Buttons(i)->Command(), 0), i);
  }
  EXPECT_EQ(bar->Buttons(4)->GetCaption(), "Tools") << "a button with a menu item shows its caption";
  // The buttons stand where the system control puts them, one after the other.
  for (int i = 1; i < 5; ++i) EXPECT_GE(bar->Buttons(i)->GetLeft(), bar->Buttons(i - 1)->GetLeft() + bar->Buttons(i - 1)->GetWidth());
  EXPECT_EQ(bar->Buttons(2)->GetWidth(), 8) << "a separator as wide as it says";
  TToolBar* menuBar = Find<TToolBar>("barMenu");
  ASSERT_EQ(menuBar->ButtonCount(), 1) << "one button per item of the bar's menu";
  EXPECT_EQ(menuBar->Buttons(0)->GetMenuItem(), Find<TMenuItem>("miView"));
  EXPECT_EQ(menuBar->Buttons(0)->GetCaption(), "&View");
}

TEST_F(ToolBarSkin, ClicksReachTheButtonAndTheDropDownOpensItsMenu) {
  form->Show();
  std::vector<std::string> clicks;
  Find<TToolButton>("tbSave")->OnClick = [&](TObject*) { clicks.push_back("tbSave"); };
  Find<TMenuItem>("miSecond")->OnClick = [&](TObject*) { clicks.push_back("miSecond"); };
  TToolButton* more = Find<TToolButton>("tbMore");
  TPopupMenu* shown = nullptr;
  TMenuChooser old = SetMenuChooser([&](TPopupMenu* m, int, int) {
    shown = m;
    return Find<TMenuItem>("miSecond");
  });
  TToolBar* bar = Bar();
  // What the system control sends when the button is clicked, and when its arrow is.
  SendMessageA(form->Handle(), WM_COMMAND, Find<TToolButton>("tbSave")->Command(), LPARAM(bar->Handle()));
  NMTOOLBARA n{};
  n.hdr.hwndFrom = bar->Handle();
  n.hdr.code = UINT(TBN_DROPDOWN);
  n.iItem = int(more->Command());
  EXPECT_EQ(SendMessageA(form->Handle(), WM_NOTIFY, 0, LPARAM(&n)), TBDDRET_DEFAULT);
  SetMenuChooser(old);
  EXPECT_EQ(shown, Find<TPopupMenu>("mnuMore"));
  EXPECT_EQ(clicks, (std::vector<std::string>{"tbSave", "miSecond"}));
}

TEST_F(ToolBarSkin, SkinningMakesTheBarFlatAndGivesItsMenusToTheSkinUntilUnskinned) {
  TToolBar* bar = Bar();
  TToolBar* menuBar = Find<TToolBar>("barMenu");
  // A bar that draws its own buttons keeps that handler; it gets only the skin's background.
  int ownButtonDraws = 0;
  menuBar->OnCustomDrawButton = [&](TToolBar*, TToolButton*, TCustomDrawState, bool&) { ++ownButtonDraws; };
  ASSERT_FALSE(menuBar->GetFlat());
  ASSERT_TRUE(ShowSkinned(form));
  TSkinnerForm* f = FormSkinner();
  EXPECT_EQ(SkinnerName(SkinnerOf(f, bar)), "TSkinBox");
  EXPECT_EQ(SkinnerName(SkinnerOf(f, Find<TToolButton>("tbOpen"))), "") << "a tool button gets no skinner";
  EXPECT_TRUE(menuBar->GetFlat());
  EXPECT_TRUE(bool(bar->OnCustomDraw));
  EXPECT_TRUE(bool(bar->OnCustomDrawButton));
  EXPECT_TRUE(bool(menuBar->OnCustomDraw));
  // The drop-down button's menu with its separator, the bar's menu and a button's menu item (whose
  // menu itself keeps its own look by its tag) are drawn by the skin.
  const char* skinDrawn[] = {"miFirst", "miLine", "miSecond", "miView", "miZoom", "miTools", "miOptions"};
  for (const char* name : skinDrawn) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(bool(Find<TMenuItem>(name)->OnDrawItem));
    EXPECT_TRUE(bool(Find<TMenuItem>(name)->OnMeasureItem));
  }
  EXPECT_FALSE(Find<TPopupMenu>("mnuTools")->GetOwnerDraw());
  // The drop-down's separator and items are painted by the skin, not in the menu's own look.
  const char* drawn[] = {"miLine", "miFirst"};
  auto differs = [&](const char* name) {
    TBitmap skin, own;
    for (TBitmap* b : {&skin, &own}) {
      b->SetPixelFormat(pf24bit);
      b->SetSize(120, 20);
      b->Canvas()->Font()->Assign(Screen->MenuFont());
    }
    Find<TMenuItem>(name)->DrawItem(skin.Canvas(), RECT{0, 0, 120, 20}, false);
    Find<TMenuItem>(name)->DefaultDrawItem(own.Canvas(), RECT{0, 0, 120, 20}, false);
    return Differences(skin, own);
  };
  for (const char* name : drawn) EXPECT_GT(differs(name), 0) << name;

  Unskin();
  EXPECT_EQ(Manager().FindForm(form->Handle()), nullptr);
  EXPECT_FALSE(bool(bar->OnCustomDraw));
  EXPECT_FALSE(bool(bar->OnCustomDrawButton));
  EXPECT_FALSE(bool(menuBar->OnCustomDraw));
  ASSERT_TRUE(bool(menuBar->OnCustomDrawButton)) << "the bar's own handler stays";
  for (const char* name : skinDrawn) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(bool(Find<TMenuItem>(name)->OnDrawItem));
    EXPECT_FALSE(bool(Find<TMenuItem>(name)->OnMeasureItem)) << "no handler of the gone skinner is left";
  }
  for (const char* name : drawn) EXPECT_EQ(differs(name), 0) << name << " in its own look again";
  RedrawAll(menuBar->Handle());
  EXPECT_GT(ownButtonDraws, 0);
}

// The drop-down button's menu opened under it, in the skin, for a person to look at.
TEST_F(ToolBarSkin, TheDropDownMenuOpensSkinned) {
  ASSERT_TRUE(ShowSkinnedInFront(form));
  Manager().InstallHook();  // popup windows are skinned as in the program
  bool skinned = false, saved = false;
  auto look = [&] {
    HWND popup = FindWindowA("#32768", nullptr);
    if (saved || !popup || !IsWindowVisible(popup)) return;
    skinned = Manager().IsPopupSkinned(popup);
    PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PumpMessagesUntil([] { return true; });
    RECT a, b, u;
    GetWindowRect(form->Handle(), &a);
    GetWindowRect(popup, &b);
    UnionRect(&u, &a, &b);
    TBitmap shot;
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(u.right - u.left, u.bottom - u.top);
    HDC sdc = GetDC(nullptr);
    BitBlt(shot.Canvas()->GetHandle(), 0, 0, shot.GetWidth(), shot.GetHeight(), sdc, u.left, u.top, SRCCOPY);
    ReleaseDC(nullptr, sdc);
    shot.SaveToFile(std::string(ORV_BUILD_DIR) + "skinned_tool_bar_drop_down.bmp");
    saved = true;
    EndMenu();
  };
  // Looks for the open menu for a good while (a slow machine opens it late), then gives up.
  std::vector<std::function<void()>> steps(200, look);
  steps.push_back([] { EndMenu(); });
  etk::TModalScript script(steps);
  Find<TToolButton>("tbMore")->DropDown();
  EXPECT_TRUE(saved) << "the menu opened";
  EXPECT_TRUE(skinned);
}

TEST_F(ToolBarSkin, TheBarStandsOnTheGradientWithFramesBehindHotAndPressedButtons) {
  TToolBar* bar = Bar();
  form->Show();
  SetForegroundWindow(form->Handle());
  TBitmap before;
  Shot(before);
  const TColor pressedText = TColor(RGB(200, 0, 120));
  data->Buttons->PressedColour2 = pressedText;
  data->Buttons->HasPressedColour2 = true;
  ASSERT_TRUE(ShowSkinnedInFront(form));
  TToolButton* open = Find<TToolButton>("tbOpen");
  TToolButton* save = Find<TToolButton>("tbSave");
  TToolButton* more = Find<TToolButton>("tbMore");
  SendMessageA(bar->Handle(), TB_SETHOTITEM, save->Index(), 0);
  SendMessageA(bar->Handle(), TB_PRESSBUTTON, open->Command(), MAKELONG(TRUE, 0));
  TBitmap skinned;
  Shot(skinned);
  skinned.SaveToFile(std::string(ORV_BUILD_DIR) + "skinned_tool_bar.bmp");
  const int W = skinned.GetWidth(), H = skinned.GetHeight();
  // Past the last button: the gradient stretched over the bar, its top half above its bottom half.
  EXPECT_EQ(PixelAt(&skinned, W - 6, 3), ColorToRGB(GradientTop));
  EXPECT_EQ(PixelAt(&skinned, W - 6, H - 3), ColorToRGB(GradientBottom));
  // The pressed button on frame 2, the hot one on frame 4, a plain one on the gradient.
  const POINT p = Inside(open), h = Inside(save), n = Inside(more);
  EXPECT_EQ(PixelAt(&skinned, p.x, p.y), ColorToRGB(FrameColour(2)));
  EXPECT_EQ(PixelAt(&skinned, h.x, h.y), ColorToRGB(FrameColour(4)));
  EXPECT_EQ(PixelAt(&skinned, n.x, n.y), ColorToRGB(GradientTop));
  // The pressed button's caption in the skin's pressed text colour.
  int pressedTextPixels = 0;
  for (int y = open->GetTop(); y < open->GetTop() + open->GetHeight(); ++y)
    for (int x = open->GetLeft(); x < open->GetLeft() + open->GetWidth(); ++x)
      pressedTextPixels += PixelAt(&skinned, x, y) == ColorToRGB(pressedText);
  EXPECT_GT(pressedTextPixels, 5);
  // Without the skin's button frames (the option) the buttons stand on the gradient alone.
  data->SetOptions(data->GetOptions() | Bit(xoToolbarButton));
  TBitmap noFrames;
  Shot(noFrames);
  EXPECT_EQ(PixelAt(&noFrames, h.x, h.y), ColorToRGB(GradientTop));
  data->SetOptions(data->GetOptions() & ~Bit(xoToolbarButton));

  SendMessageA(bar->Handle(), TB_SETHOTITEM, WPARAM(-1), 0);
  SendMessageA(bar->Handle(), TB_PRESSBUTTON, open->Command(), MAKELONG(FALSE, 0));
  Unskin();
  TBitmap after;
  Shot(after);
  EXPECT_GT(Differences(before, skinned), 0);
  EXPECT_EQ(Differences(before, after), 0) << "the bar's own drawing is back";
}

// The bar in the program's own skin with a hot and a pressed button, for a person to look at.
TEST_F(ToolBarSkin, Screenshot) {
  ASSERT_TRUE(data->LoadSkin());  // the program's own pictures back
  data->SetOptions(data->GetOptions() & ~Bit(xoToolbarBK));
  ASSERT_TRUE(ShowSkinnedInFront(form));
  SendMessageA(Bar()->Handle(), TB_SETHOTITEM, Find<TToolButton>("tbSave")->Index(), 0);
  SendMessageA(Bar()->Handle(), TB_PRESSBUTTON, Find<TToolButton>("tbOpen")->Command(), MAKELONG(TRUE, 0));
  RedrawAll(form->Handle());
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_tool_bar_window.bmp");
}

}  // namespace
