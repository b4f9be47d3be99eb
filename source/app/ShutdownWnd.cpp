#include "ShutdownWnd.h"

#include "MultiLanguages.h"

ORV_DEFINE_CLASS(TfrmShutdown, TForm, nullptr, {})

TfrmShutdown::TfrmShutdown(TComponent* owner) : TForm(owner) { InitLayout(); }

void TfrmShutdown::DeclareLayout(TLayoutBinder& b) {
  b.Field("lblWarning", lblWarning);
  b.Field("lblShutdownDescription", lblShutdownDescription);
  b.Field("lblTimeOut", lblTimeOut);
  b.Field("pnlButton", pnlButton);
  b.Field("btnCancel", btnCancel);
  b.Field("tmrShutdown", tmrShutdown);
  b.Handler("FormCreate", this, &TfrmShutdown::FormCreate);
  b.Handler("tmrShutdownTimer", this, &TfrmShutdown::tmrShutdownTimer);
}

void TfrmShutdown::FormCreate(TObject*) {
  FCountdown.Start();
  ApplyLanguage();
  tmrShutdown->SetEnabled(true);
}

void TfrmShutdown::ApplyLanguage() {
  SetCaption(IDS_SHUTDOWN_FORM_Caption);
  btnCancel->SetCaption(IDS_SHUTDOWN_BUTTON_Cancel);
  lblShutdownDescription->SetCaption(IDS_SHUTDOWN_LABEL_WarningDetail);
  lblWarning->SetCaption(IDS_SHUTDOWN_LABEL_Warning);
  lblTimeOut->SetCaption(FCountdown.TimeLeftText(IDS_SHUTDOWN_LABEL_TimeLeft));
}

void TfrmShutdown::tmrShutdownTimer(TObject*) {
  if (FCountdown.Tick()) {
    tmrShutdown->SetEnabled(false);
    SetModalResult(mrOk);
  } else {
    lblTimeOut->SetCaption(FCountdown.TimeLeftText(IDS_SHUTDOWN_LABEL_TimeLeft));
  }
}
