#include "EntryWnd.h"

#include "MultiLanguages.h"

ORV_DEFINE_CLASS(TfrmEntry, TForm, nullptr, {})

void TfrmEntry::DeclareEntry(TLayoutBinder& b, const std::string& labelName, TLabel*& label,
                             const std::string& editName, TEdit*& edit) {
  FEntry = &edit;
  b.Field(labelName, label);
  b.Field(editName, edit);
  b.Field("btnOK", btnOK);
  b.Field("btnCancel", btnCancel);
  b.Handler("FormCreate", this, &TfrmEntry::FormCreate);
  b.Handler("btnOKClick", this, &TfrmEntry::btnOKClick);
}

void TfrmEntry::FormCreate(TObject*) {
  SetTexts();
  btnOK->SetCaption(IDS_FILEINFORMATION_BUTTON_OK);
  btnCancel->SetCaption(IDS_SHUTDOWN_BUTTON_Cancel);
  FAccepted = false;
}

void TfrmEntry::btnOKClick(TObject*) {
  FAccepted = CheckEntry();
  if (FAccepted) {
    Close();
    return;
  }
  TEdit* entry = *FEntry;
  entry->SetFocus();
  entry->SelectAll();
}
