#include "AppUtils.h"

#include <gtest/gtest.h>

#include "FileUtils.h"
#include "MultiLanguages.h"
#include "TempDir.h"

TEST(MillisecondsToTimeText, WritesHoursMinutesSecondsAndMilliseconds)
{
    struct Case { int64_t ms; const char* text; };
    const Case cases[] = {
        {0, "0:00:00.000"},           {999, "0:00:00.999"},          {1000, "0:00:01.000"},
        {60000, "0:01:00.000"},       {3723004, "1:02:03.004"},      {86399999, "23:59:59.999"},
        {360000000, "100:00:00.000"}, {720000000, "200:00:00.000"},
        // Each negative part carries its own sign before its padded digits.
        {-3723004, "-1:-02:-03.-004"},
        // Hours beyond 32 bits are written as they are, not wrapped.
        {int64_t(4294967296) * 3600000, "4294967296:00:00.000"},
    };
    for (const Case& c : cases) EXPECT_EQ(MillisecondsToTimeText(c.ms), c.text) << c.ms;
}

TEST(SplitMilliseconds, TruncatesTowardZero)
{
    struct Case { int64_t ms; int32_t h, m, s, z; };
    const Case cases[] = {{3723004, 1, 2, 3, 4}, {59999, 0, 0, 59, 999}, {-61001, 0, -1, -1, -1}};
    for (const Case& c : cases) {
        int32_t h, m, s, z;
        SplitMilliseconds(c.ms, h, m, s, z);
        EXPECT_EQ(h, c.h) << c.ms;
        EXPECT_EQ(m, c.m) << c.ms;
        EXPECT_EQ(s, c.s) << c.ms;
        EXPECT_EQ(z, c.z) << c.ms;
    }
}

