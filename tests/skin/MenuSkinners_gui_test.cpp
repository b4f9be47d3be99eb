// Skinned menus on real windows: popup-menu windows caught at creation and let go before their own
// procedure sees WM_DESTROY, their frame painted whatever update region the system names, the popup
// menus of a skinned form made owner-drawn (but for the one that keeps its own look), the owner-drawn
// items measured and drawn, and the skinned menu bar of a form: keyboard, mouse, commands and a second
// window's Alt+key. Menus run modal loops: every step runs from a timer inside that loop and a guard
// closes the menu when a step never comes.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ActnList.h"
#include "Forms.h"
#include "Layout.h"
#include "Menus.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinTestKit.h"
#include "SkinnerMenu.h"

namespace {

using namespace skintest;

// ---- steps inside a menu's modal loop ----

// Each step waits until its condition holds, then acts; the steps run from a thread timer, so they
// also run inside the system's menu loop. When a condition never holds the menu is closed and the
// script gives up, so a failing test ends.
struct TStep {
  std::function<bool()> Ready;
  std::function<void()> Act;
};

class TMenuScript {
public:
  explicit TMenuScript(std::vector<TStep> steps) : FSteps(std::move(steps)) {
    Current() = this;
    FTimer = SetTimer(nullptr, 0, 40, &TMenuScript::Tick);
  }
  ~TMenuScript() {
    KillTimer(nullptr, FTimer);
    Current() = nullptr;
  }
  bool Done() const { return FNext >= FSteps.size() || FGaveUp; }
  bool GaveUp() const { return FGaveUp; }
  size_t StepsRun() const { return FNext; }
  // Pumps until every step ran (or the script gave up).
  bool Run() {
    PumpMessagesUntil([this] { return Done(); }, 30000);
    EndMenu();
    PumpMessagesUntil([] { return true; });
    return !FGaveUp && FNext >= FSteps.size();
  }

private:
  static TMenuScript*& Current() {
    static TMenuScript* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuScript* s = Current();
    if (!s || s->Done()) return;
    TStep& step = s->FSteps[s->FNext];
    if (!step.Ready || step.Ready()) {
      s->FWaited = 0;
      ++s->FNext;
      if (step.Act) step.Act();
      return;
    }
    if (++s->FWaited > 200) {  // some 8 seconds: this step will not come
      s->FGaveUp = true;
      EndMenu();
    }
  }
  std::vector<TStep> FSteps;
  size_t FNext = 0;
  int FWaited = 0;
  bool FGaveUp = false;
  UINT_PTR FTimer = 0;
};

HWND OpenPopupWindow() {
  HWND popup = FindWindowA("#32768", nullptr);
  return popup && IsWindowVisible(popup) ? popup : nullptr;
}

void PostKey(HWND target, WORD key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// The screen's pixels of a screen rectangle.
void SaveScreenRect(const RECT& r, const std::string& path) {
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC sdc = GetDC(nullptr);
  for (int top = r.top; top < r.bottom; top += 64)
    BitBlt(shot.Canvas()->GetHandle(), 0, top - r.top, r.right - r.left, std::min<int>(64, r.bottom - top), sdc, r.left,
           top, SRCCOPY);
  ReleaseDC(nullptr, sdc);
  shot.SaveToFile(path);
}

// ---- the popup-menu window skinner ----

class PopupMenuWindow : public SkinEngine {
protected:
  std::vector<HWND> windows;
  void TearDown() override {
    for (HWND h : windows) DestroyRawWindow(h);
    SkinEngine::TearDown();
  }
  HWND Window(DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND h = MakeRawWindow(&log, 200, 120, style);
    windows.push_back(h);
    return h;
  }
  // A solid menu background of that colour, so painted pixels can be told.
  void SolidMenuBackground(TColor colour) {
    delete data->MenuBackground;
    data->MenuBackground = new TDataSkinObject("MenuBackground");
    data->MenuBackground->Bitmap->Assign(SolidBitmap(8, 8, colour).get());
  }
  TMessageLog log;
};

TEST_F(PopupMenuWindow, IsCaughtAtCreationAnswersSkinnedAndGoesWithItsWindow) {
  Manager().InstallHook();
  HWND owner = Window();
  ShowWindow(owner, SW_SHOW);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 101, "First");
  AppendMenuA(menu, MF_STRING, 102, "Second");
  LRESULT answer = 0;
  bool listed = false;
  TMenuScript script({{[] { return OpenPopupWindow() != nullptr; },
                       [&] {
                         HWND popup = OpenPopupWindow();
                         answer = SendMessageA(popup, SM_ISSKINNED, 0, 0);
                         listed = Manager().IsPopupSkinned(popup);
                         EndMenu();
                       }}});
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, 60, 60, 0, owner, nullptr);
  EXPECT_TRUE(script.Run());
  EXPECT_EQ(answer, 1);
  EXPECT_TRUE(listed);
  EXPECT_TRUE(Manager().PopupMenus.empty()) << "the skinner goes with its window";
  EXPECT_EQ(Manager().PopupMode, 0);
  DestroyMenu(menu);
}

// What a window's own procedure finds in place while it handles WM_DESTROY.
WNDPROC ProcAtDestroy = nullptr;
LRESULT CALLBACK ProcNotingDestroy(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_DESTROY) ProcAtDestroy = WNDPROC(GetWindowLongPtrA(h, GWLP_WNDPROC));
  return DefWindowProcA(h, msg, w, l);
}

