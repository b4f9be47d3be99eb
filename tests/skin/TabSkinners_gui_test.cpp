// The tab, tab sheet, header and size-grip skinners on real windows: the focused tab's frame, the
// close boxes of a tagged page control and the form's answer that frees or keeps the page, the tabs'
// keyboard and mouse working as without the skin, the header's hot column following the mouse, the
// turned images of tabs at the other edges, and the tab families the program itself does not hold.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../platform/ControlGallery.h"
#include "HeldKeys.h"
#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinImageUtils.h"
#include "SkinTestKit.h"
#include "SkinnerBox.h"
#include "SkinnerDispatch.h"
#include "SkinnerHeader.h"
#include "SkinnerTabs.h"

// A page control of the button style, as the dispatch reads it by name.
class TButtonPageControl : public TPageControl {
  ORV_CLASS(TButtonPageControl)
public:
  using TPageControl::TPageControl;
  std::string GetStyle() const { return "tsButtons"; }
  void SetStyle(const std::string&) {}
};
ORV_DEFINE_CLASS(TButtonPageControl, TPageControl, FactoryOf<TButtonPageControl>(),
                 {StrProp<TButtonPageControl>("Style", &TButtonPageControl::GetStyle, &TButtonPageControl::SetStyle)})

// A tab set of another library: tabs hanging from its top edge, read through its published properties.
class TTabSet : public TCustomControl {
  ORV_CLASS(TTabSet)
public:
  using TCustomControl::TCustomControl;
  std::vector<std::string> GetTabs() const { return FTabs; }
  void SetTabs(const std::vector<std::string>& v) { FTabs = v; }
  int GetTabIndex() const { return FTabIndex; }
  void SetTabIndex(int v) { FTabIndex = v; }
  int GetStartMargin() const { return 4; }
  int GetEndMargin() const { return 4; }
  int GetFirstIndex() const { return 0; }
  void SetInt(int) {}

private:
  std::vector<std::string> FTabs;
  int FTabIndex = 0;
};
ORV_DEFINE_CLASS(TTabSet, TCustomControl, FactoryOf<TTabSet>(),
                 {StringsProp<TTabSet>("Tabs", &TTabSet::GetTabs, &TTabSet::SetTabs),
                  IntProp<TTabSet>("TabIndex", &TTabSet::GetTabIndex, &TTabSet::SetTabIndex),
                  IntProp<TTabSet>("StartMargin", &TTabSet::GetStartMargin, &TTabSet::SetInt),
                  IntProp<TTabSet>("EndMargin", &TTabSet::GetEndMargin, &TTabSet::SetInt),
                  IntProp<TTabSet>("FirstIndex", &TTabSet::GetFirstIndex, &TTabSet::SetInt)})

// A page control of another family that paints its tabs from two bitmaps.
class TAdvPages : public TCustomControl {
  ORV_CLASS(TAdvPages)
public:
  using TCustomControl::TCustomControl;
  ~TAdvPages() override {
    delete FNormal;
    delete FActive;
  }
  TBitmap* GetNormal() const { return FNormal; }
  TBitmap* GetActive() const { return FActive; }

private:
  TBitmap* FNormal = new TBitmap;
  TBitmap* FActive = new TBitmap;
};
ORV_DEFINE_CLASS(TAdvPages, TCustomControl, FactoryOf<TAdvPages>(),
                 {ObjProp<TAdvPages, TBitmap>("TabBackGround", &TAdvPages::GetNormal),
                  ObjProp<TAdvPages, TBitmap>("TabBackGroundActive", &TAdvPages::GetActive)})

// A form that answers the close-box question as told and notes what it was asked.
class TCloseBoxForm : public TForm {
public:
  using TForm::TForm;
  LRESULT Answer = 0;
  std::vector<std::pair<WPARAM, LPARAM>> Asked;
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_CLOSETAB) Asked.push_back({m.WParam, m.LParam});
    if (m.Msg == SM_CLOSETAB && Answer != 0)
      m.Result = Answer;
    else
      TForm::WndProc(m);  // a form that does not know the message answers 0
  }
};

