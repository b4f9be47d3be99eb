// Windows built from layouts, shown under Wine: geometry, captions, painting into a passed DC, the
// mouse pipeline, focus order, closing, modal loops and the exception boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "ActnList.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Prompter.h"
#include "Screenshot.h"
#include "StdCtrls.h"
#include "Thread.h"
#include "Timer.h"

namespace {

class TfrmTestWindow : public TForm {
  ORV_CLASS(TfrmTestWindow)
public:
  explicit TfrmTestWindow(TComponent* owner) : TForm(owner) { InitLayout(); }
  TPanel *pnlTop = nullptr, *pnlBottom = nullptr, *pnlClient = nullptr, *pnlInner = nullptr;
  TLabel *lblTitle = nullptr, *lblName = nullptr;
  TButton *btnOK = nullptr, *btnCancel = nullptr;
  TEdit* edtName = nullptr;
  TPaintBox* pbxSwatch = nullptr;
  std::vector<std::string> Log;
  std::function<void()> OnOK;  // extra work inside btnOKClick
  // Extra work at the end of the creation handler of every test window made while it is set.
  static std::function<void(TfrmTestWindow*)>& CreateStep() {
    static std::function<void(TfrmTestWindow*)> step;
    return step;
  }

  void FormCreate(TObject*) {
    Log.push_back("create");
    if (CreateStep()) CreateStep()(this);
    Log.push_back("create done");
  }
  void btnOKClick(TObject*) {
    Log.push_back("btnOK.click");
    if (OnOK) OnOK();
    Log.push_back("btnOK.click done");
  }
  void btnOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("btnOK.up"); }
  void btnOKEnter(TObject*) { Log.push_back("btnOK.enter"); }
  void edtNameExit(TObject*) { Log.push_back("edtName.exit"); }
  void pbxSwatchPaint(TObject*) {
    TCanvas* c = pbxSwatch->Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(pbxSwatch->GetClientRect());
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clWhite);
    c->TextOut(8, 8, "TPaintBox");
  }
  void pbxSwatchMouseDown(TObject*, TMouseButton b, TShiftState, int, int) { Log.push_back(b == mbLeft ? "pbx.down" : "pbx.rdown"); }
  void pbxSwatchMouseUp(TObject*, TMouseButton b, TShiftState, int, int) { Log.push_back(b == mbLeft ? "pbx.up" : "pbx.rup"); }
  void pbxSwatchClick(TObject*) { Log.push_back("pbx.click"); }
  void ControlMouseEnter(TObject* s) { Log.push_back("enter " + static_cast<TComponent*>(s)->GetName()); }
  void ControlMouseLeave(TObject* s) { Log.push_back("leave " + static_cast<TComponent*>(s)->GetName()); }

protected:
  void DeclareLayout(TLayoutBinder& b) override {
    b.Field("pnlTop", pnlTop);
    b.Field("pnlBottom", pnlBottom);
    b.Field("pnlClient", pnlClient);
    b.Field("pnlInner", pnlInner);
    b.Field("lblTitle", lblTitle);
    b.Field("lblName", lblName);
    b.Field("btnOK", btnOK);
    b.Field("btnCancel", btnCancel);
    b.Field("edtName", edtName);
    b.Field("pbxSwatch", pbxSwatch);
    b.Handler("FormCreate", this, &TfrmTestWindow::FormCreate);
    b.Handler("btnOKClick", this, &TfrmTestWindow::btnOKClick);
    b.Handler("btnOKMouseUp", this, &TfrmTestWindow::btnOKMouseUp);
    b.Handler("btnOKEnter", this, &TfrmTestWindow::btnOKEnter);
    b.Handler("edtNameExit", this, &TfrmTestWindow::edtNameExit);
    b.Handler("pbxSwatchPaint", this, &TfrmTestWindow::pbxSwatchPaint);
    b.Handler("pbxSwatchMouseDown", this, &TfrmTestWindow::pbxSwatchMouseDown);
    b.Handler("pbxSwatchMouseUp", this, &TfrmTestWindow::pbxSwatchMouseUp);
    b.Handler("pbxSwatchClick", this, &TfrmTestWindow::pbxSwatchClick);
    b.Handler("ControlMouseEnter", this, &TfrmTestWindow::ControlMouseEnter);
    b.Handler("ControlMouseLeave", this, &TfrmTestWindow::ControlMouseLeave);
  }
};
ORV_DEFINE_CLASS(TfrmTestWindow, TForm, nullptr, {})

