// The control skinners on the program's own windows: which skinner every control of every window gets
// from the main window's skin data, that the skinned windows carry exactly those, and pictures of the
// settings window, the MP3 editor's General and Audio tabs, the progress window and a message box
// (left in the build folder).
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "AboutWnd.h"
#include "AppTestKit.h"
#include "ProgramWindowTest.h"
#include "EnterValueWnd.h"
#include "FcRadChk.h"
#include "FileInfoWnd.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "NameWnd.h"
#include "ProfileEditors.h"
#include "ProgressWnd.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SettingsWnd.h"
#include "ShutdownWnd.h"
#include "SkinManage.h"
#include "SkinnerCheck.h"
#include "SkinnerControl.h"
#include "SkinnerData.h"
#include "SkinnerDispatch.h"
#include "SkinnerForm.h"
#include "TempDir.h"
#include "profiles.h"

namespace {

using namespace apptest;

// The skinner of each control class the program's windows hold ("" keeps its own look). A class
// missing here fails the test, so a new kind of control needs a decision.
const std::map<std::string, std::string>& ExpectedByClass() {
  static const std::map<std::string, std::string> m = {
      {"TButton", "TSkinButton"},        {"TCheckBox", "TSkinCheckBox"},    {"TRadioButton", "TSkinRadioButton"},
      {"TGroupBox", "TSkinGroupBox"},    {"TRadioGroup", "TSkinGroupBox"},  {"TPanel", "TSkinBox"},
      {"TskImagePanel", "TSkinBox"},     {"TFcRadioButton", "TSkinObjImage"}, {"TPageControl", "TSkinTab"},
      {"TTabSheet", "TSkinTabSheet"},    {"TComboBox", "TSkinComBox"},      {"TEdit", "TSkinEdit"},
      {"TFcEdit", "TSkinEdit"},          {"TFcSpinEdit", "TSkinEdit"},      {"TMemo", "TSkinScrollbar"},
      {"TListView", "TSkinListView"},    {"TTrackBar", "TSkinTrackBar"},    {"TLabel", ""},
      {"TOrvLabel", ""},                 {"TOrvButton", ""},                {"TBevel", ""},
      {"TImage", ""},                    {"TAnimate", ""},                  {"TFcProgressBar", ""},
      {"TLayeredLabel", ""},             {"TLayeredButton", ""},            {"TskImageButton", ""},
      {"TFcSpinButtons", ""},            {"TPaintBox", ""},                 {"TFcControlButton", ""},
      {"TskSkinForm", ""},
  };
  return m;
}

void AllControls(TControl* c, std::vector<TControl*>& out) {
  out.push_back(c);
  if (auto* w = As<TWinControl>(c))
    for (TControl* child : w->ControlList()) AllControls(child, out);
}

std::vector<TControl*> ControlsOf(TWinControl* form) {
  std::vector<TControl*> all;
  for (TControl* child : form->ControlList()) AllControls(child, all);
  return all;
}

struct TWindowCase {
  const char* Name;
  std::function<TForm*()> Make;
};

std::vector<TWindowCase> ProgramWindows() {
  std::vector<TWindowCase> w = {
      {"TfrmSettings", [] { return new TfrmSettings(Application); }},
      {"TfrmProgress", [] { return new TfrmProgress(Application); }},
      {"TfrmFileInfo", [] { return new TfrmFileInfo(Application); }},
      {"TfrmShutdown", [] { return new TfrmShutdown(Application); }},
      {"TfrmName", [] { return new TfrmName(Application); }},
      {"TfrmEnterValue", [] { return new TfrmEnterValue(Application); }},
      {"TfrmAbout", [] { return new TfrmAbout(Application); }},
  };
  for (int f = ofAVI; f <= ofWav; ++f)
    w.push_back({"editor", [f] { return static_cast<TForm*>(ProfileEditorFactory(TOutputFormat(f))(Application)); }});
  return w;
}

class SkinnedControls : public ProgramWindowTest {
protected:
  TSkinData* Data() { return main->SkinData1; }

