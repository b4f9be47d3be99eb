// The WMV profile editor: a new profile, the lists and sliders as created, load -> show -> save over a
// table of records, the lists against the option builder, the codec pages, Disable audio (at once
// and when shown), the MP3 range rule, Configure and the even-size rule on every page, the caption, and
// the window reached from the main window's Add and Edit.
#include "WMV_ProfileWnd.h"

#include <gtest/gtest.h>

#include "VideoEditorTestKit.h"

namespace {

class WmvEditor : public vtk::TVideoEditorTest<ofWmv> {
protected:
  TAudioPageGroup* Mp3() { return form->AudioPage("Mp3"); }
};

const char* const kPages[] = {"Msmpeg4", "MsMpeg4v2", "Wmv7", "Wmv8"};

}  // namespace

TEST_F(WmvEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "WMV Profile Editor");
  EXPECT_EQ(form->PageControlOptions->GetActivePage(), form->TabSheetGeneral);
  EXPECT_EQ(form->VideoCodec->List->GetText(), "WMV8");
  EXPECT_EQ(form->VideoCodec->Pages->GetActivePage()->GetName(), "TabSheetWmv8");
  for (const char* suffix : kPages) {
    SCOPED_TRACE(suffix);
    TVideoPageGroup& p = *form->VideoPage(suffix);
    EXPECT_TRUE(p.Bitrate.RadioButtonVideoPresert->GetChecked());
    EXPECT_EQ(p.Bitrate.TrackBarVideoBitrate->GetPosition(), 5);
    EXPECT_EQ(p.Bitrate.LabelBitrate->GetCaption(), "768");
    EXPECT_TRUE(p.Size->RadioButtonKeepSourceSize->GetChecked());
    EXPECT_EQ(p.Size->EditVideoWidth->GetText(), "640");
    EXPECT_EQ(p.Size->EditVideoHeight->GetText(), "480");
    EXPECT_FALSE(p.Size->EditVideoWidth->GetEnabled());
    EXPECT_FALSE(p.Size->EditVideoHeight->GetEnabled());
    EXPECT_TRUE(p.FrameRate.RadioButtonKeepFrameRate->GetChecked());
    EXPECT_EQ(p.FrameRate.ComboBoxVideoFrameRate->GetText(), "25");
    EXPECT_FALSE(p.FrameRate.ComboBoxVideoFrameRate->GetEnabled());
    EXPECT_TRUE(p.Aspect.Buttons[0]->GetChecked());
  }
  // Audio: Auto set ticked (slider and its labels disabled), 22050 Hz within 1..8 at 64, stereo.
  EXPECT_EQ(form->AudioCodec->List->GetText(), "Mp3");
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), "TabSheetMp3");
  EXPECT_TRUE(Mp3()->CheckBoxAutoSetAudioBitrate->GetChecked());
  EXPECT_FALSE(Mp3()->TrackBarAudioBitrate->GetEnabled());
  EXPECT_FALSE(Mp3()->LabelAudioBitrate->GetEnabled());
  EXPECT_EQ(Mp3()->ComboBoxSampleRate->GetText(), "22050");
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetMin(), 1);
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetMax(), 8);
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetPosition(), 4);
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "64");
  EXPECT_EQ(Mp3()->ComboBoxAudioChannels->GetText(), "2 (stereo)");
  EXPECT_TRUE(form->TabSheetAudio->GetTabVisible());
}

