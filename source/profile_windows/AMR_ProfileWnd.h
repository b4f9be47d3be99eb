// TfrmAmrProfile: the editor of the AMR format's profiles (AmrSettings): the frame, the time control
// group, the codec list (narrow band, wide band) and one audio page per codec. Both pages load and save
// their fields whichever codec is chosen; choosing a codec shows its page at once.
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"

class TfrmAmrProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmAmrProfile)
public:
  explicit TfrmAmrProfile(TComponent* owner);

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* AudioCodec;
  TAudioPageGroup* AudioArmnb;
  TAudioPageGroup* AudioArmwb;
};
