// Forms, the application object and the screen.
//
// A window class derives from TForm, declares its component fields and handlers in DeclareLayout,
// and its constructor calls InitLayout(), which reads "layouts/<ClassName>.layout" and then runs
// OnCreate. Free forms with Free() (it runs OnDestroy first).
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "Controls.h"
#include "Layout.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = unsigned;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateFlag : unsigned { fsCreating = 1, fsVisible = 2, fsShowing = 4, fsModal = 8, fsActivated = 16 };

class TMainMenu;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  ORV_CLASS(TCustomForm)
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  void BeforeDestruction() override;

  // Reads the form's layout (once) and runs OnCreate. An exception from OnCreate goes to the
  // application's default handler and does not leave InitLayout: the form is kept as far as it got.
  void InitLayout();
  virtual std::string LayoutName() const { return "layouts/" + ClassName() + ".layout"; }

  int ShowModal();
  void Close();
  virtual bool CloseQuery();
  void Release();  // frees the form once the current message is done
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v);
  unsigned FormState() const { return FFormState; }
  bool Active() const { return FActive; }

  TWinControl* GetActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* c);
  void FocusControl(TWinControl* c);
  void SetFocusedControl(TWinControl* c);  // called when a control of the form gets the focus
  void ControlRemoved(TWinControl* c);
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
  void SelectFirst();
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent) const;
  void SetFocus() override;

  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  unsigned GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(unsigned v);
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TWindowState GetWindowState() const { return FWindowState; }
  void SetWindowState(TWindowState v);
  TFormStyle GetFormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle v);
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  // A band of this many pixels in the form's colour inside its frame, around the client area.
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);
  // Layouts are read at the pixel sizes they give; the flag is kept for the layouts that name it.
  bool GetScaled() const { return FScaled; }
  void SetScaled(bool v) { FScaled = v; }
  TCanvas* Canvas() const { return FCanvas; }
  // The menu bar the window shows (null for none).
  TMainMenu* GetMenu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  void Notification(TComponent* c, TOperation op) override;

  void SetVisible(bool v) override;
  RECT GetClientRect() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;
  void Loaded() override;
  void WndProc(TMessage& m) override;
  virtual void Paint();

  TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

protected:
  // A window class names its fields and handlers here (called by InitLayout).
  virtual void DeclareLayout(TLayoutBinder& binder) { (void)binder; }
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // Whether the window is handed the program's icon (caption, task switcher) when it is made; if not,
  // its class holds the icon, for the system's own use.
  virtual bool ShowsProgramIcon() const { return true; }
  void PaintWindow(HDC dc) override;
  virtual void DoClose(TCloseAction& action);
  void CloseModal();
  void ApplyPosition();
  SIZE FrameSize() const;

  unsigned FFormState = 0;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TFormBorderStyle FBorderStyle = bsSizeable;
  unsigned FBorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  bool FKeyPreview = false;
  int FBorderWidth = 0;
  bool FScaled = true;
  bool FActive = false;
  bool FLayoutRead = false;
  bool FPositioned = false;
  int FWantClientWidth = -1, FWantClientHeight = -1;
  TControlCanvas* FCanvas;
  TMainMenu* FMenu = nullptr;

private:
  void AttachMenu();
};

class TForm : public TCustomForm {
  ORV_CLASS(TForm)
public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// Creates a form of class F and reads its layout (for classes whose constructor does not).
template <class F>
F* NewForm(TComponent* owner) {
  F* f = new F(owner);
  f->InitLayout();
  return f;
}

class TApplication : public TComponent {
  ORV_CLASS(TApplication)
public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize();
  // Creates a form owned by the application; the first one becomes the main form.
  template <class F>
  void CreateForm(F*& ref) {
    ref = new F(this);
    if (!FMainForm) FMainForm = ref;
  }
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ClearTerminated() { FTerminated = false; }  // lets tests run the loop again
  void ProcessMessages();
  void HandleMessage();
  bool ProcessMessage(MSG& msg);
  void Minimize();
  void Restore();
  void BringToFront();

  HWND Handle();  // the hidden application window that owns every form
  // The program's icon (the executable's "MAINICON") at the system's large or small icon size;
  // null when the executable carries none.
  HICON Icon(bool smallSize = false);
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* f) { FMainForm = f; }
  std::string GetTitle() const { return FTitle; }
  void SetTitle(const std::string& t);
  bool ShowMainForm = true;
  bool UpdateFormatSettings = true;  // kept for code that switches it off; nothing reloads them
  int ModalLevel() const { return FModalLevel; }

  // The default exception handler: shows the message through the prompter. Call inside a catch.
  void HandleException(TObject* sender);
  void ShowException(std::exception_ptr e);
  static std::string ExceptionMessage(std::exception_ptr e);

  std::function<void(TObject* Sender, std::exception_ptr E)> OnException;
  std::function<void(MSG& Msg, bool& Handled)> OnMessage;
  // Application-wide message hooks: each message the loop takes is offered to every hook, in the order
  // they were added, before OnMessage; one that answers true keeps the message from going further.
  using TMessageHook = std::function<bool(MSG& Msg)>;
  int HookMessages(TMessageHook hook);  // returns the hook's number for UnhookMessages
  void UnhookMessages(int id);
  TNotifyEvent OnIdle, OnMinimize, OnRestore;

  void Notification(TComponent* c, TOperation op) override;

private:
  friend class TCustomForm;
  bool IsKeyMsg(MSG& msg);
  void Idle();
  static LRESULT CALLBACK AppWndProc(HWND h, UINT msg, WPARAM w, LPARAM l);
  HWND FHandle = nullptr;
  HICON FIcons[2] = {nullptr, nullptr};
  bool FIconsLoaded = false;
  TCustomForm* FMainForm = nullptr;
  std::string FTitle;
  bool FTerminated = false;
  int FModalLevel = 0;
  std::vector<std::pair<int, TMessageHook>> FMessageHooks;
  int FNextHookId = 1;
};

class TScreen : public TComponent {
  ORV_CLASS(TScreen)
public:
  explicit TScreen(TComponent* owner) : TComponent(owner) {}
  ~TScreen() override;
  TCursor GetCursor() const { return ScreenCursor; }
  void SetCursor(TCursor c) { SetScreenCursor(c); }
  int FormCount() const { return int(FForms.size()); }
  TCustomForm* Forms(int i) const { return FForms.at(size_t(i)); }
  TCustomForm* ActiveForm() const;
  TWinControl* ActiveControl() const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The font the system draws menus in (read once).
  TFont* MenuFont();

private:
  friend class TCustomForm;
  std::vector<TCustomForm*> FForms;
  TFont* FMenuFont = nullptr;
};

extern TApplication* Application;
extern TScreen* Screen;
