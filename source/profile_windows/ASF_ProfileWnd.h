// TfrmAsfProfile: the editor of the ASF format's profiles (AsfSettings): two video codec pages
// (MS-MPEG4, MS-MPEG4v2) over the 12-entry WMV tables and the MP3 audio page.
#pragma once

#include "VideoProfileEditor.h"

class TfrmAsfProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmAsfProfile)
public:
  explicit TfrmAsfProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
};
