// TfrmSettings: the encoder's priority, the action after a batch and the DirectShow option. The caller
// copies the options in (LoadFromOptions), shows it modally and copies them back on OK (SaveToOptions).
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfrmSettings : public TForm {
  ORV_CLASS(TfrmSettings)
public:
  explicit TfrmSettings(TComponent* owner);

  void ApplyLanguage();
  void LoadFromOptions();
  void SaveToOptions();

  TPageControl* PageControlOptions = nullptr;
  TTabSheet* TabSheetGeneral = nullptr;
  TPanel* PanelBottom = nullptr;
  TGroupBox *GroupBoxPriority = nullptr, *GroupBoxDirectShow = nullptr;
  TComboBox *ComboBoxPriority = nullptr, *ComboBoxShutdownFlag = nullptr;
  TCheckBox* CheckBoxDirectShow = nullptr;
  TLabel* LabelShutDown = nullptr;
  TButton *ButtonOK = nullptr, *ButtonCancel = nullptr;

  void FormCreate(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
};
