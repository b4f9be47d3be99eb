// The program itself, started as a user starts it, in a program folder where its options cannot be
// written: it says so, then shows its main window and stays up until it is closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "AppTestKit.h"
#include "FileUtils.h"
#include "ProfileLists.h"
#include "Screenshot.h"
#include "TempDir.h"

namespace {

using namespace apptest;

// Far above any normal start, also where the program runs several times slower: only a guard against
// a test that would otherwise wait for ever.
const DWORD GuardMs = 300000;

struct TWindowSearch {
  DWORD ProcessId;
  const char* ClassName;
  HWND Found = nullptr;
};

BOOL CALLBACK FindVisibleWindow(HWND wnd, LPARAM lp) {
  auto* search = reinterpret_cast<TWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  char cls[64] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  if (pid == search->ProcessId && IsWindowVisible(wnd) && lstrcmpiA(cls, search->ClassName) == 0) {
    search->Found = wnd;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of the process with the class name; null when the process ends first.
HWND WaitForWindow(const PROCESS_INFORMATION& process, const char* className) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < GuardMs) {
    TWindowSearch search{process.dwProcessId, className};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (search.Found) return search.Found;
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

// The texts of a dialog's controls, one per line.
std::string ControlTexts(HWND dialog) {
  std::string texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char text[1024] = "";
    GetWindowTextA(child, text, sizeof text);
    texts += std::string(text) + "\n";
  }
  return texts;
}

void CopyFolderFiles(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((from + "*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return;
  do
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      CopyFileA((from + data.cFileName).c_str(), (to + data.cFileName).c_str(), FALSE);
  while (FindNextFileA(h, &data));
  FindClose(h);
}

}  // namespace

// An installed program (its language file, pictures and profile folders in place) in a folder where
// "options.ini" cannot be written: a folder stands where the file should be, which stops the write also
// where the system would let an administrator write anything.
TEST(ProgramStart, AFolderWhereTheOptionsCannotBeWrittenShowsTheErrorThenTheMainWindow) {
  TempDir dir;
  const std::string program = ORV_PROGRAM_DIR;
  ASSERT_TRUE(CopyFileA((program + "Orvane.exe").c_str(), (dir / "Orvane.exe").c_str(), FALSE));
  CopyFolderFiles(program + "langs\\", dir / "langs\\");
  CopyFolderFiles(program + "skins\\", dir / "skins\\");
  ASSERT_TRUE(Exists(dir / "langs\\English.ini"));
  for (const TProfileFolder& f : ProfileFolders())
    ASSERT_TRUE(ForceDirectories(dir / (std::string("langs\\English_Profile\\") + f.ShortName)));
  ASSERT_TRUE(CreateDirectoryA((dir / "options.ini").c_str(), nullptr));

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + dir / "Orvane.exe" + "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi));

  // First the error, from the main window's creation.
  HWND message = WaitForWindow(pi, "#32770");
  DWORD exitCode = 0;
  ASSERT_NE(message, nullptr) << "the program ended first, exit code "
                              << (GetExitCodeProcess(pi.hProcess, &exitCode) ? exitCode : DWORD(-1));
  const std::string texts = ControlTexts(message);
  EXPECT_NE(texts.find("Unable to write to " + dir / "options.ini"), std::string::npos) << texts;
  SaveScreenshot(message, std::string(ORV_BUILD_DIR) + "startup_unwritable_message.bmp");
  PostMessageA(message, WM_COMMAND, IDOK, 0);

  // Then the main window, which takes input and stays.
  HWND main = WaitForWindow(pi, "TfrmMain");
  ASSERT_NE(main, nullptr) << "the program ended after the message";
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, GuardMs, &answer));
  char caption[32] = "";
  GetWindowTextA(main, caption, sizeof caption);
  EXPECT_EQ(std::string(caption), std::to_string(reinterpret_cast<uintptr_t>(main)));  // set up to the end
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, GuardMs, &answer);
  SaveScreenshot(main, std::string(ORV_BUILD_DIR) + "startup_unwritable_main.bmp");
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), WAIT_TIMEOUT);

  // Closed by the user, it ends normally.
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, GuardMs), WAIT_OBJECT_0);
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}
