#include "VOB_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmVobProfile, TfrmVideoProfileEditor, nullptr, {})

const TVideoEditorSpec& TfrmVobProfile::Spec() {
  static const TVideoEditorSpec spec = {
      {{"Mpeg2", "MPEG2", &IDS_PROFILE_PAGECONTROL_Mpeg2, &VideoBitRatesMPEG2, 13}},
      {"Mpeg2"},
      {&IDS_PROFILE_PAGECONTROL_Mpeg2},
      StandardVideoSizes(),
      {AudioPageMp2(), AudioPageAC3()},
      {&IDS_PROFILE_PAGECONTROL_Mp2, &IDS_PROFILE_PAGECONTROL_Ac3},
      {"AC3", "Mp2"},  // the record holds the AC3 block before the MP2 block
      &VobFrameRates(),
  };
  return spec;
}

TfrmVobProfile::TfrmVobProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofVob, IDS_PROFILE_LABEL_VOB) {
  AddVideoEditorGroups(Spec());
  InitLayout();
}
