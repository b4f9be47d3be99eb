// Option builders. Every format shares one skeleton (header, time control, "-sameq ", video block,
// audio block) and the fragment tables below; what a format chooses is written as data: its header, and
// one list of video cases and one of audio cases, indexed by the profile's codec fields.
#include "OptionDetails.h"

#include <cstdint>
#include <vector>

#include "Settings.h"
#include "globals.h"
#include "profiles.h"

namespace {

// Fragments addressed by a stored index; an index without an entry emits nothing (the editor windows
// store 255 when a list had no selection).
using FragmentTable = std::vector<std::string>;

const std::string& Entry(const FragmentTable& table, unsigned index)
{
    static const std::string none;
    return index < table.size() ? table[index] : none;
}

const FragmentTable FrameRates = {"-r 10 ",  "-r 12 ",    "-r 14.985 ", "-r 15 ", "-r 19.98 ",
                                  "-r 23.976 ", "-r 24 ", "-r 25 ",     "-r 29.97 ", "-r 30 ",
                                  "-r 50 ",  "-r 59.94 ", "-r 60 "};
const FragmentTable VobFrameRates = {"-r 19.98 ", "-r 23.976 ", "-r 24 ",    "-r 25 ", "-r 29.97 ",
                                     "-r 30 ",    "-r 50 ",     "-r 59.94 ", "-r 60 "};

// Aspect choices as the editor windows number them: ordinary blocks Auto, 4:3, 16:9; H.263 blocks Auto,
// 1:1, 4:3, 11:9, 16:9. 3GP always sends 11:9 for Auto and VOB 5:4; the DVD group has no Auto entry.
const FragmentTable Aspects = {"", "-aspect 4:3 ", "-aspect 16:9 "};
const FragmentTable H263Aspects = {"", "", "-aspect 4:3 ", "", "-aspect 16:9 "};
const FragmentTable TGPAspects = {"-aspect 11:9 ", "-aspect 4:3 ", "-aspect 16:9 "};
const FragmentTable TGPH263Aspects = {"-aspect 11:9 ", "", "-aspect 4:3 ", "", "-aspect 16:9 "};
const FragmentTable VobAspects = {"-aspect 5:4 ", "-aspect 4:3 ", "-aspect 16:9 "};
const FragmentTable DVDAspects = {"-aspect 1:1 ", "-aspect 4:3 ", "-aspect 16:9 "};

const FragmentTable Channels = {"-ac 1 ", "-ac 2 "};
const FragmentTable Ac3Channels = {"-ac 1 ", "-ac 2 ", "-ac 5:1 "};
const FragmentTable AmrChannels = {"-ac 1 "};  // AMR is mono; any other choice leaves it to the encoder

const FragmentTable FourRates = {"-ar 22050 ", "-ar 24000 ", "-ar 44100 ", "-ar 48000 "};
// Stored PCM, A-law and AAC profiles hold indices into this list, so it keeps its eight rates.
const FragmentTable EightRates = {"-ar 11025 ", "-ar 12000 ", "-ar 16000 ", "-ar 22050 ",
                                  "-ar 24000 ", "-ar 32000 ", "-ar 44100 ", "-ar 48000 "};
const FragmentTable PspRates = {"-ar 48000 "};
const FragmentTable SwfRates = {"-ar 11025 ", "-ar 22050 ", "-ar 44100 "};
const FragmentTable AmrNbRates = {"-ar 8000 "};
const FragmentTable AmrWbRates = {"-ar 16000 "};

// --- video ---------------------------------------------------------------------------------------

struct VideoBlock {
    bool UsePreset;
    int32_t Preset;
    int32_t Specify;
    bool SizeUseSource;
    int32_t Width;
    int32_t Height;
    bool KeepFrameRate;
    uint8_t FrameRate;
    uint8_t Aspect;
};

// The nine fields of the video block with key suffix C of record R.
#define VIDEO_BLOCK(R, C)                                                                                   \
    VideoBlock{R.VideoBitRateUsePresert##C, R.VideoBitRatePreset##C, R.VideoBitRateSpecify##C,            \
               R.VideoSizeUseSource##C,     R.VideoWidth##C,         R.VideoHeight##C,                     \
               R.VideoKeepFrameRate##C,     R.VideoFrameRate##C,     R.VideoAspect##C}
// H.263 blocks have no size-from-source field: their size is always sent.
#define H263_BLOCK(R)                                                                                       \
    VideoBlock{R.VideoBitRateUsePresertH263, R.VideoBitRatePresetH263, R.VideoBitRateSpecifyH263, false,  \
               R.VideoWidthH263,             R.VideoHeightH263,        R.VideoKeepFrameRateH263,          \
               R.VideoFrameRateH263,         R.VideoAspectH263}

// How a block is written: the frame-rate and aspect tables, the rate sent for "Auto", and the order of
// size and bit rate (RealVideo puts the bit rate first).
struct VideoForm {
    const FragmentTable* FrameRates;
    const char* AutoFrameRate;
    const FragmentTable* Aspects;
    bool BitRateFirst;
};

const VideoForm Ordinary = {&FrameRates, "-r 25 ", &Aspects, false};
const VideoForm H263Form = {&FrameRates, "-r 25 ", &H263Aspects, false};
const VideoForm TGPOrdinary = {&FrameRates, "-r 25 ", &TGPAspects, false};
const VideoForm TGPH263Form = {&FrameRates, "-r 12.5 ", &TGPH263Aspects, false};
const VideoForm VobForm = {&VobFrameRates, "-r 25 ", &VobAspects, false};
// The editor offers RealVideo (and MOV's H.263 and H.264) an aspect choice too; it is sent as the same
// choice is sent for other codecs rather than dropped.
const VideoForm RmForm = {&FrameRates, "-r 25 ", &Aspects, true};

struct VideoCase {
    const char* Codec;
    VideoBlock Block;
    const VideoForm& Form;
};

void AppendVideo(std::string& out, const VideoCase& c)
{
    const VideoBlock& b = c.Block;
    const std::string size =
        b.SizeUseSource ? "" : "-s " + std::to_string(b.Width) + "x" + std::to_string(b.Height) + " ";
    const std::string bitRate = "-b " + std::to_string(b.UsePreset ? b.Preset : b.Specify) + "k ";
    out += c.Codec;
    out += c.Form.BitRateFirst ? bitRate + size : size + bitRate;
    out += b.KeepFrameRate ? std::string(c.Form.AutoFrameRate) : Entry(*c.Form.FrameRates, b.FrameRate);
    out += Entry(*c.Form.Aspects, b.Aspect);
}

// --- audio ---------------------------------------------------------------------------------------

struct AudioBlock {
    bool UseAutoSet;
    int32_t Preset;
    uint8_t SampleRate;
    uint8_t Channels;
};

#define AUDIO_BLOCK(R, A)                                                                                   \
    AudioBlock{R.AudioBitRateUseAutoSet##A, R.AudioBitRatePreset##A, R.AudioSampleRate##A, R.AudioChannels##A}
// PCM and A-law blocks carry no bit rate.
#define PCM_BLOCK(R, A) AudioBlock{true, 0, R.AudioSampleRate##A, R.AudioChannels##A}

// Compressed: codec, channels, bit rate, rate. Pcm: codec, channels, rate. Amr: codec, mono only, its one
// rate, bit rate. Ac3: codec, channels with the rate (5.1 always at 48000), bit rate.
enum class AudioForm { Compressed, Pcm, Amr, Ac3 };

struct AudioCase {
    const char* Codec;
    AudioBlock Block;
    AudioForm Form;
    const FragmentTable& Rates;
};

void AppendAudio(std::string& out, const AudioCase& c)
{
    const AudioBlock& b = c.Block;
    const std::string bitRate = b.UseAutoSet ? "" : "-ab " + std::to_string(b.Preset) + " ";
    out += c.Codec;
    switch (c.Form) {
    case AudioForm::Compressed:
        out += Entry(Channels, b.Channels) + bitRate + Entry(c.Rates, b.SampleRate);
        break;
    case AudioForm::Pcm:
        out += Entry(Channels, b.Channels) + Entry(c.Rates, b.SampleRate);
        break;
    case AudioForm::Amr:
        out += Entry(AmrChannels, b.Channels) + Entry(c.Rates, b.SampleRate) + bitRate;
        break;
    case AudioForm::Ac3:
        out += Entry(Ac3Channels, b.Channels);
        if (b.Channels == 2)
            out += "-ar 48000 ";
        else if (b.Channels < 2)
            out += Entry(c.Rates, b.SampleRate);
        out += bitRate;
        break;
    }
}

// --- the skeleton --------------------------------------------------------------------------------

template <typename Case, size_t N>
const Case* Pick(const Case (&cases)[N], unsigned index)
{
    return index < N ? &cases[index] : nullptr;
}

template <typename Settings>
void AppendTimeControl(std::string& out, const Settings& s)
{
    if (s.EnableTimeControl && IsSafeTimeText(s.Duration) && IsSafeTimeText(s.StartTime))
        out += " -t " + s.Duration + " -ss " + s.StartTime + " ";
}

// Everything after header and time control in a video format.
void AppendVideoBody(std::string& out, bool sameQuality, const VideoCase* video, bool disableAudio,
                     const AudioCase* audio)
{
    if (sameQuality) out += "-sameq ";
    if (video) AppendVideo(out, *video);
    if (disableAudio)
        out += "-an ";
    else if (audio)
        AppendAudio(out, *audio);
}

template <typename Settings>
void AppendVideoFormat(std::string& out, const std::string& header, const Settings& s, const VideoCase* video,
                       const AudioCase* audio)
{
    out += header;
    AppendTimeControl(out, s);
    AppendVideoBody(out, s.VideoSameQuality, video, s.AudioDisableAudio, audio);
}

template <typename Settings>
void AppendAudioOnlyFormat(std::string& out, const std::string& header, const Settings& s, const AudioCase* audio)
{
    out += header;
    AppendTimeControl(out, s);
    out += "-vn ";
    if (audio) AppendAudio(out, *audio);
}

}  // namespace

bool IsSafeTimeText(const std::string& Text)
{
    bool digit = false;
    for (char c : Text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != ':' && c != '.')
            return false;
    }
    return digit;
}

// --- video formats -------------------------------------------------------------------------------

void BuildAVIOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadAVIProfile(ProfileFile);
    const TAVISettings s = AVISettings;
    const VideoCase video[] = {
        {"-vcodec msmpeg4 ", VIDEO_BLOCK(s, DivX), Ordinary},
        {"-vcodec xvid ", VIDEO_BLOCK(s, XviD), Ordinary},
        {"-vcodec msmpeg4 ", VIDEO_BLOCK(s, MsMPEG4), Ordinary},
        {"-vcodec msmpeg4v2 ", VIDEO_BLOCK(s, MsMPEG4v2), Ordinary},
        {"-vcodec h263 ", H263_BLOCK(s), H263Form},
        {"-vcodec h263p ", VIDEO_BLOCK(s, H263P), Ordinary},
        {"-vcodec h264 ", VIDEO_BLOCK(s, H264), Ordinary},
        {"-vcodec ffvhuff ", VIDEO_BLOCK(s, huffYUV), Ordinary},
        {"-vcodec mjpeg ", VIDEO_BLOCK(s, Mjpeg), Ordinary},
        {"-vcodec svq1 ", VIDEO_BLOCK(s, Svq1), Ordinary},
        {"-vcodec flv ", VIDEO_BLOCK(s, Flv), Ordinary},
    };
    const AudioCase audio[] = {
        {"-acodec mp2 ", AUDIO_BLOCK(s, Mp2), AudioForm::Compressed, FourRates},
        {"-acodec mp3 ", AUDIO_BLOCK(s, Mp3), AudioForm::Compressed, FourRates},
        {"-acodec pcm_s16le ", PCM_BLOCK(s, Pcm16le), AudioForm::Pcm, EightRates},
        {"-acodec pcm_u8 ", PCM_BLOCK(s, Pcmu8), AudioForm::Pcm, EightRates},
        {"-acodec ac3 ", AUDIO_BLOCK(s, AC3), AudioForm::Ac3, FourRates},
    };
    AppendVideoFormat(EncoderOptions, "-y -f avi ", s, Pick(video, s.VideoCodec), Pick(audio, s.AudioCodec));
}

