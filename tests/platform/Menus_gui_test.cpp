// Menus over real system menus under Wine: item properties and the native entries they make, short
// cuts, command lookup, a main menu read from a layout onto a form, CM_MENUCHANGED, and owner drawing
// routed through the system's WM_MEASUREITEM / WM_DRAWITEM to the items.
#include <gtest/gtest.h>

#include <set>

#include "ActnList.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "Menus.h"
#include "PumpMessages.h"
#include "Screenshot.h"

namespace {

const char* const kLayout = R"(object frmMenus: TForm
  BorderStyle = bsSizeable
  Caption = 'Menus'
  ClientWidth = 300
  ClientHeight = 200
  Menu = mnuMain
  object mnuMain: TMainMenu
    object miFile: TMenuItem
      Caption = '&File'
      object miOpen: TMenuItem
        Caption = '&Open'
        ShortCut = 'Ctrl+O'
        ImageIndex = 2
      end
      object miLine: TMenuItem
        Caption = '-'
      end
      object miRecent: TMenuItem
        Caption = 'Recent'
        Checked = True
        RadioItem = True
        Enabled = False
      end
      object miHidden: TMenuItem
        Caption = 'Hidden'
        Visible = False
      end
      object miExit: TMenuItem
        Caption = 'E&xit'
        Default = True
      end
    end
    object miHelp: TMenuItem
      Caption = '&Help'
    end
  end
end
)";

struct TMenuEntry {
  std::string Text;
  UINT Type = 0, State = 0, Id = 0;
  HMENU Sub = nullptr;
};

TMenuEntry EntryAt(HMENU menu, int pos) {
  char text[128] = "";
  MENUITEMINFOA mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  mi.dwTypeData = text;
  mi.cch = sizeof(text);
  EXPECT_TRUE(GetMenuItemInfoA(menu, UINT(pos), TRUE, &mi)) << "entry " << pos;
  return TMenuEntry{text, mi.fType, mi.fState, mi.wID, mi.hSubMenu};
}

class MenusGui : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(Application);
    ReadLayoutText(Form, kLayout, "menus.layout", TLayoutBinder());
    for (const char* name : {"mnuMain", "miFile", "miOpen", "miLine", "miRecent", "miHidden", "miExit", "miHelp"})
      ASSERT_NE(Form->FindComponent(name), nullptr) << name;
    Main = As<TMainMenu>(Form->FindComponent("mnuMain"));
    File = Item("miFile");
    Open = Item("miOpen");
    Exit = Item("miExit");
    Clicks.clear();
    for (TMenuItem* i : {File, Open, Item("miRecent"), Exit, Item("miHelp")})
      i->OnClick = [this](TObject* s) { Clicks.push_back(static_cast<TComponent*>(s)->GetName()); };
  }
  void TearDown() override {
    SetMenuChooser(nullptr);
    Form->Free();
  }
  TMenuItem* Item(const char* name) { return As<TMenuItem>(Form->FindComponent(name)); }
  void Show() {
    Form->Show();
    Application->ProcessMessages();
  }
  // Keys the system's menu loop reads once the menu is open (it takes every key of the thread).
  static void QueueKeys(HWND target, std::initializer_list<WORD> keys) {
    for (WORD k : keys) {
      PostMessageA(target, WM_KEYDOWN, k, 1);
      PostMessageA(target, WM_KEYUP, k, 0xC0000001);
    }
  }

  TForm* Form = nullptr;
  TMainMenu* Main = nullptr;
  TMenuItem *File = nullptr, *Open = nullptr, *Exit = nullptr;
  std::vector<std::string> Clicks;
};

