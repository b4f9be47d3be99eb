// TfrmFileInfo: the media library's full report on one file, with saving it as text.
#pragma once

#include <string>

#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfrmFileInfo : public TForm {
  ORV_CLASS(TfrmFileInfo)
public:
  explicit TfrmFileInfo(TComponent* owner);
  // Fills the memo with the report on Path (nothing happens when the file does not exist).
  void ShowFileInfo(const std::string& path);
  void ApplyLanguage();

  TMemo* mmoInfo = nullptr;
  TPanel* pnlBottom = nullptr;
  TButton *btnOK = nullptr, *btnSave = nullptr;
  TSaveDialog* dlgSave = nullptr;

  void FormCreate(TObject* Sender);
  void btnSaveClick(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
};

extern TfrmFileInfo* frmFileInfo;