namespace {

using namespace skintest;

TColor FrameColour(int frame) { return TColor(RGB(20 * frame, 220 - 20 * frame, 60 + 10 * frame)); }

// Frames of one colour each, `width` pixels wide, and no margins: a frame on the screen tells its number.
void UseFrames(TDataSkinObject* e, int frames, int width, int height) {
  e->Bitmap->SetPixelFormat(pf24bit);
  e->Bitmap->SetSize(width * frames, height);
  for (int i = 0; i < frames; ++i)
    FillRectColor(e->Bitmap->Canvas()->GetHandle(), RECT{width * i, 0, width * i + width, height}, FrameColour(i + 1));
  e->FrameCount = frames;
  e->Margins = TSkinMargins{};
  e->Trans = 0;
  e->Tile = 0;
}

COLORREF ScreenPixel(HWND h, int x, int y) {
  POINT p{x, y};
  ClientToScreen(h, &p);
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

RECT TabRect(HWND tabs, int i) {
  RECT r{};
  SendMessageA(tabs, TCM_GETITEMRECT, WPARAM(i), LPARAM(&r));
  return r;
}

// A form with a page control of three pages ("One", "Two", "Three"), each with a label.
class TabForm : public SkinEngine {
protected:
  TCloseBoxForm* form = nullptr;
  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;

  void SetUp() override {
    SkinEngine::SetUp();
    SetCursorPos(0, 0);
    UseFrames(data->Tabs, 5, 20, 22);
    form = new TCloseBoxForm(nullptr);
    form->SetBounds(60, 60, 360, 220);
    form->SetCaption("Tabs");
  }
  void TearDown() override {
    if (form) form->Free();
    PumpMessagesUntil([] { return true; });
    SkinEngine::TearDown();
  }
  void MakePages(TPageControl* pc, int tag = 0) {
    pages = pc;
    pages->SetParent(form);
    pages->SetBounds(8, 8, 330, 160);
    pages->SetTag(tag);
    for (const char* caption : {"One", "Two", "Three"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
      auto* label = new TLabel(form);
      label->SetParent(sheet);
      label->SetBounds(10, 10, 100, 16);
      label->SetCaption(std::string("Page ") + caption);
      sheets.push_back(sheet);
    }
    pages->SetActivePage(sheets[0]);
  }
  void ShowSkinned() {
    ASSERT_TRUE(ShowSkinnedInFront(form));
  }
  TSkinnerForm* FormSkinner() { return Manager().FindForm(form->Handle()); }
  // The frame on the screen at a tab's left edge (the caption stands in its middle).
  COLORREF TabShows(int i) {
    const RECT t = TabRect(pages->Handle(), i);
    return ScreenPixel(pages->Handle(), t.left + 3, t.top + 4);
  }
};

TEST_F(TabForm, TheFocusedTabUsesItsFocusedFrame) {
  MakePages(new TPageControl(form));
  ShowSkinned();
  ASSERT_EQ(SkinnerName(SkinnerOf(FormSkinner(), pages)), "TSkinTab");
  ASSERT_EQ(SkinnerName(SkinnerOf(FormSkinner(), sheets[0])), "TSkinTabSheet");
  const struct {
    const char* Name;
    std::function<void()> Act;
    int Focused;
  } steps[] = {
      {"as shown", [] {}, 0},
      {"tab control focus moved to the third tab",
       [&] { SendMessageA(pages->Handle(), TCM_SETCURFOCUS, 2, 0); }, 2},
      {"the second tab clicked",
       [&] {
         const RECT t = TabRect(pages->Handle(), 1);
         SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(t.left + 5, t.top + 5));
         SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(t.left + 5, t.top + 5));
       },
       1},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Name);
    s.Act();
    RedrawAll(pages->Handle());
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURFOCUS, 0, 0), s.Focused);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(TabShows(i), ColorToRGB(FrameColour(i == s.Focused ? 2 : 1))) << "tab " << i;
  }
  // The sheet is on the face colour with its label painted over it.
  TBitmap shot;
  CaptureWindow(sheets[1]->Handle(), shot);
  EXPECT_EQ(PixelAt(&shot, shot.GetWidth() - 4, shot.GetHeight() - 4), ColorToRGB(data->ButtonFace));
  int ink = 0;
  for (int y = 10; y < 26; ++y)
    for (int x = 10; x < 60; ++x) ink += PixelAt(&shot, x, y) != ColorToRGB(data->ButtonFace);
  EXPECT_GT(ink, 0) << "the label";
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_tabs_focused.bmp");
}

