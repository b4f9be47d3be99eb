#include "StdCtrls.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "Errors.h"
#include "Forms.h"
#include "Strings.h"

// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kAlignmentNames() { return {"taLeftJustify", "taRightJustify", "taCenter"}; }

// ---- labels ----

ORV_DEFINE_CLASS(TCustomLabel, TGraphicControl, nullptr,
                 {EnumProp<TCustomLabel, TAlignment>("Alignment", kAlignmentNames(), &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment),
                  RefProp<TCustomLabel, TWinControl>("FocusControl", &TCustomLabel::GetFocusControl, &TCustomLabel::SetFocusControl),
                  EnumProp<TCustomLabel, TTextLayout>("Layout", {"tlTop", "tlCenter", "tlBottom"}, &TCustomLabel::GetLayout, &TCustomLabel::SetLayout),
                  BoolProp<TCustomLabel>("ShowAccelChar", &TCustomLabel::GetShowAccelChar, &TCustomLabel::SetShowAccelChar),
                  BoolProp<TCustomLabel>("Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent),
                  BoolProp<TCustomLabel>("WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap)})
ORV_DEFINE_CLASS(TLabel, TCustomLabel, FactoryOf<TLabel>(), {})

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle |= csOpaque | csReplicatable;
  FWidth = 65;
  FHeight = 17;
  FAutoSize = true;
  FColor = clBtnFace;
  // A label shows on its parent's colour unless it is given one (a skinned panel changes its colour).
  FParentColor = true;
}

void TCustomLabel::SetAlignment(TAlignment v) {
  if (FAlignment == v) return;
  FAlignment = v;
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout v) {
  if (FLayout == v) return;
  FLayout = v;
  Invalidate();
}
void TCustomLabel::SetTransparent(bool v) {
  if (FTransparent == v) return;
  FTransparent = v;
  if (v)
    FControlStyle &= ~unsigned(csOpaque);
  else
    FControlStyle |= csOpaque;
  Invalidate();
}
void TCustomLabel::SetWordWrap(bool v) {
  if (FWordWrap == v) return;
  FWordWrap = v;
  AdjustSize();
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool v) {
  if (FShowAccelChar == v) return;
  FShowAccelChar = v;
  AdjustSize();
  Invalidate();
}
void TCustomLabel::SetFocusControl(TWinControl* c) {
  FFocusControl = c;
  if (c) FreeNotification(c);
}
void TCustomLabel::Notification(TComponent* c, TOperation op) {
  TGraphicControl::Notification(c, op);
  if (op == opRemove && c == FFocusControl) FFocusControl = nullptr;
}

UINT TCustomLabel::DrawFlags() const {
  static const UINT align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT f = DT_EXPANDTABS | align[FAlignment];
  if (FWordWrap)
    f |= DT_WORDBREAK;
  else
    f |= DT_SINGLELINE;
  if (!FShowAccelChar) f |= DT_NOPREFIX;
  return f;
}

bool TCustomLabel::CanAutoSize(int& w, int& h) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FFont->Handle());
  RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
  std::string t = GetCaption();
  if (t.empty()) t = " ";
  DrawTextA(dc, t.c_str(), int(t.size()), &r, DrawFlags() | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  if (!FWordWrap) w = r.right;
  h = r.bottom;
  return true;
}

void TCustomLabel::Paint() {
  RECT r = GetClientRect();
  if (!FTransparent) {
    Canvas()->Brush()->SetColor(FColor);
    Canvas()->FillRect(r);
  }
  Canvas()->Brush()->SetStyle(bsClear);
  std::string t = GetCaption();
  UINT flags = DrawFlags();
  if (FLayout != tlTop) {
    RECT calc = r;
    Canvas()->DrawText(t, calc, flags | DT_CALCRECT);
    int dy = (r.bottom - r.top) - (calc.bottom - calc.top);
    r.top += FLayout == tlCenter ? dy / 2 : dy;
  }
  if (!FEnabled) {
    OffsetRect(&r, 1, 1);
    Canvas()->Font()->SetColor(clBtnHighlight);
    Canvas()->DrawText(t, r, flags);
    OffsetRect(&r, -1, -1);
    Canvas()->Font()->SetColor(clBtnShadow);
  }
  Canvas()->DrawText(t, r, flags);
}

// ---- buttons ----

ORV_DEFINE_CLASS(TButtonControl, TWinControl, nullptr, {})
ORV_DEFINE_CLASS(TButton, TButtonControl, FactoryOf<TButton>(),
                 {BoolProp<TButton>("Cancel", &TButton::GetCancel, &TButton::SetCancel),
                  BoolProp<TButton>("Default", &TButton::GetDefault, &TButton::SetDefault),
                  IntProp<TButton>("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult, &ModalResultIdents())})

TButton::TButton(TComponent* owner)
    : TButtonControl(owner, {"BUTTON", 0, 0, 75, 25, true, clBtnFace, csSetCaption | csDoubleClicks}) {}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.Style |= (FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (isDefault == FActive) return;
  FActive = isDefault;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetDefault(bool v) {
  FDefault = v;
  if (HandleAllocated()) {
    TCustomForm* f = GetParentForm(this);
    if (f) f->Perform(CM_FOCUSCHANGED, 0, LPARAM(f->GetActiveControl()));
  } else {
    FActive = v;
  }
}

void TButton::Click() {
  // The form's modal result is set before OnClick runs, as the class library does.
  if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
  TButtonControl::Click();
}

bool PressOnDialogKey(TWinControl* button, TMessage& m, bool active, bool cancel) {
  bool pressed = ((m.WParam == VK_RETURN && active) || (m.WParam == VK_ESCAPE && cancel)) &&
                 (KeyDataToShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) == 0;
  if (!pressed || !button->CanFocus()) return false;
  button->Click();
  m.Result = 1;
  return true;
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY:
      if (PressOnDialogKey(this, m, FActive, FCancel)) return;
      break;
    case CM_FOCUSCHANGED: {
      auto* c = reinterpret_cast<TWinControl*>(m.LParam);
      SetButtonStyle(dynamic_cast<TButton*>(c) ? c == this : FDefault);
      return;
    }
    case WM_ERASEBKGND:
      DefaultHandler(m);
      return;
  }
  TButtonControl::WndProc(m);
}

// ---- edits ----

ORV_DEFINE_CLASS(TCustomEdit, TWinControl, nullptr,
                 {IntProp<TCustomEdit>("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength),
                  BoolProp<TCustomEdit>("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly),
                  StrProp<TCustomEdit>("Text", &TCustomEdit::GetText, &TCustomEdit::SetText),
                  EventProp("OnChange", &TCustomEdit::OnChange)})
ORV_DEFINE_CLASS(TEdit, TCustomEdit, FactoryOf<TEdit>(), {})

TCustomEdit::TCustomEdit(TComponent* owner)
    : TWinControl(owner, {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 121, 21, true, clWindow,
                          csClickEvents | csSetCaption | csDoubleClicks}) {}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (FReadOnly) p.Style |= ES_READONLY;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  if (FMaxLength > 0) SendMessageA(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
  SendMessageA(FHandle, EM_SETSEL, WPARAM(FSelStart), LPARAM(FSelStart + FSelLength));
}

void TCustomEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v) {
  FMaxLength = v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, WPARAM(v), 0);
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated())
    SendMessageA(FHandle, EM_SETSEL, 0, -1);
  else {
    FSelStart = 0;
    FSelLength = int(FText.size());
  }
}

void TCustomEdit::ClearSelection() { SetSelText(""); }

int TCustomEdit::GetSelStart() const {
  if (!HandleAllocated()) return FSelStart;
  DWORD start = 0, end = 0;
  SendMessageA(FHandle, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(start);
}

void TCustomEdit::SetSelStart(int v) {
  int n = int(GetText().size());
  v = std::max(0, std::min(v, n));
  FSelStart = v;
  FSelLength = 0;
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETSEL, WPARAM(v), LPARAM(v));
}

int TCustomEdit::GetSelLength() const {
  if (!HandleAllocated()) return FSelLength;
  DWORD start = 0, end = 0;
  SendMessageA(FHandle, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(end - start);
}

void TCustomEdit::SetSelLength(int v) {
  int start = GetSelStart(), n = int(GetText().size());
  v = std::max(0, std::min(v, n - start));
  FSelStart = start;
  FSelLength = v;
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETSEL, WPARAM(start), LPARAM(start + v));
}

std::string TCustomEdit::GetSelText() const {
  std::string t = GetText();
  int start = std::min(GetSelStart(), int(t.size()));
  return t.substr(size_t(start), size_t(std::max(0, std::min(GetSelLength(), int(t.size()) - start))));
}

void TCustomEdit::SetSelText(const std::string& v) {
  if (HandleAllocated()) {
    SendMessageA(FHandle, EM_REPLACESEL, FALSE, LPARAM(v.c_str()));  // EN_CHANGE runs OnChange
    return;
  }
  std::string t = FText;
  size_t start = size_t(std::min(FSelStart, int(t.size())));
  t.replace(start, size_t(std::max(0, std::min(FSelLength, int(t.size()) - int(start)))), v);
  FSelStart = int(start + v.size());
  FSelLength = 0;
  SetText(t);
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == EN_CHANGE && !IsLoading()) Change();
    return;
  }
  TWinControl::WndProc(m);
}

// ---- masked edit ----

// The mask is published by the masked edit itself, not by the edits built on the base.
ORV_DEFINE_CLASS(TCustomMaskEdit, TCustomEdit, nullptr, {})
ORV_DEFINE_CLASS(TMaskEdit, TCustomMaskEdit, FactoryOf<TMaskEdit>(),
                 {StrProp<TMaskEdit>("EditMask", &TMaskEdit::GetEditMask, &TMaskEdit::SetEditMask)})

int TCustomMaskEdit::InvalidPosition(const std::string& text) const {
  if (!IsMasked()) return -1;
  std::string mask = FEditMask.substr(0, FEditMask.find(';'));
  size_t pos = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    char m = mask[i];
    if (m == '>' || m == '<' || m == '!') continue;
    bool literal = m == '\\';
    if (literal) {
      if (++i >= mask.size()) break;
      m = mask[i];
    }
    char c = pos < text.size() ? text[pos] : ' ';
    unsigned char u = (unsigned char)c;
    bool blank = c == ' ';
    bool fits;
    if (literal) {
      fits = c == m;
    } else {
      switch (m) {
        case '0': fits = isdigit(u) != 0; break;
        case '9': fits = blank || isdigit(u); break;
        case 'L': fits = isalpha(u) != 0; break;
        case 'l': fits = blank || isalpha(u); break;
        case 'A': fits = isalnum(u) != 0; break;
        case 'a': fits = blank || isalnum(u); break;
        case 'C': fits = !blank; break;
        case 'c': fits = true; break;
        default: fits = c == m; break;
      }
    }
    if (!fits) return int(pos);
    ++pos;
  }
  return pos < text.size() ? int(pos) : -1;
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked()) return;
  int pos = InvalidPosition(GetText());
  if (pos < 0) return;
  SetSelStart(pos);
  ValidateError(pos);
}

