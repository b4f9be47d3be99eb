// The MP3 profile editor: a new profile, load -> save over a table of records, the MP3 page's slider
// rules, the language of the caption, and the window shown modally: Close keeps the record, Save checks
// the time edit that has the focus first, Enter in the duration edit reformats it before closing.
#include "MP3_ProfileWnd.h"

#include <gtest/gtest.h>

#include "EditorTestKit.h"
#include "Settings.h"
#include "Strings.h"

namespace {

class Mp3Editor : public ::testing::Test {
protected:
  TfrmMp3Profile* form = nullptr;

  void SetUp() override {
    ResetEditorTexts();
    ResetMp3Settings();
  }
  void TearDown() override {
    if (form) form->Free();
    ResetEditorTexts();
  }
  TfrmMp3Profile* Open() {
    form = new TfrmMp3Profile(Application);
    form->LoadSettings();
    form->FormShow(form);  // what showing the window runs
    return form;
  }
  TTrackBar* Slider() { return form->AudioMp3->TrackBarAudioBitrate; }
  std::string BitrateLabel() { return form->AudioMp3->LabelAudioBitrate->GetCaption(); }
};

// Every field of the record as the profile file would hold it.
std::vector<std::string> RecordTexts() {
  TSettingsFields& f = OutputFormatInfo(ofMp3).Fields();
  std::vector<std::string> texts;
  for (size_t i = 0; i < f.Count(); ++i) texts.push_back(std::string(f.Key(i)) + "=" + f.Text(i));
  return texts;
}

}  // namespace

TEST_F(Mp3Editor, NewProfileOpensWithTheDefaults) {
  Open();
  EXPECT_EQ(form->GetCaption(), "MP3 Profile Editor");
  EXPECT_EQ(form->EditDescription->GetText(), "No Description");
  EXPECT_FALSE(form->TimeControl->CheckBoxEnableTimeControl->GetChecked());
  EXPECT_FALSE(form->TimeControl->EditStartTime->GetEnabled());
  EXPECT_EQ(form->TimeControl->EditEndTime->GetText(), "0:00:00.000");
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"Mp3"});
  EXPECT_EQ(form->AudioCodec->List->GetItemIndex(), 0);
  EXPECT_EQ(form->AudioMp3->ComboBoxSampleRate->GetItemIndex(), 2);
  EXPECT_EQ(form->AudioMp3->ComboBoxAudioChannels->GetItems(), (std::vector<std::string>{"1 (mono)", "2 (stereo)"}));
  EXPECT_EQ(form->AudioMp3->ComboBoxAudioChannels->GetItemIndex(), 1);
  EXPECT_FALSE(form->AudioMp3->CheckBoxAutoSetAudioBitrate->GetChecked());
  EXPECT_EQ(Slider()->GetMax(), 12);
  EXPECT_EQ(Slider()->GetPosition(), 7);
  EXPECT_EQ(BitrateLabel(), "128");
  EXPECT_EQ(form->AudioMp3->Header->GetCaption(), "Mp3 format properties");
  EXPECT_EQ(form->PageControlOptions->GetActivePageIndex(), 0);
  EXPECT_FALSE(form->AudioMp3->Header->GetParent() == nullptr);
}

// Load, show and save give back what the profile held, except where the window cannot show a value.
TEST_F(Mp3Editor, LoadShowSaveTable) {
  struct TCase {
    bool Auto;
    int Preset, SampleRate, Channels;
    bool Time;
    const char *Start, *Duration, *Description;
    int SavedPreset, SavedSampleRate, SavedChannels;
  };
  const TCase cases[] = {
      {false, 128, 2, 1, false, "0:00:00.000", "0:00:00.000", "No Description", 128, 2, 1},
      {true, 320, 3, 0, true, "0:00:05", "1:00", "Loud", 320, 3, 0},           // stored texts kept as typed
      {false, 320, 0, 1, false, "0:00:00.000", "0:00:00.000", "Low rate", 160, 0, 1},  // 22050 Hz: up to 160
      {false, 192, 1, 1, false, "0:00:00.000", "0:00:00.000", "", 160, 1, 1},
      {false, 100, 2, 1, false, "0:00:00.000", "0:00:00.000", "x", 64, 2, 1},  // no entry: position 4
      {false, 40, 2, 0, false, "0:00:00.000", "0:00:00.000", "x", 64, 2, 0},
      {false, 32, 3, 1, true, "1:00:00.000", "200:00:00.000", "long", 32, 3, 1},
      {true, 160, 9, 1, false, "0:00:00.000", "0:00:00.000", "bad rate", 160, 255, 1},  // no such item
      {false, 256, 2, 7, false, "0:00:00.000", "0:00:00.000", "bad channels", 256, 2, 255},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Description) + " preset " + IntToStr(c.Preset));
    ResetMp3Settings();
    Mp3Settings.Description = c.Description;
    Mp3Settings.EnableTimeControl = c.Time;
    Mp3Settings.StartTime = c.Start;
    Mp3Settings.Duration = c.Duration;
    Mp3Settings.AudioBitRateUseAutoSetMp3 = c.Auto;
    Mp3Settings.AudioBitRatePresetMp3 = c.Preset;
    Mp3Settings.AudioSampleRateMp3 = uint8_t(c.SampleRate);
    Mp3Settings.AudioChannelsMp3 = uint8_t(c.Channels);
    TMp3Settings expected = Mp3Settings;
    expected.AudioBitRatePresetMp3 = c.SavedPreset;
    expected.AudioSampleRateMp3 = uint8_t(c.SavedSampleRate);
    expected.AudioChannelsMp3 = uint8_t(c.SavedChannels);
    Open();
    ResetMp3Settings();
    Mp3Settings.Description = "overwritten";
    form->SaveSettings();
    std::vector<std::string> saved = RecordTexts();
    Mp3Settings = expected;
    EXPECT_EQ(saved, RecordTexts());
    form->Free();
    form = nullptr;
  }
}

