// Controls: TControl (bounds, parent, visibility, caption, font, colour, mouse pipeline), TWinControl
// (a window: creation by superclassing, focus, keyboard, painting with a passed DC, reflected
// notifications, alignment and anchors), TGraphicControl (painted by its parent) and TCustomControl.
// Their code: Controls.cpp (TControl), WinControl.cpp (TWinControl), GraphicControls.cpp (the canvas
// controls) and ControlDispatch.cpp (window procedure, mouse tracking and capture, reflection).
//
// Every message of a windowed control goes through its WindowProc (a replaceable std::function that
// starts as the virtual WndProc) inside an exception boundary. Notifications that the system sends
// to a parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_HSCROLL,
// WM_VSCROLL, ...) are handed to the child they concern as CN_BASE + message.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Component.h"
#include "Cursor.h"
#include "Graphics.h"

// ---- private messages ----
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;  // lParam: the newly focused TWinControl*
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// The notification header of a WM_NOTIFY or CN_NOTIFY, or null when lParam is no pointer: the skin
// engine sends CN_NOTIFY with lParam 16802 as its own notice, and no address lies below 64 KB.
inline const NMHDR* NotifyHeader(const TMessage& m) {
  return ULONG_PTR(m.LParam) >= 0x10000 ? reinterpret_cast<const NMHDR*>(m.LParam) : nullptr;
}

// ---- enumerations and events ----
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
TShiftState KeysToShiftState(WPARAM keys);    // MK_* flags of a mouse message
TShiftState KeyDataToShiftState(LPARAM data);  // lParam of a key message (Alt) plus the keyboard state

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = unsigned;  // bits (1 << TAnchorKind)
constexpr TAnchors AnchorsLeftTop = (1u << akLeft) | (1u << akTop);
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// The reading direction: right to left with the scroll bar on the left, without it, or only the text.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
const std::vector<std::string>& BiDiModeNames();
enum TTextLayout { tlTop, tlCenter, tlBottom };

const TIdentMap& CursorIdents();

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;
const TIdentMap& ModalResultIdents();

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Style flags of a control class.
enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1,
  csCaptureMouse = 2,
  csClickEvents = 4,
  csSetCaption = 8,
  csOpaque = 16,
  csDoubleClicks = 32,
  csFramed = 64,
  csNoStdEvents = 128,
  csReplicatable = 256,
  csParentBackground = 512
};
// Run-time state flags.
enum TControlStateFlag : unsigned {
  csLButtonDown = 1,
  csClicked = 2,
  csFocusing = 4,
  csCreating = 8,
  csAlignmentNeeded = 16,
  csCustomPaint = 32
};

class TWinControl;
class TCustomForm;
LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);

class TControl : public TComponent {
  ORV_CLASS(TControl)
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  void BeforeDestruction() override;

  // Message entry: WindowProc starts as WndProc; the skin engine may chain its own in front.
  std::function<void(TMessage&)> WindowProc;
  virtual void WndProc(TMessage& m);
  virtual void DefaultHandler(TMessage& m);
  LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);

  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* p);
  void SetParentComponent(TComponent* parent) override;
  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int l, int t, int w, int h);
  RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual RECT GetClientRect() const;
  int GetClientWidth() const;
  int GetClientHeight() const;
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  POINT ClientOrigin() const;  // screen position of the client area's origin
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;

  bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Showing() const;  // visible, and every parent is showing
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  // The caption: a windowed control keeps it as its window text.
  std::string GetCaption() const { return GetText(); }
  void SetCaption(const std::string& v) { SetText(v); }
  virtual std::string GetText() const { return FText; }
  virtual void SetText(const std::string& v);
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* f) { FFont->Assign(f); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  TColor GetColor() const { return FColor; }
  virtual void SetColor(TColor v);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign v);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(unsigned v);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor v);
  std::string GetHint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v) { FParentShowHint = v; }
  TComponent* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* m);
  bool GetAutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool v);
  // The parent's direction while ParentBiDiMode; setting one clears ParentBiDiMode. A windowed
  // control reading right to left has WS_EX_RTLREADING, and, but for bdRightToLeftReadingOnly,
  // WS_EX_LEFTSCROLLBAR; its window is made again when the direction changes.
  TBiDiMode GetBiDiMode() const;
  void SetBiDiMode(TBiDiMode v);
  bool GetParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool v);
  bool IsRightToLeft() const { return GetBiDiMode() != bdLeftToRight; }
  // The extended window styles of that direction.
  DWORD BiDiExStyle() const;

  unsigned ControlStyle() const { return FControlStyle; }
  void SetControlStyle(unsigned s) { FControlStyle = s; }
  unsigned ControlState() const { return FControlState; }
  void SetControlState(unsigned s) { FControlState = s; }
  bool GetMouseCapture() const;
  void SetMouseCapture(bool v);

  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // The anchors keep the current distances to the parent's edges from now on.
  void UpdateAnchorRules();
  void Loaded() override;

  TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // The mouse pipeline's steps, overridable like the class library's dynamic methods.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Resize();

