// The picture button: its state transitions under mouse, keyboard and capture loss; the placement of
// picture and caption; the state pictures' fall-back; the dialog keys; the draggable label.
#include <gtest/gtest.h>

#include <vector>

#include "OrvButton.h"
#include "OrvLabel.h"
#include "OrvWindowsUtils.h"
#include "StdCtrls.h"
#include "ExtCtrls.h"
#include "WidgetTestKit.h"

using namespace wtk;

namespace {

class OrvButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = ShowTestForm();
    button = new TOrvButton(form);
    button->SetParent(form);
    button->SetBounds(40, 40, 60, 30);
    button->SetColor(clWhite);
    button->OnClick = [this](TObject*) { ++clicks; };
    button->OnMouseContinuouslyDown = [this](TObject* s) {
      EXPECT_EQ(s, button);
      ++ticks;
    };
    button->OnMouseEnter = [this](TObject*) { ++enters; };
    button->OnMouseExit = [this](TObject*) { ++exits; };
    button->HandleNeeded();
    Application->ProcessMessages();
  }
  void TearDown() override {
    ReleaseCapture();
    form->Free();
    Application->ProcessMessages();
  }
  TForm* form = nullptr;
  TOrvButton* button = nullptr;
  int clicks = 0, ticks = 0, enters = 0, exits = 0;
};

enum TAction { aEnter, aMoveOut, aMoveIn, aLeftDown, aLeftUp, aRightDown, aRightUp, aTick, aLoseCapture };

struct TStep {
  TAction Action;
  bool Hovered, Pressed, Timer;
  int Clicks, Ticks, Enters, Exits;
};

struct TScenario {
  const char* Name;
  std::vector<TStep> Steps;
};

// After each step: the two look flags, whether the repeat timer exists, and the event counts so far.
const std::vector<TScenario> kScenarios = {
    {"press and release inside",
     {{aEnter, true, false, false, 0, 0, 1, 0},
      {aLeftDown, false, true, true, 0, 0, 1, 0},
      {aTick, false, true, true, 0, 1, 1, 0},
      {aTick, false, true, true, 0, 2, 1, 0},
      {aLeftUp, true, false, false, 1, 2, 1, 0},
      {aTick, true, false, false, 1, 2, 1, 0}}},
    {"press, drag out, release outside",
     {{aEnter, true, false, false, 0, 0, 1, 0},
      {aLeftDown, false, true, true, 0, 0, 1, 0},
      {aMoveOut, false, true, true, 0, 0, 1, 0},
      {aTick, false, true, true, 0, 1, 1, 0},
      {aLeftUp, false, false, false, 0, 1, 1, 0},
      {aTick, false, false, false, 0, 1, 1, 0}}},
    {"press, leave, come back, release inside",
     {{aEnter, true, false, false, 0, 0, 1, 0},
      {aLeftDown, false, true, true, 0, 0, 1, 0},
      {aMoveOut, false, true, true, 0, 0, 1, 0},
      {aMoveIn, true, false, true, 0, 0, 2, 0},
      {aTick, true, false, true, 0, 1, 2, 0},
      {aLeftUp, true, false, false, 1, 1, 2, 0}}},
    {"hover and leave without a press",
     {{aEnter, true, false, false, 0, 0, 1, 0},
      {aMoveOut, false, false, false, 0, 0, 1, 1},
      {aMoveIn, true, false, false, 0, 0, 2, 1}}},
    {"capture lost while held (Alt+Tab) stops the ticks",
     {{aEnter, true, false, false, 0, 0, 1, 0},
      {aLeftDown, false, true, true, 0, 0, 1, 0},
      {aTick, false, true, true, 0, 1, 1, 0},
      {aLoseCapture, false, false, false, 0, 1, 1, 0},
      {aTick, false, false, false, 0, 1, 1, 0},
      {aLeftUp, true, false, false, 0, 1, 1, 0}}},
    {"right button: no pressed look, no timer",
     {{aEnter, true, false, false, 0, 0, 1, 0},
      {aRightDown, true, false, false, 0, 0, 1, 0},
      {aRightUp, true, false, false, 0, 0, 1, 0}}},
};

