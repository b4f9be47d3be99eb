#include "BridgeCommand.h"

#include "UnixShell.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

TArgs SplitCommandLine(const std::string& Line) {
  TArgs Args;
  size_t I = 0;
  const size_t N = Line.size();
  while (true) {
    while (I < N && (Line[I] == ' ' || Line[I] == '\t')) ++I;
    if (I >= N) break;
    std::string Arg;
    bool Quoted = false;
    while (I < N && (Quoted || (Line[I] != ' ' && Line[I] != '\t'))) {
      if (Line[I] == '\\') {
        size_t Slashes = 0;
        while (I < N && Line[I] == '\\') ++Slashes, ++I;
        if (I < N && Line[I] == '"') {
          Arg.append(Slashes / 2, '\\');
          if (Slashes % 2) {
            Arg += '"';
            ++I;
          }
        } else {
          Arg.append(Slashes, '\\');
        }
      } else if (Line[I] == '"') {
        if (Quoted && I + 1 < N && Line[I + 1] == '"') {
          Arg += '"';
          I += 2;
        } else {
          Quoted = !Quoted;
          ++I;
        }
      } else {
        Arg += Line[I++];
      }
    }
    Args.push_back(Arg);
  }
  return Args;
}

// The encoder command lines of the program were written for an older FFmpeg.
const TOptionRule OptionRules[] = {
    {"-p", nullptr, nullptr, nullptr, false},            // access code meant for the shipped encoder
    {"-sameq", "", nullptr, nullptr, false},             // option no longer exists
    {"-ab", nullptr, "-b:a", nullptr, true},             // "-ab 96" now means 96 bit/s
    {"-b", nullptr, "-b:v", nullptr, true},              // a bare "-b" is ambiguous now
    {"-ac", "5:1", "-ac", "6", false},                   // 5.1 is six channels
    {"-f", "aac", "-f", "adts", false},                  // raw AAC muxer's current name
    {"-acodec", "mp3", "-acodec", "libmp3lame", false},  // the MP3 encoder of Debian's build
    {"-vcodec", "h264", "-vcodec", "libx264", false},    // the H.264 encoder of Debian's build
    {"-vcodec", "xvid", "-vcodec", "libxvid", false},    // the Xvid encoder of Debian's build
};
const size_t OptionRuleCount = sizeof OptionRules / sizeof OptionRules[0];

namespace {

bool IsBareSmallNumber(const std::string& Value) {
  if (Value.empty()) return false;
  bool Dot = false;
  for (char C : Value) {
    if (C == '.' && !Dot)
      Dot = true;
    else if (C < '0' || C > '9')
      return false;
  }
  return atof(Value.c_str()) < 1000;
}

const TOptionRule* FindRule(const TArgs& Args, size_t I) {
  for (size_t R = 0; R < OptionRuleCount; ++R) {
    const TOptionRule& Rule = OptionRules[R];
    if (Args[I] != Rule.Option) continue;
    if (Rule.Value && *Rule.Value) {
      if (I + 1 < Args.size() && Args[I + 1] == Rule.Value) return &Rule;
      continue;
    }
    return &Rule;
  }
  return nullptr;
}

// Index of the output path (a last argument that is no option), or Args.size().
size_t OutputIndex(const TArgs& Args) {
  if (Args.empty()) return 0;
  size_t Last = Args.size() - 1;
  if (Args[Last].empty() || Args[Last][0] == '-') return Args.size();
  if (Last > 0 && Args[Last - 1] == "-i") return Args.size();
  return Last;
}

std::string ValueOf(const TArgs& Args, const std::string& Option) {
  for (size_t I = 0; I + 1 < Args.size(); ++I)
    if (Args[I] == Option) return Args[I + 1];
  return std::string();
}

bool Has(const TArgs& Args, const std::string& Option, const std::string& Value = std::string()) {
  for (size_t I = 0; I < Args.size(); ++I)
    if (Args[I] == Option && (Value.empty() || (I + 1 < Args.size() && Args[I + 1] == Value))) return true;
  return false;
}

// Args without the listed options (each with its value) and without the options in Flags.
TArgs Without(const TArgs& Args, const std::vector<std::string>& WithValue,
              const std::vector<std::string>& Flags = {}) {
  TArgs Result;
  for (size_t I = 0; I < Args.size(); ++I) {
    bool Skip = false;
    for (const std::string& O : WithValue)
      if (Args[I] == O) {
        Skip = true;
        ++I;
        break;
      }
    for (const std::string& F : Flags)
      if (Args[I] == F) Skip = true;
    if (!Skip) Result.push_back(Args[I]);
  }
  return Result;
}

TArgs Join(std::initializer_list<TArgs> Parts) {
  TArgs Result;
  for (const TArgs& P : Parts) Result.insert(Result.end(), P.begin(), P.end());
  return Result;
}

}  // namespace