protected:
  virtual void Changed() {}
  virtual void FontChanged();
  virtual void VisibleChanging() {}
  void RequestAlign();
  virtual void DoSetBounds(int l, int t, int w, int h);
  virtual bool CanAutoSize(int& w, int& h) { (void)w; (void)h; return false; }
  void AdjustSize();
  void InvalidateControl(bool wasVisible, bool opaque);
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FText;
  TFont* FFont;
  bool FParentFont = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  TAlign FAlign = alNone;
  TAnchors FAnchors = AnchorsLeftTop;
  int FAnchorRight = 0, FAnchorBottom = 0;
  TCursor FCursor = crDefault;
  std::string FHint;
  bool FShowHint = false, FParentShowHint = true;
  TComponent* FPopupMenu = nullptr;
  bool FAutoSize = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  unsigned FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  unsigned FControlState = 0;
  friend class TWinControl;

private:
  void HandleMouseDown(TMessage& m, TMouseButton b);
  void HandleMouseUp(TMessage& m, TMouseButton b);
  void ApplyParentFont();
  void ApplyParentColor();
};

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  UINT WindowClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  std::string WinClassName;  // the window class: the component's class name
  std::string SystemClass;   // the system class it is built on ("BUTTON"), empty for none
};

// A wrapper of a system control (StdCtrls): the system class its window class is built on, the style
// bits every one of its windows has, and the size, Tab stop, colour and control style it starts with.
struct TSystemControl {
  const char* SystemClass;
  DWORD Style, ExStyle;
  int Width, Height;
  bool TabStop;
  TColor Color;
  unsigned ControlStyle;
};

// A window of this process built by a TWinControl: the control, or null.
TWinControl* FindControl(HWND h);
// The control whose window holds `h`, walking up the parents (a combo box's edit finds the combo box).
TWinControl* FindVclWindow(HWND h);
TCustomForm* GetParentForm(TControl* c);

class TWinControl : public TControl {
  ORV_CLASS(TWinControl)
public:
  explicit TWinControl(TComponent* owner);
  TWinControl(TComponent* owner, const TSystemControl& system);
  ~TWinControl() override;
  void BeforeDestruction() override;

  HWND Handle();  // creates the window (and the parents') when needed
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // True while the control is hidden and waits to make its window until it is shown (or its handle
  // is asked for): see NeedsWindowWhileHidden.
  bool WindowDeferred() const { return !FHandle && !FVisible && !NeedsWindowWhileHidden(); }
  void DestroyHandle();
  void RecreateWnd();
  HWND GetParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND h);

  int ControlCount() const { return int(FControls.size()); }
  TControl* Controls(int i) const { return FControls.at(size_t(i)); }
  const std::vector<TControl*>& ControlList() const { return FControls; }
  bool ContainsControl(TControl* c) const;
  // The topmost visible graphic child at a client point (windowed children get their own mouse).
  TControl* ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls = false) const;
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);

  int GetTabOrder() const;
  void SetTabOrder(int v);
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  // Windowed children in tab order (recursively when `deep`).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  bool GetParentBackground() const { return (FControlStyle & csParentBackground) != 0; }
  void SetParentBackground(bool v);
  TBrush* Brush();
  void SetText(const std::string& v) override;
  std::string GetText() const override;
  RECT GetClientRect() const override;
  void SetColor(TColor v) override;
  void SetEnabled(bool v) override;
  void SetVisible(bool v) override;
  void Invalidate() override;
  void Update() override;
  void Realign();
  // After a layout was read: aligns the whole tree, then records every control's anchor distances.
  void AlignLoadedTree();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  // Sends the message to every child control until one answers non-zero.
  void Broadcast(TMessage& m);
  void PaintControls(HDC dc, TControl* first = nullptr);
  void PaintTo(HDC dc, int x, int y);  // the control and its children into another DC
  void Loaded() override;

  // Per-instance handlers of window messages, consulted before everything else (the form's
  // WM_DROPFILES, its private WM_USER messages). The handler sets m.Result.
  void SetMessageHandler(UINT msg, std::function<void(TMessage&)> handler);

  TNotifyEvent OnEnter, OnExit;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;

  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();

