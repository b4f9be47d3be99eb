#include "AAC_ProfileWnd.h"

#include "EditorTexts.h"

ORV_DEFINE_CLASS(TfrmAacProfile, TfrmProfileEditor, nullptr, {})

namespace {

TProfileFrameNames AacFrameNames() {
  TProfileFrameNames n;
  n.labDescription = "lblDescription";
  n.EditDescription = "txtDescription";
  n.PageControlOptions = "pageOptions";
  n.TabSheetGeneral = "tabGeneral";
  return n;
}

TTimeControlNames AacTimeControlNames() {
  TTimeControlNames n;
  n.GroupBox = "grpTimeControl";
  n.CheckBox = "chkEnableTimeControl";
  n.LabelStart = "lblStartTime";
  n.EditStart = "txtStartTime";
  n.LabelEnd = "lblEndTime";
  n.EditEnd = "txtEndTime";
  n.LabelDuration = "lblDuration";
  n.EditDuration = "txtDuration";
  n.LabelTime = "lblTime";
  n.EditPrefix = "txt";
  return n;
}

TCodecChoice AacCodecChoice() {
  TCodecChoice c = AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Aac});
  c.ListName = "cmbAudioCodec";
  c.PageControlName = "pageAudioCodec";
  c.GroupBoxName = "grpAudioCodec";
  return c;
}

TAudioPage AacPage() {
  TAudioPage p = AudioPageAACMp4();
  p.Names = ShortAudioPageNames();
  return p;
}

}  // namespace

TfrmAacProfile::TfrmAacProfile(TComponent* owner)
    : TfrmProfileEditor(owner, ofAac, IDS_PROFILE_LABEL_AAC, AacFrameNames()) {
  TimeControl = AddGroup<TTimeControlGroup>(AacTimeControlNames());
  AudioCodec = AddGroup<TCodecChoiceGroup>(AacCodecChoice());
  AudioAACMp4 = AddGroup<TAudioPageGroup>(AacPage());
  InitLayout();
}
