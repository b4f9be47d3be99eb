// TfrmWmvProfile: the editor of the WMV format's profiles (WmvSettings): four video codec pages
// (MS-MPEG4, MS-MPEG4v2, WMV7, WMV8) over the 12-entry WMV tables and the MP3 audio page. The Disable
// audio check box has no click binding here: its rule is applied when the window is shown.
#pragma once

#include "VideoProfileEditor.h"

class TfrmWmvProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmWmvProfile)
public:
  explicit TfrmWmvProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
};
