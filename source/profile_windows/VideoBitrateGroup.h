// The "Bitrate" group of a video codec page: a slider over the codec's preset table ("Preset Quality")
// or a number typed into the value dialog ("Specify Settings"). The record keeps the choice and both
// values, so switching the choice loses neither.
//
// Controls of suffix S (layouts/ProfileVideoBitrate.layout included with suffix S):
//   GroupBoxVideoBitrateS, RadioButtonVideoPresertS, LabelCurrentBitrateS, LabelBitrateS, LabelKbps2S,
//   LabelLowS, TrackBarVideoBitrateS, LabelHighS, RadioButtonVideoSpecifyS, LabelBitrateSpecifyS,
//   LabelKbpsS, ButtonVideoBitrateConfigureS; a name infix I follows the kind (GroupBoxIVideoBitrateS).
// Record fields: <P>VideoBitRateUsePresert<K>, <P>VideoBitRatePreset<K>, <P>VideoBitRateSpecify<K> (the
// key prefix P is empty on codec pages, "DVD" on the MPEG window's DVD tab; K is the record's codec suffix).
// While the window is open the slider position is the only store of the preset value and the caption of
// LabelBitrateSpecifyS the only store of the specified value.
#pragma once

#include <cstdint>
#include <string>

#include "ProfileEditor.h"
#include "Settings.h"

struct TVideoBitrateSpec {
  std::string Suffix;              // of the control names: "DivX", "Msmpeg4"
  std::string KeySuffix;           // of the record keys: "DivX", "MsMPEG4"
  const TBitRateTable* Table;      // the page's preset table
  int SliderLength;                // the slider's Max: the table's length, shorter on the 3GP pages
  int DefaultPosition = 2;         // where a stored value that no entry equals leaves the slider
  std::string KeyPrefix = std::string();
  std::string NameInfix = std::string();  // in the control names after the kind: RadioButtonDVDVideoPresert
};

class TVideoBitrateGroup : public TEditorGroup {
public:
  explicit TVideoBitrateGroup(TVideoBitrateSpec spec);

  TGroupBox* GroupBoxVideoBitrate = nullptr;
  TRadioButton* RadioButtonVideoPresert = nullptr;
  TLabel *LabelCurrentBitrate = nullptr, *LabelBitrate = nullptr, *LabelKbps2 = nullptr, *LabelLow = nullptr,
         *LabelHigh = nullptr;
  TTrackBar* TrackBarVideoBitrate = nullptr;
  TRadioButton* RadioButtonVideoSpecify = nullptr;
  TLabel *LabelBitrateSpecify = nullptr, *LabelKbps = nullptr;
  TButton* ButtonVideoBitrateConfigure = nullptr;

  const TVideoBitrateSpec& Spec() const { return FSpec; }

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void FormCreate() override;  // the slider's length
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override { UpdateBitrateMode(); }

  // The copy rules on plain values.
  void Load(bool usePreset, int32_t preset, int32_t specify);
  void Save(bool& usePreset, int32_t& preset, int32_t& specify) const;

  // Enables the controls of the chosen way and disables those of the other.
  virtual void UpdateBitrateMode();
  // OnChange of the slider: shows the entry under it.
  void TrackBarVideoBitrateChange();
  // OnClick of Configure: asks for the specified value within the table's first and last entries.
  void ButtonVideoBitrateConfigureClick();

private:
  // ("RadioButton", "VideoPresert") -> RadioButton<I>VideoPresert<S>.
  std::string ControlName(const std::string& kind, const char* rest) const {
    return kind + FSpec.NameInfix + rest + Suffix();
  }
  std::string Key(const std::string& name) const { return FSpec.KeyPrefix + name + FSpec.KeySuffix; }
  TVideoBitrateSpec FSpec;
};

// The text a bit-rate label shows for a table entry: the language pattern IDS_BITTATE_FORMAT applied to
// the entry. A pattern that does not take exactly one text (a broken language file) shows the entry as
// it stands instead of raising from inside the slider's change notice.
std::string BitrateLabelText(const std::string& entry);
