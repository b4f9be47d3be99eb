#include "SplashWnd.h"

#include "globals.h"

TfrmSplash* frmSplash = nullptr;

ORV_DEFINE_LAYERED_CLASS(TfrmSplash, TfrmLayered, nullptr, {})

TfrmSplash::TfrmSplash(TComponent* owner) : TfrmLayered(owner) { InitLayout(); }

void TfrmSplash::DeclareLayout(TLayoutBinder& b) {
  TfrmLayered::DeclareLayout(b);
  b.Field("Timer", Timer);
  b.Handler("FormCreate", this, &TfrmSplash::FormCreate);
  b.Handler("TimerTimer", this, &TfrmSplash::TimerTimer);
}

void TfrmSplash::FormCreate(TObject*) {
  Timer->SetInterval(1000);
  Timer->SetEnabled(true);
  SetBackgroundImage(SkinsDir + "Splash.png");
  Repaint();
}

void TfrmSplash::TimerTimer(TObject*) {
  Timer->SetEnabled(false);
  Close();
}
