// TfrmShutdown: counts 30 seconds down before the action after a batch. It closes with modal result 1
// when the time is up (the caller then runs the action) and with 2 when the user cancels.
#pragma once

#include "ConversionCore.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "Timer.h"

class TfrmShutdown : public TForm {
  ORV_CLASS(TfrmShutdown)
public:
  explicit TfrmShutdown(TComponent* owner);

  void ApplyLanguage();
  int32_t SecondsLeft() const { return FCountdown.SecondsLeft(); }

  TLabel *lblWarning = nullptr, *lblShutdownDescription = nullptr, *lblTimeOut = nullptr;
  TPanel* pnlButton = nullptr;
  TButton* btnCancel = nullptr;
  TTimer* tmrShutdown = nullptr;

  void FormCreate(TObject* Sender);
  // One second has passed.
  void tmrShutdownTimer(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;

private:
  TShutdownCountdown FCountdown;
};
