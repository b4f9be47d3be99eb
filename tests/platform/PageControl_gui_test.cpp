// The page control and its tab sheets in a dialog read from a layout: which page shows, which tabs the
// tab row holds, hidden tabs (also of the active page), the fallback when the active tab is hidden, tab
// clicks by the user; and a picture of the dialog with one of each control.
#include "ControlGallery.h"

#include "Graphics.h"

namespace {

using PageControl = GalleryTest;

// The tab texts the system control holds, in order.
std::vector<std::string> TabTexts(TPageControl* pc) {
  std::vector<std::string> r;
  int n = int(SendMessageA(pc->Handle(), TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char buf[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(pc->Handle(), TCM_GETITEMA, WPARAM(i), LPARAM(&item));
    r.push_back(buf);
  }
  return r;
}

// The sheets whose windows are visible.
std::vector<std::string> ShownPages(TPageControl* pc) {
  std::vector<std::string> r;
  for (int i = 0; i < pc->PageCount(); ++i)
    if (IsWindowVisible(pc->Pages(i)->Handle())) r.push_back(pc->Pages(i)->GetName());
  return r;
}

enum TPageAct { ActivateIndex, Activate, HideTab, ShowTab, ClickTab, KeyNext };

struct PageStep {
  const char* Name;
  TPageAct Act;
  int Page;  // page index (ClickTab: tab index; -1 / out of range allowed for ActivateIndex)
  int Active;
  std::vector<std::string> Tabs;
  int SelectedTab;
  int Changes;
};

TEST_F(PageControl, ActivePageHiddenTabsAndTheirFallback) {
  const std::vector<std::string> all{"General", "Video", "Audio"};
  const PageStep steps[] = {
      {"as laid out", ActivateIndex, 2, 2, all, 2, 0},
      {"hide the active Audio tab: the last tab takes over", HideTab, 2, 1, {"General", "Video"}, 1, 0},
      {"show it again: Video stays", ShowTab, 2, 1, all, 1, 0},
      {"a hidden-tab page can be active", HideTab, 0, 1, {"Video", "Audio"}, 0, 0},
      {"activate it", ActivateIndex, 0, 0, {"Video", "Audio"}, -1, 0},
      {"showing the active page's tab selects it", ShowTab, 0, 0, all, 0, 0},
      {"General hidden while active", HideTab, 0, 1, {"Video", "Audio"}, 0, 0},
      {"user clicks Audio", ClickTab, 1, 2, {"Video", "Audio"}, 1, 1},
      {"user clicks Audio again", ClickTab, 1, 2, {"Video", "Audio"}, 1, 0},
      {"no page", ActivateIndex, -1, -1, {"Video", "Audio"}, -1, 0},
      {"an index beyond the pages is none", ActivateIndex, 3, -1, {"Video", "Audio"}, -1, 0},
      {"by page", Activate, 1, 1, {"Video", "Audio"}, 0, 0},
      {"the next page with a tab", KeyNext, 0, 2, {"Video", "Audio"}, 1, 1},
      {"and wraps round", KeyNext, 0, 1, {"Video", "Audio"}, 0, 1},
      {"hide every tab of the active one last", HideTab, 2, 1, {"Video"}, 0, 0},
      {"no tab left: the page stays", HideTab, 1, 1, {}, -1, 0},
  };
  TPageControl* pc = F->PageControlOptions;
  int i = 0;
  for (const PageStep& s : steps) {
    SCOPED_TRACE(s.Name);
    ++i;
    switch (s.Act) {
      case ActivateIndex: pc->SetActivePageIndex(s.Page); break;
      case Activate: pc->SetActivePage(pc->Pages(s.Page)); break;
      case HideTab: pc->Pages(s.Page)->SetTabVisible(false); break;
      case ShowTab: pc->Pages(s.Page)->SetTabVisible(true); break;
      case ClickTab: {
        RECT r{};
        SendMessageA(pc->Handle(), TCM_GETITEMRECT, WPARAM(s.Page), LPARAM(&r));
        ClickAt(pc->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        break;
      }
      case KeyNext:
        pc->SetFocus();
        Pump();
        pc->SelectNextPage(true);
        break;
    }
    Pump();
    auto log = TakeLog();
    EXPECT_EQ(int(log.size()), s.Changes);
    for (auto& l : log) EXPECT_EQ(l, "PageControlOptions.change");
    EXPECT_EQ(pc->GetActivePageIndex(), s.Active);
    EXPECT_EQ(pc->GetActivePage(), s.Active >= 0 ? pc->Pages(s.Active) : nullptr);
    EXPECT_EQ(TabTexts(pc), s.Tabs);
    EXPECT_EQ(SendMessageA(pc->Handle(), TCM_GETCURSEL, 0, 0), s.SelectedTab);
    std::vector<std::string> shown;
    if (s.Active >= 0) shown.push_back(pc->Pages(s.Active)->GetName());
    EXPECT_EQ(ShownPages(pc), shown);
  }
}

TEST_F(PageControl, TablessPagesShowTheActiveContentsOnly) {
  TPageControl* pc = F->PageControlVCodec;
  F->PageControlOptions->SetActivePage(F->TabSheetVideo);
  Pump();
  EXPECT_EQ(TabTexts(pc), std::vector<std::string>{});
  EXPECT_EQ(pc->GetActivePage(), F->TabSheetDivx);  // no page named: the first
  for (int index : {1, 0, -1, 1}) {
    SCOPED_TRACE(index);
    pc->SetActivePageIndex(index);
    Pump();
    EXPECT_EQ(pc->GetActivePageIndex(), index);
    std::vector<std::string> shown;
    if (index >= 0) shown.push_back(pc->Pages(index)->GetName());
    EXPECT_EQ(ShownPages(pc), shown);
  }
  // The page fills the frame: no empty tab row above it.
  RECT r;
  GetWindowRect(F->TabSheetXvid->Handle(), &r);
  MapWindowPoints(nullptr, pc->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_LE(r.top, 4);
  EXPECT_GE(r.right, pc->GetWidth() - 4);
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(PageControl, ThePageIndexOrdersTheTabs) {
  TPageControl* pc = F->PageControlOptions;
  F->TabSheetAudio->SetPageIndex(0);
  EXPECT_EQ(TabTexts(pc), (std::vector<std::string>{"Audio", "General", "Video"}));
  EXPECT_EQ(F->TabSheetAudio->GetPageIndex(), 0);
  EXPECT_EQ(F->TabSheetGeneral->GetPageIndex(), 1);
  EXPECT_EQ(F->TabSheetAudio->TabIndex(), 0);
  F->TabSheetAudio->SetCaption("Sound");
  EXPECT_EQ(TabTexts(pc)[0], "Sound");
  EXPECT_EQ(GetPropText(pc, "ActivePage"), "TabSheetAudio");
  SetPropText(pc, "ActivePageIndex", "2");
  EXPECT_EQ(pc->GetActivePage(), F->TabSheetVideo);
  // A new sheet placed from code is appended; freeing the active one hands over to a neighbour.
  auto* extra = new TTabSheet(F);
  extra->SetCaption("Extra");
  extra->SetPageControl(pc);
  EXPECT_EQ(extra->GetPageIndex(), 3);
  EXPECT_TRUE(extra->HandleAllocated());
  pc->SetActivePage(extra);
  extra->Free();
  EXPECT_EQ(pc->PageCount(), 3);
  ASSERT_NE(pc->GetActivePage(), nullptr);
  EXPECT_EQ(TabTexts(pc), (std::vector<std::string>{"Sound", "General", "Video"}));
}

TEST_F(PageControl, GalleryPicture) {
  F->PageControlOptions->SetActivePage(F->TabSheetGeneral);
  F->EditDescription->SetFocus();
  Pump();
  F->Update();
  RECT wr;
  GetWindowRect(F->Handle(), &wr);
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(wr.right - wr.left, wr.bottom - wr.top);
  HDC sdc = GetDC(nullptr);
  BitBlt(shot.Canvas()->GetHandle(), 0, 0, shot.GetWidth(), shot.GetHeight(), sdc, wr.left, wr.top, SRCCOPY);
  ReleaseDC(nullptr, sdc);
  std::string path = std::string(ORV_BUILD_DIR) + "control_gallery.bmp";
  shot.SaveToFile(path);
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(IsWindowVisible(F->TrackBarAudioBitrate->Handle()));
  EXPECT_FALSE(IsWindowVisible(F->TabSheetAudio->Handle()));
}

}  // namespace
