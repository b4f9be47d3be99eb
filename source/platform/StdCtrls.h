// Standard controls: labels, push buttons, one-line edits (minimal; the family grows here).
#pragma once

#include "Controls.h"

class TCustomLabel : public TGraphicControl {
  ORV_CLASS(TCustomLabel)
public:
  explicit TCustomLabel(TComponent* owner);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool v);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* c);
  void Paint() override;
  void Notification(TComponent* c, TOperation op) override;

protected:
  bool CanAutoSize(int& w, int& h) override;
  UINT DrawFlags() const;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FTransparent = false;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  ORV_CLASS(TLabel)
public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

class TButtonControl : public TWinControl {
  ORV_CLASS(TButtonControl)
public:
  explicit TButtonControl(TComponent* owner) : TWinControl(owner) {}
};

// A push button: window class "TButton" built on "BUTTON".
class TButton : public TButtonControl {
  ORV_CLASS(TButton)
public:
  explicit TButton(TComponent* owner);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  bool Active() const { return FActive; }
  void Click() override;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void SetButtonStyle(bool isDefault);
  bool FDefault = false, FCancel = false, FActive = false;
  TModalResult FModalResult = mrNone;
};

// A one-line edit: window class "TEdit" built on "EDIT".
class TCustomEdit : public TWinControl {
  ORV_CLASS(TCustomEdit)
public:
  explicit TCustomEdit(TComponent* owner);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  void SelectAll();
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;
  virtual void Change();

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  bool FReadOnly = false;
  int FMaxLength = 0;
};

class TEdit : public TCustomEdit {
  ORV_CLASS(TEdit)
public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};
