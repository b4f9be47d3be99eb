// More standard controls: the combo box, the multi-line memo, the check box and the group box. (Kept beside
// StdCtrls so that the family there can take them over unchanged.)
#pragma once

#include <string>
#include <vector>

#include "StdCtrls.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box: window class "TComboBox" built on "COMBOBOX". The entries live here; the window mirrors them.
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
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void DestroyWnd() override;
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

// A two-state check box: window class "TCheckBox" built on "BUTTON". The state lives here while
// there is no window; a click toggles it and runs OnClick.
class TCheckBox : public TButtonControl {
  ORV_CLASS(TCheckBox)
public:
  explicit TCheckBox(TComponent* owner);
  bool GetChecked() const;
  void SetChecked(bool v);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool FChecked = false;
};

// A framed, captioned box that holds other controls: window class "TGroupBox" built on "BUTTON".
class TGroupBox : public TWinControl {
  ORV_CLASS(TGroupBox)
public:
  explicit TGroupBox(TComponent* owner);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
};