void TCustomMaskEdit::ValidateError(int) {
  MessageBeep(0);
  throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::WndProc(TMessage& m) {
  // A masked text is checked before the edit lets the focus go; a failure keeps it here.
  if (m.Msg == CM_EXIT && IsMasked()) {
    try {
      ValidateEdit();
    } catch (...) {
      if (CanFocus()) SetFocus();
      throw;
    }
  }
  TCustomEdit::WndProc(m);
}

// ---- combo box ----

ORV_DEFINE_CLASS(TComboBox, TWinControl, FactoryOf<TComboBox>(),
                 {IntProp<TComboBox>("DropDownCount", &TComboBox::GetDropDownCount, &TComboBox::SetDropDownCount),
                  IntProp<TComboBox>("ItemIndex", &TComboBox::GetItemIndex, &TComboBox::SetItemIndex),
                  StringsProp<TComboBox>("Items", &TComboBox::GetItems, &TComboBox::SetItems),
                  EnumProp<TComboBox, TComboBoxStyle>("Style", {"csDropDown", "csSimple", "csDropDownList"},
                                                      &TComboBox::GetStyle, &TComboBox::SetStyle),
                  EventProp("OnChange", &TComboBox::OnChange)})

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner, {"COMBOBOX", WS_VSCROLL | CBS_AUTOHSCROLL, 0, 145, 21, true, clWindow,
                          csSetCaption | csDoubleClicks}) {}

void TComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style |= (FStyle == csDropDownList ? CBS_DROPDOWNLIST
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

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_SELCHANGE:
      case CBN_EDITCHANGE:
        FItemIndex = GetItemIndex();
        if (!IsLoading()) Change();
        break;
      case CBN_SETFOCUS:
        // An editable box's focus sits in its inner edit, which is not our window: tell the form here.
        if (TCustomForm* f = GetParentForm(this))
          if (!f->IsDestroying()) f->SetFocusedControl(this);
        break;
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

std::vector<std::string> TMemo::Lines() const { return SplitLines(GetText()); }

void TMemo::SaveToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw Exception("Cannot create file \"" + path + "\"");
  for (const std::string& line : Lines()) out << line << "\r\n";
  if (!out.flush()) throw Exception("Cannot write file \"" + path + "\"");
}

// ---- check box and radio button ----

static std::vector<std::string> kCheckAlignmentNames() { return {"taLeftJustify", "taRightJustify"}; }

ORV_DEFINE_CLASS(TCheckableButton, TButtonControl, nullptr,
                 {EnumProp<TCheckableButton, TAlignment>("Alignment", kCheckAlignmentNames(), &TCheckableButton::GetAlignment,
                                                         &TCheckableButton::SetAlignment),
                  BoolProp<TCheckableButton>("Checked", &TCheckableButton::GetChecked, &TCheckableButton::SetChecked)})

