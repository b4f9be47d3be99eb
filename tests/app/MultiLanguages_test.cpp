#include "MultiLanguages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "FileUtils.h"
#include "IniFile.h"
#include "OrvUtils.h"
#include "Strings.h"
#include "TempDir.h"
#include "globals.h"

namespace {

std::vector<std::string> Messages;
void RecordMessage(const std::string& text) { Messages.push_back(text); }

std::string FileBytes(const std::string& path)
{
    std::string data;
    EXPECT_TRUE(ReadFileText(path, data)) << path;
    return data;
}

// The key names of one section, in file order, as written in the file (names trimmed).
std::vector<std::string> SectionKeys(const std::string& path, const std::string& section)
{
    std::vector<std::string> keys;
    bool inside = false;
    for (const std::string& raw : SplitLines(FileBytes(path))) {
        const std::string line = Trim(raw);
        if (line.empty()) continue;
        if (line.front() == '[') {
            inside = SameText(line, "[" + section + "]");
            continue;
        }
        if (inside) keys.push_back(Trim(line.substr(0, line.find('='))));
    }
    return keys;
}

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLanguageTexts();
        AVSExtList.Clear();
        FilterList.Clear();
        Messages.clear();
        ShowLanguageMessage = RecordMessage;
    }

    // Copies a fixture into the test's folder and makes it the current language file.
    std::string UseFixture(const std::string& name)
    {
        const std::string path = dir / name;
        EXPECT_TRUE(CopyFileA((std::string(ORV_TEST_DATA_DIR) + name).c_str(), path.c_str(), FALSE)) << name;
        LanguageFile = path;
        return path;
    }

    TempDir dir;
};

// The texts of partial.ini that the read sets aside, as the file holds them: placeholders that differ
// from the built-in text's, a lone "%", and an empty pattern text.
struct TSetAsideText { const char* key; const char* stored; };
const TSetAsideText kSetAsideTexts[] = {
    {"IDS_ID_WORKING", "Datei %s von %d"},
    {"IDS_MAIN_LABEL_SummaryFile", "\xDC" "bersicht: %d %"},
    {"IDS_LABEL_OutputFile", "Ausgabe: %d"},
    {"IDS_NoEncoder", ""},
};
bool IsSetAside(const std::string& key)
{
    for (const TSetAsideText& t : kSetAsideTexts)
        if (SameText(t.key, Trim(key))) return true;
    return false;
}

}  // namespace

TEST(LanguageCatalogue, HoldsEveryKeyOnceInFileOrder)
{
    const std::vector<TLanguageText>& catalogue = LanguageCatalogue();
    ASSERT_EQ(catalogue.size(), 300u);
    EXPECT_STREQ(catalogue.front().Key, "IDS_MAIN_BUTTON_Open");
    EXPECT_STREQ(catalogue.back().Key, "IDS_NO_DESCRIPTION ");

    std::set<std::string> keys;
    std::set<const std::string*> variables;
    int written = 0, blankEnded = 0;
    for (const TLanguageText& entry : catalogue) {
        EXPECT_TRUE(keys.insert(UpperCase(Trim(entry.Key))).second) << entry.Key;
        EXPECT_TRUE(variables.insert(entry.Text).second) << entry.Key;
        EXPECT_TRUE(StartsText("IDS_", entry.Key)) << entry.Key;
        written += entry.WrittenBack;
        const std::string key = entry.Key;
        if (key.back() == ' ') {
            ++blankEnded;
            EXPECT_NE(key[key.size() - 2], ' ') << key;
        }
    }
    EXPECT_EQ(written, 298);
    EXPECT_EQ(blankEnded, 10);
    EXPECT_FALSE(FindLanguageText("IDS_ABOUT_LABEL_Title")->WrittenBack);
    EXPECT_FALSE(FindLanguageText("IDS_ABOUT_LABEL_Designer")->WrittenBack);
    // The profile description that the settings records use is the catalogue's own variable.
    EXPECT_EQ(FindLanguageText("IDS_NO_DESCRIPTION")->Text, &IDS_NO_DESCRIPTION);
    EXPECT_EQ(IDS_NO_DESCRIPTION, FindLanguageText("IDS_NO_DESCRIPTION")->BuiltIn);
    EXPECT_EQ(FindLanguageText("ids_main_button_open")->Text, &IDS_MAIN_BUTTON_Open);
    EXPECT_EQ(FindLanguageText("IDS_NOT_A_KEY"), nullptr);
}

