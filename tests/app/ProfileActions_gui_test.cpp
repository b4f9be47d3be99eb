// The main window's profile management: rename and delete for every format, add and edit through the
// MP3 editor with the modal steps answered by the test, one editor per format, and the dispatch to
// the current format.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>

#include "AppTestKit.h"
#include "MP3_ProfileWnd.h"
#include "MainWnd.h"
#include "ModalScript.h"
#include "NameWnd.h"
#include "MultiLanguages.h"
#include "OrvUtils.h"
#include "ProfileEditors.h"
#include "ProfileLists.h"
#include "Prompter.h"
#include "Settings.h"
#include "TempDir.h"
#include "UnixShell.h"
#include "globals.h"

namespace {

using apptest::Exists;

class ProfileActions : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TfrmMain* form = nullptr;
  // What the name window and the editor would do: the test's answers.
  std::vector<std::string> namesAsked;  // the initial texts
  bool acceptName = true;
  std::string nameToGive;
  int editorRuns = 0;
  std::function<int(TfrmProfileEditor*)> onEditor = [](TfrmProfileEditor*) { return mrOk; };

  void SetUp() override {
    ASSERT_TRUE(apptest::StartProgramFolderInEnglish(dir));
    ASSERT_TRUE(CreateProfileDirs());
    oldPrompter = SetPrompter(&prompter);
  }
  void TearDown() override {
    if (form) form->Free();
    SetPrompter(oldPrompter);
  }
  // The window with the profiles written so far in its lists.
  TfrmMain* NewForm() {
    form = new TfrmMain(Application);
    form->AskProfileName = [this](const std::string& initial, std::string& name) {
      namesAsked.push_back(initial);
      name = nameToGive;
      return acceptName;
    };
    form->RunProfileEditor = [this](TfrmProfileEditor* editor) {
      ++editorRuns;
      return onEditor(editor);
    };
    return form;
  }
  void WriteProfile(TOutputFormat f, const std::string& name, const std::string& text = "[General]\r\n") {
    ASSERT_TRUE(WriteWholeFile(ProfileFilePath(f, name), text));
  }
  void Select(TOutputFormat f, const std::string& name) {
    form->FillProfileCombo(form->ProfileCombo(f), ProfilePattern(f), name);
    ASSERT_EQ(form->ProfileCombo(f)->GetText(), name);
  }
  std::vector<std::string> Items(TOutputFormat f) {
    std::vector<std::string> items = form->ProfileCombo(f)->GetItems();
    std::sort(items.begin(), items.end());
    return items;
  }
};

}  // namespace

