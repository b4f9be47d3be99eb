#include "ConversionCore.h"

#include "Strings.h"  // before <windows.h>, which would rename its FindText

#include <windows.h>

#include <cmath>

#include "ConversionTexts.h"
#include "Errors.h"
#include "FileUtils.h"
#include "OptionDetails.h"
#include "OrvUtils.h"
#include "Settings.h"
#include "profiles.h"

// <windows.h> maps FindText to the common dialog FindTextA; here it is the text search of Strings.h.
#undef FindText

const char* const EncoderAccessOption = " -p 4730615";
const char* const DirectShowScriptName = "DirectShow.avs";

namespace {

// In the order of the output format index.
const char* const OutputExtensions[OutputFormatCount] = {".avi", ".mp4", ".3gp", ".mpg", ".mov", ".wmv",
                                                         ".rm",  ".swf", ".vob", ".asf", ".aac", ".ac3",
                                                         ".mp2", ".mp3", ".amr", ".wav"};

const uint8_t TGPFormat3gp2 = 2;

const char* const InputFilePlaceholder = "<%InputFile%>";

// Replaces the first occurrence of `from` in `s`; false when there is none.
bool ReplaceFirst(std::string& s, const std::string& from, const std::string& to)
{
    const size_t at = s.find(from);
    if (at == std::string::npos) return false;
    s.replace(at, from.size(), to);
    return true;
}

// Every occurrence of `from`, compared without regard to case, left to right without rescanning.
std::string ReplaceAllText(const std::string& s, const std::string& from, const std::string& to)
{
    std::string result;
    size_t start = 0;
    for (size_t at; (at = FindText(s, from, start)) != std::string::npos; start = at + from.size())
        result += s.substr(start, at - start) + to;
    return result + s.substr(start);
}

}  // namespace

std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args)
{
    std::string result;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char following = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '%' && following == '%') {
            result += '%';
            ++i;
        } else if (c == '%' && (following == 's' || following == 'd') && next != args.end()) {
            result += *next++;
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

std::string OutputExtension(TOutputFormat format)
{
    return format < OutputFormatCount ? OutputExtensions[format] : "";
}

std::string SelectedProfileFile(TOutputFormat format, const std::string& profileName)
{
    const TOutputFormatInfo* info = FindOutputFormat(format);
    if (!info) return "";
    return Options.*(info->ProfileDir) + profileName + "." + ProfileExtension(format);
}

std::string GetOutputExt(const std::string& tgpProfileName)
{
    if (Options.OutputFormat == ofTGP) {
        LoadTGPProfile(SelectedProfileFile(ofTGP, tgpProfileName));
        return TGPSettings.TGPFormat == TGPFormat3gp2 ? ".3g2" : ".3gp";
    }
    return OutputExtension(Options.OutputFormat);
}

std::string GetProfileOptions(const std::string& profileName)
{
    if (Options.OutputFormat >= OutputFormatCount) return "";
    std::string options;
    BuildEncoderOptions(SelectedProfileFile(Options.OutputFormat, profileName), options);
    return options;
}

std::string OutputFileFor(const std::string& outputFolderText, const std::string& source, const std::string& ext)
{
    return AddTrailingBackslash(Trim(outputFolderText)) + ChangeFileExt(ExtractFileName(source), ext);
}

std::string ApplyOptionFixups(const std::string& options)
{
    // Framed by the blanks that stand around the options on the command line, so that a fragment at
    // either end is found exactly as it would be in the whole line.
    std::string framed = " " + options + " ";
    if (framed.find(" -ac 5:1 ") != std::string::npos && framed.find(" -ab ") == std::string::npos)
        ReplaceFirst(framed, " -ac ", " -ab 256 -ac ");
    ReplaceFirst(framed, " -vcodec ffvhuff ", " -vcodec ffvhuff -strict -2 ");
    return framed.substr(1, framed.size() - 2);
}

std::string BuildEncoderCommandLine(const std::string& encoderPath, const std::string& input,
                                    const std::string& options, const std::string& output)
{
    return "\"" + encoderPath + "\"" + EncoderAccessOption + " -i \"" + input + "\" " + ApplyOptionFixups(options) +
           " \"" + output + "\"";
}

bool NeedsDirectShow(const std::string& source)
{
    if (Options.UseDirectShow) return true;
    const std::string ext = ExtractFileExt(source);
    for (const std::string& listed : AVSExtList)
        if (listed == ext) return true;
    return false;
}

std::string DirectShowScriptFile() { return ExeDir + DirectShowScriptName; }

void WriteDirectShowScript(const std::string& input)
{
    const std::string templateFile = Options.ProfileDir + DirectShowScriptName;
    std::string text;
    if (!ReadFileText(templateFile, text)) throw Exception("Cannot open file \"" + templateFile + "\"");
    std::string script;
    for (const std::string& line : SplitLines(text)) script += ReplaceAllText(line, InputFilePlaceholder, input) + "\r\n";
    if (!WriteFileText(DirectShowScriptFile(), script))
        throw Exception("Cannot create file \"" + DirectShowScriptFile() + "\"");
}

void DeleteDirectShowScript() { DeleteFileA(DirectShowScriptFile().c_str()); }

uint8_t ToInitialPriority(uint8_t priority) { return priority <= 3 ? uint8_t(priority + 1) : 1; }

namespace {

// Size of an existing file, or -1.
int64_t FileSizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return int64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace

bool OutputFileMissingOrEmpty(const std::string& path) { return FileSizeOf(path) <= 0; }


double NowDays()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const uint64_t ticks = uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;  // 100 ns since 1601
    const double daysSince1601 = double(ticks) / 864000000000.0;
    return daysSince1601 - 109205.0;  // 1 January 1601 is day -109205 of the 1899 epoch
}

std::string FormatSpan(double days)
{
    if (!std::isfinite(days)) return "0:00:00";
    const double magnitude = std::fabs(days);
    const double timeOfDay = magnitude - std::floor(magnitude);
    int64_t ms = RoundHalfEven(timeOfDay * 86400000.0);
    if (ms >= 86400000) ms -= 86400000;
    const int64_t seconds = ms / 1000;
    const auto twoDigits = [](int64_t v) { return (v < 10 ? "0" : "") + IntToStr(v); };
    return IntToStr(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" + twoDigits(seconds % 60);
}

std::string TShutdownCountdown::TimeLeftText(const std::string& pattern) const
{
    return FormatText(pattern, {IntToStr(secondsLeft_)});
}
