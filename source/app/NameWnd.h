// TfrmName: asks for a profile name; the trimmed entry must be a valid file name.
#pragma once

#include "EntryWnd.h"

class TfrmName : public TfrmEntry {
  ORV_CLASS(TfrmName)
public:
  explicit TfrmName(TComponent* owner);

  TLabel* lblName = nullptr;
  TEdit* txtFileName = nullptr;

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
  void SetTexts() override;
  bool CheckEntry() override;
};
