// TfrmAc3Profile: the editor of the AC3 format's profiles (Ac3Settings): the frame, the time control
// group, the codec list with its one item and the AC3 audio page, whose third channel choice (5.1)
// fixes the sample rate at 48000 Hz and narrows the bit rate to 112..448 kbit/s.
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"

class TfrmAc3Profile : public TfrmProfileEditor {
  ORV_CLASS(TfrmAc3Profile)
public:
  explicit TfrmAc3Profile(TComponent* owner);

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* AudioCodec;
  TAudioPageGroup* AudioAC3;
};
