#include "RM_ProfileWnd.h"

#include <utility>

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmRMProfile, TfrmProfileEditor, nullptr, {})

const TVideoPage& TfrmRMProfile::VideoPage() {
  static const TVideoPage page = {"Rm10", "Rm10", &IDS_PROFILE_GROUPBOX_RealVideo, &VideoBitRatesRm10, 13};
  return page;
}

TfrmRMProfile::TfrmRMProfile(TComponent* owner) : TfrmProfileEditor(owner, ofRm, IDS_PROFILE_LABEL_RM) {
  TimeControl = AddGroup<TTimeControlGroup>();
  VideoCodec = AddGroup<TCodecChoiceGroup>(VideoCodecChoice({&IDS_PROFILE_GROUPBOX_RealVideo}));
  SameQuality = AddGroup<TCheckBoxFieldGroup>(SameQualityField());
  AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Ac3}));
  DisableAudio = AddGroup<TDisableAudioGroup>();
  VideoRm10 = AddGroup<TVideoPageGroup>(VideoPage(), VideoSizesWithoutHD(), StandardFrameRates());
  AudioAC3 = AddGroup<TAudioPageGroup>(AudioPageAC3());
  InitLayout();
  // This window names its unit labels the other way round: LabelKbpsRm10 follows the preset value and
  // LabelKbps2Rm10 the specified one (the layout places them so); the group enables each with its value.
  std::swap(VideoRm10->Bitrate.LabelKbps, VideoRm10->Bitrate.LabelKbps2);
  VideoRm10->Bitrate.UpdateBitrateMode();
}
