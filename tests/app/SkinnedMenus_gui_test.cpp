// The program's popup menus while the skin engine is active: the tray menu, the language menu, the
// file list's menu and an editor's system menu open in skinned menu windows whose frame comes from the
// skin and whose items the skin draws (pictures are left in the build folder).
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "AppTestKit.h"
#include "ProgramWindowTest.h"
#include "MP3_ProfileWnd.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "Menus.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "TempDir.h"

namespace {

using namespace apptest;

std::vector<HWND> OpenMenuWindows() {
  std::vector<HWND> found;
  for (HWND h = FindWindowExA(nullptr, nullptr, "#32768", nullptr); h; h = FindWindowExA(nullptr, h, "#32768", nullptr))
    if (IsWindowVisible(h)) found.push_back(h);
  return found;
}

// What one open menu showed: whether every menu window was skinned, the colour of its corner, and the
// picture of all of them together.
struct TMenuLook {
  bool Opened = false;
  bool AllSkinned = true;
  std::vector<COLORREF> Corners;
};

TMenuLook LookAtOpenMenus(const std::string& file) {
  TMenuLook look;
  std::vector<HWND> menus = OpenMenuWindows();
  look.Opened = !menus.empty();
  RECT all{};
  for (HWND h : menus) {
    look.AllSkinned = look.AllSkinned && SendMessageA(h, SM_ISSKINNED, 0, 0) == 1;
    RECT r;
    GetWindowRect(h, &r);
    UnionRect(&all, &all, &r);
    HDC screen = GetDC(nullptr);
    look.Corners.push_back(GetPixel(screen, r.left, r.top));
    ReleaseDC(nullptr, screen);
  }
  if (look.Opened) {
    TBitmap shot;
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(all.right - all.left, all.bottom - all.top);
    HDC sdc = GetDC(nullptr);
    BitBlt(shot.Canvas()->GetHandle(), 0, 0, all.right - all.left, all.bottom - all.top, sdc, all.left, all.top, SRCCOPY);
    ReleaseDC(nullptr, sdc);
    shot.SaveToFile(std::string(ORV_BUILD_DIR) + file);
  }
  return look;
}

std::function<void()>& MenuTick() {
  static std::function<void()> tick;
  return tick;
}
void CALLBACK MenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (MenuTick()) MenuTick()();
}

// Runs `open` (which shows a menu and returns when it closes); inside the menu's loop `keys` are sent
// to it one tick after another, then the menus are looked at and closed.
TMenuLook WhileMenuOpen(const std::function<void()>& open, const std::vector<WORD>& keys, const std::string& file) {
  TMenuLook look;
  size_t next = 0;
  int ticks = 0;
  std::function<void()>& tick = MenuTick();
  tick = [&] {
    if (++ticks > 150) {  // the menu never came: close whatever is open
      EndMenu();
      return;
    }
    std::vector<HWND> menus = OpenMenuWindows();
    if (menus.empty()) return;
    if (next < keys.size()) {
      PostMessageA(menus.back(), WM_KEYDOWN, keys[next], 1);
      PostMessageA(menus.back(), WM_KEYUP, keys[next], 0xC0000001);
      ++next;
      return;
    }
    PumpMessagesUntil([] { return true; });
    look = LookAtOpenMenus(file);
    ticks = 1000;
    EndMenu();
  };
  const UINT_PTR timer = SetTimer(nullptr, 0, 60, MenuTimer);
  open();
  KillTimer(nullptr, timer);
  tick = nullptr;
  PumpMessagesUntil([] { return true; });
  return look;
}

class SkinnedMenus : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TfrmMain* form = nullptr;

  void SetUp() override {
    ASSERT_TRUE(StartProgramFolderInEnglish(dir));
    WriteLanguageFile();
    ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
    oldPrompter = SetPrompter(&prompter);
    SetMenuChooser(nullptr);
    form = new TfrmMain(Application);
    Application->SetMainForm(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(form->Handle()); }));
  }
  void TearDown() override {
    EndMenu();
    Application->SetMainForm(nullptr);
    if (form) form->Free();
    SetPrompter(oldPrompter);
  }
  // The skin's menu frame colour (the outer ring of its menu background).
  COLORREF FrameColour() {
    TSkinData* data = form->SkinData1;
    if (!data->MenuBackground) return CLR_INVALID;
    return GetPixel(data->MenuBackground->Bitmap->Canvas()->GetHandle(), 0, 0);
  }
};

struct TProgramMenuCase {
  const char* Name;
  const char* Menu;
  std::vector<WORD> Keys;  // sent once the menu is open (down to an item, right into its sub-menu)
  const char* File;
  size_t Windows;
};

TEST_F(SkinnedMenus, TheProgramsPopupMenusOpenSkinned) {
  const TProgramMenuCase cases[] = {
      {"the tray menu", "mnuTray", {}, "skinned_tray_menu.bmp", 1},
      {"the language menu", "mnuHelp", {VK_DOWN, VK_DOWN, VK_RIGHT}, "skinned_language_menu.bmp", 2},
      {"the file list's menu", "mnuListViewNoFile", {VK_DOWN}, "skinned_file_list_menu.bmp", 1},
  };
  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  for (const TProgramMenuCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* menu = As<TPopupMenu>(form->FindComponent(c.Menu));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->GetOwnerDraw()) << "its items are drawn by the skin";
    const TMenuLook look = WhileMenuOpen([&] { menu->Popup(wr.left + 80, wr.top + 80); }, c.Keys, c.File);
    ASSERT_TRUE(look.Opened);
    EXPECT_TRUE(look.AllSkinned);
    EXPECT_EQ(look.Corners.size(), c.Windows);
    for (COLORREF corner : look.Corners) EXPECT_EQ(corner, FrameColour()) << "the frame is the skin's";
  }
}

TEST_F(SkinnedMenus, AnEditorsSystemMenuOpensSkinned) {
  auto* editor = new TfrmMp3Profile(Application);
  editor->Show();
  SetForegroundWindow(editor->Handle());
  ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(editor->Handle()); }));
  TSkinnerForm* f = SkinManager->FindForm(editor->Handle());
  RECT r;
  GetWindowRect(editor->Handle(), &r);
  const LPARAM at = MAKELPARAM(WORD(SHORT(r.left + 90)), WORD(SHORT(r.top + f->BorderTop / 2)));
  const TMenuLook look = WhileMenuOpen([&] { SendMessageA(editor->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, at); },
                                       {VK_DOWN}, "skinned_editor_system_menu.bmp");
  editor->Free();
  ASSERT_TRUE(look.Opened);
  EXPECT_TRUE(look.AllSkinned);
  ASSERT_EQ(look.Corners.size(), 1u);
  EXPECT_EQ(look.Corners[0], FrameColour());
}

}  // namespace