TEST_F(Mp3Editor, LowerSampleRateMovesTheSliderIntoItsRange) {
  Mp3Settings.AudioBitRatePresetMp3 = 192;
  Open();
  ASSERT_EQ(Slider()->GetPosition(), 9);
  form->AudioMp3->ComboBoxSampleRate->SetItemIndex(0);
  form->AudioMp3->UpdateAudioBitrateRange();  // the list's change handler
  EXPECT_EQ(Slider()->GetMax(), 8);
  EXPECT_EQ(Slider()->GetPosition(), 8);
  EXPECT_EQ(BitrateLabel(), "160");
  form->SaveSettings();
  EXPECT_EQ(Mp3Settings.AudioBitRatePresetMp3, 160);
  // Back to 44100: the range widens, the slider stays.
  form->AudioMp3->ComboBoxSampleRate->SetItemIndex(2);
  form->AudioMp3->UpdateAudioBitrateRange();
  EXPECT_EQ(Slider()->GetMax(), 12);
  EXPECT_EQ(Slider()->GetPosition(), 8);
}

TEST_F(Mp3Editor, AutoBitrateDisablesTheSliderButItsValueIsSaved) {
  Mp3Settings.AudioBitRatePresetMp3 = 224;
  Open();
  form->AudioMp3->CheckBoxAutoSetAudioBitrate->SetChecked(true);  // runs its click binding
  TAudioPageGroup* p = form->AudioMp3;
  for (TControl* c : std::initializer_list<TControl*>{p->TrackBarAudioBitrate, p->LabelAudioBitrate, p->labKbps,
                                                     p->LabelCurrentAudioBitrate, p->LabelAudioSmall, p->LabelAudioLarge})
    EXPECT_FALSE(c->GetEnabled()) << c->GetName();
  EXPECT_TRUE(p->CheckBoxAutoSetAudioBitrate->GetEnabled());
  EXPECT_TRUE(p->ComboBoxSampleRate->GetEnabled());
  EXPECT_EQ(Slider()->GetPosition(), 10);
  form->SaveSettings();
  EXPECT_TRUE(Mp3Settings.AudioBitRateUseAutoSetMp3);
  EXPECT_EQ(Mp3Settings.AudioBitRatePresetMp3, 224);
  form->AudioMp3->CheckBoxAutoSetAudioBitrate->SetChecked(false);
  EXPECT_TRUE(Slider()->GetEnabled());
}

TEST_F(Mp3Editor, TheBitrateLabelFollowsTheSliderThroughTheLanguagePattern) {
  IDS_BITTATE_FORMAT = "%s!";
  Open();
  for (int position = 1; position <= 12; ++position) {
    Slider()->SetPosition(position);
    EXPECT_EQ(BitrateLabel(), std::string(AudioBitRatesMp3.Entry(position)) + "!");
  }
}

