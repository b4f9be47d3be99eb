// The MOV profile editor: a new profile, the lists and sliders as created, load -> show -> save over a
// table of records, the lists against the option builder, the codec pages, Disable audio, the H.263
// page's fixed sizes and five aspects, the AAC range rule, the AMR page, Configure and the even-size
// rule on every page, the caption, and the window reached from the main window's Add and Edit.
#include "MOV_ProfileWnd.h"

#include <gtest/gtest.h>

#include "VideoEditorTestKit.h"

namespace {

const std::vector<std::string> kEightRates = {"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"};

class MovEditor : public vtk::TVideoEditorTest<ofMov> {
protected:
  TAudioPageGroup* Aac() { return form->AudioPage("AACMp4"); }
  TAudioPageGroup* Amr() { return form->AudioPage("Armnb"); }
  TVideoPageGroup* H263() { return form->VideoPage("H263"); }
};

}  // namespace

TEST_F(MovEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "MOV Profile Editor");
  EXPECT_EQ(form->PageControlOptions->GetActivePage(), form->TabSheetGeneral);
  EXPECT_EQ(form->VideoCodec->List->GetText(), "H264");
  EXPECT_EQ(form->VideoCodec->Pages->GetActivePage()->GetName(), "TabSheetH264");
  for (TVideoPageGroup* p : form->Video) {
    SCOPED_TRACE(p->Suffix());
    EXPECT_EQ(p->Bitrate.LabelBitrate->GetCaption(), "1200");
    EXPECT_EQ(p->Bitrate.TrackBarVideoBitrate->GetPosition(), 8);
    EXPECT_TRUE(p->FrameRate.RadioButtonKeepFrameRate->GetChecked());
    EXPECT_EQ(p->FrameRate.ComboBoxVideoFrameRate->GetText(), "25");
    EXPECT_TRUE(p->Aspect.Buttons[0]->GetChecked());
    if (p->Size) {
      EXPECT_TRUE(p->Size->RadioButtonKeepSourceSize->GetChecked());
      // The XviD block's default size is 480 x 480.
      EXPECT_EQ(p->Size->ComboBoxVideoSize->GetText(), p->Suffix() == "XviD" ? "480x480" : "640x480");
    }
  }
  EXPECT_TRUE(H263()->FixedSize->Buttons[2]->GetChecked());  // 352 x 288
  EXPECT_EQ(form->AudioCodec->List->GetText(), "AAC");
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), "TabSheetAACMp4");
  EXPECT_EQ(Aac()->ComboBoxSampleRate->GetText(), "22050");
  EXPECT_EQ(Aac()->TrackBarAudioBitrate->GetMax(), 8);
  EXPECT_EQ(Aac()->LabelAudioBitrate->GetCaption(), "64");
  EXPECT_EQ(Aac()->ComboBoxAudioChannels->GetText(), "2 (stereo)");
  EXPECT_EQ(Amr()->LabelAudioBitrate->GetCaption(), "8");
}

