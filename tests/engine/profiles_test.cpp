#include "profiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Errors.h"
#include "FileUtils.h"
#include "IniFile.h"
#include "Settings.h"
#include "Strings.h"
#include "TempDir.h"

namespace {

// Golden files, one per format, hold the keys and values of a freshly reset record in save order.
struct FormatCase {
    TOutputFormat index;
    const char* name;
    const char* shortName;
    const char* extension;
    size_t keys;
};

const FormatCase kFormats[] = {
    {0, "AVI", "avi", "avo", 149},  {1, "MP4", "mp4", "mpo", 44},  {2, "3GP", "3gp", "3go", 49},
    {3, "MPEG", "mpg", "mpo", 49},  {4, "MOV", "mov", "moo", 66},  {5, "WMV", "wmv", "wmo", 48},
    {6, "RM", "rm", "rmo", 21},     {7, "SWF", "swf", "swo", 21},  {8, "VOB", "vob", "voo", 25},
    {9, "ASF", "asf", "aso", 30},   {10, "AAC", "aac", "aao", 9},  {11, "AC3", "ac3", "aco", 9},
    {12, "MP2", "mp2", "mpo", 9},   {13, "MP3", "mp3", "mpo", 9},  {14, "AMR", "amr", "amo", 13},
    {15, "WAV", "wav", "wao", 9},
};

std::vector<std::string> FileLines(const std::string& path)
{
    std::string text;
    if (!ReadFileText(path, text)) return {};
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(text))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<std::string> GoldenLines(const FormatCase& c)
{
    return FileLines(std::string(ORV_TEST_DATA_DIR) + "profiles\\" + c.name + ".ini");
}

// Every field of the format's instance, as the profile file would hold it.
std::vector<std::string> Snapshot(const TSettingsFields& fields)
{
    std::vector<std::string> values;
    for (size_t i = 0; i < fields.Count(); ++i) values.push_back(std::string(fields.Key(i)) + "=" + fields.Text(i));
    return values;
}

// Gives every field a value that differs from its default and from the other fields' values.
void FillWithOtherValues(TSettingsFields& fields)
{
    fields.Reset();
    for (size_t i = 0; i < fields.Count(); ++i) {
        const int n = int(i);
        std::string value;
        switch (fields.Kind(i)) {
            case TFieldKind::String: value = "Value " + IntToStr(n); break;
            case TFieldKind::Boolean: value = fields.Text(i) == "1" ? "0" : "1"; break;
            case TFieldKind::Byte: value = IntToStr(n % 2 ? 255 : 100 + n % 100); break;
            case TFieldKind::Integer: value = IntToStr(n % 2 ? -70000 - n : 100000 + n); break;
        }
        fields.SetText(i, value);
        ASSERT_EQ(fields.Text(i), value) << fields.Key(i);
    }
}

class EachFormat : public ::testing::TestWithParam<FormatCase> {
protected:
    const TOutputFormatInfo& Info() const { return OutputFormatInfo(GetParam().index); }
    TSettingsFields& Fields() const { return Info().Fields(); }
    TempDir dir;
};

}  // namespace

TEST(OutputFormats, TableNamesEveryFormatInIndexOrder)
{
    for (const FormatCase& c : kFormats) {
        const TOutputFormatInfo* info = FindOutputFormat(c.index);
        ASSERT_NE(info, nullptr) << c.name;
        EXPECT_EQ(info->Index, c.index);
        EXPECT_STREQ(info->Name, c.name);
        EXPECT_STREQ(info->ShortName, c.shortName);
        EXPECT_EQ(ProfileExtension(c.index), c.extension);
        EXPECT_EQ(info->Fields().Count(), c.keys) << c.name;
    }
    EXPECT_EQ(FindOutputFormat(16), nullptr);
    EXPECT_EQ(FindOutputFormat(255), nullptr);
    EXPECT_THROW(OutputFormatInfo(16), Exception);
    // The profile folders of Options, by format.
    Options.AVIProfileDir = "a";
    Options.TGPProfileDir = "t";
    Options.AsfProfileDir = "s";
    EXPECT_EQ(Options.*OutputFormatInfo(ofAVI).ProfileDir, "a");
    EXPECT_EQ(Options.*OutputFormatInfo(ofTGP).ProfileDir, "t");
    EXPECT_EQ(Options.*OutputFormatInfo(ofAsf).ProfileDir, "s");
}

