// The VOB profile editor: a new profile, load -> show -> save over a table of records, the MP2 and AC3
// pages with their ranges and the six-channel rule, the lists against the option builder, and the window
// reached through the main window's Add and Edit.
#include "VOB_ProfileWnd.h"

#include <gtest/gtest.h>

#include "EditorTexts.h"
#include "RecordRoundTrip.h"
#include "VideoEditorTestKit.h"
#include "Settings.h"

namespace {

class VobEditor : public vtk::TVideoEditorTest<ofVob, TfrmVobProfile> {
protected:
  void Pick(TComboBox* list, int index) {
    list->SetItemIndex(index);
    list->OnChange(list);
  }
};

}  // namespace

TEST_F(VobEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "VOB Profile Editor");
  EXPECT_EQ(form->VideoCodec->List->GetItems(), std::vector<std::string>{"Mpeg-2"});
  EXPECT_EQ(form->AudioCodec->List->GetItems(), (std::vector<std::string>{"Mp2", "AC3"}));
  TVideoPageGroup& v = *form->VideoPage("Mpeg2");
  EXPECT_EQ(v.Header->GetCaption(), "Mpeg-2 format properties");
  EXPECT_EQ(v.Bitrate.TrackBarVideoBitrate->GetMax(), 13);
  EXPECT_EQ(v.Bitrate.TrackBarVideoBitrate->GetPosition(), 12);
  EXPECT_EQ(v.Bitrate.LabelBitrate->GetCaption(), "6000");
  EXPECT_TRUE(v.Size->RadioButtonChangVideoSize->GetChecked());
  EXPECT_TRUE(v.Size->EditVideoWidth->GetEnabled());
  EXPECT_EQ(v.Size->ComboBoxVideoSize->GetText(), "720x576");
  EXPECT_EQ(v.FrameRate.ComboBoxVideoFrameRate->GetItems(),
            (std::vector<std::string>{"19.98", "23.976", "24", "25", "29.97", "30", "50", "59.94", "60"}));
  EXPECT_EQ(v.FrameRate.ComboBoxVideoFrameRate->GetText(), "25");
  EXPECT_FALSE(v.FrameRate.ComboBoxVideoFrameRate->GetEnabled());
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), "TabSheetAC3");
  EXPECT_EQ(form->AudioPage("AC3")->ComboBoxSampleRate->GetText(), "48000");
  EXPECT_EQ(form->AudioPage("AC3")->ComboBoxAudioChannels->GetText(), "2 (stereo)");
  EXPECT_EQ(form->AudioPage("AC3")->TrackBarAudioBitrate->GetMin(), 2);
  EXPECT_EQ(form->AudioPage("AC3")->TrackBarAudioBitrate->GetPosition(), 13);
  EXPECT_EQ(form->AudioPage("Mp2")->TrackBarAudioBitrate->GetPosition(), 12);
  EXPECT_EQ(form->AudioPage("Mp2")->TrackBarAudioBitrate->GetMax(), 13);
  EXPECT_EQ(form->PageControlOptions->GetActivePage(), form->TabSheetGeneral);
}

TEST_F(VobEditor, LoadShowSaveTable) {
  const rrt::TRoundTrip cases[] = {
      {"defaults", {}, {}},
      {"varied",
       {{"Description", "DVD"}, {"EnableTimeControl", "1"}, {"Duration", "0:10"}, {"StartTime", "5"},
        {"AudioCodec", "0"}, {"AudioDisableAudio", "1"}, {"VideoSameQuality", "1"},
        {"VideoBitRateUsePresertMPEG2", "0"}, {"VideoBitRatePresetMPEG2", "9600"}, {"VideoBitRateSpecifyMPEG2", "7000"},
        {"VideoSizeUseSourceMPEG2", "1"}, {"VideoWidthMPEG2", "352"}, {"VideoHeightMPEG2", "239"},
        {"VideoKeepFrameRateMPEG2", "0"}, {"VideoFrameRateMPEG2", "8"}, {"VideoAspectMPEG2", "2"},
        {"AudioBitRateUseAutoSetAC3", "1"}, {"AudioBitRatePresetAC3", "112"}, {"AudioSampleRateAC3", "1"},
        {"AudioChannelsAC3", "0"}, {"AudioBitRateUseAutoSetMp2", "1"}, {"AudioBitRatePresetMp2", "160"},
        {"AudioSampleRateMp2", "0"}, {"AudioChannelsMp2", "0"}},
       {}},
      {"hand-edited",
       {{"VideoCodec", "1"}, {"AudioCodec", "2"}, {"VideoFrameRateMPEG2", "9"}, {"VideoBitRatePresetMPEG2", "5000"},
        {"AudioBitRatePresetAC3", "32"}, {"AudioSampleRateAC3", "2"}, {"AudioBitRatePresetMp2", "384"},
        {"AudioSampleRateMp2", "1"}, {"VideoAspectMPEG2", "3"}, {"VideoWidthMPEG2", "0"}},
       {{"VideoCodec", "255"}, {"AudioCodec", "255"}, {"VideoFrameRateMPEG2", "255"},
        {"VideoBitRatePresetMPEG2", "128"}, {"AudioBitRatePresetAC3", "48"}, {"AudioBitRatePresetMp2", "160"},
        {"VideoAspectMPEG2", "0"}, {"VideoWidthMPEG2", "2"}}},
      // Six channels keep the stored sample rate; the range 6..14 moves 64 to 112.
      {"six channels", {{"AudioChannelsAC3", "2"}, {"AudioSampleRateAC3", "0"}, {"AudioBitRatePresetAC3", "64"}},
       {{"AudioBitRatePresetAC3", "112"}}},
  };
  for (const rrt::TRoundTrip& c : cases) rrt::CheckRoundTrip(ofVob, c);
}

