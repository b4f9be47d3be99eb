// Helpers for GUI tests that act from inside a modal loop (the progress window's batch, a settings or
// shutdown window): a timer-driven action, finding a window a form owns, and a screenshot to a file.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "Component.h"
#include "Graphics.h"

// Runs an action from inside a modal loop: the condition is polled from the thread's message loop and
// the action runs once it holds. The safety limit only keeps a broken test from hanging: after it
// the fallback runs instead (which must end the modal loop).
class TLoopAction {
public:
  TLoopAction(std::function<bool()> ready, std::function<void()> act, std::function<void()> fallback,
              DWORD safetyMs = 60000)
      : ready_(std::move(ready)), act_(std::move(act)), fallback_(std::move(fallback)), safetyMs_(safetyMs) {
    start_ = GetTickCount();
    timer_ = SetTimer(nullptr, 0, 20, Tick);
    Running()[timer_] = this;
  }
  ~TLoopAction() {
    if (timer_) Finish();
  }
  TLoopAction(const TLoopAction&) = delete;
  TLoopAction& operator=(const TLoopAction&) = delete;
  bool Acted() const { return acted_; }
  bool TimedOut() const { return timedOut_; }

private:
  static std::map<UINT_PTR, TLoopAction*>& Running() {
    static std::map<UINT_PTR, TLoopAction*> running;
    return running;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Running().find(id);
    if (it == Running().end() || it->second->done_) return;
    TLoopAction* self = it->second;
    if (self->ready_()) {
      self->Finish();
      self->acted_ = true;
      self->act_();
    } else if (GetTickCount() - self->start_ > self->safetyMs_) {
      self->Finish();
      self->timedOut_ = true;
      self->fallback_();
    }
  }
  void Finish() {
    done_ = true;
    KillTimer(nullptr, timer_);
    Running().erase(timer_);
    timer_ = 0;
  }
  std::function<bool()> ready_;
  std::function<void()> act_, fallback_;
  DWORD safetyMs_;
  UINT_PTR timer_ = 0;
  DWORD start_ = 0;
  bool done_ = false, acted_ = false, timedOut_ = false;
};

template <class F>
F* OwnedForm(TComponent* owner) {
  for (TComponent* c : owner->ComponentList())
    if (F* f = As<F>(c)) return f;
  return nullptr;
}

// What the screen shows of the window, as a 24-bit bitmap file.
inline void SaveScreenshot(HWND window, const std::string& path) {
  RECT wr;
  GetWindowRect(window, &wr);
  TBitmap screen;
  screen.SetPixelFormat(pf24bit);
  screen.SetSize(wr.right - wr.left, wr.bottom - wr.top);
  HDC sdc = GetDC(nullptr);
  BitBlt(screen.Canvas()->GetHandle(), 0, 0, screen.GetWidth(), screen.GetHeight(), sdc, wr.left, wr.top, SRCCOPY);
  ReleaseDC(nullptr, sdc);
  screen.SaveToFile(path);
}
