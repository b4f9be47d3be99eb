#include "VideoProfileEditor.h"

#include "Errors.h"

ORV_DEFINE_CLASS(TfrmVideoProfileEditor, TfrmProfileEditor, nullptr, {})

TfrmVideoProfileEditor::TfrmVideoProfileEditor(TComponent* owner, TOutputFormat format, const std::string& formatName)
    : TfrmProfileEditor(owner, format, formatName) {}

void TfrmVideoProfileEditor::AddVideoEditorGroups(const TVideoEditorSpec& spec,
                                                  std::unique_ptr<TCodecChoiceGroup> audioChoice) {
  TimeControl = AddGroup<TTimeControlGroup>();
  VideoCodec = AddGroup<TCodecChoiceGroup>(VideoCodecChoice(spec.VideoCodecs));
  SameQuality = AddGroup<TCheckBoxFieldGroup>(SameQualityField());
  if (audioChoice) {
    AudioCodec = audioChoice.get();
    FGroups.push_back(std::move(audioChoice));
  } else {
    AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice(spec.AudioCodecs));
  }
  DisableAudio = AddGroup<TDisableAudioGroup>();
  // Copied in the record's order; Video keeps the page order.
  Video.assign(spec.VideoPages.size(), nullptr);
  for (const std::string& suffix : spec.VideoRecordOrder)
    for (size_t i = 0; i < spec.VideoPages.size(); ++i)
      if (spec.VideoPages[i].Suffix == suffix)
        Video[i] = AddGroup<TVideoPageGroup>(spec.VideoPages[i], spec.Sizes, StandardFrameRates());
  for (size_t i = 0; i < Video.size(); ++i)
    if (!Video[i]) throw Exception("The video page " + spec.VideoPages[i].Suffix + " is missing from the copy order");
  for (const TAudioPage& page : spec.AudioPages) Audio.push_back(AddGroup<TAudioPageGroup>(page));
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
