// TfrmMovProfile: the editor of the MOV format's profiles (MovSettings): five video codec pages (Sorenson,
// DivX, XviD, H.263 with its fixed sizes, H.264) and five audio pages (AAC, A-law, AMR narrow band with
// mono at 8000 Hz only, PCM 16-bit little- and big-endian).
#pragma once

#include "VideoProfileEditor.h"

class TfrmMovProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmMovProfile)
public:
  explicit TfrmMovProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
};
