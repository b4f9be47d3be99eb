// A specified video bit rate entered through the real value window, as the program wires it: the AVI
// editor shown modally, Configure opening the value-entry window with the page's table bounds, a number
// out of bounds refused with the range message, a good one taken, Cancel keeping the label, then Save.
#include <gtest/gtest.h>
#include <windows.h>

#include "AVI_ProfileWnd.h"
#include "AppUtils.h"
#include "EditorTexts.h"
#include "EnterValueWnd.h"
#include "ModalScript.h"
#include "MultiLanguages.h"
#include "Prompter.h"
#include "Settings.h"
#include "Strings.h"

namespace {

// Clicks a button the way the system reports a click to its parent, without waiting for what it opens.
void PostClick(TButton* b) {
  HWND h = b->Handle();
  PostMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), LPARAM(h));
}

TfrmEnterValue* ActiveValueWindow() { return dynamic_cast<TfrmEnterValue*>(FindControl(GetActiveWindow())); }

}  // namespace

TEST(VideoBitrateDialog, ConfigureAsksTheValueWindowThenSave) {
  TRecordingPrompter prompter;
  TPrompter* old = SetPrompter(&prompter);
  SetEditorInputInteger(&InputIntegerDialog);  // as the main window installs it
  ResetAVISettings();
  AVISettings.VideoBitRateUsePresertXviD = false;
  AVISettings.VideoBitRateSpecifyXviD = 0;
  AVISettings.VideoCodec = 1;
  auto* form = new TfrmAVIProfile(Application);
  form->LoadSettings();
  TVideoBitrateGroup& g = form->VideoPage("XviD")->Bitrate;
  std::string valueCaption, valuePrompt;
  std::vector<std::string> labels;
  etk::TModalScript script({
      [&] { PostClick(g.ButtonVideoBitrateConfigure); },
      [&] {
        TfrmEnterValue* w = ActiveValueWindow();
        ASSERT_NE(w, nullptr);
        valueCaption = w->GetCaption();
        valuePrompt = w->lblDisplayMessage->GetCaption();
        w->txtValue->SetCaption("10000");
        w->btnOK->Click();  // refused: beyond the table's last entry
      },
      [&] {
        TfrmEnterValue* w = ActiveValueWindow();
        ASSERT_NE(w, nullptr) << "the value window stays open";
        w->txtValue->SetCaption("500");
        w->btnOK->Click();
      },
      [&] {
        labels.push_back(g.LabelBitrateSpecify->GetCaption());
        PostClick(g.ButtonVideoBitrateConfigure);
      },
      [&] {
        TfrmEnterValue* w = ActiveValueWindow();
        ASSERT_NE(w, nullptr);
        w->txtValue->SetCaption("700");
        PostMessageA(w->Handle(), WM_CLOSE, 0, 0);  // the close box cancels
      },
      [&] {
        labels.push_back(g.LabelBitrateSpecify->GetCaption());
        form->btnSave->Click();
      },
  });
  const int result = form->ShowModal();
  EXPECT_EQ(script.StepsRun(), 6u);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(valueCaption, IDS_ENTER_VIDEOBITRATE_TITLE);
  EXPECT_EQ(valuePrompt, IDS_ENTER_VIDEOBITRATE);
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  EXPECT_EQ(prompter.Prompts[0].Text, Format(IDS_INVAILD_VALUE_BETWEEN, {64, 9600}));
  EXPECT_EQ(labels, (std::vector<std::string>{"500", "500"}));
  form->SaveSettings();
  EXPECT_EQ(AVISettings.VideoBitRateSpecifyXviD, 500);
  EXPECT_FALSE(AVISettings.VideoBitRateUsePresertXviD);
  form->Free();
  SetEditorInputInteger(nullptr);
  SetPrompter(old);
}
