#include "Subclass.h"

#include <algorithm>
#include <vector>

// ---- TWindowSubclass ----

// One per subclassed window, in the property below: the window's own procedure and the installed
// objects, oldest first. The chain's procedure stays on the window until the last object goes and
// nobody has put a procedure in front of it since.
struct TSubclassChain {
  WNDPROC Original = nullptr;
  bool Unicode = false;
  std::vector<TWindowSubclass*> Hooks;
};

namespace {

const char* const kChainProp = "OrvSubclassChain";

TSubclassChain* ChainOf(HWND h) { return static_cast<TSubclassChain*>(GetPropA(h, kChainProp)); }

LONG_PTR GetProc(HWND h, bool unicode) {
  return unicode ? GetWindowLongPtrW(h, GWLP_WNDPROC) : GetWindowLongPtrA(h, GWLP_WNDPROC);
}
void SetProc(HWND h, bool unicode, LONG_PTR proc) {
  if (unicode)
    SetWindowLongPtrW(h, GWLP_WNDPROC, proc);
  else
    SetWindowLongPtrA(h, GWLP_WNDPROC, proc);
}

LRESULT CallOriginal(WNDPROC proc, bool unicode, HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (!proc) return unicode ? DefWindowProcW(h, msg, w, l) : DefWindowProcA(h, msg, w, l);
  return unicode ? CallWindowProcW(proc, h, msg, w, l) : CallWindowProcA(proc, h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK SubclassChainProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  TSubclassChain* chain = ChainOf(h);
  if (!chain) return DefWindowProcA(h, msg, w, l);  // cannot happen: the property goes with the procedure
  LRESULT r;
  if (chain->Hooks.empty())
    r = CallOriginal(chain->Original, chain->Unicode, h, msg, w, l);
  else
    r = chain->Hooks.back()->SubclassProc(msg, w, l);
  if (msg == WM_NCDESTROY && (chain = ChainOf(h)) != nullptr) {
    // The window is gone: every object still installed is released, the chain freed.
    std::vector<TWindowSubclass*> left = chain->Hooks;
    if (GetProc(h, chain->Unicode) == LONG_PTR(&SubclassChainProc)) SetProc(h, chain->Unicode, LONG_PTR(chain->Original));
    RemovePropA(h, kChainProp);
    delete chain;
    for (TWindowSubclass* s : left) {
      s->FWindow = nullptr;
      s->WindowDestroyed();
    }
  }
  return r;
}

TWindowSubclass::~TWindowSubclass() { Remove(); }

bool TWindowSubclass::Install(HWND window) {
  if (FWindow || !window || !IsWindow(window)) return false;
  TSubclassChain* chain = ChainOf(window);
  if (!chain) {
    chain = new TSubclassChain;
    chain->Unicode = IsWindowUnicode(window) != FALSE;
    chain->Original = WNDPROC(GetProc(window, chain->Unicode));
    SetPropA(window, kChainProp, chain);
    SetProc(window, chain->Unicode, LONG_PTR(&SubclassChainProc));
  }
  chain->Hooks.push_back(this);
  FWindow = FLastWindow = window;
  FUnicode = chain->Unicode;
  FOriginal = chain->Original;
  return true;
}

void TWindowSubclass::Remove() {
  if (!FWindow) return;
  HWND h = FWindow;
  FWindow = nullptr;
  TSubclassChain* chain = ChainOf(h);
  if (!chain) return;
  chain->Hooks.erase(std::remove(chain->Hooks.begin(), chain->Hooks.end(), this), chain->Hooks.end());
  // Somebody else's procedure in front of the chain still calls it: then the chain stays, passing on.
  if (chain->Hooks.empty() && GetProc(h, chain->Unicode) == LONG_PTR(&SubclassChainProc)) {
    SetProc(h, chain->Unicode, LONG_PTR(chain->Original));
    RemovePropA(h, kChainProp);
    delete chain;
  }
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM w, LPARAM l) {
  HWND h = FWindow;
  if (TSubclassChain* chain = h ? ChainOf(h) : nullptr) {
    auto it = std::find(chain->Hooks.begin(), chain->Hooks.end(), this);
    if (it != chain->Hooks.end() && it != chain->Hooks.begin()) return (*(it - 1))->SubclassProc(msg, w, l);
    return CallOriginal(chain->Original, chain->Unicode, h, msg, w, l);
  }
  // Removed while handling this message (a skinner lets go of a window at WM_NCDESTROY and then
  // passes the message on): the window's own procedure still gets it.
  return FLastWindow && IsWindow(FLastWindow) ? CallOriginal(FOriginal, FUnicode, FLastWindow, msg, w, l) : 0;
}

void TWindowSubclass::ForEach(HWND window, const std::function<void(TWindowSubclass*)>& visit) {
  if (!window) return;
  if (TSubclassChain* chain = ChainOf(window))
    for (auto it = chain->Hooks.rbegin(); it != chain->Hooks.rend(); ++it) visit(*it);
}

// ---- TWindowProcHook ----

namespace {

// The callable put into WindowProc; its link tells the hook whether it is still the first in line.
template <class TLink>
struct THookCall {
  std::shared_ptr<TLink> Link;
  void operator()(TMessage& m) const {
    if (Link->Handler)
      Link->Handler(m);
    else
      Link->Saved(m);
  }
};

}  // namespace

void TWindowProcHook::Install(TControl* control, THandler handler) {
  Remove();
  if (!control) return;
  FControl = control;
  FLink = std::make_shared<TLink>();
  FLink->Handler = std::move(handler);
  FLink->Saved = control->WindowProc ? control->WindowProc : [control](TMessage& m) { control->WndProc(m); };
  control->WindowProc = THookCall<TLink>{FLink};
}

void TWindowProcHook::Remove() {
  if (!FControl) return;
  auto* first = FControl->WindowProc.target<THookCall<TLink>>();
  if (first && first->Link == FLink)
    FControl->WindowProc = FLink->Saved;
  else
    FLink->Handler = nullptr;  // a handler put in front later still calls this one: pass on from now
  FControl = nullptr;
  FLink.reset();
}

void TWindowProcHook::CallSaved(TMessage& m) {
  if (FLink) FLink->Saved(m);
}
