// The main window's Add and Edit reach the editor windows of the audio-only formats AAC, AC3, MP2, AMR
// and WAV: the right window opens on the profile's record, and only Save writes the profile file.
#include <gtest/gtest.h>
#include <windows.h>

#include "AppTestKit.h"
#include "MainWnd.h"
#include "MultiLanguages.h"
#include "ProfileEditors.h"
#include "ProfileLists.h"
#include "Prompter.h"
#include "Settings.h"
#include "TempDir.h"
#include "UnixShell.h"
#include "globals.h"

namespace {

struct TAudioFormat {
  TOutputFormat Format;
  const char* WindowClass;
  const char* Key;        // a field the test stores and reads back
  const char* Stored;     // its value in the profile file
};

const TAudioFormat kFormats[] = {
    {ofAac, "TfrmAacProfile", "AudioChannelsAACMP4", "0"},
    {ofAc3, "TfrmAc3Profile", "AudioChannelsAC3", "2"},
    {ofMp2, "TfrmMp2Profile", "AudioBitRatePresetMp2", "256"},
    {ofAmr, "TfrmAmrProfile", "AudioCodec", "1"},
    {ofWav, "TfrmWavProfile", "AudioSampleRatePcmu8", "7"},
};

std::string FieldText(TOutputFormat f, const std::string& key) {
  TSettingsFields& fields = OutputFormatInfo(f).Fields();
  return fields.Text(fields.IndexOf(key));
}

class AudioProfileActions : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TfrmMain* form = nullptr;
  std::string nameToGive;
  std::function<int(TfrmProfileEditor*)> onEditor;

  void SetUp() override {
    ASSERT_TRUE(apptest::StartProgramFolderInEnglish(dir));
    ASSERT_TRUE(CreateProfileDirs());
    oldPrompter = SetPrompter(&prompter);
    form = new TfrmMain(Application);
    form->AskProfileName = [this](const std::string&, std::string& name) {
      name = nameToGive;
      return true;
    };
    form->RunProfileEditor = [this](TfrmProfileEditor* editor) { return onEditor(editor); };
  }
  void TearDown() override {
    if (form) form->Free();
    SetPrompter(oldPrompter);
  }
  void Select(TOutputFormat f, const std::string& name) {
    form->FillProfileCombo(form->ProfileCombo(f), ProfilePattern(f), name);
    ASSERT_EQ(form->ProfileCombo(f)->GetText(), name);
  }
};

}  // namespace

TEST_F(AudioProfileActions, EveryAudioFormatHasItsEditor) {
  for (const TAudioFormat& a : kFormats) {
    SCOPED_TRACE(a.WindowClass);
    TProfileEditorFactory factory = ProfileEditorFactory(a.Format);
    ASSERT_NE(factory, nullptr);
    TfrmProfileEditor* editor = factory(form);
    EXPECT_EQ(editor->ClassName(), std::string(a.WindowClass));
    EXPECT_EQ(editor->Format(), a.Format);
    editor->Free();
  }
}

TEST_F(AudioProfileActions, EditShowsTheProfileAndWritesOnlyOnSave) {
  for (const TAudioFormat& a : kFormats) {
    SCOPED_TRACE(a.WindowClass);
    const std::string path = ProfileFilePath(a.Format, "Mine");
    const std::string original =
        std::string("[General]\r\nDescription=stored\r\n") + a.Key + "=" + a.Stored + "\r\n";
    ASSERT_TRUE(WriteWholeFile(path, original));
    Select(a.Format, "Mine");
    std::string shownClass, shownDescription, shownField;
    onEditor = [&](TfrmProfileEditor* editor) {
      shownClass = editor->ClassName();
      shownDescription = editor->EditDescription->GetText();
      editor->SaveSettings();  // what the controls hold
      shownField = FieldText(a.Format, a.Key);
      editor->EditDescription->SetText("edited");
      return mrCancel;
    };
    form->EditProfile(a.Format);
    EXPECT_EQ(shownClass, a.WindowClass);
    EXPECT_EQ(shownDescription, "stored");
    EXPECT_EQ(shownField, a.Stored);
    EXPECT_EQ(ReadWholeFile(path), original);  // Close writes nothing
    onEditor = [](TfrmProfileEditor* editor) {
      editor->EditDescription->SetText("edited");
      return mrOk;
    };
    form->EditProfile(a.Format);
    OutputFormatInfo(a.Format).Reset();
    OutputFormatInfo(a.Format).Load(path);
    EXPECT_EQ(FieldText(a.Format, "Description"), "edited");
    EXPECT_EQ(FieldText(a.Format, a.Key), a.Stored);
  }
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(AudioProfileActions, AddStartsFromTheDefaultsAndWritesUnderTheName) {
  for (const TAudioFormat& a : kFormats) {
    SCOPED_TRACE(a.WindowClass);
    OutputFormatInfo(a.Format).Fields().SetText(OutputFormatInfo(a.Format).Fields().IndexOf(a.Key), a.Stored);
    std::string shownField, defaultField;
    onEditor = [&](TfrmProfileEditor* editor) {
      editor->SaveSettings();
      shownField = FieldText(a.Format, a.Key);
      editor->EditDescription->SetText("added");
      return mrOk;
    };
    nameToGive = "New";
    form->AddNewProfile(a.Format);
    OutputFormatInfo(a.Format).Reset();
    defaultField = FieldText(a.Format, a.Key);
    EXPECT_EQ(shownField, defaultField);  // not the value left in the record before
    const std::string path = ProfileFilePath(a.Format, "New");
    ASSERT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    OutputFormatInfo(a.Format).Load(path);
    EXPECT_EQ(FieldText(a.Format, "Description"), "added");
    EXPECT_EQ(form->ProfileCombo(a.Format)->GetText(), "New");
  }
  EXPECT_TRUE(prompter.Prompts.empty());
}
