#include "ProfileEditor.h"

#include "EditorTexts.h"
#include "Errors.h"
#include "Settings.h"
#include "Strings.h"

// ---- the record by key ----

TProfileRecord::TProfileRecord(TOutputFormat format) : FFields(OutputFormatInfo(format).Fields()) {}

size_t TProfileRecord::IndexOf(const std::string& key) const {
  size_t i = FFields.IndexOf(key);
  if (i >= FFields.Count()) throw Exception("The settings record has no field " + key);
  return i;
}

bool TProfileRecord::Has(const std::string& key) const { return FFields.IndexOf(key) < FFields.Count(); }
std::string TProfileRecord::Text(const std::string& key) const { return FFields.Text(IndexOf(key)); }
bool TProfileRecord::Bool(const std::string& key) const { return StrToIntDef(Text(key), 0) != 0; }
int32_t TProfileRecord::Int(const std::string& key) const { return StrToIntDef(Text(key), 0); }
void TProfileRecord::SetText(const std::string& key, const std::string& value) { FFields.SetText(IndexOf(key), value); }
void TProfileRecord::SetBool(const std::string& key, bool value) { SetText(key, value ? "1" : "0"); }
void TProfileRecord::SetInt(const std::string& key, int32_t value) { SetText(key, IntToStr(value)); }

// ---- codec choice ----

TCodecChoice AudioCodecChoice(std::vector<const std::string*> items) {
  return {"ComboBoxAudioCodec", "PageControlACodec", "AudioCodec", std::move(items), "GroupBoxAudioCodec",
          &IDS_PROFILE_GROUPBOX_AudioCodec};
}
TCodecChoice VideoCodecChoice(std::vector<const std::string*> items) {
  return {"ComboBoxVideoCodec", "PageControlVCodec", "VideoCodec", std::move(items), "GroupBoxVideoCode",
          &IDS_PROFILE_GROUPBOX_VideoCodec};
}

void TCodecChoiceGroup::DeclareLayout(TLayoutBinder& b) {
  if (!FChoice.GroupBoxName.empty()) Field(b, FChoice.GroupBoxName, GroupBox);
  Field(b, FChoice.ListName, List);
  Field(b, FChoice.PageControlName, Pages);
  Handler(b, FChoice.ListName, "Change", this, &TCodecChoiceGroup::UpdateCodecPages);
}

void TCodecChoiceGroup::ApplyLanguage() {
  if (GroupBox && FChoice.GroupBoxCaption) GroupBox->SetCaption(*FChoice.GroupBoxCaption);
  List->ClearItems();
  for (const std::string* item : FChoice.Items) List->AddItem(*item);
}

void TCodecChoiceGroup::LoadSettings(TProfileRecord& r) { List->SetItemIndex(r.Int(FChoice.FieldKey)); }
void TCodecChoiceGroup::SaveSettings(TProfileRecord& r) { r.SetInt(FChoice.FieldKey, List->GetItemIndex()); }

void TCodecChoiceGroup::UpdateCodecPages() {
  for (int i = 0; i < Pages->PageCount(); ++i) Pages->Pages(i)->SetTabVisible(false);
  Pages->SetActivePageIndex(List->GetItemIndex());
}

// ---- check box fields and Disable audio ----

TCheckBoxField SameQualityField() {
  return {"GroupBoxSameQuality", &IDS_PROFILE_GROUPBOX_SameQuality, "CheckBoxSameQuality",
          &IDS_PROFILE_CHECKBOX_UseName, "VideoSameQuality"};
}

void TCheckBoxFieldGroup::DeclareLayout(TLayoutBinder& b) {
  b.Field(FField.GroupBoxName, GroupBox);
  b.Field(FField.CheckBoxName, CheckBox);
}
void TCheckBoxFieldGroup::ApplyLanguage() {
  GroupBox->SetCaption(*FField.GroupBoxCaption);
  CheckBox->SetCaption(*FField.CheckBoxCaption);
}
void TCheckBoxFieldGroup::LoadSettings(TProfileRecord& r) { CheckBox->SetChecked(r.Bool(FField.FieldKey)); }
void TCheckBoxFieldGroup::SaveSettings(TProfileRecord& r) { r.SetBool(FField.FieldKey, CheckBox->GetChecked()); }

TDisableAudioGroup::TDisableAudioGroup()
    : TCheckBoxFieldGroup({"GroupBoxDisableAudio", &IDS_PROFILE_GROUPBOX_DisableAudio, "CheckBoxDisableAudio",
                           &IDS_PROFILE_CHECKBOX_DisableAudio, "AudioDisableAudio"}) {}

void TDisableAudioGroup::DeclareLayout(TLayoutBinder& b) {
  TCheckBoxFieldGroup::DeclareLayout(b);
  b.Field("GroupBoxAudioCodec", GroupBoxAudioCodec);
  b.Field("ComboBoxAudioCodec", ComboBoxAudioCodec);
  b.Field("TabSheetAudio", TabSheetAudio);
  Handler(b, "CheckBoxDisableAudio", "Click", this, &TDisableAudioGroup::UpdateAudioEnabled);
}