TArgs TranslateOptions(const TArgs& Args) {
  TArgs Result;
  size_t Output = OutputIndex(Args);
  for (size_t I = 0; I < Args.size(); ++I) {
    if (I == Output) {
      Result.push_back(Args[I]);
      continue;
    }
    if (Args[I] == "-i" && I + 1 < Args.size()) {
      Result.push_back(Args[I]);
      Result.push_back(Args[++I]);
      continue;
    }
    const TOptionRule* Rule = FindRule(Args, I);
    if (!Rule) {
      Result.push_back(Args[I]);
      continue;
    }
    bool TakesValue = !(Rule->Value && !*Rule->Value);
    bool HasValue = TakesValue && I + 1 < Args.size() && I + 1 != Output;
    std::string Value = HasValue ? Args[++I] : std::string();
    if (!Rule->NewOption) continue;
    Result.push_back(Rule->NewOption);
    if (!HasValue) continue;
    if (Rule->NewValue)
      Result.push_back(Rule->NewValue);
    else if (Rule->KbitWhenBare && IsBareSmallNumber(Value))
      Result.push_back(Value + "k");
    else
      Result.push_back(Value);
  }
  return Result;
}

// ---- the program's DirectShow script ----

namespace {

std::string Lower(std::string Text) {
  for (char& C : Text)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Text;
}

std::string TrimBlanks(const std::string& Text) {
  const char* const Blanks = " \t\r\n";
  size_t First = Text.find_first_not_of(Blanks);
  if (First == std::string::npos) return std::string();
  return Text.substr(First, Text.find_last_not_of(Blanks) - First + 1);
}

}  // namespace

bool IsScriptFile(const std::string& Path) {
  return Path.size() > 4 && Lower(Path.substr(Path.size() - 4)) == ".avs";
}

std::string DirectShowScriptSource(const std::string& Text) {
  const std::string Script = TrimBlanks(Text);
  const std::string Head = "directshowsource(\"", Tail = "\")";
  if (Script.size() <= Head.size() + Tail.size() || Lower(Script.substr(0, Head.size())) != Head ||
      Script.compare(Script.size() - Tail.size(), Tail.size(), Tail) != 0)
    return std::string();
  std::string Source = Script.substr(Head.size(), Script.size() - Head.size() - Tail.size());
  // One statement with one plain path: anything else is another script.
  if (Source.find_first_of("\"\r\n") != std::string::npos || TrimBlanks(Source).empty()) return std::string();
  return Source;
}

// ---- fitting the request to what the encoders take ----

