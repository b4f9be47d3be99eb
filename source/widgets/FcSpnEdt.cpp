#include "FcSpnEdt.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "Forms.h"
#include "Strings.h"

bool ParseSpinNumber(const std::string& text, double& value) {
  const std::string t = Trim(text);
  if (!IsPlainDecimalText(t)) return false;
  // The grammar leaves strtod nothing to guess; overflow gives an infinity that the range clamps.
  value = std::strtod(t.c_str(), nullptr);
  return true;
}

// ---- TFcSpinButtons ----

static const std::vector<std::string> kSpinDirectionNames = {"sdUpDown", "sdLeftRight"};

using SB = TFcSpinButtons;
ORV_DEFINE_CLASS(TFcSpinButtons, TWinControl, FactoryOf<TFcSpinButtons>(),
                 {IntProp<SB>("Delay", &SB::GetDelay, &SB::SetDelay),
                  IntProp<SB>("InitialDelay", &SB::GetInitialDelay, &SB::SetInitialDelay),
                  EnumProp<SB, TSpinDirection>("Direction", kSpinDirectionNames, &SB::GetDirection, &SB::SetDirection),
                  BoolProp<SB>("Flat", &SB::GetFlat, &SB::SetFlat),
                  RefProp<SB, TWinControl>("FocusControl", &SB::GetFocusControl, &SB::SetFocusControl),
                  ObjProp<SB, TBitmap>("GlyphUpRight", &SB::GetGlyphUpRight, &SB::SetGlyphUpRight),
                  ObjProp<SB, TBitmap>("GlyphDownLeft", &SB::GetGlyphDownLeft, &SB::SetGlyphDownLeft),
                  IntProp<SB>("NumGlyphsUpRight", &SB::GetNumGlyphsUpRight, &SB::SetNumGlyphsUpRight),
                  IntProp<SB>("NumGlyphsDownLeft", &SB::GetNumGlyphsDownLeft, &SB::SetNumGlyphsDownLeft),
                  EnumProp<SB, TOrientation>("Orientation", OrientationNames(), &SB::GetOrientation,
                                             &SB::SetOrientation),
                  EventProp("OnUpRightClick", &SB::OnUpRightClick),
                  EventProp("OnDownLeftClick", &SB::OnDownLeftClick)})

TFcSpinButtons::TFcSpinButtons(TComponent* owner) : TWinControl(owner) {
  FWidth = 16;
  FHeight = 25;
  FColor = clBtnFace;
  FControlStyle = csCaptureMouse | csDoubleClicks;
  for (TFcControlButton** slot : {&FUpButton, &FDownButton}) {
    auto* b = new TFcControlButton(this);
    b->SetParent(this);
    b->SetRepeatClicks(true);
    b->SetNumGlyphs(2);
    b->GetGlyph()->OnChange = [this, b](TObject*) { GlyphChanged(b); };
    b->PressFilter = [this, b] { return ButtonMouseDown(b); };
    b->OnClick = [this, b](TObject*) {
      TNotifyEvent& e = b == FUpButton ? OnUpRightClick : OnDownLeftClick;
      if (e) e(this);
    };
    *slot = b;
  }
  FUpButton->SetStyle(cbsUp);
  FDownButton->SetStyle(cbsDown);
  LayOutButtons(FWidth, FHeight);
}

