// The skinners of track bars, up-downs, progress bars and edits: the track bar's answers to each
// custom-draw stage and the parts it draws, the channel and progress pictures drawn as character maps,
// the up-down's frames (a spin edit's arrows found on its first paint, disabled and pressed halves, the
// arrows still stepping the value), the edit's frame only where the edit has a border, the private
// paint messages, and which of these skinners each kind of control gets.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "FcSpnEdt.h"
#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinTestKit.h"
#include "SkinnerControl.h"
#include "SkinnerDispatch.h"
#include "SkinnerEdit.h"
#include "SkinnerTrackBar.h"
#include "StdCtrls.h"

// The up-down of the platform's common controls under the class name the dispatch knows; the program
// itself uses spin edits only.
class TUpDown : public TWinControl {
  ORV_CLASS(TUpDown)
public:
  using TWinControl::TWinControl;

protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASSA);
  }
};
ORV_DEFINE_CLASS(TUpDown, TWinControl, FactoryOf<TUpDown>(), {})
// A slider of another vendor that the skin data's Skin3rd rows may name.
class TVendorSlider : public TTrackBar {
  ORV_CLASS(TVendorSlider)
public:
  using TTrackBar::TTrackBar;
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v) { FTransparent = v; }

private:
  bool FTransparent = false;
};
ORV_DEFINE_CLASS(TVendorSlider, TTrackBar, FactoryOf<TVendorSlider>(),
                 {BoolProp<TVendorSlider>("Transparent", &TVendorSlider::GetTransparent, &TVendorSlider::SetTransparent)})

namespace {

using namespace skintest;

// Every frame of a test image has its own colour.
TColor FrameColour(int frame) { return TColor(RGB(20 * frame, 220 - 20 * frame, 60 + frame)); }
void UseFrames(TBitmap* image, int frames, int w, int h) {
  image->SetPixelFormat(pf24bit);
  image->SetSize(w * frames, h);
  for (int i = 0; i < frames; ++i)
    FillRectColor(image->Canvas()->GetHandle(), RECT{w * i, 0, w * i + w, h}, FrameColour(i + 1));
}

RECT WindowRectOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

// A form of ours with the controls of a test, skinned by the test's engine.
class SkinnedForm : public SkinEngine {
protected:
  TForm* form = nullptr;

  void SetUp() override {
    SkinEngine::SetUp();
    SetCursorPos(0, 0);
    form = new TForm(nullptr);
    form->SetBounds(60, 60, 320, 200);
    form->SetCaption("Bars and edits");
  }
  void TearDown() override {
    form->Free();
    PumpMessagesUntil([] { return true; });
    SkinEngine::TearDown();
  }
  template <class T>
  T* Put(int left, int top, int width, int height) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(left, top, width, height);
    return c;
  }
  void Skin() {
    ASSERT_TRUE(ShowSkinnedInFront(form));
  }
  TSkinnerForm* FormSkinner() { return Manager().FindForm(form->Handle()); }
  TSkinControl* SkinnerOf(TControl* c) { return ::SkinnerOf(FormSkinner(), c); }
};

// ---- track bar ----

class TrackBarSkin : public SkinnedForm {
protected:
  TTrackBar* bar = nullptr;
  const TColor channelColour = TColor(RGB(0, 160, 80));

