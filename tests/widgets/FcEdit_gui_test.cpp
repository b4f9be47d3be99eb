// Framed edits: state colours, colour bookkeeping, Enter as Tab, frame switches, the read-only hooks,
// the mask's validation hook, the drop button (geometry, hit test, cursor, looks, mouse and keys); and a
// test window with one of each framed control in the normal, hot, pressed and disabled states, saved as
// a picture.
#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "FcEdit.h"
#include "FcPrgres.h"
#include "FcRadChk.h"
#include "FcSpnEdt.h"
#include "Forms.h"
#include "HeldKeys.h"
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

// An edit that tells when its read-only hooks run, and what colour it had then.
class TRecordingEdit : public TFcEdit {
public:
  using TFcEdit::TFcEdit;
  std::vector<std::string> Log;

protected:
  void ReadOnlyOnHook() override { Log.push_back("on " + std::to_string(GetColor())); }
  void ReadOnlyOffHook() override { Log.push_back("off " + std::to_string(GetColor())); }
};

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

TEST_F(EditGui, ReadOnlyChangesRunTheirHooksBeforeTheColour) {
  auto* e = f->Add<TRecordingEdit>(10, 70, 121, 21);
  f->Show();
  Pump();
  const std::string window = std::to_string(clWindow), info = std::to_string(clInfoBk);
  e->SetEdReadOnly(true);
  e->SetEdReadOnly(true);  // no change: no hook
  EXPECT_EQ(e->GetColor(), clInfoBk);
  e->SetEdReadOnly(false);
  e->SetEdReadOnly(false);
  EXPECT_EQ(e->GetColor(), clWindow);
  EXPECT_EQ(e->Log, (std::vector<std::string>{"on " + window, "off " + info}));
  SetPropText(e, "ReadOnly", "True");  // the layouts' way runs them too
  EXPECT_EQ(e->Log.back(), "on " + window);
  EXPECT_EQ(e->DisplayText(), e->GetText());
}

TEST_F(EditGui, MaskValidationAndItsErrorHook) {
  // Where a text first leaves the mask (-1: it fits).
  struct {
    const char* Mask;
    const char* Text;
    int Position;
  } const cases[] = {
      {"", "anything at all", -1},   {"00:00", "12:34", -1},  {"00:00", "1a:34", 1},   {"00:00", "12-34", 2},
      {"00:00", "12:3", 4},          {"00:00", "12:345", 5},  {"99:99", "  :  ", -1}, {"LLl", "ab", -1},
      {"LLl", "a1", 1},              {"AaC", "x  ", 2},       {"\\0\\A", "0A", -1}, {"\\0\\A", "1A", 0},
      {">LL<ll;1;_", "ABcd", -1},    {"cc", "", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Mask) + " / " + c.Text);
    edtStart->SetEditMask(c.Mask);
    EXPECT_EQ(edtStart->InvalidPosition(c.Text), c.Position);
  }
  f->Show();
  Pump();
  edtStart->SetEditMask("00:00");
  edtStart->SetText("12:34");
  EXPECT_NO_THROW(edtStart->ValidateEdit());
  edtStart->SetText("1a:34");
  std::string given;
  edtStart->OnValidateError = [&](TObject*, std::string& message) { message = given; };
  given = "Not a time";
  try {
    edtStart->ValidateEdit();
    ADD_FAILURE() << "no error";
  } catch (const EDBEditError& e) {
    EXPECT_EQ(e.Message(), "Not a time");
  }
  EXPECT_EQ(edtStart->GetSelStart(), 1);  // the caret at the first wrong character
  given = "";  // no message of its own: the masked edit's report
  EXPECT_THROW(edtStart->ValidateEdit(), EDBEditError);
  edtStart->SetEditMask("");  // without a mask the text is never checked
  EXPECT_NO_THROW(edtStart->ValidateEdit());
  EXPECT_EQ(edtStart->GetText(), "1a:34");
}