TEST_F(MenusGui, ItemPropertiesAndShortCutsFromTheLayout) {
  EXPECT_EQ(Form->GetMenu(), Main);
  EXPECT_EQ(GetPropText(Form, "Menu"), "mnuMain");
  EXPECT_EQ(Open->GetImageIndex(), 2);
  EXPECT_EQ(Exit->GetImageIndex(), -1);
  EXPECT_EQ(Open->GetShortCut(), scCtrl | 'O');
  EXPECT_EQ(GetPropText(Open, "ShortCut"), "Ctrl+O");
  EXPECT_EQ(Open->Parent(), File);
  EXPECT_EQ(File->GetParentMenu(), Main);
  EXPECT_EQ(Exit->MenuIndex(), 4);
  EXPECT_FALSE(Main->GetOwnerDraw());

  // Short cut texts both ways, and an action's short cut shown by an item that has none of its own.
  struct {
    int ShortCut;
    const char* Text;
  } const shortCuts[] = {{scCtrl | 'O', "Ctrl+O"}, {scShift | VK_DELETE, "Shift+Del"}, {VK_F2, "F2"},
                         {scAlt | 'N', "Alt+N"}, {scShift | scCtrl | VK_F5, "Shift+Ctrl+F5"}};
  for (const auto& s : shortCuts) {
    EXPECT_EQ(ShortCutToText(s.ShortCut), s.Text);
    EXPECT_EQ(TextToShortCut(s.Text), s.ShortCut) << s.Text;
  }
  TAction action(nullptr);
  action.SetShortCut(VK_F2);
  action.SetCaption("Rename");
  TMenuItem bound(nullptr);
  bound.SetAction(&action);
  EXPECT_EQ(bound.ShownShortCut(), VK_F2);
  EXPECT_EQ(bound.ShownCaption(), "Rename");
  bound.SetShortCut(VK_F3);
  EXPECT_EQ(bound.ShownShortCut(), VK_F3);

  // Every item of the process has its own command, found again by the menu; a freed item's is gone.
  std::set<UINT> commands;
  for (int i = 0; i < Form->ComponentCount(); ++i)
    if (auto* item = As<TMenuItem>(Form->Components(i))) {
      EXPECT_TRUE(commands.insert(item->Command()).second) << item->GetName();
      EXPECT_GT(item->Command(), 0u);
      EXPECT_LT(item->Command(), UINT(SC_SIZE));
      EXPECT_EQ(Main->FindItem(item->Command(), fkCommand), item);
      EXPECT_EQ(FindItemByCommand(item->Command()), item);
    }
  EXPECT_EQ(Main->FindItem(UINT_PTR(File->Handle()), fkHandle), File);
  EXPECT_EQ(Main->FindItem(UINT_PTR(Main->Handle()), fkHandle), Main->Items());
  EXPECT_EQ(Main->FindItem(scCtrl | 'O', fkShortCut), Open);
  EXPECT_EQ(Main->FindItem(scCtrl | 'Q', fkShortCut), nullptr);
  UINT gone;
  {
    TMenuItem temporary(nullptr);
    gone = temporary.Command();
    File->Add(&temporary);
    EXPECT_EQ(Main->FindItem(gone, fkCommand), &temporary);
  }
  EXPECT_EQ(FindItemByCommand(gone), nullptr);
  EXPECT_EQ(File->Count(), 5);

  // The menu's short cut test clicks only an item that can be used, and only when every level is enabled.
  EXPECT_TRUE(Main->IsShortCut(scCtrl | 'O'));
  EXPECT_FALSE(Main->IsShortCut(scCtrl | 'Q'));
  File->SetEnabled(false);
  EXPECT_FALSE(Main->IsShortCut(scCtrl | 'O'));
  EXPECT_EQ(Clicks, std::vector<std::string>{"miOpen"});
}

