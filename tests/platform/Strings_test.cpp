#include "Strings.h"

#include <gtest/gtest.h>

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEnds)
{
    EXPECT_EQ(Trim(" \t\r\n a b \x01 "), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
}

TEST(IntegerText, AcceptsDecimalAndHexForms)
{
    struct Case { const char* text; bool ok; int32_t value; };
    const Case cases[] = {
        {"0", true, 0},           {"-17", true, -17},       {"+5", true, 5},          {"  42", true, 42},
        {"$FF", true, 255},       {"0x10", true, 16},       {"x1f", true, 31},        {"$FFFFFFFF", true, -1},
        {"2147483647", true, 2147483647},                  {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0}, {"42 ", false, 0},        {"", false, 0},           {"-", false, 0},
        {"1.5", false, 0},        {"0x", false, 0},         {"12a", false, 0},        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int32_t v = 12345;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
        EXPECT_EQ(StrToIntDef(c.text, -9), c.ok ? c.value : -9) << c.text;
    }
}

TEST(FloatText, UsesAPointAndRefusesNonDecimalForms)
{
    EXPECT_EQ(FloatToStr(29.97), "29.97");
    EXPECT_EQ(FloatToStr(0.5), "0.5");
    EXPECT_EQ(FloatToStr(3), "3");
    EXPECT_EQ(FormatFixed(12.5, 2), "12.50");
    double v = 0;
    EXPECT_TRUE(TryStrToFloat("00:01.5", v) == false);
    EXPECT_TRUE(TryStrToFloat(" 12.25 ", v));
    EXPECT_DOUBLE_EQ(v, 12.25);
    EXPECT_TRUE(TryStrToFloat("-1e3", v));
    EXPECT_DOUBLE_EQ(v, -1000);
    for (const char* bad : {"inf", "nan", "0x10", "1,5", "", ".", "1e", "1e999"}) EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour)
{
    struct Case { double in; int64_t out; };
    for (const Case& c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {99.5, 100}})
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(TextComparison, IgnoresCase)
{
    EXPECT_TRUE(SameText("Orvaneoptions", "ORVANEOPTIONS"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(FindText("C:\\Video\\CLIP.Avi", ".avi"), 13u);
    EXPECT_EQ(StringReplaceAll("aXbXc", "X", "XX"), "aXXbXXc");
}

TEST(SplitLines, AcceptsEveryLineBreakForm)
{
    const std::vector<std::string> expected = {"a", "b", "", "c"};
    EXPECT_EQ(SplitLines("a\r\nb\n\rc"), expected);
}

TEST(SplitText, KeepsEmptyPieces)
{
    struct Case { const char* text; char delimiter; std::vector<std::string> pieces; };
    const Case cases[] = {
        {"a:b:c", ':', {"a", "b", "c"}}, {"abc", ':', {"abc"}}, {"a::b", ':', {"a", "", "b"}},
        {"a:", ':', {"a", ""}},          {":", ':', {"", ""}},  {"", ':', {""}},
        {"1.5", '.', {"1", "5"}},        {"a:b", '.', {"a:b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitText(c.text, c.delimiter), c.pieces) << c.text;
}
