// The video groups on a small test form built from the program's group layouts, one panel per page:
// preset lookup (last equal entry wins, no equal entry gives the default position, positions beyond the
// slider clamp), the bit-rate label pattern, the preset/specify enabling, the value dialog's bounds and
// answers, the common-sizes list and the even-size rule, frame rate, aspect and the H.263 variants.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "FcSpnEdt.h"
#include "Forms.h"
#include "EditorTexts.h"
#include "ProfileEditor.h"
#include "Resources.h"
#include "Settings.h"
#include "StdCtrls.h"
#include "Strings.h"
#include "VideoSizeGroup.h"

namespace {

std::string gCodecName = "Codec";

// Test pages on the AVI record: a standard 13-entry page, a 3GP-style page whose slider stops at 10, a
// 12-entry and an 11-entry page, a page without the even-size rule and an H.263 page.
enum { pgDivX, pgTgp, pgWmv, pgSwf, pgMpeg, pgH263, PageCount };
const std::vector<TVideoPage>& TestPages() {
  static const std::vector<TVideoPage> pages = {
      {"DivX", "DivX", &gCodecName, &VideoBitRatesDivX, 13},
      {"Tgp", "XviD", &gCodecName, &VideoBitRatesXviD, 10},
      {"Wmv", "MsMPEG4", &gCodecName, &WmvVideoBitRatesWmv8, 12},
      {"Swf", "Flv", &gCodecName, &SwfVideoBitRatesFlv, 11},
      {"Mpeg", "MPEG1", &gCodecName, &VideoBitRatesMPEG1, 13},
      {"H263", "H263", &gCodecName, &VideoBitRatesH263, 13, true},
  };
  return pages;
}

class TVideoGroupsTestForm : public TfrmProfileEditor {
public:
  TVideoGroupsTestForm()
      : TfrmProfileEditor(Application, ofAVI, IDS_PROFILE_LABEL_AVI),
        // The DVD-style slider: 11 of 13 entries, default position 6; and a table with "128" twice.
        Dvd(TVideoBitrateSpec{"Dvd", "", &DVDVideoBitRates, 11, 6, "DVD"}),
        Dup(TVideoBitrateSpec{"Dup", "", &DVDAudioBitRates, 10}) {
    for (const TVideoPage& page : TestPages())
      Pages.push_back(AddGroup<TVideoPageGroup>(page, StandardVideoSizes(), StandardFrameRates(),
                                                page.Suffix != "Mpeg"));
    InitLayout();
    for (TVideoBitrateGroup* g : {&Dvd, &Dup}) {
      g->ApplyLanguage();
      g->FormCreate();
    }
  }
  std::string LayoutName() const override { return "layouts/TVideoGroupsTestForm.layout"; }

  TVideoPageGroup& Page(int i) { return *Pages[size_t(i)]; }
  std::vector<TVideoPageGroup*> Pages;
  TVideoBitrateGroup Dvd, Dup;
  TButton* ButtonOther = nullptr;

protected:
  void DeclareLayout(TLayoutBinder& b) override {
    TfrmProfileEditor::DeclareLayout(b);
    Dvd.DeclareLayout(b);
    Dup.DeclareLayout(b);
    b.Field("ButtonOther", ButtonOther);
  }
};

// The value dialog as the tests answer it: each call is recorded; the answer is gAnswer, or the default
// when gCancel is set.
struct TDialogCall {
  TCustomForm* Owner;
  std::string Caption, Prompt;
  int32_t Min, Max, Def;
};
std::vector<TDialogCall> gCalls;
int32_t gAnswer = 0;
bool gCancel = false;
int32_t AnswerDialog(TCustomForm* owner, const std::string& caption, const std::string& prompt, int32_t min,
                     int32_t max, int32_t def) {
  gCalls.push_back({owner, caption, prompt, min, max, def});
  return gCancel ? def : gAnswer;
}

class VideoGroups : public ::testing::Test {
protected:
  TVideoGroupsTestForm* form = nullptr;
  std::string oldPattern;

