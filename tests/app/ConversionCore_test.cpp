#include "ConversionCore.h"

#include <gtest/gtest.h>

#include <string>

#include "ConversionTexts.h"
#include "Errors.h"
#include "FileUtils.h"
#include "MultiLanguages.h"
#include "OptionDetails.h"
#include "Settings.h"
#include "profiles.h"
#include "TempDir.h"

namespace {

// What the option builder gives for a missing AVI profile (the format's defaults).
const std::string DefaultAviOptions = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ";

struct CommandLineCase {
    const char* name;
    std::string encoder, input, options, output;
    std::string expected;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, IsJoinedPieceByPiece)
{
    const CommandLineCase& c = GetParam();
    EXPECT_EQ(c.expected, BuildEncoderCommandLine(c.encoder, c.input, c.options, c.output));
}

const std::string Encoder = "C:\\Program Files\\Orvane\\avcore.dll";
const std::string Q = "\"";

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"DefaultAvi", Encoder, "C:\\in\\movie.mpg", DefaultAviOptions, "D:\\out\\movie.avi",
                        "\"C:\\Program Files\\Orvane\\avcore.dll\" -p 4730615 -i \"C:\\in\\movie.mpg\" "
                        "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050  "
                        "\"D:\\out\\movie.avi\""},
        CommandLineCase{"Ac3FiveOneGetsBitrate", Encoder, "C:\\in\\a.vob", "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 ",
                        "D:\\a.ac3",
                        Q + Encoder + Q + " -p 4730615 -i \"C:\\in\\a.vob\" -y -f ac3 -vn -acodec ac3 -ab 256 -ac 5:1 "
                                          "-ar 48000  \"D:\\a.ac3\""},
        CommandLineCase{"Ac3FiveOneWithBitrateStays", Encoder, "C:\\a.vob",
                        "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 -ab 384 ", "D:\\a.ac3",
                        Q + Encoder + Q + " -p 4730615 -i \"C:\\a.vob\" -y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 "
                                          "-ab 384  \"D:\\a.ac3\""},
        CommandLineCase{"StereoAc3Stays", Encoder, "C:\\a.vob", "-y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000 ",
                        "D:\\a.ac3",
                        Q + Encoder + Q + " -p 4730615 -i \"C:\\a.vob\" -y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000  "
                                          "\"D:\\a.ac3\""},
        CommandLineCase{"Ffvhuff", Encoder, "C:\\a.mpg", "-y -f avi -vcodec ffvhuff -r 25 -acodec pcm_s16le ",
                        "D:\\a.avi",
                        Q + Encoder + Q + " -p 4730615 -i \"C:\\a.mpg\" -y -f avi -vcodec ffvhuff -strict -2 -r 25 "
                                          "-acodec pcm_s16le  \"D:\\a.avi\""},
        CommandLineCase{"PercentInPaths", "C:\\100% sure\\avcore.dll", "C:\\50%s off\\%d.mpg", DefaultAviOptions,
                        "D:\\%%\\%d.avi",
                        "\"C:\\100% sure\\avcore.dll\" -p 4730615 -i \"C:\\50%s off\\%d.mpg\" " + DefaultAviOptions +
                            " \"D:\\%%\\%d.avi\""},
        // The fix-ups look at the options only: a folder name that holds their fragments stays as it is,
        // and a " -ab " in a path does not keep a 5.1 option string from its bit rate.
        CommandLineCase{"FragmentsInFolderNames", Encoder, "C:\\x -ac 5:1 y\\ -vcodec ffvhuff \\a.wav",
                        "-y -f mp3 -acodec libmp3lame -ac 2 -ab 128 ", "D:\\ -ac 5:1 \\a.mp3",
                        Q + Encoder + Q + " -p 4730615 -i \"C:\\x -ac 5:1 y\\ -vcodec ffvhuff \\a.wav\" "
                                          "-y -f mp3 -acodec libmp3lame -ac 2 -ab 128  \"D:\\ -ac 5:1 \\a.mp3\""},
        CommandLineCase{"AbInPathDoesNotCount", Encoder, "C:\\x -ab y\\a.vob", "-y -f ac3 -vn -ac 5:1 ", "D:\\a.ac3",
                        Q + Encoder + Q + " -p 4730615 -i \"C:\\x -ab y\\a.vob\" -y -f ac3 -vn -ab 256 -ac 5:1  "
                                          "\"D:\\a.ac3\""},
        CommandLineCase{"FragmentAtStartOfOptions", Encoder, "a", "-ac 5:1 -vcodec ffvhuff ", "b",
                        Q + Encoder + Q + " -p 4730615 -i \"a\" -ab 256 -ac 5:1 -vcodec ffvhuff -strict -2  \"b\""}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return std::string(info.param.name); });

