// Standard controls: labels, push buttons, one-line edits and memos, combo boxes, check boxes, radio
// buttons and group boxes. Each wraps one system class by superclassing it (window class named after the
// component class) and keeps its state here while it has no window.
//
// Event rules shared by the family: a state set from code runs the same event as a user's change, and
// only when the state really changes (check box and radio button OnClick); a combo box's ItemIndex set
// from code runs nothing (its OnChange is the user's pick). Nothing runs while a layout is being read.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"
#include "Errors.h"

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

protected:
  TButtonControl(TComponent* owner, const TSystemControl& system) : TWinControl(owner, system) {}
};

// A push button's answer to CM_DIALOGKEY: Enter presses the active default button, Escape the cancel
// button, either without Shift, Ctrl or Alt and only while the button can take the focus. A pressed
// button is clicked and the message marked handled; true then.
bool PressOnDialogKey(TWinControl* button, TMessage& m, bool active, bool cancel);

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
  void ClearSelection();  // deletes the selected text
  // The selection in characters from the start of the text; a length of 0 is the caret.
  int GetSelStart() const;
  void SetSelStart(int v);  // moves the caret there, selecting nothing
  int GetSelLength() const;
  void SetSelLength(int v);  // keeps the start
  std::string GetSelText() const;
  void SetSelText(const std::string& v);  // replaces the selection (runs OnChange when the text changes)
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;
  virtual void Change();

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  bool FReadOnly = false;
  int FMaxLength = 0;
  int FSelStart = 0, FSelLength = 0;  // kept while there is no window
};

class TEdit : public TCustomEdit {
  ORV_CLASS(TEdit)
public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// The error of a masked edit whose text does not fit its mask.
class EDBEditError : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const override { return "EDBEditError"; }
};

// A one-line edit with an optional edit mask: window class "TMaskEdit" built on "EDIT". Without a mask
// (EditMask empty) its text is the plain window text and nothing is checked. With one, leaving the edit
// checks the text against the mask's first section, position by position: "0" a digit, "9" a digit or
// blank, "L" a letter, "l" a letter or blank, "A" a letter or digit, "a" one or blank, "C" any
// character, "c" any or blank, a backslash makes the next character literal, ">", "<" and "!" are
// format marks that take no position, and every other character is a literal the text must repeat.
class TCustomMaskEdit : public TCustomEdit {
  ORV_CLASS(TCustomMaskEdit)
public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  std::string GetEditMask() const { return FEditMask; }
  void SetEditMask(const std::string& v) { FEditMask = v; }
  bool IsMasked() const { return !FEditMask.empty(); }
  // The first position of `text` that does not fit the mask; -1 when it fits (always without a mask).
  int InvalidPosition(const std::string& text) const;
  // A masked text that does not fit: the caret goes to the first wrong position and ValidateError runs.
  virtual void ValidateEdit();
  void WndProc(TMessage& m) override;

protected:
  // Beeps and raises EDBEditError; descendants may report the error their own way.
  virtual void ValidateError(int position);
  std::string FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
  ORV_CLASS(TMaskEdit)
public:
  explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box: window class "TComboBox" built on "COMBOBOX". The entries live here; the window mirrors them.
// ItemIndex set from code selects silently, and an index outside the entries selects nothing (-1).
// OnChange runs for the user's pick (CBN_SELCHANGE) and, in an editable box, for the user's typing.
class TComboBox : public TWinControl {
  ORV_CLASS(TComboBox)
public:
  explicit TComboBox(TComponent* owner);
  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle v);
  int GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int v) { FDropDownCount = v; }
  std::vector<std::string> GetItems() const { return FItems; }
  void SetItems(const std::vector<std::string>& items);
  int ItemCount() const { return int(FItems.size()); }
  void AddItem(const std::string& text);
  void ClearItems();
  int GetItemIndex() const;
  void SetItemIndex(int v);
  std::string GetText() const override;
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

protected:
  // Its window brings a drop-down list window of its own, a top-level window that is slow to make: a
  // hidden combo box (one of a stack of lists of which one shows) makes both when first shown.
  bool NeedsWindowWhileHidden() const override { return false; }
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  std::vector<std::string> FItems;
  int FItemIndex = -1;  // kept while there is no window
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit.
class TMemo : public TCustomEdit {
  ORV_CLASS(TMemo)
public:
  explicit TMemo(TComponent* owner);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  // The text with its lines split at CR LF, LF or CR.
  std::vector<std::string> Lines() const;
  // Writes the text as it stands (lines end in CR LF); raises when the file cannot be written.
  void SaveToFile(const std::string& path) const;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
};

// The check box and the radio button: a BUTTON with a box or circle beside its caption (the caption on
// the right, or on the left with taLeftJustify). The state lives here and the window mirrors it; the
// system class toggles nothing, so that the state and OnClick stay in step for code as for the user.
class TCheckableButton : public TButtonControl {
  ORV_CLASS(TCheckableButton)
public:
  bool GetChecked() const { return FChecked; }
  // Virtual, as the property table that the layout reader sets Checked through is this class's: a
  // radio button checked by its layout must still turn its siblings off.
  virtual void SetChecked(bool v) = 0;
  TAlignment GetAlignment() const { return FAlignment; }  // taCenter is taken as taRightJustify
  void SetAlignment(TAlignment v);
  void WndProc(TMessage& m) override;

protected:
  TCheckableButton(TComponent* owner, const TSystemControl& system);
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  // Stores the state and shows it in the window; false when the button had it already.
  bool StoreChecked(bool v);
  virtual void UserClick() = 0;  // BN_CLICKED
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// A two-state check box: window class "TCheckBox" built on "BUTTON". A user's click toggles it. Every
// change of Checked, from the user or from code, runs OnClick once; setting the state it already has
// runs nothing.
class TCheckBox : public TCheckableButton {
  ORV_CLASS(TCheckBox)
public:
  explicit TCheckBox(TComponent* owner);
  void SetChecked(bool v) override;

protected:
  void UserClick() override { SetChecked(!FChecked); }
};

// A radio button: window class "TRadioButton" built on "BUTTON". The radio buttons that share a parent
// exclude each other: checking one (click or code) unchecks the others. OnClick runs when the button
// becomes checked, from the user or from code; a button that is unchecked (by code or by a sibling)
// runs nothing, and clicking a checked button runs nothing. Only the checked button is a Tab stop.
class TRadioButton : public TCheckableButton {
  ORV_CLASS(TRadioButton)
public:
  explicit TRadioButton(TComponent* owner);
  void SetChecked(bool v) override;
  void WndProc(TMessage& m) override;

protected:
  void UserClick() override { SetChecked(true); }
  void TurnSiblingsOff();
};

// A framed, captioned box that holds other controls: window class "TGroupBox" built on "BUTTON".
class TCustomGroupBox : public TWinControl {
  ORV_CLASS(TCustomGroupBox)
public:
  explicit TCustomGroupBox(TComponent* owner);
  void WndProc(TMessage& m) override;

protected:
  void AdjustClientRect(RECT& r) const override;  // below the caption, inside the frame
};

class TGroupBox : public TCustomGroupBox {
  ORV_CLASS(TGroupBox)
public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};
