#include "SkinnerForm.h"

#include <algorithm>
#include <memory>

#include "Forms.h"
#include "Menus.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "Timer.h"

namespace {

constexpr UINT WM_NCUAHDRAWCAPTION = 0xAE;  // the themed caption's own painting: never wanted here

// The manager's skinned windows are form skinners.
TSkinnedWindow* MakeFormSkinner(HWND window, TControl* vcl, TSkinData* data, const std::string& className) {
  auto* f = new TSkinnerForm(vcl);
  f->WindowHandle = window;
  f->Name = className;
  if (vcl)
    f->AttachForm(data, vcl);
  else
    f->AttachWindow(data);
  if (!f->Attached()) {
    f->Free();
    return nullptr;
  }
  return f;
}

const bool FactorySet = (MakeSkinnedWindow = MakeFormSkinner, true);

}  // namespace

TControlSkinning* ControlSkinning = nullptr;

TBitmap* ScratchBitmap() {
  static const std::unique_ptr<TBitmap> bitmap = [] {
    auto b = std::make_unique<TBitmap>();
    SetStretchBltMode(b->Canvas()->GetHandle(), COLORONCOLOR);
    return b;
  }();
  return bitmap.get();
}

// ---- the message tables ----
//
// Every message of the window passes the first table; a message still going on gets the previous
// procedure when the frame is not skinned (or the window is a plain child), else passes the second
// table; a message still going on then gets the previous procedure while the skinner waits for the
// finish message (or the window is a maximized MDI child), else the third table's handler or, without
// a row, the previous procedure.
//
// Rows that come with the rest of the engine: in the first table 0x3517 (the scroll-bar skinner).

const TSkinnerForm::TRoute TSkinnerForm::FirstTable[] = {
    {WM_ERASEBKGND, &TSkinnerForm::WMEraseBkgnd},
    {WM_NCDESTROY, &TSkinnerForm::WMNCDestroy},
    {WM_NCACTIVATE, &TSkinnerForm::WMNCActivateWaiting},
    {WM_NCUAHDRAWCAPTION, &TSkinnerForm::SwallowMessage},
    {WM_INITMENUPOPUP, &TSkinnerForm::WMInitMenuPopup},
    {WM_CTLCOLORBTN, &TSkinnerForm::WMCtlColorBtn},
    {WM_CTLCOLORSTATIC, &TSkinnerForm::WMCtlColorStatic},
    {SM_FINISHSKIN, &TSkinnerForm::FinishSkinning},
    {SM_ISSKINNED, &TSkinnerForm::AnswerSkinned},
    {SM_RECREATESCROLL, &TSkinnerForm::RecreateScrollbarSkinner},
    {WM_PARENTNOTIFY, &TSkinnerForm::SkinLateControl},
    {0, nullptr}};

const TSkinnerForm::TRoute TSkinnerForm::SecondTable[] = {
    {WM_WINDOWPOSCHANGED, &TSkinnerForm::WMWindowPosChanged},
    {WM_SIZE, &TSkinnerForm::WMSize},
    {WM_ACTIVATE, &TSkinnerForm::NoteActivation},
    {WM_GETMINMAXINFO, &TSkinnerForm::WMGetMinMaxInfo},
    {WM_SETICON, &TSkinnerForm::RepaintAfterPrevious},
    {WM_SETTEXT, &TSkinnerForm::RepaintAfterPrevious},
    {WM_NCACTIVATE, &TSkinnerForm::NoteActivation},
    {WM_COMMAND, &TSkinnerForm::WMCommand},
    {WM_SYSCOMMAND, &TSkinnerForm::WMSysCommand},
    {CM_MENUCHANGED, &TSkinnerForm::CMMenuChanged},
    {SM_MENUBARCLICK, &TSkinnerForm::MenuBarClick},
    {WM_MENUSELECT, &TSkinnerForm::WMMenuSelect},
    {0, nullptr}};

