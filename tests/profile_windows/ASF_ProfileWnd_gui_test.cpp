// The ASF profile editor: a new profile, the lists and sliders as created, load -> show -> save over a
// table of records, the lists against the option builder, the codec pages, Disable audio, the MP3
// range rule, Configure and the even-size rule on both pages, the caption, and the window reached from
// the main window's Add and Edit.
#include "ASF_ProfileWnd.h"

#include <gtest/gtest.h>

#include "VideoEditorTestKit.h"

namespace {

class AsfEditor : public vtk::TVideoEditorTest<ofAsf> {
protected:
  TAudioPageGroup* Mp3() { return form->AudioPage("Mp3"); }
};

}  // namespace

TEST_F(AsfEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "ASF Profile Editor");
  EXPECT_EQ(form->PageControlOptions->GetActivePage(), form->TabSheetGeneral);
  EXPECT_EQ(form->VideoCodec->List->GetText(), "Ms-mpeg4");
  EXPECT_EQ(form->VideoCodec->Pages->GetActivePage()->GetName(), "TabSheetMsmpeg4");
  for (const char* suffix : {"Msmpeg4", "MsMpeg4v2"}) {
    SCOPED_TRACE(suffix);
    TVideoPageGroup& p = *form->VideoPage(suffix);
    EXPECT_TRUE(p.Bitrate.RadioButtonVideoPresert->GetChecked());
    EXPECT_EQ(p.Bitrate.TrackBarVideoBitrate->GetPosition(), 5);
    EXPECT_EQ(p.Bitrate.LabelBitrate->GetCaption(), "768");
    EXPECT_FALSE(p.Bitrate.ButtonVideoBitrateConfigure->GetEnabled());
    EXPECT_TRUE(p.Size->RadioButtonKeepSourceSize->GetChecked());
    EXPECT_EQ(p.Size->EditVideoWidth->GetText(), "640");
    EXPECT_EQ(p.Size->EditVideoHeight->GetText(), "480");
    EXPECT_EQ(p.Size->ComboBoxVideoSize->GetText(), "640x480");
    EXPECT_FALSE(p.Size->EditVideoWidth->GetEnabled());
    EXPECT_TRUE(p.FrameRate.RadioButtonKeepFrameRate->GetChecked());
    EXPECT_EQ(p.FrameRate.ComboBoxVideoFrameRate->GetText(), "25");
    EXPECT_FALSE(p.FrameRate.ComboBoxVideoFrameRate->GetEnabled());
    EXPECT_TRUE(p.Aspect.Buttons[0]->GetChecked());
  }
  // Audio: Auto set not ticked (slider and labels enabled), 22050 Hz within 1..8 at 64, stereo.
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), "TabSheetMp3");
  EXPECT_FALSE(Mp3()->CheckBoxAutoSetAudioBitrate->GetChecked());
  EXPECT_TRUE(Mp3()->TrackBarAudioBitrate->GetEnabled());
  EXPECT_TRUE(Mp3()->LabelAudioBitrate->GetEnabled());
  EXPECT_EQ(Mp3()->ComboBoxSampleRate->GetText(), "22050");
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetMin(), 1);
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetMax(), 8);
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetPosition(), 4);
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "64");
  EXPECT_EQ(Mp3()->ComboBoxAudioChannels->GetText(), "2 (stereo)");
}

TEST_F(AsfEditor, ListsSlidersAndHeadersAsCreated) {
  form = dynamic_cast<TfrmVideoProfileEditor*>(ProfileEditorFactory(ofAsf)(Application));  // not yet shown
  EXPECT_EQ(form->VideoCodec->List->GetItems(), (std::vector<std::string>{"Ms-mpeg4", "Ms-mpeg4v2"}));
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"Mp3"});
  EXPECT_EQ(Mp3()->ComboBoxAudioChannels->GetItems(), (std::vector<std::string>{"1 (mono)", "2 (stereo)"}));
  ASSERT_EQ(form->Video.size(), 2u);
  EXPECT_EQ(form->Video[0]->Header->GetCaption(), "Ms-mpeg4 format properties");
  EXPECT_EQ(form->Video[1]->Header->GetCaption(), "Ms-mpeg4v2 format properties");
  for (TVideoPageGroup* p : form->Video) {
    EXPECT_EQ(p->Bitrate.TrackBarVideoBitrate->GetMax(), 12) << p->Suffix();
    EXPECT_EQ(p->Size->ComboBoxVideoSize->GetItems().size(), 14u);
  }
  EXPECT_EQ(Mp3()->Header->GetCaption(), "Mp3 format properties");
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetMax(), 12);
}

