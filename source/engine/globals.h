// The program's global state: paths, the options and run-state record, the file-list item and the two
// lists the language file fills.
#pragma once
#include <cstdint>
#include <string>

#include "StringList.h"

// Output format index 0..15 (AVI, MP4, 3GP, MPEG, MOV, WMV, RM, SWF, VOB, ASF, AAC, AC3, MP2, MP3, AMR, WAV).
using TOutputFormat = uint8_t;

extern const char* const AppTitle;

extern std::string ExeDir;
extern std::string ConfigIniFile;
extern std::string OptionsIniFile;
extern std::string LangsDir;
extern std::string LanguageFile;
extern std::string HelpFile;
extern std::string SkinsDir;

// Open-dialog filters (name=pattern) and the extensions that go through the DirectShow script.
extern TStringList FilterList;
extern TStringList AVSExtList;

struct TOptions {
    TOutputFormat OutputFormat = 0;
    std::string LastInputOpenDir;
    std::string LastOutputOpenDir;
    uint8_t Priority = 0;
    uint8_t ShutdownFlag = 0;
    bool ShutdownWindowsWhenDone = false;
    bool DeleteFileAfterProcessing = false;
    bool ShowWindow = false;
    bool UseDirectShow = false;
    std::string EncoderPath;

    // Run state of a batch.
    bool CurrentFileFailed = false;
    double FileStartTime = 0;
    int32_t FilePercent = 0;
    std::string PendingOutput;
    std::string CurrentInputFile;
    bool ErrorOccurred = false;
    bool StopWhenDone = false;
    int32_t FilesFailed = 0;
    int32_t FilesDone = 0;
    int32_t TotalFiles = 0;
    int64_t TotalBytes = 0;
    int64_t CurrentFileBytes = 0;
    int64_t BytesDone = 0;
    int64_t BytesProgress = 0;
    int32_t BatchPercent = 0;
    double BatchStartTime = 0;
    int32_t DurationMs = 0;
    int32_t TimeMs = 0;
    std::string SourceName;
    std::string TargetName;
    int32_t SizeKB = 0;
    int32_t BitrateKbps = 0;

    std::string ProfileDir;
    std::string AVIProfileDir, MP4ProfileDir, TGPProfileDir, MPEGProfileDir, MovProfileDir, WmvProfileDir,
        RmProfileDir, SwfProfileDir, AacProfileDir, VobProfileDir, Ac3ProfileDir, Mp2ProfileDir, Mp3ProfileDir,
        AmrProfileDir, WavProfileDir, AsfProfileDir;
};

extern TOptions Options;

// The data of one row of the file list: name, folder and the sixteen media values.
class TFileItem {
public:
    std::string FileName;
    std::string FilePath;
    std::string CompleteName, FileSize, Format, PlayTime, AudioCount, VideoCount, VideoCodec, Width, Height,
        VideoBitrate, AspectRatio, FrameRate, AudioCodec, AudioBitRate, Channels, SamplingRate;
};

// Sets the path globals and Options.ProfileDir. `exeDir` empty means the running program's folder.
void InitGlobals(const std::string& exeDir = "");
// Fills the persisted options and the encoder path; writes "options.ini" with the defaults when missing.
void LoadOptions();
// Writes the nine persisted options to "options.ini".
void SaveOptions();
