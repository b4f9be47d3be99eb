// The scroll bar and combo box skinners on a real window: overlays that lie exactly over the system's
// bars and hand clicks and drags to the system's own scroll loop (the control ends where it would end
// unskinned), follow the control when it is hidden, shown, moved or re-created; combo boxes whose hover,
// focus and press frames follow the rules, whose lists open and pick with mouse and keyboard with one
// change each, whose edit keeps what is typed, and whose drop-down list's painted bar leaves the list
// alone on a click without a move and scrolls it on a drag.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinTestKit.h"
#include "SkinnerCombo.h"
#include "SkinnerControl.h"
#include "SkinnerScroll.h"
#include "StdCtrls.h"
#include "Subclass.h"

// A date-time picker: the system's control wrapped like our other standard controls. The program holds
// none; the skin data's Skin3rd rows name the class for the picker skinner.
class TTestDateTimePicker : public TWinControl {
  ORV_CLASS(TTestDateTimePicker)
public:
  explicit TTestDateTimePicker(TComponent* owner)
      : TWinControl(owner, {"SysDateTimePick32", 0, WS_EX_CLIENTEDGE, 120, 22, true, clWindow, csDoubleClicks}) {}
};
ORV_DEFINE_CLASS(TTestDateTimePicker, TWinControl, nullptr, {})

namespace {

using namespace skintest;

RECT ScreenBar(HWND h, bool vertical) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(h, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
  return info.rcScrollBar;
}

SCROLLBARINFO BarInfo(HWND h) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(h, OBJID_VSCROLL, &info);
  return info;
}

RECT ScreenRect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

void Pump() { PumpMessagesUntil([] { return true; }); }

// A new form of ours, 240 wide, with one combo box of `style` at its top left.
TComboBox* FormWithCombo(TForm*& form, int formHeight, TComboBoxStyle style, int width, int height) {
  form = new TForm(nullptr);
  form->SetBounds(60, 60, 240, formHeight);
  auto* combo = new TComboBox(form);
  combo->SetParent(form);
  combo->SetStyle(style);
  combo->SetBounds(10, 10, width, height);
  return combo;
}

// Tells when a component is freed.
struct TFreeWatch : TComponent {
  TFreeWatch() : TComponent(nullptr) {}
  TComponent* Freed = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove) Freed = c;
  }
};

class ScrollComboSkin : public SkinEngine {
protected:
  TForm* form = nullptr;
  TMemo* memo = nullptr;
  TComboBox *list = nullptr, *editable = nullptr, *disabled = nullptr;
  int listChanges = 0, editChanges = 0;

  void SetUp() override {
    SkinEngine::SetUp();
    SetCursorPos(0, 0);
    form = new TForm(nullptr);
    form->SetBounds(60, 60, 460, 260);
    memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetScrollBars(ssVertical);
    memo->SetBounds(10, 10, 200, 120);
    std::string text;
    for (int i = 1; i <= 60; ++i) text += "line " + std::to_string(i) + "\r\n";
    memo->SetText(text);
    list = new TComboBox(form);
    list->SetParent(form);
    list->SetStyle(csDropDownList);
    list->SetBounds(230, 10, 150, 21);
    list->SetDropDownCount(6);
    for (int i = 0; i < 30; ++i) list->AddItem("item " + std::to_string(i));
    list->SetItemIndex(2);
    list->OnChange = [this](TObject*) { ++listChanges; };
    editable = new TComboBox(form);
    editable->SetParent(form);
    editable->SetBounds(230, 50, 150, 21);
    editable->SetItems({"one", "two", "three"});
    editable->OnChange = [this](TObject*) { ++editChanges; };
    disabled = new TComboBox(form);
    disabled->SetParent(form);
    disabled->SetStyle(csDropDownList);
    disabled->SetBounds(230, 90, 150, 21);
    disabled->SetItems({"off"});
    disabled->SetEnabled(false);
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(SkinWindowNow(form->Handle()));
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
  }
  void TearDown() override {
    form->Free();
    Pump();
    SkinEngine::TearDown();
  }
  TSkinnerForm* FormSkinner() { return Manager().FindForm(form->Handle()); }
  template <class T>
  T* SkinnerOf(TControl* c) {
    for (TSkinControl* s : FormSkinner()->ControlSkinners())
      if (s->Control == c) return As<T>(s);
    return nullptr;
  }
  TSkinScrollbar* MemoSkinner() { return SkinnerOf<TSkinScrollbar>(memo); }
  int FirstLine() { return int(SendMessageA(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0)); }

