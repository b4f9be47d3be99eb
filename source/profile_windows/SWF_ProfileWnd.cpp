#include "SWF_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmSwfProfile, TfrmVideoProfileEditor, nullptr, {})

const TVideoEditorSpec& TfrmSwfProfile::Spec() {
  static const TVideoEditorSpec spec = {
      {{"Flv", "Flv", &IDS_PROFILE_PAGECONTROL_Flv, &SwfVideoBitRatesFlv, 11}},
      {"Flv"},
      {&IDS_PROFILE_PAGECONTROL_Flv},
      StandardVideoSizes(),
      {AudioPageMp3Swf()},
      {&IDS_PROFILE_PAGECONTROL_Mp3},
      {},
      &StandardFrameRates(),
      {vgTimeControl, vgSameQuality, vgVideoCodec, vgAudioCodec, vgDisableAudio},  // the record's order
  };
  return spec;
}

TfrmSwfProfile::TfrmSwfProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofSwf, IDS_PROFILE_LABEL_SWF) {
  AddVideoEditorGroups(Spec());
  InitLayout();
}
