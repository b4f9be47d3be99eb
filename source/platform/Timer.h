// TTimer: a message-driven timer of the main thread. Ticks run inside the exception boundary.
#pragma once

#include <map>

#include "Controls.h"

// A hidden top-level window of a window class of its own, for messages that belong to no control:
// timer ticks, tray icon notifications. Made on first use; destroyed by Destroy or with the object.
class THiddenWindow {
public:
  THiddenWindow(const char* className, WNDPROC proc) : FClassName(className), FProc(proc) {}
  ~THiddenWindow() { Destroy(); }
  THiddenWindow(const THiddenWindow&) = delete;
  THiddenWindow& operator=(const THiddenWindow&) = delete;
  HWND Handle();                          // makes the window when there is none
  HWND Existing() const { return FHandle; }  // null while there is none
  void Destroy();

private:
  const char* FClassName;
  WNDPROC FProc;
  HWND FHandle = nullptr;
};

// A WM_TIMER of a hidden window that ticks for several timers: the tick goes to the timer registered
// under its identifier (none when that timer went after the tick was queued), inside the exception
// boundary.
template <class T>
void DispatchTimerTick(const std::map<UINT_PTR, T*>& timers, UINT_PTR id, void (T::*tick)()) {
  auto it = timers.find(id);
  if (it == timers.end()) return;
  T* timer = it->second;
  try {
    (timer->*tick)();
  } catch (...) {
    HandleControlException(timer);
  }
}

class TTimer : public TComponent {
  ORV_CLASS(TTimer)
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v);
  int GetInterval() const { return FInterval; }
  void SetInterval(int v);
  void Loaded() override;
  TNotifyEvent OnTimer;
  // Runs OnTimer (the timer window calls it on every tick).
  virtual void Timer();
  // Starts or stops the system timer to match Enabled and Interval.
  void UpdateTimer();

private:
  bool FEnabled = true;
  int FInterval = 1000;
  UINT_PTR FId = 0;
  bool FRunning = false;
};
