// The AVI profile editor: a new profile, load -> show -> save over a table of records (every field
// compared, the values the controls cannot show normalised as the window documents), the codec lists and
// their pages, the Audio tab and the Disable-audio rule, captions, the factory row, and the window shown
// modally (Configure answered by the test's value dialog, then Save or Close).
#include "AVI_ProfileWnd.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "EditorTestKit.h"
#include "EditorTexts.h"
#include "ProfileEditors.h"
#include "Settings.h"
#include "Strings.h"
#include "VideoEditorTestKit.h"

namespace {

using etk::TFields;

// The AVISettings record by key.
TFields RecordFields() { return etk::RecordFields(ofAVI); }
void SetRecordFields(const TFields& values) { etk::SetRecordFields(ofAVI, values); }

int32_t gAnswer = 0;
int gDialogCalls = 0;
int32_t AnswerDialog(TCustomForm*, const std::string&, const std::string&, int32_t, int32_t, int32_t) {
  ++gDialogCalls;
  return gAnswer;
}

class AviEditor : public vtk::TVideoEditorTest<ofAVI, TfrmAVIProfile> {
protected:
  void SetUp() override {
    TVideoEditorTest::SetUp();
    gDialogCalls = 0;
  }
  void TearDown() override {
    SetEditorInputInteger(nullptr);
    TVideoEditorTest::TearDown();
  }
  TVideoPageGroup& Page(const std::string& suffix) {
    TVideoPageGroup* g = form->VideoPage(suffix);
    EXPECT_NE(g, nullptr) << suffix;
    return *g;
  }
  TPageControl* VideoPages() { return form->VideoCodec->Pages; }
  TPageControl* AudioPages() { return form->AudioCodec->Pages; }
};

}  // namespace

TEST_F(AviEditor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "AVI Profile Editor");
  EXPECT_EQ(form->VideoCodec->List->GetText(), "Divx");
  EXPECT_EQ(VideoPages()->GetActivePage()->GetName(), "TabSheetDivX");
  TVideoPageGroup& divx = Page("DivX");
  EXPECT_TRUE(divx.Bitrate.RadioButtonVideoPresert->GetChecked());
  EXPECT_EQ(divx.Bitrate.TrackBarVideoBitrate->GetPosition(), 6);
  EXPECT_EQ(divx.Bitrate.LabelBitrate->GetCaption(), "1080");
  EXPECT_EQ(divx.Bitrate.LabelBitrateSpecify->GetCaption(), "1080");
  EXPECT_TRUE(divx.Size->RadioButtonKeepSourceSize->GetChecked());
  EXPECT_EQ(divx.Size->EditVideoWidth->GetText(), "640");
  EXPECT_EQ(divx.Size->EditVideoHeight->GetText(), "480");
  EXPECT_EQ(divx.Size->ComboBoxVideoSize->GetText(), "640x480");
  EXPECT_FALSE(divx.Size->ComboBoxVideoSize->GetEnabled());
  EXPECT_TRUE(divx.FrameRate.RadioButtonKeepFrameRate->GetChecked());
  EXPECT_EQ(divx.FrameRate.ComboBoxVideoFrameRate->GetText(), "25");
  EXPECT_FALSE(divx.FrameRate.ComboBoxVideoFrameRate->GetEnabled());
  EXPECT_TRUE(divx.Aspect.Buttons[0]->GetChecked());
  // The H.263 page: its fixed size and five aspects.
  TVideoPageGroup& h263 = Page("H263");
  EXPECT_TRUE(h263.FixedSize->Buttons[2]->GetChecked());
  EXPECT_EQ(h263.Aspect.Buttons.size(), 5u);
  // Audio: Mp3 at 22050 Hz, stereo, the slider on 96 within 1..8.
  EXPECT_EQ(form->AudioCodec->List->GetText(), "Mp3");
  EXPECT_EQ(AudioPages()->GetActivePage()->GetName(), "TabSheetMp3");
  EXPECT_EQ(form->AudioPage("Mp3")->ComboBoxSampleRate->GetText(), "22050");
  EXPECT_EQ(form->AudioPage("Mp3")->ComboBoxAudioChannels->GetItemIndex(), 1);
  EXPECT_FALSE(form->AudioPage("Mp3")->CheckBoxAutoSetAudioBitrate->GetChecked());
  EXPECT_EQ(form->AudioPage("Mp3")->LabelAudioBitrate->GetCaption(), "96");
  EXPECT_EQ(form->AudioPage("Mp3")->TrackBarAudioBitrate->GetMin(), 1);
  EXPECT_EQ(form->AudioPage("Mp3")->TrackBarAudioBitrate->GetMax(), 8);
  // The window opens on its Audio tab.
  EXPECT_EQ(form->PageControlOptions->GetActivePage(), form->TabSheetAudio);
}