  // Every control's planned skinner is the one of its class.
  void ExpectPlannedByClass(TWinControl* form) {
    for (TControl* c : ControlsOf(form)) {
      const auto it = ExpectedByClass().find(c->ClassName());
      if (it == ExpectedByClass().end()) {
        ADD_FAILURE() << form->ClassName() << "." << c->GetName() << ": no expectation for " << c->ClassName();
        continue;
      }
      if (c->GetTag() == Data()->GetDisableTag()) {
        EXPECT_EQ(PlannedSkinner(Data(), c), "") << c->GetName();
        continue;
      }
      EXPECT_EQ(PlannedSkinner(Data(), c), it->second) << form->ClassName() << "." << c->GetName();
    }
  }
  // A shown, skinned window carries the planned skinner of every control whose skinner exists.
  void ExpectAttachedAsPlanned(TWinControl* form) {
    TSkinnerForm* fs = SkinManager->FindForm(form->Handle());
    ASSERT_NE(fs, nullptr);
    for (TControl* c : ControlsOf(form)) {
      const std::string planned = PlannedSkinner(Data(), c);
      TSkinControl* attached = nullptr;
      for (TSkinControl* s : fs->ControlSkinners())
        if (s->Control == c) attached = s;
      const std::string got = attached ? attached->ClassName() : "";
      auto* windowed = As<TWinControl>(c);
      if (windowed && windowed->WindowDeferred())  // hidden, no window yet: skinned when first shown
        EXPECT_EQ(got, "") << form->ClassName() << "." << c->GetName();
      else if (TControlDispatch::Rule(planned.c_str()).Make)
        EXPECT_EQ(got, planned) << form->ClassName() << "." << c->GetName();
      else
        EXPECT_EQ(got, "") << form->ClassName() << "." << c->GetName();
    }
  }
  void Shot(HWND h, const std::string& name) { SaveScreenshot(h, std::string(ORV_BUILD_DIR) + name); }
};

TEST_F(SkinnedControls, EveryControlOfEveryWindowGetsTheSkinnerOfItsClass) {
  ExpectPlannedByClass(main);
  for (const TWindowCase& w : ProgramWindows()) {
    SCOPED_TRACE(w.Name);
    TForm* f = w.Make();
    ExpectPlannedByClass(f);
    f->Free();
  }
}

TEST_F(SkinnedControls, TheSkinnedWindowsCarryThePlannedSkinners) {
  ShowSkinned(main);
  ExpectAttachedAsPlanned(main);
  Shot(main->Handle(), "skinned_controls_main.bmp");
  const RECT mr = [&] {
    RECT r;
    GetWindowRect(main->Handle(), &r);
    return r;
  }();

  auto* settings = new TfrmSettings(Application);
  settings->SetPosition(poDesigned);
  settings->SetBounds(mr.left + 40, mr.top + 40, settings->GetWidth(), settings->GetHeight());
  ShowSkinned(settings);
  ExpectAttachedAsPlanned(settings);
  Shot(settings->Handle(), "skinned_controls_settings.bmp");
  settings->Free();

  auto* editor = static_cast<TfrmProfileEditor*>(ProfileEditorFactory(ofMp3)(Application));
  editor->SetPosition(poDesigned);
  editor->SetBounds(mr.left + 40, mr.top + 40, editor->GetWidth(), editor->GetHeight());
  editor->LoadSettings();
  ShowSkinned(editor);
  ExpectAttachedAsPlanned(editor);
  auto* pages = As<TPageControl>(editor->FindComponent("PageControlOptions"));
  ASSERT_NE(pages, nullptr);
  pages->SetActivePage(As<TTabSheet>(editor->FindComponent("TabSheetGeneral")));
  PumpMessagesUntil([] { return true; });
  Shot(editor->Handle(), "skinned_controls_mp3_general.bmp");
  pages->SetActivePage(As<TTabSheet>(editor->FindComponent("TabSheetAudio")));
  RedrawWindow(editor->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessagesUntil([] { return true; });
  Shot(editor->Handle(), "skinned_controls_mp3_audio.bmp");
  editor->Free();

  auto* progress = new TfrmProgress(Application);
  progress->SetPosition(poDesigned);
  progress->SetBounds(mr.left + 40, mr.top + 40, progress->GetWidth(), progress->GetHeight());
  ShowSkinned(progress);
  ExpectAttachedAsPlanned(progress);
  Shot(progress->Handle(), "skinned_controls_progress.bmp");
  progress->Free();
}

// The format radio buttons take a glyph strip built from the skin's radio image, the media panel the
// face colour; unskinning gives both back what they had.
TEST_F(SkinnedControls, MainWindowGlyphsAndImagePanelComeAndGoWithTheSkin) {
  TFcRadioButton* avi = main->FormatRadio(ofAVI);
  ASSERT_NE(avi, nullptr);
  const TColor panelColour = main->pnlMediaInfo->GetColor();
  const bool panelParentBackground = main->pnlMediaInfo->GetParentBackground();
  const std::string glyphsBefore = GetPropText(avi, "UseCustomGlyphs");
  ShowSkinned(main);
  TDataSkinButton* b = Data()->Buttons;
  const int cell = b->RadioBitmap->GetWidth() / b->RadioFrameCount;
  EXPECT_EQ(GetPropText(avi, "UseCustomGlyphs"), "True");
  EXPECT_EQ(avi->GetCustomGlyphs()->GetWidth(), 6 * cell) << "six cells";
  EXPECT_EQ(avi->GetCustomGlyphs()->GetHeight(), b->RadioBitmap->GetHeight());
  EXPECT_EQ(avi->GetTransparentColor(), TColor(0xFF00FF));
  // Cell 1 (checked) is the skin's checked frame, cell 0 the unchecked one.
  auto same = [&](int cellIndex, int frame) {
    for (int y = 0; y < b->RadioBitmap->GetHeight(); ++y)
      for (int x = 0; x < cell; ++x)
        if (avi->GetCustomGlyphs()->Canvas()->GetPixel(cellIndex * cell + x, y) !=
            b->RadioBitmap->Canvas()->GetPixel((frame - 1) * cell + x, y))
          return false;
    return true;
  };
  EXPECT_TRUE(same(0, CheckStateFrame(b->RadioFrameCount, 1)));
  EXPECT_TRUE(same(1, CheckStateFrame(b->RadioFrameCount, 2)));
  EXPECT_EQ(main->pnlMediaInfo->GetColor(), Data()->ButtonFace);
  EXPECT_FALSE(main->pnlMediaInfo->GetParentBackground());

  Data()->SetActive(false);
  ASSERT_TRUE(PumpMessagesUntil([&] { return SkinManager->Forms.empty(); }));
  EXPECT_EQ(GetPropText(avi, "UseCustomGlyphs"), "False");
  EXPECT_EQ(glyphsBefore, "False");
  EXPECT_EQ(main->pnlMediaInfo->GetColor(), panelColour);
  EXPECT_EQ(main->pnlMediaInfo->GetParentBackground(), panelParentBackground);
}

// A message box of the system: its buttons are skinned by window class, and a click on one reaches the
// box's own procedure.
TEST_F(SkinnedControls, AMessageBoxIsSkinnedAndItsButtonsStillAnswer) {
  ShowSkinned(main);
  LRESULT buttonSkinned = -1;
  WhileModal([&] {
    HWND box = GetActiveWindow();
    PumpMessagesUntil([&] { return SkinnedAndFinished(box); }, 5000);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    PumpMessagesUntil([] { return true; });
    SaveScreenshot(box, std::string(ORV_BUILD_DIR) + "skinned_controls_message_box.bmp");
    HWND no = GetDlgItem(box, IDNO);
    buttonSkinned = SendMessageA(no, SM_ISSKINNED, 0, 0);
    SendMessageA(no, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(no, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  });
  EXPECT_EQ(MessageBoxA(main->Handle(), "Overwrite the existing file?", "Question", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(buttonSkinned, 1);
}

}  // namespace
