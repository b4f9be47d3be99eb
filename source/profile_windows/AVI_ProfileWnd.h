// TfrmAVIProfile: the editor of the AVI format's profiles (AVISettings). Fourteen video codec pages, of
// which the codec list reaches the first eleven (MPEG-1, MPEG-2 and DV are loaded and saved only), and
// five audio pages. The window opens on its Audio tab.
#pragma once

#include <vector>

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoSizeGroup.h"

class TfrmAVIProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmAVIProfile)
public:
  explicit TfrmAVIProfile(TComponent* owner);

  // The video pages in page order (the codec list's index is the page index), with their record keys.
  static const std::vector<TVideoPage>& VideoPages();

  TTimeControlGroup* TimeControl;
  TCodecChoiceGroup* VideoCodec;
  TCheckBoxFieldGroup* SameQuality;
  TCodecChoiceGroup* AudioCodec;
  TDisableAudioGroup* DisableAudio;
  std::vector<TVideoPageGroup*> Video;  // in page order
  TAudioPageGroup *AudioAC3, *AudioMp2, *AudioMp3, *AudioPcm16le, *AudioPcmu8;

  // The page group of a control suffix ("DivX", "H263"), or null.
  TVideoPageGroup* VideoPage(const std::string& suffix) const;
};
