// Scroll bars and combo boxes of the program's own windows while skinned: the main window's file list
// holding 40 files and the file information window's report carry overlays that lie exactly over the
// system's bars; the sixteen profile lists of the main window and every list of every profile editor
// open and pick with mouse and keyboard. Pictures of the file
// list, the report, a dropped profile list and a dropped sample-rate list are left in the build folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "AppTestKit.h"
#include "ProgramWindowTest.h"
#include "FileInfoWnd.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "ProfileEditors.h"
#include "ProfileLists.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SkinManage.h"
#include "SkinnerCombo.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "SkinnerScroll.h"
#include "TempDir.h"
#include "UnixShell.h"
#include "profiles.h"

namespace {

using namespace apptest;

void Pump() { PumpMessagesUntil([] { return true; }); }

TSkinControl* SkinnerOf(TWinControl* form, TControl* c) {
  TSkinnerForm* f = SkinManager ? SkinManager->FindForm(form->Handle()) : nullptr;
  if (!f) return nullptr;
  for (TSkinControl* s : f->ControlSkinners())
    if (s->Control == c) return s;
  return nullptr;
}

RECT ScreenBar(HWND h) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(h, OBJID_VSCROLL, &info);
  return info.rcScrollBar;
}

bool OverlayCoversBar(TSkinScrollbar* s) {
  if (!s || !s->VertBar || !s->VertBar->Shown || !IsWindowVisible(s->VertBar->Handle())) return false;
  RECT o, b = ScreenBar(s->WindowHandle);
  GetWindowRect(s->VertBar->Handle(), &o);
  return EqualRect(&o, &b);
}

void AllCombos(TControl* c, std::vector<TComboBox*>& out) {
  if (auto* combo = As<TComboBox>(c)) out.push_back(combo);
  if (auto* w = As<TWinControl>(c))
    for (TControl* child : w->ControlList()) AllCombos(child, out);
}

// Opens the list with the mouse on the button, picks the item with a click; the item index afterwards.
int PickWithMouse(TComboBox* combo, int item) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(combo->Handle(), &info)) return -2;
  const RECT& b = info.rcButton;
  const LPARAM button = MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2);
  SendMessageA(combo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, button);
  SendMessageA(combo->Handle(), WM_LBUTTONUP, 0, button);
  Pump();
  if (!SendMessageA(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0)) return -3;
  SendMessageA(info.hwndList, LB_SETTOPINDEX, 0, 0);
  RECT r{};
  SendMessageA(info.hwndList, LB_GETITEMRECT, WPARAM(item), LPARAM(&r));
  const LPARAM at = MAKELPARAM(r.left + 4, r.top + 2);
  SendMessageA(info.hwndList, WM_MOUSEMOVE, 0, at);
  SendMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(info.hwndList, WM_LBUTTONUP, 0, at);
  Pump();
  if (SendMessageA(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0)) return -4;
  return combo->GetItemIndex();
}

// The key as the keyboard delivers it to the focused window (an editable combo's edit, else the combo).
void KeyTo(TComboBox* combo, WORD vk) {
  const HWND edit = combo->GetStyle() == csDropDown ? GetWindow(combo->Handle(), GW_CHILD) : nullptr;
  const HWND target = edit ? edit : combo->Handle();
  SendMessageA(target, WM_KEYDOWN, vk, 1);
  SendMessageA(target, WM_KEYUP, vk, LPARAM(0xC0000001));
  Pump();
}

class SkinnedScrollCombo : public ProgramWindowTest {
protected:
  void PrepareProgramFolder() override {
    ASSERT_TRUE(CreateProfileDirs());
    for (int f = 0; f < FormatCount; ++f)
      for (const char* name : {"Alpha", "Beta", "Gamma"}) WriteWholeFile(ProfileFilePath(TOutputFormat(f), name), "");
  }
  void PlaceOverMain(TForm* f) {
    RECT mr;
    GetWindowRect(main->Handle(), &mr);
    f->SetPosition(poDesigned);
    f->SetBounds(mr.left + 30, mr.top + 30, f->GetWidth(), f->GetHeight());
  }
  void Shot(HWND h, const std::string& name) { SaveScreenshot(h, std::string(ORV_BUILD_DIR) + name); }
};

}  // namespace

