// startup-bench PROGRAM MAIN_CLASS SPLASH_CLASS MINIMAL ROUNDS OUT_FILE: starts PROGRAM and MINIMAL (the
// minimal window program) one after the other ROUNDS times, alternating which goes first, and times
// each from the CreateProcess call to the moment its main window (a visible, enabled top-level window
// of class MAIN_CLASS, or the minimal program's class) answers a message sent to it: it then takes
// input. The time a window of class SPLASH_CLASS ("-" for none) is seen on screen is recorded apart, so
// that the splash window's own display time can be left out. Each program is then closed through its
// main window. Writes one line per run to OUT_FILE:
//   <round> <program|minimal> <ready ms> <splash ms> <ready ms without the splash> <exit code>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../BenchClock.h"

namespace {

const char* const MinimalClass = "OrvStartupMinimal";
const DWORD ReadyTimeoutMs = 120000;

// The visible top-level windows of one process with one of two class names.
struct TWindowSearch {
  DWORD ProcessId;
  const char* MainClass;
  const char* SplashClass;
  HWND Main = nullptr;
  bool SplashVisible = false;
};

BOOL CALLBACK FindWindows(HWND wnd, LPARAM lp) {
  auto* search = reinterpret_cast<TWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != search->ProcessId || !IsWindowVisible(wnd)) return TRUE;
  char cls[128] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  if (lstrcmpiA(cls, search->MainClass) == 0 && IsWindowEnabled(wnd)) search->Main = wnd;
  if (search->SplashClass && lstrcmpiA(cls, search->SplashClass) == 0) search->SplashVisible = true;
  return TRUE;
}

struct TStartRun {
  double ReadyMs = -1, SplashMs = 0;
  DWORD ExitCode = DWORD(-1);
};

TStartRun TimeStart(const std::string& exe, const char* mainClass, const char* splashClass) {
  TStartRun run;
  const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + exe + "\"";
  const double start = NowMs();
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return run;
  double splashFrom = -1;
  HWND main = nullptr;
  while (NowMs() - start < ReadyTimeoutMs) {
    TWindowSearch search{pi.dwProcessId, mainClass, splashClass};
    EnumWindows(FindWindows, LPARAM(&search));
    const double now = NowMs();
    if (search.SplashVisible && splashFrom < 0) splashFrom = now;
    if (!search.SplashVisible && splashFrom >= 0) {
      run.SplashMs += now - splashFrom;
      splashFrom = -1;
    }
    DWORD_PTR answer = 0;
    if (search.Main && SendMessageTimeoutA(search.Main, WM_NULL, 0, 0, SMTO_NORMAL, ReadyTimeoutMs, &answer)) {
      run.ReadyMs = NowMs() - start;
      main = search.Main;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;  // it ended without a window
  }
  if (splashFrom >= 0) run.SplashMs += NowMs() - splashFrom;
  if (main) PostMessageA(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
  WaitForSingleObject(pi.hProcess, INFINITE);
  GetExitCodeProcess(pi.hProcess, &run.ExitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

void Report(FILE* out, int round, const char* kind, const TStartRun& r) {
  std::fprintf(out, "%d %s %.1f %.1f %.1f %lu\n", round, kind, r.ReadyMs, r.SplashMs, r.ReadyMs - r.SplashMs,
               (unsigned long)r.ExitCode);
  std::fflush(out);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 7) return 2;
  const std::string program = __argv[1], minimal = __argv[4];
  const char* mainClass = __argv[2];
  const char* splashClass = std::string(__argv[3]) == "-" ? nullptr : __argv[3];
  const int rounds = std::max(1, atoi(__argv[5]));
  FILE* out = std::fopen(__argv[6], "w");
  if (!out) return 4;
  // One start of each first, not counted: the program's first start writes its options and profile
  // folders, and both bring their files into the system's cache.
  TimeStart(program, mainClass, splashClass);
  TimeStart(minimal, MinimalClass, nullptr);
  for (int round = 1; round <= rounds; ++round) {
    if (round % 2) {
      Report(out, round, "program", TimeStart(program, mainClass, splashClass));
      Report(out, round, "minimal", TimeStart(minimal, MinimalClass, nullptr));
    } else {
      Report(out, round, "minimal", TimeStart(minimal, MinimalClass, nullptr));
      Report(out, round, "program", TimeStart(program, mainClass, splashClass));
    }
  }
  std::fclose(out);
  return 0;
}