  // A press on the overlay (or, unskinned, on the bar itself) at a bar point, with the moves and the
  // release that the system's loop will read already waiting in the queue (client points of the memo).
  void PressBar(TWScrollbar* overlay, POINT barPoint, const std::vector<POINT>& movesThenUp) {
    const HWND m = memo->Handle();
    const RECT bar = ScreenBar(m, true);
    for (size_t i = 0; i < movesThenUp.size(); ++i) {
      POINT p{bar.left + movesThenUp[i].x, bar.top + movesThenUp[i].y};
      ScreenToClient(m, &p);
      PostMessageA(m, i + 1 < movesThenUp.size() ? WM_MOUSEMOVE : WM_LBUTTONUP, i + 1 < movesThenUp.size() ? MK_LBUTTON : 0,
                   MAKELPARAM(p.x, p.y));
    }
    if (overlay)
      SendMessageA(overlay->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barPoint.x, barPoint.y));
    else
      SendMessageA(m, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(bar.left + barPoint.x, bar.top + barPoint.y));
    Pump();
  }
};

// ---- scroll bars ----

TEST_F(ScrollComboSkin, OverlaysLieOverTheSystemBarsAndScrollAsTheSystemDoes) {
  TSkinScrollbar* s = MemoSkinner();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinScrollbar");
  const HWND m = memo->Handle();
  ASSERT_TRUE(s->VertBar->Shown);
  EXPECT_TRUE(IsWindowVisible(s->VertBar->Handle()));
  EXPECT_TRUE(SameRect(ScreenRect(s->VertBar->Handle()), ScreenBar(m, true)))
      << Text(ScreenRect(s->VertBar->Handle())) << " over " << Text(ScreenBar(m, true));
  EXPECT_EQ(GetWindow(s->VertBar->Handle(), GW_HWNDNEXT), m) << "just above the memo";
  EXPECT_EQ(GetWindowLongA(s->VertBar->Handle(), GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  EXPECT_FALSE(s->HorzBar->HandleAllocated() && IsWindowVisible(s->HorzBar->Handle())) << "no horizontal bar";
  EXPECT_EQ(SendMessageA(m, SM_ISSKINNED, 0, 0), 1);
  TBitmap shot;
  CaptureWindow(form->Handle(), shot);
  shot.SaveToFile(std::string(ORV_BUILD_DIR) + "skinned_memo_scrollbar.bmp");

  // Every scroll message the memo gets, in order.
  std::vector<WPARAM> scrolls;
  TWindowProcHook watch;
  watch.Install(memo, [&](TMessage& msg) {
    if (msg.Msg == WM_VSCROLL) scrolls.push_back(msg.WParam);
    watch.CallSaved(msg);
  });

  // The second arrow: one line.
  const int bar = s->VertBar->GetHeight(), arrow = GetSystemMetrics(SM_CXHSCROLL);
  const POINT down{s->VertBar->GetWidth() / 2, bar - arrow / 2};
  ASSERT_EQ(FirstLine(), 0);
  PressBar(s->VertBar, down, {down});
  EXPECT_EQ(FirstLine(), 1);
  ASSERT_FALSE(scrolls.empty());
  EXPECT_EQ(LOWORD(scrolls.front()), SB_LINEDOWN);
  EXPECT_FALSE(s->VertBar->Pressed);
  EXPECT_EQ(GetCapture(), nullptr);

  // The thumb dragged 30 pixels down: thumb tracking on the way, and the place the unskinned bar reaches.
  auto dragThumb = [&](TWScrollbar* overlay) {
    SendMessageA(m, WM_VSCROLL, SB_TOP, 0);
    scrolls.clear();
    const SCROLLBARINFO info = BarInfo(m);
    const POINT grab{(info.rcScrollBar.right - info.rcScrollBar.left) / 2, (info.xyThumbTop + info.xyThumbBottom) / 2};
    PressBar(overlay, grab, {POINT{grab.x, grab.y + 15}, POINT{grab.x, grab.y + 30}, POINT{grab.x, grab.y + 30}});
    return FirstLine();
  };
  const int skinnedLine = dragThumb(s->VertBar);
  const std::vector<WPARAM> skinnedScrolls = scrolls;
  std::vector<int> tracked;
  for (WPARAM w : scrolls)
    if (LOWORD(w) == SB_THUMBTRACK) tracked.push_back(HIWORD(w));
  EXPECT_GE(tracked.size(), 2u);
  EXPECT_TRUE(std::is_sorted(tracked.begin(), tracked.end()));
  const int unskinnedLine = dragThumb(nullptr);
  EXPECT_GT(skinnedLine, 0);
  EXPECT_EQ(skinnedLine, unskinnedLine);
  EXPECT_EQ(skinnedScrolls, scrolls) << "the same scroll messages as a drag on the bar itself";

  // The mouse over the thumb makes it hot until it leaves.
  const SCROLLBARINFO now = BarInfo(m);
  SendMessageA(s->VertBar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, (now.xyThumbTop + now.xyThumbBottom) / 2));
  EXPECT_EQ(s->VertBar->HotPart, sbThumb);
  SendMessageA(s->VertBar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 2));
  EXPECT_EQ(s->VertBar->HotPart, sbFirstArrow);
  SendMessageA(s->VertBar->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(s->VertBar->HotPart, sbNone);

  // The skinned border drawn into a DC of the caller's, answered with the engine's notice value.
  TBitmap border;
  border.SetPixelFormat(pf24bit);
  border.SetSize(memo->GetWidth(), memo->GetHeight());
  EXPECT_EQ(SendMessageA(m, SM_PAINTFRAMETO, WPARAM(border.Canvas()->GetHandle()), SkinNoticeParam), SkinNoticeParam);
  EXPECT_EQ(PixelAt(&border, 0, 0), COLORREF(ColorToRGB(data->ButtonShadow)));
  EXPECT_EQ(PixelAt(&border, 1, 1), COLORREF(ColorToRGB(data->ButtonFace)));
  EXPECT_EQ(SendMessageA(m, SM_PAINTFRAMETO, 0, 0), 0) << "only the engine's notice is answered";

  // A scroll message carrying a thumb position in its high word still marks the right part.
  SendMessageA(m, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 0);
  EXPECT_EQ(s->VertBar->HotPart, sbThumb);
  watch.Remove();
}

TEST_F(ScrollComboSkin, OverlaysFollowTheControlHiddenShownMovedAndRecreated) {
  TSkinScrollbar* s = MemoSkinner();
  ASSERT_NE(s, nullptr);
  const HWND overlay = s->VertBar->Handle();

  memo->SetVisible(false);
  Pump();
  EXPECT_FALSE(IsWindowVisible(overlay));
  EXPECT_FALSE(s->VertBar->Shown);
  memo->SetVisible(true);
  Pump();
  EXPECT_TRUE(IsWindowVisible(overlay));
  EXPECT_TRUE(SameRect(ScreenRect(overlay), ScreenBar(memo->Handle(), true)));

  memo->SetBounds(20, 30, 180, 150);
  Pump();
  EXPECT_TRUE(SameRect(ScreenRect(overlay), ScreenBar(memo->Handle(), true)))
      << Text(ScreenRect(overlay)) << " over " << Text(ScreenBar(memo->Handle(), true));

  // A new window for the control: a new skinner for it, the old one freed.
  TFreeWatch watch;
  watch.FreeNotification(s);
  const HWND oldWindow = memo->Handle();
  memo->RecreateWnd();
  ASSERT_NE(memo->Handle(), oldWindow);
  ASSERT_TRUE(PumpMessagesUntil([&] { return watch.Freed == s; }));
  TSkinScrollbar* renewed = MemoSkinner();
  ASSERT_NE(renewed, nullptr);
  EXPECT_EQ(renewed->WindowHandle, memo->Handle());
  EXPECT_EQ(SendMessageA(memo->Handle(), SM_ISSKINNED, 0, 0), 1);
  int skinnersOfMemo = 0;
  for (TSkinControl* c : FormSkinner()->ControlSkinners()) skinnersOfMemo += c->Control == memo;
  EXPECT_EQ(skinnersOfMemo, 1);
  ASSERT_TRUE(renewed->VertBar->Shown);
  EXPECT_TRUE(SameRect(ScreenRect(renewed->VertBar->Handle()), ScreenBar(memo->Handle(), true)));

  // Unskinning takes the overlays away and gives the memo its own bar back.
  data->SetActive(true);
  data->SetActive(false);
  ASSERT_TRUE(PumpMessagesUntil([&] { return Manager().Forms.empty(); }));
  EXPECT_EQ(SendMessageA(memo->Handle(), SM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(GetWindow(memo->Handle(), GW_HWNDPREV) == nullptr ||
                LowerText(GetClassNameText(GetWindow(memo->Handle(), GW_HWNDPREV))) != "twscrollbar",
            true);
}

TEST(ScrollBarPart, APositionAlongTheBarNamesItsPart) {
  struct TCase {
    int At, Part;
  };
  // Arrows of 16, thumb from 40 to 60, bar 200 long.
  const TCase cases[] = {{0, sbFirstArrow},  {15, sbFirstArrow},  {16, sbTrackBefore}, {39, sbTrackBefore},
                         {40, sbThumb},      {59, sbThumb},       {60, sbTrackAfter},  {183, sbTrackAfter},
                         {184, sbSecondArrow}, {199, sbSecondArrow}};
  for (const TCase& c : cases) EXPECT_EQ(ScrollBarPartAt(c.At, 16, 40, 60, 200), c.Part) << c.At;
}

// ---- the bar painter ----

// A vertical bar 16 pixels thick painted from a skin whose every frame is one plain colour, so that each
// pixel tells which frame of which element lies there.
struct TBarCase {
  const char* Name;
  int Length, StripHeight;
  int ThumbStart, ThumbEnd;
  bool Enabled;
  int HotPart;
  bool Pressed;
};

const TLegend BarLegend = {{'f', 0xC8C8C8}, {'u', 0x0000A0}, {'U', 0x0000E0}, {'H', 0x00A0FF}, {'d', 0x00A000},
                           {'D', 0x00E000}, {'E', 0xA0FF00}, {'x', 0x404040}, {'t', 0xA00000}, {'T', 0xE00000},
                           {'h', 0x808000}, {'p', 0xC0C000}, {'o', 0x008080}, {'g', 0x800080}, {'G', 0xC000C0},
                           {'k', 0xFFFFFF}};

// The strip's 23 frames: 9 up (10 pressed, 12 hot), 13 down (14 pressed, 16 hot), 20 to 22 the grip
// across a vertical thumb (normal, pressed, hot); everything else 'x'.
std::unique_ptr<TBitmap> Strip(int height) {
  std::string row(23, 'x');
  row[8] = 'u', row[9] = 'U', row[11] = 'H', row[12] = 'd', row[13] = 'D', row[15] = 'E';
  row[19] = 'g', row[20] = 'G', row[21] = 'k';
  return BitmapFromMap(TCharMap(size_t(height), row), BarLegend);
}

TDataSkinObject* Element(const char* name, const std::string& frames) {
  auto* e = new TDataSkinObject(name);
  e->Bitmap->Assign(BitmapFromMap({frames}, BarLegend).get());
  e->FrameCount = int(frames.size());
  return e;
}

// What the rules give for the case: arrows (halved on a short bar), the track between them, the thumb
// with its grip centred on it, and the face beyond the drawn thickness.
TCharMap ExpectedBar(const TBarCase& c) {
  const int arrowSize = 16, thickness = std::abs(c.StripHeight - arrowSize) > 2 ? arrowSize : c.StripHeight;
  const int arrow = c.Length < 2 * arrowSize ? c.Length / 2 : arrowSize;
  auto arrowChar = [&](int part, char normal, char pressed, char hot) {
    return c.HotPart != part ? normal : (c.Pressed ? pressed : hot);
  };
  const bool thumbHot = c.HotPart == sbThumb;
  const int thumbLength = c.ThumbEnd - c.ThumbStart, g = c.StripHeight;
  const int gripAt = c.ThumbStart + (thumbLength - g) / 2;
  TCharMap rows;
  for (int y = 0; y < c.Length; ++y) {
    char ch = 'f';
    if (c.Length > 2 * arrowSize && y >= arrowSize && y < c.Length - arrowSize) ch = c.Enabled ? 't' : 'T';
    if (c.Enabled && thumbLength > 0 && y >= c.ThumbStart && y < c.ThumbEnd)
      ch = thumbHot ? (c.Pressed ? 'p' : 'o') : 'h';
    if (c.Enabled && thumbLength > 0 && g < thumbLength + 2 && y >= gripAt && y < gripAt + g)
      ch = thumbHot ? (c.Pressed ? 'G' : 'k') : 'g';
    if (y < arrow) ch = arrowChar(sbFirstArrow, 'u', 'U', 'H');
    if (y >= c.Length - arrow) ch = arrowChar(sbSecondArrow, 'd', 'D', 'E');
    rows.push_back(std::string(size_t(thickness), ch) + std::string(size_t(16 - thickness), 'f'));
  }
  return rows;
}

class BarPainter : public ::testing::TestWithParam<TBarCase> {};

TEST_P(BarPainter, EveryPartComesFromItsFrame) {
  const TBarCase& c = GetParam();
  TSkinData data(nullptr);
  data.ButtonFace = BarLegend.at('f');
  data.Scrollbar = new TDataSkinObject("Scrollbar");
  data.Scrollbar->Bitmap->Assign(Strip(c.StripHeight).get());
  data.Scrollbar->FrameCount = 23;
  data.VertScroll = Element("VertScroll", "txTx");
  data.VertScrollThumb = Element("VertScrollThumb", "hpo");
  TBitmap canvas;
  canvas.SetPixelFormat(pf24bit);
  canvas.SetSize(16, c.Length);
  TScrollBarLook look;
  look.Vertical = true;
  look.ArrowSize = 16;
  look.ThumbStart = c.ThumbStart;
  look.ThumbEnd = c.ThumbEnd;
  look.Enabled = c.Enabled;
  look.HotPart = c.HotPart;
  look.Pressed = c.Pressed;
  look.Limit = c.Length;
  PaintSkinScrollBar(&data, canvas.Canvas()->GetHandle(), POINT{0, 0}, SIZE{16, c.Length}, look);
  EXPECT_EQ(MapOf(&canvas, BarLegend), ExpectedBar(c));
}

const TBarCase BarCases[] = {
    {"at_rest", 80, 16, 30, 50, true, sbNone, false},
    {"disabled_shows_no_thumb", 80, 16, 30, 50, false, sbNone, false},
    {"thumb_pressed", 80, 16, 30, 50, true, sbThumb, true},
    {"thumb_hot", 80, 16, 30, 50, true, sbThumb, false},
    {"first_arrow_pressed", 80, 16, 30, 50, true, sbFirstArrow, true},
    {"second_arrow_hot", 80, 16, 30, 50, true, sbSecondArrow, false},
    {"thumb_too_short_for_the_grip", 80, 16, 30, 40, true, sbNone, false},
    {"short_bar_halves_the_arrows", 20, 16, 0, 0, true, sbNone, false},
    {"strip_far_from_the_system_thickness", 60, 12, 0, 0, true, sbNone, false},
    {"strip_near_the_system_thickness", 60, 15, 0, 0, true, sbNone, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, BarPainter, ::testing::ValuesIn(BarCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- combo boxes ----

TEST_F(ScrollComboSkin, ComboFramesFollowHoverFocusAndPress) {
  auto* onList = SkinnerOf<TSkinComBox>(list);
  auto* onDisabled = SkinnerOf<TSkinComBox>(disabled);
  ASSERT_NE(onList, nullptr);
  ASSERT_NE(onDisabled, nullptr);
  // The drop-down list carries its own bar skinner, kept by the combo's.
  ASSERT_NE(onList->DropScroll, nullptr);
  EXPECT_EQ(onList->DropScroll->WindowHandle, onList->ComboInfo.hwndList);
  EXPECT_EQ(SendMessageA(onList->ComboInfo.hwndList, SM_ISSKINNED, 0, 0), 1);

  // Hover over the button: the enabled combo shows it, the disabled one ignores it.
  for (TComboBox* c : {list, disabled}) {
    auto* s = SkinnerOf<TSkinComBox>(c);
    const RECT b = s->ButtonRect;
    SendMessageA(c->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2));
    EXPECT_EQ(s->Hot(), c == list) << c->GetName();
    SendMessageA(c->Handle(), CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(s->Hot());
  }
  EXPECT_EQ(onDisabled->StateFrame(), 3);

  // Focus alone, without the mouse, shows the focused frame; the frame's edge shows it on the screen.
  auto edge = [&](TComboBox* c) {
    TBitmap shot;
    CaptureWindow(c->Handle(), shot);
    return PixelAt(&shot, shot.GetWidth() / 3, 0);
  };
  editable->SetFocus();
  Pump();
  const COLORREF unfocused = edge(list);
  list->SetFocus();
  Pump();
  onList->PaintWindow(nullptr);
  EXPECT_EQ(onList->StateFrame(), 4);
  EXPECT_FALSE(onList->Hot());
  EXPECT_NE(edge(list), unfocused) << "the focused frame";
  EXPECT_EQ(edge(list), RGB(0x2E, 0x5C, 0xA0));
  editable->SetFocus();
  Pump();
  EXPECT_EQ(SkinnerOf<TSkinComBox>(editable)->StateFrame(), 4) << "the edit's focus is the combo's";
  EXPECT_EQ(onList->StateFrame(), 1);
  TBitmap shot;
  CaptureWindow(form->Handle(), shot);
  shot.SaveToFile(std::string(ORV_BUILD_DIR) + "skinned_combos.bmp");
}

TEST_F(ScrollComboSkin, CombosOpenAndPickWithMouseAndKeyboardAndKeepTypedText) {
  auto* s = SkinnerOf<TSkinComBox>(list);
  ASSERT_NE(s, nullptr);
  const HWND c = list->Handle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(c, &info));

  // The mouse: a press on the button opens the list, a click on an item picks it.
  list->SetFocus();
  Pump();
  const RECT b = info.rcButton;
  SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2));
  EXPECT_TRUE(s->Pressed());
  SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2));
  Pump();
  ASSERT_TRUE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(s->Pressed());
  const int top = int(SendMessageA(info.hwndList, LB_GETTOPINDEX, 0, 0));
  RECT item{};
  SendMessageA(info.hwndList, LB_GETITEMRECT, WPARAM(top + 3), LPARAM(&item));
  TBitmap shot;
  CaptureWindow(info.hwndList, shot);
  shot.SaveToFile(std::string(ORV_BUILD_DIR) + "skinned_combo_dropped.bmp");
  SendMessageA(info.hwndList, WM_MOUSEMOVE, 0, MAKELPARAM(item.left + 5, item.top + 3));
  SendMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.left + 5, item.top + 3));
  SendMessageA(info.hwndList, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 5, item.top + 3));
  Pump();
  EXPECT_FALSE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(list->GetItemIndex(), top + 3);
  EXPECT_EQ(listChanges, 1);

  // The keyboard: the next item, once.
  listChanges = 0;
  const int before = list->GetItemIndex();
  SendMessageA(c, WM_KEYDOWN, VK_DOWN, 1);
  SendMessageA(c, WM_KEYUP, VK_DOWN, LPARAM(0xC0000001));
  Pump();
  EXPECT_EQ(list->GetItemIndex(), before + 1);
  EXPECT_EQ(listChanges, 1);

  // An editable combo keeps what is typed, each key a change.
  editable->SetFocus();
  Pump();
  const HWND edit = GetWindow(editable->Handle(), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  for (char ch : std::string("abc")) SendMessageA(edit, WM_CHAR, WPARAM(ch), 1);
  Pump();
  EXPECT_EQ(editable->GetText(), "abc");
  EXPECT_EQ(editChanges, 3);
  editable->SetItemIndex(1);
  EXPECT_EQ(editable->GetText(), "two");
}

