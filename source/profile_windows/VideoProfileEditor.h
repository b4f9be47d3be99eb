// The video editor windows that differ only in their tables (MOV, WMV, ASF, and MP4 with its device type
// on top): the General tab's groups (time control, video codec, same quality, audio codec, Disable
// audio), one video page per codec and one audio page per codec, all assembled from one
// TVideoEditorSpec. The window's layout holds the pages in page order; the codec lists' indexes are the
// page indexes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoSizeGroup.h"

struct TVideoEditorSpec {
  std::vector<TVideoPage> VideoPages;            // in page order
  std::vector<std::string> VideoRecordOrder;     // page suffixes in the record's order: the copy order
  std::vector<const std::string*> VideoCodecs;   // items of the video codec list
  std::vector<TVideoSize> Sizes;                 // the size lists' sizes ("..." follows)
  std::vector<TAudioPage> AudioPages;            // in page order
  std::vector<const std::string*> AudioCodecs;   // items of the audio codec list
};

class TfrmVideoProfileEditor : public TfrmProfileEditor {
  ORV_CLASS(TfrmVideoProfileEditor)
public:
  TTimeControlGroup* TimeControl = nullptr;
  TCodecChoiceGroup* VideoCodec = nullptr;
  TCheckBoxFieldGroup* SameQuality = nullptr;
  TCodecChoiceGroup* AudioCodec = nullptr;
  TDisableAudioGroup* DisableAudio = nullptr;
  std::vector<TVideoPageGroup*> Video;  // in page order
  std::vector<TAudioPageGroup*> Audio;  // in page order

  // The page group of a control suffix ("Msmpeg4", "AACMp4"), or null.
  TVideoPageGroup* VideoPage(const std::string& suffix) const;
  TAudioPageGroup* AudioPage(const std::string& suffix) const;

protected:
  TfrmVideoProfileEditor(TComponent* owner, TOutputFormat format, const std::string& formatName);
  // Adds the groups in the record's order. `audioChoice` replaces the plain audio codec choice where a
  // window picks its audio page otherwise (MP4). The derived window calls InitLayout afterwards.
  void AddVideoEditorGroups(const TVideoEditorSpec& spec, std::unique_ptr<TCodecChoiceGroup> audioChoice = nullptr);
};