struct TCloseCase {
  const char* Name;
  int Tag;
  int HiddenTab;    // the page whose tab is hidden first, -1 none
  int ClickedTab;   // the tab whose close box is clicked
  LRESULT Answer;   // the form's answer
  bool Asked;       // the form was asked
  int FreedPage;    // the page freed, -1 none
};
const TCloseCase CloseCases[] = {
    {"answer 0 frees the page", CloseBoxTag, -1, 1, 0, true, 1},
    {"a non-zero answer keeps it", CloseBoxTag, -1, 1, 1, true, -1},
    {"with a hidden tab the tab's own page goes", CloseBoxTag, 0, 0, 0, true, 1},
    {"without the tag there are no close boxes", 0, -1, 1, 0, false, -1},
};

class CloseBoxes : public TabForm, public ::testing::WithParamInterface<TCloseCase> {};

TEST_P(CloseBoxes, TheFormsAnswerDecides) {
  const TCloseCase& c = GetParam();
  MakePages(new TPageControl(form), c.Tag);
  if (c.HiddenTab >= 0) sheets[size_t(c.HiddenTab)]->SetTabVisible(false);
  pages->SetActivePage(sheets[2]);
  form->Answer = c.Answer;
  ShowSkinned();
  auto* skinner = static_cast<TSkinTab*>(SkinnerOf(FormSkinner(), pages));
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->CloseBoxes, c.Tag == CloseBoxTag);
  const RECT t = TabRect(pages->Handle(), c.ClickedTab);
  if (c.Tag == CloseBoxTag) {
    // A box with both diagonals at the tab's right, in the pen's black.
    EXPECT_EQ(ScreenPixel(pages->Handle(), t.right - 8, t.top + 3), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(pages->Handle(), t.right - 5, t.top + 6), RGB(0, 0, 0));
    SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_tabs_close_boxes.bmp");
  }
  std::vector<TTabSheet*> before;
  for (int i = 0; i < pages->PageCount(); ++i) before.push_back(pages->Pages(i));
  TTabSheet* freed = c.FreedPage >= 0 ? sheets[size_t(c.FreedPage)] : nullptr;
  const POINT box{t.right - 5, t.top + 5};
  SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
  PumpMessagesUntil([] { return true; });

  if (c.Asked) {
    ASSERT_EQ(form->Asked.size(), 1u);
    EXPECT_EQ(form->Asked[0].first, WPARAM(pages->Handle()));
    EXPECT_EQ(form->Asked[0].second, LPARAM(c.ClickedTab));
  } else {
    EXPECT_TRUE(form->Asked.empty());
  }
  std::vector<TTabSheet*> expected;
  for (TTabSheet* s : before)
    if (s != freed) expected.push_back(s);
  std::vector<TTabSheet*> now;
  for (int i = 0; i < pages->PageCount(); ++i) now.push_back(pages->Pages(i));
  EXPECT_EQ(now, expected);
  if (!c.Asked) {
    EXPECT_EQ(pages->GetActivePage(), pages->PageForTab(c.ClickedTab)) << "a plain click on the tab selects it";
  } else if (!freed) {
    EXPECT_EQ(pages->GetActivePage(), sheets[2]) << "the close box's click selects nothing";
  } else {
    EXPECT_NE(pages->GetActivePage(), nullptr);
  }
}
INSTANTIATE_TEST_SUITE_P(Cases, CloseBoxes, ::testing::ValuesIn(CloseCases), CaseName());

