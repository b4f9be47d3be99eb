// The video editor windows (AVI, MP4, 3GP, MOV, WMV, RM, SWF, VOB, ASF): the General tab's groups (time
// control, video codec, same quality, audio codec, Disable audio), one video page per codec and one
// audio page per codec, all assembled from one TVideoEditorSpec. The window's layout holds the pages in
// page order; the codec lists' indexes are the page indexes. A window with groups of its own (MP4's
// device type, 3GP's phone families) adds them before the table's and may put its own audio choice or
// Disable audio group in place of the standard one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoSizeGroup.h"

// The General tab's groups; a window adds those it has in the order of its record's fields.
enum TVideoGeneralGroup { vgTimeControl, vgVideoCodec, vgSameQuality, vgAudioCodec, vgDisableAudio };

struct TVideoEditorSpec {
  std::vector<TVideoPage> VideoPages;            // in page order
  std::vector<std::string> VideoRecordOrder;     // page suffixes in the record's order: the copy order
  std::vector<const std::string*> VideoCodecs;   // items of the video codec list
  std::vector<TVideoSize> Sizes;                 // the size lists' sizes ("..." follows)
  std::vector<TAudioPage> AudioPages;            // in page order
  std::vector<const std::string*> AudioCodecs;   // items of the audio codec list
  std::vector<std::string> AudioRecordOrder = {};  // as VideoRecordOrder; empty: the page order
  const std::vector<std::string>* FrameRates = &StandardFrameRates();
  std::vector<TVideoGeneralGroup> General = {vgTimeControl, vgVideoCodec, vgSameQuality, vgAudioCodec,
                                             vgDisableAudio};
};

class TfrmVideoProfileEditor : public TfrmProfileEditor {
  ORV_CLASS(TfrmVideoProfileEditor)
public:
  // Null where the window's table leaves the group out (3GP has codec lists of its own).
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
  // Adds the groups in the record's order. `audioChoice` and `disableAudio` replace the standard groups
  // where a window picks its audio page (MP4) or disables its audio lists (3GP) otherwise. The derived
  // window calls InitLayout afterwards.
  void AddVideoEditorGroups(const TVideoEditorSpec& spec, std::unique_ptr<TCodecChoiceGroup> audioChoice = nullptr,
                            std::unique_ptr<TDisableAudioGroup> disableAudio = nullptr);

private:
  template <class G>
  G* Adopt(std::unique_ptr<G> group) {
    G* raw = group.get();
    FGroups.push_back(std::move(group));
    return raw;
  }
};
