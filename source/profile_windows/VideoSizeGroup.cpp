#include "VideoSizeGroup.h"

#include <climits>

#include "EditorTexts.h"
#include "Strings.h"

const std::vector<TVideoSize>& StandardVideoSizes() {
  static const std::vector<TVideoSize> sizes = {{320, 240}, {352, 240}, {352, 288}, {384, 288}, {480, 480},
                                                {480, 576}, {640, 368}, {640, 480}, {704, 480}, {704, 576},
                                                {720, 480}, {720, 576}, {1280, 720}};
  return sizes;
}

const std::vector<TVideoSize>& VideoSizesWithoutHD() {
  static const std::vector<TVideoSize> sizes(StandardVideoSizes().begin(), StandardVideoSizes().end() - 1);
  return sizes;
}

const std::vector<std::string>& StandardFrameRates() {
  // "10 " keeps the blank it always had; the record holds only the index.
  static const std::vector<std::string> rates = {"10 ",   "12", "14.985", "15", "19.98", "23.976", "24",
                                                 "25",    "29.97", "30",  "50", "59.94", "60"};
  return rates;
}

const std::vector<std::string>& VobFrameRates() {
  static const std::vector<std::string> rates(StandardFrameRates().begin() + 4, StandardFrameRates().end());
  return rates;
}

std::string VideoSizeText(const TVideoSize& size) { return IntToStr(size.Width) + "x" + IntToStr(size.Height); }

// ---- size ----

TVideoSizeGroup::TVideoSizeGroup(const std::string& suffix, const std::string& keySuffix,
                                 std::vector<TVideoSize> sizes, bool evenSizes)
    : TEditorGroup(suffix), FKeySuffix(keySuffix), FSizes(std::move(sizes)), FEvenSizes(evenSizes) {}

void TVideoSizeGroup::DeclareLayout(TLayoutBinder& b) {
  Field(b, "GroupBoxVideoSize", GroupBoxVideoSize);
  Field(b, "RadioButtonKeepSourceSize", RadioButtonKeepSourceSize);
  Field(b, "RadioButtonChangVideoSize", RadioButtonChangVideoSize);
  Field(b, "LabelVideoDimensions", LabelVideoDimensions);
  Field(b, "ComboBoxVideoSize", ComboBoxVideoSize);
  Field(b, "LabelVideoWidth", LabelVideoWidth);
  Field(b, "LabelVideoHeight", LabelVideoHeight);
  Field(b, "LabelX", LabelX);
  Field(b, "EditVideoWidth", EditVideoWidth);
  Field(b, "EditVideoHeight", EditVideoHeight);
  Handler(b, "RadioButtonKeepSourceSize", "Click", this, &TVideoSizeGroup::UpdateVideoSize);
  Handler(b, "RadioButtonChangVideoSize", "Click", this, &TVideoSizeGroup::UpdateVideoSize);
  Handler(b, "EditVideoWidth", "Change", this, &TVideoSizeGroup::SyncVideoSize);
  Handler(b, "EditVideoHeight", "Change", this, &TVideoSizeGroup::SyncVideoSize);
  Handler(b, "ComboBoxVideoSize", "Change", this, &TVideoSizeGroup::ComboBoxVideoSizeChange);
  for (const char* field : {"EditVideoWidth", "EditVideoHeight"})
    b.Handle<TNotifyEvent>(Named(field) + "Exit", [this](TObject* Sender) { EditVideoSizeExit(Sender); });
}

void TVideoSizeGroup::ApplyLanguage() {
  GroupBoxVideoSize->SetCaption(IDS_PROFILE_GROUPBOX_VideoSize);
  RadioButtonKeepSourceSize->SetCaption(IDS_PROFILE_RADIOBUTTON_KeepSource);
  RadioButtonChangVideoSize->SetCaption(IDS_PROFILE_RADIOBUTTON_Change);
  LabelVideoDimensions->SetCaption(IDS_PROFILE_LABEL_VideoDimensions);
  LabelVideoWidth->SetCaption(IDS_PROFILE_LABEL_Width);
  LabelVideoHeight->SetCaption(IDS_PROFILE_LABEL_Height);
  std::vector<std::string> items;
  for (const TVideoSize& size : FSizes) items.push_back(VideoSizeText(size));
  items.push_back("...");
  ComboBoxVideoSize->SetItems(items);
}