TEST(LanguageCatalogue, BuiltInTextsAreTheStartingValues)
{
    ResetLanguageTexts();
    for (const TLanguageText& entry : LanguageCatalogue()) EXPECT_EQ(*entry.Text, entry.BuiltIn) << entry.Key;
    EXPECT_EQ(IDS_CONVERTING_Status, "Status= ");
    EXPECT_EQ(IDS_PROFILE_LABEL_LowQuality, "Low quality,\r\nsmall size");
    EXPECT_EQ(IDS_SETTINGS_LABEL_ShutDown, "\"Shutdown Windows\" really does:");
    EXPECT_EQ(IDS_NoAVSExtersionAllow,
              "Invalid'AVS extension', Make sure you have correct language file. The program  will exit!");
}

// The arguments each pattern text receives where it is used; the built-in text must fit them.
TEST(LanguageCatalogue, PatternTextsFitTheArgumentsTheyReceive)
{
    struct Use { const char* key; std::vector<TFormatArg> args; };
    const Use uses[] = {
        {"IDS_MAIN_LABEL_SummaryFile", {3}},
        {"IDS_MAIN_MENUITEM_Hint", {"C:\\clip.avi", 42}},
        {"IDS_CONVERTING_TrayInfo", {"Orvane"}},
        {"IDS_SHUTDOWN_LABEL_TimeLeft", {30}},
        {"IDS_PROFILE_FORM_ProfileEditor", {"AVI"}},
        {"IDS_PROFILE_LABEL_FormatProperties", {"Divx"}},
        {"IDS_SETTINGS_COMBOBOX_Close", {"Orvane"}},
        {"IDS_NoEncoder", {"avcore.dll"}},
        {"IDS_MESSAGE_MustBeDiffer", {"a.avi"}},
        {"IDS_MESSAGEBOX_FileExists", {"a.avi"}},
        {"IDS_ID_WORKING", {1, 2, "a.avi"}},
        {"IDS_LABEL_TrayInformation", {"Orvane"}},
        {"IDS_MESSAGEBOX_FormatError", {"a.avi"}},
        {"IDS_MESSAGEBOX_FailedFile", {"a.avi", "No space left on device"}},
        {"IDS_MESSAGEBOX_MoreFailedFiles", {3}},
        {"IDS_MESSAGEBOX_EncoderExitCode", {"0xC0000005"}},
        {"IDS_MESSAGEBOX_MediaLibraryError", {"C:\\Orvane\\videoinfo.Dll", "Module not found. (126)"}},
        {"IDS_LABEL_OutputFile", {"a.avi"}},
        {"IDS_MESSAGEBOX_SureDeleteProfile", {"Fast"}},
        {"IDS_MESSAGEBOX_NoDatFile", {"a.dat"}},
        {"IDS_LABEL_FileInformation", {"a.avi"}},
        {"IDS_BITTATE_FORMAT", {"128"}},
        {"IDS_INVAILD_VALUE", {4}},
        {"IDS_INVAILD_VALUE_BETWEEN", {1, 9999}},
    };
    int patterns = 0;
    for (const TLanguageText& entry : LanguageCatalogue()) patterns += std::string(entry.BuiltIn).find('%') != std::string::npos;
    EXPECT_EQ(patterns, int(sizeof(uses) / sizeof(uses[0]))) << "every pattern text is listed here";
    for (const Use& use : uses) {
        const TLanguageText* entry = FindLanguageText(use.key);
        ASSERT_NE(entry, nullptr) << use.key;
        std::string result;
        EXPECT_TRUE(TryFormat(entry->BuiltIn, use.args, result)) << use.key;
    }
}

