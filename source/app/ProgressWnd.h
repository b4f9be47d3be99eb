// TfrmProgress: the modal window of a running batch. The conversion driver writes its labels and bars
// (through the main window's TConversionHost); its Cancel button and close box ask how to stop
// (OnAskStop); the two check boxes change the options at once, for the rest of the running batch.
#pragma once

#include <functional>
#include <string>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "FcPrgres.h"
#include "SkImagePanel.h"
#include "Forms.h"
#include "StdCtrls.h"

struct TProgressUpdate;

class TfrmProgress : public TForm {
  ORV_CLASS(TfrmProgress)
public:
  explicit TfrmProgress(TComponent* owner);

  void ApplyLanguage();
  void ResetProgress();
  // Writes what the driver or the output parser changed; fields not set stay as they are.
  void ApplyUpdate(const TProgressUpdate& update);

  // Set by the driver when the batch has ended: closing then asks nothing.
  bool FFinished = false;
  // Asked when the window is about to close during a batch: true when it may close (the main window
  // hands the question to the conversion driver). Null: it closes without asking.
  std::function<bool()> OnAskStop;
  // Sends the program to the tray (the main window hides itself and shows its icon).
  TNotifyEvent OnSendToTray;

  TskImagePanel* pnlTop = nullptr;
  TAnimate* anmConvert = nullptr;
  TPanel *pnlStatus = nullptr, *pnlButtons = nullptr;
  TLabel *lblCovnerting = nullptr, *lblStatusRemainingSingle = nullptr, *lblStatusRemaining = nullptr,
         *lblStatus = nullptr, *lblBatch = nullptr, *lblRemaining = nullptr, *lblBatchRemaining = nullptr,
         *lblElapsed = nullptr, *lblBatchElapsed = nullptr, *lblEstimated = nullptr, *lblBatchEstimated = nullptr,
         *lblWorking = nullptr, *lblOutput = nullptr, *lblStopWhenDone = nullptr;
  TFcProgressBar *prgStatus = nullptr, *prgBatch = nullptr;
  TCheckBox *chkDelSource = nullptr, *chkShutdown = nullptr;
  TButton *btnTray = nullptr, *btnCancel = nullptr;

  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void chkDelSourceClick(TObject* Sender);
  void chkShutdownClick(TObject* Sender);
  void btnTrayClick(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;

private:
  void WMSysCommand(TMessage& m);
  // The header clip, loaded and stopped; shown only while it plays.
  void ResetAnimation();
};

extern TfrmProgress* frmProgress;
// The header clip: the program's "AVI" resource of this name.
extern const char* const ConvertClipName;
