// The skinned frame on real windows: border sizes and the client rectangle, hit tests, the caption
// painted from the skin's frames (checked on the screen's pixels), the caption buttons' states and
// actions, the window region, the skinned system menu and the window commands, and an MDI frame with
// its children.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Menus.h"
#include "ModalScript.h"
#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinTestKit.h"
#include "SkinnerFrame.h"
#include "SkinnerMenu.h"
#include "Subclass.h"

namespace {

using namespace skintest;

// ---- test windows ----

// A top-level window of this program whose own procedure records what reaches it and answers the
// caption-button visibility question with `VisibleAnswer`.
struct TTestWindow {
  TTestWindow() = default;
  TTestWindow(const TTestWindow&) = delete;
  ~TTestWindow() {
    if (IsWindow(Handle)) SetWindowLongPtrA(Handle, GWLP_USERDATA, 0);  // the window may outlive the record
  }
  HWND Handle = nullptr;
  std::vector<std::array<UINT_PTR, 3>> Seen;  // message, wParam, lParam
  LRESULT VisibleAnswer = 0;
  bool Saw(UINT msg, WPARAM w, LPARAM l) const {
    for (const auto& s : Seen)
      if (s[0] == msg && s[1] == w && LPARAM(s[2]) == l) return true;
    return false;
  }
  bool SawMessage(UINT msg) const {
    for (const auto& s : Seen)
      if (s[0] == msg) return true;
    return false;
  }
};

LRESULT CALLBACK TestWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (auto* self = reinterpret_cast<TTestWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA))) {
    self->Seen.push_back({msg, w, UINT_PTR(l)});
    if (msg == SM_CAPTIONBUTTONVISIBLE) return self->VisibleAnswer;
  }
  return DefWindowProcA(h, msg, w, l);
}

void RegisterTestClass(const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
}

HWND MakeTestWindow(TTestWindow& w, DWORD style = WS_OVERLAPPEDWINDOW, const char* caption = "Hi", int width = 260,
                    int height = 160) {
  RegisterTestClass("OrvFrameTestWindow", TestWindowProc);
  w.Handle = CreateWindowExA(0, "OrvFrameTestWindow", caption, style, 40, 40, width, height, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(w.Handle, GWLP_USERDATA, LONG_PTR(&w));
  return w.Handle;
}

RECT WindowRectOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

// A window point as the lParam of a non-client mouse message (screen coordinates).
LPARAM ScreenParam(HWND h, POINT p) {
  const RECT r = WindowRectOf(h);
  return MAKELPARAM(WORD(SHORT(r.left + p.x)), WORD(SHORT(r.top + p.y)));
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A subclass put on before the skinner: it sees what the skinner passes on and keeps the default
// procedure from starting its modal loops (moving, sizing, menus) for the messages it records.
struct TBelowSkinner : TWindowSubclass {
  std::vector<std::pair<UINT, WPARAM>> Seen;
  std::vector<UINT> Swallow;
  LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
    for (UINT s : Swallow)
      if (s == msg) {
        Seen.push_back({msg, w});
        return 0;
      }
    return CallPrevious(msg, w, l);
  }
};

COLORREF ScreenPixel(HWND h, int x, int y) {
  TBitmap shot;
  CaptureWindow(h, shot);
  return PixelAt(&shot, x, y);
}

class Frame : public SkinEngine {
protected:
  std::vector<HWND> windows;

  void TearDown() override {
    SetMenuChooser(nullptr);
    FreeSkinManager();
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    SkinEngine::TearDown();
  }
  // Shows, activates and skins the window; the skinner once it has finished.
  TSkinnerForm* Skin(HWND h) {
    windows.push_back(h);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    EXPECT_TRUE(Manager().SkinWindow(h));
    Finish(h);
    TSkinnerForm* f = Manager().FindForm(h);
    if (f) Repaint(h);
    return f;
  }
  static void Repaint(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessagesUntil([] { return true; });
  }
  // The border sizes the program's skin gives.
  RECT SkinBorders() const {
    auto frames = [](TDataSkinObject* e) { return std::max(1, e->FrameCount); };
    return RECT{data->BorderLeft->Bitmap->GetWidth() / frames(data->BorderLeft),
                data->BorderTop->Bitmap->GetHeight() / frames(data->BorderTop),
                data->BorderRight->Bitmap->GetWidth() / frames(data->BorderRight),
                data->BorderBottom->Bitmap->GetHeight() / frames(data->BorderBottom)};
  }
  static TWinSysButton* ButtonOf(TSkinnerForm* f, int action) {
    for (TWinSysButton* b : f->SysButtons())
      if (b->Element->Action == action) return b;
    return nullptr;
  }
  // A caption button of the application's own, made from the close button's picture.
  TDataSkinSysButton* AddCustomButton(int action, int xcoord, int visibility) {
    TDataSkinSysButton* close = nullptr;
    for (TDataSkinSysButton* e : data->SysButtons)
      if (e->Action == 0) close = e;
    auto* e = new TDataSkinSysButton("BUTTON.CUSTOM");
    e->Action = action;
    e->Align = 1;
    e->XCoord = xcoord;
    e->YCoord = close->YCoord;
    e->Visibility = visibility;
    e->FrameCount = close->FrameCount;
    e->Bitmap->Assign(close->Bitmap);
    data->SysButtons.insert(data->SysButtons.begin(), e);
    return e;
  }
  void ClickAt(HWND h, POINT p) {
    const LPARAM at = ScreenParam(h, p);
    const WPARAM code = WPARAM(SendMessageA(h, WM_NCHITTEST, 0, at));
    SendMessageA(h, WM_NCMOUSEMOVE, code, at);
    SendMessageA(h, WM_NCLBUTTONDOWN, code, at);
    SendMessageA(h, WM_NCLBUTTONUP, code, at);
  }
};

// ---- geometry ----

struct TStyleCase {
  const char* Name;
  DWORD Style;
  uint8_t BorderKind;
};
const TStyleCase StyleCases[] = {
    {"sizeable", WS_OVERLAPPEDWINDOW, bkSizeable},
    {"single", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, bkSingle},
    {"dialog frame", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, bkDialog},
};

TEST_F(Frame, TheClientAreaIsTheWindowLessTheSkinsBordersAndKeepsItsSize) {
  const RECT b = SkinBorders();
  for (const TStyleCase& c : StyleCases) {
    SCOPED_TRACE(c.Name);
    TTestWindow w;
    HWND h = MakeTestWindow(w, c.Style);
    RECT before;
    GetClientRect(h, &before);
    TSkinnerForm* f = Skin(h);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->BorderKind, c.BorderKind);
    EXPECT_EQ(f->BorderLeft, b.left);
    EXPECT_EQ(f->BorderTop, b.top);
    EXPECT_EQ(f->BorderRight, b.right);
    EXPECT_EQ(f->BorderBottom, b.bottom);
    const RECT wr = WindowRectOf(h);
    RECT client;
    GetClientRect(h, &client);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_EQ(origin.x - wr.left, b.left);
    EXPECT_EQ(origin.y - wr.top, b.top + f->MenuBarHeight);
    EXPECT_EQ(client.right, (wr.right - wr.left) - b.left - b.right);
    EXPECT_EQ(client.bottom, (wr.bottom - wr.top) - b.top - f->MenuBarHeight - b.bottom);
    EXPECT_EQ(client.right, before.right) << "the client keeps its size";
    EXPECT_EQ(client.bottom, before.bottom);
  }
}