TEST_F(AviEditor, SlidersAndListsAsCreated) {
  form = new TfrmAVIProfile(Application);
  ASSERT_EQ(form->Video.size(), 14u);
  for (TVideoPageGroup* g : form->Video) {
    EXPECT_EQ(g->Bitrate.TrackBarVideoBitrate->GetMin(), 1) << g->Suffix();
    EXPECT_EQ(g->Bitrate.TrackBarVideoBitrate->GetMax(), 13) << g->Suffix();
  }
  EXPECT_EQ(form->AudioPage("AC3")->TrackBarAudioBitrate->GetMax(), 14);
  EXPECT_EQ(form->AudioPage("Mp2")->TrackBarAudioBitrate->GetMax(), 13);
  EXPECT_EQ(form->AudioPage("Mp3")->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(form->VideoCodec->List->GetItems(),
            (std::vector<std::string>{"Divx", "Xvid", "Ms-mpeg4", "Ms-mpeg4v2", "H263", "H263P", "H264", "huffYUV",
                                      "M-JPEG", "Svq1", "Flv"}));
  EXPECT_EQ(form->AudioCodec->List->GetItems(),
            (std::vector<std::string>{"Mp2", "Mp3", "WAV (pcm 16 little-endian)", "WAV (pcm U 8)", "AC3"}));
  EXPECT_EQ(form->AudioPage("Pcm16le")->ComboBoxSampleRate->GetItems(),
            (std::vector<std::string>{"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"}));
  // Page order: the list's index is the page index; the last three pages have no list item.
  ASSERT_EQ(VideoPages()->PageCount(), 14);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(VideoPages()->Pages(i)->ContainsControl(form->Video[size_t(i)]->Header), true) << i;
  EXPECT_EQ(Page("DivX").Header->GetCaption(), "Divx format properties");
  EXPECT_EQ(Page("Mpeg1").Header->GetCaption(), "Mpeg-1 format properties");
  EXPECT_EQ(Page("DV").Header->GetCaption(), "DV format properties");
}

// Load, show and save give back every field of the record, except the values the controls cannot show.
TEST_F(AviEditor, LoadShowSaveTable) {
  // A record with every page and field away from the defaults, all within what the controls show.
  TFields varied = {{"Description", "Varied"}, {"EnableTimeControl", "1"}, {"Duration", "1:00"},
                    {"StartTime", "0:00:05"},  {"VideoCodec", "10"},      {"VideoSameQuality", "1"},
                    {"AudioCodec", "4"},       {"AudioDisableAudio", "1"}};
  const char* const keys[] = {"DivX", "XviD", "MsMPEG4", "MsMPEG4v2", "H263",  "H263P", "H264",
                              "DV",   "huffYUV", "Mjpeg", "MPEG1",   "MPEG2", "Svq1",  "Flv"};
  const char* const rates[] = {"64", "128", "256", "512", "768", "1080", "1152", "1200", "1500", "2496", "4600", "6000", "9600"};
  for (int i = 0; i < 14; ++i) {
    const std::string k = keys[i];
    varied["VideoBitRateUsePresert" + k] = IntToStr(i % 2);
    varied["VideoBitRatePreset" + k] = rates[(i + 3) % 13];
    varied["VideoBitRateSpecify" + k] = IntToStr(100 + 7 * i);
    varied["VideoKeepFrameRate" + k] = IntToStr((i + 1) % 2);
    varied["VideoFrameRate" + k] = IntToStr(i % 13);
    if (k == "H263") {
      varied["VideoWidth" + k] = "176";
      varied["VideoHeight" + k] = "144";
      varied["VideoAspect" + k] = "3";
    } else {
      varied["VideoSizeUseSource" + k] = IntToStr(i % 2);
      varied["VideoWidth" + k] = IntToStr(2 * (i + 100));
      varied["VideoHeight" + k] = IntToStr(2 * (i + 60) + 1);
      varied["VideoAspect" + k] = IntToStr(i % 3);
    }
  }
  TFields audio = {{"AudioBitRateUseAutoSetAC3", "1"}, {"AudioBitRatePresetAC3", "448"}, {"AudioSampleRateAC3", "3"},
                   {"AudioChannelsAC3", "2"},          {"AudioBitRatePresetMp2", "384"}, {"AudioSampleRateMp2", "2"},
                   {"AudioChannelsMp2", "0"},          {"AudioBitRatePresetMp3", "320"}, {"AudioSampleRateMp3", "3"},
                   {"AudioSampleRatePcm16le", "7"},    {"AudioChannelsPcm16le", "0"},    {"AudioSampleRatePcmu8", "0"}};
  varied.insert(audio.begin(), audio.end());

  struct TCase {
    const char* Name;
    TFields Stored;
    TFields Saved;  // fields that come back otherwise; all others come back as stored
  };
  const TCase cases[] = {
      {"defaults", {}, {}},
      {"varied", varied, {}},
      {"hand-edited",
       {{"VideoCodec", "11"},           {"AudioCodec", "9"},             {"VideoWidthDV", "2000"},
        {"VideoHeightMjpeg", "1"},      {"VideoAspectDivX", "7"},        {"VideoAspectH263", "5"},
        {"VideoFrameRateXviD", "13"},   {"VideoBitRatePresetH264", "1000"}, {"VideoBitRatePresetSvq1", "-64"},
        {"VideoWidthH263", "320"},      {"VideoHeightH263", "240"},      {"VideoBitRateSpecifyFlv", "123456"},
        {"AudioBitRatePresetAC3", "448"}, {"AudioSampleRateAC3", "0"},   {"AudioSampleRatePcm16le", "9"},
        {"AudioChannelsMp2", "5"},      {"AudioBitRatePresetMp3", "100"}},
       {{"VideoCodec", "255"},          {"AudioCodec", "255"},           {"VideoWidthDV", "1600"},
        {"VideoHeightMjpeg", "2"},      {"VideoAspectDivX", "0"},        {"VideoAspectH263", "0"},
        {"VideoFrameRateXviD", "255"},  {"VideoBitRatePresetH264", "128"}, {"VideoBitRatePresetSvq1", "128"},
        {"VideoWidthH263", "352"},      {"VideoHeightH263", "288"},      {"AudioBitRatePresetAC3", "320"},
        {"AudioSampleRatePcm16le", "255"}, {"AudioChannelsMp2", "255"},  {"AudioBitRatePresetMp3", "64"}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ResetAVISettings();
    SetRecordFields(c.Stored);
    TFields expected = RecordFields();
    for (const auto& [key, value] : c.Saved) expected[key] = value;
    Open();
    // Save into a record that differs everywhere, so that a field the window skips would show.
    etk::ScrambleRecord(ofAVI);
    form->SaveSettings();
    TFields saved = RecordFields();
    for (const auto& [key, value] : expected) EXPECT_EQ(saved[key], value) << key;
    form->Free();
    form = nullptr;
  }
}

TEST_F(AviEditor, CodecListChoosesThePageAndHidesEveryTab) {
  Open();
  TComboBox* list = form->VideoCodec->List;
  for (int i : {10, 4, 0, 7}) {
    list->SetItemIndex(i);
    list->OnChange(list);
    EXPECT_EQ(VideoPages()->GetActivePageIndex(), i);
  }
  EXPECT_EQ(VideoPages()->TabCount(), 0);
  list->SetItemIndex(10);
  list->OnChange(list);
  EXPECT_EQ(VideoPages()->GetActivePage()->GetName(), "TabSheetFlv");
  TComboBox* audio = form->AudioCodec->List;
  const char* const sheets[] = {"TabSheetMp2", "TabSheetMp3", "TabSheePcm16le", "TabSheetPcmu8", "TabSheetAC3"};
  for (int i = 0; i < 5; ++i) {
    audio->SetItemIndex(i);
    audio->OnChange(audio);
    EXPECT_EQ(AudioPages()->GetActivePage()->GetName(), sheets[i]);
  }
  EXPECT_EQ(AudioPages()->TabCount(), 0);
}

TEST_F(AviEditor, DisableAudioHidesTheAudioTab) {
  AVISettings.AudioDisableAudio = true;
  AVISettings.AudioCodec = 4;
  AVISettings.AudioBitRatePresetAC3 = 192;
  Open();
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  EXPECT_EQ(form->PageControlOptions->GetActivePage()->GetName(), "TabSheetVideo");
  EXPECT_FALSE(form->AudioCodec->List->GetEnabled());
  EXPECT_FALSE(form->DisableAudio->GroupBoxAudioCodec->GetEnabled());
  // Unticking brings the tab back with the stored settings.
  form->DisableAudio->CheckBox->SetChecked(false);
  EXPECT_TRUE(form->TabSheetAudio->GetTabVisible());
  EXPECT_TRUE(form->AudioCodec->List->GetEnabled());
  EXPECT_EQ(form->AudioCodec->List->GetText(), "AC3");
  EXPECT_EQ(form->AudioPage("AC3")->LabelAudioBitrate->GetCaption(), "192");
  // Ticking it again hides the tab; the audio fields are still saved.
  form->DisableAudio->CheckBox->SetChecked(true);
  EXPECT_FALSE(form->TabSheetAudio->GetTabVisible());
  AVISettings.AudioBitRatePresetAC3 = 0;
  AVISettings.AudioCodec = 0;
  form->SaveSettings();
  EXPECT_TRUE(AVISettings.AudioDisableAudio);
  EXPECT_EQ(AVISettings.AudioCodec, 4);
  EXPECT_EQ(AVISettings.AudioBitRatePresetAC3, 192);
}

TEST_F(AviEditor, PcmSampleRateIndexes) {
  struct TCase {
    uint8_t Index;
    const char* Rate;
  };
  for (const TCase& c : {TCase{3, "22050"}, TCase{6, "44100"}, TCase{0, "11025"}, TCase{7, "48000"}}) {
    ResetAVISettings();
    AVISettings.AudioSampleRatePcm16le = c.Index;
    AVISettings.AudioSampleRatePcmu8 = c.Index;
    Open();
    EXPECT_EQ(form->AudioPage("Pcm16le")->ComboBoxSampleRate->GetText(), c.Rate);
    EXPECT_EQ(form->AudioPage("Pcmu8")->ComboBoxSampleRate->GetText(), c.Rate);
    form->Free();
    form = nullptr;
  }
}

TEST_F(AviEditor, CaptionFollowsTheLanguage) {
  IDS_PROFILE_FORM_ProfileEditor = "Editor: %s";
  IDS_PROFILE_LABEL_AVI = "Avi";
  IDS_PROFILE_GROUPBOX_Bitrate = "Rate";
  Open();
  EXPECT_EQ(form->GetCaption(), "Editor: Avi");
  EXPECT_EQ(Page("Flv").Bitrate.GroupBoxVideoBitrate->GetCaption(), "Rate");
}

TEST_F(AviEditor, FactoryRow) {
  TProfileEditorFactory factory = ProfileEditorFactory(ofAVI);
  ASSERT_NE(factory, nullptr);
  TfrmProfileEditor* editor = factory(Application);
  EXPECT_NE(dynamic_cast<TfrmAVIProfile*>(editor), nullptr);
  EXPECT_EQ(editor->Format(), ofAVI);
  editor->Free();
}

// Shown modally: Configure asks the value dialog, Save stores the answer; Close keeps the record.
TEST_F(AviEditor, ModalConfigureThenSaveOrClose) {
  SetEditorInputInteger(&AnswerDialog);
  for (bool save : {true, false}) {
    SCOPED_TRACE(save);
    ResetAVISettings();
    AVISettings.VideoCodec = 2;
    AVISettings.VideoBitRateUsePresertMsMPEG4 = false;
    form = new TfrmAVIProfile(Application);
    form->LoadSettings();
    gAnswer = 500;
    gDialogCalls = 0;
    TVideoBitrateGroup& g = Page("Msmpeg4").Bitrate;
    etk::TModalScript script({[&] { g.ButtonVideoBitrateConfigure->Click(); },
                              [&] { (save ? form->btnSave : form->btnClose)->Click(); }});
    const int result = form->ShowModal();
    EXPECT_EQ(gDialogCalls, 1);
    EXPECT_EQ(g.LabelBitrateSpecify->GetCaption(), "500");
    EXPECT_EQ(result, save ? 1 : 2);
    if (result == 1) form->SaveSettings();
    EXPECT_EQ(AVISettings.VideoBitRateSpecifyMsMPEG4, save ? 500 : 1080);
    form->Free();
    form = nullptr;
  }
}

// The audio pages' rules inside the AVI window: a lower sample rate narrows the slider; six AC3 channels
// cover the sample rate with 48000 and limit the slider to 112..448 kbit/s, two channels restore both.
TEST_F(AviEditor, AudioRangesFollowSampleRateAndChannels) {
  AVISettings.AudioSampleRateMp2 = 3;
  AVISettings.AudioBitRatePresetMp2 = 384;
  AVISettings.AudioSampleRateAC3 = 0;
  AVISettings.AudioBitRatePresetAC3 = 56;
  Open();
  auto choose = [](TComboBox* list, int index) {
    list->SetItemIndex(index);
    list->OnChange(list);
  };
  EXPECT_EQ(form->AudioPage("Mp2")->TrackBarAudioBitrate->GetPosition(), 13);
  choose(form->AudioPage("Mp2")->ComboBoxSampleRate, 0);
  EXPECT_EQ(form->AudioPage("Mp2")->TrackBarAudioBitrate->GetPosition(), 8);
  EXPECT_EQ(form->AudioPage("Mp2")->LabelAudioBitrate->GetCaption(), "160");

  TAudioPageGroup* ac3 = form->AudioPage("AC3");
  EXPECT_EQ(ac3->TrackBarAudioBitrate->GetPosition(), 3);
  choose(ac3->ComboBoxAudioChannels, 2);
  EXPECT_EQ(ac3->TrackBarAudioBitrate->GetMin(), 6);
  EXPECT_EQ(ac3->TrackBarAudioBitrate->GetMax(), 14);
  EXPECT_EQ(ac3->LabelAudioBitrate->GetCaption(), "112");
  choose(ac3->ComboBoxAudioChannels, 1);
  EXPECT_EQ(ac3->TrackBarAudioBitrate->GetMin(), 1);
  EXPECT_EQ(ac3->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(ac3->LabelAudioBitrate->GetCaption(), "112");
  form->SaveSettings();
  EXPECT_EQ(AVISettings.AudioBitRatePresetMp2, 160);
  EXPECT_EQ(AVISettings.AudioSampleRateMp2, 0);
  EXPECT_EQ(AVISettings.AudioBitRatePresetAC3, 112);
  EXPECT_EQ(AVISettings.AudioSampleRateAC3, 0);
}
