// The AC3 profile editor: a new profile, load -> save over a table of records, and the six-channel rule
// (the fixed 48000 group in front, the slider at 112..448 kbit/s), also when the covered sample-rate
// list is changed from the keyboard.
#include "AC3_ProfileWnd.h"

#include <algorithm>

#include "AudioEditorKit.h"
#include "Settings.h"

namespace {

class Ac3Editor : public ::testing::Test {
protected:
  TfrmAc3Profile* form = nullptr;
  void SetUp() override {
    ResetEditorTexts();
    ResetAc3Settings();
  }
  void TearDown() override {
    if (form) form->Free();
  }
  TAudioPageGroup* Page() { return form->AudioAC3; }
  TTrackBar* Slider() { return Page()->TrackBarAudioBitrate; }
  // The handlers the layout bound to the lists, as a user's choice runs them.
  void ChooseChannels(int index) {
    Page()->ComboBoxAudioChannels->SetItemIndex(index);
    Page()->ComboBoxAudioChannels->OnChange(Page()->ComboBoxAudioChannels);
  }
  void ChooseSampleRate(int index) {
    Page()->ComboBoxSampleRate->SetItemIndex(index);
    Page()->ComboBoxSampleRate->OnChange(Page()->ComboBoxSampleRate);
  }
  bool SixChannelGroupInFront() {
    const auto& order = Page()->GroupBoxSampleRate->GetParent()->ControlList();
    auto at = [&](TControl* c) { return std::find(order.begin(), order.end(), c) - order.begin(); };
    return at(Page()->GroupBoxSampleRate6Channels) > at(Page()->GroupBoxSampleRate);
  }
};

}  // namespace

TEST_F(Ac3Editor, NewProfileOpensWithTheDefaults) {
  form = aek::OpenEditor<TfrmAc3Profile>();
  EXPECT_EQ(form->GetCaption(), "AC3 Profile Editor");
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"AC3"});
  EXPECT_EQ(Page()->Header->GetCaption(), "AC3 format properties");
  EXPECT_EQ(Page()->ComboBoxAudioChannels->GetItems(),
            (std::vector<std::string>{"1 (mono)", "2 (stereo)", "6 (5.1 AC3 48000kHz)"}));
  EXPECT_EQ(Page()->ComboBoxAudioChannels->GetItemIndex(), 1);
  EXPECT_EQ(Page()->ComboBoxSampleRate->GetItemIndex(), 3);
  EXPECT_EQ(Page()->GroupBoxSampleRate6Channels->GetCaption(), "Sample Rate");
  EXPECT_FALSE(SixChannelGroupInFront());
  EXPECT_EQ(Slider()->GetMin(), 2);
  EXPECT_EQ(Slider()->GetMax(), 14);
  EXPECT_EQ(Slider()->GetPosition(), 13);
  EXPECT_EQ(Page()->LabelAudioBitrate->GetCaption(), "384");
}

TEST_F(Ac3Editor, LoadShowSaveTable) {
  aek::CheckRoundTrips<TfrmAc3Profile>(
      ofAc3, {
                 {"defaults", {}, {}},
                 {"every field changed",
                  {{"Description", "Cinema"}, {"EnableTimeControl", "1"}, {"Duration", "1:00"},
                   {"StartTime", "0:00:05"}, {"AudioBitRateUseAutoSetAC3", "1"}, {"AudioBitRatePresetAC3", "224"},
                   {"AudioSampleRateAC3", "1"}, {"AudioChannelsAC3", "0"}},
                  {}},
                 {"six channels at 64 open at 112", {{"AudioChannelsAC3", "2"}, {"AudioBitRatePresetAC3", "64"}},
                  {{"AudioBitRatePresetAC3", "112"}}},
                 {"six channels keep 448 and the covered rate",
                  {{"AudioChannelsAC3", "2"}, {"AudioSampleRateAC3", "0"}, {"AudioBitRatePresetAC3", "448"}},
                  {}},
                 {"32 at 44100 Hz opens at 48", {{"AudioSampleRateAC3", "2"}, {"AudioBitRatePresetAC3", "32"}},
                  {{"AudioBitRatePresetAC3", "48"}}},
                 {"448 in stereo at 22050 Hz opens at 320",
                  {{"AudioSampleRateAC3", "0"}, {"AudioBitRatePresetAC3", "448"}}, {{"AudioBitRatePresetAC3", "320"}}},
                 {"no entry opens at 64", {{"AudioBitRatePresetAC3", "100"}}, {{"AudioBitRatePresetAC3", "64"}}},
                 {"no such codec, rate or channels",
                  {{"AudioCodec", "2"}, {"AudioSampleRateAC3", "4"}, {"AudioChannelsAC3", "3"}},
                  {{"AudioCodec", "255"}, {"AudioSampleRateAC3", "255"}, {"AudioChannelsAC3", "255"}}},
             });
}

TEST_F(Ac3Editor, SixChannelsShow48000AndNarrowTheSlider) {
  Ac3Settings.AudioChannelsAC3 = 2;
  Ac3Settings.AudioBitRatePresetAC3 = 64;
  form = aek::OpenEditor<TfrmAc3Profile>();
  EXPECT_TRUE(SixChannelGroupInFront());
  EXPECT_EQ(Slider()->GetPosition(), 6);
  EXPECT_EQ(Page()->LabelAudioBitrate->GetCaption(), "112");
}

TEST_F(Ac3Editor, ChoosingSixChannelsAndBack) {
  Ac3Settings.AudioSampleRateAC3 = 0;
  Ac3Settings.AudioBitRatePresetAC3 = 32;
  form = aek::OpenEditor<TfrmAc3Profile>();
  ASSERT_EQ(Slider()->GetPosition(), 1);
  ChooseChannels(2);
  EXPECT_TRUE(SixChannelGroupInFront());
  EXPECT_EQ(Slider()->GetPosition(), 6);
  ChooseChannels(1);
  EXPECT_FALSE(SixChannelGroupInFront());
  EXPECT_EQ(Slider()->GetMin(), 1);
  EXPECT_EQ(Slider()->GetMax(), 12);
  EXPECT_EQ(Slider()->GetPosition(), 6);
  EXPECT_EQ(Page()->LabelAudioBitrate->GetCaption(), "112");
}

// The covered list can still be changed from the keyboard; six channels keep their range.
TEST_F(Ac3Editor, ChangingTheCoveredSampleRateKeepsTheSixChannelRange) {
  Ac3Settings.AudioChannelsAC3 = 2;
  Ac3Settings.AudioBitRatePresetAC3 = 112;
  form = aek::OpenEditor<TfrmAc3Profile>();
  for (int rate : {0, 1, 2, 3}) {
    ChooseSampleRate(rate);
    EXPECT_EQ(Slider()->GetMin(), 6) << rate;
    EXPECT_EQ(Slider()->GetMax(), 14) << rate;
    Slider()->SetPosition(1);
    EXPECT_EQ(Slider()->GetPosition(), 6) << rate;
  }
  form->SaveSettings();
  EXPECT_EQ(Ac3Settings.AudioBitRatePresetAC3, 112);
  EXPECT_EQ(Ac3Settings.AudioSampleRateAC3, 3);
  // In stereo the list's change runs the range rule as before.
  ChooseChannels(1);
  ChooseSampleRate(0);
  EXPECT_EQ(Slider()->GetMin(), 1);
  EXPECT_EQ(Slider()->GetMax(), 12);
}
