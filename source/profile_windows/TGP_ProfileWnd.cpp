#include "TGP_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

namespace {

// Video pages: 0 DivX, 1 XviD, 2 H.263. Audio pages: 0 AMR-NB, 1 AMR-WB, 2 AAC. The DivX page serves the
// MPEG-4 choice of both families, the AAC page the AAC choice of both.
enum { kPageDivX, kPageXviD, kPageH263 };
enum { kPageArmnb, kPageArmwb, kPageAAC };
enum { kVideoNokia, kVideoSony, kAudioNokia, kAudioSony };

// The phone families of the Type list: 0 Nokia/NEC/Siemens, 1 and 2 Sony Ericsson (3gp, 3gp2).
constexpr int kTypeCount = 3;

}  // namespace

// ---- Type and codec lists ----

const std::vector<TTGPCodecGroup::TList>& TTGPCodecGroup::Lists() {
  static const std::vector<TList> lists = {
      {"GroupBoxVideoCodeNokia", "ComboBoxVideoCodecNokia", "VideoCodecNokia", &IDS_PROFILE_GROUPBOX_VideoCodec,
       {&IDS_PROFILE_PAGECONTROL_H263, &IDS_PROFILE_PAGECONTROL_Divx}, {kPageH263, kPageDivX}, true},
      // Both families' boxes are the same kind of group and take the same texts.
      {"GroupBoxVideoCodeSony", "ComboBoxVideoCodecSony", "VideoCodecSony", &IDS_PROFILE_GROUPBOX_VideoCodec,
       {&IDS_PROFILE_PAGECONTROL_Divx, &IDS_PROFILE_PAGECONTROL_Xvid}, {kPageDivX, kPageXviD}, true},
      {"GroupBoxAudioCodeNokia", "ComboBoxAudioCodeNokia", "AudioCodecNokia", &IDS_PROFILE_GROUPBOX_AudioCodec,
       {&IDS_PROFILE_PAGECONTROL_AmrBand, &IDS_PROFILE_PAGECONTROL_AmrWide, &IDS_PROFILE_PAGECONTROL_Aac},
       {kPageArmnb, kPageArmwb, kPageAAC}, false},
      {"GroupBoxAudioCodeSony", "ComboBoxAudioCodeSony", "AudioCodecSony", &IDS_PROFILE_GROUPBOX_AudioCodec,
       {&IDS_PROFILE_PAGECONTROL_Aac},
       {kPageAAC}, false},
  };
  return lists;
}

TTGPCodecGroup::TTGPCodecGroup() : GroupBoxes(Lists().size(), nullptr), CodecLists(Lists().size(), nullptr) {}

void TTGPCodecGroup::DeclareLayout(TLayoutBinder& b) {
  b.Field("GroupBoxFormats", GroupBoxFormats);
  b.Field("ComboBox3GPFormat", ComboBox3GPFormat);
  b.Field("PageControlVCodec", PageControlVCodec);
  b.Field("PageControlACodec", PageControlACodec);
  Handler(b, "ComboBox3GPFormat", "Change", this, &TTGPCodecGroup::ComboBox3GPFormatChange);
  for (size_t i = 0; i < Lists().size(); ++i) {
    b.Field(Lists()[i].GroupBoxName, GroupBoxes[i]);
    b.Field(Lists()[i].ListName, CodecLists[i]);
    // Every list shows its pick at once, the Nokia lists too: a page that did not follow would show
    // (and let the user edit) the settings of a codec that is not the one chosen.
    Handler(b, Lists()[i].ListName, "Change", this, &TTGPCodecGroup::UpdateCodecPages);
  }
}

void TTGPCodecGroup::ApplyLanguage() {
  GroupBoxFormats->SetCaption(IDS_PROFILE_GROUPBOX_Type);
  for (size_t i = 0; i < Lists().size(); ++i) {
    if (Lists()[i].Caption) GroupBoxes[i]->SetCaption(*Lists()[i].Caption);
    CodecLists[i]->ClearItems();
    for (const std::string* item : Lists()[i].Items) CodecLists[i]->AddItem(*item);
  }
  ComboBox3GPFormat->ClearItems();
  for (const std::string* type :
       {&IDS_PROFILE_GROUPBOX_Type_Nokia, &IDS_PROFILE_GROUPBOX_Type_3Gp, &IDS_PROFILE_GROUPBOX_Type_3Gp2})
    ComboBox3GPFormat->AddItem(*type);
}

void TTGPCodecGroup::LoadSettings(TProfileRecord& r) {
  ComboBox3GPFormat->SetItemIndex(r.Int("TGPFormat"));
  for (size_t i = 0; i < Lists().size(); ++i) CodecLists[i]->SetItemIndex(r.Int(Lists()[i].FieldKey));
}

// Both families' choices are saved, whichever the Type uses.
void TTGPCodecGroup::SaveSettings(TProfileRecord& r) {
  r.SetInt("TGPFormat", ComboBox3GPFormat->GetItemIndex());
  for (size_t i = 0; i < Lists().size(); ++i) r.SetInt(Lists()[i].FieldKey, CodecLists[i]->GetItemIndex());
}