struct THitCase {
  const char* Name;
  std::function<POINT(TSkinnerForm*, int W, int H)> Where;
  LRESULT Expected;  // -1: what the system itself answers there
};
TWinSysButton* FindButton(TSkinnerForm* f, int action) {
  for (TWinSysButton* b : f->SysButtons())
    if (b->Element->Action == action) return b;
  return nullptr;
}
const THitCase HitCases[] = {
    {"top edge", [](TSkinnerForm*, int W, int) { return POINT{W / 2, 1}; }, HTTOP},
    {"top edge, the system's answer", [](TSkinnerForm*, int W, int) { return POINT{W / 2, 2}; }, -1},
    {"caption", [](TSkinnerForm* f, int W, int) { return POINT{W / 2, f->BorderTop / 2}; }, HTCAPTION},
    {"caption's lowest row", [](TSkinnerForm* f, int W, int) { return POINT{W / 2, f->BorderTop - 1}; }, HTCAPTION},
    {"close button", [](TSkinnerForm* f, int, int) { return Centre(FindButton(f, 0)->Rect); }, HTCLOSE},
    {"maximize button", [](TSkinnerForm* f, int, int) { return Centre(FindButton(f, 1)->Rect); }, HTMAXBUTTON},
    {"minimize button", [](TSkinnerForm* f, int, int) { return Centre(FindButton(f, 2)->Rect); }, HTMINBUTTON},
    {"icon", [](TSkinnerForm* f, int, int) { return Centre(FindButton(f, 3)->Rect); }, HTSYSMENU},
    {"client", [](TSkinnerForm*, int W, int H) { return POINT{W / 2, H / 2}; }, HTCLIENT},
    {"bottom edge", [](TSkinnerForm*, int W, int H) { return POINT{W / 2, H - 1}; }, HTBOTTOM},
    {"left edge", [](TSkinnerForm*, int, int H) { return POINT{1, H / 2}; }, HTLEFT},
};

TEST_F(Frame, HitTestsAnswerForTheSkinnedFrame) {
  TTestWindow w;
  HWND h = MakeTestWindow(w);
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  const RECT wr = WindowRectOf(h);
  for (const THitCase& c : HitCases) {
    const POINT p = c.Where(f, wr.right - wr.left, wr.bottom - wr.top);
    const LPARAM at = ScreenParam(h, p);
    const LRESULT expected = c.Expected == -1 ? DefWindowProcA(h, WM_NCHITTEST, 0, at) : c.Expected;
    EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, at), expected) << c.Name << " at " << p.x << "," << p.y;
  }
}

// ---- painting ----

// The caption strip as the skin composes it from one frame of the top border.
std::unique_ptr<TBitmap> CaptionStrip(TSkinData* d, int width, int frame) {
  TDataSkinBorder* top = d->BorderTop;
  const int T = top->Bitmap->GetHeight() / std::max(1, top->FrameCount);
  return std::unique_ptr<TBitmap>(
      BuildSkinBitmap(RECT{0, 0, width, T}, top->Bitmap, top->Margins, true, top->Tile == 1 ? 0 : 1, top->FrameCount, frame));
}

