// The notification-area icon: the shell requests it makes (recorded instead of sent), its click and
// double-click logic driven through its handler window, the text limits of hint and balloon, and the
// re-adding after the shell restarts.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TrayIcon.h"

namespace {

struct TShellCall {
  DWORD Message;
  NOTIFYICONDATAA Data;
};

class TrayIconTest : public ::testing::Test {
protected:
  TrayIconTest() : SavedMenu(TrayMenuServices()) {}
  void SetUp() override {
    SetShellNotifyIcon([this](DWORD msg, NOTIFYICONDATAA* d) {
      Calls.push_back({msg, *d});
      return TRUE;
    });
    TrayMenuServices().AutoPopup = [](TComponent*) { return true; };
    TrayMenuServices().Popup = [this](TComponent*, TComponent* by, int, int) {
      Log("menu-popup");
      EXPECT_EQ(by, Icon.get());
    };
    TrayMenuServices().ClickDefaultItem = [this](TComponent*) {
      Log("menu-default");
      return true;
    };
    Icon = std::make_unique<TTrayIcon>(nullptr);
  }
  void TearDown() override {
    Icon.reset();
    SetShellNotifyIcon(nullptr);
    TrayMenuServices() = SavedMenu;
  }

  void Log(const std::string& s) { Events += (Events.empty() ? "" : " ") + s; }
  void WatchEvents() {
    const char* names[] = {"L", "R", "M"};
    Icon->OnClick = [this](TObject* s) {
      EXPECT_EQ(s, Icon.get());
      Log("click");
    };
    Icon->OnMouseDown = [this, names](TObject*, TMouseButton b, TShiftState, int, int) { Log(std::string("down:") + names[b]); };
    Icon->OnMouseUp = [this, names](TObject*, TMouseButton b, TShiftState, int, int) { Log(std::string("up:") + names[b]); };
    Icon->OnBalloonHintShow = [this](TObject*) { Log("balloon-show"); };
    Icon->OnBalloonHintHide = [this](TObject*) { Log("balloon-hide"); };
    Icon->OnBalloonHintTimeout = [this](TObject*) { Log("balloon-timeout"); };
    Icon->OnBalloonHintClick = [this](TObject*) { Log("balloon-click"); };
  }
  // Plays a script of shell notifications and timer ticks: LD LU DC RD RU MD MU T BS BH BT BC.
  void Play(const std::string& script) {
    std::istringstream in(script);
    std::string step;
    struct Step {
      const char* Name;
      UINT Msg;
    };
    const Step steps[] = {{"LD", WM_LBUTTONDOWN}, {"LU", WM_LBUTTONUP}, {"DC", WM_LBUTTONDBLCLK},
                          {"RD", WM_RBUTTONDOWN}, {"RU", WM_RBUTTONUP}, {"MD", WM_MBUTTONDOWN},
                          {"MU", WM_MBUTTONUP},   {"BS", NIN_BALLOONSHOW}, {"BH", NIN_BALLOONHIDE},
                          {"BT", NIN_BALLOONTIMEOUT}, {"BC", NIN_BALLOONUSERCLICK}};
    while (in >> step) {
      if (step == "T") {  // the double-click time has passed
        SendMessageA(TSimpleTimer::HandlerWindow(), WM_TIMER, Icon->DoubleClickTimer()->TimerId(), 0);
        continue;
      }
      bool found = false;
      for (const Step& s : steps)
        if (step == s.Name) {
          SendMessageA(TTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, WPARAM(Icon.get()), s.Msg);
          found = true;
        }
      ASSERT_TRUE(found) << step;
    }
  }

