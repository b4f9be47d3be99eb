// Running the encoder program of the program folder the way the conversion driver does: through the
// process runner (TRedirector), with its output and end arriving on this thread while it pumps messages.
#pragma once

#include "PumpMessages.h"
#include "Redirect.h"
#include "UnixShell.h"

#include <windows.h>

#include <string>

class TEncoderRun {
public:
  TEncoderRun() {
    FRunner.SetDefaultErrorMode(true);
    FRunner.KillOnDestroy = true;
    FRunner.OnData = FRunner.OnErrorData = [this](TRedirector*, const char* Buffer, DWORD Size) {
      FOutput.append(Buffer, Size);
    };
    FRunner.OnTerminated = [this](TRedirector*, DWORD ExitCode) {
      FExitCode = static_cast<int>(ExitCode);
      FEnded = true;
    };
  }

  void Start(const std::string& CommandLine) {
    FRunner.SetCommandLine(CommandLine);
    FRunner.Execute();
  }
  // Lets the runner deliver output until Done holds (false when it still fails after SafetyMs).
  bool PumpUntil(const std::function<bool()>& Done, DWORD SafetyMs = SafetyLimitMs) {
    return PumpMessagesUntil(Done, SafetyMs);
  }
  // Waits for the end; the encoder's exit code, or -1 (with the reason added to the output) when it
  // did not end within the safety limit.
  int Wait() {
    if (PumpUntil([this] { return FEnded; })) return FExitCode;
    FOutput += "\n(the encoder did not end within " + std::to_string(SafetyLimitMs / 1000) + " s)\n";
    return -1;
  }
  // The runner's Terminate: kills the encoder program (only that process).
  void Terminate() { FRunner.Terminate(0); }
  const std::string& Output() const { return FOutput; }

private:
  // Far above any run of the test clips, well below the test's own time limit.
  static const DWORD SafetyLimitMs = 120000;
  TRedirector FRunner;
  std::string FOutput;
  int FExitCode = -1;
  bool FEnded = false;
};

// The encoder of the program folder as the conversion driver starts it: full path, access code,
// quoted input, options, quoted output, and the driver's two fix-ups of the line.
inline std::string EncoderCommandLine(const std::string& Input, const std::string& Options, const std::string& Output) {
  std::string Program = std::string(ORV_PROGRAM_DIR) + "avcore.dll";
  for (char& C : Program)
    if (C == '/') C = '\\';
  std::string Line = Program + " -p 4730615 -i \"" + Input + "\" " + Options + " \"" + Output + "\"";
  if (Line.find(" -ac 5:1 ") != std::string::npos && Line.find(" -ab ") == std::string::npos)
    Line.replace(Line.find(" -ac "), 5, " -ab 256 -ac ");
  size_t Huff = Line.find(" -vcodec ffvhuff ");
  if (Huff != std::string::npos) Line.replace(Huff, 17, " -vcodec ffvhuff -strict -2 ");
  return Line;
}

// The whole run: start, wait; the exit code and the output.
inline int RunEncoder(const std::string& CommandLine, std::string& Output) {
  TEncoderRun Run;
  Run.Start(CommandLine);
  int Code = Run.Wait();
  Output = Run.Output();
  return Code;
}

// The test data folder's file Name, as a Windows path.
inline std::string TestDataFile(const std::string& Name) {
  std::string Dir = ORV_TEST_DATA_DIR;
  while (!Dir.empty() && (Dir.back() == '/' || Dir.back() == '\\')) Dir.pop_back();
  return Dir + "\\" + Name;
}

// Writes the 3-second test clip with sound (made by Debian's ffmpeg) to Path; empty on success,
// else what went wrong.
inline std::string MakeTestClip(const std::string& Path) {
  TUnixCommandResult Run = RunUnixCommand("sh " + ShellQuote(UnixPathOf(TestDataFile("make-clip.sh"))) + " " +
                                          ShellQuote(UnixPathOf(Path)));
  if (Run.Finished && Run.ExitCode == 0) return std::string();
  if (!Run.Finished) return "make-clip.sh did not run to its end: " + Run.Output;
  return "make-clip.sh failed (" + std::to_string(Run.ExitCode) + "): " + Run.Output;
}

// What Debian's mediainfo says about File for an --Inform template such as "General;%Format%".
inline std::string MediainfoSays(const std::string& File, const std::string& Template) {
  TUnixCommandResult Run = RunUnixCommand("mediainfo " + ShellQuote("--Inform=" + Template) + " " +
                                          ShellQuote(UnixPathOf(File)) + " | tr -d '\\r\\n'");
  return Run.Finished ? Run.Output : "(mediainfo did not run to its end: " + Run.Output + ")";
}
