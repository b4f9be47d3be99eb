// The skin engine in the program: the main window's layout carries the skin the build generates, the
// main window and the settings window are skinned when they are activated, and both keep their size,
// shape and controls (pictures of both are left in the build folder).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "AppTestKit.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Resources.h"
#include "Screenshot.h"
#include "SettingsWnd.h"
#include "SkinManage.h"
#include "SkinnerForm.h"
#include "TempDir.h"

namespace {

using namespace apptest;

bool SkinnedAndFinished(HWND h) {
  TSkinnerForm* f = SkinManager ? SkinManager->FindForm(h) : nullptr;
  return f && f->State() == skSkinned;
}

RECT WindowRect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

class SkinnedWindows : public ::testing::Test {
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
  }
  void TearDown() override {
    if (form) form->Free();
    SetPrompter(oldPrompter);
  }
};

TEST_F(SkinnedWindows, TheMainWindowCarriesTheGeneratedSkin) {
  form = new TfrmMain(Application);
  TSkinData* data = form->SkinData1;
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->GetActive());
  EXPECT_FALSE(data->NoSkin);
  EXPECT_EQ(data->GetDisableTag(), 99);
  EXPECT_TRUE(data->Has(xoPreview));
  EXPECT_FALSE(data->Has(xcMenuItem));
  // The very bytes the build packed into the program folder's skins\Orvane.skn.
  std::ifstream file(std::string(ORV_PROGRAM_DIR) + "skins\\Orvane.skn", std::ios::binary);
  ASSERT_TRUE(file.good());
  const std::vector<uint8_t> onDisk{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(data->SkinData.Bytes(), onDisk);
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_TRUE(SkinManager->HookInstalled());
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(SkinnedWindows, MainAndSettingsWindowsAreSkinnedAndLookAsBefore) {
  form = new TfrmMain(Application);
  const RECT before = WindowRect(form->Handle());
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(form->Handle()); }));
  EXPECT_EQ(SendMessageA(form->Handle(), SM_ISSKINNED, 0, 0), 1);
  const RECT after = WindowRect(form->Handle());
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form->Handle(), rgn), ERROR) << "the window keeps its shape";
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  DeleteObject(rgn);
  form->Repaint();
  PumpMessagesUntil([] { return true; });
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_main_window.bmp");

  auto* settings = new TfrmSettings(Application);
  settings->SetPosition(poDesigned);
  settings->SetBounds(after.left + 40, after.top + 40, settings->GetWidth(), settings->GetHeight());
  RECT clientBefore;
  GetClientRect(settings->Handle(), &clientBefore);
  settings->Show();
  ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(settings->Handle()); }));
  RECT clientAfter;
  GetClientRect(settings->Handle(), &clientAfter);
  EXPECT_EQ(clientAfter.right, clientBefore.right);
  EXPECT_EQ(clientAfter.bottom, clientBefore.bottom);
  EXPECT_TRUE(IsWindowVisible(settings->ComboBoxPriority->Handle()));
  settings->Repaint();
  PumpMessagesUntil([] { return true; });
  SaveScreenshot(settings->Handle(), std::string(ORV_BUILD_DIR) + "skinned_settings_window.bmp");
  EXPECT_EQ(SkinManager->Forms.size(), 2u);
  settings->Free();
  SkinManager->PurgeForms();
  EXPECT_EQ(SkinManager->Forms.size(), 1u);
}

}  // namespace
