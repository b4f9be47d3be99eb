#include "StdCtrls.h"

#include "Forms.h"

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
  FParentColor = true;
  FColor = clBtnFace;
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

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  FWidth = 75;
  FHeight = 25;
  FTabStop = true;
  FColor = clBtnFace;
  FControlStyle = csSetCaption | csDoubleClicks;
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
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

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel)) &&
          (KeyDataToShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
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

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
  FControlStyle = csClickEvents | csSetCaption | csDoubleClicks;
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "EDIT");
  p.Style |= ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  if (FMaxLength > 0) SendMessageA(Handle(), EM_LIMITTEXT, WPARAM(FMaxLength), 0);
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
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, 0, -1);
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