TEST_P(EachFormat, ResetRecordSavedToNewFileGivesTheGoldenFile)
{
    const std::vector<std::string> golden = GoldenLines(GetParam());
    ASSERT_EQ(golden.size(), GetParam().keys + 1) << "golden file of " << GetParam().name;
    FillWithOtherValues(Fields());
    Info().Reset();
    const std::string file = dir / "new.pro";
    Info().Save(file);
    EXPECT_EQ(FileLines(file), golden);
}

TEST_P(EachFormat, MissingFileLoadsTheDefaults)
{
    FillWithOtherValues(Fields());
    Info().Load(dir / "missing\\none.pro");
    const std::string file = dir / "defaults.pro";
    Info().Save(file);
    EXPECT_EQ(FileLines(file), GoldenLines(GetParam()));
    EXPECT_FALSE(DirectoryExists(dir / "missing"));
}

TEST_P(EachFormat, SaveThenLoadGivesTheSameRecord)
{
    FillWithOtherValues(Fields());
    const std::vector<std::string> saved = Snapshot(Fields());
    const std::string file = dir / "round.pro";
    Info().Save(file);
    Info().Reset();
    ASSERT_NE(Snapshot(Fields()), saved);
    Info().Load(file);
    EXPECT_EQ(Snapshot(Fields()), saved);
    // The file lists exactly the fields, in save order.
    std::vector<std::string> expected = saved;
    expected.insert(expected.begin(), "[General]");
    EXPECT_EQ(FileLines(file), expected);
}

TEST_P(EachFormat, LoadingAnotherFileLeavesNothingOfTheFirst)
{
    FillWithOtherValues(Fields());
    const std::string first = dir / "first.pro";
    Info().Save(first);
    const std::string second = dir / "second.pro";
    TIniFile(second).WriteString("General", "Description", "Second");
    Info().Load(first);
    Info().Load(second);
    const std::string file = dir / "out.pro";
    Info().Save(file);
    std::vector<std::string> expected = GoldenLines(GetParam());
    ASSERT_GE(expected.size(), 2u);
    expected[1] = "Description=Second";
    EXPECT_EQ(FileLines(file), expected);
}

TEST_P(EachFormat, SaveKeepsForeignKeysAndSectionsAndReplacesOwnKeysInPlace)
{
    const std::string file = dir / "foreign.pro";
    ASSERT_TRUE(WriteFileText(file,
                              "[Before]\r\nA=1\r\n[General]\r\nForeign=x\r\nStartTime=1:00:00.000\r\n"
                              "Description=Old\r\nLast=y\r\n[After]\r\nB=2\r\n"));
    Info().Load(file);
    EXPECT_EQ(Fields().Text(Fields().IndexOf("StartTime")), "1:00:00.000");
    Info().Reset();
    Info().Save(file);
    const std::vector<std::string> golden = GoldenLines(GetParam());
    std::vector<std::string> expected = {"[Before]", "A=1", "[General]", "Foreign=x", "StartTime=0:00:00.000",
                                         "Description=No Description", "Last=y"};
    for (const std::string& line : golden)
        if (line != "[General]" && line.rfind("StartTime=", 0) != 0 && line.rfind("Description=", 0) != 0)
            expected.push_back(line);
    expected.insert(expected.end(), {"[After]", "B=2"});
    EXPECT_EQ(FileLines(file), expected);
}

TEST_P(EachFormat, SaveIntoMissingFolderRaisesAndCreatesNothing)
{
    Info().Reset();
    const std::string file = dir / "no such folder\\profile.pro";
    try {
        Info().Save(file);
        FAIL() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + file);
    }
    EXPECT_FALSE(DirectoryExists(dir / "no such folder"));
    EXPECT_FALSE(FileExists(file));
}

