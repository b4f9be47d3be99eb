// The RM profile editor: a new profile, load -> show -> save over a table of records, the size list
// without 1280x720, the unit labels named the other way round, the AC3 page's rules, the lists against
// the option builder, and the window reached through the main window's Add and Edit.
#include "RM_ProfileWnd.h"

#include <gtest/gtest.h>

#include "EditorTexts.h"
#include "RecordRoundTrip.h"
#include "VideoEditorTestKit.h"
#include "Settings.h"

namespace {

class RmEditor : public vtk::TVideoEditorTest<ofRm, TfrmRMProfile> {
protected:
  void Pick(TComboBox* list, int index) {
    list->SetItemIndex(index);
    list->OnChange(list);
  }
};

}  // namespace

TEST_F(RmEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "RM Profile Editor");
  EXPECT_EQ(form->VideoCodec->List->GetText(), "Real Video 7");
  EXPECT_EQ(form->AudioCodec->List->GetText(), "AC3");
  TVideoPageGroup& v = *form->VideoPage("Rm10");
  EXPECT_EQ(v.Header->GetCaption(), "Real Video 7 format properties");
  EXPECT_EQ(v.Bitrate.LabelBitrate->GetCaption(), "768");
  EXPECT_EQ(v.Size->ComboBoxVideoSize->GetText(), "320x240");
  EXPECT_EQ(v.Size->ComboBoxVideoSize->GetItems().size(), 13u);
  EXPECT_EQ(v.Size->ComboBoxVideoSize->GetItems().back(), "...");
  EXPECT_EQ(form->AudioPage("AC3")->TrackBarAudioBitrate->GetMax(), 14);
  EXPECT_EQ(form->AudioPage("AC3")->LabelAudioBitrate->GetCaption(), "256");
}

// LabelKbpsRm10 stands beside the preset value and follows Preset Quality; LabelKbps2Rm10 beside the
// specified value and follows Specify Settings.
TEST_F(RmEditor, UnitLabelsFollowTheirValues) {
  Open();
  TVideoBitrateGroup& b = form->VideoPage("Rm10")->Bitrate;
  auto* kbps = dynamic_cast<TLabel*>(form->FindComponent("LabelKbpsRm10"));
  auto* kbps2 = dynamic_cast<TLabel*>(form->FindComponent("LabelKbps2Rm10"));
  ASSERT_TRUE(kbps && kbps2);
  EXPECT_EQ(kbps->GetTop(), b.LabelBitrate->GetTop());
  EXPECT_EQ(kbps2->GetTop(), b.LabelBitrateSpecify->GetTop());
  for (bool preset : {false, true}) {
    (preset ? b.RadioButtonVideoPresert : b.RadioButtonVideoSpecify)->SetChecked(true);
    EXPECT_EQ(kbps->GetEnabled(), preset);
    EXPECT_EQ(kbps2->GetEnabled(), !preset);
  }
}

TEST_F(RmEditor, LoadShowSaveTable) {
  const rrt::TRoundTrip cases[] = {
      {"defaults", {}, {}},
      {"varied",
       {{"Description", "stream"}, {"EnableTimeControl", "1"}, {"StartTime", "1:02:03.004"}, {"Duration", "7"},
        {"VideoSameQuality", "1"}, {"AudioDisableAudio", "1"}, {"VideoBitRateUsePresertRm10", "0"},
        {"VideoBitRatePresetRm10", "9600"}, {"VideoBitRateSpecifyRm10", "333"}, {"VideoSizeUseSourceRm10", "0"},
        {"VideoWidthRm10", "480"}, {"VideoHeightRm10", "576"}, {"VideoKeepFrameRateRm10", "0"},
        {"VideoFrameRateRm10", "12"}, {"VideoAspectRm10", "1"}, {"AudioBitRateUseAutoSetAC3", "1"},
        {"AudioBitRatePresetAC3", "448"}, {"AudioSampleRateAC3", "2"}, {"AudioChannelsAC3", "0"}},
       {}},
      {"hand-edited",
       {{"VideoCodec", "1"}, {"AudioCodec", "3"}, {"VideoBitRatePresetRm10", "1000"}, {"AudioBitRatePresetAC3", "32"},
        {"AudioSampleRateAC3", "2"}, {"VideoWidthRm10", "1281"}, {"VideoFrameRateRm10", "13"}},
       {{"VideoCodec", "255"}, {"AudioCodec", "255"}, {"VideoBitRatePresetRm10", "128"}, {"AudioBitRatePresetAC3", "48"},
        {"VideoFrameRateRm10", "255"}}},
      {"preset not in the table", {{"AudioBitRatePresetAC3", "80"}}, {{"AudioBitRatePresetAC3", "64"}}},
      {"six channels", {{"AudioChannelsAC3", "2"}, {"AudioSampleRateAC3", "0"}, {"AudioBitRatePresetAC3", "32"}},
       {{"AudioBitRatePresetAC3", "112"}}},
  };
  for (const rrt::TRoundTrip& c : cases) rrt::CheckRoundTrip(ofRm, c);
}

