// The skin manager: the one process-wide coordinator of skinning. A WH_CBT hook of the main thread
// shows it every window that is created or activated; it decides which of them get a form skinner,
// keeps the list of skinned windows and of the registered skin data components, and carries out the
// queued actions (skin all, unskin all, re-apply the skin) from a one-shot timer.
//
// TSkinnerPopMenu, also here, takes over one popup-menu window ("#32768") of the process from its
// creation to its destruction and paints the window's frame and background from the skin's
// MenuBackground element; the items are owner-drawn by the form skinner over that background.
//
// Nothing here reports errors: a window that fails a test simply stays unskinned.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "SkinMessages.h"
#include "Subclass.h"

class TSkinData;
class TSkinnerForm;
class TControl;
class TCustomForm;
class TTimer;
class TBitmap;

// The queued actions.
enum TSkinAction { saNone = 0, saSkinAll = 1, saUnskinAll = 2, saReapplySkin = 3 };

class TSkinnerPopMenu : public TWindowSubclass {
public:
  TSkinnerPopMenu();
  ~TSkinnerPopMenu() override;

  // Subclasses the menu window; the menu handle may be 0 (it is told later).
  void Attach(HWND window, TSkinData* skinData, HMENU menu);
  // Puts the window's procedure back and empties the background.
  void Detach();

  HWND WindowHandle = nullptr;
  TSkinData* SkinData = nullptr;
  HMENU MenuHandle = nullptr;
  // The window-sized picture built from MenuBackground at the last paint (empty before).
  TBitmap* Background;
  // The background for the window's current size, built when it is still missing; null when the skin
  // has no usable MenuBackground.
  TBitmap* CurrentBackground();
  // Where the client area (the items' coordinates) starts inside the window.
  POINT ClientOffset() const;

protected:
  LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override;

private:
  bool CanPaint() const;
  void BuildBackground();
  LRESULT WMEraseBkgnd(UINT msg, WPARAM w, LPARAM l);
  LRESULT WMNCPaint(UINT msg, WPARAM w, LPARAM l);
  LRESULT WMPrint(UINT msg, WPARAM w, LPARAM l);
  LRESULT WMPaint(UINT msg, WPARAM w, LPARAM l);
};

// The form skinner's life: 0 attached and waiting for the finish message, 1 skinned, 3 re-applying a
// skin, 4 destroying, 5 fitting the window to the frame, 6 released (the window is gone).
enum TSkinnerState : int {
  skWaiting = 0, skSkinned = 1, skReapplying = 3, skDestroying = 4, skFitting = 5, skReleased = 6
};

// A skinned window as the manager keeps it. The form skinner (TSkinnerForm, a layer above) is one;
// the manager makes them through MakeSkinnedWindow and reaches them only through this.
class TSkinnedWindow {
public:
  HWND WindowHandle = nullptr;

  virtual TSkinData* SkinData() const = 0;
  virtual int State() const = 0;
  // Switches skinning of the window off, and lets go of it without restoring its look.
  virtual void Unskin() = 0;
  virtual void Release() = 0;
  // The skin of the skin data changed: caption buttons first, then colours, controls and frame.
  virtual void FreeSysButtons() = 0;
  virtual void BuildSysButtons() = 0;
  virtual void ApplySkinChange() = 0;
  // A child window made after the window was skinned.
  virtual void SkinChildWindow(HWND child) = 0;
  // A maximized MDI child came (on) or went: an MDI child drops or takes its region.
  virtual void MenuModeChanged(bool on) = 0;
  // The form skinner itself, for the layers above.
  virtual TSkinnerForm* FormSkinner() = 0;
  virtual void Free() = 0;

protected:
  ~TSkinnedWindow() = default;
};

// Makes and attaches the skinner of a window (vcl: its form of ours, or null); null when it could not
// attach. The form skinner's unit sets it at start-up.
extern TSkinnedWindow* (*MakeSkinnedWindow)(HWND window, TControl* vcl, TSkinData* data, const std::string& className);

class TSkinManage {
public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  TTimer* Timer;                         // runs DoAction once
  std::vector<TSkinnedWindow*> Forms;    // one form skinner per skinned window
  std::vector<TSkinData*> SkinDatas;     // registration order
  bool Active = false;                   // nothing is skinned while False
  bool SkinningAll = false;              // action 1 is walking the forms: child windows are accepted
  int Started = 0;                       // 0 before the first activation, then 1; 4 while destroyed
  int PopupMode = 0;                     // 0 context popup, 1 menu-bar popup, 2 system menu
  bool MenuMode = false;
  HWND MdiClientWindow = nullptr;
  TControl* MdiFrameForm = nullptr;
  int Action = saNone;
  TSkinData* ActionData = nullptr;       // the component the queued action concerns
  TSkinData* MainSkinData = nullptr;     // the first registered sfMainform component

  // The WH_CBT hook of the calling (main) thread; installed once.
  void InstallHook();
  bool HookInstalled() const;

  // Qualifies the window and, when it passes, attaches a new form skinner (True).
  bool SkinWindow(HWND window);
  // A visible top-level form.
  void SkinForm(TCustomForm* form);
  bool CanSkinClass(HWND window, const std::string& className);
  void ChooseSkinData(TSkinData*& data, HWND window);
  bool IsPlainChild(HWND window);

  // Popup-menu windows ("#32768"): one popup skinner each from creation to destruction.
  // The mode goes back to 0 when the last popup skinner goes.
  std::vector<TSkinnerPopMenu*> PopupMenus;
  void SkinPopupMenu(HWND window);
  bool RemovePopupMenu(HWND window);
  bool IsPopupSkinned(HWND window) const;
  TSkinnerPopMenu* FindPopupMenu(HWND window) const;
  // The newest popup skinner that does not know its menu yet learns it.
  void SetPopupMenuHandle(HMENU menu);
  // The background of the popup showing that menu, or null.
  TBitmap* PopupBitmap(HMENU menu);
  void FreePopupMenus();

  // Stores the action for ActionData; before the first activation actions 1 and 2 only switch
  // skinning on or off, afterwards the timer runs DoAction once after the interval.
  void QueueAction(int action, int interval);
  void DoAction();

  TSkinnerForm* FindForm(HWND window);
  TSkinnedWindow* FindSkinned(HWND window);
  // The form of that window among Screen's forms, else the control of the window, or null.
  TControl* FindVclForm(HWND window);
  // Drops the entry without freeing it (a form skinner that goes away).
  void RemoveWindow(HWND window);
  // Frees the skinners whose window is gone.
  void PurgeForms();

  void AddSkinData(TSkinData* data);
  // Also lets go of every window skinned from that component: it is about to be freed.
  void RemoveSkinData(TSkinData* data);
  void RefreshSkinData();
  void SetMenuMode(bool on);

private:
  void UnskinAndFree(TSkinnedWindow* form);
  void Remove(TSkinnedWindow* form);
};

// The manager; null until the first skin data component has been loaded. It lives until the process
// ends (freeing it among the static destructors would outlive the timers it uses).
extern TSkinManage* SkinManager;
TSkinManage& CreateSkinManager();  // the existing one, or a new one
// Unhooks and lets go of every skinned window (tests start over with it).
void FreeSkinManager();
// A window's class name (up to 99 characters).
std::string WindowClassName(HWND window);
