// One codec page of an editor window's Audio tab: channels, sample rate and, for compressed codecs, the
// bit rate, either left to the encoder (Auto set audio bitrate) or chosen with a slider over the codec's
// preset table. The slider's usable range follows the sample rate; on AC3 pages six channels cover the
// sample-rate list with a fixed 48000 and narrow the slider to 112..448 kbit/s.
//
// The page's controls carry the page's suffix (ComboBoxSampleRateMp3 ...); its record fields the codec's
// key suffix: AudioBitRateUseAutoSet<A>, AudioBitRatePreset<A>, AudioSampleRate<A>, AudioChannels<A>.
#pragma once

#include <utility>
#include <vector>

#include "ProfileEditor.h"
#include "Settings.h"

// What differs between the audio pages.
struct TAudioPage {
  std::string Suffix;                 // of the control names: "Mp3", "AACMp4"
  std::string FieldSuffix;            // of the record keys: "Mp3", "AACMP4"
  const std::string* CodecName;       // language text in the page header
  const TBitRateTable* BitRates;      // null: a page without bit-rate group (PCM, A-law)
  std::vector<std::pair<int, int>> Ranges;  // slider Min..Max by sample-rate index; empty: no rule
  std::vector<const std::string*> Channels; // items of the channels list
  bool SixChannels = false;           // the AC3 page's six-channel rule
};

// The pages as the windows use them; `suffix` is the control suffix where a window names it otherwise.
TAudioPage AudioPageMp3(const std::string& suffix = "Mp3");
TAudioPage AudioPageMp3Swf();  // 11025, 22050, 44100 Hz
TAudioPage AudioPageMp2(const std::string& suffix = "Mp2");
TAudioPage AudioPageAC3(const std::string& suffix = "AC3");
TAudioPage AudioPageAACMp4(const std::string& suffix = "AACMp4");
TAudioPage AudioPageAACPsp(const std::string& suffix = "AACPsp");
TAudioPage AudioPageArmnb(const std::string& suffix = "Armnb");
TAudioPage AudioPageArmwb(const std::string& suffix = "Armwb");
// A page without bit rate: field suffix as the record names it ("Pcm16le", "Alaw").
TAudioPage AudioPagePcm(const std::string& suffix, const std::string& fieldSuffix, const std::string& codecName);

class TAudioPageGroup : public TEditorGroup {
public:
  explicit TAudioPageGroup(TAudioPage page);

  TLabel* Header = nullptr;
  TBevel* Line = nullptr;
  TGroupBox *GroupBoxChannels = nullptr, *GroupBoxSampleRate = nullptr, *GroupBoxAudioBitrate = nullptr;
  TComboBox *ComboBoxAudioChannels = nullptr, *ComboBoxSampleRate = nullptr;
  TCheckBox* CheckBoxAutoSetAudioBitrate = nullptr;
  TBevel* Bevel = nullptr;
  TLabel *LabelCurrentAudioBitrate = nullptr, *LabelAudioBitrate = nullptr, *labKbps = nullptr,
         *LabelAudioSmall = nullptr, *LabelAudioLarge = nullptr;
  TTrackBar* TrackBarAudioBitrate = nullptr;
  TGroupBox* GroupBoxSampleRate6Channels = nullptr;  // AC3 pages

  const TAudioPage& Page() const { return FPage; }
  bool HasBitrate() const { return FPage.BitRates != nullptr; }

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void FormCreate() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override;

  void UpdateAutoAudioBitrate();
  void TrackBarAudioBitrateChange();
  void UpdateAudioBitrateRange();
  void UpdateAC3Channels();

private:
  std::string Key(const char* base) const { return base + FPage.FieldSuffix; }
  TAudioPage FPage;
};
