// TfrmVobProfile: the editor of the VOB format's profiles (VobSettings): one video codec, MPEG-2, whose
// frame-rate list starts at 19.98, and two audio codecs, MP2 and AC3 (with the six-channel rule).
#pragma once

#include "VideoProfileEditor.h"

class TfrmVobProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmVobProfile)
public:
  explicit TfrmVobProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
};
