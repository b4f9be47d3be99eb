#include "profiles.h"

#include <vector>

#include "Errors.h"
#include "IniFile.h"
#include "Settings.h"
#include "Strings.h"

namespace {

const char* const kSection = "General";

const std::string& ZeroTime()
{
    static const std::string text = "0:00:00.000";
    return text;
}

// One field of record type R: its key (the member's name), kind, member and default. A String default
// is referenced, not copied, so the description follows the language loaded at the time of a reset.
template <class R>
struct TField {
    TField(const char* key, std::string R::*member, const std::string& def)
        : Key(key), Kind(TFieldKind::String), String(member), DefaultText(&def)
    {
    }
    TField(const char* key, bool R::*member, bool def)
        : Key(key), Kind(TFieldKind::Boolean), Boolean(member), DefaultNumber(def ? 1 : 0)
    {
    }
    TField(const char* key, uint8_t R::*member, int32_t def)
        : Key(key), Kind(TFieldKind::Byte), Byte(member), DefaultNumber(def)
    {
    }
    TField(const char* key, int32_t R::*member, int32_t def)
        : Key(key), Kind(TFieldKind::Integer), Integer(member), DefaultNumber(def)
    {
    }

    const char* Key;
    TFieldKind Kind;
    std::string R::*String = nullptr;
    bool R::*Boolean = nullptr;
    uint8_t R::*Byte = nullptr;
    int32_t R::*Integer = nullptr;
    const std::string* DefaultText = nullptr;
    int32_t DefaultNumber = 0;
};

template <class R>
class TRecordFields : public TSettingsFields {
public:
    TRecordFields(R& record, std::vector<TField<R>> fields) : record_(record), fields_(std::move(fields)) {}

    size_t Count() const override { return fields_.size(); }
    const char* Key(size_t i) const override { return fields_.at(i).Key; }
    TFieldKind Kind(size_t i) const override { return fields_.at(i).Kind; }

    std::string Text(size_t i) const override
    {
        const TField<R>& f = fields_.at(i);
        switch (f.Kind) {
            case TFieldKind::String: return record_.*f.String;
            case TFieldKind::Boolean: return record_.*f.Boolean ? "1" : "0";
            case TFieldKind::Byte: return IntToStr(record_.*f.Byte);
            case TFieldKind::Integer: return IntToStr(record_.*f.Integer);
        }
        return "";
    }

    void SetText(size_t i, const std::string& text) override
    {
        const TField<R>& f = fields_.at(i);
        if (f.Kind == TFieldKind::String) {
            record_.*f.String = text;
            return;
        }
        // Numbers: empty or unparsable text keeps the current value; a Byte keeps the low 8 bits
        // (300 -> 44, -1 -> 255); a Boolean is any non-zero number.
        int32_t current = 0;
        switch (f.Kind) {
            case TFieldKind::Boolean: current = record_.*f.Boolean ? 1 : 0; break;
            case TFieldKind::Byte: current = record_.*f.Byte; break;
            default: current = record_.*f.Integer; break;
        }
        const int32_t value = text.empty() ? current : StrToIntDef(text, current);
        switch (f.Kind) {
            case TFieldKind::Boolean: record_.*f.Boolean = value != 0; break;
            case TFieldKind::Byte: record_.*f.Byte = uint8_t(value); break;
            default: record_.*f.Integer = value; break;
        }
    }

