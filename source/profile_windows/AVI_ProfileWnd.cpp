#include "AVI_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmAVIProfile, TfrmVideoProfileEditor, nullptr, {})

const TVideoEditorSpec& TfrmAVIProfile::Spec() {
  static const TVideoEditorSpec spec = {
      {
          {"DivX", "DivX", &IDS_PROFILE_PAGECONTROL_Divx, &VideoBitRatesDivX, 13},
          {"XviD", "XviD", &IDS_PROFILE_PAGECONTROL_Xvid, &VideoBitRatesXviD, 13},
          {"Msmpeg4", "MsMPEG4", &IDS_PROFILE_PAGECONTROL_Mpeg4, &VideoBitRatesMsMPEG4, 13},
          {"MsMpeg4v2", "MsMPEG4v2", &IDS_PROFILE_PAGECONTROL_Mpeg4v2, &VideoBitRatesMsMPEG4v2, 13},
          {"H263", "H263", &IDS_PROFILE_PAGECONTROL_H263, &VideoBitRatesH263, 13, true},
          {"H263P", "H263P", &IDS_PROFILE_PAGECONTROL_H263P, &VideoBitRatesH263P, 13},
          {"H264", "H264", &IDS_PROFILE_PAGECONTROL_H264, &VideoBitRatesH264, 13},
          {"huffYUV", "huffYUV", &IDS_PROFILE_PAGECONTROL_HuffYUV, &VideoBitRateshuffYUV, 13},
          {"Mjpeg", "Mjpeg", &IDS_PROFILE_PAGECONTROL_Jpeg, &VideoBitRatesMjpeg, 13},
          {"Svq1", "Svq1", &IDS_PROFILE_PAGECONTROL_Svq1, &VideoBitRatesSvq1, 13},
          {"Flv", "Flv", &IDS_PROFILE_PAGECONTROL_Flv, &VideoBitRatesFlv, 13},
          // No list item leads to these three; they pass their fields through.
          {"Mpeg1", "MPEG1", &IDS_PROFILE_PAGECONTROL_Mpeg1, &VideoBitRatesMPEG1, 13},
          {"Mpeg2", "MPEG2", &IDS_PROFILE_PAGECONTROL_Mpeg2, &VideoBitRatesMPEG2, 13},
          {"DV", "DV", &IDS_PROFILE_PAGECONTROL_DV, &VideoBitRatesDV, 13},
      },
      // DV before huffYUV, MPEG before Svq1.
      {"DivX", "XviD", "Msmpeg4", "MsMpeg4v2", "H263", "H263P", "H264", "DV", "huffYUV", "Mjpeg", "Svq1", "Flv",
       "Mpeg1", "Mpeg2"},
      {&IDS_PROFILE_PAGECONTROL_Divx, &IDS_PROFILE_PAGECONTROL_Xvid, &IDS_PROFILE_PAGECONTROL_Mpeg4,
       &IDS_PROFILE_PAGECONTROL_Mpeg4v2, &IDS_PROFILE_PAGECONTROL_H263, &IDS_PROFILE_PAGECONTROL_H263P,
       &IDS_PROFILE_PAGECONTROL_H264, &IDS_PROFILE_PAGECONTROL_HuffYUV, &IDS_PROFILE_PAGECONTROL_Jpeg,
       &IDS_PROFILE_PAGECONTROL_Svq1, &IDS_PROFILE_PAGECONTROL_Flv},
      StandardVideoSizes(),
      {AudioPageMp2(), AudioPageMp3(), AudioPagePcm("Pcm16le", "Pcm16le", IDS_PROFILE_PAGECONTROL_Pcm16Little),
       AudioPagePcm("Pcmu8", "Pcmu8", IDS_PROFILE_PAGECONTROL_PcmU8), AudioPageAC3()},
      {&IDS_PROFILE_PAGECONTROL_Mp2, &IDS_PROFILE_PAGECONTROL_Mp3, &IDS_PROFILE_PAGECONTROL_Pcm16Little,
       &IDS_PROFILE_PAGECONTROL_PcmU8, &IDS_PROFILE_PAGECONTROL_Ac3},
      {"AC3", "Mp2", "Mp3", "Pcm16le", "Pcmu8"},
  };
  return spec;
}

TfrmAVIProfile::TfrmAVIProfile(TComponent* owner) : TfrmVideoProfileEditor(owner, ofAVI, IDS_PROFILE_LABEL_AVI) {
  AddVideoEditorGroups(Spec());
  InitLayout();
}
