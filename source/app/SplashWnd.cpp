#include "SplashWnd.h"

#include "globals.h"

TfrmSplash* frmSplash = nullptr;

ORV_DEFINE_LAYERED_CLASS(TfrmSplash, TfrmLayered, nullptr, {})

TfrmSplash::TfrmSplash(TComponent* owner) : TfrmLayered(owner) {
  InitLayout();
  // The work starts from a short timer, not at once: the picture reaches the screen only when the
  // modal loop first waits for messages.
  FWhileShownTimer = new TTimer(this);
  FWhileShownTimer->SetEnabled(false);
  FWhileShownTimer->SetInterval(WhileShownDelayMs);
  FWhileShownTimer->OnTimer = [this](TObject*) {
    FWhileShownTimer->SetEnabled(false);
    std::function<void()> work;
    std::swap(work, WhileShown);  // once
    // Hand the picture to the display now: the system may not have flushed the newly shown window yet
    // (it does so on idle, at most every few tens of milliseconds), and the work keeps the loop busy.
    Repaint();
    if (work) work();
  };
  OnShow = [this](TObject*) { FWhileShownTimer->SetEnabled(bool(WhileShown)); };
}

void TfrmSplash::DeclareLayout(TLayoutBinder& b) {
  TfrmLayered::DeclareLayout(b);
  b.Field("Timer", Timer);
  b.Handler("FormCreate", this, &TfrmSplash::FormCreate);
  b.Handler("TimerTimer", this, &TfrmSplash::TimerTimer);
}

void TfrmSplash::FormCreate(TObject*) {
  Timer->SetInterval(1000);
  Timer->SetEnabled(true);
  SetBackgroundImage(SkinsDir + "Splash.png");  // presents the window
}

void TfrmSplash::TimerTimer(TObject*) {
  Timer->SetEnabled(false);
  Close();
}
