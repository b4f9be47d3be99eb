// The time control group of every editor window: Enable Time Control, the start, end and duration edits.
// Each edit is checked when it loses the focus: a text that is no time or lies outside 0..200 hours
// silently gets back the text the edit had when it got the focus; a good one is rewritten as
// "h:mm:ss.zzz" and the dependent field follows (start or end -> duration, duration -> end). The end time
// is not stored: it shows start + duration.
#pragma once

#include "FcEdit.h"
#include "ProfileEditor.h"

// Handlers are named after the controls: EditStartTimeEnter, CheckBoxEnableTimeControlClick ...
class TTimeControlGroup : public TEditorGroup {
public:
  TGroupBox* GroupBoxTimeControl = nullptr;
  TCheckBox* CheckBoxEnableTimeControl = nullptr;
  TLabel *LabelStartTime = nullptr, *LabelEndTime = nullptr, *LabelDuration = nullptr, *LabelTimeLabel = nullptr;
  TFcEdit *EditStartTime = nullptr, *EditEndTime = nullptr, *EditDuration = nullptr;

  // The texts the edits held when they last got the focus.
  std::string SavedStartTime, SavedEndTime, SavedDuration;

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override { UpdateTimeControls(); }

  void UpdateTimeControls();
  void UpdateDuration();
  void UpdateEndTime();
  void EditStartTimeEnter();
  void EditStartTimeExit();
  void EditEndTimeEnter();
  void EditEndTimeExit();
  void EditDurationEnter();
  void EditDurationExit();
};