TEST_F(WmvEditor, ListsSlidersAndHeadersAsCreated) {
  form = dynamic_cast<TfrmVideoProfileEditor*>(ProfileEditorFactory(ofWmv)(Application));  // not yet shown
  EXPECT_EQ(form->VideoCodec->List->GetItems(), (std::vector<std::string>{"Ms-mpeg4", "Ms-mpeg4v2", "WMV7", "WMV8"}));
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"Mp3"});
  EXPECT_EQ(Mp3()->ComboBoxAudioChannels->GetItems(), (std::vector<std::string>{"1 (mono)", "2 (stereo)"}));
  EXPECT_EQ(Mp3()->ComboBoxSampleRate->GetItems(), (std::vector<std::string>{"22050", "24000", "44100", "48000"}));
  const char* const headers[] = {"Ms-mpeg4 format properties", "Ms-mpeg4v2 format properties",
                                 "WMV7 format properties", "WMV8 format properties"};
  ASSERT_EQ(form->Video.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    TVideoPageGroup* p = form->Video[i];
    EXPECT_EQ(p->Suffix(), kPages[i]);
    EXPECT_EQ(p->Header->GetCaption(), headers[i]);
    EXPECT_EQ(p->Bitrate.TrackBarVideoBitrate->GetMax(), 12) << p->Suffix();
    EXPECT_EQ(p->Size->ComboBoxVideoSize->GetItems().size(), 14u);
    EXPECT_EQ(p->Size->ComboBoxVideoSize->GetItems().back(), "...");
    EXPECT_EQ(p->FrameRate.ComboBoxVideoFrameRate->GetItems().size(), 13u);
  }
  EXPECT_EQ(Mp3()->Header->GetCaption(), "Mp3 format properties");
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetMax(), 12);
}

TEST_F(WmvEditor, LoadShowSaveTable) {
  vtk::TFields varied = {{"Description", "Varied"}, {"EnableTimeControl", "1"}, {"Duration", "1:00"},
                         {"StartTime", "0:00:05"},  {"VideoCodec", "1"},        {"VideoSameQuality", "1"},
                         {"AudioDisableAudio", "1"}, {"AudioBitRateUseAutoSetMp3", "0"},
                         {"AudioBitRatePresetMp3", "224"}, {"AudioSampleRateMp3", "3"}, {"AudioChannelsMp3", "0"}};
  vtk::VaryVideoPages(varied, TfrmWmvProfile::Spec().VideoPages);
  vtk::CheckRoundTrips(
      ofWmv,
      {
          {"defaults", {}, {}},
          {"varied", varied, {}},
          {"hand-edited",
           {{"VideoCodec", "4"},                   {"AudioCodec", "1"},                {"VideoBitRatePresetWmv7", "700"},
            {"VideoBitRatePresetMsMPEG4", "9600"}, {"VideoWidthWmv8", "2000"},         {"VideoHeightMsMPEG4v2", "1"},
            {"VideoAspectWmv7", "7"},              {"VideoFrameRateWmv8", "13"},       {"VideoBitRateSpecifyWmv8", "99999"},
            {"AudioBitRateUseAutoSetMp3", "0"},    {"AudioBitRatePresetMp3", "320"},   {"AudioSampleRateMp3", "1"},
            {"AudioChannelsMp3", "2"}},
           {{"VideoCodec", "255"},                 {"AudioCodec", "255"},              {"VideoBitRatePresetWmv7", "128"},
            {"VideoBitRatePresetMsMPEG4", "128"},  {"VideoWidthWmv8", "1600"},         {"VideoHeightMsMPEG4v2", "2"},
            {"VideoAspectWmv7", "0"},              {"VideoFrameRateWmv8", "255"},      {"AudioBitRatePresetMp3", "160"},
            {"AudioChannelsMp3", "255"}}},
      });
}

TEST_F(WmvEditor, ListsAgainstTheOptionBuilder) {
  vtk::CheckListsAgainstBuilder(ofWmv, {"-vcodec msmpeg4 ", "-vcodec msmpeg4v2 ", "-vcodec wmv1 ", "-vcodec wmv2 "},
                                {"-acodec mp3 "});
}

TEST_F(WmvEditor, CodecPages) {
  Open();
  vtk::CheckVideoCodecPages(form);
  // A stored codec outside the list leaves no selection and no video page.
  ResetWmvSettings();
  WmvSettings.VideoCodec = 4;
  Open();
  EXPECT_EQ(form->VideoCodec->List->GetItemIndex(), -1);
  EXPECT_EQ(form->VideoCodec->Pages->GetActivePage(), nullptr);
}

