#include "SettingsWnd.h"

#include "ConversionTexts.h"
#include "MultiLanguages.h"
#include "globals.h"

ORV_DEFINE_CLASS(TfrmSettings, TForm, nullptr, {})

TfrmSettings::TfrmSettings(TComponent* owner) : TForm(owner) { InitLayout(); }

void TfrmSettings::DeclareLayout(TLayoutBinder& b) {
  b.Field("PageControlOptions", PageControlOptions);
  b.Field("TabSheetGeneral", TabSheetGeneral);
  b.Field("GroupBoxPriority", GroupBoxPriority);
  b.Field("ComboBoxPriority", ComboBoxPriority);
  b.Field("GroupBoxDirectShow", GroupBoxDirectShow);
  b.Field("CheckBoxDirectShow", CheckBoxDirectShow);
  b.Field("LabelShutDown", LabelShutDown);
  b.Field("ComboBoxShutdownFlag", ComboBoxShutdownFlag);
  b.Field("PanelBottom", PanelBottom);
  b.Field("ButtonOK", ButtonOK);
  b.Field("ButtonCancel", ButtonCancel);
  b.Handler("FormCreate", this, &TfrmSettings::FormCreate);
}

void TfrmSettings::FormCreate(TObject*) { ApplyLanguage(); }

void TfrmSettings::ApplyLanguage() {
  SetCaption(IDS_SETTINGS_FORM_Title);
  TabSheetGeneral->SetCaption(IDS_PROFILE_PAGECONTROL_General);
  GroupBoxPriority->SetCaption(IDS_SETTINGS_GROUPBOX_ThreadPriority);
  GroupBoxDirectShow->SetCaption(IDS_SETTINGS_GROUPBOX_DirectShow);
  CheckBoxDirectShow->SetCaption(IDS_SETTINGS_CHECKBOX_UseDirectShow);
  // The item index is the option's value: the lists keep this order.
  ComboBoxPriority->SetItems({IDS_SETTINGS_COMBOBOX_Idle, IDS_SETTINGS_COMBOBOX_Normal, IDS_SETTINGS_COMBOBOX_High,
                              IDS_SETTINGS_COMBOBOX_Realtime});
  LabelShutDown->SetCaption(IDS_SETTINGS_LABEL_ShutDown);
  ComboBoxShutdownFlag->SetItems({FormatText(IDS_SETTINGS_COMBOBOX_Close, {AppTitle}), IDS_SETTINGS_COMBOBOX_ShutDown,
                                  IDS_SETTINGS_COMBOBOX_LogOff, IDS_SETTINGS_COMBOBOX_Restart,
                                  IDS_SETTINGS_COMBOBOX_Hibernate, IDS_SETTINGS_COMBOBOX_Suspend});
  ButtonOK->SetCaption(IDS_FILEINFORMATION_BUTTON_OK);
  ButtonCancel->SetCaption(IDS_SHUTDOWN_BUTTON_Cancel);
}

void TfrmSettings::LoadFromOptions() {
  // A stored value outside a list selects nothing.
  auto indexOf = [](int value, int count) { return value >= 0 && value < count ? value : -1; };
  ComboBoxPriority->SetItemIndex(indexOf(Options.Priority, ComboBoxPriority->ItemCount()));
  ComboBoxShutdownFlag->SetItemIndex(indexOf(Options.ShutdownFlag, ComboBoxShutdownFlag->ItemCount()));
  CheckBoxDirectShow->SetChecked(Options.UseDirectShow);
}

void TfrmSettings::SaveToOptions() {
  // No selection (-1) is stored as its low byte, 255, which selects nothing again next time.
  Options.Priority = static_cast<decltype(Options.Priority)>(ComboBoxPriority->GetItemIndex());
  Options.ShutdownFlag = static_cast<decltype(Options.ShutdownFlag)>(ComboBoxShutdownFlag->GetItemIndex());
  Options.UseDirectShow = CheckBoxDirectShow->GetChecked();
}
