// The MPEG profile editor: copying MPEGSettings in and out, the preset-format rule (with Disable audio),
// the two audio codec lists, the disc size list and the DVD tab.
#include "MPEG_ProfileWnd.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "../support/TempDir.h"
#include "EditorTestKit.h"
#include "EditorTexts.h"
#include "Graphics.h"
#include "OptionDetails.h"
#include "ProfileEditors.h"
#include "PumpMessages.h"
#include "Settings.h"
#include "Strings.h"
#include "profiles.h"

namespace {

using etk::TFields;

// The MPEGSettings record by key; scrambled, every field is away from what the window would save, so
// that a field the window skips shows.
TFields RecordFields() { return etk::RecordFields(ofMPEG); }
void SetRecordFields(const TFields& values) { etk::SetRecordFields(ofMPEG, values); }
void ScrambleRecord() { etk::ScrambleRecord(ofMPEG); }

struct TDialogCall {
  int32_t Min, Max, Def;
};
std::vector<TDialogCall> gCalls;
int32_t gAnswer = 0;
int32_t AnswerDialog(TCustomForm*, const std::string&, const std::string&, int32_t min, int32_t max, int32_t def) {
  gCalls.push_back({min, max, def});
  return gAnswer;
}

// a is drawn over b (children of one parent): later in the parent's list and above b among the windows.
int IndexIn(TWinControl* parent, TControl* c) {
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (parent->Controls(i) == c) return i;
  return -1;
}
bool InFront(TWinControl* a, TWinControl* b) {
  if (IndexIn(a->GetParent(), a) <= IndexIn(a->GetParent(), b)) return false;
  for (HWND h = GetWindow(a->Handle(), GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
    if (h == b->Handle()) return true;
  return false;
}

class MpegEditor : public ::testing::Test {
protected:
  TfrmMPEGProfile* form = nullptr;

  void SetUp() override {
    ResetEditorTexts();
    ResetMPEGSettings();
    gCalls.clear();
  }
  void TearDown() override {
    SetEditorInputInteger(nullptr);
    if (form) form->Free();
    ResetEditorTexts();
  }
  // withWindows: as showing does, the windows exist before FormShow runs.
  TfrmMPEGProfile* Open(bool withWindows = false) {
    if (form) form->Free();
    form = new TfrmMPEGProfile(Application);
    form->LoadSettings();
    if (withWindows) form->Handle();
    form->FormShow(form);  // what showing the window runs
    return form;
  }
  void Close() {
    form->Free();
    form = nullptr;
  }
  static void Pick(TComboBox* list, int index) {
    list->SetItemIndex(index);
    list->OnChange(list);
  }
};

}  // namespace

TEST_F(MpegEditor, SlidersAndListsAsCreated) {
  form = new TfrmMPEGProfile(Application);
  EXPECT_EQ(form->GetCaption(), "MPEG Profile Editor");
  for (TVideoPageGroup* g : {form->VideoMpeg1, form->VideoMpeg2}) {
    EXPECT_EQ(g->Bitrate.TrackBarVideoBitrate->GetMin(), 1) << g->Suffix();
    EXPECT_EQ(g->Bitrate.TrackBarVideoBitrate->GetMax(), 13) << g->Suffix();
  }
  EXPECT_EQ(form->AudioAC3->TrackBarAudioBitrate->GetMax(), 14);
  EXPECT_EQ(form->AudioMp2->TrackBarAudioBitrate->GetMax(), 13);
  EXPECT_EQ(form->AudioMp3->TrackBarAudioBitrate->GetMax(), 12);
  // The DVD sliders keep their own ranges: the video slider stops at the eleventh of thirteen entries.
  struct TSlider {
    TTrackBar* Bar;
    int Min, Max, Position;
  };
  for (const TSlider& s : {TSlider{form->DVDBitrate->TrackBarVideoBitrate, 1, 11, 5},
                           TSlider{form->TrackBarDVDAudioBitrate, 1, 10, 1}}) {
    SCOPED_TRACE(s.Bar->GetName());
    EXPECT_EQ(s.Bar->GetMin(), s.Min);
    EXPECT_EQ(s.Bar->GetMax(), s.Max);
    EXPECT_EQ(s.Bar->GetPosition(), s.Position);
  }
  EXPECT_EQ(DVDVideoBitRates.Count(), 13);
  EXPECT_EQ(form->TabSheetDVD->GetCaption(), "DVD");
  EXPECT_EQ(form->PageControlOptions->PageCount(), 4);
  EXPECT_EQ(form->PageControlOptions->Pages(3), form->TabSheetDVD);
  EXPECT_EQ(form->RadioGroupPresetType->GetItems(), (std::vector<std::string>{"VCD", "SVCD", "DVD"}));
  EXPECT_EQ(form->RadioGroupPresetTargetFormat->GetItems(), (std::vector<std::string>{"Auto", "NTSC", "PAL"}));
  EXPECT_EQ(form->ComboBoxDVDVideoAspect->GetItems(),
            (std::vector<std::string>{"1:1 (For Square Pixels)", "4:3 (For Standard TV)", "16:9 (For Wide screen TV)"}));
  std::vector<std::string> sizes = form->VideoMpeg2->Size->ComboBoxVideoSize->GetItems();
  ASSERT_EQ(sizes.size(), 17u);
  EXPECT_EQ(sizes[3], "160 x 320");
  EXPECT_EQ(sizes[11], "352 x 288 (VCD PAL)");
  EXPECT_EQ(sizes[16], "...");
  EXPECT_EQ(form->VideoMpeg1->Size->ComboBoxVideoSize->GetItems(), sizes);
  EXPECT_EQ(form->VideoMpeg1->Header->GetCaption(), "Mpeg-1 format properties");
  EXPECT_EQ(form->AudioAC3->Header->GetCaption(), "AC3 format properties");
}

// The editor's lists against the option builder: each item, saved and built, gives the codec it names.
TEST_F(MpegEditor, ListsFollowTheOptionBuilder) {
  TempDir dir;
  const std::string file = dir / "p.mpeg";
  auto build = [&] {
    form->SaveSettings();
    SaveMPEGProfile(file);
    std::string options;
    BuildMPEGOptions(file, options);
    return options;
  };
  auto lower = [](std::string s) {
    for (char& c : s) c = char(std::tolower((unsigned char)c));
    return s;
  };
  struct TCase {
    int Video;
    const char* VideoOption;
    TComboBox* TfrmMPEGProfile::*Audio;
  };
  for (const TCase& c : {TCase{0, "-vcodec mpeg1video ", &TfrmMPEGProfile::ComboBoxAudioCodecMpeg1},
                         TCase{1, "-vcodec mpeg2video ", &TfrmMPEGProfile::ComboBoxAudioCodecMpeg2}}) {
    Open();
    EXPECT_EQ(form->ComboBoxVideoCodec->GetItems().size(), 2u);
    TComboBox* audio = form->*c.Audio;
    const std::vector<std::string> items = audio->GetItems();
    for (int i = 0; i < int(items.size()); ++i) {
      SCOPED_TRACE(items[size_t(i)]);
      Pick(form->ComboBoxVideoCodec, c.Video);
      Pick(audio, i);
      const std::string options = build();
      EXPECT_NE(options.find(c.VideoOption), std::string::npos) << options;
      EXPECT_NE(options.find("-acodec " + lower(items[size_t(i)]) + " "), std::string::npos) << options;
    }
  }
  // The DVD aspect list: each item's ratio is the one built.
  Open();
  form->CheckBoxUsePressetFormat->SetChecked(true);
  form->RadioGroupPresetType->SetItemIndex(2);
  form->RadioButtonDVDChangeAspect->SetChecked(true);
  const std::vector<std::string> aspects = form->ComboBoxDVDVideoAspect->GetItems();
  for (int i = 0; i < int(aspects.size()); ++i) {
    form->ComboBoxDVDVideoAspect->SetItemIndex(i);
    const std::string ratio = aspects[size_t(i)].substr(0, aspects[size_t(i)].find(' '));
    EXPECT_NE(build().find("-aspect " + ratio + " "), std::string::npos) << ratio;
  }
}

// Load, show and save give back every field, except the values the controls cannot show.
TEST_F(MpegEditor, LoadShowSaveTable) {
  TFields varied = {{"Description", "Varied"},       {"UsePresetFormats", "1"},    {"TargetFormat", "2"},
                    {"PresetType", "0"},             {"EnableTimeControl", "1"},   {"Duration", "0:01:00.000"},
                    {"StartTime", "0:00:05.000"},    {"VideoCodec", "1"},          {"VideoSameQuality", "1"},
                    {"AudioCodecMPEG1", "1"},        {"AudioCodecMPEG2", "2"},     {"AudioDisableAudio", "1"},
                    {"DVDVideoBitRateUsePresert", "0"}, {"DVDVideoBitRatePreset", "2496"},
                    {"DVDVideoBitRateSpecify", "7000"}, {"DVDVideoKeepAspect", "0"}, {"DVDVideoAspect", "2"},
                    {"DVDAudioBitRateUseAutoSet", "1"}, {"DVDAudioBitRatePreset", "224"},
                    {"AudioBitRateUseAutoSetAC3", "1"}, {"AudioBitRatePresetAC3", "448"}, {"AudioSampleRateAC3", "3"},
                    {"AudioChannelsAC3", "1"},       {"AudioBitRatePresetMp2", "384"}, {"AudioSampleRateMp2", "2"},
                    {"AudioChannelsMp2", "0"},       {"AudioBitRatePresetMp3", "160"}, {"AudioSampleRateMp3", "1"},
                    {"AudioBitRateUseAutoSetMp3", "1"}};
  const char* const rates[] = {"64", "128", "256", "512", "768", "1080", "1152", "1200", "1500", "2496", "4600", "6000", "9600"};
  int i = 0;
  for (const std::string k : {"MPEG1", "MPEG2"}) {
    varied["VideoBitRateUsePresert" + k] = IntToStr(i);
    varied["VideoBitRatePreset" + k] = rates[12 - 3 * i];
    varied["VideoBitRateSpecify" + k] = IntToStr(300 + i);
    varied["VideoSizeUseSource" + k] = IntToStr(i);
    varied["VideoWidth" + k] = IntToStr(333 + 2 * i);  // odd sizes stay odd
    varied["VideoHeight" + k] = IntToStr(241 + 4 * i);
    varied["VideoKeepFrameRate" + k] = IntToStr(1 - i);
    varied["VideoFrameRate" + k] = IntToStr(5 + 7 * i);
    varied["VideoAspect" + k] = IntToStr(1 + i);
    ++i;
  }
  struct TCase {
    const char* Name;
    TFields Stored;
    TFields Saved;  // fields that come back otherwise; all others come back as stored
  };
  const TCase cases[] = {
      // A new profile's DVD values lie beyond the DVD sliders (6000) or off their table (384).
      {"defaults", {}, {{"DVDVideoBitRatePreset", "4600"}, {"DVDAudioBitRatePreset", "160"}}},
      {"varied", varied, {}},
      {"DVD preset", {{"UsePresetFormats", "1"}, {"PresetType", "2"}, {"DVDVideoBitRatePreset", "64"},
                      {"DVDAudioBitRatePreset", "320"}, {"DVDVideoKeepAspect", "1"}, {"DVDVideoAspect", "1"}}, {}},
      {"hand-edited",
       {{"PresetType", "7"},            {"TargetFormat", "200"},           {"VideoCodec", "5"},
        {"AudioCodecMPEG1", "2"},       {"AudioCodecMPEG2", "3"},          {"DVDVideoAspect", "3"},
        {"DVDVideoBitRatePreset", "6000"}, {"DVDAudioBitRatePreset", "384"}, {"VideoWidthMPEG1", "2000"},
        {"VideoHeightMPEG1", "0"},      {"VideoAspectMPEG2", "4"},         {"VideoFrameRateMPEG1", "13"},
        {"VideoBitRatePresetMPEG2", "1000"}, {"AudioSampleRateAC3", "0"},  {"AudioBitRatePresetAC3", "448"},
        {"AudioChannelsMp3", "2"},      {"AudioBitRatePresetMp2", "100"}},
       {{"PresetType", "2"},            {"TargetFormat", "2"},             {"VideoCodec", "255"},
        {"AudioCodecMPEG1", "255"},     {"AudioCodecMPEG2", "255"},        {"DVDVideoAspect", "255"},
        {"DVDVideoBitRatePreset", "4600"}, {"DVDAudioBitRatePreset", "160"}, {"VideoWidthMPEG1", "1600"},
        {"VideoHeightMPEG1", "2"},      {"VideoAspectMPEG2", "0"},         {"VideoFrameRateMPEG1", "255"},
        {"VideoBitRatePresetMPEG2", "128"}, {"AudioBitRatePresetAC3", "320"}, {"AudioChannelsMp3", "255"},
        {"AudioBitRatePresetMp2", "64"}}},
      {"six channels", {{"AudioChannelsAC3", "2"}, {"AudioBitRatePresetAC3", "32"}, {"AudioSampleRateAC3", "0"},
                        {"DVDVideoBitRatePreset", "9600"}, {"DVDAudioBitRatePreset", "128"}},
       {{"AudioBitRatePresetAC3", "112"}, {"DVDVideoBitRatePreset", "4600"}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ResetMPEGSettings();
    SetRecordFields(c.Stored);
    TFields expected = RecordFields();
    for (const auto& [key, value] : c.Saved) expected[key] = value;
    Open();
    ScrambleRecord();
    form->SaveSettings();
    TFields saved = RecordFields();
    for (const auto& [key, value] : expected) EXPECT_EQ(saved[key], value) << key;
    Close();
  }
}

TEST_F(MpegEditor, DvdSliderPositions) {
  struct TCase {
    int32_t Video, Audio;
    int VideoPosition, AudioPosition;
    const char *VideoLabel, *AudioLabel;
  };
  const TCase cases[] = {
      {6000, 384, 11, 6, "4600", "160"},  // beyond the video range; not an audio entry
      {9600, 128, 11, 5, "4600", "128"},  // the last equal audio entry wins
      {64, 64, 1, 1, "64", "64"},
      {1080, 320, 6, 10, "1080", "320"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Video);
    ResetMPEGSettings();
    MPEGSettings.DVDVideoBitRatePreset = c.Video;
    MPEGSettings.DVDAudioBitRatePreset = c.Audio;
    Open();
    EXPECT_EQ(form->DVDBitrate->TrackBarVideoBitrate->GetPosition(), c.VideoPosition);
    EXPECT_EQ(form->TrackBarDVDAudioBitrate->GetPosition(), c.AudioPosition);
    EXPECT_EQ(form->DVDBitrate->LabelBitrate->GetCaption(), c.VideoLabel);
    EXPECT_EQ(form->LabelDVDAudioBitrate->GetCaption(), c.AudioLabel);
    Close();
  }
}

// What each combination of preset, type and Disable audio shows and enables.
TEST_F(MpegEditor, PresetFormatRule) {
  struct TCase {
    bool Preset;
    int Type;
    bool NoAudio;
    bool Video, Audio, Dvd;  // tabs shown
  };
  const TCase cases[] = {
      {false, 0, false, true, true, false},  {false, 2, false, true, true, false},
      {false, 1, true, true, false, false},  {true, 0, false, false, false, false},
      {true, 1, true, false, false, false},  {true, 2, false, false, false, true},
      {true, 2, true, false, false, true},   {true, -1, false, false, false, true},
  };
  Open();
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Preset << " " << c.Type << " " << c.NoAudio);
    // Set through the controls, as the user would; the clicks run the rule.
    form->RadioGroupPresetType->SetItemIndex(c.Type);
    form->CheckBoxUsePressetFormat->SetChecked(c.Preset);
    form->DisableAudio->CheckBox->SetChecked(c.NoAudio);
    form->UpdatePresetFormats();  // the type set to no item clicks nothing
    EXPECT_TRUE(form->TabSheetGeneral->GetTabVisible());
    EXPECT_EQ(form->TabSheetVideo->GetTabVisible(), c.Video);
    EXPECT_EQ(form->TabSheetAudio->GetTabVisible(), c.Audio);
    EXPECT_EQ(form->TabSheetDVD->GetTabVisible(), c.Dvd);
    EXPECT_EQ(form->RadioGroupPresetType->GetEnabled(), c.Preset);
    EXPECT_EQ(form->RadioGroupPresetTargetFormat->GetEnabled(), c.Preset);
    for (TControl* g : {static_cast<TControl*>(form->GroupBoxVideoCode), static_cast<TControl*>(form->GroupBoxAudioCodecMpeg1),
                        static_cast<TControl*>(form->GroupBoxAudioCodecMpeg2), static_cast<TControl*>(form->SameQuality->GroupBox),
                        static_cast<TControl*>(form->DisableAudio->GroupBox)})
      EXPECT_EQ(g->GetVisible(), !c.Preset) << g->GetName();
    for (TControl* g : {static_cast<TControl*>(form->GroupBoxAudioCodecMpeg1), static_cast<TControl*>(form->ComboBoxAudioCodecMpeg1),
                        static_cast<TControl*>(form->GroupBoxAudioCodecMpeg2), static_cast<TControl*>(form->ComboBoxAudioCodecMpeg2)})
      EXPECT_EQ(g->GetEnabled(), !c.NoAudio) << g->GetName();
  }
  // The target format does not enter the rule.
  form->CheckBoxUsePressetFormat->SetChecked(true);
  form->RadioGroupPresetType->SetItemIndex(1);
  for (int t : {0, 1, 2}) {
    form->RadioGroupPresetTargetFormat->SetItemIndex(t);
    EXPECT_FALSE(form->TabSheetDVD->GetTabVisible());
    EXPECT_FALSE(form->TabSheetVideo->GetTabVisible());
  }
}

TEST_F(MpegEditor, AudioCodecGroupAndPages) {
  MPEGSettings.VideoCodec = 0;
  MPEGSettings.AudioCodecMPEG1 = 1;
  MPEGSettings.AudioCodecMPEG2 = 0;
  Open(true);
  TPageControl* audio = form->PageControlACodec;
  EXPECT_EQ(audio->GetActivePage()->GetName(), "TabSheetMp3");
  EXPECT_EQ(form->PageControlVCodec->GetActivePage()->GetName(), "TabSheetMpeg1");
  EXPECT_TRUE(InFront(form->GroupBoxAudioCodecMpeg1, form->GroupBoxAudioCodecMpeg2));
  Pick(form->ComboBoxVideoCodec, 1);
  EXPECT_EQ(audio->GetActivePage()->GetName(), "TabSheetAC3");
  EXPECT_EQ(form->PageControlVCodec->GetActivePage()->GetName(), "TabSheetMpeg2");
  EXPECT_TRUE(InFront(form->GroupBoxAudioCodecMpeg2, form->GroupBoxAudioCodecMpeg1));
  const char* const mpeg2Pages[] = {"TabSheetAC3", "TabSheetMp2", "TabSheetMp3"};
  for (int i = 0; i < 3; ++i) {
    Pick(form->ComboBoxAudioCodecMpeg2, i);
    EXPECT_EQ(audio->GetActivePage()->GetName(), mpeg2Pages[i]);
  }
  Pick(form->ComboBoxAudioCodecMpeg2, 0);
  Pick(form->ComboBoxVideoCodec, 0);
  EXPECT_TRUE(InFront(form->GroupBoxAudioCodecMpeg1, form->GroupBoxAudioCodecMpeg2));
  Pick(form->ComboBoxVideoCodec, 1);
  EXPECT_TRUE(InFront(form->GroupBoxAudioCodecMpeg2, form->GroupBoxAudioCodecMpeg1));
  Pick(form->ComboBoxVideoCodec, 0);
  EXPECT_TRUE(InFront(form->GroupBoxAudioCodecMpeg1, form->GroupBoxAudioCodecMpeg2));
  EXPECT_EQ(audio->GetActivePage()->GetName(), "TabSheetMp3");
  EXPECT_EQ(form->ComboBoxAudioCodecMpeg1->GetText(), "Mp3");
  Pick(form->ComboBoxAudioCodecMpeg1, 0);
  EXPECT_EQ(audio->GetActivePage()->GetName(), "TabSheetMp2");
  EXPECT_EQ(audio->TabCount(), 0);
  EXPECT_EQ(form->PageControlVCodec->TabCount(), 0);
}

// A list without a selection shows no audio page, not one its codec cannot use.
TEST_F(MpegEditor, AudioListWithoutSelectionShowsNoPage) {
  struct TCase {
    uint8_t Video, Mpeg1, Mpeg2;
    const char* Page;  // null: none
  };
  for (const TCase& c : {TCase{0, 255, 1, nullptr}, TCase{1, 0, 255, nullptr}, TCase{0, 0, 255, "TabSheetMp2"},
                         TCase{1, 255, 2, "TabSheetMp3"}}) {
    SCOPED_TRACE(testing::Message() << int(c.Video) << " " << int(c.Mpeg1) << " " << int(c.Mpeg2));
    ResetMPEGSettings();
    MPEGSettings.VideoCodec = c.Video;
    MPEGSettings.AudioCodecMPEG1 = c.Mpeg1;
    MPEGSettings.AudioCodecMPEG2 = c.Mpeg2;
    Open();
    TTabSheet* page = form->PageControlACodec->GetActivePage();
    if (c.Page)
      EXPECT_EQ(page ? page->GetName() : "", c.Page);
    else
      EXPECT_EQ(page, nullptr);
    form->SaveSettings();
    EXPECT_EQ(MPEGSettings.AudioCodecMPEG1, c.Mpeg1);
    EXPECT_EQ(MPEGSettings.AudioCodecMPEG2, c.Mpeg2);
    Close();
  }
}

TEST_F(MpegEditor, SizeListAndOddSizes) {
  MPEGSettings.VideoSizeUseSourceMPEG2 = false;
  Open();
  TVideoSizeGroup& g = *form->VideoMpeg2->Size;
  Pick(g.ComboBoxVideoSize, 3);
  EXPECT_EQ(g.EditVideoWidth->GetIntValue(), 160);
  EXPECT_EQ(g.EditVideoHeight->GetIntValue(), 320);
  struct TCase {
    const char *Width, *Height;
    int Item;
  };
  for (const TCase& c : {TCase{"352", "288", 11}, TCase{"353", "288", 16}, TCase{"720", "576", 15}, TCase{"176", "120", 4}}) {
    SCOPED_TRACE(c.Width);
    g.EditVideoWidth->SetText(c.Width);
    g.EditVideoHeight->SetText(c.Height);
    EXPECT_EQ(g.ComboBoxVideoSize->GetItemIndex(), c.Item);
    EXPECT_EQ(g.EditVideoWidth->GetText(), c.Width);
  }
  Pick(g.ComboBoxVideoSize, 16);  // "..." keeps the fields
  EXPECT_EQ(g.EditVideoWidth->GetText(), "176");
}

TEST_F(MpegEditor, DvdTabControls) {
  SetEditorInputInteger(&AnswerDialog);
  MPEGSettings.DVDVideoBitRateUsePresert = true;
  MPEGSettings.DVDVideoBitRateSpecify = 5000;
  MPEGSettings.DVDVideoKeepAspect = true;
  Open();
  TDVDVideoBitrateGroup& v = *form->DVDBitrate;
  for (bool preset : {true, false, true}) {
    SCOPED_TRACE(preset);
    (preset ? v.RadioButtonVideoPresert : v.RadioButtonVideoSpecify)->SetChecked(true);
    for (TControl* c : {static_cast<TControl*>(v.LabelCurrentBitrate), static_cast<TControl*>(v.LabelBitrate),
                        static_cast<TControl*>(v.LabelLow), static_cast<TControl*>(v.LabelHigh),
                        static_cast<TControl*>(v.TrackBarVideoBitrate)})
      EXPECT_EQ(c->GetEnabled(), preset) << c->GetName();
    for (TControl* c : {static_cast<TControl*>(v.LabelBitrateSpecify), static_cast<TControl*>(v.LabelKbps),
                        static_cast<TControl*>(v.ButtonVideoBitrateConfigure)})
      EXPECT_EQ(c->GetEnabled(), !preset) << c->GetName();
    EXPECT_TRUE(v.LabelKbps2->GetEnabled());
  }
  // The dialog's bounds are the table's first and last entries, beyond the slider's reach.
  gAnswer = 9600;
  v.ButtonVideoBitrateConfigure->Click();
  ASSERT_EQ(gCalls.size(), 1u);
  EXPECT_EQ(gCalls[0].Min, 64);
  EXPECT_EQ(gCalls[0].Max, 9600);
  EXPECT_EQ(gCalls[0].Def, 5000);
  EXPECT_EQ(v.LabelBitrateSpecify->GetCaption(), "9600");
  // Aspect list follows its radio buttons.
  EXPECT_FALSE(form->ComboBoxDVDVideoAspect->GetEnabled());
  form->RadioButtonDVDChangeAspect->SetChecked(true);
  EXPECT_TRUE(form->ComboBoxDVDVideoAspect->GetEnabled());
  form->RadioButtonDVDAutoSetAspect->SetChecked(true);
  EXPECT_FALSE(form->ComboBoxDVDVideoAspect->GetEnabled());
  // Auto set audio bitrate only records the choice.
  form->TrackBarDVDAudioBitrate->SetPosition(7);
  form->CheckBoxDVDAutoSetAudioBitrate->SetChecked(true);
  EXPECT_TRUE(form->TrackBarDVDAudioBitrate->GetEnabled());
  EXPECT_TRUE(form->LabelDVDAudioBitrate->GetEnabled());
  EXPECT_EQ(form->LabelDVDAudioBitrate->GetCaption(), "192");
  form->SaveSettings();
  EXPECT_TRUE(MPEGSettings.DVDAudioBitRateUseAutoSet);
  EXPECT_EQ(MPEGSettings.DVDAudioBitRatePreset, 192);
  EXPECT_EQ(MPEGSettings.DVDVideoBitRateSpecify, 9600);
  EXPECT_TRUE(MPEGSettings.DVDVideoBitRateUsePresert);
}

TEST_F(MpegEditor, TextsFollowTheLanguage) {
  IDS_PROFILE_FORM_ProfileEditor = "Editor: %s";
  IDS_PROFILE_LABEL_MPEG = "Mpg";
  IDS_PROFILE_LABEL_Pal = "Pal!";
  IDS_PROFILE_CHECKBOX_DVD = "Disc";
  IDS_PROFILE_GROUPBOX_Bitrate = "Rate";
  Open();
  EXPECT_EQ(form->GetCaption(), "Editor: Mpg");
  EXPECT_EQ(form->RadioGroupPresetTargetFormat->GetItems()[2], "Pal!");
  EXPECT_EQ(form->TabSheetDVD->GetCaption(), "Disc");
  EXPECT_EQ(form->GroupBoxDVDAudioBitrate->GetCaption(), "Rate");
  EXPECT_EQ(form->DVDBitrate->GroupBoxVideoBitrate->GetCaption(), "Rate");
}

TEST_F(MpegEditor, FactoryRow) {
  TProfileEditorFactory factory = ProfileEditorFactory(ofMPEG);
  ASSERT_NE(factory, nullptr);
  TfrmProfileEditor* editor = factory(Application);
  EXPECT_NE(dynamic_cast<TfrmMPEGProfile*>(editor), nullptr);
  EXPECT_EQ(editor->Format(), ofMPEG);
  editor->Free();
}

// Shown: every group lies inside its tab, and the window is pictured on its General and DVD tabs
// (mpeg_editor_<tab>.bmp in the build folder) for a look by eye.
TEST_F(MpegEditor, ShownGroupsFitTheirTabs) {
  MPEGSettings.UsePresetFormats = true;
  MPEGSettings.PresetType = 2;
  form = new TfrmMPEGProfile(Application);
  form->LoadSettings();
  form->Show();
  PumpMessagesUntil([] { return true; });
  for (TTabSheet* tab : {form->TabSheetGeneral, form->TabSheetDVD}) {
    SCOPED_TRACE(tab->GetName());
    form->PageControlOptions->SetActivePage(tab);
    form->Repaint();
    PumpMessagesUntil([] { return true; });
    for (int i = 0; i < tab->ControlCount(); ++i) {
      TControl* c = tab->Controls(i);
      EXPECT_LE(c->GetLeft() + c->GetWidth(), tab->GetClientWidth()) << c->GetName();
      EXPECT_LE(c->GetTop() + c->GetHeight(), tab->GetClientHeight()) << c->GetName();
    }
    RECT wr;
    GetWindowRect(form->Handle(), &wr);
    TBitmap screen;
    screen.SetPixelFormat(pf24bit);
    screen.SetSize(wr.right - wr.left, wr.bottom - wr.top);
    HDC sdc = GetDC(nullptr);
    BitBlt(screen.Canvas()->GetHandle(), 0, 0, screen.GetWidth(), screen.GetHeight(), sdc, wr.left, wr.top, SRCCOPY);
    ReleaseDC(nullptr, sdc);
    screen.SaveToFile(std::string(ORV_BUILD_DIR) + "mpeg_editor_" + tab->GetName() + ".bmp");
  }
  form->Hide();
}
