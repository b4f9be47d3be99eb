// The skin description reader's lookup rules.
#include <gtest/gtest.h>

#include "SkinnerIni.h"

namespace {

const char Description[] =
    "top=before any section\r\n"
    "[lower]\r\n"
    "  Key  =  Value with blanks  \r\n"
    "Empty=\r\n"
    "Empty=second\r\n"
    "Hex=0x1F\n"
    "HexUpper=0X1f\n"
    "HexShort=0x\r"
    "Negative=-1\r\n"
    "Note=12 ; a note\r\n"
    "Equals=a=b=c\r\n"
    "Letters=12ab\r\n"
    "Dollar=$10\r\n"
    "Big=2147483648\r\n"
    ";Commented=1\r\n"
    "   ;Indented=2\r\n"
    "NoEquals\r\n"
    "[LOWER]\r\n"
    "Second=only after the repeated header\r\n"
    "[Other]\r\n"
    "key=other\r\n"
    "[]\r\n"
    "[\r\n"
    "inside=empty name\r\n"
    "\0"
    "[AfterNul]\r\nkey=never\r\n";

TQuickIni Loaded() {
  TQuickIni ini;
  TMemoryStream stream;
  const std::string text(Description, sizeof(Description) - 1);  // with the NUL and what follows it
  stream.Write(text.data(), int64_t(text.size()));
  stream.Seek(0);
  ini.LoadFromStream(&stream);
  return ini;
}

struct StringCase {
  const char *Section, *Key, *Default, *Expected;
};

TEST(SkinnerIni, ReadString) {
  const TQuickIni ini = Loaded();
  const StringCase cases[] = {
      {"Lower", "KEY", "-", "Value with blanks"},      // header in lower case, key in any case, trimmed
      {"LOWER", "key", "-", "Value with blanks"},
      {"lower", "Empty", "def", "def"},                // the first line decides even when empty
      {"lower", "Note", "-", "12 ; a note"},           // ';' starts a comment only at a line's start
      {"lower", "Equals", "-", "a=b=c"},               // everything after the first '='
      {"lower", "Commented", "def", "def"},
      {"lower", "Indented", "def", "def"},
      {"lower", ";Indented", "def", "def"},
      {"lower", "Second", "def", "def"},               // only the first header's lines are searched
      {"lower", "NoEquals", "def", "def"},
      {"lower", "", "def", "def"},
      {"lower", "key2", "def", "def"},
      {"", "top", "def", "def"},                       // lines before the first header belong nowhere
      {"Other", "KEY", "-", "other"},
      {"", "inside", "def", "empty name"},             // "[]" is a header of the empty name; "[" is not
      {"Missing", "key", "def", "def"},
      {"AfterNul", "key", "def", "def"},               // the text ends at its first NUL
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(std::string(c.Section) + "/" + c.Key);
    EXPECT_EQ(ini.ReadString(c.Section, c.Key, c.Default), c.Expected);
  }
}

struct IntegerCase {
  const char* Key;
  int32_t Default, Expected;
};

TEST(SkinnerIni, ReadInteger) {
  const TQuickIni ini = Loaded();
  const IntegerCase cases[] = {
      {"Hex", 7, 31},      {"HexUpper", 7, 31},  {"HexShort", 7, 7}, {"Negative", 7, -1},
      {"Note", 7, 7},      {"Letters", 7, 7},    {"Dollar", 7, 16},  {"Big", 7, 7},
      {"Empty", 7, 7},     {"Missing", -1, -1},  {"Key", 0, 0},
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(c.Key);
    EXPECT_EQ(ini.ReadInteger("lower", c.Key, c.Default), c.Expected);
  }
}

TEST(SkinnerIni, ReadSectionsGivesNamesInTextOrder) {
  const TQuickIni ini = Loaded();
  std::vector<std::string> names{"stale"};
  ini.ReadSections(names);
  EXPECT_EQ(names, (std::vector<std::string>{"lower", "LOWER", "Other", ""}));
}

TEST(SkinnerIni, DropsEmptyAndCommentLinesAndTrims) {
  TQuickIni ini;
  ini.LoadFromText("\r\n ; note\r\n  [A]  \r\n\r\n x = 1 \r\n");
  EXPECT_EQ(ini.Lines, (std::vector<std::string>{"[A]", "x = 1"}));
  ASSERT_EQ(ini.Sections.size(), 1u);
  EXPECT_EQ(ini.Sections[0].LineIndex, 0);
  EXPECT_EQ(ini.SectionLine("a"), 0);
  EXPECT_EQ(ini.SectionLine("b"), -1);
}

TEST(SkinnerIni, LoadingAgainReplacesEverything) {
  TQuickIni ini;
  ini.LoadFromText("[A]\r\nx=1\r\n");
  ini.LoadFromText("[B]\r\ny=2\r\n");
  EXPECT_EQ(ini.ReadInteger("A", "x", -1), -1);
  EXPECT_EQ(ini.ReadInteger("B", "y", -1), 2);
  ini.LoadFromStream(nullptr);  // nothing happens
  EXPECT_EQ(ini.ReadInteger("B", "y", -1), 2);
}

TEST(SkinnerIni, LoadsFromTheStreamsPosition) {
  TMemoryStream stream;
  const std::string text = "[X]\r\nk=1\r\n[Y]\r\nk=2\r\n";
  stream.Write(text.data(), int64_t(text.size()));
  stream.Seek(10);  // starts at "[Y]"
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  EXPECT_EQ(ini.ReadInteger("X", "k", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Y", "k", -1), 2);
}

struct LinesCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Lines;
};

TEST(SkinnerIni, SplitsLinesAtCrLfCrLfAndNul) {
  const LinesCase cases[] = {
      {"empty", "", {}},
      {"no break", "a", {"a"}},
      {"break at the end adds nothing", "a\r\n", {"a"}},
      {"empty line inside", "a\r\n\r\nb", {"a", "", "b"}},
      {"lone CR and LF", "a\rb\nc", {"a", "b", "c"}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"NUL ends the text", std::string("a\r\nb\0c\r\n", 8), {"a", "b"}},
  };
  for (const LinesCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(SplitSkinLines(c.Text), c.Lines);
  }
}

}  // namespace