const TSkinnerForm::TRoute TSkinnerForm::ThirdTable[] = {
    {WM_NCACTIVATE, &TSkinnerForm::WMNCActivate},
    {WM_WINDOWPOSCHANGING, &TSkinnerForm::PassOn},
    {WM_NCCALCSIZE, &TSkinnerForm::WMNCCalcSize},
    {WM_NCHITTEST, &TSkinnerForm::WMNCHitTest},
    {WM_NCPAINT, &TSkinnerForm::WMNCPaint},
    {WM_NCMOUSEMOVE, &TSkinnerForm::WMNCMouseMove},
    {WM_NCLBUTTONDOWN, &TSkinnerForm::WMNCLButtonDown},
    {WM_NCLBUTTONUP, &TSkinnerForm::WMNCLButtonUp},
    {WM_NCLBUTTONDBLCLK, &TSkinnerForm::WMNCLButtonDblClk},
    {WM_NCRBUTTONDOWN, &TSkinnerForm::WMNCRButtonDown},
    {SM_PAINTFRAME, &TSkinnerForm::PaintWholeFrame},
    {WM_DRAWITEM, &TSkinnerForm::WMDrawItem},
    {WM_MEASUREITEM, &TSkinnerForm::WMMeasureItem},
    {0, nullptr}};

bool TSkinnerForm::Route(TSkinnerForm* self, const TRoute* table, TMessage& m, bool& found) {
  for (const TRoute* r = table; r->Handler; ++r)
    if (r->Msg == m.Msg) {
      found = true;
      return (self->*r->Handler)(m);
    }
  found = false;
  return false;
}

// ---- life ----

TSkinnerForm::TSkinnerForm(TComponent* owner)
    : TComponent(owner),
      CaptionFont(new TFont),
      FFrameCanvas(new TCanvas),
      FControlCanvas(new TCanvas),
      FSmallIcon(new TBitmap),
      FCaptionBitmap(new TBitmap),
      FDoubleClickTime(GetDoubleClickTime()) {
  LoadSystemCaptionFont(CaptionFont);
}

TSkinnerForm::~TSkinnerForm() {
  // Normally the window went first (Release at WM_NCDESTROY) or the manager unskinned it.
  FFormHook.Remove();
  TWindowSubclass::Remove();
  UnsubclassMdiClient();
  FreeControls();
  FreeSysButtons();
  FreeSystemPopup();
  FreeMenuBar(false);
  if (SkinManager) SkinManager->RemoveWindow(WindowHandle);
  delete FCaptionBitmap;
  delete FSmallIcon;
  delete CaptionFont;
  delete FFrameCanvas;
  delete FControlCanvas;
}

// ---- attachment ----