TEST_F(Frame, TheCaptionShowsTheActiveAndInactiveFramesTheTextAndTheButtons) {
  TTestWindow w, other;
  HWND h = MakeTestWindow(w);
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  const RECT wr = WindowRectOf(h);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top, L = f->BorderLeft, T = f->BorderTop;
  const auto active = CaptionStrip(data, W - L - f->BorderRight, 1);
  const auto inactive = CaptionStrip(data, W - L - f->BorderRight, 2);
  // Sample columns between the text and the buttons.
  const int xs[] = {W / 2, W / 2 + 20};

  TBitmap shot;
  CaptureWindow(h, shot);
  SaveScreenshot(h, std::string(ORV_BUILD_DIR) + "skinned_test_window_active.bmp");
  for (int x : xs)
    for (int y = 0; y < T; y += 3) {
      EXPECT_EQ(PixelAt(&shot, x, y), PixelAt(active.get(), x - L, y)) << x << "," << y;
      ASSERT_NE(PixelAt(active.get(), x - L, y), PixelAt(inactive.get(), x - L, y)) << "the frames differ there";
    }

  // The text starts at the skin's text shift, behind the two blanks that lead every caption.
  const int shift = data->Title->Margins.Left, clip = data->Title->Margins.Right;
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, f->CaptionFont->Handle());
  SIZE blanks{};
  GetTextExtentPoint32W(dc, L"  ", 2, &blanks);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  EXPECT_EQ(f->CaptionTextRect().left, L + shift);
  // Ink: a pixel nearer the text colour than the caption behind it (smoothed edges included).
  const COLORREF text = ColorToRGB(data->TitleTextActive);
  auto distance = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
  };
  int firstInk = -1;
  for (int x = L + shift - 2; x < W - clip && firstInk < 0; ++x)
    for (int y = 0; y < T; ++y) {
      const COLORREF p = PixelAt(&shot, x, y), behind = PixelAt(active.get(), x - L, y);
      if (distance(p, text) * 2 < distance(behind, text)) {
        firstInk = x;
        break;
      }
    }
  EXPECT_GE(firstInk, L + shift + blanks.cx);
  EXPECT_LE(firstInk, L + shift + blanks.cx + 3);

  // Every right-aligned button stands its offset in from the right edge, drawn from its first frame.
  for (TWinSysButton* b : f->SysButtons()) {
    const TDataSkinSysButton* e = b->Element;
    if (e->Align != 1 || !b->Visible) continue;
    EXPECT_EQ(b->Rect.left, W - e->XCoord) << e->Name;
    EXPECT_EQ(b->Rect.top, e->YCoord) << e->Name;
    const int fw = e->Bitmap->GetWidth() / e->FrameCount;
    for (int y = 0; y < e->Bitmap->GetHeight(); y += 2)
      for (int x = 0; x < fw; x += 2) {
        const COLORREF c = PixelAt(e->Bitmap, x, y);
        if (c != COLORREF(SkinTransparentColor)) {
          EXPECT_EQ(PixelAt(&shot, b->Rect.left + x, b->Rect.top + y), c) << e->Name;
        }
      }
  }

  // Another window takes the activation: the inactive frames.
  HWND o = MakeTestWindow(other, WS_OVERLAPPEDWINDOW, "Other", 120, 80);
  windows.push_back(o);
  SetWindowPos(o, nullptr, wr.right + 20, wr.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(o, SW_SHOW);
  SetForegroundWindow(o);
  ASSERT_TRUE(PumpMessagesUntil([&] { return !f->Active; }, 10000));
  CaptureWindow(h, shot);
  SaveScreenshot(h, std::string(ORV_BUILD_DIR) + "skinned_test_window_inactive.bmp");
  for (int x : xs)
    for (int y = 0; y < T; y += 3) EXPECT_EQ(PixelAt(&shot, x, y), PixelAt(inactive.get(), x - L, y)) << x << "," << y;
  TDataSkinBorder* left = data->BorderLeft;
  const int leftFrameWidth = left->Bitmap->GetWidth() / left->FrameCount;
  EXPECT_EQ(PixelAt(&shot, 1, H / 2), PixelAt(left->Bitmap, leftFrameWidth + 1, left->Bitmap->GetHeight() / 2))
      << "the left border's second frame";
}

// ---- caption buttons ----

