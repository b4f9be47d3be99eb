// The pieces of a conversion that need no window: output names, the selected profile's options, the
// encoder's command line, the DirectShow script, priorities, time texts and the shutdown countdown.
// The conversion driver (ConversionDriver.h) puts them together; tests call them directly.
#pragma once
#include <cstdint>
#include <string>

#include "globals.h"

// The option that lets the encoder run for this program, with its fixed value.
extern const char* const EncoderAccessOption;  // " -p 4730615"
// The DirectShow script's file name, in the profile base folder (template) and in the program folder.
extern const char* const DirectShowScriptName;  // "DirectShow.avs"

// The extension of an output format with its dot (".avi"); 3GP gives ".3gp" here; empty above 15.
std::string OutputExtension(TOutputFormat format);

// The profile file selected in a format's list: its profile folder, the list's text, "." and the profile
// extension ("...\avi\Default.avo"). Empty above 15.
std::string SelectedProfileFile(TOutputFormat format, const std::string& profileName);

// The output extension of the current format (Options.OutputFormat). For 3GP the selected profile is
// loaded (replacing TGPSettings): the 3gp2 format gives ".3g2", the others ".3gp".
std::string GetOutputExt(const std::string& tgpProfileName);

// The encoder options of the selected profile of the current format; empty above 15.
std::string GetProfileOptions(const std::string& profileName);

// The output file of a source: the output folder (the folder box's text, trimmed, with a trailing "\")
// and the source's name with `ext` as its extension.
std::string OutputFileFor(const std::string& outputFolderText, const std::string& source, const std::string& ext);

// The two repairs of the option string the encoder needs: AC3 5.1 without a bit rate gets " -ab 256"
// before the first " -ac ", and the ffvhuff codec gets " -strict -2". Applied to the options alone,
// so a file or folder name can never be changed by them.
std::string ApplyOptionFixups(const std::string& options);

// The encoder's command line, joined piece by piece (no format pattern, so "%" in a path is plain text):
//   "<encoder>" -p 4730615 -i "<input>" <options with their fix-ups> "<output>"
// The program path is quoted so that a folder with blanks starts the right program; the arguments are
// exactly those the encoder has always been given.
std::string BuildEncoderCommandLine(const std::string& encoderPath, const std::string& input,
                                    const std::string& options, const std::string& output);

// Whether a source goes through the DirectShow script: the option is on, or its extension (with the
// dot, same case) is listed in AVSExtList.
bool NeedsDirectShow(const std::string& source);
// ExeDir + "DirectShow.avs".
std::string DirectShowScriptFile();
// Writes the script for `input` from the template in Options.ProfileDir: every "<%InputFile%>", in any
// case, becomes the input path. Raises Exception when the template cannot be read or the script written.
void WriteDirectShowScript(const std::string& input);
// Deletes the script in the program folder; a missing script is no error.
void DeleteDirectShowScript();

// Options.Priority (0 idle, 1 normal, 2 high, 3 realtime) as the runner's InitialPriority (1..4); any
// other value gives idle.
uint8_t ToInitialPriority(uint8_t priority);

// True when a conversion left nothing usable: the output file is missing or empty.
bool OutputFileMissingOrEmpty(const std::string& path);

// Date-times are days since 30 December 1899 with the time of day as fraction.
double NowDays();
// A span of days as "h:nn:ss": its time-of-day part (whole days dropped, negative spans by their absolute
// value), hours without a leading zero, seconds truncated.
std::string FormatSpan(double days);

// The shutdown window's 30-second countdown, driven by its one-second timer.
class TShutdownCountdown {
public:
    static const int32_t StartSeconds = 30;
    void Start() { secondsLeft_ = StartSeconds; }
    // One timer tick. True once the time is up (the tick after "0" was shown): the action runs.
    bool Tick()
    {
        --secondsLeft_;
        return secondsLeft_ < 0;
    }
    int32_t SecondsLeft() const { return secondsLeft_; }
    // "Time left: %d" with the seconds left.
    std::string TimeLeftText(const std::string& pattern) const;

private:
    int32_t secondsLeft_ = StartSeconds;
};