  void SetUp() override {
    oldPattern = IDS_BITTATE_FORMAT;
    SetLayoutSource([](const std::string& name) -> std::vector<uint8_t> {
      if (SameText(name, "layouts/TVideoGroupsTestForm.layout")) return FolderLayoutSource(ORV_TEST_DATA_DIR)(name);
      return EmbeddedFileBytes(name);
    });
    ResetAVISettings();
    form = new TVideoGroupsTestForm;
    form->SetBounds(40, 40, 480, 560);
    form->Show();
    SetForegroundWindow(form->Handle());
    Application->ProcessMessages();
    gCalls.clear();
    gCancel = false;
    SetEditorInputInteger(&AnswerDialog);
  }
  void TearDown() override {
    SetEditorInputInteger(nullptr);
    form->Free();
    SetLayoutSource(nullptr);
    IDS_BITTATE_FORMAT = oldPattern;
  }
  // The page's keys in the AVI record.
  static std::string Key(int page, const std::string& name) { return name + TestPages()[size_t(page)].KeySuffix; }
  void LoadPage(int page) {
    TProfileRecord r(ofAVI);
    form->Page(page).LoadSettings(r);
  }
  void SavePage(int page) {
    TProfileRecord r(ofAVI);
    form->Page(page).SaveSettings(r);
  }
  static void SetField(int page, const std::string& name, int32_t v) { TProfileRecord(ofAVI).SetInt(Key(page, name), v); }
  static int32_t GetField(int page, const std::string& name) { return TProfileRecord(ofAVI).Int(Key(page, name)); }
  // Types `text` into the field and moves the focus away, as the user leaves the field.
  void TypeAndLeave(TFcSpinEdit* edit, const std::string& text) {
    edit->SetFocus();
    Application->ProcessMessages();
    edit->SetText(text);
    form->ButtonOther->SetFocus();
    Application->ProcessMessages();
  }
};

// ---- bit rate ----

TEST_F(VideoGroups, PresetLookupOverTablesAndSliderLengths) {
  struct TCase {
    int Page;
    int32_t Stored;
    int Position;
    const char* Label;
    int32_t Saved;
  };
  const TCase cases[] = {
      {pgDivX, 1080, 6, "1080", 1080}, {pgDivX, 1000, 2, "128", 128},    {pgDivX, 64, 1, "64", 64},
      {pgDivX, 9600, 13, "9600", 9600}, {pgDivX, 128, 2, "128", 128},    {pgDivX, -5, 2, "128", 128},
      {pgTgp, 6000, 10, "2496", 2496},  {pgTgp, 9600, 10, "2496", 2496}, {pgTgp, 1500, 9, "1500", 1500},
      {pgWmv, 9600, 2, "128", 128},     {pgWmv, 6000, 12, "6000", 6000}, {pgSwf, 3600, 11, "3600", 3600},
      {pgSwf, 4600, 2, "128", 128},     {pgH263, 768, 5, "768", 768},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE("page " + std::to_string(c.Page) + " stored " + std::to_string(c.Stored));
    SetField(c.Page, "VideoBitRatePreset", c.Stored);
    LoadPage(c.Page);
    TVideoBitrateGroup& g = form->Page(c.Page).Bitrate;
    EXPECT_EQ(g.TrackBarVideoBitrate->GetPosition(), c.Position);
    EXPECT_EQ(g.LabelBitrate->GetCaption(), c.Label);
    SetField(c.Page, "VideoBitRatePreset", -1);
    SavePage(c.Page);
    EXPECT_EQ(GetField(c.Page, "VideoBitRatePreset"), c.Saved);
  }
}

TEST_F(VideoGroups, SliderLengthsAndDefaultPositions) {
  const int lengths[PageCount] = {13, 10, 12, 11, 13, 13};
  for (int i = 0; i < PageCount; ++i) {
    TTrackBar* t = form->Page(i).Bitrate.TrackBarVideoBitrate;
    EXPECT_EQ(t->GetMin(), 1) << i;
    EXPECT_EQ(t->GetMax(), lengths[i]) << i;
  }
  form->Dvd.Load(true, 9600, 0);
  EXPECT_EQ(form->Dvd.TrackBarVideoBitrate->GetPosition(), 11);
  EXPECT_EQ(form->Dvd.LabelBitrate->GetCaption(), "4600");
  form->Dvd.Load(true, 7000, 0);
  EXPECT_EQ(form->Dvd.TrackBarVideoBitrate->GetPosition(), 6);
  EXPECT_EQ(form->Dvd.LabelBitrate->GetCaption(), "1080");
}

TEST_F(VideoGroups, LastEqualEntryWins) {
  form->Dup.Load(true, 128, 0);  // "128" stands at positions 4 and 5
  EXPECT_EQ(form->Dup.TrackBarVideoBitrate->GetPosition(), 5);
  form->Dup.Load(true, 96, 0);
  EXPECT_EQ(form->Dup.TrackBarVideoBitrate->GetPosition(), 2);
  bool use = false;
  int32_t preset = 0, specify = 0;
  form->Dup.Save(use, preset, specify);
  EXPECT_EQ(preset, 96);
}

TEST_F(VideoGroups, LoadWalksTheSliderAndTheLabelFollowsEveryMove) {
  TVideoBitrateGroup& g = form->Page(pgDivX).Bitrate;
  std::vector<std::string> labels;
  TNotifyEvent bound = g.TrackBarVideoBitrate->OnChange;
  g.TrackBarVideoBitrate->OnChange = [&](TObject* s) {
    bound(s);
    labels.push_back(g.LabelBitrate->GetCaption());
  };
  g.TrackBarVideoBitrate->SetPosition(1);
  labels.clear();
  g.Load(true, 64, 0);  // the default position 2 first, then the entry at 1
  EXPECT_EQ(labels, (std::vector<std::string>{"128", "64"}));
  labels.clear();
  g.Load(true, 1000, 0);  // no entry: the default position only
  EXPECT_EQ(labels, (std::vector<std::string>{"128"}));
}

TEST_F(VideoGroups, LabelPattern) {
  struct TCase {
    const char* Pattern;
    const char* Label;
  };
  // A pattern that does not take one text shows the entry itself rather than failing in the slider.
  const TCase cases[] = {{"%s", "1080"}, {"%s kbit/s", "1080 kbit/s"}, {"[%s]", "[1080]"},
                         {"%d", "1080"}, {"%s %s", "1080"},             {"100%", "1080"}};
  TVideoBitrateGroup& g = form->Page(pgDivX).Bitrate;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Pattern);
    IDS_BITTATE_FORMAT = c.Pattern;
    g.Load(true, 64, 0);
    g.Load(true, 1080, 0);
    EXPECT_EQ(g.LabelBitrate->GetCaption(), c.Label);
  }
}

