#include "WAV_ProfileWnd.h"

#include "EditorTexts.h"

ORV_DEFINE_CLASS(TfrmWavProfile, TfrmProfileEditor, nullptr, {})

TfrmWavProfile::TfrmWavProfile(TComponent* owner) : TfrmProfileEditor(owner, ofWav, IDS_PROFILE_LABEL_WAV) {
  TimeControl = AddGroup<TTimeControlGroup>();
  AudioCodec = AddGroup<TCodecChoiceGroup>(
      AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Pcm16Little, &IDS_PROFILE_PAGECONTROL_PcmU8}));
  AudioPcm16le = AddGroup<TAudioPageGroup>(AudioPagePcm("Pcm16le", "Pcm16le", IDS_PROFILE_PAGECONTROL_Pcm16Little));
  AudioPcmu8 = AddGroup<TAudioPageGroup>(AudioPagePcm("Pcmu8", "Pcmu8", IDS_PROFILE_PAGECONTROL_PcmU8));
  InitLayout();
}
