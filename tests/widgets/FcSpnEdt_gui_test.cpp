// Spin edits laid out as the profile editors lay them out (Min 2, Max 1600, Increment 2, typing
// allowed): clamping, reading, stepping, the input filter, the rewrite on exit and the repeat timing
// of held buttons through a clock the test advances.
#include <gtest/gtest.h>

#include <climits>

#include "FcSpnEdt.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "Strings.h"

namespace {

// Repeat timers that follow a clock the test advances.
struct TFakeClock {
  int Now = 0;
  struct TFakeTimer : TFcRepeatTimer {
    TFakeClock* Clock;
    unsigned Interval = 1000;
    bool Enabled = false;
    int Due = 0;
    explicit TFakeTimer(TFakeClock* c) : Clock(c) { Clock->Timers.push_back(this); }
    ~TFakeTimer() override { Clock->Timers.erase(std::find(Clock->Timers.begin(), Clock->Timers.end(), this)); }
    void SetInterval(unsigned ms) override {
      Interval = ms;
      if (Enabled) Due = Clock->Now + int(ms);  // a new interval starts counting again, as a system timer does
    }
    void SetEnabled(bool on) override {
      Enabled = on;
      if (on) Due = Clock->Now + int(Interval);
    }
  };
  std::vector<TFakeTimer*> Timers;
  void Advance(int ms) {
    for (int i = 0; i < ms; ++i) {
      ++Now;
      auto list = Timers;
      for (auto* t : list)
        if (t->Enabled && t->Due == Now) {
          t->Due = Now + int(t->Interval);
          if (t->OnTick) t->OnTick();
        }
    }
  }
};

class TfrmSpin : public TForm {
  ORV_CLASS(TfrmSpin)
public:
  explicit TfrmSpin(TComponent* owner) : TForm(owner) {
    SetBounds(150, 150, 300, 160);
    SetBorderStyle(bsDialog);
    edtWidth = new TFcSpinEdit(this);
    edtWidth->SetName("EditVideoWidthDivX");
    edtWidth->SetParent(this);
    // The profile editors' settings, in layout order.
    const std::pair<const char*, const char*> props[] = {
        {"Left", "20"},        {"Top", "20"},          {"Min", "2"},         {"Max", "1600"},
        {"Increment", "2"},    {"Value", "2"},         {"AllowKeyEdit", "True"}, {"ButtonWidth", "16"},
        {"ButtonUpNumGlyphs", "1"}, {"ButtonDownNumGlyphs", "1"}, {"Width", "57"}, {"Height", "21"},
        {"Font.Name", "Tahoma"}, {"ParentFont", "False"}, {"TabOrder", "0"}};
    edtWidth->SetLoading(true);
    for (auto& p : props) SetPropText(edtWidth, p.first, p.second);
    edtWidth->SetLoading(false);
    edtWidth->Loaded();
    edtWidth->OnChange = [this](TObject*) { Log.push_back("change " + edtWidth->GetText()); };
    edtWidth->OnExit = [this](TObject*) { Log.push_back("exit " + edtWidth->GetText()); };
    edtOther = new TEdit(this);
    edtOther->SetParent(this);
    edtOther->SetBounds(120, 20, 100, 21);
  }
  TFcSpinEdit* edtWidth;
  TEdit* edtOther;
  std::vector<std::string> Log;
};
ORV_DEFINE_CLASS(TfrmSpin, TForm, nullptr, {})

class SpinGui : public ::testing::Test {
protected:
  void SetUp() override {
    SetFcRepeatTimerFactory([this] { return std::make_unique<TFakeClock::TFakeTimer>(&Clock); });
    TFcCustomEdit::SetBeepHook([this] { ++Beeps; });
    f = new TfrmSpin(Application);
    f->Show();
    Pump();
    e = f->edtWidth;
  }
  void TearDown() override {
    f->Free();
    SetFcRepeatTimerFactory(nullptr);
    TFcCustomEdit::SetBeepHook(nullptr);
  }
  static void Pump() { Application->ProcessMessages(); }
  void Leave() {
    f->edtOther->SetFocus();
    Pump();
  }
  void Enter() {
    e->SetFocus();
    Pump();
  }
  TFakeClock Clock;
  int Beeps = 0;
  TfrmSpin* f = nullptr;
  TFcSpinEdit* e = nullptr;
};

TEST_F(SpinGui, WritingClampsAndFormats) {
  struct TCase {
    double Written;
    const char* Text;
  } cases[] = {{0, "2"},      {5000, "1600"}, {3, "3"},     {-7, "2"},     {1e300, "1600"},
               {-1e300, "2"}, {1600, "1600"}, {2, "2"},     {3.4, "3"},    {3.6, "4"}};
  for (const auto& c : cases) {
    e->SetValue(c.Written);
    EXPECT_EQ(e->GetText(), c.Text) << c.Written;
  }
  e->SetIntValue(INT_MAX);
  EXPECT_EQ(e->GetText(), "1600");
}

TEST_F(SpinGui, ReadingParsesStrictlyAndSaturates) {
  struct TCase {
    const char* Text;
    int IntValue;
    const char* TextAfter;  // reading an empty edit writes Min into it
  } cases[] = {
      {"", 2, "2"},          {"abc", 2, "abc"},     {"0x10", 2, "0x10"},  {"$10", 2, "$10"},
      {"inf", 2, "inf"},     {"nan", 2, "nan"},     {"1e", 2, "1e"},      {"12abc", 2, "12abc"},
      {" 12 ", 12, " 12 "},  {"5000", 5000, "5000"}, {"-5", -5, "-5"},    {"2.5", 2, "2.5"},
      {"3.5", 4, "3.5"},     {"1e999", INT_MAX, "1e999"}, {"-1e999", INT_MIN, "-1e999"},
      {"99999999999999999999", INT_MAX, "99999999999999999999"}, {"+8", 8, "+8"}, {"1.", 1, "1."},
  };
  for (const auto& c : cases) {
    e->SetText(c.Text);
    EXPECT_EQ(e->GetIntValue(), c.IntValue) << "'" << c.Text << "'";
    EXPECT_EQ(e->GetText(), c.TextAfter) << "'" << c.Text << "'";
  }
}

TEST_F(SpinGui, LeavingRewritesTheText) {
  struct TCase {
    const char* Typed;
    const char* After;
  } cases[] = {{"5000", "1600"}, {"", "2"},    {"abc", "2"},    {"1e999", "1600"}, {"-1e999", "2"},
               {"7", "7"},       {"3.6", "4"}, {" 40 ", "40"},  {"0", "2"},        {"0x20", "2"}};
  for (const auto& c : cases) {
    Enter();
    e->SetText(c.Typed);
    f->Log.clear();
    Leave();
    EXPECT_EQ(e->GetText(), c.After) << "'" << c.Typed << "'";
    // The window's OnExit sees the text as typed; the rewrite follows it.
    ASSERT_FALSE(f->Log.empty());
    EXPECT_EQ(f->Log[0], std::string("exit ") + c.Typed);
  }
}

TEST_F(SpinGui, StepsByButtonsKeysAndWheel) {
  struct TCase {
    const char* Name;
    double Start;
    std::function<void(TFcSpinEdit*)> Act;
    const char* Text;
  } cases[] = {
      {"up key", 2, [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_KEYDOWN, VK_UP, 1); }, "4"},
      {"down key at the minimum", 2, [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_KEYDOWN, VK_DOWN, 1); }, "2"},
      {"page up", 2, [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_KEYDOWN, VK_PRIOR, 1); }, "12"},
      {"page down", 100, [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_KEYDOWN, VK_NEXT, 1); }, "90"},
      {"up at the maximum", 1600, [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_KEYDOWN, VK_UP, 1); }, "1600"},
      {"wheel up", 10, [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0); }, "12"},
      {"wheel down", 10, [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0); }, "8"},
      {"ctrl wheel", 10,
       [](TFcSpinEdit* e) { SendMessageA(e->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 120), 0); }, "20"},
      {"step from a typed number beyond the range", 5000, [](TFcSpinEdit* e) { e->SetText("5000"); e->StepDown(2); },
       "1600"},
  };
  for (const auto& c : cases) {
    e->SetValue(c.Start);
    Enter();
    c.Act(e);
    Pump();
    EXPECT_EQ(e->GetText(), c.Text) << c.Name;
  }
  // A refused change leaves everything as it was.
  std::vector<std::string> events;
  e->SetValue(10);
  e->OnChanging = [&](TObject*, double v, bool& allow) {
    events.push_back("changing " + FloatToStr(v));
    allow = v < 13;
  };
  e->OnButtonClick = [&](TObject*, TSpinButtonType b) { events.push_back(b == sbUp ? "up" : "down"); };
  e->StepUp(2);
  e->StepUp(2);
  e->StepDown(20);
  EXPECT_EQ(events, (std::vector<std::string>{"changing 12", "up", "changing 14", "changing -8", "down"}));
  EXPECT_EQ(e->GetText(), "2");
  // Without a range (Min equal to Max, no CheckRange) nothing is clamped.
  TFcSpinEdit free(nullptr);
  free.SetMax(0);
  free.StepDown(10);
  EXPECT_EQ(free.GetText(), "-10");
}

