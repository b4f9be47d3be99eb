#include <gtest/gtest.h>

#include "Errors.h"
#include "Strings.h"

TEST(PatternPlaceholders, ListsTextAndNumberPlaceholdersInOrder)
{
    struct Case { const char* pattern; bool ok; const char* kinds; };
    const Case cases[] = {
        {"plain", true, ""},          {"%s: %d%%", true, "sd"},      {"%d of %d: %s", true, "dds"},
        {"100%%", true, ""},          {"%%s", true, ""},             {"%%%d", true, "d"},
        {"%", false, ""},             {"50 %", false, ""},           {"% d", false, ""},
        {"%x", false, ""},            {"%5d", false, ""},            {"%.2d", false, ""},
        {"%S", false, ""},            {"", true, ""},
    };
    for (const Case& c : cases) {
        std::string kinds = "unchanged";
        EXPECT_EQ(PatternPlaceholders(c.pattern, kinds), c.ok) << c.pattern;
        EXPECT_EQ(kinds, c.ok ? c.kinds : "unchanged") << c.pattern;
    }
}

TEST(Format, FillsPlaceholdersFromAFixedArgumentList)
{
    EXPECT_EQ(Format("%s: %d%%", {"clip.avi", 42}), "clip.avi: 42%");
    EXPECT_EQ(Format("Working on file %d of %d: %s", {1, 3, "a.mpg"}), "Working on file 1 of 3: a.mpg");
    EXPECT_EQ(Format("%d", {int64_t(-9000000000)}), "-9000000000");
    EXPECT_EQ(Format("no placeholders", {}), "no placeholders");
    // A text that itself holds "%d" is put in as it stands.
    EXPECT_EQ(Format("[%s]", {std::string("%d")}), "[%d]");
}

TEST(Format, RefusesPatternsThatDoNotFitTheArguments)
{
    struct Case { const char* pattern; };
    const Case cases[] = {{"%d: %s%%"}, {"%s"}, {"%s: %d: %d"}, {"%s: %d %"}, {"%s: %x"}, {"%s"}};
    for (const Case& c : cases) {
        std::string result = "unchanged";
        EXPECT_FALSE(TryFormat(c.pattern, {"name", 5}, result)) << c.pattern;
        EXPECT_EQ(result, "unchanged");
        EXPECT_THROW(Format(c.pattern, {"name", 5}), Exception) << c.pattern;
    }
}
