#include "MPEG_ProfileWnd.h"

#include <algorithm>

#include "EditorTexts.h"
#include "Settings.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TfrmMPEGProfile, TfrmProfileEditor, nullptr, {})

// ---- the DVD tab's video bit rate ----

TDVDVideoBitrateGroup::TDVDVideoBitrateGroup()
    : TVideoBitrateGroup(TVideoBitrateSpec{"", "", &DVDVideoBitRates, 11, 6, "DVD", "DVD"}) {}

void TDVDVideoBitrateGroup::UpdateBitrateMode() {
  TVideoBitrateGroup::UpdateBitrateMode();
  if (LabelKbps2) LabelKbps2->SetEnabled(true);
}

// ---- the window ----

namespace {

const TVideoPage kMpeg1Page{"Mpeg1", "MPEG1", &IDS_PROFILE_PAGECONTROL_Mpeg1, &VideoBitRatesMPEG1, 13};
const TVideoPage kMpeg2Page{"Mpeg2", "MPEG2", &IDS_PROFILE_PAGECONTROL_Mpeg2, &VideoBitRatesMPEG2, 13};

std::vector<TVideoSize> Sizes() {
  std::vector<TVideoSize> sizes;
  for (const auto& item : TfrmMPEGProfile::SizeItems()) sizes.push_back(item.Size);
  return sizes;
}

TCheckBoxField DisableAudioField() {
  return {"GroupBoxDisableAudio", &IDS_PROFILE_GROUPBOX_DisableAudio, "CheckBoxDisableAudio",
          &IDS_PROFILE_CHECKBOX_DisableAudio, "AudioDisableAudio"};
}

// A radio group index from the record: a value beyond the items selects the last one.
int ClampedItem(int32_t value, int count) { return std::min<int32_t>(value, count - 1); }

}  // namespace

const std::vector<TfrmMPEGProfile::TSizeItem>& TfrmMPEGProfile::SizeItems() {
  static const std::vector<TSizeItem> items = {
      {{80, 60}, "80 x 60"},
      {{96, 72}, "96 x 72"},
      {{128, 96}, "128 x 96"},
      {{160, 320}, "160 x 320"},
      {{176, 120}, "176 x 120"},
      {{176, 144}, "176 x 144"},
      {{192, 144}, "192 x 144"},
      {{240, 180}, "240 x 180"},
      {{320, 200}, "320 x 200"},
      {{320, 240}, "320 x 240"},
      {{352, 240}, "352 x 240 (VCD NTSC)"},
      {{352, 288}, "352 x 288 (VCD PAL)"},
      {{480, 480}, "480 x 480 (SVCD NTSC)"},
      {{480, 576}, "480 x 576 (SVCD PAL)"},
      {{720, 480}, "720 x 480 (DVD NTSC)"},
      {{720, 576}, "720 x 576 (DVD PAL)"},
  };
  return items;
}

TfrmMPEGProfile::TfrmMPEGProfile(TComponent* owner) : TfrmProfileEditor(owner, ofMPEG, IDS_PROFILE_LABEL_MPEG) {
  TimeControl = AddGroup<TTimeControlGroup>();
  SameQuality = AddGroup<TCheckBoxFieldGroup>(SameQualityField());
  DisableAudio = AddGroup<TCheckBoxFieldGroup>(DisableAudioField());
  // MPEG sizes may be odd: no exit rule on the size fields.
  VideoMpeg1 = AddGroup<TVideoPageGroup>(kMpeg1Page, Sizes(), StandardFrameRates(), false);
  VideoMpeg2 = AddGroup<TVideoPageGroup>(kMpeg2Page, Sizes(), StandardFrameRates(), false);
  AudioAC3 = AddGroup<TAudioPageGroup>(AudioPageAC3());
  AudioMp2 = AddGroup<TAudioPageGroup>(AudioPageMp2());
  AudioMp3 = AddGroup<TAudioPageGroup>(AudioPageMp3());
  DVDBitrate = AddGroup<TDVDVideoBitrateGroup>();
  InitLayout();
}