TEST_F(VideoGroups, ModeEnablesOneWayAndBothValuesAreSaved) {
  TVideoBitrateGroup& g = form->Page(pgDivX).Bitrate;
  for (bool usePreset : {true, false, true}) {
    SCOPED_TRACE(usePreset);
    g.Load(usePreset, 256, 777);
    g.UpdateBitrateMode();
    EXPECT_EQ(g.RadioButtonVideoPresert->GetChecked(), usePreset);
    EXPECT_EQ(g.RadioButtonVideoSpecify->GetChecked(), !usePreset);
    for (TControl* c : std::initializer_list<TControl*>{g.LabelCurrentBitrate, g.LabelBitrate, g.LabelLow,
                                                         g.LabelHigh, g.TrackBarVideoBitrate, g.LabelKbps2})
      EXPECT_EQ(c->GetEnabled(), usePreset) << c->GetName();
    for (TControl* c :
         std::initializer_list<TControl*>{g.LabelBitrateSpecify, g.LabelKbps, g.ButtonVideoBitrateConfigure})
      EXPECT_EQ(c->GetEnabled(), !usePreset) << c->GetName();
    EXPECT_EQ(g.LabelBitrateSpecify->GetCaption(), "777");
    SetField(pgDivX, "VideoBitRatePreset", 0);
    SetField(pgDivX, "VideoBitRateSpecify", 0);
    SavePage(pgDivX);
    EXPECT_EQ(GetField(pgDivX, "VideoBitRateUsePresert"), usePreset ? 1 : 0);
    EXPECT_EQ(GetField(pgDivX, "VideoBitRatePreset"), 256);
    EXPECT_EQ(GetField(pgDivX, "VideoBitRateSpecify"), 777);
  }
  // A click on the other button switches the enabling at once.
  g.Load(true, 256, 777);
  g.UpdateBitrateMode();
  g.RadioButtonVideoSpecify->SetChecked(true);
  EXPECT_FALSE(g.RadioButtonVideoPresert->GetChecked());
  EXPECT_FALSE(g.TrackBarVideoBitrate->GetEnabled());
  EXPECT_TRUE(g.ButtonVideoBitrateConfigure->GetEnabled());
}