TEST_F(PopupMenuWindow, DestroyingPutsTheWindowsOwnProcedureBackFirst) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ProcNotingDestroy;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "OrvPopupDestroyTest";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
  Manager().SkinPopupMenu(h);
  ASSERT_TRUE(Manager().IsPopupSkinned(h));
  EXPECT_EQ(SendMessageA(h, SM_ISSKINNED, 0, 0), 1);
  EXPECT_NE(WNDPROC(GetWindowLongPtrA(h, GWLP_WNDPROC)), ProcNotingDestroy) << "subclassed";
  ProcAtDestroy = nullptr;
  DestroyWindow(h);
  EXPECT_EQ(ProcAtDestroy, ProcNotingDestroy);
  EXPECT_TRUE(Manager().RemovePopupMenu(h)) << "without the hook the manager lets go when told";
}

TEST_F(PopupMenuWindow, AnswersSkinnedAlsoWhileSkinningIsOffAndNeedsItsKindOfMenu) {
  HWND h = Window(WS_POPUP);
  Manager().SkinPopupMenu(h);
  ASSERT_TRUE(Manager().IsPopupSkinned(h));
  Manager().Active = false;
  EXPECT_EQ(SendMessageA(h, SM_ISSKINNED, 0, 0), 1);
  Manager().Active = true;
  // A system menu's popup needs the system-menu kind.
  data->SetSkinControls(data->GetSkinControls() & ~Bit(xcSystemMenu));
  Manager().PopupMode = 2;
  HWND other = Window(WS_POPUP);
  Manager().SkinPopupMenu(other);
  EXPECT_FALSE(Manager().IsPopupSkinned(other));
}

// The frame is painted on the whole window's DC: wParam 1 stands for the whole window, a real region
// only clips.
TEST_F(PopupMenuWindow, PaintsTheWholeWindowOrOnlyTheUpdateRegion) {
  HWND h = Window(WS_POPUP | WS_BORDER);
  SetWindowPos(h, HWND_TOPMOST, 30, 30, 120, 80, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  PumpMessagesUntil([] { return true; });
  Manager().SkinPopupMenu(h);
  ASSERT_TRUE(Manager().IsPopupSkinned(h));
  RECT wr;
  GetWindowRect(h, &wr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  const TColor red = RGB(200, 30, 30), blue = RGB(30, 30, 200);
  // What the window's surface holds (the screen may show it a moment later).
  auto pixel = [h](int x, int y) {
    HDC dc = GetWindowDC(h);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return c;
  };
  SolidMenuBackground(red);
  SendMessageA(h, WM_NCPAINT, 1, 0);
  for (POINT p : {POINT{0, 0}, POINT{W - 1, H - 1}, POINT{W / 2, H / 2}}) EXPECT_EQ(pixel(p.x, p.y), COLORREF(red));
  // Only the left half (screen coordinates) takes the new picture.
  SolidMenuBackground(blue);
  HRGN left = CreateRectRgn(wr.left, wr.top, wr.left + W / 2, wr.bottom);
  SendMessageA(h, WM_NCPAINT, WPARAM(left), 0);
  DeleteObject(left);
  EXPECT_EQ(pixel(0, H / 2), COLORREF(blue));
  EXPECT_EQ(pixel(W - 1, H / 2), COLORREF(red));
}

TEST_F(PopupMenuWindow, EraseTheBackgroundOnlyWithoutTheMenuBackgroundOption) {
  struct {
    bool MenuBG;
    size_t Erased;  // WM_ERASEBKGND reaching the window's own procedure
  } cases[] = {{false, 1}, {true, 0}};
  for (auto c : cases) {
    SCOPED_TRACE(c.MenuBG ? "with xoMenuBG" : "without xoMenuBG");
    data->SetOptions(c.MenuBG ? data->GetOptions() | Bit(xoMenuBG) : data->GetOptions() & ~Bit(xoMenuBG));
    HWND h = Window(WS_POPUP);
    Manager().SkinPopupMenu(h);
    ASSERT_TRUE(Manager().IsPopupSkinned(h));
    log.Messages.clear();
    log.Params.clear();
    HDC dc = GetDC(h);
    EXPECT_EQ(SendMessageA(h, WM_ERASEBKGND, WPARAM(dc), 0), 1);
    ReleaseDC(h, dc);
    EXPECT_EQ(log.Count(WM_ERASEBKGND, 0), c.Erased);
  }
}

// ---- a skinned form with menus ----

const char* const kLayout = R"(object frmMenuSkin: TForm
  BorderStyle = bsSizeable
  Caption = 'Menus'
  ClientWidth = 320
  ClientHeight = 160
  Menu = mnuMain
  object mnuMain: TMainMenu
    object miFile: TMenuItem
      Caption = '&File'
      object miOpen: TMenuItem
        Caption = '&Open'
        ShortCut = 'Ctrl+O'
      end
      object miLine: TMenuItem
        Caption = '-'
      end
      object miRecent: TMenuItem
        Caption = 'Recent'
        Checked = True
      end
      object miExit: TMenuItem
        Caption = 'E&xit'
        Enabled = False
      end
    end
    object miEdit: TMenuItem
      Caption = '&Edit'
      object miCopy: TMenuItem
        Caption = '&Copy'
      end
    end
    object miHelp: TMenuItem
      Caption = '&Help'
      object miAbout: TMenuItem
        Caption = '&About'
      end
    end
  end
  object mnuContext: TPopupMenu
    object miContextOne: TMenuItem
      Caption = 'One'
    end
  end
  object mnuOwnLook: TPopupMenu
    Tag = 99
    object miOwnLookOne: TMenuItem
      Caption = 'Own'
    end
  end
end
)";

const char* const kSecondLayout = R"(object frmSecond: TForm
  BorderStyle = bsSizeable
  Caption = 'Second'
  ClientWidth = 200
  ClientHeight = 100
end
)";