TEST_F(SkinEngine, RawCombosOfAPlainWindowAndASimpleCombosListGetTheirSkinners) {
  TMessageLog log;
  const HWND top = MakeRawWindow(&log, 320, 220);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const HWND dropDown = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 10, 10, 150,
                                        120, top, HMENU(1), instance, nullptr);
  const HWND simple = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_SIMPLE, 170, 10, 120,
                                      90, top, HMENU(2), instance, nullptr);
  for (HWND c : {dropDown, simple})
    for (int i = 0; i < 20; ++i) SendMessageA(c, CB_ADDSTRING, 0, LPARAM(("entry " + std::to_string(i)).c_str()));
  ShowWindow(top, SW_SHOW);
  ASSERT_TRUE(SkinWindowNow(top));
  TSkinnerForm* f = Manager().FindForm(top);
  ASSERT_NE(f, nullptr);
  auto* s = As<TSkinComBox>(f->FindControlByWindow(dropDown));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(f->FindControlByWindow(simple), nullptr) << "a raw simple combo keeps its own look";
  EXPECT_EQ(SendMessageA(dropDown, SM_ISSKINNED, 0, 0), 1);
  // Clicks in the edit show the pressed frame; what is typed stays.
  const HWND edit = GetWindow(dropDown, GW_CHILD);
  ASSERT_EQ(s->EditWindow, edit);
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(s->Pressed());
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(s->Pressed());
  for (char ch : std::string("xyz")) SendMessageA(edit, WM_CHAR, WPARAM(ch), 1);
  EXPECT_EQ(GetWindowTextAnsi(dropDown), "xyz");
  DestroyRawWindow(top);
  Pump();

  // A simple combo of ours: its list is a child window and gets overlays.
  TForm* form = nullptr;
  TComboBox* combo = FormWithCombo(form, 200, csSimple, 150, 120);
  for (int i = 0; i < 20; ++i) combo->AddItem("entry " + std::to_string(i));
  form->Show();
  ASSERT_TRUE(Manager().SkinWindow(form->Handle()));
  Finish(form->Handle());
  TSkinComBox* own = nullptr;
  for (TSkinControl* c : Manager().FindForm(form->Handle())->ControlSkinners())
    if (c->Control == combo) own = As<TSkinComBox>(c);
  ASSERT_NE(own, nullptr);
  ASSERT_NE(own->ListScroll, nullptr);
  const HWND list = own->ListScroll->WindowHandle;
  ASSERT_TRUE(own->ListScroll->VertBar->Shown);
  EXPECT_TRUE(SameRect(ScreenRect(own->ListScroll->VertBar->Handle()), ScreenBar(list, true)));
  EXPECT_EQ(own->DropScroll, nullptr);
  form->Free();
  Pump();
}

