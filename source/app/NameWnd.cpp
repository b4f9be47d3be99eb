#include "NameWnd.h"

#include "AppUtils.h"
#include "MultiLanguages.h"
#include "Prompter.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TfrmName, TForm, nullptr, {})

TfrmName::TfrmName(TComponent* owner) : TForm(owner) { InitLayout(); }

void TfrmName::DeclareLayout(TLayoutBinder& b) {
  b.Field("lblName", lblName);
  b.Field("txtFileName", txtFileName);
  b.Field("btnOK", btnOK);
  b.Field("btnCancel", btnCancel);
  b.Handler("FormCreate", this, &TfrmName::FormCreate);
  b.Handler("btnOKClick", this, &TfrmName::btnOKClick);
}

void TfrmName::FormCreate(TObject*) {
  SetCaption(IDS_NAME_FORM_ProfileName);
  lblName->SetCaption(IDS_NAME_LABEL_EnterName);
  btnOK->SetCaption(IDS_FILEINFORMATION_BUTTON_OK);
  btnCancel->SetCaption(IDS_SHUTDOWN_BUTTON_Cancel);
  FAccepted = false;
}

void TfrmName::btnOKClick(TObject*) {
  if (IsValidFileName(Trim(txtFileName->GetCaption()))) {
    FAccepted = true;
    Close();
    return;
  }
  TPrompt prompt;
  prompt.Text = IDS_PROFILE_MESSAGEBOX_InvalidFileName;
  prompt.Caption = IDS_PROFILE_MESSAGEBOX_InvalidFileNameTitle;
  prompt.Type = mtWarning;
  prompt.Buttons = Buttons({mbOK, mbCancel});
  prompt.ButtonCaptions.assign(size_t(mbHelp) + 1, std::string());
  prompt.ButtonCaptions[mbOK] = IDS_OK;
  prompt.ButtonCaptions[mbCancel] = IDS_Cancel;
  Prompter().Ask(prompt);  // either button leads back to the edit
  txtFileName->SetFocus();
  FAccepted = false;
  txtFileName->SelectAll();
}