TEST_F(SpinGui, InputFilterTable) {
  struct TCase {
    const char* Name;
    const char* Text;
    int SelStart, SelLength;
    bool IntegersOnly, AllowKeyEdit;
    char Ch;
    bool Accepted;
  } cases[] = {
      {"digit", "12", 2, 0, true, true, '5', true},
      {"letter", "12", 2, 0, true, true, 'a', false},
      {"blank", "12", 2, 0, true, true, ' ', false},
      {"enter", "12", 2, 0, true, true, '\r', false},
      {"backspace", "12", 2, 0, true, true, '\b', true},
      {"copy key", "12", 2, 0, true, true, 3, true},
      {"minus at the start", "12", 0, 0, true, true, '-', true},
      {"minus inside", "12", 1, 0, true, true, '-', false},
      {"second sign", "-12", 0, 0, true, true, '-', false},
      {"plus over the whole text", "-12", 0, 3, true, true, '+', true},
      {"sign over part of the text", "-12", 0, 2, true, true, '+', false},
      {"separator when integers only", "12", 2, 0, true, true, '.', false},
      {"first separator", "12", 1, 0, false, true, '.', true},
      {"second separator", "1.2", 3, 0, false, true, '.', false},
      {"separator over the old one", "1.2", 1, 1, false, true, '.', true},
      {"separator over other digits", "1.2", 2, 1, false, true, '.', false},
      {"digit without key edit", "12", 2, 0, true, false, '5', false},
      {"backspace without key edit", "12", 2, 0, true, false, '\b', false},
      {"copy key without key edit", "12", 2, 0, true, false, 3, true},
  };
  Enter();
  for (const auto& c : cases) {
    e->SetIntegersOnly(c.IntegersOnly);
    e->SetAllowKeyEdit(c.AllowKeyEdit);
    e->SetText(c.Text);
    e->SetSel(c.SelStart, c.SelLength);
    EXPECT_EQ(e->AcceptsChar(c.Ch), c.Accepted) << c.Name;
  }
  // Typed through the window: rejected characters vanish with a beep.
  e->SetIntegersOnly(true);
  e->SetAllowKeyEdit(true);
  e->SetText("12");
  e->SetSel(2, 0);
  Beeps = 0;
  for (char ch : std::string("a4\r.")) SendMessageA(e->Handle(), WM_CHAR, WPARAM((unsigned char)ch), 1);
  EXPECT_EQ(e->GetText(), "124");
  EXPECT_EQ(Beeps, 3);
  // Delete without key editing is swallowed with a beep.
  e->SetAllowKeyEdit(false);
  e->SetSel(0, 0);
  SendMessageA(e->Handle(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(e->GetText(), "124");
  EXPECT_EQ(Beeps, 4);
}

TEST_F(SpinGui, PastedTextIsNotFilteredButReadsAsMin) {
  Enter();
  ASSERT_TRUE(OpenClipboard(f->Handle()));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
  memcpy(GlobalLock(mem), "abc", 4);
  GlobalUnlock(mem);
  SetClipboardData(CF_TEXT, mem);
  CloseClipboard();
  e->SelectAll();
  SendMessageA(e->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(e->GetText(), "abc");
  EXPECT_EQ(e->GetValue(), 2);
  e->SetAllowKeyEdit(false);
  e->SetText("8");
  e->SelectAll();
  SendMessageA(e->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(e->GetText(), "8");
}

// Presses the up button of the spin edit and holds it while the clock runs.
TEST_F(SpinGui, HeldButtonRepeatsAfterTheInitialDelay) {
  TFcSpinButtons* b = e->Buttons();
  TFcControlButton* up = e->ButtonOf(sbUp);
  POINT inside{up->GetLeft() + 3, up->GetTop() + 3};
  auto down = [&] { SendMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y)); };
  auto upAt = [&](int x) { SendMessageA(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, inside.y)); };

  // A single press and release steps once, on release; the press moves the focus into the edit.
  e->SetValue(2);
  down();
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->GetText(), "2");
  upAt(inside.x);
  EXPECT_EQ(e->GetText(), "4");

  struct TStep {
    int Advance;
    const char* Text;
  } steps[] = {{399, "2"}, {1, "4"}, {99, "4"}, {1, "6"}, {100, "8"}, {250, "12"}};
  e->SetValue(2);
  down();
  for (const auto& s : steps) {
    Clock.Advance(s.Advance);
    EXPECT_EQ(e->GetText(), s.Text) << "at " << Clock.Now;
  }
  upAt(inside.x);  // released over the button: one more
  EXPECT_EQ(e->GetText(), "14");
  Clock.Advance(1000);
  EXPECT_EQ(e->GetText(), "14");  // the timer stopped

  // Released outside: no extra step; held at the top it stays at the maximum.
  e->SetValue(1596);
  down();
  Clock.Advance(400 + 100 * 5);
  EXPECT_EQ(e->GetText(), "1600");
  upAt(200);
  EXPECT_EQ(e->GetText(), "1600");
  e->SetValue(10);
  down();
  Clock.Advance(400);
  upAt(200);
  EXPECT_EQ(e->GetText(), "12");
}