bool TFcSpinButtons::ButtonMouseDown(TFcControlButton*) {
  auto tryFocus = [](TWinControl* c) {
    try {
      c->SetFocus();
    } catch (const EPropertyError&) {
      if (c->HandleAllocated()) ::SetFocus(c->Handle());
    }
    return c->Focused();
  };
  if (FFocusControl) {
    if (FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
      return tryFocus(FFocusControl);
  } else if (FTabStop && !Focused() && CanFocus()) {
    return tryFocus(this);
  }
  return true;
}

void TFcSpinButtons::GlyphChanged(TFcControlButton* b) {
  bool custom = !b->GetGlyph()->Empty();
  bool up = b == FUpButton;
  (up ? FCustomUp : FCustomDown) = custom;
  TFcControlButtonStyle arrow = up ? (FDirection == sdLeftRight ? cbsRight : cbsUp)
                                   : (FDirection == sdLeftRight ? cbsLeft : cbsDown);
  b->SetStyle(custom ? cbsNone : arrow);
  b->Invalidate();
}

void TFcSpinButtons::SetDirection(TSpinDirection v) {
  if (v == FDirection) return;
  FDirection = v;
  TBitmap none;
  FUpButton->SetGlyph(&none);  // back to arrows (the change handler picks the arrow style)
  FDownButton->SetGlyph(&none);
  GlyphChanged(FUpButton);
  GlyphChanged(FDownButton);
  Invalidate();
}

void TFcSpinButtons::SetOrientation(TOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  if (!IsLoading()) SetWidth(v == orVertical ? FWidth / 2 : FWidth * 2);
  LayOutButtons(FWidth, FHeight);
  Invalidate();
}

void TFcSpinButtons::SetFlat(bool v) {
  if (v == FFlat) return;
  FFlat = v;
  FUpButton->SetFlat(v);
  FDownButton->SetFlat(v);
}
void TFcSpinButtons::SetDelay(int v) {
  FUpButton->SetDelay(v);
  FDownButton->SetDelay(v);
}
void TFcSpinButtons::SetInitialDelay(int v) {
  FUpButton->SetInitialDelay(v);
  FDownButton->SetInitialDelay(v);
}
void TFcSpinButtons::SetEnabled(bool v) {
  if (v == FEnabled) return;
  TWinControl::SetEnabled(v);
  FUpButton->SetEnabled(v);
  FDownButton->SetEnabled(v);
}
void TFcSpinButtons::SetColor(TColor v) {
  TWinControl::SetColor(v);
  FUpButton->SetColor(v);
  FDownButton->SetColor(v);
}
void TFcSpinButtons::SetFocusControl(TWinControl* c) {
  FFocusControl = c;
  if (c) FreeNotification(c);
}
void TFcSpinButtons::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == FFocusControl) FFocusControl = nullptr;
}

void TFcSpinButtons::LayOutButtons(int w, int h) {
  if (IsLoading() || !FUpButton || !FDownButton) return;
  if (FOrientation == orVertical) {
    int half = h / 2;
    FUpButton->SetBounds(0, 0, w, half);
    FDownButton->SetBounds(0, half, w, h - half);
  } else {
    int half = w / 2;
    FUpButton->SetBounds(half, 0, w - half, h);
    FDownButton->SetBounds(0, 0, half, h);
  }
}

void TFcSpinButtons::SetBounds(int l, int t, int w, int h) {
  LayOutButtons(w, h);
  TWinControl::SetBounds(l, t, w, h);
}

void TFcSpinButtons::Loaded() {
  TWinControl::Loaded();
  LayOutButtons(FWidth, FHeight);
}

void TFcSpinButtons::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      TWinControl::WndProc(m);
      LayOutButtons(FWidth, FHeight);
      return;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS;
      return;
    case WM_KEYDOWN:
      if (m.WParam == VK_UP) FUpButton->Click();
      if (m.WParam == VK_DOWN) FDownButton->Click();
      break;
  }
  TWinControl::WndProc(m);
}

// ---- TFcSpinEdit ----

namespace {
template <class C>
TPropInfo NumberProp(const char* name, double (C::*get)() const, void (C::*set)(double)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkString;
  p.GetStr = [get](TObject* o) { return FloatToStr((static_cast<C*>(o)->*get)()); };
  p.SetStr = [set, name](TObject* o, const std::string& v) {
    double d;
    if (!ParseSpinNumber(v, d)) throw EPropertyError(std::string("A number is expected for ") + name);
    (static_cast<C*>(o)->*set)(d);
  };
  return p;
}

// Value reads the text, so its getter is not const.
TPropInfo ValueProp() {
  TPropInfo p;
  p.Name = "Value";
  p.Kind = pkString;
  p.GetStr = [](TObject* o) { return FloatToStr(static_cast<TFcSpinEdit*>(o)->GetValue()); };
  p.SetStr = [](TObject* o, const std::string& v) {
    double d;
    if (!ParseSpinNumber(v, d)) throw EPropertyError("A number is expected for Value");
    static_cast<TFcSpinEdit*>(o)->SetValue(d);
  };
  return p;
}

}  // namespace

