#include "ProgressWnd.h"

#include "EncoderOutputParser.h"
#include "MultiLanguages.h"
#include "PngPicture.h"
#include "globals.h"

TfrmProgress* frmProgress = nullptr;
const char* const ConvertClipName = "ResAVI";

ORV_DEFINE_CLASS(TfrmProgress, TForm, nullptr, {})

TfrmProgress::TfrmProgress(TComponent* owner) : TForm(owner) {
  (void)TPngPicture::StaticClassInfo();  // the header's tile is a PNG picture
  InitLayout();
  SetMessageHandler(WM_SYSCOMMAND, [this](TMessage& m) { WMSysCommand(m); });
}

void TfrmProgress::DeclareLayout(TLayoutBinder& b) {
  b.Field("pnlTop", pnlTop);
  b.Field("anmConvert", anmConvert);
  b.Field("pnlStatus", pnlStatus);
  b.Field("pnlButtons", pnlButtons);
  b.Field("lblCovnerting", lblCovnerting);
  b.Field("lblStatusRemainingSingle", lblStatusRemainingSingle);
  b.Field("lblStatusRemaining", lblStatusRemaining);
  b.Field("lblStatus", lblStatus);
  b.Field("lblBatch", lblBatch);
  b.Field("lblRemaining", lblRemaining);
  b.Field("lblBatchRemaining", lblBatchRemaining);
  b.Field("lblElapsed", lblElapsed);
  b.Field("lblBatchElapsed", lblBatchElapsed);
  b.Field("lblEstimated", lblEstimated);
  b.Field("lblBatchEstimated", lblBatchEstimated);
  b.Field("lblWorking", lblWorking);
  b.Field("lblOutput", lblOutput);
  b.Field("lblStopWhenDone", lblStopWhenDone);
  b.Field("prgStatus", prgStatus);
  b.Field("prgBatch", prgBatch);
  b.Field("chkDelSource", chkDelSource);
  b.Field("chkShutdown", chkShutdown);
  b.Field("btnTray", btnTray);
  b.Field("btnCancel", btnCancel);
  b.Handler("FormCreate", this, &TfrmProgress::FormCreate);
  b.Handler("FormCloseQuery", this, &TfrmProgress::FormCloseQuery);
  b.Handler("chkDelSourceClick", this, &TfrmProgress::chkDelSourceClick);
  b.Handler("chkShutdownClick", this, &TfrmProgress::chkShutdownClick);
  b.Handler("btnTrayClick", this, &TfrmProgress::btnTrayClick);
}

void TfrmProgress::FormCreate(TObject*) {
  ApplyLanguage();
  FFinished = false;
  chkDelSource->SetChecked(Options.DeleteFileAfterProcessing);
  chkShutdown->SetChecked(Options.ShutdownWindowsWhenDone);
}

void TfrmProgress::ApplyLanguage() {
  const std::string zeroTime = "0:00:00";
  lblStatus->SetCaption(IDS_CONVERTING_BUTTON_Status + "0%");
  lblStatusRemaining->SetCaption(zeroTime);
  lblBatchRemaining->SetCaption(zeroTime);
  lblBatch->SetCaption(IDS_CONVERTING_BUTTON_Status + "0%");
  lblWorking->SetCaption(IDS_CONVERTING_PleaseWait);
  lblOutput->SetCaption("");
  lblStopWhenDone->SetCaption(IDS_CONVERTING_LABEL_StopWhenDone);
  lblBatchElapsed->SetCaption(zeroTime);
  lblBatchEstimated->SetCaption(zeroTime);
  lblRemaining->SetCaption(IDS_CONVERTING_LABEL_RemainingTime);
  lblStatusRemainingSingle->SetCaption(IDS_CONVERTING_LABEL_RemainingTime);
  lblElapsed->SetCaption(IDS_CONVERTING_LABEL_ElapsedTime);
  lblEstimated->SetCaption(IDS_CONVERTING_LABEL_EstiamtedTime);
  chkDelSource->SetCaption(IDS_CONVERTING_CHECK_Delete);
  chkShutdown->SetCaption(IDS_CONVERTING_CHECK_Shutdown);
  btnTray->SetCaption(IDS_CONVERTING_BUTTON_SendToTray);
  btnCancel->SetCaption(IDS_CONVERTING_Cancel);
  lblCovnerting->SetCaption(IDS_CONVERTING_LABEL_Converting);
  SetCaption(IDS_CONVERTING_FORM_Caption);
  btnTray->SetBounds(270, btnTray->GetTop(), 110, btnTray->GetHeight());
  ResetAnimation();
}

