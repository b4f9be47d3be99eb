// TfrmWavProfile: the editor of the WAV format's profiles (WavSettings): the frame, the time control
// group, the codec list (16-bit little-endian, unsigned 8-bit PCM) and one page per codec with the
// channels and the sample rate only. Uncompressed audio has no bit rate, so the window has no slider.
#pragma once

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"

class TfrmWavProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmWavProfile)
public:
  explicit TfrmWavProfile(TComponent* owner);

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* AudioCodec;
  TAudioPageGroup* AudioPcm16le;
  TAudioPageGroup* AudioPcmu8;
};
