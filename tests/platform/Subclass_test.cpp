// Hooking windows and controls of someone else: window subclasses removed in any order, a procedure of
// somebody else put in front, Unicode windows, the window's destruction; WindowProc hooks in any order;
// the re-creation notice; controls that receive the skin engine's CN_NOTIFY notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "Subclass.h"

namespace {

constexpr UINT WM_PROBE = WM_USER + 11;

// Records its name for WM_PROBE, then passes the message on.
struct TNamedSubclass : TWindowSubclass {
  std::string Name;
  std::string* Trail;
  bool Destroyed = false;
  TNamedSubclass(std::string name, std::string* trail) : Name(std::move(name)), Trail(trail) {}
  LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == WM_PROBE) *Trail += Name;
    return CallPrevious(msg, w, l);
  }
  void WindowDestroyed() override { Destroyed = true; }
};

std::string gOriginalTrail;
LRESULT CALLBACK OriginalProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PROBE) gOriginalTrail += "o";
  return DefWindowProcA(h, msg, w, l);
}

HWND MakeWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = OriginalProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "OrvSubclassProbe";
  RegisterClassA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

std::string Probe(HWND h, std::string& trail) {
  trail.clear();
  gOriginalTrail.clear();
  SendMessageA(h, WM_PROBE, 0, 0);
  return trail + gOriginalTrail;
}

// Every order of removing three subclasses: the remaining ones keep their order, the window's own
// procedure comes back at the end.
TEST(WindowSubclass, RemovalInAnyOrder) {
  const std::vector<std::vector<int>> orders = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& order : orders) {
    HWND h = MakeWindow();
    const LONG_PTR original = GetWindowLongPtrA(h, GWLP_WNDPROC);
    std::string trail;
    TNamedSubclass a("a", &trail), b("b", &trail), c("c", &trail);
    TNamedSubclass* all[] = {&a, &b, &c};
    for (auto* s : all) ASSERT_TRUE(s->Install(h));
    EXPECT_FALSE(a.Install(h)) << "installed once";
    EXPECT_EQ(Probe(h, trail), "cbao");
    std::string left = "cba";
    for (int i : order) {
      all[i]->Remove();
      left.erase(left.find(all[i]->Name), 1);
      EXPECT_EQ(Probe(h, trail), left + "o");
    }
    EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), original);
    DestroyWindow(h);
  }
}

TEST(WindowSubclass, AProcedurePutInFrontLaterStaysInFront) {
  HWND h = MakeWindow();
  std::string trail;
  TNamedSubclass a("a", &trail);
  ASSERT_TRUE(a.Install(h));
  static WNDPROC below = nullptr;
  below = WNDPROC(SetWindowLongPtrA(h, GWLP_WNDPROC, LONG_PTR(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_PROBE) gOriginalTrail += "f";
    return CallWindowProcA(below, w, m, wp, lp);
  })));
  a.Remove();
  gOriginalTrail.clear();
  SendMessageA(h, WM_PROBE, 0, 0);
  EXPECT_EQ(trail, "");
  EXPECT_EQ(gOriginalTrail, "fo") << "the foreign procedure still reaches the window's own";
  TNamedSubclass b("b", &trail);
  ASSERT_TRUE(b.Install(h));  // joins the chain under the foreign procedure
  trail.clear();
  gOriginalTrail.clear();
  SendMessageA(h, WM_PROBE, 0, 0);
  EXPECT_EQ(trail, "b");
  EXPECT_EQ(gOriginalTrail, "fo");
  b.Remove();
  DestroyWindow(h);
}

TEST(WindowSubclass, FindsTheObjectFromTheWindow) {
  HWND h = MakeWindow(), other = MakeWindow();
  std::string trail;
  TNamedSubclass a("a", &trail), b("b", &trail);
  struct TOtherKind : TWindowSubclass {
    LRESULT SubclassProc(UINT m, WPARAM w, LPARAM l) override { return CallPrevious(m, w, l); }
  } k;
  a.Install(h);
  k.Install(h);
  b.Install(h);
  EXPECT_EQ(TWindowSubclass::Find<TNamedSubclass>(h), &b) << "the newest of the kind";
  EXPECT_EQ(TWindowSubclass::Find<TOtherKind>(h), &k);
  EXPECT_EQ(TWindowSubclass::Find<TNamedSubclass>(other), nullptr);
  EXPECT_EQ(TWindowSubclass::Find<TNamedSubclass>(nullptr), nullptr);
  b.Remove();
  EXPECT_EQ(TWindowSubclass::Find<TNamedSubclass>(h), &a);
  DestroyWindow(h);
  DestroyWindow(other);
}