TEST_F(VideoGroups, SpecifiedValueThroughTheDialog) {
  struct TCase {
    int Page;
    int32_t Stored;
    bool Cancel;
    int32_t Answer;
    int32_t Min, Max;
    const char* Label;
  };
  const TCase cases[] = {
      {pgDivX, 0, true, 0, 64, 9600, "0"},           {pgDivX, 0, false, 500, 64, 9600, "500"},
      {pgDivX, 123456, true, 0, 64, 9600, "123456"}, {pgTgp, 1080, false, 9600, 64, 9600, "9600"},
      {pgWmv, 768, false, 6000, 64, 6000, "6000"},   {pgSwf, 768, false, 64, 64, 3600, "64"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE("page " + std::to_string(c.Page) + " answer " + std::to_string(c.Answer));
    SetField(c.Page, "VideoBitRateUsePresert", 0);
    SetField(c.Page, "VideoBitRateSpecify", c.Stored);
    LoadPage(c.Page);
    TVideoBitrateGroup& g = form->Page(c.Page).Bitrate;
    gCalls.clear();
    gCancel = c.Cancel;
    gAnswer = c.Answer;
    g.ButtonVideoBitrateConfigure->Click();
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].Owner, form);
    EXPECT_EQ(gCalls[0].Caption, IDS_ENTER_VIDEOBITRATE_TITLE);
    EXPECT_EQ(gCalls[0].Prompt, IDS_ENTER_VIDEOBITRATE);
    EXPECT_EQ(gCalls[0].Min, c.Min);
    EXPECT_EQ(gCalls[0].Max, c.Max);
    EXPECT_EQ(gCalls[0].Def, c.Stored);
    EXPECT_EQ(g.LabelBitrateSpecify->GetCaption(), c.Label);
    SavePage(c.Page);
    EXPECT_EQ(GetField(c.Page, "VideoBitRateSpecify"), StrToIntDef(c.Label, -1));
    EXPECT_EQ(GetField(c.Page, "VideoBitRateUsePresert"), 0);
  }
}

// ---- size ----

TEST_F(VideoGroups, SizeListFollowsTheFields) {
  struct TCase {
    int32_t Width, Height;
    const char* Item;
    const char* WidthText;
    int32_t SavedWidth;
  };
  const TCase cases[] = {{640, 480, "640x480", "640", 640},     {641, 480, "...", "641", 641},
                         {320, 240, "320x240", "320", 320},     {1280, 720, "1280x720", "1280", 1280},
                         {480, 640, "...", "480", 480},         {2000, 720, "...", "1600", 1600},
                         {720, 576, "720x576", "720", 720},     {0, 0, "...", "2", 2}};
  TVideoSizeGroup& g = *form->Page(pgDivX).Size;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height));
    SetField(pgDivX, "VideoWidth", c.Width);
    SetField(pgDivX, "VideoHeight", c.Height);
    LoadPage(pgDivX);
    EXPECT_EQ(g.ComboBoxVideoSize->GetText(), c.Item);
    EXPECT_EQ(g.EditVideoWidth->GetText(), c.WidthText);
    SavePage(pgDivX);
    EXPECT_EQ(GetField(pgDivX, "VideoWidth"), c.SavedWidth);
  }
  EXPECT_EQ(g.ComboBoxVideoSize->ItemCount(), 14);
  EXPECT_EQ(g.ComboBoxVideoSize->GetItems().back(), "...");
}

