// The settings window: one page control with its General page holding the three options; the options
// go in and come back out through the lists' indexes (none selected stores 255), and a picture of it.
#include <gtest/gtest.h>
#include <windows.h>

#include "Graphics.h"
#include "MultiLanguages.h"
#include "SettingsWnd.h"
#include "globals.h"

namespace {

class SettingsWindow : public ::testing::Test {
protected:
  void SetUp() override {
    ResetLanguageTexts();
    Saved = Options;
  }
  void TearDown() override { Options = Saved; }
  TOptions Saved;
};

TEST_F(SettingsWindow, OnePageControlPageHoldsTheOptions) {
  auto* f = new TfrmSettings(Application);
  f->Show();
  Application->ProcessMessages();
  TPageControl* pc = f->PageControlOptions;
  ASSERT_EQ(pc->PageCount(), 1);
  EXPECT_EQ(pc->GetActivePage(), f->TabSheetGeneral);
  EXPECT_EQ(SendMessageA(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(f->TabSheetGeneral->GetCaption(), "General");
  for (TWinControl* c : std::vector<TWinControl*>{f->GroupBoxPriority, f->ComboBoxPriority, f->GroupBoxDirectShow,
                                                  f->CheckBoxDirectShow, f->ComboBoxShutdownFlag}) {
    ASSERT_TRUE(c->HandleAllocated()) << c->GetName();
    EXPECT_TRUE(IsWindowVisible(c->Handle())) << c->GetName();
    // Inside the page, clear of its edges.
    RECT r, page;
    GetWindowRect(c->Handle(), &r);
    GetWindowRect(f->TabSheetGeneral->Handle(), &page);
    EXPECT_GE(r.left, page.left) << c->GetName();
    EXPECT_LE(r.right, page.right) << c->GetName();
    EXPECT_LE(r.bottom, page.bottom) << c->GetName();
  }
  RECT wr;
  GetWindowRect(f->Handle(), &wr);
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(wr.right - wr.left, wr.bottom - wr.top);
  f->Update();
  HDC sdc = GetDC(nullptr);
  BitBlt(shot.Canvas()->GetHandle(), 0, 0, shot.GetWidth(), shot.GetHeight(), sdc, wr.left, wr.top, SRCCOPY);
  ReleaseDC(nullptr, sdc);
  shot.SaveToFile(std::string(ORV_BUILD_DIR) + "settings_window.bmp");
  // Inside the group boxes, away from their controls, the page's face colour shows.
  for (TWinControl* g : std::vector<TWinControl*>{f->GroupBoxPriority, f->GroupBoxDirectShow}) {
    RECT r;
    GetWindowRect(g->Handle(), &r);
    TColor c = shot.Canvas()->GetPixel(r.right - 12 - wr.left, (r.top + r.bottom) / 2 - wr.top) & 0xFFFFFF;
    EXPECT_EQ(c, TColor(GetSysColor(COLOR_BTNFACE))) << g->GetName();
  }
  f->Free();
}

TEST_F(SettingsWindow, OptionsInAndOut) {
  struct TCase {
    int Priority, ShutdownFlag;
    bool DirectShow;
    int ShownPriority, ShownFlag;  // the lists' indexes
    int SavedPriority, SavedFlag;
  };
  const TCase cases[] = {
      {3, 4, true, 3, 4, 3, 4},
      {0, 0, false, 0, 0, 0, 0},
      {7, 5, false, -1, 5, 255, 5},
      {255, 6, true, -1, -1, 255, 255},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Priority) + "/" + std::to_string(c.ShutdownFlag));
    Options.Priority = uint8_t(c.Priority);
    Options.ShutdownFlag = uint8_t(c.ShutdownFlag);
    Options.UseDirectShow = c.DirectShow;
    auto* f = new TfrmSettings(Application);
    f->LoadFromOptions();
    EXPECT_EQ(f->ComboBoxPriority->GetItemIndex(), c.ShownPriority);
    EXPECT_EQ(f->ComboBoxShutdownFlag->GetItemIndex(), c.ShownFlag);
    EXPECT_EQ(f->CheckBoxDirectShow->GetChecked(), c.DirectShow);
    Options.Priority = Options.ShutdownFlag = 1;
    Options.UseDirectShow = !c.DirectShow;
    f->SaveToOptions();
    EXPECT_EQ(Options.Priority, c.SavedPriority);
    EXPECT_EQ(Options.ShutdownFlag, c.SavedFlag);
    EXPECT_EQ(Options.UseDirectShow, c.DirectShow);
    f->Free();
  }
}

}  // namespace
