// The skin manager: the one process-wide coordinator of skinning. A WH_CBT hook of the main thread
// shows it every window that is created or activated; it decides which of them get a form skinner,
// keeps the list of skinned windows and of the registered skin data components, and carries out the
// queued actions (skin all, unskin all, re-apply the skin) from a one-shot timer.
//
// Nothing here reports errors: a window that fails a test simply stays unskinned.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TSkinData;
class TSkinnerForm;
class TControl;
class TCustomForm;
class TTimer;
class TSkinnerPopMenu;
class TBitmap;

// Private messages of the engine (see the form skinner for what each one does there).
constexpr UINT SM_REAPPLYSKIN = 0x3401;   // to a skinned form: take the skin again
constexpr UINT SM_PAINTFRAME = 0x3502;    // to a skinned window: repaint the whole frame
constexpr UINT SM_FINISHSKIN = 0x3503;    // posted after attaching, lParam 1000: finish skinning
// To the window, for the application's own caption buttons: posted with wParam the button's Action
// when it is clicked; sent with wParam its Visibility (1000..2000) and lParam its Action to ask whether
// it shows (an answer above 0).
constexpr UINT SM_CAPTIONBUTTONACTION = 0x3514;
constexpr UINT SM_CAPTIONBUTTONVISIBLE = 0x3515;
constexpr UINT SM_MDIREDRAW = 0x3516;     // posted to the MDI client: redraw it and all its children
constexpr UINT SM_RECREATESCROLL = 0x3517;  // a scroll-bar skinner's control window was re-created
constexpr UINT SM_MENUBARCLICK = 0x3518;  // to a skinned window, lParam a screen point: open the bar item there
constexpr UINT SM_ISSKINNED = 0x3523;     // any window: 1 when it is skinned
constexpr UINT SM_PAINTFRAMETO = 0xBC4B;  // lParam 16802: paint the skinned frame into the DC in wParam
constexpr UINT SM_SKINQUERY = 0xBC4D;     // a skinned form answers 16802 for lParam 16802, else 1
constexpr LPARAM SkinFinishParam = 1000;

// The queued actions.
enum TSkinAction { saNone = 0, saSkinAll = 1, saUnskinAll = 2, saReapplySkin = 3 };

class TSkinManage {
public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  TTimer* Timer;                         // runs DoAction once
  std::vector<TSkinnerForm*> Forms;      // one form skinner per skinned window
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

  // Popup-menu windows ("#32768"): one popup skinner each from creation to destruction (SkinnerMenu.cpp).
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
  void UnskinAndFree(TSkinnerForm* form);
  void Remove(TSkinnerForm* form);
};

// The manager; null until the first skin data component has been loaded. It lives until the process
// ends (freeing it among the static destructors would outlive the timers it uses).
extern TSkinManage* SkinManager;
TSkinManage& CreateSkinManager();  // the existing one, or a new one
// Unhooks and lets go of every skinned window (tests start over with it).
void FreeSkinManager();
// A window's class name (up to 99 characters).
std::string WindowClassName(HWND window);
