// The audio page's rules on every kind of page: two test windows carry the pages the real editors
// use (AC3, MP2 and MP3 over the AVI record; AAC, AMR narrow and wide band over the 3GP record).
#include "AudioGroup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "EditorTestKit.h"
#include "Settings.h"
#include "Strings.h"

namespace {

const char* const kAviPagesLayout = R"(
base 'layouts/ProfileEditorAudio.layout'
object frmAudioPagesAvi: TfrmAudioPagesAvi
  inherited TabSheetAudio: TTabSheet
    object PageControlACodec: TPageControl
      Align = alClient
      object TabSheetAC3: TTabSheet
        include 'layouts/ProfileAudioAC3Page.layout' suffix 'AC3'
      end
      object TabSheetMp2: TTabSheet
        include 'layouts/ProfileAudioPage.layout' suffix 'Mp2'
      end
      object TabSheetMp3: TTabSheet
        include 'layouts/ProfileAudioPage.layout' suffix 'Mp3'
      end
    end
  end
end
)";

const char* const kTgpPagesLayout = R"(
base 'layouts/ProfileEditorAudio.layout'
object frmAudioPagesTgp: TfrmAudioPagesTgp
  inherited TabSheetAudio: TTabSheet
    object PageControlACodec: TPageControl
      Align = alClient
      object TabSheetAACMp4: TTabSheet
        include 'layouts/ProfileAudioPage.layout' suffix 'AACMp4'
        inherited ComboBoxSampleRateAACMp4: TComboBox
          Items = ('11025' '12000' '16000' '22050' '24000' '32000' '44100' '48000')
        end
      end
      object TabSheetArmnb: TTabSheet
        include 'layouts/ProfileAudioPageNoRange.layout' suffix 'Armnb'
        inherited ComboBoxSampleRateArmnb: TComboBox
          Items = ('8000')
        end
      end
      object TabSheetArmwb: TTabSheet
        include 'layouts/ProfileAudioPageNoRange.layout' suffix 'Armwb'
        inherited ComboBoxSampleRateArmwb: TComboBox
          Items = ('16000')
        end
      end
    end
  end
end
)";

}  // namespace

class TfrmAudioPagesAvi : public TfrmProfileEditor {
  ORV_CLASS(TfrmAudioPagesAvi)
public:
  explicit TfrmAudioPagesAvi(TComponent* owner) : TfrmProfileEditor(owner, ofAVI, IDS_PROFILE_LABEL_AVI) {
    AC3 = AddGroup<TAudioPageGroup>(AudioPageAC3());
    Mp2 = AddGroup<TAudioPageGroup>(AudioPageMp2());
    Mp3 = AddGroup<TAudioPageGroup>(AudioPageMp3());
    InitLayout();
  }
  TAudioPageGroup *AC3, *Mp2, *Mp3;
};
ORV_DEFINE_CLASS(TfrmAudioPagesAvi, TfrmProfileEditor, nullptr, {})

class TfrmAudioPagesTgp : public TfrmProfileEditor {
  ORV_CLASS(TfrmAudioPagesTgp)
public:
  explicit TfrmAudioPagesTgp(TComponent* owner) : TfrmProfileEditor(owner, ofTGP, IDS_PROFILE_LABEL_3GP) {
    AAC = AddGroup<TAudioPageGroup>(AudioPageAACMp4());
    Armnb = AddGroup<TAudioPageGroup>(AudioPageArmnb());
    Armwb = AddGroup<TAudioPageGroup>(AudioPageArmwb());
    InitLayout();
  }
  TAudioPageGroup *AAC, *Armnb, *Armwb;
};
ORV_DEFINE_CLASS(TfrmAudioPagesTgp, TfrmProfileEditor, nullptr, {})

namespace {

class AudioPages : public ::testing::Test {
protected:
  etk::TLayoutOverlay overlay{{{"layouts/TfrmAudioPagesAvi.layout", kAviPagesLayout},
                               {"layouts/TfrmAudioPagesTgp.layout", kTgpPagesLayout}}};
  TfrmAudioPagesAvi* avi = nullptr;
  TfrmAudioPagesTgp* tgp = nullptr;

  void SetUp() override {
    ResetEditorTexts();
    ResetAVISettings();
    ResetTGPSettings();
  }
  void TearDown() override {
    if (avi) avi->Free();
    if (tgp) tgp->Free();
  }
  void OpenAvi() {
    avi = new TfrmAudioPagesAvi(Application);
    avi->LoadSettings();
    avi->FormShow(avi);
  }
  void OpenTgp() {
    tgp = new TfrmAudioPagesTgp(Application);
    tgp->LoadSettings();
    tgp->FormShow(tgp);
  }
  static void ChooseSampleRate(TAudioPageGroup* p, int index) {
    p->ComboBoxSampleRate->SetItemIndex(index);
    p->UpdateAudioBitrateRange();  // the list's change binding
  }
  static void ChooseChannels(TAudioPageGroup* p, int index) {
    p->ComboBoxAudioChannels->SetItemIndex(index);
    p->UpdateAC3Channels();
  }
  static int Position(TAudioPageGroup* p) { return p->TrackBarAudioBitrate->GetPosition(); }
  static std::string Label(TAudioPageGroup* p) { return p->LabelAudioBitrate->GetCaption(); }
};

}  // namespace

