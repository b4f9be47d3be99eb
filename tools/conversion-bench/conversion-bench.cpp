// conversion-bench PROGRAM_DIR SOURCES_DIR [ROUNDS]: times a batch of the files in SOURCES_DIR converted
// by the program (the main window's Convert action: its driver, runner, progress window and output
// parser) against the same encoder command lines run one after the other with plain CreateProcess.
// Both convert with the program folder's encoder "avcore.dll" to AVI with the default profile. Rounds
// alternate which of the two goes first. Writes SOURCES_DIR\bench.txt, one line per run:
//   <round> <driver|loop> <files> <wall ms> <encoder span ms> <mean hand-over ms> <max hand-over ms>
//   <mean creation gap ms> <failures>
// followed by lines starting with "#" that tell where the program's time went. The encoder span runs
// from the first encoder's creation to the last one's exit (as the system records them for the
// processes); a hand-over from one encoder's exit to the moment the start of the next is begun (the
// loop's CreateProcess call; the driver's start of the next file), a creation gap from the exit to the
// next encoder's recorded creation. The loop's encoders write to NUL; with ORV_BENCH_LOOP_OUTPUT=pipe
// their output is read through a pipe instead, as the program reads it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Forms.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "ProgressWnd.h"
#include "Prompter.h"
#include "Redirect.h"

#include "../BenchClock.h"
#include "globals.h"

namespace {

double FileTimeMs(const FILETIME& t) {
  ULARGE_INTEGER u;
  u.LowPart = t.dwLowDateTime;
  u.HighPart = t.dwHighDateTime;
  return double(u.QuadPart) / 10000.0;
}

// The system clock in ms, on the scale of the process times.
double SystemMs() {
  FILETIME t;
  GetSystemTimePreciseAsFileTime(&t);
  return FileTimeMs(t);
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
  std::vector<double> StartCalls;  // system clock when the start of each encoder was begun
  std::string Notes;  // lines starting with "#": where the time went
};

// The main window, which also keeps a copy of each encoder's process handle and command line (taken
// on its first output, while the runner still holds the process), so that the run can be measured.
class TBenchMain : public TfrmMain {
public:
  explicit TBenchMain(TComponent* owner) : TfrmMain(owner) {}
  std::vector<HANDLE> Processes;
  std::vector<std::string> CommandLines;

  // Time spent in each of the window's parts of a batch, with the system clock (ms) of the first entry
  // and of the last exit, so that the batch's own work can be told from the encoders' runs.
  struct TCost {
    int Calls = 0;
    double Ms = 0, FirstIn = 0, LastOut = 0;
    std::vector<std::pair<double, double>> Each;  // system clock at entry and exit of every call
  };
  std::map<std::string, TCost> Costs;

  void CreateProgress(const std::string& caption, const std::string& stopWhenDoneText) override {
    Timed("CreateProgress", [&] { TfrmMain::CreateProgress(caption, stopWhenDoneText); });
    // The moment the modal loop has seen the end and starts to close the window.
    frmProgress->OnClose = [this](TObject*, TCloseAction&) { Timed("ProgressClosing", [] {}); };
    // The driver has set the runner's events by now; watch them without changing what they do.
    TRedirector* runner = Redirector();
    for (TDataEvent* event : {&runner->OnData, &runner->OnErrorData}) {
      TDataEvent inner = *event;
      *event = [this, inner](TRedirector* sender, const char* buffer, DWORD size) {
        Watch(sender);
        if (inner) Timed("ParseEncoderOutput", [&] { inner(sender, buffer, size); });
      };
    }
    TRedirectorEndEvent end = runner->OnTerminated;
    runner->OnTerminated = [this, end](TRedirector* sender, DWORD code) {
      if (end) Timed("EncoderTerminated", [&] { end(sender, code); });
    };
  }
  // The driver asks for the profile right before it builds a file's command line and starts the
  // encoder: the moment a file's start begins.
  std::string ProfileName(TOutputFormat format) const override {
    if (format == Options.OutputFormat) StartCalls.push_back(SystemMs());
    return TfrmMain::ProfileName(format);
  }
  mutable std::vector<double> StartCalls;

