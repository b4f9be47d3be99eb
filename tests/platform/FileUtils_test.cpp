#include "FileUtils.h"

#include <gtest/gtest.h>

#include "StringList.h"
#include "TempDir.h"

TEST(PathParts, SplitFolderNameAndExtension)
{
    struct Case { const char* path; const char* folder; const char* name; const char* ext; };
    const Case cases[] = {
        {"C:\\a\\b.avi", "C:\\a\\", "b.avi", ".avi"},
        {"C:\\a.b\\file", "C:\\a.b\\", "file", ""},
        {"C:file.tar.gz", "C:", "file.tar.gz", ".gz"},
        {"name", "", "name", ""},
        {"C:\\dir\\", "C:\\dir\\", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\clip", ".mp4"), "C:\\a.b\\clip.mp4");
    EXPECT_EQ(ChangeFileExt("C:\\a\\clip.avi", ".mp4"), "C:\\a\\clip.mp4");
}

TEST(Folders, ForceDirectoriesCreatesMissingParentsAndFindFilesLists)
{
    TempDir dir;
    ASSERT_TRUE(ForceDirectories(dir / "x\\y\\z\\"));
    EXPECT_TRUE(DirectoryExists(dir / "x\\y\\z"));
    EXPECT_FALSE(FileExists(dir / "x"));
    ASSERT_TRUE(WriteFileText(dir / "x\\a.avo", "1"));
    ASSERT_TRUE(WriteFileText(dir / "x\\b.txt", "22"));
    EXPECT_EQ(FindFiles(dir / "x\\*.avo"), std::vector<std::string>{"a.avo"});
    EXPECT_EQ(FindFiles(dir / "x\\*", true), std::vector<std::string>{"y"});
    EXPECT_TRUE(DeleteFileAt(dir / "x\\a.avo"));
    EXPECT_FALSE(FileExists(dir / "x\\a.avo"));
}

TEST(StringList, NameValueLookupIgnoresCase)
{
    TStringList list;
    list.Add("Video Files=*.avi;*.mp4");
    list.Add("no equals sign");
    list.Add("Audio=*.mp3");
    EXPECT_EQ(list.IndexOfName("audio"), 2);
    EXPECT_EQ(list.Values("VIDEO FILES"), "*.avi;*.mp4");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.Names(1), "");
    list.SetValue("audio", "*.wav");
    EXPECT_EQ(list[2], "audio=*.wav");
    EXPECT_EQ(list.IndexOf("NO EQUALS SIGN"), 1);
    TempDir dir;
    list.SaveToFile(dir / "l.txt");
    TStringList back;
    ASSERT_TRUE(back.LoadFromFile(dir / "l.txt"));
    EXPECT_EQ(back.Text(), list.Text());
}
