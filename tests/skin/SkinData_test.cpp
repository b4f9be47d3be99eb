// The skin data component: its published properties by name, the SkinStream property with good, cut,
// oversized and random payloads, and what loading a layout that carries it starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "LzhEncoder.h"
#include "Prompter.h"
#include "SkinEngineKit.h"
#include "Timer.h"

namespace {

using namespace skintest;
using Bytes = std::vector<uint8_t>;

const char* const OlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

class SkinDataComponent : public ::testing::Test {
protected:
  TRecordingPrompter prompter;
  TPrompter* previous = nullptr;
  void SetUp() override {
    previous = SetPrompter(&prompter);
    FreeSkinManager();
  }
  void TearDown() override {
    FreeSkinManager();
    SetPrompter(previous);
    SetLayoutSource(nullptr);
  }
};

// ---- published properties ----

TEST_F(SkinDataComponent, PublishesItsPropertiesWithTheirDefaults) {
  TSkinData data(nullptr);
  const std::pair<const char*, const char*> expected[] = {
      {"Active", "False"},
      {"DisableTag", "99"},
      {"SkinControls",
       "[xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, "
       "xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab, "
       "xcTrackBar, xcSystemMenu]"},
      {"Options", "[xoPreview, xoToolbarBK]"},
      {"SkinFile", ""},
      {"SkinStore", "(none)"},
      {"SkinFormtype", "sfMainform"},
      {"Version", "4.93.11.13"},
      {"MenuUpdate", "True"},
      {"MenuMerge", "False"},
  };
  for (const auto& e : expected) EXPECT_EQ(GetPropText(&data, e.first), e.second) << e.first;
  for (const char* event : {"OnFormSkin", "OnSkinChanged", "OnSkinControl", "OnBeforeSkinForm", "OnAfterSkinForm"}) {
    const TPropInfo* p = FindPropInfo(&data, event);
    ASSERT_NE(p, nullptr) << event;
    EXPECT_EQ(p->Kind, pkEvent) << event;
  }
  ASSERT_NE(FindPropInfo(&data, "SkinStream"), nullptr);

  const std::vector<std::string> rows = data.GetSkin3rd();
  ASSERT_EQ(rows.size(), 118u);
  EXPECT_EQ(rows.front(), "TCategoryButtons=scrollbar");
  EXPECT_EQ(rows[36], "TFcRadioGroup=Radiogroup");
  EXPECT_EQ(rows.back(), "TOVCDBNUMERICFIELD=Edit");
  EXPECT_EQ(std::count(rows.begin(), rows.end(), "TDBCheckboxEh=Checkbox"), 2);

  // The pseudo-properties keep their answers whatever is written.
  SetPropText(&data, "Version", "1.0");
  SetPropText(&data, "SkinStore", "(Good)");
  EXPECT_EQ(GetPropText(&data, "Version"), "4.93.11.13");
  EXPECT_EQ(GetPropText(&data, "SkinStore"), "(none)");
  EXPECT_GT(data.MenuGlyphs->Count(), 0) << "the program's menu glyphs";
}

TEST_F(SkinDataComponent, SettingActiveToItsValueQueuesNothing) {
  TSkinData data(nullptr);
  data.SkinData.SetBytes(ProgramSkinFile());
  ASSERT_TRUE(data.LoadSkin());
  CreateSkinManager().Started = 1;
  data.SetActive(false);
  EXPECT_EQ(SkinManager->Action, saNone);
  EXPECT_FALSE(SkinManager->Timer->GetEnabled());
  data.SetActive(true);
  EXPECT_EQ(SkinManager->Action, saSkinAll);
  EXPECT_EQ(SkinManager->ActionData, &data);
  EXPECT_TRUE(SkinManager->Timer->GetEnabled());
}

// ---- the SkinStream property ----

Bytes WrongMagicSkin() { return MakeSkinFile(BuildSkinPack({{"skin.ini", Bytes{'[', ']'}}}, 12345)); }

struct TPayloadCase {
  const char* Name;
  std::function<TMemoryStream()> Payload;
  bool Skinned;
};

const TPayloadCase PayloadCases[] = {
    {"the program's skin", [] { return SkinStreamPayload(ProgramSkinFile(), int32_t(ProgramSkinFile().size())); }, true},
    {"size 0", [] { return SkinStreamPayload({}, 0); }, false},
    {"negative size", [] { return SkinStreamPayload({}, -5); }, false},
    {"size beyond the bytes", [] { return SkinStreamPayload(ProgramSkinFile(), int32_t(ProgramSkinFile().size() + 1)); },
     false},
    {"oversized", [] { return SkinStreamPayload(ProgramSkinFile(), 0x7FFFFFFF); }, false},
    {"no size at all", [] { TMemoryStream s; s.Write("\x05\x00", 2); s.Seek(0); return s; }, false},
    {"skin file cut in half",
     [] {
       Bytes b = ProgramSkinFile();
       b.resize(b.size() / 2);
       return SkinStreamPayload(b, int32_t(b.size()));
     },
     false},
    {"wrong magic", [] { return SkinStreamPayload(WrongMagicSkin(), int32_t(WrongMagicSkin().size())); }, false},
    {"random bytes",
     [] {
       Bytes b(3000);
       std::mt19937 rng(7);
       for (auto& x : b) x = uint8_t(rng());
       return SkinStreamPayload(b, int32_t(b.size()));
     },
     false},
};

class SkinStreamPayloads : public SkinDataComponent, public ::testing::WithParamInterface<TPayloadCase> {};

TEST_P(SkinStreamPayloads, LoadTheSkinOrLeaveTheComponentUnskinned) {
  TSkinData data(nullptr);
  TMemoryStream payload = GetParam().Payload();
  EXPECT_NO_THROW(data.ReadSkinStream(payload));
  EXPECT_EQ(data.NoSkin, !GetParam().Skinned);
  if (payload.Size() >= 4) { EXPECT_EQ(payload.Position(), payload.Size()) << "the payload is read to its end"; }
}

INSTANTIATE_TEST_SUITE_P(Payloads, SkinStreamPayloads, ::testing::ValuesIn(PayloadCases), [](const auto& info) {
  std::string n;
  for (const char* p = info.param.Name; *p; ++p) n += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return n;
});

TEST_F(SkinDataComponent, WritesTheSkinStreamItReads) {
  TSkinData data(nullptr);
  TMemoryStream in = SkinStreamPayload(ProgramSkinFile(), int32_t(ProgramSkinFile().size()));
  data.ReadSkinStream(in);
  TMemoryStream out;
  data.WriteSkinStream(out);
  EXPECT_EQ(out.Bytes(), in.Bytes());
  TSkinData empty(nullptr);
  TMemoryStream none;
  empty.WriteSkinStream(none);
  EXPECT_EQ(none.Bytes(), (Bytes{0, 0, 0, 0}));
}

// Mutations of the program's skin (bytes flipped, cut at any length, lengths rewritten, runs of noise):
// none may raise, hang or crash; whatever does not decode leaves the component unskinned.
TEST_F(SkinDataComponent, SurvivesMangledSkinStreams) {
  const Bytes skin = ProgramSkinFile();
  std::mt19937 rng(20);
  auto pick = [&](size_t n) { return size_t(rng() % n); };
  int skinned = 0;
  for (int round = 0; round < 120; ++round) {
    Bytes b = skin;
    switch (round % 4) {
      case 0:
        for (int i = 0; i < 1 + int(pick(8)); ++i) b[pick(b.size())] ^= uint8_t(1 + pick(255));
        break;
      case 1:
        b.resize(pick(b.size()));
        break;
      case 2: {  // the unpacked length: small, huge or negative
        const int32_t lengths[] = {0, 1, 17, int32_t(pick(1 << 20)), 0x7FFFFFFF, -1};
        const int32_t l = lengths[pick(6)];
        std::memcpy(b.data(), &l, 4);
        break;
      }
      default: {
        const size_t at = 4 + pick(b.size() - 4), n = std::min(b.size() - at, 1 + pick(64));
        for (size_t i = 0; i < n; ++i) b[at + i] = uint8_t(rng());
      }
    }
    TSkinData data(nullptr);
    const int32_t declared = round % 9 == 0 ? int32_t(b.size() + pick(100)) : int32_t(b.size());
    TMemoryStream payload = SkinStreamPayload(b, declared);
    ASSERT_NO_THROW(data.ReadSkinStream(payload)) << "round " << round;
    skinned += !data.NoSkin;
  }
  EXPECT_LT(skinned, 120) << "some mutations must break the skin";
}

// ---- the component in a layout ----

class TSkinnedWindow : public TForm {
public:
  explicit TSkinnedWindow(TComponent* owner) : TForm(owner) {}
  TSkinData* SkinData1 = nullptr;
};

const char* const MainLayout =
    "object frmSkinned: TForm\n"
    "  ClientWidth = 200\n"
    "  ClientHeight = 100\n"
    "  object SkinData1: TSkinData\n"
    "    Active = True\n"
    "    SkinControls = %CONTROLS%\n"
    "    SkinStore = '(Good)'\n"
    "    SkinStream = skn 'skins/test.skn'\n"
    "  end\n"
    "end\n";

struct TLayoutCase {
  const char* Name;
  std::function<Bytes()> Skin;
  const char* Controls;
  bool Active;
  unsigned Lost;  // the member the load-time adjustment removes
};

const TLayoutCase LayoutCases[] = {
    {"good skin", ProgramSkinFile, "[xcMainMenu, xcMenuItem, xcSystemMenu, xcButton]", true, Bit(xcMenuItem)},
    {"good skin without the main menu", ProgramSkinFile, "[xcMenuItem, xcSystemMenu, xcButton]", true,
     Bit(xcSystemMenu)},
    {"wrong magic", WrongMagicSkin, "[xcMainMenu, xcButton]", false, 0},
    {"cut skin",
     [] {
       Bytes b = ProgramSkinFile();
       b.resize(100);
       return b;
     },
     "[xcMainMenu, xcButton]", false, 0},
    {"empty skin file", [] { return Bytes(); }, "[xcMainMenu, xcButton]", false, 0},
};

class SkinLayouts : public SkinDataComponent, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(SkinLayouts, StartTheEngineOrRunUnskinned) {
  const TLayoutCase& c = GetParam();
  const Bytes skin = c.Skin();
  SetLayoutSource([&](const std::string& name) {
    if (name == "skins/test.skn") return skin;
    return EmbeddedFileBytes(name);
  });
  std::string text = MainLayout;
  text.replace(text.find("%CONTROLS%"), 10, c.Controls);
  TSkinnedWindow form(nullptr);
  TLayoutBinder binder;
  binder.Field("SkinData1", form.SkinData1);
  ASSERT_NO_THROW(ReadLayoutText(&form, text, "test.layout", binder));
  binder.BindFields(&form, "test.layout");
  TSkinData* data = form.SkinData1;
  ASSERT_NE(data, nullptr);