void TfrmProgress::ResetAnimation() {
  anmConvert->Stop();
  anmConvert->SetVisible(false);
  anmConvert->SetResName(ConvertClipName);
}

void TfrmProgress::ResetProgress() {
  const std::string zeroTime = "0:00:00";
  lblStatusRemaining->SetCaption(zeroTime);
  lblStatus->SetCaption(IDS_CONVERTING_Status + "0%");
  lblBatch->SetCaption(IDS_CONVERTING_Status + "0%");
  lblBatchRemaining->SetCaption(zeroTime);
  lblBatchElapsed->SetCaption(zeroTime);
  lblBatchEstimated->SetCaption(zeroTime);
  lblWorking->SetCaption(IDS_CONVERTING_PleaseWait);
  lblOutput->SetCaption("");
  lblCovnerting->SetCaption(IDS_CONVERTING_Preparing);
  ResetAnimation();
  prgStatus->SetPercent(0);
  prgBatch->SetPercent(0);
}

void TfrmProgress::ApplyUpdate(const TProgressUpdate& u) {
  const std::pair<const std::optional<std::string>*, TLabel*> labels[] = {
      {&u.Status, lblStatus},           {&u.FileRemaining, lblStatusRemaining},
      {&u.Batch, lblBatch},             {&u.BatchElapsed, lblBatchElapsed},
      {&u.BatchEstimated, lblBatchEstimated}, {&u.BatchRemaining, lblBatchRemaining},
      {&u.Working, lblWorking},         {&u.Output, lblOutput}};
  for (const auto& l : labels)
    if (*l.first) l.second->SetCaption(**l.first);
  if (u.FileBar) prgStatus->SetPercent(*u.FileBar);
  if (u.BatchBar) prgBatch->SetPercent(*u.BatchBar);
  if (u.Caption) SetCaption(*u.Caption);
  // The first output of the batch starts the header clip; it plays until the window goes.
  if (u.Converting && !anmConvert->GetActive()) {
    anmConvert->SetVisible(true);
    anmConvert->SetActive(true);
    lblCovnerting->SetCaption(IDS_CONVERTING_LABEL_Converting);
  }
}

void TfrmProgress::chkDelSourceClick(TObject*) { Options.DeleteFileAfterProcessing = chkDelSource->GetChecked(); }
void TfrmProgress::chkShutdownClick(TObject*) { Options.ShutdownWindowsWhenDone = chkShutdown->GetChecked(); }

void TfrmProgress::btnTrayClick(TObject* Sender) {
  Hide();  // the modal loop goes on while the window is hidden
  if (OnSendToTray) OnSendToTray(Sender);
}

void TfrmProgress::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = true;
  if (FFinished || !OnAskStop) return;
  CanClose = OnAskStop();
  lblStopWhenDone->SetVisible(Options.StopWhenDone);
  // The batch may have ended while the question was open: the window closes as "stopped".
  if (CanClose) SetModalResult(mrCancel);
}

void TfrmProgress::WMSysCommand(TMessage& m) {
  if ((m.WParam & 0xFFF0) == SC_MINIMIZE) {
    Application->Minimize();
    m.Result = 0;
    return;
  }
  DefaultHandler(m);
}
