#include "AVI_ProfileWnd.h"

#include "EditorTexts.h"
#include "Settings.h"

ORV_DEFINE_CLASS(TfrmAVIProfile, TfrmProfileEditor, nullptr, {})

const std::vector<TVideoPage>& TfrmAVIProfile::VideoPages() {
  static const std::vector<TVideoPage> pages = {
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
  };
  return pages;
}

TfrmAVIProfile::TfrmAVIProfile(TComponent* owner) : TfrmProfileEditor(owner, ofAVI, IDS_PROFILE_LABEL_AVI) {
  TimeControl = AddGroup<TTimeControlGroup>();
  VideoCodec = AddGroup<TCodecChoiceGroup>(VideoCodecChoice(
      {&IDS_PROFILE_PAGECONTROL_Divx, &IDS_PROFILE_PAGECONTROL_Xvid, &IDS_PROFILE_PAGECONTROL_Mpeg4,
       &IDS_PROFILE_PAGECONTROL_Mpeg4v2, &IDS_PROFILE_PAGECONTROL_H263, &IDS_PROFILE_PAGECONTROL_H263P,
       &IDS_PROFILE_PAGECONTROL_H264, &IDS_PROFILE_PAGECONTROL_HuffYUV, &IDS_PROFILE_PAGECONTROL_Jpeg,
       &IDS_PROFILE_PAGECONTROL_Svq1, &IDS_PROFILE_PAGECONTROL_Flv}));
  SameQuality = AddGroup<TCheckBoxFieldGroup>(SameQualityField());
  AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice(
      {&IDS_PROFILE_PAGECONTROL_Mp2, &IDS_PROFILE_PAGECONTROL_Mp3, &IDS_PROFILE_PAGECONTROL_Pcm16Little,
       &IDS_PROFILE_PAGECONTROL_PcmU8, &IDS_PROFILE_PAGECONTROL_Ac3}));
  DisableAudio = AddGroup<TDisableAudioGroup>();
  // The video pages go into the window in the record's order (DV before huffYUV, MPEG before Svq1), which
  // is the order the window copies and checks them; Video keeps the page order.
  const char* const recordOrder[] = {"DivX", "XviD", "Msmpeg4", "MsMpeg4v2", "H263", "H263P", "H264",
                                     "DV",   "huffYUV", "Mjpeg", "Svq1", "Flv", "Mpeg1", "Mpeg2"};
  Video.assign(VideoPages().size(), nullptr);
  for (const char* suffix : recordOrder)
    for (size_t i = 0; i < VideoPages().size(); ++i)
      if (VideoPages()[i].Suffix == suffix)
        Video[i] = AddGroup<TVideoPageGroup>(VideoPages()[i], StandardVideoSizes(), StandardFrameRates());
  AudioAC3 = AddGroup<TAudioPageGroup>(AudioPageAC3());
  AudioMp2 = AddGroup<TAudioPageGroup>(AudioPageMp2());
  AudioMp3 = AddGroup<TAudioPageGroup>(AudioPageMp3());
  AudioPcm16le = AddGroup<TAudioPageGroup>(
      AudioPagePcm("Pcm16le", "Pcm16le", IDS_PROFILE_PAGECONTROL_Pcm16Little));
  AudioPcmu8 = AddGroup<TAudioPageGroup>(AudioPagePcm("Pcmu8", "Pcmu8", IDS_PROFILE_PAGECONTROL_PcmU8));
  InitLayout();
}

TVideoPageGroup* TfrmAVIProfile::VideoPage(const std::string& suffix) const {
  for (TVideoPageGroup* g : Video)
    if (g->Page().Suffix == suffix) return g;
  return nullptr;
}
