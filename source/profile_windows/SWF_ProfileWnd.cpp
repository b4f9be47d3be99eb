#include "SWF_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmSwfProfile, TfrmProfileEditor, nullptr, {})

const TVideoPage& TfrmSwfProfile::VideoPage() {
  static const TVideoPage page = {"Flv", "Flv", &IDS_PROFILE_PAGECONTROL_Flv, &SwfVideoBitRatesFlv, 11};
  return page;
}

TfrmSwfProfile::TfrmSwfProfile(TComponent* owner) : TfrmProfileEditor(owner, ofSwf, IDS_PROFILE_LABEL_SWF) {
  TimeControl = AddGroup<TTimeControlGroup>();
  SameQuality = AddGroup<TCheckBoxFieldGroup>(SameQualityField());
  VideoCodec = AddGroup<TCodecChoiceGroup>(VideoCodecChoice({&IDS_PROFILE_PAGECONTROL_Flv}));
  AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Mp3}));
  DisableAudio = AddGroup<TDisableAudioGroup>();
  VideoFlv = AddGroup<TVideoPageGroup>(VideoPage(), StandardVideoSizes(), StandardFrameRates());
  AudioMp3 = AddGroup<TAudioPageGroup>(AudioPageMp3Swf());
  InitLayout();
}
