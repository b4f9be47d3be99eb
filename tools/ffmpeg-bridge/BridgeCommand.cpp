#include "BridgeCommand.h"

#include "UnixShell.h"

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

TBridgePlan PlanRun(const TArgs& Args, const TPlanContext& Context) {
  TBridgePlan Plan;
  std::string Input = ValueOf(Args, "-i");
  size_t Output = OutputIndex(Args);
  if (Input.empty() || Output >= Args.size()) {
    Plan.Error = "The command line names no input (-i) or no output file.";
    return Plan;
  }
  const TArgs FFmpeg = {Context.FFmpeg, "-nostdin"};
  std::string AudioCodec = ValueOf(Args, "-acodec");
  if (AudioCodec != "amr_nb" && AudioCodec != "amr_wb") {
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
