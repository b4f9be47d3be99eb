// The sixteen per-format settings records (one global instance each) and the bit-rate preset tables that
// the profile editors offer. Every field is stored in a profile file under its own name as key, so the
// member names below are part of the file format ("UsePresert" included).
//
// Field kinds: String -> std::string, Boolean -> bool, Byte (an index into a list) -> uint8_t,
// Integer (bit rates in kbit/s, sizes in pixels) -> int32_t.
//
// Every record starts zeroed; ResetXxxSettings gives it the format's defaults.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "globals.h"

// The current text of the language string "IDS_NO_DESCRIPTION", the description of a new profile. The
// language table points its entry at this variable; until it is read, the built-in text stands.
extern std::string IDS_NO_DESCRIPTION;

// The blocks every record is built from. C / A is the codec suffix of the keys ("DivX", "Mp3").
//
// Video block: VideoBitRateUsePresert<C>, VideoBitRatePreset<C>, VideoBitRateSpecify<C>,
// VideoSizeUseSource<C>, VideoWidth<C>, VideoHeight<C>, VideoKeepFrameRate<C>, VideoFrameRate<C>,
// VideoAspect<C>. The H.263 blocks have no VideoSizeUseSource<C>: their size is always given.
#define ORV_VIDEO_BITRATE_FIELDS(C)          \
    bool VideoBitRateUsePresert##C = false; \
    int32_t VideoBitRatePreset##C = 0;      \
    int32_t VideoBitRateSpecify##C = 0;
#define ORV_VIDEO_FRAME_FIELDS(C)         \
    int32_t VideoWidth##C = 0;           \
    int32_t VideoHeight##C = 0;          \
    bool VideoKeepFrameRate##C = false;  \
    uint8_t VideoFrameRate##C = 0;       \
    uint8_t VideoAspect##C = 0;
#define ORV_VIDEO_BLOCK(C)              \
    ORV_VIDEO_BITRATE_FIELDS(C)         \
    bool VideoSizeUseSource##C = false; \
    ORV_VIDEO_FRAME_FIELDS(C)
#define ORV_VIDEO_BLOCK_FIXED_SIZE(C) \
    ORV_VIDEO_BITRATE_FIELDS(C)       \
    ORV_VIDEO_FRAME_FIELDS(C)
// Audio block: AudioBitRateUseAutoSet<A>, AudioBitRatePreset<A>, AudioSampleRate<A>, AudioChannels<A>.
// The PCM and A-law blocks hold only the last two.
#define ORV_AUDIO_BLOCK_PCM(A)      \
    uint8_t AudioSampleRate##A = 0; \
    uint8_t AudioChannels##A = 0;
#define ORV_AUDIO_BLOCK(A)                   \
    bool AudioBitRateUseAutoSet##A = false; \
    int32_t AudioBitRatePreset##A = 0;      \
    ORV_AUDIO_BLOCK_PCM(A)
// EnableTimeControl: convert only Duration of each input, starting at StartTime (time texts "0:00:00.000").
#define ORV_TIME_CONTROL_FIELDS      \
    bool EnableTimeControl = false; \
    std::string Duration;           \
    std::string StartTime;

// Format 0.
struct TAVISettings {
    std::string Description;
    ORV_TIME_CONTROL_FIELDS
    uint8_t VideoCodec = 0;  // 0 DivX, 1 XviD, 2 MsMPEG4, 3 MsMPEG4v2, 4 H263, 5 H263P, 6 H264, 7 huffYUV,
                             // 8 Mjpeg, 9 Svq1, 10 Flv (no value selects DV, MPEG1, MPEG2)
    bool VideoSameQuality = false;
    uint8_t AudioCodec = 0;  // 0 Mp2, 1 Mp3, 2 Pcm16le, 3 Pcmu8, 4 AC3
    bool AudioDisableAudio = false;
    ORV_VIDEO_BLOCK(DivX)
    ORV_VIDEO_BLOCK(XviD)
    ORV_VIDEO_BLOCK(MsMPEG4)
    ORV_VIDEO_BLOCK(MsMPEG4v2)
    ORV_VIDEO_BLOCK_FIXED_SIZE(H263)
    ORV_VIDEO_BLOCK(H263P)
    ORV_VIDEO_BLOCK(H264)
    ORV_VIDEO_BLOCK(DV)
    ORV_VIDEO_BLOCK(huffYUV)
    ORV_VIDEO_BLOCK(Mjpeg)
    ORV_VIDEO_BLOCK(MPEG1)
    ORV_VIDEO_BLOCK(MPEG2)
    ORV_VIDEO_BLOCK(Svq1)
    ORV_VIDEO_BLOCK(Flv)
    ORV_AUDIO_BLOCK(AC3)
    ORV_AUDIO_BLOCK(Mp2)
    ORV_AUDIO_BLOCK(Mp3)
    ORV_AUDIO_BLOCK_PCM(Pcm16le)
    ORV_AUDIO_BLOCK_PCM(Pcmu8)
};

