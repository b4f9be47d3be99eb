// The WAV profile editor: a new profile, load -> save over a table of records (both pages whichever
// codec is chosen), the page that follows the codec list, and a window without sliders.
#include "WAV_ProfileWnd.h"

#include "AudioEditorKit.h"
#include "Settings.h"

namespace {

class WavEditor : public ::testing::Test {
protected:
  TfrmWavProfile* form = nullptr;
  void SetUp() override {
    ResetEditorTexts();
    ResetWavSettings();
  }
  void TearDown() override {
    if (form) form->Free();
  }
  void ChooseCodec(int index) {
    form->AudioCodec->List->SetItemIndex(index);
    form->AudioCodec->List->OnChange(form->AudioCodec->List);
  }
};

const std::vector<std::string> kRates = {"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"};

}  // namespace

TEST_F(WavEditor, NewProfileOpensWithTheDefaults) {
  form = aek::OpenEditor<TfrmWavProfile>();
  EXPECT_EQ(form->GetCaption(), "WAV Profile Editor");
  EXPECT_EQ(form->AudioCodec->List->GetItems(),
            (std::vector<std::string>{"WAV (pcm 16 little-endian)", "WAV (pcm U 8)"}));
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePageIndex(), 0);
  EXPECT_EQ(form->AudioCodec->Pages->Pages(0)->GetName(), "TabSheePcm16le");
  EXPECT_EQ(form->AudioPcm16le->Header->GetCaption(), "WAV (pcm 16 little-endian) format properties");
  EXPECT_EQ(form->AudioPcmu8->Header->GetCaption(), "WAV (pcm U 8) format properties");
  for (TAudioPageGroup* p : {form->AudioPcm16le, form->AudioPcmu8}) {
    SCOPED_TRACE(p->Suffix());
    EXPECT_EQ(p->ComboBoxSampleRate->GetItems(), kRates);
    EXPECT_EQ(p->ComboBoxSampleRate->GetItemIndex(), 6);
    EXPECT_EQ(p->ComboBoxAudioChannels->GetItemIndex(), 1);
    EXPECT_EQ(p->TrackBarAudioBitrate, nullptr);
  }
  EXPECT_EQ(form->FindComponent("TrackBarAudioBitratePcm16le"), nullptr);
}

TEST_F(WavEditor, LoadShowSaveTable) {
  aek::CheckRoundTrips<TfrmWavProfile>(
      ofWav, {
                 {"defaults", {}, {}},
                 {"every field changed, 8-bit chosen",
                  {{"Description", "Samples"}, {"EnableTimeControl", "1"}, {"Duration", "0:00:01.500"},
                   {"StartTime", "0:00:02.000"}, {"AudioCodec", "1"}, {"AudioSampleRatePcm16le", "7"},
                   {"AudioChannelsPcm16le", "0"}, {"AudioSampleRatePcmu8", "0"}, {"AudioChannelsPcmu8", "0"}},
                  {}},
                 {"no such codec, rate or channels",
                  {{"AudioCodec", "2"}, {"AudioSampleRatePcm16le", "8"}, {"AudioChannelsPcmu8", "2"}},
                  {{"AudioCodec", "255"}, {"AudioSampleRatePcm16le", "255"}, {"AudioChannelsPcmu8", "255"}}},
             });
}

// The list shows the rate of the same index the encoder options turn into Hz.
TEST_F(WavEditor, EverySampleRateIsStoredUnderItsIndex) {
  form = aek::OpenEditor<TfrmWavProfile>();
  for (int i = 0; i < int(kRates.size()); ++i) {
    form->AudioPcm16le->ComboBoxSampleRate->SetItemIndex(i);
    form->SaveSettings();
    EXPECT_EQ(WavSettings.AudioSampleRatePcm16le, i);
    EXPECT_EQ(form->AudioPcm16le->ComboBoxSampleRate->GetText(), kRates[size_t(i)]);
  }
}

TEST_F(WavEditor, ChoosingEightBitShowsItsPageAndKeepsTheSixteenBitValues) {
  WavSettings.AudioSampleRatePcm16le = 2;
  form = aek::OpenEditor<TfrmWavProfile>();
  ChooseCodec(1);
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePageIndex(), 1);
  form->AudioPcmu8->ComboBoxSampleRate->SetItemIndex(7);
  form->SaveSettings();
  EXPECT_EQ(WavSettings.AudioCodec, 1);
  EXPECT_EQ(WavSettings.AudioSampleRatePcmu8, 7);
  EXPECT_EQ(WavSettings.AudioSampleRatePcm16le, 2);
}
