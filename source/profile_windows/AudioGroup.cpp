#include "AudioGroup.h"

#include "EditorTexts.h"

namespace {

const std::vector<const std::string*> kMonoStereo = {&IDS_PROFILE_GROUPBOX_Channels_1, &IDS_PROFILE_GROUPBOX_Channels_2};

// Channel 2 of an AC3 page: 5.1 at 48000 Hz.
constexpr int kSixChannelsIndex = 2;
constexpr int kSixChannelsMin = 6, kSixChannelsMax = 14;
// Where a stored preset no table entry matches leaves the slider.
constexpr int kDefaultPosition = 4;

}  // namespace

TAudioPage AudioPageMp3(const std::string& suffix) {
  return {suffix, "Mp3", &IDS_PROFILE_PAGECONTROL_Mp3, &AudioBitRatesMp3, {{1, 8}, {1, 8}, {1, 12}, {1, 12}}, kMonoStereo};
}
TAudioPage AudioPageMp3Swf() {
  return {"Mp3", "Mp3", &IDS_PROFILE_PAGECONTROL_Mp3, &AudioBitRatesMp3, {{1, 8}, {1, 8}, {1, 12}}, kMonoStereo};
}
TAudioPage AudioPageMp2(const std::string& suffix) {
  return {suffix, "Mp2", &IDS_PROFILE_PAGECONTROL_Mp2, &AudioBitRatesMp2, {{1, 8}, {1, 8}, {1, 13}, {1, 13}}, kMonoStereo};
}
TAudioPage AudioPageAC3(const std::string& suffix) {
  TAudioPage p{suffix, "AC3", &IDS_PROFILE_PAGECONTROL_Ac3, &AudioBitRatesAC3, {{1, 12}, {1, 12}, {2, 14}, {2, 14}},
               {&IDS_PROFILE_GROUPBOX_Channels_1, &IDS_PROFILE_GROUPBOX_Channels_2, &IDS_PROFILE_GROUPBOX_Channels_6}};
  p.SixChannels = true;
  return p;
}
TAudioPage AudioPageAACMp4(const std::string& suffix) {
  return {suffix, "AACMP4", &IDS_PROFILE_PAGECONTROL_Aac, &AudioBitRatesAACMP4,
          {{1, 5}, {1, 5}, {1, 6}, {1, 8}, {1, 8}, {1, 10}, {1, 12}, {1, 12}}, kMonoStereo};
}
TAudioPage AudioPageAACPsp(const std::string& suffix) {
  return {suffix, "AACPsp", &IDS_PROFILE_PAGECONTROL_Aac, &AudioBitRatesAACPsp, {{1, 12}}, kMonoStereo};
}
TAudioPage AudioPageArmnb(const std::string& suffix) {
  return {suffix, "Armnb", &IDS_PROFILE_PAGECONTROL_AmrBand, &AudioBitRatesArmnb, {}, kMonoStereo};
}
TAudioPage AudioPageArmwb(const std::string& suffix) {
  return {suffix, "Armwb", &IDS_PROFILE_PAGECONTROL_AmrWide, &AudioBitRatesArmwb, {}, kMonoStereo};
}
TAudioPage AudioPagePcm(const std::string& suffix, const std::string& fieldSuffix, const std::string& codecName) {
  return {suffix, fieldSuffix, &codecName, nullptr, {}, kMonoStereo};
}

TAudioPageGroup::TAudioPageGroup(TAudioPage page) : TEditorGroup(page.Suffix), FPage(std::move(page)) {}

void TAudioPageGroup::DeclareLayout(TLayoutBinder& b) {
  Field(b, "lab", Header);
  Field(b, "Line", Line);
  Field(b, "GroupBoxChannels", GroupBoxChannels);
  Field(b, "ComboBoxAudioChannels", ComboBoxAudioChannels);
  Field(b, "GroupBoxSampleRate", GroupBoxSampleRate);
  Field(b, "ComboBoxSampleRate", ComboBoxSampleRate);
  if (HasBitrate()) {
    Field(b, "GroupBoxAudioBitrate", GroupBoxAudioBitrate);
    Field(b, "CheckBoxAutoSetAudioBitrate", CheckBoxAutoSetAudioBitrate);
    Field(b, "Bevel", Bevel);
    Field(b, "LabelCurrentAudioBitrate", LabelCurrentAudioBitrate);
    Field(b, "LabelAudioBitrate", LabelAudioBitrate);
    Field(b, "labKbps", labKbps);
    Field(b, "LabelAudioSmall", LabelAudioSmall);
    Field(b, "LabelAudioLarge", LabelAudioLarge);
    Field(b, "TrackBarAudioBitrate", TrackBarAudioBitrate);
    Handler(b, "CheckBoxAutoSetAudioBitrate", "Click", this, &TAudioPageGroup::UpdateAutoAudioBitrate);
    Handler(b, "TrackBarAudioBitrate", "Change", this, &TAudioPageGroup::TrackBarAudioBitrateChange);
    // On an AC3 page the keyboard still reaches the sample-rate list under the six-channel group; its
    // change goes through the channel rule, so six channels keep their 112..448 kbit/s.
    if (!FPage.Ranges.empty())
      Handler(b, "ComboBoxSampleRate", "Change", this,
              FPage.SixChannels ? &TAudioPageGroup::UpdateAC3Channels : &TAudioPageGroup::UpdateAudioBitrateRange);
  }
  if (FPage.SixChannels) {
    b.Field(Named("GroupBoxSampleRate") + "_6Channels", GroupBoxSampleRate6Channels);
    Handler(b, "ComboBoxAudioChannels", "Change", this, &TAudioPageGroup::UpdateAC3Channels);
  }
}