TForm* NewForm(const char* layout, const char* name) {
  auto* f = new TForm(Application);
  ReadLayoutText(f, layout, name, TLayoutBinder());
  return f;
}

// The lParam of a key message with Alt held.
constexpr LPARAM AltKeyData = LPARAM(1) << 29;

class SkinnedMenus : public SkinEngine {
protected:
  TForm* form = nullptr;
  TForm* second = nullptr;
  std::vector<std::string> clicks;

  void SetUp() override {
    SkinEngine::SetUp();
    Manager().InstallHook();  // popup windows are skinned as in the program
  }
  void TearDown() override {
    EndMenu();
    Application->SetMainForm(nullptr);
    FreeSkinManager();
    if (second) second->Free();
    if (form) form->Free();
    SkinEngine::TearDown();
  }
  TMenuItem* Item(const char* name) { return As<TMenuItem>(form->FindComponent(name)); }
  TSkinnerForm* SkinForm(TForm* f) {
    f->Show();
    SetForegroundWindow(f->Handle());
    PumpMessagesUntil([] { return true; });
    Manager().SkinWindow(f->Handle());  // (the activation may have done it already)
    Finish(f->Handle());
    RedrawWindow(f->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return Manager().FindForm(f->Handle());
  }
  TSkinnerForm* MakeMenuForm(TBiDiMode direction = bdLeftToRight) {
    form = NewForm(kLayout, "menuskin.layout");
    form->SetBiDiMode(direction);
    form->SetBounds(60, 60, form->GetWidth(), form->GetHeight());
    for (const char* name : {"miOpen", "miRecent", "miCopy", "miAbout"})
      Item(name)->OnClick = [this](TObject* s) { clicks.push_back(static_cast<TComponent*>(s)->GetName()); };
    return SkinForm(form);
  }
  // A window of no form of ours with a native menu bar: "&Raw" opens an entry "Native" (5001) and a
  // separator (5002).
  static HWND RawWindowWithMenu(TMessageLog& log, HMENU& bar, HMENU& popup) {
    bar = CreateMenu();
    popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 5001, "Native");
    AppendMenuA(popup, MF_SEPARATOR, 5002, nullptr);
    AppendMenuA(bar, MF_POPUP, UINT_PTR(popup), "&Raw");
    HWND raw = MakeRawWindow(&log);
    SetMenu(raw, bar);
    return raw;
  }
  // The same window shown and skinned.
  HWND SkinnedRawWindowWithMenu(TMessageLog& log, HMENU& bar, HMENU& popup) {
    HWND raw = RawWindowWithMenu(log, bar, popup);
    ShowWindow(raw, SW_SHOW);
    Manager().SkinWindow(raw);
    Finish(raw);
    return raw;
  }
  static int Open() { return OpenMenuBarIndex(); }
};

TEST_F(SkinnedMenus, TheBarTakesTheMenusItemsAndTheWindowShowsNoneOfItsOwn) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->MenuBar(), nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_EQ(f->MenuBarHeight, GetSystemMetrics(SM_CYMENU));
  const std::vector<TMenuBtn*>& items = f->MenuBar()->Buttons;
  ASSERT_EQ(items.size(), 3u);
  const wchar_t* captions[] = {L"&File", L"&Edit", L"&Help"};
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i]->Caption, captions[i]);
    EXPECT_EQ(items[i]->Index, int(i));
    EXPECT_NE(items[i]->Popup, nullptr);
    EXPECT_GT(items[i]->Rect.right, items[i]->Rect.left);
    EXPECT_EQ(items[i]->Rect.top, f->BorderTop);
    if (i) {
      EXPECT_EQ(items[i]->Rect.left, items[i - 1]->Rect.right) << "items follow each other";
    }
  }
  // The client area starts below the bar.
  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  EXPECT_EQ(origin.y - wr.top, f->BorderTop + f->MenuBarHeight);
  // Unskinning gives the window its menu back.
  Manager().ActionData = data;
  Manager().Started = 1;
  Manager().Action = saUnskinAll;
  Manager().DoAction();
  EXPECT_EQ(GetMenu(form->Handle()), form->GetMenu()->Handle());
}

TEST_F(SkinnedMenus, TheMenuTakenOffAWindowGoesWithItUnlessAFormOfOursOwnsIt) {
  // A window of no form of ours: the system would have destroyed the menu with the window.
  TMessageLog log;
  HMENU bar = nullptr, popup = nullptr;
  HWND raw = SkinnedRawWindowWithMenu(log, bar, popup);
  ASSERT_NE(Manager().FindForm(raw), nullptr);
  ASSERT_EQ(GetMenu(raw), nullptr) << "the skin's bar took the menu off";
  DestroyRawWindow(raw);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(popup));
  // A form's menu belongs to its menu component: a window made again finds it still there.
  ASSERT_NE(MakeMenuForm(), nullptr);
  const HMENU own = form->GetMenu()->Handle();
  form->RecreateWnd();
  EXPECT_TRUE(IsMenu(own));
  EXPECT_EQ(form->GetMenu()->Handle(), own);
}

