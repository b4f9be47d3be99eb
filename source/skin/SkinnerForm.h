// The form skinner: takes over one top-level window for the skin engine. The manager attaches one per
// skinned window; it hooks the window twice (a window subclass, and for a form of ours its WindowProc
// as well), routes every message through the three tables of SkinnerForm.cpp, keeps the window's
// control skinners, and undoes all of it when skinning is switched off or the window goes.
//
// The tables are the engine's extension points: the frame and caption painting, the menu bar, the
// system menu and the control skinners add their rows and operations there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ComCtrls.h"
#include "Component.h"
#include "Controls.h"
#include "Graphics.h"
#include "Menus.h"
#include "SkinManage.h"
#include "Subclass.h"

class TSkinData;
class TTimer;
class TNCObject;
class TWinSysButton;
class TPopupMenu;
class TMenuItem;
class TMdiClientSubclass;
class TSkinnerMenu;
class TMenuBtn;

// The shared off-screen bitmap the control skinners paint into before copying to the screen
// (stretch mode COLORONCOLOR); lives until the program ends.
TBitmap* ScratchBitmap();

// The base of the control skinners (SkinnerControl.h, a layer above): registered with its window's
// form skinner, found by its window and freed when the form skinner unskins.
class TSkinControl;

// A control skinner's life: attached, and its window destroyed (freed at the form skinner's next purge).
constexpr int ssAttached = 1, ssWindowDestroyed = 6;

// A control skinner as its form skinner keeps it: each control skinner registers itself, and the form
// skinner reaches it only through this.
class TControlSkinnerLink {
public:
  HWND WindowHandle = nullptr;
  TControl* Control = nullptr;  // null for a plain window
  int SkinnerState = 0;         // ssAttached, ssWindowDestroyed
  int Mode = 0;                 // meaning per skinner; a replacing skinner takes it over

  virtual void Detach() = 0;
  virtual void SkinChanged() = 0;
  // The skinner's class name (a scroll-bar skinner is replaced by one of its kind).
  virtual std::string SkinnerClass() const = 0;
  // The control skinner itself, for the layers above.
  virtual TSkinControl* Skinner() = 0;
  virtual void Free() = 0;

protected:
  ~TControlSkinnerLink() = default;
};

// The dispatch (SkinnerDispatch, a layer above) gives a skinned window's controls their skinners; the
// form skinner asks it through this, which the dispatch's unit sets at start-up.
class TControlSkinning {
public:
  // The finish of a form skinner: the controls of a form of ours, or the child windows of any other.
  virtual void SkinWindowControls(TSkinnerForm* form, TControl* vclForm, HWND window) = 0;
  // A control of the form whose window came late.
  virtual void SkinControl(TSkinnerForm* form, TControl* control) = 0;
  // A child window made after the window was skinned.
  virtual void SkinChildWindow(TSkinnerForm* form, HWND child) = 0;
  // A new skinner of that class (with that Mode) for the control whose scroll-bar skinner went.
  virtual void ReplaceSkinner(TSkinnerForm* form, TControl* control, const char* skinnerClass, int mode) = 0;

protected:
  ~TControlSkinning() = default;
};
extern TControlSkinning* ControlSkinning;
enum TSkinnerWindowKind : uint8_t { wkOrdinary = 0, wkMdiFrame = 1, wkMdiChild = 2 };
enum TSkinnerBorderKind : uint8_t { bkSizeable = 0, bkSingle = 1, bkNone = 2, bkDialog = 3 };
enum TSkinnerShowState : uint8_t { ssNormalWindow = 0, ssMaximizedWindow = 1, ssMinimizedWindow = 2 };
// Button flags.
constexpr uint8_t bfMaximize = 1, bfMinimize = 2, bfHelp = 4, bfSystemMenu = 8, bfKeepSysMenuStyle = 16;

class TSkinnerForm : public TComponent, public TWindowSubclass, public TSkinnedWindow {
public:
  explicit TSkinnerForm(TComponent* owner);
  ~TSkinnerForm() override;

  // Set by the manager before attaching (and WindowHandle).
  std::string Name;  // the window class name, passed to the form events

  // A window that belongs to a form of ours (hooks its WindowProc as well), and any other window.
  void AttachForm(TSkinData* skinData, TControl* form);
  void AttachWindow(TSkinData* skinData);
  void Attach(TSkinData* skinData);