TEST_F(MovEditor, ListsSlidersAndHeadersAsCreated) {
  form = dynamic_cast<TfrmVideoProfileEditor*>(ProfileEditorFactory(ofMov)(Application));  // not yet shown
  EXPECT_EQ(form->VideoCodec->List->GetItems(), (std::vector<std::string>{"Svq1", "Divx", "Xvid", "H263", "H264"}));
  EXPECT_EQ(form->AudioCodec->List->GetItems(),
            (std::vector<std::string>{"AAC", "ALaw", "AMR Narrow-Band", "WAV (pcm 16 little-endian)",
                                      "WAV (pcm 16 big-endian)"}));
  const char* const videoHeaders[] = {"Svq1", "Divx", "Xvid", "H263", "H264"};
  ASSERT_EQ(form->Video.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(form->Video[i]->Header->GetCaption(), std::string(videoHeaders[i]) + " format properties");
    EXPECT_EQ(form->Video[i]->Bitrate.TrackBarVideoBitrate->GetMax(), 13);
  }
  const char* const audioHeaders[] = {"AAC", "ALaw", "AMR Narrow-Band", "WAV (pcm 16 little-endian)",
                                      "WAV (pcm 16 big-endian)"};
  ASSERT_EQ(form->Audio.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    TAudioPageGroup* a = form->Audio[i];
    SCOPED_TRACE(a->Suffix());
    EXPECT_EQ(a->Header->GetCaption(), std::string(audioHeaders[i]) + " format properties");
    if (a == Amr()) {
      EXPECT_EQ(a->ComboBoxSampleRate->GetItems(), std::vector<std::string>{"8000"});
      EXPECT_EQ(a->ComboBoxAudioChannels->GetItems(), std::vector<std::string>{"1 (mono)"});
    } else {
      EXPECT_EQ(a->ComboBoxSampleRate->GetItems(), kEightRates);
      EXPECT_EQ(a->ComboBoxAudioChannels->GetItems(), (std::vector<std::string>{"1 (mono)", "2 (stereo)"}));
    }
    EXPECT_EQ(a->HasBitrate(), a == Aac() || a == Amr());
  }
  EXPECT_EQ(Aac()->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(Amr()->TrackBarAudioBitrate->GetMax(), 6);
  EXPECT_EQ(H263()->Aspect.Buttons.size(), 5u);
  EXPECT_EQ(H263()->Size, nullptr);
}

TEST_F(MovEditor, LoadShowSaveTable) {
  vtk::TFields varied = {{"Description", "Varied"},  {"EnableTimeControl", "1"}, {"Duration", "0:00:30.500"},
                         {"StartTime", "0:01:00"},   {"VideoCodec", "3"},        {"VideoSameQuality", "1"},
                         {"AudioCodec", "2"},        {"AudioDisableAudio", "1"},
                         {"AudioBitRateUseAutoSetAACMP4", "1"}, {"AudioBitRatePresetAACMP4", "192"},
                         {"AudioSampleRateAACMP4", "5"}, {"AudioChannelsAACMP4", "0"},
                         {"AudioSampleRateAlaw", "7"},   {"AudioChannelsAlaw", "0"},
                         {"AudioBitRateUseAutoSetArmnb", "1"}, {"AudioBitRatePresetArmnb", "12"},
                         {"AudioSampleRatePcm16le", "0"}, {"AudioChannelsPcm16le", "0"},
                         {"AudioSampleRatePcm16be", "6"}, {"AudioChannelsPcm16be", "0"}};
  vtk::VaryVideoPages(varied, TfrmMovProfile::Spec().VideoPages);
  vtk::CheckRoundTrips(
      ofMov,
      {
          {"defaults", {}, {}},
          {"varied", varied, {}},
          {"hand-edited",
           {{"VideoCodec", "5"},               {"AudioCodec", "5"},              {"VideoWidthH263", "320"},
            {"VideoHeightH263", "240"},        {"VideoAspectH263", "5"},         {"VideoAspectSvq1", "3"},
            {"VideoBitRatePresetH263", "100"}, {"VideoWidthDivX", "0"},          {"AudioSampleRateAACMP4", "1"},
            {"AudioBitRatePresetAACMP4", "256"}, {"AudioBitRatePresetArmnb", "7"}, {"AudioChannelsArmnb", "1"},
            {"AudioSampleRateArmnb", "1"},     {"AudioSampleRatePcm16be", "8"}},
           {{"VideoCodec", "255"},             {"AudioCodec", "255"},            {"VideoWidthH263", "352"},
            {"VideoHeightH263", "288"},        {"VideoAspectH263", "0"},         {"VideoAspectSvq1", "0"},
            {"VideoBitRatePresetH263", "128"}, {"VideoWidthDivX", "2"},          {"AudioBitRatePresetAACMP4", "64"},
            {"AudioBitRatePresetArmnb", "11"}, {"AudioChannelsArmnb", "255"},    {"AudioSampleRateArmnb", "255"},
            {"AudioSampleRatePcm16be", "255"}}},
      });
}

TEST_F(MovEditor, ListsAgainstTheOptionBuilder) {
  // AAC is the container's own choice: the builder names no audio codec for it.
  vtk::CheckListsAgainstBuilder(
      ofMov, {"-vcodec svq1 ", "-vcodec msmpeg4 ", "-vcodec xvid ", "-vcodec h263 ", "-vcodec h264 "},
      {"", "-acodec pcm_alaw ", "-acodec amr_nb ", "-acodec pcm_s16le ", "-acodec pcm_s16be "});
}

TEST_F(MovEditor, CodecPages) {
  Open();
  vtk::CheckVideoCodecPages(form);
  const char* const sheets[] = {"TabSheetAACMp4", "TabSheetAlaw", "TabSheetArmnb", "TabSheePcm16le", "TabSheetPcm16be"};
  for (int i = 0; i < 5; ++i) {
    vtk::Choose(form->AudioCodec->List, i);
    EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), sheets[i]);
  }
  EXPECT_EQ(form->AudioCodec->Pages->TabCount(), 0);
}

