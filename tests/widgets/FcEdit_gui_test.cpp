// Framed edits: state colours, colour bookkeeping, Enter as Tab, frame switches; and a test window
// with one of each framed control in the normal, hot, pressed and disabled states, saved as a picture.
#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "FcEdit.h"
#include "FcPrgres.h"
#include "FcRadChk.h"
#include "FcSpnEdt.h"
#include "Forms.h"
#include "Screenshot.h"
#include "StdCtrls.h"

namespace {

class TfrmEdits : public TForm {
  ORV_CLASS(TfrmEdits)
public:
  explicit TfrmEdits(TComponent* owner) : TForm(owner) {
    SetBounds(100, 100, 560, 240);
    SetBorderStyle(bsDialog);
    SetCaption("Framed controls");
  }
  template <class T>
  T* Add(int x, int y, int w, int h) {
    T* c = new T(this);
    c->SetParent(this);
    c->SetBounds(x, y, w, h);
    return c;
  }
};
ORV_DEFINE_CLASS(TfrmEdits, TForm, nullptr, {})

class EditGui : public ::testing::Test {
protected:
  void SetUp() override {
    f = new TfrmEdits(Application);
    edtStart = f->Add<TFcEdit>(10, 10, 121, 21);
    edtEnd = f->Add<TFcEdit>(10, 40, 121, 21);
  }
  void TearDown() override { f->Free(); }
  static void Pump() { Application->ProcessMessages(); }
  TfrmEdits* f = nullptr;
  TFcEdit *edtStart = nullptr, *edtEnd = nullptr;
};

TEST_F(EditGui, StateColoursFollowEnabledFocusAndReadOnly) {
  f->Show();
  Pump();
  struct TCase {
    const char* Name;
    std::function<void(TFcEdit*)> Act;
    TColor Color;
  } cases[] = {
      {"idle", [](TFcEdit*) {}, clWindow},
      {"disabled", [](TFcEdit* e) { e->SetEnabled(false); }, clBtnFace},
      {"enabled again", [](TFcEdit* e) { e->SetEnabled(true); }, clWindow},
      {"focused keeps the idle colour", [](TFcEdit* e) { e->SetFocus(); }, clWindow},
      {"read-only while focused", [](TFcEdit* e) { e->SetEdReadOnly(true); }, clWindow},
      {"read-only focused with its own colour", [](TFcEdit* e) { e->SetReadOnlyColorOnFocus(true); e->SetEdReadOnly(false); e->SetEdReadOnly(true); }, clInfoBk},
      {"read-only unfocused", [this](TFcEdit*) { edtEnd->SetFocus(); }, clInfoBk},
      {"writable again", [](TFcEdit* e) { e->SetEdReadOnly(false); }, clWindow},
      {"a focus colour", [](TFcEdit* e) { e->SetFocusColor(clYellow); e->SetFocus(); }, clYellow},
      {"leaving", [this](TFcEdit*) { edtEnd->SetFocus(); }, clWindow},
  };
  for (const auto& c : cases) {
    c.Act(edtStart);
    Pump();
    EXPECT_EQ(edtStart->GetColor(), c.Color) << c.Name;
  }
}

TEST_F(EditGui, ColourFromOutsideMovesTheIdleAndFocusColours) {
  edtStart->SetColor(clAqua);
  EXPECT_EQ(edtStart->IdleColor(), clAqua);
  EXPECT_EQ(edtStart->GetFocusColor(), clAqua);  // it equalled the old idle colour
  edtEnd->SetFocusColor(clYellow);
  edtEnd->SetColor(clAqua);
  EXPECT_EQ(edtEnd->GetFocusColor(), clYellow);  // it did not
  edtStart->SetEnabled(false);
  EXPECT_EQ(edtStart->GetColor(), clBtnFace);
  EXPECT_EQ(edtStart->IdleColor(), clAqua);  // the state colour is not an outside change
  edtStart->SetEnabled(true);
  EXPECT_EQ(edtStart->GetColor(), clAqua);
}

TEST_F(EditGui, TextEnterAsTabAndFrameSwitches) {
  std::vector<std::string> log;
  edtStart->OnChange = [&](TObject*) { log.push_back("change '" + edtStart->GetText() + "'"); };
  edtStart->OnExit = [&](TObject*) { log.push_back("exit"); };
  edtEnd->OnEnter = [&](TObject*) { log.push_back("enter end"); };
  edtStart->SetText("0:00:01.000");
  edtStart->SetText("");
  EXPECT_EQ(edtStart->GetText(), "");
  f->Show();
  Pump();
  edtStart->SetTabOnEnter(true);
  edtStart->SetFocus();
  Pump();
  log.clear();
  SendMessageA(edtStart->Handle(), WM_CHAR, '\r', 1);
  Pump();
  EXPECT_TRUE(edtEnd->Focused());
  EXPECT_EQ(edtStart->GetText(), "");
  EXPECT_EQ(log, (std::vector<std::string>{"exit", "enter end"}));

  edtStart->SetFrameSides(1 | 2);
  edtStart->SetFrameHotTrack(true);
  EXPECT_TRUE(edtStart->GetFrameVisible());
  EXPECT_EQ(edtStart->GetFrameSides(), AllSides);
  SetPropText(edtEnd, "FrameFlat", "True");  // older form data
  EXPECT_EQ(edtEnd->GetFrameStyle(), fsStatus);
  EXPECT_EQ(edtEnd->GetFrameHotStyle(), fsLowered);
}

TEST_F(EditGui, OneOfEachControlInEveryState) {
  const char* states[] = {"normal", "hot", "pressed", "disabled"};
  std::vector<TFcRadioButton*> radios;
  std::vector<TFcControlButton*> buttons;
  std::vector<TFcEdit*> edits = {edtStart, edtEnd};
  edtStart->SetBounds(150, 10, 100, 21);
  edtEnd->SetBounds(150, 60, 100, 21);
  for (int i = 0; i < 4; ++i) {
    int y = 10 + 50 * i;
    auto* l = f->Add<TLabel>(10, y + 2, 60, 17);
    l->SetCaption(states[i]);
    auto* p = new TPanel(f);
    p->SetParent(f);
    p->SetBounds(70, y, 75, 40);
    p->SetBevelOuter(bvNone);
    auto* r = new TFcRadioButton(f);
    r->SetParent(p);
    r->SetBounds(0, 2, 75, 17);
    r->SetCaption("MP4");
    r->SetHotTrack(i == 1);
    r->SetChecked(true);
    radios.push_back(r);
    if (i >= 2) edits.push_back(f->Add<TFcEdit>(150, y, 100, 21));
    edits[size_t(i)]->SetText(states[i]);
    auto* s = f->Add<TFcSpinEdit>(260, y, 57, 21);
    s->SetMin(2);
    s->SetMax(1600);
    s->SetValue(640);
    auto* b = f->Add<TFcControlButton>(325, y, 17, 21);
    b->SetStyle(cbsDropDown);
    buttons.push_back(b);
    auto* g = f->Add<TFcProgressBar>(350, y, 190, 21);
    g->SetBarStyle(i == 1 ? bsLED : i == 2 ? bsGradient : bsTraditional);
    g->SetThemeAware(false);
    g->SetPercent(25 * (i + 1));
    if (i == 3) {
      r->SetEnabled(false);
      edits[3]->SetEnabled(false);
      s->SetEnabled(false);
      b->SetEnabled(false);
    }
  }
  f->Show();
  Pump();
  radios[1]->Perform(CM_MOUSEENTER);
  edits[1]->SetFrameHotTrack(true);
  edits[1]->Perform(CM_MOUSEENTER);
  buttons[1]->SetFlat(true);
  buttons[1]->Perform(CM_MOUSEENTER);
  SendMessageA(radios[2]->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(f->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(330, 115));
  Pump();
  EXPECT_TRUE(radios[2]->PressedLook());
  EXPECT_TRUE(buttons[2]->ButtonPressed());
  EXPECT_EQ(edits[3]->GetColor(), clBtnFace);
  RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Pump();

  RECT wr;
  GetWindowRect(f->Handle(), &wr);
  TBitmap screen;
  CaptureWindow(f->Handle(), screen);
  screen.SaveToFile(std::string(ORV_BUILD_DIR) + "widgets_framed_controls.bmp");
  // The disabled edit shows the button face; the last progress bar is full.
  POINT p{155, 160 + 10};
  MapWindowPoints(f->Handle(), nullptr, &p, 1);
  EXPECT_EQ(screen.Canvas()->GetPixel(p.x - wr.left, p.y - wr.top), ColorToRGB(clBtnFace) & 0xFFFFFF);
  SendMessageA(f->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(330, 115));
  SendMessageA(radios[2]->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 3));
}

}  // namespace
