// The AMR profile editor: a new profile, load -> save over a table of records (both pages whichever
// codec is chosen), the fixed slider ranges and the page that follows the codec list.
#include "AMR_ProfileWnd.h"

#include "AudioEditorKit.h"
#include "Settings.h"

namespace {

class AmrEditor : public ::testing::Test {
protected:
  TfrmAmrProfile* form = nullptr;
  void SetUp() override {
    ResetEditorTexts();
    ResetAmrSettings();
  }
  void TearDown() override {
    if (form) form->Free();
  }
  void ChooseCodec(int index) {
    form->AudioCodec->List->SetItemIndex(index);
    form->AudioCodec->List->OnChange(form->AudioCodec->List);
  }
};

}  // namespace

TEST_F(AmrEditor, NewProfileOpensWithTheDefaults) {
  form = aek::OpenEditor<TfrmAmrProfile>();
  EXPECT_EQ(form->GetCaption(), "AMR Profile Editor");
  EXPECT_EQ(form->AudioCodec->List->GetItems(), (std::vector<std::string>{"AMR Narrow-Band", "AMR Narrow-Wide"}));
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePageIndex(), 0);
  struct TCase {
    TAudioPageGroup* Page;
    const char *HeaderName, *Header, *SampleRate;
    int Max, Position;
    const char* Label;
  };
  const TCase cases[] = {
      {form->AudioArmnb, "labArmNB", "AMR Narrow-Band format properties", "8000", 6, 6, "13"},
      {form->AudioArmwb, "labArmwb", "AMR Narrow-Wide format properties", "16000", 7, 3, "13"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.HeaderName);
    EXPECT_EQ(c.Page->Header->GetName(), c.HeaderName);
    EXPECT_EQ(c.Page->Header->GetCaption(), c.Header);
    EXPECT_EQ(c.Page->ComboBoxSampleRate->GetItems(), std::vector<std::string>{c.SampleRate});
    EXPECT_EQ(c.Page->ComboBoxSampleRate->GetItemIndex(), 0);
    EXPECT_EQ(c.Page->ComboBoxAudioChannels->GetItems(), (std::vector<std::string>{"1 (mono)", "2 (stereo)"}));
    EXPECT_EQ(c.Page->ComboBoxAudioChannels->GetItemIndex(), 0);
    EXPECT_EQ(c.Page->TrackBarAudioBitrate->GetMin(), 1);
    EXPECT_EQ(c.Page->TrackBarAudioBitrate->GetMax(), c.Max);
    EXPECT_EQ(c.Page->TrackBarAudioBitrate->GetPosition(), c.Position);
    EXPECT_EQ(c.Page->LabelAudioBitrate->GetCaption(), c.Label);
  }
}

TEST_F(AmrEditor, LoadShowSaveTable) {
  aek::CheckRoundTrips<TfrmAmrProfile>(
      ofAmr, {
                 {"defaults", {}, {}},
                 {"every field changed, wide band chosen",
                  {{"Description", "Phone"}, {"EnableTimeControl", "1"}, {"Duration", "0:00:30.000"},
                   {"StartTime", "1:00:00.000"}, {"AudioCodec", "1"}, {"AudioBitRateUseAutoSetArmnb", "1"},
                   {"AudioBitRatePresetArmnb", "8"}, {"AudioChannelsArmnb", "1"}, {"AudioBitRateUseAutoSetArmwb", "1"},
                   {"AudioBitRatePresetArmwb", "24"}, {"AudioChannelsArmwb", "1"}},
                  {}},
                 {"no entries open at position 4",
                  {{"AudioBitRatePresetArmnb", "14"}, {"AudioBitRatePresetArmwb", "8"}},
                  {{"AudioBitRatePresetArmnb", "11"}, {"AudioBitRatePresetArmwb", "16"}}},
                 {"no such codec, rates or channels",
                  {{"AudioCodec", "2"}, {"AudioSampleRateArmnb", "1"}, {"AudioSampleRateArmwb", "3"},
                   {"AudioChannelsArmwb", "2"}},
                  {{"AudioCodec", "255"}, {"AudioSampleRateArmnb", "255"}, {"AudioSampleRateArmwb", "255"},
                   {"AudioChannelsArmwb", "255"}}},
             });
}

TEST_F(AmrEditor, AProfileOfTheWideBandOpensOnItsPage) {
  AmrSettings.AudioCodec = 1;
  form = aek::OpenEditor<TfrmAmrProfile>();
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePageIndex(), 1);
  for (int i = 0; i < form->AudioCodec->Pages->PageCount(); ++i)
    EXPECT_FALSE(form->AudioCodec->Pages->Pages(i)->GetTabVisible()) << i;
}

// Choosing the other codec shows its page at once; switching and back loses nothing on either page.
TEST_F(AmrEditor, SwitchingTheCodecShowsItsPageAndKeepsBoth) {
  form = aek::OpenEditor<TfrmAmrProfile>();
  form->AudioArmnb->TrackBarAudioBitrate->SetPosition(2);
  ChooseCodec(1);
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePageIndex(), 1);
  form->AudioArmwb->TrackBarAudioBitrate->SetPosition(7);
  ChooseCodec(0);
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePageIndex(), 0);
  ChooseCodec(1);
  form->SaveSettings();
  EXPECT_EQ(AmrSettings.AudioCodec, 1);
  EXPECT_EQ(AmrSettings.AudioBitRatePresetArmnb, 9);
  EXPECT_EQ(AmrSettings.AudioBitRatePresetArmwb, 24);
}

TEST_F(AmrEditor, EveryEntryIsReachable) {
  form = aek::OpenEditor<TfrmAmrProfile>();
  for (TAudioPageGroup* p : {form->AudioArmnb, form->AudioArmwb}) {
    const TBitRateTable& t = *p->Page().BitRates;
    for (int position = 1; position <= t.Count(); ++position) {
      p->TrackBarAudioBitrate->SetPosition(position);
      EXPECT_EQ(p->LabelAudioBitrate->GetCaption(), t.Entry(position));
      form->SaveSettings();
      EXPECT_EQ(p == form->AudioArmnb ? AmrSettings.AudioBitRatePresetArmnb : AmrSettings.AudioBitRatePresetArmwb,
                t.Value(position));
    }
  }
}
