// Helpers of the profile editor tests: extra layouts laid over the embedded ones, a run of steps inside
// a modal loop, and keyboard input to the focused control.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "EditorTexts.h"
#include "Forms.h"
#include "Layout.h"
#include "Resources.h"

namespace etk {

// Layouts given by the test win over the embedded files of the same name while the object lives.
class TLayoutOverlay {
public:
  explicit TLayoutOverlay(std::map<std::string, std::string> files) : FFiles(std::move(files)) {
    SetLayoutSource([this](const std::string& name) {
      auto it = FFiles.find(name);
      if (it == FFiles.end()) return EmbeddedFileBytes(name);
      return std::vector<uint8_t>(it->second.begin(), it->second.end());
    });
  }
  ~TLayoutOverlay() { SetLayoutSource(nullptr); }

private:
  std::map<std::string, std::string> FFiles;
};

// Runs the steps one after another from timers while a modal loop runs; a guard closes the active
// window if the modal loop is still running much later, so a failing test cannot hang.
class TModalScript {
public:
  explicit TModalScript(std::vector<std::function<void()>> steps) : FSteps(std::move(steps)) {
    Current() = this;
    SetTimer(nullptr, 0, 50, &TModalScript::StepTimer);
    FGuard = SetTimer(nullptr, 0, 30000, &TModalScript::GuardTimer);
  }
  ~TModalScript() {
    KillTimer(nullptr, FGuard);
    Current() = nullptr;
  }
  size_t StepsRun() const { return FNext; }

private:
  static TModalScript*& Current() {
    static TModalScript* current = nullptr;
    return current;
  }
  static void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    TModalScript* s = Current();
    if (!s || s->FNext >= s->FSteps.size()) return;
    auto step = s->FSteps[s->FNext++];
    step();
    if (Current() == s && s->FNext < s->FSteps.size()) SetTimer(nullptr, 0, 50, &TModalScript::StepTimer);
  }
  static void CALLBACK GuardTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND w = GetActiveWindow()) PostMessageA(w, WM_CLOSE, 0, 0);
  }
  std::vector<std::function<void()>> FSteps;
  size_t FNext = 0;
  UINT_PTR FGuard = 0;
};

// Types text into the window that has the focus, as the keyboard would (one WM_CHAR per character).
inline void TypeText(HWND target, const std::string& text) {
  for (char c : text) SendMessageA(target, WM_CHAR, WPARAM((unsigned char)c), 1);
}

inline void PressKey(HWND target, WPARAM key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

}  // namespace etk