TEST_F(VideoGroups, PickingASizeWritesTheFields) {
  TVideoSizeGroup& g = *form->Page(pgDivX).Size;
  SetField(pgDivX, "VideoWidth", 352);
  SetField(pgDivX, "VideoHeight", 288);
  LoadPage(pgDivX);
  int widthChanges = 0;
  TNotifyEvent bound = g.EditVideoWidth->OnChange;
  g.EditVideoWidth->OnChange = [&](TObject* s) {
    bound(s);
    ++widthChanges;
  };
  g.ComboBoxVideoSize->SetItemIndex(1);  // "352x240": only the height changes
  g.ComboBoxVideoSizeChange();
  EXPECT_EQ(widthChanges, 0);
  EXPECT_EQ(g.EditVideoWidth->GetIntValue(), 352);
  EXPECT_EQ(g.EditVideoHeight->GetIntValue(), 240);
  EXPECT_EQ(g.ComboBoxVideoSize->GetText(), "352x240");

  g.ComboBoxVideoSize->SetItemIndex(12);  // "1280x720"
  g.ComboBoxVideoSizeChange();
  EXPECT_EQ(g.EditVideoWidth->GetIntValue(), 1280);
  EXPECT_EQ(g.EditVideoHeight->GetIntValue(), 720);
  EXPECT_EQ(g.ComboBoxVideoSize->GetItemIndex(), 12);

  g.ComboBoxVideoSize->SetItemIndex(13);  // "...": the fields stay
  g.ComboBoxVideoSizeChange();
  EXPECT_EQ(g.EditVideoWidth->GetIntValue(), 1280);
  EXPECT_EQ(g.EditVideoHeight->GetIntValue(), 720);
  EXPECT_EQ(g.ComboBoxVideoSize->GetItemIndex(), 13);
}

TEST_F(VideoGroups, EvenSizeRuleOnLeavingAField) {
  struct TCase {
    const char* Typed;
    const char* Even;     // pages with the rule
    const char* Limited;  // the page without it
  };
  const TCase cases[] = {{"1599", "1600", "1599"}, {"5000", "1600", "1600"}, {"0", "2", "2"},
                         {"3", "4", "3"},          {"1601", "1600", "1600"}, {"abc", "2", "2"},
                         {"333", "334", "333"},    {"640", "640", "640"},    {"-7", "2", "2"}};
  TVideoSizeGroup& even = *form->Page(pgDivX).Size;
  TVideoSizeGroup& plain = *form->Page(pgMpeg).Size;
  even.RadioButtonChangVideoSize->SetChecked(true);
  plain.RadioButtonChangVideoSize->SetChecked(true);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Typed);
    TypeAndLeave(even.EditVideoWidth, c.Typed);
    EXPECT_EQ(even.EditVideoWidth->GetText(), c.Even);
    TypeAndLeave(even.EditVideoHeight, c.Typed);
    EXPECT_EQ(even.EditVideoHeight->GetText(), c.Even);
    TypeAndLeave(plain.EditVideoWidth, c.Typed);
    EXPECT_EQ(plain.EditVideoWidth->GetText(), c.Limited);
  }
}

