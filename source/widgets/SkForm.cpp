#include "SkForm.h"

#include <algorithm>

#include "ActnList.h"
#include "OrvWindowsUtils.h"
#include "Prompter.h"
#include "SkThemeMgr.h"
#include "SkUtils.h"

namespace {

// Has the system ask the window for its frame again (the client area follows).
void FrameChanged(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// ---- the frame ----

ORV_DEFINE_CLASS(TskForm, TCustomPanel, FactoryOf<TskForm>(),
                 {BoolProp<TskForm>("TitleBarCustom", &TskForm::GetTitleBarCustom, &TskForm::SetTitleBarCustom),
                  RefProp<TskForm, TskFileTheme>("FileTheme", &TskForm::GetFileTheme, &TskForm::SetFileTheme),
                  EnumProp<TskForm, TskUIStyle>("UIStyle", UIStyleNames(), &TskForm::GetUIStyle, &TskForm::SetUIStyle),
                  BoolProp<TskForm>("UIStyleAutoUpdateSub", &TskForm::GetUIStyleAutoUpdateSub, &TskForm::SetUIStyleAutoUpdateSub),
                  IntProp<TskForm>("BorderColor", &TskForm::GetBorderColor, &TskForm::SetBorderColor, &ColorIdents()),
                  IntProp<TskForm>("BorderWidth", &TskForm::GetFrameWidth, &TskForm::SetFrameWidth),
                  BoolProp<TskForm>("TitleBarVisible", &TskForm::GetTitleBarVisible, &TskForm::SetTitleBarVisible),
                  StrProp<TskForm>("Caption", &TskForm::GetCaption, &TskForm::SetCaption),
                  RefProp<TskForm, TWinControl>("FormPanel", &TskForm::GetFormPanel, &TskForm::SetFormPanel),
                  ObjProp<TskForm, TskTitleBarButtons>("TitleBarButtons", &TskForm::GetTitleBarButtons),
                  ObjProp<TskForm, TskTitleBarSections>("TitleBarSections", &TskForm::GetTitleBarSections),
                  BoolProp<TskForm>("TitleBarDrawAppIcon", &TskForm::GetTitleBarDrawAppIcon, &TskForm::SetTitleBarDrawAppIcon),
                  RefProp<TskForm, TMainMenu>("Menu", &TskForm::GetMenu, &TskForm::SetMenu),
                  IntProp<TskForm>("MenuBarColor", &TskForm::GetMenuBarColor, &TskForm::SetMenuBarColor, &ColorIdents()),
                  IntProp<TskForm>("MenuBarHeight", &TskForm::GetMenuBarHeight, &TskForm::SetMenuBarHeight),
                  IntProp<TskForm>("RoundCorner", &TskForm::GetRoundCorner, &TskForm::SetRoundCorner),
                  IntProp<TskForm>("RoundCornerBottom", &TskForm::GetRoundCornerBottom, &TskForm::SetRoundCornerBottom),
                  StrProp<TskForm>("Version", &TskForm::GetVersion, &TskForm::SetVersion),
                  EventProp("OnTitleBarCustomBtnsClick", &TskForm::OnTitleBarCustomBtnsClick),
                  EventProp("OnTitleBarHelpBtnClick", &TskForm::OnTitleBarHelpBtnClick)})

TskForm::TskForm(TComponent* owner) : TCustomPanel(owner) {
  FBevelOuter = bvNone;
  FTitleBar = new TskTitleBar(nullptr);
  FTitleBar->SetParent(this);
  FTitleBar->SetAlign(alTop);
  FTitleBar->OnCustomBtnsClick = [this](TObject*, int i) { if (OnTitleBarCustomBtnsClick) OnTitleBarCustomBtnsClick(this, i); };
  FTitleBar->OnHelpBtnClick = [this](TObject*, int i) { if (OnTitleBarHelpBtnClick) OnTitleBarHelpBtnClick(this, i); };
  FMenuBar = new TskMenuBar(nullptr);
  FMenuBar->SetParent(this);
  FMenuBar->SetAlign(alTop);
  FMenuBar->SetVisible(false);
  SetUIStyle(DeepBlue);
  if (auto* f = As<TCustomForm>(owner)) FTitleBar->SetCaption(f->GetCaption());
}

TskForm::~TskForm() {
  Detach();
  if (auto* sk = dynamic_cast<TskMainMenu*>(FMenuBar->Menu())) sk->OnChange = nullptr;
  delete FMenuBar;
  delete FTitleBar;
}

void TskForm::SetParent(TWinControl* parent) {
  TCustomPanel::SetParent(parent);
  if (!IsLoading()) Attach();
}

void TskForm::Loaded() {
  TCustomPanel::Loaded();
  Attach();
}

void TskForm::Attach() {
  auto* form = As<TCustomForm>(GetParent());
  if (FForm || !form || form != Owner()) return;
  for (TControl* c : form->ControlList())
    if (auto* other = As<TskForm>(c))
      if (other != this && other->Attached()) return;  // a second frame stays inert
  FForm = form;
  TFormBorderStyle bs = form->GetBorderStyle();
  if (bs == bsNone || bs == bsSingle || bs == bsToolWindow) form->SetBorderStyle(bsDialog);
  // The frame draws every border itself, and the layout's sizes are the frame's own.
  form->SetBorderWidth(0);
  form->SetScaled(false);
  SetAlign(alClient);
  FTitleBar->SetCaption(form->GetCaption());
  FPreviousWndProc = form->WindowProc;
  form->WindowProc = [this](TMessage& m) { FormWndProc(m); };
  FKeyHook = Application->HookMessages([this](MSG& msg) { return HandleKeyMessage(msg); });
  if (form->HandleAllocated()) {
    StripCaption();
    FrameChanged(form->Handle());
  }
}

void TskForm::Detach() {
  if (!FForm) return;
  Application->UnhookMessages(FKeyHook);
  FKeyHook = 0;
  FForm->WindowProc = FPreviousWndProc;
  FForm = nullptr;
}

bool TskForm::HandleKeyMessage(const MSG& msg) {
  bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (!FForm || !FForm->HandleAllocated() || (!keyDown && msg.message != WM_SYSCHAR)) return false;
  // Only the keys of this form while it is active (the focus window is one of its windows).
  if (!IsWindowEnabled(FForm->Handle()) || GetAncestor(msg.hwnd, GA_ROOT) != FForm->Handle()) return false;
  TMainMenu* menu = FMenuBar->Menu();
  if (msg.message == WM_SYSCHAR) {
    // Alt with a letter that no short cut took: the accelerators of the form's controls come first,
    // as they would before a menu bar of the system's.
    int index = menu ? FMenuBar->AcceleratorItem(char(msg.wParam)) : -1;
    if (index < 0) return false;
    if (FForm->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) == 0) FMenuBar->ClickItem(index);
    return true;
  }
  int sc = ShortCutOfKeyMessage(msg);
  if (sc == (scAlt | VK_SPACE)) {
    ShowWindowMenu();
    return true;
  }
  return menu && menu->IsShortCut(sc);
}

void TskForm::ShowWindowMenu() {
  POINT p = FTitleBar->ClientToScreen(POINT{0, FTitleBar->GetHeight()});
  FTitleBar->WindowMenu()->UpdateItems(FTitleBar);
  FTitleBar->WindowMenu()->Popup(p.x, p.y);
}

void TskForm::StripCaption() {
  HWND h = FForm->Handle();
  LONG style = GetWindowLongA(h, GWL_STYLE);
  if (!(style & WS_CAPTION) || (style & WS_CHILD)) return;
  // Keep the frame (a thin border) but not the caption strip.
  SetWindowLongA(h, GWL_STYLE, (style & ~WS_CAPTION) | WS_BORDER);
  FrameChanged(h);
}

void TskForm::FormWndProc(TMessage& m) {
  TCustomForm* form = FForm;
  switch (m.Msg) {
    case WM_CREATE:
    case WM_STYLECHANGED:
      FPreviousWndProc(m);
      if (FForm && (GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION) StripCaption();
      return;
    case WM_SHOWWINDOW:
      StripCaption();
      break;
    case SK_SIDEBORDERWIDTH:
      m.Result = SideBorderWidth();
      return;
    case WM_NCCALCSIZE: {
      FPreviousWndProc(m);
      // Room for the border pictures inside the frame: both sides and the bottom.
      RECT& client = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0];  // also the plain RECT form
      int side = SideBorderWidth();
      client.left += side;
      client.right = std::max(client.left, LONG(client.right - side));
      client.bottom = std::max(client.top, LONG(client.bottom - BottomBorderHeight()));
      return;
    }
    case WM_NCPAINT:
      if (!IsIconic(form->Handle())) {
        PaintFrame();
        m.Result = 0;
        return;
      }
      break;
    case WM_NCACTIVATE:
      FTitleBar->SetFormActive(m.WParam != 0);
      if (!IsIconic(form->Handle())) {
        PaintFrame();
        m.Result = TRUE;
        return;
      }
      break;
    case WM_GETMINMAXINFO: {
      FPreviousWndProc(m);
      auto* mm = reinterpret_cast<MINMAXINFO*>(m.LParam);
      mm->ptMinTrackSize.x = std::max<LONG>(mm->ptMinTrackSize.x, 125);
      mm->ptMinTrackSize.y = std::max<LONG>(mm->ptMinTrackSize.y, 50);
      // Maximized: the work area, 4 pixels wider on the left, top and right, one less at the bottom.
      RECT area;
      GetWorkArea(area);
      mm->ptMaxPosition = POINT{area.left - 4, area.top - 4};
      mm->ptMaxSize = POINT{area.right - area.left + 8, area.bottom - area.top + 3};
      mm->ptMaxTrackSize = POINT{std::max(mm->ptMaxTrackSize.x, mm->ptMaxSize.x), std::max(mm->ptMaxTrackSize.y, mm->ptMaxSize.y)};
      return;
    }
    case WM_SIZE:
      FPreviousWndProc(m);
      if (m.WParam == SIZE_MINIMIZED) return;
      UpdateRegion();
      FTitleBar->Invalidate();
      return;
    case WM_SETTEXT:
      FPreviousWndProc(m);
      FTitleBar->SetCaption(form->GetCaption());
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == ' ') {
        // Alt+Space: the title bar's window menu under the title bar.
        ShowWindowMenu();
        m.Result = 0;
        return;
      }
      break;
  }
  FPreviousWndProc(m);
}