// Format 1.
struct TMP4Settings {
    std::string Description;
    uint8_t Format = 0;  // 0 Apple iPod, 1 Sony PSP (audio block AACPsp), 2 Mobile Movie, 3 MP4
    ORV_TIME_CONTROL_FIELDS
    uint8_t VideoCodec = 0;  // 0 H264
    bool VideoSameQuality = false;
    uint8_t AudioCodec = 0;  // 0 AAC
    bool AudioDisableAudio = false;
    ORV_VIDEO_BLOCK(DivX)
    ORV_VIDEO_BLOCK(XviD)
    ORV_VIDEO_BLOCK(H264)
    ORV_AUDIO_BLOCK(AACMP4)
    ORV_AUDIO_BLOCK(AACPsp)
};

// Format 2, 3GP.
struct TTGPSettings {
    std::string Description;
    uint8_t TGPFormat = 0;  // 0 3gp Nokia/NEC/Siemens (the ...Nokia fields), 1 3gp Sony Ericsson, 2 3gp2 Sony Ericsson
    ORV_TIME_CONTROL_FIELDS
    uint8_t VideoCodecNokia = 0;  // 0 H263, 1 DivX
    uint8_t VideoCodecSony = 0;   // 0 DivX, 1 XviD
    bool VideoSameQuality = false;
    uint8_t AudioCodecNokia = 0;  // 0 Armnb, 1 Armwb, 2 AACMP4
    uint8_t AudioCodecSony = 0;   // 0 AACMP4
    bool AudioDisableAudio = false;
    ORV_VIDEO_BLOCK_FIXED_SIZE(H263)
    ORV_VIDEO_BLOCK(DivX)
    ORV_VIDEO_BLOCK(XviD)
    ORV_AUDIO_BLOCK(AACMP4)
    ORV_AUDIO_BLOCK(Armnb)
    ORV_AUDIO_BLOCK(Armwb)
};

// Format 3.
struct TMPEGSettings {
    std::string Description;
    bool UsePresetFormats = false;  // a standard disc target replaces the codec settings
    uint8_t TargetFormat = 0;       // 0 Auto, 1 NTSC, 2 PAL
    uint8_t PresetType = 0;         // 0 VCD, 1 SVCD, 2 DVD
    ORV_TIME_CONTROL_FIELDS
    uint8_t VideoCodec = 0;  // 0 MPEG1, 1 MPEG2
    bool VideoSameQuality = false;
    uint8_t AudioCodecMPEG1 = 0;  // 0 Mp2, 1 Mp3
    uint8_t AudioCodecMPEG2 = 0;  // 0 AC3, 1 Mp2, 2 Mp3
    bool AudioDisableAudio = false;
    ORV_VIDEO_BLOCK(MPEG1)
    ORV_VIDEO_BLOCK(MPEG2)
    ORV_AUDIO_BLOCK(AC3)
    ORV_AUDIO_BLOCK(Mp2)
    ORV_AUDIO_BLOCK(Mp3)
    // DVD target (UsePresetFormats and PresetType 2).
    bool DVDVideoBitRateUsePresert = false;
    int32_t DVDVideoBitRatePreset = 0;
    int32_t DVDVideoBitRateSpecify = 0;
    bool DVDVideoKeepAspect = false;
    uint8_t DVDVideoAspect = 0;  // 0 1:1, 1 4:3, 2 16:9
    bool DVDAudioBitRateUseAutoSet = false;
    int32_t DVDAudioBitRatePreset = 0;
};

