#include "AC3_ProfileWnd.h"

#include "EditorTexts.h"

ORV_DEFINE_CLASS(TfrmAc3Profile, TfrmProfileEditor, nullptr, {})

// One text names the format in the caption, the codec in the list and the page header.
TfrmAc3Profile::TfrmAc3Profile(TComponent* owner) : TfrmProfileEditor(owner, ofAc3, IDS_PROFILE_PAGECONTROL_Ac3) {
  TimeControl = AddGroup<TTimeControlGroup>();
  AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Ac3}));
  AudioAC3 = AddGroup<TAudioPageGroup>(AudioPageAC3());
  InitLayout();
}