void TfrmMPEGProfile::DeclareLayout(TLayoutBinder& b) {
  TfrmProfileEditor::DeclareLayout(b);
  b.Field("GroupBoxPresetFormats", GroupBoxPresetFormats);
  b.Field("CheckBoxUsePressetFormat", CheckBoxUsePressetFormat);
  b.Field("RadioGroupPresetType", RadioGroupPresetType);
  b.Field("RadioGroupPresetTargetFormat", RadioGroupPresetTargetFormat);
  b.Field("GroupBoxVideoCode", GroupBoxVideoCode);
  b.Field("ComboBoxVideoCodec", ComboBoxVideoCodec);
  b.Field("GroupBoxAudioCodecMpeg1", GroupBoxAudioCodecMpeg1);
  b.Field("GroupBoxAudioCodecMpeg2", GroupBoxAudioCodecMpeg2);
  b.Field("ComboBoxAudioCodecMpeg1", ComboBoxAudioCodecMpeg1);
  b.Field("ComboBoxAudioCodecMpeg2", ComboBoxAudioCodecMpeg2);
  b.Field("TabSheetVideo", TabSheetVideo);
  b.Field("TabSheetDVD", TabSheetDVD);
  b.Field("PageControlVCodec", PageControlVCodec);
  b.Field("PageControlACodec", PageControlACodec);
  b.Field("GroupBoxDVDAspect", GroupBoxDVDAspect);
  b.Field("RadioButtonDVDAutoSetAspect", RadioButtonDVDAutoSetAspect);
  b.Field("RadioButtonDVDChangeAspect", RadioButtonDVDChangeAspect);
  b.Field("ComboBoxDVDVideoAspect", ComboBoxDVDVideoAspect);
  b.Field("GroupBoxDVDAudioBitrate", GroupBoxDVDAudioBitrate);
  b.Field("CheckBoxDVDAutoSetAudioBitrate", CheckBoxDVDAutoSetAudioBitrate);
  b.Field("LabelDVDCurrentAudioBitrate", LabelDVDCurrentAudioBitrate);
  b.Field("LabelDVDAudioBitrate", LabelDVDAudioBitrate);
  b.Field("LabelDVDAudioSmall", LabelDVDAudioSmall);
  b.Field("LabelDVDAudioLarge", LabelDVDAudioLarge);
  b.Field("TrackBarDVDAudioBitrate", TrackBarDVDAudioBitrate);
  BindNotify(b, "CheckBoxUsePressetFormatClick", this, &TfrmMPEGProfile::UpdatePresetFormats);
  BindNotify(b, "RadioGroupPresetTypeClick", this, &TfrmMPEGProfile::UpdatePresetFormats);
  BindNotify(b, "RadioGroupPresetTargetFormatClick", this, &TfrmMPEGProfile::UpdatePresetFormats);
  BindNotify(b, "CheckBoxDisableAudioClick", this, &TfrmMPEGProfile::UpdatePresetFormats);
  b.Handle<TNotifyEvent>("ComboBoxVideoCodecChange", [this](TObject*) {
    UpdateAudioCodecGroup();
    UpdateCodecPages();
  });
  BindNotify(b, "ComboBoxAudioCodecMpeg1Change", this, &TfrmMPEGProfile::UpdateCodecPages);
  BindNotify(b, "ComboBoxAudioCodecMpeg2Change", this, &TfrmMPEGProfile::UpdateCodecPages);
  BindNotify(b, "RadioButtonDVDAutoSetAspectClick", this, &TfrmMPEGProfile::UpdateDVDAspect);
  BindNotify(b, "RadioButtonDVDChangeAspectClick", this, &TfrmMPEGProfile::UpdateDVDAspect);
  BindNotify(b, "TrackBarDVDAudioBitrateChange", this, &TfrmMPEGProfile::TrackBarDVDAudioBitrateChange);
}