TEST_F(VideoGroups, SizeEnablingAndRoundTrip) {
  TVideoSizeGroup& g = *form->Page(pgDivX).Size;
  for (bool useSource : {true, false}) {
    SetField(pgDivX, "VideoSizeUseSource", useSource);
    SetField(pgDivX, "VideoWidth", 720);
    SetField(pgDivX, "VideoHeight", 480);
    LoadPage(pgDivX);
    g.UpdateVideoSize();
    for (TControl* c : std::initializer_list<TControl*>{g.EditVideoWidth, g.EditVideoHeight, g.LabelVideoWidth,
                                                         g.LabelVideoHeight, g.LabelX, g.LabelVideoDimensions,
                                                         g.ComboBoxVideoSize})
      EXPECT_EQ(c->GetEnabled(), !useSource) << c->GetName();
    SetField(pgDivX, "VideoSizeUseSource", !useSource);
    SetField(pgDivX, "VideoWidth", 0);
    SavePage(pgDivX);
    EXPECT_EQ(GetField(pgDivX, "VideoSizeUseSource"), useSource ? 1 : 0);
    EXPECT_EQ(GetField(pgDivX, "VideoWidth"), 720);
    EXPECT_EQ(GetField(pgDivX, "VideoHeight"), 480);
  }
  g.RadioButtonKeepSourceSize->SetChecked(true);
  EXPECT_FALSE(g.ComboBoxVideoSize->GetEnabled());
  g.RadioButtonChangVideoSize->SetChecked(true);  // the click enables at once
  EXPECT_TRUE(g.ComboBoxVideoSize->GetEnabled());
}

TEST_F(VideoGroups, FixedSizesOfH263) {
  struct TCase {
    int32_t Width, Height;
    int32_t SavedWidth, SavedHeight;
  };
  const TCase cases[] = {{128, 96, 128, 96}, {176, 144, 176, 144}, {352, 288, 352, 288}, {320, 240, 352, 288},
                         {96, 128, 352, 288}};
  EXPECT_FALSE(form->Page(pgH263).Size);
  TVideoFixedSizeGroup& g = *form->Page(pgH263).FixedSize;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height));
    g.Buttons[2]->SetChecked(true);  // the layout's choice
    SetField(pgH263, "VideoWidth", c.Width);
    SetField(pgH263, "VideoHeight", c.Height);
    LoadPage(pgH263);
    SavePage(pgH263);
    EXPECT_EQ(GetField(pgH263, "VideoWidth"), c.SavedWidth);
    EXPECT_EQ(GetField(pgH263, "VideoHeight"), c.SavedHeight);
  }
}

// ---- frame rate and aspect ----

TEST_F(VideoGroups, FrameRate) {
  struct TCase {
    bool Keep;
    int32_t Index;
    const char* Item;
    int32_t Saved;
  };
  const TCase cases[] = {{true, 7, "25", 7}, {false, 0, "10 ", 0}, {false, 12, "60", 12}, {true, 13, "", 255},
                         {false, 200, "", 255}};
  TVideoFrameRateGroup& g = form->Page(pgDivX).FrameRate;
  EXPECT_EQ(g.ComboBoxVideoFrameRate->GetItems(), StandardFrameRates());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Index);
    SetField(pgDivX, "VideoKeepFrameRate", c.Keep);
    SetField(pgDivX, "VideoFrameRate", c.Index);
    LoadPage(pgDivX);
    g.UpdateFrameRate();
    EXPECT_EQ(g.ComboBoxVideoFrameRate->GetEnabled(), !c.Keep);
    EXPECT_EQ(g.ComboBoxVideoFrameRate->GetText(), c.Item);
    SetField(pgDivX, "VideoKeepFrameRate", !c.Keep);
    SetField(pgDivX, "VideoFrameRate", 99);
    SavePage(pgDivX);
    EXPECT_EQ(GetField(pgDivX, "VideoKeepFrameRate"), c.Keep ? 1 : 0);
    EXPECT_EQ(GetField(pgDivX, "VideoFrameRate"), c.Saved);
  }
  g.RadioButtonChangeFrameRate->SetChecked(true);
  EXPECT_TRUE(g.ComboBoxVideoFrameRate->GetEnabled());
  EXPECT_EQ(VobFrameRates().size(), 9u);
  EXPECT_EQ(VobFrameRates().front(), "19.98");
}

