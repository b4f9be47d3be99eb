// TfrmRMProfile: the editor of the RM format's profiles (RmSettings): one video codec, Real Video (page
// suffix Rm10), whose size list stops at 720x576, and one audio codec, AC3 (with the six-channel rule).
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoSizeGroup.h"

class TfrmRMProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmRMProfile)
public:
  explicit TfrmRMProfile(TComponent* owner);
  static const TVideoPage& VideoPage();

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* VideoCodec;
  TCheckBoxFieldGroup* SameQuality;
  TCodecChoiceGroup* AudioCodec;
  TDisableAudioGroup* DisableAudio;
  TVideoPageGroup* VideoRm10;
  TAudioPageGroup* AudioAC3;
};
