// TfrmSplash: the layered picture shown at start-up; its first timer tick closes it.
#pragma once

#include <functional>

#include "LayeredWnd.h"
#include "Timer.h"

class TfrmSplash : public TfrmLayered {
  ORV_CLASS(TfrmSplash)
public:
  explicit TfrmSplash(TComponent* owner);

  TTimer* Timer = nullptr;
  // Runs once inside the splash's modal loop, after the splash has appeared: start-up prepares its main
  // window there instead of after the splash's second. What it makes must stay hidden until then.
  std::function<void()> WhileShown;

  void FormCreate(TObject* Sender);
  void TimerTimer(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;

private:
  static constexpr int WhileShownDelayMs = 20;
  TTimer* FWhileShownTimer = nullptr;
};

extern TfrmSplash* frmSplash;