void TDisableAudioGroup::UpdateAudioEnabled() {
  const bool audio = !CheckBox->GetChecked();
  GroupBoxAudioCodec->SetEnabled(audio);
  ComboBoxAudioCodec->SetEnabled(audio);
  TabSheetAudio->SetTabVisible(audio);
}

// ---- the frame ----

ORV_DEFINE_CLASS(TfrmProfileEditor, TForm, nullptr, {})

TfrmProfileEditor::TfrmProfileEditor(TComponent* owner, TOutputFormat format, const std::string& formatName,
                                     const TControlSpelling* spelling)
    : TForm(owner), FFormat(format), FFormatName(formatName), FSpelling(spelling) {}

void TfrmProfileEditor::DeclareLayout(TLayoutBinder& b) {
  b.Field("PanelTop", PanelTop);
  b.Field("PanelBottom", PanelBottom);
  b.Field(Spelled(FSpelling, "labDescription"), labDescription);
  b.Field(Spelled(FSpelling, "EditDescription"), EditDescription);
  b.Field("btnSave", btnSave);
  b.Field("btnClose", btnClose);
  b.Field(Spelled(FSpelling, "PageControlOptions"), PageControlOptions);
  b.Field(Spelled(FSpelling, "TabSheetGeneral"), TabSheetGeneral);
  b.Field("TabSheetAudio", TabSheetAudio);
  b.Handler("FormCreate", this, &TfrmProfileEditor::FormCreate);
  b.Handler("FormShow", this, &TfrmProfileEditor::FormShow);
  b.Handler("btnSaveClick", this, &TfrmProfileEditor::btnSaveClick);
  for (auto& g : FGroups) {
    g->FSpelling = FSpelling;
    g->DeclareLayout(b);
  }
}

void TfrmProfileEditor::ApplyLanguage() {
  SetCaption(FormatText(IDS_PROFILE_FORM_ProfileEditor, FFormatName));
  labDescription->SetCaption(IDS_PROFILE_LABEL_Description);
  TabSheetGeneral->SetCaption(IDS_PROFILE_PAGECONTROL_General);
  TabSheetAudio->SetCaption(IDS_PROFILE_PAGECONTROL_Audio);
  if (auto* video = dynamic_cast<TTabSheet*>(FindComponent("TabSheetVideo")))
    video->SetCaption(IDS_PROFILE_PAGECONTROL_Video);
  btnSave->SetCaption(IDS_PROFILE_BUTTON_Save);
  btnClose->SetCaption(IDS_PROFILE_BUTTON_Close);
  for (auto& g : FGroups) g->ApplyLanguage();
}

// The lists get their items before LoadSettings selects in them; the sliders get their lengths.
void TfrmProfileEditor::FormCreate(TObject*) {
  ApplyLanguage();
  for (auto& g : FGroups) g->FormCreate();
}

void TfrmProfileEditor::LoadSettings() {
  TProfileRecord r(FFormat);
  EditDescription->SetText(r.Text("Description"));
  for (auto& g : FGroups) g->LoadSettings(r);
}

void TfrmProfileEditor::SaveSettings() {
  TProfileRecord r(FFormat);
  r.SetText("Description", EditDescription->GetText());
  for (auto& g : FGroups) g->SaveSettings(r);
}

// Every rule once more, so the window agrees with the loaded values whatever ran while loading.
void TfrmProfileEditor::FormShow(TObject*) {
  for (auto& g : FGroups) g->FormShow();
  UpdateCodecPages();
}

void TfrmProfileEditor::UpdateCodecPages() {
  for (auto& g : FGroups)
    if (auto* c = dynamic_cast<TCodecChoiceGroup*>(g.get())) c->UpdateCodecPages();
}

// Taking the focus runs the exit check of a time edit that had it, before the modal result ends the
// window, so SaveSettings reads checked texts.
void TfrmProfileEditor::btnSaveClick(TObject* Sender) {
  if (auto* b = dynamic_cast<TWinControl*>(Sender)) b->SetFocus();
}

std::string Spelled(const TControlSpelling* spelling, const std::string& name) {
  if (!spelling) return name;
  auto it = spelling->find(name);
  return it == spelling->end() ? name : it->second;
}

void EnableControls(std::initializer_list<TControl*> controls, bool enabled) {
  for (TControl* c : controls) c->SetEnabled(enabled);
}

std::string FormatText(const std::string& pattern, const std::string& arg) {
  size_t at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + arg + pattern.substr(at + 2);
}

namespace {
TInputIntegerFn gInputInteger = nullptr;
}

void SetEditorInputInteger(TInputIntegerFn fn) { gInputInteger = fn; }

int32_t EditorInputInteger(TCustomForm* owner, const std::string& caption, const std::string& prompt, int32_t min,
                           int32_t max, int32_t def) {
  return gInputInteger ? gInputInteger(owner, caption, prompt, min, max, def) : def;
}
