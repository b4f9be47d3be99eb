#include "AMR_ProfileWnd.h"

#include "EditorTexts.h"

ORV_DEFINE_CLASS(TfrmAmrProfile, TfrmProfileEditor, nullptr, {})

TfrmAmrProfile::TfrmAmrProfile(TComponent* owner) : TfrmProfileEditor(owner, ofAmr, IDS_PROFILE_LABEL_AMR) {
  TimeControl = AddGroup<TTimeControlGroup>();
  AudioCodec = AddGroup<TCodecChoiceGroup>(
      AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_AmrBand, &IDS_PROFILE_PAGECONTROL_AmrWide}));
  AudioArmnb = AddGroup<TAudioPageGroup>(AudioPageArmnb());
  AudioArmwb = AddGroup<TAudioPageGroup>(AudioPageArmwb());
  InitLayout();
}
