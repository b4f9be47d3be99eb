// TfrmSwfProfile: the editor of the SWF format's profiles (SwfSettings): one video codec, Flash video,
// over its own 11-entry preset table, and one audio codec, MP3, at 11025, 22050 or 44100 Hz.
#pragma once

#include "VideoProfileEditor.h"

class TfrmSwfProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmSwfProfile)
public:
  explicit TfrmSwfProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
};