TEST_F(Frame, ACaptionButtonGoesHotPressedAndBackWithTheMouse) {
  TTestWindow w;
  HWND h = MakeTestWindow(w);
  TBelowSkinner below;
  below.Swallow = {WM_NCLBUTTONDOWN};
  ASSERT_TRUE(below.Install(h));
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  TWinSysButton* close = ButtonOf(f, 0);
  ASSERT_NE(close, nullptr);
  const TDataSkinSysButton* e = close->Element;
  // The button's middle pixel in the frame for a state (1 normal, 2 pressed, 3 hot).
  const int fw = e->Bitmap->GetWidth() / e->FrameCount;
  auto framePixel = [&](int frame) { return PixelAt(e->Bitmap, (frame - 1) * fw + 3, e->Bitmap->GetHeight() / 2); };
  auto shown = [&] {
    PumpMessagesUntil([] { return true; });  // what was painted reaches the screen
    return ScreenPixel(h, close->Rect.left + 3, close->Rect.top + e->Bitmap->GetHeight() / 2);
  };
  const LPARAM onButton = ScreenParam(h, Centre(close->Rect));
  const LPARAM onCaption = ScreenParam(h, POINT{40, f->BorderTop / 2});

  EXPECT_EQ(shown(), framePixel(1));
  SendMessageA(h, WM_NCMOUSEMOVE, HTCLOSE, onButton);
  EXPECT_EQ(f->HotObject, close);
  EXPECT_EQ(shown(), framePixel(3));
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCLOSE, onButton);
  EXPECT_EQ(shown(), framePixel(2));
  EXPECT_TRUE(below.Seen.empty()) << "a press on a button is not the system's";
  SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, onCaption);
  EXPECT_EQ(f->HotObject, nullptr);
  EXPECT_EQ(shown(), framePixel(1));
  SendMessageA(h, WM_NCLBUTTONUP, HTCAPTION, onCaption);
  PumpMessagesUntil([] { return true; });
  EXPECT_TRUE(IsWindow(h)) << "released off the button: no click";
  below.Remove();
}

struct TButtonCase {
  const char* Name;
  int Action;
  std::function<bool(HWND, TTestWindow&)> Done;
};
const TButtonCase ButtonCases[] = {
    {"close", 0, [](HWND h, TTestWindow&) { return !IsWindow(h); }},
    {"maximize", 1, [](HWND h, TTestWindow&) { return IsZoomed(h) != FALSE; }},
    {"minimize", 2, [](HWND h, TTestWindow&) { return IsIconic(h) != FALSE; }},
    {"custom action", 50,
     [](HWND, TTestWindow& w) { return w.Saw(SM_CAPTIONBUTTONACTION, 50, 0); }},
};

TEST_F(Frame, ClickingACaptionButtonDoesItsAction) {
  AddCustomButton(50, 84, 0);
  for (const TButtonCase& c : ButtonCases) {
    SCOPED_TRACE(c.Name);
    TTestWindow w;
    HWND h = MakeTestWindow(w);
    TSkinnerForm* f = Skin(h);
    ASSERT_NE(f, nullptr);
    TWinSysButton* b = ButtonOf(f, c.Action);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->Visible);
    ClickAt(h, Centre(b->Rect));
    EXPECT_TRUE(PumpMessagesUntil([&] { return c.Done(h, w); }, 10000));
    if (IsWindow(h)) DestroyWindow(h);
  }
}

struct TVisibleCase {
  LRESULT Answer;
  bool Visible;
};
const TVisibleCase VisibleCases[] = {{0, false}, {1, true}, {-3, false}, {7, true}};

TEST_F(Frame, AButtonWhoseVisibilityAsksTheWindowShowsOnlyForAPositiveAnswer) {
  AddCustomButton(51, 104, 1000);
  for (const TVisibleCase& c : VisibleCases) {
    SCOPED_TRACE(c.Answer);
    TTestWindow w;
    w.VisibleAnswer = c.Answer;
    HWND h = MakeTestWindow(w);
    TSkinnerForm* f = Skin(h);
    ASSERT_NE(f, nullptr);
    TWinSysButton* b = ButtonOf(f, 51);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(w.Saw(SM_CAPTIONBUTTONVISIBLE, 1000, 51)) << "asked with its Visibility and its Action";
    EXPECT_EQ(b->Visible, c.Visible);
    const RECT wr = WindowRectOf(h);
    const POINT at{(wr.right - wr.left) - 104 + 4, b->Element->YCoord + 4};
    EXPECT_EQ(f->FindSysButtonAt(at) == b, c.Visible);
    DestroyWindow(h);
  }
}

// ---- window commands by the mouse ----

TEST_F(Frame, DoubleClickingTheCaptionMaximizesAndRestores) {
  TTestWindow w;
  HWND h = MakeTestWindow(w);
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  auto doubleClick = [&](WPARAM code, POINT p) { SendMessageA(h, WM_NCLBUTTONDBLCLK, code, ScreenParam(h, p)); };
  doubleClick(HTCAPTION, POINT{60, f->BorderTop / 2});
  ASSERT_TRUE(PumpMessagesUntil([&] { return IsZoomed(h) != FALSE; }, 10000));
  EXPECT_EQ(f->ShowState, ssMaximizedWindow);
  doubleClick(HTCAPTION, POINT{60, f->BorderTop / 2});
  ASSERT_TRUE(PumpMessagesUntil([&] { return !IsZoomed(h); }, 10000));
  EXPECT_EQ(f->ShowState, ssNormalWindow);
  // A double click on a sizing edge leaves the window as it is.
  doubleClick(HTLEFT, POINT{1, 60});
  PumpMessagesUntil([] { return true; });
  EXPECT_FALSE(IsZoomed(h));
}