namespace {

struct TVideoRule {
  const char* Codec;
  int Multiple;            // width and height must be multiples of it (0: any)
  const char* Sizes;       // the only sizes it takes ("WxH WxH ..."), or null
  bool StandardRates;      // takes only the MPEG standard frame rates
};
const TVideoRule VideoRules[] = {
    {"rv10", 16, nullptr, false},    {"rv20", 16, nullptr, false},   {"libx264", 2, nullptr, false},
    {"wmv1", 2, nullptr, false},     {"wmv2", 2, nullptr, false},
    {"h263", 0, "128x96 176x144 352x288 704x576 1408x1152", false},
    {"mpeg1video", 0, nullptr, true},
};

struct TAudioRule {
  const char* Codec;
  const char* Rates;  // the sample rates it takes, or null: any
  int MaxChannels;    // 0: any
};
const char* const WmaRates = "48000 44100 32000 22050 16000 11025 8000";
const TAudioRule AudioRules[] = {
    {"mp2", "44100 48000 32000 22050 24000 16000", 2},
    {"libmp3lame", "44100 48000 32000 22050 24000 16000 11025 12000 8000", 2},
    {"ac3", "48000 44100 32000", 6},
    {"aac", "96000 88200 64000 48000 44100 32000 24000 22050 16000 12000 11025 8000 7350", 0},
    {"adpcm_swf", "11025 22050 44100", 2},
    {"wmav1", WmaRates, 2},
    {"wmav2", WmaRates, 2},
};
// Containers that narrow the sample rates further, whatever the codec.
const std::pair<const char*, const char*> ContainerRates[] = {{"swf", "44100 22050 11025"}};
// The audio codec ffmpeg picks when the command line names none, for the program's containers.
const std::pair<const char*, const char*> DefaultAudioCodecs[] = {
    {"mov", "aac"},  {"mp4", "aac"},       {"3gp", "aac"},        {"avi", "libmp3lame"}, {"asf", "wmav2"},
    {"wmv", "wmav2"}, {"rm", "ac3"},       {"swf", "libmp3lame"}, {"mpg", "mp2"},        {"mpeg", "mp2"}};
// The MPEG standard frame rates as ffmpeg writes them.
const std::pair<double, const char*> StandardRates[] = {
    {24000.0 / 1001, "24000/1001"}, {24, "24"}, {25, "25"}, {30000.0 / 1001, "30000/1001"}, {30, "30"},
    {50, "50"}, {60000.0 / 1001, "60000/1001"}, {60, "60"}};

std::vector<int> Numbers(const char* List) {
  std::vector<int> Result;
  for (const char* P = List; P && *P;) {
    char* End = nullptr;
    long Value = strtol(P, &End, 10);
    if (End == P) break;
    Result.push_back(static_cast<int>(Value));
    P = End;
    while (*P == ' ' || *P == 'x') ++P;
  }
  return Result;
}

std::string FirstValue(const TArgs& Args, std::initializer_list<const char*> Options) {
  for (const char* O : Options) {
    std::string V = ValueOf(Args, O);
    if (!V.empty()) return V;
  }
  return std::string();
}

// The output file's extension in lower case, without its dot; empty when it has none.
std::string OutputExtension(const TArgs& Args) {
  size_t Output = OutputIndex(Args);
  if (Output >= Args.size()) return std::string();
  const std::string& Path = Args[Output];
  size_t Dot = Path.find_last_of('.'), Slash = Path.find_last_of("/\\");
  return Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash) ? std::string() : Lower(Path.substr(Dot + 1));
}

// The output's container: -f, else the output file's extension.
std::string Container(const TArgs& Args) {
  std::string Format = ValueOf(Args, "-f");
  return Format.empty() ? OutputExtension(Args) : Lower(Format);
}

const TVideoRule* VideoRuleOf(const TArgs& Args) {
  if (Has(Args, "-vn")) return nullptr;
  std::string Codec = FirstValue(Args, {"-vcodec", "-c:v", "-codec:v"});
  for (const TVideoRule& R : VideoRules)
    if (Codec == R.Codec) return &R;
  return nullptr;
}

std::string AudioCodecOf(const TArgs& Args) {
  if (Has(Args, "-an")) return std::string();
  std::string Codec = FirstValue(Args, {"-acodec", "-c:a", "-codec:a"});
  if (!Codec.empty()) return Codec;
  const std::string C = Container(Args);
  for (const auto& D : DefaultAudioCodecs)
    if (C == D.first) return D.second;
  return std::string();
}

const TAudioRule* AudioRuleOf(const TArgs& Args) {
  std::string Codec = AudioCodecOf(Args);
  for (const TAudioRule& R : AudioRules)
    if (Codec == R.Codec) return &R;
  return nullptr;
}

bool IsAmr(const std::string& Codec) { return Codec == "amr_nb" || Codec == "amr_wb"; }

// Containers that hold sound only (the audio-only formats' -f values and extensions).
const char* const AudioOnlyContainers[] = {"adts", "aac", "ac3", "mp2", "mp3", "amr", "wav"};

bool AudioOnlyOutput(const TArgs& Args) {
  if (Has(Args, "-vn")) return true;
  const std::string C = Container(Args);
  for (const char* A : AudioOnlyContainers)
    if (C == A) return true;
  return false;
}

// The output format as the user knows it: the output file's extension ("MP3"), else the container.
std::string FormatName(const TArgs& Args) {
  std::string Name = OutputExtension(Args);
  if (Name.empty()) Name = Container(Args);
  for (char& C : Name)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  return Name.empty() ? std::string("this format") : Name;
}

