#include "MP3_ProfileWnd.h"

#include "EditorTexts.h"

ORV_DEFINE_CLASS(TfrmMp3Profile, TfrmProfileEditor, nullptr, {})

TfrmMp3Profile::TfrmMp3Profile(TComponent* owner) : TfrmProfileEditor(owner, ofMp3, IDS_PROFILE_LABEL_MP3) {
  TimeControl = AddGroup<TTimeControlGroup>();
  AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Mp3}));
  AudioMp3 = AddGroup<TAudioPageGroup>(AudioPageMp3());
  InitLayout();
}
