// conversion-bench PROGRAM_DIR SOURCES_DIR [ROUNDS]: times a batch of the files in SOURCES_DIR converted
// by the program (the main window's Convert action: its driver, runner, progress window and output
// parser) against the same encoder command lines run one after the other with plain CreateProcess.
// Both convert with the program folder's encoder "avcore.dll" to AVI with the default profile. Rounds
// alternate which of the two goes first. Writes SOURCES_DIR\bench.txt, one line per run:
//   <round> <driver|loop> <files> <wall ms> <encoder span ms> <mean hand-over ms> <max hand-over ms> <failures>
// The encoder span runs from the first encoder's creation to the last one's exit; a hand-over from one
// encoder's exit to the next one's creation (both as the system records them for the processes).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Forms.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "Prompter.h"
#include "Redirect.h"
#include "globals.h"

namespace {

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double FileTimeMs(const FILETIME& t) {
  ULARGE_INTEGER u;
  u.LowPart = t.dwLowDateTime;
  u.HighPart = t.dwHighDateTime;
  return double(u.QuadPart) / 10000.0;
}

// Creation and exit time of a finished process, in ms of the system clock.
struct TProcessSpan {
  double Created = 0, Exited = 0;
};

TProcessSpan SpanOf(HANDLE process) {
  FILETIME created, exited, kernel, user;
  TProcessSpan span;
  if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
    span.Created = FileTimeMs(created);
    span.Exited = FileTimeMs(exited);
  }
  return span;
}

struct TRunResult {
  int Files = 0, Failures = 0;
  double WallMs = 0;
  std::vector<TProcessSpan> Spans;
};

// The main window, which also keeps a copy of each encoder's process handle and command line (taken
// on its first output, while the runner still holds the process), so that the run can be measured.
class TBenchMain : public TfrmMain {
public:
  explicit TBenchMain(TComponent* owner) : TfrmMain(owner) {}
  std::vector<HANDLE> Processes;
  std::vector<std::string> CommandLines;

  void CreateProgress(const std::string& caption, const std::string& stopWhenDoneText) override {
    TfrmMain::CreateProgress(caption, stopWhenDoneText);
    // The driver has set the runner's events by now; watch them without changing what they do.
    TRedirector* runner = Redirector();
    for (TDataEvent* event : {&runner->OnData, &runner->OnErrorData}) {
      TDataEvent inner = *event;
      *event = [this, inner](TRedirector* sender, const char* buffer, DWORD size) {
        Watch(sender);
        if (inner) inner(sender, buffer, size);
      };
    }
  }

private:
  void Watch(TRedirector* runner) {
    const DWORD id = runner->ProcessInfo().dwProcessId;
    if (!runner->Active() || id == lastId_) return;
    lastId_ = id;
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), runner->GetProcessHandle(), GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    Processes.push_back(copy);
    CommandLines.push_back(runner->GetCommandLine());
  }
  DWORD lastId_ = 0;
};

void DeleteOutputs(const std::string& folder) {
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return;
  do
    if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + d.cFileName).c_str());
  while (FindNextFileA(h, &d));
  FindClose(h);
}

TRunResult RunThroughProgram(TBenchMain* form, const std::vector<std::string>& sources, const std::string& outDir,
                             std::vector<std::string>& commandLines) {
  DeleteOutputs(outDir);
  form->AddFiles(sources);
  form->Processes.clear();
  form->CommandLines.clear();
  TRunResult result;
  result.Files = form->lsvFileName->Count();
  const double start = NowMs();
  form->actConvert->Execute();
  result.WallMs = NowMs() - start;
  result.Failures = form->lsvFileName->Count() + (int(form->Processes.size()) == result.Files ? 0 : 1000);
  for (HANDLE p : form->Processes) {
    result.Spans.push_back(SpanOf(p));
    CloseHandle(p);
  }
  commandLines = form->CommandLines;
  form->ClearFileList();
  return result;
}