// A native entry the skin made owner-drawn is drawn with the text its menu holds: the current one while
// the menu lives, and none once the menu is gone, whichever way it went (a later menu that the system
// gives the same handle must not show an old text).
TEST_F(SkinnedMenus, AnOwnerDrawnNativeEntryShowsItsMenusTextUntilTheMenuGoes) {
  struct TCase {
    const char* Name;
    bool Skinned;  // the skin's bar took the menu off the window, so the skin destroys it
    void (*Remove)(HWND window, HMENU bar);
  };
  const TCase cases[] = {
      {"destroyed by other code", false, [](HWND, HMENU bar) { DestroyMenu(bar); }},
      {"destroyed by the system with its window", false, [](HWND window, HMENU) { DestroyRawWindow(window); }},
      {"destroyed by the skin with its window", true, [](HWND window, HMENU) { DestroyRawWindow(window); }},
  };
  auto ownerDrawn = [](HMENU menu, UINT id) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(menu, id, FALSE, &info) && (info.fType & MFT_OWNERDRAW);
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMessageLog log;
    HMENU bar = nullptr, popup = nullptr;
    HWND raw = c.Skinned ? SkinnedRawWindowWithMenu(log, bar, popup) : RawWindowWithMenu(log, bar, popup);
    ASSERT_EQ(Manager().FindForm(raw) != nullptr, c.Skinned);
    TSkinnerForm::SetNativeMenuOwnerDraw(bar);
    ASSERT_TRUE(ownerDrawn(popup, 5001));
    EXPECT_EQ(OwnerDrawnText(popup, 5001), "Native");
    EXPECT_EQ(OwnerDrawnText(popup, 5002), "") << "a separator has none";
    // A text changed while the entry is owner-drawn is the one shown.
    MENUITEMINFOA renamed{};
    renamed.cbSize = sizeof renamed;
    renamed.fMask = MIIM_STRING;
    renamed.dwTypeData = const_cast<char*>("Renamed");
    ASSERT_TRUE(SetMenuItemInfoA(popup, 5001, FALSE, &renamed));
    EXPECT_TRUE(ownerDrawn(popup, 5001));
    EXPECT_EQ(OwnerDrawnText(popup, 5001), "Renamed");
    c.Remove(raw, bar);
    ASSERT_FALSE(IsMenu(popup));
    EXPECT_EQ(OwnerDrawnText(popup, 5001), "");
    EXPECT_EQ(OwnerDrawnText(bar, 5001), "");
    DestroyRawWindow(raw);
  }
}