TEST_F(ProfileActions, RenameWorksForEveryFormat) {
  for (TOutputFormat f = 0; f < OutputFormatCount; ++f) {
    WriteProfile(f, "Fast", "[General]\r\nDescription=fast " + std::to_string(f) + "\r\n");
    WriteProfile(f, "Small");
  }
  NewForm();
  nameToGive = "Quick";
  for (TOutputFormat f = 0; f < OutputFormatCount; ++f) {
    SCOPED_TRACE(OutputFormatInfo(f).Name);
    Select(f, "Fast");
    form->RenameProfile(f);
    EXPECT_EQ(namesAsked.back(), "Fast");
    EXPECT_FALSE(Exists(ProfileFilePath(f, "Fast")));
    EXPECT_EQ(ReadWholeFile(ProfileFilePath(f, "Quick")), "[General]\r\nDescription=fast " + std::to_string(f) + "\r\n");
    EXPECT_EQ(Items(f), (std::vector<std::string>{"Quick", "Small"}));
    EXPECT_EQ(form->ProfileCombo(f)->GetText(), "Quick");
  }
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(ProfileActions, RenameToAnExistingNameFailsAndKeepsBothFiles) {
  WriteProfile(ofAVI, "Fast", "fast");
  WriteProfile(ofAVI, "Small", "small");
  NewForm();
  Select(ofAVI, "Fast");
  nameToGive = "small";  // another profile's name, in other case
  form->RenameProfile(ofAVI);
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  EXPECT_EQ(prompter.Prompts[0].Text, "Rename faild! Please check if the profile name is already exist!");
  EXPECT_EQ(prompter.Prompts[0].Caption, "Rename Faild");
  EXPECT_EQ(ReadWholeFile(ProfileFilePath(ofAVI, "Fast")), "fast");
  EXPECT_EQ(ReadWholeFile(ProfileFilePath(ofAVI, "Small")), "small");
  EXPECT_EQ(form->ProfileCombo(ofAVI)->GetText(), "Fast");
}

TEST_F(ProfileActions, CancellingTheNameWindowChangesNothing) {
  WriteProfile(ofMp3, "Voice", "voice");
  NewForm();
  Select(ofMp3, "Voice");
  acceptName = false;
  nameToGive = "Other";
  onEditor = [](TfrmProfileEditor* editor) {
    editor->EditDescription->SetText("edited");
    return mrOk;
  };
  form->RenameProfile(ofMp3);
  form->AddNewProfile(ofMp3);
  EXPECT_EQ(editorRuns, 1);
  EXPECT_EQ(namesAsked, (std::vector<std::string>{"Voice", ""}));
  EXPECT_EQ(ReadWholeFile(ProfileFilePath(ofMp3, "Voice")), "voice");
  EXPECT_FALSE(Exists(ProfileFilePath(ofMp3, "Other")));
  EXPECT_EQ(Items(ofMp3), std::vector<std::string>{"Voice"});
  // The settings edited before the name was refused were never copied back.
  EXPECT_EQ(Mp3Settings.Description, "No Description");
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(ProfileActions, DeleteTheLastProfileIsRefused) {
  WriteProfile(ofWav, "Only", "only");
  NewForm();
  form->DeleteProfile(ofWav);
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  EXPECT_EQ(prompter.Prompts[0].Text, "This is the last profile, can not be deleted!");
  EXPECT_EQ(prompter.Prompts[0].Caption, "Can not be delete!");
  EXPECT_TRUE(Exists(ProfileFilePath(ofWav, "Only")));
}

TEST_F(ProfileActions, DeleteAsksAndOnlyYesDeletes) {
  for (TOutputFormat f = 0; f < OutputFormatCount; ++f) {
    WriteProfile(f, "First");
    WriteProfile(f, "Second");
  }
  NewForm();
  for (TOutputFormat f = 0; f < OutputFormatCount; ++f) {
    SCOPED_TRACE(OutputFormatInfo(f).Name);
    Select(f, "Second");
    for (int refusal : {int(mrNo), int(mrCancel)}) {
      prompter.Prompts.clear();
      prompter.Answers = {refusal};
      form->DeleteProfile(f);
      ASSERT_EQ(prompter.Prompts.size(), 1u);
      EXPECT_EQ(prompter.Prompts[0].Text, "Are you sure you want to delete profile \"Second\"?");
      EXPECT_EQ(prompter.Prompts[0].Caption, "Delete file");
      EXPECT_TRUE(Exists(ProfileFilePath(f, "Second")));
    }
    prompter.Answers = {mrYes};
    form->DeleteProfile(f);
    EXPECT_FALSE(Exists(ProfileFilePath(f, "Second")));
    EXPECT_EQ(Items(f), std::vector<std::string>{"First"});
    EXPECT_EQ(form->ProfileCombo(f)->GetText(), "First");
  }
}

TEST_F(ProfileActions, AddWritesTheEditedSettingsUnderTheGivenName) {
  WriteProfile(ofMp3, "Voice", "[General]\r\nDescription=custom\r\nAudioBitRatePresetMp3=32\r\n");
  NewForm();
  Select(ofMp3, "Voice");
  LoadMp3Profile(ProfileFilePath(ofMp3, "Voice"));  // the record holds another profile
  std::string shownDescription;
  int shownPosition = 0;
  onEditor = [&](TfrmProfileEditor* editor) {
    auto* mp3 = dynamic_cast<TfrmMp3Profile*>(editor);
    shownDescription = mp3->EditDescription->GetText();
    shownPosition = mp3->AudioMp3->TrackBarAudioBitrate->GetPosition();
    mp3->EditDescription->SetText("for podcasts");
    mp3->AudioMp3->TrackBarAudioBitrate->SetPosition(2);
    return mrOk;
  };
  nameToGive = "Podcast";
  form->AddNewProfile(ofMp3);
  EXPECT_EQ(shownDescription, "No Description");  // a new profile starts from the defaults
  EXPECT_EQ(shownPosition, 7);
  ResetMp3Settings();
  LoadMp3Profile(ProfileFilePath(ofMp3, "Podcast"));
  EXPECT_EQ(Mp3Settings.Description, "for podcasts");
  EXPECT_EQ(Mp3Settings.AudioBitRatePresetMp3, 48);
  EXPECT_EQ(Items(ofMp3), (std::vector<std::string>{"Podcast", "Voice"}));
  EXPECT_EQ(form->ProfileCombo(ofMp3)->GetText(), "Podcast");
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(ProfileActions, ClosingTheEditorDuringAnAddAsksNoName) {
  NewForm();
  onEditor = [](TfrmProfileEditor*) { return mrCancel; };
  nameToGive = "Never";
  form->AddNewProfile(ofMp3);
  EXPECT_EQ(editorRuns, 1);
  EXPECT_TRUE(namesAsked.empty());
  EXPECT_FALSE(Exists(ProfileFilePath(ofMp3, "Never")));
}

TEST_F(ProfileActions, AddingUnderAnExistingNameAsksAndOnlyYesOverwrites) {
  struct TCase {
    int Answer;
    bool Replaced;
  };
  const TCase cases[] = {{mrNo, false}, {mrCancel, false}, {mrYes, true}};  // closing the question keeps the file
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Answer);
    WriteProfile(ofMp3, "Music", "old");
    WriteProfile(ofMp3, "Voice", "voice");
    NewForm();
    Select(ofMp3, "Voice");
    nameToGive = "Music";
    prompter.Prompts.clear();
    prompter.Answers = {c.Answer};
    form->AddNewProfile(ofMp3);
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Text, "File \"" + ProfileFilePath(ofMp3, "Music") +
                                            "\" already exists.\r\n\r\nAre you sure you want to overwrite it?");
    EXPECT_EQ(prompter.Prompts[0].Caption, "Overwrite file?");
    EXPECT_EQ(ReadWholeFile(ProfileFilePath(ofMp3, "Music")) != "old", c.Replaced);
    EXPECT_EQ(form->ProfileCombo(ofMp3)->GetText(), c.Replaced ? "Music" : "Voice");
    form->Free();
    form = nullptr;
  }
}

