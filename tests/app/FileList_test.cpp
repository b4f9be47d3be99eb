// The file list's rules as tables: the extension test (whole extensions, any letter case), paths that
// name the same file, the summary line, and where deleting and moving leave the selection.
#include "FileList.h"

#include <gtest/gtest.h>

#include "MultiLanguages.h"

namespace {
TStringList Filters(std::initializer_list<const char*> lines) {
  TStringList list;
  for (const char* l : lines) list.Add(l);
  return list;
}
}  // namespace

TEST(FileList, ExtensionTable) {
  const TStringList filters = Filters({"Video Files=*.avi;*.mp4; *.M2TS", "Audio Files=*.mp3", "Odd=*.;*;mp2"});
  struct {
    const char* Ext;
    bool Supported;
  } cases[] = {
      {".avi", true},  {".AVI", true},  {".Mp4", true},   {".m2ts", true},  {".mp3", true},
      {".m", false},   {".mp", false},  {".p4", false},   {".vi", false},   {".mp4x", false},
      {"", false},     {".", false},    {"avi", false},   {".mp2", false},  {".wav", false},
      {".avi;", false}, {"*.avi", false}, {".m2t", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSupportedExtension(c.Ext, filters), c.Supported) << '"' << c.Ext << '"';
}

TEST(FileList, NoFiltersAcceptNothing) {
  EXPECT_FALSE(IsSupportedExtension(".avi", TStringList()));
  EXPECT_FALSE(IsSupportedExtension(".avi", Filters({"All=*.*"})));
}

TEST(FileList, SamePathTable) {
  struct {
    const char* A;
    const char* B;
    bool Same;
  } cases[] = {
      {"C:\\Media\\Clip.avi", "C:\\Media\\Clip.avi", true},  {"C:\\Media\\Clip.avi", "c:\\media\\clip.AVI", true},
      {"C:\\Media\\Clip.avi", "C:\\Media\\Clip2.avi", false}, {"C:\\Media\\Clip.avi", "C:\\Media\\Clip.av", false},
      {"", "", true},                                         {"C:\\A\\x.mp3", "C:\\B\\x.mp3", false},
  };
  for (const auto& c : cases) EXPECT_EQ(SameFilePath(c.A, c.B), c.Same) << c.A << " | " << c.B;
}

// The batch's keys stand in for the comparison: paths the comparison calls the same must get the same
// key (or the list would take a file twice); different paths should get different keys.
TEST(FileList, PathKeyFollowsTheSamePathComparison) {
  const char* paths[] = {"C:\\Media\\Clip.avi", "c:\\media\\clip.AVI", "C:\\MEDIA\\CLIP.AVI",
                         "C:\\Media\\Clip2.avi", "C:\\Media\\Clip.av",  "C:\\Media\\Clip.avi ",
                         "C:\\B\\x.mp3",          "C:\\A\\x.mp3",          "C:\\A\\X.MP3",
                         "C:\\A\\\xE9t\xE9.mp3",    "C:\\A\\\xC9T\xC9.MP3",    "C:\\A\\ete.mp3",
                         "C:\\A\\a-b.mp3",        "C:\\A\\ab.mp3",         "C:\\A\\a'b.mp3"};
  for (const char* a : paths) {
    EXPECT_FALSE(FilePathKey(a).empty()) << a;
    for (const char* b : paths) {
      const bool same = SameFilePath(a, b);
      if (same) EXPECT_EQ(FilePathKey(a), FilePathKey(b)) << a << " | " << b;
      else EXPECT_NE(FilePathKey(a), FilePathKey(b)) << a << " | " << b;
    }
  }
}

TEST(FileList, SummaryTable) {
  ResetLanguageTexts();
  EXPECT_EQ(SummaryText(0), "Summary: No files");
  EXPECT_EQ(SummaryText(1), "Summary: One file");
  EXPECT_EQ(SummaryText(2), "Summary: 2 files");
  EXPECT_EQ(SummaryText(1000), "Summary: 1000 files");
  // The texts come from the language table.
  IDS_MAIN_LABEL_SummaryFile = "%d Dateien";
  EXPECT_EQ(SummaryText(7), "7 Dateien");
  ResetLanguageTexts();
}

TEST(FileList, SelectionAfterDeleteTable) {
  struct {
    std::vector<int> Deleted;
    int Select;
  } cases[] = {{{}, -1}, {{3, 1}, 1}, {{4}, 4}, {{4, 3, 2, 1, 0}, 0}, {{0}, 0}};
  for (const auto& c : cases) EXPECT_EQ(SelectionAfterDelete(c.Deleted), c.Select);
}

TEST(FileList, MoveInsertIndexTable) {
  struct {
    int Index, Count;
    bool Up;
    int Insert;
  } cases[] = {{0, 5, true, -1}, {4, 5, false, -1}, {1, 5, true, 0}, {1, 5, false, 3}, {3, 5, false, 5},
               {0, 1, true, -1}, {0, 1, false, -1}, {-1, 5, true, -1}, {5, 5, true, -1}, {0, 2, false, 2}};
  for (const auto& c : cases)
    EXPECT_EQ(MoveInsertIndex(c.Index, c.Count, c.Up), c.Insert) << c.Index << "/" << c.Count << (c.Up ? " up" : " down");
}

TEST(FileList, ValueTableFollowsTheFileItemOrder) {
  TFileItem item;
  for (int i = 0; i < FileItemValueCount; ++i) item.*FileItemValues[i] = std::to_string(i);
  EXPECT_EQ(item.CompleteName, "0");
  EXPECT_EQ(item.FileSize, "1");
  EXPECT_EQ(item.VideoCodec, "6");
  EXPECT_EQ(item.VideoBitrate, "9");
  EXPECT_EQ(item.AudioCodec, "12");
  EXPECT_EQ(item.SamplingRate, "15");
}