void TTGPCodecGroup::FormShow() {
  UpdateCodecPages();
  UpdateCodecGroups();
}

bool TTGPCodecGroup::FamilyLists(size_t& video, size_t& audio) const {
  const int type = ComboBox3GPFormat->GetItemIndex();
  if (type < 0 || type >= kTypeCount) return false;
  const bool nokia = type == 0;
  video = nokia ? kVideoNokia : kVideoSony;
  audio = nokia ? kAudioNokia : kAudioSony;
  return true;
}

// Nothing is hidden or disabled: the other family's boxes stay behind with their values.
void TTGPCodecGroup::UpdateCodecGroups() {
  size_t video = 0, audio = 0;
  if (!FamilyLists(video, audio)) return;
  GroupBoxes[video]->BringToFront();
  GroupBoxes[audio]->BringToFront();
}

void TTGPCodecGroup::UpdateCodecPages() {
  for (TPageControl* pages : {PageControlVCodec, PageControlACodec})
    for (int i = 0; i < pages->PageCount(); ++i) pages->Pages(i)->SetTabVisible(false);
  size_t video = 0, audio = 0;
  if (!FamilyLists(video, audio)) return;
  // A codec index the list does not hold leaves that page control's page as it is.
  for (size_t row : {video, audio}) {
    const int index = CodecLists[row]->GetItemIndex();
    if (index < 0 || size_t(index) >= Lists()[row].Pages.size()) continue;
    (Lists()[row].Video ? PageControlVCodec : PageControlACodec)->SetActivePageIndex(Lists()[row].Pages[size_t(index)]);
  }
}

void TTGPCodecGroup::ComboBox3GPFormatChange() {
  UpdateCodecGroups();
  UpdateCodecPages();
}

// ---- Disable audio ----

TTGPDisableAudioGroup::TTGPDisableAudioGroup() : AudioCodecBoxes(2, nullptr), AudioCodecLists(2, nullptr) {}

// The check box and the Audio tab as the frame's group has them; the families' lists in place of its one.
void TTGPDisableAudioGroup::DeclareLayout(TLayoutBinder& b) {
  TCheckBoxFieldGroup::DeclareLayout(b);
  for (size_t i : {size_t(kAudioNokia), size_t(kAudioSony)}) {
    const size_t family = i == kAudioNokia ? 0 : 1;
    b.Field(TTGPCodecGroup::Lists()[i].GroupBoxName, AudioCodecBoxes[family]);
    b.Field(TTGPCodecGroup::Lists()[i].ListName, AudioCodecLists[family]);
  }
  b.Field("TabSheetAudio", TabSheetAudio);
  Handler(b, "CheckBoxDisableAudio", "Click", this, &TTGPDisableAudioGroup::UpdateAudioEnabled);
}

// Both families, not only the one in front: a Type change must not bring back an enabled list.
void TTGPDisableAudioGroup::UpdateAudioEnabled() {
  const bool audio = !CheckBox->GetChecked();
  for (size_t i = 0; i < AudioCodecBoxes.size(); ++i) {
    AudioCodecBoxes[i]->SetEnabled(audio);
    AudioCodecLists[i]->SetEnabled(audio);
  }
  TabSheetAudio->SetTabVisible(audio);
}

// ---- the window ----

ORV_DEFINE_CLASS(TfrmTGPProfile, TfrmVideoProfileEditor, nullptr, {})

const TVideoEditorSpec& TfrmTGPProfile::Spec() {
  static const TVideoEditorSpec spec = {
      // The sliders stop at the tenth entry ("2496"); Configure still accepts up to the last one.
      {
          {"DivX", "DivX", &IDS_PROFILE_PAGECONTROL_Divx, &VideoBitRatesDivX, 10},
          {"XviD", "XviD", &IDS_PROFILE_PAGECONTROL_Xvid, &VideoBitRatesXviD, 10},
          {"H263", "H263", &IDS_PROFILE_PAGECONTROL_H263, &VideoBitRatesH263, 10, true},
      },
      {"H263", "DivX", "XviD"},
      {},  // the families' lists choose the pages (TTGPCodecGroup)
      {{128, 96}, {176, 144}, {220, 176}, {240, 192}, {320, 240}, {352, 288}},
      {AudioPageArmnb(), AudioPageArmwb(), AudioPageAACMp4()},
      {},
      {"AACMp4", "Armnb", "Armwb"},
      &StandardFrameRates(),
      {vgTimeControl, vgSameQuality, vgDisableAudio},
  };
  return spec;
}

TfrmTGPProfile::TfrmTGPProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofTGP, IDS_PROFILE_LABEL_3GP) {
  Codecs = AddGroup<TTGPCodecGroup>();
  AddVideoEditorGroups(Spec(), nullptr, std::make_unique<TTGPDisableAudioGroup>());
  InitLayout();
}
