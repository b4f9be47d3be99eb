// TfrmVobProfile: the editor of the VOB format's profiles (VobSettings): one video codec, MPEG-2, whose
// frame-rate list starts at 19.98, and two audio codecs, MP2 and AC3 (with the six-channel rule).
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoSizeGroup.h"

class TfrmVobProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmVobProfile)
public:
  explicit TfrmVobProfile(TComponent* owner);
  static const TVideoPage& VideoPage();

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* VideoCodec;
  TCheckBoxFieldGroup* SameQuality;
  TCodecChoiceGroup* AudioCodec;
  TDisableAudioGroup* DisableAudio;
  TVideoPageGroup* VideoMpeg2;
  TAudioPageGroup *AudioAC3, *AudioMp2;
};
