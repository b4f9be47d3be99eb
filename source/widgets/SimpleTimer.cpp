#include "SimpleTimer.h"

#include <map>

#include "Timer.h"

LRESULT CALLBACK SimpleTimerWndProc(HWND h, UINT msg, WPARAM w, LPARAM l);

namespace {

struct THandler {
  THiddenWindow Window{"TSimpleTimerHandler", SimpleTimerWndProc};
  std::map<UINT_PTR, TSimpleTimer*> Timers;  // the live timers by identifier
  UINT_PTR NextId = 1;
};

THandler& Handler() {
  static THandler h;
  return h;
}

}  // namespace

LRESULT CALLBACK SimpleTimerWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_TIMER) {
    DispatchTimerTick(Handler().Timers, w, &TSimpleTimer::Fire);
    return 0;
  }
  return DefWindowProcA(h, msg, w, l);
}

namespace {

void Register(TSimpleTimer* t) {
  THandler& hd = Handler();
  hd.Window.Handle();
  hd.Timers[t->TimerId()] = t;
}

void Unregister(TSimpleTimer* t) {
  THandler& hd = Handler();
  hd.Timers.erase(t->TimerId());
  if (hd.Timers.empty()) hd.Window.Destroy();
}

}  // namespace

TSimpleTimer::TSimpleTimer() : FTimerId(Handler().NextId++) { Register(this); }

TSimpleTimer::TSimpleTimer(unsigned interval, TNotifyEvent onTimer)
    : FTimerId(Handler().NextId++), FInterval(interval), FOnTimer(std::move(onTimer)) {
  Register(this);
}

TSimpleTimer::~TSimpleTimer() {
  if (FEnabled) Stop(true);
  Unregister(this);
}

HWND TSimpleTimer::HandlerWindow() { return Handler().Window.Existing(); }

bool TSimpleTimer::Start() {
  if (FInterval == 0) return false;
  if (FEnabled) Stop(true);
  bool ok = SetTimer(Handler().Window.Existing(), FTimerId, FInterval, nullptr) != 0;
  if (ok) FEnabled = true;
  return ok;
}

bool TSimpleTimer::Stop(bool disable) {
  if (disable) FEnabled = false;
  return KillTimer(Handler().Window.Existing(), FTimerId) != 0;
}

void TSimpleTimer::SetEnabled(bool v) {
  if (v)
    Start();
  else
    Stop(true);
}

void TSimpleTimer::SetInterval(unsigned v) {
  if (v == FInterval) return;
  FInterval = v;
  if (!FEnabled) return;
  if (v != 0)
    Start();
  else
    Stop(false);  // no ticks, but the timer still counts as enabled
}

void TSimpleTimer::SetOnTimer(TNotifyEvent v) {
  FOnTimer = std::move(v);
  if (!FOnTimer && FEnabled) Stop(false);
}

void TSimpleTimer::Fire() {
  if (FOnTimer) FOnTimer(this);
}
