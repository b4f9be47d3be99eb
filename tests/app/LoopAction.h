// Helpers for GUI tests that act from inside a modal loop (the progress window's batch, a settings or
// shutdown window): an action run once its condition holds, and finding a window a form owns.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "Component.h"

// Runs an action from inside a modal loop once its condition holds. The condition is polled by a
// timer and also whenever the thread handles a message: a timer message only arrives when the queue
// is otherwise empty, and on a busy machine the batch's own messages (output lines, repaints) can
// keep it full until the batch is over. The action itself runs from a posted message, never inside
// another window's message, and posted messages are not starved that way.
// The safety limit only keeps a broken test from hanging: after it the fallback runs instead (which
// must end the modal loop).
class TLoopAction {
public:
  TLoopAction(std::function<bool()> ready, std::function<void()> act, std::function<void()> fallback,
              DWORD safetyMs = 60000)
      : ready_(std::move(ready)), act_(std::move(act)), fallback_(std::move(fallback)), safetyMs_(safetyMs) {
    start_ = GetTickCount();
    window_ = CreateWindowExA(0, WindowClass(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTimer(window_, 1, 20, nullptr);
    if (Running().empty()) {
      getHook_ = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
      callHook_ = SetWindowsHookExA(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId());
    }
    Running()[window_] = this;
  }
  ~TLoopAction() {
    Running().erase(window_);
    if (Running().empty()) {
      if (getHook_) UnhookWindowsHookEx(getHook_);
      if (callHook_) UnhookWindowsHookEx(callHook_);
      getHook_ = callHook_ = nullptr;
    }
    DestroyWindow(window_);
  }
  TLoopAction(const TLoopAction&) = delete;
  TLoopAction& operator=(const TLoopAction&) = delete;
  bool Acted() const { return acted_; }
  bool TimedOut() const { return timedOut_; }

private:
  static constexpr UINT WM_RUN_ACTION = WM_APP + 0x2F1;
  static std::map<HWND, TLoopAction*>& Running() {
    static std::map<HWND, TLoopAction*> running;
    return running;
  }
  static const char* WindowClass() {
    static const char* name = [] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "OrvaneTestLoopAction";
      RegisterClassA(&wc);
      return "OrvaneTestLoopAction";
    }();
    return name;
  }
  // Looks at the condition; when it holds, the action is queued (once).
  void Poll() {
    if (done_ || queued_) return;
    if (ready_()) {
      queued_ = true;
      PostMessageA(window_, WM_RUN_ACTION, 0, 0);
    } else if (GetTickCount() - start_ > safetyMs_) {
      done_ = true;
      KillTimer(window_, 1);
      timedOut_ = true;
      fallback_();
    }
  }
  static void PollAll() {
    static bool polling = false;  // a condition may itself send messages
    if (polling) return;
    polling = true;
    std::map<HWND, TLoopAction*> running = Running();
    for (auto& entry : running) entry.second->Poll();
    polling = false;
  }
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) PollAll();
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static LRESULT CALLBACK CallWndHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) PollAll();
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TLoopAction*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (self && msg == WM_TIMER) {
      self->Poll();
      return 0;
    }
    if (self && msg == WM_RUN_ACTION && !self->done_) {
      self->queued_ = false;
      if (!self->ready_()) return 0;  // no longer holds: keep polling
      self->done_ = true;
      KillTimer(wnd, 1);
      self->acted_ = true;
      self->act_();
      return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
  }
  std::function<bool()> ready_;
  std::function<void()> act_, fallback_;
  DWORD safetyMs_;
  HWND window_ = nullptr;
  DWORD start_ = 0;
  bool done_ = false, queued_ = false, acted_ = false, timedOut_ = false;
  static inline HHOOK getHook_ = nullptr, callHook_ = nullptr;
};

template <class F>
F* OwnedForm(TComponent* owner) {
  for (TComponent* c : owner->ComponentList())
    if (F* f = As<F>(c)) return f;
  return nullptr;
}
