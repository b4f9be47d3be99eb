#include "StdCtrlsExtra.h"

#include <fstream>

#include "Errors.h"

// ---- combo box ----

ORV_DEFINE_CLASS(TComboBox, TWinControl, FactoryOf<TComboBox>(),
                 {IntProp<TComboBox>("DropDownCount", &TComboBox::GetDropDownCount, &TComboBox::SetDropDownCount),
                  IntProp<TComboBox>("ItemIndex", &TComboBox::GetItemIndex, &TComboBox::SetItemIndex),
                  StringsProp<TComboBox>("Items", &TComboBox::GetItems, &TComboBox::SetItems),
                  EnumProp<TComboBox, TComboBoxStyle>("Style", {"csDropDown", "csSimple", "csDropDownList"},
                                                      &TComboBox::GetStyle, &TComboBox::SetStyle),
                  EventProp("OnChange", &TComboBox::OnChange)})

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 145;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
  FControlStyle = csSetCaption | csDoubleClicks;
}

void TComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "COMBOBOX");
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | (FStyle == csDropDownList ? CBS_DROPDOWNLIST
                                             : FStyle == csSimple     ? CBS_SIMPLE
                                                                      : CBS_DROPDOWN);
  // The drop-down list's height comes from the window's height at creation.
  p.Height = FHeight + 18 * FDropDownCount;
}

void TComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  for (const std::string& s : FItems) SendMessageA(FHandle, CB_ADDSTRING, 0, LPARAM(s.c_str()));
  SendMessageA(FHandle, CB_SETCURSEL, WPARAM(FItemIndex), 0);
}

void TComboBox::DestroyWnd() {
  FItemIndex = GetItemIndex();
  TWinControl::DestroyWnd();
}

void TComboBox::SetStyle(TComboBoxStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  if (HandleAllocated()) RecreateWnd();
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  ClearItems();
  for (const std::string& s : items) AddItem(s);
}

void TComboBox::AddItem(const std::string& text) {
  FItems.push_back(text);
  if (HandleAllocated()) SendMessageA(FHandle, CB_ADDSTRING, 0, LPARAM(text.c_str()));
}

void TComboBox::ClearItems() {
  FItems.clear();
  FItemIndex = -1;
  if (HandleAllocated()) SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
}

int TComboBox::GetItemIndex() const {
  if (!HandleAllocated()) return FItemIndex;
  return int(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int v) {
  if (v < -1 || v >= ItemCount()) v = -1;
  FItemIndex = v;
  if (HandleAllocated()) SendMessageA(FHandle, CB_SETCURSEL, WPARAM(v), 0);
}

std::string TComboBox::GetText() const {
  if (FStyle == csDropDownList) {
    int i = GetItemIndex();
    return i >= 0 && i < ItemCount() ? FItems[size_t(i)] : "";
  }
  return TWinControl::GetText();
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    WORD code = HIWORD(m.WParam);
    if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && !IsLoading()) {
      FItemIndex = GetItemIndex();
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- memo ----

ORV_DEFINE_CLASS(TMemo, TCustomEdit, FactoryOf<TMemo>(),
                 {EnumProp<TMemo, TScrollStyle>("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
                                                &TMemo::GetScrollBars, &TMemo::SetScrollBars),
                  BoolProp<TMemo>("WordWrap", &TMemo::GetWordWrap, &TMemo::SetWordWrap)})

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
  FWidth = 185;
  FHeight = 89;
}

void TMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~DWORD(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!FWordWrap || FScrollBars == ssHorizontal || FScrollBars == ssBoth) p.Style |= ES_AUTOHSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) p.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) p.Style |= WS_VSCROLL;
}

void TMemo::CreateWnd() {
  TCustomEdit::CreateWnd();
  // A memo holds reports far longer than the edit control's default limit.
  SendMessageA(FHandle, EM_LIMITTEXT, 0, 0);
}

void TMemo::SetScrollBars(TScrollStyle v) {
  if (FScrollBars == v) return;
  FScrollBars = v;
  if (HandleAllocated()) RecreateWnd();
}

void TMemo::SetWordWrap(bool v) {
  if (FWordWrap == v) return;
  FWordWrap = v;
  if (HandleAllocated()) RecreateWnd();
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  std::string text = GetText(), line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void TMemo::SaveToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw Exception("Cannot create file \"" + path + "\"");
  for (const std::string& line : Lines()) out << line << "\r\n";
  if (!out.flush()) throw Exception("Cannot write file \"" + path + "\"");
}

// ---- check box ----

ORV_DEFINE_CLASS(TCheckBox, TButtonControl, FactoryOf<TCheckBox>(),
                 {BoolProp<TCheckBox>("Checked", &TCheckBox::GetChecked, &TCheckBox::SetChecked)})

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  FWidth = 97;
  FHeight = 17;
  FTabStop = true;
  FColor = clBtnFace;
  FControlStyle = csSetCaption | csDoubleClicks;
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= BS_CHECKBOX;  // toggled here, so that the state and OnClick stay in step
}

void TCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::DestroyWnd() {
  FChecked = GetChecked();
  TButtonControl::DestroyWnd();
}

bool TCheckBox::GetChecked() const {
  if (HandleAllocated()) return SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return FChecked;
}

void TCheckBox::SetChecked(bool v) {
  FChecked = v;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) {
        SetChecked(!GetChecked());
        Click();
      }
      return;
    case WM_ERASEBKGND:
      DefaultHandler(m);
      return;
  }
  TButtonControl::WndProc(m);
}

// ---- group box ----

ORV_DEFINE_CLASS(TGroupBox, TWinControl, FactoryOf<TGroupBox>(), {})

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 105;
  FColor = clBtnFace;
  FControlStyle = csSetCaption | csAcceptsControls;
}

void TGroupBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= BS_GROUPBOX;
}

void TGroupBox::WndProc(TMessage& m) {
  // The button class paints the frame only; its inside is the parent's face colour.
  if (m.Msg == WM_ERASEBKGND) {
    DefaultHandler(m);
    return;
  }
  TWinControl::WndProc(m);
}