// A bare form built in code for the loop tests.
class TfrmBare : public TForm {
  ORV_CLASS(TfrmBare)
public:
  explicit TfrmBare(TComponent* owner) : TForm(owner) {
    SetBounds(100, 100, 200, 120);
    SetBorderStyle(bsDialog);
  }
};
ORV_DEFINE_CLASS(TfrmBare, TForm, nullptr, {})

constexpr UINT WM_STEP = WM_APP + 10;

class FormsGui : public ::testing::Test {
protected:
  void SetUp() override {
    SetLayoutSource(FolderLayoutSource(ORV_TEST_DATA_DIR));
    OldPrompter = SetPrompter(&Prompts);
    Application->ClearTerminated();
  }
  void TearDown() override {
    SetPrompter(OldPrompter);
    SetLayoutSource(nullptr);
  }
  static void Pump() { Application->ProcessMessages(); }
  // Puts the cursor where a synthetic mouse message says it is, so the system agrees with it.
  static void MouseAt(TWinControl* target, UINT msg, WPARAM keys, int x, int y) {
    POINT p = target->ClientToScreen(POINT{x, y});
    SetCursorPos(p.x, p.y);
    SendMessageA(target->Handle(), msg, keys, MAKELPARAM(x, y));
    Pump();
  }
  TRecordingPrompter Prompts;
  TPrompter* OldPrompter = nullptr;
};

// The real pointer may wander over the window while a test runs; enter and leave are tested apart.
std::vector<std::string> WithoutMouseTracking(const std::vector<std::string>& log) {
  std::vector<std::string> r;
  for (const auto& s : log)
    if (s.rfind("enter ", 0) != 0 && s.rfind("leave ", 0) != 0) r.push_back(s);
  return r;
}