void TVideoSizeGroup::LoadSettings(TProfileRecord& r) {
  const bool useSource = r.Bool("VideoSizeUseSource" + FKeySuffix);
  RadioButtonKeepSourceSize->SetChecked(useSource);
  RadioButtonChangVideoSize->SetChecked(!useSource);
  EditVideoWidth->SetIntValue(r.Int("VideoWidth" + FKeySuffix));
  EditVideoHeight->SetIntValue(r.Int("VideoHeight" + FKeySuffix));
}

void TVideoSizeGroup::SaveSettings(TProfileRecord& r) {
  r.SetBool("VideoSizeUseSource" + FKeySuffix, RadioButtonKeepSourceSize->GetChecked());
  r.SetInt("VideoWidth" + FKeySuffix, EditVideoWidth->GetIntValue());
  r.SetInt("VideoHeight" + FKeySuffix, EditVideoHeight->GetIntValue());
}

void TVideoSizeGroup::UpdateVideoSize() {
  if (!RadioButtonChangVideoSize || !ComboBoxVideoSize) return;  // a click while the layout is read
  EnableControls({EditVideoWidth, EditVideoHeight, LabelVideoWidth, LabelVideoHeight, LabelX, LabelVideoDimensions,
             ComboBoxVideoSize},
            RadioButtonChangVideoSize->GetChecked());
}

void TVideoSizeGroup::SyncVideoSize() {
  if (!ComboBoxVideoSize || !EditVideoWidth || !EditVideoHeight) return;
  const int width = EditVideoWidth->GetIntValue();
  const int height = EditVideoHeight->GetIntValue();
  int index = int(FSizes.size());  // "..."
  for (size_t i = 0; i < FSizes.size(); ++i)
    if (FSizes[i].Width == width && FSizes[i].Height == height) {
      index = int(i);
      break;
    }
  ComboBoxVideoSize->SetItemIndex(index);
}

void TVideoSizeGroup::ComboBoxVideoSizeChange() {
  const int index = ComboBoxVideoSize->GetItemIndex();
  if (index < 0 || index >= int(FSizes.size())) return;  // "..." keeps the fields
  const TVideoSize size = FSizes[size_t(index)];
  EditVideoWidth->SetIntValue(size.Width);
  EditVideoHeight->SetIntValue(size.Height);
}

void TVideoSizeGroup::EditVideoSizeExit(TObject* Sender) {
  if (!FEvenSizes) return;
  auto* edit = dynamic_cast<TFcSpinEdit*>(Sender);
  if (!edit) return;
  const int value = edit->GetIntValue();
  // Both limits are even, so the field's own limiting afterwards keeps the value even.
  if (value % 2 != 0 && value < INT_MAX) edit->SetIntValue(value + 1);
}

// ---- radio button choices ----

TVideoChoiceGroup::TVideoChoiceGroup(const std::string& suffix, const std::string& keySuffix,
                                     const std::string& groupBoxName, const std::string& caption,
                                     std::vector<std::string> buttonNames)
    : TEditorGroup(suffix),
      Buttons(buttonNames.size(), nullptr),
      FKeySuffix(keySuffix),
      FGroupBoxName(groupBoxName),
      FCaption(caption),
      FButtonNames(std::move(buttonNames)) {}

void TVideoChoiceGroup::DeclareLayout(TLayoutBinder& b) {
  Field(b, FGroupBoxName, GroupBox);
  for (size_t i = 0; i < FButtonNames.size(); ++i) Field(b, FButtonNames[i], Buttons[i]);
}

void TVideoChoiceGroup::ApplyLanguage() { GroupBox->SetCaption(FCaption); }

void TVideoChoiceGroup::Choose(int choice) {
  if (choice >= 0 && choice < int(Buttons.size())) Buttons[size_t(choice)]->SetChecked(true);
}

int TVideoChoiceGroup::Chosen() const {
  for (size_t i = 0; i < Buttons.size(); ++i)
    if (Buttons[i]->GetChecked()) return int(i);
  return -1;
}