TEST_F(OrvButtonTest, StateTransitionTable) {
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  // The table delivers the repeat ticks itself: a real tick between two steps (a slow machine takes
  // longer than the interval) would count twice.
  Application->OnMessage = [](MSG& m, bool& handled) { handled = m.message == WM_TIMER; };
  for (const TScenario& s : kScenarios) {
    SCOPED_TRACE(s.Name);
    // Start with the mouse away from the button and nothing counted.
    SendMouse(WM_MOUSEMOVE, 0, ScreenPointOf(form, 5, 5));
    Application->ProcessMessages();
    clicks = ticks = enters = exits = 0;
    int stepNo = 0;
    for (const TStep& st : s.Steps) {
      SCOPED_TRACE(stepNo++);
      POINT inside = ScreenPointOf(button, 30, 15), outside = ScreenPointOf(form, 200, 150);
      switch (st.Action) {
        case aEnter:
        case aMoveIn: SendMouse(WM_MOUSEMOVE, GetCapture() ? MK_LBUTTON : 0, inside); break;
        case aMoveOut: SendMouse(WM_MOUSEMOVE, GetCapture() ? MK_LBUTTON : 0, outside); break;
        case aLeftDown: SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, inside); break;
        case aLeftUp: {  // released wherever the mouse is now
          POINT now;
          GetCursorPos(&now);
          SendMouse(WM_LBUTTONUP, 0, now);
          break;
        }
        case aRightDown: SendMouse(WM_RBUTTONDOWN, MK_RBUTTON, inside); break;
        case aRightUp: SendMouse(WM_RBUTTONUP, 0, inside); break;
        case aTick:
          if (button->RepeatTimer()) button->RepeatTimer()->Timer();
          break;
        case aLoseCapture:
          SetCapture(other);
          ReleaseCapture();
          break;
      }
      Application->ProcessMessages();
      EXPECT_EQ(button->Hovered(), st.Hovered);
      EXPECT_EQ(button->Pressed(), st.Pressed);
      EXPECT_EQ(button->RepeatTimer() != nullptr, st.Timer);
      if (button->RepeatTimer()) {
        EXPECT_EQ(button->RepeatTimer()->GetInterval(), 100);
        EXPECT_TRUE(button->RepeatTimer()->GetEnabled());
      }
      EXPECT_EQ(clicks, st.Clicks);
      EXPECT_EQ(ticks, st.Ticks);
      EXPECT_EQ(enters, st.Enters);
      EXPECT_EQ(exits, st.Exits);
    }
  }
  Application->OnMessage = nullptr;
  DestroyWindow(other);
}

TEST_F(OrvButtonTest, SpaceKeyPressesAndClicksOnce) {
  button->SetTabStop(true);
  button->SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(button->Focused());
  SendMessageA(button->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(button->Pressed());
  EXPECT_EQ(clicks, 0);
  SendMessageA(button->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(clicks, 1);
}

TEST_F(OrvButtonTest, ClickHandsTheModalResultToTheForm) {
  button->SetModalResult(mrCancel);
  button->Click();
  EXPECT_EQ(form->GetModalResult(), mrCancel);
  EXPECT_EQ(clicks, 1);
}

// Sets or clears the Ctrl key in the thread's keyboard state, which the dialog-key test reads.
void HoldCtrl(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST_F(OrvButtonTest, DialogKeysClickDefaultAndCancelButtonsWithoutModifiers) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 100, 80, 20);
  edit->SetFocus();
  Application->ProcessMessages();
  struct TCase {
    bool Default, Cancel;
    WPARAM Key;
    bool Ctrl;
    int ExpectedClicks;
  };
  const TCase cases[] = {{true, false, VK_RETURN, false, 1}, {true, false, VK_RETURN, true, 0},
                         {false, false, VK_RETURN, false, 0}, {false, true, VK_ESCAPE, false, 1},
                         {false, true, VK_ESCAPE, true, 0},   {true, false, VK_ESCAPE, false, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "default " << c.Default << " cancel " << c.Cancel << " key " << c.Key
                                    << " ctrl " << c.Ctrl);
    button->SetDefault(c.Default);
    button->SetCancel(c.Cancel);
    EXPECT_EQ(button->Active(), c.Default);
    clicks = 0;
    HoldCtrl(c.Ctrl);
    form->Perform(CM_DIALOGKEY, c.Key, 0);
    HoldCtrl(false);
    EXPECT_EQ(clicks, c.ExpectedClicks);
  }
}

TEST_F(OrvButtonTest, FocusOnAPushButtonTakesActiveAway) {
  auto* push = new TButton(form);
  push->SetParent(form);
  push->SetBounds(10, 100, 80, 20);
  button->SetDefault(true);
  ASSERT_TRUE(button->Active());
  push->SetFocus();
  Application->ProcessMessages();
  EXPECT_FALSE(button->Active());
}

TEST_F(OrvButtonTest, AcceleratorClicksOnlyWhileEnabled) {
  button->SetCaption("&Go");
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'g', 0), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  button->SetEnabled(false);
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'g', 0), 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(IsAccelerator('o', "G&o"));
  EXPECT_FALSE(IsAccelerator('o', "G&&o"));
}