  std::vector<TShellCall> Calls;
  std::string Events;
  std::unique_ptr<TTrayIcon> Icon;
  TTrayMenuServices SavedMenu;
};

TEST_F(TrayIconTest, MouseNotificationTable) {
  struct Case {
    const char* script;
    bool dblClickHandler;
    bool withMenu;
    bool enabled;
    const char* events;
  };
  const Case cases[] = {
      // With OnDblClick a single click waits for the double-click time.
      {"LD LU", true, false, true, "down:L up:L"},
      {"LD LU T", true, false, true, "down:L up:L click"},
      {"LD LU T T", true, false, true, "down:L up:L click"},
      // A double click never produces a click; the menu's default item follows it.
      {"LD LU DC LU T", true, true, true, "down:L up:L dblclick menu-default up:L"},
      {"LD LU DC LU T", true, false, true, "down:L up:L dblclick up:L"},
      // Without OnDblClick the click is reported at once.
      {"LD LU", false, false, true, "down:L click up:L"},
      {"LD LU T", false, false, true, "down:L click up:L"},
      // The right button opens the menu; its release is reported (notification version 0).
      {"RD RU", true, true, true, "down:R menu-popup up:R"},
      {"RD RU", true, false, true, "down:R up:R"},
      {"MD MU", true, false, true, "down:M up:M"},
      // A disabled icon ignores the mouse but still reports balloons.
      {"LD LU T RD RU", true, true, false, ""},
      {"BS BH BT BC", false, false, false, "balloon-show balloon-hide balloon-timeout balloon-click"},
  };
  TComponent menu(nullptr);
  for (const Case& c : cases) {
    SetUp();
    WatchEvents();
    if (c.dblClickHandler) Icon->OnDblClick = [this](TObject*) { Log("dblclick"); };
    if (c.withMenu) Icon->SetPopupMenu(&menu);
    Icon->SetEnabled(c.enabled);
    Play(c.script);
    EXPECT_EQ(Events, c.events) << c.script << " dbl=" << c.dblClickHandler << " menu=" << c.withMenu;
    TearDown();
    Events.clear();
  }
}

TEST_F(TrayIconTest, DoubleClickTimerWaitsForTheSystemDoubleClickTime) {
  Icon->OnDblClick = [](TObject*) {};
  Play("LD");
  EXPECT_TRUE(Icon->DoubleClickTimer()->GetEnabled());
  EXPECT_EQ(Icon->DoubleClickTimer()->GetInterval(), GetDoubleClickTime());
  Play("LU T");
  EXPECT_FALSE(Icon->DoubleClickTimer()->GetEnabled());
}

TEST_F(TrayIconTest, NotificationsForOtherIconsAreIgnored) {
  WatchEvents();
  auto other = std::make_unique<TTrayIcon>(nullptr);
  WPARAM stale = WPARAM(other.get());
  other.reset();
  SendMessageA(TTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, stale, WM_LBUTTONDOWN);
  EXPECT_EQ(Events, "");
}

TEST_F(TrayIconTest, ShowAndHideSendTheIconRecord) {
  Icon->GetIcon()->SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
  Icon->SetHint("Orvane");
  Calls.clear();
  Icon->SetIconVisible(true);
  Icon->SetIconVisible(false);
  ASSERT_EQ(Calls.size(), 2u);
  EXPECT_EQ(Calls[0].Message, DWORD(NIM_ADD));
  EXPECT_EQ(Calls[1].Message, DWORD(NIM_DELETE));
  const NOTIFYICONDATAA& d = Calls[0].Data;
  EXPECT_EQ(d.cbSize, 488u);
  EXPECT_EQ(d.hWnd, TTrayIcon::HandlerWindow());
  EXPECT_EQ(d.uID, UINT(reinterpret_cast<UINT_PTR>(Icon.get())));
  EXPECT_EQ(d.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(d.uCallbackMessage, 0x800u);
  EXPECT_EQ(d.hIcon, Icon->GetIcon()->GetHandle());
  EXPECT_STREQ(d.szTip, "Orvane");
  EXPECT_FALSE(Icon->GetIconVisible());
}

TEST_F(TrayIconTest, HintLengths) {
  struct Case {
    size_t length;
    bool showHint;
    size_t expected;
  };
  const Case cases[] = {{1, true, 1}, {0, true, 0}, {127, true, 127}, {128, true, 127},
                        {400, true, 127}, {20, false, 0}};
  for (const Case& c : cases) {
    Icon->SetShowHint(c.showHint);
    Calls.clear();
    Icon->SetHint(std::string(c.length, 'h'));
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Message, DWORD(NIM_MODIFY));
    EXPECT_EQ(strnlen(Calls[0].Data.szTip, sizeof(Calls[0].Data.szTip)), c.expected) << c.length;
  }
}

TEST_F(TrayIconTest, BalloonLengthsAndFields) {
  struct Case {
    size_t textLength, titleLength;
    TBalloonHintIcon kind;
    uint8_t seconds;
    size_t textExpected, titleExpected;
    DWORD infoFlags;
  };
  const Case cases[] = {
      {10, 10, bitInfo, 10, 10, 10, NIIF_INFO},
      {255, 63, bitWarning, 1, 255, 63, NIIF_WARNING},
      {256, 64, bitError, 0, 255, 63, NIIF_ERROR},
      {1000, 500, bitNone, 255, 255, 63, NIIF_NONE},
  };
  for (const Case& c : cases) {
    Calls.clear();
    EXPECT_TRUE(Icon->ShowBalloonHint(std::string(c.titleLength, 't'), std::string(c.textLength, 'x'), c.kind,
                                      c.seconds));
    // The balloon on show is removed first, then the new one is sent.
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[0].Message, DWORD(NIM_MODIFY));
    EXPECT_EQ(Calls[0].Data.uFlags & NIF_INFO, UINT(NIF_INFO));
    EXPECT_STREQ(Calls[0].Data.szInfo, "");
    const NOTIFYICONDATAA& d = Calls[1].Data;
    EXPECT_EQ(Calls[1].Message, DWORD(NIM_MODIFY));
    EXPECT_EQ(d.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_EQ(strnlen(d.szInfo, sizeof(d.szInfo)), c.textExpected) << c.textLength;
    EXPECT_EQ(strnlen(d.szInfoTitle, sizeof(d.szInfoTitle)), c.titleExpected) << c.titleLength;
    EXPECT_EQ(d.uTimeout, UINT(c.seconds) * 1000u);
    EXPECT_EQ(d.dwInfoFlags, c.infoFlags);
    EXPECT_EQ(Icon->NotifyData().uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  }
}

TEST_F(TrayIconTest, OnlyAChangedHintGoesToTheShell) {
  const char* const hints[] = {"a: 1%", "a: 1%", "a: 2%", "a: 2%", "a: 2%", "b: 2%", "a: 2%", ""};
  std::vector<std::string> sent, expected;
  std::string last;
  for (const char* h : hints) {
    Calls.clear();
    Icon->SetHint(h);
    for (const TShellCall& c : Calls) sent.push_back(c.Data.szTip);
    if (h != last) expected.push_back(h);
    last = h;
    EXPECT_EQ(Icon->GetHint(), h);
  }
  EXPECT_EQ(sent, expected);
}

// Start-up reads the common controls' version from the library's file instead of loading the library
// to ask it: both must give the same version.
TEST_F(TrayIconTest, CommonControlsVersionFromTheFileIsTheLibrarysOwn) {
  HMODULE lib = LoadLibraryA("comctl32.dll");
  ASSERT_NE(lib, nullptr);
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(lib, "DllGetVersion"));
  ASSERT_NE(getVersion, nullptr);
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(SUCCEEDED(getVersion(&info)));
  const DWORD own = (info.dwMajorVersion << 16) | info.dwMinorVersion;
  EXPECT_EQ(CommonControlsVersion(), own);
  EXPECT_EQ(CommonControlsFileVersion(), own);
  EXPECT_GE(own, 0x00040047u);
  FreeLibrary(lib);
}

TEST_F(TrayIconTest, TaskbarCreatedAddsOnlyVisibleIcons) {
  ASSERT_NE(WM_TASKBARCREATED, 0u);
  struct Case {
    bool visible;
    size_t adds;
  };
  const Case cases[] = {{true, 1}, {false, 0}};
  for (const Case& c : cases) {
    Icon->SetHint("progress 42%");
    Icon->SetIconVisible(c.visible);
    Calls.clear();
    SendMessageA(TTrayIcon::HandlerWindow(), WM_TASKBARCREATED, 0, 0);
    ASSERT_EQ(Calls.size(), c.adds) << c.visible;
    if (c.adds) {
      EXPECT_EQ(Calls[0].Message, DWORD(NIM_ADD));
      EXPECT_STREQ(Calls[0].Data.szTip, "progress 42%");
    }
    EXPECT_EQ(Icon->GetIconVisible(), c.visible);
  }
}

TEST_F(TrayIconTest, FreeingTheIconRemovesItAndTheHandlerWindow) {
  Icon->SetIconVisible(true);
  Calls.clear();
  Icon.reset();
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Message, DWORD(NIM_DELETE));
  EXPECT_EQ(TTrayIcon::HandlerWindow(), nullptr);
}

TEST_F(TrayIconTest, RemovedPopupMenuIsForgotten) {
  auto* menu = new TComponent(nullptr);
  Icon->SetPopupMenu(menu);
  menu->Free();
  EXPECT_EQ(Icon->GetPopupMenu(), nullptr);
  WatchEvents();
  Play("RD RU");
  EXPECT_EQ(Events, "down:R up:R");
}

}  // namespace
