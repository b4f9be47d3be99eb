#include "FcRadChk.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "FcGrafx.h"
#include "FcRadioGlyph.h"
#include "OrvWindowsUtils.h"  // IsAccelerator
#include "Forms.h"
#include "Strings.h"

// ---- actions ----

TFcLinkedAction::~TFcLinkedAction() {
  auto links = FLinks;
  for (auto* l : links) l->Detach();
}

void TFcLinkedAction::AddLink(TFcCheckedActionLink* link) { FLinks.push_back(link); }
void TFcLinkedAction::RemoveLink(TFcCheckedActionLink* link) {
  FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), link), FLinks.end());
}
void TFcLinkedAction::NotifyCheckedChanging(bool value) {
  auto links = FLinks;
  for (auto* l : links) l->ActionCheckedChanged(value);
}
void TFcLinkedAction::NotifyChanged() {
  auto links = FLinks;
  for (auto* l : links) l->Client()->ActionChange(this, false);
}

TFcCheckedActionLink::TFcCheckedActionLink(TFcCustomGlyphButton* client, TFcLinkedAction* action)
    : FClient(client), FAction(action) {
  if (FAction) FAction->AddLink(this);
}
TFcCheckedActionLink::~TFcCheckedActionLink() {
  if (FAction) FAction->RemoveLink(this);
}

bool TFcCheckedActionLink::IsCheckedLinked() const {
  return FAction && FClient->GetChecked() == FAction->ActionChecked();
}

void TFcCheckedActionLink::ActionCheckedChanged(bool value) {
  if (!IsCheckedLinked()) return;
  FClient->FSuppressClick = true;
  try {
    FClient->SetChecked(value);
  } catch (...) {
    FClient->FSuppressClick = false;
    throw;
  }
  FClient->FSuppressClick = false;
}

// ---- TFcCustomGlyphButton ----

static const std::vector<std::string> kLeftRightNames = {"taLeftJustify", "taRightJustify"};
static const std::vector<std::string> kHotTrackStyleNames = {"htsInterior", "htsFrame"};

using G = TFcCustomGlyphButton;
ORV_DEFINE_CLASS(
    TFcCustomGlyphButton, TFcCustomButton, nullptr,
    {EnumProp<G, TAlignment>("Alignment", kLeftRightNames, &G::GetAlignment, &G::SetAlignment),
     ObjProp<G, TBitmap>("CustomGlyphs", &G::GetCustomGlyphs, &G::SetCustomGlyphs),
     IntProp<G>("DisabledColor", &G::GetDisabledColor, &G::SetDisabledColor, &ColorIdents()),
     IntProp<G>("FillColor", &G::GetFillColor, &G::SetFillColor, &ColorIdents()),
     IntProp<G>("FocusColor", &G::GetFocusColor, &G::SetFocusColor, &ColorIdents()),
     IntProp<G>("FrameColor", &G::GetFrameColor, &G::SetFrameColor, &ColorIdents()),
     EnumProp<G, TFcButtonHotTrackStyle>("HotTrackStyle", kHotTrackStyleNames, &G::GetHotTrackStyle,
                                         &G::SetHotTrackStyle),
     BoolProp<G>("ReadOnly", &G::GetReadOnly, &G::SetReadOnly),
     IntProp<G>("ReadOnlyColor", &G::GetReadOnlyColor, &G::SetReadOnlyColor, &ColorIdents()),
     BoolProp<G>("ReadOnlyColorOnFocus", &G::GetReadOnlyColorOnFocus, &G::SetReadOnlyColorOnFocus),
     BoolProp<G>("TabOnEnter", &G::GetTabOnEnter, &G::SetTabOnEnter),
     IntProp<G>("TransparentColor", &G::GetTransparentColor, &G::SetTransparentColor, &ColorIdents()),
     BoolProp<G>("UseCustomGlyphs", &G::GetUseCustomGlyphs, &G::SetUseCustomGlyphs),
     IntProp<G>("WinMaskColor", &G::GetWinMaskColor, &G::SetWinMaskColor, &ColorIdents()),
     FrameControllerProp<G>(), FrameControllerNotificationsProp<G>()})