  EXPECT_EQ(data->GetActive(), c.Active);
  EXPECT_EQ(data->NoSkin, !c.Active);
  EXPECT_EQ(GetPropText(data, "SkinStore"), "(none)");
  ASSERT_NE(SkinManager, nullptr) << "loading creates the manager in any case";
  EXPECT_TRUE(SkinManager->HookInstalled());
  EXPECT_EQ(SkinManager->MainSkinData, data);
  EXPECT_EQ(SkinManager->Active, c.Active);
  EXPECT_EQ(SkinManager->Started, 0);
  EXPECT_FALSE(SkinManager->Timer->GetEnabled()) << "the first activation starts skinning, not a timer";
  if (c.Lost) { EXPECT_EQ(data->GetSkinControls() & c.Lost, 0u); }
  EXPECT_TRUE(data->Has(xcButton));
  ASSERT_NE(data->CaptionFont, nullptr);
  const bool olderSkinShown = !prompter.Prompts.empty() && prompter.Prompts[0].Text == OlderSkinMessage;
  EXPECT_EQ(olderSkinShown, std::string(c.Name) == "wrong magic");
}

INSTANTIATE_TEST_SUITE_P(Layouts, SkinLayouts, ::testing::ValuesIn(LayoutCases), [](const auto& info) {
  std::string n;
  for (const char* p = info.param.Name; *p; ++p) n += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return n;
});

}  // namespace