TEST_F(ProfileActions, EditShowsTheProfileAndWritesOnlyOnSave) {
  const std::string original = "[General]\r\nDescription=Voice memo\r\nAudioBitRatePresetMp3=256\r\nExtra=kept\r\n";
  WriteProfile(ofMp3, "Voice", original);
  WriteProfile(ofMp3, "Other");
  NewForm();
  Select(ofMp3, "Voice");
  int position = 0, waitDepth = 0;
  std::string description;
  onEditor = [&](TfrmProfileEditor* editor) {
    auto* mp3 = dynamic_cast<TfrmMp3Profile*>(editor);
    position = mp3->AudioMp3->TrackBarAudioBitrate->GetPosition();
    description = mp3->EditDescription->GetText();
    waitDepth = WaitCursorDepth();
    mp3->EditDescription->SetText("changed");
    return mrCancel;
  };
  const int depthBefore = WaitCursorDepth();
  form->EditProfile(ofMp3);
  EXPECT_EQ(position, 11);
  EXPECT_EQ(description, "Voice memo");
  EXPECT_GT(waitDepth, depthBefore);  // the hourglass is on while the editor is open
  EXPECT_EQ(WaitCursorDepth(), depthBefore);
  EXPECT_EQ(ReadWholeFile(ProfileFilePath(ofMp3, "Voice")), original);  // byte for byte
  onEditor = [&](TfrmProfileEditor* editor) {
    dynamic_cast<TfrmMp3Profile*>(editor)->EditDescription->SetText("changed");
    return mrOk;
  };
  form->EditProfile(ofMp3);
  ResetMp3Settings();
  LoadMp3Profile(ProfileFilePath(ofMp3, "Voice"));
  EXPECT_EQ(Mp3Settings.Description, "changed");
  EXPECT_EQ(Mp3Settings.AudioBitRatePresetMp3, 256);
  EXPECT_EQ(Items(ofMp3), (std::vector<std::string>{"Other", "Voice"}));
  EXPECT_TRUE(namesAsked.empty());
}

