// The 3GP profile editor: a new profile, load -> show -> save over a table of records, the Type and the
// two families' codec lists with the pages they show, the fixed H.263 sizes and aspects, the sliders that
// stop at the tenth entry, Disable audio over both families, the lists against the option builder, and
// the window reached through the main window's Add and Edit.
#include "TGP_ProfileWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestKit.h"
#include "EditorTexts.h"
#include "ModalScript.h"
#include "ProfileEditors.h"
#include "RecordRoundTrip.h"
#include "Settings.h"
#include "VideoEditorTestKit.h"

namespace {

using rrt::TFields;

using rrt::ZOrder;

std::string CheckedCaption(const std::vector<TRadioButton*>& buttons) {
  std::string caption;
  for (TRadioButton* b : buttons)
    if (b->GetChecked()) caption += b->GetCaption();
  return caption;
}

int32_t gMin = 0, gMax = 0;
int32_t RecordBounds(TCustomForm*, const std::string&, const std::string&, int32_t min, int32_t max, int32_t def) {
  gMin = min;
  gMax = max;
  return def;
}

class TgpEditor : public vtk::TVideoEditorTest<ofTGP, TfrmTGPProfile> {
protected:
  void TearDown() override {
    SetEditorInputInteger(nullptr);
    TVideoEditorTest::TearDown();
  }
  TComboBox* List(size_t row) { return form->Codecs->CodecLists[row]; }
  TGroupBox* Box(size_t row) { return form->Codecs->GroupBoxes[row]; }
  std::string VideoSheet() { return form->Codecs->PageControlVCodec->GetActivePage()->GetName(); }
  std::string AudioSheet() { return form->Codecs->PageControlACodec->GetActivePage()->GetName(); }
  // True when the given family's boxes (0 Nokia, 1 Sony) are in front of the other's.
  bool FamilyInFront(int family) {
    const size_t video = family == 0 ? 0 : 1, otherVideo = 1 - video;
    const size_t audio = family == 0 ? 2 : 3, otherAudio = 5 - audio;
    return ZOrder(Box(video)) > ZOrder(Box(otherVideo)) && ZOrder(Box(audio)) > ZOrder(Box(otherAudio));
  }
  void Pick(TComboBox* list, int index) {
    list->SetItemIndex(index);
    list->OnChange(list);
  }
};

enum { kVideoNokia, kVideoSony, kAudioNokia, kAudioSony };

}  // namespace

TEST_F(TgpEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "3GP Profile Editor");
  EXPECT_EQ(form->Codecs->ComboBox3GPFormat->GetText(), "3gp (Nokia/NEC/Siemens)");
  EXPECT_TRUE(FamilyInFront(0));
  EXPECT_EQ(List(kVideoNokia)->GetText(), "H263");
  EXPECT_EQ(List(kAudioNokia)->GetText(), "AMR Narrow-Band");
  EXPECT_EQ(VideoSheet(), "TabSheetH263");
  EXPECT_EQ(AudioSheet(), "TabSheetArmnb");
  EXPECT_EQ(form->PageControlOptions->GetActivePage(), form->TabSheetGeneral);
  // The default presets 144 (DivX, H.263) and 96 (XviD) are no table entries: the sliders show 128.
  for (TVideoPageGroup* page : form->Video) {
    EXPECT_EQ(page->Bitrate.TrackBarVideoBitrate->GetPosition(), 2) << page->Suffix();
    EXPECT_EQ(page->Bitrate.LabelBitrate->GetCaption(), "128") << page->Suffix();
  }
  EXPECT_EQ(form->VideoPage("XviD")->Bitrate.LabelBitrateSpecify->GetCaption(), "96");
  TVideoPageGroup& h263 = *form->VideoPage("H263");
  EXPECT_TRUE(h263.FixedSize->Buttons[1]->GetChecked());  // 176 x 144
  EXPECT_EQ(h263.FrameRate.ComboBoxVideoFrameRate->GetText(), "12");
  TVideoPageGroup& divx = *form->VideoPage("DivX");
  EXPECT_TRUE(divx.Size->RadioButtonChangVideoSize->GetChecked());
  EXPECT_EQ(divx.Size->ComboBoxVideoSize->GetText(), "176x144");
  EXPECT_TRUE(divx.Size->ComboBoxVideoSize->GetEnabled());
  EXPECT_EQ(form->AudioPage("Armnb")->LabelAudioBitrate->GetCaption(), "13");
  EXPECT_EQ(form->AudioPage("Armnb")->ComboBoxSampleRate->GetText(), "8000");
  EXPECT_EQ(form->AudioPage("AACMp4")->LabelAudioBitrate->GetCaption(), "56");
  EXPECT_EQ(form->AudioPage("AACMp4")->TrackBarAudioBitrate->GetMax(), 8);  // 22050 Hz
  form->SaveSettings();
  EXPECT_EQ(TGPSettings.VideoBitRatePresetDivX, 128);
  EXPECT_EQ(TGPSettings.VideoBitRatePresetXviD, 128);
  EXPECT_EQ(TGPSettings.VideoBitRatePresetH263, 128);
}