    void SetDefault(size_t i) override
    {
        const TField<R>& f = fields_.at(i);
        switch (f.Kind) {
            case TFieldKind::String: record_.*f.String = *f.DefaultText; break;
            case TFieldKind::Boolean: record_.*f.Boolean = f.DefaultNumber != 0; break;
            case TFieldKind::Byte: record_.*f.Byte = uint8_t(f.DefaultNumber); break;
            case TFieldKind::Integer: record_.*f.Integer = f.DefaultNumber; break;
        }
    }

private:
    R& record_;
    std::vector<TField<R>> fields_;
};

// A field whose key is the member's own name; the record type is the alias R in scope.
#define FIELD(name, def) TField<R>(#name, &R::name, def)

#define TIME_CONTROL_FIELDS FIELD(EnableTimeControl, false), FIELD(Duration, ZeroTime()), FIELD(StartTime, ZeroTime())

#define VIDEO_BITRATE_FIELDS(C, usePresert, preset, specify) \
    FIELD(VideoBitRateUsePresert##C, usePresert), FIELD(VideoBitRatePreset##C, preset), \
        FIELD(VideoBitRateSpecify##C, specify)
#define VIDEO_FRAME_FIELDS(C, width, height, keepFrameRate, frameRate, aspect)                            \
    FIELD(VideoWidth##C, width), FIELD(VideoHeight##C, height), FIELD(VideoKeepFrameRate##C, keepFrameRate), \
        FIELD(VideoFrameRate##C, frameRate), FIELD(VideoAspect##C, aspect)
#define VIDEO_BLOCK(C, usePresert, preset, specify, sizeUseSource, width, height, keepFrameRate, frameRate, aspect) \
    VIDEO_BITRATE_FIELDS(C, usePresert, preset, specify), FIELD(VideoSizeUseSource##C, sizeUseSource),             \
        VIDEO_FRAME_FIELDS(C, width, height, keepFrameRate, frameRate, aspect)
// The H.263 blocks: no VideoSizeUseSource, the size is always given.
#define VIDEO_BLOCK_FIXED_SIZE(C, usePresert, preset, specify, width, height, keepFrameRate, frameRate, aspect) \
    VIDEO_BITRATE_FIELDS(C, usePresert, preset, specify),                                                     \
        VIDEO_FRAME_FIELDS(C, width, height, keepFrameRate, frameRate, aspect)

#define AUDIO_BLOCK_PCM(A, sampleRate, channels) FIELD(AudioSampleRate##A, sampleRate), FIELD(AudioChannels##A, channels)
#define AUDIO_BLOCK(A, useAutoSet, preset, sampleRate, channels)                          \
    FIELD(AudioBitRateUseAutoSet##A, useAutoSet), FIELD(AudioBitRatePreset##A, preset), \
        AUDIO_BLOCK_PCM(A, sampleRate, channels)

// Defines FFields() for format F: its fields in save order, with their defaults, built on first use.
#define FORMAT_FIELDS(F, ...)                                       \
    TSettingsFields& F##Fields()                                    \
    {                                                               \
        using R = T##F##Settings;                                   \
        static TRecordFields<R> fields(F##Settings, {__VA_ARGS__}); \
        return fields;                                              \
    }

#define AVI_VIDEO(C) VIDEO_BLOCK(C, true, 1080, 1080, true, 640, 480, true, 7, 0)
FORMAT_FIELDS(AVI,
    FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS,
    FIELD(VideoCodec, 0), FIELD(VideoSameQuality, false), FIELD(AudioCodec, 1), FIELD(AudioDisableAudio, false),
    AVI_VIDEO(DivX), AVI_VIDEO(XviD), AVI_VIDEO(MsMPEG4), AVI_VIDEO(MsMPEG4v2),
    VIDEO_BLOCK_FIXED_SIZE(H263, true, 1080, 1080, 352, 288, true, 7, 0),
    AVI_VIDEO(H263P), AVI_VIDEO(H264), AVI_VIDEO(DV), AVI_VIDEO(huffYUV), AVI_VIDEO(Mjpeg),
    AVI_VIDEO(MPEG1), AVI_VIDEO(MPEG2), AVI_VIDEO(Svq1), AVI_VIDEO(Flv),
    AUDIO_BLOCK(AC3, false, 96, 0, 1), AUDIO_BLOCK(Mp2, false, 96, 0, 1), AUDIO_BLOCK(Mp3, false, 96, 0, 1),
    AUDIO_BLOCK_PCM(Pcm16le, 3, 1), AUDIO_BLOCK_PCM(Pcmu8, 3, 1))
#undef AVI_VIDEO

#define MP4_VIDEO(C) VIDEO_BLOCK(C, true, 1200, 1200, false, 320, 240, true, 7, 0)
FORMAT_FIELDS(MP4,
    FIELD(Description, IDS_NO_DESCRIPTION), FIELD(Format, 3), TIME_CONTROL_FIELDS,
    FIELD(VideoCodec, 0), FIELD(VideoSameQuality, false), FIELD(AudioCodec, 0), FIELD(AudioDisableAudio, false),
    MP4_VIDEO(DivX), MP4_VIDEO(XviD), MP4_VIDEO(H264),
    AUDIO_BLOCK(AACMP4, false, 64, 3, 1), AUDIO_BLOCK(AACPsp, false, 64, 0, 1))
#undef MP4_VIDEO

// The H.263 block leads the video blocks of the record but is saved after XviD.
FORMAT_FIELDS(TGP,
    FIELD(Description, IDS_NO_DESCRIPTION), FIELD(TGPFormat, 0), TIME_CONTROL_FIELDS,
    FIELD(VideoCodecNokia, 0), FIELD(VideoCodecSony, 0), FIELD(VideoSameQuality, false),
    FIELD(AudioCodecNokia, 0), FIELD(AudioCodecSony, 0), FIELD(AudioDisableAudio, false),
    VIDEO_BLOCK(DivX, true, 144, 144, false, 176, 144, true, 7, 0),
    VIDEO_BLOCK(XviD, true, 96, 96, false, 176, 144, true, 7, 0),
    VIDEO_BLOCK_FIXED_SIZE(H263, true, 144, 144, 176, 144, true, 1, 0),
    AUDIO_BLOCK(AACMP4, false, 56, 3, 1), AUDIO_BLOCK(Armnb, false, 13, 0, 0), AUDIO_BLOCK(Armwb, false, 13, 0, 0))

// UsePresetFormats is saved after TargetFormat and PresetType.
FORMAT_FIELDS(MPEG,
    FIELD(Description, IDS_NO_DESCRIPTION), FIELD(TargetFormat, 0), FIELD(PresetType, 0),
    FIELD(UsePresetFormats, false), TIME_CONTROL_FIELDS,
    FIELD(VideoCodec, 1), FIELD(VideoSameQuality, false), FIELD(AudioCodecMPEG1, 0), FIELD(AudioCodecMPEG2, 0),
    FIELD(AudioDisableAudio, false),
    VIDEO_BLOCK(MPEG1, true, 1152, 1152, true, 640, 480, true, 7, 0),
    VIDEO_BLOCK(MPEG2, true, 2496, 2496, true, 640, 480, true, 8, 0),
    AUDIO_BLOCK(AC3, false, 256, 3, 1), AUDIO_BLOCK(Mp2, false, 160, 2, 1), AUDIO_BLOCK(Mp3, false, 160, 2, 1),
    FIELD(DVDVideoBitRateUsePresert, true), FIELD(DVDVideoBitRatePreset, 6000),
    FIELD(DVDVideoBitRateSpecify, 6000), FIELD(DVDVideoKeepAspect, true), FIELD(DVDVideoAspect, 1),
    FIELD(DVDAudioBitRateUseAutoSet, false), FIELD(DVDAudioBitRatePreset, 384))

FORMAT_FIELDS(Mov,
    FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS,
    FIELD(VideoCodec, 4), FIELD(VideoSameQuality, false), FIELD(AudioCodec, 0), FIELD(AudioDisableAudio, false),
    VIDEO_BLOCK(DivX, true, 1200, 1200, true, 640, 480, true, 7, 0),
    VIDEO_BLOCK(XviD, true, 1200, 1200, true, 480, 480, true, 7, 0),
    VIDEO_BLOCK_FIXED_SIZE(H263, true, 1200, 1200, 352, 288, true, 7, 0),
    VIDEO_BLOCK(H264, true, 1200, 1200, true, 640, 480, true, 7, 0),
    VIDEO_BLOCK(Svq1, true, 1200, 1200, true, 640, 480, true, 7, 0),
    AUDIO_BLOCK(AACMP4, false, 64, 3, 1), AUDIO_BLOCK_PCM(Alaw, 3, 1), AUDIO_BLOCK(Armnb, false, 8, 0, 0),
    AUDIO_BLOCK_PCM(Pcm16le, 3, 1), AUDIO_BLOCK_PCM(Pcm16be, 3, 1))

#define CODEC_CHOICE_FIELDS(videoCodec, audioCodec)                                   \
    FIELD(VideoCodec, videoCodec), FIELD(VideoSameQuality, false), FIELD(AudioCodec, audioCodec), \
        FIELD(AudioDisableAudio, false)

#define WMV_VIDEO(C) VIDEO_BLOCK(C, true, 768, 768, true, 640, 480, true, 7, 0)
FORMAT_FIELDS(Wmv,
    FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS, CODEC_CHOICE_FIELDS(3, 0),
    WMV_VIDEO(MsMPEG4), WMV_VIDEO(MsMPEG4v2), WMV_VIDEO(Wmv7), WMV_VIDEO(Wmv8),
    AUDIO_BLOCK(Mp3, true, 64, 0, 1))
#undef WMV_VIDEO

// Saved with the audio choice first and the preset bit rate before its switch.
FORMAT_FIELDS(Rm,
    FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS,
    FIELD(AudioCodec, 0), FIELD(AudioDisableAudio, false), FIELD(VideoCodec, 0), FIELD(VideoSameQuality, false),
    FIELD(VideoBitRatePresetRm10, 768), FIELD(VideoBitRateSpecifyRm10, 768),
    FIELD(VideoBitRateUsePresertRm10, true), FIELD(VideoSizeUseSourceRm10, true),
    VIDEO_FRAME_FIELDS(Rm10, 320, 240, true, 7, 0),
    AUDIO_BLOCK(AC3, false, 256, 3, 1))

FORMAT_FIELDS(Swf,
    FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS, CODEC_CHOICE_FIELDS(0, 0),
    VIDEO_BLOCK(Flv, true, 768, 768, true, 640, 480, true, 7, 0),
    AUDIO_BLOCK(Mp3, true, 64, 1, 1))

FORMAT_FIELDS(Vob,
    FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS, CODEC_CHOICE_FIELDS(0, 1),
    VIDEO_BLOCK(MPEG2, true, 6000, 6000, false, 720, 576, true, 3, 0),
    AUDIO_BLOCK(AC3, false, 384, 3, 1), AUDIO_BLOCK(Mp2, false, 320, 3, 1))

FORMAT_FIELDS(Asf,
    FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS, CODEC_CHOICE_FIELDS(0, 0),
    VIDEO_BLOCK(MsMPEG4, true, 768, 768, true, 640, 480, true, 7, 0),
    VIDEO_BLOCK(MsMPEG4v2, true, 768, 768, true, 640, 480, true, 7, 0),
    AUDIO_BLOCK(Mp3, false, 64, 0, 1))

// The audio-only formats: the description, the time control and the codec choice, then their audio
// blocks.
#define AUDIO_ONLY_FIELDS(F, ...) \
    FORMAT_FIELDS(F, FIELD(Description, IDS_NO_DESCRIPTION), TIME_CONTROL_FIELDS, FIELD(AudioCodec, 0), __VA_ARGS__)

AUDIO_ONLY_FIELDS(Aac, AUDIO_BLOCK(AACMP4, false, 128, 6, 1))
AUDIO_ONLY_FIELDS(Ac3, AUDIO_BLOCK(AC3, false, 384, 3, 1))
AUDIO_ONLY_FIELDS(Mp2, AUDIO_BLOCK(Mp2, false, 160, 2, 1))
AUDIO_ONLY_FIELDS(Mp3, AUDIO_BLOCK(Mp3, false, 128, 2, 1))
AUDIO_ONLY_FIELDS(Amr, AUDIO_BLOCK(Armnb, false, 13, 0, 0), AUDIO_BLOCK(Armwb, false, 13, 0, 0))
AUDIO_ONLY_FIELDS(Wav, AUDIO_BLOCK_PCM(Pcm16le, 6, 1), AUDIO_BLOCK_PCM(Pcmu8, 6, 1))
#undef AUDIO_ONLY_FIELDS
#undef FORMAT_FIELDS

}  // namespace

// --- the generic reset, load and save ------------------------------------------------------------

size_t TSettingsFields::IndexOf(const std::string& key) const
{
    for (size_t i = 0; i < Count(); ++i)
        if (SameText(Key(i), key)) return i;
    return Count();
}

void TSettingsFields::Reset()
{
    for (size_t i = 0; i < Count(); ++i) SetDefault(i);
}

void TSettingsFields::Load(const std::string& fileName)
{
    Reset();
    const TIniSection section(TIniFile(fileName), kSection);
    // The current text is the default: a missing key keeps the default value, a key present with an
    // empty value gives an empty String (and leaves a number at its default).
    for (size_t i = 0; i < Count(); ++i) SetText(i, section.ReadString(Key(i), Text(i)));
}

void TSettingsFields::Save(const std::string& fileName) const
{
    TIniFile ini(fileName);
    for (size_t i = 0; i < Count(); ++i) {
        std::string value = Text(i);
        // A line break would end the line and let the rest of the text pose as keys or sections.
        for (char& c : value)
            if (c == '\r' || c == '\n') c = ' ';
        ini.WriteString(kSection, Key(i), value);
    }
    ini.UpdateFile();
}

// --- the forty-eight routines --------------------------------------------------------------------

#define PROFILE_ROUTINES(F)                                                          \
    void Reset##F##Settings() { F##Fields().Reset(); }                              \
    void Load##F##Profile(const std::string& fileName) { F##Fields().Load(fileName); } \
    void Save##F##Profile(const std::string& fileName) { F##Fields().Save(fileName); }

PROFILE_ROUTINES(AVI)
PROFILE_ROUTINES(MP4)
PROFILE_ROUTINES(TGP)
PROFILE_ROUTINES(MPEG)
PROFILE_ROUTINES(Mov)
PROFILE_ROUTINES(Wmv)
PROFILE_ROUTINES(Rm)
PROFILE_ROUTINES(Swf)
PROFILE_ROUTINES(Vob)
PROFILE_ROUTINES(Asf)
PROFILE_ROUTINES(Aac)
PROFILE_ROUTINES(Ac3)
PROFILE_ROUTINES(Mp2)
PROFILE_ROUTINES(Mp3)
PROFILE_ROUTINES(Amr)
PROFILE_ROUTINES(Wav)

// --- the format table ----------------------------------------------------------------------------

namespace {

#define FORMAT(F, name, shortName) \
    {of##F, name, shortName, &TOptions::F##ProfileDir, Reset##F##Settings, Load##F##Profile, Save##F##Profile, F##Fields}

const TOutputFormatInfo kFormats[OutputFormatCount] = {
    FORMAT(AVI, "AVI", "avi"), FORMAT(MP4, "MP4", "mp4"), FORMAT(TGP, "3GP", "3gp"), FORMAT(MPEG, "MPEG", "mpg"),
    FORMAT(Mov, "MOV", "mov"), FORMAT(Wmv, "WMV", "wmv"), FORMAT(Rm, "RM", "rm"),    FORMAT(Swf, "SWF", "swf"),
    FORMAT(Vob, "VOB", "vob"), FORMAT(Asf, "ASF", "asf"), FORMAT(Aac, "AAC", "aac"), FORMAT(Ac3, "AC3", "ac3"),
    FORMAT(Mp2, "MP2", "mp2"), FORMAT(Mp3, "MP3", "mp3"), FORMAT(Amr, "AMR", "amr"), FORMAT(Wav, "WAV", "wav"),
};

}  // namespace

const TOutputFormatInfo* FindOutputFormat(TOutputFormat format)
{
    return format < OutputFormatCount ? &kFormats[format] : nullptr;
}

const TOutputFormatInfo& OutputFormatInfo(TOutputFormat format)
{
    const TOutputFormatInfo* info = FindOutputFormat(format);
    if (!info) throw Exception("Unknown output format " + IntToStr(format));
    return *info;
}

std::string ProfileExtension(TOutputFormat format)
{
    return std::string(OutputFormatInfo(format).ShortName).substr(0, 2) + "o";
}