// The slider's range for every sample rate of every page, checked by trying both ends.
TEST_F(AudioPages, RangeBySampleRateTable) {
  OpenAvi();
  OpenTgp();
  struct TCase {
    TAudioPageGroup* Page;
    int SampleRate, Min, Max;
  };
  const TCase cases[] = {
      {avi->Mp3, 0, 1, 8},    {avi->Mp3, 1, 1, 8},    {avi->Mp3, 2, 1, 12},   {avi->Mp3, 3, 1, 12},
      {avi->Mp2, 0, 1, 8},    {avi->Mp2, 1, 1, 8},    {avi->Mp2, 2, 1, 13},   {avi->Mp2, 3, 1, 13},
      {avi->AC3, 0, 1, 12},   {avi->AC3, 1, 1, 12},   {avi->AC3, 2, 2, 14},   {avi->AC3, 3, 2, 14},
      {tgp->AAC, 0, 1, 5},    {tgp->AAC, 1, 1, 5},    {tgp->AAC, 2, 1, 6},    {tgp->AAC, 3, 1, 8},
      {tgp->AAC, 4, 1, 8},    {tgp->AAC, 5, 1, 10},   {tgp->AAC, 6, 1, 12},   {tgp->AAC, 7, 1, 12},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Page->Suffix() + " sample rate " + IntToStr(c.SampleRate));
    ChooseSampleRate(c.Page, c.SampleRate);
    c.Page->TrackBarAudioBitrate->SetPosition(100);
    EXPECT_EQ(Position(c.Page), c.Max);
    EXPECT_EQ(Label(c.Page), c.Page->Page().BitRates->Entry(c.Max));
    c.Page->TrackBarAudioBitrate->SetPosition(-100);
    EXPECT_EQ(Position(c.Page), c.Min);
    EXPECT_EQ(Label(c.Page), c.Page->Page().BitRates->Entry(c.Min));
  }
}

TEST_F(AudioPages, StoredPresetAboveTheRateIsNarrowedWhenShown) {
  AVISettings.AudioBitRatePresetMp3 = 320;
  AVISettings.AudioSampleRateMp3 = 0;
  avi = new TfrmAudioPagesAvi(Application);
  avi->LoadSettings();
  EXPECT_EQ(Position(avi->Mp3), 12);  // the whole table while loading
  avi->FormShow(avi);
  EXPECT_EQ(avi->Mp3->TrackBarAudioBitrate->GetMax(), 8);
  EXPECT_EQ(Position(avi->Mp3), 8);
  EXPECT_EQ(Label(avi->Mp3), "160");
  avi->SaveSettings();
  EXPECT_EQ(AVISettings.AudioBitRatePresetMp3, 160);
}

TEST_F(AudioPages, PresetWithoutEntryOpensAtPositionFour) {
  struct TCase {
    int32_t Stored;
    int Position;
    int32_t Saved;
  };
  const TCase cases[] = {{100, 4, 64}, {0, 4, 64}, {-1, 4, 64}, {448, 4, 64}, {384, 4, 64}, {32, 1, 32}, {320, 12, 320}};
  for (const TCase& c : cases) {
    ResetAVISettings();
    AVISettings.AudioSampleRateMp3 = 2;  // 44100: the whole table
    AVISettings.AudioBitRatePresetMp3 = c.Stored;
    OpenAvi();
    EXPECT_EQ(Position(avi->Mp3), c.Position) << c.Stored;
    avi->SaveSettings();
    EXPECT_EQ(AVISettings.AudioBitRatePresetMp3, c.Saved) << c.Stored;
    avi->Free();
    avi = nullptr;
  }
}