void TSkinnerForm::AttachForm(TSkinData* skinData, TControl* form) {
  FForm = form;
  if (skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(form, WindowHandle, Name);
  if (skinData->Has(xcMenuItem)) SafeSetPropText(form, "AutoScroll", "False");
  Attach(skinData);
  if (!Installed()) return;
  if (FFrameSkinned) FFormHook.Install(form, [this](TMessage& m) { FormWindowProcHook(m); });
  FSavedFormColor = form->GetColor();
  form->SetColor(skinData->ButtonFace);
  if (skinData->Has(xcMenuItem)) SetMainMenuOwnerDraw(form, true);
}

void TSkinnerForm::AttachWindow(TSkinData* skinData) { Attach(skinData); }

void TSkinnerForm::Attach(TSkinData* skinData) {
  if (Installed() || !IsWindow(WindowHandle)) return;
  if (SkinManager) SkinManager->Started = 1;
  FSkinData = skinData;
  if (!FHoverTimer) {
    FHoverTimer = new TTimer(this);
    FHoverTimer->SetEnabled(false);
    FHoverTimer->SetInterval(250);
    FHoverTimer->OnTimer = [this](TObject* sender) { HoverTimerTick(sender); };
  }
  FFrameSkinned = skinData->Has(xcMainMenu);

  const HWND h = WindowHandle;
  const LONG style = GetWindowLongA(h, GWL_STYLE), exStyle = GetWindowLongA(h, GWL_EXSTYLE);
  RightToLeft = exStyle & WS_EX_LEFTSCROLLBAR;
  ChildWindow = style & WS_CHILD;
  if (Name.empty()) Name = WindowClassName(h);
  OwnerWindow = GetWindow(h, GW_OWNER);

  ButtonFlags = 0;
  if ((style & WS_SYSMENU) || SystemMenu) ButtonFlags |= bfSystemMenu;
  if (style & WS_MINIMIZEBOX) ButtonFlags |= bfMinimize;
  if (style & WS_MAXIMIZEBOX) ButtonFlags |= bfMaximize;
  if (exStyle & WS_EX_CONTEXTHELP) ButtonFlags |= bfHelp;
  ReadShowState();
  ThickFrame = style & WS_THICKFRAME;
  FindMdiClient();
  if (exStyle & WS_EX_MDICHILD) {
    WindowKind = wkMdiChild;
    if (skinData->Has(xoMDIChildBorder)) FFrameSkinned = false;
  }
  BorderKind = bkSingle;
  if ((style & WS_CAPTION) != WS_CAPTION)
    BorderKind = bkNone;
  else if (style & WS_THICKFRAME)
    BorderKind = bkSizeable;
  else if (style & DS_MODALFRAME)
    BorderKind = bkDialog;
  if (exStyle & WS_EX_DLGMODALFRAME) BorderKind = bkDialog;

  const DWORD version = GetVersion();
  const bool windows2000 = LOBYTE(LOWORD(version)) > 4 && HIBYTE(LOWORD(version)) == 0;
  const bool nt = !(version & 0x80000000u);
  if (windows2000 && (((exStyle & WS_EX_APPWINDOW) && nt) || (!OwnerWindow && WindowKind != wkMdiChild)))
    ButtonFlags |= bfKeepSysMenuStyle;
  DialogClass = Name == "#32770" || Name == "TMessageForm";
  if (DialogClass) BorderKind = bkDialog;
  if (!nt) skinData->SetSkinControls(skinData->GetSkinControls() & ~Bit(xcSystemMenu));
  if (WindowKind == wkMdiFrame) {
    FSavedMenuUpdate = skinData->GetMenuUpdate();
    SubclassMdiClient();
  }

  if (!Install(h)) {
    UnsubclassMdiClient();
    return;
  }
  if (FFrameSkinned) {
    NativeMenu = GetMenu(h);
    CreateMenuBar();
    BuildSysButtons();
  } else {
    FState = skSkinned;
  }
  // An MDI child's caption is never lower than the system's caption with its sizing edge.
  if (WindowKind == wkMdiChild) {
    const int least = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (BorderTop < least) MenuBarHeight = least - BorderTop;
    if (ShowState == ssMaximizedWindow && SkinManager && !SkinManager->MenuMode) SkinManager->SetMenuMode(true);
  }
}

// ---- the window procedure ----

LRESULT TSkinnerForm::SubclassProc(UINT msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  try {
    WindowProc(m);
  } catch (...) {
    // The engine raises nothing; whatever a handler met stays here.
  }
  return m.Result;
}

void TSkinnerForm::WindowDestroyed() { FState = skReleased; }

void TSkinnerForm::CallPrevious(TMessage& m) { m.Result = TWindowSubclass::CallPrevious(m.Msg, m.WParam, m.LParam); }

bool TSkinnerForm::Previous(TMessage& m) {
  CallPrevious(m);
  return true;
}

void TSkinnerForm::WindowProc(TMessage& m) {
  if (FState == skWaiting && m.Msg == WM_NCPAINT) {
    m.Result = 0;  // no standard frame flashes before the skinned one
    return;
  }
  bool found;
  if (Route(this, FirstTable, m, found)) return;
  if (!FFrameSkinned || (ChildWindow && WindowKind != wkMdiChild)) {
    CallPrevious(m);
    return;
  }
  if (Route(this, SecondTable, m, found)) return;
  if ((WindowKind == wkMdiChild && ShowState == ssMaximizedWindow) || FState == skWaiting) {
    CallPrevious(m);
    return;
  }
  if (!Route(this, ThirdTable, m, found) && !found) CallPrevious(m);
}

bool TSkinnerForm::WMEraseBkgnd(TMessage& m) {
  CallPrevious(m);
  if (!FForm && FSkinData->ButtonFaceBrush) {
    RECT r;
    GetClientRect(WindowHandle, &r);
    FillRect(HDC(m.WParam), &r, FSkinData->ButtonFaceBrush);
    m.Result = 1;
  }
  return true;
}

bool TSkinnerForm::WMNCDestroy(TMessage& m) {
  FState = skDestroying;
  Release();
  CallPrevious(m);
  FState = skReleased;
  return true;
}

// While waiting for the finish message the frame is not painted, but the change of activation goes
// through: answering 0 here would keep the activation from ever leaving the window. The previous
// procedure still records the new state (lParam -1 asks it not to paint), so the frame painted after
// finishing shows the right one.
bool TSkinnerForm::WMNCActivateWaiting(TMessage& m) {
  if (FState != skWaiting || WindowKind == wkMdiChild) return false;
  Active = LOBYTE(LOWORD(m.WParam)) != 0;
  TWindowSubclass::CallPrevious(m.Msg, m.WParam, LPARAM(-1));
  m.Result = TRUE;
  return true;
}

bool TSkinnerForm::SwallowMessage(TMessage& m) {
  m.Result = 0;
  return true;
}

bool TSkinnerForm::WMInitMenuPopup(TMessage& m) {
  if (SkinManager) SkinManager->PopupMode = HMENU(m.WParam) == SystemMenu ? 2 : 1;
  CallPrevious(m);
  return true;
}

bool TSkinnerForm::WMCtlColorBtn(TMessage& m) {
  CallPrevious(m);
  if (!FForm) SetBkMode(HDC(m.WParam), TRANSPARENT);
  return true;
}

bool TSkinnerForm::WMCtlColorStatic(TMessage& m) {
  CallPrevious(m);
  if (!FForm && FSkinData->ButtonFaceBrush) {
    SetBkMode(HDC(m.WParam), TRANSPARENT);
    m.Result = LRESULT(FSkinData->ButtonFaceBrush);
  }
  return true;
}

// A control of the form that made its window after the form's controls were skinned (a hidden one makes
// its window when first shown) gets its skinner as soon as the window exists.
bool TSkinnerForm::SkinLateControl(TMessage& m) {
  CallPrevious(m);
  if (!FControlsSkinned || LOWORD(m.WParam) != WM_CREATE) return true;
  TWinControl* control = FindControl(HWND(m.LParam));
  if (control && FForm && GetParentForm(control) == FForm && ControlSkinning)
    ControlSkinning->SkinControl(this, control);
  return true;
}

void TSkinnerForm::SkinChildWindow(HWND child) {
  if (ControlSkinning) ControlSkinning->SkinChildWindow(this, child);
}

bool TSkinnerForm::FinishSkinning(TMessage& m) {
  SystemMenu = GetSystemMenu(WindowHandle, FALSE);
  LoadSmallIcon();
  SaveFrameMetrics();
  if (ControlSkinning) ControlSkinning->SkinWindowControls(this, FForm, WindowHandle);
  FControlsSkinned = true;
  if (FState == skWaiting) {
    if (WindowKind == wkMdiChild) {
      if (ShowState == ssMaximizedWindow && SkinManager && SkinManager->MdiClientWindow) {
        PostMessageA(SkinManager->MdiClientWindow, SM_MDIREDRAW, WPARAM(WindowHandle), 0);
      } else if (ShowState == ssNormalWindow) {
        FState = skFitting;
        FitWindowToFrame(false);
        FState = skSkinned;
        UpdateRegion();
      }
    } else if (!ChildWindow && BorderKind != bkNone && ShowState != ssMinimizedWindow) {
      FState = skFitting;
      FitWindowToFrame(false);
      FState = skSkinned;
      if (ShowState == ssNormalWindow)
        UpdateRegion();
      else if (ShowState == ssMaximizedWindow)
        RefreshFrame();
    }
  }
  NotifySkinned();
  FState = skSkinned;
  FHoverTimer->SetEnabled(true);
  // The frame paints of the fitting came before the skinned state: the finished frame shows now.
  const bool plainChild = ChildWindow && WindowKind != wkMdiChild;
  if (FFrameSkinned && !plainChild && IsWindowVisible(WindowHandle)) PaintFrame(nullptr);
  m.Result = 0;
  return true;
}

bool TSkinnerForm::AnswerSkinned(TMessage& m) {
  m.Result = 1;
  PostMessageA(WindowHandle, CN_NOTIFY, 0, SkinNoticeParam);
  return true;
}

bool TSkinnerForm::WMWindowPosChanged(TMessage& m) {
  ReadShowState();
  CallPrevious(m);
  return true;
}

bool TSkinnerForm::WMSize(TMessage& m) {
  CallPrevious(m);
  switch (m.WParam) {
    case SIZE_RESTORED: ShowState = ssNormalWindow; break;
    case SIZE_MINIMIZED: ShowState = ssMinimizedWindow; break;
    case SIZE_MAXIMIZED: ShowState = ssMaximizedWindow; break;
  }
  if (ShowState == ssMinimizedWindow) return true;
  // A maximized MDI child wears the system's frame inside the client; the children's regions follow.
  if (WindowKind == wkMdiChild && SkinManager) {
    if (m.WParam == SIZE_MAXIMIZED) SkinManager->SetMenuMode(true);
    if (m.WParam == SIZE_RESTORED && SkinManager->MenuMode) SkinManager->SetMenuMode(false);
  }
  if (WindowKind == wkMdiChild && ((SkinManager && SkinManager->MenuMode) || ShowState != ssNormalWindow))
    return true;
  if (FState == skSkinned || FState == skReapplying) UpdateRegion();
  return true;
}

bool TSkinnerForm::NoteActivation(TMessage& m) {
  Active = LOBYTE(LOWORD(m.WParam)) != 0;
  return false;
}

bool TSkinnerForm::WMGetMinMaxInfo(TMessage& m) {
  CallPrevious(m);
  ReadShowState();
  return true;
}

// The previous procedure paints the system's caption straight over the skinned one when the icon or
// the text changes (Wine's default procedure draws the caption for WM_SETTEXT): paint ours again.
bool TSkinnerForm::RepaintAfterPrevious(TMessage& m) {
  CallPrevious(m);
  if (m.Msg == WM_SETICON) LoadSmallIcon();
  if (FState == skSkinned && IsWindowVisible(WindowHandle)) PaintFrame(nullptr);
  return true;
}

// No frame is painted while the class library rebuilds the window's menu; the skinned menu bar then
// takes the rebuilt menu and the window shows none of its own.
bool TSkinnerForm::CMMenuChanged(TMessage& m) {
  FSkinData->PaintFrames = false;
  CallPrevious(m);
  FSkinData->PaintFrames = true;
  MenuChangedRebuild();
  return true;
}

bool TSkinnerForm::PaintWholeFrame(TMessage& m) {
  PaintFrame(nullptr);
  m.Result = 0;
  return true;
}

bool TSkinnerForm::PassOn(TMessage& m) { return Previous(m); }

// ---- the form's WindowProc ----

void TSkinnerForm::FormWindowProcHook(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      FFormHook.CallSaved(m);
      if (!IsWindowVisible(WindowHandle)) return;
      if (ShowState == ssMaximizedWindow && WindowKind == wkMdiChild) {
        if (SkinManager && SkinManager->MdiClientWindow)
          PostMessageA(SkinManager->MdiClientWindow, SM_MDIREDRAW, WPARAM(WindowHandle), 0);
      } else if (ShowState == ssMinimizedWindow) {
        PaintFrame(nullptr);
      } else {
        RefreshFrame();
      }
      return;
    case SM_REAPPLYSKIN:
      ApplySkinChange();
      return;
    case CM_DIALOGCHAR:
      DialogCharHook(m);
      return;
    case SM_PAINTFRAMETO:
      if (m.LParam == SkinNoticeParam) {
        if (m.WParam) PaintFrame(HDC(m.WParam));
        m.Result = SkinNoticeParam;
      }
      return;
    case SM_SKINQUERY:
      m.Result = m.LParam == SkinNoticeParam ? SkinNoticeParam : 1;
      return;
  }
  FFormHook.CallSaved(m);
}

