// Helpers of the app tests: fixture files, a program folder that starts in English, and a step run
// from inside the next modal window's message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "MultiLanguages.h"
#include "TempDir.h"
#include "globals.h"

namespace apptest {

// A file of tests/app/data.
inline std::string DataFile(const std::string& name) {
  std::string dir = ORV_TEST_DATA_DIR;
  while (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  return dir + "\\" + name;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Copies the English language file of the fixtures into `dir`\langs.
inline void AddEnglishLanguage(const TempDir& dir) {
  CreateDirectoryA((dir / "langs").c_str(), nullptr);
  CopyFileA(DataFile("first_start_English.ini").c_str(), (dir / "langs\\English.ini").c_str(), FALSE);
}

// `dir` becomes the program folder with English texts and default options; false when the language
// file cannot be read.
inline bool StartProgramFolderInEnglish(const TempDir& dir) {
  AddEnglishLanguage(dir);
  ResetLanguageTexts();
  Options = TOptions();
  InitGlobals(dir.Path());
  return ReadLanguageFile();
}

namespace detail {
inline std::function<void()>& PendingStep() {
  static std::function<void()> step;
  return step;
}
inline void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (PendingStep()) PendingStep()();
}
inline void CALLBACK GuardTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (HWND w = GetActiveWindow()) PostMessageA(w, WM_CLOSE, 0, 0);
}
}  // namespace detail

// `step` runs from a timer inside the next modal loop; a later guard timer closes whatever window is
// still active, so that a failing test cannot hang (a guard, far above any normal run).
inline void WhileModal(std::function<void()> step, UINT guardMs = 30000) {
  detail::PendingStep() = std::move(step);
  SetTimer(nullptr, 0, 50, detail::StepTimer);
  SetTimer(nullptr, 0, guardMs, detail::GuardTimer);
}

}  // namespace apptest