TEST(WindowSubclass, UnicodeWindowsStayUnicode) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = L"OrvSubclassWide";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(IsWindowUnicode(h));
  const LONG_PTR original = GetWindowLongPtrW(h, GWLP_WNDPROC);
  struct TTextSpy : TWindowSubclass {
    std::wstring Text;
    LRESULT SubclassProc(UINT m, WPARAM w, LPARAM l) override {
      if (m == WM_SETTEXT) Text = reinterpret_cast<const wchar_t*>(l);
      return CallPrevious(m, w, l);
    }
  } spy;
  ASSERT_TRUE(spy.Install(h));
  EXPECT_TRUE(spy.Unicode());
  EXPECT_TRUE(IsWindowUnicode(h));
  const std::wstring text = L"Gr\u00fc\u00dfe \u4e2d";
  SetWindowTextW(h, text.c_str());
  EXPECT_EQ(spy.Text, text);
  wchar_t back[32] = {};
  GetWindowTextW(h, back, 32);
  EXPECT_EQ(std::wstring(back), text);
  spy.Remove();
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), original);
  EXPECT_TRUE(IsWindowUnicode(h));
  DestroyWindow(h);
}

TEST(WindowSubclass, TheWindowsDestructionReleasesEverySubclass) {
  HWND h = MakeWindow();
  std::string trail;
  TNamedSubclass a("a", &trail), b("b", &trail);
  a.Install(h);
  b.Install(h);
  DestroyWindow(h);
  EXPECT_FALSE(a.Installed());
  EXPECT_FALSE(b.Installed());
  EXPECT_TRUE(a.Destroyed && b.Destroyed);
}

// ---- WindowProc hooks ----

TEST(WindowProcHook, RemovalInAnyOrderKeepsTheOthers) {
  for (bool firstGoesFirst : {true, false}) {
    TPanel panel(nullptr);
    std::string trail;
    TWindowProcHook first, second;
    first.Install(&panel, [&](TMessage& m) {
      if (m.Msg == WM_PROBE) trail += "1";
      first.CallSaved(m);
    });
    second.Install(&panel, [&](TMessage& m) {
      if (m.Msg == WM_PROBE) trail += "2";
      second.CallSaved(m);
    });
    panel.Perform(WM_PROBE);
    EXPECT_EQ(trail, "21");
    (firstGoesFirst ? first : second).Remove();
    trail.clear();
    panel.Perform(WM_PROBE);
    EXPECT_EQ(trail, firstGoesFirst ? "2" : "1");
    (firstGoesFirst ? second : first).Remove();
    trail.clear();
    panel.Perform(WM_PROBE);
    EXPECT_EQ(trail, "");
    EXPECT_EQ(panel.Perform(WM_GETTEXTLENGTH), 0) << "the control's own WndProc answers again";
  }
}

// Re-creating a control's window goes through its WindowProc: a hook sees the old window before
// passing the notice on and the new one after.
TEST(WindowProcHook, SeesTheControlsWindowRecreated) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  const HWND old = edit->Handle();
  HWND before = nullptr, after = nullptr;
  TWindowProcHook hook;
  hook.Install(edit, [&](TMessage& m) {
    if (m.Msg == CM_RECREATEWND) before = edit->Handle();
    hook.CallSaved(m);
    if (m.Msg == CM_RECREATEWND) after = edit->HandleAllocated() ? edit->Handle() : nullptr;
  });
  edit->RecreateWnd();
  EXPECT_EQ(before, old);
  ASSERT_NE(after, nullptr);
  EXPECT_TRUE(IsWindow(after));
  EXPECT_EQ(edit->Handle(), after);
  hook.Remove();
}

// ---- the skin engine's notice ----

TEST(Notifications, ControlsTakeTheEnginesNoticeForNoHeader) {
  TForm form(nullptr);
  auto* list = new TListView(&form);
  list->SetParent(&form);
  auto* pages = new TPageControl(&form);
  pages->SetParent(&form);
  form.HandleNeeded();
  for (TWinControl* c : std::vector<TWinControl*>{list, pages, &form}) {
    EXPECT_EQ(c->Perform(CN_NOTIFY, 0, 16802), 0) << c->ClassName();
    EXPECT_EQ(SendMessageA(c->Handle(), CN_NOTIFY, 0, 16802), 0) << c->ClassName();
  }
  TMessage m{WM_NOTIFY, 0, 16802, 0};
  EXPECT_EQ(NotifyHeader(m), nullptr);
  NMHDR hdr{};
  m.LParam = LPARAM(&hdr);
  EXPECT_EQ(NotifyHeader(m), &hdr);
}

}  // namespace
