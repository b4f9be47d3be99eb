#include "Timer.h"

#include <map>

namespace {

std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> t;
  return t;
}

LRESULT CALLBACK TimerWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_TIMER) {
    DispatchTimerTick(Timers(), w, &TTimer::Timer);
    return 0;
  }
  return DefWindowProcA(h, msg, w, l);
}

// One hidden window receives the ticks of every timer.
HWND TimerWindow() {
  static THiddenWindow window("TTimerWindow", TimerWindowProc);
  return window.Handle();
}

UINT_PTR gNextTimerId = 1;

}  // namespace

HWND THiddenWindow::Handle() {
  if (!FHandle) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = FClassName;
    RegisterClassA(&wc);  // fails harmlessly when the class is registered already
    // Top-level, so that it also hears broadcasts (the shell's "TaskbarCreated").
    FHandle = CreateWindowExA(0, FClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  }
  return FHandle;
}

void THiddenWindow::Destroy() {
  if (FHandle) DestroyWindow(FHandle);
  FHandle = nullptr;
}

ORV_DEFINE_CLASS(TTimer, TComponent, FactoryOf<TTimer>(),
                 {BoolProp<TTimer>("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled),
                  IntProp<TTimer>("Interval", &TTimer::GetInterval, &TTimer::SetInterval),
                  EventProp("OnTimer", &TTimer::OnTimer)})

TTimer::TTimer(TComponent* owner) : TComponent(owner), FId(gNextTimerId++) { UpdateTimer(); }

TTimer::~TTimer() {
  if (FRunning) KillTimer(TimerWindow(), FId);
  Timers().erase(FId);
}

void TTimer::UpdateTimer() {
  if (FRunning) KillTimer(TimerWindow(), FId);
  FRunning = false;
  Timers().erase(FId);
  if (IsLoading() || !FEnabled || FInterval <= 0) return;
  Timers()[FId] = this;
  FRunning = SetTimer(TimerWindow(), FId, UINT(FInterval), nullptr) != 0;
  if (!FRunning) throw EPropertyError("Not enough timers available");
}

void TTimer::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(int v) {
  if (v == FInterval) return;
  FInterval = v;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}