// Format 4.
struct TMovSettings {
    std::string Description;
    ORV_TIME_CONTROL_FIELDS
    uint8_t VideoCodec = 0;  // 0 Svq1, 1 DivX, 2 XviD, 3 H263, 4 H264
    bool VideoSameQuality = false;
    uint8_t AudioCodec = 0;  // 0 AACMP4, 1 Alaw, 2 Armnb, 3 Pcm16le, 4 Pcm16be
    bool AudioDisableAudio = false;
    ORV_VIDEO_BLOCK(DivX)
    ORV_VIDEO_BLOCK(XviD)
    ORV_VIDEO_BLOCK_FIXED_SIZE(H263)
    ORV_VIDEO_BLOCK(H264)
    ORV_VIDEO_BLOCK(Svq1)
    ORV_AUDIO_BLOCK(AACMP4)
    ORV_AUDIO_BLOCK_PCM(Alaw)
    ORV_AUDIO_BLOCK(Armnb)
    ORV_AUDIO_BLOCK_PCM(Pcm16le)
    ORV_AUDIO_BLOCK_PCM(Pcm16be)
};

// Format 5.
struct TWmvSettings {
    std::string Description;
    ORV_TIME_CONTROL_FIELDS
    bool AudioDisableAudio = false;
    uint8_t AudioCodec = 0;  // 0 Mp3
    uint8_t VideoCodec = 0;  // 0 MsMPEG4, 1 MsMPEG4v2, 2 Wmv7, 3 Wmv8
    bool VideoSameQuality = false;
    ORV_VIDEO_BLOCK(MsMPEG4)
    ORV_VIDEO_BLOCK(MsMPEG4v2)
    ORV_VIDEO_BLOCK(Wmv7)
    ORV_VIDEO_BLOCK(Wmv8)
    ORV_AUDIO_BLOCK(Mp3)
};

// Format 6.
struct TRmSettings {
    std::string Description;
    ORV_TIME_CONTROL_FIELDS
    uint8_t VideoCodec = 0;  // 0 Rm10
    bool VideoSameQuality = false;
    uint8_t AudioCodec = 0;  // 0 AC3
    bool AudioDisableAudio = false;
    ORV_VIDEO_BLOCK(Rm10)
    ORV_AUDIO_BLOCK(AC3)
};

// Format 7.
struct TSwfSettings {
    std::string Description;
    ORV_TIME_CONTROL_FIELDS
    bool VideoSameQuality = false;
    uint8_t VideoCodec = 0;  // 0 Flv
    uint8_t AudioCodec = 0;  // 0 Mp3
    bool AudioDisableAudio = false;
    ORV_VIDEO_BLOCK(Flv)
    ORV_AUDIO_BLOCK(Mp3)
};

// Format 8.
struct TVobSettings {
    std::string Description;
    ORV_TIME_CONTROL_FIELDS
    uint8_t AudioCodec = 0;  // 0 Mp2, 1 AC3
    bool AudioDisableAudio = false;
    uint8_t VideoCodec = 0;  // 0 MPEG2
    bool VideoSameQuality = false;
    ORV_VIDEO_BLOCK(MPEG2)
    ORV_AUDIO_BLOCK(AC3)
    ORV_AUDIO_BLOCK(Mp2)
};

// Format 9.
struct TAsfSettings {
    std::string Description;
    ORV_TIME_CONTROL_FIELDS
    uint8_t AudioCodec = 0;  // 0 Mp3
    bool AudioDisableAudio = false;
    uint8_t VideoCodec = 0;  // 0 MsMPEG4, 1 MsMPEG4v2
    bool VideoSameQuality = false;
    ORV_VIDEO_BLOCK(MsMPEG4)
    ORV_VIDEO_BLOCK(MsMPEG4v2)
    ORV_AUDIO_BLOCK(Mp3)
};

// Formats 10 to 15: audio only.
#define ORV_AUDIO_ONLY_HEADER \
    std::string Description;  \
    ORV_TIME_CONTROL_FIELDS   \
    uint8_t AudioCodec = 0;

struct TAacSettings {
    ORV_AUDIO_ONLY_HEADER  // 0 AACMP4
    ORV_AUDIO_BLOCK(AACMP4)
};

struct TAc3Settings {
    ORV_AUDIO_ONLY_HEADER  // 0 AC3
    ORV_AUDIO_BLOCK(AC3)
};

