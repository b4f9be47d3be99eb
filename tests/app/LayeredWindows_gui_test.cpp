// The splash and about windows with the pictures the build draws into skins\: the splash window closes
// itself at its first timer tick, the about window is made once and reused (texts of its creation time),
// its links go to the shell, and screenshots of both land in the build folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "AboutWnd.h"
#include "AppTestKit.h"
#include "GdiPlusObjects.h"
#include "Graphics.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "ShellOpen.h"
#include "SplashWnd.h"
#include "TempDir.h"
#include "globals.h"

namespace {

using namespace apptest;

// The window's composed surface (what UpdateLayeredWindow receives) as a 24-bit picture.
void SaveSurface(TfrmLayered* w, const std::string& name) {
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(w->GetWidth(), w->GetHeight());
  BitBlt(shot.Canvas()->GetHandle(), 0, 0, w->GetWidth(), w->GetHeight(), w->GetMemDC(), 0, 0, SRCCOPY);
  shot.SaveToFile(std::string(ORV_BUILD_DIR) + name);
}

// Alpha of the composed surface at a point (0 outside the picture's rounded corners).
int SurfaceAlpha(TfrmLayered* w, int x, int y) {
  BITMAP bm{};
  GetObjectA(w->GetMemBitmap(), sizeof bm, &bm);
  if (!bm.bmBits) return -1;
  const auto* row = static_cast<const uint8_t*>(bm.bmBits) + size_t(bm.bmHeight - 1 - y) * size_t(bm.bmWidthBytes);
  return row[x * 4 + 3];
}

TfrmSplash*& GuardedSplash() {
  static TfrmSplash* splash = nullptr;
  return splash;
}
void CALLBACK CloseGuardedSplash(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (GuardedSplash()) GuardedSplash()->Close();
}

class LayeredWindows : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  std::vector<std::string> shellOpened;

  static void SetUpTestSuite() { ASSERT_TRUE(StartGdiPlus()); }

  void SetUp() override {
    ASSERT_TRUE(StartProgramFolderInEnglish(dir));
    // The pictures the build drew.
    SkinsDir = std::string(ORV_PROGRAM_DIR) + "skins\\";
    oldPrompter = SetPrompter(&prompter);
    SetShellOpen([this](HWND, const std::string& verb, const std::string& file) { shellOpened.push_back(verb + "|" + file); });
  }
  void TearDown() override {
    SetPrompter(oldPrompter);
    ResetLanguageTexts();
    Application->ClearTerminated();
  }
};

}  // namespace

TEST_F(LayeredWindows, SplashClosesAtItsFirstTick) {
  TfrmSplash* splash = new TfrmSplash(Application);
  EXPECT_TRUE(splash->Timer->GetEnabled());
  EXPECT_EQ(splash->Timer->GetInterval(), 1000);
  EXPECT_EQ(splash->GetBackgroundImage(), SkinsDir + "Splash.png");
  ASSERT_NE(splash->GetBackgroundPicture(), nullptr) << "skins\\Splash.png is missing";
  EXPECT_EQ(splash->GetWidth(), 566);
  EXPECT_EQ(splash->GetHeight(), 273);

  int ticksSeen = -1;
  // The countdown is held while the window opens, so that a slow machine cannot tick before the
  // modal loop has looked at the window; inside the loop the timer runs again and its tick is
  // delivered at once.
  splash->Timer->SetEnabled(false);
  WhileModal([&] {
    ticksSeen = splash->GetVisible() ? 0 : 1;
    SaveSurface(splash, "splash_window.bmp");
    splash->Timer->SetEnabled(true);
    splash->Timer->Timer();
  });
  splash->ShowModal();  // returns by itself: the first tick closes it
  EXPECT_EQ(ticksSeen, 0);
  EXPECT_FALSE(splash->Timer->GetEnabled());
  EXPECT_FALSE(splash->GetVisible());
  EXPECT_EQ(splash->GetModalResult(), mrCancel);
  EXPECT_EQ(SurfaceAlpha(splash, 0, 0), 0) << "rounded corner";
  EXPECT_EQ(SurfaceAlpha(splash, 283, 136), 255);
  splash->Free();
}