TEST_F(TabForm, TheScrollArrowsOfATooLongTabRowAreLeftToTheirSkinner) {
  MakePages(new TPageControl(form));
  for (const char* caption : {"Four", "Five", "Six", "Seven", "Eight", "Nine", "Ten"}) {
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
  }
  ShowSkinned();
  auto* s = static_cast<TSkinTab*>(SkinnerOf(FormSkinner(), pages));
  ASSERT_NE(s, nullptr);
  HWND arrows = s->FindScroller();
  ASSERT_NE(arrows, nullptr) << "the tab row scrolls";
  // Made once the engine has an up-down skinner, and then only one.
  const bool engineHasOne = TControlDispatch::Rule("TSkinUpDown").Make != nullptr;
  EXPECT_EQ(s->Scroller != nullptr, engineHasOne);
  TSkinControl* first = s->Scroller;
  RedrawAll(pages->Handle());
  EXPECT_EQ(s->Scroller, first);
  if (engineHasOne) { EXPECT_EQ(FormSkinner()->FindControlByWindow(arrows), s->Scroller); }
  // The strip is not copied over the arrows.
  RECT a;
  GetWindowRect(arrows, &a);
  MapWindowPoints(nullptr, pages->Handle(), reinterpret_cast<POINT*>(&a), 2);
  const COLORREF inArrows = ScreenPixel(pages->Handle(), a.left + 2, (a.top + a.bottom) / 2);
  for (int f = 1; f <= 5; ++f) EXPECT_NE(inArrows, ColorToRGB(FrameColour(f)));
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_tabs_scrolling.bmp");
}

// ---- the keyboard and the mouse, with and without the skin ----

class GalleryTabs : public SkinEngine {
protected:
  TfrmControlGallery* F = nullptr;
  void SetUp() override {
    SkinEngine::SetUp();
    SetCursorPos(0, 0);
    std::string d = ORV_TEST_DATA_DIR;
    SetLayoutSource(FolderLayoutSource(d.substr(0, d.rfind("skin/data/")) + "platform/data/"));
  }
  void TearDown() override {
    if (F) F->Free();
    PumpMessagesUntil([] { return true; });
    SetLayoutSource(nullptr);
    SkinEngine::TearDown();
  }
  void Open(bool skinned) {
    F = ShowGallery(true);
    if (skinned) {
      ASSERT_TRUE(SkinWindowNow(F->Handle()));
    }
    RedrawAll(F->Handle());
  }
  // The pages and change events a run of clicks and keys gives.
  std::vector<std::string> Script() {
    TPageControl* pc = F->PageControlOptions;
    std::vector<std::string> seen;
    auto note = [&](const char* what) {
      Application->ProcessMessages();
      PumpMessagesUntil([] { return true; });
      std::string line = std::string(what) + ": " + pc->GetActivePage()->GetName();
      for (const std::string& l : F->Log) line += " " + l;
      F->Log.clear();
      seen.push_back(line);
    };
    auto key = [&](WORD vk) {
      PostMessageA(pc->Handle(), WM_KEYDOWN, vk, 1);
      PostMessageA(pc->Handle(), WM_KEYUP, vk, LPARAM(0xC0000001));
    };
    const RECT audio = TabRect(pc->Handle(), 2);
    SendMessageA(pc->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(audio.left + 6, audio.top + 6));
    SendMessageA(pc->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(audio.left + 6, audio.top + 6));
    note("click Audio");
    pc->SetFocus();
    key(VK_LEFT);
    note("left");
    key(VK_LEFT);
    note("left again");
    key(VK_RIGHT);
    note("right");
    key(VK_HOME);
    note("home");
    {
      THeldKeys held({VK_CONTROL});
      key(VK_TAB);
      note("ctrl+tab");
      held.Hold(VK_SHIFT);
      key(VK_TAB);
      note("ctrl+shift+tab");
    }
    return seen;
  }
};

TEST_F(GalleryTabs, KeysAndClicksSwitchPagesAsWithoutTheSkin) {
  Open(false);
  const std::vector<std::string> plain = Script();
  F->Free();
  F = nullptr;
  PumpMessagesUntil([] { return true; });
  Open(true);
  ASSERT_EQ(F->PageControlOptions->Perform(SM_ISSKINNED), 1);
  EXPECT_EQ(Script(), plain);
  // The run did switch pages: by the click, and by Ctrl+Tab forward and Ctrl+Shift+Tab back.
  const std::vector<std::string> expected = {
      "click Audio: TabSheetAudio PageControlOptions.change",
      "left: TabSheetVideo PageControlOptions.change",
      "left again: TabSheetGeneral PageControlOptions.change",
      "right: TabSheetVideo PageControlOptions.change",
      "home: TabSheetVideo",
      "ctrl+tab: TabSheetAudio PageControlOptions.change",
      "ctrl+shift+tab: TabSheetVideo PageControlOptions.change",
  };
  EXPECT_EQ(plain, expected);
}

