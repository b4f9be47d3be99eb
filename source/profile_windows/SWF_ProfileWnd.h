// TfrmSwfProfile: the editor of the SWF format's profiles (SwfSettings): one video codec, Flash video,
// over its own 11-entry preset table, and one audio codec, MP3, at 11025, 22050 or 44100 Hz.
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoSizeGroup.h"

class TfrmSwfProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmSwfProfile)
public:
  explicit TfrmSwfProfile(TComponent* owner);
  static const TVideoPage& VideoPage();

  TTimeControlGroup* TimeControl;
  TCheckBoxFieldGroup* SameQuality;
  TCodecChoiceGroup* VideoCodec;
  TCodecChoiceGroup* AudioCodec;
  TDisableAudioGroup* DisableAudio;
  TVideoPageGroup* VideoFlv;
  TAudioPageGroup* AudioMp3;
};
