// TfrmMPEGProfile: the editor of the MPEG format's profiles (MPEGSettings). Two video codecs (MPEG-1,
// MPEG-2), each with its own audio codec list in one of two stacked groups, and a "Preset Formats" group
// that names a standard disc target (VCD, SVCD, DVD) instead of codec settings; the DVD target has a tab
// of its own. Disable audio is part of the preset rule here (UpdatePresetFormats).
#pragma once

#include <vector>

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoBitrateGroup.h"
#include "VideoSizeGroup.h"

// The DVD tab's video bit rate: the bit-rate group with the DVD names (RadioButtonDVDVideoPresert ...) and
// the keys DVDVideoBitRate*. Its "kbps" label beside the preset value stays enabled in both modes.
class TDVDVideoBitrateGroup : public TVideoBitrateGroup {
public:
  TDVDVideoBitrateGroup();
  void UpdateBitrateMode() override;
};

class TfrmMPEGProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmMPEGProfile)
public:
  explicit TfrmMPEGProfile(TComponent* owner);

  // The size list of the video pages, in list order ("..." follows as the last item).
  struct TSizeItem {
    TVideoSize Size;
    const char* Text;
  };
  static const std::vector<TSizeItem>& SizeItems();

  // General tab
  TGroupBox* GroupBoxPresetFormats = nullptr;
  TCheckBox* CheckBoxUsePressetFormat = nullptr;
  TRadioGroup *RadioGroupPresetType = nullptr, *RadioGroupPresetTargetFormat = nullptr;
  TGroupBox* GroupBoxVideoCode = nullptr;
  TComboBox* ComboBoxVideoCodec = nullptr;
  TGroupBox *GroupBoxAudioCodecMpeg1 = nullptr, *GroupBoxAudioCodecMpeg2 = nullptr;
  TComboBox *ComboBoxAudioCodecMpeg1 = nullptr, *ComboBoxAudioCodecMpeg2 = nullptr;
  TTabSheet *TabSheetVideo = nullptr, *TabSheetDVD = nullptr;
  TPageControl *PageControlVCodec = nullptr, *PageControlACodec = nullptr;
  // DVD tab (the video bit rate is DVDBitrate)
  TGroupBox* GroupBoxDVDAspect = nullptr;
  TRadioButton *RadioButtonDVDAutoSetAspect = nullptr, *RadioButtonDVDChangeAspect = nullptr;
  TComboBox* ComboBoxDVDVideoAspect = nullptr;
  TGroupBox* GroupBoxDVDAudioBitrate = nullptr;
  TCheckBox* CheckBoxDVDAutoSetAudioBitrate = nullptr;
  TLabel *LabelDVDCurrentAudioBitrate = nullptr, *LabelDVDAudioBitrate = nullptr, *LabelDVDAudioSmall = nullptr,
         *LabelDVDAudioLarge = nullptr;
  TTrackBar* TrackBarDVDAudioBitrate = nullptr;

  TTimeControlGroup* TimeControl;
  TCheckBoxFieldGroup* SameQuality;
  TCheckBoxFieldGroup* DisableAudio;
  TVideoPageGroup *VideoMpeg1, *VideoMpeg2;
  TAudioPageGroup *AudioAC3, *AudioMp2, *AudioMp3;
  TDVDVideoBitrateGroup* DVDBitrate;

  void LoadSettings() override;
  void SaveSettings() override;
  void FormShow(TObject* Sender) override;
  void ApplyLanguage() override;

  void UpdatePresetFormats();
  void UpdateAudioCodecGroup();
  void UpdateCodecPages();
  void UpdateDVDAspect();
  void TrackBarDVDAudioBitrateChange();

protected:
  void DeclareLayout(TLayoutBinder& b) override;
};