void TskForm::Notification(TComponent* c, TOperation op) {
  TCustomPanel::Notification(c, op);
  if (op != opRemove) return;
  if (c == FFileTheme) SetFileTheme(nullptr);
  if (c == FFormPanel) FFormPanel = nullptr;
  if (c == FMenuBar->Menu()) FMenuBar->SetMenu(nullptr);
}

void TskForm::SetFileTheme(TskFileTheme* v) {
  FFileTheme = v;
  if (v) v->FreeNotification(this);
  SetUIStyle(FUIStyle);
}

void TskForm::SetUIStyle(TskUIStyle v) {
  FUIStyle = v;
  int side = SideBorderWidth(), bottom = BottomBorderHeight();
  LoadBorderPictures();
  bool frameChanged = side != SideBorderWidth() || bottom != BottomBorderHeight();
  FTitleBar->SetFileTheme(FFileTheme);
  FTitleBar->SetUIStyle(v);
  FBorderColor = StyleColor(FFileTheme, v, eFormBorderColor);
  FFrameWidth = std::max(0, StyleInt(FFileTheme, v, eFormBorderWidth));
  FRoundCorner = std::max(0, StyleInt(FFileTheme, v, eFormRoundCorner));
  SetColor(StyleColor(FFileTheme, v, eFormBackground));
  FMenuBar->BarColor = StyleColor(FFileTheme, v, eMenuBarColor);
  if (auto* menu = dynamic_cast<TskMenuLook*>(FMenuBar->Menu())) {
    menu->SetFileTheme(FFileTheme);
    menu->SetUIStyle(v);
  }
  if (FAutoUpdateSub && FForm) ApplyUIStyleToChildren(FForm, v, FFileTheme);
  UpdateRegion();
  if (FForm && FForm->HandleAllocated()) {
    if (frameChanged) FrameChanged(FForm->Handle());  // the client area follows the pictures' sizes
    RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

void TskForm::SetBorderColor(TColor v) {
  FBorderColor = v;
  if (FForm && FForm->HandleAllocated()) RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TskForm::SetFrameWidth(int v) {
  FFrameWidth = std::max(0, v);
  if (FForm && FForm->HandleAllocated()) RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

std::string TskForm::GetCaption() const { return FTitleBar->GetCaption(); }

void TskForm::SetCaption(const std::string& v) {
  FTitleBar->SetCaption(v);
  FTitleBar->Invalidate();
}

void TskForm::SetFormPanel(TWinControl* v) {
  if (v == this) {
    ShowMessage("Sorry, you can't select the Form assign to FormPanel property");
    return;
  }
  FFormPanel = v;
  if (v) v->FreeNotification(this);
}

void TskForm::SetMenu(TMainMenu* m) {
  if (auto* old = dynamic_cast<TskMainMenu*>(FMenuBar->Menu())) old->OnChange = nullptr;
  if (m) m->FreeNotification(this);
  FMenuBar->SetMenu(m);
  if (auto* sk = dynamic_cast<TskMainMenu*>(m)) {
    sk->OnChange = [this](TObject*) { FMenuBar->Invalidate(); };
    sk->SetFileTheme(FFileTheme);
    sk->SetUIStyle(FUIStyle);
  }
}

void TskForm::SetMenuBarColor(TColor v) {
  FMenuBar->BarColor = v;
  FMenuBar->Invalidate();
}

void TskForm::SetMenuBarHeight(int v) {
  FMenuBar->RowHeight = v;
  FMenuBar->SetHeight(v);
}

void TskForm::SetRoundCorner(int v) {
  FRoundCorner = std::max(0, v);
  UpdateRegion();
}

void TskForm::SetRoundCornerBottom(int v) {
  FRoundCornerBottom = std::max(0, v);
  UpdateRegion();
}
