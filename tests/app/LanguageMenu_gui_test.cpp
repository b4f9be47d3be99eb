// The main window's Language menu: built from langs\*.ini with display names, the start-up language
// checked (whatever its letter case in "config.ini"), switching changes captions and "config.ini", equal
// display names pick the later file, and a broken file keeps the current language.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "IniFile.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "Prompter.h"
#include "TempDir.h"
#include "UnixShell.h"
#include "globals.h"

namespace {

std::string DataFile(const std::string& name) {
  std::string d = ORV_TEST_DATA_DIR;
  while (!d.empty() && (d.back() == '/' || d.back() == '\\')) d.pop_back();
  return d + "\\" + name;
}

std::vector<std::string> Messages;
void RecordMessage(const std::string& text) { Messages.push_back(text); }

std::string Lang(const std::string& name, const std::string& open) {
  return "[VideoAPP_Convert]\r\nLanguageName=" + name + "\r\nIDS_MAIN_LABEL_ProFile=" + open +
         "\r\nIDS_MAIN_LABEL_ConvertTo=" + name + " to\r\nIDS_MAIN_MENUITEM_SelectAll=" + name +
         " all\r\nIDS_MAIN_MENUITEM_ShowWindow=" + name + " show\r\nIDS_MAIN_MENUITEM_StopEncoding=" + name +
         " stop\r\n[VideoAPP_AVSExt]\r\n1=.avs\r\n[VideoAPP_Filters]\r\nVideos=*.avi\r\n";
}

class LanguageMenu : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TLanguageMessage oldMessage = nullptr;
  TfrmMain* form = nullptr;

  // English.ini (from the fixture), German.ini "Deutsch", Plain.ini without a name, Twin1/Twin2.ini both
  // named "Twin", a folder "x.ini" and Broken.ini without filters. Config names `configName`.
  void Start(const std::string& configName) {
    CreateDirectoryA((dir / "langs").c_str(), nullptr);
    CopyFileA(DataFile("first_start_English.ini").c_str(), (dir / "langs\\English.ini").c_str(), FALSE);
    ASSERT_TRUE(WriteWholeFile(dir / "langs\\German.ini", Lang("Deutsch", "Oeffnen")));
    ASSERT_TRUE(WriteWholeFile(dir / "langs\\Plain.ini", Lang("", "Plain open")));
    ASSERT_TRUE(WriteWholeFile(dir / "langs\\Twin1.ini", Lang("Twin", "Twin one")));
    ASSERT_TRUE(WriteWholeFile(dir / "langs\\Twin2.ini", Lang("Twin", "Twin two")));
    CreateDirectoryA((dir / "langs\\x.ini").c_str(), nullptr);
    CopyFileA(DataFile("no_filters.ini").c_str(), (dir / "langs\\Broken.ini").c_str(), FALSE);
    ASSERT_TRUE(WriteWholeFile(dir / "config.ini", "[VideoAPP_Form]\r\nLanguageFile=" + configName + "\r\n"));
    ResetLanguageTexts();
    Options = TOptions();
    InitGlobals(dir.Path());
    ASSERT_TRUE(ReadLanguageFile());
    WriteLanguageFile();  // as start-up does: every key present, so switching back restores every text
    ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
    TPrompter* previous = SetPrompter(&prompter);
    if (!oldPrompter) oldPrompter = previous;
    if (!oldMessage) oldMessage = ShowLanguageMessage;
    ShowLanguageMessage = RecordMessage;
    Messages.clear();
    form = new TfrmMain(Application);
    form->Show();
  }

  void TearDown() override {
    if (form) form->Free();
    form = nullptr;
    if (oldPrompter) SetPrompter(oldPrompter);
    if (oldMessage) ShowLanguageMessage = oldMessage;
    ResetLanguageTexts();
    Application->ClearTerminated();
  }

  TMenuItem* Item(const std::string& caption) const {
    for (int i = 0; i < form->mniLanguages->Count(); ++i)
      if (form->mniLanguages->Items(i)->GetCaption() == caption) return form->mniLanguages->Items(i);
    return nullptr;
  }
  std::vector<std::string> Checked() const {
    std::vector<std::string> r;
    for (int i = 0; i < form->mniLanguages->Count(); ++i)
      if (form->mniLanguages->Items(i)->GetChecked()) r.push_back(form->mniLanguages->Items(i)->GetCaption());
    return r;
  }
  std::string ConfigLanguage() const { return TIniFile(ConfigIniFile).ReadString("VideoAPP_Form", "LanguageFile", "?"); }
};

}  // namespace