// A stored "Disable audio" is applied when the window is shown; a click on the box applies it at once,
// both ways, as in the ASF editor; the audio values survive while audio is off.
TEST_F(WmvEditor, DisableAudioAppliesWhenShownAndAtOnce) {
  WmvSettings.AudioDisableAudio = true;
  WmvSettings.AudioBitRatePresetMp3 = 96;
  Open();
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  EXPECT_FALSE(form->AudioCodec->List->GetEnabled());
  EXPECT_FALSE(form->DisableAudio->GroupBoxAudioCodec->GetEnabled());
  form->DisableAudio->CheckBox->SetChecked(false);
  EXPECT_TRUE(form->TabSheetAudio->GetTabVisible());
  EXPECT_TRUE(form->AudioCodec->List->GetEnabled());
  EXPECT_TRUE(form->DisableAudio->GroupBoxAudioCodec->GetEnabled());
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "96");
  form->DisableAudio->CheckBox->SetChecked(true);
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  EXPECT_FALSE(form->AudioCodec->List->GetEnabled());
  EXPECT_FALSE(form->DisableAudio->GroupBoxAudioCodec->GetEnabled());
  WmvSettings.AudioBitRatePresetMp3 = 0;
  form->SaveSettings();
  EXPECT_TRUE(WmvSettings.AudioDisableAudio);
  EXPECT_EQ(WmvSettings.AudioBitRatePresetMp3, 96);
}

TEST_F(WmvEditor, SampleRateNarrowsTheAudioSlider) {
  WmvSettings.AudioBitRateUseAutoSetMp3 = false;
  WmvSettings.AudioSampleRateMp3 = 3;
  WmvSettings.AudioBitRatePresetMp3 = 320;
  Open();
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "320");
  vtk::Choose(Mp3()->ComboBoxSampleRate, 1);  // 24000
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetPosition(), 8);
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "160");
  vtk::Choose(Mp3()->ComboBoxSampleRate, 3);  // 48000 again
  EXPECT_EQ(Mp3()->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(Mp3()->LabelAudioBitrate->GetCaption(), "160");
  form->SaveSettings();
  EXPECT_EQ(WmvSettings.AudioBitRatePresetMp3, 160);
}

TEST_F(WmvEditor, ConfigureOnEveryPage) {
  Open();
  vtk::CheckConfigureOnEveryPage(form, 64, 6000);
  form->SaveSettings();
  EXPECT_EQ(WmvSettings.VideoBitRateSpecifyWmv7, 4321);
  EXPECT_FALSE(WmvSettings.VideoBitRateUsePresertMsMPEG4);
}

TEST_F(WmvEditor, EvenSizesOnEveryPage) {
  Open();
  vtk::CheckEvenSizesOnEveryPage(form);
  form->SaveSettings();
  EXPECT_EQ(WmvSettings.VideoWidthWmv8, 320);
  EXPECT_EQ(WmvSettings.VideoHeightWmv8, 240);
  EXPECT_FALSE(WmvSettings.VideoSizeUseSourceWmv8);
}

TEST_F(WmvEditor, CaptionsFollowTheLanguage) {
  IDS_PROFILE_FORM_ProfileEditor = "Editor: %s";
  IDS_PROFILE_LABEL_WMV = "Wmv";
  IDS_PROFILE_GROUPBOX_WMV7 = "Windows Media 7";
  Open();
  EXPECT_EQ(form->GetCaption(), "Editor: Wmv");
  EXPECT_EQ(form->VideoCodec->List->GetItems()[2], "Windows Media 7");
  EXPECT_EQ(form->VideoPage("Wmv7")->Header->GetCaption(), "Windows Media 7 format properties");
}

TEST_F(WmvEditor, ReachedFromTheMainWindow) { vtk::CheckMainWindowAddAndEdit(ofWmv, typeid(TfrmWmvProfile)); }
