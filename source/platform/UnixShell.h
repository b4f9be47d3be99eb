// Running Linux programs from a Windows program under Wine.
//
// Wine starts a Linux program from CreateProcess, but the program gets neither our pipes nor a
// process handle to wait on. So the programs run inside a /bin/sh script whose output goes to files
// and which writes its exit code to a file when it is done.
#pragma once

#include <string>

// The Linux path of a Windows path (made absolute first); empty when Wine knows no mapping.
std::string UnixPathOf(const std::string& WindowsPath);
// The Windows path (through a drive letter) of an absolute Linux path; empty when none.
std::string WindowsPathOf(const std::string& UnixPath);
// Text as one /bin/sh word: 'text' with every ' written as '\''.
std::string ShellQuote(const std::string& Text);

// Starts "/usr/bin/setsid /bin/sh SCRIPT" (NewSession: the script and all it starts form a process
// group of their own that it can stop as a whole) or "/bin/sh SCRIPT". Does not wait.
bool StartUnixScript(const std::string& ScriptUnixPath, bool NewSession = false);

// A fresh, empty folder under the Windows temp folder; its Windows path ends in a backslash.
std::string MakeScratchFolder(const std::string& Prefix);
// Deletes a folder and the files directly in it.
void RemoveScratchFolder(const std::string& Folder);

struct TUnixCommandResult {
  bool Finished = false;   // False: could not start, or no exit code within the time limit
  int ExitCode = -1;
  std::string Output;      // standard output and standard error together; when not Finished, why
};
// Runs ShellCommand with /bin/sh and waits for its exit code (at most TimeoutMs; a command still
// running then is left alone).
TUnixCommandResult RunUnixCommand(const std::string& ShellCommand, unsigned TimeoutMs = 300000);

// Whole file as bytes; empty when it cannot be read. Readers may share it with a writer.
std::string ReadWholeFile(const std::string& Path);
bool WriteWholeFile(const std::string& Path, const std::string& Data);