void BuildMP4Options(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadMP4Profile(ProfileFile);
    const TMP4Settings s = MP4Settings;
    static const FragmentTable containers = {"-f mp4 ", "-f psp ", "-f mp4 ", "-f mp4 "};
    const bool psp = s.Format == 1;  // the PSP container takes its own AAC block with its one rate
    const VideoCase video[] = {{"-vcodec h264 ", VIDEO_BLOCK(s, H264), Ordinary}};
    const AudioCase audio[] = {psp ? AudioCase{"-acodec aac ", AUDIO_BLOCK(s, AACPsp), AudioForm::Compressed, PspRates}
                                   : AudioCase{"-acodec aac ", AUDIO_BLOCK(s, AACMP4), AudioForm::Compressed, EightRates}};
    AppendVideoFormat(EncoderOptions, "-y " + Entry(containers, s.Format), s, Pick(video, s.VideoCodec),
                      Pick(audio, s.AudioCodec));
}

void BuildTGPOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadTGPProfile(ProfileFile);
    const TTGPSettings s = TGPSettings;
    // Family 0 (Nokia, NEC, Siemens) and families 1 and 2 (Sony Ericsson, 3gp and 3gp2) offer different
    // codecs; the 3gp2 variant differs only in its file extension.
    const VideoCase nokiaVideo[] = {
        {"-vcodec h263 ", H263_BLOCK(s), TGPH263Form},
        {"-vcodec msmpeg4 ", VIDEO_BLOCK(s, DivX), TGPOrdinary},
    };
    const VideoCase sonyVideo[] = {
        {"-vcodec msmpeg4 ", VIDEO_BLOCK(s, DivX), TGPOrdinary},
        {"-vcodec xvid ", VIDEO_BLOCK(s, XviD), TGPOrdinary},
    };
    const AudioCase nokiaAudio[] = {
        {"-acodec amr_nb ", AUDIO_BLOCK(s, Armnb), AudioForm::Amr, AmrNbRates},
        {"-acodec amr_wb ", AUDIO_BLOCK(s, Armwb), AudioForm::Amr, AmrWbRates},
        {"-acodec aac ", AUDIO_BLOCK(s, AACMP4), AudioForm::Compressed, EightRates},
    };
    const AudioCase sonyAudio[] = {
        {"-acodec aac ", AUDIO_BLOCK(s, AACMP4), AudioForm::Compressed, EightRates},
    };
    const VideoCase* video = nullptr;
    const AudioCase* audio = nullptr;
    if (s.TGPFormat == 0) {
        video = Pick(nokiaVideo, s.VideoCodecNokia);
        audio = Pick(nokiaAudio, s.AudioCodecNokia);
    } else if (s.TGPFormat <= 2) {
        video = Pick(sonyVideo, s.VideoCodecSony);
        audio = Pick(sonyAudio, s.AudioCodecSony);
    }
    AppendVideoFormat(EncoderOptions, "-y -f 3gp ", s, video, audio);
}

void BuildMPEGOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadMPEGProfile(ProfileFile);
    const TMPEGSettings s = MPEGSettings;
    std::string& out = EncoderOptions;
    AppendTimeControl(out, s);  // MPEG has no header before the time control
    // Both paths answer the overwrite question in advance: the user has already agreed, and an encoder
    // that asked on its standard input would stall the batch.
    out += "-y ";
    if (s.UsePresetFormats) {
        static const FragmentTable standards = {"film", "ntsc", "pal"};  // TargetFormat: Auto, NTSC, PAL
        static const FragmentTable discs = {"vcd", "svcd", "dvd"};       // PresetType
        if (s.PresetType >= discs.size()) return;
        if (s.TargetFormat < standards.size())
            out += "-target " + Entry(standards, s.TargetFormat) + "-" + Entry(discs, s.PresetType) + " ";
        if (s.PresetType == 2) {
            const int32_t bitRate = s.DVDVideoBitRateUsePresert ? s.DVDVideoBitRatePreset : s.DVDVideoBitRateSpecify;
            out += "-b " + std::to_string(bitRate) + "k ";
            if (!s.DVDVideoKeepAspect) out += Entry(DVDAspects, s.DVDVideoAspect);
            if (!s.DVDAudioBitRateUseAutoSet) out += "-ab " + std::to_string(s.DVDAudioBitRatePreset) + " ";
        }
        return;
    }
    const VideoCase video[] = {
        {"-vcodec mpeg1video ", VIDEO_BLOCK(s, MPEG1), Ordinary},
        {"-vcodec mpeg2video ", VIDEO_BLOCK(s, MPEG2), Ordinary},
    };
    const AudioCase mpeg1Audio[] = {
        {"-acodec mp2 ", AUDIO_BLOCK(s, Mp2), AudioForm::Compressed, FourRates},
        {"-acodec mp3 ", AUDIO_BLOCK(s, Mp3), AudioForm::Compressed, FourRates},
    };
    const AudioCase mpeg2Audio[] = {
        {"-acodec ac3 ", AUDIO_BLOCK(s, AC3), AudioForm::Ac3, FourRates},
        {"-acodec mp2 ", AUDIO_BLOCK(s, Mp2), AudioForm::Compressed, FourRates},
        {"-acodec mp3 ", AUDIO_BLOCK(s, Mp3), AudioForm::Compressed, FourRates},
    };
    const AudioCase* audio = s.VideoCodec == 1 ? Pick(mpeg2Audio, s.AudioCodecMPEG2) : Pick(mpeg1Audio, s.AudioCodecMPEG1);
    AppendVideoBody(out, s.VideoSameQuality, Pick(video, s.VideoCodec), s.AudioDisableAudio, audio);
}

void BuildMovOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadMovProfile(ProfileFile);
    const TMovSettings s = MovSettings;
    const VideoCase video[] = {
        {"-vcodec svq1 ", VIDEO_BLOCK(s, Svq1), Ordinary},
        {"-vcodec msmpeg4 ", VIDEO_BLOCK(s, DivX), Ordinary},
        {"-vcodec xvid ", VIDEO_BLOCK(s, XviD), Ordinary},
        {"-vcodec h263 ", H263_BLOCK(s), H263Form},
        {"-vcodec h264 ", VIDEO_BLOCK(s, H264), Ordinary},
    };
    const AudioCase audio[] = {
        {"", AUDIO_BLOCK(s, AACMP4), AudioForm::Compressed, EightRates},  // the container picks AAC itself
        {"-acodec pcm_alaw ", PCM_BLOCK(s, Alaw), AudioForm::Pcm, EightRates},
        {"-acodec amr_nb ", AUDIO_BLOCK(s, Armnb), AudioForm::Amr, AmrNbRates},
        {"-acodec pcm_s16le ", PCM_BLOCK(s, Pcm16le), AudioForm::Pcm, EightRates},
        {"-acodec pcm_s16be ", PCM_BLOCK(s, Pcm16be), AudioForm::Pcm, EightRates},
    };
    AppendVideoFormat(EncoderOptions, "-y -f mov ", s, Pick(video, s.VideoCodec), Pick(audio, s.AudioCodec));
}

void BuildWmvOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadWmvProfile(ProfileFile);
    const TWmvSettings s = WmvSettings;
    const VideoCase video[] = {
        {"-vcodec msmpeg4 ", VIDEO_BLOCK(s, MsMPEG4), Ordinary},
        {"-vcodec msmpeg4v2 ", VIDEO_BLOCK(s, MsMPEG4v2), Ordinary},
        {"-vcodec wmv1 ", VIDEO_BLOCK(s, Wmv7), Ordinary},
        {"-vcodec wmv2 ", VIDEO_BLOCK(s, Wmv8), Ordinary},
    };
    const AudioCase audio[] = {{"-acodec mp3 ", AUDIO_BLOCK(s, Mp3), AudioForm::Compressed, FourRates}};
    AppendVideoFormat(EncoderOptions, "-y ", s, Pick(video, s.VideoCodec), Pick(audio, s.AudioCodec));
}

void BuildRmOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadRmProfile(ProfileFile);
    const TRmSettings s = RmSettings;
    const VideoCase video[] = {{"-vcodec rv10 ", VIDEO_BLOCK(s, Rm10), RmForm}};
    const AudioCase audio[] = {{"-acodec ac3 ", AUDIO_BLOCK(s, AC3), AudioForm::Ac3, FourRates}};
    AppendVideoFormat(EncoderOptions, "-y -f rm ", s, Pick(video, s.VideoCodec), Pick(audio, s.AudioCodec));
}

void BuildSwfOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadSwfProfile(ProfileFile);
    const TSwfSettings s = SwfSettings;
    const VideoCase video[] = {{"-vcodec flv ", VIDEO_BLOCK(s, Flv), Ordinary}};
    const AudioCase audio[] = {{"-acodec mp3 ", AUDIO_BLOCK(s, Mp3), AudioForm::Compressed, SwfRates}};
    AppendVideoFormat(EncoderOptions, "-y ", s, Pick(video, s.VideoCodec), Pick(audio, s.AudioCodec));
}

void BuildVobOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadVobProfile(ProfileFile);
    const TVobSettings s = VobSettings;
    const VideoCase video[] = {{"-vcodec mpeg2video ", VIDEO_BLOCK(s, MPEG2), VobForm}};
    const AudioCase audio[] = {
        {"-acodec mp2 ", AUDIO_BLOCK(s, Mp2), AudioForm::Compressed, FourRates},
        {"-acodec ac3 ", AUDIO_BLOCK(s, AC3), AudioForm::Ac3, FourRates},
    };
    AppendVideoFormat(EncoderOptions, "-y -f vob ", s, Pick(video, s.VideoCodec), Pick(audio, s.AudioCodec));
}

void BuildAsfOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadAsfProfile(ProfileFile);
    const TAsfSettings s = AsfSettings;
    const VideoCase video[] = {
        {"-vcodec msmpeg4 ", VIDEO_BLOCK(s, MsMPEG4), Ordinary},
        {"-vcodec msmpeg4v2 ", VIDEO_BLOCK(s, MsMPEG4v2), Ordinary},
    };
    const AudioCase audio[] = {{"-acodec mp3 ", AUDIO_BLOCK(s, Mp3), AudioForm::Compressed, FourRates}};
    AppendVideoFormat(EncoderOptions, "-y -f asf ", s, Pick(video, s.VideoCodec), Pick(audio, s.AudioCodec));
}

// --- audio-only formats --------------------------------------------------------------------------

void BuildAacOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadAacProfile(ProfileFile);
    const TAacSettings s = AacSettings;
    const AudioCase audio[] = {{"-acodec aac ", AUDIO_BLOCK(s, AACMP4), AudioForm::Compressed, EightRates}};
    AppendAudioOnlyFormat(EncoderOptions, "-y -f aac ", s, Pick(audio, s.AudioCodec));
}

void BuildAc3Options(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadAc3Profile(ProfileFile);
    const TAc3Settings s = Ac3Settings;
    const AudioCase audio[] = {{"-acodec ac3 ", AUDIO_BLOCK(s, AC3), AudioForm::Ac3, FourRates}};
    AppendAudioOnlyFormat(EncoderOptions, "-y -f ac3 ", s, Pick(audio, s.AudioCodec));
}

void BuildMp2Options(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadMp2Profile(ProfileFile);
    const TMp2Settings s = Mp2Settings;
    const AudioCase audio[] = {{"-acodec mp2 ", AUDIO_BLOCK(s, Mp2), AudioForm::Compressed, FourRates}};
    AppendAudioOnlyFormat(EncoderOptions, "-y -f mp2 ", s, Pick(audio, s.AudioCodec));
}

void BuildMp3Options(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadMp3Profile(ProfileFile);
    const TMp3Settings s = Mp3Settings;
    const AudioCase audio[] = {{"-acodec mp3 ", AUDIO_BLOCK(s, Mp3), AudioForm::Compressed, FourRates}};
    AppendAudioOnlyFormat(EncoderOptions, "-y -f mp3 ", s, Pick(audio, s.AudioCodec));
}

void BuildAmrOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadAmrProfile(ProfileFile);
    const TAmrSettings s = AmrSettings;
    const AudioCase audio[] = {
        {"-acodec amr_nb ", AUDIO_BLOCK(s, Armnb), AudioForm::Amr, AmrNbRates},
        {"-acodec amr_wb ", AUDIO_BLOCK(s, Armwb), AudioForm::Amr, AmrWbRates},
    };
    AppendAudioOnlyFormat(EncoderOptions, "-y -f amr ", s, Pick(audio, s.AudioCodec));
}

void BuildWavOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    LoadWavProfile(ProfileFile);
    const TWavSettings s = WavSettings;
    const AudioCase audio[] = {
        {"-acodec pcm_s16le ", PCM_BLOCK(s, Pcm16le), AudioForm::Pcm, EightRates},
        {"-acodec pcm_u8 ", PCM_BLOCK(s, Pcmu8), AudioForm::Pcm, EightRates},
    };
    AppendAudioOnlyFormat(EncoderOptions, "-y -f wav ", s, Pick(audio, s.AudioCodec));
}

// --- dispatcher ----------------------------------------------------------------------------------

void BuildEncoderOptions(const std::string& ProfileFile, std::string& EncoderOptions)
{
    using Builder = void (*)(const std::string&, std::string&);
    static const Builder builders[] = {
        BuildAVIOptions, BuildMP4Options, BuildTGPOptions, BuildMPEGOptions, BuildMovOptions, BuildWmvOptions,
        BuildRmOptions,  BuildSwfOptions, BuildVobOptions, BuildAsfOptions,  BuildAacOptions, BuildAc3Options,
        BuildMp2Options, BuildMp3Options, BuildAmrOptions, BuildWavOptions,
    };
    EncoderOptions.clear();
    if (const Builder* build = Pick(builders, Options.OutputFormat)) (*build)(ProfileFile, EncoderOptions);
}
