// TTrayIcon: one icon in the taskbar's notification area with hint, balloon tips, click and
// double-click events and a popup menu. The shell's notifications for every icon arrive on one shared
// hidden window (TTrayIconHandler); all shell requests go through a replaceable function so that tests
// can record them.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

#include "Controls.h"
#include "Graphics.h"
#include "SimpleTimer.h"

// The callback message of every icon.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 0x400;
// The shell's "TaskbarCreated" broadcast; 0 when the common controls are older than 4.71.
extern const UINT WM_TASKBARCREATED;
// The common controls' version, major in the high word and minor in the low word; 0 when unknown. Asked
// of the library when it is loaded, else read from its file: loading it only to ask would run its
// start-up (window classes, visual styles) before the program's first window.
DWORD CommonControlsVersion();
DWORD CommonControlsFileVersion();  // from the file's version resource alone

// The shell request; replaced by tests. An empty function restores Shell_NotifyIconA.
using TShellNotifyIconFn = std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)>;
void SetShellNotifyIcon(TShellNotifyIconFn fn);

// What the icon needs of a popup menu component. The class library has no menu unit yet, so the
// program (or a test) supplies these; the defaults read "AutoPopup" through the property table and
// cannot pop up or click anything.
struct TTrayMenuServices {
  std::function<bool(TComponent* menu)> AutoPopup;
  // Shows the menu at a screen point with `popupComponent` as its PopupComponent.
  std::function<void(TComponent* menu, TComponent* popupComponent, int x, int y)> Popup;
  // Clicks the first item whose Default is set; False when there is none.
  std::function<bool(TComponent* menu)> ClickDefaultItem;
};
TTrayMenuServices& TrayMenuServices();

enum TBalloonHintIcon : uint8_t { bitNone, bitInfo, bitWarning, bitError };

using TCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;
using TStartupEvent = std::function<void(TObject* Sender, bool& ShowMainForm)>;

// The record's size with the balloon fields (the version-5 shell layout).
constexpr DWORD TrayNotifyDataSize = 488;

class TTrayIcon : public TComponent {
  ORV_CLASS(TTrayIcon)
public:
  explicit TTrayIcon(TComponent* owner);
  ~TTrayIcon() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation op) override;

  virtual bool UseDefaultIcon() { return true; }
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();

  // Replaces any balloon on show; the text is cut to 255 characters, the title to 63.
  bool ShowBalloonHint(const std::string& title, const std::string& text, TBalloonHintIcon iconKind,
                       uint8_t timeoutSeconds);
  bool HideBalloonHint();
  // 0: the original notifications; 1: NOTIFYICON_VERSION.
  bool SetNotifyVersion(int version);
  int GetNotifyVersion() const { return FNotifyVersion; }

  // ---- published ----
  bool GetDesignPreview() const { return FDesignPreview; }
  void SetDesignPreview(bool v);
  TImageList* GetIconList() const { return FIconList; }
  void SetIconList(TImageList* v);
  bool GetCycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool v);
  int GetCycleInterval() const { return int(FCycleInterval); }
  void SetCycleInterval(int v);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  std::string GetHint() const { return FHint; }
  void SetHint(const std::string& v);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  TIcon* GetIcon() const { return FIcon; }
  void SetIcon(TIcon* v);
  bool GetIconVisible() const { return FIconVisible; }
  void SetIconVisible(bool v);
  int GetIconIndex() const { return FIconIndex; }
  void SetIconIndex(int v);
  TComponent* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* v);
  bool GetLeftPopup() const { return FLeftPopup; }
  void SetLeftPopup(bool v) { FLeftPopup = v; }
  bool GetWantEnterExitEvents() const { return FWantEnterExitEvents; }
  void SetWantEnterExitEvents(bool v);
  bool GetMinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(bool v) { FMinimizeToTray = v; }

  TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseExit;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

  // What the next shell request will carry (filled by every request).
  const NOTIFYICONDATAA& NotifyData() const { return FNotifyData; }
  // The icon's timers, for inspection.
  const TSimpleTimer* DoubleClickTimer() const { return FDoubleClickTimer; }
  const TSimpleTimer* IconCycleTimer() const { return FIconCycleTimer; }
  const TSimpleTimer* ExitPollTimer() const { return FExitPollTimer; }
  // The shared window that receives WM_TRAYNOTIFY (null while no icon exists).
  static HWND HandlerWindow();

  void ShowPopupMenu();
  void HideMainWindow();
  void HideApplicationButton();

protected:
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoCycle(int nextIndex);
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseMove(TShiftState shift, int x, int y);
  virtual void DoMouseEnter();
  virtual void DoMouseExit();
  virtual void DoMinimizeToTray();

private:
  friend LRESULT CALLBACK TrayIconHandlerProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK TrayApplicationProc(HWND, UINT, WPARAM, LPARAM);
  void HandleIconMessage(UINT mouseMsg);
  void ApplicationHook(UINT msg, WPARAM w, LPARAM l);
  void OwnerWindowProc(TMessage& m);
  void PrepareNotifyData();
  bool Notify(DWORD message);
  void DoubleClickTick();
  void CycleTick();
  void ExitPollTick();
  void CopyListImageToIcon();
  bool AskStartup();

  bool FDesignPreview = false;
  TImageList* FIconList = nullptr;
  bool FCycleIcons = false;
  unsigned FCycleInterval = 0;
  bool FEnabled = true;
  std::string FHint;
  bool FShowHint = true;
  TIcon* FIcon;
  bool FIconVisible = false;
  int FIconIndex = 0;
  TComponent* FPopupMenu = nullptr;
  bool FLeftPopup = false;
  bool FWantEnterExitEvents = false;
  bool FMinimizeToTray = false;

  bool FLeftPressed = false, FClickPending = false, FDoubleClicked = false;
  TSimpleTimer* FIconCycleTimer;
  TSimpleTimer* FDoubleClickTimer;
  TSimpleTimer* FExitPollTimer;
  POINT FLastMousePos{0, 0};
  bool FMouseOutside = true;
  int FNotifyVersion = 0;
  bool FInPreviewChange = false;
  bool FWaitingForMainForm = true;
  bool FIconChanging = false;  // an internal copy into Icon: no change notification
  TWinControl* FOwnerControl = nullptr;
  std::function<void(TMessage&)> FOldOwnerProc;
  NOTIFYICONDATAA FNotifyData;
};
