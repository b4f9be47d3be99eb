// The time control group's rules, driven through the MP3 editor's group: what leaving each edit does
// to the three texts, the end shown on load, and enabling by the check box.
#include "TimeControlGroup.h"

#include <gtest/gtest.h>

#include "EditorTexts.h"
#include "MP3_ProfileWnd.h"
#include "Settings.h"

namespace {

enum TEditKind { Start, End, Duration };

class TimeControl : public ::testing::Test {
protected:
  TfrmMp3Profile* form = nullptr;
  TTimeControlGroup* g = nullptr;
  void SetUp() override {
    ResetEditorTexts();
    ResetMp3Settings();
    form = new TfrmMp3Profile(Application);
    g = form->TimeControl;
  }
  void TearDown() override { form->Free(); }
  TFcEdit* Edit(TEditKind k) { return k == Start ? g->EditStartTime : k == End ? g->EditEndTime : g->EditDuration; }
  // The user enters the edit, replaces its text and leaves it.
  void Type(TEditKind k, const std::string& text) {
    void (TTimeControlGroup::*enter)() = k == Start ? &TTimeControlGroup::EditStartTimeEnter
                                         : k == End ? &TTimeControlGroup::EditEndTimeEnter
                                                    : &TTimeControlGroup::EditDurationEnter;
    void (TTimeControlGroup::*leave)() = k == Start ? &TTimeControlGroup::EditStartTimeExit
                                         : k == End ? &TTimeControlGroup::EditEndTimeExit
                                                    : &TTimeControlGroup::EditDurationExit;
    (g->*enter)();
    Edit(k)->SetText(text);
    (g->*leave)();
  }
};

}  // namespace