TFcCustomGlyphButton::TFcCustomGlyphButton(TComponent* owner)
    : TFcCustomButton(owner), FCustomGlyphs(new TBitmap), FBackgroundCache(new TBitmap) {
  FCustomGlyphs->OnChange = [this](TObject*) {
    FUseCustomGlyphs = !FCustomGlyphs->Empty();
    UpdateGlyphSize();
    FBackgroundStale = true;
    Invalidate();
  };
}

void TFcCustomGlyphButton::UpdateFrame(TFcFrameController* controller) {
  if (!controller || !controller->GetFrameVisible()) return;
  SetHotTrack(true);
  const TFcFrameControllerLink& link = FFrameLink;
  if (link.Takes(fcpColor)) FFillColor = controller->GetColor();
  if (link.Takes(fcpFrameColor)) FFrameColor = controller->GetFrameColor();
  if (link.Takes(fcpFocusColor)) FFocusColor = controller->GetFocusColor();
  if (link.Takes(fcpDisabledColor)) FDisabledColor = controller->GetDisabledColor();
  if (link.Takes(fcpReadOnlyColor)) FReadOnlyColor = controller->GetReadOnlyColor();
  if (link.Takes(fcpReadOnlyColorOnFocus)) FReadOnlyColorOnFocus = controller->GetReadOnlyColorOnFocus();
  if (link.Takes(fcpFrameHotTrack)) FHotTrackStyle = controller->GetFrameHotTrack() ? htsFrame : htsInterior;
  if (link.Takes(fcpFrameHotColor) && FHotTrackStyle == htsFrame) SetHotTrackColor(controller->GetFrameHotColor());
  Invalidate();
}

void TFcCustomGlyphButton::Notification(TComponent* component, TOperation op) {
  TFcCustomButton::Notification(component, op);
  if (op == opRemove) FFrameLink.Removed(component);
}

TFcCustomGlyphButton::~TFcCustomGlyphButton() {
  delete FActionLink;
  FActionLink = nullptr;
  DestroyHandle();
  delete FCustomGlyphs;
  delete FBackgroundCache;
}

void TFcCustomGlyphButton::UpdateGlyphSize() {
  if (FUseCustomGlyphs && !FCustomGlyphs->Empty()) {
    FGlyphWidth = FCustomGlyphs->GetWidth() / FGlyphStateCount;
    FGlyphHeight = FCustomGlyphs->GetHeight();
  } else {
    FGlyphWidth = FGlyphHeight = 13;
  }
}

void TFcCustomGlyphButton::SetAlignment(TAlignment v) { StoreAndInvalidate(FAlignment, v); }
void TFcCustomGlyphButton::SetCustomGlyphs(TBitmap* v) { FCustomGlyphs->Assign(v); }

void TFcCustomGlyphButton::SetUseCustomGlyphs(bool v) {
  if (FUseCustomGlyphs == v) return;
  FUseCustomGlyphs = v;
  UpdateGlyphSize();
  Invalidate();
}

void TFcCustomGlyphButton::SetReadOnly(bool v) { StoreAndInvalidate(FReadOnly, v); }

void TFcCustomGlyphButton::SetTransparent(bool v) {
  FBackgroundStale = true;
  TFcCustomButton::SetTransparent(v);
}

bool TFcCustomGlyphButton::GlyphOnLeft() const {
  return FRightToLeft ? FAlignment == taLeftJustify : FAlignment == taRightJustify;
}

RECT TFcCustomGlyphButton::GlyphRect() const {
  int x = GlyphOnLeft() ? 0 : FWidth - FGlyphWidth;
  int y = FAlignmentVertical == avTop      ? 2
          : FAlignmentVertical == avCenter ? (FHeight - FGlyphHeight) / 2
                                           : FHeight - FGlyphHeight - 2;
  return RECT{x, y, x + FGlyphWidth, y + FGlyphHeight};
}

void TFcCustomGlyphButton::SetAction(TFcLinkedAction* action) {
  delete FActionLink;
  FActionLink = nullptr;
  if (!action) return;
  FActionLink = new TFcCheckedActionLink(this, action);
  ActionChange(action, IsLoading());
}

