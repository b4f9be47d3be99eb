// Option strings built from profile files: one table of (format, profile, exact option string).
// A profile is the text of section "General" of a profile file, written to a fresh file per case; a
// missing profile means no file at all (the format's defaults).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "OptionDetails.h"
#include "TempDir.h"
#include "globals.h"

namespace {

const auto kMissing = std::nullopt;

struct Case {
    int Format;                          // output format index
    std::optional<std::string> Profile;  // keys of section "General", one per line; kMissing: no file
    std::string Expected;
};

std::ostream& operator<<(std::ostream& os, const Case& c)
{
    return os << "format " << c.Format << " profile {" << c.Profile.value_or("missing") << "}";
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ProfileText(const std::string& keys)
{
    std::string text = "[General]\r\n";
    std::istringstream lines(keys);
    for (std::string line; std::getline(lines, line);) text += line + "\r\n";
    return text;
}

std::string Build(int format, const std::string& profileFile)
{
    Options.OutputFormat = static_cast<TOutputFormat>(format);
    std::string result = "left over from an earlier file";
    BuildEncoderOptions(profileFile, result);
    return result;
}

// --- the defaults of every format (no profile file) ---------------------------------------------

const char* const kAviDefault = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ";
const char* const kAviVideoHead = "-y -f avi -vcodec msmpeg4 -b 1080k ";
const char* const kAviAudio = "-acodec mp3 -ac 2 -ab 96 -ar 22050 ";

std::vector<Case> DefaultCases()
{
    return {
        {0, kMissing, kAviDefault},
        {1, kMissing, "-y -f mp4 -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 "},
        {2, kMissing,
         "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_nb -ac 1 -ar 8000 -ab 13 "},
        {3, kMissing, "-y -vcodec mpeg2video -b 2496k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
        {4, kMissing, "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
        {5, kMissing, "-y -vcodec wmv2 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 "},
        {6, kMissing, "-y -f rm -vcodec rv10 -b 768k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
        {7, kMissing, "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 "},
        {8, kMissing,
         "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab 384 "},
        {9, kMissing, "-y -f asf -vcodec msmpeg4 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 "},
        {10, kMissing, "-y -f aac -vn -acodec aac -ac 2 -ab 128 -ar 44100 "},
        {11, kMissing, "-y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000 -ab 384 "},
        {12, kMissing, "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 160 -ar 44100 "},
        {13, kMissing, "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
        {14, kMissing, "-y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -ab 13 "},
        {15, kMissing, "-y -f wav -vn -acodec pcm_s16le -ac 2 -ar 44100 "},
        {16, kMissing, ""},
        {255, kMissing, ""},
        // An empty file and a file with only a description behave as the defaults.
        {0, "", kAviDefault},
        {13, "Description=my own", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
        {16, "VideoCodec=1", ""},
    };
}

// --- time control ------------------------------------------------------------------------------

std::vector<Case> TimeControlCases()
{
    const std::string aviTail = "-vcodec msmpeg4 -b 1080k -r 25 " + std::string(kAviAudio);
    return {
        {0, "EnableTimeControl=1\nDuration=0:00:10.000\nStartTime=0:00:05.000",
         "-y -f avi  -t 0:00:10.000 -ss 0:00:05.000 " + aviTail},
        {0, "EnableTimeControl=0\nDuration=0:00:10.000\nStartTime=0:00:05.000", kAviDefault},
        // Any non-zero number turns it on; the stored defaults are sent as they stand.
        {0, "EnableTimeControl=2", "-y -f avi  -t 0:00:00.000 -ss 0:00:00.000 " + aviTail},
        {13, "EnableTimeControl=1\nDuration=0:00:30.000\nStartTime=0:01:00.000",
         "-y -f mp3  -t 0:00:30.000 -ss 0:01:00.000 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
        {10, "EnableTimeControl=1\nDuration=90\nStartTime=1:30",
         "-y -f aac  -t 90 -ss 1:30 -vn -acodec aac -ac 2 -ab 128 -ar 44100 "},
        {7, "EnableTimeControl=1\nDuration=100:00:00.000\nStartTime=2.5",
         "-y  -t 100:00:00.000 -ss 2.5 -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 "},
        // MPEG starts with the time control, on both of its paths.
        {3, "EnableTimeControl=1\nDuration=0:00:10.000\nStartTime=0:00:05.000",
         " -t 0:00:10.000 -ss 0:00:05.000 -y -vcodec mpeg2video -b 2496k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
        {3, "EnableTimeControl=1\nDuration=0:00:10.000\nStartTime=0:00:05.000\nUsePresetFormats=1\nTargetFormat=2",
         " -t 0:00:10.000 -ss 0:00:05.000 -y -target pal-vcd "},
        // Texts that are not time texts never reach the command line: no time control at all.
        {0, "EnableTimeControl=1\nDuration=0:00:10.000 -i evil.avi\nStartTime=0:00:05.000", kAviDefault},
        {0, "EnableTimeControl=1\nDuration=0:00:10.000\nStartTime=5 -vf something", kAviDefault},
        {0, "EnableTimeControl=1\nDuration=\nStartTime=0:00:05.000", kAviDefault},
        {0, "EnableTimeControl=1\nDuration=0:00:10.000\nStartTime=", kAviDefault},
        {0, "EnableTimeControl=1\nDuration=::.\nStartTime=0", kAviDefault},
        {0, "EnableTimeControl=1\nDuration=-1\nStartTime=0", kAviDefault},
        {0, "EnableTimeControl=1\nDuration=\"0:00:01.000\" -an\nStartTime=0", kAviDefault},
        {13, "EnableTimeControl=1\nDuration=10\nStartTime=0:00;05", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 "},
        {3, "EnableTimeControl=1\nDuration=1&2\nStartTime=0\nUsePresetFormats=1", "-y -target film-vcd "},
    };
}

// --- video blocks --------------------------------------------------------------------------------

std::vector<Case> AviVideoCases()
{
    std::vector<Case> cases = {
        {0, "VideoSizeUseSourceDivX=0\nVideoWidthDivX=320\nVideoHeightDivX=240",
         "-y -f avi -vcodec msmpeg4 -s 320x240 -b 1080k -r 25 " + std::string(kAviAudio)},
        {0, "VideoBitRateUsePresertDivX=0\nVideoBitRateSpecifyDivX=2000\nVideoBitRatePresetDivX=9600",
         "-y -f avi -vcodec msmpeg4 -b 2000k -r 25 " + std::string(kAviAudio)},
        {0, "VideoBitRatePresetDivX=9600\nVideoBitRateSpecifyDivX=2000",
         "-y -f avi -vcodec msmpeg4 -b 9600k -r 25 " + std::string(kAviAudio)},
        // Numbers go out as stored, negative ones included.
        {0, "VideoSizeUseSourceDivX=0\nVideoWidthDivX=-16\nVideoHeightDivX=0\nVideoBitRatePresetDivX=-5",
         "-y -f avi -vcodec msmpeg4 -s -16x0 -b -5k -r 25 " + std::string(kAviAudio)},
        // A kept frame rate is always 25, whatever index is stored.
        {0, "VideoKeepFrameRateDivX=1\nVideoFrameRateDivX=8", kAviDefault},
        {0, "VideoSameQuality=1", "-y -f avi -sameq -vcodec msmpeg4 -b 1080k -r 25 " + std::string(kAviAudio)},
        // H.263 sends its size even without a size-from-source field.
        {0, "VideoCodec=4", "-y -f avi -vcodec h263 -s 352x288 -b 1080k -r 25 " + std::string(kAviAudio)},
        {0, "VideoCodec=12\nVideoSameQuality=1\nEnableTimeControl=1\nDuration=0:00:01.000\nStartTime=0:00:02.000",
         "-y -f avi  -t 0:00:01.000 -ss 0:00:02.000 -sameq " + std::string(kAviAudio)},
        {0, "VideoCodec=300", "-y -f avi " + std::string(kAviAudio)},  // loads as 44, which selects no codec
    };

    // Every codec of AVI with its own block (blocks differ only in what the profile sets).
    const std::vector<std::pair<std::string, std::string>> codecs = {
        {"DivX", "-vcodec msmpeg4 "}, {"XviD", "-vcodec xvid "},       {"MsMPEG4", "-vcodec msmpeg4 "},
        {"MsMPEG4v2", "-vcodec msmpeg4v2 "}, {"H263", "-vcodec h263 "}, {"H263P", "-vcodec h263p "},
        {"H264", "-vcodec h264 "},   {"huffYUV", "-vcodec ffvhuff "},    {"Mjpeg", "-vcodec mjpeg "},
        {"Svq1", "-vcodec svq1 "},   {"Flv", "-vcodec flv "},
    };
    for (size_t i = 0; i < codecs.size(); ++i) {
        const std::string& c = codecs[i].first;
        // The DivX block is changed too when another codec is chosen: it must not leak into the result.
        const std::string others = c == "DivX" ? "" : "\nVideoBitRatePresetDivX=1\nVideoFrameRateDivX=12";
        const std::string keys = "VideoCodec=" + std::to_string(i) + "\nVideoBitRatePreset" + c + "=" +
                                 std::to_string(100 + i) + "\nVideoKeepFrameRate" + c + "=0\nVideoFrameRate" + c +
                                 "=" + std::to_string(i) + others;
        const char* rates[] = {"-r 10 ", "-r 12 ", "-r 14.985 ", "-r 15 ", "-r 19.98 ", "-r 23.976 ",
                               "-r 24 ", "-r 25 ", "-r 29.97 ", "-r 30 ", "-r 50 "};
        const std::string size = c == "H263" ? "-s 352x288 " : "";
        cases.push_back({0, keys,
                         "-y -f avi " + codecs[i].second + size + "-b " + std::to_string(100 + i) + "k " + rates[i] +
                             kAviAudio});
    }
    return cases;
}

// Frame rate and aspect indices, each with the fragment it must emit ("" for none).
struct IndexCase {
    int Index;
    const char* Fragment;
};

const std::vector<IndexCase> kFrameRates = {
    {0, "-r 10 "},  {1, "-r 12 "},     {2, "-r 14.985 "}, {3, "-r 15 "},    {4, "-r 19.98 "},
    {5, "-r 23.976 "}, {6, "-r 24 "},  {7, "-r 25 "},     {8, "-r 29.97 "}, {9, "-r 30 "},
    {10, "-r 50 "}, {11, "-r 59.94 "}, {12, "-r 60 "},    {13, ""},         {255, ""},
};
const std::vector<IndexCase> kVobFrameRates = {
    {0, "-r 19.98 "}, {1, "-r 23.976 "}, {2, "-r 24 "}, {3, "-r 25 "}, {4, "-r 29.97 "}, {5, "-r 30 "},
    {6, "-r 50 "},    {7, "-r 59.94 "},  {8, "-r 60 "}, {9, ""},       {200, ""},
};
const std::vector<IndexCase> kAspects = {{0, ""}, {1, "-aspect 4:3 "}, {2, "-aspect 16:9 "}, {3, ""}, {255, ""}};
const std::vector<IndexCase> kH263Aspects = {{0, ""}, {1, ""}, {2, "-aspect 4:3 "}, {3, ""}, {4, "-aspect 16:9 "}, {5, ""}};
const std::vector<IndexCase> kTGPAspects = {
    {0, "-aspect 11:9 "}, {1, "-aspect 4:3 "}, {2, "-aspect 16:9 "}, {3, ""}, {255, ""}};
const std::vector<IndexCase> kTGPH263Aspects = {
    {0, "-aspect 11:9 "}, {1, ""}, {2, "-aspect 4:3 "}, {3, ""}, {4, "-aspect 16:9 "}, {5, ""}};
const std::vector<IndexCase> kVobAspects = {
    {0, "-aspect 5:4 "}, {1, "-aspect 4:3 "}, {2, "-aspect 16:9 "}, {3, ""}, {255, ""}};
const std::vector<IndexCase> kDVDAspects = {
    {0, "-aspect 1:1 "}, {1, "-aspect 4:3 "}, {2, "-aspect 16:9 "}, {3, ""}, {255, ""}};

// One case per index: keys = prefix + index, expected = head + fragment + tail.
std::vector<Case> IndexSweep(int format, const std::string& keysBefore, const std::string& key,
                             const std::vector<IndexCase>& indices, const std::string& head, const std::string& tail)
{
    std::vector<Case> cases;
    for (const IndexCase& i : indices)
        cases.push_back({format, keysBefore + key + "=" + std::to_string(i.Index), head + i.Fragment + tail});
    return cases;
}

std::vector<Case> IndexTableCases()
{
    std::vector<Case> all;
    auto add = [&all](std::vector<Case> more) { all.insert(all.end(), more.begin(), more.end()); };
    // Ordinary frame-rate table (AVI DivX) and VOB's own.
    add(IndexSweep(0, "VideoKeepFrameRateDivX=0\n", "VideoFrameRateDivX", kFrameRates, kAviVideoHead, kAviAudio));
    add(IndexSweep(8, "VideoKeepFrameRateMPEG2=0\n", "VideoFrameRateMPEG2", kVobFrameRates,
                   "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k ",
                   "-aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab 384 "));
    // A kept frame rate in VOB is 25 too.
    add(IndexSweep(8, "", "VideoFrameRateMPEG2", {{7, "-r 25 "}},
                   "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k ",
                   "-aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab 384 "));
    // Aspect tables: ordinary, AVI H.263, 3GP ordinary and H.263, VOB, the DVD group.
    add(IndexSweep(0, "", "VideoAspectDivX", kAspects, "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 ", kAviAudio));
    add(IndexSweep(0, "VideoCodec=4\n", "VideoAspectH263", kH263Aspects,
                   "-y -f avi -vcodec h263 -s 352x288 -b 1080k -r 25 ", kAviAudio));
    add(IndexSweep(2, "VideoCodecNokia=1\nAudioDisableAudio=1\n", "VideoAspectDivX", kTGPAspects,
                   "-y -f 3gp -vcodec msmpeg4 -s 176x144 -b 144k -r 25 ", "-an "));
    add(IndexSweep(2, "TGPFormat=1\nVideoCodecSony=1\nAudioDisableAudio=1\n", "VideoAspectXviD", kTGPAspects,
                   "-y -f 3gp -vcodec xvid -s 176x144 -b 96k -r 25 ", "-an "));
    add(IndexSweep(2, "AudioDisableAudio=1\n", "VideoAspectH263", kTGPH263Aspects,
                   "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 ", "-an "));
    add(IndexSweep(8, "AudioDisableAudio=1\n", "VideoAspectMPEG2", kVobAspects,
                   "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 ", "-an "));
    add(IndexSweep(3, "UsePresetFormats=1\nPresetType=2\nTargetFormat=2\nDVDVideoKeepAspect=0\n", "DVDVideoAspect",
                   kDVDAspects, "-y -target pal-dvd -b 6000k ", "-ab 384 "));
    // The aspect that the editors offer for MOV's H.263 and H.264 and for RealVideo is sent as for the
    // same codec elsewhere.
    add(IndexSweep(4, "AudioDisableAudio=1\n", "VideoAspectH264", kAspects, "-y -f mov -vcodec h264 -b 1200k -r 25 ",
                   "-an "));
    add(IndexSweep(4, "VideoCodec=3\nAudioDisableAudio=1\n", "VideoAspectH263", kH263Aspects,
                   "-y -f mov -vcodec h263 -s 352x288 -b 1200k -r 25 ", "-an "));
    add(IndexSweep(6, "AudioDisableAudio=1\n", "VideoAspectRm10", kAspects, "-y -f rm -vcodec rv10 -b 768k -r 25 ",
                   "-an "));
    return all;
}

// --- audio forms and tables ----------------------------------------------------------------------

const std::vector<IndexCase> kChannels = {{0, "-ac 1 "}, {1, "-ac 2 "}, {2, ""}, {255, ""}};
const std::vector<IndexCase> kFourRates = {
    {0, "-ar 22050 "}, {1, "-ar 24000 "}, {2, "-ar 44100 "}, {3, "-ar 48000 "}, {4, ""}, {255, ""}};
const std::vector<IndexCase> kEightRates = {
    {0, "-ar 11025 "}, {1, "-ar 12000 "}, {2, "-ar 16000 "}, {3, "-ar 22050 "}, {4, "-ar 24000 "},
    {5, "-ar 32000 "}, {6, "-ar 44100 "}, {7, "-ar 48000 "}, {8, ""},           {255, ""}};
const std::vector<IndexCase> kSwfRates = {{0, "-ar 11025 "}, {1, "-ar 22050 "}, {2, "-ar 44100 "}, {3, ""}, {255, ""}};

std::vector<Case> AudioCases()
{
    const std::string aviVideo = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 ";
    std::vector<Case> all = {
        // AVI's audio codecs.
        {0, "AudioCodec=0", aviVideo + "-acodec mp2 -ac 2 -ab 96 -ar 22050 "},
        {0, "AudioCodec=2", aviVideo + "-acodec pcm_s16le -ac 2 -ar 22050 "},
        {0, "AudioCodec=3\nAudioChannelsPcmu8=0\nAudioSampleRatePcmu8=7", aviVideo + "-acodec pcm_u8 -ac 1 -ar 48000 "},
        {0, "AudioCodec=4", aviVideo + "-acodec ac3 -ac 2 -ar 22050 -ab 96 "},
        {0, "AudioCodec=5", aviVideo},
        {0, "AudioDisableAudio=1\nAudioCodec=4", aviVideo + "-an "},
        // AC-3: 5.1 always at 48000; an unknown channel choice sends neither channels nor rate.
        {0, "AudioCodec=4\nAudioChannelsAC3=2", aviVideo + "-acodec ac3 -ac 5:1 -ar 48000 -ab 96 "},
        {0, "AudioCodec=4\nAudioChannelsAC3=2\nAudioBitRateUseAutoSetAC3=1", aviVideo + "-acodec ac3 -ac 5:1 -ar 48000 "},
        {0, "AudioCodec=4\nAudioChannelsAC3=3", aviVideo + "-acodec ac3 -ab 96 "},
        {0, "AudioCodec=4\nAudioChannelsAC3=0\nAudioSampleRateAC3=2", aviVideo + "-acodec ac3 -ac 1 -ar 44100 -ab 96 "},
        {11, "AudioChannelsAC3=2\nAudioSampleRateAC3=0", "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 -ab 384 "},
        {11, "AudioChannelsAC3=2\nAudioSampleRateAC3=9", "-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 -ab 384 "},
        {11, "AudioChannelsAC3=1\nAudioSampleRateAC3=9", "-y -f ac3 -vn -acodec ac3 -ac 2 -ab 384 "},
        {11, "AudioCodec=1", "-y -f ac3 -vn "},
        // Compressed form: automatic bit rate sends no "-ab".
        {13, "AudioBitRateUseAutoSetMp3=1", "-y -f mp3 -vn -acodec mp3 -ac 2 -ar 44100 "},
        {13, "AudioBitRatePresetMp3=320", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 320 -ar 44100 "},
        {12, "AudioCodec=1", "-y -f mp2 -vn "},
        {10, "AudioCodec=1", "-y -f aac -vn "},
        // AMR: mono only, one rate, bit rate last.
        {14, "AudioCodec=1", "-y -f amr -vn -acodec amr_wb -ac 1 -ar 16000 -ab 13 "},
        {14, "AudioCodec=1\nAudioChannelsArmwb=1\nAudioSampleRateArmwb=1", "-y -f amr -vn -acodec amr_wb -ab 13 "},
        {14, "AudioCodec=1\nAudioChannelsArmwb=1\nAudioSampleRateArmwb=1\nAudioBitRateUseAutoSetArmwb=1",
         "-y -f amr -vn -acodec amr_wb "},
        {14, "AudioChannelsArmnb=1\nAudioBitRatePresetArmnb=8", "-y -f amr -vn -acodec amr_nb -ar 8000 -ab 8 "},
        {14, "AudioCodec=2", "-y -f amr -vn "},
        // WAV.
        {15, "AudioCodec=1", "-y -f wav -vn -acodec pcm_u8 -ac 2 -ar 44100 "},
        {15, "AudioCodec=2", "-y -f wav -vn "},
    };
    auto add = [&all](std::vector<Case> more) { all.insert(all.end(), more.begin(), more.end()); };
    add(IndexSweep(13, "", "AudioChannelsMp3", kChannels, "-y -f mp3 -vn -acodec mp3 ", "-ab 128 -ar 44100 "));
    add(IndexSweep(13, "", "AudioSampleRateMp3", kFourRates, "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 ", ""));
    add(IndexSweep(12, "", "AudioSampleRateMp2", kFourRates, "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 160 ", ""));
    add(IndexSweep(11, "", "AudioSampleRateAC3", kFourRates, "-y -f ac3 -vn -acodec ac3 -ac 2 ", "-ab 384 "));
    add(IndexSweep(10, "", "AudioSampleRateAACMP4", kEightRates, "-y -f aac -vn -acodec aac -ac 2 -ab 128 ", ""));
    add(IndexSweep(10, "", "AudioChannelsAACMP4", kChannels, "-y -f aac -vn -acodec aac ", "-ab 128 -ar 44100 "));
    add(IndexSweep(15, "", "AudioSampleRatePcm16le", kEightRates, "-y -f wav -vn -acodec pcm_s16le -ac 2 ", ""));
    add(IndexSweep(15, "AudioCodec=1\n", "AudioChannelsPcmu8", kChannels, "-y -f wav -vn -acodec pcm_u8 ",
                   "-ar 44100 "));
    add(IndexSweep(11, "", "AudioChannelsAC3", {{0, "-ac 1 -ar 48000 "}, {1, "-ac 2 -ar 48000 "}, {2, "-ac 5:1 -ar 48000 "}, {3, ""}},
                   "-y -f ac3 -vn -acodec ac3 ", "-ab 384 "));
    add(IndexSweep(7, "", "AudioSampleRateMp3", kSwfRates, "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 ", ""));
    return all;
}

// --- MP4, 3GP, MPEG ------------------------------------------------------------------------------

std::vector<Case> Mp4TgpMpegCases()
{
    const std::string mp4Video = "-vcodec h264 -s 320x240 -b 1200k -r 25 ";
    const std::string nokiaH263 = "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 ";
    const std::string nokiaDivX = "-y -f 3gp -vcodec msmpeg4 -s 176x144 -b 144k -r 25 -aspect 11:9 ";
    const std::string sonyDivX = nokiaDivX;
    const std::string amrNb = "-acodec amr_nb -ac 1 -ar 8000 -ab 13 ";
    const std::string tgpAac = "-acodec aac -ac 2 -ab 56 -ar 22050 ";
    const std::string mpeg2Head = "-y -vcodec mpeg2video -b 2496k -r 25 ";
    const std::string mpeg1Head = "-y -vcodec mpeg1video -b 1152k -r 25 ";
    return {
        // MP4 containers; PSP takes its own AAC block with its one rate.
        {1, "Format=0", "-y -f mp4 " + mp4Video + "-acodec aac -ac 2 -ab 64 -ar 22050 "},
        {1, "Format=1", "-y -f psp " + mp4Video + "-acodec aac -ac 2 -ab 64 -ar 48000 "},
        {1, "Format=1\nAudioSampleRateAACPsp=1", "-y -f psp " + mp4Video + "-acodec aac -ac 2 -ab 64 "},
        {1, "Format=1\nAudioBitRatePresetAACPsp=96\nAudioBitRatePresetAACMP4=32\nAudioChannelsAACPsp=0",
         "-y -f psp " + mp4Video + "-acodec aac -ac 1 -ab 96 -ar 48000 "},
        {1, "Format=2", "-y -f mp4 " + mp4Video + "-acodec aac -ac 2 -ab 64 -ar 22050 "},
        {1, "Format=7", "-y " + mp4Video + "-acodec aac -ac 2 -ab 64 -ar 22050 "},
        {1, "VideoCodec=1\nAudioCodec=1", "-y -f mp4 "},
        {1, "AudioDisableAudio=1\nVideoSameQuality=1", "-y -f mp4 -sameq " + mp4Video + "-an "},
        // 3GP families.
        {2, "VideoKeepFrameRateH263=1", nokiaH263 + amrNb},
        {2, "VideoKeepFrameRateH263=0\nVideoFrameRateH263=1", "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12 -aspect 11:9 " + amrNb},
        {2, "VideoCodecNokia=1", nokiaDivX + amrNb},
        {2, "VideoCodecNokia=2", "-y -f 3gp " + amrNb},
        {2, "AudioCodecNokia=1", nokiaH263 + "-acodec amr_wb -ac 1 -ar 16000 -ab 13 "},
        {2, "AudioCodecNokia=2", nokiaH263 + tgpAac},
        {2, "AudioCodecNokia=3", nokiaH263},
        {2, "AudioChannelsArmnb=1\nAudioSampleRateArmnb=1", nokiaH263 + "-acodec amr_nb -ab 13 "},
        {2, "AudioChannelsArmnb=1\nAudioSampleRateArmnb=1\nAudioBitRateUseAutoSetArmnb=1", nokiaH263 + "-acodec amr_nb "},
        {2, "TGPFormat=1", sonyDivX + tgpAac},
        {2, "TGPFormat=2", sonyDivX + tgpAac},
        {2, "TGPFormat=2\nVideoCodecSony=1", "-y -f 3gp -vcodec xvid -s 176x144 -b 96k -r 25 -aspect 11:9 " + tgpAac},
        {2, "TGPFormat=1\nVideoCodecSony=2\nAudioCodecSony=1", "-y -f 3gp "},
        {2, "TGPFormat=3", "-y -f 3gp "},
        // MPEG disc targets: every disc and standard; nothing but the target (and DVD's group).
        {3, "UsePresetFormats=1\nPresetType=0\nTargetFormat=0", "-y -target film-vcd "},
        {3, "UsePresetFormats=1\nPresetType=0\nTargetFormat=1", "-y -target ntsc-vcd "},
        {3, "UsePresetFormats=1\nPresetType=0\nTargetFormat=2", "-y -target pal-vcd "},
        {3, "UsePresetFormats=1\nPresetType=0\nTargetFormat=2\nAudioDisableAudio=1\nVideoSameQuality=1",
         "-y -target pal-vcd "},
        {3, "UsePresetFormats=1\nPresetType=1\nTargetFormat=0", "-y -target film-svcd "},
        {3, "UsePresetFormats=1\nPresetType=1\nTargetFormat=1", "-y -target ntsc-svcd "},
        {3, "UsePresetFormats=1\nPresetType=1\nTargetFormat=2", "-y -target pal-svcd "},
        {3, "UsePresetFormats=1\nPresetType=2\nTargetFormat=0", "-y -target film-dvd -b 6000k -ab 384 "},
        {3, "UsePresetFormats=1\nPresetType=2\nTargetFormat=1", "-y -target ntsc-dvd -b 6000k -ab 384 "},
        {3, "UsePresetFormats=1\nPresetType=2\nTargetFormat=2", "-y -target pal-dvd -b 6000k -ab 384 "},
        {3, "UsePresetFormats=1\nPresetType=2\nTargetFormat=3", "-y -b 6000k -ab 384 "},
        {3, "UsePresetFormats=1\nPresetType=0\nTargetFormat=3", "-y "},
        {3, "UsePresetFormats=1\nPresetType=3\nTargetFormat=1", "-y "},
        {3, "UsePresetFormats=1\nPresetType=2\nDVDVideoBitRateUsePresert=0\nDVDVideoBitRateSpecify=8000",
         "-y -target film-dvd -b 8000k -ab 384 "},
        {3, "UsePresetFormats=1\nPresetType=2\nDVDVideoKeepAspect=1\nDVDVideoAspect=0", "-y -target film-dvd -b 6000k -ab 384 "},
        {3, "UsePresetFormats=1\nPresetType=2\nDVDVideoKeepAspect=0\nDVDAudioBitRateUseAutoSet=1",
         "-y -target film-dvd -b 6000k -aspect 4:3 "},
        {3, "UsePresetFormats=1\nPresetType=2\nDVDAudioBitRatePreset=128", "-y -target film-dvd -b 6000k -ab 128 "},
        // MPEG codec path: the audio choice follows the video codec.
        {3, "VideoSameQuality=1", "-y -sameq " + mpeg2Head.substr(3) + "-acodec ac3 -ac 2 -ar 48000 -ab 256 "},
        {3, "AudioCodecMPEG2=1", mpeg2Head + "-acodec mp2 -ac 2 -ab 160 -ar 44100 "},
        {3, "AudioCodecMPEG2=2", mpeg2Head + "-acodec mp3 -ac 2 -ab 160 -ar 44100 "},
        {3, "AudioCodecMPEG2=3", mpeg2Head},
        {3, "VideoCodec=0", mpeg1Head + "-acodec mp2 -ac 2 -ab 160 -ar 44100 "},
        {3, "VideoCodec=0\nAudioCodecMPEG1=1", mpeg1Head + "-acodec mp3 -ac 2 -ab 160 -ar 44100 "},
        {3, "VideoCodec=0\nAudioCodecMPEG1=2", mpeg1Head},
        {3, "VideoCodec=0\nAudioCodecMPEG2=0", mpeg1Head + "-acodec mp2 -ac 2 -ab 160 -ar 44100 "},
        {3, "VideoCodec=2\nAudioCodecMPEG2=1", "-y -acodec mp2 -ac 2 -ab 160 -ar 44100 "},
        {3, "VideoCodec=1\nAudioDisableAudio=1", mpeg2Head + "-an "},
        {3, "VideoKeepFrameRateMPEG2=0", "-y -vcodec mpeg2video -b 2496k -r 29.97 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
    };
}

// --- MOV, WMV, RM, SWF, VOB, ASF -----------------------------------------------------------------

std::vector<Case> OtherVideoCases()
{
    const std::string movH264 = "-y -f mov -vcodec h264 -b 1200k -r 25 ";
    const std::string wmvAudio = "-acodec mp3 -ac 2 -ar 22050 ";
    const std::string asfAudio = "-acodec mp3 -ac 2 -ab 64 -ar 22050 ";
    const std::string vobVideo = "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 ";
    return {
        {4, "VideoCodec=0", "-y -f mov -vcodec svq1 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
        {4, "VideoCodec=1", "-y -f mov -vcodec msmpeg4 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
        {4, "VideoCodec=2\nVideoSizeUseSourceXviD=0", "-y -f mov -vcodec xvid -s 480x480 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
        {4, "VideoCodec=3", "-y -f mov -vcodec h263 -s 352x288 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 "},
        {4, "VideoCodec=5", "-y -f mov -ac 2 -ab 64 -ar 22050 "},
        {4, "AudioCodec=1", movH264 + "-acodec pcm_alaw -ac 2 -ar 22050 "},
        {4, "AudioCodec=2", movH264 + "-acodec amr_nb -ac 1 -ar 8000 -ab 8 "},
        {4, "AudioCodec=2\nAudioChannelsArmnb=1", movH264 + "-acodec amr_nb -ar 8000 -ab 8 "},
        {4, "AudioCodec=3\nAudioSampleRatePcm16le=6", movH264 + "-acodec pcm_s16le -ac 2 -ar 44100 "},
        {4, "AudioCodec=4\nAudioSampleRatePcm16be=7\nAudioChannelsPcm16be=0", movH264 + "-acodec pcm_s16be -ac 1 -ar 48000 "},
        {4, "AudioCodec=5", movH264},
        {4, "AudioSampleRateAACMP4=8", "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 "},
        {5, "VideoCodec=0", "-y -vcodec msmpeg4 -b 768k -r 25 " + wmvAudio},
        {5, "VideoCodec=1", "-y -vcodec msmpeg4v2 -b 768k -r 25 " + wmvAudio},
        {5, "VideoCodec=2", "-y -vcodec wmv1 -b 768k -r 25 " + wmvAudio},
        {5, "VideoCodec=4", "-y " + wmvAudio},
        {5, "AudioBitRateUseAutoSetMp3=0", "-y -vcodec wmv2 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 "},
        {5, "AudioCodec=1", "-y -vcodec wmv2 -b 768k -r 25 "},
        {6, "VideoSizeUseSourceRm10=0", "-y -f rm -vcodec rv10 -b 768k -s 320x240 -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 "},
        {6, "VideoCodec=1\nAudioCodec=1", "-y -f rm "},
        {7, "VideoCodec=1\nVideoSameQuality=1", "-y -sameq -acodec mp3 -ac 2 -ar 22050 "},
        {8, "AudioCodec=0", vobVideo + "-acodec mp2 -ac 2 -ab 320 -ar 48000 "},
        {8, "AudioCodec=2", vobVideo},
        {8, "VideoSizeUseSourceMPEG2=1", "-y -f vob -vcodec mpeg2video -b 6000k -r 25 -aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab 384 "},
        {9, "VideoCodec=1", "-y -f asf -vcodec msmpeg4v2 -b 768k -r 25 " + asfAudio},
        {9, "VideoCodec=2", "-y -f asf " + asfAudio},
        {9, "AudioDisableAudio=1", "-y -f asf -vcodec msmpeg4 -b 768k -r 25 -an "},
    };
}

std::vector<Case> AllCases()
{
    std::vector<Case> all;
    for (auto part : {DefaultCases(), TimeControlCases(), AviVideoCases(), IndexTableCases(), AudioCases(),
                      Mp4TgpMpegCases(), OtherVideoCases()})
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class OptionStringTest : public ::testing::TestWithParam<Case> {
protected:
    TempDir dir_;
};

TEST_P(OptionStringTest, BuildsExactlyAndLeavesTheProfileUntouched)
{
    const Case& c = GetParam();
    const std::string path = dir_ / "profile.ini";
    if (c.Profile) WriteBytes(path, ProfileText(*c.Profile));
    const std::string before = ReadBytes(path);

    EXPECT_EQ(Build(c.Format, path), c.Expected);
    // Building again from the same file gives the same string.
    EXPECT_EQ(Build(c.Format, path), c.Expected);

    if (c.Profile) {
        EXPECT_EQ(ReadBytes(path), before);
    } else {
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "building created the profile";
    }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, OptionStringTest, ::testing::ValuesIn(AllCases()));

// --- whole-string properties -------------------------------------------------------------------

TEST(OptionDetails, BuildersAppendAndOnlyTheDispatcherEmpties)
{
    TempDir dir;
    const std::string missing = dir / "none.avo";
    std::string text = "kept ";
    BuildAVIOptions(missing, text);
    EXPECT_EQ(text, std::string("kept ") + kAviDefault);
    BuildMp3Options(missing, text);
    EXPECT_EQ(text, std::string("kept ") + kAviDefault + "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 ");

    Options.OutputFormat = 0;
    BuildEncoderOptions(missing, text);
    EXPECT_EQ(text, kAviDefault);
    Options.OutputFormat = 16;
    BuildEncoderOptions(missing, text);
    EXPECT_EQ(text, "");
}

TEST(OptionDetails, DispatcherFollowsTheOutputFormat)
{
    TempDir dir;
    const std::string path = dir / "p.ini";
    // One file read by two formats: each takes only its own keys.
    WriteBytes(path, ProfileText("VideoCodec=1\nAudioCodec=0"));
    EXPECT_EQ(Build(0, path), "-y -f avi -vcodec xvid -b 1080k -r 25 -acodec mp2 -ac 2 -ab 96 -ar 22050 ");
    EXPECT_EQ(Build(5, path), "-y -vcodec msmpeg4v2 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 ");
    EXPECT_EQ(Build(13, path), "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 ");
}

TEST(OptionDetails, FixtureFilesBuildAndStayByteIdentical)
{
    const std::string data = ORV_TEST_DATA_DIR;
    const struct {
        int Format;
        const char* File;
        const char* Expected;
    } fixtures[] = {
        {0, "options_avi_tuned.avo",
         "-y -f avi  -t 0:01:30.500 -ss 0:00:10.000 -sameq -vcodec xvid -s 720x400 -b 1500k -r 23.976 -aspect 16:9 "
         "-acodec ac3 -ac 5:1 -ar 48000 -ab 448 "},
        {13, "options_mp3_injected.mpo", "-y -f mp3 -vn -acodec mp3 -ac 1 -ab 64 -ar 22050 "},
        {3, "options_mpeg_pal_dvd.mpo", "-y -target pal-dvd -b 9600k -aspect 16:9 -ab 192 "},
    };
    for (const auto& f : fixtures) {
        const std::string path = data + f.File;
        const std::string before = ReadBytes(path);
        ASSERT_FALSE(before.empty()) << path;
        EXPECT_EQ(Build(f.Format, path), f.Expected) << f.File;
        EXPECT_EQ(ReadBytes(path), before) << f.File;
    }
}

TEST(OptionDetails, SafeTimeTexts)
{
    for (const char* good : {"0:00:00.000", "1:02:03.004", "100:00:00.000", "90", "1:30", "2.5", "0"})
        EXPECT_TRUE(IsSafeTimeText(good)) << good;
    for (const char* bad : {"", ":", "::.", " 0:00:01.000", "0:00:01.000 ", "-1", "1e3", "0:00:01.000 -an", "1;2",
                            "\"1\"", "1\t"})
        EXPECT_FALSE(IsSafeTimeText(bad)) << bad;
}

}  // namespace