// ---- frame ----

void TSkinnerForm::RefreshFrame() {
  SetWindowPos(WindowHandle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void TSkinnerForm::FitWindowToFrame(bool refresh) {
  // The client rectangle is read from the window whether refreshing or not.
  if (ShowState == ssMaximizedWindow) {
    RefreshFrame();
    return;
  }
  RECT wr, cr;
  GetWindowRect(WindowHandle, &wr);
  GetClientRect(WindowHandle, &cr);
  int width = cr.right + BorderLeft + BorderRight;
  const int clientBottom = WindowKind == wkMdiChild ? cr.bottom : cr.bottom - MenuBarHeight;
  const int height = clientBottom + BorderTop + BorderBottom + MenuBarHeight;
  // A dialog box grows to show its whole caption; its controls move to stay in the middle.
  if (DialogClass && !refresh) {
    const int required = FSkinData->Title->Margins.Left + CaptionTextWidth() + FSkinData->Title->Margins.Right;
    if (width < required) {
      const int shift = (required - width) / 2;
      for (HWND c = GetTopWindow(WindowHandle); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, WindowHandle, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(c, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = required;
    }
  }
  SetWindowPos(WindowHandle, nullptr, wr.left, wr.top, width, height,
               SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

int TSkinnerForm::CaptionTextWidth() {
  const HWND h = WindowHandle;
  const int length = GetWindowTextLengthW(h);
  std::wstring text(size_t(length) + 1, L'\0');
  GetWindowTextW(h, text.data(), length + 1);
  text.resize(size_t(length));
  HDC dc = GetWindowDC(h);
  HGDIOBJ old = SelectObject(dc, CaptionFont->Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return size.cx;
}

void TSkinnerForm::SaveFrameMetrics() {
  RECT wr, cr;
  GetWindowRect(WindowHandle, &wr);
  GetClientRect(WindowHandle, &cr);
  ClientRect = RECT{0, 0, cr.right, cr.bottom};
  InitialNCWidth = (wr.right - wr.left) - cr.right;
  InitialNCHeight = (wr.bottom - wr.top) - cr.bottom;
}

void TSkinnerForm::ReadShowState() {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  if (!GetWindowPlacement(WindowHandle, &p)) return;
  switch (p.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: ShowState = ssMinimizedWindow; break;
    case SW_SHOWMAXIMIZED: ShowState = ssMaximizedWindow; break;
    default: ShowState = ssNormalWindow; break;
  }
}

void TSkinnerForm::FindMdiClient() {
  WindowKind = wkOrdinary;
  for (HWND c = GetTopWindow(WindowHandle); c; c = GetWindow(c, GW_HWNDNEXT))
    if (WindowClassName(c) == "MDIClient") {
      WindowKind = wkMdiFrame;
      MdiClient = c;
      if (SkinManager) {
        SkinManager->MdiClientWindow = c;
        SkinManager->MdiFrameForm = FForm;
      }
      return;
    }
}

void TSkinnerForm::NotifySkinned() {
  SendMessageA(WindowHandle, CN_NOTIFY, 0, SkinNoticeParam);
  if (FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FForm, WindowHandle, Name);
}

// ---- skin changes and undoing ----

void TSkinnerForm::ApplySkinChange() {
  if (FForm) {
    FForm->SetColor(FSkinData->ButtonFace);
    for (TComponent* c : FForm->ComponentList())
      if (auto* f = As<TCustomForm>(c)) f->SetColor(FSkinData->ButtonFace);
  }
  for (TControlSkinnerLink* c : FControls) c->SkinChanged();
  FState = skReapplying;
  if (FFrameSkinned && FForm) {
    SetPopupMenusOwnerDraw(FForm, true);
    FitWindowToFrame(true);
    FForm->SetHeight(FForm->GetHeight() + 1);  // forces a re-layout inside the new frame
    FForm->SetHeight(FForm->GetHeight() - 1);
  }
  NotifySkinned();
  FState = skSkinned;
}

// What Unskin and Release both do first. A window whose frame was never skinned only gives its controls
// back; any other stops the system popup and the hover timer and loses the hooks and the control
// skinners. False when nothing more is to do.
bool TSkinnerForm::LetGoOfWindow() {
  if (!FFrameSkinned) {
    UnskinControlsOnly();
    return false;
  }
  FreeSystemPopup();
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  if (!Installed()) return false;
  FFormHook.Remove();
  TWindowSubclass::Remove();
  FreeControls();
  return true;
}

void TSkinnerForm::Unskin() {
  if (!LetGoOfWindow()) return;
  if (FForm) {
    SetPopupMenusOwnerDraw(FForm, false);
    ReleaseToolMenus(FForm);
    if (FSkinData->Has(xcMenuItem)) SetMainMenuOwnerDraw(FForm, false);
  }
  if (FForm && FState != skDestroying) FForm->SetColor(FSavedFormColor);
  SetSysMenuStyle(false);
  FreeMenuBar(true);
  UnsubclassMdiClient();
  RestoreClientSize();
  // Only a region this object set goes: a borderless window keeps the shape it was given.
  if (FRegion) {
    FRegion = nullptr;
    SetWindowRgn(WindowHandle, nullptr, TRUE);  // the system frees the region it was given
  }
}

// The window gets the size that keeps its client area as it is inside the frame it wears now.
void TSkinnerForm::RestoreClientSize() {
  const HWND h = WindowHandle;
  const bool child = GetWindowLongA(h, GWL_STYLE) & WS_CHILD;
  if (FState == skDestroying || (child && WindowKind != wkMdiChild)) return;
  RECT wr;
  GetWindowRect(h, &wr);
  if (WindowKind == wkMdiChild && SkinManager && SkinManager->MdiClientWindow)
    MapWindowPoints(nullptr, SkinManager->MdiClientWindow, reinterpret_cast<POINT*>(&wr), 2);
  const int width = (wr.right - wr.left) + InitialNCWidth - BorderLeft - BorderRight;
  const int height = (wr.bottom - wr.top) + InitialNCHeight - BorderTop - BorderBottom;
  SetWindowPos(h, nullptr, wr.left, wr.top, width, height, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

// While an MDI child is maximized its frame is the system's (hidden outside the client): the children
// drop their regions; afterwards they take them again.
void TSkinnerForm::MenuModeChanged(bool on) {
  if (WindowKind != wkMdiChild) return;
  if (on) {
    DeleteRegion();
  } else if (ShowState != ssMinimizedWindow) {
    ShowState = ssNormalWindow;
    UpdateRegion();
    if (!OwnsRegion()) RefreshFrame();
  }
}

void TSkinnerForm::Release() {
  if (!LetGoOfWindow()) return;
  if (FState == skDestroying && !FForm) DestroyTakenMenu();
  FreeMenuBar(false);
}

void TSkinnerForm::UnskinControlsOnly() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  FreeControls();
  if (FForm) {
    SetPopupMenusOwnerDraw(FForm, false);
    if (FSkinData && FSkinData->Has(xcMenuItem)) SetMainMenuOwnerDraw(FForm, false);
  }
  if (FForm && FState != skDestroying) FForm->SetColor(FSavedFormColor);
  FFormHook.Remove();
  TWindowSubclass::Remove();
  UnsubclassMdiClient();
  if (FForm && FState != skDestroying)
    for (TComponent* c : FForm->ComponentList())
      if (auto* control = As<TControl>(c)) control->Invalidate();
}

// ---- control skinners ----

bool TSkinnerForm::RegisterControl(TControlSkinnerLink* skinner) {
  if (std::find(FControls.begin(), FControls.end(), skinner) != FControls.end()) return true;
  FControls.push_back(skinner);
  return false;
}

void TSkinnerForm::UnregisterControl(TControlSkinnerLink* skinner) {
  auto it = std::find(FControls.rbegin(), FControls.rend(), skinner);
  if (it != FControls.rend()) FControls.erase(std::next(it).base());
}

TSkinControl* TSkinnerForm::FindControlByWindow(HWND window) const {
  for (TControlSkinnerLink* c : FControls)
    if (c->WindowHandle == window) return c->Skinner();
  return nullptr;
}

std::vector<TSkinControl*> TSkinnerForm::ControlSkinners() const {
  std::vector<TSkinControl*> skinners;
  for (TControlSkinnerLink* c : FControls) skinners.push_back(c->Skinner());
  return skinners;
}

void TSkinnerForm::FreeControls() {
  while (!FControls.empty()) {
    TControlSkinnerLink* c = FControls.front();
    if (auto* bar = As<TToolBar>(c->Control)) ReleaseToolbarDraw(bar);
    if (c->SkinnerState != ssWindowDestroyed) c->Detach();
    FControls.erase(FControls.begin());
    c->Free();
  }
}

void TSkinnerForm::PurgeDetachedControls() {
  for (size_t i = FControls.size(); i-- > 0;)
    if (i < FControls.size() && FControls[i]->SkinnerState == ssWindowDestroyed) FControls[i]->Free();
}

// A scroll bar skinner's control got a new window: the old skinner goes and one of the same kind takes
// the new window.
bool TSkinnerForm::RecreateScrollbarSkinner(TMessage& m) {
  m.Result = 0;
  const auto it = std::find_if(FControls.rbegin(), FControls.rend(),
                               [&](TControlSkinnerLink* c) { return c->WindowHandle == HWND(m.WParam); });
  if (it == FControls.rend()) return true;
  TControlSkinnerLink* old = *it;
  TControl* control = old->Control;
  const char* kind = old->SkinnerClass() == "TSkinListView" ? "TSkinListView" : "TSkinScrollbar";
  const int mode = old->Mode;
  FControls.erase(std::next(it).base());
  old->Free();
  if (control && FSkinData && ControlSkinning) ControlSkinning->ReplaceSkinner(this, control, kind, mode);
  return true;
}
