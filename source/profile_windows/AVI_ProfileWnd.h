// TfrmAVIProfile: the editor of the AVI format's profiles (AVISettings). Fourteen video codec pages, of
// which the codec list reaches the first eleven (MPEG-1, MPEG-2 and DV are loaded and saved only), and
// five audio pages. The window opens on its Audio tab.
#pragma once

#include "VideoProfileEditor.h"

class TfrmAVIProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmAVIProfile)
public:
  explicit TfrmAVIProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
};
