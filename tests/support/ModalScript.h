// Steps run inside a modal loop: each from its own timer tick, in order, so a test can drive a window
// shown with ShowModal (and the modal windows it opens in turn) the way a person would.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace etk {

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

}  // namespace etk
