// The MP4 profile editor: a new profile, the lists and sliders as created, the device type choosing the
// audio page, load -> show -> save over a table of records (the never shown DivX and XviD pages
// included), the lists against the option builder, the size list of device sizes with its language
// texts, the AAC range rule, Configure and the even-size rule, and the window reached from the main
// window's Add and Edit.
#include "MP4_ProfileWnd.h"

#include <gtest/gtest.h>

#include "VideoEditorTestKit.h"

namespace {

class Mp4Editor : public vtk::TVideoEditorTest<ofMP4, TfrmMp4Profile> {
protected:
  TComboBox* Type() { return form->Mp4Format->ComboBoxMp4Format; }
  TAudioPageGroup* Aac() { return form->AudioPage("AACMp4"); }
  TAudioPageGroup* Psp() { return form->AudioPage("AACPsp"); }
  std::string AudioSheet() { return form->AudioCodec->Pages->GetActivePage()->GetName(); }
};

// The builder reads the AAC block of the page the device type shows.
void ShowAudioPageByType(TfrmVideoProfileEditor* form, int page) {
  vtk::Choose(dynamic_cast<TfrmMp4Profile*>(form)->Mp4Format->ComboBoxMp4Format, page == 1 ? 1 : 3);
}

}  // namespace

TEST_F(Mp4Editor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "Mp4 Profile Editor");
  EXPECT_EQ(form->PageControlOptions->GetActivePage(), form->TabSheetGeneral);
  EXPECT_EQ(Type()->GetText(), "Mp4");
  EXPECT_EQ(form->VideoCodec->List->GetText(), "H264");
  EXPECT_EQ(form->VideoCodec->Pages->GetActivePage()->GetName(), "TabSheetH264");
  for (TVideoPageGroup* p : form->Video) {
    SCOPED_TRACE(p->Suffix());
    EXPECT_EQ(p->Bitrate.LabelBitrate->GetCaption(), "1200");
    EXPECT_TRUE(p->Size->RadioButtonChangVideoSize->GetChecked());
    EXPECT_TRUE(p->Size->EditVideoWidth->GetEnabled());
    EXPECT_EQ(p->Size->ComboBoxVideoSize->GetText(), "320x240 (Apple iPod)");
    EXPECT_EQ(p->FrameRate.ComboBoxVideoFrameRate->GetText(), "25");
  }
  EXPECT_EQ(form->AudioCodec->List->GetText(), "AAC");
  EXPECT_EQ(AudioSheet(), "TabSheetAACMp4");
  EXPECT_EQ(Aac()->ComboBoxSampleRate->GetText(), "22050");
  EXPECT_EQ(Aac()->LabelAudioBitrate->GetCaption(), "64");
  EXPECT_EQ(Psp()->ComboBoxSampleRate->GetText(), "48000");
  EXPECT_EQ(Psp()->LabelAudioBitrate->GetCaption(), "64");
}

TEST_F(Mp4Editor, ListsSlidersAndHeadersAsCreated) {
  form = dynamic_cast<TfrmMp4Profile*>(ProfileEditorFactory(ofMP4)(Application));  // not yet shown
  EXPECT_EQ(Type()->GetItems(), (std::vector<std::string>{"Apple iPod", "Sony PSP", "Mobile Movie", "Mp4"}));
  EXPECT_EQ(form->Mp4Format->GroupBoxFormats->GetCaption(), "Type");
  EXPECT_EQ(form->VideoCodec->List->GetItems(), std::vector<std::string>{"H264"});
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"AAC"});
  const std::vector<std::string> sizes = {"176x120", "176x144 (Mobile Movie)", "240x176", "320x176",
                                          "320x240 (Apple iPod)", "368x208 (PSP Full Screen)", "384x160",
                                          "400x192", "416x176", "480x160", "480x272", "..."};
  const char* const headers[] = {"H264 format properties", "Divx format properties", "Xvid format properties"};
  ASSERT_EQ(form->Video.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    TVideoPageGroup* p = form->Video[i];
    EXPECT_EQ(p->Header->GetCaption(), headers[i]);
    EXPECT_EQ(p->Size->ComboBoxVideoSize->GetItems(), sizes) << p->Suffix();
    EXPECT_EQ(p->Bitrate.TrackBarVideoBitrate->GetMax(), 13);
    EXPECT_EQ(p->FrameRate.ComboBoxVideoFrameRate->GetItems().size(), 13u);
  }
  EXPECT_EQ(Aac()->Header->GetCaption(), "AAC format properties");
  EXPECT_EQ(Psp()->Header->GetCaption(), "AAC format properties");
  EXPECT_EQ(Aac()->ComboBoxSampleRate->GetItems(),
            (std::vector<std::string>{"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"}));
  EXPECT_EQ(Psp()->ComboBoxSampleRate->GetItems(), std::vector<std::string>{"48000"});
  for (TAudioPageGroup* a : form->Audio) {
    EXPECT_EQ(a->ComboBoxAudioChannels->GetItems(), (std::vector<std::string>{"1 (mono)", "2 (stereo)"}));
    EXPECT_EQ(a->TrackBarAudioBitrate->GetMax(), 12);
  }
}