// ---- headers ----

class Header : public TabForm {
protected:
  HWND list = nullptr, header = nullptr;
  TSkinHeader* skinner = nullptr;
  void MakeList() {
    UseFrames(data->Headerbar, 5, 12, 20);
    list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 8, 8, 330, 150, form->Handle(),
                           HMENU(7), GetModuleHandleA(nullptr), nullptr);
    const struct {
      const char* Text;
      int Width, Format;
    } columns[] = {{"Name", 90, LVCFMT_LEFT}, {"Size", 90, LVCFMT_RIGHT}, {"Type", 90, LVCFMT_CENTER}};
    for (int i = 0; i < 3; ++i) {
      LVCOLUMNA c{};
      c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      c.pszText = const_cast<char*>(columns[i].Text);
      c.cx = columns[i].Width;
      c.fmt = columns[i].Format;
      SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(i), LPARAM(&c));
    }
    header = ListView_GetHeader(list);
  }
  // The list view's skinner attaches the header skinner this way.
  void SkinHeader() {
    TSkinControl listSkinner(form);
    listSkinner.WindowHandle = list;
    listSkinner.SkinData = data;
    listSkinner.Form = FormSkinner();
    listSkinner.Canvas = FormSkinner()->ControlCanvas();
    skinner = SkinListViewHeader(&listSkinner);
    ASSERT_NE(skinner, nullptr);
    RedrawAll(header);
  }
  RECT Column(int i) {
    RECT r{};
    Header_GetItemRect(header, i, &r);
    return r;
  }
  COLORREF ColumnShows(int i) { return ScreenPixel(header, Column(i).left + 1, 2); }
};