TEST_F(RmEditor, SizeListAndSixChannels) {
  struct TCase {
    int Width, Height;
    const char* Shown;
  };
  for (const TCase& c : {TCase{480, 576, "480x576"}, TCase{1280, 720, "..."}, TCase{720, 576, "720x576"}}) {
    RmSettings.VideoWidthRm10 = c.Width;
    RmSettings.VideoHeightRm10 = c.Height;
    Open();
    EXPECT_EQ(form->VideoPage("Rm10")->Size->ComboBoxVideoSize->GetText(), c.Shown);
  }
  RmSettings.AudioChannelsAC3 = 2;
  RmSettings.AudioSampleRateAC3 = 0;
  RmSettings.AudioBitRatePresetAC3 = 448;
  Open();
  TAudioPageGroup& ac3 = *form->AudioPage("AC3");
  EXPECT_GT(rrt::ZOrder(ac3.GroupBoxSampleRate6Channels), rrt::ZOrder(ac3.GroupBoxSampleRate));
  EXPECT_EQ(ac3.TrackBarAudioBitrate->GetMin(), 6);
  EXPECT_EQ(ac3.TrackBarAudioBitrate->GetMax(), 14);
  Pick(ac3.ComboBoxAudioChannels, 1);  // 22050 Hz: 32..320
  EXPECT_EQ(ac3.TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(ac3.LabelAudioBitrate->GetCaption(), "320");
}

TEST_F(RmEditor, ListsAgreeWithTheOptionBuilder) {
  form = new TfrmRMProfile(Application);
  using namespace rrt;
  ExpectListAgreesWithBuilder(ofRm, form->VideoCodec->List->GetItems(), "VideoCodec", {}, CodecFragment);
  ExpectListAgreesWithBuilder(ofRm, form->AudioCodec->List->GetItems(), "AudioCodec", {}, CodecFragment);
  ExpectListAgreesWithBuilder(ofRm, form->VideoPage("Rm10")->FrameRate.ComboBoxVideoFrameRate->GetItems(), "VideoFrameRateRm10",
                              {{"VideoKeepFrameRateRm10", "0"}}, FrameRateFragment);
  ExpectListAgreesWithBuilder(ofRm, form->AudioPage("AC3")->ComboBoxSampleRate->GetItems(), "AudioSampleRateAC3",
                              {{"AudioChannelsAC3", "1"}}, SampleRateFragment);
  ExpectListAgreesWithBuilder(ofRm, form->AudioPage("AC3")->ComboBoxAudioChannels->GetItems(), "AudioChannelsAC3", {},
                              ChannelsFragment);
}

TEST_F(RmEditor, FactoryRowAndTheMainWindow) {
  ASSERT_NE(ProfileEditorFactory(ofRm), nullptr);
  rrt::TMainWindowDriver main;
  main.OnEditor = [](TfrmProfileEditor* editor) {
    auto* rm = dynamic_cast<TfrmRMProfile*>(editor);
    if (!rm) return 2;
    rm->EditDescription->SetText("real");
    return 1;
  };
  main.Name = "Real";
  main.Form->AddNewProfile(ofRm);
  main.OnEditor = [](TfrmProfileEditor* editor) {
    EXPECT_EQ(editor->EditDescription->GetText(), "real");
    editor->EditDescription->SetText("edited");
    return 1;
  };
  main.Form->EditProfile(ofRm);
  ResetRmSettings();
  LoadRmProfile(ProfileFilePath(ofRm, "Real"));
  EXPECT_EQ(RmSettings.Description, "edited");
  EXPECT_EQ(main.EditorRuns, 2);
}
