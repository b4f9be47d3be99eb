// The AAC profile editor: its short control names, a layout like the MP3 window's, a new profile,
// load -> save over a table of records, the slider's range by sample rate and the time edits under
// their own names.
#include "AAC_ProfileWnd.h"

#include <map>

#include "AudioEditorKit.h"
#include "MP3_ProfileWnd.h"
#include "Settings.h"

namespace {

class AacEditor : public ::testing::Test {
protected:
  TfrmAacProfile* form = nullptr;
  void SetUp() override {
    ResetEditorTexts();
    ResetAacSettings();
  }
  void TearDown() override {
    if (form) form->Free();
  }
  TAudioPageGroup* Page() { return form->AudioAACMp4; }
  TTrackBar* Slider() { return Page()->TrackBarAudioBitrate; }
  void ChooseSampleRate(int index) {
    Page()->ComboBoxSampleRate->SetItemIndex(index);
    Page()->ComboBoxSampleRate->OnChange(Page()->ComboBoxSampleRate);
  }
};

// The AAC window's names of the controls the MP3 window names otherwise.
const std::map<std::string, std::string> kMp3Names = {
    {"frmAacProfile", "frmMp3Profile"}, {"lblDescription", "labDescription"}, {"txtDescription", "EditDescription"},
    {"pageOptions", "PageControlOptions"}, {"tabGeneral", "TabSheetGeneral"},
    {"grpTimeControl", "GroupBoxTimeControl"}, {"chkEnableTimeControl", "CheckBoxEnableTimeControl"},
    {"lblStartTime", "LabelStartTime"}, {"txtStartTime", "EditStartTime"},
    {"lblEndTime", "LabelEndTime"}, {"txtEndTime", "EditEndTime"},
    {"lblDuration", "LabelDuration"}, {"txtDuration", "EditDuration"}, {"lblTime", "LabelTimeLabel"},
    {"grpAudioCodec", "GroupBoxAudioCodec"}, {"cmbAudioCodec", "ComboBoxAudioCodec"},
    {"pageAudioCodec", "PageControlACodec"}, {"tabAACMp4", "TabSheetMp3"},
    {"lblAACMp4", "labMp3"}, {"grpChannelsAACMp4", "GroupBoxChannelsMp3"},
    {"grpSampleRateAACMp4", "GroupBoxSampleRateMp3"}, {"grpAudioBitrateAACMp4", "GroupBoxAudioBitrateMp3"},
    {"chkAutoSetAudioBitrateAACMp4", "CheckBoxAutoSetAudioBitrateMp3"},
    {"lblCurrentAudioBitrateAACMp4", "LabelCurrentAudioBitrateMp3"},
    {"lblAudioBitrateAACMp4", "LabelAudioBitrateMp3"}, {"lblkbpsAACMp4", "labKbpsMp3"},
    {"lblAudioSmallAACMp4", "LabelAudioSmallMp3"}, {"lblAudioLargeAACMp4", "LabelAudioLargeMp3"},
};

std::string Mp3Name(const std::string& aacName) {
  auto it = kMp3Names.find(aacName);
  if (it != kMp3Names.end()) return it->second;
  const std::string suffix = "AACMp4";  // ComboBoxAudioChannelsAACMp4 -> ComboBoxAudioChannelsMp3
  if (aacName.size() > suffix.size() && aacName.compare(aacName.size() - suffix.size(), suffix.size(), suffix) == 0)
    return aacName.substr(0, aacName.size() - suffix.size()) + "Mp3";
  return aacName;
}

}  // namespace

TEST_F(AacEditor, ControlsCarryTheirShortNames) {
  form = aek::OpenEditor<TfrmAacProfile>();
  for (const auto& names : kMp3Names) {
    if (names.first != form->GetName()) {
      EXPECT_NE(form->FindComponent(names.first), nullptr) << names.first;
    }
  }
  EXPECT_EQ(form->EditDescription->GetName(), "txtDescription");
  EXPECT_EQ(form->PageControlOptions->GetName(), "pageOptions");
  EXPECT_EQ(form->TimeControl->EditStartTime->GetName(), "txtStartTime");
  EXPECT_EQ(form->AudioCodec->List->GetName(), "cmbAudioCodec");
  EXPECT_EQ(Page()->labKbps->GetName(), "lblkbpsAACMp4");
  EXPECT_EQ(form->TabSheetAudio->GetName(), "TabSheetAudio");
}

// Every control stands where the MP3 window has its counterpart, in the same kind of control.
TEST_F(AacEditor, LaidOutLikeTheMp3Window) {
  form = aek::OpenEditor<TfrmAacProfile>();
  TfrmMp3Profile* mp3 = aek::OpenEditor<TfrmMp3Profile>();
  EXPECT_EQ(form->ComponentCount(), mp3->ComponentCount());
  for (int i = 0; i < form->ComponentCount(); ++i) {
    TComponent* c = form->Components(i);
    SCOPED_TRACE(c->GetName());
    TComponent* other = mp3->FindComponent(Mp3Name(c->GetName()));
    ASSERT_NE(other, nullptr) << Mp3Name(c->GetName());
    EXPECT_EQ(c->ClassName(), other->ClassName());
    auto* a = dynamic_cast<TControl*>(c);
    auto* b = dynamic_cast<TControl*>(other);
    if (!a || !b) continue;
    EXPECT_EQ(a->GetLeft(), b->GetLeft());
    EXPECT_EQ(a->GetTop(), b->GetTop());
    if (!dynamic_cast<TLabel*>(a)) {  // labels size themselves to their captions
      EXPECT_EQ(a->GetWidth(), b->GetWidth());
      EXPECT_EQ(a->GetHeight(), b->GetHeight());
    }
    EXPECT_EQ(Mp3Name(a->GetParent()->GetName()), b->GetParent()->GetName());
  }
  mp3->Free();
}