  void UpdateProgress(const TProgressUpdate& update) override {
    Timed("UpdateProgress", [&] { TfrmMain::UpdateProgress(update); });
  }
  void SetTrayHint(const std::string& hint) override {
    Timed("SetTrayHint", [&] { TfrmMain::SetTrayHint(hint); });
  }
  void ShowBalloon(const std::string& title, const std::string& text) override {
    Timed("ShowBalloon", [&] { TfrmMain::ShowBalloon(title, text); });
  }
  void RemoveFile(int index) override {
    Timed("RemoveFile", [&] { TfrmMain::RemoveFile(index); });
  }
  void FinishProgress() override {
    Timed("FinishProgress", [&] { TfrmMain::FinishProgress(); });
  }
  void FreeProgress() override {
    Timed("FreeProgress", [&] { TfrmMain::FreeProgress(); });
  }
  int ShowProgressModal() override {
    int result = 0;
    Timed("ShowProgressModal", [&] { result = TfrmMain::ShowProgressModal(); });
    return result;
  }

private:
  void Timed(const char* name, const std::function<void()>& call) {
    TCost& cost = Costs[name];
    const double in = SystemMs();
    if (!cost.Calls) cost.FirstIn = in;
    ++cost.Calls;
    call();
    cost.LastOut = SystemMs();
    cost.Ms += cost.LastOut - in;
    cost.Each.emplace_back(in, cost.LastOut);
  }
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
  form->Costs.clear();
  form->StartCalls.clear();
  TRunResult result;
  result.Files = form->lsvFileName->Count();
  const double start = NowMs(), systemStart = SystemMs();
  form->actConvert->Execute();
  result.WallMs = NowMs() - start;
  const double systemEnd = SystemMs();
  result.Failures = form->lsvFileName->Count() + (int(form->Processes.size()) == result.Files ? 0 : 1000);
  for (HANDLE p : form->Processes) {
    result.Spans.push_back(SpanOf(p));
    CloseHandle(p);
  }
  commandLines = form->CommandLines;
  result.StartCalls = form->StartCalls;
  char line[256];
  if (!result.Spans.empty()) {
    std::snprintf(line, sizeof line, "# driver: first start begun after %.1f ms, first encoder created after %.1f ms, batch over %.1f ms after the last one exited\n",
                  result.StartCalls.empty() ? 0.0 : result.StartCalls.front() - systemStart,
                  result.Spans.front().Created - systemStart, systemEnd - result.Spans.back().Exited);
    result.Notes += line;
  }
  for (const auto& c : form->Costs) {
    std::snprintf(line, sizeof line, "# driver: %-18s calls %4d, %8.1f ms in all, first at %8.1f ms, last done at %8.1f ms\n",
                  c.first.c_str(), c.second.Calls, c.second.Ms, c.second.FirstIn - systemStart, c.second.LastOut - systemStart);
    result.Notes += line;
  }
  // The hand-over split: from an encoder's exit to the end report on the main thread, and from the end
  // of that report to the next encoder's creation.
  const std::vector<std::pair<double, double>>& ends = form->Costs["EncoderTerminated"].Each;
  double toReport = 0, toNext = 0;
  int n = 0;
  for (size_t i = 0; i + 1 < result.Spans.size() && i < ends.size(); ++i, ++n) {
    toReport += ends[i].first - result.Spans[i].Exited;
    toNext += result.Spans[i + 1].Created - ends[i].second;
  }
  if (n) {
    std::snprintf(line, sizeof line, "# driver: hand-over: %.1f ms from exit to the end report, %.1f ms from there to the next creation (means)\n",
                  toReport / n, toNext / n);
    result.Notes += line;
  }
  form->ClearFileList();
  return result;
}

// With ORV_BENCH_LOOP_OUTPUT=pipe the loop reads each encoder's output through a pipe and throws it
// away, as a runner that shows progress has to read it; by default the encoder writes to NUL.
bool LoopReadsOutput() {
  const char* v = std::getenv("ORV_BENCH_LOOP_OUTPUT");
  return v && std::string(v) == "pipe";
}

DWORD WINAPI DrainPipe(void* pipe) {
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) {
  }
  return 0;
}

TRunResult RunInLoop(const std::vector<std::string>& commandLines, const std::string& outDir, DWORD priorityClass) {
  DeleteOutputs(outDir);
  const bool readOutput = LoopReadsOutput();
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE null = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                            OPEN_EXISTING, 0, nullptr);
  TRunResult result;
  result.Files = int(commandLines.size());
  const double start = NowMs();
  double creating = 0;
  for (const std::string& line : commandLines) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = si.hStdOutput = si.hStdError = null;
    HANDLE outputRead = nullptr, outputWrite = nullptr, drain = nullptr;
    if (readOutput && CreatePipe(&outputRead, &outputWrite, &sa, 0)) {
      SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
      si.hStdOutput = si.hStdError = outputWrite;
      drain = CreateThread(nullptr, 0, DrainPipe, outputRead, 0, nullptr);
    }
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    PROCESS_INFORMATION pi = {};
    const double before = NowMs();
    result.StartCalls.push_back(SystemMs());
    const BOOL created = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE,
                                        priorityClass | CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &si, &pi);
    creating += NowMs() - before;
    if (outputWrite) CloseHandle(outputWrite);  // the pipe ends with the child's copy
    if (created) WaitForSingleObject(pi.hProcess, INFINITE);
    if (drain) {
      WaitForSingleObject(drain, INFINITE);
      CloseHandle(drain);
    }
    if (outputRead) CloseHandle(outputRead);
    if (!created) {
      ++result.Failures;
      continue;
    }
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    if (code != 0) ++result.Failures;
    result.Spans.push_back(SpanOf(pi.hProcess));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  result.WallMs = NowMs() - start;
  CloseHandle(null);
  char note[128];
  std::snprintf(note, sizeof note, "# loop: %.1f ms in all inside CreateProcess; output %s\n", creating,
                readOutput ? "read through a pipe" : "to NUL");
  result.Notes = note;
  return result;
}

// Hand-over: from one encoder's exit to the moment the start of the next is begun (what the caller
// adds between two encoders); creation gap: to the next encoder's creation as the system records it
// (that adds the system's own cost of creating a process, the same for both).
void Report(FILE* out, int round, const char* kind, const TRunResult& r) {
  double span = 0, handOver = 0, worst = 0, creationGap = 0;
  int n = 0;
  if (!r.Spans.empty()) span = r.Spans.back().Exited - r.Spans.front().Created;
  for (size_t i = 1; i < r.Spans.size() && i < r.StartCalls.size(); ++i, ++n) {
    const double gap = r.StartCalls[i] - r.Spans[i - 1].Exited;
    handOver += gap;
    worst = std::max(worst, gap);
    creationGap += r.Spans[i].Created - r.Spans[i - 1].Exited;
  }
  std::fprintf(out, "%d %s %d %.1f %.1f %.1f %.1f %.1f %d\n", round, kind, r.Files, r.WallMs, span,
               n ? handOver / n : 0.0, worst, n ? creationGap / n : 0.0, r.Failures);
  std::fputs(r.Notes.c_str(), out);
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
