// What the encoder bridge does with a command line, apart from running it: splitting it, translating
// the options that ffmpeg 5.1 no longer takes or reads differently, planning the programs to run,
// and translating ffmpeg's console lines back into the shape the program parses.
#pragma once

#include <functional>
#include <string>
#include <vector>

typedef std::vector<std::string> TArgs;

// Splits a command line the way the C runtime does (blanks separate, double quotes group,
// backslashes escape only before a double quote).
TArgs SplitCommandLine(const std::string& Line);

// One line of the translation table. Value null: any value; Value "" : the option takes no value.
// NewOption null: the option (with its value) is dropped. NewValue null: the value is kept
// (made kbit/s when KbitWhenBare and it is a bare number below 1000).
struct TOptionRule {
  const char* Option;
  const char* Value;
  const char* NewOption;
  const char* NewValue;
  bool KbitWhenBare;
};
extern const TOptionRule OptionRules[];
extern const size_t OptionRuleCount;

// Applies the table. The value after "-i" and the output path (a last argument that is no option)
// are never touched.
TArgs TranslateOptions(const TArgs& Args);

// ---- the program's DirectShow script ----
// With the DirectShow option (or for a script source) the program hands the encoder a script made
// from its template instead of the source: one statement DirectShowSource("<source path>"). ffmpeg
// reads no such scripts, so the bridge hands it the source named in the script.

// Whether Path names a script (".avs", any letter case).
bool IsScriptFile(const std::string& Path);
// The source that a script of exactly the template's form names; empty for any other script.
std::string DirectShowScriptSource(const std::string& Text);

// ---- fitting the request to what the encoders take ----
// Some encoders refuse frame sizes, frame rates, sample rates or channel counts that a source may
// bring (or a profile may ask for). The bridge moves such a value to the nearest one the encoder
// takes and says so; values a profile leaves to the source are looked up in the source first.

struct TSourceInfo {
  bool Known = false;               // the source was looked up: Video and Audio say what it holds
  bool Video = false, Audio = false;
  int Width = 0, Height = 0;  // 0: unknown, or no video
  double FrameRate = 0;
  int SampleRate = 0, Channels = 0;  // 0: unknown, or no sound
};
// The ffprobe command (default output format, no keys) that ParseProbeOutput reads.
std::string ProbeCommand(const std::string& FFprobe, const std::string& InputUnix);
// The first video stream's size and rate and the first audio stream's rate and channels.
TSourceInfo ParseProbeOutput(const std::string& Text);
// Whether the source must be looked up: FitToEncoders needs a constrained value that is not given, or
// the output holds sound only or AMR sound, which a source without sound cannot give (PlanRun).
bool NeedsSourceInfo(const TArgs& Args);
// Why the output cannot be made from a known source, for the user ("the source has no sound stream,
// and MP3 files hold only sound: ..."); empty when it can: the output holds only sound and the
// source has none, the profile leaves out the sound and the source has no picture, or the source
// has neither.
std::string CannotConvert(const TArgs& Args, const TSourceInfo& Source);
// Moves refused values of translated arguments to the nearest accepted ones (adding -s, -r, -ar or
// -ac before the output where a value came from the source); one note per change.
std::vector<std::string> FitToEncoders(TArgs& Args, const TSourceInfo& Source);

// The programs to run, in order; each step's first element is the program.
struct TBridgePlan {
  std::vector<TArgs> Steps;
  std::string Error;   // non-empty: the command line cannot be run
};

struct TPlanContext {
  std::string FFmpeg;      // program name or path of ffmpeg
  std::string AmrEncoder;  // path of the native AMR encoder
  std::string WorkDir;     // a folder for intermediate files, with a trailing slash
};

// Plans the run of translated, path-mapped arguments. ffmpeg has no AMR encoder: AMR audio is
// decoded to 16-bit mono PCM by ffmpeg, encoded by the AMR encoder, and, in a container with video,
// muxed by ffmpeg as a copied stream; a source known to have no sound gives such a container its
// picture alone. An output that a known source cannot give is an error (CannotConvert).
TBridgePlan PlanRun(const TArgs& Args, const TPlanContext& Context, const TSourceInfo& Source = TSourceInfo());

// Rewrites one console line of ffmpeg (without its line end) for the program's parser: times
// "time=H:MM:SS.cc" become seconds ("time=12.34"), an unknown negative time becomes
// "time=10000000000.0", and each (from, to) pair of Paths is replaced (Linux paths back to the
// Windows paths the program gave).
std::string TranslateOutputLine(const std::string& Line,
                                const std::vector<std::pair<std::string, std::string>>& Paths);

// Splits a growing stream of console output into lines ended by CR or LF, translates each complete
// line and keeps the unfinished rest for the next call; Flush hands out the rest.
class TOutputTranslator {
public:
  explicit TOutputTranslator(std::vector<std::pair<std::string, std::string>> Paths) : FPaths(std::move(Paths)) {}
  std::string Feed(const std::string& Chunk);
  std::string Flush();

private:
  std::vector<std::pair<std::string, std::string>> FPaths;
  std::string FPending;
};

// The /bin/sh script that runs the plan in Dir (a Linux folder with trailing slash): it waits until
// the bridge holds the fifo Dir/alive open (it writes its own process id to Dir/pid first) and Dir/go exists, appends all output to Dir/log, writes
// the exit code of the first failing step (or 0) to Dir/exit, and, in the same process group, keeps
// a watchdog that ends every program of the run as soon as the bridge's end of the fifo closes.
std::string BuildRunScript(const TBridgePlan& Plan, const std::string& Dir);
