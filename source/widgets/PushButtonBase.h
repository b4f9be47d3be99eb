// TPushButtonBase: what the two owner-drawn push-button families (TOrvCustomButton of the main window
// and TskCustomButton of the skin-form pack) do alike: the caption mirrored into the window text,
// Default, Cancel and Active with the dialog keys and the accelerator, the form's modal result on a
// click, the pressed look for a left press and for Space and Enter, the repeat timer while the left
// button is held, an end to the press when the capture goes elsewhere, the background under a
// transparent button and the focus rectangle inset by FocusedRectMargin.
// Each family keeps its own rules for the pointer flag (enter, leave, move, release).
// It is not a class of the class library: both families name TCustomControl as their class parent.
#pragma once

#include "Controls.h"
#include "Forms.h"
#include "Timer.h"

class TPushButtonBase : public TCustomControl {
public:
  ~TPushButtonBase() override;

  std::string GetCaption() const { return FCaption; }
  // Store, write the same window text, CaptionChanged, repaint.
  void SetCaption(const std::string& v);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetTransparent() const { return FTransparent; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  int GetFocusedRectMargin() const { return FFocusedRectMargin; }
  bool Active() const { return FActive; }
  bool Pressed() const { return FPressed; }
  // Present from a left press until the press ends.
  TTimer* RepeatTimer() const { return FRepeatTimer; }

  // OnMouseEnter is the control's own (TControl::OnMouseEnter).
  TNotifyEvent OnMouseExit, OnMouseContinuouslyDown;

  // Ends a press (timer, pressed look), hands ModalResult to the parent form, then the inherited click.
  void Click() override;
  // A left press: PressBegins, the repeat timer, the focus when the button can take it, repaint.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void WndProc(TMessage& m) override;

  virtual void CaptionChanged() {}

protected:
  explicit TPushButtonBase(TComponent* owner);
  void CreateWnd() override;
  // The pressed look starts (left press, Space or Enter key down).
  virtual void PressBegins() { FPressed = true; }
  void StartRepeatTimer();
  void FreeRepeatTimer();
  bool Inside(int x, int y) const { return x >= 0 && x <= GetWidth() && y >= 0 && y <= GetHeight(); }
  // The parent's background under a transparent button (a tab sheet's own parent for a button on a
  // tab sheet), else the client rectangle filled with Color.
  void PaintBackground(TCanvas* canvas);
  // The dotted focus rectangle, FocusedRectMargin inside the client rectangle.
  void PaintFocusRectAtMargin(TCanvas* canvas);

  std::string FCaption;
  bool FCancel = false, FDefault = false, FTransparent = false;
  TModalResult FModalResult = mrNone;
  TTimer* FRepeatTimer = nullptr;
  int FRepeatInterval = 100;
  int FFocusedRectMargin = 2;
  bool FActive = false;
  // The pointer flag: Hovered of TOrvCustomButton, MouseInside of TskCustomButton.
  bool FHovered = false;
  bool FPressed = false;

private:
  void HandleCaptureLost();
  bool FInMouseUp = false;
};
