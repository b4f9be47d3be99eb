// TfrmName: asks for a profile name. OK keeps the window open until the trimmed entry is a valid file
// name; FAccepted tells the caller that it was. The caller takes txtFileName's text as typed.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"

class TfrmName : public TForm {
  ORV_CLASS(TfrmName)
public:
  explicit TfrmName(TComponent* owner);

  TLabel* lblName = nullptr;
  TEdit* txtFileName = nullptr;
  TButton *btnOK = nullptr, *btnCancel = nullptr;

  bool FAccepted = false;

  void FormCreate(TObject* Sender);
  void btnOKClick(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
};