TEST_F(LanguageFileTest, ShippedEnglishFileHoldsTheBuiltInTextsAndSurvivesAWriteBackUnchanged)
{
    const std::string shipped = std::string(ORV_PROGRAM_DIR) + "langs\\English.ini";
    const std::string path = dir / "English.ini";
    ASSERT_TRUE(CopyFileA(shipped.c_str(), path.c_str(), FALSE));
    LanguageFile = path;
    const std::string before = FileBytes(path);

    ASSERT_TRUE(ReadLanguageFile());
    EXPECT_TRUE(Messages.empty());
    EXPECT_GT(AVSExtList.Count(), 0);
    EXPECT_GT(FilterList.Count(), 0);
    for (const TLanguageText& entry : LanguageCatalogue()) EXPECT_EQ(*entry.Text, Trim(entry.BuiltIn)) << entry.Key;
    EXPECT_EQ(TIniFile(path).ReadString(LanguageTextSection, "LanguageName", ""), "English");

    WriteLanguageFile();
    EXPECT_EQ(FileBytes(path), before);
    std::vector<std::string> expected = {"LanguageName"};
    for (const TLanguageText& entry : LanguageCatalogue())
        if (entry.WrittenBack) expected.push_back(Trim(entry.Key));
    EXPECT_EQ(SectionKeys(path, LanguageTextSection), expected);
}

TEST_F(LanguageFileTest, ReadTakesTranslationsListsAndLineBreaks)
{
    UseFixture("partial.ini");
    ASSERT_TRUE(ReadLanguageFile());
    EXPECT_TRUE(Messages.empty());

    // Extensions as read, an empty value included; the read stops at the missing key 4.
    ASSERT_EQ(AVSExtList.Count(), 3);
    EXPECT_EQ(AVSExtList[0], ".rmvb");
    EXPECT_EQ(AVSExtList[1], "");
    EXPECT_EQ(AVSExtList[2], ".RM");
    ASSERT_EQ(FilterList.Count(), 2);
    EXPECT_EQ(FilterList[0], "Videos=*.avi;*.mpg");
    EXPECT_EQ(FilterList[1], "Audio=*.mp3");

    EXPECT_EQ(IDS_MAIN_BUTTON_Open, "\xD6" "ffnen");
    EXPECT_EQ(IDS_ABOUT_LABEL_Title, "Orvane Deutsch");
    EXPECT_EQ(IDS_PROFILE_LABEL_LowQuality, "Niedrige Qualit\xE4t,\r\nkleine Datei");
    EXPECT_EQ(IDS_CONVERTING_PleaseWait, "\r\nBitte warten...\r\n");
    EXPECT_EQ(IDS_MAIN_LABEL_General, "");
    EXPECT_EQ(IDS_BITTATE_FORMAT, "%s kbit/s");
    // Missing keys keep their text, trimmed.
    EXPECT_EQ(IDS_CONVERTING_Status, "Status=");
    EXPECT_EQ(IDS_MAIN_ARBUTTON_Convert, "Convert");
}

TEST_F(LanguageFileTest, TranslatedPatternsThatDoNotFitFallBackToTheBuiltInText)
{
    UseFixture("partial.ini");
    ASSERT_TRUE(ReadLanguageFile());
    // Fit: same placeholders in the same order.
    EXPECT_EQ(IDS_MAIN_MENUITEM_Hint, "%s: %d%%");
    EXPECT_EQ(IDS_SHUTDOWN_LABEL_TimeLeft, "Restzeit: %d Sekunden");
    // "%s von %d" for "%d of %d: %s", a lone "%", "%d" for "%s", an empty text: the built-in text shows.
    for (const TSetAsideText& t : kSetAsideTexts) {
        const TLanguageText* entry = FindLanguageText(t.key);
        ASSERT_NE(entry, nullptr) << t.key;
        EXPECT_EQ(*entry->Text, entry->BuiltIn) << t.key;
    }
    EXPECT_EQ(Format(IDS_ID_WORKING, {1, 2, "a.avi"}), "Working on file 1 of 2: a.avi");
}