void TfrmMPEGProfile::ApplyLanguage() {
  TfrmProfileEditor::ApplyLanguage();
  TabSheetDVD->SetCaption(IDS_PROFILE_CHECKBOX_DVD);
  GroupBoxPresetFormats->SetCaption(IDS_PROFILE_GROUPBOX_PresetFormats);
  CheckBoxUsePressetFormat->SetCaption(IDS_PROFILE_LABEL_UsePresetFormats);
  RadioGroupPresetType->SetCaption(IDS_PROFILE_GROUPBOX_Type);
  RadioGroupPresetTargetFormat->SetCaption(IDS_PROFILE_LABEL_TargetFormat);
  RadioGroupPresetTargetFormat->SetItems(
      {IDS_PROFILE_RADIOBUTTON_Auto, IDS_PROFILE_LABEL_Ntsc, IDS_PROFILE_LABEL_Pal});
  GroupBoxVideoCode->SetCaption(IDS_PROFILE_GROUPBOX_VideoCodec);
  ComboBoxVideoCodec->SetItems({IDS_PROFILE_PAGECONTROL_Mpeg1, IDS_PROFILE_PAGECONTROL_Mpeg2});
  GroupBoxAudioCodecMpeg1->SetCaption(IDS_PROFILE_GROUPBOX_AudioCodec);
  GroupBoxAudioCodecMpeg2->SetCaption(IDS_PROFILE_GROUPBOX_AudioCodec);
  ComboBoxAudioCodecMpeg1->SetItems({IDS_PROFILE_PAGECONTROL_Mp2, IDS_PROFILE_PAGECONTROL_Mp3});
  ComboBoxAudioCodecMpeg2->SetItems(
      {IDS_PROFILE_PAGECONTROL_Ac3, IDS_PROFILE_PAGECONTROL_Mp2, IDS_PROFILE_PAGECONTROL_Mp3});
  // The video pages' size lists name their sizes as the discs do.
  std::vector<std::string> sizes;
  for (const TSizeItem& item : SizeItems()) sizes.push_back(item.Text);
  sizes.push_back("...");
  VideoMpeg1->Size->ComboBoxVideoSize->SetItems(sizes);
  VideoMpeg2->Size->ComboBoxVideoSize->SetItems(sizes);
  GroupBoxDVDAspect->SetCaption(IDS_PROFILE_GROUPBOX_Aspect);
  RadioButtonDVDAutoSetAspect->SetCaption(IDS_PROFILE_RADIOBUTTON_Auto);
  RadioButtonDVDChangeAspect->SetCaption(IDS_PROFILE_LABEL_ChangeAspect);
  ComboBoxDVDVideoAspect->SetItems(
      {IDS_PROFILE_GROUPBOX_Aspect_1, IDS_PROFILE_GROUPBOX_Aspect_4, IDS_PROFILE_GROUPBOX_Aspect_16});
  GroupBoxDVDAudioBitrate->SetCaption(IDS_PROFILE_GROUPBOX_Bitrate);
  CheckBoxDVDAutoSetAudioBitrate->SetCaption(IDS_PROFILE_CHECKBOX_AutoSet);
  LabelDVDCurrentAudioBitrate->SetCaption(IDS_PROFILE_LABEL_CurrentBitrate);
  LabelDVDAudioSmall->SetCaption(IDS_PROFILE_LABEL_LowQuality);
  LabelDVDAudioLarge->SetCaption(IDS_PROFILE_LABEL_HighQuliaty);
}

void TfrmMPEGProfile::LoadSettings() {
  TfrmProfileEditor::LoadSettings();
  TProfileRecord r(FFormat);
  CheckBoxUsePressetFormat->SetChecked(r.Bool("UsePresetFormats"));
  RadioGroupPresetTargetFormat->SetItemIndex(ClampedItem(r.Int("TargetFormat"), 3));
  RadioGroupPresetType->SetItemIndex(ClampedItem(r.Int("PresetType"), 3));
  ComboBoxVideoCodec->SetItemIndex(r.Int("VideoCodec"));
  ComboBoxAudioCodecMpeg1->SetItemIndex(r.Int("AudioCodecMPEG1"));
  ComboBoxAudioCodecMpeg2->SetItemIndex(r.Int("AudioCodecMPEG2"));
  const bool keepAspect = r.Bool("DVDVideoKeepAspect");
  RadioButtonDVDAutoSetAspect->SetChecked(keepAspect);
  RadioButtonDVDChangeAspect->SetChecked(!keepAspect);
  ComboBoxDVDVideoAspect->SetItemIndex(r.Int("DVDVideoAspect"));
  CheckBoxDVDAutoSetAudioBitrate->SetChecked(r.Bool("DVDAudioBitRateUseAutoSet"));
  // The last equal entry wins (128 stands twice); no equal entry leaves the default position.
  TrackBarDVDAudioBitrate->SetPosition(6);
  for (int p : DVDAudioBitRates.PositionsOf(r.Int("DVDAudioBitRatePreset"))) TrackBarDVDAudioBitrate->SetPosition(p);
}

void TfrmMPEGProfile::SaveSettings() {
  TfrmProfileEditor::SaveSettings();
  TProfileRecord r(FFormat);
  r.SetBool("UsePresetFormats", CheckBoxUsePressetFormat->GetChecked());
  r.SetInt("TargetFormat", RadioGroupPresetTargetFormat->GetItemIndex());
  r.SetInt("PresetType", RadioGroupPresetType->GetItemIndex());
  r.SetInt("VideoCodec", ComboBoxVideoCodec->GetItemIndex());
  r.SetInt("AudioCodecMPEG1", ComboBoxAudioCodecMpeg1->GetItemIndex());
  r.SetInt("AudioCodecMPEG2", ComboBoxAudioCodecMpeg2->GetItemIndex());
  r.SetBool("DVDVideoKeepAspect", RadioButtonDVDAutoSetAspect->GetChecked());
  r.SetInt("DVDVideoAspect", ComboBoxDVDVideoAspect->GetItemIndex());
  r.SetBool("DVDAudioBitRateUseAutoSet", CheckBoxDVDAutoSetAudioBitrate->GetChecked());
  r.SetInt("DVDAudioBitRatePreset", DVDAudioBitRates.Value(TrackBarDVDAudioBitrate->GetPosition()));
}

