// TfrmTGPProfile: the editor of the 3GP format's profiles (TGPSettings). The Type chooses a phone
// family: Nokia/NEC/Siemens, or Sony Ericsson (3gp or 3gp2). Each family has its own pair of codec lists
// (video and audio), stacked in one place on the General tab; the Type brings its family's pair to the
// front, and the codec pages shown follow the lists of that family. Both families' lists keep and save
// their values. Video pages DivX, XviD and H.263 (three fixed sizes, five aspects), whose sliders stop at
// the tenth table entry; audio pages AMR narrow band, AMR wide band and AAC.
#pragma once

#include <string>
#include <vector>

#include "AudioGroup.h"
#include "ProfileEditor.h"
#include "TimeControlGroup.h"
#include "VideoSizeGroup.h"

// The Type list and the two families' codec lists (TGPFormat, VideoCodecNokia, VideoCodecSony,
// AudioCodecNokia, AudioCodecSony) and the choice of the codec pages.
class TTGPCodecGroup : public TEditorGroup {
public:
  // One codec list: its group box, the record field and, per item, the page it shows.
  struct TList {
    std::string GroupBoxName, ListName, FieldKey;
    const std::string* Caption;  // null: the group box keeps its layout caption
    std::vector<const std::string*> Items;
    std::vector<int> Pages;
    bool Video;
  };
  // In the order the lists are filled: video Nokia, video Sony, audio Nokia, audio Sony.
  static const std::vector<TList>& Lists();

  TGroupBox* GroupBoxFormats = nullptr;
  TComboBox* ComboBox3GPFormat = nullptr;
  std::vector<TGroupBox*> GroupBoxes;  // in Lists() order
  std::vector<TComboBox*> CodecLists;  // in Lists() order
  TPageControl *PageControlVCodec = nullptr, *PageControlACodec = nullptr;

  TTGPCodecGroup();
  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override;

  // The Type's family: its video and audio boxes to the front (no Type chosen: nothing changes).
  void UpdateCodecGroups();
  // Hides every codec page's tab and shows the pages of the Type's family's codec choices.
  void UpdateCodecPages();
  void ComboBox3GPFormatChange();

  // The indexes into Lists() of the Type's video and audio list; false when no Type is chosen.
  bool FamilyLists(size_t& video, size_t& audio) const;
};

// Disable audio: as the frame's rule, for the audio codec boxes and lists of both families.
class TTGPDisableAudioGroup : public TCheckBoxFieldGroup {
public:
  TTGPDisableAudioGroup();
  void DeclareLayout(TLayoutBinder& b) override;
  void FormShow() override { UpdateAudioEnabled(); }
  void UpdateAudioEnabled();

  std::vector<TGroupBox*> AudioCodecBoxes;  // Nokia, Sony
  std::vector<TComboBox*> AudioCodecLists;  // Nokia, Sony
  TTabSheet* TabSheetAudio = nullptr;
};

class TfrmTGPProfile : public TfrmProfileEditor {
  ORV_CLASS(TfrmTGPProfile)
public:
  explicit TfrmTGPProfile(TComponent* owner);

  // The video pages in page order, with their record keys; the sizes of the DivX and XviD size lists.
  static const std::vector<TVideoPage>& VideoPages();
  static const std::vector<TVideoSize>& VideoSizes();

  TTGPCodecGroup* Codecs;
  TTimeControlGroup* TimeControl;
  TCheckBoxFieldGroup* SameQuality;
  TTGPDisableAudioGroup* DisableAudio;
  std::vector<TVideoPageGroup*> Video;  // in page order: DivX, XviD, H263
  TAudioPageGroup *AudioArmnb, *AudioArmwb, *AudioAACMp4;

  TVideoPageGroup* VideoPage(const std::string& suffix) const;
};