TEST(ConversionCore, DefaultAviOptionsAreTheBuildersDefaults)
{
    TempDir dir;
    Options.OutputFormat = ofAVI;
    Options.AVIProfileDir = dir.Path();
    EXPECT_EQ(DefaultAviOptions, GetProfileOptions("Missing"));
    Options.OutputFormat = 200;
    EXPECT_EQ("", GetProfileOptions("Missing"));
}

TEST(ConversionCore, SelectedProfileFileUsesTheFormatsFolderAndExtension)
{
    Options.AVIProfileDir = "P\\avi\\";
    Options.Mp3ProfileDir = "P\\mp3\\";
    Options.TGPProfileDir = "P\\3gp\\";
    EXPECT_EQ("P\\avi\\Good.avo", SelectedProfileFile(ofAVI, "Good"));
    EXPECT_EQ("P\\mp3\\x.y.mpo", SelectedProfileFile(ofMp3, "x.y"));
    EXPECT_EQ("P\\3gp\\Phone.3go", SelectedProfileFile(ofTGP, "Phone"));
    EXPECT_EQ("", SelectedProfileFile(16, "x"));
}

TEST(ConversionCore, OutputExtensionOfEveryFormat)
{
    const char* const expected[] = {".avi", ".mp4", ".3gp", ".mpg", ".mov", ".wmv", ".rm",  ".swf",
                                    ".vob", ".asf", ".aac", ".ac3", ".mp2", ".mp3", ".amr", ".wav"};
    TempDir dir;
    Options.TGPProfileDir = dir.Path();
    for (int format = 0; format < 16; ++format) {
        Options.OutputFormat = TOutputFormat(format);
        EXPECT_EQ(expected[format], OutputExtension(TOutputFormat(format))) << format;
        EXPECT_EQ(expected[format], GetOutputExt("Missing")) << format;
    }
    Options.OutputFormat = 16;
    EXPECT_EQ("", GetOutputExt("Missing"));
}

TEST(ConversionCore, ThreeGpExtensionFollowsTheSelectedProfile)
{
    TempDir dir;
    Options.TGPProfileDir = dir.Path();
    Options.OutputFormat = ofTGP;
    const struct {
        uint8_t format;
        const char* ext;
    } cases[] = {{0, ".3gp"}, {1, ".3gp"}, {2, ".3g2"}};
    for (const auto& c : cases) {
        ResetTGPSettings();
        TGPSettings.TGPFormat = c.format;
        SaveTGPProfile(SelectedProfileFile(ofTGP, "Phone"));
        TGPSettings.TGPFormat = 0;
        EXPECT_EQ(c.ext, GetOutputExt("Phone")) << int(c.format);
        EXPECT_EQ(c.format, TGPSettings.TGPFormat);  // loading replaced the record
    }
}