TEST_F(MenusGui, MainMenuOnTheFormIsTheWindowsNativeMenu) {
  Show();
  HWND h = Form->Handle();
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);  // the bar is outside the client area the layout asks for
  HMENU bar = GetMenu(h);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, Main->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  TMenuEntry file = EntryAt(bar, 0);
  EXPECT_EQ(file.Text, "&File");
  EXPECT_EQ(file.Sub, File->Handle());
  EXPECT_EQ(file.Id, File->Command());

  HMENU sub = File->Handle();
  ASSERT_EQ(GetMenuItemCount(sub), 4);  // the invisible item is left out
  TMenuEntry open = EntryAt(sub, 0), line = EntryAt(sub, 1), recent = EntryAt(sub, 2), exit = EntryAt(sub, 3);
  EXPECT_EQ(open.Text, "&Open\tCtrl+O");
  EXPECT_EQ(open.Id, Open->Command());
  EXPECT_EQ(open.State & (MFS_GRAYED | MFS_CHECKED), 0u);
  EXPECT_TRUE(line.Type & MFT_SEPARATOR);
  EXPECT_TRUE(recent.Type & MFT_RADIOCHECK);
  EXPECT_EQ(recent.State & (MFS_GRAYED | MFS_CHECKED), UINT(MFS_GRAYED | MFS_CHECKED));
  EXPECT_TRUE(exit.State & MFS_DEFAULT);

  // A chosen command arrives as WM_COMMAND and reaches its item; a disabled item's is ignored,
  // a control's notification with the same number is not a menu command.
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(Exit->Command(), 0), 0);
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(Item("miRecent")->Command(), 0), 0);
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(Open->Command(), BN_CLICKED), LPARAM(h));
  EXPECT_EQ(Clicks, std::vector<std::string>{"miExit"});

  // Chosen through the system's own menu loop, with the form as the owner.
  Clicks.clear();
  QueueKeys(h, {VK_DOWN, VK_RETURN});
  RECT wr;
  GetWindowRect(h, &wr);
  TrackPopupMenu(sub, TPM_LEFTALIGN, wr.left + 20, wr.top + 40, 0, h, nullptr);
  ASSERT_TRUE(PumpMessagesUntil([&] { return !Clicks.empty(); }, 30000));
  EXPECT_EQ(Clicks, std::vector<std::string>{"miOpen"});

  SaveScreenshot(h, "Menus_MainMenu.bmp");
}

TEST_F(MenusGui, ChangedItemsReachTheWindowAsMenuChanged) {
  Show();
  HWND h = Form->Handle();
  int changes = 0;
  auto previous = Form->WindowProc;
  Form->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_MENUCHANGED) ++changes;
    previous(m);
  };
  HMENU sub = File->Handle();

  Open->SetCaption("&Open...");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(EntryAt(sub, 0).Text, "&Open...\tCtrl+O");
  Open->SetCaption("&Open...");  // no change, no message
  EXPECT_EQ(changes, 1);

  Item("miHidden")->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(sub), 5);
  EXPECT_EQ(EntryAt(sub, 3).Text, "Hidden");

  auto* added = new TMenuItem(Form);
  added->SetCaption("&Save");
  File->Insert(1, added);
  ASSERT_EQ(GetMenuItemCount(sub), 6);
  EXPECT_EQ(EntryAt(sub, 1).Id, added->Command());
  added->Free();
  EXPECT_EQ(GetMenuItemCount(sub), 5);

  Item("miHelp")->SetEnabled(false);
  EXPECT_TRUE(EntryAt(GetMenu(h), 1).State & MFS_GRAYED);
  EXPECT_EQ(GetMenu(h), Main->Handle());  // the form put its menu back after every change
  EXPECT_EQ(changes, 5);

  // Taking the menu away leaves the window without one; freeing it while shown does the same.
  Form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(h), nullptr);
  Form->SetMenu(Main);
  EXPECT_EQ(GetMenu(h), Main->Handle());
  Form->WindowProc = previous;
  Main->Free();
  EXPECT_EQ(Form->GetMenu(), nullptr);
  EXPECT_EQ(GetMenu(h), nullptr);
  EXPECT_EQ(File->GetParentMenu(), nullptr);
}

struct TDrawLog {
  std::vector<std::string> Measured;
  std::map<std::string, SIZE> Sizes;  // as measured (after the handler)
  std::map<std::string, RECT> Rects;  // as drawn
  std::set<std::string> Selected;
};

// Gives every item of the tree handlers that record what the system asked for; `custom` items set
// their own size.
void Record(TMenuItem* root, TDrawLog& log, const std::map<std::string, SIZE>& custom) {
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    std::string name = item->GetName();
    item->OnMeasureItem = [&log, custom, name](TObject*, TCanvas* canvas, int& w, int& h) {
      EXPECT_NE(canvas->GetHandle(), nullptr);
      EXPECT_EQ(canvas->Font()->GetName(), Screen->MenuFont()->GetName());
      auto it = custom.find(name);
      if (it != custom.end()) {
        w = it->second.cx;
        h = it->second.cy;
      }
      log.Measured.push_back(name);
      log.Sizes[name] = SIZE{w, h};
    };
    item->OnDrawItem = [&log, name](TObject* sender, TCanvas* canvas, const RECT& r, bool selected) {
      log.Rects[name] = r;
      if (selected) log.Selected.insert(name);
      static_cast<TMenuItem*>(sender)->DefaultDrawItem(canvas, r, selected);
    };
  }
}

