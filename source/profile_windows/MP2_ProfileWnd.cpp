#include "MP2_ProfileWnd.h"

#include "EditorTexts.h"

ORV_DEFINE_CLASS(TfrmMp2Profile, TfrmProfileEditor, nullptr, {})

// The codec list names the format ("MP2"); the page header names the codec ("Mp2").
TfrmMp2Profile::TfrmMp2Profile(TComponent* owner) : TfrmProfileEditor(owner, ofMp2, IDS_PROFILE_LABEL_MP2) {
  TimeControl = AddGroup<TTimeControlGroup>();
  AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_LABEL_MP2}));
  AudioMp2 = AddGroup<TAudioPageGroup>(AudioPageMp2());
  InitLayout();
}