  void SetUp() override {
    SkinnedForm::SetUp();
    UseFrames(data->TrackThumbHorz->Bitmap, 5, 11, 18);
    UseFrames(data->Track->Bitmap, 1, 12, 4);
    FillRectColor(data->Track->Bitmap->Canvas()->GetHandle(), RECT{0, 0, 12, 4}, channelColour);
    bar = Put<TTrackBar>(10, 10, 200, 40);
    bar->SetMax(10);
    bar->SetPosition(3);
    Skin();
  }
  RECT ThumbRect() {
    RECT t{};
    SendMessageA(bar->Handle(), TBM_GETTHUMBRECT, 0, LPARAM(&t));
    return t;
  }
  RECT ChannelRect() {
    RECT c{};
    SendMessageA(bar->Handle(), TBM_GETCHANNELRECT, 0, LPARAM(&c));
    return c;
  }
  static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

struct TDrawCase {
  const char* Name;
  DWORD Stage;
  DWORD_PTR Item;
  LRESULT Answer;
  bool Thumb, Channel;  // the skinner drew it
};
const TDrawCase DrawCases[] = {
    {"prepaint asks for the parts", CDDS_PREPAINT, 0, CDRF_NOTIFYITEMDRAW, false, false},
    {"tics are the control's", CDDS_ITEMPREPAINT, TBCD_TICS, CDRF_DODEFAULT, false, false},
    {"thumb drawn and skipped", CDDS_ITEMPREPAINT, TBCD_THUMB, CDRF_SKIPDEFAULT, true, false},
    {"channel drawn and skipped", CDDS_ITEMPREPAINT, TBCD_CHANNEL, CDRF_SKIPDEFAULT, false, true},
    {"postpaint", CDDS_POSTPAINT, 0, CDRF_DODEFAULT, false, false},
    {"preerase", CDDS_PREERASE, 0, CDRF_DODEFAULT, false, false},
    {"thumb after drawing", CDDS_ITEMPOSTPAINT, TBCD_THUMB, CDRF_DODEFAULT, false, false},
    {"unknown part", CDDS_ITEMPREPAINT, 7, CDRF_DODEFAULT, false, false},
};

TEST_F(TrackBarSkin, CustomDrawAnswersEachStageAndDrawsTheThumbAndChannel) {
  ASSERT_EQ(SkinnerOf(bar)->ClassName(), "TSkinTrackBar");
  EXPECT_EQ(bar->GetColor(), data->ButtonFace) << "no box of another colour around the bar";
  const RECT thumb = ThumbRect(), channel = ChannelRect();
  // A thumb pixel off the channel, which runs under the thumb.
  const POINT thumbPoint{(thumb.left + thumb.right) / 2, thumb.bottom - 2};
  ASSERT_GE(thumbPoint.y, channel.bottom);
  // A channel pixel away from the thumb.
  const POINT channelPoint{channel.right - 3, (channel.top + channel.bottom) / 2};
  ASSERT_GT(channelPoint.x, thumb.right);
  const COLORREF blank = RGB(1, 2, 3);
  for (UINT msg : {UINT(WM_NOTIFY), CN_NOTIFY})
    for (const TDrawCase& c : DrawCases) {
      SCOPED_TRACE(std::string(c.Name) + (msg == WM_NOTIFY ? " (WM_NOTIFY)" : " (CN_NOTIFY)"));
      TBitmap canvas;
      canvas.SetPixelFormat(pf24bit);
      canvas.SetSize(bar->GetWidth(), bar->GetHeight());
      FillRectColor(canvas.Canvas()->GetHandle(), RECT{0, 0, bar->GetWidth(), bar->GetHeight()}, TColor(blank));
      NMCUSTOMDRAW cd{};
      cd.hdr = NMHDR{bar->Handle(), 0, UINT(NM_CUSTOMDRAW)};
      cd.dwDrawStage = c.Stage;
      cd.hdc = canvas.Canvas()->GetHandle();
      cd.dwItemSpec = c.Item;
      EXPECT_EQ(bar->Perform(msg, 0, LPARAM(&cd)), c.Answer);
      EXPECT_EQ(PixelAt(&canvas, thumbPoint.x, thumbPoint.y), c.Thumb ? ColorToRGB(FrameColour(2)) : blank)
          << "the thumb is frame 2 of 5";
      EXPECT_EQ(PixelAt(&canvas, channelPoint.x, channelPoint.y), c.Channel ? ColorToRGB(channelColour) : blank);
    }
  // Custom drawing of another window (a tool tip of the bar) is not the skinner's.
  NMCUSTOMDRAW other{};
  other.hdr = NMHDR{form->Handle(), 0, UINT(NM_CUSTOMDRAW)};
  other.dwDrawStage = CDDS_PREPAINT;
  EXPECT_NE(bar->Perform(CN_NOTIFY, 0, LPARAM(&other)), CDRF_NOTIFYITEMDRAW);
  // The engine's own notice (lParam 16802) is no header and passes on.
  EXPECT_EQ(bar->Perform(CN_NOTIFY, 0, SkinNoticeParam), 0);
}

TEST_F(TrackBarSkin, TheControlsOwnPaintShowsTheSkinsThumbAndChannelAndKeepsItsTicks) {
  RedrawAll(bar->Handle());
  TBitmap shot;
  CaptureWindow(bar->Handle(), shot);
  // The capture is of the window; the rectangles are client ones (no border, so the same).
  const POINT t = Centre(ThumbRect());
  const RECT c = ChannelRect();
  EXPECT_EQ(PixelAt(&shot, t.x, t.y), ColorToRGB(FrameColour(2)));
  EXPECT_EQ(PixelAt(&shot, c.right - 3, (c.top + c.bottom) / 2), ColorToRGB(channelColour));
  // Tick marks below the thumb, drawn by the control: darker than the background there.
  const COLORREF background = PixelAt(&shot, 1, shot.GetHeight() - 2);
  int ticks = 0;
  for (int x = 0; x < shot.GetWidth(); ++x)
    for (int y = ThumbRect().bottom; y < shot.GetHeight(); ++y)
      ticks += GetGValue(PixelAt(&shot, x, y)) + 40 < GetGValue(background);
  EXPECT_GT(ticks, 0);

  // Keyboard and mouse still move it.
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  SendMessageA(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
  SendMessageA(bar->Handle(), WM_KEYUP, VK_RIGHT, 0xC0000001);
  EXPECT_EQ(bar->GetPosition(), 4);
  const RECT ch = ChannelRect();
  const LPARAM end = MAKELPARAM(ch.right - 2, (ch.top + ch.bottom) / 2);
  SendMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, end);
  SendMessageA(bar->Handle(), WM_LBUTTONUP, 0, end);
  PumpMessagesUntil([] { return true; });
  EXPECT_GT(bar->GetPosition(), 4) << "a click on the channel pages towards it";
  EXPECT_GE(changes, 2);
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_track_bar.bmp");
}

// Taking a new skin repaints the bar without moving the focus (the focus handlers of other controls
// would run, and an inactive window would come to the front).
TEST_F(TrackBarSkin, ASkinChangeRepaintsWithoutMovingTheFocus) {
  auto* edit = Put<TEdit>(10, 80, 100, 21);
  edit->SetFocus();
  int exits = 0;
  edit->OnExit = [&](TObject*) { ++exits; };
  HWND focused = GetFocus();
  ASSERT_EQ(focused, edit->Handle());
  FillRectColor(data->TrackThumbHorz->Bitmap->Canvas()->GetHandle(), RECT{11, 0, 22, 18}, TColor(RGB(250, 0, 0)));
  SkinnerOf(bar)->SkinChanged();
  PumpMessagesUntil([] { return true; });
  EXPECT_EQ(GetFocus(), focused);
  EXPECT_EQ(exits, 0);
  TBitmap shot;
  CaptureWindow(bar->Handle(), shot);
  const POINT t = Centre(ThumbRect());
  EXPECT_EQ(PixelAt(&shot, t.x, t.y), RGB(250, 0, 0)) << "drawn again from the skin";
}

// ---- channel pictures ----

struct TChannelCase {
  const char* Name;
  bool Vertical;
  bool UseTrackVert;        // the vertical image is present
  TCharMap Image;           // l/m/r columns across, t/m/b rows upright
  TSkinMargins Margins;
  RECT Reported;            // as the control reports it
  TCharMap Expected;
};
const TLegend ChannelLegend = {{'.', TColor(RGB(255, 255, 255))}, {'l', TColor(RGB(200, 0, 0))},
                               {'m', TColor(RGB(0, 200, 0))},     {'r', TColor(RGB(0, 0, 200))},
                               {'t', TColor(RGB(200, 200, 0))},   {'b', TColor(RGB(0, 200, 200))}};
const TChannelCase ChannelCases[] = {
    {"across, an image lower than the channel is centred in it",
     false,
     false,
     {"lmmmmr", "lmmmmr"},
     {1, 0, 1, 0},
     {2, 1, 12, 7},
     {"..............", "..............", "..............", "..lmmmmmmmmr..", "..lmmmmmmmmr..", "..............",
      "..............", ".............."}},
    {"across, an image higher than the channel starts at its top",
     false,
     false,
     {"lmmr", "lmmr", "lmmr", "lmmr"},
     {1, 0, 1, 0},
     {1, 1, 7, 3},
     {"........", ".lmmmmr.", ".lmmmmr.", ".lmmmmr.", ".lmmmmr.", "........"}},
    {"upright, an image narrower than the channel is centred across it",
     true,
     true,
     {"tt", "mm", "mm", "mm", "mm", "bb"},
     {0, 1, 0, 1},
     {1, 2, 11, 8},  // x and y exchanged: the channel is x 2..8, y 1..11
     {"..........", "....tt....", "....mm....", "....mm....", "....mm....", "....mm....", "....mm....",
      "....mm....", "....mm....", "....mm....", "....bb....", ".........."}},
    {"upright without its image nothing is drawn", true, false, {"tt", "mm", "bb"}, {0, 1, 0, 1}, {1, 2, 11, 8},
     {"..........", "..........", "..........", "..........", "..........", "..........", "..........",
      "..........", "..........", "..........", "..........", ".........."}},
};

class ChannelPictures : public SkinEngine, public ::testing::WithParamInterface<TChannelCase> {};

TEST_P(ChannelPictures, SitWhereTheControlReportsTheChannel) {
  const TChannelCase& c = GetParam();
  TDataSkinObject* e = c.Vertical ? data->TrackVert : data->Track;
  e->Bitmap->Assign(BitmapFromMap(c.Image, ChannelLegend).get());
  e->Margins = c.Margins;
  if (c.Vertical && !c.UseTrackVert) {
    data->TrackVert->Bitmap->SetSize(0, 0);
    data->Track->Bitmap->SetSize(0, 0);  // the across image would take its place
  }
  auto target = BitmapFromMap(TCharMap(c.Expected.size(), std::string(c.Expected[0].size(), '.')), ChannelLegend);
  DrawTrackChannel(data, target->Canvas()->GetHandle(), c.Reported, c.Vertical);
  EXPECT_EQ(MapOf(target.get(), ChannelLegend), c.Expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, ChannelPictures, ::testing::ValuesIn(ChannelCases), CaseName());

// ---- progress pictures ----

struct TProgressCase {
  const char* Name;
  int Style;
  bool Vertical;
  int Position, High;
  int Width, Height;
  TCharMap Expected;
};
// Frame 1 (the trough) is 'a', frame 2 (the bar) 'b'; the chunk is "cmc" (its middle pixel
// transparent) over two rows.
const TLegend ProgressLegend = {{'a', TColor(RGB(230, 230, 230))}, {'b', TColor(RGB(250, 150, 0))},
                                {'c', TColor(RGB(0, 90, 200))},    {'m', TColor(0xFF00FF)},
                                {'f', TColor(RGB(228, 232, 238))}};
const TProgressCase ProgressCases[] = {
    {"at position 0 only the trough", 0, false, 0, 100, 8, 2, {"aaaaaaaa", "aaaaaaaa"}},
    {"with a high limit of 0 only the trough", 0, false, 50, 0, 8, 2, {"aaaaaaaa", "aaaaaaaa"}},
    {"half way", 0, false, 50, 100, 8, 2, {"bbbbaaaa", "bbbbaaaa"}},
    {"full", 0, false, 10, 10, 8, 2, {"bbbbbbbb", "bbbbbbbb"}},
    {"upright half way fills the lower half", 0, true, 50, 100, 2, 6, {"aa", "aa", "aa", "bb", "bb", "bb"}},
    {"chunks side by side from two pixels in", 1, false, 50, 100, 12, 4,
     {"aaaaaaaaaaaa", "aacaccacaaaa", "aacaccacaaaa", "aaaaaaaaaaaa"}},
    {"chunks at position 0 leave the trough", 1, false, 0, 100, 12, 4,
     {"aaaaaaaaaaaa", "aaaaaaaaaaaa", "aaaaaaaaaaaa", "aaaaaaaaaaaa"}},
};

class ProgressPictures : public SkinEngine, public ::testing::WithParamInterface<TProgressCase> {};

TEST_P(ProgressPictures, FillTheirShareOfTheBar) {
  const TProgressCase& c = GetParam();
  TDataSkinBorder* p = data->Progress;
  ASSERT_NE(p, nullptr);
  p->Style = c.Style;
  p->Margins = TSkinMargins{};
  p->Tile = 0;
  if (c.Style == 1) {
    p->FrameCount = 1;
    p->Bitmap->Assign(BitmapFromMap({"aa", "aa"}, ProgressLegend).get());
    ASSERT_NE(data->ProgressChunk, nullptr);
    data->ProgressChunk->Bitmap->Assign(BitmapFromMap({"cmc", "cmc"}, ProgressLegend).get());
    data->ProgressChunk->Tile = 1;
    data->ProgressChunk->Margins = TSkinMargins{};
  } else {
    p->FrameCount = 2;
    p->Bitmap->Assign(BitmapFromMap({"aabb", "aabb"}, ProgressLegend).get());
  }
  auto target = BitmapFromMap(TCharMap(size_t(c.Height), std::string(size_t(c.Width), 'f')), ProgressLegend);
  DrawProgressBar(data, target->Canvas()->GetHandle(), RECT{0, 0, c.Width, c.Height}, c.Position, c.High, c.Vertical);
  EXPECT_EQ(MapOf(target.get(), ProgressLegend), c.Expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, ProgressPictures, ::testing::ValuesIn(ProgressCases), CaseName());

// A progress bar window of that class name, as a window without an object of ours, is painted by the
// skinner.
TEST_F(SkinEngine, ARawProgressBarIsPaintedFromTheSkin) {
  WNDCLASSA pc{};
  ASSERT_TRUE(GetClassInfoA(nullptr, PROGRESS_CLASSA, &pc));
  pc.lpszClassName = "TProgressBar";
  pc.hInstance = GetModuleHandleA(nullptr);
  RegisterClassA(&pc);
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 260, 120, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND bar = CreateWindowExA(0, "TProgressBar", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(bar, nullptr);
  SendMessageA(bar, PBM_SETRANGE32, 0, 100);
  SendMessageA(bar, PBM_SETPOS, 50, 0);
  ASSERT_TRUE(SkinWindowNow(parent));
  TSkinControl* s = Manager().FindForm(parent)->FindControlByWindow(bar);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinProgress");
  UseFrames(data->Progress->Bitmap, 2, 16, 14);
  data->Progress->Style = 0;
  data->Progress->FrameCount = 2;
  data->Progress->Margins = TSkinMargins{};
  RedrawAll(bar);
  TBitmap shot;
  CaptureWindow(bar, shot);
  EXPECT_EQ(PixelAt(&shot, 50, 10), ColorToRGB(FrameColour(2))) << "the filled half";
  EXPECT_EQ(PixelAt(&shot, 150, 10), ColorToRGB(FrameColour(1))) << "the trough";
  DestroyRawWindow(parent);
}

// ---- up-downs ----

TEST(UpDownFrames, FollowDirectionAndState) {
  struct TCase {
    int Direction, State, Frame;
  };
  const TCase cases[] = {{0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {1, 1, 5}, {1, 2, 6}, {1, 3, 7},
                         {2, 1, 1}, {2, 2, 2}, {2, 3, 3}, {3, 1, 5}, {3, 2, 6}, {3, 3, 7}};
  for (const TCase& c : cases) EXPECT_EQ(UpDownFrame(c.Direction, c.State), c.Frame) << c.Direction << " " << c.State;
}

class SpinEditSkin : public SkinnedForm {
protected:
  TFcSpinEdit* spin = nullptr;

  void SetUp() override {
    SkinnedForm::SetUp();
    spin = Put<TFcSpinEdit>(20, 20, 80, 21);
    spin->SetMax(100);
    spin->SetIncrement(2);
    spin->SetValue(10);
    // A press held while the test looks at the screen steps once, not again on repeat.
    spin->Buttons()->SetInitialDelay(60000);
  }
  HWND Arrows() { return spin->Buttons()->Handle(); }
  TSkinUpDown* ArrowSkinner() { return dynamic_cast<TSkinUpDown*>(FormSkinner()->FindControlByWindow(Arrows())); }
  // The colour at the middle of the upper or lower half of the arrows, as the screen shows it.
  COLORREF HalfColour(bool lower) {
    TBitmap shot;
    CaptureWindow(Arrows(), shot);
    const int h = shot.GetHeight();
    return PixelAt(&shot, shot.GetWidth() / 2, lower ? 3 * h / 4 : h / 4);
  }
  void Click(bool lower) {
    const RECT r = WindowRectOf(Arrows());
    const int y = lower ? 3 * (r.bottom - r.top) / 4 : (r.bottom - r.top) / 4;
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, y);
    SetCursorPos(r.left + (r.right - r.left) / 2, r.top + y);
    SendMessageA(Arrows(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PumpMessagesUntil([] { return true; });  // what was drawn reaches the screen
    pressedColour = HalfColour(lower);
    SendMessageA(Arrows(), WM_LBUTTONUP, 0, at);
    PumpMessagesUntil([] { return true; });
  }
  COLORREF pressedColour = 0;
};

TEST_F(SpinEditSkin, TheArrowsAreFoundOnTheFirstPaintAndShowEachStatesFrame) {
  ASSERT_EQ(data->UpDownVert, nullptr);
  data->UpDownVert = new TDataSkinBorder("UpDown.Vert");  // the skin data frees it
  data->UpDownVert->FrameCount = 8;
  UseFrames(data->UpDownVert->Bitmap, 8, 9, 8);
  Skin();
  auto* edit = dynamic_cast<TSkinEdit*>(SkinnerOf(spin));
  ASSERT_NE(edit, nullptr);
  TSkinUpDown* arrows = ArrowSkinner();
  ASSERT_NE(arrows, nullptr) << "the spin-button child got its skinner";
  EXPECT_EQ(edit->SpinButtons, arrows);
  EXPECT_TRUE(arrows->InEdit);
  EXPECT_EQ(arrows->Owner(), spin) << "owned by the edit control";
  EXPECT_EQ(SendMessageA(Arrows(), SM_ISSKINNED, 0, 0), 1);

  // Disabled: frame 3 above, frame 7 below.
  spin->SetEnabled(false);
  RedrawAll(form->Handle());
  EXPECT_EQ(HalfColour(false), ColorToRGB(FrameColour(3)));
  EXPECT_EQ(HalfColour(true), ColorToRGB(FrameColour(7)));
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_spin_disabled.bmp");

  // Enabled: frames 1 and 5; a press shows the pressed frame of its half, and the arrows step.
  spin->SetEnabled(true);
  RedrawAll(form->Handle());
  EXPECT_EQ(HalfColour(false), ColorToRGB(FrameColour(1)));
  EXPECT_EQ(HalfColour(true), ColorToRGB(FrameColour(5)));
  Click(false);
  EXPECT_EQ(pressedColour, ColorToRGB(FrameColour(2)));
  EXPECT_EQ(spin->GetIntValue(), 12);
  Click(true);
  EXPECT_EQ(pressedColour, ColorToRGB(FrameColour(6)));
  EXPECT_EQ(spin->GetIntValue(), 10);
  EXPECT_EQ(HalfColour(true), ColorToRGB(FrameColour(5))) << "released";
}

TEST_F(SpinEditSkin, WithoutTheSkinsImageTheHalvesAreFramedRectangles) {
  ASSERT_EQ(data->UpDownVert, nullptr) << "the program's skin has no up-down image";
  Skin();
  ASSERT_NE(ArrowSkinner(), nullptr);
  TBitmap shot;
  CaptureWindow(Arrows(), shot);
  // Kept 3 pixels inside the edit's window: the arrows' window sits 2 pixels in, so one row and
  // column of white, then the dark frame of the upper half.
  EXPECT_EQ(PixelAt(&shot, 2, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(&shot, 2, 1), ColorToRGB(data->ButtonDkShadow));
  EXPECT_EQ(PixelAt(&shot, 3, 3), ColorToRGB(data->ButtonFace));
  Click(false);
  EXPECT_EQ(spin->GetIntValue(), 12);
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_spin_edit.bmp");
}

TEST_F(SpinEditSkin, ArrowsSideBySideAreDrawnLeftAndRight) {
  spin->SetOrientation(orHorizontal);
  Skin();
  TSkinUpDown* arrows = ArrowSkinner();
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(arrows->Horizontal, 1);
  EXPECT_TRUE(arrows->HorizontalLayout());
}

// ---- edits ----

struct TEditCase {
  const char* Name;
  DWORD Style, ExStyle;
  bool Framed;
};
const TEditCase EditCases[] = {
    {"sunken edge", 0, WS_EX_CLIENTEDGE, true},
    // The edit control draws a thin border inside its client area itself: no frame over it.
    {"thin border of its own", WS_BORDER, 0, false},
    {"no border", 0, 0, false},
};

class RawEdits : public SkinEngine, public ::testing::WithParamInterface<TEditCase> {};

TEST_P(RawEdits, GetTheFrameOnlyWithABorder) {
  const TEditCase& c = GetParam();
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 240, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND edit = CreateWindowExA(c.ExStyle, "Edit", "Text", WS_CHILD | WS_VISIBLE | c.Style, 10, 10, 120, 24, parent,
                              HMENU(101), GetModuleHandleA(nullptr), nullptr);
  RedrawAll(parent);
  TBitmap before, after;
  CaptureWindow(edit, before);
  ASSERT_TRUE(SkinWindowNow(parent));
  TSkinControl* s = Manager().FindForm(parent)->FindControlByWindow(edit);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinEdit");
  RedrawAll(edit);
  CaptureWindow(edit, after);
  if (c.Framed) {
    EXPECT_EQ(PixelAt(&after, 0, 0), ColorToRGB(data->ButtonShadow));
    EXPECT_EQ(PixelAt(&after, 119, 23), ColorToRGB(data->ButtonShadow));
    EXPECT_EQ(PixelAt(&after, 1, 5), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(&after, 2, 5), RGB(255, 255, 255));
  } else {
    for (int y = 0; y < after.GetHeight(); ++y)
      for (int x = 0; x < after.GetWidth(); ++x) ASSERT_EQ(PixelAt(&after, x, y), PixelAt(&before, x, y)) << x << "," << y;
  }
  DestroyRawWindow(parent);
}
INSTANTIATE_TEST_SUITE_P(Cases, RawEdits, ::testing::ValuesIn(EditCases), CaseName());

TEST_F(SkinnedForm, AnEditPaintsIntoAGivenDCAndTheFormPaintsItsFrame) {
  auto* edit = Put<TEdit>(10, 10, 140, 24);
  edit->SetText("Hello");
  Skin();
  ASSERT_EQ(SkinnerOf(edit)->ClassName(), "TSkinEdit");
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(140, 24);
  auto inked = [&] {
    int n = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 140; ++x) n += GetRValue(PixelAt(&target, x, y)) < 100;
    return n;
  };
  FillRectColor(target.Canvas()->GetHandle(), RECT{0, 0, 140, 24}, clWhite);
  EXPECT_EQ(SendMessageA(edit->Handle(), SM_PAINTEDITTO, WPARAM(target.Canvas()->GetHandle()), SkinNoticeParam),
            SkinNoticeParam);
  EXPECT_GT(inked(), 0) << "the text went into the DC";
  RECT clip;
  GetClipBox(target.Canvas()->GetHandle(), &clip);
  EXPECT_EQ(clip.right - clip.left, 140) << "the DC comes back as it was given";
  EXPECT_EQ(clip.bottom - clip.top, 24);
  FillRectColor(target.Canvas()->GetHandle(), RECT{0, 0, 140, 24}, clWhite);
  EXPECT_NE(SendMessageA(edit->Handle(), SM_PAINTEDITTO, WPARAM(target.Canvas()->GetHandle()), 0), SkinNoticeParam);
  EXPECT_EQ(inked(), 0) << "only with the engine's mark";
  EXPECT_EQ(SendMessageA(edit->Handle(), SM_PAINTEDITTO, 0, SkinNoticeParam), SkinNoticeParam) << "no DC: nothing drawn";
  EXPECT_EQ(SendMessageA(form->Handle(), SM_PAINTFRAMETO, WPARAM(target.Canvas()->GetHandle()), SkinNoticeParam),
            SkinNoticeParam);

  // Printed: the outer ring in the shadow colour, the inner one in the brush the printer selected.
  const COLORREF printBrush = RGB(10, 200, 30);
  HBRUSH brush = CreateSolidBrush(printBrush);
  HDC pdc = target.Canvas()->GetHandle();
  HGDIOBJ oldBrush = SelectObject(pdc, brush);
  SendMessageA(edit->Handle(), WM_PRINT, WPARAM(pdc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  SelectObject(pdc, oldBrush);
  DeleteObject(brush);
  EXPECT_EQ(PixelAt(&target, 0, 0), ColorToRGB(data->ButtonShadow));
  EXPECT_EQ(PixelAt(&target, 139, 12), ColorToRGB(data->ButtonShadow));
  EXPECT_EQ(PixelAt(&target, 1, 12), printBrush);
  EXPECT_EQ(PixelAt(&target, 70, 22), printBrush);

  // Typing still reaches the edit, and its frame stays after focus changes.
  edit->SetFocus();
  SendMessageA(edit->Handle(), WM_CHAR, '!', 1);
  EXPECT_EQ(edit->GetText(), "!Hello");
  form->SetFocus();
  RedrawAll(form->Handle());
  TBitmap shot;
  CaptureWindow(edit->Handle(), shot);
  EXPECT_EQ(PixelAt(&shot, 0, 0), ColorToRGB(data->ButtonShadow));
}

// ---- which skinner ----

struct TDispatchCase {
  const char* Name;
  std::function<TControl*(TForm*)> Make;
  std::function<void(TSkinData&)> Setup;  // may be empty
  const char* Skinner;
};

template <class T>
T* Place(TForm* f) {
  auto* c = new T(f);
  c->SetParent(f);
  c->SetBounds(10, 10, 120, 28);
  return c;
}

const TDispatchCase DispatchCases[] = {
    {"track bar", Place<TTrackBar>, nullptr, "TSkinTrackBar"},
    {"track bar without xcTrackBar", Place<TTrackBar>,
     [](TSkinData& d) { d.SetSkinControls(d.GetSkinControls() & ~Bit(xcTrackBar)); }, ""},
    {"Skin3rd trackbar", Place<TVendorSlider>, [](TSkinData& d) { d.SetSkin3rd({"TVendorSlider=trackbar"}); },
     "TSkinTrackBar"},
    {"Skin3rd trackbar without xcButton", Place<TVendorSlider>,
     [](TSkinData& d) {
       d.SetSkin3rd({"TVendorSlider=trackbar"});
       d.SetSkinControls(d.GetSkinControls() & ~Bit(xcButton));
     },
     ""},
    {"up-down", Place<TUpDown>, nullptr, "TSkinUpDown"},
    {"up-down without xcSpin", Place<TUpDown>, [](TSkinData& d) { d.SetSkinControls(d.GetSkinControls() & ~Bit(xcSpin)); },
     ""},
    {"Skin3rd progress", Place<TVendorSlider>, [](TSkinData& d) { d.SetSkin3rd({"TVendorSlider=progress"}); },
     "TSkinProgress"},
    {"Skin3rd progress without xcProgress", Place<TVendorSlider>,
     [](TSkinData& d) {
       d.SetSkin3rd({"TVendorSlider=progress"});
       d.SetSkinControls(d.GetSkinControls() & ~Bit(xcProgress));
     },
     ""},
    {"edit", Place<TEdit>, nullptr, "TSkinEdit"},
    {"spin edit", Place<TFcSpinEdit>, nullptr, "TSkinEdit"},
    {"edit without xcEdit", Place<TEdit>, [](TSkinData& d) { d.SetSkinControls(d.GetSkinControls() & ~Bit(xcEdit)); },
     ""},
    {"Skin3rd edit with a border", Place<TEdit>, [](TSkinData& d) { d.SetSkin3rd({"TEdit=edit"}); }, "TSkinEdit"},
};

class FamilyDispatch : public SkinEngine, public ::testing::WithParamInterface<TDispatchCase> {};

TEST_P(FamilyDispatch, ChoosesTheSkinnerOfTheTables) {
  const TDispatchCase& c = GetParam();
  if (c.Setup) c.Setup(*data);
  auto* f = NewTestForm();
  TControl* control = c.Make(f);
  ASSERT_TRUE(ShowSkinned(f));
  EXPECT_EQ(PlannedSkinner(data, control), c.Skinner);
  TSkinControl* s = SkinnerOf(Manager().FindForm(f->Handle()), control);
  EXPECT_EQ(s ? s->ClassName() : std::string(), c.Skinner);
  if (auto* slider = As<TVendorSlider>(control)) {
    EXPECT_EQ(slider->GetTransparent(), std::string(c.Skinner) == "TSkinTrackBar") << "made transparent first";
  }
  f->Free();
}
INSTANTIATE_TEST_SUITE_P(Cases, FamilyDispatch, ::testing::ValuesIn(DispatchCases), CaseName());

// A Skin3rd "edit" row skins only a control that draws a border: the edit's window without its edge.
TEST_F(SkinEngine, ASkin3rdEditWithoutABorderStaysAsItIs) {
  data->SetSkin3rd({"TEdit=edit"});
  auto* f = NewTestForm();
  auto* edit = Place<TEdit>(f);
  f->Show();
  SetWindowLongA(edit->Handle(), GWL_EXSTYLE, GetWindowLongA(edit->Handle(), GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  SetWindowPos(edit->Handle(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(SkinWindowNow(f->Handle()));
  EXPECT_EQ(SkinnerOf(Manager().FindForm(f->Handle()), edit), nullptr);
  f->Free();
}

}  // namespace