// The built-in text shown in place of a translation never goes into the file over it, at this start or
// at any later one; the texts that fit are still written as read.
TEST_F(LanguageFileTest, WriteBackKeepsTheTranslationsTheReadSetAside)
{
    const std::string path = UseFixture("partial.ini");
    for (int start = 1; start <= 2; ++start) {
        ResetLanguageTexts();
        ASSERT_TRUE(ReadLanguageFile());
        WriteLanguageFile();
        const TIniSection stored(TIniFile(path), LanguageTextSection);
        for (const TSetAsideText& t : kSetAsideTexts) {
            EXPECT_EQ(stored.ReadString(t.key, "<missing>"), t.stored) << t.key << ", start " << start;
            EXPECT_EQ(*FindLanguageText(t.key)->Text, FindLanguageText(t.key)->BuiltIn) << t.key;
        }
        EXPECT_EQ(stored.ReadString("IDS_SHUTDOWN_LABEL_TimeLeft", ""), "Restzeit: %d Sekunden");
        EXPECT_EQ(stored.ReadString("IDS_MAIN_BUTTON_Open", ""), "\xD6" "ffnen");
    }
}

TEST_F(LanguageFileTest, WriteBackFillsMissingKeysInCatalogueOrderAndASecondStartChangesNothing)
{
    const std::string path = UseFixture("partial.ini");
    const std::vector<std::string> fixtureKeys = SectionKeys(path, LanguageTextSection);
    const std::vector<std::string> avsBefore = SectionKeys(path, LanguageAVSExtSection);
    const std::vector<std::string> filtersBefore = SectionKeys(path, LanguageFilterSection);

    ASSERT_TRUE(ReadLanguageFile());
    WriteLanguageFile();

    std::vector<std::string> expected = fixtureKeys;
    for (const TLanguageText& entry : LanguageCatalogue()) {
        bool present = false;
        for (const std::string& k : fixtureKeys) present = present || SameText(k, Trim(entry.Key));
        if (entry.WrittenBack && !present) expected.push_back(Trim(entry.Key));
    }
    EXPECT_EQ(SectionKeys(path, LanguageTextSection), expected);
    EXPECT_EQ(SectionKeys(path, LanguageAVSExtSection), avsBefore);
    EXPECT_EQ(SectionKeys(path, LanguageFilterSection), filtersBefore);

    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "LanguageName", ""), "Deutsch");
    EXPECT_EQ(ini.ReadString(LanguageAVSExtSection, "5", ""), ".ram");
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "IDS_PROFILE_LABEL_LowQuality", ""), "Niedrige Qualit\xE4t,#13kleine Datei");
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "IDS_CONVERTING_PleaseWait", ""), "Bitte warten...");
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "IDS_CONVERTING_Status", ""), "Status=");
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "IDS_MESSAGE_MustBeDiffer", ""),
              "Input file and output file must be different!#13#13Please correct this for \"%s\".");
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "IDS_ABOUT_LABEL_Title", ""), "Orvane Deutsch");
    EXPECT_FALSE(ini.ValueExists(LanguageTextSection, "IDS_ABOUT_LABEL_Designer"));

    // The next start reads what was written and leaves the file as it is.
    const std::string once = FileBytes(path);
    ResetLanguageTexts();
    ASSERT_TRUE(ReadLanguageFile());
    WriteLanguageFile();
    EXPECT_EQ(FileBytes(path), once);
}