using SE = TFcSpinEdit;
ORV_DEFINE_CLASS(
    TFcSpinEdit, TFcCustomEdit, FactoryOf<TFcSpinEdit>(),
    {BoolProp<SE>("AllowBlank", &SE::GetAllowBlank, &SE::SetAllowBlank),
     BoolProp<SE>("AllowKeyEdit", &SE::GetAllowKeyEdit, &SE::SetAllowKeyEdit),
     BoolProp<SE>("BeepOnInvalidKey", &SE::GetBeepOnInvalidKey, &SE::SetBeepOnInvalidKey),
     NumberProp<SE>("BlankValue", &SE::GetBlankValue, &SE::SetBlankValue),
     ObjProp<SE, TBitmap>("ButtonDownGlyph", &SE::GetButtonDownGlyph, &SE::SetButtonDownGlyph),
     IntProp<SE>("ButtonDownNumGlyphs", &SE::GetButtonDownNumGlyphs, &SE::SetButtonDownNumGlyphs),
     ObjProp<SE, TBitmap>("ButtonUpGlyph", &SE::GetButtonUpGlyph, &SE::SetButtonUpGlyph),
     IntProp<SE>("ButtonUpNumGlyphs", &SE::GetButtonUpNumGlyphs, &SE::SetButtonUpNumGlyphs),
     IntProp<SE>("ButtonWidth", &SE::GetButtonWidth, &SE::SetButtonWidth),
     BoolProp<SE>("CheckRange", &SE::GetCheckRange, &SE::SetCheckRange),
     IntProp<SE>("Decimals", &SE::GetDecimals, &SE::SetDecimals),
     EnumProp<SE, TSpinDirection>("Direction", kSpinDirectionNames, &SE::GetDirection, &SE::SetDirection),
     IntProp<SE>("FlatButtonColor", &SE::GetFlatButtonColor, &SE::SetFlatButtonColor, &ColorIdents()),
     BoolProp<SE>("FlatButtons", &SE::GetFlatButtons, &SE::SetFlatButtons),
     NumberProp<SE>("Increment", &SE::GetIncrement, &SE::SetIncrement),
     BoolProp<SE>("IntegersOnly", &SE::GetIntegersOnly, &SE::SetIntegersOnly),
     NumberProp<SE>("Max", &SE::GetMax, &SE::SetMax),
     NumberProp<SE>("Min", &SE::GetMin, &SE::SetMin),
     EnumProp<SE, TOrientation>("Orientation", OrientationNames(), &SE::GetOrientation, &SE::SetOrientation),
     NumberProp<SE>("PageSize", &SE::GetPageSize, &SE::SetPageSize),
     ValueProp(),
     TFcOldPropReader::Boolean("FlatButtonParentColor"),
     EventProp("OnChanging", &SE::OnChanging),
     EventProp("OnButtonClick", &SE::OnButtonClick)})

TFcSpinEdit::TFcSpinEdit(TComponent* owner) : TFcCustomEdit(owner) {
  FAlignment = taRightJustify;
  FWidth = 47;
  FButtons = new TFcSpinButtons(this);
  FButtons->SetParent(this);
  FButtons->SetBounds(0, 0, 17, 17);
  FButtons->SetFocusControl(this);
  FButtons->OnUpRightClick = [this](TObject*) { StepUp(FIncrement); };
  FButtons->OnDownLeftClick = [this](TObject*) { StepDown(FIncrement); };
  SetValue(0);
}

TFcControlButton* TFcSpinEdit::ButtonOf(TSpinButtonType kind) const {
  return kind == sbUp ? FButtons->UpRightButton() : FButtons->DownLeftButton();
}

