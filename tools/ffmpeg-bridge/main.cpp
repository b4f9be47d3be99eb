// avcore: the encoder program that Orvane starts, for running under Wine on Linux. It takes the
// encoder command line the program builds, runs Debian's ffmpeg (and the AMR encoder) with it through
// /bin/sh, relays ffmpeg's console output to its own standard error as it grows, and exits with
// ffmpeg's exit code. Wine gives a Linux program neither our pipes nor a process handle, so output
// and exit code come through files, and a fifo that this process holds open tells the script's
// watchdog when this process is gone (also when it is terminated), which then stops ffmpeg.
#include "BridgeCommand.h"
#include "UnixShell.h"

#include <windows.h>

#include <string>

namespace {

void WriteError(const std::string& Text) {
  DWORD Written = 0;
  HANDLE Err = GetStdHandle(STD_ERROR_HANDLE);
  if (Err && Err != INVALID_HANDLE_VALUE && !Text.empty())
    WriteFile(Err, Text.data(), static_cast<DWORD>(Text.size()), &Written, nullptr);
}

bool FileExists(const std::string& Path) { return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ModuleFolder() {
  char Path[MAX_PATH];
  DWORD Length = GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Result(Path, Length);
  return Result.substr(0, Result.find_last_of('\\') + 1);
}

bool LooksLikeWindowsPath(const std::string& Arg) {
  return (Arg.size() >= 2 && Arg[1] == ':') || Arg.find('\\') != std::string::npos;
}

// Reads what was appended to a file since Offset.
std::string ReadFrom(const std::string& Path, LONGLONG& Offset) {
  HANDLE File = CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (File == INVALID_HANDLE_VALUE) return std::string();
  std::string Data;
  LARGE_INTEGER Position;
  Position.QuadPart = Offset;
  if (SetFilePointerEx(File, Position, nullptr, FILE_BEGIN)) {
    char Buffer[16384];
    DWORD Read = 0;
    while (ReadFile(File, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0) Data.append(Buffer, Read);
  }
  CloseHandle(File);
  Offset += static_cast<LONGLONG>(Data.size());
  return Data;
}

// How long the conversion script may take to open its end of the fifo.
const DWORD FifoOpenLimitMs = 20000;

struct TFifoOpening {
  std::string Work;
  HANDLE Handle = INVALID_HANDLE_VALUE;
};

DWORD WINAPI OpenAliveFifo(void* Parameter) {
  TFifoOpening& Opening = *static_cast<TFifoOpening*>(Parameter);
  for (int Try = 0; Try < 400 && Opening.Handle == INVALID_HANDLE_VALUE; ++Try) {
    if (FileExists(Opening.Work + "exit")) break;  // the script gave up at once
    // (Wine reports no attributes for a fifo: just try to open it.)
    Opening.Handle = CreateFileA((Opening.Work + "alive").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (Opening.Handle == INVALID_HANDLE_VALUE) Sleep(25);
  }
  return 0;
}

// Whether the script's shell (process id in Work/pid) still runs; a dead child of this process
// stays a zombie ("Z") until this process ends.
bool ScriptAlive(const std::string& Work) {
  std::string Pid = ReadWholeFile(Work + "pid");
  while (!Pid.empty() && (Pid.back() == '\n' || Pid.back() == '\r')) Pid.pop_back();
  if (Pid.empty()) return true;  // written before the fifo: cannot be missing here
  std::string Stat = ReadWholeFile(WindowsPathOf("/proc/" + Pid + "/stat"));
  size_t End = Stat.rfind(") ");
  return End != std::string::npos && End + 2 < Stat.size() && Stat[End + 2] != 'Z' && Stat[End + 2] != 'X';
}

std::string EnvOr(const char* Name, const std::string& Default) {
  char Value[MAX_PATH];
  DWORD Length = GetEnvironmentVariableA(Name, Value, sizeof Value);
  return (Length > 0 && Length < sizeof Value) ? std::string(Value, Length) : Default;
}

}  // namespace

int main() {
  TArgs Args = SplitCommandLine(GetCommandLineA());
  if (!Args.empty()) Args.erase(Args.begin());  // the program itself
  Args = TranslateOptions(Args);
  size_t InputIndex = 0;
  for (size_t I = 0; I + 1 < Args.size() && !InputIndex; ++I)
    if (Args[I] == "-i") InputIndex = I + 1;

  // The program's DirectShow script stands for its source: ffmpeg gets the source itself. A script
  // may name another script (a script source); any script not of the template's form ends the run.
  for (int Depth = 0; InputIndex && IsScriptFile(Args[InputIndex]); ++Depth) {
    const std::string Script = Args[InputIndex];
    std::string Source = Depth < 4 ? DirectShowScriptSource(ReadWholeFile(Script)) : std::string();
    if (Source.empty()) {
      WriteError("avcore: \"" + Script + "\" is not the program's DirectShow script (one statement "
                 "DirectShowSource(\"source file\")). ffmpeg reads no scripts, so this file cannot be converted; "
                 "the source is kept.\n");
      return 1;
    }
    WriteError("avcore: the DirectShow script names \"" + Source + "\": ffmpeg reads that file itself.\n");
    Args[InputIndex] = Source;
  }

  // Windows paths (input, output) become Linux paths for ffmpeg; its console lines get the Windows
  // paths back, so the program sees the names it gave.
  std::vector<std::pair<std::string, std::string>> PathsBack;
  std::string OutputWindows;
  for (size_t I = 0; I < Args.size(); ++I) {
    bool IsInput = I > 0 && Args[I - 1] == "-i";
    bool IsOutput = I + 1 == Args.size() && !Args[I].empty() && Args[I][0] != '-' && !IsInput;
    if (!(IsInput || IsOutput) || !LooksLikeWindowsPath(Args[I])) continue;
    std::string Unix = UnixPathOf(Args[I]);
    if (Unix.empty()) {
      WriteError("avcore: cannot map the path \"" + Args[I] + "\" to a Linux path.\n");
      return 1;
    }
    PathsBack.emplace_back(Unix, Args[I]);
    if (IsOutput) OutputWindows = Args[I];
    Args[I] = Unix;
  }

  // Values the encoder would refuse move to the nearest it takes; those left to the source are
  // looked up in the source first.
  TSourceInfo Source;
  if (InputIndex && NeedsSourceInfo(Args)) {
    TUnixCommandResult Probe = RunUnixCommand(ProbeCommand(EnvOr("ORV_FFPROBE", "ffprobe"), Args[InputIndex]), 60000);
    if (Probe.Finished && Probe.ExitCode == 0) Source = ParseProbeOutput(Probe.Output);
  }
  for (const std::string& Note : FitToEncoders(Args, Source)) WriteError("avcore: " + Note + "\n");

  std::string Work = MakeScratchFolder("avcore-");
  std::string WorkUnix = Work.empty() ? std::string() : UnixPathOf(Work + "run.sh");
  if (WorkUnix.empty()) {
    WriteError("avcore: cannot create a work folder that Linux programs can reach.\n");
    RemoveScratchFolder(Work);
    return 1;
  }
  WorkUnix.erase(WorkUnix.size() - 6);  // "run.sh"
  // Intermediate files of the AMR route stand for the output in ffmpeg's lines.
  if (!OutputWindows.empty()) {
    PathsBack.emplace_back(WorkUnix + "audio.pcm", OutputWindows);
    PathsBack.emplace_back(WorkUnix + "audio.amr", OutputWindows);
  }

  TPlanContext Context;
  Context.FFmpeg = EnvOr("ORV_FFMPEG", "ffmpeg");
  Context.AmrEncoder = UnixPathOf(ModuleFolder() + "orvane-amrenc");
  Context.WorkDir = WorkUnix;
  TBridgePlan Plan = PlanRun(Args, Context, Source);
  if (!Plan.Error.empty()) {
    WriteError("avcore: " + Plan.Error + "\n");
    RemoveScratchFolder(Work);
    return 1;
  }
  if (!WriteWholeFile(Work + "run.sh", BuildRunScript(Plan, WorkUnix)) || !StartUnixScript(WorkUnix + "run.sh", true)) {
    WriteError("avcore: cannot start /bin/sh.\n");
    RemoveScratchFolder(Work);
    return 1;
  }

  // Hold the fifo's writing end for as long as this process lives, then let the script go on.
  // Opening a fifo waits for its reader, so the opening runs on a thread of its own and this one
  // gives up after a time limit (the script ends itself when no "go" comes).
  TFifoOpening Opening{Work};
  HANDLE Opener = CreateThread(nullptr, 0, OpenAliveFifo, &Opening, 0, nullptr);
  bool Opened = Opener && WaitForSingleObject(Opener, FifoOpenLimitMs) == WAIT_OBJECT_0 &&
                Opening.Handle != INVALID_HANDLE_VALUE;
  if (!Opened) {
    WriteError(ReadWholeFile(Work + "log") + "avcore: the conversion script did not start within " +
               std::to_string(FifoOpenLimitMs / 1000) + " s.\n");
    ExitProcess(1);  // also ends an opener still waiting for the fifo
  }
  CloseHandle(Opener);
  HANDLE Alive = Opening.Handle;
  WriteWholeFile(Work + "go", "");

  TOutputTranslator Translator(PathsBack);
  LONGLONG Offset = 0;
  bool ScriptLost = false;
  for (unsigned Round = 1;; ++Round) {
    bool Done = FileExists(Work + "exit");
    WriteError(Translator.Feed(ReadFrom(Work + "log", Offset)));
    if (Done) break;
    // A conversion may run for hours, so there is no time limit here; but when the script is gone
    // (killed) without an exit code, waiting on would never end.
    if (Round % 20 == 0 && !ScriptAlive(Work)) {
      Sleep(200);  // the exit code may just be on its way
      if (FileExists(Work + "exit")) continue;
      ScriptLost = true;
      break;
    }
    Sleep(50);
  }
  WriteError(Translator.Flush());
  if (ScriptLost) {
    WriteError("avcore: the conversion script ended without an exit code.\n");
    CloseHandle(Alive);
    RemoveScratchFolder(Work);
    return 1;
  }
  int ExitCode = atoi(ReadWholeFile(Work + "exit").c_str());
  // Closing the fifo lets the watchdog end and remove the work folder.
  CloseHandle(Alive);
  return ExitCode;
}