class DropButtonGui : public EditGui {
protected:
  void SetUp() override {
    EditGui::SetUp();
    SetFcThemesOverride(0);  // the system's looks without visual styles (the program has no manifest)
    for (TFcEdit* e : {edtStart, edtEnd}) {
      e->OnDropDown = [this, e](TObject*) { Log.push_back(Describe(e, "drop down")); };
      e->OnCloseUp = [this, e](TObject*) { Log.push_back(Describe(e, "close up")); };
    }
    edtStart->SetDropButtonShown(true);
    SetCursorPos(2, 2);  // the real pointer away from the form: only the test's messages make it hot
    f->Show();
    SetWindowPos(f->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(f->Handle());
    Pump();
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    SetFcThemesOverride(-1);
    EditGui::TearDown();
  }
  std::string Describe(TFcEdit* e, const char* what) {
    return std::string(e == edtStart ? "start " : "end ") + what +
           (e->GetDropButtonState() == dbsDown ? " (down" : " (up") + (e->DroppedDown() ? ", dropped)" : ")");
  }
  // The screen point of a point in the window's coordinates (origin at its top-left corner).
  static POINT Screen(TFcEdit* e, int x, int y) {
    RECT wr;
    GetWindowRect(e->Handle(), &wr);
    return POINT{wr.left + x, wr.top + y};
  }
  static LRESULT HitTest(TFcEdit* e, POINT screen) {
    return SendMessageA(e->Handle(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  }
  // A mouse message at a screen point, after the hit test the system makes first.
  static void Mouse(TFcEdit* e, UINT msg, WPARAM keys, POINT screen) {
    HitTest(e, screen);
    POINT c = screen;
    ScreenToClient(e->Handle(), &c);
    SendMessageA(e->Handle(), msg, keys, MAKELPARAM(c.x, c.y));
  }
  POINT ButtonCentre(TFcEdit* e) {
    RECT b = e->DropButtonRect();
    return Screen(e, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
  }
  // A pixel of what the window painted (window coordinates), read from the window itself.
  TColor PixelOf(TFcEdit* e, int x, int y) {
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    HDC dc = GetWindowDC(e->Handle());
    TColor c = GetPixel(dc, x, y) & 0xFFFFFF;
    ReleaseDC(e->Handle(), dc);
    return c;
  }
  std::vector<std::string> Log;
};

TEST_F(DropButtonGui, TakesAScrollBarWidthAtTheRightAndAnswersTheMouseThere) {
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  RECT with = edtStart->GetClientRect(), without = edtEnd->GetClientRect();
  EXPECT_EQ(with.right, without.right - w);
  EXPECT_EQ(with.bottom, without.bottom);
  // Inside the 2-pixel sunken border, at the right edge, a scroll bar wide, as high as the text.
  RECT b = edtStart->DropButtonRect();
  EXPECT_EQ(b.right, edtStart->GetWidth() - 2);
  EXPECT_EQ(b.left, b.right - w);
  EXPECT_EQ(b.top, 2);
  EXPECT_EQ(b.bottom, edtStart->GetHeight() - 2);
  POINT clientOrigin{0, 0};
  ClientToScreen(edtStart->Handle(), &clientOrigin);
  EXPECT_EQ(Screen(edtStart, b.left, 0).x, clientOrigin.x + with.right);  // the text ends where it starts
  RECT none = edtEnd->DropButtonRect();
  EXPECT_TRUE(IsRectEmpty(&none));

  struct {
    const char* Where;
    TFcEdit* Edit;
    POINT At;  // window coordinates
    LRESULT Hit;
    bool OnButton;
    LPCSTR Cursor;
  } const cases[] = {
      {"button centre", edtStart, {b.left + w / 2, 10}, HTCLIENT, true, IDC_ARROW},
      {"button's first column", edtStart, {b.left, 3}, HTCLIENT, true, IDC_ARROW},
      {"button's last column", edtStart, {b.right - 1, b.bottom - 1}, HTCLIENT, true, IDC_ARROW},
      {"text", edtStart, {10, 10}, HTCLIENT, false, IDC_IBEAM},
      {"sunken border left of the text", edtStart, {0, 10}, -1, false, nullptr},
      {"sunken border right of the button", edtStart, {edtStart->GetWidth() - 1, 10}, -1, false, nullptr},
      {"right part of an edit without the button", edtEnd, {edtEnd->GetWidth() - 5, 10}, HTCLIENT, false, IDC_IBEAM},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Where);
    LRESULT hit = HitTest(c.Edit, Screen(c.Edit, c.At.x, c.At.y));
    if (c.Hit >= 0)
      EXPECT_EQ(hit, c.Hit);
    else
      EXPECT_NE(hit, HTCLIENT);  // the border stays the system's
    EXPECT_EQ(c.Edit->PointerOnButton(), c.OnButton);
    if (!c.Cursor) continue;
    SetCursor(nullptr);
    SendMessageA(c.Edit->Handle(), WM_SETCURSOR, WPARAM(c.Edit->Handle()), MAKELPARAM(hit, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.Cursor));
  }
}

TEST_F(DropButtonGui, PressOnTheButtonDropsDownAndClosesUpOnce) {
  POINT button = ButtonCentre(edtStart);
  edtEnd->SetFocus();
  Pump();
  Mouse(edtStart, WM_LBUTTONDOWN, MK_LBUTTON, button);
  EXPECT_EQ(Log, (std::vector<std::string>{"start drop down (down, dropped)", "start close up (down, dropped)"}));
  EXPECT_TRUE(edtStart->Focused());
  EXPECT_EQ(edtStart->GetDropButtonState(), dbsUp);
  EXPECT_FALSE(edtStart->DroppedDown());
  EXPECT_EQ(GetCapture(), edtStart->Handle());  // held until the release
  Mouse(edtStart, WM_LBUTTONUP, 0, button);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Log.size(), 2u);

  Log.clear();
  Mouse(edtStart, WM_LBUTTONDBLCLK, MK_LBUTTON, button);  // the second press of a double click
  Mouse(edtStart, WM_LBUTTONUP, 0, button);
  EXPECT_EQ(Log.size(), 2u);

  // Over the text a press is the edit's own; over the button a right click is swallowed.
  Log.clear();
  Mouse(edtStart, WM_LBUTTONDOWN, MK_LBUTTON, Screen(edtStart, 10, 10));
  Mouse(edtStart, WM_LBUTTONUP, 0, Screen(edtStart, 10, 10));
  int contextMenus = 0;
  TWinControl* e = edtStart;
  edtStart->WindowProc = [&contextMenus, e](TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU) {
      ++contextMenus;  // never the edit's own modal menu in a test
      return;
    }
    e->WndProc(m);
  };
  Mouse(edtStart, WM_RBUTTONDOWN, MK_RBUTTON, button);
  Mouse(edtStart, WM_RBUTTONUP, 0, button);
  edtStart->WindowProc = nullptr;
  EXPECT_EQ(contextMenus, 0);
  EXPECT_TRUE(Log.empty());
  Pump();
}

TEST_F(DropButtonGui, AltDownAndF4DropDownOnlyWithTheButton) {
  struct {
    const char* Keys;
    TFcEdit* Edit;
    UINT Msg;
    WORD Key;
    LPARAM Data;
    size_t Events;
  } const cases[] = {
      {"Alt+Down", edtStart, WM_SYSKEYDOWN, VK_DOWN, 1 | (1 << 29), 2},
      {"F4", edtStart, WM_KEYDOWN, VK_F4, 1, 2},
      {"Down alone", edtStart, WM_KEYDOWN, VK_DOWN, 1, 0},
      {"Alt+Up", edtStart, WM_SYSKEYDOWN, VK_UP, 1 | (1 << 29), 0},
      {"Alt+Down without the button", edtEnd, WM_SYSKEYDOWN, VK_DOWN, 1 | (1 << 29), 0},
      {"F4 without the button", edtEnd, WM_KEYDOWN, VK_F4, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Keys);
    c.Edit->SetFocus();
    Pump();
    Log.clear();
    std::vector<std::string> keys;
    c.Edit->OnKeyDown = [&keys](TObject*, WORD& k, TShiftState) { keys.push_back(std::to_string(k)); };
    // Through the message loop, as a key press arrives.
    PostMessageA(c.Edit->Handle(), c.Msg, c.Key, c.Data);
    Pump();
    c.Edit->OnKeyDown = nullptr;
    EXPECT_EQ(Log.size(), c.Events);
    if (c.Events) {
      EXPECT_EQ(Log[0].find(" drop down (down, dropped)") != std::string::npos, true) << Log[0];
      EXPECT_EQ(Log[1].find(" close up (down, dropped)") != std::string::npos, true) << Log[1];
      EXPECT_EQ(GetCapture(), nullptr);  // a key takes nothing from the mouse
    }
    EXPECT_EQ(keys.size(), 1u);  // the key reached the control's key-down handling once
    EXPECT_EQ(c.Edit->GetDropButtonState(), dbsUp);
  }
}

TEST_F(DropButtonGui, ButtonLooksFollowStateAndHover) {
  RECT b = edtStart->DropButtonRect();
  const int cx = (b.left + b.right) / 2;
  // Raised: the system's combo-box button, light at its top-left, button face inside.
  TColor raisedCorner = PixelOf(edtStart, b.left, b.top);
  EXPECT_EQ(PixelOf(edtStart, b.left + 3, b.top + 3), ColorToRGB(clBtnFace) & 0xFFFFFF);
  // Down (while the sequence runs): pushed flat, a shadow line at its top-left.
  TColor downCorner = 0;
  edtStart->OnDropDown = [&](TObject*) { downCorner = PixelOf(edtStart, b.left, b.top); };
  edtStart->SetFocus();
  Pump();
  PostMessageA(edtStart->Handle(), WM_KEYDOWN, VK_F4, 1);
  Pump();
  EXPECT_EQ(downCorner, ColorToRGB(clBtnShadow) & 0xFFFFFF);
  EXPECT_NE(downCorner, raisedCorner);
  edtEnd->SetFocus();
  Pump();

  // Flat buttons: the edit's colour until the pointer comes, then the flat face.
  edtStart->SetFlatButtons(true);
  edtStart->SetFlatButtonColor(clYellow);
  EXPECT_EQ(PixelOf(edtStart, b.left + 2, b.top + 2), ColorToRGB(clWindow) & 0xFFFFFF);
  edtStart->Perform(CM_MOUSEENTER);
  EXPECT_EQ(PixelOf(edtStart, b.left + 2, b.top + 2), ColorToRGB(clYellow) & 0xFFFFFF);
  EXPECT_EQ(PixelOf(edtStart, cx, (b.top + b.bottom) / 2 + 1), ColorToRGB(clBlack) & 0xFFFFFF);  // the arrow
  edtStart->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(PixelOf(edtStart, b.left + 2, b.top + 2), ColorToRGB(clWindow) & 0xFFFFFF);
  // Disabled: the state colour, and the edit without the button keeps its plain look.
  edtStart->SetEnabled(false);
  EXPECT_EQ(PixelOf(edtStart, b.left + 2, b.top + 2), ColorToRGB(clBtnFace) & 0xFFFFFF);
  EXPECT_EQ(PixelOf(edtEnd, edtEnd->GetWidth() - 5, 10), ColorToRGB(clWindow) & 0xFFFFFF);

  // One picture of the looks side by side: raised, flat, flat under the pointer, disabled; and the
  // plain edit below them.
  edtStart->SetBounds(150, 100, 121, 21);
  edtEnd->SetBounds(10, 130, 121, 21);
  const char* texts[] = {"raised", "flat", "flat, hot"};
  for (int i = 0; i < 3; ++i) {
    auto* e = f->Add<TFcEdit>(10 + 140 * (i % 2), 10 + 45 * (i / 2), 121, 21);
    e->SetText(texts[i]);
    e->SetDropButtonShown(true);
    e->SetFlatButtons(i > 0);
    e->SetFlatButtonColor(clYellow);
    if (i == 2) e->Perform(CM_MOUSEENTER);
  }
  edtStart->SetText("disabled");
  edtEnd->SetText("no button");
  Pump();
  RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  SaveScreenshot(f->Handle(), "widgets_drop_button.bmp");
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