TEST_F(MovEditor, DisableAudioFromTheRecordAndTheCheckBox) {
  MovSettings.AudioDisableAudio = true;
  Open();
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  EXPECT_FALSE(form->AudioCodec->List->GetEnabled());
  form->DisableAudio->CheckBox->SetChecked(false);
  EXPECT_TRUE(form->TabSheetAudio->GetTabVisible());
  EXPECT_TRUE(form->AudioCodec->List->GetEnabled());
  EXPECT_TRUE(form->DisableAudio->GroupBoxAudioCodec->GetEnabled());
}

TEST_F(MovEditor, H263FixedSizesAndAspects) {
  struct TCase {
    int32_t Width, Height;
    int Button;  // checked after loading
    int32_t SavedWidth, SavedHeight;
  };
  const TCase cases[] = {{128, 96, 0, 128, 96}, {176, 144, 1, 176, 144}, {352, 288, 2, 352, 288},
                         {320, 240, 2, 352, 288}, {176, 96, 2, 352, 288}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(IntToStr(c.Width) + "x" + IntToStr(c.Height));
    ResetMovSettings();
    MovSettings.VideoWidthH263 = c.Width;
    MovSettings.VideoHeightH263 = c.Height;
    Open();
    for (int b = 0; b < 3; ++b) EXPECT_EQ(H263()->FixedSize->Buttons[size_t(b)]->GetChecked(), b == c.Button) << b;
    form->SaveSettings();
    EXPECT_EQ(MovSettings.VideoWidthH263, c.SavedWidth);
    EXPECT_EQ(MovSettings.VideoHeightH263, c.SavedHeight);
  }
  // Aspects: Auto 0, 1:1 1, 4:3 2, 11:9 3, 16:9 4.
  const char* const captions[] = {"Auto", "1:1", "4:3", "11:9", "16:9"};
  for (uint8_t v = 0; v < 5; ++v) {
    ResetMovSettings();
    MovSettings.VideoAspectH263 = v;
    Open();
    EXPECT_EQ(H263()->Aspect.Buttons[v]->GetCaption(), captions[v]);
    EXPECT_TRUE(H263()->Aspect.Buttons[v]->GetChecked());
    H263()->Aspect.Buttons[1]->SetChecked(true);
    form->SaveSettings();
    EXPECT_EQ(MovSettings.VideoAspectH263, 1);
  }
}

TEST_F(MovEditor, SizeListPicksAndTypedSizes) {
  Open();
  vtk::ShowForTyping(form);
  form->PageControlOptions->SetActivePage(dynamic_cast<TTabSheet*>(form->FindComponent("TabSheetVideo")));
  vtk::Choose(form->VideoCodec->List, 1);  // DivX
  TVideoSizeGroup& g = *form->VideoPage("DivX")->Size;
  g.RadioButtonChangVideoSize->SetChecked(true);
  g.EditVideoHeight->SetIntValue(240);
  vtk::TypeAndLeave(g.EditVideoWidth, "319", g.EditVideoHeight);
  EXPECT_EQ(g.EditVideoWidth->GetText(), "320");
  EXPECT_EQ(g.ComboBoxVideoSize->GetText(), "320x240");
  vtk::Choose(g.ComboBoxVideoSize, 12);
  EXPECT_EQ(g.EditVideoWidth->GetText(), "1280");
  EXPECT_EQ(g.EditVideoHeight->GetText(), "720");
  EXPECT_EQ(g.ComboBoxVideoSize->GetText(), "1280x720");
  vtk::Choose(g.ComboBoxVideoSize, 13);  // "..." keeps the fields
  EXPECT_EQ(g.EditVideoWidth->GetText(), "1280");
  EXPECT_EQ(g.EditVideoHeight->GetText(), "720");
}

