// TfrmSplash: the layered picture shown at start-up; its first timer tick closes it.
#pragma once

#include "LayeredWnd.h"
#include "Timer.h"

class TfrmSplash : public TfrmLayered {
  ORV_CLASS(TfrmSplash)
public:
  explicit TfrmSplash(TComponent* owner);

  TTimer* Timer = nullptr;

  void FormCreate(TObject* Sender);
  void TimerTimer(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
};

extern TfrmSplash* frmSplash;
