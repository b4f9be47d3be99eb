// TfrmMp3Profile: the editor of the MP3 format's profiles (Mp3Settings): the frame, the time control
// group, the codec list with its one item and the MP3 audio page.
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"

class TfrmMp3Profile : public TfrmProfileEditor {
  ORV_CLASS(TfrmMp3Profile)
public:
  explicit TfrmMp3Profile(TComponent* owner);

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* AudioCodec;
  TAudioPageGroup* AudioMp3;
};
