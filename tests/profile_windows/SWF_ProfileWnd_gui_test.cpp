// The SWF profile editor: a new profile, load -> show -> save over a table of records, its own 11-entry
// video table and three sample rates, Disable audio, the lists against the option builder, and the window
// reached through the main window's Add and Edit.
#include "SWF_ProfileWnd.h"

#include <gtest/gtest.h>

#include "EditorTexts.h"
#include "RecordRoundTrip.h"
#include "VideoEditorTestKit.h"
#include "Settings.h"

namespace {

int32_t gMin = 0, gMax = 0;
int32_t RecordBounds(TCustomForm*, const std::string&, const std::string&, int32_t min, int32_t max, int32_t def) {
  gMin = min;
  gMax = max;
  return def;
}

class SwfEditor : public vtk::TVideoEditorTest<ofSwf, TfrmSwfProfile> {
protected:
  void TearDown() override {
    SetEditorInputInteger(nullptr);
    TVideoEditorTest::TearDown();
  }
  void Pick(TComboBox* list, int index) {
    list->SetItemIndex(index);
    list->OnChange(list);
  }
};

}  // namespace

TEST_F(SwfEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "SWF Profile Editor");
  TVideoPageGroup& v = *form->VideoPage("Flv");
  EXPECT_EQ(v.Bitrate.TrackBarVideoBitrate->GetMax(), 11);
  EXPECT_EQ(v.Bitrate.TrackBarVideoBitrate->GetPosition(), 5);
  EXPECT_EQ(v.Bitrate.LabelBitrate->GetCaption(), "768");
  EXPECT_TRUE(v.Size->RadioButtonKeepSourceSize->GetChecked());
  EXPECT_FALSE(v.Size->EditVideoWidth->GetEnabled());
  EXPECT_EQ(v.Size->ComboBoxVideoSize->GetText(), "640x480");
  EXPECT_EQ(v.FrameRate.ComboBoxVideoFrameRate->GetText(), "25");
  EXPECT_TRUE(v.Aspect.Buttons[0]->GetChecked());
  TAudioPageGroup& a = *form->AudioPage("Mp3");
  EXPECT_EQ(a.ComboBoxSampleRate->GetItems(), (std::vector<std::string>{"11025", "22050", "44100"}));
  EXPECT_EQ(a.ComboBoxSampleRate->GetText(), "22050");
  EXPECT_EQ(a.ComboBoxAudioChannels->GetText(), "2 (stereo)");
  EXPECT_TRUE(a.CheckBoxAutoSetAudioBitrate->GetChecked());
  EXPECT_FALSE(a.TrackBarAudioBitrate->GetEnabled());
  EXPECT_EQ(a.LabelAudioBitrate->GetCaption(), "64");
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"Mp3"});
  EXPECT_EQ(form->VideoCodec->List->GetItems(), std::vector<std::string>{"Flv"});
}

TEST_F(SwfEditor, LoadShowSaveTable) {
  const rrt::TRoundTrip cases[] = {
      {"defaults", {}, {}},
      {"varied",
       {{"Description", "flash"}, {"EnableTimeControl", "1"}, {"StartTime", "0:00:01.500"}, {"Duration", "2:00"},
        {"VideoSameQuality", "1"}, {"AudioDisableAudio", "1"}, {"VideoBitRateUsePresertFlv", "0"},
        {"VideoBitRatePresetFlv", "3600"}, {"VideoBitRateSpecifyFlv", "100"}, {"VideoSizeUseSourceFlv", "0"},
        {"VideoWidthFlv", "1280"}, {"VideoHeightFlv", "720"}, {"VideoKeepFrameRateFlv", "0"},
        {"VideoFrameRateFlv", "0"}, {"VideoAspectFlv", "2"}, {"AudioBitRateUseAutoSetMp3", "0"},
        {"AudioBitRatePresetMp3", "320"}, {"AudioSampleRateMp3", "2"}, {"AudioChannelsMp3", "0"}},
       {}},
      {"hand-edited",
       {{"VideoBitRatePresetFlv", "4600"}, {"AudioSampleRateMp3", "3"}, {"AudioBitRatePresetMp3", "320"},
        {"VideoCodec", "1"}, {"AudioChannelsMp3", "2"}},
       {{"VideoBitRatePresetFlv", "128"}, {"AudioSampleRateMp3", "255"}, {"VideoCodec", "255"},
        {"AudioChannelsMp3", "255"}}},
      {"320 at 11025 Hz", {{"AudioSampleRateMp3", "0"}, {"AudioBitRatePresetMp3", "320"}},
       {{"AudioBitRatePresetMp3", "160"}}},
  };
  for (const rrt::TRoundTrip& c : cases) rrt::CheckRoundTrip(ofSwf, c);
}