TEST_F(OrvButtonTest, CaptionIsTheWindowTextBothWays) {
  button->SetCaption("Open");
  EXPECT_EQ(button->GetText(), "Open");
  SetWindowTextA(button->Handle(), "Browse...");
  button->Perform(CM_TEXTCHANGED);
  EXPECT_EQ(button->GetCaption(), "Browse...");
  SetPropText(button, "Caption", "Edit Profile");
  EXPECT_EQ(button->GetText(), "Edit Profile");
}

// ---- drawing ----

const int kPicW = 6, kPicH = 4;

TEST_F(OrvButtonTest, ThirteenPicturePlacements) {
  button->SetBounds(40, 40, 21, 16);
  SetPictureTo(button->GetPicNormal(), kPicW, kPicH, clRed);
  button->SetPictureX(3);
  button->SetPictureY(5);
  int W = button->GetWidth(), H = button->GetHeight();
  for (size_t i = 0; i < OrvAlignmentNames().size(); ++i) {
    auto a = TOrvAlignment(i);
    SCOPED_TRACE(OrvAlignmentNames()[i]);
    SetPropText(button, "PictureAlign", OrvAlignmentNames()[i]);
    ASSERT_EQ(button->GetPictureAlign(), a);
    TOrvPlacement p = OrvPlacementOf(a);
    auto at = [](int part, int room, int size) { return part == 0 ? 0 : part == 1 ? (room - size) / 2 : room - size; };
    int x = p.Horizontal < 0 ? 3 : at(p.Horizontal, W, kPicW);
    int y = p.Vertical < 0 ? 5 : at(p.Vertical, H, kPicH);
    TShot shot(button);
    RECT box = shot.BoxOf([](TColor c) { return c == clRed; });
    EXPECT_EQ(box.left, x);
    EXPECT_EQ(box.top, y);
    EXPECT_EQ(box.right - box.left, kPicW);
    EXPECT_EQ(box.bottom - box.top, kPicH);
  }
}

TEST_F(OrvButtonTest, StretchedPictureReachesTheRightAndBottomEdges) {
  SetPictureTo(button->GetPicNormal(), kPicW, kPicH, clRed);
  button->SetPictureAlign(TOrvAlignment::alMiddleCenter);
  button->SetStretch(true);
  TShot shot(button);
  RECT box = shot.BoxOf([](TColor c) { return c == clRed; });
  EXPECT_EQ(box.left, (button->GetWidth() - kPicW) / 2);
  EXPECT_EQ(box.top, (button->GetHeight() - kPicH) / 2);
  EXPECT_EQ(box.right, button->GetWidth());
  EXPECT_EQ(box.bottom, button->GetHeight());
}

TEST_F(OrvButtonTest, ThirteenCaptionPlacements) {
  button->SetBounds(40, 40, 90, 48);
  button->GetFont()->SetColor(clBlack);
  button->SetCaption("Wg");
  button->SetTextX(17);
  button->SetTextY(9);
  int W = button->GetWidth(), H = button->GetHeight();
  for (size_t i = 0; i < OrvAlignmentNames().size(); ++i) {
    auto a = TOrvAlignment(i);
    SCOPED_TRACE(OrvAlignmentNames()[i]);
    button->SetTextAlign(a);
    TShot shot(button);
    RECT box = shot.BoxOf([](TColor c) { return c != clWhite; });
    ASSERT_GT(box.right, box.left);
    TOrvPlacement p = OrvPlacementOf(a);
    if (p.Horizontal < 0) {
      EXPECT_GE(box.left, 17);
      EXPECT_LT(box.left, 17 + 4);
      EXPECT_GE(box.top, 9);
      EXPECT_LT(box.top, 9 + 6);
      continue;
    }
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    switch (p.Horizontal) {
      case 0: EXPECT_LT(box.left, 4); break;
      case 1: EXPECT_NEAR(cx, W / 2, 3); break;
      case 2: EXPECT_GT(box.right, W - 4); break;
    }
    switch (p.Vertical) {
      case 0: EXPECT_LT(box.top, 5); break;
      case 1: EXPECT_NEAR(cy, H / 2, 4); break;
      case 2: EXPECT_GT(box.bottom, H - 5); break;
    }
  }
}

