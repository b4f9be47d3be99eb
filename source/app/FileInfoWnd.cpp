#include "FileInfoWnd.h"

#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "Strings.h"

TfrmFileInfo* frmFileInfo = nullptr;

ORV_DEFINE_CLASS(TfrmFileInfo, TForm, nullptr, {})

TfrmFileInfo::TfrmFileInfo(TComponent* owner) : TForm(owner) { InitLayout(); }

void TfrmFileInfo::DeclareLayout(TLayoutBinder& b) {
  b.Field("mmoInfo", mmoInfo);
  b.Field("pnlBottom", pnlBottom);
  b.Field("btnOK", btnOK);
  b.Field("btnSave", btnSave);
  b.Field("dlgSave", dlgSave);
  b.Handler("FormCreate", this, &TfrmFileInfo::FormCreate);
  b.Handler("btnSaveClick", this, &TfrmFileInfo::btnSaveClick);
}

void TfrmFileInfo::FormCreate(TObject*) { ApplyLanguage(); }

void TfrmFileInfo::ApplyLanguage() {
  btnOK->SetCaption(IDS_FILEINFORMATION_BUTTON_OK);
  btnSave->SetCaption(IDS_FILEINFORMATION_BUTTTON_SaveFielInfo);
  SetCaption(IDS_FILEINFORMATION_FORM_Caption);
  dlgSave->SetFilter(Format("%s (*.txt)|*.txt|%s (*.*)|*.*",
                            {IDS_FILEINFORMATION_LABEL_TextFile, IDS_FILEINFORMATION_LABEL_AllFile}));
  dlgSave->SetFileName(IDS_FILEINFORMATION_SaveDialog_FileName);
}

void TfrmFileInfo::ShowFileInfo(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) return;
  TMediaInfoFile file(path);
  std::string report = file.CompleteReport(), text;
  // The edit control breaks lines only at CR LF.
  for (size_t i = 0; i < report.size(); ++i) {
    if (report[i] == '\n' && (i == 0 || report[i - 1] != '\r')) text += '\r';
    text += report[i];
  }
  mmoInfo->SetText(text);
}

void TfrmFileInfo::btnSaveClick(TObject*) {
  if (dlgSave->Execute()) mmoInfo->SaveToFile(dlgSave->GetFileName());
}
