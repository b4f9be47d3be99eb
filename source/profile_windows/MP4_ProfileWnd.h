// TfrmMp4Profile: the editor of the MP4 format's profiles (MP4Settings). The device type on top of the
// General tab (Apple iPod, Sony PSP, Mobile Movie, Mp4) chooses the audio page: the PSP's AAC page with
// its one sample rate for Sony PSP, the ordinary AAC page for every other type. The video codec list
// offers H.264 only; the DivX and XviD pages are loaded and saved but never shown. The size lists hold
// small device sizes, some named after the device types.
#pragma once

#include "VideoProfileEditor.h"

// The device type (Format): a list in its own group box; a change shows the matching audio page.
class TMp4FormatGroup : public TEditorGroup {
public:
  explicit TMp4FormatGroup(TfrmProfileEditor* form) : FForm(form) {}
  static constexpr int SonyPsp = 1;

  TGroupBox* GroupBoxFormats = nullptr;
  TComboBox* ComboBoxMp4Format = nullptr;

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;

private:
  TfrmProfileEditor* FForm;
};

// The audio codec list of the MP4 window: it holds the one codec, and the device type picks the page.
class TMp4AudioChoiceGroup : public TCodecChoiceGroup {
public:
  TMp4AudioChoiceGroup(TCodecChoice choice, const TMp4FormatGroup& format)
      : TCodecChoiceGroup(std::move(choice)), FFormat(format) {}
  void UpdateCodecPages() override;

private:
  const TMp4FormatGroup& FFormat;
};

class TfrmMp4Profile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmMp4Profile)
public:
  explicit TfrmMp4Profile(TComponent* owner);
  static const TVideoEditorSpec& Spec();
  // The texts of the size lists' items before "...", in the order of Spec().Sizes.
  static std::vector<std::string> SizeItems();

  TMp4FormatGroup* Mp4Format = nullptr;

  void ApplyLanguage() override;
};
