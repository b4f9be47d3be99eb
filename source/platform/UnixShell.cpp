#include "UnixShell.h"

#include <windows.h>

#include <vector>

namespace {

typedef char*(CDECL* TGetUnixFileName)(LPCWSTR);
typedef WCHAR*(CDECL* TGetDosFileName)(const char*);

// Wine's own exports of kernel32; absent on Windows.
void* WineFunction(const char* Name) {
  HMODULE Kernel = GetModuleHandleA("kernel32.dll");
  return Kernel ? reinterpret_cast<void*>(GetProcAddress(Kernel, Name)) : nullptr;
}

std::wstring Wide(const std::string& Text) {
  int Length = MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, nullptr, 0);
  std::wstring Result(Length > 0 ? Length : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, &Result[0], Length);
  Result.resize(Length > 0 ? Length - 1 : 0);
  return Result;
}

std::string Ansi(const WCHAR* Text) {
  int Length = WideCharToMultiByte(CP_ACP, 0, Text, -1, nullptr, 0, nullptr, nullptr);
  std::string Result(Length > 0 ? Length : 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, Text, -1, &Result[0], Length, nullptr, nullptr);
  Result.resize(Length > 0 ? Length - 1 : 0);
  return Result;
}

bool FileExists(const std::string& Path) {
  DWORD Attributes = GetFileAttributesA(Path.c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string UnixPathOf(const std::string& WindowsPath) {
  char Full[MAX_PATH * 2];
  DWORD Length = GetFullPathNameA(WindowsPath.c_str(), sizeof Full, Full, nullptr);
  std::string Path = (Length > 0 && Length < sizeof Full) ? std::string(Full, Length) : WindowsPath;
  auto GetUnixFileName = reinterpret_cast<TGetUnixFileName>(WineFunction("wine_get_unix_file_name"));
  if (GetUnixFileName) {
    if (char* Unix = GetUnixFileName(Wide(Path).c_str())) {
      std::string Result(Unix);
      HeapFree(GetProcessHeap(), 0, Unix);
      return Result;
    }
  }
  // Wine maps the drive Z: to the Linux root; this also covers paths whose folder does not exist yet.
  if (Path.size() >= 3 && (Path[0] == 'Z' || Path[0] == 'z') && Path[1] == ':' && Path[2] == '\\') {
    std::string Result = Path.substr(2);
    for (char& C : Result)
      if (C == '\\') C = '/';
    return Result;
  }
  return std::string();
}

std::string WindowsPathOf(const std::string& UnixPath) {
  auto GetDosFileName = reinterpret_cast<TGetDosFileName>(WineFunction("wine_get_dos_file_name"));
  if (GetDosFileName) {
    if (WCHAR* Dos = GetDosFileName(UnixPath.c_str())) {
      std::string Result = Ansi(Dos);
      HeapFree(GetProcessHeap(), 0, Dos);
      return Result;
    }
  }
  if (UnixPath.empty() || UnixPath[0] != '/') return std::string();
  std::string Result = "Z:" + UnixPath;
  for (char& C : Result)
    if (C == '/') C = '\\';
  return Result;
}

std::string ShellQuote(const std::string& Text) {
  std::string Result = "'";
  for (char C : Text) {
    if (C == '\'')
      Result += "'\\''";
    else
      Result += C;
  }
  return Result + "'";
}

bool StartUnixScript(const std::string& ScriptUnixPath, bool NewSession) {
  std::string CommandLine = std::string(NewSession ? "/usr/bin/setsid " : "") + "/bin/sh \"" + ScriptUnixPath + "\"";
  std::vector<char> Line(CommandLine.begin(), CommandLine.end());
  Line.push_back('\0');
  STARTUPINFOA Startup = {};
  Startup.cb = sizeof Startup;
  PROCESS_INFORMATION Info = {};
  if (!CreateProcessA(nullptr, Line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &Startup,
                      &Info))
    return false;
  // For a Linux program Wine reports success but fills Info with leftovers (no process id, and an
  // "hThread" such as 0x15 that names one of OUR handles). Closing that would close an unrelated handle
  // of this process (a thread, a pipe, standard error), so only handles that really belong to the
  // started process are closed.
  if (Info.dwProcessId != 0 && Info.hProcess && GetProcessId(Info.hProcess) == Info.dwProcessId) {
    CloseHandle(Info.hProcess);
    if (Info.hThread && GetThreadId(Info.hThread) == Info.dwThreadId) CloseHandle(Info.hThread);
  }
  return true;
}

std::string MakeScratchFolder(const std::string& Prefix) {
  char Temp[MAX_PATH];
  DWORD Length = GetTempPathA(MAX_PATH, Temp);
  std::string Base = (Length > 0 && Length < MAX_PATH) ? std::string(Temp, Length) : std::string("C:\\");
  if (Base.back() != '\\') Base += '\\';
  static unsigned Counter = 0;
  for (int Attempt = 0; Attempt < 1000; ++Attempt) {
    std::string Folder = Base + Prefix + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(GetTickCount()) + "-" + std::to_string(++Counter);
    if (CreateDirectoryA(Folder.c_str(), nullptr)) return Folder + "\\";
  }
  return std::string();
}

void RemoveScratchFolder(const std::string& Folder) {
  if (Folder.empty()) return;
  WIN32_FIND_DATAA Found;
  HANDLE Find = FindFirstFileA((Folder + "*").c_str(), &Found);
  if (Find != INVALID_HANDLE_VALUE) {
    do {
      if (!(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((Folder + Found.cFileName).c_str());
    } while (FindNextFileA(Find, &Found));
    FindClose(Find);
  }
  RemoveDirectoryA(Folder.c_str());
}

std::string ReadWholeFile(const std::string& Path) {
  HANDLE File = CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (File == INVALID_HANDLE_VALUE) return std::string();
  std::string Data;
  char Buffer[65536];
  DWORD Read = 0;
  while (ReadFile(File, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0) Data.append(Buffer, Read);
  CloseHandle(File);
  return Data;
}

bool WriteWholeFile(const std::string& Path, const std::string& Data) {
  HANDLE File = CreateFileA(Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (File == INVALID_HANDLE_VALUE) return false;
  DWORD Written = 0;
  bool Ok = Data.empty() || (WriteFile(File, Data.data(), static_cast<DWORD>(Data.size()), &Written, nullptr) &&
                             Written == Data.size());
  CloseHandle(File);
  return Ok;
}

TUnixCommandResult RunUnixCommand(const std::string& ShellCommand, unsigned TimeoutMs) {
  TUnixCommandResult Result;
  std::string Folder = MakeScratchFolder("orv-sh-");
  std::string UnixFolder = Folder.empty() ? std::string() : UnixPathOf(Folder + "run.sh");
  if (UnixFolder.empty()) {
    RemoveScratchFolder(Folder);
    Result.Output = "(no scratch folder that Linux programs can reach)";
    return Result;
  }
  UnixFolder.erase(UnixFolder.size() - 6);  // without "run.sh", with the slash
  // The shell lets go of the standard handles it was given (they may be a test runner's pipes), and
  // the command is ended shortly after our wait gives up, so nothing outlives the call for long.
  unsigned LimitSeconds = TimeoutMs / 1000 + 1;
  std::string Script = "exec </dev/null >/dev/null 2>&1\n"
                       "timeout -k 5 " + std::to_string(LimitSeconds) + " /bin/sh -c " + ShellQuote(ShellCommand) +
                       " >" + ShellQuote(UnixFolder + "out") + " 2>&1\n" +
                       "echo $? >" + ShellQuote(UnixFolder + "exit.tmp") + "\n" + "mv " +
                       ShellQuote(UnixFolder + "exit.tmp") + " " + ShellQuote(UnixFolder + "exit") + "\n";
  if (!WriteWholeFile(Folder + "run.sh", Script) || !StartUnixScript(UnixFolder + "run.sh")) {
    Result.Output = "(/bin/sh could not be started)";
  } else {
    DWORD Start = GetTickCount();
    while (!FileExists(Folder + "exit") && GetTickCount() - Start < TimeoutMs) Sleep(20);
    std::string Exit = ReadWholeFile(Folder + "exit");
    if (!Exit.empty()) {
      Result.Finished = true;
      Result.ExitCode = atoi(Exit.c_str());
      Result.Output = ReadWholeFile(Folder + "out");
    } else {
      Result.Output = "(the command gave no exit code within " + std::to_string(TimeoutMs / 1000) +
                      " s; its output so far: " + ReadWholeFile(Folder + "out") + ")";
    }
  }
  RemoveScratchFolder(Folder);
  return Result;
}