TEST_F(SkinnedMenus, TheMouseOverAnItemMakesItHotAndFramesIt) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  SetForegroundWindow(form->Handle());
  PumpMessagesUntil([&] { return f->Active; }, 5000);
  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  TMenuBtn* edit = f->MenuBar()->Buttons[1];
  const RECT r = edit->Rect;
  auto over = [&](int x, int y) {
    return MAKELPARAM(WORD(SHORT(wr.left + x)), WORD(SHORT(wr.top + y)));
  };
  // What the window's surface holds at a window point.
  auto pixel = [&](int x, int y) {
    HDC dc = GetWindowDC(form->Handle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(form->Handle(), dc);
    return c;
  };
  const COLORREF frame = ColorToRGB(data->ButtonHilight);
  SendMessageA(form->Handle(), WM_NCMOUSEMOVE, HTMENU, over((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  EXPECT_EQ(f->HotObject, edit);
  EXPECT_EQ(edit->State, ncHot);
  EXPECT_EQ(pixel(r.left, (r.top + r.bottom) / 2), frame);
  EXPECT_EQ(pixel((r.left + r.right) / 2, r.top), frame);
  // Past the last item the bar is bare: the item loses its frame.
  const RECT last = f->MenuBar()->Buttons[2]->Rect;
  SendMessageA(form->Handle(), WM_NCMOUSEMOVE, HTMENU, over(last.right + 20, (r.top + r.bottom) / 2));
  EXPECT_EQ(f->HotObject, nullptr);
  EXPECT_EQ(edit->State, ncNormal);
  EXPECT_NE(pixel(r.left, (r.top + r.bottom) / 2), frame);
}

TEST_F(SkinnedMenus, AChangedMenuReachesTheBarAndTheWindowStillShowsNone) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  Item("miEdit")->SetCaption("&Tools");
  ASSERT_EQ(f->MenuBar()->Buttons.size(), 3u);
  EXPECT_EQ(f->MenuBar()->Buttons[1]->Caption, L"&Tools");
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_NE(f->FindAccelButton('T'), nullptr);
  EXPECT_EQ(f->FindAccelButton('E'), nullptr);
  Item("miHelp")->SetEnabled(false);
  EXPECT_FALSE(f->MenuBar()->Buttons[2]->Enabled);
  EXPECT_EQ(f->FindAccelButton('H'), nullptr) << "a disabled item is no accelerator";
}

TEST_F(SkinnedMenus, PopupMenusOfTheFormAreOwnerDrawnButNotTheOneWithTheDisableTag) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  auto* context = As<TPopupMenu>(form->FindComponent("mnuContext"));
  auto* ownLook = As<TPopupMenu>(form->FindComponent("mnuOwnLook"));
  EXPECT_TRUE(context->GetOwnerDraw());
  EXPECT_TRUE(bool(Item("miContextOne")->OnDrawItem));
  EXPECT_FALSE(ownLook->GetOwnerDraw());
  EXPECT_FALSE(bool(Item("miOwnLookOne")->OnDrawItem));
  Manager().ActionData = data;
  Manager().Started = 1;
  Manager().Action = saUnskinAll;
  Manager().DoAction();
  EXPECT_FALSE(context->GetOwnerDraw()) << "unskinning gives the menu its own look back";
  EXPECT_FALSE(bool(Item("miContextOne")->OnDrawItem));
}

struct TKeyOpenCase {
  const char* Name;
  std::function<void(TForm*)> Press;
};

TEST_F(SkinnedMenus, AltAndTheAcceleratorOpenTheItemsPopup) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  const TKeyOpenCase cases[] = {
      {"the system's keyboard menu command",
       [](TForm* w) { PostMessageA(w->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f'); }},
      {"the class library's dialog character", [](TForm* w) { w->Perform(CM_DIALOGCHAR, 'F', AltKeyData); }},
      {"Alt alone opens the first item", [](TForm* w) { PostMessageA(w->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0); }},
  };
  for (const TKeyOpenCase& c : cases) {
    SCOPED_TRACE(c.Name);
    int opened = -1;
    HWND popup = nullptr;
    TMenuScript script({{[] { return Open() >= 0 && OpenPopupWindow(); },
                         [&] {
                           opened = Open();
                           popup = OpenPopupWindow();
                           EndMenu();
                         }}});
    c.Press(form);
    EXPECT_TRUE(script.Run());
    EXPECT_EQ(opened, 0);
    EXPECT_NE(popup, nullptr);
    EXPECT_EQ(Open(), -1) << "closed again";
  }
  // A key that no item has opens nothing.
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'Q', AltKeyData), 0);
}

TEST_F(SkinnedMenus, LeftAndRightMoveBetweenBarItemsAndWrap) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  std::vector<int> seen;
  auto at = [](int index) { return [index] { return Open() == index && OpenPopupWindow() != nullptr; }; };
  TMenuScript script({
      {at(0), [&] { seen.push_back(Open()); PostKey(OpenPopupWindow(), VK_LEFT); }},
      {at(2), [&] { seen.push_back(Open()); PostKey(OpenPopupWindow(), VK_RIGHT); }},
      {at(0), [&] { seen.push_back(Open()); PostKey(OpenPopupWindow(), VK_RIGHT); }},
      {at(1), [&] { seen.push_back(Open()); EndMenu(); }},
  });
  PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
  EXPECT_TRUE(script.Run());
  EXPECT_EQ(seen, (std::vector<int>{0, 2, 0, 1}));
}

TEST_F(SkinnedMenus, MovingTheMouseOntoAnotherBarItemSwitchesThePopup) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  const RECT help = f->MenuBar()->Buttons[2]->Rect;
  // The cursor starts away from the bar: only a move onto an item switches.
  SetCursorPos(wr.left + 40, wr.bottom - 20);
  std::vector<int> seen;
  TMenuScript script({
      {[] { return Open() == 0 && OpenPopupWindow(); },
       [&] {
         seen.push_back(Open());
         SetCursorPos(wr.left + (help.left + help.right) / 2, wr.top + (help.top + help.bottom) / 2);
         PostMessageA(OpenPopupWindow(), WM_MOUSEMOVE, 0, 0);
       }},
      {[] { return Open() == 2 && OpenPopupWindow(); },
       [&] {
         seen.push_back(Open());
         EndMenu();
       }},
  });
  PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
  EXPECT_TRUE(script.Run());
  EXPECT_EQ(seen, (std::vector<int>{0, 2}));
}

TEST_F(SkinnedMenus, TheChosenCommandReachesItsItemOnce) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  TMenuScript script({
      {[] { return Open() == 1 && OpenPopupWindow(); }, [&] { PostKey(OpenPopupWindow(), VK_RETURN); }},
      {[] { return Open() == -1; }, nullptr},
  });
  PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'e');
  EXPECT_TRUE(script.Run());
  PumpMessagesUntil([&] { return !clicks.empty(); }, 5000);
  PumpMessagesUntil([] { return true; });
  EXPECT_EQ(clicks, (std::vector<std::string>{"miCopy"}));
}

TEST_F(SkinnedMenus, AltAndAKeyInASecondWindowOpenTheMainWindowsItem) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  Application->SetMainForm(form);
  second = NewForm(kSecondLayout, "second.layout");
  second->SetBounds(420, 60, second->GetWidth(), second->GetHeight());
  ASSERT_NE(SkinForm(second), nullptr);
  int opened = -1;
  bool mainTracks = false;
  TMenuScript script({{[] { return Open() >= 0 && OpenPopupWindow(); },
                       [&] {
                         opened = Open();
                         mainTracks = f->MenuTracking;
                         EndMenu();
                       }}});
  second->Perform(CM_DIALOGCHAR, 'H', AltKeyData);
  EXPECT_TRUE(script.Run());
  EXPECT_EQ(opened, 2);
  EXPECT_TRUE(mainTracks);
}

