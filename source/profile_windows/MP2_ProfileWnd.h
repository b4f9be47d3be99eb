// TfrmMp2Profile: the editor of the MP2 format's profiles (Mp2Settings): the frame, the time control
// group, the codec list with its one item and the MP2 audio page.
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"

class TfrmMp2Profile : public TfrmProfileEditor {
  ORV_CLASS(TfrmMp2Profile)
public:
  explicit TfrmMp2Profile(TComponent* owner);

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* AudioCodec;
  TAudioPageGroup* AudioMp2;
};