protected:
  // False for a control whose window is costly and of no use while it is hidden: its window is made
  // when it is first shown or its handle is asked for, not with its parent's.
  virtual bool NeedsWindowWhileHidden() const { return true; }
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void PaintWindow(HDC dc);
  virtual void AlignControls(TControl* control, RECT& rect);
  virtual void AdjustClientRect(RECT& r) const { (void)r; }
  void DoSetBounds(int l, int t, int w, int h) override;
  void PaintHandler(TMessage& m);
  void UpdateBoundsFromWindow();
  bool IsControlMouseMsg(TMessage& m);
  void CreateSubClass(TCreateParams& params, const char* systemClass);
  virtual void FocusedChanged() {}
  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;  // children in z-order (first is bottom)
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  const char* FSystemClass = nullptr;  // a wrapped system control's class
  DWORD FSystemStyle = 0, FSystemExStyle = 0;
  TBrush* FBrush = nullptr;
  int FAlignLevel = 0;
  std::map<UINT, std::function<void(TMessage&)>> FMessageHandlers;
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend class TControl;

private:
  void CreateHandle();
  void ReflectNotification(TMessage& m);
  bool HandleKeyMessage(TMessage& m);
  void WMSetCursor(TMessage& m);
  void AlignAndAnchor();
  static void RealignTree(TWinControl* w);
  static void UpdateAnchorTree(TWinControl* w);
  bool FUpdatingBounds = false;
};

// A canvas bound to a control's DC: a paint DC while painting, or a fresh DC on demand.
class TControlCanvas : public TCanvas {
public:
  explicit TControlCanvas(TControl* c) : FControl(c) {}
  ~TControlCanvas() override { FreeHandle(); }
  void FreeHandle();
  // Draws on `dc` in `font` while `paint` runs, then lets the DC go, also when painting raises.
  void PaintOn(HDC dc, TFont* font, const std::function<void()>& paint);

protected:
  void CreateHandle() override;

private:
  TControl* FControl;
  HDC FOwnDC = nullptr;
  HWND FOwnWindow = nullptr;
};

// A control without a window, painted by its parent into the parent's DC.
class TGraphicControl : public TControl {
  ORV_CLASS(TGraphicControl)
public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  virtual void Paint() {}
  void WndProc(TMessage& m) override;

protected:
  TControlCanvas* FCanvas;
};

// A windowed control that paints itself on its canvas.
class TCustomControl : public TWinControl {
  ORV_CLASS(TCustomControl)
public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  virtual void Paint() {}

protected:
  void PaintWindow(HDC dc) override;
  TControlCanvas* FCanvas;
};

// The class-library routine that lets controls draw their parent behind them: the parent paints
// its background and graphic children into `canvas`, so that the part under `control` lands at the
// canvas origin.
void DrawParentBackground(TCanvas* canvas, TControl* control);

// Registers the window class named after the component class; when `systemClass` is given the
// class superclasses it (its window procedure becomes the default handler).
WNDPROC RegisterControlClass(const std::string& className, const std::string& systemClass, UINT classStyle);

// Set by TApplication: where exceptions raised inside message handling go.
using TExceptionHandler = std::function<void(TObject* sender)>;
void SetControlExceptionHandler(TExceptionHandler handler);
void HandleControlException(TObject* sender);  // call inside a catch block

// The control under the mouse: tracks enter and leave (also while the mouse is captured).
void UpdateMouseControl(POINT screenPoint);
TControl* MouseControl();
TControl* CaptureControl();

// Shared by the files of the controls.
POINT MessagePoint(LPARAM l);  // the client point of a mouse message
bool IsMouseMessage(UINT msg);
void ForgetMouseControl(TControl* c);  // a control that goes away has neither the mouse nor the capture
// `parent`'s window lost the capture: its graphic child that held the mouse no longer does.
void ReleaseGraphicCapture(TWinControl* parent);