TEST_F(LanguageMenu, ItemsAreTheDisplayNamesOfTheFiles) {
  Start("English.ini");
  std::vector<std::string> captions;
  for (int i = 0; i < form->mniLanguages->Count(); ++i) captions.push_back(form->mniLanguages->Items(i)->GetCaption());
  std::sort(captions.begin(), captions.end());
  // Broken.ini is listed (its name is "Ohne"); the folder x.ini is not.
  EXPECT_EQ(captions, (std::vector<std::string>{"Deutsch", "English", "Ohne", "Plain", "Twin", "Twin"}));
  EXPECT_EQ(Checked(), std::vector<std::string>{"English"});
}

TEST_F(LanguageMenu, StartUpCheckIgnoresLetterCase) {
  struct TCase {
    const char* Config;
    std::vector<std::string> Checked;
  };
  // A display name that differs from its file's name ("Deutsch" for German.ini) is never checked.
  const TCase cases[] = {{"english.INI", {"English"}}, {"PLAIN.ini", {"Plain"}}, {"German.ini", {}}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Config);
    Start(c.Config);
    EXPECT_EQ(Checked(), c.Checked);
    form->Free();
    form = nullptr;
  }
}

TEST_F(LanguageMenu, SwitchingChangesCaptionsAndConfig) {
  Start("English.ini");
  const std::string englishOpen = form->lblProFile->GetCaption();
  ASSERT_NE(englishOpen, "Oeffnen");
  Item("Deutsch")->Click();
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(form->lblProFile->GetCaption(), "Oeffnen");
  EXPECT_EQ(ConfigLanguage(), "German.ini");
  EXPECT_EQ(Checked(), std::vector<std::string>{"Deutsch"});
  EXPECT_EQ(form->Languages()->GetFileName(form->Languages()->GetItemIndex()), dir / "langs\\German.ini");

  Item("English")->Click();
  EXPECT_EQ(form->lblProFile->GetCaption(), englishOpen);
  EXPECT_EQ(ConfigLanguage(), "English.ini");
}

// Some components keep their layout texts in every language; the tray menu's exit item is translated.
TEST_F(LanguageMenu, FixedTextsStayAndTheTrayExitItemFollows) {
  Start("English.ini");
  const std::string label = form->Label1->GetCaption(), selectAll = form->miSelectAll->GetCaption(),
                    show = form->miTrayShowWindow->GetCaption();
  Item("Deutsch")->Click();
  ASSERT_EQ(form->lblProFile->GetCaption(), "Oeffnen");
  EXPECT_EQ(form->Label1->GetCaption(), label);
  EXPECT_EQ(form->miSelectAll->GetCaption(), selectAll);
  EXPECT_EQ(form->miTrayShowWindow->GetCaption(), show);
  EXPECT_EQ(form->miTrayExit->GetCaption(), "Deutsch stop");
}

TEST_F(LanguageMenu, EqualDisplayNamesPickTheLaterFile) {
  Start("English.ini");
  // The later of the two in the enumeration order, whichever item is clicked.
  std::string later;
  for (int i = 0; i < form->Languages()->GetCount(); ++i)
    if (form->Languages()->GetLanguageName(i) == "Twin") later = form->Languages()->GetFileName(i);
  const std::string expectedOpen = later == dir / "langs\\Twin1.ini" ? "Twin one" : "Twin two";
  Item("Twin")->Click();
  EXPECT_EQ(form->lblProFile->GetCaption(), expectedOpen);
  EXPECT_EQ(dir / "langs\\" + ConfigLanguage(), later);
}

TEST_F(LanguageMenu, BrokenFileKeepsTheCurrentLanguage) {
  Start("English.ini");
  Item("Deutsch")->Click();
  Messages.clear();
  Item("Ohne")->Click();
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find("Broken.ini"), std::string::npos) << Messages[0];
  EXPECT_EQ(form->lblProFile->GetCaption(), "Oeffnen");
  EXPECT_EQ(ConfigLanguage(), "German.ini");
  EXPECT_EQ(LanguageFile, dir / "langs\\German.ini");
  EXPECT_EQ(Checked(), std::vector<std::string>{"Deutsch"});
  EXPECT_FALSE(Application->Terminated());
}