TEST_F(VideoGroups, Aspect) {
  struct TCase {
    int Page;
    int32_t Stored, Saved;
  };
  const TCase cases[] = {{pgDivX, 0, 0}, {pgDivX, 1, 1}, {pgDivX, 2, 2}, {pgDivX, 3, 0}, {pgDivX, 7, 0},
                         {pgH263, 0, 0}, {pgH263, 1, 1}, {pgH263, 3, 3}, {pgH263, 4, 4}, {pgH263, 5, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE("page " + std::to_string(c.Page) + " aspect " + std::to_string(c.Stored));
    form->Page(c.Page).Aspect.Buttons[0]->SetChecked(true);  // the layout's "Auto"
    SetField(c.Page, "VideoAspect", c.Stored);
    LoadPage(c.Page);
    SetField(c.Page, "VideoAspect", 99);
    SavePage(c.Page);
    EXPECT_EQ(GetField(c.Page, "VideoAspect"), c.Saved);
  }
}

// ---- the whole page against its record fields ----

TEST_F(VideoGroups, PageRoundTripsItsFields) {
  // UsePresert, Preset, Specify, SizeUseSource, Width, Height, KeepFrameRate, FrameRate, Aspect.
  const int32_t records[][9] = {{1, 1080, 1080, 1, 640, 480, 1, 7, 0},   {0, 6000, 123, 0, 720, 576, 0, 12, 2},
                                {1, 64, 0, 0, 352, 240, 1, 0, 1},         {0, 9600, 9600, 1, 1600, 2, 0, 5, 2},
                                {1, 128, -40, 0, 1280, 720, 1, 8, 1}};
  const char* const names[9] = {"VideoBitRateUsePresert", "VideoBitRatePreset", "VideoBitRateSpecify",
                                "VideoSizeUseSource",     "VideoWidth",         "VideoHeight",
                                "VideoKeepFrameRate",     "VideoFrameRate",     "VideoAspect"};
  for (const auto& r : records) {
    SCOPED_TRACE(r[1]);
    for (int i = 0; i < 9; ++i) SetField(pgDivX, names[i], r[i]);
    LoadPage(pgDivX);
    for (int i = 0; i < 9; ++i) SetField(pgDivX, names[i], i == 0 || i == 3 || i == 6 ? !r[i] : 77);
    SavePage(pgDivX);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(GetField(pgDivX, names[i]), r[i]) << names[i];
  }
}

TEST_F(VideoGroups, CaptionsComeFromTheLanguageTable) {
  TVideoPageGroup& p = form->Page(pgDivX);
  EXPECT_EQ(p.Header->GetCaption(), "Codec format properties");
  EXPECT_EQ(p.Bitrate.GroupBoxVideoBitrate->GetCaption(), IDS_PROFILE_GROUPBOX_Bitrate);
  EXPECT_EQ(p.Bitrate.LabelLow->GetCaption(), IDS_PROFILE_LABEL_LowQuality);
  EXPECT_EQ(p.Bitrate.ButtonVideoBitrateConfigure->GetCaption(), IDS_PROFILE_BUTTON_Configure);
  EXPECT_EQ(p.Size->RadioButtonKeepSourceSize->GetCaption(), IDS_PROFILE_RADIOBUTTON_KeepSource);
  EXPECT_EQ(p.FrameRate.RadioButtonKeepFrameRate->GetCaption(), IDS_PROFILE_RADIOBUTTON_Auto);
  EXPECT_EQ(p.Aspect.Buttons[0]->GetCaption(), IDS_PROFILE_RADIOBUTTON_Auto);
  EXPECT_EQ(p.Aspect.Buttons[1]->GetCaption(), "4:3");
  EXPECT_EQ(p.Size->LabelX->GetCaption(), "X");
}

}  // namespace