TEST_F(AudioPages, SixChannelsCoverTheSampleRateAndNarrowTheSlider) {
  AVISettings.AudioSampleRateAC3 = 0;  // 22050
  AVISettings.AudioBitRatePresetAC3 = 32;
  OpenAvi();
  TAudioPageGroup* p = avi->AC3;
  ASSERT_EQ(Position(p), 1);
  ChooseChannels(p, 2);
  EXPECT_EQ(Position(p), 6);
  EXPECT_EQ(Label(p), "112");
  EXPECT_EQ(p->TrackBarAudioBitrate->GetMin(), 6);
  EXPECT_EQ(p->TrackBarAudioBitrate->GetMax(), 14);
  // The fixed 48000 group lies in front of the sample-rate list.
  TWinControl* parent = p->GroupBoxSampleRate->GetParent();
  const auto& order = parent->ControlList();
  auto at = [&](TControl* c) { return std::find(order.begin(), order.end(), c) - order.begin(); };
  EXPECT_GT(at(p->GroupBoxSampleRate6Channels), at(p->GroupBoxSampleRate));
  ChooseChannels(p, 1);
  EXPECT_EQ(p->TrackBarAudioBitrate->GetMin(), 1);
  EXPECT_EQ(p->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(Position(p), 6);
  EXPECT_GT(at(p->GroupBoxSampleRate), at(p->GroupBoxSampleRate6Channels));
  EXPECT_EQ(p->ComboBoxSampleRate->GetItemIndex(), 0);
}

TEST_F(AudioPages, AC3At48000MovesTheLowestPresetUp) {
  AVISettings.AudioSampleRateAC3 = 3;
  AVISettings.AudioBitRatePresetAC3 = 32;
  OpenAvi();
  EXPECT_EQ(Position(avi->AC3), 2);
  EXPECT_EQ(Label(avi->AC3), "48");
}

// Showing the window keeps a stored six-channel bit rate that the covered sample rate would not allow.
TEST_F(AudioPages, SixChannelsStoredStayInTheirRangeWhenShown) {
  AVISettings.AudioChannelsAC3 = 2;
  AVISettings.AudioSampleRateAC3 = 0;
  AVISettings.AudioBitRatePresetAC3 = 448;
  OpenAvi();
  EXPECT_EQ(avi->AC3->TrackBarAudioBitrate->GetMin(), 6);
  EXPECT_EQ(Position(avi->AC3), 14);
  avi->SaveSettings();
  EXPECT_EQ(AVISettings.AudioBitRatePresetAC3, 448);
  EXPECT_EQ(AVISettings.AudioSampleRateAC3, 0);
  EXPECT_EQ(AVISettings.AudioChannelsAC3, 2);
  EXPECT_EQ(avi->AC3->ComboBoxAudioChannels->GetItems().size(), 3u);
}

TEST_F(AudioPages, AacFrom48000To11025) {
  TGPSettings.AudioSampleRateAACMP4 = 7;
  TGPSettings.AudioBitRatePresetAACMP4 = 256;
  OpenTgp();
  ASSERT_EQ(Position(tgp->AAC), 12);
  ChooseSampleRate(tgp->AAC, 0);
  EXPECT_EQ(Position(tgp->AAC), 5);
  EXPECT_EQ(Label(tgp->AAC), "64");
}

TEST_F(AudioPages, AmrEntriesAreAllReachable) {
  OpenTgp();
  for (TAudioPageGroup* p : {tgp->Armnb, tgp->Armwb}) {
    const TBitRateTable& t = *p->Page().BitRates;
    EXPECT_EQ(p->TrackBarAudioBitrate->GetMax(), t.Count());
    for (int position = 1; position <= t.Count(); ++position) {
      p->TrackBarAudioBitrate->SetPosition(position);
      EXPECT_EQ(Position(p), position);
      tgp->SaveSettings();
      EXPECT_EQ(p == tgp->Armnb ? TGPSettings.AudioBitRatePresetArmnb : TGPSettings.AudioBitRatePresetArmwb,
                t.Value(position));
    }
  }
}

// Pages the window does not show load and save their fields all the same.
TEST_F(AudioPages, EveryPageRoundTripsItsFields) {
  AVISettings.AudioBitRateUseAutoSetMp2 = true;
  AVISettings.AudioBitRatePresetMp2 = 384;
  AVISettings.AudioSampleRateMp2 = 3;
  AVISettings.AudioChannelsMp2 = 0;
  AVISettings.AudioBitRatePresetAC3 = 224;
  AVISettings.AudioChannelsAC3 = 0;
  const TAVISettings before = AVISettings;
  OpenAvi();
  ResetAVISettings();
  avi->SaveSettings();
  EXPECT_EQ(AVISettings.AudioBitRateUseAutoSetMp2, before.AudioBitRateUseAutoSetMp2);
  EXPECT_EQ(AVISettings.AudioBitRatePresetMp2, before.AudioBitRatePresetMp2);
  EXPECT_EQ(AVISettings.AudioSampleRateMp2, before.AudioSampleRateMp2);
  EXPECT_EQ(AVISettings.AudioChannelsMp2, before.AudioChannelsMp2);
  EXPECT_EQ(AVISettings.AudioBitRatePresetAC3, before.AudioBitRatePresetAC3);
  EXPECT_EQ(AVISettings.AudioChannelsAC3, before.AudioChannelsAC3);
  EXPECT_EQ(AVISettings.AudioBitRatePresetMp3, before.AudioBitRatePresetMp3);
}

TEST_F(AudioPages, AnUnknownSampleRateLeavesTheRangeAndSaves255) {
  AVISettings.AudioSampleRateMp3 = 9;
  AVISettings.AudioBitRatePresetMp3 = 320;
  OpenAvi();
  EXPECT_EQ(avi->Mp3->ComboBoxSampleRate->GetItemIndex(), -1);
  EXPECT_EQ(avi->Mp3->TrackBarAudioBitrate->GetMax(), 12);
  EXPECT_EQ(Position(avi->Mp3), 12);
  avi->SaveSettings();
  EXPECT_EQ(AVISettings.AudioSampleRateMp3, 255);
  EXPECT_EQ(AVISettings.AudioBitRatePresetMp3, 320);
}