void TFcSpinEdit::CreateParams(TCreateParams& p) {
  TFcCustomEdit::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TFcSpinEdit::CreateWnd() {
  TFcCustomEdit::CreateWnd();
  ApplyTextMargins();
}

void TFcSpinEdit::Loaded() {
  TFcCustomEdit::Loaded();
  PlaceButtons();
}

// ---- value ----

double TFcSpinEdit::ClampValue(double x) const {
  // A value beyond every number (from pasted "1e999") saturates at the range whatever CheckRange says.
  if (FMax != FMin || FCheckRange || !std::isfinite(x)) {
    if (x < FMin) return FMin;
    if (x > FMax) return FMax;
  }
  return x;
}

double TFcSpinEdit::GetValue() {
  std::string text = GetText();
  if (!text.empty()) {
    double v;
    return ParseSpinNumber(text, v) ? v : FMin;
  }
  if (FAllowBlank) return FBlankValue;
  SetText(FloatToStr(FMin));
  return FMin;
}

void TFcSpinEdit::SetValue(double v) {
  std::string text = FormatFixed(ClampValue(v), FDecimals);
  if (FParent && HandleAllocated() && GetSelLength() == 0) {
    int caret = GetSelStart();
    int oldLength = int(GetText().size());
    SetText(text);
    int grown = int(text.size()) - oldLength;
    caret += grown > 0 ? 1 : grown < 0 ? -1 : 0;
    caret = std::clamp(caret, 0, int(text.size()));
    SetSel(caret, 0);
    return;
  }
  SetText(text);
}

int TFcSpinEdit::GetIntValue() {
  double v = GetValue();
  if (std::isnan(v)) return int(std::lround(FMin));
  if (v >= double(INT_MAX)) return INT_MAX;
  if (v <= double(INT_MIN)) return INT_MIN;
  return int(RoundHalfEven(v));
}

void TFcSpinEdit::SetMin(double v) {
  if (v == FMin) return;
  FMin = v;
  if (FMin > FMax) FMax = FMin;
  SetValue(GetValue());
  Invalidate();
}

void TFcSpinEdit::SetMax(double v) {
  if (v == FMax) return;
  FMax = v;
  if (FMax < FMin) FMin = FMax;
  SetValue(GetValue());
  Invalidate();
}

void TFcSpinEdit::SetCheckRange(bool v) {
  if (v == FCheckRange) return;
  FCheckRange = v;
  SetValue(GetValue());
}

void TFcSpinEdit::SetDecimals(int v) {
  v = std::clamp(v, 0, 255);
  if (v == FDecimals) return;
  FDecimals = v;
  SetValue(GetValue());
}

void TFcSpinEdit::SetIntegersOnly(bool v) {
  if (v == FIntegersOnly) return;
  FIntegersOnly = v;
  if (v) {
    FDecimals = 0;
    SetValue(double(RoundHalfEven(ClampValue(GetValue()))));
  }
}

bool TFcSpinEdit::QueryChange(double newValue) {
  bool allow = true;
  if (OnChanging) OnChanging(this, newValue, allow);
  return allow;
}

void TFcSpinEdit::NotifyButtonClick(TSpinButtonType kind) {
  if (OnButtonClick) OnButtonClick(this, kind);
}

void TFcSpinEdit::StepUp(double amount) {
  if (EffectiveReadOnly()) {
    BeepIfAllowed();
    return;
  }
  double v = GetValue() + amount;
  if (!QueryChange(v)) return;
  SetValue(v);
  NotifyButtonClick(sbUp);
}

void TFcSpinEdit::StepDown(double amount) {
  if (EffectiveReadOnly()) {
    BeepIfAllowed();
    return;
  }
  double v = GetValue() - amount;
  if (!QueryChange(v)) return;
  SetValue(v);
  NotifyButtonClick(sbDown);
}

// ---- buttons and margins ----

void TFcSpinEdit::SetButtonWidth(int v) {
  v = std::max(v, 0);
  if (v == FButtonWidth) return;
  FButtonWidth = v;
  FButtons->SetWidth(GetOrientation() == orVertical ? v : 2 * v);
  PlaceButtons();
  Invalidate();
}

void TFcSpinEdit::SetOrientation(TOrientation v) {
  FButtons->SetOrientation(v);
  PlaceButtons();
  Invalidate();
}

void TFcSpinEdit::SetFlatButtons(bool v) {
  TFcCustomEdit::SetFlatButtons(v);
  FButtons->SetFlat(v);
  PlaceButtons();
}

void TFcSpinEdit::SetFrameStyle(TFrameStyleEx v) {
  TFcCustomEdit::SetFrameStyle(v);
  PlaceButtons();
}

void TFcSpinEdit::PlaceButtons() {
  if (IsLoading()) return;
  int line = FontLineHeight(FFont);
  if (line > FHeight) {
    SetHeight(line);  // the resize places the buttons again
    return;
  }
  int w = FButtons->GetWidth(), H = FHeight, W = FWidth;
  // The edit always has the sunken 3-D border here (the class library's Ctl3D).
  if (FcThemesEnabled())
    FButtons->SetBounds(W - w - 3, -1, w, H - 2);
  else
    FButtons->SetBounds(W - w - 4, 0, w, H - 4);
  ApplyTextMargins();
}

void TFcSpinEdit::ApplyTextMargins() {
  if (!HandleAllocated()) return;
  if (EffectiveReadOnly()) {
    SendMessageA(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 0));
    return;
  }
  if (IsLoading()) return;
  SendMessageA(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, FButtons->GetWidth() + 2));
}

RECT TFcSpinEdit::TextArea() {
  RECT r = GetClientRect();
  if (!EffectiveReadOnly()) r.right -= FButtons->GetWidth() + 2;
  return r;
}