TEST_F(MenusGui, OwnerDrawnPopupIsMeasuredAndDrawnByItsItems) {
  // Items built in code: a custom size, a separator, the same caption with and without a short cut,
  // a checked and a disabled item.
  TPopupMenu popup(nullptr);
  TImageList images(nullptr);
  popup.SetImages(&images);
  popup.SetOwnerDraw(true);
  EXPECT_EQ(popup.GetImages(), &images);
  std::vector<std::unique_ptr<TMenuItem>> items;
  struct {
    const char* Name;
    const char* Caption;
    int ShortCut;
    bool Checked, Enabled;
  } const table[] = {{"Big", "Big", 0, false, true},        {"Line", "-", 0, false, true},
                     {"Plain", "Same text", 0, false, true}, {"Keyed", "Same text", scCtrl | 'K', false, true},
                     {"Ticked", "Ticked", 0, true, true},    {"Off", "Off", 0, false, false}};
  for (const auto& t : table) {
    items.emplace_back(new TMenuItem(nullptr));
    TMenuItem* i = items.back().get();
    i->SetName(t.Name);
    i->SetCaption(t.Caption);
    i->SetShortCut(t.ShortCut);
    i->SetChecked(t.Checked);
    i->SetEnabled(t.Enabled);
    popup.Items()->Add(i);
  }
  TDrawLog log;
  Record(popup.Items(), log, {{"Big", SIZE{180, 31}}, {"Line", SIZE{20, 7}}});
  std::string clicked;
  items[0]->OnClick = [&](TObject*) { clicked = "Big"; };
  items[2]->OnClick = [&](TObject*) { clicked = "Plain"; };

  // Every entry is owner-drawn and carries its item.
  HMENU h = popup.Handle();
  ASSERT_EQ(GetMenuItemCount(h), 6);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(EntryAt(h, i).Type & MFT_OWNERDRAW) << i;

  // Down, down, Enter: the separator is skipped, so the third entry is chosen.
  QueueKeys(Application->Handle(), {VK_DOWN, VK_DOWN, VK_RETURN});
  popup.Popup(50, 50);
  EXPECT_EQ(clicked, "Plain");

  for (const auto& t : table) EXPECT_NE(std::find(log.Measured.begin(), log.Measured.end(), t.Name), log.Measured.end()) << t.Name;
  // The system laid the items out with the sizes their handlers gave.
  auto height = [&](const char* n) { return log.Rects[n].bottom - log.Rects[n].top; };
  EXPECT_EQ(height("Big"), 31);
  EXPECT_EQ(height("Line"), 7);
  EXPECT_EQ(height("Plain"), log.Sizes["Plain"].cy);
  EXPECT_GE(log.Rects["Big"].right - log.Rects["Big"].left, 180);
  EXPECT_EQ(log.Rects["Line"].top, log.Rects["Big"].bottom);
  // The default size makes room for the short cut text.
  EXPECT_GT(log.Sizes["Keyed"].cx, log.Sizes["Plain"].cx);
  EXPECT_TRUE(log.Selected.count("Big"));
  EXPECT_TRUE(log.Selected.count("Plain"));
  EXPECT_FALSE(log.Selected.count("Off"));
}