// ---- H.263 fixed sizes ----

namespace {
std::vector<std::string> FixedSizeButtonNames() {
  std::vector<std::string> names;
  for (const TVideoSize& size : TVideoFixedSizeGroup::FixedSizes())
    names.push_back("RadioButtonVideoSize" + IntToStr(size.Width) + "_" + IntToStr(size.Height));
  return names;
}
}  // namespace

TVideoFixedSizeGroup::TVideoFixedSizeGroup(const std::string& suffix, const std::string& keySuffix)
    : TVideoChoiceGroup(suffix, keySuffix, "GroupBoxVideoSize", IDS_PROFILE_GROUPBOX_VideoSize,
                        FixedSizeButtonNames()) {}

const std::vector<TVideoSize>& TVideoFixedSizeGroup::FixedSizes() {
  static const std::vector<TVideoSize> sizes = {{128, 96}, {176, 144}, {352, 288}};
  return sizes;
}

void TVideoFixedSizeGroup::LoadSettings(TProfileRecord& r) {
  const int32_t width = r.Int("VideoWidth" + FKeySuffix), height = r.Int("VideoHeight" + FKeySuffix);
  for (size_t i = 0; i < FixedSizes().size(); ++i)
    if (FixedSizes()[i].Width == width && FixedSizes()[i].Height == height) Choose(int(i));
}

void TVideoFixedSizeGroup::SaveSettings(TProfileRecord& r) {
  const int chosen = Chosen();
  if (chosen < 0) return;
  r.SetInt("VideoWidth" + FKeySuffix, FixedSizes()[size_t(chosen)].Width);
  r.SetInt("VideoHeight" + FKeySuffix, FixedSizes()[size_t(chosen)].Height);
}

// ---- frame rate ----

TVideoFrameRateGroup::TVideoFrameRateGroup(const std::string& suffix, const std::string& keySuffix,
                                           std::vector<std::string> rates)
    : TEditorGroup(suffix), FKeySuffix(keySuffix), FRates(std::move(rates)) {}

void TVideoFrameRateGroup::DeclareLayout(TLayoutBinder& b) {
  Field(b, "GroupBoxVideoFrameRate", GroupBoxVideoFrameRate);
  Field(b, "RadioButtonKeepFrameRate", RadioButtonKeepFrameRate);
  Field(b, "RadioButtonChangeFrameRate", RadioButtonChangeFrameRate);
  Field(b, "ComboBoxVideoFrameRate", ComboBoxVideoFrameRate);
  Handler(b, "RadioButtonKeepFrameRate", "Click", this, &TVideoFrameRateGroup::UpdateFrameRate);
  Handler(b, "RadioButtonChangeFrameRate", "Click", this, &TVideoFrameRateGroup::UpdateFrameRate);
}

void TVideoFrameRateGroup::ApplyLanguage() {
  GroupBoxVideoFrameRate->SetCaption(IDS_PROFILE_GROUPBOX_FrameRate);
  RadioButtonKeepFrameRate->SetCaption(IDS_PROFILE_RADIOBUTTON_Auto);
  RadioButtonChangeFrameRate->SetCaption(IDS_PROFILE_RADIOBUTTON_changeFrame);
  ComboBoxVideoFrameRate->SetItems(FRates);
}

void TVideoFrameRateGroup::LoadSettings(TProfileRecord& r) {
  const bool keep = r.Bool("VideoKeepFrameRate" + FKeySuffix);
  RadioButtonKeepFrameRate->SetChecked(keep);
  RadioButtonChangeFrameRate->SetChecked(!keep);
  ComboBoxVideoFrameRate->SetItemIndex(r.Int("VideoFrameRate" + FKeySuffix));  // beyond the list: none
}

void TVideoFrameRateGroup::SaveSettings(TProfileRecord& r) {
  r.SetBool("VideoKeepFrameRate" + FKeySuffix, RadioButtonKeepFrameRate->GetChecked());
  r.SetInt("VideoFrameRate" + FKeySuffix, ComboBoxVideoFrameRate->GetItemIndex());
}

