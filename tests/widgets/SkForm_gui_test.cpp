// The skinned form frame from a layout: title bar buttons and sections, a skinned main menu in the menu
// bar and its short cuts, a skinned popup menu with a flat border, window commands, the region, the
// refusals, a theme file's border pictures, and screenshots in two styles.
#include <gtest/gtest.h>

#include <map>

#include "Forms.h"
#include "HeldKeys.h"
#include "Prompter.h"
#include "Resources.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SkButton.h"
#include "SkForm.h"
#include "SkThemeFile.h"
#include "SkThemeMgr.h"
#include "TempDir.h"
#include "WidgetTestKit.h"

namespace {

const char* const kLayout = R"(object frmSkinned: TForm
  BorderStyle = bsSizeable
  BorderWidth = 4
  Caption = 'Skinned form'
  Left = 60
  Top = 60
  ClientWidth = 360
  ClientHeight = 220
  object skForm: TskForm
    UIStyle = WinXP
    Menu = mnuMain
    TitleBarButtons = <
      item
        ButtonType = skControlBox
      end
      item
        ButtonType = skClose
      end
      item
        ButtonType = skMax
      end
      item
        ButtonType = skMin
      end
      item
        ButtonType = skHelp
      end
      item
        ButtonType = skCustom
        PicNormal = bmp 'styles/DEEPBLUE_CHECKBOX.bmp'
      end>
    TitleBarSections = <
      item
        Align = skLeft
        Width = 12
      end
      item
        Align = skClient
      end>
    OnTitleBarCustomBtnsClick = CustomClick
    OnTitleBarHelpBtnClick = HelpClick
  end
  object mnuMain: TskMainMenu
    object miFile: TMenuItem
      Caption = '&File'
      object miOpen: TMenuItem
        Caption = '&Open'
        ShortCut = 'Ctrl+O'
      end
      object miLine: TMenuItem
        Caption = '-'
      end
      object miTicked: TMenuItem
        Caption = 'Ticked'
        Checked = True
      end
      object miOff: TMenuItem
        Caption = 'Off'
        Enabled = False
        ShortCut = 'Ctrl+D'
      end
      object miExit: TMenuItem
        Caption = 'E&xit'
        ShortCut = 'Alt+X'
      end
    end
    object miView: TMenuItem
      Caption = '&View'
    end
  end
  object mnuPopup: TskPopupMenu
    object miCut: TMenuItem
      Caption = 'Cut'
    end
  end
end
)";

class SkFormGui : public ::testing::Test {
protected:
  void SetUp() override {
    SetLayoutSource([](const std::string& name) {
      // The custom button's picture comes from the program's own style pictures.
      return EmbeddedFileBytes("pictures/" + name);
    });
    OldPrompter = SetPrompter(&Prompts);
    Form = new TForm(Application);
    TLayoutBinder b;
    b.Handle<TskTitleBarButtonClickEvent>("CustomClick", [this](TObject*, int i) { Clicks.push_back("custom " + std::to_string(i)); });
    b.Handle<TskTitleBarButtonClickEvent>("HelpClick", [this](TObject*, int i) { Clicks.push_back("help " + std::to_string(i)); });
    ReadLayoutText(Form, kLayout, "skform.layout", b);
    Frame = As<TskForm>(Form->FindComponent("skForm"));
    Menu = As<TskMainMenu>(Form->FindComponent("mnuMain"));
    ASSERT_NE(Frame, nullptr);
    ASSERT_NE(Menu, nullptr);
    Bar = Frame->TitleBar();
  }
  void TearDown() override {
    SetMenuChooser(nullptr);
    if (Form) Form->Free();
    SetPrompter(OldPrompter);
    SetLayoutSource(nullptr);
  }
  void Show() {
    Form->Show();
    Application->ProcessMessages();
  }
  void ClickButton(int index) {
    RECT r = Bar->ButtonRect(index);
    ASSERT_LT(r.left, r.right) << "button " << index;
    POINT p = wtk::ScreenPointOf(Bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    wtk::SendMouse(WM_MOUSEMOVE, 0, p);
    wtk::SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, p);
    wtk::SendMouse(WM_LBUTTONUP, 0, p);
    Application->ProcessMessages();
  }
  TRecordingPrompter Prompts;
  TPrompter* OldPrompter = nullptr;
  TForm* Form = nullptr;
  TskForm* Frame = nullptr;
  TskTitleBar* Bar = nullptr;
  TskMainMenu* Menu = nullptr;
  std::vector<std::string> Clicks;
};

