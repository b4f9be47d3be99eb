// TSimpleTimer: a light timer without a window of its own. Every simple timer ticks through one
// shared hidden window (TSimpleTimerHandler), created with the first timer and destroyed with the last.
#pragma once

#include <windows.h>

#include "Controls.h"

class TSimpleTimer : public TObject {
public:
  TSimpleTimer();  // interval 1000 ms, no event
  TSimpleTimer(unsigned interval, TNotifyEvent onTimer);
  ~TSimpleTimer() override;
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;

  // Sets the system timer; False for interval 0 or when the system refuses.
  bool Start();
  // Kills the system timer (clearing Enabled when `disable`); returns whether one was killed.
  bool Stop(bool disable);

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned GetInterval() const { return FInterval; }
  void SetInterval(unsigned v);
  const TNotifyEvent& GetOnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent v);

  // The system timer's identifier on the handler window. Never reused by another timer, so a tick
  // still queued for a timer that is gone finds nothing.
  UINT_PTR TimerId() const { return FTimerId; }
  // The shared handler window (null while no timer exists).
  static HWND HandlerWindow();

private:
  void Fire();
  friend LRESULT CALLBACK SimpleTimerWndProc(HWND, UINT, WPARAM, LPARAM);
  UINT_PTR FTimerId;
  bool FEnabled = false;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
};