TEST_F(Header, TheHotColumnFollowsTheMouse) {
  MakeList();
  ShowSkinned();
  SkinHeader();
  EXPECT_EQ(SendMessageA(header, SM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(skinner->HotItem, -1);
  const struct {
    const char* Name;
    UINT Msg;
    int Column;  // the column the mouse is over (for a move)
    int Hot;
  } steps[] = {
      {"over the second column", WM_MOUSEMOVE, 1, 1},
      {"over the third", WM_MOUSEMOVE, 2, 2},
      {"back to the first", WM_MOUSEMOVE, 0, 0},
      {"out of the header", WM_MOUSELEAVE, 0, -1},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Name);
    const RECT c = Column(s.Column);
    SendMessageA(header, s.Msg, 0, MAKELPARAM((c.left + c.right) / 2, 4));
    PumpMessagesUntil([] { return true; });
    EXPECT_EQ(skinner->HotItem, s.Hot);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(ColumnShows(i), ColorToRGB(FrameColour(i == s.Hot ? 2 : 1))) << "column " << i;
  }
  // Right of the last column the image's first frame.
  RECT hr;
  GetClientRect(header, &hr);
  EXPECT_EQ(ScreenPixel(header, hr.right - 3, 2), ColorToRGB(FrameColour(1)));
  // Captions: left, right and centred in their columns.
  TBitmap shot;
  CaptureWindow(header, shot);
  auto inkColumns = [&](int column) {
    const RECT c = Column(column);
    int first = -1, last = -1;
    for (int x = c.left; x < c.right; ++x)
      for (int y = 0; y < shot.GetHeight(); ++y)
        if (PixelAt(&shot, x, y) != ColorToRGB(FrameColour(1))) {
          if (first < 0) first = x - c.left;
          last = x - c.left;
        }
    return std::make_pair(first, (c.right - c.left) - 1 - last);
  };
  const auto left = inkColumns(0), right = inkColumns(1), centre = inkColumns(2);
  EXPECT_LT(left.first, left.second) << "left-aligned";
  EXPECT_GT(right.first, right.second) << "right-aligned";
  EXPECT_LE(std::abs(centre.first - centre.second), 3) << "centred";
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_header.bmp");
}

// ---- tabs at the other edges ----

struct TEdgeCase {
  const char* Name;
  DWORD Style;
  int Position;
  bool TabFlipped;
  int PaneTurn;  // 0 none, 1 flipped, 2 left, 3 right
};
const TEdgeCase EdgeCases[] = {
    {"top", 0, tpTopTabs, false, 0},
    {"bottom", TCS_BOTTOM, tpBottomTabs, true, 1},
    {"left", TCS_VERTICAL | TCS_MULTILINE, tpLeftTabs, false, 2},
    {"right", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, tpRightTabs, false, 3},
};

class Edges : public TabForm, public ::testing::WithParamInterface<TEdgeCase> {};

TEST_P(Edges, TurnTheImagesForTheirEdge) {
  const TEdgeCase& c = GetParam();
  // Images whose top-left pixel differs from the rest, so every turn moves it.
  const TCharMap tabMap = {"abbbb", "bbbbb", "bbbbb"};
  const TCharMap paneMap = {"abb", "bbb", "bbb", "bbb"};
  const TLegend legend{{'a', TColor(RGB(255, 0, 0))}, {'b', TColor(RGB(0, 0, 255))}};
  data->Tabs->Bitmap->Assign(BitmapFromMap(tabMap, legend).get());
  data->Tabs->FrameCount = 1;
  data->Tabs->Style = 1;
  data->TabPane->Bitmap->Assign(BitmapFromMap(paneMap, legend).get());
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 340, 220, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | c.Style, 8, 8, 300, 160, parent,
                              HMENU(9), GetModuleHandleA(nullptr), nullptr);
  for (int i = 0; i < 2; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(i ? "Second" : "First");
    SendMessageA(tabs, TCM_INSERTITEMA, WPARAM(i), LPARAM(&item));
  }
  ASSERT_TRUE(SkinWindowNow(parent));
  auto* s = dynamic_cast<TSkinTab*>(Manager().FindForm(parent)->FindControlByWindow(tabs));
  ASSERT_NE(s, nullptr) << "a raw tab control is skinned by its window class";
  EXPECT_EQ(s->Position, c.Position);
  EXPECT_EQ(MapOf(s->TabImage, legend), c.TabFlipped ? TCharMap({"bbbbb", "bbbbb", "abbbb"}) : tabMap);
  const TCharMap panes[] = {paneMap, {"bbb", "bbb", "bbb", "abb"}, {"bbbb", "bbbb", "abbb"}, {"bbba", "bbbb", "bbbb"}};
  EXPECT_EQ(MapOf(s->PaneImage, legend), panes[c.PaneTurn]);
  RedrawAll(parent);
  SaveScreenshot(parent, std::string(ORV_BUILD_DIR) + "skinned_tabs_" + c.Name + ".bmp");
  DestroyRawWindow(parent);
}
INSTANTIATE_TEST_SUITE_P(Cases, Edges, ::testing::ValuesIn(EdgeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- the families the program does not hold ----

TEST_F(TabForm, AButtonStylePageControlDrawsButtonsAndNoPane) {
  UseFrames(data->Buttons, 5, 20, 22);
  MakePages(new TButtonPageControl(form));
  ShowSkinned();
  ASSERT_EQ(SkinnerName(SkinnerOf(FormSkinner(), pages)), "TSkinTabBtn");
  EXPECT_EQ(TabShows(0), ColorToRGB(FrameColour(2)));
  EXPECT_EQ(TabShows(1), ColorToRGB(FrameColour(1)));
  // Below the button strip the control's own frame: no skin pane.
  RECT p{0, 0, pages->GetWidth(), pages->GetHeight()};
  SendMessageA(pages->Handle(), TCM_ADJUSTRECT, FALSE, LPARAM(&p));
  const COLORREF below = ScreenPixel(pages->Handle(), 1, p.top + 20);
  for (int f = 1; f <= 5; ++f) EXPECT_NE(below, ColorToRGB(FrameColour(f)));
}

TEST_F(TabForm, ATabSetSkipsATabTooWideAndDrawsALaterOne) {
  auto* set = new TTabSet(form);
  set->SetParent(form);
  set->SetBounds(8, 8, 200, 24);
  // The second tab's caption is too wide for what is left after the first.
  set->SetTabs({"One", std::string(40, 'W'), "Two"});
  set->SetTabIndex(2);
  ShowSkinned();
  TSkinControl* s = SkinnerOf(FormSkinner(), set);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinTab31");
  RedrawAll(set->Handle());
  TBitmap shot;
  CaptureWindow(set->Handle(), shot);
  // The frames from the image turned upside down (a plain colour per frame stays that colour).
  EXPECT_EQ(PixelAt(&shot, 5, 2), ColorToRGB(FrameColour(1))) << "the first tab at the start margin";
  int selected = 0;
  for (int x = 0; x < shot.GetWidth(); ++x) selected += PixelAt(&shot, x, 2) == ColorToRGB(FrameColour(2));
  EXPECT_GT(selected, 0) << "the third tab, selected, drawn after the skipped one";
  EXPECT_EQ(PixelAt(&shot, shot.GetWidth() - 2, 2), ColorToRGB(data->ButtonFace)) << "the end margin stays empty";
}

TEST_F(TabForm, AnAdvancedPageControlTakesTabBackgroundsWhileSkinned) {
  data->SetSkin3rd({"TAdvPages=AdvPageControl"});
  auto* adv = new TAdvPages(form);
  adv->SetParent(form);
  adv->SetBounds(8, 8, 200, 100);
  data->SetActive(true);
  ShowSkinned();
  TSkinControl* s = SkinnerOf(FormSkinner(), adv);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinAdvPage");
  for (TBitmap* b : {adv->GetNormal(), adv->GetActive()}) {
    EXPECT_EQ(b->GetWidth(), 100);
    EXPECT_EQ(b->GetHeight(), 21);
  }
  EXPECT_EQ(PixelAt(adv->GetNormal(), 50, 10), ColorToRGB(FrameColour(1)));
  EXPECT_EQ(PixelAt(adv->GetActive(), 50, 10), ColorToRGB(FrameColour(2)));
  data->SetActive(true);
  data->SetActive(false);
  ASSERT_TRUE(PumpMessagesUntil([&] { return Manager().Forms.empty(); }));
  EXPECT_TRUE(adv->GetNormal()->Empty()) << "given back when unskinned";
  EXPECT_TRUE(adv->GetActive()->Empty());
}

// The window's pixels, every fourth of each row and column, are the skin's face colour.
void ExpectFaceColoured(HWND window, TSkinData* data) {
  RedrawAll(window);
  TBitmap shot;
  CaptureWindow(window, shot);
  for (int y = 0; y < shot.GetHeight(); y += 4)
    for (int x = 0; x < shot.GetWidth(); x += 4) EXPECT_EQ(PixelAt(&shot, x, y), ColorToRGB(data->ButtonFace));
}

TEST_F(SkinEngine, ASizeGripIsCoveredWithTheFaceColour) {
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 240, 160, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND grip = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 100, 60, 18, 18, parent,
                              HMENU(5), GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(SkinWindowNow(parent));
  TSkinControl* s = Manager().FindForm(parent)->FindControlByWindow(grip);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinSizer");
  ExpectFaceColoured(grip, data);
  DestroyRawWindow(parent);
}

// A size grip made after its window was skinned is caught at its creation and gets its skinner; one
// made inside a window that is not skinned gets none.
TEST_F(SkinEngine, ASizeGripMadeAfterSkinningIsCoveredToo) {
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 240, 160, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND plain = MakeRawWindow(&log, 240, 160, WS_OVERLAPPEDWINDOW);
  ASSERT_TRUE(SkinWindowNow(parent));
  Manager().InstallHook();  // (after skinning, so that no activation skins the window first)
  HWND grip = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 100, 60, 18, 18, parent,
                              HMENU(5), GetModuleHandleA(nullptr), nullptr);
  HWND other = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 100, 60, 18, 18, plain,
                               HMENU(5), GetModuleHandleA(nullptr), nullptr);
  TSkinControl* s = Manager().FindForm(parent)->FindControlByWindow(grip);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ClassName(), "TSkinSizer");
  EXPECT_EQ(Manager().FindForm(plain), nullptr);
  EXPECT_EQ(SendMessageA(other, SM_ISSKINNED, 0, 0), 0);
  ExpectFaceColoured(grip, data);
  DestroyRawWindow(plain);
  DestroyRawWindow(parent);
}

}  // namespace
