// TfrmTGPProfile: the editor of the 3GP format's profiles (TGPSettings). The Type chooses a phone
// family: Nokia/NEC/Siemens, or Sony Ericsson (3gp or 3gp2). Each family has its own pair of codec lists
// (video and audio), stacked in one place on the General tab; the Type brings its family's pair to the
// front, and the codec pages shown follow the lists of that family. Both families' lists keep and save
// their values. Video pages DivX, XviD and H.263 (three fixed sizes, five aspects), whose sliders stop at
// the tenth table entry; audio pages AMR narrow band, AMR wide band and AAC.
#pragma once

#include <string>
#include <vector>

#include "VideoProfileEditor.h"

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
class TTGPDisableAudioGroup : public TDisableAudioGroup {
public:
  TTGPDisableAudioGroup();
  void DeclareLayout(TLayoutBinder& b) override;
  void UpdateAudioEnabled() override;

  std::vector<TGroupBox*> AudioCodecBoxes;  // Nokia, Sony
  std::vector<TComboBox*> AudioCodecLists;  // Nokia, Sony
};

class TfrmTGPProfile : public TfrmVideoProfileEditor {
  ORV_CLASS(TfrmTGPProfile)
public:
  explicit TfrmTGPProfile(TComponent* owner);
  static const TVideoEditorSpec& Spec();

  TTGPCodecGroup* Codecs;
};