TEST_F(Mp4Editor, TheTypeChoosesTheAudioPage) {
  struct TCase {
    uint8_t Stored;
    const char* Sheet;
  };
  for (const TCase& c : {TCase{0, "TabSheetAACMp4"}, TCase{1, "TabSheetAACPsp"}, TCase{2, "TabSheetAACMp4"},
                         TCase{3, "TabSheetAACMp4"}, TCase{9, "TabSheetAACMp4"}}) {
    ResetMP4Settings();
    MP4Settings.Format = c.Stored;
    Open();
    EXPECT_EQ(AudioSheet(), c.Sheet) << int(c.Stored);
  }
  // Chosen by the user, and not by the audio codec list.
  for (int type : {1, 2, 1, 0}) {
    vtk::Choose(Type(), type);
    EXPECT_EQ(AudioSheet(), type == 1 ? "TabSheetAACPsp" : "TabSheetAACMp4") << type;
    vtk::Choose(form->AudioCodec->List, 0);
    EXPECT_EQ(AudioSheet(), type == 1 ? "TabSheetAACPsp" : "TabSheetAACMp4") << type;
  }
  EXPECT_EQ(form->AudioCodec->Pages->TabCount(), 0);
  // The PSP page: one rate, the whole table.
  vtk::Choose(Type(), 1);
  EXPECT_EQ(Psp()->TrackBarAudioBitrate->GetMin(), 1);
  EXPECT_EQ(Psp()->TrackBarAudioBitrate->GetMax(), 12);
  Psp()->TrackBarAudioBitrate->SetPosition(12);
  EXPECT_EQ(Psp()->LabelAudioBitrate->GetCaption(), "256");
  Psp()->TrackBarAudioBitrate->SetPosition(1);
  EXPECT_EQ(Psp()->LabelAudioBitrate->GetCaption(), "24");
  // Both pages are saved whichever is shown.
  Aac()->TrackBarAudioBitrate->SetPosition(2);
  form->SaveSettings();
  EXPECT_EQ(MP4Settings.Format, 1);
  EXPECT_EQ(MP4Settings.AudioBitRatePresetAACPsp, 24);
  EXPECT_EQ(MP4Settings.AudioBitRatePresetAACMP4, 32);
}

TEST_F(Mp4Editor, LoadShowSaveTable) {
  vtk::TFields varied = {{"Description", "Varied"}, {"Format", "2"},           {"EnableTimeControl", "1"},
                         {"Duration", "0:00:45"},   {"StartTime", "0:00:15"},  {"VideoSameQuality", "1"},
                         {"AudioDisableAudio", "1"},
                         {"AudioBitRateUseAutoSetAACMP4", "1"}, {"AudioBitRatePresetAACMP4", "112"},
                         {"AudioSampleRateAACMP4", "6"},        {"AudioChannelsAACMP4", "0"},
                         {"AudioBitRateUseAutoSetAACPsp", "1"}, {"AudioBitRatePresetAACPsp", "224"},
                         {"AudioChannelsAACPsp", "0"}};
  vtk::VaryVideoPages(varied, TfrmMp4Profile::Spec().VideoPages);
  vtk::CheckRoundTrips(
      ofMP4,
      {
          {"defaults", {}, {}},
          {"varied", varied, {}},
          {"sony psp", {{"Format", "1"}, {"AudioBitRatePresetAACPsp", "256"}}, {}},
          {"hand-edited",
           {{"Format", "4"},                       {"VideoCodec", "1"},                {"AudioCodec", "3"},
            {"VideoBitRatePresetXviD", "100"},     {"VideoBitRatePresetDivX", "1000"}, {"VideoWidthH264", "1700"},
            {"VideoAspectDivX", "3"},              {"AudioSampleRateAACMP4", "0"},     {"AudioBitRatePresetAACMP4", "256"},
            {"AudioBitRatePresetAACPsp", "100"},   {"AudioSampleRateAACPsp", "1"}},
           {{"Format", "255"},                     {"VideoCodec", "255"},              {"AudioCodec", "255"},
            {"VideoBitRatePresetXviD", "128"},     {"VideoBitRatePresetDivX", "128"},  {"VideoWidthH264", "1600"},
            {"VideoAspectDivX", "0"},              {"AudioBitRatePresetAACMP4", "64"}, {"AudioBitRatePresetAACPsp", "56"},
            {"AudioSampleRateAACPsp", "255"}}},
      });
}

TEST_F(Mp4Editor, ListsAgainstTheOptionBuilder) {
  vtk::CheckListsAgainstBuilder(ofMP4, {"-vcodec h264 "}, {"-acodec aac "}, &ShowAudioPageByType);
  // The device types and their containers.
  TempDir dir;
  Open();
  const char* const containers[] = {"-f mp4 ", "-f psp ", "-f mp4 ", "-f mp4 "};
  for (int i = 0; i < 4; ++i) {
    vtk::Choose(Type(), i);
    form->SaveSettings();
    EXPECT_TRUE(vtk::Contains(vtk::BuildFromRecord(ofMP4, dir), containers[i])) << Type()->GetText();
  }
}

