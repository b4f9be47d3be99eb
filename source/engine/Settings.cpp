#include "Settings.h"

#include "Errors.h"
#include "Strings.h"

std::string IDS_NO_DESCRIPTION = "No Description";

TAVISettings AVISettings;
TMP4Settings MP4Settings;
TTGPSettings TGPSettings;
TMPEGSettings MPEGSettings;
TMovSettings MovSettings;
TWmvSettings WmvSettings;
TRmSettings RmSettings;
TSwfSettings SwfSettings;
TVobSettings VobSettings;
TAsfSettings AsfSettings;
TAacSettings AacSettings;
TAc3Settings Ac3Settings;
TMp2Settings Mp2Settings;
TMp3Settings Mp3Settings;
TAmrSettings AmrSettings;
TWavSettings WavSettings;

// --- bit-rate preset tables ---------------------------------------------------------------------
// Tables with the same values share their entries but stay separate tables, one per slider family.

namespace {

const char* const kVideoRates13[] = {"64",   "128",  "256",  "512",  "768",  "1080", "1152",
                                     "1200", "1500", "2496", "4600", "6000", "9600"};
const char* const kVideoRates12[] = {"64",   "128",  "256",  "512",  "768",  "1080",
                                     "1152", "1200", "1500", "2496", "4600", "6000"};
const char* const kSwfVideoRates[] = {"64",   "128",  "256",  "512",  "768", "1080",
                                      "1152", "1200", "1500", "2496", "3600"};

const char* const kAC3Rates[] = {"32",  "48",  "56",  "64",  "96",  "112", "128",
                                 "160", "192", "224", "256", "320", "384", "448"};
const char* const kMp2Rates[] = {"32",  "48",  "56",  "64",  "96",  "112", "128",
                                 "160", "192", "224", "256", "320", "384"};
const char* const kMp3Rates[] = {"32", "48", "56", "64", "96", "112", "128", "160", "192", "224", "256", "320"};
const char* const kAACRates[] = {"24", "32", "48", "56", "64", "96", "112", "128", "160", "192", "224", "256"};
const char* const kArmnbRates[] = {"8", "9", "10", "11", "12", "13"};
const char* const kArmwbRates[] = {"7", "9", "13", "16", "18", "20", "24"};
// 128 twice: the DVD audio slider has ten positions.
const char* const kDVDAudioRates[] = {"64", "96", "112", "128", "128", "160", "192", "224", "256", "320"};

}  // namespace

const TBitRateTable VideoBitRatesDivX(kVideoRates13);
const TBitRateTable VideoBitRatesXviD(kVideoRates13);
const TBitRateTable VideoBitRatesMsMPEG4(kVideoRates13);
const TBitRateTable VideoBitRatesMsMPEG4v2(kVideoRates13);
const TBitRateTable VideoBitRatesH263(kVideoRates13);
const TBitRateTable VideoBitRatesH263P(kVideoRates13);
const TBitRateTable VideoBitRatesH264(kVideoRates13);
const TBitRateTable VideoBitRatesDV(kVideoRates13);
const TBitRateTable VideoBitRateshuffYUV(kVideoRates13);
const TBitRateTable VideoBitRatesMjpeg(kVideoRates13);
const TBitRateTable VideoBitRatesMPEG1(kVideoRates13);
const TBitRateTable VideoBitRatesMPEG2(kVideoRates13);
const TBitRateTable VideoBitRatesSvq1(kVideoRates13);
const TBitRateTable VideoBitRatesFlv(kVideoRates13);
const TBitRateTable WmvVideoBitRatesMsMPEG4(kVideoRates12);
const TBitRateTable WmvVideoBitRatesMsMPEG4v2(kVideoRates12);
const TBitRateTable WmvVideoBitRatesWmv7(kVideoRates12);
const TBitRateTable WmvVideoBitRatesWmv8(kVideoRates12);
const TBitRateTable VideoBitRatesRm10(kVideoRates13);
const TBitRateTable DVDVideoBitRates(kVideoRates13);
const TBitRateTable SwfVideoBitRatesFlv(kSwfVideoRates);

const TBitRateTable AudioBitRatesAC3(kAC3Rates);
const TBitRateTable AudioBitRatesMp2(kMp2Rates);
const TBitRateTable AudioBitRatesMp3(kMp3Rates);
const TBitRateTable AudioBitRatesAACMP4(kAACRates);
const TBitRateTable AudioBitRatesAACPsp(kAACRates);
const TBitRateTable AudioBitRatesArmnb(kArmnbRates);
const TBitRateTable AudioBitRatesArmwb(kArmwbRates);
const TBitRateTable DVDAudioBitRates(kDVDAudioRates);

const char* TBitRateTable::Entry(int position) const
{
    if (position < 1 || position > count_)
        throw Exception("Bit-rate position " + IntToStr(position) + " out of range 1.." + IntToStr(count_));
    return entries_[position - 1];
}

int32_t TBitRateTable::Value(int position) const { return StrToIntDef(Entry(position), 0); }

std::vector<int> TBitRateTable::PositionsOf(int32_t value) const
{
    // Compared as text, as the editors do: the record's number written in decimal against each entry.
    const std::string text = IntToStr(value);
    std::vector<int> positions;
    for (int p = 1; p <= count_; ++p)
        if (text == entries_[p - 1]) positions.push_back(p);
    return positions;
}

int TBitRateTable::PositionOf(int32_t value, int fallback) const
{
    const std::vector<int> positions = PositionsOf(value);
    return positions.empty() ? fallback : positions.back();
}