TEST_F(SkFormGui, LayoutPropertiesAndTheFrameTakingOverTheForm) {
  EXPECT_TRUE(Frame->Attached());
  EXPECT_EQ(Frame->GetUIStyle(), WinXP);
  EXPECT_EQ(DefaultUIStyleFor(Form), WinXP);
  EXPECT_EQ(GetPropText(Frame, "Version"), "5.8");
  SetPropText(Frame, "Version", "1.0");
  EXPECT_EQ(GetPropText(Frame, "Version"), "5.8");
  EXPECT_EQ(Frame->GetMenu(), Menu);
  EXPECT_EQ(Form->GetMenu(), nullptr);  // the skinned menu left the form's own menu bar
  EXPECT_EQ(Form->GetBorderWidth(), 0);  // the frame draws every border itself
  EXPECT_FALSE(Form->GetScaled());
  ASSERT_EQ(Frame->GetTitleBarButtons()->Count(), 6);
  EXPECT_EQ(Frame->GetTitleBarButtons()->Items(4)->GetButtonType(), skHelp);
  EXPECT_TRUE(Frame->GetTitleBarButtons()->Items(5)->GetPicNormal()->HasGraphic());
  ASSERT_EQ(Frame->GetTitleBarSections()->Count(), 2);
  EXPECT_EQ(Frame->GetTitleBarSections()->Items(0)->ShownWidth(), 12);
  EXPECT_EQ(GetPropText(Menu, "UIStyle"), "WinXP");
  EXPECT_EQ(Menu->GetSelectedColor(), GetBuiltInThemeColor(WinXP, 19));
  EXPECT_TRUE(Menu->GetOwnerDraw());
  SetPropText(Menu, "OwnerDraw", "False");  // always owner-drawn
  EXPECT_TRUE(Menu->GetOwnerDraw());

  // A new frame's title bar starts with control box, close, maximize and minimize.
  TskTitleBar fresh(nullptr);
  ASSERT_EQ(fresh.GetButtons()->Count(), 4);
  const TskTitleBarBtnType order[] = {skControlBox, skClose, skMax, skMin};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(fresh.GetButtons()->Items(i)->GetButtonType(), order[i]);

  Show();
  LONG style = GetWindowLongA(Form->Handle(), GWL_STYLE);
  EXPECT_NE(style & WS_CAPTION, WS_CAPTION);  // the system's caption is gone
  RECT client;
  GetClientRect(Form->Handle(), &client);
  EXPECT_EQ(Frame->GetWidth(), client.right);
  EXPECT_EQ(Frame->GetHeight(), client.bottom);
  EXPECT_EQ(Bar->GetTop(), 0);
  EXPECT_EQ(Bar->GetHeight(), 2 * GetBuiltInThemeInt(WinXP, 9) + 18);
  EXPECT_EQ(Frame->MenuBar()->GetTop(), Bar->GetHeight());

  // WinXP has round corners: the region leaves the top-left pixel out and keeps the middle.
  RECT wr;
  GetWindowRect(Form->Handle(), &wr);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Form->Handle(), rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_TRUE(PtInRegion(rgn, (wr.right - wr.left) / 2, (wr.bottom - wr.top) / 2));
  EXPECT_TRUE(PtInRegion(rgn, 0, (wr.bottom - wr.top) / 2));
  DeleteObject(rgn);
}

TEST_F(SkFormGui, RefusedValuesAreReportedAndNotStored) {
  TskTitleBarSections* sections = Frame->GetTitleBarSections();
  sections->Items(0)->SetAlign(skClient);  // the second one is the client section already
  EXPECT_EQ(sections->Items(0)->GetAlign(), skLeft);
  TskTitleBarButtons* buttons = Frame->GetTitleBarButtons();
  buttons->Items(1)->SetButtonType(skControlBox);
  EXPECT_EQ(buttons->Items(1)->GetButtonType(), skClose);
  Frame->SetFormPanel(Frame);
  EXPECT_EQ(Frame->GetFormPanel(), nullptr);
  ASSERT_EQ(Prompts.Prompts.size(), 3u);
  EXPECT_NE(Prompts.Prompts[0].Text.find("skClient"), std::string::npos);
  EXPECT_NE(Prompts.Prompts[1].Text.find("skControlBox"), std::string::npos);
  EXPECT_EQ(Prompts.Prompts[2].Text, "Sorry, you can't select the Form assign to FormPanel property");
}