TEST_F(TimeControl, LeavingAnEditTable) {
  struct TCase {
    TEditKind Edit;
    const char* Typed;
    const char *Start, *End, *Duration;  // afterwards
  };
  // Every case starts from start 0:00:10.000, end 0:01:00.000, duration 0:00:50.000.
  const TCase cases[] = {
      {Start, "0:02:00", "0:02:00.000", "0:02:00.000", "0:00:00.000"},      // at or after the end: end moves
      {Start, "0:00:20", "0:00:20.000", "0:01:00.000", "0:00:40.000"},
      {Start, "1:00", "0:01:00.000", "0:01:00.000", "0:00:00.000"},
      {Start, "0", "0:00:00.000", "0:01:00.000", "0:01:00.000"},
      {Start, "200:00:00", "200:00:00.000", "200:00:00.000", "0:00:00.000"},
      {Start, "200:00:00.001", "0:00:10.000", "0:01:00.000", "0:00:50.000"},  // over the limit: restored
      {Start, "1:2:3:4", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {Start, "0:00: 20", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {Start, "-5", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {Start, "", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {End, "0:00:09.999", "0:00:10.000", "0:01:00.000", "0:00:50.000"},    // before the start: restored
      {End, "0:00:10", "0:00:10.000", "0:00:10.000", "0:00:00.000"},        // equal: accepted
      {End, "2:00", "0:00:10.000", "0:02:00.000", "0:01:50.000"},
      {End, "300:00:00", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {End, "1:2:3:4", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {End, "", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {Duration, "90", "0:00:10.000", "0:01:40.000", "0:01:30.000"},
      {Duration, "1.5", "0:00:10.000", "0:00:11.005", "0:00:01.005"},       // digits after the dot: ms
      {Duration, "1:00", "0:00:10.000", "0:01:10.000", "0:01:00.000"},
      {Duration, "200:00:00", "0:00:10.000", "200:00:10.000", "200:00:00.000"},  // the end is not limited
      {Duration, "200:00:00.001", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {Duration, "a b", "0:00:10.000", "0:01:00.000", "0:00:50.000"},
      {Duration, "0", "0:00:10.000", "0:00:10.000", "0:00:00.000"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("typed '") + c.Typed + "' into edit " + std::to_string(c.Edit));
    g->EditStartTime->SetText("0:00:10.000");
    g->EditEndTime->SetText("0:01:00.000");
    g->EditDuration->SetText("0:00:50.000");
    Type(c.Edit, c.Typed);
    EXPECT_EQ(g->EditStartTime->GetText(), c.Start);
    EXPECT_EQ(g->EditEndTime->GetText(), c.End);
    EXPECT_EQ(g->EditDuration->GetText(), c.Duration);
  }
}

// A restored text is the one the edit had when it got the focus, not the one before the last check.
TEST_F(TimeControl, RestoresTheTextFromWhenTheEditWasEntered) {
  g->EditStartTime->SetText("0:00:00.000");
  g->EditEndTime->SetText("0:01:00.000");
  g->EditDuration->SetText("0:01:00.000");
  Type(Duration, "30");
  EXPECT_EQ(g->EditDuration->GetText(), "0:00:30.000");
  Type(Duration, "x");
  EXPECT_EQ(g->EditDuration->GetText(), "0:00:30.000");
  EXPECT_EQ(g->EditEndTime->GetText(), "0:00:30.000");
}

// An end that is no time (a hand-edited profile) against a start that is none either is refused too.
TEST_F(TimeControl, AnEndThatIsNoTimeIsRefusedWhateverTheStart) {
  g->EditStartTime->SetText("abc");
  g->EditEndTime->SetText("0:00:01.000");
  g->EditDuration->SetText("0:00:01.000");
  Type(End, "xyz");
  EXPECT_EQ(g->EditEndTime->GetText(), "0:00:01.000");
  EXPECT_EQ(g->EditDuration->GetText(), "0:00:01.000");
}

TEST_F(TimeControl, LoadShowsTheStoredTextsAndTheComputedEnd) {
  struct TCase {
    const char *Start, *Duration, *End;
  };
  const TCase cases[] = {{"0:00:05", "1:00", "0:01:05.000"},
                         {"0:00:00.000", "0:00:00.000", "0:00:00.000"},
                         {"200:00:00.000", "200:00:00.000", "400:00:00.000"},
                         {"1.5", "2", "0:00:03.005"}};
  for (const TCase& c : cases) {
    Mp3Settings.StartTime = c.Start;
    Mp3Settings.Duration = c.Duration;
    form->LoadSettings();
    EXPECT_EQ(g->EditStartTime->GetText(), c.Start);
    EXPECT_EQ(g->EditDuration->GetText(), c.Duration);
    EXPECT_EQ(g->EditEndTime->GetText(), c.End);
  }
}

TEST_F(TimeControl, TheCheckBoxEnablesTheRowsAndTheTextsAreSavedEitherWay) {
  Mp3Settings.EnableTimeControl = true;
  Mp3Settings.StartTime = "0:00:05.000";
  Mp3Settings.Duration = "0:00:07.000";
  form->LoadSettings();
  form->FormShow(form);
  const std::initializer_list<TControl*> rows = {g->LabelTimeLabel, g->LabelStartTime, g->EditStartTime,
                                                 g->LabelEndTime, g->EditEndTime, g->LabelDuration, g->EditDuration};
  for (TControl* c : rows) EXPECT_TRUE(c->GetEnabled()) << c->GetName();
  g->CheckBoxEnableTimeControl->SetChecked(false);  // runs its click binding
  for (TControl* c : rows) EXPECT_FALSE(c->GetEnabled()) << c->GetName();
  EXPECT_TRUE(g->GroupBoxTimeControl->GetEnabled());
  EXPECT_TRUE(g->CheckBoxEnableTimeControl->GetEnabled());
  ResetMp3Settings();
  form->SaveSettings();
  EXPECT_FALSE(Mp3Settings.EnableTimeControl);
  EXPECT_EQ(Mp3Settings.StartTime, "0:00:05.000");
  EXPECT_EQ(Mp3Settings.Duration, "0:00:07.000");
}

TEST_F(TimeControl, CaptionsComeFromTheLanguageTexts) {
  form->Free();
  IDS_PROFILE_GROUPBOX_TimeControl = "Zeit";
  IDS_PROFILE_LABEL_HrMn = "h:m:s";
  form = new TfrmMp3Profile(Application);
  g = form->TimeControl;
  EXPECT_EQ(g->GroupBoxTimeControl->GetCaption(), "Zeit");
  EXPECT_EQ(g->LabelTimeLabel->GetCaption(), "h:m:s");
  EXPECT_EQ(g->LabelStartTime->GetCaption(), "Start Time:");
}