TEST_F(AsfEditor, LoadShowSaveTable) {
  vtk::TFields varied = {{"Description", "Varied"}, {"EnableTimeControl", "1"}, {"Duration", "0:10:00.000"},
                         {"StartTime", "1:00:00"},  {"VideoCodec", "1"},        {"VideoSameQuality", "1"},
                         {"AudioDisableAudio", "1"}, {"AudioBitRateUseAutoSetMp3", "1"},
                         {"AudioBitRatePresetMp3", "32"}, {"AudioSampleRateMp3", "2"}, {"AudioChannelsMp3", "0"}};
  vtk::VaryVideoPages(varied, TfrmAsfProfile::Spec().VideoPages);
  vtk::CheckRoundTrips(
      ofAsf,
      {
          {"defaults", {}, {}},
          {"varied", varied, {}},
          {"hand-edited",
           {{"VideoCodec", "2"},                    {"AudioCodec", "9"},              {"VideoBitRatePresetMsMPEG4", "700"},
            {"VideoBitRatePresetMsMPEG4v2", "9600"}, {"VideoWidthMsMPEG4", "1601"},  {"VideoAspectMsMPEG4v2", "3"},
            {"VideoFrameRateMsMPEG4", "200"},       {"AudioBitRatePresetMp3", "256"}, {"AudioSampleRateMp3", "4"}},
           {{"VideoCodec", "255"},                  {"AudioCodec", "255"},            {"VideoBitRatePresetMsMPEG4", "128"},
            {"VideoBitRatePresetMsMPEG4v2", "128"}, {"VideoWidthMsMPEG4", "1600"},   {"VideoAspectMsMPEG4v2", "0"},
            {"VideoFrameRateMsMPEG4", "255"},       {"AudioSampleRateMp3", "255"}}},
          {"22050 Hz narrows the stored bit rate", {{"AudioBitRatePresetMp3", "320"}}, {{"AudioBitRatePresetMp3", "160"}}},
      });
}

TEST_F(AsfEditor, ListsAgainstTheOptionBuilder) {
  vtk::CheckListsAgainstBuilder(ofAsf, {"-vcodec msmpeg4 ", "-vcodec msmpeg4v2 "}, {"-acodec mp3 "});
}

TEST_F(AsfEditor, CodecPagesKeepTheOtherPagesValues) {
  AsfSettings.VideoBitRatePresetMsMPEG4 = 1500;
  Open();
  vtk::CheckVideoCodecPages(form);
  vtk::Choose(form->VideoCodec->List, 1);
  EXPECT_EQ(form->VideoCodec->Pages->GetActivePage()->GetName(), "TabSheetMsmpeg4v2");
  form->SaveSettings();
  EXPECT_EQ(AsfSettings.VideoCodec, 1);
  EXPECT_EQ(AsfSettings.VideoBitRatePresetMsMPEG4, 1500);
}

TEST_F(AsfEditor, DisableAudioAtOnce) {
  Open();
  form->DisableAudio->CheckBox->SetChecked(true);
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  EXPECT_FALSE(form->AudioCodec->List->GetEnabled());
  EXPECT_FALSE(form->DisableAudio->GroupBoxAudioCodec->GetEnabled());
  form->DisableAudio->CheckBox->SetChecked(false);
  EXPECT_TRUE(form->TabSheetAudio->GetTabVisible());
  EXPECT_TRUE(form->AudioCodec->List->GetEnabled());
  EXPECT_TRUE(form->DisableAudio->GroupBoxAudioCodec->GetEnabled());
}

TEST_F(AsfEditor, SampleRateNarrowsTheAudioSlider) {
  AsfSettings.AudioSampleRateMp3 = 2;
  AsfSettings.AudioBitRatePresetMp3 = 256;
  Open();
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "256");
  vtk::Choose(Mp3()->ComboBoxSampleRate, 0);  // 22050
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetPosition(), 8);
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "160");
  form->SaveSettings();
  EXPECT_EQ(AsfSettings.AudioBitRatePresetMp3, 160);
}

TEST_F(AsfEditor, ConfigureOnBothPages) {
  Open();
  vtk::CheckConfigureOnEveryPage(form, 64, 6000);
  form->SaveSettings();
  EXPECT_EQ(AsfSettings.VideoBitRateSpecifyMsMPEG4v2, 4321);
}

TEST_F(AsfEditor, EvenSizesOnBothPages) {
  Open();
  vtk::CheckEvenSizesOnEveryPage(form);
  form->SaveSettings();
  EXPECT_EQ(AsfSettings.VideoWidthMsMPEG4, 320);
  EXPECT_EQ(AsfSettings.VideoHeightMsMPEG4v2, 240);
}

TEST_F(AsfEditor, CaptionsFollowTheLanguage) {
  IDS_PROFILE_FORM_ProfileEditor = "%s editor";
  IDS_PROFILE_LABEL_ASF = "Asf";
  IDS_PROFILE_PAGECONTROL_Mpeg4v2 = "MS MPEG-4 v2";
  Open();
  EXPECT_EQ(form->GetCaption(), "Asf editor");
  EXPECT_EQ(form->VideoCodec->List->GetItems()[1], "MS MPEG-4 v2");
}

TEST_F(AsfEditor, ReachedFromTheMainWindow) { vtk::CheckMainWindowAddAndEdit(ofAsf, typeid(TfrmAsfProfile)); }