struct TMp2Settings {
    ORV_AUDIO_ONLY_HEADER  // 0 Mp2
    ORV_AUDIO_BLOCK(Mp2)
};

struct TMp3Settings {
    ORV_AUDIO_ONLY_HEADER  // 0 Mp3
    ORV_AUDIO_BLOCK(Mp3)
};

struct TAmrSettings {
    ORV_AUDIO_ONLY_HEADER  // 0 Armnb, 1 Armwb
    ORV_AUDIO_BLOCK(Armnb)
    ORV_AUDIO_BLOCK(Armwb)
};

struct TWavSettings {
    ORV_AUDIO_ONLY_HEADER  // 0 Pcm16le, 1 Pcmu8
    ORV_AUDIO_BLOCK_PCM(Pcm16le)
    ORV_AUDIO_BLOCK_PCM(Pcmu8)
};

extern TAVISettings AVISettings;
extern TMP4Settings MP4Settings;
extern TTGPSettings TGPSettings;
extern TMPEGSettings MPEGSettings;
extern TMovSettings MovSettings;
extern TWmvSettings WmvSettings;
extern TRmSettings RmSettings;
extern TSwfSettings SwfSettings;
extern TVobSettings VobSettings;
extern TAsfSettings AsfSettings;
extern TAacSettings AacSettings;
extern TAc3Settings Ac3Settings;
extern TMp2Settings Mp2Settings;
extern TMp3Settings Mp3Settings;
extern TAmrSettings AmrSettings;
extern TWavSettings WavSettings;

// A constant list of bit rates in kbit/s, held as decimal texts and numbered from 1 like the slider
// positions that choose them.
class TBitRateTable {
public:
    template <size_t N>
    constexpr TBitRateTable(const char* const (&entries)[N]) : entries_(entries), count_(int(N))
    {
    }

    int Count() const { return count_; }
    // Entry at slider position 1..Count(); raises Exception outside that range.
    const char* Entry(int position) const;
    int32_t Value(int position) const;
    int32_t First() const { return Value(1); }        // lowest value a user may enter
    int32_t Last() const { return Value(count_); }    // highest value a user may enter
    // Every position whose entry equals `value` written in decimal, in order.
    std::vector<int> PositionsOf(int32_t value) const;
    // The slider position that shows `value`: the last matching entry, or `fallback` when none matches.
    int PositionOf(int32_t value, int fallback) const;

private:
    const char* const* entries_;
    int count_;
};

extern const TBitRateTable VideoBitRatesDivX;
extern const TBitRateTable VideoBitRatesXviD;
extern const TBitRateTable VideoBitRatesMsMPEG4;
extern const TBitRateTable VideoBitRatesMsMPEG4v2;
extern const TBitRateTable VideoBitRatesH263;
extern const TBitRateTable VideoBitRatesH263P;
extern const TBitRateTable VideoBitRatesH264;
extern const TBitRateTable VideoBitRatesDV;
extern const TBitRateTable VideoBitRateshuffYUV;
extern const TBitRateTable VideoBitRatesMjpeg;
extern const TBitRateTable VideoBitRatesMPEG1;
extern const TBitRateTable VideoBitRatesMPEG2;
extern const TBitRateTable VideoBitRatesSvq1;
extern const TBitRateTable VideoBitRatesFlv;
extern const TBitRateTable WmvVideoBitRatesMsMPEG4;
extern const TBitRateTable WmvVideoBitRatesMsMPEG4v2;
extern const TBitRateTable WmvVideoBitRatesWmv7;
extern const TBitRateTable WmvVideoBitRatesWmv8;
extern const TBitRateTable VideoBitRatesRm10;
extern const TBitRateTable DVDVideoBitRates;
extern const TBitRateTable SwfVideoBitRatesFlv;

extern const TBitRateTable AudioBitRatesAC3;
extern const TBitRateTable AudioBitRatesMp2;
extern const TBitRateTable AudioBitRatesMp3;
extern const TBitRateTable AudioBitRatesAACMP4;
extern const TBitRateTable AudioBitRatesAACPsp;
extern const TBitRateTable AudioBitRatesArmnb;
extern const TBitRateTable AudioBitRatesArmwb;
extern const TBitRateTable DVDAudioBitRates;
