// TfrmRMProfile: the editor of the RM format's profiles (RmSettings): one video codec, Real Video (page
// suffix Rm10), whose size list stops at 720x576, and one audio codec, AC3 (with the six-channel rule).
#pragma once

#include "VideoProfileEditor.h"

class TfrmRMProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmRMProfile)
public:
  explicit TfrmRMProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
};