TEST_F(Frame, AMaximizedWindowIsNotDraggedByItsCaption) {
  struct TCase {
    bool Maximized;
    WPARAM Passed;
  };
  for (const TCase c : {TCase{false, HTCAPTION}, TCase{true, HTMENU}}) {
    TTestWindow w;
    HWND h = MakeTestWindow(w);
    TBelowSkinner below;
    below.Swallow = {WM_NCLBUTTONDOWN};
    ASSERT_TRUE(below.Install(h));
    TSkinnerForm* f = Skin(h);
    ASSERT_NE(f, nullptr);
    if (c.Maximized) {
      ShowWindow(h, SW_MAXIMIZE);
      PumpMessagesUntil([&] { return f->ShowState == ssMaximizedWindow; }, 10000);
    }
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(h, POINT{60, f->BorderTop / 2}));
    ASSERT_EQ(below.Seen.size(), 1u);
    EXPECT_EQ(below.Seen[0].second, c.Passed) << (c.Maximized ? "maximized" : "normal");
    below.Remove();
    DestroyWindow(h);
  }
}

// ---- the window region ----

TEST_F(Frame, TheRegionFollowsTransparentBorderPictures) {
  struct TCase {
    const char* Name;
    bool KeepTransparency;
  };
  for (const TCase c : {TCase{"the program's skin", true}, TCase{"no transparent border", false}}) {
    SCOPED_TRACE(c.Name);
    std::array<int, 4> saved{};
    TDataSkinBorder* borders[] = {data->BorderLeft, data->BorderRight, data->BorderTop, data->BorderBottom};
    for (size_t i = 0; i < 4; ++i) {
      saved[i] = borders[i]->Trans;
      if (!c.KeepTransparency) borders[i]->Trans = 0;
    }
    TTestWindow w;
    HWND h = MakeTestWindow(w);
    TSkinnerForm* f = Skin(h);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->OwnsRegion());
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, rgn), ERROR);
    const RECT wr = WindowRectOf(h);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top, L = f->BorderLeft;
    // The program's top border has transparent outer corners; its side borders none.
    const bool cornerCut = c.KeepTransparency && PixelAt(data->BorderTop->Bitmap, 0, 0) == COLORREF(SkinTransparentColor);
    EXPECT_EQ(PtInRegion(rgn, L, 0) == FALSE, cornerCut);
    EXPECT_EQ(PtInRegion(rgn, W - f->BorderRight - 1, 0) == FALSE, cornerCut);
    EXPECT_TRUE(PtInRegion(rgn, L + 5, 0));
    EXPECT_TRUE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, W - 1, H - 1));
    EXPECT_TRUE(PtInRegion(rgn, W / 2, H / 2));
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.right, W);
    EXPECT_EQ(box.bottom, H);
    // A new size, a new region.
    SetWindowPos(h, nullptr, 0, 0, W + 30, H + 20, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRgn(h, rgn);
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.right, W + 30);
    EXPECT_EQ(box.bottom, H + 20);
    DeleteObject(rgn);
    DestroyWindow(h);
    for (size_t i = 0; i < 4; ++i) borders[i]->Trans = saved[i];
  }
}

TEST_F(Frame, ABorderlessWindowKeepsItsOwnShape) {
  TTestWindow w;
  HWND h = MakeTestWindow(w, WS_POPUP);
  SetWindowRgn(h, CreateEllipticRgn(0, 0, 260, 160), FALSE);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, shape), ERROR);
  auto shapeIsTheEllipse = [&] {
    HRGN now = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(h, now) != ERROR && EqualRgn(now, shape);
    DeleteObject(now);
    return same;
  };
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->BorderKind, bkNone);
  EXPECT_TRUE(shapeIsTheEllipse());
  // Minimized and restored, sized, and skinned off: the shape stays.
  ShowWindow(h, SW_MINIMIZE);
  ShowWindow(h, SW_RESTORE);
  SendMessageA(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(260, 160));
  EXPECT_TRUE(shapeIsTheEllipse());
  TSkinnerForm* skinner = Manager().FindForm(h);
  Manager().Forms.erase(std::find(Manager().Forms.begin(), Manager().Forms.end(), skinner));
  skinner->Unskin();
  skinner->Free();
  EXPECT_TRUE(shapeIsTheEllipse());
  DeleteObject(shape);
}

// ---- the system menu ----

// What the skinned system menu offered when it popped up.
struct TOffered {
  int Popups = 0;
  POINT At{};
  std::vector<int> Tags;
  std::vector<bool> Enabled;
  bool OwnerDraw = false;
  int Tag = 0;
  bool EnabledOf(int tag) const {
    for (size_t i = 0; i < Tags.size(); ++i)
      if (Tags[i] == tag) return Enabled[i];
    ADD_FAILURE() << "no item " << std::hex << tag;
    return false;
  }
};

// Records the popup and chooses the item with `choose` as Tag (0: none).
void OfferTo(TOffered& offered, int choose = 0) {
  SetMenuChooser([&offered, choose](TPopupMenu* menu, int x, int y) -> TMenuItem* {
    ++offered.Popups;
    offered.At = POINT{x, y};
    offered.OwnerDraw = menu->GetOwnerDraw();
    offered.Tag = menu->GetTag();
    offered.Tags.clear();
    offered.Enabled.clear();
    TMenuItem* chosen = nullptr;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
      TMenuItem* item = menu->Items()->Items(i);
      offered.Tags.push_back(item->GetTag());
      offered.Enabled.push_back(item->GetEnabled());
      if (choose && item->GetTag() == choose) chosen = item;
    }
    return chosen;
  });
}

using SystemMenu = Frame;

