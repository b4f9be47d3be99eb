// Radio buttons on a shown form: exclusivity among the parent's radio buttons, the click rules of the
// mouse, focus and keyboard, the checked action link, read-only groups and the custom glyph strip.
#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "FcRadChk.h"
#include "Forms.h"
#include "PixelMap.h"
#include "StdCtrls.h"

namespace {

class TFakeAction : public TFcLinkedAction {
public:
  TFakeAction(std::string name, std::vector<std::string>& log) : FName(std::move(name)), FLog(log) {}
  bool ActionChecked() const override { return FChecked; }
  bool ActionEnabled() const override { return FEnabled; }
  std::string ActionCaption() const override { return FCaption; }
  void ActionExecute() override { FLog.push_back("exec " + FName); }
  void SetChecked(bool v) {
    if (v == FChecked) return;
    NotifyCheckedChanging(v);
    FChecked = v;
  }
  std::string FCaption = "Action";
  bool FEnabled = true;

private:
  std::string FName;
  std::vector<std::string>& FLog;
  bool FChecked = false;
};

class TfrmRadios : public TForm {
  ORV_CLASS(TfrmRadios)
public:
  explicit TfrmRadios(TComponent* owner) : TForm(owner) {
    SetBounds(120, 120, 320, 200);
    SetBorderStyle(bsDialog);
    pnlOther = new TPanel(this);
    pnlOther->SetParent(this);
    pnlOther->SetBounds(160, 10, 150, 60);
    const char* names[] = {"r1", "r2", "r3"};
    for (int i = 0; i < 3; ++i) {
      auto* r = new TFcRadioButton(this);
      r->SetName(names[i]);
      r->SetParent(this);
      r->SetBounds(10, 10 + 25 * i, 115, 17);
      r->SetCaption(std::string("&") + char('A' + i) + "lpha");
      r->OnClick = [this, r](TObject*) { Log.push_back("click " + r->GetName()); };
      Radios.push_back(r);
    }
    r4 = new TFcRadioButton(this);
    r4->SetName("r4");
    r4->SetParent(pnlOther);
    r4->SetBounds(5, 5, 115, 17);
    r4->OnClick = [this](TObject*) { Log.push_back("click r4"); };
    edtOther = new TEdit(this);
    edtOther->SetParent(this);
    edtOther->SetBounds(10, 100, 100, 21);
  }
  std::vector<TFcRadioButton*> Radios;
  TFcRadioButton* r4;
  TPanel* pnlOther;
  TEdit* edtOther;
  std::vector<std::string> Log;
  std::string Checked() const {
    std::string s;
    for (auto* r : Radios) s += r->GetChecked() ? '1' : '0';
    return s + (r4->GetChecked() ? "|1" : "|0");
  }
};
ORV_DEFINE_CLASS(TfrmRadios, TForm, nullptr, {})

class RadioGui : public ::testing::Test {
protected:
  void SetUp() override {
    f = new TfrmRadios(Application);
    f->Show();
    Pump();
    f->edtOther->SetFocus();
    Pump();
  }
  void TearDown() override { f->Free(); }
  static void Pump() { Application->ProcessMessages(); }
  static void MouseAt(TWinControl* target, UINT msg, WPARAM keys, int x, int y) {
    POINT p = target->ClientToScreen(POINT{x, y});
    SetCursorPos(p.x, p.y);
    SendMessageA(target->Handle(), msg, keys, MAKELPARAM(x, y));
    Pump();
  }
  TfrmRadios* f = nullptr;
};

struct TRadioCase {
  const char* Name;
  std::function<void(TfrmRadios*, std::vector<TFakeAction*>&)> Arrange;  // before the log is cleared
  std::function<void(TfrmRadios*, std::vector<TFakeAction*>&)> Act;
  std::string Checked;  // r1 r2 r3 | r4 (on another parent)
  std::vector<std::string> Log;
};

void Press(TWinControl* r, int upX) {
  POINT p = r->ClientToScreen(POINT{5, 5});
  SetCursorPos(p.x, p.y);
  SendMessageA(r->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(r->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(upX, 5));
  SendMessageA(r->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(upX, 5));
  Application->ProcessMessages();
}

TEST_F(RadioGui, ExclusivityActionLinkAndFocusRules) {
  auto nothing = [](TfrmRadios*, std::vector<TFakeAction*>&) {};
  const TRadioCase cases[] = {
      {"code checks one", nothing, [](TfrmRadios* f, auto&) { f->Radios[1]->SetChecked(true); }, "010|0",
       {"click r2"}},
      {"checking another unchecks the rest of the parent only",
       [](TfrmRadios* f, auto&) {
         f->Radios[1]->SetChecked(true);
         f->r4->SetChecked(true);
       },
       [](TfrmRadios* f, auto&) { f->Radios[2]->SetChecked(true); }, "001|1", {"click r3"}},
      {"writing the current state fires nothing", [](TfrmRadios* f, auto&) { f->Radios[1]->SetChecked(true); },
       [](TfrmRadios* f, auto&) {
         f->Radios[1]->SetChecked(true);
         f->Radios[0]->SetChecked(false);
       },
       "010|0", {}},
      {"unchecking by code clicks nothing", [](TfrmRadios* f, auto&) { f->Radios[1]->SetChecked(true); },
       [](TfrmRadios* f, auto&) { f->Radios[1]->SetChecked(false); }, "000|0", {}},
      {"press released outside only focuses", nothing, [](TfrmRadios* f, auto&) { Press(f->Radios[0], 200); },
       "000|0", {"focused r1"}},
      {"press released inside checks and clicks once", nothing, [](TfrmRadios* f, auto&) { Press(f->Radios[0], 8); },
       "100|0", {"click r1", "focused r1"}},
      {"focus onto a writable button checks it", nothing,
       [](TfrmRadios* f, auto&) { f->Radios[2]->SetFocus(); }, "001|0", {"click r3", "focused r3"}},
      {"focus onto a read-only group only focuses", [](TfrmRadios* f, auto&) { f->Radios[0]->SetReadOnly(true); },
       [](TfrmRadios* f, auto&) {
         f->Radios[2]->SetFocus();
         Press(f->Radios[1], 8);
       },
       "000|0", {"focused r2"}},
      {"accelerator focuses and checks", nothing,
       [](TfrmRadios* f, auto&) { f->Perform(CM_DIALOGCHAR, 'b', 0); }, "010|0", {"click r2", "focused r2"}},
      {"down arrow clicks", nothing, [](TfrmRadios* f, auto&) { f->Radios[0]->Perform(CM_DIALOGKEY, VK_DOWN, 0); },
       "000|0", {"click r1"}},
      {"a bound action is executed instead of OnClick",
       [](TfrmRadios* f, auto& a) { f->Radios[0]->SetAction(a[0]); },
       [](TfrmRadios* f, auto&) { f->Radios[0]->SetChecked(true); }, "100|0", {"exec A"}},
      {"an action that becomes checked checks its button silently",
       [](TfrmRadios* f, auto& a) {
         f->Radios[0]->SetAction(a[0]);
         f->Radios[1]->SetAction(a[1]);
         f->Radios[1]->SetChecked(true);
       },
       [](TfrmRadios* f, auto& a) { a[0]->SetChecked(true); }, "100|0", {}},
      {"a button that disagreed with its action ignores it",
       [](TfrmRadios* f, auto& a) {
         f->Radios[0]->SetAction(a[0]);
         f->Radios[0]->SetChecked(true);  // the action stays unchecked
       },
       [](TfrmRadios* f, auto& a) { a[0]->SetChecked(true); }, "100|0", {}},
  };
  TearDown();
  for (const auto& c : cases) {
    SetUp();
    TFakeAction a("A", f->Log), b("B", f->Log);
    std::vector<TFakeAction*> actions = {&a, &b};
    c.Arrange(f, actions);
    Pump();
    f->Log.clear();
    c.Act(f, actions);
    Pump();
    for (auto* r : f->Radios)
      if (r->Focused()) f->Log.push_back("focused " + r->GetName());
    EXPECT_EQ(f->Checked(), c.Checked) << c.Name;
    EXPECT_EQ(f->Log, c.Log) << c.Name;
    for (auto* r : f->Radios) r->SetAction(nullptr);
    TearDown();
  }
  SetUp();  // for the fixture's own TearDown
}

TEST_F(RadioGui, CheckedStateQueriesTabStopsAndReadOnlyGroups) {
  auto* r = f->Radios[1];
  EXPECT_EQ(SendMessageA(r->Handle(), BM_GETCHECK, 0, 0), 0);
  EXPECT_FALSE(r->GetTabStop());
  r->SetChecked(true);
  EXPECT_EQ(SendMessageA(r->Handle(), BM_GETCHECK, 0, 0), 1);
  EXPECT_TRUE(r->GetTabStop());  // only the checked button of a group is a tab stop
  f->Radios[0]->SetChecked(true);
  EXPECT_FALSE(r->GetTabStop());

  f->Radios[2]->SetReadOnly(true);
  for (auto* x : f->Radios) EXPECT_TRUE(x->GetReadOnly());
  EXPECT_FALSE(f->r4->GetReadOnly());
  Press(f->Radios[2], 8);
  EXPECT_FALSE(f->Radios[2]->GetChecked());
}

TEST_F(RadioGui, ActionChangeTakesCaptionEnabledAndChecked) {
  std::vector<std::string> log;
  TFakeAction a("A", log);
  a.FCaption = "&3GP";
  a.FEnabled = false;
  a.SetChecked(true);
  f->Radios[0]->SetAction(&a);
  EXPECT_EQ(f->Radios[0]->GetCaption(), "&3GP");
  EXPECT_FALSE(f->Radios[0]->GetEnabled());
  EXPECT_TRUE(f->Radios[0]->GetChecked());
  EXPECT_TRUE(log.empty());  // taking over the action's state executes nothing
  f->Radios[0]->SetAction(nullptr);
}

// ---- glyph strips ----

void PaintRadio(TFcRadioButton* r, TPixelCanvas& pc) { r->Perform(WM_PAINT, WPARAM(pc.Canvas()->GetHandle()), 0); }

TEST_F(RadioGui, CustomGlyphStripCellsAndSizes) {
  struct TSize {
    int W, H, CellW, CellH;
  } sizes[] = {{78, 13, 13, 13}, {60, 10, 10, 10}, {100, 12, 16, 12}};
  auto* r = f->Radios[0];
  const TColor cells[6] = {0x000011, 0x002200, 0x330000, 0x000044, 0x005500, 0x660000};
  for (const auto& s : sizes) {
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(s.W, s.H);
    for (int i = 0; i < 6; ++i)
      FillSolidRect(strip.Canvas()->GetHandle(), RECT{i * s.CellW, 0, (i + 1) * s.CellW, s.H}, cells[i]);
    r->SetCustomGlyphs(&strip);
    EXPECT_TRUE(r->GetUseCustomGlyphs());
    EXPECT_EQ(r->GlyphCellWidth(), s.CellW);
    EXPECT_EQ(r->GlyphCellHeight(), s.CellH);
  }
  // The cell of each state: 0 unchecked, 1 checked, 4 and 5 disabled.
  struct TState {
    bool Enabled, Checked;
    int Cell;
  } states[] = {{true, false, 0}, {true, true, 1}, {false, false, 4}, {false, true, 5}};
  for (const auto& st : states) {
    r->SetEnabled(st.Enabled);
    r->SetChecked(st.Checked);
    TPixelCanvas pc(115, 17);
    PaintRadio(r, pc);
    RECT g = r->GlyphRect();
    EXPECT_EQ(g.top, 2);  // avTop
    EXPECT_EQ(pc.At(g.left + 3, g.top + 3), ColorToRGB(cells[st.Cell])) << st.Enabled << st.Checked;
  }
  r->SetEnabled(true);
  TBitmap empty;
  r->SetCustomGlyphs(&empty);
  EXPECT_FALSE(r->GetUseCustomGlyphs());
  EXPECT_EQ(r->GlyphCellWidth(), 13);
  EXPECT_EQ(r->GlyphCellHeight(), 13);
}

TEST_F(RadioGui, SkinEngineSetsTheStripByName) {
  auto* r = f->Radios[1];
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(78, 13);
  FillSolidRect(strip.Canvas()->GetHandle(), RECT{0, 0, 78, 13}, 0x00FF00);  // the window-mask colour
  SetPropText(r, "UseCustomGlyphs", "False");
  static_cast<TBitmap*>(GetObjectProp(r, "CustomGlyphs"))->Assign(&strip);
  SetPropText(r, "TransparentColor", "16711935");
  SetPropText(r, "UseCustomGlyphs", "True");
  EXPECT_TRUE(r->GetUseCustomGlyphs());
  EXPECT_EQ(r->GetTransparentColor(), 0xFF00FF);
  TPixelCanvas pc(115, 17);
  PaintRadio(r, pc);
  EXPECT_EQ(pc.At(5, 7), ColorToRGB(clWindow));  // mask pixels show the window colour
}

}  // namespace
