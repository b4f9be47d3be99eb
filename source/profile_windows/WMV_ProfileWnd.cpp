#include "WMV_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmWmvProfile, TfrmVideoProfileEditor, nullptr, {})

const TVideoEditorSpec& TfrmWmvProfile::Spec() {
  static const TVideoEditorSpec spec = {
      {
          {"Msmpeg4", "MsMPEG4", &IDS_PROFILE_PAGECONTROL_Mpeg4, &WmvVideoBitRatesMsMPEG4, 12},
          {"MsMpeg4v2", "MsMPEG4v2", &IDS_PROFILE_PAGECONTROL_Mpeg4v2, &WmvVideoBitRatesMsMPEG4v2, 12},
          {"Wmv7", "Wmv7", &IDS_PROFILE_GROUPBOX_WMV7, &WmvVideoBitRatesWmv7, 12},
          {"Wmv8", "Wmv8", &IDS_PROFILE_GROUPBOX_WMV8, &WmvVideoBitRatesWmv8, 12},
      },
      {"Msmpeg4", "MsMpeg4v2", "Wmv7", "Wmv8"},
      {&IDS_PROFILE_PAGECONTROL_Mpeg4, &IDS_PROFILE_PAGECONTROL_Mpeg4v2, &IDS_PROFILE_GROUPBOX_WMV7,
       &IDS_PROFILE_GROUPBOX_WMV8},
      StandardVideoSizes(),
      {AudioPageMp3()},
      {&IDS_PROFILE_PAGECONTROL_Mp3},
  };
  return spec;
}

TfrmWmvProfile::TfrmWmvProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofWmv, IDS_PROFILE_LABEL_WMV) {
  AddVideoEditorGroups(Spec());
  InitLayout();
}
