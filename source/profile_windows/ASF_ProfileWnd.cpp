#include "ASF_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmAsfProfile, TfrmVideoProfileEditor, nullptr, {})

const TVideoEditorSpec& TfrmAsfProfile::Spec() {
  static const TVideoEditorSpec spec = {
      {
          {"Msmpeg4", "MsMPEG4", &IDS_PROFILE_PAGECONTROL_Mpeg4, &WmvVideoBitRatesMsMPEG4, 12},
          {"MsMpeg4v2", "MsMPEG4v2", &IDS_PROFILE_PAGECONTROL_Mpeg4v2, &WmvVideoBitRatesMsMPEG4v2, 12},
      },
      {"Msmpeg4", "MsMpeg4v2"},
      {&IDS_PROFILE_PAGECONTROL_Mpeg4, &IDS_PROFILE_PAGECONTROL_Mpeg4v2},
      StandardVideoSizes(),
      {AudioPageMp3()},
      {&IDS_PROFILE_PAGECONTROL_Mp3},
  };
  return spec;
}

TfrmAsfProfile::TfrmAsfProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofAsf, IDS_PROFILE_LABEL_ASF) {
  AddVideoEditorGroups(Spec());
  InitLayout();
}
