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
#include "SkinManage.h"
#include "TempDir.h"

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
  void TearDown() override {
    if (main) main->Free();
    FreeSkinManager();
    if (oldPrompter) SetPrompter(oldPrompter);
  }
};