TEST(ConversionCore, OutputFileFor)
{
    const struct {
        const char *folder, *source, *ext, *expected;
    } cases[] = {
        {"  D:\\out  ", "C:\\in\\movie.mpg", ".avi", "D:\\out\\movie.avi"},
        {"D:\\out\\", "C:\\in\\movie", ".mp3", "D:\\out\\movie.mp3"},
        {"D:\\out", "C:\\in.d\\a.b.c", ".wav", "D:\\out\\a.b.wav"},
        {"", "C:\\in\\a.avi", ".3g2", "\\a.3g2"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, OutputFileFor(c.folder, c.source, c.ext)) << c.source;
}

TEST(ConversionCore, FormatTextFillsPlaceholdersInOrder)
{
    const struct {
        const char* pattern;
        std::initializer_list<std::string> args;
        const char* expected;
    } cases[] = {
        {"Working on file %d of %d: %s", {"2", "3", "a.avi"}, "Working on file 2 of 3: a.avi"},
        {"%s: %d%%", {"C:\\a.avi", "50"}, "C:\\a.avi: 50%"},
        {"100% %x %s", {"a"}, "100% %x a"},
        {"%s and %s", {"a"}, "a and %s"},
        {"%s", {"%s %d %%"}, "%s %d %%"},  // arguments are never expanded again
        {"no placeholder", {"a"}, "no placeholder"},
        {"ends in %", {}, "ends in %"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, FormatText(c.pattern, c.args)) << c.pattern;
}

TEST(ConversionCore, FormatSpanShowsTheTimeOfDayPart)
{
    const double second = 1.0 / 86400;
    const struct {
        double days;
        const char* expected;
    } cases[] = {
        {0, "0:00:00"},
        {3723.999 * second, "1:02:03"},  // seconds truncated
        {59.5 * second, "0:00:59"},
        {25 * 3600 * second, "1:00:00"},  // whole days dropped
        {-90 * second, "0:01:30"},        // a negative span by its absolute value
        {10 * 3600 * second, "10:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, FormatSpan(c.days)) << c.days;
}

TEST(ConversionCore, PriorityCodes)
{
    const uint8_t cases[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 1}, {255, 1}};
    for (const auto& c : cases) EXPECT_EQ(c[1], ToInitialPriority(c[0])) << int(c[0]);
}

TEST(ConversionCore, DirectShowChoiceComparesExtensionsWithCase)
{
    AVSExtList.Clear();
    AVSExtList.Add(".rmvb");
    AVSExtList.Add(".mkv");
    Options.UseDirectShow = false;
    const struct {
        const char* source;
        bool expected;
    } cases[] = {{"C:\\a.rmvb", true}, {"C:\\a.mkv", true}, {"C:\\a.RMVB", false}, {"C:\\a.avi", false},
                 {"C:\\rmvb", false}, {"C:\\x.rmvb\\a", false}};
    for (const auto& c : cases) EXPECT_EQ(c.expected, NeedsDirectShow(c.source)) << c.source;
    Options.UseDirectShow = true;
    EXPECT_TRUE(NeedsDirectShow("C:\\a.avi"));
    Options.UseDirectShow = false;
    AVSExtList.Clear();
}

TEST(ConversionCore, DirectShowScriptReplacesThePlaceholderInAnyCase)
{
    TempDir dir;
    ExeDir = dir.Path();
    Options.ProfileDir = dir / "profiles\\";
    ForceDirectories(Options.ProfileDir);
    ASSERT_TRUE(WriteFileText(Options.ProfileDir + "DirectShow.avs",
                              "# made for <%InputFile%>\nDirectShowSource(\"<%inputfile%>\")\r\n"
                              "x=\"<%INPUTFILE%>\" + \"<%InputFile%>\"\rLast"));
    const std::string input = "C:\\My 100% Films\\<%InputFile%>.avi";
    WriteDirectShowScript(input);
    EXPECT_EQ(dir / "DirectShow.avs", DirectShowScriptFile());
    std::string script;
    ASSERT_TRUE(ReadFileText(DirectShowScriptFile(), script));
    EXPECT_EQ("# made for " + input + "\r\nDirectShowSource(\"" + input + "\")\r\nx=\"" + input + "\" + \"" + input +
                  "\"\r\nLast\r\n",
              script);
    DeleteDirectShowScript();
    EXPECT_FALSE(FileExists(DirectShowScriptFile()));
    DeleteDirectShowScript();  // a missing script is no error
}

TEST(ConversionCore, MissingDirectShowTemplateRaises)
{
    TempDir dir;
    ExeDir = dir.Path();
    Options.ProfileDir = dir / "nothing\\";
    EXPECT_THROW(WriteDirectShowScript("C:\\a.avi"), Exception);
    EXPECT_FALSE(FileExists(DirectShowScriptFile()));
}

TEST(ConversionCore, OutputChecks)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileText(dir / "full", "x"));
    ASSERT_TRUE(WriteFileText(dir / "empty", ""));
    EXPECT_FALSE(OutputFileMissingOrEmpty(dir / "full"));
    EXPECT_TRUE(OutputFileMissingOrEmpty(dir / "empty"));
    EXPECT_TRUE(OutputFileMissingOrEmpty(dir / "missing"));
    EXPECT_TRUE(OutputFileMissingOrEmpty(dir.Path()));  // a folder is no output
}

TEST(ShutdownCountdown, RunsOutOnTheThirtyFirstTick)
{
    TShutdownCountdown countdown;
    countdown.Start();
    EXPECT_EQ("Time left: 30", countdown.TimeLeftText("Time left: %d"));
    for (int tick = 1; tick <= 30; ++tick) {
        ASSERT_FALSE(countdown.Tick()) << tick;
        EXPECT_EQ(30 - tick, countdown.SecondsLeft());
    }
    EXPECT_EQ("Time left: 0", countdown.TimeLeftText("Time left: %d"));
    EXPECT_TRUE(countdown.Tick());
    countdown.Start();  // a new window starts again from 30
    EXPECT_EQ(30, countdown.SecondsLeft());
}

}  // namespace

namespace {

// The built-in texts are those of the language string table, and the table's current texts reach the
// driver.
TEST(ConversionTexts, ComeFromTheLanguageTable)
{
    ResetLanguageTexts();
    const TConversionTexts builtIn, fromTable = LanguageConversionTexts();
#define ORV_EXPECT_SAME(name, text) EXPECT_EQ(builtIn.name, fromTable.name) << #name;
    ORV_CONVERSION_TEXTS(ORV_EXPECT_SAME)
#undef ORV_EXPECT_SAME
    IDS_ID_BATCH = "Lot=";
    IDS_ID_WORKING = "Datei %d von %d: %s";
    const TConversionTexts translated = LanguageConversionTexts();
    EXPECT_EQ("Lot=", translated.IDS_ID_BATCH);
    EXPECT_EQ("Datei %d von %d: %s", translated.IDS_ID_WORKING);
    EXPECT_EQ(builtIn.DuplicateOutput, translated.DuplicateOutput);
    ResetLanguageTexts();
}

}  // namespace