TCheckableButton::TCheckableButton(TComponent* owner, const TSystemControl& system) : TButtonControl(owner, system) {}

void TCheckableButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  if (FAlignment == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCheckableButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckableButton::SetAlignment(TAlignment v) {
  if (v == taCenter) v = taRightJustify;
  if (FAlignment == v) return;
  FAlignment = v;
  RecreateWnd();
}

bool TCheckableButton::StoreChecked(bool v) {
  if (FChecked == v) return false;
  FChecked = v;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  return true;
}

void TCheckableButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) UserClick();
      return;
    case WM_ERASEBKGND:
      DefaultHandler(m);
      return;
  }
  TButtonControl::WndProc(m);
}

ORV_DEFINE_CLASS(TCheckBox, TCheckableButton, FactoryOf<TCheckBox>(), {})

// Not an automatic check box: toggled here (UserClick).
TCheckBox::TCheckBox(TComponent* owner)
    : TCheckableButton(owner, {"BUTTON", BS_CHECKBOX, 0, 97, 17, true, clBtnFace, csSetCaption | csDoubleClicks}) {}

void TCheckBox::SetChecked(bool v) {
  if (StoreChecked(v) && !IsLoading()) Click();
}

ORV_DEFINE_CLASS(TRadioButton, TCheckableButton, FactoryOf<TRadioButton>(), {})

// Not an automatic radio button: the exclusion among siblings is ours, so it also holds for code.
TRadioButton::TRadioButton(TComponent* owner)
    : TCheckableButton(owner, {"BUTTON", BS_RADIOBUTTON, 0, 113, 17, false, clBtnFace, csSetCaption | csDoubleClicks}) {}

void TRadioButton::TurnSiblingsOff() {
  if (!FParent) return;
  for (TControl* c : FParent->ControlList())
    if (c != this)
      if (auto* r = As<TRadioButton>(c)) r->SetChecked(false);
}

void TRadioButton::SetChecked(bool v) {
  if (!StoreChecked(v)) return;
  // Only the checked button of a group is a tab stop, as in dialogs; the arrows move within the group.
  SetTabStop(v);
  if (v) {
    TurnSiblingsOff();
    if (!IsLoading()) Click();
  }
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == WM_SETFOCUS) {
    // Moving onto a radio button with the arrow keys selects it, as the dialog manager does; a mouse
    // press selects it on its click instead.
    TCheckableButton::WndProc(m);
    if (GetKeyState(VK_LBUTTON) >= 0 && (GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 ||
                                         GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0))
      SetChecked(true);
    return;
  }
  TCheckableButton::WndProc(m);
}

// ---- group box ----

ORV_DEFINE_CLASS(TCustomGroupBox, TWinControl, nullptr, {})
ORV_DEFINE_CLASS(TGroupBox, TCustomGroupBox, FactoryOf<TGroupBox>(), {})

TCustomGroupBox::TCustomGroupBox(TComponent* owner)
    : TWinControl(owner, {"BUTTON", BS_GROUPBOX, 0, 185, 105, false, clBtnFace, csSetCaption | csAcceptsControls}) {}

void TCustomGroupBox::AdjustClientRect(RECT& r) const {
  // The caption sits in the top line of the frame: aligned children start below it.
  r.top += FFont->CellHeight();
  InflateRect(&r, -1, -1);
}

void TCustomGroupBox::WndProc(TMessage& m) {
  // The button class paints the frame and caption only, and its window class erases nothing: with a
  // parent that clips its children (a tab sheet) the inside would keep whatever was on the screen.
  if (m.Msg == WM_ERASEBKGND) {
    RECT r = GetClientRect();
    ::FillRect(HDC(m.WParam), &r, Brush()->Handle());
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}