TEST(SaveProfile, FileThatCannotBeOpenedRaisesAndStaysUnchanged)
{
    TempDir dir;
    const std::string file = dir / "locked.wao";
    const std::string content = "[General]\r\nDescription=Locked\r\n";
    ASSERT_TRUE(WriteFileText(file, content));
    // Held open without sharing, as another program might.
    const HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ResetWavSettings();
    bool raised = false;
    try {
        SaveWavProfile(file);
    } catch (const EIniFileException& e) {
        raised = true;
        EXPECT_EQ(e.Message(), "Unable to write to " + file);
    }
    CloseHandle(lock);
    EXPECT_TRUE(raised);
    std::string text;
    ASSERT_TRUE(ReadFileText(file, text));
    EXPECT_EQ(text, content);
}

INSTANTIATE_TEST_SUITE_P(Formats, EachFormat, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<FormatCase>& info) {
                             return std::string("F") + info.param.shortName;
                         });

TEST(LoadProfile, ReadsValuesByTheFileRules)
{
    struct Case {
        const char* key;
        const char* value;   // as written in the file
        const char* loaded;  // the field afterwards, in file form
    };
    const Case cases[] = {
        {"VideoCodec", "300", "44"},            // a Byte keeps the low 8 bits
        {"VideoCodec", "-1", "255"},
        {"VideoCodec", "11", "11"},             // no block is selected, still loaded
        {"VideoWidthDivX", "0x280", "640"},     // hexadecimal
        {"VideoWidthDivX", "0X1E0", "480"},
        {"VideoWidthDivX", "$20", "32"},
        {"VideoWidthDivX", "0x", "640"},        // "0x" needs a digit after it
        {"VideoWidthDivX", "-12", "-12"},
        {"VideoWidthDivX", "  720  ", "720"},   // blanks around a value go
        {"VideoWidthDivX", "", "640"},          // empty number: default
        {"VideoWidthDivX", "12px", "640"},      // unparsable: default
        {"VideoWidthDivX", "99999999999", "640"},
        {"EnableTimeControl", "2", "1"},        // any non-zero number is True
        {"EnableTimeControl", "-1", "1"},
        {"EnableTimeControl", "0", "0"},
        {"EnableTimeControl", "yes", "0"},      // unparsable: default
        {"AudioBitRateUseAutoSetMp3", "1", "1"},
        {"Description", "", ""},                // present but empty: empty text
        {"Description", "\"Quoted\"", "Quoted"},
        {"Description", "  Padded  ", "Padded"},
        {"videocodec", "3", "3"},               // keys match without regard to case
    };
    TempDir dir;
    TSettingsFields& fields = OutputFormatInfo(ofAVI).Fields();
    for (const Case& c : cases) {
        const std::string file = dir / "case.avo";
        ASSERT_TRUE(WriteFileText(file, std::string("[general]\r\n") + c.key + "=" + c.value + "\r\n"));
        LoadAVIProfile(file);
        const size_t i = fields.IndexOf(c.key);
        ASSERT_LT(i, fields.Count()) << c.key;
        EXPECT_EQ(fields.Text(i), c.loaded) << c.key << "=" << c.value;
    }
}

TEST(LoadProfile, EmptyDescriptionAloneLeavesEverythingElseAtItsDefault)
{
    TempDir dir;
    const std::string file = dir / "d.mpo";
    ASSERT_TRUE(WriteFileText(file, "[General]\r\nDescription=\r\n"));
    LoadMPEGProfile(file);
    EXPECT_EQ(MPEGSettings.Description, "");
    EXPECT_EQ(MPEGSettings.VideoCodec, 1);
    EXPECT_EQ(MPEGSettings.DVDAudioBitRatePreset, 384);
    EXPECT_EQ(MPEGSettings.VideoFrameRateMPEG2, 8);
}

TEST(LoadProfile, AacIgnoresVideoKeysAndSaveKeepsThem)
{
    TempDir dir;
    const std::string file = dir / "copied.aao";
    ASSERT_TRUE(WriteFileText(file, "[General]\r\nVideoCodec=2\r\nAudioBitRatePresetAACMP4=96\r\n"
                                    "VideoWidthH264=320\r\n"));
    LoadAacProfile(file);
    EXPECT_EQ(AacSettings.AudioBitRatePresetAACMP4, 96);
    SaveAacProfile(file);
    const std::vector<std::string> lines = FileLines(file);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "VideoCodec=2");
    EXPECT_EQ(lines[2], "AudioBitRatePresetAACMP4=96");
    EXPECT_EQ(lines[3], "VideoWidthH264=320");
}