TEST_F(SpinGui, ButtonsWindowGlyphsAndPlacement) {
  char name[64] = {};
  GetClassNameA(e->Buttons()->Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TFcSpinButtons");
  // 57 x 21 with 16-pixel buttons, sunken border, no themes: (57 - 16 - 4, 0, 16, 21 - 4).
  EXPECT_EQ(e->Buttons()->GetLeft(), 37);
  EXPECT_EQ(e->Buttons()->GetTop(), 0);
  EXPECT_EQ(e->Buttons()->GetWidth(), 16);
  EXPECT_EQ(e->Buttons()->GetHeight(), 17);
  EXPECT_EQ(e->ButtonOf(sbUp)->GetHeight(), 8);
  EXPECT_EQ(e->ButtonOf(sbDown)->GetTop(), 8);
  EXPECT_EQ(e->ButtonOf(sbDown)->GetHeight(), 9);
  DWORD margins = DWORD(SendMessageA(e->Handle(), EM_GETMARGINS, 0, 0));
  EXPECT_EQ(HIWORD(margins), 18);

  // A 7 x 5 picture makes a glyph button; setting the direction brings the arrows back.
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(7, 5);
  e->SetButtonUpGlyph(&glyph);
  EXPECT_EQ(e->ButtonOf(sbUp)->GetStyle(), cbsNone);
  EXPECT_TRUE(e->Buttons()->CustomUpGlyph());
  EXPECT_EQ(e->ButtonOf(sbDown)->GetStyle(), cbsDown);
  e->SetDirection(sdLeftRight);
  EXPECT_TRUE(e->GetButtonUpGlyph()->Empty());
  EXPECT_EQ(e->ButtonOf(sbUp)->GetStyle(), cbsRight);
  EXPECT_EQ(e->ButtonOf(sbDown)->GetStyle(), cbsLeft);

  // Glyph strips of a stand-alone control button count their cells.
  struct TCase {
    int W, H, Before, After;
  } strips[] = {{32, 16, 1, 2}, {80, 16, 3, 1}, {30, 16, 3, 3}, {64, 16, 1, 4}};
  for (const auto& s : strips) {
    TFcControlButton button(nullptr);
    button.SetNumGlyphs(s.Before);
    TBitmap strip;
    strip.SetSize(s.W, s.H);
    button.SetGlyph(&strip);
    EXPECT_EQ(button.GetNumGlyphs(), s.After) << s.W << "x" << s.H;
  }
}

TEST_F(SpinGui, OnChangeAlsoBeforeTheWindowExists) {
  TFcSpinEdit spin(nullptr);
  std::vector<std::string> changes;
  spin.OnChange = [&](TObject*) { changes.push_back(spin.GetText()); };
  spin.SetMin(2);
  spin.SetMax(1600);
  spin.SetIntValue(640);
  spin.SetIntValue(640);
  EXPECT_EQ(changes, (std::vector<std::string>{"2", "640"}));
  EXPECT_FALSE(spin.HandleAllocated());
}

}  // namespace
