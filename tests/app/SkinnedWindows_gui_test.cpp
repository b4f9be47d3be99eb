// The skin engine in the program: the main window's layout carries the skin the build generates, every
// window is skinned when it is activated and wears the skinned frame around the client area its layout
// asks for, and the borderless main window keeps its shape (pictures are left in the build folder).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "AppTestKit.h"
#include "ProgramWindowTest.h"
#include "EnterValueWnd.h"
#include "FileInfoWnd.h"
#include "MP3_ProfileWnd.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "ModalScript.h"
#include "MultiLanguages.h"
#include "NameWnd.h"
#include "OrvUtils.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Resources.h"
#include "Screenshot.h"
#include "SettingsWnd.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "Subclass.h"
#include "TempDir.h"

namespace {

using namespace apptest;

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


TSkinnerForm* SkinnerOf(HWND h) { return SkinManager ? SkinManager->FindForm(h) : nullptr; }

// The client area is the window less the skinned borders and menu bar; the borders are the skin's.
void ExpectSkinnedGeometry(HWND h, TSkinData* data, const char* name) {
  TSkinnerForm* f = SkinnerOf(h);
  ASSERT_NE(f, nullptr) << name;
  auto frames = [](TDataSkinObject* e) { return std::max(1, e->FrameCount); };
  if (f->BorderKind != bkNone) {
    EXPECT_EQ(f->BorderLeft, data->BorderLeft->Bitmap->GetWidth() / frames(data->BorderLeft)) << name;
    EXPECT_EQ(f->BorderTop, data->BorderTop->Bitmap->GetHeight() / frames(data->BorderTop)) << name;
    EXPECT_EQ(f->BorderRight, data->BorderRight->Bitmap->GetWidth() / frames(data->BorderRight)) << name;
    EXPECT_EQ(f->BorderBottom, data->BorderBottom->Bitmap->GetHeight() / frames(data->BorderBottom)) << name;
  }
  const RECT wr = WindowRect(h);
  RECT cr;
  GetClientRect(h, &cr);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  EXPECT_EQ(origin.x - wr.left, f->BorderLeft) << name;
  EXPECT_EQ(origin.y - wr.top, f->BorderTop + f->MenuBarHeight) << name;
  EXPECT_EQ(cr.right, (wr.right - wr.left) - f->BorderLeft - f->BorderRight) << name;
  EXPECT_EQ(cr.bottom, (wr.bottom - wr.top) - f->BorderTop - f->MenuBarHeight - f->BorderBottom) << name;
}

void Shoot(TForm* w, const std::string& file) {
  RedrawWindow(w->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessagesUntil([] { return true; });
  SaveScreenshot(w->Handle(), std::string(ORV_BUILD_DIR) + file);
}

struct TWindowCase {
  const char* Name;
  std::function<TForm*()> Make;
  const char* Picture;
};

const TWindowCase WindowCases[] = {
    {"settings", [] { return static_cast<TForm*>(new TfrmSettings(Application)); }, "skinned_settings.bmp"},
    {"value entry", [] { return static_cast<TForm*>(new TfrmEnterValue(Application)); }, "skinned_value_entry.bmp"},
    {"file information", [] { return static_cast<TForm*>(new TfrmFileInfo(Application)); }, "skinned_file_info.bmp"},
    {"profile name", [] { return static_cast<TForm*>(new TfrmName(Application)); }, "skinned_profile_name.bmp"},
    {"MP3 editor", [] { return static_cast<TForm*>(new TfrmMp3Profile(Application)); }, "skinned_mp3_editor_active.bmp"},
    {"sizeable form",
     [] {
       auto* f = new TForm(Application);
       f->SetCaption("Sizeable test form");
       f->SetBorderStyle(bsSizeable);
       f->SetBounds(0, 0, 360, 240);
       return f;
     },
     "skinned_sizeable_form.bmp"},
};

TEST_F(SkinnedWindows, EveryWindowWearsTheSkinnedFrameAroundTheClientItsLayoutAsksFor) {
  form = new TfrmMain(Application);
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(form->Handle()); }));
  ExpectSkinnedGeometry(form->Handle(), form->SkinData1, "main window");
  const RECT mainRect = WindowRect(form->Handle());
  // Maximized within a part of the screen: a picture of the whole screen is more than the test
  // process can take at once.
  struct TSmallMaximize : TWindowSubclass {
    LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
      const LRESULT r = CallPrevious(msg, w, l);
      if (msg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(l);
        info->ptMaxSize = POINT{640, 480};
        info->ptMaxPosition = POINT{-4, -4};
      }
      return r;
    }
  } smallMaximize;
  for (const TWindowCase& c : WindowCases) {
    SCOPED_TRACE(c.Name);
    TForm* w = c.Make();
    if (std::string(c.Name) == "sizeable form") smallMaximize.Install(w->Handle());
    w->SetPosition(poDesigned);
    w->SetBounds(mainRect.left + 30, mainRect.top + 30, w->GetWidth(), w->GetHeight());
    RECT before;
    GetClientRect(w->Handle(), &before);
    w->Show();
    SetForegroundWindow(w->Handle());
    ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(w->Handle()); }));
    ExpectSkinnedGeometry(w->Handle(), form->SkinData1, c.Name);
    RECT after;
    GetClientRect(w->Handle(), &after);
    EXPECT_EQ(after.right, before.right) << "no control moves";
    EXPECT_EQ(after.bottom, before.bottom);
    Shoot(w, c.Picture);
    TSkinnerForm* f = SkinnerOf(w->Handle());
    if (std::string(c.Name) == "MP3 editor") {
      SetForegroundWindow(form->Handle());
      EXPECT_TRUE(PumpMessagesUntil([&] { return !f->Active; }, 10000));
      // In front of the main window again, still inactive.
      SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      EXPECT_FALSE(f->Active);
      Shoot(w, "skinned_mp3_editor_inactive.bmp");
    }
    if (std::string(c.Name) == "sizeable form") {
      ShowWindow(w->Handle(), SW_MAXIMIZE);
      ASSERT_TRUE(PumpMessagesUntil([&] { return f->ShowState == ssMaximizedWindow; }, 10000));
      ExpectSkinnedGeometry(w->Handle(), form->SkinData1, "sizeable form maximized");
      Shoot(w, "skinned_sizeable_form_maximized.bmp");
    }
    w->Free();
  }
}