TEST_F(Mp4Editor, SizeListOfDeviceSizes) {
  struct TCase {
    int32_t Width, Height;
    const char* Item;
  };
  const TCase cases[] = {{320, 176, "320x176"},
                         {320, 240, "320x240 (Apple iPod)"},
                         {368, 208, "368x208 (PSP Full Screen)"},
                         {176, 144, "176x144 (Mobile Movie)"},
                         {480, 272, "480x272"},
                         {640, 480, "..."},
                         {176, 121, "..."}};
  for (const TCase& c : cases) {
    ResetMP4Settings();
    MP4Settings.VideoWidthXviD = c.Width;
    MP4Settings.VideoHeightXviD = c.Height;
    Open();
    EXPECT_EQ(form->VideoPage("XviD")->Size->ComboBoxVideoSize->GetText(), c.Item) << c.Width << "x" << c.Height;
  }
  // Each item writes its size; "..." leaves the fields.
  TVideoSizeGroup& g = *form->VideoPage("H264")->Size;
  const std::vector<TVideoSize>& sizes = TfrmMp4Profile::Spec().Sizes;
  for (int i = 0; i < int(sizes.size()); ++i) {
    vtk::Choose(g.ComboBoxVideoSize, i);
    EXPECT_EQ(g.EditVideoWidth->GetIntValue(), sizes[size_t(i)].Width);
    EXPECT_EQ(g.EditVideoHeight->GetIntValue(), sizes[size_t(i)].Height);
    EXPECT_EQ(g.ComboBoxVideoSize->GetItemIndex(), i);
  }
  vtk::Choose(g.ComboBoxVideoSize, int(sizes.size()));
  EXPECT_EQ(g.EditVideoWidth->GetIntValue(), sizes.back().Width);
  EXPECT_EQ(g.ComboBoxVideoSize->GetText(), "...");
}

TEST_F(Mp4Editor, DeviceNamesFollowTheLanguage) {
  IDS_PROFILE_CHECKBOX_MobileMovie = "Phone";
  IDS_PROFILE_CHECKBOX_Mp4 = "MPEG-4";
  IDS_PROFILE_GROUPBOX_Type_FullScreen = "PSP wide";
  Open();
  EXPECT_EQ(form->GetCaption(), "MPEG-4 Profile Editor");
  EXPECT_EQ(Type()->GetItems()[2], "Phone");
  EXPECT_EQ(Type()->GetItems()[3], "MPEG-4");
  for (TVideoPageGroup* p : form->Video) {
    EXPECT_EQ(p->Size->ComboBoxVideoSize->GetItems()[1], "176x144 (Phone)");
    EXPECT_EQ(p->Size->ComboBoxVideoSize->GetItems()[5], "368x208 (PSP wide)");
  }
}

TEST_F(Mp4Editor, AacRangeFollowsTheSampleRate) {
  MP4Settings.AudioSampleRateAACMP4 = 0;  // 11025
  MP4Settings.AudioBitRatePresetAACMP4 = 256;
  Open();
  EXPECT_EQ(Aac()->TrackBarAudioBitrate->GetPosition(), 5);
  EXPECT_EQ(Aac()->LabelAudioBitrate->GetCaption(), "64");
  const int maxima[] = {5, 5, 6, 8, 8, 10, 12, 12};
  for (int i = 7; i >= 0; --i) {
    vtk::Choose(Aac()->ComboBoxSampleRate, i);
    EXPECT_EQ(Aac()->TrackBarAudioBitrate->GetMax(), maxima[i]) << i;
  }
  form->SaveSettings();
  EXPECT_EQ(MP4Settings.AudioBitRatePresetAACMP4, 64);
}

TEST_F(Mp4Editor, ConfigureAndEvenSizes) {
  Open();
  vtk::CheckConfigureOnEveryPage(form, 64, 9600);
  vtk::CheckEvenSizesOnEveryPage(form);  // the list reaches the H.264 page only
  form->SaveSettings();
  EXPECT_EQ(MP4Settings.VideoBitRateSpecifyDivX, 4321);
  EXPECT_EQ(MP4Settings.VideoWidthH264, 176);
  EXPECT_EQ(MP4Settings.VideoHeightH264, 120);
}

TEST_F(Mp4Editor, DisableAudio) {
  MP4Settings.AudioDisableAudio = true;
  Open();
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  EXPECT_FALSE(form->AudioCodec->List->GetEnabled());
  form->DisableAudio->CheckBox->SetChecked(false);
  EXPECT_TRUE(form->TabSheetAudio->GetTabVisible());
  EXPECT_TRUE(form->AudioCodec->List->GetEnabled());
}

TEST_F(Mp4Editor, ReachedFromTheMainWindow) { vtk::CheckMainWindowAddAndEdit(ofMP4, typeid(TfrmMp4Profile)); }
