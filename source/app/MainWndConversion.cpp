// The main window's side of a batch: the Convert and Settings actions, the start of the next file, and
// the TConversionHost that the conversion driver runs the batch through (file list, messages, tray
// icon, progress and shutdown windows).
#include "ConversionDriver.h"
#include "ConversionTexts.h"
#include "MainWnd.h"
#include "MultiLanguages.h"
#include "ProgressWnd.h"
#include "Prompter.h"
#include "SettingsWnd.h"
#include "ShutdownWnd.h"
#include "Timer.h"

void TfrmMain::actConvertExecute(TObject*) {
  // The texts follow the language chosen last.
  FDriver->Texts = LanguageConversionTexts();
  FDriver->Convert();
}

void TfrmMain::WMStartNextFile(TMessage& m) {
  FDriver->StartNextFileMessage();
  m.Result = 0;
}

void TfrmMain::actSettingsExecuteExecute(TObject*) {
  auto* settings = new TfrmSettings(this);
  try {
    CenterOver(settings);
    settings->LoadFromOptions();
    if (settings->ShowModal() == mrOk) {
      settings->SaveToOptions();
      SaveOptions();
    }
  } catch (...) {
    settings->Free();
    throw;
  }
  settings->Free();
}

void TfrmMain::SendToTray(TObject*) {
  Hide();
  ShowWindow(Application->Handle(), SW_HIDE);
  TrayIcon->SetIconVisible(true);
  TrayIcon->ShowBalloonHint(FormatText(IDS_CONVERTING_TrayInfo, {AppTitle}), IDS_CONVERTING_TrayMin, bitInfo, 10);
}

// ---- the file list ----

int TfrmMain::FileCount() const { return lsvFileName->Count(); }
std::string TfrmMain::FileCaption(int index) const { return lsvFileName->Item(index)->GetCaption(); }

std::string TfrmMain::FileSizeText(int index) const {
  TFileItem* item = FileItemOf(index);
  return item ? item->FileSize : std::string();
}

void TfrmMain::RemoveFile(int index) {
  lsvFileName->Delete(index);  // the deletion handler frees the entry's data
  UpdateSummary();
}

void TfrmMain::BeginListUpdate() { lsvFileName->BeginUpdate(); }

void TfrmMain::EndListUpdate() { lsvFileName->EndUpdate(); }

void TfrmMain::FileFailed(int index) {
  TListItem* item = lsvFileName->Item(index);
  lsvFileName->BeginUpdate();
  TListItem* moved = lsvFileName->Add();
  moved->SetCaption(item->GetCaption());
  moved->SetImageIndex(1);
  moved->SubItems = item->SubItems;
  moved->Data = item->Data;
  item->Data = nullptr;  // the data moved with the copy
  lsvFileName->Delete(index);
  lsvFileName->EndUpdate();
  UpdateSummary();
}

// ---- the main window ----

std::string TfrmMain::OutputFolderText() const { return txtOutputDir->GetText(); }

std::string TfrmMain::ProfileName(TOutputFormat format) const {
  return format < FormatCount ? ProfileCombo(format)->GetText() : std::string();
}

void TfrmMain::PostStartNextFile() { PostMessageA(Handle(), WM_STARTNEXTFILE, 0, 0); }

void TfrmMain::ScheduleHeldProgress(UINT afterMs) {
  if (!FHeldProgressTimer) {
    FHeldProgressTimer = new TTimer(this);
    FHeldProgressTimer->SetEnabled(false);
    FHeldProgressTimer->OnTimer = [this](TObject*) {
      FHeldProgressTimer->SetEnabled(false);  // once
      FDriver->HeldProgressDue();
    };
  }
  FHeldProgressTimer->SetEnabled(false);  // the wait starts afresh
  FHeldProgressTimer->SetInterval(int(afterMs));
  FHeldProgressTimer->SetEnabled(true);
}

int TfrmMain::ShowMessage(const std::string& text, const std::string& caption, UINT flags) {
  return PromptMessageBox(text, caption, flags);
}

int TfrmMain::AskQuestion(const std::string& text, const std::string& caption,
                          const std::vector<std::string>& buttonCaptions) {
  static const TMsgDlgBtn order[] = {mbYes, mbNo, mbCancel, mbYesToAll};
  TPrompt prompt;
  prompt.Text = text;
  prompt.Caption = caption;
  prompt.Type = mtConfirmation;
  prompt.Buttons = 0;
  prompt.ButtonCaptions.assign(mbHelp + 1, std::string());
  for (size_t i = 0; i < buttonCaptions.size() && i < 4; ++i) {
    prompt.Buttons |= 1u << order[i];
    prompt.ButtonCaptions[order[i]] = buttonCaptions[i];
  }
  const int answer = Prompter().Ask(prompt);
  // Closing the dialog counts as Cancel.
  return answer == mrYes || answer == mrNo || answer == mrYesToAll ? answer : int(mrCancel);
}

// ---- the tray icon ----

void TfrmMain::SetTrayHint(const std::string& hint) { TrayIcon->SetHint(hint); }

void TfrmMain::ShowBalloon(const std::string& title, const std::string& text) {
  TrayIcon->ShowBalloonHint(title, text, bitInfo, 10);
}

// ---- the progress window ----

void TfrmMain::CreateProgress(const std::string& caption, const std::string& stopWhenDoneText) {
  frmProgress = new TfrmProgress(this);
  frmProgress->OnAskStop = [this] { return !FDriver || FDriver->AskStop(); };
  frmProgress->OnSendToTray = [this](TObject* sender) { SendToTray(sender); };
  frmProgress->SetCaption(caption);
  frmProgress->lblStopWhenDone->SetCaption(stopWhenDoneText);
  frmProgress->ResetProgress();
}

void TfrmMain::UpdateProgress(const TProgressUpdate& update) {
  if (frmProgress) frmProgress->ApplyUpdate(update);
}

int TfrmMain::ShowProgressModal() { return frmProgress ? frmProgress->ShowModal() : int(mrNone); }

void TfrmMain::FinishProgress() {
  if (!frmProgress) return;
  frmProgress->FFinished = true;
  frmProgress->SetModalResult(mrOk);
}

void TfrmMain::FreeProgress() {
  TfrmProgress* progress = frmProgress;
  frmProgress = nullptr;
  if (progress) progress->Free();
}

int TfrmMain::ShowShutdownCountdown() {
  auto* shutdown = new TfrmShutdown(this);
  int result = mrNone;
  try {
    result = shutdown->ShowModal();
  } catch (...) {
    shutdown->Free();
    throw;
  }
  shutdown->Free();
  return result;
}
