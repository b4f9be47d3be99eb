#include "ProfileLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "FileUtils.h"
#include "MultiLanguages.h"
#include "TempDir.h"

namespace {

struct RecordedWarning {
    HWND owner;
    std::string text, caption;
};

class ProfileListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLanguageTexts();
        saved = ProfileListActions();
        ProfileListActions().ShowWarning = [this](HWND owner, const std::string& text, const std::string& caption) {
            warnings.push_back({owner, text, caption});
        };
        ProfileListActions().TerminateApplication = [this] { ++terminations; };
        Options = TOptions();
        Options.ProfileDir = dir / "English_Profile\\";
    }
    void TearDown() override { ProfileListActions() = saved; }

    void Touch(const std::string& path) { ASSERT_TRUE(WriteFileText(path, "x")) << path; }

    TempDir dir;
    TProfileListActions saved;
    std::vector<RecordedWarning> warnings;
    int terminations = 0;
};

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

TEST(ProfileExt, FirstTwoLettersOfTheShortNameAndO)
{
    struct Case { const char* shortName; const char* ext; };
    const Case cases[] = {{"avi", "avo"}, {"rm", "rmo"}, {"3gp", "3go"}, {"mpg", "mpo"}, {"mp3", "mpo"},
                          {"a", "ao"},    {"", "o"}};
    for (const Case& c : cases) EXPECT_EQ(ProfileExt(c.shortName), c.ext) << c.shortName;
}

TEST(ProfileFolders, OneFolderPerFormatInStorageOrder)
{
    const char* const order[] = {"avi", "mp4", "3gp", "mpg", "mov", "wmv", "rm", "swf",
                                 "aac", "vob", "ac3", "mp2", "mp3", "amr", "wav", "asf"};
    const std::vector<TProfileFolder>& folders = ProfileFolders();
    ASSERT_EQ(folders.size(), 16u);
    for (size_t i = 0; i < folders.size(); ++i) EXPECT_STREQ(folders[i].ShortName, order[i]);
    // Every format 0..15 once, each with its own Options field.
    std::map<int, int> formats;
    std::set<const std::string*> fields;
    TOptions options;
    for (const TProfileFolder& f : folders) {
        ++formats[f.Format];
        fields.insert(&(options.*f.Folder));
    }
    EXPECT_EQ(formats.size(), 16u);
    EXPECT_EQ(fields.size(), 16u);
    EXPECT_EQ(formats.begin()->first, 0);
    EXPECT_EQ(formats.rbegin()->first, 15);
    EXPECT_STREQ(ProfileFolderOf(3).ShortName, "mpg");
    EXPECT_STREQ(ProfileFolderOf(8).ShortName, "vob");
    EXPECT_STREQ(ProfileFolderOf(9).ShortName, "asf");
    EXPECT_STREQ(ProfileFolderOf(10).ShortName, "aac");

    std::vector<TOutputFormat> fill = ProfileListFillOrder();
    const std::vector<TOutputFormat> expected = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 14, 15, 13, 8, 9};
    EXPECT_EQ(fill, expected);
}

TEST_F(ProfileListTest, FirstStartCreatesAllSixteenFoldersAndEveryListIsEmpty)
{
    std::vector<TOutputFormat> filled;
    std::vector<std::string> patterns;
    ASSERT_TRUE(LoadProfileLists(nullptr, [&](TOutputFormat format, const std::string& pattern) {
        filled.push_back(format);
        patterns.push_back(pattern);
        EXPECT_TRUE(ListProfileNames(pattern).empty()) << pattern;
    }));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(terminations, 0);
    EXPECT_EQ(filled, ProfileListFillOrder());
    for (const TProfileFolder& f : ProfileFolders()) {
        const std::string folder = Options.ProfileDir + f.ShortName + "\\";
        EXPECT_EQ(Options.*f.Folder, folder);
        EXPECT_TRUE(DirectoryExists(folder)) << folder;
    }
    EXPECT_EQ(patterns[0], Options.ProfileDir + "avi\\*.avo");
    EXPECT_EQ(patterns[13], Options.ProfileDir + "mp3\\*.mpo");
    EXPECT_EQ(ProfileFilePath(0, "Fast"), Options.ProfileDir + "avi\\Fast.avo");
    EXPECT_EQ(ProfileFilePath(6, "Small"), Options.ProfileDir + "rm\\Small.rmo");
}

TEST_F(ProfileListTest, ListsMatchingFilesWhateverTheCaseOfTheirExtension)
{
    ASSERT_TRUE(CreateProfileDirs());
    Touch(Options.AVIProfileDir + "Fast.avo");
    Touch(Options.AVIProfileDir + "Small.AVO");
    Touch(Options.AVIProfileDir + "notes.txt");
    Touch(Options.AVIProfileDir + "My.best.avo");
    Touch(Options.AVIProfileDir + "Fast.avo.bak");
    ASSERT_TRUE(ForceDirectories(Options.AVIProfileDir + "Folder.avo"));
    Touch(Options.Mp3ProfileDir + "Mobile.mpo");

    EXPECT_EQ(Sorted(ListProfileNames(ProfilePattern(0))), Sorted({"Fast", "Small", "My.best", "Folder"}));
    // The shared extension: each folder holds its own list.
    EXPECT_EQ(ListProfileNames(ProfilePattern(13)), std::vector<std::string>{"Mobile"});
    EXPECT_TRUE(ListProfileNames(ProfilePattern(1)).empty());
    EXPECT_TRUE(ListProfileNames(ProfilePattern(3)).empty());
}

TEST(ProfileIndexToSelect, SelectsByNameIgnoringCaseOrTheFirst)
{
    const std::vector<std::string> names = {"Fast", "Small", "Best"};
    struct Case { const char* select; int index; };
    const Case cases[] = {{"", 0}, {"fast", 0}, {"SMALL", 1}, {"Best", 2}, {"Missing", -1}, {"Fas", -1}};
    for (const Case& c : cases) EXPECT_EQ(ProfileIndexToSelect(names, c.select), c.index) << c.select;
    EXPECT_EQ(ProfileIndexToSelect({}, ""), -1);
    EXPECT_EQ(ProfileIndexToSelect({}, "Fast"), -1);
}

TEST_F(ProfileListTest, UnwritableBaseFolderIsReportedOnceAndNoListIsFilled)
{
    // A file stands where the base folder should be.
    Touch(dir / "English_Profile");
    int fills = 0;
    EXPECT_FALSE(LoadProfileLists(HWND(0x1234), [&](TOutputFormat, const std::string&) { ++fills; }));
    EXPECT_EQ(fills, 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, "Create profile directory error!");
    EXPECT_EQ(warnings[0].caption, "Error");
    EXPECT_EQ(warnings[0].owner, HWND(0x1234));
    EXPECT_EQ(terminations, 1);
}

TEST_F(ProfileListTest, CreationStopsAtTheFirstFolderThatCannotBeMade)
{
    ASSERT_TRUE(ForceDirectories(Options.ProfileDir));
    // "mov" is the fifth folder; a file in its way stops the creation there.
    Touch(Options.ProfileDir + "mov");
    EXPECT_FALSE(CreateProfileDirs());
    EXPECT_TRUE(DirectoryExists(Options.ProfileDir + "mpg"));
    EXPECT_FALSE(DirectoryExists(Options.ProfileDir + "wmv"));
    EXPECT_FALSE(DirectoryExists(Options.ProfileDir + "asf"));
    // The fields are all set even so.
    EXPECT_EQ(Options.AsfProfileDir, Options.ProfileDir + "asf\\");
}