  // The skin of the skin data changed: colours, control skinners, frame.
  void ApplySkinChange() override;
  // Switches skinning of the window off: every procedure, the colour and the client size come back.
  void Unskin() override;
  // Lets go of the window without restoring its look (it is being destroyed, or the manager goes).
  void Release() override;
  void UnskinControlsOnly();

  // Control skinners (registered by themselves at their attachment).
  bool RegisterControl(TControlSkinnerLink* skinner);  // True when it was registered already
  void UnregisterControl(TControlSkinnerLink* skinner);
  TSkinControl* FindControlByWindow(HWND window) const;
  std::vector<TSkinControl*> ControlSkinners() const;
  // Detaches (unless its window went) and frees every control skinner.
  void FreeControls();
  // Frees the control skinners whose window was destroyed.
  void PurgeDetachedControls();
  // A child window made after the window was skinned gets the skinner its window class calls for.
  void SkinChildWindow(HWND child) override;
  void MenuModeChanged(bool on) override;
  TSkinnerForm* FormSkinner() override { return this; }
  void Free() override { TComponent::Free(); }

  int State() const override { return FState; }
  TSkinData* SkinData() const override { return FSkinData; }
  TControl* Form() const { return FForm; }
  bool FrameSkinned() const { return FFrameSkinned; }
  bool Attached() const { return Installed(); }
  TCanvas* ControlCanvas() const { return FControlCanvas; }
  TCanvas* FrameCanvas() const { return FFrameCanvas; }
  TTimer* HoverTimer() const { return FHoverTimer; }

  // Frame geometry (window pixels): the skinned border sizes, the top one being the caption's
  // height, and the menu bar's height between caption and client area.
  int BorderLeft = 0, BorderTop = 0, BorderRight = 0, BorderBottom = 0;
  int MenuBarHeight = 0;
  int InitialNCWidth = 0, InitialNCHeight = 0;
  RECT ClientRect{};
  HICON IconHandle = nullptr;
  int SmallIconSize = 0;
  uint8_t WindowKind = wkOrdinary, BorderKind = bkSingle, ButtonFlags = 0, ShowState = ssNormalWindow;
  bool Active = true;
  bool RightToLeft = false, ThickFrame = false, DialogClass = false, ChildWindow = false;
  bool MenuTracking = false;
  HWND OwnerWindow = nullptr, MdiClient = nullptr;
  HMENU NativeMenu = nullptr, SystemMenu = nullptr;
  std::wstring CaptionPrefix = L"  ", CaptionSuffix = L" ";
  TFont* CaptionFont;

  // Makes the system recalculate and repaint the window's frame.
  void RefreshFrame();
  // Keeps the client area's size while the frame takes the skinned border sizes.
  void FitWindowToFrame(bool refresh);

  // ---- frame, caption and caption buttons (SkinnerFrame.cpp) ----
  // Border sizes and caption buttons for the current skin; FreeSysButtons empties the buttons.
  void BuildSysButtons() override;
  void FreeSysButtons() override;
  // Repaints the whole skinned frame, into the DC when one is given (else the window's DC).
  void PaintFrame(HDC dc);
  // The window region cut from the border images (left alone for a window without a border).
  void UpdateRegion();
  void DeleteRegion();
  bool OwnsRegion() const { return FRegion != nullptr; }
  // A screen point in window coordinates.
  POINT ScreenToWindow(int x, int y) const;
  // The first visible caption button with an Action of 0 or more under the window point, or null.
  TWinSysButton* FindSysButtonAt(POINT p) const;
  // Whether caption button `index` shows now (also stored as its visible flag).
  bool IsSysButtonVisible(int index);
  void PaintSysButton(TWinSysButton* button, int state);
  // What the hot caption button does when clicked (screen point of the click).
  void SysButtonClick(int x, int y);
  // Takes WS_SYSMENU away (remove) or gives it back, so the system draws no caption buttons of its own.
  void SetSysMenuStyle(bool remove);
  void LoadSmallIcon();
  void DrawSmallIcon(HDC dc, const RECT& r);
  const std::vector<TWinSysButton*>& SysButtons() const { return FSysButtons; }
  const RECT& CaptionTextRect() const { return FCaptionTextRect; }
  int RightButtonEdge() const { return FRightButtonEdge; }
  // The caption button or menu-bar item that is hot or pressed, or null.
  TNCObject* HotObject = nullptr;
  // A skinned menu bar takes the strip between caption and client area (an MDI child's strip is
  // only extra space).
  bool HasMenuBar() const { return MenuBarHeight > 0 && WindowKind != wkMdiChild; }
  RECT WindowRect{};

