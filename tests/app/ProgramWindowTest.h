// The program in a temporary folder in English, with the media library and a recording prompter, and
// its main window made but not shown. The skin manager goes with each test, so that the next test's main
// window starts the engine afresh.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "AppTestKit.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "SkinManage.h"
#include "SkinnerForm.h"
#include "TempDir.h"

// The skin engine has skinned the window and finished with it.
inline bool SkinnedAndFinished(HWND h) {
  TSkinnerForm* f = SkinManager ? SkinManager->FindForm(h) : nullptr;
  return f && f->State() == skSkinned;
}

// Repaints a window with its frame and children now.
inline void RedrawWhole(HWND h) {
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  PumpMessagesUntil([] { return true; });
}

class ProgramWindowTest : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TfrmMain* main = nullptr;

  // Runs in the program folder before the main window is made (profile files, say).
  virtual void PrepareProgramFolder() {}

  void SetUp() override {
    ASSERT_TRUE(apptest::StartProgramFolderInEnglish(dir));
    WriteLanguageFile();
    ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
    PrepareProgramFolder();
    if (HasFatalFailure()) return;
    oldPrompter = SetPrompter(&prompter);
    SetCursorPos(0, 0);
    main = new TfrmMain(Application);
  }
  // Shows a window in front, waits for the skin engine to finish it and paints it whole.
  void ShowSkinned(TForm* f) {
    f->Show();
    SetForegroundWindow(f->Handle());
    ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(f->Handle()); }));
    RedrawWhole(f->Handle());
  }
  void TearDown() override {
    if (main) main->Free();
    FreeSkinManager();
    if (oldPrompter) SetPrompter(oldPrompter);
  }
};
