#include "AAC_ProfileWnd.h"

#include "EditorTexts.h"

ORV_DEFINE_CLASS(TfrmAacProfile, TfrmProfileEditor, nullptr, {})

namespace {

// The window's layout writes the shared controls with short kind prefixes.
const TControlSpelling kAacSpelling = {
    {"labDescription", "lblDescription"},
    {"EditDescription", "txtDescription"},
    {"PageControlOptions", "pageOptions"},
    {"TabSheetGeneral", "tabGeneral"},
    // time control
    {"GroupBoxTimeControl", "grpTimeControl"},
    {"CheckBoxEnableTimeControl", "chkEnableTimeControl"},
    {"LabelStartTime", "lblStartTime"},
    {"EditStartTime", "txtStartTime"},
    {"LabelEndTime", "lblEndTime"},
    {"EditEndTime", "txtEndTime"},
    {"LabelDuration", "lblDuration"},
    {"EditDuration", "txtDuration"},
    {"LabelTimeLabel", "lblTime"},
    // codec choice
    {"GroupBoxAudioCodec", "grpAudioCodec"},
    {"ComboBoxAudioCodec", "cmbAudioCodec"},
    {"PageControlACodec", "pageAudioCodec"},
    // audio page (its lists, line, bevel and slider keep the standard names)
    {"lab", "lbl"},
    {"GroupBoxChannels", "grpChannels"},
    {"GroupBoxSampleRate", "grpSampleRate"},
    {"GroupBoxAudioBitrate", "grpAudioBitrate"},
    {"CheckBoxAutoSetAudioBitrate", "chkAutoSetAudioBitrate"},
    {"LabelCurrentAudioBitrate", "lblCurrentAudioBitrate"},
    {"LabelAudioBitrate", "lblAudioBitrate"},
    {"labKbps", "lblkbps"},
    {"LabelAudioSmall", "lblAudioSmall"},
    {"LabelAudioLarge", "lblAudioLarge"},
};

}  // namespace

TfrmAacProfile::TfrmAacProfile(TComponent* owner)
    : TfrmProfileEditor(owner, ofAac, IDS_PROFILE_LABEL_AAC, &kAacSpelling) {
  TimeControl = AddGroup<TTimeControlGroup>();
  AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Aac}));
  AudioAACMp4 = AddGroup<TAudioPageGroup>(AudioPageAACMp4());
  InitLayout();
}