void TFcSpinEdit::ReadOnlyStateChanged() {
  TFcCustomEdit::ReadOnlyStateChanged();
  FButtons->SetVisible(!EffectiveReadOnly());
  PlaceButtons();
}

void TFcSpinEdit::SetActiveState(bool viaMouse, bool active) {
  TFcCustomEdit::SetActiveState(viaMouse, active);
  if (!FFlatButtons) return;
  bool entered = Hot();
  if (FcThemesEnabled()) {
    FButtons->SetFlat(!entered);
    FButtons->SetColor(FColor);
  } else {
    FButtons->SetColor(entered ? FFlatButtonColor : FColor);
  }
}

// ---- keys, mouse, focus ----

bool TFcSpinEdit::AcceptsChar(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  const char sep = '.';  // the process-wide decimal separator, forced at start-up
  bool accepted;
  if ((c >= '0' && c <= '9') || c == '+' || c == '-' || (c == sep && !FIntegersOnly))
    accepted = true;
  else
    accepted = c < 32 && c != 13;
  std::string text = GetText();
  int selStart = GetSelStart(), selLength = GetSelLength();
  if (accepted && c == sep) {
    bool textHas = text.find(sep) != std::string::npos;
    std::string selected = selLength > 0 ? text.substr(size_t(selStart), size_t(selLength)) : std::string();
    accepted = selLength == 0 ? !textHas : (!textHas || selected.find(sep) != std::string::npos);
  }
  if (accepted && (c == '+' || c == '-')) {
    bool hasSign = text.find_first_of("+-") != std::string::npos;
    accepted = (selStart == 0 && !hasSign) || (selLength > 0 && selLength >= int(text.size()));
  }
  if (accepted && !FAllowKeyEdit && (c >= 32 || c == 8)) accepted = false;
  return accepted;
}

void TFcSpinEdit::KeyPress(char& key) {
  TFcCustomEdit::KeyPress(key);
  if (key == 0) return;
  if (!AcceptsChar(key)) {
    key = 0;
    BeepIfAllowed();
  }
}

void TFcSpinEdit::KeyDown(WORD& key, TShiftState shift) {
  TFcCustomEdit::KeyDown(key, shift);
  if (key == VK_DELETE && !FAllowKeyEdit) {
    key = 0;
    BeepIfAllowed();
    return;
  }
  switch (key) {
    case VK_UP: StepUp(FIncrement); break;
    case VK_DOWN: StepDown(FIncrement); break;
    case VK_PRIOR: StepUp(FPageSize); break;
    case VK_NEXT: StepDown(FPageSize); break;
    default: return;
  }
  key = 0;
}

void TFcSpinEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEWHEEL: {
      double step = (GET_KEYSTATE_WPARAM(m.WParam) & MK_CONTROL) ? FPageSize : FIncrement;
      if (GET_WHEEL_DELTA_WPARAM(m.WParam) > 0)
        StepUp(step);
      else if (GET_WHEEL_DELTA_WPARAM(m.WParam) < 0)
        StepDown(step);
      m.Result = 0;
      return;
    }
    case WM_PASTE:
    case WM_CUT:
      if (!FAllowKeyEdit || EffectiveReadOnly()) return;
      break;
    case WM_SIZE:
      TFcCustomEdit::WndProc(m);
      PlaceButtons();
      return;
    case CM_ENTER:
      TFcCustomEdit::WndProc(m);
      ApplyTextMargins();
      if (FAutoSelect && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
      return;
    case CM_EXIT: {
      TFcCustomEdit::WndProc(m);
      ApplyTextMargins();
      std::string text = GetText();
      if (FAllowBlank && text.empty()) return;
      double v;
      SetValue(ParseSpinNumber(text, v) ? v : FMin);
      return;
    }
    case CM_ENABLEDCHANGED:
      TFcCustomEdit::WndProc(m);
      ApplyTextMargins();
      FButtons->SetEnabled(FEnabled);
      if (FFlatButtons) FButtons->SetColor(FColor);
      return;
    case CM_FONTCHANGED:
      TFcCustomEdit::WndProc(m);
      if (HandleAllocated()) ApplyTextMargins();
      FButtons->SetEnabled(FEnabled);
      return;
    case CM_COLORCHANGED:
      TFcCustomEdit::WndProc(m);
      FButtons->SetColor(FColor);
      return;
  }
  TFcCustomEdit::WndProc(m);
}