TEST_F(SwfEditor, RangesBoundsAndDisableAudio) {
  SwfSettings.AudioSampleRateMp3 = 2;
  SwfSettings.AudioBitRatePresetMp3 = 320;
  Open();
  TAudioPageGroup& a = *form->AudioPage("Mp3");
  EXPECT_EQ(a.TrackBarAudioBitrate->GetMax(), 12);
  Pick(a.ComboBoxSampleRate, 0);
  EXPECT_EQ(a.LabelAudioBitrate->GetCaption(), "160");
  SetEditorInputInteger(&RecordBounds);
  form->VideoPage("Flv")->Bitrate.ButtonVideoBitrateConfigure->Click();
  EXPECT_EQ(gMin, 64);
  EXPECT_EQ(gMax, 3600);
  form->DisableAudio->CheckBox->SetChecked(true);
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  EXPECT_FALSE(form->AudioCodec->List->GetEnabled());
  form->SaveSettings();
  EXPECT_TRUE(SwfSettings.AudioDisableAudio);
  EXPECT_EQ(SwfSettings.AudioBitRatePresetMp3, 160);
}

TEST_F(SwfEditor, ListsAgreeWithTheOptionBuilder) {
  form = new TfrmSwfProfile(Application);
  using namespace rrt;
  ExpectListAgreesWithBuilder(ofSwf, form->VideoCodec->List->GetItems(), "VideoCodec", {}, CodecFragment);
  ExpectListAgreesWithBuilder(ofSwf, form->AudioCodec->List->GetItems(), "AudioCodec", {}, CodecFragment);
  ExpectListAgreesWithBuilder(ofSwf, form->VideoPage("Flv")->FrameRate.ComboBoxVideoFrameRate->GetItems(), "VideoFrameRateFlv",
                              {{"VideoKeepFrameRateFlv", "0"}}, FrameRateFragment);
  ExpectListAgreesWithBuilder(ofSwf, form->AudioPage("Mp3")->ComboBoxSampleRate->GetItems(), "AudioSampleRateMp3", {},
                              SampleRateFragment);
  ExpectListAgreesWithBuilder(ofSwf, form->AudioPage("Mp3")->ComboBoxAudioChannels->GetItems(), "AudioChannelsMp3", {},
                              ChannelsFragment);
}

TEST_F(SwfEditor, FactoryRowAndTheMainWindow) {
  ASSERT_NE(ProfileEditorFactory(ofSwf), nullptr);
  rrt::TMainWindowDriver main;
  main.OnEditor = [](TfrmProfileEditor* editor) {
    auto* swf = dynamic_cast<TfrmSwfProfile*>(editor);
    if (!swf) return 2;
    swf->VideoPage("Flv")->Bitrate.TrackBarVideoBitrate->SetPosition(11);
    return 1;
  };
  main.Name = "Flash";
  main.Form->AddNewProfile(ofSwf);
  ResetSwfSettings();
  LoadSwfProfile(ProfileFilePath(ofSwf, "Flash"));
  EXPECT_EQ(SwfSettings.VideoBitRatePresetFlv, 3600);
  main.OnEditor = [](TfrmProfileEditor*) { return 2; };
  main.Form->EditProfile(ofSwf);
  EXPECT_EQ(main.EditorRuns, 2);
}
