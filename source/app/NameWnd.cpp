#include "NameWnd.h"

#include "AppUtils.h"
#include "MultiLanguages.h"
#include "Prompter.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TfrmName, TfrmEntry, nullptr, {})

TfrmName::TfrmName(TComponent* owner) : TfrmEntry(owner) { InitLayout(); }

void TfrmName::DeclareLayout(TLayoutBinder& b) { DeclareEntry(b, "lblName", lblName, "txtFileName", txtFileName); }

void TfrmName::SetTexts() {
  SetCaption(IDS_NAME_FORM_ProfileName);
  lblName->SetCaption(IDS_NAME_LABEL_EnterName);
}

bool TfrmName::CheckEntry() {
  if (IsValidFileName(Trim(txtFileName->GetCaption()))) return true;
  TPrompt prompt;
  prompt.Text = IDS_PROFILE_MESSAGEBOX_InvalidFileName;
  prompt.Caption = IDS_PROFILE_MESSAGEBOX_InvalidFileNameTitle;
  prompt.Type = mtWarning;
  prompt.Buttons = Buttons({mbOK, mbCancel});
  prompt.ButtonCaptions.assign(size_t(mbHelp) + 1, std::string());
  prompt.ButtonCaptions[mbOK] = IDS_OK;
  prompt.ButtonCaptions[mbCancel] = IDS_Cancel;
  Prompter().Ask(prompt);  // either button leads back to the edit
  return false;
}