// Opens File from the keyboard, moves to its second item and saves the window with the popup.
bool SaveOpenMenuScreenshot(TForm* form, const std::string& file) {
  bool saved = false;
  TMenuScript script({
      {[] { return OpenMenuBarIndex() == 0 && OpenPopupWindow(); }, [] { PostKey(OpenPopupWindow(), VK_DOWN); }},
      {[] { return true; },
       [&] {
         PumpMessagesUntil([] { return true; });
         RECT a, b, u;
         GetWindowRect(form->Handle(), &a);
         GetWindowRect(OpenPopupWindow(), &b);
         UnionRect(&u, &a, &b);
         SaveScreenRect(u, std::string(ORV_BUILD_DIR) + file);
         saved = true;
         EndMenu();
       }},
  });
  PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
  return script.Run() && saved;
}

// The bar with File open and its first item hot, and the popup's items over the skin's background.
TEST_F(SkinnedMenus, Screenshot) {
  ASSERT_NE(MakeMenuForm(), nullptr);
  EXPECT_TRUE(SaveOpenMenuScreenshot(form, "skinned_menu_bar.bmp"));
}

// ---- the owner-drawn items ----

struct TDrawCase {
  const char* Name;
  const char* Item;
  bool Selected;
  // What the drawn item must show, on its pixels.
  std::function<void(TBitmap*, TSkinData*)> Check;
};

int CountColour(TBitmap* b, const RECT& r, COLORREF c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += PixelAt(b, x, y) == c;
  return n;
}

TEST_F(SkinnedMenus, ItemsAreDrawnOverATable) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  // The plain look: the skin's menu colours without an item picture.
  delete data->MenuItem;
  data->MenuItem = nullptr;
  const int W = 180, H = 22;
  const RECT all{0, 0, W, H};
  const TDrawCase cases[] = {
      {"a separator: an etched line, never the highlight", "miLine", true,
       [&](TBitmap* b, TSkinData* d) {
         EXPECT_EQ(CountColour(b, all, ColorToRGB(d->Hilight)), 0);
         EXPECT_EQ(CountColour(b, RECT{30, 4, W - 2, 5}, ColorToRGB(clBtnShadow)), W - 32);
       }},
      {"a checked item without a glyph: the check mark in the glyph column", "miRecent", false,
       [&](TBitmap* b, TSkinData* d) {
         EXPECT_GT(CountColour(b, RECT{1, 0, 18, H}, ColorToRGB(clBtnText)), 4);
       }},
      {"a disabled item: its caption in the shadow colour", "miExit", false,
       [&](TBitmap* b, TSkinData* d) {
         EXPECT_GT(CountColour(b, RECT{18, 0, W, H}, ColorToRGB(d->ButtonShadow)), 4);
         EXPECT_EQ(CountColour(b, all, ColorToRGB(d->MenuText)), 0);
       }},
      {"a selected item: highlight and its text colour", "miCopy", true,
       [&](TBitmap* b, TSkinData* d) {
         EXPECT_GT(CountColour(b, all, ColorToRGB(d->Hilight)), W * H / 2);
         EXPECT_GT(CountColour(b, RECT{18, 0, W, H}, ColorToRGB(d->HilightText)), 4);
       }},
      {"an item with a short cut: its text at the right, clear of the edge", "miOpen", false,
       [&](TBitmap* b, TSkinData* d) {
         EXPECT_GT(CountColour(b, RECT{W / 2, 0, W - 11, H}, ColorToRGB(d->MenuText)), 4);
         EXPECT_EQ(CountColour(b, RECT{W - 11, 0, W, H}, ColorToRGB(d->MenuText)), 0);
       }},
  };
  for (const TDrawCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(W, H);
    b.Canvas()->Font()->Assign(Screen->MenuFont());
    f->DrawMenuItem(Item(c.Item), b.Canvas(), all, c.Selected);
    EXPECT_EQ(CountColour(&b, all, ColorToRGB(c.Selected && std::string(c.Item) != "miLine" ? data->Hilight
                                                                                               : data->Menu)) > 0,
              true);
    c.Check(&b, data);
  }
}

// An item drawn into a skinned menu window stands on that window's background (the skin's item
// picture is transparent but for the selected one).
TEST_F(SkinnedMenus, ItemsStandOnTheirMenuWindowsBackground) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  ASSERT_NE(data->MenuItem, nullptr) << "the program's skin has an item picture";
  const TColor green = RGB(20, 160, 40);
  delete data->MenuBackground;
  data->MenuBackground = new TDataSkinObject("MenuBackground");
  data->MenuBackground->Bitmap->Assign(SolidBitmap(8, 8, green).get());
  TMessageLog log;
  HWND h = MakeRawWindow(&log, 200, 80, WS_POPUP);
  SetWindowPos(h, HWND_TOPMOST, 40, 40, 200, 80, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Manager().SkinPopupMenu(h);
  ASSERT_TRUE(Manager().IsPopupSkinned(h));
  const RECT r{3, 3, 197, 25};
  HDC dc = GetDC(h);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    f->DrawMenuItem(Item("miCopy"), &canvas, r, false);
    canvas.SetHandle(nullptr);
  }
  EXPECT_EQ(GetPixel(dc, r.right - 5, r.top + 2), COLORREF(green));
  EXPECT_EQ(GetPixel(dc, r.left + 2, r.bottom - 2), COLORREF(green));
  ReleaseDC(h, dc);
  DestroyRawWindow(h);
}

