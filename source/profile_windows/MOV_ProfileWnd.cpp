#include "MOV_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmMovProfile, TfrmVideoProfileEditor, nullptr, {})

namespace {

// The AAC page's header names the codec by the format's label text.
TAudioPage AacPage() {
  TAudioPage page = AudioPageAACMp4();
  page.CodecName = &IDS_PROFILE_LABEL_AAC;
  return page;
}

// AMR narrow band is mono only.
TAudioPage AmrPage() {
  TAudioPage page = AudioPageArmnb();
  page.Channels = {&IDS_PROFILE_GROUPBOX_Channels_1};
  return page;
}

}  // namespace

const TVideoEditorSpec& TfrmMovProfile::Spec() {
  static const TVideoEditorSpec spec = {
      {
          {"Svq1", "Svq1", &IDS_PROFILE_PAGECONTROL_Svq1, &VideoBitRatesSvq1, 13},
          {"DivX", "DivX", &IDS_PROFILE_PAGECONTROL_Divx, &VideoBitRatesDivX, 13},
          {"XviD", "XviD", &IDS_PROFILE_PAGECONTROL_Xvid, &VideoBitRatesXviD, 13},
          {"H263", "H263", &IDS_PROFILE_PAGECONTROL_H263, &VideoBitRatesH263, 13, true},
          {"H264", "H264", &IDS_PROFILE_PAGECONTROL_H264, &VideoBitRatesH264, 13},
      },
      {"DivX", "XviD", "H263", "H264", "Svq1"},
      {&IDS_PROFILE_PAGECONTROL_Svq1, &IDS_PROFILE_PAGECONTROL_Divx, &IDS_PROFILE_PAGECONTROL_Xvid,
       &IDS_PROFILE_PAGECONTROL_H263, &IDS_PROFILE_PAGECONTROL_H264},
      StandardVideoSizes(),
      {AacPage(), AudioPagePcm("Alaw", "Alaw", IDS_PROFILE_PAGECONTROL_ALaw), AmrPage(),
       AudioPagePcm("Pcm16le", "Pcm16le", IDS_PROFILE_PAGECONTROL_Pcm16Little),
       AudioPagePcm("Pcm16be", "Pcm16be", IDS_PROFILE_PAGECONTROL_Pcm16Big)},
      {&IDS_PROFILE_PAGECONTROL_Aac, &IDS_PROFILE_PAGECONTROL_ALaw, &IDS_PROFILE_PAGECONTROL_AmrBand,
       &IDS_PROFILE_PAGECONTROL_Pcm16Little, &IDS_PROFILE_PAGECONTROL_Pcm16Big},
  };
  return spec;
}

TfrmMovProfile::TfrmMovProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofMov, IDS_PROFILE_LABEL_MOV) {
  AddVideoEditorGroups(Spec());
  InitLayout();
}
