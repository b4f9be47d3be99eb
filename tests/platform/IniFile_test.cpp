#include "IniFile.h"

#include <gtest/gtest.h>

#include "Errors.h"
#include "FileUtils.h"
#include "TempDir.h"

TEST(IniFile, ReadsWhatItWroteAndDefaultsForMissingKeys)
{
    TempDir dir;
    TIniFile ini(dir / "a.ini");
    ini.WriteString("Sec", "Name", "  padded value  ");
    ini.WriteInteger("Sec", "Number", -42);
    ini.WriteBool("Sec", "Flag", true);
    EXPECT_EQ(ini.ReadString("sec", "NAME", "x"), "padded value");
    EXPECT_EQ(ini.ReadInteger("SEC", "number", 0), -42);
    EXPECT_TRUE(ini.ReadBool("Sec", "Flag", false));
    EXPECT_EQ(ini.ReadString("Sec", "Missing", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("Sec", "Name", 7), 7) << "text that is not a number gives the default";
    EXPECT_EQ(ini.ReadInteger("Other", "Number", 3), 3);
    std::string text;
    ASSERT_TRUE(ReadFileText(dir / "a.ini", text));
    EXPECT_NE(text.find("Flag=1"), std::string::npos);
}

TEST(IniFile, ListsSectionsAndKeysAndKeepsUnknownEntries)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileText(dir / "b.ini", "[One]\r\nx=1\r\ny=2\r\n[Two]\r\nz=3\r\n"));
    TIniFile ini(dir / "b.ini");
    EXPECT_EQ(ini.ReadSection("one"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(ini.ReadSectionValues("Two"), (std::vector<std::string>{"z=3"}));
    EXPECT_TRUE(ini.SectionExists("TWO"));
    EXPECT_FALSE(ini.SectionExists("Three"));
    EXPECT_TRUE(ini.ValueExists("One", "Y"));
    ini.WriteString("One", "x", "9");
    ini.UpdateFile();
    EXPECT_EQ(ini.ReadString("One", "y", ""), "2");
    EXPECT_EQ(ini.ReadString("Two", "z", ""), "3");
}

TEST(IniFile, LongValuesArriveCutTo2047Characters)
{
    TempDir dir;
    TIniFile ini(dir / "c.ini");
    ini.WriteString("S", "Long", std::string(3000, 'q'));
    EXPECT_EQ(ini.ReadString("S", "Long", "").size(), 2047u);
}

TEST(IniFile, AFailedWriteRaisesWithThePath)
{
    TempDir dir;
    const std::string path = dir / "missing\\folder\\d.ini";
    TIniFile ini(path);
    try {
        ini.WriteString("S", "K", "v");
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_FALSE(DirectoryExists(dir / "missing"));
}

// A section read in one call answers every key exactly as a read of that key alone, whatever the file's
// spelling: case, blanks, quotes, repeated keys, keys without a value, overlong values, other sections.
TEST(IniSection, AnswersAsTheSystemsReadOfEachKey)
{
    TempDir dir;
    const std::string longValue(3000, 'v');
    ASSERT_TRUE(WriteFileText(dir / "c.ini",
                              "[Other]\r\nplain=from another section\r\n"
                              "[ Texts ]\r\n"
                              "plain=value\r\n"
                              "  Padded Key  =   padded value   \r\n"
                              "MIXED=Upper\r\n"
                              "mixed=second of a repeated key\r\n"
                              "empty=\r\n"
                              "novalue\r\n"
                              "dq=\"quoted value\"\r\n"
                              "sq='single quoted'\r\n"
                              "half=\"opened only\r\n"
                              "mixedq=\"mixed'\r\n"
                              "inner=a \"b\" c\r\n"
                              "onlyquote=\"\r\n"
                              "twoquotes=\"\"\r\n"
                              "hash=#13line#13\r\n"
                              "; comment=not a key\r\n"
                              "eq=a=b=c\r\n"
                              "long=" + longValue + "\r\n"
                              "[Texts2]\r\nplain=later section\r\n"));
    const TIniFile ini(dir / "c.ini");
    const TIniSection section(ini, "texts");
    for (const char* key : {"plain", "PLAIN", "Padded Key", "padded key", " padded key ", "mixed", "empty",
                            "novalue", "dq", "sq", "half", "mixedq", "inner", "onlyquote", "twoquotes", "hash",
                            "eq", "long", "missing", ""}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(section.ReadString(key, "<default>"), ini.ReadString("texts", key, "<default>"));
    }
    EXPECT_EQ(section.ReadString("mixed", ""), "Upper");
    EXPECT_EQ(section.ReadString("missing", "<default>"), "<default>");
    EXPECT_EQ(section.ReadString("; comment", "<default>"), "<default>") << "a comment line is no key";
}

TEST(IniSection, AMissingSectionOrFileGivesEveryDefault)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileText(dir / "d.ini", "[One]\r\nx=1\r\n"));
    EXPECT_EQ(TIniSection(TIniFile(dir / "d.ini"), "Two").ReadString("x", "def"), "def");
    EXPECT_EQ(TIniSection(TIniFile(dir / "none.ini"), "One").ReadString("x", "def"), "def");
}