TEST_F(MovEditor, AacRangeFollowsTheSampleRate) {
  MovSettings.AudioSampleRateAACMP4 = 1;  // 12000
  MovSettings.AudioBitRatePresetAACMP4 = 256;
  Open();
  EXPECT_EQ(Aac()->TrackBarAudioBitrate->GetPosition(), 5);
  EXPECT_EQ(Aac()->LabelAudioBitrate->GetCaption(), "64");
  vtk::Choose(Aac()->ComboBoxSampleRate, 7);  // 48000 widens the range, the slider stays
  EXPECT_EQ(Aac()->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(Aac()->TrackBarAudioBitrate->GetPosition(), 5);
  // Each rate's highest entry.
  const char* const highest[] = {"64", "64", "96", "128", "128", "192", "256", "256"};
  for (int i = 0; i < 8; ++i) {
    vtk::Choose(Aac()->ComboBoxSampleRate, i);
    Aac()->TrackBarAudioBitrate->SetPosition(12);
    EXPECT_EQ(Aac()->LabelAudioBitrate->GetCaption(), highest[i]) << i;
  }
  vtk::Choose(Aac()->ComboBoxSampleRate, 0);
  form->SaveSettings();
  EXPECT_EQ(MovSettings.AudioBitRatePresetAACMP4, 64);
}

TEST_F(MovEditor, AmrPage) {
  struct TCase {
    int32_t Stored;
    int Position;
    const char* Label;
  };
  for (const TCase& c : {TCase{8, 1, "8"}, TCase{7, 4, "11"}, TCase{13, 6, "13"}}) {
    ResetMovSettings();
    MovSettings.AudioBitRatePresetArmnb = c.Stored;
    Open();
    EXPECT_EQ(Amr()->TrackBarAudioBitrate->GetPosition(), c.Position) << c.Stored;
    EXPECT_EQ(Amr()->LabelAudioBitrate->GetCaption(), c.Label) << c.Stored;
  }
  vtk::Choose(form->AudioCodec->List, 2);
  EXPECT_EQ(form->AudioCodec->Pages->GetActivePage()->GetName(), "TabSheetArmnb");
  EXPECT_EQ(Amr()->ComboBoxSampleRate->GetText(), "8000");
  EXPECT_EQ(Amr()->ComboBoxAudioChannels->GetText(), "1 (mono)");
  // No range rule: every entry is reachable.
  for (int p = 1; p <= 6; ++p) {
    Amr()->TrackBarAudioBitrate->SetPosition(p);
    EXPECT_EQ(Amr()->TrackBarAudioBitrate->GetPosition(), p);
  }
}

TEST_F(MovEditor, ConfigureOnEveryPage) {
  Open();
  vtk::CheckConfigureOnEveryPage(form, 64, 9600);
  form->SaveSettings();
  EXPECT_EQ(MovSettings.VideoBitRateSpecifyH263, 4321);
  EXPECT_EQ(MovSettings.VideoBitRateSpecifySvq1, 4321);
}

TEST_F(MovEditor, EvenSizesOnEveryPage) {
  Open();
  vtk::CheckEvenSizesOnEveryPage(form);
  form->SaveSettings();
  EXPECT_EQ(MovSettings.VideoWidthSvq1, 320);
  EXPECT_EQ(MovSettings.VideoHeightH264, 240);
}

TEST_F(MovEditor, CaptionsFollowTheLanguage) {
  IDS_PROFILE_LABEL_MOV = "QuickTime";
  IDS_PROFILE_LABEL_AAC = "Advanced Audio";
  Open();
  EXPECT_EQ(form->GetCaption(), "QuickTime Profile Editor");
  EXPECT_EQ(Aac()->Header->GetCaption(), "Advanced Audio format properties");
  EXPECT_EQ(form->AudioCodec->List->GetItems()[0], "AAC");
}

TEST_F(MovEditor, ReachedFromTheMainWindow) { vtk::CheckMainWindowAddAndEdit(ofMov, typeid(TfrmMovProfile)); }