void TFcCustomGlyphButton::ActionChange(TFcLinkedAction* action, bool checkDefaults) {
  if (!checkDefaults || GetCaption().empty()) SetCaption(action->ActionCaption());
  if (!checkDefaults || FEnabled) SetEnabled(action->ActionEnabled());
  if (action->IsCustomAction() && (!checkDefaults || !GetChecked())) {
    // Taking over the action's state must not execute the action again.
    bool old = FSuppressClick;
    FSuppressClick = true;
    try {
      SetChecked(action->ActionChecked());
    } catch (...) {
      FSuppressClick = old;
      throw;
    }
    FSuppressClick = old;
  }
}

void TFcCustomGlyphButton::Click() {
  if (FActionLink && FActionLink->Action())
    FActionLink->Action()->ActionExecute();
  else
    TFcCustomButton::Click();
}

void TFcCustomGlyphButton::EraseTransparentBackground(HDC dc) {
  if (FTransparent) PaintParentImage(this, dc, true);
}

void TFcCustomGlyphButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  FMousePressActive = true;
  TFcCustomButton::MouseDown(button, shift, x, y);
}

void TFcCustomGlyphButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TFcCustomButton::MouseUp(button, shift, x, y);
  FMousePressActive = false;
}

void TFcCustomGlyphButton::ExtractCustomGlyph(int index, TBitmap* bitmap, TBitmap* strip, int width, int height) {
  bitmap->SetSize(width, height);
  BitBlt(bitmap->Canvas()->GetHandle(), 0, 0, width, height, strip->Canvas()->GetHandle(), index * width, 0,
         SRCCOPY);
}

namespace {
// A copy of `src` with every `key` pixel replaced by `fill`.
void CopyReplacing(TBitmap* dst, TBitmap* src, TColor key, TColor fill) {
  int w = src->GetWidth(), h = src->GetHeight();
  FillSolidRect(dst->Canvas()->GetHandle(), RECT{0, 0, w, h}, fill);
  DrawMaskedBitmap(dst->Canvas(), src, RECT{0, 0, w, h}, RECT{0, 0, w, h}, key);
}

TBitmap* NewGlyphBitmap(int w, int h) {
  auto* b = new TBitmap;
  b->SetSize(w, h, pf24bit);
  return b;
}
}  // namespace

void TFcCustomGlyphButton::DrawGlyph(TCanvas* canvas) {
  const int w = FGlyphWidth, h = FGlyphHeight;
  if (w <= 0 || h <= 0) return;
  RECT g = GlyphRect();
  std::unique_ptr<TBitmap> image(NewGlyphBitmap(w, h)), composite(NewGlyphBitmap(w, h)), result(NewGlyphBitmap(w, h));
  HDC cdc = canvas->GetHandle();
  bool themes = FcThemesEnabled();
  if (FTransparent) {
    if (themes) {
      BitBlt(image->Canvas()->GetHandle(), 0, 0, w, h, cdc, g.left, g.top, SRCCOPY);
      DrawGlyphImage(image.get());
      composite->Assign(image.get());
    } else {
      BitBlt(composite->Canvas()->GetHandle(), 0, 0, w, h, cdc, g.left, g.top, SRCCOPY);
      DrawGlyphImage(image.get());
      DrawMaskedBitmap(composite->Canvas(), image.get(), RECT{0, 0, w, h}, RECT{0, 0, w, h}, FTransparentColor);
    }
  } else {
    DrawGlyphImage(image.get());
    CopyReplacing(composite.get(), image.get(), FTransparentColor, FColor);
  }
  if (FUseCustomGlyphs || FTransparent) {
    if (FUseCustomGlyphs)
      CopyReplacing(result.get(), composite.get(), FWinMaskColor, clWindow);
    else
      result->Assign(composite.get());
    if (!themes && FTransparent) SmoothGlyphEdges(result.get());
  } else {
    result->Assign(composite.get());
  }
  BitBlt(cdc, g.left, g.top, w, h, result->Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TFcCustomGlyphButton::Paint() {
  if (IsDestroying() || FWidth <= 0 || FHeight <= 0) return;
  TBitmap work;
  work.SetSize(FWidth, FHeight, pf24bit);
  TCanvas* c = work.Canvas();
  c->SetFont(FFont);
  c->Brush()->SetColor(FColor);
  if (FBackgroundStale) {
    FBackgroundCache->SetSize(FWidth, FHeight, pf24bit);
    if (FTransparent)
      BitBlt(FBackgroundCache->Canvas()->GetHandle(), 0, 0, FWidth, FHeight, Canvas()->GetHandle(), 0, 0, SRCCOPY);
    else
      FillSolidRect(FBackgroundCache->Canvas()->GetHandle(), RECT{0, 0, FWidth, FHeight}, FColor);
    FBackgroundStale = false;
  }
  BitBlt(c->GetHandle(), 0, 0, FWidth, FHeight, FBackgroundCache->Canvas()->GetHandle(), 0, 0, SRCCOPY);
  DrawGlyph(c);
  RECT r{1, 1, FWidth - 1, FHeight - 1};
  if (GlyphOnLeft())
    r.left += FGlyphWidth + 4;
  else
    r.right -= FGlyphWidth + 4;
  DrawCaption(c, r, DT_WORDBREAK | DT_EXPANDTABS | (FRightToLeft ? DT_RIGHT : 0));
  std::string caption = GetCaption();
  if (Focused() && !caption.empty()) {
    RECT f = r;
    InflateRect(&f, 1, 1);
    int width = std::min(int(f.right - f.left), c->TextWidth(Trim(caption)) + 3);
    if (FRightToLeft)
      f.left = f.right - width;
    else
      f.right = f.left + width;
    PaintFocusBorder(c, f);
  }
  BitBlt(Canvas()->GetHandle(), 0, 0, FWidth, FHeight, c->GetHandle(), 0, 0, SRCCOPY);
}

void TFcCustomGlyphButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      TFcCustomButton::WndProc(m);
      FBackgroundStale = true;
      return;
    case WM_SIZE:
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_PARENTCOLORCHANGED:
      FBackgroundStale = true;
      TFcCustomButton::WndProc(m);
      if (m.Msg != WM_SIZE) Invalidate();
      return;
    case WM_LBUTTONDBLCLK:
      TFcCustomButton::WndProc(m);
      DblClick();
      return;
  }
  TFcCustomButton::WndProc(m);
}