// Sets Option's value, or adds the option before the output.
void SetOption(TArgs& Args, const std::string& Option, const std::string& Value) {
  for (size_t I = 0; I + 1 < Args.size(); ++I)
    if (Args[I] == Option && I + 1 != OutputIndex(Args)) {
      Args[I + 1] = Value;
      return;
    }
  Args.insert(Args.begin() + static_cast<long>(std::min(OutputIndex(Args), Args.size())), {Option, Value});
}

double ReadRate(const std::string& Text) {
  size_t Slash = Text.find('/');
  if (Slash == std::string::npos) return atof(Text.c_str());
  double Denominator = atof(Text.c_str() + Slash + 1);
  return Denominator > 0 ? atof(Text.substr(0, Slash).c_str()) / Denominator : 0;
}

std::string RateText(double Rate) {
  char Buffer[32];
  snprintf(Buffer, sizeof Buffer, "%.3f", Rate);
  std::string Text = Buffer;
  while (Text.back() == '0') Text.pop_back();
  if (Text.back() == '.') Text.pop_back();
  return Text;
}

int Nearest(const std::vector<int>& Choices, int Wanted) {
  int Best = Choices.front();
  for (int C : Choices)
    if (std::abs(C - Wanted) < std::abs(Best - Wanted) || (std::abs(C - Wanted) == std::abs(Best - Wanted) && C > Best))
      Best = C;
  return Best;
}

// The nearest multiple of M (at least M); a value halfway goes down, so nothing grows needlessly.
int NearestMultiple(int Value, int M) { return std::max(M, (Value + M / 2 - 1) / M * M); }

void FitVideo(TArgs& Args, const TVideoRule& Rule, const TSourceInfo& Source, std::vector<std::string>& Notes) {
  const std::string Codec = Rule.Codec;
  if (Rule.Multiple || Rule.Sizes) {
    std::string Size = ValueOf(Args, "-s");
    int W = Source.Width, H = Source.Height;
    if (!Size.empty()) sscanf(Size.c_str(), "%dx%d", &W, &H);
    if (W > 0 && H > 0) {
      int NewW = W, NewH = H;
      std::string Why;
      if (Rule.Multiple) {
        NewW = NearestMultiple(W, Rule.Multiple);
        NewH = NearestMultiple(H, Rule.Multiple);
        Why = "takes only frame sizes in multiples of " + std::to_string(Rule.Multiple);
      } else {
        std::vector<int> Sizes = Numbers(Rule.Sizes);
        std::string List;
        for (size_t I = 0; I + 1 < Sizes.size(); I += 2) {
          if (I == 0 || std::abs(Sizes[I] - W) + std::abs(Sizes[I + 1] - H) < std::abs(NewW - W) + std::abs(NewH - H)) {
            NewW = Sizes[I];
            NewH = Sizes[I + 1];
          }
          List += (I ? (I + 2 == Sizes.size() ? " and " : ", ") : "") + std::to_string(Sizes[I]) + "x" + std::to_string(Sizes[I + 1]);
        }
        Why = "takes only the frame sizes " + List;
      }
      if (NewW != W || NewH != H) {
        const std::string New = std::to_string(NewW) + "x" + std::to_string(NewH);
        SetOption(Args, "-s", New);
        Notes.push_back("the " + Codec + " encoder " + Why + ": " + std::to_string(W) + "x" + std::to_string(H) +
                        " is encoded as " + New + ".");
      }
    }
  }
  if (Rule.StandardRates) {
    std::string Rate = ValueOf(Args, "-r");
    double Wanted = Rate.empty() ? Source.FrameRate : ReadRate(Rate);
    if (Wanted > 0) {
      const auto* Best = &StandardRates[0];
      for (const auto& R : StandardRates)
        if (std::fabs(R.first - Wanted) < std::fabs(Best->first - Wanted)) Best = &R;
      if (std::fabs(Best->first - Wanted) > 0.001) {
        SetOption(Args, "-r", Best->second);
        Notes.push_back("the " + Codec + " encoder takes only the standard frame rates: " + RateText(Wanted) +
                        " fps is encoded as " + RateText(Best->first) + " fps.");
      }
    }
  }
}

