// TTimer: a message-driven timer of the main thread. Ticks run inside the exception boundary.
#pragma once

#include "Controls.h"

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
