#include "VideoBitrateGroup.h"

#include "EditorTexts.h"
#include "Strings.h"

std::string BitrateLabelText(const std::string& entry) {
  std::string text;
  return TryFormat(IDS_BITTATE_FORMAT, {entry}, text) ? text : entry;
}

TVideoBitrateGroup::TVideoBitrateGroup(TVideoBitrateSpec spec) : TEditorGroup(spec.Suffix), FSpec(std::move(spec)) {}

void TVideoBitrateGroup::DeclareLayout(TLayoutBinder& b) {
  b.Field(ControlName("GroupBox", "VideoBitrate"), GroupBoxVideoBitrate);
  b.Field(ControlName("RadioButton", "VideoPresert"), RadioButtonVideoPresert);
  b.Field(ControlName("Label", "CurrentBitrate"), LabelCurrentBitrate);
  b.Field(ControlName("Label", "Bitrate"), LabelBitrate);
  b.Field(ControlName("Label", "Kbps2"), LabelKbps2);
  b.Field(ControlName("Label", "Low"), LabelLow);
  b.Field(ControlName("TrackBar", "VideoBitrate"), TrackBarVideoBitrate);
  b.Field(ControlName("Label", "High"), LabelHigh);
  b.Field(ControlName("RadioButton", "VideoSpecify"), RadioButtonVideoSpecify);
  b.Field(ControlName("Label", "BitrateSpecify"), LabelBitrateSpecify);
  b.Field(ControlName("Label", "Kbps"), LabelKbps);
  b.Field(ControlName("Button", "VideoBitrateConfigure"), ButtonVideoBitrateConfigure);
  // UpdateBitrateMode is virtual: the DVD tab's group keeps its kbps label enabled.
  BindNotify(b, ControlName("RadioButton", "VideoPresert") + "Click", this, &TVideoBitrateGroup::UpdateBitrateMode);
  BindNotify(b, ControlName("RadioButton", "VideoSpecify") + "Click", this, &TVideoBitrateGroup::UpdateBitrateMode);
  BindNotify(b, ControlName("TrackBar", "VideoBitrate") + "Change", this,
             &TVideoBitrateGroup::TrackBarVideoBitrateChange);
  BindNotify(b, ControlName("Button", "VideoBitrateConfigure") + "Click", this,
             &TVideoBitrateGroup::ButtonVideoBitrateConfigureClick);
}

void TVideoBitrateGroup::ApplyLanguage() {
  GroupBoxVideoBitrate->SetCaption(IDS_PROFILE_GROUPBOX_Bitrate);
  RadioButtonVideoPresert->SetCaption(IDS_PROFILE_RADIOBUTTON_PresetQuality);
  LabelCurrentBitrate->SetCaption(IDS_PROFILE_LABEL_CurrentBitrate);
  LabelLow->SetCaption(IDS_PROFILE_LABEL_LowQuality);
  LabelHigh->SetCaption(IDS_PROFILE_LABEL_HighQuliaty);
  RadioButtonVideoSpecify->SetCaption(IDS_PROFILE_RADIOBUTTON_SpecifySetting);
  ButtonVideoBitrateConfigure->SetCaption(IDS_PROFILE_BUTTON_Configure);
}

void TVideoBitrateGroup::FormCreate() { TrackBarVideoBitrate->SetMax(FSpec.SliderLength); }

void TVideoBitrateGroup::LoadSettings(TProfileRecord& r) {
  Load(r.Bool(Key("VideoBitRateUsePresert")), r.Int(Key("VideoBitRatePreset")), r.Int(Key("VideoBitRateSpecify")));
}

void TVideoBitrateGroup::SaveSettings(TProfileRecord& r) {
  bool usePreset = true;
  int32_t preset = 0, specify = r.Int(Key("VideoBitRateSpecify"));
  Save(usePreset, preset, specify);
  r.SetInt(Key("VideoBitRatePreset"), preset);
  r.SetBool(Key("VideoBitRateUsePresert"), usePreset);
  r.SetInt(Key("VideoBitRateSpecify"), specify);
}

void TVideoBitrateGroup::Load(bool usePreset, int32_t preset, int32_t specify) {
  RadioButtonVideoPresert->SetChecked(usePreset);
  RadioButtonVideoSpecify->SetChecked(!usePreset);
  LabelBitrateSpecify->SetCaption(IntToStr(specify));
  // Step by step as the slider is told: the default position, then every equal entry in turn, so the
  // last equal entry wins and the slider clamps a position beyond its length.
  TrackBarVideoBitrate->SetPosition(FSpec.DefaultPosition);
  for (int p : FSpec.Table->PositionsOf(preset)) TrackBarVideoBitrate->SetPosition(p);
}

void TVideoBitrateGroup::Save(bool& usePreset, int32_t& preset, int32_t& specify) const {
  preset = FSpec.Table->Value(TrackBarVideoBitrate->GetPosition());
  usePreset = RadioButtonVideoPresert->GetChecked();
  specify = StrToIntDef(LabelBitrateSpecify->GetCaption(), specify);
}

void TVideoBitrateGroup::UpdateBitrateMode() {
  // Reading the layout may click a button before every control of the group is bound.
  if (!ButtonVideoBitrateConfigure || !RadioButtonVideoPresert || !RadioButtonVideoSpecify) return;
  EnableControls({LabelCurrentBitrate, LabelBitrate, LabelLow, LabelHigh, TrackBarVideoBitrate, LabelKbps2},
                 RadioButtonVideoPresert->GetChecked());
  EnableControls({LabelBitrateSpecify, LabelKbps, ButtonVideoBitrateConfigure}, RadioButtonVideoSpecify->GetChecked());
}

void TVideoBitrateGroup::TrackBarVideoBitrateChange() {
  if (!LabelBitrate || !TrackBarVideoBitrate) return;
  const int position = TrackBarVideoBitrate->GetPosition();
  if (position < 1 || position > FSpec.Table->Count()) return;
  LabelBitrate->SetCaption(BitrateLabelText(FSpec.Table->Entry(position)));
}

void TVideoBitrateGroup::ButtonVideoBitrateConfigureClick() {
  // The bounds are the table's first and last entries, also where the slider stops short of the last.
  const int32_t def = StrToIntDef(LabelBitrateSpecify->GetCaption(), 0);
  const int32_t value =
      EditorInputInteger(GetParentForm(ButtonVideoBitrateConfigure), IDS_ENTER_VIDEOBITRATE_TITLE,
                         IDS_ENTER_VIDEOBITRATE, FSpec.Table->First(), FSpec.Table->Last(), def);
  LabelBitrateSpecify->SetCaption(IntToStr(value));
}