TEST_F(MenusGui, OwnerDrawnMenuBarItemsAreMeasuredOnTheForm) {
  Main->SetOwnerDraw(true);
  TDrawLog log;
  Record(Main->Items(), log, {{"miFile", SIZE{64, 22}}, {"miHelp", SIZE{50, 22}}});
  Record(File, log, {});
  Show();
  EXPECT_TRUE(EntryAt(GetMenu(Form->Handle()), 0).Type & MFT_OWNERDRAW);
  ASSERT_TRUE(PumpMessagesUntil([&] { return log.Rects.count("miFile") > 0; }, 30000));
  EXPECT_EQ(log.Sizes["miFile"].cx, 64);
  // The bar takes the measured widths; its height stays the system's, as on Windows.
  EXPECT_GE(log.Rects["miFile"].right - log.Rects["miFile"].left, 64);
  EXPECT_EQ(log.Rects["miHelp"].left, log.Rects["miFile"].right);
  RECT client;
  GetClientRect(Form->Handle(), &client);
  EXPECT_EQ(client.bottom, 200);

  // The sub-menu, opened by the system with the form as its owner, is measured by the items too.
  QueueKeys(Form->Handle(), {VK_ESCAPE});
  RECT wr;
  GetWindowRect(Form->Handle(), &wr);
  TrackPopupMenu(File->Handle(), TPM_LEFTALIGN | TPM_RETURNCMD, wr.left + 20, wr.top + 40, 0, Form->Handle(), nullptr);
  EXPECT_NE(std::find(log.Measured.begin(), log.Measured.end(), "miOpen"), log.Measured.end());
  EXPECT_EQ(std::find(log.Measured.begin(), log.Measured.end(), "miHidden"), log.Measured.end());
  SaveScreenshot(Form->Handle(), "Menus_OwnerDrawBar.bmp");
}

// A menu reads in its form's direction until it is given one of its own; controls read in their
// parent's, and their windows carry the direction's extended styles.
TEST_F(MenusGui, MenusAndControlsTakeTheirReadingDirection) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  auto* readingOnly = new TEdit(Form);
  readingOnly->SetParent(Form);
  readingOnly->SetBiDiMode(bdRightToLeftReadingOnly);
  Show();
  auto ex = [](TWinControl* c) { return GetWindowLongA(c->Handle(), GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR); };
  EXPECT_FALSE(Main->IsRightToLeft());
  EXPECT_EQ(ex(Form), 0);
  EXPECT_EQ(ex(edit), 0);
  EXPECT_EQ(ex(readingOnly), WS_EX_RTLREADING);

  Form->SetBiDiMode(bdRightToLeft);
  EXPECT_TRUE(Main->IsRightToLeft()) << "the menu follows its form";
  EXPECT_EQ(Main->GetBiDiMode(), bdRightToLeft);
  EXPECT_EQ(edit->GetBiDiMode(), bdRightToLeft) << "a control follows its parent";
  EXPECT_EQ(ex(Form), WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR) << "the window was made again";
  EXPECT_EQ(ex(edit), WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
  EXPECT_EQ(ex(readingOnly), WS_EX_RTLREADING) << "its own direction stays";
  EXPECT_EQ(GetMenu(Form->Handle()), Main->Handle()) << "the new window has the menu";

  Main->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(Main->IsRightToLeft()) << "a direction of its own";
  EXPECT_FALSE(Main->GetParentBiDiMode());
  Main->SetParentBiDiMode(true);
  EXPECT_TRUE(Main->IsRightToLeft());
  EXPECT_EQ(GetPropText(Form, "BiDiMode"), "bdRightToLeft");
}

// An action brings itself up to date through its own OnUpdate, or else through its list's.
TEST(ActionUpdate, RunsTheActionsOwnHandlerOrElseItsLists) {
  TActionList list(nullptr);
  TAction own(nullptr), listed(nullptr), alone(nullptr);
  own.SetActionList(&list);
  listed.SetActionList(&list);
  std::vector<std::string> seen;
  own.OnUpdate = [&](TObject*) { seen.push_back("own"); };
  list.OnUpdate = [&](TBasicAction* a, bool& handled) {
    seen.push_back(a == &listed ? "list:listed" : "list:other");
    handled = true;
  };
  EXPECT_TRUE(own.Update());
  EXPECT_TRUE(listed.Update());
  EXPECT_FALSE(alone.Update()) << "nothing handles an action of no list without a handler";
  EXPECT_EQ(seen, (std::vector<std::string>{"own", "list:listed"}));
  own.SetActionList(nullptr);
  listed.SetActionList(nullptr);
}

TEST(ScreenMenuFont, IsTheSystemsMenuFont) {
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof(m);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(m), &m, 0));
  EXPECT_EQ(Screen->MenuFont()->GetName(), m.lfMenuFont.lfFaceName);
  EXPECT_EQ(Screen->MenuFont()->GetHeight(), m.lfMenuFont.lfHeight);
  EXPECT_EQ(Screen->MenuFont(), Screen->MenuFont());
}

}  // namespace