// ---- TFcRadioButton ----

ORV_DEFINE_CLASS(TFcRadioButton, TFcCustomGlyphButton, FactoryOf<TFcRadioButton>(),
                 {BoolProp<TFcRadioButton>("Checked", &TFcRadioButton::GetChecked, &TFcRadioButton::SetChecked),
                  // Older form data: "Flat" stood for HotTrack.
                  BoolProp<TFcRadioButton>("Flat", &TFcRadioButton::GetHotTrack, &TFcRadioButton::SetHotTrack)})

TFcRadioButton::TFcRadioButton(TComponent* owner) : TFcCustomGlyphButton(owner) {
  FAlignmentVertical = avTop;
  FTabStop = false;
  FGlyphStateCount = 6;
}

void TFcRadioButton::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  SetTabStop(v);
  Repaint();
  if (!v || !FParent) {
    if (v && !FSuppressClick) Click();
    return;
  }
  auto siblings = FParent->ControlList();
  for (TControl* c : siblings)
    if (c != this)
      if (auto* r = As<TFcRadioButton>(c)) r->SetChecked(false);
  if (!FSuppressClick) Click();
}

void TFcRadioButton::SetReadOnly(bool v) {
  if (v == FReadOnly) return;
  FReadOnly = v;
  Repaint();
  if (!FParent) return;
  for (TControl* c : FParent->ControlList())
    if (c != this)
      if (auto* r = As<TFcRadioButton>(c)) r->SetReadOnly(v);
}

void TFcRadioButton::ChangeState() {
  if (!FChecked && !FReadOnly) SetChecked(true);
}

