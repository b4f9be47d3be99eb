#include "VOB_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmVobProfile, TfrmProfileEditor, nullptr, {})

const TVideoPage& TfrmVobProfile::VideoPage() {
  static const TVideoPage page = {"Mpeg2", "MPEG2", &IDS_PROFILE_PAGECONTROL_Mpeg2, &VideoBitRatesMPEG2, 13};
  return page;
}

TfrmVobProfile::TfrmVobProfile(TComponent* owner) : TfrmProfileEditor(owner, ofVob, IDS_PROFILE_LABEL_VOB) {
  TimeControl = AddGroup<TTimeControlGroup>();
  VideoCodec = AddGroup<TCodecChoiceGroup>(VideoCodecChoice({&IDS_PROFILE_PAGECONTROL_Mpeg2}));
  SameQuality = AddGroup<TCheckBoxFieldGroup>(SameQualityField());
  AudioCodec = AddGroup<TCodecChoiceGroup>(
      AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Mp2, &IDS_PROFILE_PAGECONTROL_Ac3}));
  DisableAudio = AddGroup<TDisableAudioGroup>();
  VideoMpeg2 = AddGroup<TVideoPageGroup>(VideoPage(), StandardVideoSizes(), VobFrameRates());
  // The record holds the AC3 block before the MP2 block.
  AudioAC3 = AddGroup<TAudioPageGroup>(AudioPageAC3());
  AudioMp2 = AddGroup<TAudioPageGroup>(AudioPageMp2());
  InitLayout();
}
