// The "Video Size", "Frame Rate" and "Aspect" groups of a video codec page, and the page that joins
// them with its bit-rate group and header.
//
//   Size (layouts/ProfileVideoSize.layout, suffix S): keep the source's frame size, or width and height in
//     two spin edits helped by a list of common sizes whose last item "..." stands for none.
//     GroupBoxVideoSizeS, RadioButtonKeepSourceSizeS, RadioButtonChangVideoSizeS, LabelVideoDimensionsS,
//     ComboBoxVideoSizeS, LabelVideoWidthS, LabelVideoHeightS, LabelXS, EditVideoWidthS, EditVideoHeightS;
//     record: VideoSizeUseSource<K>, VideoWidth<K>, VideoHeight<K>.
//   Fixed size (H.263 pages, ProfileVideoSizeH263.layout): RadioButtonVideoSize<W>_<H>S for 128x96,
//     176x144 and 352x288; record: VideoWidth<K>, VideoHeight<K>.
//   Frame rate (ProfileVideoFrameRate.layout): GroupBoxVideoFrameRateS, RadioButtonKeepFrameRateS ("Auto"),
//     RadioButtonChangeFrameRateS, ComboBoxVideoFrameRateS; record: VideoKeepFrameRate<K>, VideoFrameRate<K>.
//   Aspect (ProfileVideoRatio.layout, ProfileVideoRatioH263.layout): one radio button per stored value
//     of VideoAspect<K>.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FcSpnEdt.h"
#include "ProfileEditor.h"
#include "VideoBitrateGroup.h"

struct TVideoSize {
  int Width;
  int Height;
};

// Sizes of the common-sizes list, in list order; the list adds "..." after them.
const std::vector<TVideoSize>& StandardVideoSizes();   // 320x240 ... 1280x720
const std::vector<TVideoSize>& VideoSizesWithoutHD();  // the standard list less 1280x720 (RM)
// Items of the frame-rate list; the record keeps the index.
const std::vector<std::string>& StandardFrameRates();  // "10 " ... "60", 13 items
const std::vector<std::string>& VobFrameRates();       // "19.98" ... "60", 9 items
std::string VideoSizeText(const TVideoSize& size);     // "640x480"

class TVideoSizeGroup : public TEditorGroup {
public:
  // evenSizes: leaving a width or height field makes an odd value even (all windows but MPEG).
  TVideoSizeGroup(const std::string& suffix, const std::string& keySuffix, std::vector<TVideoSize> sizes,
                  bool evenSizes = true);

  TGroupBox* GroupBoxVideoSize = nullptr;
  TRadioButton *RadioButtonKeepSourceSize = nullptr, *RadioButtonChangVideoSize = nullptr;
  TLabel *LabelVideoDimensions = nullptr, *LabelVideoWidth = nullptr, *LabelVideoHeight = nullptr, *LabelX = nullptr;
  TComboBox* ComboBoxVideoSize = nullptr;
  TFcSpinEdit *EditVideoWidth = nullptr, *EditVideoHeight = nullptr;

  const std::vector<TVideoSize>& Sizes() const { return FSizes; }

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;  // also fills the size list: the window's sizes, then "..."
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override { UpdateVideoSize(); }

  // The size controls are enabled exactly when "Change dimensions" is chosen.
  void UpdateVideoSize();
  // Selects the first list item equal to the two fields, else "..."; runs whenever a field's text changes.
  void SyncVideoSize();
  // The user's pick: writes the item's width, then its height; "..." writes nothing.
  void ComboBoxVideoSizeChange();
  // OnExit of both fields: an odd value becomes the next even one; the field limits it afterwards.
  void EditVideoSizeExit(TObject* Sender);

private:
  std::string FKeySuffix;
  std::vector<TVideoSize> FSizes;
  bool FEvenSizes;
};

