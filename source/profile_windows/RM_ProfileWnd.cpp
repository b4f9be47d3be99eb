#include "RM_ProfileWnd.h"

#include <utility>

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmRMProfile, TfrmVideoProfileEditor, nullptr, {})

const TVideoEditorSpec& TfrmRMProfile::Spec() {
  static const TVideoEditorSpec spec = {
      {{"Rm10", "Rm10", &IDS_PROFILE_GROUPBOX_RealVideo, &VideoBitRatesRm10, 13}},
      {"Rm10"},
      {&IDS_PROFILE_GROUPBOX_RealVideo},
      VideoSizesWithoutHD(),
      {AudioPageAC3()},
      {&IDS_PROFILE_PAGECONTROL_Ac3},
  };
  return spec;
}

TfrmRMProfile::TfrmRMProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofRm, IDS_PROFILE_LABEL_RM) {
  AddVideoEditorGroups(Spec());
  InitLayout();
  // This window names its unit labels the other way round: LabelKbpsRm10 follows the preset value and
  // LabelKbps2Rm10 the specified one (the layout places them so); the group enables each with its value.
  TVideoBitrateGroup& bitrate = Video.front()->Bitrate;
  std::swap(bitrate.LabelKbps, bitrate.LabelKbps2);
  bitrate.UpdateBitrateMode();
}