TEST_F(SkinnedMenus, ItemsAreMeasuredWiderForTheSkinsMarginAndTheGlyphColumn) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  TBitmap b;
  b.SetSize(4, 4);
  b.Canvas()->Font()->Assign(Screen->MenuFont());
  const int margin = data->MenuItem ? data->MenuItem->Margins.Left : 0;
  for (const char* name : {"miOpen", "miLine", "miRecent"}) {
    SCOPED_TRACE(name);
    TMenuItem* item = Item(name);
    int w0 = 0, h0 = 0;
    item->MeasureItem(b.Canvas(), w0, h0);
    int w = 0, h = 0;
    f->MeasureMenuItem(item, b.Canvas(), w, h);
    EXPECT_EQ(w, w0 + margin + 10 + 25) << "no image list: the glyph column as well";
    EXPECT_EQ(h, h0);
    int pw = w0, ph = h0;
    f->MeasureMenuItemWidth(item, b.Canvas(), pw, ph);
    EXPECT_EQ(pw, w0 + margin + 12 + 23);
    EXPECT_EQ(ph, h0);
  }
  // Native entries of a window without a form of ours: a text's height plus 4, a separator 8 high.
  TMessageLog log;
  HMENU bar = nullptr, popup = nullptr;
  HWND raw = SkinnedRawWindowWithMenu(log, bar, popup);
  TSkinnerForm* rf = Manager().FindForm(raw);
  ASSERT_NE(rf, nullptr);
  ASSERT_NE(rf->MenuBar(), nullptr);
  rf->TrackedPopup = popup;
  HDC dc = GetDC(raw);
  HGDIOBJ old = SelectObject(dc, Screen->MenuFont()->Handle());
  SIZE text{};
  GetTextExtentPoint32A(dc, "Native", 6, &text);
  SelectObject(dc, old);
  ReleaseDC(raw, dc);
  struct {
    UINT Id;
    int Height;
  } natives[] = {{5001, int(text.cy) + 4}, {5002, 8}};
  for (auto n : natives) {
    MEASUREITEMSTRUCT mi{};
    mi.CtlType = ODT_MENU;
    mi.itemID = n.Id + 60000;  // beyond the program's command range: drawn by the skin itself
    ModifyMenuA(popup, n.Id, MF_BYCOMMAND | (n.Id == 5002 ? MF_SEPARATOR : MF_STRING), mi.itemID,
                n.Id == 5002 ? nullptr : "Native");
    EXPECT_EQ(SendMessageA(raw, WM_MEASUREITEM, 0, LPARAM(&mi)), 1);
    EXPECT_EQ(int(mi.itemHeight), n.Height) << n.Id;
  }
  DestroyRawWindow(raw);
}

// ---- right to left ----

TEST_F(SkinnedMenus, ARightToLeftBarLaysItsItemsOutFromTheRight) {
  TSkinnerForm* f = MakeMenuForm(bdRightToLeft);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(form->GetMenu()->IsRightToLeft()) << "the menu takes its form's direction";
  EXPECT_TRUE(f->RightToLeft);
  const std::vector<TMenuBtn*>& items = f->MenuBar()->Buttons;
  ASSERT_EQ(items.size(), 3u);
  const RECT bar = f->MenuBar()->BarRect;
  const int inset = data->MenuBar ? data->MenuBar->Margins.Right + 8 : 6;
  EXPECT_EQ(items[0]->Rect.right, bar.right - inset);
  for (size_t i = 1; i < items.size(); ++i) EXPECT_EQ(items[i]->Rect.right, items[i - 1]->Rect.left);
  EXPECT_EQ(f->MenuBar()->ButtonAt(POINT{(items[0]->Rect.left + items[0]->Rect.right) / 2, bar.top + 2}), items[0]);
}

struct TDirectionCase {
  const char* Name;
  TBiDiMode Window, Menu;
  std::vector<int> Seen;  // the bar items open after Left, then Right
};

// The menu's direction decides, not the window's: in a right-to-left menu Left on an item without a
// sub-menu moves on as Right does left to right (to the item after it, which stands at its left), and
// Right on the popup's top level goes back.
TEST_F(SkinnedMenus, InARightToLeftMenuLeftAndRightTradePlaces) {
  const TDirectionCase cases[] = {
      {"right-to-left window and menu", bdRightToLeft, bdRightToLeft, {0, 1, 0}},
      {"right-to-left menu of a left-to-right window", bdLeftToRight, bdRightToLeft, {0, 1, 0}},
      {"left-to-right menu of a right-to-left window", bdRightToLeft, bdLeftToRight, {0, 2, 0}},
  };
  for (const TDirectionCase& c : cases) {
    SCOPED_TRACE(c.Name);
    form = NewForm(kLayout, "menuskin.layout");
    form->SetBiDiMode(c.Window);
    form->GetMenu()->SetBiDiMode(c.Menu);
    form->SetBounds(60, 60, form->GetWidth(), form->GetHeight());
    ASSERT_NE(SkinForm(form), nullptr);
    std::vector<int> seen;
    auto at = [](int index) { return [index] { return Open() == index && OpenPopupWindow() != nullptr; }; };
    TMenuScript script({
        {at(0), [&] { seen.push_back(Open()); PostKey(OpenPopupWindow(), VK_LEFT); }},
        {at(c.Seen[1]), [&] { seen.push_back(Open()); PostKey(OpenPopupWindow(), VK_RIGHT); }},
        {at(0), [&] { seen.push_back(Open()); EndMenu(); }},
    });
    PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    EXPECT_TRUE(script.Run());
    EXPECT_EQ(seen, c.Seen);
    form->Free();
    form = nullptr;
    PumpMessagesUntil([] { return true; });
  }
}

