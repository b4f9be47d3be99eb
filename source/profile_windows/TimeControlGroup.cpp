#include "TimeControlGroup.h"

#include "EditorTexts.h"
#include "TimeText.h"

namespace {
int64_t Parse(TFcEdit* e) { return TimeTextToMilliseconds(e->GetText()); }
bool InRange(int64_t v) { return v >= 0 && v <= MaxProfileTimeMilliseconds; }
}  // namespace

void TTimeControlGroup::DeclareLayout(TLayoutBinder& b) {
  Field(b, "GroupBoxTimeControl", GroupBoxTimeControl);
  Field(b, "CheckBoxEnableTimeControl", CheckBoxEnableTimeControl);
  Field(b, "LabelStartTime", LabelStartTime);
  Field(b, "EditStartTime", EditStartTime);
  Field(b, "LabelEndTime", LabelEndTime);
  Field(b, "EditEndTime", EditEndTime);
  Field(b, "LabelDuration", LabelDuration);
  Field(b, "EditDuration", EditDuration);
  Field(b, "LabelTimeLabel", LabelTimeLabel);
  Handler(b, "EditStartTime", "Enter", this, &TTimeControlGroup::EditStartTimeEnter);
  Handler(b, "EditStartTime", "Exit", this, &TTimeControlGroup::EditStartTimeExit);
  Handler(b, "EditEndTime", "Enter", this, &TTimeControlGroup::EditEndTimeEnter);
  Handler(b, "EditEndTime", "Exit", this, &TTimeControlGroup::EditEndTimeExit);
  Handler(b, "EditDuration", "Enter", this, &TTimeControlGroup::EditDurationEnter);
  Handler(b, "EditDuration", "Exit", this, &TTimeControlGroup::EditDurationExit);
  Handler(b, "CheckBoxEnableTimeControl", "Click", this, &TTimeControlGroup::UpdateTimeControls);
}

void TTimeControlGroup::ApplyLanguage() {
  GroupBoxTimeControl->SetCaption(IDS_PROFILE_GROUPBOX_TimeControl);
  CheckBoxEnableTimeControl->SetCaption(IDS_PROFILE_CHECKBOX_EnableTimeControl);
  LabelStartTime->SetCaption(IDS_PROFILE_LABEL_StartTime);
  LabelEndTime->SetCaption(IDS_PROFILE_LABEL_EndTime);
  LabelDuration->SetCaption(IDS_PROFILE_LABEL_Duration);
  LabelTimeLabel->SetCaption(IDS_PROFILE_LABEL_HrMn);
}

// The stored texts are shown as they are; only the end is computed.
void TTimeControlGroup::LoadSettings(TProfileRecord& r) {
  CheckBoxEnableTimeControl->SetChecked(r.Bool("EnableTimeControl"));
  EditDuration->SetText(r.Text("Duration"));
  EditStartTime->SetText(r.Text("StartTime"));
  UpdateEndTime();
}

void TTimeControlGroup::SaveSettings(TProfileRecord& r) {
  r.SetBool("EnableTimeControl", CheckBoxEnableTimeControl->GetChecked());
  r.SetText("Duration", EditDuration->GetText());
  r.SetText("StartTime", EditStartTime->GetText());
}

void TTimeControlGroup::UpdateTimeControls() {
  const bool on = CheckBoxEnableTimeControl->GetChecked();
  EnableControls({LabelTimeLabel, LabelStartTime, LabelDuration, EditStartTime, EditDuration, LabelEndTime, EditEndTime},
                 on);
}

void TTimeControlGroup::UpdateDuration() {
  EditDuration->SetText(MillisecondsToTimeText(Parse(EditEndTime) - Parse(EditStartTime)));
}

// Not limited: start and duration may each reach 200 hours.
void TTimeControlGroup::UpdateEndTime() {
  EditEndTime->SetText(MillisecondsToTimeText(Parse(EditStartTime) + Parse(EditDuration)));
}

void TTimeControlGroup::EditStartTimeEnter() { SavedStartTime = EditStartTime->GetText(); }
void TTimeControlGroup::EditEndTimeEnter() { SavedEndTime = EditEndTime->GetText(); }
void TTimeControlGroup::EditDurationEnter() { SavedDuration = EditDuration->GetText(); }

// A start at or after the end moves the end to it (an end that is no time counts as -1).
void TTimeControlGroup::EditStartTimeExit() {
  const int64_t s = Parse(EditStartTime);
  if (!InRange(s)) {
    EditStartTime->SetText(SavedStartTime);
    return;
  }
  const int64_t e = Parse(EditEndTime);
  EditStartTime->SetText(MillisecondsToTimeText(s));
  if (e <= s) EditEndTime->SetText(MillisecondsToTimeText(s));
  UpdateDuration();
}

void TTimeControlGroup::EditEndTimeExit() {
  const int64_t e = Parse(EditEndTime);
  const int64_t s = Parse(EditStartTime);
  if (e < s || !InRange(e)) {
    EditEndTime->SetText(SavedEndTime);
    return;
  }
  EditEndTime->SetText(MillisecondsToTimeText(e));
  UpdateDuration();
}

void TTimeControlGroup::EditDurationExit() {
  const int64_t d = Parse(EditDuration);
  if (!InRange(d)) {
    EditDuration->SetText(SavedDuration);
    return;
  }
  EditDuration->SetText(MillisecondsToTimeText(d));
  UpdateEndTime();
}