// Only texts that differ from the file are written; the file must come out as writing every text would
// leave it: missing keys added, changed ones replaced, quoted and differently cased ones included.
TEST_F(LanguageFileTest, WriteBackGivesTheSameFileAsWritingEveryText)
{
    const std::string path = UseFixture("partial.ini");
    ASSERT_TRUE(ReadLanguageFile());
    TIniFile ini(path);
    ini.WriteString(LanguageTextSection, "ids_main_label_general", "general in other case");
    ini.WriteString(LanguageTextSection, "IDS_MAIN_LABEL_Video", "\"" + IDS_MAIN_LABEL_Video + "\"");
    ini.WriteString(LanguageTextSection, "IDS_MAIN_LABEL_Audio", "stale");
    ini.DeleteKey(LanguageTextSection, "IDS_MAIN_LABEL_Width");
    const std::string reference = dir / "reference.ini";
    ASSERT_TRUE(CopyFileA(path.c_str(), reference.c_str(), FALSE));
    TIniFile all(reference);
    for (const TLanguageText& entry : LanguageCatalogue())
        if (entry.WrittenBack && !IsSetAside(entry.Key))
            all.WriteString(LanguageTextSection, entry.Key, TranslateLineBreaks(*entry.Text, false));
    all.UpdateFile();

    WriteLanguageFile();
    ini.UpdateFile();
    EXPECT_EQ(FileBytes(path), FileBytes(reference));
    EXPECT_EQ(ini.ReadSectionLines(LanguageTextSection), all.ReadSectionLines(LanguageTextSection));
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "IDS_MAIN_LABEL_Audio", ""), IDS_MAIN_LABEL_Audio);
    EXPECT_EQ(ini.ReadString(LanguageTextSection, "IDS_MAIN_LABEL_Width", ""), IDS_MAIN_LABEL_Width);
}

TEST_F(LanguageFileTest, ReadOnlyFileIsReadAndLeftAlone)
{
    const std::string path = UseFixture("partial.ini");
    const std::string before = FileBytes(path);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(ReadLanguageFile());
    EXPECT_EQ(IDS_MAIN_BUTTON_Open, "\xD6" "ffnen");
    WriteLanguageFile();
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_TRUE(Messages.empty());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(LanguageFileTest, MissingListSectionsAreReportedAndNothingElseIsTaken)
{
    // A file is read completely before anything of it is used: a failed read leaves both lists too.
    struct Case { const char* fixture; const std::string* message; };
    const Case cases[] = {
        {"no_avsext.ini", &IDS_NoAVSExtersionAllow},
        {"no_filters.ini", &IDS_NoInputFilesAllow},
    };
    for (const Case& c : cases) {
        SetUp();
        FilterList.Add("Old=*.old");
        AVSExtList.Add(".old");
        IDS_MAIN_BUTTON_Open = "current";
        UseFixture(c.fixture);
        EXPECT_FALSE(ReadLanguageFile()) << c.fixture;
        ASSERT_EQ(Messages.size(), 1u) << c.fixture;
        EXPECT_EQ(Messages[0], *c.message) << c.fixture;
        EXPECT_EQ(FilterList.Count(), 1) << c.fixture;
        EXPECT_EQ(AVSExtList.Count(), 1) << c.fixture;
        EXPECT_EQ(IDS_MAIN_BUTTON_Open, "current") << c.fixture;
    }
}

TEST_F(LanguageFileTest, MissingFileIsCreatedWithTheTextsAndThenReportedForItsMissingLists)
{
    LanguageFile = dir / "New.ini";
    EXPECT_FALSE(ReadLanguageFile());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], IDS_NoAVSExtersionAllow);
    EXPECT_EQ(TIniFile(LanguageFile).ReadString(LanguageTextSection, "IDS_MAIN_ARBUTTON_Convert", ""), "Convert");

    // No "langs" folder at all: nothing can be created, the same message follows.
    Messages.clear();
    LanguageFile = dir / "missing\\English.ini";
    EXPECT_FALSE(ReadLanguageFile());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], IDS_NoAVSExtersionAllow);
}

TEST_F(LanguageFileTest, ExtensionListEndsAtTheNoneText)
{
    UseFixture("none_marker.ini");
    ASSERT_TRUE(ReadLanguageFile());
    ASSERT_EQ(AVSExtList.Count(), 1);
    EXPECT_EQ(AVSExtList[0], ".rm");
}