TEST_F(AacEditor, NewProfileOpensWithTheDefaults) {
  form = aek::OpenEditor<TfrmAacProfile>();
  EXPECT_EQ(form->GetCaption(), "AAC Profile Editor");
  EXPECT_EQ(form->labDescription->GetCaption(), "Description:");
  EXPECT_EQ(form->TabSheetGeneral->GetCaption(), "General");
  EXPECT_EQ(form->AudioCodec->GroupBox->GetCaption(), "Audio Codec");
  EXPECT_EQ(form->TimeControl->GroupBoxTimeControl->GetCaption(), "Time Control");
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"AAC"});
  EXPECT_EQ(Page()->Header->GetCaption(), "AAC format properties");
  EXPECT_EQ(Page()->ComboBoxSampleRate->GetItems(),
            (std::vector<std::string>{"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"}));
  EXPECT_EQ(Page()->ComboBoxSampleRate->GetItemIndex(), 6);
  EXPECT_EQ(Page()->ComboBoxAudioChannels->GetItemIndex(), 1);
  EXPECT_FALSE(Page()->CheckBoxAutoSetAudioBitrate->GetChecked());
  EXPECT_EQ(Slider()->GetMax(), 12);
  EXPECT_EQ(Slider()->GetPosition(), 8);
  EXPECT_EQ(Page()->LabelAudioBitrate->GetCaption(), "128");
  EXPECT_FALSE(form->TimeControl->EditStartTime->GetEnabled());
}

TEST_F(AacEditor, LoadShowSaveTable) {
  aek::CheckRoundTrips<TfrmAacProfile>(
      ofAac, {
                 {"defaults", {}, {}},
                 {"every field changed",
                  {{"Description", "Music"}, {"EnableTimeControl", "1"}, {"Duration", "1:00"},
                   {"StartTime", "0:00:05"}, {"AudioBitRateUseAutoSetAACMP4", "1"}, {"AudioBitRatePresetAACMP4", "192"},
                   {"AudioSampleRateAACMP4", "7"}, {"AudioChannelsAACMP4", "0"}},
                  {}},
                 {"128 at 11025 Hz opens at 64", {{"AudioSampleRateAACMP4", "0"}}, {{"AudioBitRatePresetAACMP4", "64"}}},
                 {"256 at 32000 Hz opens at 192",
                  {{"AudioSampleRateAACMP4", "5"}, {"AudioBitRatePresetAACMP4", "256"}},
                  {{"AudioBitRatePresetAACMP4", "192"}}},
                 {"no entry opens at 56", {{"AudioBitRatePresetAACMP4", "320"}}, {{"AudioBitRatePresetAACMP4", "56"}}},
                 {"no entry at the lowest rate still 56",
                  {{"AudioBitRatePresetAACMP4", "320"}, {"AudioSampleRateAACMP4", "1"}},
                  {{"AudioBitRatePresetAACMP4", "56"}}},
                 {"no such codec, rate or channels",
                  {{"AudioCodec", "1"}, {"AudioSampleRateAACMP4", "8"}, {"AudioChannelsAACMP4", "2"}},
                  {{"AudioCodec", "255"}, {"AudioSampleRateAACMP4", "255"}, {"AudioChannelsAACMP4", "255"}}},
             });
}

TEST_F(AacEditor, SampleRatesLimitTheSlider) {
  form = aek::OpenEditor<TfrmAacProfile>();
  const int maxima[] = {5, 5, 6, 8, 8, 10, 12, 12};
  for (int rate = 0; rate < 8; ++rate) {
    ChooseSampleRate(rate);
    Slider()->SetPosition(12);
    EXPECT_EQ(Slider()->GetPosition(), maxima[rate]) << rate;
  }
  Slider()->SetPosition(8);  // 128 at 48000 Hz
  ChooseSampleRate(2);       // 16000 Hz
  EXPECT_EQ(Page()->LabelAudioBitrate->GetCaption(), "96");
  form->SaveSettings();
  EXPECT_EQ(AacSettings.AudioBitRatePresetAACMP4, 96);
}

// The time edits' handlers are bound under the short names: leaving an edit checks it.
TEST_F(AacEditor, TimeEditsAreCheckedWhenLeft) {
  AacSettings.EnableTimeControl = true;
  AacSettings.StartTime = "0:00:10.000";
  form = aek::OpenEditor<TfrmAacProfile>();
  TTimeControlGroup* t = form->TimeControl;
  EXPECT_TRUE(t->EditStartTime->GetEnabled());
  t->EditDuration->OnEnter(t->EditDuration);
  t->EditDuration->SetText("90");
  t->EditDuration->OnExit(t->EditDuration);
  EXPECT_EQ(t->EditDuration->GetText(), "0:01:30.000");
  EXPECT_EQ(t->EditEndTime->GetText(), "0:01:40.000");
  t->EditStartTime->OnEnter(t->EditStartTime);
  t->EditStartTime->SetText("abc");
  t->EditStartTime->OnExit(t->EditStartTime);
  EXPECT_EQ(t->EditStartTime->GetText(), "0:00:10.000");
  form->TimeControl->CheckBoxEnableTimeControl->SetChecked(false);
  EXPECT_FALSE(t->EditStartTime->GetEnabled());
  Page()->CheckBoxAutoSetAudioBitrate->SetChecked(true);
  EXPECT_FALSE(Slider()->GetEnabled());
}
