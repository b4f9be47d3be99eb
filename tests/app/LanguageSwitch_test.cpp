// Switching the language file: a good file becomes the language ("config.ini", lists and texts); a
// broken or missing one changes nothing at all and says why.
#include <gtest/gtest.h>
#include <windows.h>

#include "AppTestKit.h"
#include "IniFile.h"
#include "MultiLanguages.h"
#include "TempDir.h"
#include "UnixShell.h"
#include "globals.h"

namespace {

using namespace apptest;

std::vector<std::string> Messages;
void RecordMessage(const std::string& text) { Messages.push_back(text); }

const char kGerman[] =
    "[VideoAPP_Convert]\r\nLanguageName=Deutsch\r\nIDS_MAIN_BUTTON_Open=Oeffnen\r\n"
    "IDS_MAIN_MENUITEM_About=Ueber\r\n[VideoAPP_AVSExt]\r\n1=.avs\r\n[VideoAPP_Filters]\r\nVideos=*.avi\r\n";

class LanguageSwitch : public ::testing::Test {
protected:
  TempDir dir;
  TLanguageMessage oldMessage = nullptr;
  void SetUp() override {
    AddEnglishLanguage(dir);
    ASSERT_TRUE(WriteWholeFile(dir / "langs\\German.ini", kGerman));
    ASSERT_TRUE(WriteWholeFile(dir / "config.ini", "[VideoAPP_Form]\r\nLanguageFile=English.ini\r\n"));
    ResetLanguageTexts();
    InitGlobals(dir.Path());
    ASSERT_TRUE(ReadLanguageFile());
    WriteLanguageFile();  // every key present, so switching back restores every English text
    oldMessage = ShowLanguageMessage;
    ShowLanguageMessage = RecordMessage;
    Messages.clear();
  }
  void TearDown() override {
    ShowLanguageMessage = oldMessage;
    ResetLanguageTexts();
  }
  std::string ConfigLanguage() const { return TIniFile(ConfigIniFile).ReadString("VideoAPP_Form", "LanguageFile", "?"); }
};

}  // namespace

TEST_F(LanguageSwitch, GoodFileBecomesTheLanguage) {
  const std::string englishOpen = IDS_MAIN_BUTTON_Open;
  ASSERT_TRUE(SwitchLanguageFile(dir / "langs\\German.ini"));
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(ConfigLanguage(), "German.ini");
  EXPECT_EQ(LanguageFile, dir / "langs\\German.ini");
  EXPECT_EQ(IDS_MAIN_BUTTON_Open, "Oeffnen");
  EXPECT_EQ(IDS_MAIN_MENUITEM_About, "Ueber");
  EXPECT_EQ(AVSExtList.Count(), 1);
  EXPECT_EQ(FilterList.Count(), 1);
  // And back again.
  ASSERT_TRUE(SwitchLanguageFile(dir / "langs\\English.ini"));
  EXPECT_EQ(ConfigLanguage(), "English.ini");
  EXPECT_EQ(IDS_MAIN_BUTTON_Open, englishOpen);
}

TEST_F(LanguageSwitch, BrokenFileChangesNothing) {
  struct TCase {
    const char* Name;
    std::string Source;  // empty: the file does not exist
  };
  const TCase cases[] = {{"no_filters.ini", DataFile("no_filters.ini")},
                         {"no_avsext.ini", DataFile("no_avsext.ini")},
                         {"missing.ini", ""}};
  const std::string file = LanguageFile, open = IDS_MAIN_BUTTON_Open;
  const int exts = AVSExtList.Count(), filters = FilterList.Count();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Messages.clear();
    const std::string target = dir / (std::string("langs\\") + c.Name);
    if (!c.Source.empty()) { ASSERT_TRUE(CopyFileA(c.Source.c_str(), target.c_str(), FALSE)); }
    EXPECT_FALSE(SwitchLanguageFile(target));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_NE(Messages[0].find(c.Name), std::string::npos) << Messages[0];
    EXPECT_EQ(ConfigLanguage(), "English.ini");
    EXPECT_EQ(LanguageFile, file);
    EXPECT_EQ(IDS_MAIN_BUTTON_Open, open);
    EXPECT_EQ(AVSExtList.Count(), exts);
    EXPECT_EQ(FilterList.Count(), filters);
    EXPECT_FALSE(c.Source.empty() && GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        << "a missing file must not be created";
  }
}