// Moves the cursor and then releases while the drop-down list's own drag loop runs (the loop reads
// the cursor, and dispatches what it does not handle itself).
struct TDragScript {
  HWND Window = nullptr;
  HWND List = nullptr;
  POINT To{};
};
TDragScript* CurrentScript = nullptr;
LRESULT CALLBACK ScriptProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_APP && CurrentScript) {
    SetCursorPos(CurrentScript->To.x, CurrentScript->To.y);
    PostMessageA(CurrentScript->List, WM_MOUSEMOVE, MK_LBUTTON, 0);
    PostMessageA(CurrentScript->List, WM_LBUTTONUP, 0, 0);
    return 0;
  }
  return DefWindowProcA(h, msg, w, l);
}

TEST_F(ScrollComboSkin, TheDropDownListsBarLeavesTheListOnAStillClickAndScrollsOnADrag) {
  const HWND c = list->Handle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(c, &info));
  list->SetFocus();
  SendMessageA(c, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  const HWND lb = info.hwndList;
  SendMessageA(lb, LB_SETTOPINDEX, 0, 0);
  const SCROLLBARINFO bar = BarInfo(lb);
  ASSERT_GT(bar.xyThumbBottom, bar.xyThumbTop);
  const POINT thumb{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                    bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};

  // Pressed and released without a move.
  SetCursorPos(thumb.x, thumb.y);
  PostMessageA(lb, WM_LBUTTONUP, 0, 0);
  SendMessageA(lb, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
  Pump();
  EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 0);

  // Dragged down by a third of the bar.
  WNDCLASSA wc{};
  wc.lpfnWndProc = ScriptProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "OrvDragScript";
  RegisterClassA(&wc);
  TDragScript script;
  script.Window = CreateWindowExA(0, "OrvDragScript", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  script.List = lb;
  script.To = POINT{thumb.x, thumb.y + (bar.rcScrollBar.bottom - bar.rcScrollBar.top) / 3};
  CurrentScript = &script;
  SetCursorPos(thumb.x, thumb.y);
  PostMessageA(script.Window, WM_APP, 0, 0);
  SendMessageA(lb, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
  Pump();
  CurrentScript = nullptr;
  DestroyWindow(script.Window);
  EXPECT_GT(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 0);
  SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
}

// A hidden combo box makes its window only when shown, after its form was skinned: it gets its skinner
// then, once, and one whose window is made again later keeps that one skinner.
TEST_F(SkinEngine, AComboShownAfterItsFormWasSkinnedGetsOneSkinner) {
  TForm* form = nullptr;
  TComboBox* combo = FormWithCombo(form, 120, csDropDownList, 140, 21);
  combo->SetItems({"one", "two"});
  combo->SetItemIndex(1);
  combo->SetVisible(false);
  ASSERT_TRUE(ShowSkinned(form));
  auto skinners = [&] {
    std::vector<TSkinControl*> found;
    for (TSkinControl* c : Manager().FindForm(form->Handle())->ControlSkinners())
      if (c->Control == combo) found.push_back(c);
    return found;
  };
  EXPECT_FALSE(combo->HandleAllocated());
  EXPECT_TRUE(skinners().empty());

  combo->SetVisible(true);
  Pump();
  ASSERT_TRUE(combo->HandleAllocated());
  ASSERT_EQ(skinners().size(), 1u);
  auto* skinner = As<TSkinComBox>(skinners()[0]);
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->WindowHandle, combo->Handle());
  EXPECT_EQ(combo->GetText(), "two");

  combo->SetStyle(csDropDown);  // the window is made again
  Pump();
  EXPECT_EQ(skinners().size(), 1u);
  form->Free();
  Pump();
}

// ---- date-time pickers ----

TEST_F(SkinEngine, ADateTimePickerWearsAFrameAndASkinnedButtonThatOpensIt) {
  data->SetSkin3rd({"TTestDateTimePicker=datetimepicker"});
  auto* form = new TForm(nullptr);
  form->SetBounds(60, 60, 240, 120);
  auto* picker = new TTestDateTimePicker(form);
  picker->SetParent(form);
  picker->SetBounds(10, 10, 140, 22);
  ASSERT_TRUE(ShowSkinned(form));
  TSkinDateTime* s = nullptr;
  for (TSkinControl* c : Manager().FindForm(form->Handle())->ControlSkinners())
    if (c->Control == picker) s = As<TSkinDateTime>(c);
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->Arrow, nullptr);
  const HWND p = picker->Handle(), arrow = s->Arrow->Handle();
  EXPECT_EQ(GetParent(arrow), p);
  EXPECT_TRUE(GetWindowLongA(p, GWL_STYLE) & WS_CLIPCHILDREN) << "the picker does not paint over the button";
  EXPECT_EQ(s->Arrow->GetLeft(), picker->GetWidth() - s->Arrow->ArrowWidth - 4);
  EXPECT_EQ(s->Arrow->GetHeight(), picker->GetHeight() - 4);
  EXPECT_FALSE(GetWindowLongA(arrow, GWL_STYLE) & WS_TABSTOP);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Pump();
  TBitmap shot;
  CaptureWindow(form->Handle(), shot);
  shot.SaveToFile(std::string(ORV_BUILD_DIR) + "skinned_datetimepicker.bmp");

  // A press on the button reaches the picker as a press and release at the same place of its own.
  std::vector<std::pair<UINT, LPARAM>> presses;
  TWindowProcHook watch;
  watch.Install(picker, [&](TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP) presses.push_back({m.Msg, m.LParam});
    if (m.Msg == WM_LBUTTONDOWN) {
      m.Result = 0;  // the calendar itself is the system's business
      return;
    }
    watch.CallSaved(m);
  });
  SendMessageA(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageA(arrow, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  Pump();
  const LPARAM at = MAKELPARAM(s->Arrow->GetLeft() + 3, s->Arrow->GetTop() + 4);
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_EQ(presses[0], std::make_pair(UINT(WM_LBUTTONDOWN), at));
  EXPECT_EQ(presses[1], std::make_pair(UINT(WM_LBUTTONUP), at));
  EXPECT_EQ(GetFocus(), p);
  watch.Remove();
  form->Free();
  Pump();
}

}  // namespace