TRunResult RunInLoop(const std::vector<std::string>& commandLines, const std::string& outDir, DWORD priorityClass) {
  DeleteOutputs(outDir);
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE null = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                            OPEN_EXISTING, 0, nullptr);
  TRunResult result;
  result.Files = int(commandLines.size());
  const double start = NowMs();
  for (const std::string& line : commandLines) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = si.hStdOutput = si.hStdError = null;
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, priorityClass | CREATE_DEFAULT_ERROR_MODE,
                        nullptr, nullptr, &si, &pi)) {
      ++result.Failures;
      continue;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    if (code != 0) ++result.Failures;
    result.Spans.push_back(SpanOf(pi.hProcess));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  result.WallMs = NowMs() - start;
  CloseHandle(null);
  return result;
}

void Report(FILE* out, int round, const char* kind, const TRunResult& r) {
  double span = 0, sum = 0, worst = 0;
  int handOvers = 0;
  if (!r.Spans.empty()) span = r.Spans.back().Exited - r.Spans.front().Created;
  for (size_t i = 1; i < r.Spans.size(); ++i) {
    const double gap = r.Spans[i].Created - r.Spans[i - 1].Exited;
    sum += gap;
    worst = std::max(worst, gap);
    ++handOvers;
  }
  std::fprintf(out, "%d %s %d %.1f %.1f %.1f %.1f %d\n", round, kind, r.Files, r.WallMs, span,
               handOvers ? sum / handOvers : 0.0, worst, r.Failures);
  std::fflush(out);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  std::string programDir = __argv[1], sourcesDir = __argv[2];
  const int rounds = __argc > 3 ? std::max(1, atoi(__argv[3])) : 3;
  if (programDir.back() != '\\') programDir += '\\';
  if (sourcesDir.back() != '\\') sourcesDir += '\\';

  // A program folder of its own with the program's language file and encoder, so that the build's
  // program folder gets no options file or profile folders.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string home = std::string(temp) + "orv-conversion-bench\\";
  const std::string outDir = home + "out\\";
  CreateDirectoryA(home.c_str(), nullptr);
  CreateDirectoryA((home + "langs").c_str(), nullptr);
  CreateDirectoryA(outDir.c_str(), nullptr);
  CopyFileA((programDir + "langs\\English.ini").c_str(), (home + "langs\\English.ini").c_str(), FALSE);
  CopyFileA((programDir + "avcore.dll").c_str(), (home + "avcore.dll").c_str(), FALSE);

  Application->Initialize();
  InitGlobals(home);
  if (!ReadLanguageFile() || !LoadMediaInfoDll(programDir)) return 3;
  std::vector<std::string> sources;
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((sourcesDir + "*.avi").c_str(), &d);
  if (h != INVALID_HANDLE_VALUE) {
    do sources.push_back(sourcesDir + d.cFileName);
    while (FindNextFileA(h, &d));
    FindClose(h);
  }
  std::sort(sources.begin(), sources.end());
  TRecordingPrompter prompter;  // nothing should be asked; if something is, it must not wait for a person
  SetPrompter(&prompter);

  auto* form = new TBenchMain(Application);
  form->Show();
  form->FormatAction(0)->Execute();  // AVI, default profile
  form->txtOutputDir->SetText(outDir);
  static const DWORD PriorityClasses[] = {IDLE_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS,
                                          REALTIME_PRIORITY_CLASS};
  const DWORD priorityClass = Options.Priority < 4 ? PriorityClasses[Options.Priority] : IDLE_PRIORITY_CLASS;

  FILE* out = std::fopen((sourcesDir + "bench.txt").c_str(), "w");
  if (!out) return 4;
  // The program's run comes first in the first round, since the loop repeats its command lines.
  std::vector<std::string> commandLines;
  for (int round = 1; round <= rounds; ++round) {
    if (round % 2 == 1 || commandLines.empty()) {
      Report(out, round, "driver", RunThroughProgram(form, sources, outDir, commandLines));
      Report(out, round, "loop", RunInLoop(commandLines, outDir, priorityClass));
    } else {
      Report(out, round, "loop", RunInLoop(commandLines, outDir, priorityClass));
      Report(out, round, "driver", RunThroughProgram(form, sources, outDir, commandLines));
    }
  }
  std::fprintf(out, "prompts %d\n", int(prompter.Prompts.size()));
  std::fclose(out);
  form->Free();
  DeleteOutputs(outDir);
  return 0;
}