TEST(TimeTextToMilliseconds, AcceptsTheSixShapes)
{
    struct Case { const char* text; int64_t ms; };
    const Case cases[] = {
        {"1:02:03.004", 3723004}, {"2:03.004", 123004}, {"3.25", 3025},   {"45", 45000},
        {"2:03", 123000},         {"1:02:03", 3723000}, {"0:00:00.000", 0},
        // The part after the dot counts milliseconds; parts are not range-checked; empty parts are 0.
        {"1.5", 1005},            {"1.500", 1500},      {"0:00:01.2000", 3000},
        {"0:75:00", 4500000},     {":5", 5000},         {".5", 5},        {"::.", 0},
        // The profile limit itself.
        {"200:00:00.000", 720000000},
        // Sums are formed in 64 bits: this is 1194 hours, not 0:57:12.704.
        {"1194:00:00", int64_t(1194) * 3600000},
        {"596:31:23.648", int64_t(2147483648)},
        // A part longer than 32 bits counts as the largest 32-bit value, far beyond any limit.
        {"99999999999:00:00", int64_t(2147483647) * 3600000},
        {"0:00:00.99999999999", 2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeTextToMilliseconds(c.text), c.ms) << c.text;
}

TEST(TimeTextToMilliseconds, RefusesEveryOtherText)
{
    const char* const texts[] = {"", " 1:02:03", "1:02:03 ", "-5", "+5", "1.5:3", "1:2:3:4", "1.2.3", "a",
                                 "1,5", "1:02:03.004.5", "0x10", "1:2.3:4"};
    for (const char* text : texts) EXPECT_EQ(TimeTextToMilliseconds(text), -1) << '"' << text << '"';
}

TEST(TimeTextToMilliseconds, EverythingAboveTheProfileLimitStaysAboveIt)
{
    const char* const texts[] = {"200:00:00.001", "1194:00:00", "1193:02:47.296", "4294967:00:00", "0:4294967295:00",
                                 "99999999999999999999"};
    for (const char* text : texts) EXPECT_GT(TimeTextToMilliseconds(text), MaxProfileTimeMilliseconds) << text;
}

TEST(TimeTextPieces, CharacterTestsAndCounts)
{
    struct Case { const char* text; bool time, digitsDots, digits, digitsColons, dotAfterColon; int colons; };
    const Case cases[] = {
        {"", false, false, false, false, false, 0},    {"12", true, true, true, true, false, 0},
        {"1.2", true, true, false, false, true, 0},    {"1:2", true, false, false, true, false, 1},
        {"1:2.3", true, false, false, false, true, 1}, {"1.2:3", true, false, false, false, false, 1},
        {"1 2", false, false, false, false, false, 0}, {"1:2:3", true, false, false, true, false, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsTimeChars(c.text), c.time) << c.text;
        EXPECT_EQ(IsDigitsAndDots(c.text), c.digitsDots) << c.text;
        EXPECT_EQ(IsDigitsOnly(c.text), c.digits) << c.text;
        EXPECT_EQ(IsDigitsAndColons(c.text), c.digitsColons) << c.text;
        EXPECT_EQ(IsDotAfterLastColon(c.text), c.dotAfterColon) << c.text;
        EXPECT_EQ(CountOccurrences(c.text, ":"), c.colons) << c.text;
    }
}

TEST(DurationToMilliseconds, ReadsTheEncodersDurations)
{
    struct Case { const char* text; int64_t ms; };
    const Case cases[] = {
        {"00:01:23.45", 83450}, {"00:00:10.5", 10500}, {"1:02:03.004", 3723004}, {"02:00:00.00", 7200000},
        {"00:00:00.0005", 0},   {"00:00:00.0015", 2},  // halves go to the even neighbour
        {"x:01:00", 60000},     {"00:00:abc", 0},      {"1194:00:00.00", int64_t(1194) * 3600000},
        {"01:23.45", 0},        {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(DurationToMilliseconds(c.text), c.ms) << c.text;
}

TEST(SplitString, KeepsEmptyPieces)
{
    struct Case { const char* text; std::vector<std::string> pieces; };
    const Case cases[] = {
        {"a:b:c", {"a", "b", "c"}}, {"abc", {"abc"}}, {"a::b", {"a", "", "b"}},
        {"a:", {"a", ""}},          {":", {"", ""}},  {"", {""}},
    };
    for (const Case& c : cases) {
        const TStringList list = SplitString(c.text, ':');
        EXPECT_EQ(std::vector<std::string>(list.begin(), list.end()), c.pieces) << c.text;
    }
}

TEST(ExtractBetween, TakesTheTrimmedTextBetweenTheMarks)
{
    struct Case { const char* text; const char* start; const char* end; const char* result; };
    const Case cases[] = {
        {"Input #0, avi, from 'x.avi':", "from '", "':", "x.avi"},
        {"Input #0, avi, from 'C:\\v\\a b.avi':", "from '", "':", "C:\\v\\a b.avi"},
        {"Output #0, mp4, to 'out.mp4':", "to '", "':", "out.mp4"},
        {"from ' padded ':", "from '", "':", "padded"},
        {"Input #0, avi, from 'x.avi'", "from '", "':", ""},     // end mark missing
        {"Input #0, avi, x.avi':", "from '", "':", ""},          // start mark missing
        {"':from '':", "from '", "':", ""},                      // nothing between, nothing after
        {"[]x]", "[", "]", "]x"},                                // an end mark right after the start is passed
        {"abc", "", "c", ""},
        {"abc", "a", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractBetween(c.text, c.start, c.end), c.result) << c.text;
}

TEST(BuildFilterString, JoinsNamesAndPatternsAndEndsWithAllFiles)
{
    ResetLanguageTexts();
    TStringList list;
    EXPECT_EQ(BuildFilterString(list), "All Files|*.*");
    list.Add("Video=*.avi;*.mpg");
    list.Add("Audio=*.mp3");
    EXPECT_EQ(BuildFilterString(list), "Video|*.avi;*.mpg|Audio|*.mp3|All Files|*.*");
    // A repeated name yields the first line's pattern.
    list.Add("video=*.mkv");
    EXPECT_EQ(BuildFilterString(list), "Video|*.avi;*.mpg|Audio|*.mp3|video|*.avi;*.mpg|All Files|*.*");
    IDS_FILEINFORMATION_LABEL_AllFile = "Alle Dateien";
    TStringList one;
    one.Add("V=*.avi");
    EXPECT_EQ(BuildFilterString(one), "V|*.avi|Alle Dateien|*.*");
    ResetLanguageTexts();
}

TEST(IsValidFileName, RefusesEmptyNamesAndTheNineReservedCharacters)
{
    struct Case { const char* name; bool valid; };
    const Case cases[] = {
        {"Fast", true},   {"My best profile", true}, {"a.b", true},   {" ", true},     {"con", true},
        {"", false},      {"a/b", false},            {"a?", false},   {"a\\b", false}, {"a:b", false},
        {"*", false},     {"a\"b", false},           {"<a", false},   {"a>", false},   {"a|b", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidFileName(c.name), c.valid) << c.name;
    EXPECT_FALSE(ContainsAnyChar("abc", ""));
    EXPECT_TRUE(ContainsAnyChar("abc", "xc"));
}

TEST(ReplaceFileName, KeepsFolderAndExtension)
{
    struct Case { const char* path; const char* name; const char* result; };
    const Case cases[] = {
        {"C:\\p\\old.avo", "new", "C:\\p\\new.avo"},
        {"C:\\p\\old", "new", "C:\\p\\new"},
        {"C:\\p.d\\old", "new", "C:\\p.d\\new"},
        {"old.tar.avo", "new", "new.avo"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReplaceFileName(c.path, c.name), c.result) << c.path;
}

TEST(FileSizes, SizeOfTheFirstMatchAndDeletingEmptyFiles)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileText(dir / "five.bin", "12345"));
    ASSERT_TRUE(WriteFileText(dir / "empty.bin", ""));
    EXPECT_EQ(GetFileSize64(dir / "five.bin"), 5);
    EXPECT_EQ(GetFileSize64(dir / "empty.bin"), 0);
    EXPECT_EQ(GetFileSize64(dir / "f*.bin"), 5);
    EXPECT_EQ(GetFileSize64(dir / "missing.bin"), -1);

    EXPECT_FALSE(DeleteFileIfEmpty(dir / "five.bin"));
    EXPECT_TRUE(FileExists(dir / "five.bin"));
    EXPECT_TRUE(DeleteFileIfEmpty(dir / "empty.bin"));
    EXPECT_FALSE(FileExists(dir / "empty.bin"));
    EXPECT_FALSE(DeleteFileIfEmpty(dir / "empty.bin"));
}