TEST_F(SkinnedMenus, ItemsOfARightToLeftMenuAreMirrored) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  delete data->MenuItem;  // the plain look: text and check mark on the menu colour
  data->MenuItem = nullptr;
  const int W = 180, H = 22;
  auto draw = [&](const char* name, TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(W, H);
    b.Canvas()->Font()->Assign(Screen->MenuFont());
    f->DrawMenuItem(Item(name), b.Canvas(), RECT{0, 0, W, H}, false);
  };
  const COLORREF text = ColorToRGB(data->MenuText), mark = ColorToRGB(clBtnText);
  auto count = [&](TBitmap& b, int x0, int x1, COLORREF c) { return CountColour(&b, RECT{x0, 0, x1, H}, c); };
  for (TBiDiMode direction : {bdLeftToRight, bdRightToLeft}) {
    const bool rtl = direction == bdRightToLeft;
    SCOPED_TRACE(rtl ? "right to left" : "left to right");
    form->GetMenu()->SetBiDiMode(direction);
    TBitmap open, recent;
    draw("miOpen", open);
    draw("miRecent", recent);
    // The check mark in the glyph box: at the left end, or at the right end.
    EXPECT_GT(count(recent, rtl ? W - 18 : 1, rtl ? W - 1 : 18, mark), 4);
    EXPECT_EQ(count(recent, rtl ? 0 : W - 18, rtl ? 18 : W, mark), 0);
    if (rtl) {
      // The caption right-aligned next to the glyph box, the short cut at the left.
      EXPECT_GT(count(open, W - 60, W - 19, text), 4) << "caption";
      EXPECT_EQ(count(open, W - 19, W, text), 0) << "glyph box";
      EXPECT_GT(count(open, 10, W / 2, text), 4) << "short cut";
      EXPECT_EQ(count(open, 0, 10, text), 0);
    } else {
      EXPECT_GT(count(open, 20, 60, text), 4) << "caption";
      EXPECT_EQ(count(open, 0, 19, text), 0) << "glyph box";
      EXPECT_GT(count(open, W / 2, W - 11, text), 4) << "short cut";
      EXPECT_EQ(count(open, W - 11, W, text), 0);
    }
    open.SaveToFile(std::string(ORV_BUILD_DIR) + (rtl ? "menu_item_rtl.bmp" : "menu_item_ltr.bmp"));
  }
}

// The right-to-left bar with File open under its item, the popup's items mirrored.
TEST_F(SkinnedMenus, RightToLeftScreenshot) {
  ASSERT_NE(MakeMenuForm(bdRightToLeft), nullptr);
  EXPECT_TRUE(SaveOpenMenuScreenshot(form, "skinned_menu_bar_rtl.bmp"));
}

// The bar reads its items after their actions brought them up to date.
TEST_F(SkinnedMenus, TheBarAsksTheItemsActionsFirst) {
  form = NewForm(kLayout, "menuskin.layout");
  auto* list = new TActionList(form);
  auto* action = new TAction(form);
  action->SetActionList(list);
  action->SetCaption("&Edit");
  int updates = 0;
  action->OnUpdate = [&](TObject*) {
    ++updates;
    action->SetEnabled(false);
  };
  Item("miEdit")->SetAction(action);
  form->SetBounds(60, 60, form->GetWidth(), form->GetHeight());
  TSkinnerForm* f = SkinForm(form);
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->MenuBar(), nullptr);
  EXPECT_GT(updates, 0);
  ASSERT_EQ(f->MenuBar()->Buttons.size(), 3u);
  EXPECT_FALSE(f->MenuBar()->Buttons[1]->Enabled);
  EXPECT_TRUE(f->MenuBar()->Buttons[0]->Enabled);
}

// Items drawn by the skin mark the popups about to open as the menu bar's, whether an item draws
// itself or the window's drawing message reaches the skinner.
TEST_F(SkinnedMenus, DrawnItemsMarkThePopupsAsTheMenuBars) {
  TSkinnerForm* f = MakeMenuForm();
  ASSERT_NE(f, nullptr);
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(120, 20);
  Manager().PopupMode = 0;
  f->DrawMenuItem(Item("miCopy"), b.Canvas(), RECT{0, 0, 120, 20}, false);
  EXPECT_EQ(Manager().PopupMode, 1);
  Manager().PopupMode = 0;
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_MENU;
  d.itemID = Item("miCopy")->Command();
  d.itemData = ULONG_PTR(Item("miCopy"));
  d.hDC = b.Canvas()->GetHandle();
  d.hwndItem = HWND(Item("miEdit")->Handle());
  d.rcItem = RECT{0, 0, 120, 20};
  EXPECT_EQ(SendMessageA(form->Handle(), WM_DRAWITEM, 0, LPARAM(&d)), 1);
  EXPECT_EQ(Manager().PopupMode, 1);
  Manager().PopupMode = 0;
}

}  // namespace