void FitAudio(TArgs& Args, const TAudioRule& Rule, const TSourceInfo& Source, std::vector<std::string>& Notes) {
  const std::string Codec = Rule.Codec;
  std::vector<int> Rates = Numbers(Rule.Rates);
  const std::string C = Container(Args);
  for (const auto& CR : ContainerRates) {
    if (C != CR.first) continue;
    std::vector<int> Both;
    for (int R : Numbers(CR.second))
      if (Rates.empty() || std::find(Rates.begin(), Rates.end(), R) != Rates.end()) Both.push_back(R);
    if (!Both.empty()) Rates = Both;
  }
  std::string Rate = ValueOf(Args, "-ar");
  int Wanted = Rate.empty() ? Source.SampleRate : atoi(Rate.c_str());
  if (Wanted > 0 && !Rates.empty() && std::find(Rates.begin(), Rates.end(), Wanted) == Rates.end()) {
    int New = Nearest(Rates, Wanted);
    SetOption(Args, "-ar", std::to_string(New));
    Notes.push_back("the " + Codec + " encoder (in " + (C.empty() ? std::string("this container") : C) + ") does not take " +
                    std::to_string(Wanted) + " Hz: the sound is resampled to " + std::to_string(New) + " Hz.");
  }
  std::string Channels = ValueOf(Args, "-ac");
  int WantedChannels = Channels.empty() ? Source.Channels : atoi(Channels.c_str());
  if (Rule.MaxChannels > 0 && WantedChannels > Rule.MaxChannels) {
    SetOption(Args, "-ac", std::to_string(Rule.MaxChannels));
    Notes.push_back("the " + Codec + " encoder takes at most " + std::to_string(Rule.MaxChannels) + " channels: " +
                    std::to_string(WantedChannels) + " channels are mixed down to " + std::to_string(Rule.MaxChannels) + ".");
  }
}

}  // namespace

std::string ProbeCommand(const std::string& FFprobe, const std::string& InputUnix) {
  return ShellQuote(FFprobe) +
         " -v error -show_entries stream=codec_type,width,height,r_frame_rate,sample_rate,channels"
         " -of default=noprint_wrappers=1 " + ShellQuote(InputUnix);
}

TSourceInfo ParseProbeOutput(const std::string& Text) {
  TSourceInfo Info;
  Info.Known = true;
  std::string Type;
  bool VideoDone = false, AudioDone = false;
  size_t Begin = 0;
  while (Begin < Text.size()) {
    size_t End = Text.find('\n', Begin);
    if (End == std::string::npos) End = Text.size();
    std::string Line = TrimBlanks(Text.substr(Begin, End - Begin));
    Begin = End + 1;
    size_t Equals = Line.find('=');
    if (Equals == std::string::npos) continue;
    const std::string Key = Line.substr(0, Equals), Value = Line.substr(Equals + 1);
    if (Key == "codec_type") {
      // A stream's keys follow its type; the first stream of each kind counts.
      if (Type == "video" && Info.Width > 0) VideoDone = true;
      if (Type == "audio" && Info.SampleRate > 0) AudioDone = true;
      Type = Value;
      Info.Video |= Type == "video";
      Info.Audio |= Type == "audio";
      continue;
    }
    if (Type == "video" && !VideoDone) {
      if (Key == "width") Info.Width = atoi(Value.c_str());
      if (Key == "height") Info.Height = atoi(Value.c_str());
      if (Key == "r_frame_rate") Info.FrameRate = ReadRate(Value);
    } else if (Type == "audio" && !AudioDone) {
      if (Key == "sample_rate") Info.SampleRate = atoi(Value.c_str());
      if (Key == "channels") Info.Channels = atoi(Value.c_str());
    }
  }
  return Info;
}

bool NeedsSourceInfo(const TArgs& Args) {
  if (AudioOnlyOutput(Args) || IsAmr(AudioCodecOf(Args))) return true;
  if (const TVideoRule* V = VideoRuleOf(Args)) {
    if ((V->Multiple || V->Sizes) && ValueOf(Args, "-s").empty()) return true;
    if (V->StandardRates && ValueOf(Args, "-r").empty()) return true;
  }
  if (AudioRuleOf(Args) && (ValueOf(Args, "-ar").empty() || ValueOf(Args, "-ac").empty())) return true;
  return false;
}

