// The tab skinners on the program's own windows: every profile editor's tabs switch pages by mouse
// and keys exactly as they do with the tab skinner switched off, and pictures of the AVI editor's Video
// tab, the MPEG editor's DVD tab, the settings window's tabs and the main window's file list with its
// header (left in the build folder).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "AppTestKit.h"
#include "ProgramWindowTest.h"
#include "HeldKeys.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "ProfileEditors.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SettingsWnd.h"
#include "SkinManage.h"
#include "SkinnerControl.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "SkinnerHeader.h"
#include "SkinnerTabs.h"
#include "TempDir.h"
#include "profiles.h"

namespace {

using namespace apptest;

TSkinControl* SkinnerOf(HWND window, TControl* control) {
  TSkinnerForm* f = SkinManager ? SkinManager->FindForm(window) : nullptr;
  if (f)
    for (TSkinControl* s : f->ControlSkinners())
      if (s->Control == control) return s;
  return nullptr;
}

void Settle() {
  Application->ProcessMessages();
  PumpMessagesUntil([] { return true; });
}

class SkinnedTabs : public ProgramWindowTest {
protected:
  RECT mainRect{};

  void ShowSkinned(TForm* f) {
    if (f != main) {
      f->SetPosition(poDesigned);
      f->SetBounds(mainRect.left + 40, mainRect.top + 40, f->GetWidth(), f->GetHeight());
    }
    ProgramWindowTest::ShowSkinned(f);
    if (f == main) GetWindowRect(main->Handle(), &mainRect);
  }
  void Shot(HWND h, const std::string& name) { SaveScreenshot(h, std::string(ORV_BUILD_DIR) + name); }
  static TTabSheet* Sheet(TForm* f, const char* name) { return As<TTabSheet>(f->FindComponent(name)); }
};

// From the first tab's page: clicks on every tab from the last, then the arrows, End, Home and Ctrl+Tab
// on the focused tab row: the page shown after each step.
std::vector<std::string> TabScript(TPageControl* pc) {
  std::vector<std::string> seen;
  pc->SetActivePage(pc->PageForTab(0));
  auto note = [&](const std::string& what) {
    Settle();
    seen.push_back(what + ": " + (pc->GetActivePage() ? pc->GetActivePage()->GetName() : std::string("none")));
  };
  auto key = [&](WORD vk) {
    PostMessageA(pc->Handle(), WM_KEYDOWN, vk, 1);
    PostMessageA(pc->Handle(), WM_KEYUP, vk, LPARAM(0xC0000001));
  };
  const int tabs = int(SendMessageA(pc->Handle(), TCM_GETITEMCOUNT, 0, 0));
  for (int i = tabs - 1; i >= 0; --i) {
    RECT t{};
    SendMessageA(pc->Handle(), TCM_GETITEMRECT, WPARAM(i), LPARAM(&t));
    SendMessageA(pc->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(t.left + 6, t.top + 6));
    SendMessageA(pc->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(t.left + 6, t.top + 6));
    note("click tab " + std::to_string(i));
  }
  pc->SetFocus();
  for (WORD vk : {VK_RIGHT, VK_RIGHT, VK_LEFT, VK_END, VK_HOME}) {
    key(vk);
    note("key " + std::to_string(vk));
  }
  {
    THeldKeys ctrl({VK_CONTROL});
    key(VK_TAB);
    note("ctrl+tab");
  }
  return seen;
}

TEST_F(SkinnedTabs, EveryEditorsTabsWorkAsWithoutTheSkin) {
  ShowSkinned(main);
  for (int format = ofAVI; format <= ofWav; ++format) {
    auto* editor = static_cast<TfrmProfileEditor*>(ProfileEditorFactory(TOutputFormat(format))(Application));
    SCOPED_TRACE(editor->ClassName());
    editor->LoadSettings();
    ShowSkinned(editor);
    TPageControl* pc = editor->PageControlOptions;
    ASSERT_NE(pc, nullptr);
    TSkinControl* skinner = SkinnerOf(editor->Handle(), pc);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->ClassName(), "TSkinTab");
    for (int i = 0; i < pc->PageCount(); ++i)
      EXPECT_EQ(pc->Pages(i)->Perform(SM_ISSKINNED), 1) << pc->Pages(i)->GetName();
    SendMessageA(pc->Handle(), SM_SWITCHSKINNER, 0, 0);
    const std::vector<std::string> plain = TabScript(pc);
    SendMessageA(pc->Handle(), SM_SWITCHSKINNER, 1, 0);
    Settle();
    EXPECT_EQ(TabScript(pc), plain);
    EXPECT_GT(plain.size(), 1u);
    editor->Free();
    Settle();
  }
}

TEST_F(SkinnedTabs, PicturesOfTheTabsAndTheFileListsHeader) {
  // The file list shows its header here so that the picture has one.
  main->lsvFileName->SetShowColumnHeaders(true);
  ShowSkinned(main);
  HWND header = ListView_GetHeader(main->lsvFileName->Handle());
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(SendMessageA(header, SM_ISSKINNED, 0, 0), 1) << "the list view's skinner skins its header";
  // The mouse over the first column: it is the hot one.
  RECT column{};
  Header_GetItemRect(header, 0, &column);
  POINT over{(column.left + column.right) / 2, 4};
  ClientToScreen(header, &over);
  SetCursorPos(over.x, over.y);
  SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM((column.left + column.right) / 2, 4));
  RedrawWhole(main->Handle());
  auto* headerSkinner = dynamic_cast<TSkinHeader*>(SkinManager->FindForm(main->Handle())->FindControlByWindow(header));
  ASSERT_NE(headerSkinner, nullptr);
  EXPECT_EQ(headerSkinner->HotItem, 0);
  Shot(main->Handle(), "skinned_tabs_main_file_list.bmp");

  auto* settings = new TfrmSettings(Application);
  ShowSkinned(settings);
  Shot(settings->Handle(), "skinned_tabs_settings.bmp");
  settings->Free();

  struct TPicture {
    TOutputFormat Format;
    const char* Sheet;
    const char* File;
  };
  for (const TPicture& p : {TPicture{ofAVI, "TabSheetVideo", "skinned_tabs_avi_video.bmp"},
                            TPicture{ofMPEG, "TabSheetDVD", "skinned_tabs_mpeg_dvd.bmp"}}) {
    auto* editor = static_cast<TfrmProfileEditor*>(ProfileEditorFactory(p.Format)(Application));
    editor->LoadSettings();
    ShowSkinned(editor);
    TTabSheet* sheet = Sheet(editor, p.Sheet);
    ASSERT_NE(sheet, nullptr) << p.Sheet;
    editor->PageControlOptions->SetActivePage(sheet);
    RedrawWhole(editor->Handle());
    EXPECT_EQ(editor->PageControlOptions->GetActivePage(), sheet);
    Shot(editor->Handle(), p.File);
    editor->Free();
    Settle();
  }
}

}  // namespace