void TAudioPageGroup::ApplyLanguage() {
  Header->SetCaption(FormatText(IDS_PROFILE_LABEL_FormatProperties, *FPage.CodecName));
  GroupBoxChannels->SetCaption(IDS_PROFILE_GROUPBOX_Channels);
  ComboBoxAudioChannels->ClearItems();
  for (const std::string* item : FPage.Channels) ComboBoxAudioChannels->AddItem(*item);
  GroupBoxSampleRate->SetCaption(IDS_PROFILE_GROUPBOX_SampleRate);
  if (GroupBoxSampleRate6Channels) GroupBoxSampleRate6Channels->SetCaption(IDS_PROFILE_GROUPBOX_SampleRate);
  if (!HasBitrate()) return;
  GroupBoxAudioBitrate->SetCaption(IDS_PROFILE_GROUPBOX_Bitrate);
  CheckBoxAutoSetAudioBitrate->SetCaption(IDS_PROFILE_CHECKBOX_AutoSet);
  LabelCurrentAudioBitrate->SetCaption(IDS_PROFILE_LABEL_CurrentBitrate);
  LabelAudioSmall->SetCaption(IDS_PROFILE_LABEL_LowQuality);
  LabelAudioLarge->SetCaption(IDS_PROFILE_LABEL_HighQuliaty);
}

void TAudioPageGroup::FormCreate() {
  if (HasBitrate()) TrackBarAudioBitrate->SetMax(FPage.BitRates->Count());
}

// The slider still spans the whole table here, so every position is accepted.
void TAudioPageGroup::LoadSettings(TProfileRecord& r) {
  if (HasBitrate()) {
    CheckBoxAutoSetAudioBitrate->SetChecked(r.Bool(Key("AudioBitRateUseAutoSet")));
    TrackBarAudioBitrate->SetPosition(kDefaultPosition);
    TrackBarAudioBitrate->SetPosition(
        FPage.BitRates->PositionOf(r.Int(Key("AudioBitRatePreset")), TrackBarAudioBitrate->GetPosition()));
  }
  ComboBoxSampleRate->SetItemIndex(r.Int(Key("AudioSampleRate")));
  ComboBoxAudioChannels->SetItemIndex(r.Int(Key("AudioChannels")));
}

// The entry under the slider is stored also while the encoder chooses the bit rate.
void TAudioPageGroup::SaveSettings(TProfileRecord& r) {
  if (HasBitrate()) {
    r.SetBool(Key("AudioBitRateUseAutoSet"), CheckBoxAutoSetAudioBitrate->GetChecked());
    r.SetInt(Key("AudioBitRatePreset"), FPage.BitRates->Value(TrackBarAudioBitrate->GetPosition()));
  }
  r.SetInt(Key("AudioSampleRate"), ComboBoxSampleRate->GetItemIndex());
  r.SetInt(Key("AudioChannels"), ComboBoxAudioChannels->GetItemIndex());
}

// On an AC3 page the channel rule decides the range: six channels have theirs whatever the (covered)
// sample rate says, so a stored six-channel 448 kbit/s at 22050 Hz is not cut to 320 on the way.
void TAudioPageGroup::FormShow() {
  if (!HasBitrate()) return;
  UpdateAutoAudioBitrate();
  if (FPage.SixChannels)
    UpdateAC3Channels();
  else
    UpdateAudioBitrateRange();
}

void TAudioPageGroup::UpdateAutoAudioBitrate() {
  const bool manual = !CheckBoxAutoSetAudioBitrate->GetChecked();
  EnableControls({LabelCurrentAudioBitrate, LabelAudioBitrate, LabelAudioSmall, LabelAudioLarge, TrackBarAudioBitrate,
                  labKbps},
                 manual);
}

void TAudioPageGroup::TrackBarAudioBitrateChange() {
  const int position = TrackBarAudioBitrate->GetPosition();
  if (position < 1 || position > FPage.BitRates->Count()) return;  // a slider laid out longer than its table
  LabelAudioBitrate->SetCaption(FormatText(IDS_BITTATE_FORMAT, FPage.BitRates->Entry(position)));
}

// Min first, then Max; the slider moves a position outside the range to the nearer end and reports it.
void TAudioPageGroup::UpdateAudioBitrateRange() {
  const int index = ComboBoxSampleRate->GetItemIndex();
  if (index < 0 || size_t(index) >= FPage.Ranges.size()) return;
  TrackBarAudioBitrate->SetMin(FPage.Ranges[size_t(index)].first);
  TrackBarAudioBitrate->SetMax(FPage.Ranges[size_t(index)].second);
}

void TAudioPageGroup::UpdateAC3Channels() {
  if (ComboBoxAudioChannels->GetItemIndex() == kSixChannelsIndex) {
    GroupBoxSampleRate6Channels->BringToFront();
    TrackBarAudioBitrate->SetMin(kSixChannelsMin);
    TrackBarAudioBitrate->SetMax(kSixChannelsMax);
  } else {
    GroupBoxSampleRate->BringToFront();
    UpdateAudioBitrateRange();
  }
}