std::string CannotConvert(const TArgs& Args, const TSourceInfo& Source) {
  if (!Source.Known) return std::string();
  const bool TakesVideo = !AudioOnlyOutput(Args), TakesAudio = !Has(Args, "-an");
  if ((TakesVideo && Source.Video) || (TakesAudio && Source.Audio)) return std::string();
  const std::string Format = FormatName(Args);
  if (!Source.Video && !Source.Audio)
    return "the source has neither a picture nor a sound stream: it cannot be converted to " + Format + ".";
  if (!TakesVideo)
    return "the source has no sound stream, and " + Format + " files hold only sound: it cannot be converted to " +
           Format + ".";
  return "the source has no picture, and the profile leaves out the sound: it cannot be converted to " + Format + ".";
}

std::vector<std::string> FitToEncoders(TArgs& Args, const TSourceInfo& Source) {
  std::vector<std::string> Notes;
  if (const TVideoRule* V = VideoRuleOf(Args)) FitVideo(Args, *V, Source, Notes);
  if (const TAudioRule* A = AudioRuleOf(Args)) FitAudio(Args, *A, Source, Notes);
  return Notes;
}

TBridgePlan PlanRun(const TArgs& Args, const TPlanContext& Context, const TSourceInfo& Source) {
  TBridgePlan Plan;
  std::string Input = ValueOf(Args, "-i");
  size_t Output = OutputIndex(Args);
  if (Input.empty() || Output >= Args.size()) {
    Plan.Error = "The command line names no input (-i) or no output file.";
    return Plan;
  }
  Plan.Error = CannotConvert(Args, Source);
  if (!Plan.Error.empty()) return Plan;
  const TArgs FFmpeg = {Context.FFmpeg, "-nostdin"};
  std::string AudioCodec = ValueOf(Args, "-acodec");
  if (!IsAmr(AudioCodec)) {
    Plan.Steps.push_back(Join({FFmpeg, Args}));
    return Plan;
  }

  bool Wide = AudioCodec == "amr_wb";
  std::string Mode = Wide ? "wb" : "nb";
  std::string Rate = Wide ? "16000" : "8000";
  std::string BitRate = ValueOf(Args, "-b:a");
  if (!BitRate.empty() && (BitRate.back() == 'k' || BitRate.back() == 'K')) BitRate.pop_back();
  if (BitRate.empty()) BitRate = "0";  // the encoder's highest rate
  std::string OutputPath = Args[Output];
  // The other options, without input, output and the audio options that the AMR encoder takes over.
  TArgs Options(Args.begin(), Args.begin() + Output);
  Options = Without(Options, {"-i", "-acodec", "-ac", "-ar", "-b:a"});
  const TArgs ToPcm = {"-f", "s16le", "-acodec", "pcm_s16le", "-ac", "1", "-ar", Rate};
  std::string Pcm = Context.WorkDir + "audio.pcm";

  bool AudioOnly = Has(Options, "-vn") || Has(Options, "-f", "amr");
  if (AudioOnly) {
    Plan.Steps.push_back(Join({FFmpeg, {"-i", Input}, Without(Options, {"-f"}, {"-y"}), {"-y"}, ToPcm, {Pcm}}));
    Plan.Steps.push_back({Context.AmrEncoder, Mode, BitRate, Pcm, OutputPath});
    return Plan;
  }
  // No sound to decode: the container gets the picture alone (asking ffmpeg for the sound as samples
  // would end the run with "Output file #0 does not contain any stream").
  if (Source.Known && !Source.Audio) {
    Plan.Steps.push_back(Join({FFmpeg, {"-i", Input}, Options, {"-an", OutputPath}}));
    return Plan;
  }
  std::string Amr = Context.WorkDir + "audio.amr";
  Plan.Steps.push_back(Join({FFmpeg, {"-y", "-i", Input, "-vn"}, ToPcm, {Pcm}}));
  Plan.Steps.push_back({Context.AmrEncoder, Mode, BitRate, Pcm, Amr});
  Plan.Steps.push_back(
      Join({FFmpeg, {"-i", Input, "-i", Amr, "-map", "0:v?", "-map", "1:a"}, Options, {"-acodec", "copy", OutputPath}}));
  return Plan;
}

