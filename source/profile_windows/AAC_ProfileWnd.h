// TfrmAacProfile: the editor of the AAC format's profiles (AacSettings): the frame, the time control
// group, the codec list with its one item and the AAC audio page. The window names its controls with
// short kind prefixes (txtDescription, chkEnableTimeControl, cmbAudioCodec, grpChannelsAACMp4 ...);
// it behaves like the other audio windows.
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"

class TfrmAacProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmAacProfile)
public:
  explicit TfrmAacProfile(TComponent* owner);

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* AudioCodec;
  TAudioPageGroup* AudioAACMp4;
};
