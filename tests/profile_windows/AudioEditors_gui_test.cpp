// The AAC, AC3, MP2, AMR and WAV editors shown modally, as the main window shows them: Close (button or
// close box) keeps the record whatever was edited; Save checks the time edit that has the focus first.
#include <gtest/gtest.h>

#include "AudioEditorKit.h"
#include "EditorTestKit.h"
#include "ProfileEditors.h"
#include "TimeControlGroup.h"

namespace {

const TOutputFormat kFormats[] = {ofAac, ofAc3, ofMp2, ofAmr, ofWav};

TTimeControlGroup* TimeGroup(TfrmProfileEditor* w) {
  for (const auto& g : w->Groups())
    if (auto* t = dynamic_cast<TTimeControlGroup*>(g.get())) return t;
  return nullptr;
}

class AudioEditorsShown : public ::testing::Test {
protected:
  TfrmProfileEditor* form = nullptr;
  void SetUp() override { ResetEditorTexts(); }
  void TearDown() override {
    if (form) form->Free();
  }
  int Run(TOutputFormat f, std::vector<std::function<void()>> steps) {
    form = ProfileEditorFactory(f)(Application);
    form->LoadSettings();
    etk::TModalScript script(std::move(steps));
    return form->ShowModal();
  }
  void Done() {
    form->Free();
    form = nullptr;
  }
};

}  // namespace

TEST_F(AudioEditorsShown, CloseLeavesTheRecordUnchangedEvenAfterEdits) {
  for (TOutputFormat f : kFormats) {
    SCOPED_TRACE(OutputFormatInfo(f).Name);
    for (bool closeBox : {false, true}) {
      OutputFormatInfo(f).Reset();
      aek::SetFields(f, {{"Description", "kept"}});
      const std::vector<std::string> before = aek::RecordTexts(f);
      int result = Run(f, {[&] {
                             form->EditDescription->SetText("changed");
                             TimeGroup(form)->CheckBoxEnableTimeControl->SetChecked(true);
                           },
                           [&] {
                             if (closeBox)
                               PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
                             else
                               form->btnClose->Click();
                           }});
      EXPECT_NE(result, mrOk);
      EXPECT_EQ(aek::RecordTexts(f), before);
      Done();
    }
  }
}

TEST_F(AudioEditorsShown, SaveWithLettersInTheStartTimeRestoresItsPreviousTextFirst) {
  for (TOutputFormat f : kFormats) {
    SCOPED_TRACE(OutputFormatInfo(f).Name);
    OutputFormatInfo(f).Reset();
    aek::SetFields(f, {{"EnableTimeControl", "1"}, {"StartTime", "0:00:10.000"}, {"Duration", "0:00:50.000"}});
    int result = Run(f, {[&] {
                           TimeGroup(form)->EditStartTime->SetFocus();
                           TimeGroup(form)->EditStartTime->SetText("abc");
                         },
                         [&] { form->btnSave->Click(); }});
    ASSERT_EQ(result, mrOk);
    form->SaveSettings();
    TSettingsFields& fields = aek::Fields(f);
    EXPECT_EQ(fields.Text(fields.IndexOf("StartTime")), "0:00:10.000");
    EXPECT_EQ(fields.Text(fields.IndexOf("Duration")), "0:00:50.000");
    Done();
  }
}