// Without a profile name there is nothing to edit: Edit adds a named profile instead of a file ".mpo".
TEST_F(ProfileActions, EditWithoutAProfileAddsANamedOne) {
  NewForm();
  ASSERT_EQ(form->ProfileCombo(ofMp3)->GetText(), "");
  nameToGive = "First";
  form->EditProfile(ofMp3);
  EXPECT_EQ(namesAsked, std::vector<std::string>{""});
  EXPECT_TRUE(Exists(ProfileFilePath(ofMp3, "First")));
  EXPECT_FALSE(Exists(ProfileFilePath(ofMp3, "")));
  EXPECT_EQ(form->ProfileCombo(ofMp3)->GetText(), "First");
}

// Each format opens its own window class, made for that format's record; an index beyond the formats
// has no editor.
TEST_F(ProfileActions, EveryFormatHasItsOwnEditor) {
  if (!form) NewForm();
  std::set<std::string> classes;
  for (TOutputFormat f = 0; f < OutputFormatCount; ++f) {
    SCOPED_TRACE(OutputFormatInfo(f).Name);
    TProfileEditorFactory factory = ProfileEditorFactory(f);
    ASSERT_NE(factory, nullptr);
    TfrmProfileEditor* editor = factory(form);
    EXPECT_EQ(editor->Format(), f);
    classes.insert(editor->ClassName());
    editor->Free();
  }
  EXPECT_EQ(classes.size(), size_t(OutputFormatCount));
  EXPECT_EQ(ProfileEditorFactory(OutputFormatCount), nullptr);
}

TEST_F(ProfileActions, TheActionsRunTheCurrentFormatsRoutine) {
  for (TOutputFormat f = 0; f < OutputFormatCount; ++f) WriteProfile(f, std::string("P") + OutputFormatInfo(f).Name);
  NewForm();
  acceptName = false;
  for (TOutputFormat f : {ofMp3, ofAVI, ofVob, ofSwf}) {
    form->FormatAction(f)->Execute();
    namesAsked.clear();
    form->actRenameProfileExecute->Execute();
    EXPECT_EQ(namesAsked, std::vector<std::string>{std::string("P") + OutputFormatInfo(f).Name});
  }
}

// The real editor and name windows, driven as a person would: Save in the editor, a name, OK.
TEST_F(ProfileActions, AddThroughTheRealWindows) {
  NewForm();
  form->AskProfileName = nullptr;
  form->RunProfileEditor = nullptr;
  form->Show();
  bool editorSeen = false, nameSeen = false;
  {
    etk::TModalScript script({[&] {
                                auto* editor = dynamic_cast<TfrmMp3Profile*>(Screen->ActiveForm());
                                if (!editor) return;
                                editorSeen = true;
                                editor->EditDescription->SetText("typed in the window");
                                editor->btnSave->Click();
                              },
                              [&] {
                                auto* name = dynamic_cast<TfrmName*>(Screen->ActiveForm());
                                if (!name) return;
                                nameSeen = true;
                                name->txtFileName->SetText("Typed");
                                name->btnOK->Click();
                              }});
    form->AddNewProfile(ofMp3);
  }
  EXPECT_TRUE(editorSeen);
  EXPECT_TRUE(nameSeen);
  ASSERT_TRUE(Exists(ProfileFilePath(ofMp3, "Typed")));
  ResetMp3Settings();
  LoadMp3Profile(ProfileFilePath(ofMp3, "Typed"));
  EXPECT_EQ(Mp3Settings.Description, "typed in the window");
  EXPECT_EQ(form->ProfileCombo(ofMp3)->GetText(), "Typed");
}