TEST_F(SkinnedScrollCombo, TheMainWindowsFileListAndSixteenProfileListsWorkSkinned) {
  ShowSkinned(main);
  for (int i = 0; i < 40; ++i) {
    auto* item = new TFileItem;
    item->FileName = "clip" + std::to_string(i + 1) + ".avi";
    item->FilePath = dir.Path();
    TListItem* entry = main->lsvFileName->Add();
    entry->SetCaption(dir.Path() + "\\" + item->FileName);
    entry->Data = item;
  }
  main->UpdateSummary();
  RedrawWindow(main->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Pump();
  auto* list = As<TSkinListView>(SkinnerOf(main, main->lsvFileName));
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(OverlayCoversBar(list));
  Shot(main->Handle(), "skinned_main_filelist_40.bmp");

  for (int f = 0; f < FormatCount; ++f) {
    SCOPED_TRACE(FormatChoices[f].Name);
    main->FormatAction(f)->Execute();
    Pump();
    TComboBox* combo = main->FrontProfileCombo();
    ASSERT_EQ(combo, main->ProfileCombo(f));
    EXPECT_NE(As<TSkinComBox>(SkinnerOf(main, combo)), nullptr);
    ASSERT_EQ(combo->ItemCount(), 3);
    combo->SetFocus();
    Pump();
    EXPECT_EQ(PickWithMouse(combo, 2), 2);
    combo->SetItemIndex(0);
    KeyTo(combo, VK_DOWN);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(combo->GetText(), combo->GetItems()[1]);
    if (f == 0) {
      // The list open, as the user sees it.
      SendMessageA(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
      Pump();
      Shot(main->Handle(), "skinned_main_profile_dropped.bmp");
      KeyTo(combo, VK_DOWN);
      KeyTo(combo, VK_RETURN);
      EXPECT_FALSE(SendMessageA(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0));
      EXPECT_EQ(combo->GetItemIndex(), 2) << "picked with the keyboard in the open list";
      // A letter picks the first profile that starts with it.
      SendMessageA(combo->Handle(), WM_CHAR, WPARAM('b'), 1);
      Pump();
      EXPECT_EQ(combo->GetText(), "Beta");
    }
    combo->SetItemIndex(0);
  }
}

TEST_F(SkinnedScrollCombo, TheFileInformationReportScrollsUnderItsSkinnedBar) {
  auto* info = new TfrmFileInfo(Application);
  PlaceOverMain(info);
  std::string report;
  for (int i = 1; i <= 80; ++i) report += "Field " + std::to_string(i) + "                  : value " + std::to_string(i) + "\r\n";
  info->mmoInfo->SetText(report);
  ShowSkinned(info);
  auto* s = As<TSkinScrollbar>(SkinnerOf(info, info->mmoInfo));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinScrollbar");
  EXPECT_TRUE(OverlayCoversBar(s));
  // A press on the second arrow scrolls one line, through the memo's own scroll loop.
  const HWND m = info->mmoInfo->Handle();
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  RECT bar = ScreenBar(m);
  POINT up{(bar.left + bar.right) / 2, bar.bottom - arrow / 2};
  ScreenToClient(m, &up);
  PostMessageA(m, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  SendMessageA(s->VertBar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(s->VertBar->GetWidth() / 2, s->VertBar->GetHeight() - arrow / 2));
  Pump();
  EXPECT_EQ(SendMessageA(m, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  Shot(info->Handle(), "skinned_fileinfo_report.bmp");
  info->Free();
}

TEST_F(SkinnedScrollCombo, EveryEditorsListsOpenAndPickSkinned) {
  for (int f = ofAVI; f <= ofWav; ++f) {
    auto* editor = static_cast<TfrmProfileEditor*>(ProfileEditorFactory(TOutputFormat(f))(Application));
    SCOPED_TRACE(editor->ClassName());
    PlaceOverMain(editor);
    editor->LoadSettings();
    ShowSkinned(editor);
    std::vector<TComboBox*> combos;
    AllCombos(editor, combos);
    EXPECT_FALSE(combos.empty());
    for (TComboBox* c : combos) {
      SCOPED_TRACE(c->GetName());
      EXPECT_NE(As<TSkinComBox>(SkinnerOf(editor, c)), nullptr);
      if (c->ItemCount() < 2 || !c->Showing() || !c->GetEnabled()) continue;
      c->SetItemIndex(0);
      KeyTo(c, VK_DOWN);
      EXPECT_EQ(c->GetItemIndex(), 1) << "the keyboard picks the next item";
    }
    if (f == ofMp3) {
      TComboBox* rate = nullptr;
      for (TComboBox* c : combos)
        if (c->GetName().rfind("ComboBoxSampleRate", 0) == 0 && c->ItemCount() > 1) rate = c;
      ASSERT_NE(rate, nullptr);
      auto* pages = As<TPageControl>(editor->FindComponent("PageControlOptions"));
      ASSERT_NE(pages, nullptr);
      pages->SetActivePage(As<TTabSheet>(editor->FindComponent("TabSheetAudio")));
      Pump();
      ASSERT_TRUE(rate->Showing());
      rate->SetFocus();
      const int last = rate->ItemCount() - 1;
      EXPECT_EQ(PickWithMouse(rate, last), last);
      SendMessageA(rate->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
      Pump();
      Shot(editor->Handle(), "skinned_editor_samplerate_dropped.bmp");
      SendMessageA(rate->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
      Pump();
    }
    editor->Free();
    Pump();
  }
}