TEST_F(OrvButtonTest, StatePicturesFallBackToTheNormalOne) {
  SetPictureTo(button->GetPicNormal(), 60, 30, clRed);
  struct TState {
    const char* Name;
    std::function<void()> Enter;
  };
  const TState states[] = {
      {"normal", [] {}},
      {"hovered", [this] { SendMouse(WM_MOUSEMOVE, 0, ScreenPointOf(button, 5, 5)); }},
      {"pressed", [this] { SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, ScreenPointOf(button, 5, 5)); }},
      {"disabled", [this] { button->SetEnabled(false); }},
  };
  for (const TState& s : states) {
    SCOPED_TRACE(s.Name);
    s.Enter();
    TShot shot(button);
    EXPECT_EQ(shot.At(30, 15), clRed);
  }
  // With its own picture the disabled state shows that one.
  SetPictureTo(button->GetPicDisabled(), 60, 30, clBlue);
  EXPECT_EQ(TShot(button).At(30, 15), clBlue);
  // Disabling took the capture away and ended the press; a new press shows its own picture.
  EXPECT_FALSE(button->Pressed());
  button->SetEnabled(true);
  SetPictureTo(button->GetPicMouseDown(), 60, 30, clLime);
  SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, ScreenPointOf(button, 5, 5));
  EXPECT_EQ(TShot(button).At(30, 15), clLime);
}

TEST_F(OrvButtonTest, NoPictureLeavesBackgroundBorderAndCaption) {
  button->SetDrawBorder(true);
  TShot plain(button);
  EXPECT_EQ(plain.At(0, 0), clBlack);
  EXPECT_EQ(plain.At(30, 15), clWhite);
  button->SetEnabled(false);
  EXPECT_EQ(TShot(button).At(0, 0), clGray);
}

TEST_F(OrvButtonTest, BlankCaptionIsNotDrawn) {
  button->GetFont()->SetColor(clBlack);
  button->SetCaption("   ");
  EXPECT_EQ(TShot(button).Count(clWhite), 60 * 30);
}

TEST_F(OrvButtonTest, DisabledShadowIsAGreyCopyOnePixelAside) {
  button->GetFont()->SetColor(clBlack);
  button->SetCaption("Wg");
  button->SetEnabled(false);
  TShot flat(button);
  EXPECT_EQ(flat.Count(clGray), 0);
  RECT black = flat.BoxOf([](TColor c) { return c == clBlack; });
  button->SetShowDisabledShadow(true);
  TShot shadowed(button);
  RECT grey = shadowed.BoxOf([](TColor c) { return c == clGray; });
  ASSERT_GT(grey.right, grey.left);
  EXPECT_EQ(grey.right, black.right + 1);
  EXPECT_EQ(grey.bottom, black.bottom + 1);
}

TEST_F(OrvButtonTest, PressedCaptionMovesExceptWithCustomPlacement) {
  button->GetFont()->SetColor(clBlack);
  button->SetCaption("Wg");
  for (TOrvAlignment a : {TOrvAlignment::alCenter, TOrvAlignment::alCustom}) {
    button->SetTextAlign(a);
    RECT normal = TShot(button).BoxOf([](TColor c) { return c != clWhite; });
    SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, ScreenPointOf(button, 5, 5));
    ASSERT_TRUE(button->Pressed());
    RECT pressed = TShot(button).BoxOf([](TColor c) { return c != clWhite; });
    SendMouse(WM_LBUTTONUP, 0, ScreenPointOf(button, 5, 5));
    int shift = a == TOrvAlignment::alCustom ? 0 : 1;
    EXPECT_EQ(pressed.left, normal.left + shift);
    EXPECT_EQ(pressed.top, normal.top + shift);
  }
}

TEST_F(OrvButtonTest, StateFontsApplyOnlyWhenEnabled) {
  button->GetFont()->SetColor(clBlack);
  button->GetFontMouseHover()->SetColor(clRed);
  button->SetCaption("Wg");
  SendMouse(WM_MOUSEMOVE, 0, ScreenPointOf(button, 5, 5));
  ASSERT_TRUE(button->Hovered());
  EXPECT_EQ(TShot(button).Count(clRed), 0);
  button->SetEnableStatesFont(true);
  EXPECT_GT(TShot(button).Count(clRed), 0);
}

