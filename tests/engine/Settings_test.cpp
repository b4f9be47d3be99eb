#include "Settings.h"

#include <gtest/gtest.h>

#include "Errors.h"
#include "Strings.h"

// Runs first in this program: nothing has reset or loaded a record yet.
TEST(SettingsRecords, StartZeroed)
{
    EXPECT_EQ(AVISettings.Description, "");
    EXPECT_EQ(AVISettings.AudioCodec, 0);
    EXPECT_EQ(AVISettings.VideoWidthDivX, 0);
    EXPECT_FALSE(AVISettings.VideoBitRateUsePresertDivX);
    EXPECT_EQ(MPEGSettings.DVDAudioBitRatePreset, 0);
    EXPECT_EQ(WavSettings.AudioSampleRatePcm16le, 0);
}

namespace {

struct TableCase {
    const char* name;
    const TBitRateTable& table;
    std::vector<int32_t> values;
};

const std::vector<int32_t> k13 = {64, 128, 256, 512, 768, 1080, 1152, 1200, 1500, 2496, 4600, 6000, 9600};
const std::vector<int32_t> k12 = {64, 128, 256, 512, 768, 1080, 1152, 1200, 1500, 2496, 4600, 6000};

const std::vector<TableCase>& Tables()
{
    static const std::vector<TableCase> tables = {
        {"VideoBitRatesDivX", VideoBitRatesDivX, k13},
        {"VideoBitRatesXviD", VideoBitRatesXviD, k13},
        {"VideoBitRatesMsMPEG4", VideoBitRatesMsMPEG4, k13},
        {"VideoBitRatesMsMPEG4v2", VideoBitRatesMsMPEG4v2, k13},
        {"VideoBitRatesH263", VideoBitRatesH263, k13},
        {"VideoBitRatesH263P", VideoBitRatesH263P, k13},
        {"VideoBitRatesH264", VideoBitRatesH264, k13},
        {"VideoBitRatesDV", VideoBitRatesDV, k13},
        {"VideoBitRateshuffYUV", VideoBitRateshuffYUV, k13},
        {"VideoBitRatesMjpeg", VideoBitRatesMjpeg, k13},
        {"VideoBitRatesMPEG1", VideoBitRatesMPEG1, k13},
        {"VideoBitRatesMPEG2", VideoBitRatesMPEG2, k13},
        {"VideoBitRatesSvq1", VideoBitRatesSvq1, k13},
        {"VideoBitRatesFlv", VideoBitRatesFlv, k13},
        {"WmvVideoBitRatesMsMPEG4", WmvVideoBitRatesMsMPEG4, k12},
        {"WmvVideoBitRatesMsMPEG4v2", WmvVideoBitRatesMsMPEG4v2, k12},
        {"WmvVideoBitRatesWmv7", WmvVideoBitRatesWmv7, k12},
        {"WmvVideoBitRatesWmv8", WmvVideoBitRatesWmv8, k12},
        {"VideoBitRatesRm10", VideoBitRatesRm10, k13},
        {"DVDVideoBitRates", DVDVideoBitRates, k13},
        {"SwfVideoBitRatesFlv", SwfVideoBitRatesFlv, {64, 128, 256, 512, 768, 1080, 1152, 1200, 1500, 2496, 3600}},
        {"AudioBitRatesAC3", AudioBitRatesAC3, {32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448}},
        {"AudioBitRatesMp2", AudioBitRatesMp2, {32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256, 320, 384}},
        {"AudioBitRatesMp3", AudioBitRatesMp3, {32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256, 320}},
        {"AudioBitRatesAACMP4", AudioBitRatesAACMP4, {24, 32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256}},
        {"AudioBitRatesAACPsp", AudioBitRatesAACPsp, {24, 32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256}},
        {"AudioBitRatesArmnb", AudioBitRatesArmnb, {8, 9, 10, 11, 12, 13}},
        {"AudioBitRatesArmwb", AudioBitRatesArmwb, {7, 9, 13, 16, 18, 20, 24}},
        {"DVDAudioBitRates", DVDAudioBitRates, {64, 96, 112, 128, 128, 160, 192, 224, 256, 320}},
    };
    return tables;
}

}  // namespace

TEST(BitRateTables, HoldTheListedEntriesAsPlainDecimalTexts)
{
    ASSERT_EQ(Tables().size(), 29u);
    for (const TableCase& c : Tables()) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.table.Count(), int(c.values.size()));
        for (int p = 1; p <= c.table.Count(); ++p) {
            const std::string entry = c.table.Entry(p);
            int32_t number = 0;
            ASSERT_TRUE(TryStrToInt(entry, number)) << entry;
            EXPECT_EQ(number, c.values[size_t(p - 1)]);
            EXPECT_EQ(c.table.Value(p), number);
            EXPECT_EQ(IntToStr(number), entry) << "no sign, leading zero or blank";
        }
        EXPECT_EQ(c.table.First(), c.values.front());
        EXPECT_EQ(c.table.Last(), c.values.back());
        EXPECT_THROW(c.table.Entry(0), Exception);
        EXPECT_THROW(c.table.Entry(c.table.Count() + 1), Exception);
    }
}

TEST(BitRateTables, LookupFindsEveryMatchAndKeepsTheLast)
{
    struct Case {
        const TBitRateTable& table;
        int32_t value;
        std::vector<int> positions;
        int shown;  // slider position with fallback 3
    };
    const Case cases[] = {
        {DVDAudioBitRates, 128, {4, 5}, 5},   // duplicated entry
        {DVDAudioBitRates, 64, {1}, 1},
        {DVDAudioBitRates, 320, {10}, 10},
        {DVDAudioBitRates, 384, {}, 3},        // the MPEG DVD audio default is no entry
        {VideoBitRatesH263, 144, {}, 3},       // the 3GP video defaults are no entries
        {VideoBitRatesH263, 96, {}, 3},
        {VideoBitRatesDivX, 144, {}, 3},
        {VideoBitRatesDivX, 96, {}, 3},
        {VideoBitRatesXviD, 144, {}, 3},
        {VideoBitRatesXviD, 96, {}, 3},
        {VideoBitRatesDivX, 1080, {6}, 6},
        {VideoBitRatesDivX, 9600, {13}, 13},
        {WmvVideoBitRatesWmv8, 9600, {}, 3},
        {SwfVideoBitRatesFlv, 3600, {11}, 11},
        {AudioBitRatesArmwb, 13, {3}, 3},
        {AudioBitRatesAC3, -32, {}, 3},
        {AudioBitRatesAC3, 0, {}, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.table.PositionsOf(c.value), c.positions) << c.value;
        EXPECT_EQ(c.table.PositionOf(c.value, 3), c.shown) << c.value;
    }
}