TEST_F(SystemMenu, OpensOnARightClickOnTheCaptionAndOnAltSpace) {
  struct TWay {
    const char* Name;
    std::function<POINT(HWND, TSkinnerForm*)> Open;  // returns where the menu should stand
  };
  const TWay ways[] = {
      {"right click on the caption",
       [](HWND h, TSkinnerForm* f) {
         const LPARAM at = ScreenParam(h, POINT{70, f->BorderTop / 2});
         SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, at);
         return POINT{SHORT(LOWORD(at)), SHORT(HIWORD(at))};
       }},
      {"Alt+Space",
       [](HWND h, TSkinnerForm*) {
         SendMessageA(h, WM_SYSCHAR, ' ', LPARAM(1) << 29);  // the Alt key held
         POINT origin{0, 0};
         ClientToScreen(h, &origin);
         return origin;
       }},
  };
  for (const TWay& way : ways) {
    SCOPED_TRACE(way.Name);
    TOffered offered;
    OfferTo(offered);
    TTestWindow w;
    HWND h = MakeTestWindow(w);
    TSkinnerForm* f = Skin(h);
    ASSERT_NE(f, nullptr);
    const POINT expected = way.Open(h, f);
    EXPECT_EQ(offered.Popups, 1);
    EXPECT_EQ(offered.At.x, expected.x);
    EXPECT_EQ(offered.At.y, expected.y);
    EXPECT_TRUE(offered.OwnerDraw);
    EXPECT_EQ(offered.Tag, 33333);
    EXPECT_FALSE(w.SawMessage(WM_NCRBUTTONDOWN)) << "not the system's";
    EXPECT_FALSE(w.SawMessage(WM_SYSCOMMAND)) << "Alt+Space ends with the skinned menu";
    DestroyWindow(h);
  }
}

struct TMenuStateCase {
  const char* Name;
  int Show;  // SW_SHOWNORMAL or SW_MAXIMIZE
  DWORD Style;
  std::vector<std::pair<UINT, bool>> Enabled;
};
const TMenuStateCase MenuStateCases[] = {
    {"maximized", SW_MAXIMIZE, WS_OVERLAPPEDWINDOW,
     {{SC_SIZE, false}, {SC_MOVE, false}, {SC_MAXIMIZE, false}, {SC_RESTORE, true}, {SC_MINIMIZE, true}, {SC_CLOSE, true}}},
    {"normal", SW_SHOWNORMAL, WS_OVERLAPPEDWINDOW,
     {{SC_SIZE, true}, {SC_MOVE, true}, {SC_MAXIMIZE, true}, {SC_RESTORE, false}, {SC_MINIMIZE, true}, {SC_CLOSE, true}}},
    {"fixed frame without boxes", SW_SHOWNORMAL, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
     {{SC_SIZE, false}, {SC_MOVE, true}, {SC_MAXIMIZE, false}, {SC_RESTORE, false}, {SC_MINIMIZE, false}, {SC_CLOSE, true}}},
};

TEST_F(SystemMenu, ItemsFollowTheWindowsShowStateAndBoxes) {
  for (const TMenuStateCase& c : MenuStateCases) {
    SCOPED_TRACE(c.Name);
    TOffered offered;
    OfferTo(offered);
    TTestWindow w;
    HWND h = MakeTestWindow(w, c.Style);
    TSkinnerForm* f = Skin(h);
    ASSERT_NE(f, nullptr);
    ShowWindow(h, c.Show);
    PumpMessagesUntil([&] { return f->ShowState == (c.Show == SW_MAXIMIZE ? ssMaximizedWindow : ssNormalWindow); }, 10000);
    SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenParam(h, POINT{70, f->BorderTop / 2}));
    ASSERT_EQ(offered.Popups, 1);
    for (const auto& [tag, enabled] : c.Enabled) EXPECT_EQ(offered.EnabledOf(int(tag)), enabled) << std::hex << tag;
    DestroyWindow(h);
  }
}

TEST_F(SystemMenu, TheChosenItemArrivesAsASystemCommand) {
  TOffered offered;
  OfferTo(offered, SC_RESTORE);
  TTestWindow w;
  HWND h = MakeTestWindow(w);
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  ShowWindow(h, SW_MAXIMIZE);
  ASSERT_TRUE(PumpMessagesUntil([&] { return f->ShowState == ssMaximizedWindow; }, 10000));
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenParam(h, POINT{70, f->BorderTop / 2}));
  ASSERT_TRUE(PumpMessagesUntil([&] { return w.Saw(WM_SYSCOMMAND, SC_RESTORE, 0); }, 10000));
  EXPECT_TRUE(PumpMessagesUntil([&] { return !IsZoomed(h); }, 10000));
  EXPECT_EQ(f->ShowState, ssNormalWindow);
}

TEST_F(SystemMenu, AQuickSecondRightClickOnTheCaptionDoesNothing) {
  TOffered offered;
  OfferTo(offered);
  TTestWindow w;
  HWND h = MakeTestWindow(w);
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  const LPARAM at = ScreenParam(h, POINT{70, f->BorderTop / 2});
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, at);
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, at);
  PumpMessagesUntil([] { return true; });
  EXPECT_EQ(offered.Popups, 1);
  EXPECT_TRUE(IsWindow(h));
}