RECT WindowRectIn(TWinControl* c, TWinControl* parent) {
  RECT r;
  GetWindowRect(c->Handle(), &r);
  MapWindowPoints(nullptr, parent->Handle(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(FormsGui, LayoutGeometryCaptionsAndScreenshot) {
  auto* f = new TfrmTestWindow(Application);
  ASSERT_EQ(f->Log, (std::vector<std::string>{"create", "create done"}));
  f->Show();
  Pump();
  f->Update();
  RECT client;
  GetClientRect(f->Handle(), &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 260);
  char cls[64];
  GetClassNameA(f->btnOK->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TButton");
  GetClassNameA(f->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TfrmTestWindow");

  struct TGeometry {
    TWinControl* Control;
    TWinControl* Parent;
    RECT Expected;
  };
  // The bottom panel is 44 high and its bevel is one pixel: the anchored buttons keep their places.
  const TGeometry rows[] = {
      {f->pnlTop, f, {0, 0, 400, 50}},
      {f->pnlBottom, f, {0, 216, 400, 260}},
      {f->pnlClient, f, {0, 50, 400, 216}},
      {f->pnlInner, f->pnlClient, {10, 10, 190, 110}},
      {f->btnOK, f->pnlBottom, {230, 10, 305, 35}},
      {f->btnCancel, f->pnlBottom, {314, 10, 389, 35}},
      {f->edtName, f->pnlClient, {10, 125, 190, 146}},
  };
  for (const auto& g : rows) {
    RECT r = WindowRectIn(g.Control, g.Parent);
    EXPECT_EQ(r.left, g.Expected.left) << g.Control->GetName();
    EXPECT_EQ(r.top, g.Expected.top) << g.Control->GetName();
    EXPECT_EQ(r.right, g.Expected.right) << g.Control->GetName();
    EXPECT_EQ(r.bottom, g.Expected.bottom) << g.Control->GetName();
  }
  char text[64];
  GetWindowTextA(f->btnOK->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "OK");
  GetWindowTextA(f->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Layout test window");
  EXPECT_EQ(f->edtName->GetText(), "edit text");
  EXPECT_EQ(f->lblTitle->GetCaption(), "Nested panels, buttons and labels");
  EXPECT_GT(f->lblTitle->GetWidth(), 100);  // sized to its bold caption

  // Painting into a passed DC: the form, its panels and the graphic control land in a bitmap.
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(400, 260);
  f->PaintTo(shot.Canvas()->GetHandle(), 0, 0);
  struct TPixel {
    int X, Y;
    TColor Color;
  };
  const TPixel pixels[] = {{300, 5, clSkyBlue},                 // top panel
                           {390, 100, clWhite},                 // client panel
                           {20 + 150, 50 + 90, clCream},        // inner panel
                           {200 + 170, 50 + 100, clRed}};       // paint box, drawn by its parent
  for (const auto& p : pixels) EXPECT_EQ(shot.Canvas()->GetPixel(p.X, p.Y), p.Color) << p.X << "," << p.Y;

  // The artifact: what the screen shows.
  RECT wr;
  GetWindowRect(f->Handle(), &wr);
  TBitmap screen;
  screen.SetPixelFormat(pf24bit);
  screen.SetSize(wr.right - wr.left, wr.bottom - wr.top);
  HDC sdc = GetDC(nullptr);
  BitBlt(screen.Canvas()->GetHandle(), 0, 0, screen.GetWidth(), screen.GetHeight(), sdc, wr.left, wr.top, SRCCOPY);
  ReleaseDC(nullptr, sdc);
  screen.SaveToFile(std::string(ORV_BUILD_DIR) + "platform_test_window.bmp");
  shot.SaveToFile(std::string(ORV_BUILD_DIR) + "platform_test_window_paintto.bmp");
  f->Free();
}

// The symbol in a caption button that the system draws: the pixels inside the button's two-pixel edge
// that are not the button's face colour, and their bounding box.
struct TButtonSymbol {
  std::vector<POINT> Pixels;
  RECT Box{MAXLONG, MAXLONG, -1, -1};
  bool Has(int x, int y) const {
    return std::any_of(Pixels.begin(), Pixels.end(), [&](const POINT& p) { return p.x == x && p.y == y; });
  }
};

// The close box of a window whose frame the system draws: the rightmost button of the caption, one
// button size wide, inside the frame (as wide as the frame beside a client area without a menu).
TButtonSymbol CloseBoxSymbol(HWND window, TBitmap& shot) {
  RECT wr, client;
  GetWindowRect(window, &wr);
  GetClientRect(window, &client);
  const int width = wr.right - wr.left, border = (width - client.right) / 2;
  const RECT button{width - border - GetSystemMetrics(SM_CXSIZE), border + 2, width - border - 2,
                    border + GetSystemMetrics(SM_CYSIZE) - 2};
  const TColor face = TColor(GetSysColor(COLOR_BTNFACE));
  TButtonSymbol symbol;
  for (int y = button.top + 2; y < button.bottom - 2; ++y)
    for (int x = button.left + 2; x < button.right - 2; ++x) {
      if (shot.Canvas()->GetPixel(x, y) == face) continue;
      symbol.Pixels.push_back(POINT{x, y});
      symbol.Box.left = std::min<LONG>(symbol.Box.left, x);
      symbol.Box.top = std::min<LONG>(symbol.Box.top, y);
      symbol.Box.right = std::max<LONG>(symbol.Box.right, x + 1);
      symbol.Box.bottom = std::max<LONG>(symbol.Box.bottom, y + 1);
    }
  return symbol;
}

// Windows the system draws (message boxes, file dialogs, unskinned windows) take their caption buttons'
// symbols from the Marlett font: the close box shows an X, not the letter "r" it shows when the font is
// missing. An X fills all four quarters of its box and is its own mirror image; an "r" leaves its lower
// right quarter empty and is not.
TEST_F(FormsGui, TheCloseBoxOfASystemDrawnFrameShowsAnX) {
  const struct {
    TFormBorderStyle Style;
    const char* Name;
  } frames[] = {{bsDialog, "dialog"}, {bsSizeable, "sizeable"}};
  for (const auto& frame : frames) {
    SCOPED_TRACE(frame.Name);
    auto* f = new TfrmBare(Application);
    f->SetBorderStyle(frame.Style);
    f->Show();
    Pump();
    RedrawWindow(f->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    TBitmap shot;
    CaptureWindow(f->Handle(), shot);
    shot.SaveToFile(std::string(ORV_BUILD_DIR) + "platform_close_box_" + frame.Name + ".bmp");
    const TButtonSymbol x = CloseBoxSymbol(f->Handle(), shot);
    f->Free();
    ASSERT_GE(x.Pixels.size(), 8u) << "the close box shows a symbol";
    const int midX2 = x.Box.left + x.Box.right, midY2 = x.Box.top + x.Box.bottom;  // twice the centre
    int quarters[2][2] = {};
    size_t mirrored = 0;
    for (const POINT& p : x.Pixels) {
      if (2 * p.x + 1 != midX2 && 2 * p.y + 1 != midY2) ++quarters[2 * p.x + 1 > midX2][2 * p.y + 1 > midY2];
      if (x.Has(midX2 - 1 - p.x, p.y)) ++mirrored;
    }
    for (int qx = 0; qx < 2; ++qx)
      for (int qy = 0; qy < 2; ++qy)
        EXPECT_GE(quarters[qx][qy] * 8, int(x.Pixels.size())) << "quarter " << qx << "," << qy << " holds too little";
    EXPECT_GE(mirrored * 10, x.Pixels.size() * 9) << "the symbol is not its own mirror image";
  }
}

TEST_F(FormsGui, ClickComesBeforeMouseUpAndOnlyForALeftReleaseInside) {
  auto* f = new TfrmTestWindow(Application);
  f->Show();
  Pump();
  struct TCase {
    const char* Name;
    UINT Down, Up;
    WPARAM Keys;
    int UpX;
    std::vector<std::string> Expected;
  };
  // The paint box sits at 200..380 x 10..110 of pnlClient.
  const TCase cases[] = {
      {"left inside", WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 250, {"pbx.down", "pbx.click", "pbx.up"}},
      {"left released outside", WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 100, {"pbx.down", "pbx.up"}},
      {"right inside", WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 250, {"pbx.rdown", "pbx.rup"}},
  };
  for (const auto& c : cases) {
    f->Log.clear();
    MouseAt(f->pnlClient, c.Down, c.Keys, 240, 50);
    MouseAt(f->pnlClient, WM_MOUSEMOVE, c.Keys, c.UpX, 50);
    MouseAt(f->pnlClient, c.Up, 0, c.UpX, 50);
    std::vector<std::string> got;
    for (const auto& s : f->Log)
      if (s.rfind("pbx.", 0) == 0) got.push_back(s);
    EXPECT_EQ(got, c.Expected) << c.Name;
  }
  // A windowed button: the system's click notification also arrives before the mouse-up event.
  f->Log.clear();
  MouseAt(f->btnOK, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  MouseAt(f->btnOK, WM_LBUTTONUP, 0, 5, 5);
  std::vector<std::string> got;
  for (const auto& s : f->Log)
    if (s.rfind("btnOK.", 0) == 0 && s != "btnOK.enter") got.push_back(s);
  EXPECT_EQ(got, (std::vector<std::string>{"btnOK.click", "btnOK.click done", "btnOK.up"}));
  f->Free();
}

TEST_F(FormsGui, EnterAndLeaveAlsoWhileTheMouseIsCaptured) {
  auto* f = new TfrmTestWindow(Application);
  f->Show();
  Pump();
  f->Log.clear();
  MouseAt(f->pnlClient, WM_MOUSEMOVE, 0, 250, 50);           // over the paint box
  MouseAt(f->pnlClient, WM_LBUTTONDOWN, MK_LBUTTON, 250, 50);  // captured by its parent for it
  EXPECT_EQ(GetCapture(), f->pnlClient->Handle());
  MouseAt(f->pnlClient, WM_MOUSEMOVE, MK_LBUTTON, 100, 50);  // over the inner panel, still captured
  MouseAt(f->pnlClient, WM_MOUSEMOVE, MK_LBUTTON, 250, 60);  // back over the paint box
  MouseAt(f->pnlClient, WM_LBUTTONUP, 0, 250, 60);
  std::vector<std::string> got;
  for (const auto& s : f->Log)
    if (s.rfind("enter", 0) == 0 || s.rfind("leave", 0) == 0) got.push_back(s);
  EXPECT_EQ(got, (std::vector<std::string>{"enter pbxSwatch", "leave pbxSwatch", "enter pnlInner", "leave pnlInner",
                                           "enter pbxSwatch"}));
  f->Free();
}

TEST_F(FormsGui, AnEditsExitRunsBeforeTheButtonsClick) {
  auto* f = new TfrmTestWindow(Application);
  f->Show();
  Pump();
  f->edtName->SetFocus();
  Pump();
  ASSERT_TRUE(f->edtName->Focused());
  f->Log.clear();
  MouseAt(f->btnOK, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  MouseAt(f->btnOK, WM_LBUTTONUP, 0, 5, 5);
  std::vector<std::string> expected = {"edtName.exit", "btnOK.enter", "btnOK.click", "btnOK.click done", "btnOK.up"};
  EXPECT_EQ(WithoutMouseTracking(f->Log), expected);

  // Enter in the edit clicks the default button; the click moves the focus, and the edit's exit
  // runs inside the click, before it completes.
  f->edtName->SetFocus();
  Pump();
  f->OnOK = [f] { f->btnOK->SetFocus(); };
  f->Log.clear();
  PostMessageA(f->edtName->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  expected = {"btnOK.click", "edtName.exit", "btnOK.enter", "btnOK.click done"};
  EXPECT_EQ(WithoutMouseTracking(f->Log), expected);
  f->Free();
}

TEST_F(FormsGui, EscapeClicksTheCancelButtonAndTabMovesTheFocus) {
  auto* f = new TfrmTestWindow(Application);
  f->Show();
  Pump();
  f->edtName->SetFocus();
  Pump();
  PostMessageA(f->edtName->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_TRUE(f->btnOK->Focused());
  int clicks = 0;
  f->btnCancel->OnClick = [&](TObject*) { ++clicks; };
  PostMessageA(f->btnOK->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(f->GetModalResult(), mrCancel);
  f->Free();
}

TEST_F(FormsGui, AWindowedControlFreedBeforeItsFormLeavesTheTabOrderAndTheFocus) {
  auto* f = new TfrmTestWindow(Application);
  f->Show();
  Pump();
  auto* extra = new TButton(f);
  extra->SetParent(f);
  extra->SetBounds(4, 4, 60, 24);
  extra->SetFocus();
  Pump();
  EXPECT_EQ(f->GetActiveControl(), extra);
  extra->Free();
  std::vector<TWinControl*> tabs;
  f->GetTabOrderList(tabs);
  EXPECT_EQ(std::count(tabs.begin(), tabs.end(), static_cast<TWinControl*>(extra)), 0);
  EXPECT_NE(f->GetActiveControl(), static_cast<TWinControl*>(extra));
  // Tab still walks the form's controls.
  f->edtName->SetFocus();
  Pump();
  PostMessageA(f->edtName->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_TRUE(f->btnOK->Focused());
  f->Free();
}

struct TCloseCase {
  int Refusals;
  TModalResult Expected;
  int Queries;
};

TEST_F(FormsGui, CloseQueryDecidesWhetherTheModalLoopEnds) {
  const TCloseCase cases[] = {{0, mrCancel, 1}, {2, mrCancel, 3}};
  for (const auto& c : cases) {
    auto* f = new TfrmBare(Application);
    int queries = 0;
    f->OnShow = [&](TObject*) { PostMessageA(f->Handle(), WM_CLOSE, 0, 0); };  // the close box
    f->OnCloseQuery = [&](TObject*, bool& can) {
      ++queries;
      can = queries > c.Refusals;
      if (!can) PostMessageA(f->Handle(), WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(f->ShowModal(), c.Expected);
    EXPECT_EQ(queries, c.Queries);
    EXPECT_FALSE(f->GetVisible());
    f->Free();
  }
}

TEST_F(FormsGui, CloseActionsOfAModelessForm) {
  struct TCase {
    bool Allow;
    TCloseAction Action;
    bool VisibleAfter;
    bool Freed;
  };
  const TCase cases[] = {{false, caHide, true, false}, {true, caNone, true, false}, {true, caHide, false, false}, {true, caFree, false, true}};
  for (const auto& c : cases) {
    auto* f = new TfrmBare(Application);
    bool freed = false;
    f->OnDestroy = [&](TObject*) { freed = true; };
    f->OnCloseQuery = [&](TObject*, bool& can) { can = c.Allow; };
    f->OnClose = [&](TObject*, TCloseAction& a) { a = c.Action; };
    f->Show();
    f->Close();
    Pump();
    EXPECT_EQ(freed, c.Freed);
    if (!freed) {
      EXPECT_EQ(f->GetVisible(), c.VisibleAfter);
      f->Free();
    }
  }
}

TEST_F(FormsGui, NestedModalLoopsDisableTheWindowsBelow) {
  auto* outer = new TfrmBare(Application);
  auto* inner = new TfrmBare(Application);
  std::vector<std::string> log;
  bool outerEnabledDuringInner = true;
  outer->OnShow = [&](TObject*) { PostMessageA(outer->Handle(), WM_STEP, 0, 0); };
  outer->SetMessageHandler(WM_STEP, [&](TMessage&) {
    log.push_back("inner opens");
    TModalResult r = inner->ShowModal();
    log.push_back("inner returned " + std::to_string(r));
    EXPECT_TRUE(IsWindowEnabled(outer->Handle()));
    outer->SetModalResult(mrNo);
  });
  inner->OnShow = [&](TObject*) { PostMessageA(inner->Handle(), WM_STEP, 0, 0); };
  inner->SetMessageHandler(WM_STEP, [&](TMessage&) {
    outerEnabledDuringInner = IsWindowEnabled(outer->Handle()) != FALSE;
    // Hidden, the inner loop goes on until a result is set.
    inner->Hide();
    PostMessageA(inner->Handle(), WM_STEP + 1, 0, 0);
  });
  inner->SetMessageHandler(WM_STEP + 1, [&](TMessage&) { inner->SetModalResult(mrYes); });
  EXPECT_EQ(outer->ShowModal(), mrNo);
  EXPECT_FALSE(outerEnabledDuringInner);
  EXPECT_EQ(log, (std::vector<std::string>{"inner opens", "inner returned 6"}));
  inner->Free();
  outer->Free();
}

// A worker that sets a window's modal result through a synchronised call.
class TResultThread : public TThread {
public:
  explicit TResultThread(TCustomForm* f) : Form(f) {}
  ~TResultThread() override { WaitFor(); }
  TCustomForm* Form;
  bool RanOnMainThread = false;

protected:
  void Execute() override {
    Synchronize([this] {
      RanOnMainThread = IsMainThread();
      Form->SetModalResult(mrOk);
    });
  }
};

TEST_F(FormsGui, ModalResultSetFromASynchronisedCallEndsTheLoop) {
  Application->Initialize();
  auto* f = new TfrmBare(Application);
  TResultThread worker(f);
  f->OnShow = [&](TObject*) { worker.Start(); };
  EXPECT_EQ(f->ShowModal(), mrOk);
  worker.WaitFor();
  EXPECT_TRUE(worker.RanOnMainThread);
  f->Free();
}

TEST_F(FormsGui, AnExceptionInAHandlerReachesTheDefaultHandlerAndTheLoopGoesOn) {
  auto* f = new TfrmBare(Application);
  TTimer* timer = nullptr;
  f->OnShow = [&](TObject*) { PostMessageA(f->Handle(), WM_STEP, 0, 0); };
  // A message handler fails; then a timer tick fails; then the loop still ends normally.
  f->SetMessageHandler(WM_STEP, [&](TMessage&) {
    timer = new TTimer(f);
    timer->SetInterval(1);
    timer->OnTimer = [&](TObject*) {
      timer->SetEnabled(false);
      PostMessageA(f->Handle(), WM_STEP + 1, 0, 0);
      throw Exception("Timer failed");
    };
    throw Exception("Boom");
  });
  f->SetMessageHandler(WM_STEP + 1, [&](TMessage&) { f->SetModalResult(mrOk); });
  EXPECT_EQ(f->ShowModal(), mrOk);
  ASSERT_EQ(Prompts.Prompts.size(), 2u);
  EXPECT_EQ(Prompts.Prompts[0].Text, "Boom.");
  EXPECT_EQ(Prompts.Prompts[0].Type, mtError);
  EXPECT_EQ(Prompts.Prompts[0].Caption, Application->GetTitle());
  EXPECT_EQ(Prompts.Prompts[1].Text, "Timer failed.");
  f->Free();
}

// A creation handler that fails part-way (an options file that cannot be written) is reported by the
// default handler; the window is kept as far as the handler got and works: shown, clicked, closed.
TEST_F(FormsGui, AnExceptionInTheCreationHandlerIsReportedAndTheFormIsKept) {
  TfrmTestWindow::CreateStep() = [](TfrmTestWindow* f) {
    f->edtName->SetText("set before the failure");
    throw Exception("Unable to write to C:\\folder\\options.ini");
  };
  TfrmTestWindow* f = nullptr;
  try {
    f = new TfrmTestWindow(Application);
  } catch (...) {
    ADD_FAILURE() << "the exception left the form's construction";
  }
  TfrmTestWindow::CreateStep() = nullptr;
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Log, std::vector<std::string>{"create"});  // the rest of the handler was skipped
  ASSERT_EQ(Prompts.Prompts.size(), 1u);
  EXPECT_EQ(Prompts.Prompts[0].Text, "Unable to write to C:\\folder\\options.ini.");
  EXPECT_EQ(Prompts.Prompts[0].Type, mtError);
  EXPECT_EQ(f->edtName->GetText(), "set before the failure");

  // OK closes the modal window with its result.
  f->OnShow = [&](TObject*) { PostMessageA(f->Handle(), WM_STEP, 0, 0); };
  f->SetMessageHandler(WM_STEP, [&](TMessage&) { f->btnOK->Click(); });
  EXPECT_EQ(f->ShowModal(), mrOk);
  EXPECT_EQ(f->Log.back(), "btnOK.click done");
  EXPECT_EQ(Prompts.Prompts.size(), 1u);
  f->Free();
}

TEST_F(FormsGui, ApplicationRunEndsWhenTheMainFormCloses) {
  TfrmBare* main = nullptr;
  Application->CreateForm(main);
  main->OnShow = [&](TObject*) { PostMessageA(main->Handle(), WM_CLOSE, 0, 0); };
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  Application->ClearTerminated();
  Application->SetMainForm(nullptr);
  main->Free();
}

}  // namespace

namespace {

TEST(FormsHooks, MessageHooksSeeTheLoopsMessagesInOrderAndCanKeepThemBack) {
  auto* form = new TForm(Application);
  form->Show();
  Application->ProcessMessages();
  std::vector<std::string> seen;
  int keysAtTheWindow = 0;
  form->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keysAtTheWindow; };
  const UINT kProbe = WM_APP + 7;
  int first = Application->HookMessages([&](MSG& m) {
    if (m.message == kProbe) seen.push_back("first " + std::to_string(m.wParam));
    return m.message == kProbe && m.wParam == 1;  // keeps message 1 from going on
  });
  int second = Application->HookMessages([&](MSG& m) {
    if (m.message == kProbe) seen.push_back("second " + std::to_string(m.wParam));
    return m.message == WM_KEYDOWN && m.wParam == 'K';
  });
  bool onMessageSawOne = false;
  Application->OnMessage = [&](MSG& m, bool&) { onMessageSawOne |= m.message == kProbe && m.wParam == 1; };
  PostMessageA(form->Handle(), kProbe, 1, 0);
  PostMessageA(form->Handle(), kProbe, 2, 0);
  PostMessageA(form->Handle(), WM_KEYDOWN, 'K', 1);
  PostMessageA(form->Handle(), WM_KEYDOWN, 'L', 1);
  Application->ProcessMessages();
  EXPECT_EQ(seen, (std::vector<std::string>{"first 1", "first 2", "second 2"}));
  EXPECT_FALSE(onMessageSawOne);
  EXPECT_EQ(keysAtTheWindow, 1);  // K was kept back by the second hook, L went on
  Application->UnhookMessages(first);
  Application->UnhookMessages(second);
  Application->UnhookMessages(second);  // twice is harmless
  seen.clear();
  PostMessageA(form->Handle(), kProbe, 1, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(onMessageSawOne);
  Application->OnMessage = nullptr;
  form->Free();
}

TEST(FormsHooks, ShortCutOfAKeyMessage) {
  struct {
    const char* Name;
    UINT Msg;
    WPARAM Key;
    LPARAM Data;
    int ShortCut;
  } const cases[] = {
      {"key down", WM_KEYDOWN, 'O', 1, 'O'},
      {"Alt from the key data", WM_SYSKEYDOWN, 'X', 1 | (1 << 29), scAlt | 'X'},
      {"function key", WM_KEYDOWN, VK_F4, 1, VK_F4},
      {"key up is none", WM_KEYUP, 'O', 1, 0},
      {"a character is none", WM_CHAR, 'o', 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MSG m{};
    m.message = c.Msg;
    m.wParam = c.Key;
    m.lParam = c.Data;
    EXPECT_EQ(ShortCutOfKeyMessage(m), c.ShortCut);
  }
}

TEST(FormsHooks, BorderWidthIsABandInTheFormsColourAroundTheClientArea) {
  auto* plain = new TForm(Application);
  auto* banded = new TForm(Application);
  int left = 40;
  for (TForm* f : {plain, banded}) {
    f->SetBorderStyle(bsSingle);
    f->SetBounds(left, 40, 200, 150);
    left += 260;
    f->SetColor(clLime);
  }
  SetPropText(banded, "BorderWidth", "6");
  EXPECT_EQ(GetPropText(banded, "Scaled"), "True");
  SetPropText(banded, "Scaled", "False");
  EXPECT_FALSE(banded->GetScaled());
  banded->SetClientWidth(180);  // the client size asked for stays the client size
  EXPECT_EQ(banded->GetClientRect().right, 180);
  banded->SetWidth(200);
  plain->Show();
  banded->Show();
  Application->ProcessMessages();
  RECT a, b;
  GetClientRect(plain->Handle(), &a);
  GetClientRect(banded->Handle(), &b);
  EXPECT_EQ(b.right, a.right - 12);
  EXPECT_EQ(b.bottom, a.bottom - 12);
  banded->SetBorderWidth(0);
  GetClientRect(banded->Handle(), &b);
  EXPECT_EQ(b.right, a.right);
  banded->SetBorderWidth(3);
  RedrawWindow(banded->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  // The band's pixels show the form's colour: the one just left of the client area.
  POINT p{-1, 10};
  ClientToScreen(banded->Handle(), &p);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, p.x, p.y) & 0xFFFFFF, ColorToRGB(clLime) & 0xFFFFFF);
  ReleaseDC(nullptr, screen);
  plain->Free();
  banded->Free();
}

}  // namespace