TEST_F(OrvButtonTest, ColourKeyLetsTheBackgroundThrough) {
  TBitmap* pic = SolidBitmap(60, 30, clRed);
  pic->Canvas()->Brush()->SetColor(clFuchsia);
  pic->Canvas()->FillRect(RECT{0, 0, 30, 30});
  button->GetPicNormal()->Assign(pic);
  delete pic;
  EXPECT_EQ(TShot(button).At(10, 10), clFuchsia);
  button->SetEnableTransparentColor(true);
  TShot keyed(button);
  EXPECT_EQ(keyed.At(10, 10), clWhite);
  EXPECT_EQ(keyed.At(45, 10), clRed);
}

TEST_F(OrvButtonTest, TransparentButtonShowsTheParentsPixels) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(150, 20, 100, 100);
  panel->SetBevelOuter(bvNone);
  auto* stripes = new TPaintBox(form);
  stripes->SetParent(panel);
  stripes->SetBounds(0, 0, 100, 100);
  stripes->OnPaint = [stripes](TObject*) {
    for (int x = 0; x < 100; ++x) {
      stripes->Canvas()->Pen()->SetColor(x % 2 ? clBlue : clYellow);
      stripes->Canvas()->MoveTo(x, 0);
      stripes->Canvas()->LineTo(x, 100);
    }
  };
  button->SetParent(panel);
  button->SetBounds(13, 20, 40, 30);
  button->SetTransparent(true);
  TShot shot(button);
  for (int x = 0; x < 40; x += 7) EXPECT_EQ(shot.At(x, 5), (x + 13) % 2 ? clBlue : clYellow) << x;
}

// ---- label ----

TEST(OrvLabel, PressStartsMovingTheTopLevelWindowOnlyWithMoveHandler) {
  TForm* form = ShowTestForm();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 200, 100);
  auto* label = new TOrvLabel(form);
  label->SetParent(panel);
  label->SetBounds(20, 20, 80, 20);
  label->SetCaption("drag me");
  EXPECT_TRUE(label->GetMoveHandler());
  EXPECT_EQ(GetTopLevelWindow(panel->Handle()), form->Handle());
  EXPECT_EQ(GetTopLevelWindow(nullptr), nullptr);
  std::vector<WPARAM> commands;
  form->SetMessageHandler(WM_SYSCOMMAND, [&](TMessage& m) { commands.push_back(m.WParam); });
  int downs = 0;
  label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    EXPECT_TRUE(commands.empty() || commands.size() == size_t(downs));  // the event comes first
    ++downs;
  };
  SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, ScreenPointOf(label, 5, 5));
  SendMouse(WM_LBUTTONUP, 0, ScreenPointOf(label, 5, 5));
  SendMouse(WM_RBUTTONDOWN, MK_RBUTTON, ScreenPointOf(label, 5, 5));
  SendMouse(WM_RBUTTONUP, 0, ScreenPointOf(label, 5, 5));
  EXPECT_EQ(commands, (std::vector<WPARAM>{0xF012, 0xF012}));
  EXPECT_EQ(downs, 2);
  label->SetMoveHandler(false);
  SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, ScreenPointOf(label, 5, 5));
  SendMouse(WM_LBUTTONUP, 0, ScreenPointOf(label, 5, 5));
  EXPECT_EQ(commands.size(), 2u);
  EXPECT_EQ(downs, 3);
  form->Free();
}

TEST(OrvButtonLayout, PropertiesComeFromTheLayoutByName) {
  TOrvButton b(nullptr);
  SetPropText(&b, "TransparentColor", "16711935");
  SetPropText(&b, "TextAlign", "alLeft");
  SetPropText(&b, "EnableStatesFont", "True");
  SetPropText(&b, "FontMouseHover.Color", "clAqua");
  SetPropText(&b, "ModalResult", "2");
  EXPECT_EQ(b.GetTransparentColor(), clFuchsia);
  EXPECT_EQ(b.GetTextAlign(), TOrvAlignment::alLeft);
  EXPECT_TRUE(b.GetEnableStatesFont());
  EXPECT_EQ(b.GetFontMouseHover()->GetColor(), clAqua);
  EXPECT_EQ(b.GetModalResult(), mrCancel);
  EXPECT_EQ(b.GetRepeatInterval(), 100);
  EXPECT_TRUE(b.GetDrawFocused());
  EXPECT_FALSE(b.GetTabStop());
  EXPECT_EQ(b.GetPictureAlign(), TOrvAlignment::alTopLeft);
}

}  // namespace
