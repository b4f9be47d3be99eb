// The MP2 profile editor: a new profile, load -> save over a table of records, the slider's range by
// sample rate.
#include "MP2_ProfileWnd.h"

#include "AudioEditorKit.h"
#include "Settings.h"

namespace {

class Mp2Editor : public ::testing::Test {
protected:
  TfrmMp2Profile* form = nullptr;
  void SetUp() override {
    ResetEditorTexts();
    ResetMp2Settings();
  }
  void TearDown() override {
    if (form) form->Free();
  }
  TTrackBar* Slider() { return form->AudioMp2->TrackBarAudioBitrate; }
};

}  // namespace

TEST_F(Mp2Editor, NewProfileOpensWithTheDefaults) {
  form = aek::OpenEditor<TfrmMp2Profile>();
  EXPECT_EQ(form->GetCaption(), "MP2 Profile Editor");
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"MP2"});
  EXPECT_EQ(form->AudioMp2->Header->GetCaption(), "Mp2 format properties");
  EXPECT_EQ(form->AudioMp2->ComboBoxSampleRate->GetItems(),
            (std::vector<std::string>{"22050", "24000", "44100", "48000"}));
  EXPECT_EQ(form->AudioMp2->ComboBoxSampleRate->GetItemIndex(), 2);
  EXPECT_EQ(form->AudioMp2->ComboBoxAudioChannels->GetItemIndex(), 1);
  EXPECT_EQ(Slider()->GetMax(), 13);
  EXPECT_EQ(Slider()->GetPosition(), 8);
  EXPECT_EQ(form->AudioMp2->LabelAudioBitrate->GetCaption(), "160");
}

TEST_F(Mp2Editor, LoadShowSaveTable) {
  aek::CheckRoundTrips<TfrmMp2Profile>(
      ofMp2, {
                 {"defaults", {}, {}},
                 {"every field changed",
                  {{"Description", "Radio"}, {"EnableTimeControl", "1"}, {"Duration", "0:10:00.000"},
                   {"StartTime", "0:00:05"}, {"AudioBitRateUseAutoSetMp2", "1"}, {"AudioBitRatePresetMp2", "384"},
                   {"AudioSampleRateMp2", "3"}, {"AudioChannelsMp2", "0"}},
                  {}},
                 {"384 at 24000 Hz opens at 160", {{"AudioBitRatePresetMp2", "384"}, {"AudioSampleRateMp2", "1"}},
                  {{"AudioBitRatePresetMp2", "160"}}},
                 {"no entry opens at 64", {{"AudioBitRatePresetMp2", "100"}}, {{"AudioBitRatePresetMp2", "64"}}},
                 {"no such codec, rate or channels",
                  {{"AudioCodec", "1"}, {"AudioSampleRateMp2", "4"}, {"AudioChannelsMp2", "2"}},
                  {{"AudioCodec", "255"}, {"AudioSampleRateMp2", "255"}, {"AudioChannelsMp2", "255"}}},
             });
}

TEST_F(Mp2Editor, From22050To48000KeepsThePositionAndReaches384) {
  Mp2Settings.AudioSampleRateMp2 = 0;
  Mp2Settings.AudioBitRatePresetMp2 = 128;
  form = aek::OpenEditor<TfrmMp2Profile>();
  ASSERT_EQ(Slider()->GetMax(), 8);
  ASSERT_EQ(Slider()->GetPosition(), 7);
  form->AudioMp2->ComboBoxSampleRate->SetItemIndex(3);
  form->AudioMp2->UpdateAudioBitrateRange();  // the list's change binding
  EXPECT_EQ(Slider()->GetPosition(), 7);
  Slider()->SetPosition(13);
  EXPECT_EQ(form->AudioMp2->LabelAudioBitrate->GetCaption(), "384");
  form->SaveSettings();
  EXPECT_EQ(Mp2Settings.AudioBitRatePresetMp2, 384);
  EXPECT_EQ(Mp2Settings.AudioSampleRateMp2, 3);
}