TEST(ResetSettings, DescriptionFollowsTheCurrentLanguageText)
{
    const std::string builtIn = IDS_NO_DESCRIPTION;
    EXPECT_EQ(builtIn, "No Description");
    IDS_NO_DESCRIPTION = "Keine Beschreibung";
    ResetWavSettings();
    EXPECT_EQ(WavSettings.Description, "Keine Beschreibung");
    LoadRmProfile("Z:\\no\\such\\file.rmo");
    EXPECT_EQ(RmSettings.Description, "Keine Beschreibung");
    IDS_NO_DESCRIPTION = builtIn;
    ResetWavSettings();
    EXPECT_EQ(WavSettings.Description, "No Description");
}

TEST(ResetSettings, RecordsHoldTheDefaultsByName)
{
    // Spot checks through the record members the option builders and editors use.
    ResetMovSettings();
    EXPECT_EQ(MovSettings.VideoBitRatePresetXviD, 1200);
    EXPECT_EQ(MovSettings.VideoBitRateSpecifySvq1, 1200);
    EXPECT_EQ(MovSettings.VideoWidthXviD, 480);
    EXPECT_EQ(MovSettings.VideoHeightXviD, 480);
    EXPECT_FALSE(MovSettings.AudioBitRateUseAutoSetAACMP4);
    ResetVobSettings();
    EXPECT_EQ(VobSettings.VideoWidthMPEG2, 720);
    EXPECT_EQ(VobSettings.VideoHeightMPEG2, 576);
    EXPECT_EQ(VobSettings.VideoBitRatePresetMPEG2, 6000);
    EXPECT_FALSE(VobSettings.VideoSizeUseSourceMPEG2);
    EXPECT_EQ(VobSettings.AudioCodec, 1);
    EXPECT_EQ(VobSettings.AudioBitRatePresetAC3, 384);
    EXPECT_EQ(VobSettings.AudioSampleRateAC3, 3);
    ResetTGPSettings();
    EXPECT_EQ(TGPSettings.VideoBitRatePresetH263, 144);
    EXPECT_EQ(TGPSettings.VideoBitRatePresetDivX, 144);
    EXPECT_EQ(TGPSettings.VideoBitRatePresetXviD, 96);
    EXPECT_EQ(TGPSettings.VideoFrameRateH263, 1);
    ResetMPEGSettings();
    EXPECT_EQ(MPEGSettings.DVDAudioBitRatePreset, 384);
    EXPECT_TRUE(MPEGSettings.DVDVideoKeepAspect);
    ResetWmvSettings();
    EXPECT_TRUE(WmvSettings.AudioBitRateUseAutoSetMp3);
    ResetSwfSettings();
    EXPECT_TRUE(SwfSettings.AudioBitRateUseAutoSetMp3);
    ResetRmSettings();
    EXPECT_FALSE(RmSettings.AudioBitRateUseAutoSetAC3);
    ResetAVISettings();
    EXPECT_EQ(AVISettings.VideoWidthH263, 352);
    EXPECT_EQ(AVISettings.VideoHeightH263, 288);
    EXPECT_EQ(AVISettings.VideoWidthDivX, 640);
    EXPECT_EQ(AVISettings.AudioCodec, 1);
}

TEST(SaveProfile, LineBreaksInTextsCannotAddKeysOrSections)
{
    TempDir dir;
    const std::string file = dir / "evil.avo";
    ResetAVISettings();
    AVISettings.Description = "One\r\n[Other]\r\nVideoCodec=9\nTwo";
    SaveAVIProfile(file);
    LoadAVIProfile(file);
    EXPECT_EQ(AVISettings.VideoCodec, 0);
    EXPECT_EQ(AVISettings.Description, "One  [Other]  VideoCodec=9 Two");
    EXPECT_FALSE(TIniFile(file).SectionExists("Other"));
}
