#include "PushButtonBase.h"

#include <algorithm>

#include "OrvWindowsUtils.h"

TPushButtonBase::TPushButtonBase(TComponent* owner) : TCustomControl(owner) {
  // A fast second click arrives as an ordinary press; nothing is placed inside a button.
  FControlStyle &= ~unsigned(csAcceptsControls | csDoubleClicks);
  FText.clear();
  FAutoSize = false;
}

TPushButtonBase::~TPushButtonBase() { FreeRepeatTimer(); }

void TPushButtonBase::SetCaption(const std::string& v) {
  FCaption = v;
  if (GetText() != v) TCustomControl::SetText(v);
  CaptionChanged();
  Repaint();
}

void TPushButtonBase::SetDefault(bool v) {
  FDefault = v;
  if (!HandleAllocated()) return;
  // Every button of the form recomputes Active for the control that has the focus now.
  if (TCustomForm* f = GetParentForm(this)) f->Perform(CM_FOCUSCHANGED, 0, LPARAM(f->GetActiveControl()));
}

void TPushButtonBase::CreateWnd() {
  TCustomControl::CreateWnd();
  FActive = FDefault;
}

// ---- repeat timer ----

void TPushButtonBase::StartRepeatTimer() {
  FRepeatTimer = new TTimer(nullptr);
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(std::max(FRepeatInterval, 0));
  FRepeatTimer->OnTimer = [this](TObject*) {
    if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
  };
  FRepeatTimer->SetEnabled(true);
}

void TPushButtonBase::FreeRepeatTimer() {
  delete FRepeatTimer;
  FRepeatTimer = nullptr;
}

// ---- painting steps ----

void TPushButtonBase::PaintBackground(TCanvas* canvas) {
  if (FTransparent) {
    TWinControl* p = GetParent();
    DrawParentBackground(canvas, p && p->InheritsFrom("TTabSheet") ? static_cast<TControl*>(p) : this);
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
  }
}

void TPushButtonBase::PaintFocusRectAtMargin(TCanvas* canvas) {
  int m = FFocusedRectMargin;
  RECT r = GetClientRect();
  InflateRect(&r, -m, -m);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->DrawFocusRect(r);
}

// ---- mouse and keyboard ----

void TPushButtonBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    PressBegins();
    if (!FRepeatTimer) StartRepeatTimer();
    if (FTabStop && CanFocus() && GetEnabled() && GetVisible()) {
      try {
        SetFocus();
      } catch (...) {
        // The press goes on without the focus.
      }
    }
    Repaint();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TPushButtonBase::Click() {
  if (FPressed) {
    FreeRepeatTimer();
    FPressed = false;
    Repaint();
  }
  if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
  TCustomControl::Click();
}

// The capture went elsewhere without a release here (Alt+Tab or a menu while the button was held):
// no mouse-up will come, so the press ends now and the repeat ticks with it.
void TPushButtonBase::HandleCaptureLost() {
  if (!FPressed && !FRepeatTimer) return;
  FreeRepeatTimer();
  FPressed = false;
  FHovered = false;
  SetControlState(ControlState() & ~unsigned(csClicked));
  Repaint();
}

void TPushButtonBase::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // Paint covers every pixel
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      FInMouseUp = true;
      try {
        TCustomControl::WndProc(m);
      } catch (...) {
        FInMouseUp = false;
        throw;
      }
      FInMouseUp = false;
      return;
    case WM_CAPTURECHANGED:
      TCustomControl::WndProc(m);
      if (!FInMouseUp && HWND(m.LParam) != FHandle) HandleCaptureLost();
      return;
    case WM_KEYDOWN:
      TCustomControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && GetEnabled()) {
        PressBegins();
        Repaint();
      }
      return;
    case WM_KEYUP:
      TCustomControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && FPressed && GetEnabled()) {
        FPressed = false;
        Repaint();
        Click();
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(m);
      Repaint();
      return;
    case CM_DIALOGKEY: {
      bool key = (m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel);
      if (key && (KeyDataToShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      TCustomControl::WndProc(m);
      return;
    }
    case CM_DIALOGCHAR:
      TCustomControl::WndProc(m);
      if (IsAccelerator(char(m.WParam), FCaption) && GetEnabled()) {
        Click();
        m.Result = 1;
      } else {
        m.Result = 0;
      }
      return;
    case CM_TEXTCHANGED:
      if (GetText() != FCaption) SetCaption(GetText());
      return;
  }
  TCustomControl::WndProc(m);
}