void TVideoFrameRateGroup::UpdateFrameRate() {
  if (!RadioButtonChangeFrameRate || !ComboBoxVideoFrameRate) return;  // a click while the layout is read
  ComboBoxVideoFrameRate->SetEnabled(RadioButtonChangeFrameRate->GetChecked());
}

// ---- aspect ----

namespace {
const std::vector<std::string> kAspectButtons = {"RadioButtonAutoSetAspect", "RadioButtonAspect43",
                                                 "RadioButtonAspect169"};
const std::vector<std::string> kH263AspectButtons = {"RadioButtonAutoSetAspect", "RadioButtonAspect11",
                                                     "RadioButtonAspect43", "RadioButtonAspect119",
                                                     "RadioButtonAspect169"};
}  // namespace

TVideoAspectGroup::TVideoAspectGroup(const std::string& suffix, const std::string& keySuffix, bool h263)
    : TVideoChoiceGroup(suffix, keySuffix, "GroupBoxAspect", IDS_PROFILE_GROUPBOX_Aspect,
                        h263 ? kH263AspectButtons : kAspectButtons) {}

void TVideoAspectGroup::ApplyLanguage() {
  TVideoChoiceGroup::ApplyLanguage();
  Buttons[0]->SetCaption(IDS_PROFILE_RADIOBUTTON_Auto);
}

void TVideoAspectGroup::LoadSettings(TProfileRecord& r) { Choose(r.Int("VideoAspect" + FKeySuffix)); }

void TVideoAspectGroup::SaveSettings(TProfileRecord& r) {
  const int chosen = Chosen();
  if (chosen >= 0) r.SetInt("VideoAspect" + FKeySuffix, chosen);
}

// ---- the page ----

TVideoPageGroup::TVideoPageGroup(const TVideoPage& page, const std::vector<TVideoSize>& sizes,
                                 const std::vector<std::string>& frameRates, bool evenSizes)
    : TEditorGroup(page.Suffix),
      Bitrate(TVideoBitrateSpec{page.Suffix, page.KeySuffix, page.Table, page.SliderLength}),
      FrameRate(page.Suffix, page.KeySuffix, frameRates),
      Aspect(page.Suffix, page.KeySuffix, page.FixedSize),
      FPage(page) {
  if (page.FixedSize)
    FixedSize = std::make_unique<TVideoFixedSizeGroup>(page.Suffix, page.KeySuffix);
  else
    Size = std::make_unique<TVideoSizeGroup>(page.Suffix, page.KeySuffix, sizes, evenSizes);
}

TEditorGroup& TVideoPageGroup::SizePart() {
  return Size ? static_cast<TEditorGroup&>(*Size) : static_cast<TEditorGroup&>(*FixedSize);
}

void TVideoPageGroup::DeclareLayout(TLayoutBinder& b) {
  Field(b, "lab", Header);
  for (TEditorGroup* g : {static_cast<TEditorGroup*>(&Bitrate), &SizePart(), static_cast<TEditorGroup*>(&FrameRate),
                          static_cast<TEditorGroup*>(&Aspect)})
    g->DeclareLayout(b);
}

void TVideoPageGroup::ApplyLanguage() {
  Header->SetCaption(FormatText(IDS_PROFILE_LABEL_FormatProperties, *FPage.CodecName));
  Bitrate.ApplyLanguage();
  SizePart().ApplyLanguage();
  FrameRate.ApplyLanguage();
  Aspect.ApplyLanguage();
}

void TVideoPageGroup::FormCreate() { Bitrate.FormCreate(); }

void TVideoPageGroup::LoadSettings(TProfileRecord& r) {
  Bitrate.LoadSettings(r);
  Aspect.LoadSettings(r);
  FrameRate.LoadSettings(r);
  SizePart().LoadSettings(r);
}

void TVideoPageGroup::SaveSettings(TProfileRecord& r) {
  Bitrate.SaveSettings(r);
  Aspect.SaveSettings(r);
  FrameRate.SaveSettings(r);
  SizePart().SaveSettings(r);
}

void TVideoPageGroup::FormShow() {
  Bitrate.UpdateBitrateMode();
  FrameRate.UpdateFrameRate();
  if (Size) Size->UpdateVideoSize();
}
