// The language files of a folder with their display names: missing, empty and shared names, a folder
// whose name ends in ".ini", files of other kinds, a missing folder and the index bounds.
#include "OrvMultiLanguages.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "TempDir.h"
#include "UnixShell.h"

namespace {

struct TLangFile {
  const char* File;
  const char* Content;
  const char* ExpectedName;
};

const TLangFile kFiles[] = {
    {"English.ini", "[VideoAPP_Convert]\r\nLanguageName=English\r\n", "English"},
    {"Deutsch.ini", "[VideoAPP_Convert]\r\nLanguageName=German (Deutsch)\r\n", "German (Deutsch)"},
    {"Plain.ini", "[VideoAPP_AVSExt]\r\n1=.rm\r\n", "Plain"},                          // no key
    {"Empty.ini", "[VideoAPP_Convert]\r\nLanguageName=\r\n", "Empty"},                 // empty key
    {"Other.ini", "[Elsewhere]\r\nLanguageName=Wrong section\r\n", "Other"},           // wrong section
    {"SameA.ini", "[VideoAPP_Convert]\r\nLanguageName=Same\r\n", "Same"},
    {"SameB.ini", "[videoapp_convert]\r\nlanguagename=  Same  \r\n", "Same"},          // case, blanks
};

}  // namespace

TEST(OrvMultiLanguages, ListsEveryIniFileWithItsDisplayName) {
  TempDir dir;
  for (const TLangFile& f : kFiles) ASSERT_TRUE(WriteWholeFile(dir / f.File, f.Content));
  ASSERT_TRUE(CreateDirectoryA((dir / "x.ini").c_str(), nullptr));
  ASSERT_TRUE(WriteWholeFile(dir / "notes.txt", "[VideoAPP_Convert]\r\nLanguageName=Notes\r\n"));

  TOrvMultiLanguages langs(dir.Path(), "LanguageName", "VideoAPP_Convert");
  ASSERT_EQ(langs.GetCount(), int(std::size(kFiles)));
  std::map<std::string, std::string> found;  // file -> display name, whatever the enumeration order
  for (int i = 0; i < langs.GetCount(); ++i) found[langs.GetFileName(i)] = langs.GetLanguageName(i);
  for (const TLangFile& f : kFiles) {
    SCOPED_TRACE(f.File);
    ASSERT_EQ(found.count(dir / f.File), 1u);
    EXPECT_EQ(found[dir / f.File], f.ExpectedName);
  }
  EXPECT_EQ(langs.GetItemIndex(), 0);
}

TEST(OrvMultiLanguages, IndexBounds) {
  TempDir dir;
  ASSERT_TRUE(WriteWholeFile(dir / "A.ini", ""));
  ASSERT_TRUE(WriteWholeFile(dir / "B.ini", ""));
  TOrvMultiLanguages langs(dir.Path(), "LanguageName", "VideoAPP_Convert");
  ASSERT_EQ(langs.GetCount(), 2);
  for (int bad : {-1, 2, 100}) {
    EXPECT_EQ(langs.GetFileName(bad), "");
    EXPECT_EQ(langs.GetLanguageName(bad), "");
  }
  langs.SetItemIndex(1);
  EXPECT_EQ(langs.GetItemIndex(), 1);
  for (int bad : {-1, 2}) {
    langs.SetItemIndex(bad);
    EXPECT_EQ(langs.GetItemIndex(), 1);
  }
}

TEST(OrvMultiLanguages, MissingFolderGivesNothing) {
  TempDir dir;
  TOrvMultiLanguages langs(dir / "nowhere\\", "LanguageName", "VideoAPP_Convert");
  EXPECT_EQ(langs.GetCount(), 0);
  EXPECT_FALSE(langs.FileNames);
  EXPECT_FALSE(langs.LanguageNames);
  EXPECT_EQ(langs.GetLanguageName(0), "");

  TOrvMultiLanguages empty(dir.Path(), "LanguageName", "VideoAPP_Convert");  // exists, no files
  EXPECT_EQ(empty.GetCount(), 0);
  EXPECT_TRUE(empty.FileNames);
}
