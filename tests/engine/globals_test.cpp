#include "globals.h"

#include <gtest/gtest.h>

#include "FileUtils.h"
#include "IniFile.h"
#include "OrvUtils.h"
#include "TempDir.h"

namespace {

struct PathCase {
    const char* languageFile;  // value stored in config.ini, or nullptr for no config.ini
    const char* language;
    const char* profileDir;
    const char* helpFile;
};

}  // namespace

TEST(InitGlobals, BuildsEveryPathFromTheProgramFolderAndTheLanguageFile)
{
    const PathCase cases[] = {
        {nullptr, "English.ini", "English_Profile\\", "English_help.chm"},
        {"English.ini", "English.ini", "English_Profile\\", "English_help.chm"},
        {"Deutsch.ini", "Deutsch.ini", "Deutsch_Profile\\", "Deutsch_help.chm"},
        // The last four characters go whatever they are.
        {"German", "German", "Ge_Profile\\", "German_help.chm"},
        {"Fr.lang.ini", "Fr.lang.ini", "Fr.lang_Profile\\", "Fr.lang_help.chm"},
    };
    for (const PathCase& c : cases) {
        TempDir dir;
        if (c.languageFile) TIniFile(dir / "config.ini").WriteString("VideoAPP_Form", "LanguageFile", c.languageFile);
        InitGlobals(dir.Path());
        EXPECT_EQ(ExeDir, dir.Path());
        EXPECT_EQ(ConfigIniFile, dir / "config.ini");
        EXPECT_EQ(OptionsIniFile, dir / "options.ini");
        EXPECT_EQ(LangsDir, dir / "langs\\");
        EXPECT_EQ(SkinsDir, dir / "skins\\");
        EXPECT_EQ(LanguageFile, dir / "langs\\" + c.language);
        EXPECT_EQ(Options.ProfileDir, dir / "langs\\" + c.profileDir);
        EXPECT_EQ(HelpFile, dir / "langs\\" + c.helpFile);
        EXPECT_FALSE(FileExists(dir / "config.ini") && !c.languageFile) << "InitGlobals writes nothing";
    }
    TempDir noSlash;
    std::string path = noSlash.Path();
    path.pop_back();
    InitGlobals(path);
    EXPECT_EQ(ExeDir, noSlash.Path());
}

TEST(Options, FirstLoadWritesTheDefaultsInOrder)
{
    TempDir dir;
    InitGlobals(dir.Path());
    LoadOptions();
    std::string text;
    ASSERT_TRUE(ReadFileText(dir / "options.ini", text));
    const std::string expected = "[Orvaneoptions]\r\nOutputFormat=0\r\nLastInputOpenDir=\r\nLastOutputOpenDir=" +
                                 GetShellFolder("Personal") +
                                 "\r\nPriority=1\r\nShutdownFlag=1\r\nDeleteFileAfterProcessing=0\r\n"
                                 "ShutdownWindowsWhenDone=0\r\nShowWindow=1\r\nUseDirectShow=0\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(Options.EncoderPath, "avcore.dll");
    EXPECT_EQ(Options.Priority, 1);
    EXPECT_TRUE(Options.ShowWindow);
}

TEST(Options, StoredValuesAreReadAsTheFileHoldsThem)
{
    TempDir dir;
    InitGlobals(dir.Path());
    ASSERT_TRUE(WriteFileText(dir / "options.ini",
                              "[orvaneOPTIONS]\r\nOutputFormat=300\r\nPriority=2\r\nShutdownFlag=5\r\n"
                              "DeleteFileAfterProcessing=2\r\nShowWindow=0\r\nUseDirectShow=yes\r\n"
                              "LastOutputOpenDir= D:\\Out \r\n"));
    LoadOptions();
    EXPECT_EQ(Options.OutputFormat, 44) << "the low byte of 300";
    EXPECT_EQ(Options.Priority, 2);
    EXPECT_EQ(Options.ShutdownFlag, 5);
    EXPECT_TRUE(Options.DeleteFileAfterProcessing);
    EXPECT_FALSE(Options.ShowWindow);
    EXPECT_FALSE(Options.UseDirectShow) << "text that is no number keeps the default";
    EXPECT_FALSE(Options.ShutdownWindowsWhenDone) << "a missing key keeps the default";
    EXPECT_EQ(Options.LastOutputOpenDir, "D:\\Out");
    SaveOptions();
    EXPECT_TRUE(TIniFile(dir / "options.ini").ReadString("Orvaneoptions", "DeleteFileAfterProcessing", "") == "1");
}

TEST(Options, SavingIntoAMissingFolderRaises)
{
    TempDir dir;
    InitGlobals(dir / "gone\\");
    try {
        LoadOptions();
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir / "gone\\options.ini");
    }
}
