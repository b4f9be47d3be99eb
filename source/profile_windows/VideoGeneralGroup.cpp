#include "VideoGeneralGroup.h"

#include "EditorTexts.h"

void TSameQualityGroup::DeclareLayout(TLayoutBinder& b) {
  b.Field("GroupBoxSameQuality", GroupBoxSameQuality);
  b.Field("CheckBoxSameQuality", CheckBoxSameQuality);
  b.Field("GroupBoxVideoCode", GroupBoxVideoCode);
}

void TSameQualityGroup::ApplyLanguage() {
  GroupBoxVideoCode->SetCaption(IDS_PROFILE_GROUPBOX_VideoCodec);
  GroupBoxSameQuality->SetCaption(IDS_PROFILE_GROUPBOX_SameQuality);
  CheckBoxSameQuality->SetCaption(IDS_PROFILE_CHECKBOX_UseName);
}

void TSameQualityGroup::LoadSettings(TProfileRecord& r) { CheckBoxSameQuality->SetChecked(r.Bool("VideoSameQuality")); }

void TSameQualityGroup::SaveSettings(TProfileRecord& r) {
  r.SetBool("VideoSameQuality", CheckBoxSameQuality->GetChecked());
}

void TDisableAudioGroup::DeclareLayout(TLayoutBinder& b) {
  b.Field("GroupBoxDisableAudio", GroupBoxDisableAudio);
  b.Field("CheckBoxDisableAudio", CheckBoxDisableAudio);
  b.Field("GroupBoxAudioCodec", GroupBoxAudioCodec);
  b.Field("ComboBoxAudioCodec", ComboBoxAudioCodec);
  b.Field("TabSheetVideo", TabSheetVideo);
  b.Field("TabSheetAudio", TabSheetAudio);
  b.Handle<TNotifyEvent>("CheckBoxDisableAudioClick", [this](TObject*) { UpdateAudioEnabled(); });
}

void TDisableAudioGroup::ApplyLanguage() {
  GroupBoxDisableAudio->SetCaption(IDS_PROFILE_GROUPBOX_DisableAudio);
  CheckBoxDisableAudio->SetCaption(IDS_PROFILE_CHECKBOX_DisableAudio);
  TabSheetVideo->SetCaption(IDS_PROFILE_PAGECONTROL_Video);
}

void TDisableAudioGroup::LoadSettings(TProfileRecord& r) { CheckBoxDisableAudio->SetChecked(r.Bool("AudioDisableAudio")); }

void TDisableAudioGroup::SaveSettings(TProfileRecord& r) {
  r.SetBool("AudioDisableAudio", CheckBoxDisableAudio->GetChecked());
}

void TDisableAudioGroup::UpdateAudioEnabled() {
  if (!CheckBoxDisableAudio || !TabSheetAudio || !ComboBoxAudioCodec || !GroupBoxAudioCodec) return;
  const bool enabled = !CheckBoxDisableAudio->GetChecked();
  GroupBoxAudioCodec->SetEnabled(enabled);
  ComboBoxAudioCodec->SetEnabled(enabled);
  TabSheetAudio->SetTabVisible(enabled);
}