TEST_F(SkFormGui, TitleBarButtonsActOnTheForm) {
  Show();
  HWND h = Form->Handle();
  ClickButton(4);
  ClickButton(5);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"help 4", "custom 5"}));

  RECT before;
  GetWindowRect(h, &before);
  ClickButton(2);  // maximize
  EXPECT_TRUE(Frame->Maximized());
  RECT area, wr;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(h, &wr);
  EXPECT_EQ(wr.left, area.left - 4);
  EXPECT_EQ(wr.right, area.right + 4);
  EXPECT_EQ(wr.bottom, area.bottom - 1);
  SaveScreenshot(h, "SkForm_Maximized.bmp");
  // A maximized form is not dragged by its title bar.
  POINT grab = wtk::ScreenPointOf(Bar, 60, 4);
  wtk::SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, grab);
  wtk::SendMouse(WM_LBUTTONUP, 0, grab);
  GetWindowRect(h, &wr);
  EXPECT_EQ(wr.left, area.left - 4);
  ClickButton(2);  // restore
  EXPECT_FALSE(Frame->Maximized());
  GetWindowRect(h, &wr);
  EXPECT_EQ(wr.left, before.left);
  EXPECT_EQ(wr.bottom, before.bottom);

  ClickButton(3);  // minimize
  EXPECT_TRUE(IsIconic(h));
  Form->SetWindowState(wsNormal);
  Application->ProcessMessages();

  // The control box opens the window menu below the title bar.
  std::vector<std::string> shown;
  SetMenuChooser([&](TPopupMenu* m, int, int) {
    for (int i = 0; i < m->Items()->Count(); ++i)
      shown.push_back(m->Items()->Items(i)->GetCaption() + (m->Items()->Items(i)->GetEnabled() ? "" : " (off)"));
    return nullptr;
  });
  Frame->GetTitleBarButtons()->Items(3)->SetVisible(false);
  ClickButton(0);
  EXPECT_EQ(shown, (std::vector<std::string>{"Mi&nimize (off)", "Ma&ximize/Restore", "-", "&Close"}));
  EXPECT_EQ(std::string(SkFormResourceString(SSkMaximizeRestore)), "Ma&ximize/Restore");  // from the string table
  EXPECT_EQ(std::string(SkFormResourceString(1)), "");

  ClickButton(1);  // close
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(SkFormGui, SkinnedMenusMeasureAndDrawTheirItems) {
  struct {
    const char* Item;
    bool Selected;
    int Height;          // measured
    TColor Background;   // at the middle of the item, right of the bar
  } const cases[] = {
      {"miOpen", false, 21, GetBuiltInThemeColor(WinXP, 21)},
      {"miOpen", true, 21, GetBuiltInThemeColor(WinXP, 19)},
      {"miLine", false, 5, GetBuiltInThemeColor(WinXP, 21)},
      {"miTicked", false, 21, GetBuiltInThemeColor(WinXP, 21)},
      {"miOff", true, 21, GetBuiltInThemeColor(WinXP, 21)},  // a disabled item is never highlighted
  };
  TBitmap canvasBitmap;
  canvasBitmap.SetPixelFormat(pf24bit);
  canvasBitmap.SetSize(200, 30);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Item) + (c.Selected ? " selected" : ""));
    auto* item = As<TMenuItem>(Form->FindComponent(c.Item));
    int w = 0, h = 0;
    item->MeasureItem(canvasBitmap.Canvas(), w, h);
    EXPECT_EQ(h, c.Height);
    EXPECT_GE(w, Menu->GetBarWidth() + 40);
    RECT r{0, 0, 200, h};
    item->DrawItem(canvasBitmap.Canvas(), r, c.Selected);
    EXPECT_EQ(canvasBitmap.Canvas()->GetPixel(190, h / 2 + (item->IsLine() ? 2 : 0)) & 0xFFFFFF, c.Background);
    if (!c.Selected) {
      EXPECT_EQ(canvasBitmap.Canvas()->GetPixel(2, h - 1) & 0xFFFFFF, GetBuiltInThemeColor(WinXP, 23));
    }
  }
  // The separator line and the selected frame have their own colours; the check mark is drawn.
  auto* line = As<TMenuItem>(Form->FindComponent("miLine"));
  line->DrawItem(canvasBitmap.Canvas(), RECT{0, 0, 200, 5}, false);
  EXPECT_EQ(canvasBitmap.Canvas()->GetPixel(100, 2) & 0xFFFFFF, Menu->GetSeparatorColor());
  auto* open = As<TMenuItem>(Form->FindComponent("miOpen"));
  open->DrawItem(canvasBitmap.Canvas(), RECT{0, 0, 200, 21}, true);
  EXPECT_EQ(canvasBitmap.Canvas()->GetPixel(0, 10) & 0xFFFFFF, GetBuiltInThemeColor(WinXP, 18));
  auto* ticked = As<TMenuItem>(Form->FindComponent("miTicked"));
  ticked->DrawItem(canvasBitmap.Canvas(), RECT{0, 0, 200, 21}, false);
  EXPECT_EQ(canvasBitmap.Canvas()->GetPixel(4 + 4, 3 + 8) & 0xFFFFFF, clBlack);  // a pixel of the tick

  // A menu reading right to left has its side bar at the right.
  Menu->SetBiDiMode(bdRightToLeft);
  open->DrawItem(canvasBitmap.Canvas(), RECT{0, 0, 200, 21}, false);
  EXPECT_EQ(canvasBitmap.Canvas()->GetPixel(199, 20) & 0xFFFFFF, GetBuiltInThemeColor(WinXP, 23));
  EXPECT_EQ(canvasBitmap.Canvas()->GetPixel(2, 20) & 0xFFFFFF, GetBuiltInThemeColor(WinXP, 21));
  Menu->SetBiDiMode(bdLeftToRight);

  // An item added later is owner-drawn by the menu too; the MacOS style has its own heights.
  auto* added = new TMenuItem(Form);
  As<TMenuItem>(Form->FindComponent("miFile"))->Add(added);
  EXPECT_TRUE(added->OnMeasureItem && added->OnDrawItem);
  Menu->SetUIStyle(MacOS);
  Menu->SetMenuItemHeight(30);
  EXPECT_EQ(Menu->GetMenuItemHeight(), 20);
  EXPECT_EQ(Menu->GetSeparatorHeight(), 12);

  // Through the system: the skinned popup menu measured by its items.
  auto* popup = As<TskPopupMenu>(Form->FindComponent("mnuPopup"));
  int measured = 0;
  auto* cut = As<TMenuItem>(Form->FindComponent("miCut"));
  auto inner = cut->OnMeasureItem;
  cut->OnMeasureItem = [&](TObject* s, TCanvas* cv, int& w, int& h) { inner(s, cv, w, h); measured = h; };
  PostMessageA(Application->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  popup->Popup(80, 80);
  EXPECT_EQ(measured, popup->GetMenuItemHeight());
}