  // ---- system menu, window commands and MDI (SkinnerCommands.cpp) ----
  // Pops up the skinned system menu at the screen point (a second call within the double-click time
  // closes the window while a caption button is hot).
  void ShowSystemMenu(POINT p);
  void BuildSystemMenu();
  void BuildDefaultSystemMenu();
  void ToggleMaximize();
  void Restore();
  void ToggleMinimize();
  bool HasSysMenuClose() const;
  bool IsMdiChildMaximized() const;
  void MdiChildCommand(UINT command);
  TPopupMenu* SystemPopup() const { return FSystemPopup; }
  // The owner drawing of the skinned menus' items (SkinnerMenuItems.cpp).
  void DrawMenuItem(TObject* sender, TCanvas* canvas, const RECT& rect, bool selected);
  void MeasureMenuItemWidth(TObject* sender, TCanvas* canvas, int& width, int& height);

  // ---- the skinned menu bar and the owner-drawn menus (SkinnerMenu.cpp, SkinnerMenuItems.cpp) ----
  TSkinnerMenu* MenuBar() const { return FMenuBar; }
  HMENU TrackedPopup = nullptr;  // the popup opened from the menu bar
  // Opens the item's popup under it (runs until the popup closes); false when it has none.
  bool TrackMenuButton(TMenuBtn* item);
  // Opens the item as a click on it would (posted), closing an open popup first.
  void ClickMenuButton(TMenuBtn* item);
  TMenuBtn* FindAccelButton(WORD key) const;
  void EndMenuTracking();
  static void SetNativeMenuOwnerDraw(HMENU menu);
  void SetMenuItemsOwnerDraw(TMenuItem* item, bool on);
  void SetPopupMenusOwnerDraw(TComponent* component, bool on);
  void SetMainMenuOwnerDraw(TComponent* component, bool on);
  void MeasureMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height);
  void DrawPlainMenuItem(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect);
  void DrawNativeMenuItem(HMENU menu, TMenuItem* item, bool selected, const RECT& rect, TCanvas* canvas);

  // ---- tool bars (SkinnerToolBars.cpp) ----
  // A skinned tool bar's custom drawing: the skin's tool bar gradient behind it, and the [Buttons]
  // element's frames behind its hot, pressed and default buttons.
  void ToolbarCustomDraw(TToolBar* sender, const RECT& r, bool& defaultDraw);
  void ToolbarCustomDrawButton(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw);
  // Gives the tool bar these two as its custom-draw events where it has none of its own; Release takes
  // back only the ones it gave.
  void HookToolbarDraw(TToolBar* bar);
  void ReleaseToolbarDraw(TToolBar* bar);
  // The menus of the component's tool bars and tool buttons drawn by themselves again.
  void ReleaseToolMenus(TComponent* component);

protected:
  LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override;
  void WindowDestroyed() override;