TEST_F(Mp3Editor, CaptionsFollowTheLanguageTexts) {
  struct TCase {
    const char *Pattern, *FormatName, *Expected;
  };
  const TCase cases[] = {{"%s Profile Editor", "MP3", "MP3 Profile Editor"},
                         {"Profil-Editor: %s", "MP3", "Profil-Editor: MP3"},
                         {"Editor %s", "Mp3-Format", "Editor Mp3-Format"},
                         {"Editor", "MP3", "Editor"}};
  for (const TCase& c : cases) {
    IDS_PROFILE_FORM_ProfileEditor = c.Pattern;
    IDS_PROFILE_LABEL_MP3 = c.FormatName;
    IDS_PROFILE_BUTTON_Save = "Sichern";
    Open();
    EXPECT_EQ(form->GetCaption(), c.Expected);
    EXPECT_EQ(form->btnSave->GetCaption(), "Sichern");
    form->Free();
    form = nullptr;
  }
  IDS_PROFILE_LABEL_FormatProperties = "Eigenschaften: %s";
  IDS_PROFILE_PAGECONTROL_Mp3 = "MPEG-3";
  Open();
  EXPECT_EQ(form->AudioMp3->Header->GetCaption(), "Eigenschaften: MPEG-3");
  EXPECT_EQ(form->AudioCodec->List->GetItems(), std::vector<std::string>{"MPEG-3"});
}

TEST_F(Mp3Editor, TheCodecPageShowsWithoutATab) {
  Open();
  TPageControl* pages = form->AudioCodec->Pages;
  ASSERT_EQ(pages->PageCount(), 1);
  EXPECT_FALSE(pages->Pages(0)->GetTabVisible());
  EXPECT_EQ(pages->GetActivePageIndex(), 0);
}

// ---- shown modally ----

class Mp3EditorShown : public Mp3Editor {
protected:
  int Run(std::vector<std::function<void()>> steps) {
    form = new TfrmMp3Profile(Application);
    form->LoadSettings();
    etk::TModalScript script(std::move(steps));
    return form->ShowModal();
  }
  TTimeControlGroup* Time() { return form->TimeControl; }
};

TEST_F(Mp3EditorShown, CloseLeavesTheRecordUnchangedEvenAfterEdits) {
  Mp3Settings.Description = "kept";
  Mp3Settings.AudioBitRatePresetMp3 = 256;
  const std::vector<std::string> before = RecordTexts();
  for (bool closeBox : {false, true}) {
    int result = Run({[&] {
                        form->EditDescription->SetText("changed");
                        form->AudioMp3->TrackBarAudioBitrate->SetPosition(2);
                        form->TimeControl->CheckBoxEnableTimeControl->SetChecked(true);
                      },
                      [&] {
                        if (closeBox)
                          PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
                        else
                          form->btnClose->Click();
                      }});
    EXPECT_NE(result, mrOk);
    EXPECT_EQ(RecordTexts(), before);
    form->Free();
    form = nullptr;
  }
}

TEST_F(Mp3EditorShown, SaveWithLettersInTheStartTimeRestoresItsPreviousTextFirst) {
  Mp3Settings.EnableTimeControl = true;
  Mp3Settings.StartTime = "0:00:10.000";
  Mp3Settings.Duration = "0:00:50.000";
  int result = Run({[&] {
                      Time()->EditStartTime->SetFocus();  // remembers 0:00:10.000
                      Time()->EditStartTime->SetText("abc");
                    },
                    [&] { form->btnSave->Click(); }});
  ASSERT_EQ(result, mrOk);
  EXPECT_EQ(Time()->EditStartTime->GetText(), "0:00:10.000");
  form->SaveSettings();
  EXPECT_EQ(Mp3Settings.StartTime, "0:00:10.000");
  EXPECT_EQ(Mp3Settings.Duration, "0:00:50.000");
}

TEST_F(Mp3EditorShown, EnterInTheDurationEditReformatsItBeforeTheWindowCloses) {
  Mp3Settings.EnableTimeControl = true;
  Mp3Settings.StartTime = "0:00:30.000";
  int result = Run({[&] {
                      Time()->EditDuration->SetFocus();
                      Time()->EditDuration->SetText("1:00");
                    },
                    [&] { etk::PressKey(Time()->EditDuration->Handle(), VK_RETURN); }});
  ASSERT_EQ(result, mrOk);
  EXPECT_EQ(Time()->EditDuration->GetText(), "0:01:00.000");
  EXPECT_EQ(Time()->EditEndTime->GetText(), "0:01:30.000");
  form->SaveSettings();
  EXPECT_EQ(Mp3Settings.Duration, "0:01:00.000");
}

TEST_F(Mp3EditorShown, ShowingRunsTheRulesOnce) {
  Mp3Settings.EnableTimeControl = true;
  Mp3Settings.AudioBitRatePresetMp3 = 320;
  Mp3Settings.AudioSampleRateMp3 = 0;
  bool enabled = false;
  int position = 0;
  int result = Run({[&] {
    enabled = Time()->EditStartTime->GetEnabled();
    position = form->AudioMp3->TrackBarAudioBitrate->GetPosition();
    form->btnClose->Click();
  }});
  EXPECT_EQ(result, mrCancel);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(position, 8);
}
