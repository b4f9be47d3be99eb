// Starting the encoder program of the program folder the way the process runner does: a console
// program with a hidden window and its standard output and error on one pipe.
#pragma once

#include "UnixShell.h"

#include <windows.h>

#include <string>
#include <vector>

class TEncoderRun {
public:
  TEncoderRun() = default;
  ~TEncoderRun();
  TEncoderRun(const TEncoderRun&) = delete;
  TEncoderRun& operator=(const TEncoderRun&) = delete;

  bool Start(const std::string& CommandLine);
  // Reads what is there without waiting; true while the pipe is open.
  bool Poll();
  // Reads until the encoder ends (at most TimeoutMs); its exit code, or -1.
  int Wait(unsigned TimeoutMs);
  void Terminate() { TerminateProcess(FProcess, 0); }
  const std::string& Output() const { return FOutput; }

private:
  HANDLE FProcess = nullptr;
  HANDLE FRead = nullptr;
  std::string FOutput;
};

// The encoder of the program folder as the conversion driver starts it: full path, access code,
// quoted input, options, quoted output.
inline std::string EncoderCommandLine(const std::string& Input, const std::string& Options, const std::string& Output) {
  std::string Program = std::string(ORV_PROGRAM_DIR) + "avcore.dll";
  for (char& C : Program)
    if (C == '/') C = '\\';
  return Program + " -p 4730615 -i \"" + Input + "\" " + Options + " \"" + Output + "\"";
}

// The whole run: start, wait, exit code and output.
int RunEncoder(const std::string& CommandLine, std::string& Output, unsigned TimeoutMs = 300000);

inline TEncoderRun::~TEncoderRun() {
  if (FRead) CloseHandle(FRead);
  if (FProcess) CloseHandle(FProcess);
}

inline bool TEncoderRun::Start(const std::string& CommandLine) {
  SECURITY_ATTRIBUTES Inherit = {sizeof Inherit, nullptr, TRUE};
  HANDLE Write = nullptr;
  if (!CreatePipe(&FRead, &Write, &Inherit, 0)) return false;
  SetHandleInformation(FRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE NulIn = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &Inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA Startup = {};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  Startup.wShowWindow = SW_HIDE;
  Startup.hStdInput = NulIn;
  Startup.hStdOutput = Write;
  Startup.hStdError = Write;
  PROCESS_INFORMATION Info = {};
  std::vector<char> Line(CommandLine.begin(), CommandLine.end());
  Line.push_back('\0');
  BOOL Ok = CreateProcessA(nullptr, Line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                           &Startup, &Info);
  CloseHandle(Write);
  CloseHandle(NulIn);
  if (!Ok) return false;
  CloseHandle(Info.hThread);
  FProcess = Info.hProcess;
  return true;
}

inline bool TEncoderRun::Poll() {
  DWORD Available = 0;
  if (!PeekNamedPipe(FRead, nullptr, 0, nullptr, &Available, nullptr)) return false;
  while (Available > 0) {
    char Buffer[4096];
    DWORD Read = 0;
    if (!ReadFile(FRead, Buffer, Available < sizeof Buffer ? Available : sizeof Buffer, &Read, nullptr) || !Read)
      return false;
    FOutput.append(Buffer, Read);
    Available -= Read;
  }
  return true;
}

inline int TEncoderRun::Wait(unsigned TimeoutMs) {
  DWORD Start = GetTickCount();
  while (GetTickCount() - Start < TimeoutMs) {
    bool Open = Poll();
    if (WaitForSingleObject(FProcess, Open ? 50 : 0) == WAIT_OBJECT_0) {
      Poll();  // what the encoder wrote before it ended
      DWORD Code = 0;
      GetExitCodeProcess(FProcess, &Code);
      return static_cast<int>(Code);
    }
    if (!Open) Sleep(50);
  }
  return -1;
}

inline int RunEncoder(const std::string& CommandLine, std::string& Output, unsigned TimeoutMs) {
  TEncoderRun Run;
  if (!Run.Start(CommandLine)) return -1;
  int Code = Run.Wait(TimeoutMs);
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
  return "make-clip.sh failed (" + std::to_string(Run.ExitCode) + "): " + Run.Output;
}

// What Debian's mediainfo says about File for an --Inform template such as "General;%Format%".
inline std::string MediainfoSays(const std::string& File, const std::string& Template) {
  TUnixCommandResult Run = RunUnixCommand("mediainfo " + ShellQuote("--Inform=" + Template) + " " +
                                          ShellQuote(UnixPathOf(File)) + " | tr -d '\\r\\n'");
  return Run.Finished ? Run.Output : std::string("(mediainfo did not run)");
}
