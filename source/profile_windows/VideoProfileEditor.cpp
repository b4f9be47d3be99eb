#include "VideoProfileEditor.h"

#include <algorithm>

#include "Errors.h"

ORV_DEFINE_CLASS(TfrmVideoProfileEditor, TfrmProfileEditor, nullptr, {})

namespace {

// The indexes of `pages` in the order of `order` (page suffixes; empty: the page order). Every page
// must be named once, or the window would neither copy nor show it.
template <class Page>
std::vector<size_t> CopyOrder(const std::vector<Page>& pages, const std::vector<std::string>& order) {
  std::vector<size_t> indexes;
  if (order.empty()) {
    for (size_t i = 0; i < pages.size(); ++i) indexes.push_back(i);
    return indexes;
  }
  for (const std::string& suffix : order)
    for (size_t i = 0; i < pages.size(); ++i)
      if (pages[i].Suffix == suffix) indexes.push_back(i);
  for (size_t i = 0; i < pages.size(); ++i)
    if (std::count(indexes.begin(), indexes.end(), i) != 1)
      throw Exception("The page " + pages[i].Suffix + " is not named once in the copy order");
  return indexes;
}

}  // namespace

TfrmVideoProfileEditor::TfrmVideoProfileEditor(TComponent* owner, TOutputFormat format, const std::string& formatName)
    : TfrmProfileEditor(owner, format, formatName) {}

void TfrmVideoProfileEditor::AddVideoEditorGroups(const TVideoEditorSpec& spec,
                                                  std::unique_ptr<TCodecChoiceGroup> audioChoice,
                                                  std::unique_ptr<TDisableAudioGroup> disableAudio) {
  for (TVideoGeneralGroup g : spec.General) {
    switch (g) {
      case vgTimeControl: TimeControl = AddGroup<TTimeControlGroup>(); break;
      case vgVideoCodec: VideoCodec = AddGroup<TCodecChoiceGroup>(VideoCodecChoice(spec.VideoCodecs)); break;
      case vgSameQuality: SameQuality = AddGroup<TCheckBoxFieldGroup>(SameQualityField()); break;
      case vgAudioCodec:
        AudioCodec = audioChoice ? Adopt(std::move(audioChoice))
                                 : AddGroup<TCodecChoiceGroup>(AudioCodecChoice(spec.AudioCodecs));
        break;
      case vgDisableAudio:
        DisableAudio = disableAudio ? Adopt(std::move(disableAudio)) : AddGroup<TDisableAudioGroup>();
        break;
    }
  }
  // Added in the record's order; Video and Audio keep the page order.
  Video.assign(spec.VideoPages.size(), nullptr);
  for (size_t i : CopyOrder(spec.VideoPages, spec.VideoRecordOrder))
    Video[i] = AddGroup<TVideoPageGroup>(spec.VideoPages[i], spec.Sizes, *spec.FrameRates);
  Audio.assign(spec.AudioPages.size(), nullptr);
  for (size_t i : CopyOrder(spec.AudioPages, spec.AudioRecordOrder))
    Audio[i] = AddGroup<TAudioPageGroup>(spec.AudioPages[i]);
}

TVideoPageGroup* TfrmVideoProfileEditor::VideoPage(const std::string& suffix) const {
  for (TVideoPageGroup* g : Video)
    if (g->Page().Suffix == suffix) return g;
  return nullptr;
}

TAudioPageGroup* TfrmVideoProfileEditor::AudioPage(const std::string& suffix) const {
  for (TAudioPageGroup* g : Audio)
    if (g->Page().Suffix == suffix) return g;
  return nullptr;
}