TEST_F(SystemMenu, ItsItemsAreDrawnInTheSkinsMenuColours) {
  TTestWindow w;
  HWND h = MakeTestWindow(w);
  TSkinnerForm* f = Skin(h);
  ASSERT_NE(f, nullptr);
  int menuColoured = -1, area = 0;
  // The popup is looked for from timers of the menu's own loop; the last step closes it anyway.
  auto look = [&] {
    HWND popup = FindWindowA("#32768", nullptr);
    if (menuColoured >= 0 || !popup || !IsWindowVisible(popup)) return;
    PumpMessagesUntil([] { return true; });
    TBitmap shot;
    CaptureWindow(popup, shot);
    SaveScreenshot(popup, std::string(ORV_BUILD_DIR) + "skinned_system_menu.bmp");
    menuColoured = 0;
    area = shot.GetWidth() * shot.GetHeight();
    for (int y = 0; y < shot.GetHeight(); ++y)
      for (int x = 0; x < shot.GetWidth(); ++x) menuColoured += PixelAt(&shot, x, y) == ColorToRGB(data->Menu);
  };
  etk::TModalScript script({look, look, look, look, [] { EndMenu(); }});
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, ScreenParam(h, POINT{70, f->BorderTop / 2}));
  ASSERT_GE(menuColoured, 0) << "the menu was open";
  EXPECT_GT(menuColoured * 2, area) << "mostly the skin's menu colour";
}

// ---- MDI ----

HWND MdiClientOf(HWND frame) {
  for (HWND c = GetTopWindow(frame); c; c = GetWindow(c, GW_HWNDNEXT))
    if (WindowClassName(c) == "MDIClient") return c;
  return nullptr;
}

LRESULT CALLBACK MdiFrameProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = 100;
    CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, h,
                    nullptr, GetModuleHandleA(nullptr), &ccs);
  }
  return DefFrameProcA(h, MdiClientOf(h), msg, w, l);
}

LRESULT CALLBACK MdiChildProc(HWND h, UINT msg, WPARAM w, LPARAM l) { return DefMDIChildProcA(h, msg, w, l); }

// What reaches the MDI client's own procedure under the skinner.
struct TClientRecorder : TWindowSubclass {
  std::vector<UINT> Seen;
  LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
    Seen.push_back(msg);
    return CallPrevious(msg, w, l);
  }
};

class Mdi : public Frame {
protected:
  // Shows the frame in front and waits until the hook has skinned it.
  bool ShowSkinnedFrame(HWND frame) {
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
    return PumpMessagesUntil([&] {
      TSkinnerForm* f = Manager().FindForm(frame);
      return f && f->State() == skSkinned;
    }, 10000);
  }
};