// A group box of radio buttons, one per stored choice, in choice order (the H.263 sizes, the aspects).
class TVideoChoiceGroup : public TEditorGroup {
public:
  TGroupBox* GroupBox = nullptr;
  std::vector<TRadioButton*> Buttons;  // in choice order

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;  // the group box's caption

protected:
  TVideoChoiceGroup(const std::string& suffix, const std::string& keySuffix, const std::string& groupBoxName,
                    const std::string& caption, std::vector<std::string> buttonNames);
  // Checks the button of the choice; a choice without a button checks nothing.
  void Choose(int choice);
  // The first checked button; -1 with none checked.
  int Chosen() const;

  std::string FKeySuffix;

private:
  std::string FGroupBoxName;
  const std::string& FCaption;  // a language text, read when the texts are applied
  std::vector<std::string> FButtonNames;
};

// H.263: three fixed sizes; a stored pair that matches none leaves the layout's choice (352 x 288).
class TVideoFixedSizeGroup : public TVideoChoiceGroup {
public:
  TVideoFixedSizeGroup(const std::string& suffix, const std::string& keySuffix);
  static const std::vector<TVideoSize>& FixedSizes();  // 128x96, 176x144, 352x288

  void LoadSettings(TProfileRecord& r) override;
  // The chosen button's pair; with none chosen both keep their values.
  void SaveSettings(TProfileRecord& r) override;
};

class TVideoFrameRateGroup : public TEditorGroup {
public:
  TVideoFrameRateGroup(const std::string& suffix, const std::string& keySuffix, std::vector<std::string> rates);

  TGroupBox* GroupBoxVideoFrameRate = nullptr;
  TRadioButton *RadioButtonKeepFrameRate = nullptr, *RadioButtonChangeFrameRate = nullptr;
  TComboBox* ComboBoxVideoFrameRate = nullptr;

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;  // also fills the list with the window's rates
  void LoadSettings(TProfileRecord& r) override;
  // The list index is saved also while "Auto" is chosen; no selection is 255.
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override { UpdateFrameRate(); }

  // The list is enabled exactly when "Change frame rate" is chosen.
  void UpdateFrameRate();

private:
  std::string FKeySuffix;
  std::vector<std::string> FRates;
};

class TVideoAspectGroup : public TVideoChoiceGroup {
public:
  // Standard: Auto, 4:3, 16:9. H.263: Auto, 1:1, 4:3, 11:9, 16:9.
  TVideoAspectGroup(const std::string& suffix, const std::string& keySuffix, bool h263);

  void ApplyLanguage() override;  // also "Auto"; the others show fixed ratios
  // A value without a button selects nothing, so the layout's "Auto" stays.
  void LoadSettings(TProfileRecord& r) override;
  // The first chosen button's value; with none chosen the field keeps its value.
  void SaveSettings(TProfileRecord& r) override;
};

// One row of a window's table of video pages.
struct TVideoPage {
  std::string Suffix;               // of the control names: "DivX", "Msmpeg4"
  std::string KeySuffix;            // of the record keys: "DivX", "MsMPEG4"
  const std::string* CodecName;     // language text of the codec in the page header
  const TBitRateTable* Table;       // the page's preset table
  int SliderLength;                 // the slider's Max
  bool FixedSize = false;           // the H.263 variant: three fixed sizes and five aspects
};

// A whole video codec page: header lab<S> ("%s format properties" with the codec's name), bit rate,
// size (standard or fixed), frame rate and aspect. Loads them in the order bit rate, aspect, frame rate,
// size; FormShow runs UpdateBitrateMode, UpdateFrameRate and (standard pages) UpdateVideoSize.
class TVideoPageGroup : public TEditorGroup {
public:
  TVideoPageGroup(const TVideoPage& page, const std::vector<TVideoSize>& sizes,
                  const std::vector<std::string>& frameRates, bool evenSizes = true);

  TLabel* Header = nullptr;
  TVideoBitrateGroup Bitrate;
  std::unique_ptr<TVideoSizeGroup> Size;            // standard pages
  std::unique_ptr<TVideoFixedSizeGroup> FixedSize;  // H.263 pages
  TVideoFrameRateGroup FrameRate;
  TVideoAspectGroup Aspect;

  const TVideoPage& Page() const { return FPage; }

  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void FormCreate() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  void FormShow() override;

private:
  TEditorGroup& SizePart();
  TVideoPage FPage;
};