namespace {

// "H:MM:SS.cc" or "-H:MM:SS.cc" as seconds with two decimals; empty when Text is no such time.
std::string ClockToSeconds(const std::string& Text) {
  bool Negative = !Text.empty() && Text[0] == '-';
  std::string Clock = Negative ? Text.substr(1) : Text;
  size_t First = Clock.find(':'), Second = Clock.find(':', First == std::string::npos ? 0 : First + 1);
  if (First == std::string::npos || Second == std::string::npos) return std::string();
  for (char C : Clock)
    if (!(C == ':' || C == '.' || (C >= '0' && C <= '9'))) return std::string();
  if (Negative) return "10000000000.0";
  double Seconds = atof(Clock.substr(0, First).c_str()) * 3600 +
                   atof(Clock.substr(First + 1, Second - First - 1).c_str()) * 60 + atof(Clock.substr(Second + 1).c_str());
  char Buffer[64];
  snprintf(Buffer, sizeof Buffer, "%.2f", Seconds);
  return Buffer;
}

void ReplaceAll(std::string& Text, const std::string& From, const std::string& To) {
  if (From.empty()) return;
  for (size_t At = Text.find(From); At != std::string::npos; At = Text.find(From, At + To.size()))
    Text.replace(At, From.size(), To);
}

}  // namespace

std::string TranslateOutputLine(const std::string& Line,
                                const std::vector<std::pair<std::string, std::string>>& Paths) {
  std::string Result = Line;
  for (const auto& P : Paths) ReplaceAll(Result, P.first, P.second);
  const std::string Marker = "time=";
  size_t At = Result.find(Marker);
  if (At != std::string::npos) {
    size_t Start = At + Marker.size();
    size_t End = Result.find(' ', Start);
    if (End == std::string::npos) End = Result.size();
    std::string Seconds = ClockToSeconds(Result.substr(Start, End - Start));
    if (!Seconds.empty()) Result.replace(Start, End - Start, Seconds);
  }
  return Result;
}

std::string TOutputTranslator::Feed(const std::string& Chunk) {
  FPending += Chunk;
  std::string Out;
  size_t Begin = 0;
  for (size_t I = 0; I < FPending.size(); ++I) {
    if (FPending[I] != '\r' && FPending[I] != '\n') continue;
    Out += TranslateOutputLine(FPending.substr(Begin, I - Begin), FPaths);
    Out += FPending[I];
    Begin = I + 1;
  }
  FPending.erase(0, Begin);
  return Out;
}

std::string TOutputTranslator::Flush() {
  std::string Out = FPending.empty() ? std::string() : TranslateOutputLine(FPending, FPaths);
  FPending.clear();
  return Out;
}

std::string BuildRunScript(const TBridgePlan& Plan, const std::string& Dir) {
  std::string D = ShellQuote(Dir);
  std::string S;
  S += "#!/bin/sh\n";
  S += "# Runs one conversion for the encoder bridge. Started through setsid: this script and all it\n";
  S += "# starts form one process group, which the watchdog ends when the bridge is gone.\n";
  S += "d=" + D + "\n";
  // The watchdog removes this folder: never anything but an absolute folder path.
  S += "case \"$d\" in /?*/) ;; *) exit 125 ;; esac\n";
  S += "read -r stat < /proc/$$/stat; set -- ${stat##*) }\n";
  S += "if [ \"$3\" != \"$$\" ]; then echo 'avcore: no process group of its own' >> \"${d}log\"; echo 125 > \"${d}exit\"; exit 125; fi\n";
  // The bridge watches this process: gone without an exit code means the run was killed.
  S += "echo $$ > \"${d}pid\"\n";
  S += "mkfifo \"${d}alive\" || { echo 125 > \"${d}exit\"; exit 125; }\n";
  // The bridge holds the fifo's writing end; its end of file means the bridge is gone.
  S += "( trap '' TERM; cat \"${d}alive\" > /dev/null; kill -TERM 0; sleep 1; rm -rf \"$d\"; kill -KILL 0 ) &\n";
  S += "n=0\n";
  S += "while [ ! -e \"${d}go\" ]; do n=$((n + 1)); if [ $n -gt 600 ]; then rm -rf \"$d\"; kill -KILL 0; fi; sleep 0.05; done\n";
  S += "rc=0\n";
  for (const TArgs& Step : Plan.Steps) {
    std::string Line;
    for (const std::string& A : Step) Line += (Line.empty() ? "" : " ") + ShellQuote(A);
    S += "if [ $rc -eq 0 ]; then " + Line + " >> \"${d}log\" 2>&1 < /dev/null || rc=$?; fi\n";
  }
  S += "echo $rc > \"${d}exit.tmp\"; mv \"${d}exit.tmp\" \"${d}exit\"\n";
  return S;
}