void TFcRadioButton::KeyPress(char& key) {
  if (FTabOnEnter && key == '\r') {
    key = 0;
    PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  TFcCustomGlyphButton::KeyPress(key);
}

void TFcRadioButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
      TFcCustomGlyphButton::WndProc(m);
      if (!FMousePressActive && !FReadOnly) SetChecked(true);
      return;
    case CM_DIALOGCHAR:
      if (IsAccelerator(char(m.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        m.Result = 1;
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (m.WParam == VK_DOWN && !(KeyDataToShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) && CanFocus()) {
        if (!FSuppressClick) Click();
        m.Result = 1;
        return;
      }
      break;
    case BM_GETCHECK:
      TFcCustomGlyphButton::WndProc(m);
      m.Result = FChecked ? 1 : 0;
      return;
  }
  TFcCustomGlyphButton::WndProc(m);
}

static int RadioCustomGlyphIndex(bool enabled, bool checked, bool pressed) {
  if (!enabled) return checked ? 5 : 4;
  return (checked ? 1 : 0) + (pressed ? 2 : 0);
}

void TFcRadioButton::DrawGlyphImage(TBitmap* bitmap) {
  const int w = FGlyphWidth, h = FGlyphHeight;
  HDC dc = bitmap->Canvas()->GetHandle();
  if (FUseCustomGlyphs && !FCustomGlyphs->Empty()) {
    ExtractCustomGlyph(RadioCustomGlyphIndex(FEnabled, FChecked, FPressedLook), bitmap, FCustomGlyphs, w, h);
    return;
  }
  RECT r{0, 0, w, h};
  if (FcThemesEnabled()) {
    int state = !FEnabled ? RBS_UNCHECKEDDISABLED : FPressedLook ? RBS_UNCHECKEDPRESSED
                : FPointerInside                 ? RBS_UNCHECKEDHOT
                                                 : RBS_UNCHECKEDNORMAL;
    if (FChecked) state += RBS_CHECKEDNORMAL - RBS_UNCHECKEDNORMAL;
    if (!FTransparent) FillSolidRect(dc, r, FColor);
    if (HTHEME t = OpenThemeData(nullptr, L"BUTTON")) {
      DrawThemeBackground(t, dc, BP_RADIOBUTTON, state, &r, nullptr);
      CloseThemeData(t);
    }
    return;
  }
  if (FHotTrack) {
    THotTrackRadioGlyph g;
    g.Checked = FChecked;
    g.State = FPressedLook ? gsPressed : FPointerInside ? gsHot : !FEnabled ? gsDisabled : gsNormal;
    if (!FEnabled) g.State = gsDisabled;
    g.Focused = Focused();
    g.HotTrackStyle = FHotTrackStyle;
    g.FrameColor = FFrameColor;
    g.HighlightColor = FHighlightColor;
    g.FillColor = FFillColor;
    g.FocusColor = FFocusColor;
    g.DisabledColor = FDisabledColor;
    if (FHotTrackColorType == htctActual) {
      g.HotDark = FHotTrackColor;
      g.HotLight = AlphaMixColors(clWhite, FHotTrackColor, 190);
    } else {
      g.HotLight = OppositeHueColor(FHotTrackColor, 180);
      g.HotDark = DarkenColor(g.HotLight, 30);
    }
    g.Color = FColor;
    g.Transparent = FTransparent;
    g.KeyColor = 0x008080;
    g.ReadOnly = FReadOnly;
    g.ReadOnlyColorOnFocus = FReadOnlyColorOnFocus;
    g.ReadOnlyColor = FReadOnlyColor;
    PaintHotTrackRadioGlyph(bitmap->Canvas(), r, g);
    return;
  }
  FillSolidRect(dc, r, FTransparentColor);
  UINT state = DFCS_BUTTONRADIO | DFCS_TRANSPARENT | (FChecked ? DFCS_CHECKED : 0) | (FPressedLook ? DFCS_PUSHED : 0) |
               (FEnabled ? 0 : DFCS_INACTIVE);
  DrawFrameControl(dc, &r, DFC_BUTTON, state);
}

void TFcRadioButton::SmoothGlyphEdges(TBitmap* bitmap) {
  HDC dc = bitmap->Canvas()->GetHandle();
  auto blend = [&](int x, int y, uint8_t a) {
    if (x >= bitmap->GetWidth() || y >= bitmap->GetHeight()) return;
    SetPixelV(dc, x, y, ColorToRGB(AlphaMixColors(FFrameColor, TColor(::GetPixel(dc, x, y)), a)));
  };
  for (auto p : {POINT{4, 0}, {8, 0}, {2, 1}, {10, 1}, {1, 2}, {11, 2}, {0, 4}, {12, 4}, {0, 8}, {12, 8}, {1, 10},
                 {11, 10}, {2, 11}, {10, 11}, {4, 12}, {8, 12}})
    blend(p.x, p.y, 128);
  for (auto p : {POINT{3, 0}, {9, 0}, {0, 3}, {12, 3}, {0, 9}, {12, 9}, {3, 12}, {9, 12}}) blend(p.x, p.y, 40);
}