TEST_F(VobEditor, AudioPagesAndTheirRules) {
  Open();
  Pick(form->AudioCodec->List, 0);
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), "TabSheetMp2");
  Pick(form->AudioCodec->List, 1);
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), "TabSheetAC3");
  // Six channels with the slider at 64: the fixed 48000 in front, 112 at the least.
  TAudioPageGroup& ac3 = *form->AudioPage("AC3");
  ac3.TrackBarAudioBitrate->SetPosition(4);
  Pick(ac3.ComboBoxAudioChannels, 2);
  EXPECT_GT(rrt::ZOrder(ac3.GroupBoxSampleRate6Channels), rrt::ZOrder(ac3.GroupBoxSampleRate));
  EXPECT_EQ(ac3.TrackBarAudioBitrate->GetMin(), 6);
  EXPECT_EQ(ac3.LabelAudioBitrate->GetCaption(), "112");
  Pick(ac3.ComboBoxAudioChannels, 1);
  EXPECT_GT(rrt::ZOrder(ac3.GroupBoxSampleRate), rrt::ZOrder(ac3.GroupBoxSampleRate6Channels));
  EXPECT_EQ(ac3.TrackBarAudioBitrate->GetMin(), 2);
  EXPECT_EQ(ac3.ComboBoxSampleRate->GetText(), "48000");
  // MP2 from 48000 to 22050 with the slider at 384 moves it to 160.
  TAudioPageGroup& mp2 = *form->AudioPage("Mp2");
  mp2.TrackBarAudioBitrate->SetPosition(13);
  Pick(mp2.ComboBoxSampleRate, 0);
  EXPECT_EQ(mp2.LabelAudioBitrate->GetCaption(), "160");
}

TEST_F(VobEditor, ListsAgreeWithTheOptionBuilder) {
  form = new TfrmVobProfile(Application);
  using namespace rrt;
  ExpectListAgreesWithBuilder(ofVob, form->VideoCodec->List->GetItems(), "VideoCodec", {}, CodecFragment);
  ExpectListAgreesWithBuilder(ofVob, form->AudioCodec->List->GetItems(), "AudioCodec", {}, CodecFragment);
  ExpectListAgreesWithBuilder(ofVob, form->VideoPage("Mpeg2")->FrameRate.ComboBoxVideoFrameRate->GetItems(), "VideoFrameRateMPEG2",
                              {{"VideoKeepFrameRateMPEG2", "0"}}, FrameRateFragment);
  ExpectListAgreesWithBuilder(ofVob, form->AudioPage("Mp2")->ComboBoxSampleRate->GetItems(), "AudioSampleRateMp2",
                              {{"AudioCodec", "0"}}, SampleRateFragment);
  ExpectListAgreesWithBuilder(ofVob, form->AudioPage("Mp2")->ComboBoxAudioChannels->GetItems(), "AudioChannelsMp2",
                              {{"AudioCodec", "0"}}, ChannelsFragment);
  ExpectListAgreesWithBuilder(ofVob, form->AudioPage("AC3")->ComboBoxSampleRate->GetItems(), "AudioSampleRateAC3",
                              {{"AudioCodec", "1"}, {"AudioChannelsAC3", "1"}}, SampleRateFragment);
  ExpectListAgreesWithBuilder(ofVob, form->AudioPage("AC3")->ComboBoxAudioChannels->GetItems(), "AudioChannelsAC3",
                              {{"AudioCodec", "1"}}, ChannelsFragment);
}

TEST_F(VobEditor, FactoryRowAndTheMainWindow) {
  ASSERT_NE(ProfileEditorFactory(ofVob), nullptr);
  rrt::TMainWindowDriver main;
  main.OnEditor = [](TfrmProfileEditor* editor) {
    auto* vob = dynamic_cast<TfrmVobProfile*>(editor);
    if (!vob) return 2;
    vob->AudioCodec->List->SetItemIndex(0);
    vob->EditDescription->SetText("disc");
    return 1;
  };
  main.Name = "Disc";
  main.Form->AddNewProfile(ofVob);
  ResetVobSettings();
  LoadVobProfile(ProfileFilePath(ofVob, "Disc"));
  EXPECT_EQ(VobSettings.Description, "disc");
  EXPECT_EQ(VobSettings.AudioCodec, 0);
  main.OnEditor = [](TfrmProfileEditor* editor) {
    EXPECT_EQ(editor->EditDescription->GetText(), "disc");
    editor->EditDescription->SetText("changed");
    return 2;
  };
  main.Form->EditProfile(ofVob);
  ResetVobSettings();
  LoadVobProfile(ProfileFilePath(ofVob, "Disc"));
  EXPECT_EQ(VobSettings.Description, "disc");
  EXPECT_EQ(main.EditorRuns, 2);
}
