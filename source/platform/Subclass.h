// Hooking the messages of windows and controls that belong to someone else.
//
// TWindowSubclass puts a procedure in front of any window's own (a window of this program, a system
// dialog, a control of another module). All subclasses of one window share one chain kept in a window
// property, so they can be removed in any order without cutting out one installed later, and the object
// behind a window is found from the window. The window is driven in its own character set: the wide
// calls for a Unicode window, the ANSI ones otherwise.
//
// TWindowProcHook does the same for a control's WindowProc (the class library's message entry, which
// also sees the messages sent with Perform).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "Controls.h"

struct TSubclassChain;

class TWindowSubclass {
public:
  TWindowSubclass() = default;
  virtual ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts this object in front of the window's procedure. False when it is already installed (on this
  // or another window) or the window does not exist.
  bool Install(HWND window);
  // Takes this object out of the window's chain; the window's own procedure comes back once no
  // subclass is left and nobody has subclassed the window after the chain. Safe when not installed.
  void Remove();
  bool Installed() const { return FWindow != nullptr; }
  HWND Window() const { return FWindow; }
  bool Unicode() const { return FUnicode; }

  // The newest installed object of type T on the window, or null.
  template <class T>
  static T* Find(HWND window) {
    T* found = nullptr;
    ForEach(window, [&found](TWindowSubclass* s) {
      if (!found) found = dynamic_cast<T*>(s);
    });
    return found;
  }

protected:
  // Every message of the window while installed. Pass it on with CallPrevious.
  virtual LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) = 0;
  // The procedure that was in front of this one (also after Remove, for the message being handled).
  LRESULT CallPrevious(UINT msg, WPARAM w, LPARAM l);
  // Called once the window got WM_NCDESTROY; the object is then no longer installed.
  virtual void WindowDestroyed() {}

private:
  friend LRESULT CALLBACK SubclassChainProc(HWND, UINT, WPARAM, LPARAM);
  static void ForEach(HWND window, const std::function<void(TWindowSubclass*)>& visit);
  HWND FWindow = nullptr;
  HWND FLastWindow = nullptr;  // the window of the last Install
  bool FUnicode = false;
  WNDPROC FOriginal = nullptr;  // the window's procedure under the chain, for calls after Remove
};

// A handler in front of a control's WindowProc. Removing it while another handler was put in front
// later keeps that one: this hook then only passes messages on.
class TWindowProcHook {
public:
  using THandler = std::function<void(TMessage&)>;
  TWindowProcHook() = default;
  ~TWindowProcHook() { Remove(); }
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  void Install(TControl* control, THandler handler);
  void Remove();
  // The control is being destroyed and its WindowProc went with it: forget the control without
  // touching it.
  void Abandon() {
    FControl = nullptr;
    FLink.reset();
  }
  bool Installed() const { return FControl != nullptr; }
  // The WindowProc that was in place before Install.
  void CallSaved(TMessage& m);

private:
  struct TLink {
    THandler Handler;                     // empty once removed
    std::function<void(TMessage&)> Saved;  // the WindowProc before this hook
  };
  TControl* FControl = nullptr;
  std::shared_ptr<TLink> FLink;
};