// Start-up makes the main window while the splash shows: the splash stays on screen unchanged (pixel for
// pixel, also after the main window's skin has come up), the main window stays hidden until the splash
// has closed, and the splash's own tick still closes it.
TEST_F(LayeredWindows, MainWindowMadeDuringTheSplashStaysHiddenUntilItCloses) {
  ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
  TfrmSplash* splash = new TfrmSplash(Application);
  splash->Timer->SetEnabled(false);  // the test starts the countdown once the main window is made
  TfrmMain* main = nullptr;
  bool splashShownFirst = false, mainHiddenWhenMade = false, mainHiddenAtClose = false, splashShownAtClose = false;
  TBitmap before, after;
  splash->WhileShown = [&] {
    splashShownFirst = IsWindowVisible(splash->Handle()) != 0;
    CaptureWindow(splash->Handle(), before);
    main = new TfrmMain(Application);
    mainHiddenWhenMade = !IsWindowVisible(main->Handle());
    // Long enough for everything the main window starts on timers (its skin among them) to run.
    splash->Timer->SetInterval(700);
    splash->Timer->SetEnabled(true);
  };
  splash->OnClose = [&](TObject*, TCloseAction&) {
    splashShownAtClose = IsWindowVisible(splash->Handle()) != 0;
    mainHiddenAtClose = main && !IsWindowVisible(main->Handle());
    CaptureWindow(splash->Handle(), after);
  };
  // A splash that never closes fails the test instead of hanging it.
  GuardedSplash() = splash;
  const UINT_PTR guard = SetTimer(nullptr, 0, 60000, CloseGuardedSplash);
  splash->ShowModal();
  KillTimer(nullptr, guard);
  GuardedSplash() = nullptr;
  ASSERT_NE(main, nullptr) << "the splash did not run its work";
  EXPECT_TRUE(splashShownFirst);
  EXPECT_TRUE(mainHiddenWhenMade);
  EXPECT_TRUE(splashShownAtClose);
  EXPECT_TRUE(mainHiddenAtClose);
  EXPECT_FALSE(IsWindowVisible(main->Handle()));
  EXPECT_FALSE(splash->GetVisible());
  ASSERT_EQ(before.GetWidth(), after.GetWidth());
  ASSERT_EQ(before.GetHeight(), after.GetHeight());
  int differing = 0, dark = 0, seen = 0;
  for (int y = 0; y < before.GetHeight(); y += 3)
    for (int x = 0; x < before.GetWidth(); x += 3, ++seen) {
      const COLORREF was = GetPixel(before.Canvas()->GetHandle(), x, y);
      differing += was != GetPixel(after.Canvas()->GetHandle(), x, y);
      dark += was == RGB(0, 0, 0);
    }
  EXPECT_LT(dark, seen / 10) << "the splash was not on the screen yet when the main window was begun";
  EXPECT_EQ(differing, 0) << "the splash changed on screen while the main window was made";
  after.SaveToFile(std::string(ORV_BUILD_DIR) + "splash_with_main_prepared.bmp");
  before.SaveToFile(std::string(ORV_BUILD_DIR) + "splash_before_main_prepared.bmp");
  main->Free();
  splash->Free();
}

TEST_F(LayeredWindows, AboutIsMadeOnceAndKeepsItsTexts) {
  ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
  TfrmMain* main = new TfrmMain(Application);
  main->Show();
  ASSERT_EQ(frmAbout, nullptr);

  TfrmAbout* first = nullptr;
  WhileModal([&] {
    first = frmAbout;
    SaveSurface(frmAbout, "about_window.bmp");
    frmAbout->btnOK->Click();
  });
  main->actAbout->Execute();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Owner(), main);
  EXPECT_EQ(first->lblTitle->GetCaption(), AppTitle);
  EXPECT_EQ(first->lblVersion->GetCaption(), VersionText);
  EXPECT_EQ(first->btnOK->GetCaption(), IDS_ABOUT_BUTTON_OK);
  EXPECT_EQ(first->btnOK->GetPicNormal(), SkinsDir + AboutOKPictures[0]);
  EXPECT_EQ(first->GetTextQuality(), TextQuality_ClearTypeGridFit);
  ASSERT_NE(first->GetBackgroundPicture(), nullptr) << "skins\\imgAbout.png is missing";
  EXPECT_EQ(first->GetClientWidth(), 468);
  EXPECT_EQ(first->GetClientHeight(), 375);

  // A language switch in between does not reach the kept window; it reopens where it was.
  const std::string okBefore = first->btnOK->GetCaption();
  IDS_ABOUT_BUTTON_OK = "Schliessen";
  first->SetLeft(first->GetLeft() + 17);
  const int left = first->GetLeft();
  TfrmAbout* second = nullptr;
  WhileModal([&] {
    second = frmAbout;
    frmAbout->btnOK->Click();
  });
  main->actAbout->Execute();
  EXPECT_EQ(second, first);
  EXPECT_EQ(first->btnOK->GetCaption(), okBefore);
  EXPECT_EQ(first->GetLeft(), left);

  first->btnTechnicalSupportClick(nullptr);
  first->btnOnlineResourcesClick(nullptr);
  EXPECT_EQ(shellOpened, (std::vector<std::string>{"Open|mailto:" + std::string(TechnicalSupportAddress),
                                                   "Open|" + std::string(OnlineResourcesAddress)}));
  main->Free();
  EXPECT_EQ(frmAbout, nullptr);
}