void TfrmMPEGProfile::FormShow(TObject*) {
  VideoMpeg1->FormShow();
  VideoMpeg2->FormShow();
  UpdateDVDAspect();
  DVDBitrate->FormShow();
  AudioAC3->FormShow();
  AudioMp2->FormShow();
  AudioMp3->FormShow();
  TimeControl->FormShow();
  UpdatePresetFormats();
  UpdateAudioCodecGroup();
  UpdateCodecPages();
}

void TfrmMPEGProfile::UpdatePresetFormats() {
  // Reading the layout clicks buttons before every control is bound.
  if (!CheckBoxUsePressetFormat || !RadioGroupPresetType || !RadioGroupPresetTargetFormat || !DisableAudio->CheckBox ||
      !SameQuality->GroupBox || !GroupBoxVideoCode || !GroupBoxAudioCodecMpeg1 || !GroupBoxAudioCodecMpeg2 ||
      !ComboBoxAudioCodecMpeg1 || !ComboBoxAudioCodecMpeg2 || !TabSheetVideo || !TabSheetAudio || !TabSheetDVD)
    return;
  const bool preset = CheckBoxUsePressetFormat->GetChecked();
  const bool noAudio = DisableAudio->CheckBox->GetChecked();
  const int type = RadioGroupPresetType->GetItemIndex();
  RadioGroupPresetType->SetEnabled(preset);
  RadioGroupPresetTargetFormat->SetEnabled(preset);
  for (TControl* c : {static_cast<TControl*>(GroupBoxVideoCode), static_cast<TControl*>(GroupBoxAudioCodecMpeg1),
                      static_cast<TControl*>(GroupBoxAudioCodecMpeg2), static_cast<TControl*>(SameQuality->GroupBox),
                      static_cast<TControl*>(DisableAudio->GroupBox)})
    c->SetVisible(!preset);
  EnableControls({GroupBoxAudioCodecMpeg1, ComboBoxAudioCodecMpeg1, GroupBoxAudioCodecMpeg2, ComboBoxAudioCodecMpeg2},
                 !noAudio);
  // VCD and SVCD need nothing beyond the General tab; DVD (or no type chosen) brings its own tab.
  const bool dvd = type != 0 && type != 1;
  TabSheetVideo->SetTabVisible(!preset);
  TabSheetAudio->SetTabVisible(!preset && !noAudio);
  TabSheetDVD->SetTabVisible(preset && dvd);
}

void TfrmMPEGProfile::UpdateAudioCodecGroup() {
  if (!ComboBoxVideoCodec || !GroupBoxAudioCodecMpeg1 || !GroupBoxAudioCodecMpeg2) return;
  switch (ComboBoxVideoCodec->GetItemIndex()) {
    case 0: GroupBoxAudioCodecMpeg1->BringToFront(); break;
    case 1: GroupBoxAudioCodecMpeg2->BringToFront(); break;
    default: break;
  }
}

void TfrmMPEGProfile::UpdateCodecPages() {
  if (!ComboBoxVideoCodec || !PageControlVCodec || !PageControlACodec || !ComboBoxAudioCodecMpeg1 ||
      !ComboBoxAudioCodecMpeg2)
    return;
  for (TPageControl* pages : {PageControlVCodec, PageControlACodec})
    for (int i = 0; i < pages->PageCount(); ++i) pages->Pages(i)->SetTabVisible(false);
  const int video = ComboBoxVideoCodec->GetItemIndex();
  PageControlVCodec->SetActivePageIndex(video);
  // The MPEG-1 list has no AC3 item, so its index counts from the second audio page. A list without a
  // selection shows no audio page rather than one the record does not name.
  int audio = -2;
  if (video == 0) {
    const int i = ComboBoxAudioCodecMpeg1->GetItemIndex();
    audio = i < 0 ? -1 : i + 1;
  } else if (video == 1) {
    audio = ComboBoxAudioCodecMpeg2->GetItemIndex();
  }
  if (audio != -2) PageControlACodec->SetActivePageIndex(audio);
}

void TfrmMPEGProfile::UpdateDVDAspect() {
  if (!ComboBoxDVDVideoAspect || !RadioButtonDVDChangeAspect) return;
  ComboBoxDVDVideoAspect->SetEnabled(RadioButtonDVDChangeAspect->GetChecked());
}

void TfrmMPEGProfile::TrackBarDVDAudioBitrateChange() {
  if (!TrackBarDVDAudioBitrate || !LabelDVDAudioBitrate) return;
  const int position = TrackBarDVDAudioBitrate->GetPosition();
  if (position < 1 || position > DVDAudioBitRates.Count()) return;
  LabelDVDAudioBitrate->SetCaption(BitrateLabelText(DVDAudioBitRates.Entry(position)));
}