TEST_F(Mdi, AFrameAndItsChildrenAreSkinnedAndTheChildrenFollowTheFramesCommands) {
  RegisterTestClass("OrvMdiTestFrame", MdiFrameProc);
  RegisterTestClass("OrvMdiTestChild", MdiChildProc);
  Manager().InstallHook();
  HWND frame = CreateWindowExA(0, "OrvMdiTestFrame", "MDI test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 30, 30, 420,
                               320, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  windows.push_back(frame);
  HWND client = MdiClientOf(frame);
  ASSERT_NE(client, nullptr);
  TClientRecorder recorder;
  ASSERT_TRUE(recorder.Install(client));
  ASSERT_TRUE(ShowSkinnedFrame(frame));
  TSkinnerForm* frameSkinner = Manager().FindForm(frame);
  EXPECT_EQ(frameSkinner->WindowKind, wkMdiFrame);
  EXPECT_EQ(frameSkinner->MdiClient, client);
  EXPECT_EQ(Manager().MdiClientWindow, client);

  // Children are caught when they are created.
  ASSERT_TRUE(data->GetMenuUpdate());
  MDICREATESTRUCTA mcs{};
  mcs.szClass = "OrvMdiTestChild";
  mcs.szTitle = "Child";
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.x = mcs.y = 10;
  mcs.cx = 200;
  mcs.cy = 140;
  mcs.style = WS_OVERLAPPEDWINDOW;
  HWND child = HWND(SendMessageA(client, WM_MDICREATE, 0, LPARAM(&mcs)));
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(data->GetMenuUpdate()) << "a child's creation holds the menu bar's updates";
  ASSERT_TRUE(PumpMessagesUntil([&] {
    TSkinnerForm* f = Manager().FindForm(child);
    return f && f->State() == skSkinned;
  }, 10000));
  TSkinnerForm* childSkinner = Manager().FindForm(child);
  EXPECT_EQ(childSkinner->WindowKind, wkMdiChild);
  const RECT b = SkinBorders();
  RECT wr = WindowRectOf(child), cr;
  GetClientRect(child, &cr);
  EXPECT_EQ(cr.right, (wr.right - wr.left) - b.left - b.right);
  EXPECT_EQ(cr.bottom, (wr.bottom - wr.top) - childSkinner->BorderTop - childSkinner->MenuBarHeight - b.bottom);
  EXPECT_TRUE(childSkinner->OwnsRegion());
  Repaint(frame);
  SaveScreenshot(frame, std::string(ORV_BUILD_DIR) + "skinned_mdi_frame.bmp");

  // Maximized, the child wears the system's frame inside the client and drops its region.
  SendMessageA(client, WM_MDIMAXIMIZE, WPARAM(child), 0);
  ASSERT_TRUE(PumpMessagesUntil([&] { return IsZoomed(child) != FALSE; }, 10000));
  EXPECT_TRUE(frameSkinner->IsMdiChildMaximized());
  EXPECT_TRUE(Manager().MenuMode);
  EXPECT_FALSE(childSkinner->OwnsRegion());
  Repaint(frame);
  SaveScreenshot(frame, std::string(ORV_BUILD_DIR) + "skinned_mdi_frame_child_maximized.bmp");
  // Cascading gives the children their frames back.
  SendMessageA(client, WM_MDICASCADE, 0, 0);
  ASSERT_TRUE(PumpMessagesUntil([&] { return !IsZoomed(child); }, 10000));
  EXPECT_FALSE(Manager().MenuMode);
  EXPECT_TRUE(childSkinner->OwnsRegion());

  // The frame commands the active child.
  frameSkinner->MdiChildCommand(SC_MINIMIZE);
  EXPECT_TRUE(PumpMessagesUntil([&] { return IsIconic(child) != FALSE; }, 10000));
  frameSkinner->MdiChildCommand(SC_RESTORE);
  EXPECT_TRUE(PumpMessagesUntil([&] { return !IsIconic(child); }, 10000));

  // The redraw request stays with the skinner.
  PostMessageA(client, SM_MDIREDRAW, WPARAM(child), 0);
  PumpMessagesUntil([] { return true; });
  EXPECT_EQ(std::count(recorder.Seen.begin(), recorder.Seen.end(), SM_MDIREDRAW), 0);

  frameSkinner->MdiChildCommand(SC_CLOSE);
  EXPECT_TRUE(PumpMessagesUntil([&] { return !IsWindow(child); }, 10000));
  EXPECT_EQ(std::count(recorder.Seen.begin(), recorder.Seen.end(), UINT(WM_MDIDESTROY)), 1);
  recorder.Remove();
}

// A right-to-left frame's bar with a maximized child: the child's caption buttons stand in the bar,
// and the items, laid out from the right, end left of them.
TEST_F(Mdi, ARightToLeftBarsItemsStandLeftOfAMaximizedChildsButtons) {
  RegisterTestClass("OrvMdiTestFrame", MdiFrameProc);
  RegisterTestClass("OrvMdiTestChild", MdiChildProc);
  // The child's three buttons, 16 pixels apart from the bar's right end.
  int x = 20;
  for (TDataSkinSysButton* e : data->SysButtons)
    if (e->Visibility == 100) {
      e->Bitmap->Assign(SolidBitmap(4 * 14, 14, TColor(RGB(200, 40, 40))).get());
      e->FrameCount = 4;
      e->XCoord = x;
      x += 16;
    }
  Manager().InstallHook();
  HMENU bar = CreateMenu();
  for (const char* caption : {"&File", "&Window"}) {
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 5001, "Item");
    AppendMenuA(bar, MF_POPUP, UINT_PTR(popup), caption);
  }
  HWND frame = CreateWindowExA(WS_EX_LEFTSCROLLBAR, "OrvMdiTestFrame", "MDI test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               30, 30, 420, 320, nullptr, bar, GetModuleHandleA(nullptr), nullptr);
  windows.push_back(frame);
  HWND client = MdiClientOf(frame);
  ASSERT_NE(client, nullptr);
  ASSERT_TRUE(ShowSkinnedFrame(frame));
  TSkinnerForm* f = Manager().FindForm(frame);
  ASSERT_NE(f->MenuBar(), nullptr);
  ASSERT_TRUE(f->RightToLeft);
  MDICREATESTRUCTA mcs{};
  mcs.szClass = "OrvMdiTestChild";
  mcs.szTitle = "Child";
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.cx = 200;
  mcs.cy = 140;
  mcs.style = WS_OVERLAPPEDWINDOW;
  HWND child = HWND(SendMessageA(client, WM_MDICREATE, 0, LPARAM(&mcs)));
  ASSERT_NE(child, nullptr);
  const std::vector<TMenuBtn*>& items = f->MenuBar()->Buttons;
  ASSERT_FALSE(items.empty());
  Repaint(frame);
  const int free = items[0]->Rect.right;  // where the first item ends with no child maximized
  SendMessageA(client, WM_MDIMAXIMIZE, WPARAM(child), 0);
  ASSERT_TRUE(PumpMessagesUntil([&] { return IsZoomed(child) != FALSE; }, 10000));
  ASSERT_TRUE(f->IsMdiChildMaximized());
  Repaint(frame);
  int leftmost = INT_MAX;
  for (TWinSysButton* b : f->SysButtons())
    if (b->Visible && b->Element->Visibility == 100 && b->Rect.right > b->Rect.left)
      leftmost = std::min(leftmost, int(b->Rect.left));
  ASSERT_NE(leftmost, INT_MAX) << "the child's buttons stand in the bar";
  ASSERT_LT(leftmost - 5, free) << "the buttons reach into the items' place";
  EXPECT_EQ(items[0]->Rect.right, leftmost - 5);
  for (size_t i = 1; i < items.size(); ++i) EXPECT_EQ(items[i]->Rect.right, items[i - 1]->Rect.left);
  SaveScreenshot(frame, std::string(ORV_BUILD_DIR) + "skinned_mdi_frame_rtl_bar.bmp");
}

}  // namespace