TEST_F(SkFormGui, ScreenshotsInTwoStyles) {
  Show();
  Application->ProcessMessages();
  SaveScreenshot(Form->Handle(), "SkForm_WinXP.bmp");
  TBitmap shot;
  CaptureWindow(Form->Handle(), shot);
  // The title bar shows WinXP's blue at its middle, left of the buttons.
  POINT mid = Bar->ClientToScreen(POINT{40, 2});
  RECT wr;
  GetWindowRect(Form->Handle(), &wr);
  TColor c = shot.Canvas()->GetPixel(mid.x - wr.left, mid.y - wr.top);
  EXPECT_GT(GetBValue(c), 150);
  EXPECT_LT(GetRValue(c), 80);
  Frame->SetUIStyle(MacOS);
  Application->ProcessMessages();
  RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SaveScreenshot(Form->Handle(), "SkForm_MacOS.bmp");
  CaptureWindow(Form->Handle(), shot);
  c = shot.Canvas()->GetPixel(mid.x - wr.left, mid.y - wr.top);
  EXPECT_GT(GetRValue(c), 180);  // MacOS's light grey
  EXPECT_EQ(Menu->GetUIStyle(), MacOS);
}

}  // namespace

namespace {

TEST_F(SkFormGui, MainMenuShortCutsReachTheirItemsOnceWhileTheFormIsActive) {
  Show();
  SetWindowPos(Form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Form->Handle());
  Application->ProcessMessages();
  std::map<std::string, int> clicks;
  for (const char* name : {"miOpen", "miOff", "miExit", "miView", "miTicked"})
    As<TMenuItem>(Form->FindComponent(name))->OnClick = [&clicks, name](TObject*) { ++clicks[name]; };
  auto* other = new TForm(Application);
  other->SetBounds(500, 60, 120, 80);
  other->Show();
  Application->ProcessMessages();
  SetForegroundWindow(Form->Handle());
  Application->ProcessMessages();
  const LPARAM alt = 1 | (1 << 29);
  struct {
    const char* Keys;
    TWinControl* Target;
    UINT Msg;
    WORD Key;
    LPARAM Data;
    BYTE Held;
    const char* Item;  // clicked once; null: no item
  } const cases[] = {
      {"Ctrl+O", Form, WM_KEYDOWN, 'O', 1, VK_CONTROL, "miOpen"},
      {"Alt+X", Form, WM_SYSKEYDOWN, 'X', alt, 0, "miExit"},
      {"Alt+V, the menu bar's View", Form, WM_SYSKEYDOWN, 'V', alt, VK_MENU, "miView"},
      {"its character alone", Form, WM_SYSCHAR, 'v', alt, 0, "miView"},
      {"O alone", Form, WM_KEYDOWN, 'O', 1, 0, nullptr},
      {"Ctrl+D of a disabled item", Form, WM_KEYDOWN, 'D', 1, VK_CONTROL, nullptr},
      {"Alt+Q, no item", Form, WM_SYSKEYDOWN, 'Q', alt, 0, nullptr},
      {"Ctrl+O in another form", other, WM_KEYDOWN, 'O', 1, VK_CONTROL, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Keys);
    clicks.clear();
    {
      THeldKeys held(std::initializer_list<BYTE>{});
      if (c.Held) held.Hold(c.Held);
      PostMessageA(c.Target->Handle(), c.Msg, c.Key, c.Data);
      Application->ProcessMessages();
    }
    if (c.Item) {
      EXPECT_EQ(clicks, (std::map<std::string, int>{{c.Item, 1}}));
    } else {
      EXPECT_TRUE(clicks.empty());
    }
  }
  // Alt+Space opens the title bar's window menu, once.
  std::vector<TPopupMenu*> popped;
  SetMenuChooser([&popped](TPopupMenu* m, int, int) {
    popped.push_back(m);
    return nullptr;
  });
  PostMessageA(Form->Handle(), WM_SYSKEYDOWN, VK_SPACE, alt);
  Application->ProcessMessages();
  EXPECT_EQ(popped, (std::vector<TPopupMenu*>{Bar->WindowMenu()}));
  SetMenuChooser(nullptr);

  // A control of the form with the same accelerator takes the letter first.
  auto* button = new TskImageButton(Form);
  button->SetParent(Frame);
  button->SetCaption("&View");
  int buttonClicks = 0;
  button->OnClick = [&buttonClicks](TObject*) { ++buttonClicks; };
  clicks.clear();
  PostMessageA(Form->Handle(), WM_SYSCHAR, 'v', alt);
  Application->ProcessMessages();
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_TRUE(clicks.empty());
  button->Free();

  // A frame that went away takes its hook along.
  TskMainMenu* menu = Menu;
  Frame->Free();
  Frame = nullptr;
  clicks.clear();
  {
    THeldKeys held{VK_CONTROL};
    PostMessageA(Form->Handle(), WM_KEYDOWN, 'O', 1);
    Application->ProcessMessages();
  }
  EXPECT_TRUE(clicks.empty());
  (void)menu;
  other->Free();
}

// The picture of the window that shows a popup menu, taken while it waits for the user, and the menu
// closed then.
TBitmap* gMenuShot = nullptr;
void CALLBACK ShootMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menuWindow = FindWindowA("#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return;  // not shown yet: the next tick
  KillTimer(nullptr, id);
  // Read from the window itself: the screen may not show its last drawing yet.
  RECT wr;
  GetWindowRect(menuWindow, &wr);
  gMenuShot->SetPixelFormat(pf24bit);
  gMenuShot->SetSize(wr.right - wr.left, wr.bottom - wr.top);
  HDC dc = GetWindowDC(menuWindow);
  BitBlt(gMenuShot->Canvas()->GetHandle(), 0, 0, wr.right - wr.left, wr.bottom - wr.top, dc, 0, 0, SRCCOPY);
  ReleaseDC(menuWindow, dc);
  EndMenu();
}

TEST_F(SkFormGui, FlatMenuDrawsAFlatBorderAroundItsWindow) {
  Show();
  SetForegroundWindow(Form->Handle());
  Application->ProcessMessages();
  auto* popup = As<TskPopupMenu>(Form->FindComponent("mnuPopup"));
  // The pixels at the window's corners and edges, and one pixel inside each side edge.
  auto shoot = [&](TskMenuLook* look, bool flat, const std::function<void()>& open, const char* picture) {
    look->SetFlatMenu(flat);
    look->SetBorderColor(clRed);
    look->SetColor(clWhite);
    TBitmap shot;
    gMenuShot = &shot;
    SetTimer(nullptr, 0, 100, ShootMenu);
    open();  // returns once the timer closed the menu
    gMenuShot = nullptr;
    Application->ProcessMessages();
    std::vector<TColor> pixels;
    if (shot.GetWidth() < 4 || shot.GetHeight() < 4) return pixels;
    int w = shot.GetWidth(), h = shot.GetHeight();
    for (POINT p : {POINT{0, 0}, POINT{w - 1, h - 1}, POINT{0, h / 2}, POINT{w / 2, 0}, POINT{1, h / 2}, POINT{w - 2, h / 2}})
      pixels.push_back(shot.Canvas()->GetPixel(p.x, p.y) & 0xFFFFFF);
    if (flat) shot.SaveToFile(std::string(ORV_BUILD_DIR) + picture);
    return pixels;
  };
  struct {
    const char* Menu;
    TskMenuLook* Look;
    std::function<void()> Open;
    const char* Picture;
  } const cases[] = {
      {"popup menu", popup, [&] { popup->Popup(120, 120); }, "SkForm_FlatMenu.bmp"},
      {"main menu's File from the menu bar", Menu, [&] { Frame->MenuBar()->ClickItem(0); }, "SkForm_FlatMainMenu.bmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Menu);
    std::vector<TColor> flat = shoot(c.Look, true, c.Open, c.Picture);
    ASSERT_EQ(flat.size(), 6u);
    // One line of the border colour all round, then the menu's colour.
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(flat[i], clRed) << i;
    EXPECT_EQ(flat[4], clWhite);
    EXPECT_EQ(flat[5], clWhite);
    std::vector<TColor> raised = shoot(c.Look, false, c.Open, c.Picture);
    ASSERT_EQ(raised.size(), 6u);
    EXPECT_NE(raised[0], clRed);  // the system's own frame without FlatMenu
  }
}

TEST_F(SkFormGui, ThemeFileBorderPicturesNarrowTheClientAreaAndFrameIt) {
  TempDir dir;
  TskThemeFileWriter w;
  // The title bar's pictures and the colours of DeepBlue, so that the rest of the frame looks as usual.
  for (int e : {5, 10, 11, 12}) {
    TBitmap b;
    GetBuiltInThemeBitmap(DeepBlue, e, &b);
    w.Add(ThemeEntryName(e), tfBitmap, b.SaveToBytes());
  }
  for (int e : {7, 8, 9, 13, 14, 17, 47}) w.AddInt(ThemeEntryName(e), GetBuiltInThemeInt(DeepBlue, e));
  for (int e : {15, 16, 18, 19, 20, 21, 22, 23, 44, 48}) w.AddInt(ThemeEntryName(e), GetBuiltInThemeColor(DeepBlue, e));
  // The side picture: a yellow outer column, red above and blue below; the bottom picture green.
  const int sideW = 7, bottomH = 5;
  TBitmap* side = wtk::SolidBitmap(sideW, 40, clRed);
  side->Canvas()->Brush()->SetColor(clBlue);
  side->Canvas()->FillRect(RECT{0, 20, sideW, 40});
  side->Canvas()->Brush()->SetColor(clYellow);
  side->Canvas()->FillRect(RECT{0, 0, 1, 40});
  TBitmap* bottom = wtk::SolidBitmap(30, bottomH, clLime);
  w.Add("FormLeftBorderImage", tfBitmap, side->SaveToBytes());
  w.Add("FormBottomBorderImage", tfBitmap, bottom->SaveToBytes());
  delete side;
  delete bottom;
  std::string path = dir / "frame.skn";
  {
    std::vector<uint8_t> bytes = w.Bytes();
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  Frame->SetUIStyle(DeepBlue);
  Show();
  HWND h = Form->Handle();
  auto frameSize = [h]() {
    RECT wr, cr;
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    return SIZE{(wr.right - wr.left) - cr.right, (wr.bottom - wr.top) - cr.bottom};
  };
  SIZE plain = frameSize();
  EXPECT_EQ(SendMessageA(h, SK_SIDEBORDERWIDTH, 0, 0), 0);

  auto* theme = new TskFileTheme(Form);
  theme->SetThemeFile(path);
  ASSERT_TRUE(theme->IsLoaded());
  Frame->SetFileTheme(theme);
  Frame->SetUIStyle(FromThemeFile);
  Application->ProcessMessages();
  ASSERT_NE(Frame->RightBorderPicture(), nullptr);
  EXPECT_EQ(Frame->SideBorderWidth(), sideW);
  EXPECT_EQ(Frame->BottomBorderHeight(), bottomH);
  SIZE pictured = frameSize();
  EXPECT_EQ(pictured.cx, plain.cx + 2 * sideW);
  EXPECT_EQ(pictured.cy, plain.cy + bottomH);
  EXPECT_EQ(SendMessageA(h, SK_SIDEBORDERWIDTH, 0, 0), sideW);
  // The right side is the left one turned by 180 degrees.
  TBitmap* right = Frame->RightBorderPicture();
  EXPECT_EQ(right->Canvas()->GetPixel(sideW - 1, 0) & 0xFFFFFF, clYellow);
  EXPECT_EQ(right->Canvas()->GetPixel(2, 0) & 0xFFFFFF, clBlue);
  EXPECT_EQ(right->Canvas()->GetPixel(2, 39) & 0xFFFFFF, clRed);

  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Application->ProcessMessages();
  SaveScreenshot(h, "SkForm_ThemeBorders.bmp");
  TBitmap shot;
  CaptureWindow(h, shot);
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&cr), 2);
  OffsetRect(&cr, -wr.left, -wr.top);
  auto at = [&](int x, int y) { return shot.Canvas()->GetPixel(x, y) & 0xFFFFFF; };
  const int top = cr.top + 3, low = cr.bottom - 3;
  struct {
    const char* Where;
    int X, Y;
    TColor Color;
  } const cases[] = {
      {"left side, outer column", int(cr.left) - sideW, top, clYellow},
      {"left side, upper part", int(cr.left) - 3, top, clRed},
      {"left side, lower part", int(cr.left) - 3, low, clBlue},
      {"right side, outer column", int(cr.right) + sideW - 1, top, clYellow},
      {"right side, upper part", int(cr.right) + 3, top, clBlue},
      {"right side, lower part", int(cr.right) + 3, low, clRed},
      {"bottom", int(cr.left + cr.right) / 2, int(cr.bottom) + 2, clLime},
  };
  for (const auto& c : cases) EXPECT_EQ(at(c.X, c.Y), c.Color) << c.Where;

  // Back to a built-in style: no pictures, the client area as before.
  Frame->SetUIStyle(DeepBlue);
  Application->ProcessMessages();
  EXPECT_EQ(Frame->SideBorderWidth(), 0);
  EXPECT_EQ(frameSize().cx, plain.cx);
  EXPECT_EQ(frameSize().cy, plain.cy);
}

}  // namespace