TEST_F(TgpEditor, SlidersListsAndCaptionsAsCreated) {
  form = new TfrmTGPProfile(Application);
  ASSERT_EQ(form->Video.size(), 3u);
  for (TVideoPageGroup* page : form->Video) {
    EXPECT_EQ(page->Bitrate.TrackBarVideoBitrate->GetMin(), 1);
    EXPECT_EQ(page->Bitrate.TrackBarVideoBitrate->GetMax(), 10) << page->Suffix();
  }
  EXPECT_EQ(form->AudioPage("AACMp4")->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(form->AudioPage("Armnb")->TrackBarAudioBitrate->GetMax(), 6);
  EXPECT_EQ(form->AudioPage("Armwb")->TrackBarAudioBitrate->GetMax(), 7);
  using TItems = std::vector<std::string>;
  EXPECT_EQ(form->Codecs->ComboBox3GPFormat->GetItems(),
            (TItems{"3gp (Nokia/NEC/Siemens)", "3gp (Sony Ericsson)", "3gp2 (Sony Ericsson)"}));
  EXPECT_EQ(List(kVideoNokia)->GetItems(), (TItems{"H263", "Divx"}));
  EXPECT_EQ(List(kVideoSony)->GetItems(), (TItems{"Divx", "Xvid"}));
  EXPECT_EQ(List(kAudioNokia)->GetItems(), (TItems{"AMR Narrow-Band", "AMR Narrow-Wide", "AAC"}));
  EXPECT_EQ(List(kAudioSony)->GetItems(), (TItems{"AAC"}));
  for (const char* page : {"DivX", "XviD"})
    EXPECT_EQ(form->VideoPage(page)->Size->ComboBoxVideoSize->GetItems(),
              (TItems{"128x96", "176x144", "220x176", "240x192", "320x240", "352x288", "..."}));
  EXPECT_EQ(form->AudioPage("AACMp4")->ComboBoxSampleRate->GetItems(),
            (TItems{"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"}));
  EXPECT_EQ(form->AudioPage("Armnb")->ComboBoxSampleRate->GetItems(), TItems{"8000"});
  EXPECT_EQ(form->AudioPage("Armwb")->ComboBoxSampleRate->GetItems(), TItems{"16000"});
  for (TAudioPageGroup* page : {form->AudioPage("Armnb"), form->AudioPage("Armwb"), form->AudioPage("AACMp4")})
    EXPECT_EQ(page->ComboBoxAudioChannels->GetItems(), (TItems{"1 (mono)", "2 (stereo)"}));
  // Pages in page order: DivX, XviD, H.263; AMR-NB, AMR-WB, AAC.
  const char* const video[] = {"TabSheetDivX", "TabSheetXviD", "TabSheetH263"};
  const char* const audio[] = {"TabSheetArmnb", "TabSheetArmwb", "TabSheetAAC"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(form->Codecs->PageControlVCodec->Pages(i)->GetName(), video[i]);
    EXPECT_EQ(form->Codecs->PageControlACodec->Pages(i)->GetName(), audio[i]);
  }
  EXPECT_EQ(form->VideoPage("DivX")->Header->GetCaption(), "Divx format properties");
  EXPECT_EQ(form->VideoPage("H263")->Header->GetCaption(), "H263 format properties");
  EXPECT_EQ(form->AudioPage("Armwb")->Header->GetCaption(), "AMR Narrow-Wide format properties");
  EXPECT_EQ(form->AudioPage("AACMp4")->Header->GetCaption(), "AAC format properties");
  EXPECT_EQ(form->Codecs->GroupBoxFormats->GetCaption(), "Type");
  // Both families' boxes take their captions from the language table.
  EXPECT_EQ(Box(kVideoNokia)->GetCaption(), "Video Codec");
  EXPECT_EQ(Box(kAudioNokia)->GetCaption(), "Audio Codec");
  EXPECT_EQ(Box(kVideoSony)->GetCaption(), "Video Codec");
  EXPECT_EQ(Box(kAudioSony)->GetCaption(), "Audio Codec");
}

// A language that names the codec groups differently reaches the Sony boxes as well as the Nokia ones.
TEST_F(TgpEditor, CodecGroupsFollowTheLanguage) {
  const std::string video = IDS_PROFILE_GROUPBOX_VideoCodec, audio = IDS_PROFILE_GROUPBOX_AudioCodec;
  IDS_PROFILE_GROUPBOX_VideoCodec = "Videocodec";
  IDS_PROFILE_GROUPBOX_AudioCodec = "Audiocodec";
  Open();
  IDS_PROFILE_GROUPBOX_VideoCodec = video;
  IDS_PROFILE_GROUPBOX_AudioCodec = audio;
  for (int box : {kVideoNokia, kVideoSony}) EXPECT_EQ(Box(box)->GetCaption(), "Videocodec") << box;
  for (int box : {kAudioNokia, kAudioSony}) EXPECT_EQ(Box(box)->GetCaption(), "Audiocodec") << box;
}

TEST_F(TgpEditor, LoadShowSaveTable) {
  const TFields varied = {
      {"Description", "Varied"}, {"TGPFormat", "2"}, {"EnableTimeControl", "1"}, {"Duration", "1:00"},
      {"StartTime", "0:00:05"}, {"VideoCodecNokia", "1"}, {"VideoCodecSony", "1"}, {"VideoSameQuality", "1"},
      {"AudioCodecNokia", "2"}, {"AudioCodecSony", "0"}, {"AudioDisableAudio", "1"},
      {"VideoBitRateUsePresertH263", "0"}, {"VideoBitRatePresetH263", "1500"}, {"VideoBitRateSpecifyH263", "9000"},
      {"VideoWidthH263", "128"}, {"VideoHeightH263", "96"}, {"VideoKeepFrameRateH263", "0"},
      {"VideoFrameRateH263", "12"}, {"VideoAspectH263", "3"},
      {"VideoBitRateUsePresertDivX", "0"}, {"VideoBitRatePresetDivX", "64"}, {"VideoBitRateSpecifyDivX", "5000"},
      {"VideoSizeUseSourceDivX", "1"}, {"VideoWidthDivX", "220"}, {"VideoHeightDivX", "176"},
      {"VideoKeepFrameRateDivX", "0"}, {"VideoFrameRateDivX", "0"}, {"VideoAspectDivX", "2"},
      {"VideoBitRateUsePresertXviD", "1"}, {"VideoBitRatePresetXviD", "2496"}, {"VideoBitRateSpecifyXviD", "0"},
      {"VideoSizeUseSourceXviD", "0"}, {"VideoWidthXviD", "641"}, {"VideoHeightXviD", "333"},
      {"VideoKeepFrameRateXviD", "1"}, {"VideoFrameRateXviD", "5"}, {"VideoAspectXviD", "1"},
      {"AudioBitRateUseAutoSetAACMP4", "1"}, {"AudioBitRatePresetAACMP4", "256"}, {"AudioSampleRateAACMP4", "7"},
      {"AudioChannelsAACMP4", "0"},
      {"AudioBitRateUseAutoSetArmnb", "1"}, {"AudioBitRatePresetArmnb", "8"}, {"AudioChannelsArmnb", "1"},
      {"AudioBitRatePresetArmwb", "24"}, {"AudioChannelsArmwb", "1"}};
  const rrt::TRoundTrip cases[] = {
      {"defaults",
       {},
       {{"VideoBitRatePresetDivX", "128"}, {"VideoBitRatePresetXviD", "128"}, {"VideoBitRatePresetH263", "128"}}},
      {"varied", varied, {}},
      {"every Type", {{"TGPFormat", "1"}, {"VideoBitRatePresetDivX", "128"}, {"VideoBitRatePresetXviD", "128"},
                      {"VideoBitRatePresetH263", "128"}}, {}},
      {"hand-edited",
       {{"TGPFormat", "3"}, {"VideoCodecNokia", "2"}, {"AudioCodecSony", "1"},
        {"VideoBitRatePresetDivX", "6000"}, {"VideoBitRatePresetH263", "4600"}, {"VideoBitRatePresetXviD", "9600"},
        {"VideoBitRateSpecifyXviD", "123456"}, {"VideoWidthH263", "320"}, {"VideoHeightH263", "240"},
        {"VideoAspectH263", "5"}, {"VideoAspectDivX", "3"}, {"VideoFrameRateXviD", "13"},
        {"AudioSampleRateArmnb", "1"}, {"AudioBitRatePresetArmwb", "10"}, {"VideoWidthDivX", "2000"},
        {"AudioBitRatePresetAACMP4", "256"}, {"AudioSampleRateAACMP4", "0"}},
       {{"TGPFormat", "255"}, {"VideoCodecNokia", "255"}, {"AudioCodecSony", "255"},
        {"VideoBitRatePresetDivX", "2496"}, {"VideoBitRatePresetH263", "2496"}, {"VideoBitRatePresetXviD", "2496"},
        {"VideoWidthH263", "352"}, {"VideoHeightH263", "288"}, {"VideoAspectH263", "0"}, {"VideoAspectDivX", "0"},
        {"VideoFrameRateXviD", "255"}, {"AudioSampleRateArmnb", "255"}, {"AudioBitRatePresetArmwb", "16"},
        {"VideoWidthDivX", "1600"}, {"AudioBitRatePresetAACMP4", "64"}}},
  };
  for (const rrt::TRoundTrip& c : cases) rrt::CheckRoundTrip(ofTGP, c);
}

// The Type brings its family's boxes to the front; the pages follow that family's lists.
TEST_F(TgpEditor, TypeAndCodecListsChooseThePages) {
  struct TCase {
    int Type, VideoNokia, VideoSony, AudioNokia, AudioSony;
    const char* Video;
    const char* Audio;
  };
  const TCase cases[] = {
      {0, 0, 1, 0, 0, "TabSheetH263", "TabSheetArmnb"}, {0, 1, 0, 1, 0, "TabSheetDivX", "TabSheetArmwb"},
      {0, 1, 1, 2, 0, "TabSheetDivX", "TabSheetAAC"},   {1, 0, 0, 0, 0, "TabSheetDivX", "TabSheetAAC"},
      {1, 0, 1, 1, 0, "TabSheetXviD", "TabSheetAAC"},   {2, 0, 1, 0, 0, "TabSheetXviD", "TabSheetAAC"},
      {2, 1, 0, 2, 0, "TabSheetDivX", "TabSheetAAC"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Type << c.VideoNokia << c.VideoSony << c.AudioNokia);
    TGPSettings.TGPFormat = uint8_t(c.Type);
    TGPSettings.VideoCodecNokia = uint8_t(c.VideoNokia);
    TGPSettings.VideoCodecSony = uint8_t(c.VideoSony);
    TGPSettings.AudioCodecNokia = uint8_t(c.AudioNokia);
    TGPSettings.AudioCodecSony = uint8_t(c.AudioSony);
    Open();
    EXPECT_EQ(VideoSheet(), c.Video);
    EXPECT_EQ(AudioSheet(), c.Audio);
    EXPECT_TRUE(FamilyInFront(c.Type == 0 ? 0 : 1));
    EXPECT_EQ(form->Codecs->PageControlVCodec->TabCount(), 0);
    EXPECT_EQ(form->Codecs->PageControlACodec->TabCount(), 0);
  }
}

TEST_F(TgpEditor, SwitchingTypeAndCodecsWhileOpen) {
  Open();  // Nokia, H263, AMR-NB
  Pick(form->Codecs->ComboBox3GPFormat, 1);
  EXPECT_TRUE(FamilyInFront(1));
  EXPECT_EQ(VideoSheet(), "TabSheetDivX");
  EXPECT_EQ(AudioSheet(), "TabSheetAAC");
  Pick(List(kVideoSony), 1);
  EXPECT_EQ(VideoSheet(), "TabSheetXviD");
  Pick(form->Codecs->ComboBox3GPFormat, 2);  // the same family
  EXPECT_TRUE(FamilyInFront(1));
  EXPECT_EQ(VideoSheet(), "TabSheetXviD");
  Pick(form->Codecs->ComboBox3GPFormat, 0);
  EXPECT_TRUE(FamilyInFront(0));
  EXPECT_EQ(VideoSheet(), "TabSheetH263");
  EXPECT_EQ(AudioSheet(), "TabSheetArmnb");
  // A Nokia choice shows its page at once.
  Pick(List(kVideoNokia), 1);
  EXPECT_EQ(VideoSheet(), "TabSheetDivX");
  Pick(List(kAudioNokia), 2);
  EXPECT_EQ(AudioSheet(), "TabSheetAAC");
  Pick(List(kAudioNokia), 1);
  EXPECT_EQ(AudioSheet(), "TabSheetArmwb");
  // Both families' choices are saved, whichever Type is chosen.
  form->SaveSettings();
  EXPECT_EQ(TGPSettings.TGPFormat, 0);
  EXPECT_EQ(TGPSettings.VideoCodecNokia, 1);
  EXPECT_EQ(TGPSettings.AudioCodecNokia, 1);
  EXPECT_EQ(TGPSettings.VideoCodecSony, 1);
  EXPECT_EQ(TGPSettings.AudioCodecSony, 0);
}

TEST_F(TgpEditor, NoTypeChangesNeitherBoxesNorPages) {
  TGPSettings.TGPFormat = 7;
  Open();
  EXPECT_EQ(form->Codecs->ComboBox3GPFormat->GetItemIndex(), -1);
  EXPECT_TRUE(FamilyInFront(0));  // the layout's order stays
  EXPECT_EQ(form->Codecs->PageControlVCodec->TabCount(), 0);
}

TEST_F(TgpEditor, H263SizesAndAspects) {
  struct TSize {
    int Width, Height, Button, SavedWidth, SavedHeight;
  };
  for (const TSize& s : {TSize{128, 96, 0, 128, 96}, TSize{176, 144, 1, 176, 144}, TSize{352, 288, 2, 352, 288},
                         TSize{320, 240, 2, 352, 288}, TSize{176, 96, 2, 352, 288}}) {
    SCOPED_TRACE(testing::Message() << s.Width << "x" << s.Height);
    ResetTGPSettings();
    TGPSettings.VideoWidthH263 = s.Width;
    TGPSettings.VideoHeightH263 = s.Height;
    Open();
    const auto& buttons = form->VideoPage("H263")->FixedSize->Buttons;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(buttons[size_t(i)]->GetChecked(), i == s.Button) << i;
    form->SaveSettings();
    EXPECT_EQ(TGPSettings.VideoWidthH263, s.SavedWidth);
    EXPECT_EQ(TGPSettings.VideoHeightH263, s.SavedHeight);
  }
  // H.263 counts Auto, 1:1, 4:3, 11:9, 16:9; DivX and XviD count Auto, 4:3, 16:9.
  const char* const h263[] = {"Auto", "1:1", "4:3", "11:9", "16:9"};
  const char* const divx[] = {"Auto", "4:3", "16:9"};
  for (uint8_t v = 0; v < 5; ++v) {
    ResetTGPSettings();
    TGPSettings.VideoAspectH263 = v;
    TGPSettings.VideoAspectDivX = v < 3 ? v : 0;
    Open();
    EXPECT_EQ(CheckedCaption(form->VideoPage("H263")->Aspect.Buttons), h263[v]);
    EXPECT_EQ(CheckedCaption(form->VideoPage("DivX")->Aspect.Buttons), divx[v < 3 ? v : 0]);
  }
}

TEST_F(TgpEditor, VideoSlidersStopAtTheTenthEntry) {
  for (int stored : {4600, 6000, 9600, 2496}) {
    SCOPED_TRACE(stored);
    ResetTGPSettings();
    TGPSettings.VideoBitRatePresetDivX = stored;
    TGPSettings.VideoBitRatePresetH263 = stored;
    Open();
    EXPECT_EQ(form->VideoPage("DivX")->Bitrate.TrackBarVideoBitrate->GetPosition(), 10);
    EXPECT_EQ(form->VideoPage("H263")->Bitrate.LabelBitrate->GetCaption(), "2496");
    form->SaveSettings();
    EXPECT_EQ(TGPSettings.VideoBitRatePresetDivX, 2496);
    EXPECT_EQ(TGPSettings.VideoBitRatePresetH263, 2496);
  }
  // Configure still asks within the whole table.
  SetEditorInputInteger(&RecordBounds);
  for (TVideoPageGroup* page : form->Video) {
    gMin = gMax = 0;
    page->Bitrate.ButtonVideoBitrateConfigure->Click();
    EXPECT_EQ(gMin, 64) << page->Suffix();
    EXPECT_EQ(gMax, 9600) << page->Suffix();
  }
}

TEST_F(TgpEditor, DisableAudioCoversBothFamilies) {
  TGPSettings.AudioDisableAudio = true;
  TGPSettings.AudioCodecNokia = 2;
  Open();
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  for (size_t row : {size_t(kAudioNokia), size_t(kAudioSony)}) {
    EXPECT_FALSE(Box(row)->GetEnabled()) << row;
    EXPECT_FALSE(List(row)->GetEnabled()) << row;
  }
  EXPECT_TRUE(List(kVideoNokia)->GetEnabled());
  form->DisableAudio->CheckBox->SetChecked(false);
  EXPECT_TRUE(form->TabSheetAudio->GetTabVisible());
  for (size_t row : {size_t(kAudioNokia), size_t(kAudioSony)}) {
    EXPECT_TRUE(Box(row)->GetEnabled()) << row;
    EXPECT_TRUE(List(row)->GetEnabled()) << row;
  }
  EXPECT_EQ(AudioSheet(), "TabSheetAAC");
  form->DisableAudio->CheckBox->SetChecked(true);
  form->SaveSettings();
  EXPECT_TRUE(TGPSettings.AudioDisableAudio);
  EXPECT_EQ(TGPSettings.AudioCodecNokia, 2);
}

TEST_F(TgpEditor, AacRangeFollowsTheSampleRate) {
  TGPSettings.AudioSampleRateAACMP4 = 7;
  TGPSettings.AudioBitRatePresetAACMP4 = 256;
  Open();
  TAudioPageGroup& aac = *form->AudioPage("AACMp4");
  EXPECT_EQ(aac.TrackBarAudioBitrate->GetPosition(), 12);
  const int maxima[] = {5, 5, 6, 8, 8, 10, 12, 12};
  for (int i = 7; i >= 0; --i) {
    Pick(aac.ComboBoxSampleRate, i);
    EXPECT_EQ(aac.TrackBarAudioBitrate->GetMax(), maxima[i]) << i;
  }
  EXPECT_EQ(aac.LabelAudioBitrate->GetCaption(), "64");  // 48000 -> 11025 moved 256 to 64
}

TEST_F(TgpEditor, AmrChannelListsOfferStereo) {
  TGPSettings.AudioChannelsArmnb = 1;
  TGPSettings.AudioChannelsArmwb = 1;
  Open();
  EXPECT_EQ(form->AudioPage("Armnb")->ComboBoxAudioChannels->GetText(), "2 (stereo)");
  EXPECT_EQ(form->AudioPage("Armwb")->ComboBoxAudioChannels->GetText(), "2 (stereo)");
  // AMR has no range rule: every entry can be reached.
  EXPECT_EQ(form->AudioPage("Armwb")->TrackBarAudioBitrate->GetMin(), 1);
  EXPECT_EQ(form->AudioPage("Armwb")->TrackBarAudioBitrate->GetMax(), 7);
}

// Each list holds the builder's choices in the builder's order.
TEST_F(TgpEditor, ListsAgreeWithTheOptionBuilder) {
  form = new TfrmTGPProfile(Application);
  using namespace rrt;
  ExpectListAgreesWithBuilder(ofTGP, List(kVideoNokia)->GetItems(), "VideoCodecNokia", {{"TGPFormat", "0"}}, CodecFragment);
  ExpectListAgreesWithBuilder(ofTGP, List(kAudioNokia)->GetItems(), "AudioCodecNokia", {{"TGPFormat", "0"}}, CodecFragment);
  for (const char* type : {"1", "2"}) {
    ExpectListAgreesWithBuilder(ofTGP, List(kVideoSony)->GetItems(), "VideoCodecSony", {{"TGPFormat", type}}, CodecFragment);
    ExpectListAgreesWithBuilder(ofTGP, List(kAudioSony)->GetItems(), "AudioCodecSony", {{"TGPFormat", type}}, CodecFragment);
  }
  struct TPage {
    const char* Suffix;
    TFields Chosen;
  };
  for (const TPage& p : {TPage{"H263", {{"TGPFormat", "0"}, {"VideoCodecNokia", "0"}}},
                         TPage{"DivX", {{"TGPFormat", "0"}, {"VideoCodecNokia", "1"}}},
                         TPage{"XviD", {{"TGPFormat", "1"}, {"VideoCodecSony", "1"}}}}) {
    TFields base = p.Chosen;
    base["VideoKeepFrameRate" + std::string(p.Suffix)] = "0";
    ExpectListAgreesWithBuilder(ofTGP, form->VideoPage(p.Suffix)->FrameRate.ComboBoxVideoFrameRate->GetItems(),
                                "VideoFrameRate" + std::string(p.Suffix), base, FrameRateFragment);
  }
  const TFields aac = {{"TGPFormat", "1"}, {"AudioCodecSony", "0"}};
  ExpectListAgreesWithBuilder(ofTGP, form->AudioPage("AACMp4")->ComboBoxSampleRate->GetItems(), "AudioSampleRateAACMP4", aac,
                              SampleRateFragment);
  ExpectListAgreesWithBuilder(ofTGP, form->AudioPage("AACMp4")->ComboBoxAudioChannels->GetItems(), "AudioChannelsAACMP4", aac,
                              ChannelsFragment);
  ExpectListAgreesWithBuilder(ofTGP, form->AudioPage("Armnb")->ComboBoxSampleRate->GetItems(), "AudioSampleRateArmnb",
                              {{"TGPFormat", "0"}, {"AudioCodecNokia", "0"}}, SampleRateFragment);
  ExpectListAgreesWithBuilder(ofTGP, form->AudioPage("Armwb")->ComboBoxSampleRate->GetItems(), "AudioSampleRateArmwb",
                              {{"TGPFormat", "0"}, {"AudioCodecNokia", "1"}}, SampleRateFragment);
  // AMR is sent as mono; the builder leaves a stereo choice to the encoder.
  ExpectListAgreesWithBuilder(ofTGP, {form->AudioPage("Armnb")->ComboBoxAudioChannels->GetItems()[0]}, "AudioChannelsArmnb",
                              {{"TGPFormat", "0"}, {"AudioCodecNokia", "0"}}, ChannelsFragment);
}

TEST_F(TgpEditor, FactoryRowAndTheMainWindow) {
  TProfileEditorFactory factory = ProfileEditorFactory(ofTGP);
  ASSERT_NE(factory, nullptr);
  rrt::TMainWindowDriver main;
  // Add: the editor opens on the defaults; the user picks the Sony family and XviD.
  std::string shownType;
  main.OnEditor = [&](TfrmProfileEditor* editor) {
    auto* tgp = dynamic_cast<TfrmTGPProfile*>(editor);
    if (!tgp) return 2;
    shownType = tgp->Codecs->ComboBox3GPFormat->GetText();
    tgp->Codecs->ComboBox3GPFormat->SetItemIndex(1);
    tgp->Codecs->CodecLists[kVideoSony]->SetItemIndex(1);
    tgp->EditDescription->SetText("phone");
    return 1;
  };
  main.Name = "Phone";
  TGPSettings.TGPFormat = 2;  // the record holds something else before the add
  main.Form->AddNewProfile(ofTGP);
  EXPECT_EQ(main.EditorRuns, 1);
  EXPECT_EQ(shownType, "3gp (Nokia/NEC/Siemens)");
  const std::string file = ProfileFilePath(ofTGP, "Phone");
  ResetTGPSettings();
  LoadTGPProfile(file);
  EXPECT_EQ(TGPSettings.Description, "phone");
  EXPECT_EQ(TGPSettings.TGPFormat, 1);
  EXPECT_EQ(TGPSettings.VideoCodecSony, 1);
  // Edit: the window shows the file; Close keeps it, Save writes it.
  std::string shownDescription;
  main.OnEditor = [&](TfrmProfileEditor* editor) {
    auto* tgp = dynamic_cast<TfrmTGPProfile*>(editor);
    shownDescription = tgp->EditDescription->GetText();
    tgp->EditDescription->SetText("changed");
    return 2;
  };
  main.Form->EditProfile(ofTGP);
  EXPECT_EQ(shownDescription, "phone");
  ResetTGPSettings();
  LoadTGPProfile(file);
  EXPECT_EQ(TGPSettings.Description, "phone");
  main.OnEditor = [&](TfrmProfileEditor* editor) {
    editor->EditDescription->SetText("changed");
    return 1;
  };
  main.Form->EditProfile(ofTGP);
  ResetTGPSettings();
  LoadTGPProfile(file);
  EXPECT_EQ(TGPSettings.Description, "changed");
  EXPECT_EQ(TGPSettings.TGPFormat, 1);
}

// Shown modally: the Type picked with the keyboard's list change, then Save.
TEST_F(TgpEditor, ModalSave) {
  form = new TfrmTGPProfile(Application);
  form->LoadSettings();
  etk::TModalScript script({[&] { Pick(form->Codecs->ComboBox3GPFormat, 2); }, [&] { form->btnSave->Click(); }});
  EXPECT_EQ(form->ShowModal(), 1);
  EXPECT_TRUE(FamilyInFront(1));
  form->SaveSettings();
  EXPECT_EQ(TGPSettings.TGPFormat, 2);
}