TEST_F(SkinnedWindows, AMessageBoxWearsTheSkinnedFrame) {
  form = new TfrmMain(Application);
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(form->Handle()); }));
  bool shown = false;
  etk::TModalScript script({[&] {
    HWND box = GetActiveWindow();
    TControl* control = FindControl(box);
    auto* dialog = dynamic_cast<TForm*>(control);
    if (!dialog) return;
    shown = PumpMessagesUntil([&] { return SkinnedAndFinished(box); }, 10000);
    ExpectSkinnedGeometry(box, form->SkinData1, "message box");
    Shoot(dialog, "skinned_message_box.bmp");
    PostMessageA(box, WM_CLOSE, 0, 0);
  }});
  SetPrompter(nullptr);
  CustomMessageDlg("The file already exists. Replace it?", "Question", mtConfirmation, {"Replace", "Keep"},
                   Buttons({mbYes, mbNo}));
  EXPECT_TRUE(shown);
}

TEST_F(SkinnedWindows, TheMainWindowKeepsItsShapeWhenMinimizedAndRestored) {
  form = new TfrmMain(Application);
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(PumpMessagesUntil([&] { return SkinnedAndFinished(form->Handle()); }));
  const HWND h = form->Handle();
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, shape), ERROR);
  struct TWay {
    const char* Name;
    std::function<void()> Away, Back;
  };
  const TWay ways[] = {
      {"minimized", [&] { ShowWindow(h, SW_MINIMIZE); }, [&] { ShowWindow(h, SW_RESTORE); }},
      {"to the tray", [&] { form->SendToTray(form); }, [&] { form->TrayIconDblClick(form); }},
      {"the application minimized", [] { Application->Minimize(); }, [] { Application->Restore(); }},
  };
  for (const TWay& way : ways) {
    way.Away();
    PumpMessagesUntil([] { return true; });
    way.Back();
    PumpMessagesUntil([] { return true; });
    SendMessageA(h, WM_SIZE, SIZE_RESTORED, 0);  // a restored window's size notice, whatever the system sent
    HRGN now = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(h, now), ERROR) << way.Name;
    EXPECT_TRUE(EqualRgn(now, shape)) << way.Name << ": the shape is the picture's";
    DeleteObject(now);
  }
  DeleteObject(shape);
}
}  // namespace
