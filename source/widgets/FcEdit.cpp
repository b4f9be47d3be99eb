#include "FcEdit.h"

#include <functional>

using E = TFcCustomEdit;

// The input-method name of the layouts has no effect here.
static TPropInfo ImeNameProp() {
  TPropInfo p;
  p.Name = "ImeName";
  p.Kind = pkString;
  p.GetStr = [](TObject*) { return std::string(); };
  p.SetStr = [](TObject*, const std::string&) {};
  return p;
}

static const std::vector<std::string> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};

ORV_DEFINE_CLASS(
    TFcCustomEdit, TCustomEdit, nullptr,
    {EnumProp<E, TAlignment>("Alignment", kAlignmentNames, &E::GetAlignment, &E::SetAlignment),
     BoolProp<E>("AutoSelect", &E::GetAutoSelect, &E::SetAutoSelect),
     IntProp<E>("DisabledColor", &E::GetDisabledColor, &E::SetDisabledColor, &ColorIdents()),
     IntProp<E>("FocusColor", &E::GetFocusColor, &E::SetFocusColor, &ColorIdents()),
     IntProp<E>("ReadOnlyColor", &E::GetReadOnlyColor, &E::SetReadOnlyColor, &ColorIdents()),
     BoolProp<E>("ReadOnlyColorOnFocus", &E::GetReadOnlyColorOnFocus, &E::SetReadOnlyColorOnFocus),
     BoolProp<E>("FrameVisible", &E::GetFrameVisible, &E::SetFrameVisible),
     EnumProp<E, TFrameStyleEx>("FrameStyle", FrameStyleNames(), &E::GetFrameStyle, &E::SetFrameStyle),
     IntProp<E>("FrameColor", &E::GetFrameColor, &E::SetFrameColor, &ColorIdents()),
     BoolProp<E>("FrameHotTrack", &E::GetFrameHotTrack, &E::SetFrameHotTrack),
     EnumProp<E, TFrameStyleEx>("FrameHotStyle", FrameStyleNames(), &E::GetFrameHotStyle, &E::SetFrameHotStyle),
     IntProp<E>("FrameHotColor", &E::GetFrameHotColor, &E::SetFrameHotColor, &ColorIdents()),
     SetProp<E>("FrameSides", SideNames(), &E::GetFrameSides, &E::SetFrameSides),
     EnumProp<E, TFramingPreference>("FramingPreference", FramingPreferenceNames(), &E::GetFramingPreference,
                                     &E::SetFramingPreference),
     BoolProp<E>("TabOnEnter", &E::GetTabOnEnter, &E::SetTabOnEnter),
     BoolProp<E>("ReadOnly", &E::GetEdReadOnly, &E::SetEdReadOnly),
     FrameControllerProp<E>(), FrameControllerNotificationsProp<E>(), FcAboutProp(),
     ImeNameProp(), FrameFlatProp<E>(),
     EnumProp<E, TFrameStyleEx>("FrameFocusStyle", FrameStyleNames(), &E::GetFrameHotStyle, &E::SetFrameHotStyle),
     TFcOldPropReader::Identifier("FrameFlatStyle", FrameStyleNames())})
ORV_DEFINE_CLASS(TFcEdit, TFcCustomEdit, FactoryOf<TFcEdit>(), {})

namespace {
std::function<void()>& BeepHook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void TFcCustomEdit::SetBeepHook(std::function<void()> hook) { BeepHook() = std::move(hook); }

TFcCustomEdit::TFcCustomEdit(TComponent* owner) : TCustomEdit(owner) {
  FControlStyle |= csCaptureMouse;
  FControlStyle &= ~unsigned(csSetCaption);
}

TFcCustomEdit::~TFcCustomEdit() = default;

void TFcCustomEdit::Notification(TComponent* component, TOperation op) {
  TCustomEdit::Notification(component, op);
  if (op == opRemove) FFrameLink.Removed(component);
}

void TFcCustomEdit::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
  if (FAlignment == taRightJustify) p.Style |= ES_RIGHT;
  if (FAlignment == taCenter) p.Style |= ES_CENTER;
  p.Style &= ~DWORD(ES_MULTILINE);
}

void TFcCustomEdit::SetAlignment(TAlignment v) {
  if (v == FAlignment) return;
  FAlignment = v;
  if (HandleAllocated()) RecreateWnd();
}

void TFcCustomEdit::BeepIfAllowed() {
  if (!FBeepOnInvalidKey) return;
  if (BeepHook())
    BeepHook()();
  else
    MessageBeep(0);
}

int TFcCustomEdit::GetSelStart() {
  if (!HandleAllocated()) return 0;
  DWORD s = 0, e = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&s), LPARAM(&e));
  return int(s);
}
int TFcCustomEdit::GetSelLength() {
  if (!HandleAllocated()) return 0;
  DWORD s = 0, e = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&s), LPARAM(&e));
  return int(e - s);
}
void TFcCustomEdit::SetSel(int start, int length) {
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, WPARAM(start), LPARAM(start + length));
}

// ---- state colours ----

void TFcCustomEdit::ApplyStateColor() {
  if (IsLoading()) return;
  TColor c;
  if (!FEnabled)
    c = FDisabledColor;
  else if (FFocusActive)
    c = EffectiveReadOnly() && FReadOnlyColorOnFocus ? FReadOnlyColor : FFocusColor;
  else if (EffectiveReadOnly())
    c = FReadOnlyColor;
  else
    c = FIdleColor;
  FColorUpdating = true;
  try {
    SetColor(c);
  } catch (...) {
    FColorUpdating = false;
    throw;
  }
  FColorUpdating = false;
}

