// The General-tab groups every video editor window shares besides the codec lists and the time control:
// "Use same video quality as source" (VideoSameQuality, only loaded and saved) and "Disable Audio"
// (AudioDisableAudio), which disables the audio codec list and hides the Audio tab. The layout
// layouts/ProfileVideoGeneral.layout holds these groups with the video codec list.
#pragma once

#include "ProfileEditor.h"

class TSameQualityGroup : public TEditorGroup {
public:
  TGroupBox* GroupBoxSameQuality = nullptr;
  TCheckBox* CheckBoxSameQuality = nullptr;
  TGroupBox* GroupBoxVideoCode = nullptr;  // the video codec list's box, captioned here

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
};

class TDisableAudioGroup : public TEditorGroup {
public:
  TGroupBox* GroupBoxDisableAudio = nullptr;
  TCheckBox* CheckBoxDisableAudio = nullptr;
  TGroupBox* GroupBoxAudioCodec = nullptr;
  TComboBox* ComboBoxAudioCodec = nullptr;
  TTabSheet* TabSheetVideo = nullptr;
  TTabSheet* TabSheetAudio = nullptr;

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  // The record keeps the audio settings of a disabled track unchanged: only the check box is copied.
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override { UpdateAudioEnabled(); }

  // Checked: the audio codec box and list disabled and the Audio tab hidden; unchecked: all back.
  void UpdateAudioEnabled();
};
