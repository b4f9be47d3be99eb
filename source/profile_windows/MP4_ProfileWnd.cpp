#include "MP4_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmMp4Profile, TfrmVideoProfileEditor, nullptr, {})

namespace {

// The size lists' sizes, some named after a device (a language text) in brackets.
struct TNamedSize {
  TVideoSize Size;
  const std::string* Device;
};
const std::vector<TNamedSize>& NamedSizes() {
  static const std::vector<TNamedSize> sizes = {
      {{176, 120}, nullptr},
      {{176, 144}, &IDS_PROFILE_CHECKBOX_MobileMovie},
      {{240, 176}, nullptr},
      {{320, 176}, nullptr},
      {{320, 240}, &IDS_PROFILE_CHECKBOX_AppleiPod},
      {{368, 208}, &IDS_PROFILE_GROUPBOX_Type_FullScreen},
      {{384, 160}, nullptr},
      {{400, 192}, nullptr},
      {{416, 176}, nullptr},
      {{480, 160}, nullptr},
      {{480, 272}, nullptr},
  };
  return sizes;
}

std::vector<TVideoSize> Sizes() {
  std::vector<TVideoSize> sizes;
  for (const TNamedSize& s : NamedSizes()) sizes.push_back(s.Size);
  return sizes;
}

// The device types in the order of the stored index.
const std::vector<const std::string*> kFormats = {&IDS_PROFILE_CHECKBOX_AppleiPod, &IDS_PROFILE_CHECKBOX_SonyPSP,
                                                  &IDS_PROFILE_CHECKBOX_MobileMovie, &IDS_PROFILE_CHECKBOX_Mp4};

}  // namespace

// ---- device type ----

void TMp4FormatGroup::DeclareLayout(TLayoutBinder& b) {
  b.Field("GroupBoxFormats", GroupBoxFormats);
  b.Field("ComboBoxMp4Format", ComboBoxMp4Format);
  b.Handle<TNotifyEvent>("ComboBoxMp4FormatChange", [this](TObject*) { FForm->UpdateCodecPages(); });
}

void TMp4FormatGroup::ApplyLanguage() {
  GroupBoxFormats->SetCaption(IDS_PROFILE_GROUPBOX_Type);
  ComboBoxMp4Format->ClearItems();
  for (const std::string* item : kFormats) ComboBoxMp4Format->AddItem(*item);
}

void TMp4FormatGroup::LoadSettings(TProfileRecord& r) { ComboBoxMp4Format->SetItemIndex(r.Int("Format")); }
void TMp4FormatGroup::SaveSettings(TProfileRecord& r) { r.SetInt("Format", ComboBoxMp4Format->GetItemIndex()); }

// Page 1 is the PSP's AAC page; every other type, and no type at all, shows page 0.
void TMp4AudioChoiceGroup::UpdateCodecPages() {
  for (int i = 0; i < Pages->PageCount(); ++i) Pages->Pages(i)->SetTabVisible(false);
  Pages->SetActivePageIndex(FFormat.ComboBoxMp4Format->GetItemIndex() == TMp4FormatGroup::SonyPsp ? 1 : 0);
}

// ---- the window ----

const TVideoEditorSpec& TfrmMp4Profile::Spec() {
  static const TVideoEditorSpec spec = {
      {
          {"H264", "H264", &IDS_PROFILE_PAGECONTROL_H264, &VideoBitRatesH264, 13},
          {"DivX", "DivX", &IDS_PROFILE_PAGECONTROL_Divx, &VideoBitRatesDivX, 13},
          {"XviD", "XviD", &IDS_PROFILE_PAGECONTROL_Xvid, &VideoBitRatesXviD, 13},
      },
      {"DivX", "XviD", "H264"},
      {&IDS_PROFILE_PAGECONTROL_H264},
      Sizes(),
      {AudioPageAACMp4(), AudioPageAACPsp()},
      {&IDS_PROFILE_PAGECONTROL_Aac},
  };
  return spec;
}

std::vector<std::string> TfrmMp4Profile::SizeItems() {
  std::vector<std::string> items;
  for (const TNamedSize& s : NamedSizes())
    items.push_back(VideoSizeText(s.Size) + (s.Device ? " (" + *s.Device + ")" : std::string()));
  return items;
}

TfrmMp4Profile::TfrmMp4Profile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofMP4, IDS_PROFILE_CHECKBOX_Mp4) {
  Mp4Format = AddGroup<TMp4FormatGroup>(this);
  AddVideoEditorGroups(Spec(), std::make_unique<TMp4AudioChoiceGroup>(AudioCodecChoice(Spec().AudioCodecs), *Mp4Format));
  InitLayout();
}

// The size items carry the device names of the language, so they are refilled with the other texts.
void TfrmMp4Profile::ApplyLanguage() {
  TfrmVideoProfileEditor::ApplyLanguage();
  std::vector<std::string> items = SizeItems();
  items.push_back("...");
  for (TVideoPageGroup* page : Video) page->Size->ComboBoxVideoSize->SetItems(items);
}