void TFcCustomEdit::SetDisabledColor(TColor v) {
  FDisabledColor = v;
  if (!FEnabled) ApplyStateColor();
}
void TFcCustomEdit::SetFocusColor(TColor v) {
  FFocusColor = v;
  if (FFocusActive) ApplyStateColor();
}
void TFcCustomEdit::SetReadOnlyColor(TColor v) {
  FReadOnlyColor = v;
  if (EffectiveReadOnly()) ApplyStateColor();
}

void TFcCustomEdit::SetEdReadOnly(bool v) {
  if (v == FReadOnly) return;
  SetReadOnly(v);
  ReadOnlyStateChanged();
}

void TFcCustomEdit::ReadOnlyStateChanged() {
  ApplyStateColor();
  InvalidateNonClientFrame();
}

void TFcCustomEdit::SetActiveState(bool viaMouse, bool active) {
  if (viaMouse)
    FMouseInside = active;
  else
    FFocusActive = active;
  if (FFrameHotTrack) InvalidateNonClientFrame();
  ApplyStateColor();
}

void TFcCustomEdit::Loaded() {
  TCustomEdit::Loaded();
  ApplyStateColor();
  SetActiveState(false, false);
}

// ---- frame ----

bool TFcCustomEdit::ThemedFrameInUse() const { return FFramingPreference == fpXPThemes && FcThemesEnabled(); }

void TFcCustomEdit::InvalidateNonClientFrame() {
  if (!HandleAllocated()) return;
  RECT r = GetClientRect();
  RedrawWindowFrame(Handle(), r);
}

RECT TFcCustomEdit::TextArea() { return GetClientRect(); }

void TFcCustomEdit::SetFrameVisible(bool v) {
  if (v == FFrameVisible) return;
  FFrameVisible = v;
  if (HandleAllocated()) RecreateWnd();
}
void TFcCustomEdit::SetFrameStyle(TFrameStyleEx v) {
  if (v == FFrameStyle) return;
  FFrameStyle = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameColor(TColor v) {
  if (v == FFrameColor) return;
  FFrameColor = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameHotStyle(TFrameStyleEx v) {
  if (v == FFrameHotStyle) return;
  FFrameHotStyle = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameHotColor(TColor v) {
  if (v == FFrameHotColor) return;
  FFrameHotColor = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameSides(unsigned v) {
  if (v == FFrameSides) return;
  FFrameSides = v;
  InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFrameHotTrack(bool v) {
  if (v == FFrameHotTrack) return;
  FFrameHotTrack = v;
  if (v) {
    SetFrameVisible(true);
    if (!IsLoading()) FFrameSides = AllSides;
  }
  InvalidateNonClientFrame();
  Invalidate();
}
void TFcCustomEdit::SetFramingPreference(TFramingPreference v) {
  if (v == FFramingPreference) return;
  FFramingPreference = v;
  if (v == fpCustomFraming) InvalidateNonClientFrame();
}
void TFcCustomEdit::SetFlatButtons(bool v) {
  FFlatButtons = v;
  InvalidateNonClientFrame();
}

void TFcCustomEdit::PaintNonClient() {
  if (!FFrameVisible || ThemedFrameInUse() || !HandleAllocated()) return;
  HDC dc = GetWindowDC(Handle());
  TCanvas canvas;
  canvas.SetHandle(dc);
  try {
    bool hot = FFrameHotTrack && Hot();
    PaintEditFrame(&canvas, FWidth, FHeight, hot ? FFrameHotStyle : FFrameStyle, FColor,
                   hot ? FFrameHotColor : FFrameColor, FFrameSides, false);
  } catch (...) {
    canvas.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
    throw;
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(Handle(), dc);
}

// ---- messages ----

void TFcCustomEdit::KeyPress(char& key) {
  if (FTabOnEnter && key == '\r') {
    key = 0;
    PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  TCustomEdit::KeyPress(key);
}

void TFcCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_COLORCHANGED:
    case CM_PARENTCOLORCHANGED: {
      if (m.Msg == CM_PARENTCOLORCHANGED) {
        TCustomEdit::WndProc(m);  // adopts the parent's colour when ParentColor is on
        return;
      }
      if (!FColorUpdating) {
        if (FFocusColor == FIdleColor) FFocusColor = FColor;
        FIdleColor = FColor;
      }
      TCustomEdit::WndProc(m);
      if (FFrameVisible && !ThemedFrameInUse()) InvalidateNonClientFrame();
      return;
    }
    case CM_ENABLEDCHANGED:
      TCustomEdit::WndProc(m);
      ApplyStateColor();
      if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      return;
    case CM_ENTER:
      SetActiveState(false, true);
      TCustomEdit::WndProc(m);
      return;
    case CM_EXIT:
      TCustomEdit::WndProc(m);
      SetActiveState(false, false);
      return;
    case CM_MOUSEENTER:
      TCustomEdit::WndProc(m);
      SetActiveState(true, true);
      return;
    case CM_MOUSELEAVE:
      TCustomEdit::WndProc(m);
      SetActiveState(true, false);
      return;
    case CM_TEXTCHANGED:
      // Without a window the system sends no change notice; the text changed all the same.
      TCustomEdit::WndProc(m);
      if (!HandleAllocated() && !IsLoading()) Change();
      return;
    case WM_NCPAINT:
      TCustomEdit::WndProc(m);
      PaintNonClient();
      if (FFrameVisible && !ThemedFrameInUse()) m.Result = 0;
      return;
    case WM_SIZE:
      TCustomEdit::WndProc(m);
      if (FFrameVisible && !ThemedFrameInUse()) InvalidateNonClientFrame();
      return;
  }
  TCustomEdit::WndProc(m);
}