private:
  // A row of a message table: the handler answers whether the message is done (else it goes on).
  using THandler = bool (TSkinnerForm::*)(TMessage&);
  struct TRoute {
    UINT Msg;
    THandler Handler;
  };
  static const TRoute FirstTable[], SecondTable[], ThirdTable[];
  static bool Route(TSkinnerForm* self, const TRoute* table, TMessage& m, bool& found);

  // The first steps of Unskin and Release; false when nothing more is to do.
  bool LetGoOfWindow();
  void WindowProc(TMessage& m);
  void FormWindowProcHook(TMessage& m);
  void CallPrevious(TMessage& m);
  bool Previous(TMessage& m);

  // First table.
  bool WMEraseBkgnd(TMessage& m);
  bool WMNCDestroy(TMessage& m);
  bool WMNCActivateWaiting(TMessage& m);
  bool SwallowMessage(TMessage& m);
  bool WMInitMenuPopup(TMessage& m);
  bool WMCtlColorBtn(TMessage& m);
  bool WMCtlColorStatic(TMessage& m);
  bool FinishSkinning(TMessage& m);
  bool SkinLateControl(TMessage& m);
  bool AnswerSkinned(TMessage& m);
  bool RecreateScrollbarSkinner(TMessage& m);
  // Second table.
  bool WMWindowPosChanged(TMessage& m);
  bool WMSize(TMessage& m);
  bool NoteActivation(TMessage& m);
  bool WMGetMinMaxInfo(TMessage& m);
  bool RepaintAfterPrevious(TMessage& m);
  bool CMMenuChanged(TMessage& m);
  // Third table.
  bool PaintWholeFrame(TMessage& m);
  bool PassOn(TMessage& m);

  // Non-client messages of the skinned frame (SkinnerFrame.cpp).
  bool WMNCCalcSize(TMessage& m);
  bool WMNCHitTest(TMessage& m);
  bool WMNCPaint(TMessage& m);
  bool WMNCActivate(TMessage& m);
  bool WMNCMouseMove(TMessage& m);
  bool WMNCLButtonDown(TMessage& m);
  bool WMNCLButtonUp(TMessage& m);
  bool WMNCLButtonDblClk(TMessage& m);
  void DrawBorder(int index, RECT r, HDC dc);
  void PaintCaption(HDC dc);
  void DrawCaptionText(TCanvas* canvas, const RECT& caption);
  void LayoutSysButtons();
  void DrawSysButtons(HDC dc);
  TNCObject* ObjectAt(POINT p) const;

  // System menu, window commands and the MDI client (SkinnerCommands.cpp).
  bool WMCommand(TMessage& m);
  bool WMSysCommand(TMessage& m);
  bool WMNCRButtonDown(TMessage& m);
  void AddSysMenuItem(const std::string& caption, int tag);
  void SysMenuItemClick(TObject* sender);
  void DefaultSysMenuItemClick(TObject* sender);
  void FreeSystemPopup();
  void SubclassMdiClient();
  void UnsubclassMdiClient();
  friend class TMdiClientSubclass;
  void MdiClientProc(TMessage& m);
  void CallMdiClient(TMessage& m);
  void DrawMenuItemContent(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect);
  void DrawMenuItemContentRtl(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect);
  void DrawMenuItemGlyph(TMenuItem* item, TCanvas* canvas, RECT box, const RECT& rect);
  void DrawMenuItemText(TMenuItem* item, TCanvas* canvas, UINT flags, bool selected, RECT& r,
                        const std::wstring& text);

  void HoverTimerTick(TObject*);
  void ReadShowState();
  void FindMdiClient();
  void SaveFrameMetrics();
  int CaptionTextWidth();  // the window text's width in the caption font
  void NotifySkinned();
  void RestoreWindow(bool restoreLook);
  void RestoreClientSize();

  TWindowProcHook FFormHook;
  TSkinData* FSkinData = nullptr;
  TControl* FForm = nullptr;
  TTimer* FHoverTimer = nullptr;
  TCanvas* FFrameCanvas;
  TCanvas* FControlCanvas;
  std::vector<TControlSkinnerLink*> FControls;
  TColor FSavedFormColor = clBtnFace;
  bool FFrameSkinned = false;
  int FState = skWaiting;
  bool FControlsSkinned = false;  // the form's controls have had their skinners
  HRGN FRegion = nullptr;  // a window region this object set (and owns)
  int FRegionWidth = 0, FRegionHeight = 0;  // the window size the region was built for
  std::vector<TWinSysButton*> FSysButtons;
  TBitmap* FSmallIcon;      // the window's small icon on magenta
  TBitmap* FCaptionBitmap;  // the caption strip is composed here before it goes to the screen
  RECT FCaptionTextRect{};
  int FRightButtonEdge = 0;
  int FWindowWidth = 0, FWindowHeight = 0;
  TPopupMenu* FSystemPopup = nullptr;
  DWORD FLastSysMenuTick = 0, FDoubleClickTime;
  bool FSavedMenuUpdate = true;
  TMdiClientSubclass* FMdiClientHook = nullptr;

  // The menu bar and the owner-drawn items' messages (SkinnerMenu.cpp, SkinnerMenuItems.cpp).
  bool MenuBarClick(TMessage& m);
  bool WMMenuSelect(TMessage& m);
  void DialogCharHook(TMessage& m);
  bool WMMeasureItem(TMessage& m);
  bool WMDrawItem(TMessage& m);
  void MeasureNativeMenuItem(MEASUREITEMSTRUCT* mi);
  void CreateMenuBar();
  // The owner-draw events this skinner gives menu items (widthOnly: popup menus keep the item's height).
  TMenuDrawItemEvent DrawItemEvent();
  TMenuMeasureItemEvent MeasureItemEvent(bool widthOnly);
  void FreeMenuBar(bool restoreMenu);
  // The skinned menu bar into the bar rectangle (window coordinates); false when the window has none.
  bool PaintMenuBar(HDC dc, const RECT& bar);
  // A window being destroyed: the menu the bar took off it, unless the window has it back.
  void DestroyTakenMenu();
  void MenuChangedRebuild();
  TSkinnerMenu* FMenuBar = nullptr;
};
