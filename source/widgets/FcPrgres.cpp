#include "FcPrgres.h"

#include <algorithm>

#include <uxtheme.h>
#include <vssym32.h>

#include "FcBarPainters.h"
#include "FcGrafx.h"
#include "Strings.h"

ORV_DEFINE_CLASS(
    TFcCustomProgressBar, TGraphicControl, nullptr,
    {IntProp<TFcCustomProgressBar>("Percent", &TFcCustomProgressBar::GetPercent, &TFcCustomProgressBar::SetPercent),
     BoolProp<TFcCustomProgressBar>("ShowPercent", &TFcCustomProgressBar::GetShowPercent,
                                    &TFcCustomProgressBar::SetShowPercent),
     IntProp<TFcCustomProgressBar>("PartsComplete", &TFcCustomProgressBar::GetPartsComplete,
                                   &TFcCustomProgressBar::SetPartsComplete),
     IntProp<TFcCustomProgressBar>("TotalParts", &TFcCustomProgressBar::GetTotalParts,
                                   &TFcCustomProgressBar::SetTotalParts),
     EnumProp<TFcCustomProgressBar, TBarStyle>("BarStyle", BarStyleNames(), &TFcCustomProgressBar::GetBarStyle,
                                               &TFcCustomProgressBar::SetBarStyle),
     EnumProp<TFcCustomProgressBar, TOrientation>("Orientation", OrientationNames(),
                                                  &TFcCustomProgressBar::GetOrientation,
                                                  &TFcCustomProgressBar::SetOrientation),
     IntProp<TFcCustomProgressBar>("NumSegments", &TFcCustomProgressBar::GetNumSegments,
                                   &TFcCustomProgressBar::SetNumSegments),
     IntProp<TFcCustomProgressBar>("BarColor", &TFcCustomProgressBar::GetBarColor, &TFcCustomProgressBar::SetBarColor,
                                   &ColorIdents()),
     IntProp<TFcCustomProgressBar>("BackColor", &TFcCustomProgressBar::GetBackColor,
                                   &TFcCustomProgressBar::SetBackColor, &ColorIdents()),
     EnumProp<TFcCustomProgressBar, TFrameStyleEx>("BorderOuter", FrameStyleNames(),
                                                   &TFcCustomProgressBar::GetBorderOuter,
                                                   &TFcCustomProgressBar::SetBorderOuter),
     EnumProp<TFcCustomProgressBar, TFrameStyleEx>("BorderInner", FrameStyleNames(),
                                                   &TFcCustomProgressBar::GetBorderInner,
                                                   &TFcCustomProgressBar::SetBorderInner),
     IntProp<TFcCustomProgressBar>("BorderWidth", &TFcCustomProgressBar::GetBorderWidth,
                                   &TFcCustomProgressBar::SetBorderWidth),
     IntProp<TFcCustomProgressBar>("BorderColor", &TFcCustomProgressBar::GetBorderColor,
                                   &TFcCustomProgressBar::SetBorderColor, &ColorIdents()),
     IntProp<TFcCustomProgressBar>("BevelWidth", &TFcCustomProgressBar::GetBevelWidth,
                                   &TFcCustomProgressBar::SetBevelWidth),
     IntProp<TFcCustomProgressBar>("FlatColor", &TFcCustomProgressBar::GetFlatColor,
                                   &TFcCustomProgressBar::SetFlatColor, &ColorIdents()),
     IntProp<TFcCustomProgressBar>("FlatColorAdjustment", &TFcCustomProgressBar::GetFlatColorAdjustment,
                                   &TFcCustomProgressBar::SetFlatColorAdjustment),
     IntProp<TFcCustomProgressBar>("InteriorOffset", &TFcCustomProgressBar::GetInteriorOffset,
                                   &TFcCustomProgressBar::SetInteriorOffset),
     BoolProp<TFcCustomProgressBar>("ThemeAware", &TFcCustomProgressBar::GetThemeAware,
                                    &TFcCustomProgressBar::SetThemeAware),
     FrameControllerProp<TFcCustomProgressBar>(), FrameControllerNotificationsProp<TFcCustomProgressBar>(),
     EventProp("OnChange", &TFcCustomProgressBar::OnChange)})

ORV_DEFINE_CLASS(TFcProgressBar, TFcCustomProgressBar, FactoryOf<TFcProgressBar>(),
                 {IntProp<TFcProgressBar>("BarColorStop", &TFcProgressBar::GetBarColorStop,
                                          &TFcProgressBar::SetBarColorStop, &ColorIdents()),
                  IntProp<TFcProgressBar>("BackColorStop", &TFcProgressBar::GetBackColorStop,
                                          &TFcProgressBar::SetBackColorStop, &ColorIdents()),
                  EnumProp<TFcProgressBar, TGradientDirection>("GradientDirection", GradientDirectionNames(),
                                                               &TFcProgressBar::GetGradientDirection,
                                                               &TFcProgressBar::SetGradientDirection)})

TFcCustomProgressBar::TFcCustomProgressBar(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle |= csOpaque;
  SetBounds(FLeft, FTop, 200, 24);
}

void TFcCustomProgressBar::UpdateFrame(TFcFrameController* controller) {
  if (!controller || !controller->GetFrameVisible()) return;
  if (FFrameLink.Takes(fcpFrameStyle)) FBorderOuter = controller->GetFrameStyle();
  if (FFrameLink.Takes(fcpFrameColor)) {
    FFlatColor = controller->GetFrameColor();
    FFlatColorAdjustment = 0;
  }
  if (FFrameLink.Takes(fcpColor)) SetBackColor(controller->GetColor());
  if (FFrameLink.Takes(fcpParentColor)) SetParentColor(controller->GetParentColor());
  Invalidate();
}

void TFcCustomProgressBar::Notification(TComponent* component, TOperation op) {
  TGraphicControl::Notification(component, op);
  if (op == opRemove) FFrameLink.Removed(component);
}

void TFcCustomProgressBar::Change() {
  if (OnChange) OnChange(this, FPercent);
}

void TFcCustomProgressBar::SetPercent(int v) {
  v = std::clamp(v, 0, 65535);  // a Word
  if (!Store(FPercent, v)) return;
  Change();
  Repaint();
}

void TFcCustomProgressBar::SetTotalParts(int v) {
  v = std::max(v, 0);
  if (!Store(FTotalParts, v)) return;
  if (IsLoading()) return;
  FPartsComplete = 0;
  SetPercent(0);
}

void TFcCustomProgressBar::SetPartsComplete(int v) {
  v = std::max(v, 0);
  if (v == FPartsComplete) return;
  FPartsComplete = std::min(v, FTotalParts);
  if (IsLoading() || FTotalParts == 0) return;
  SetPercent(int(RoundHalfEven(double(FPartsComplete) / FTotalParts * 100)));
}

void TFcCustomProgressBar::SetBarStyle(TBarStyle v) {
  if (!Store(FBarStyle, v)) return;
  FShowPercent = v != bsLED;
  FInteriorOffset = v == bsLED ? 1 : 0;
  Repaint();
}

void TFcCustomProgressBar::SetBarColor(TColor v) {
  if (!Store(FBarColor, v)) return;
  FFont->SetColor(v);
  Repaint();
}

void TFcCustomProgressBar::SetShowPercent(bool v) {
  if (Store(FShowPercent, v)) Repaint();
}
void TFcCustomProgressBar::SetOrientation(TOrientation v) {
  if (Store(FOrientation, v)) Repaint();
}
void TFcCustomProgressBar::SetNumSegments(int v) {
  if (Store(FNumSegments, std::clamp(v, 1, 100))) Repaint();
}
void TFcCustomProgressBar::SetBackColor(TColor v) {
  if (Store(FBackColor, v)) Repaint();
}
void TFcCustomProgressBar::SetBorderOuter(TFrameStyleEx v) {
  if (Store(FBorderOuter, v)) Repaint();
}
void TFcCustomProgressBar::SetBorderInner(TFrameStyleEx v) {
  if (Store(FBorderInner, v)) Repaint();
}
void TFcCustomProgressBar::SetBorderWidth(int v) {
  if (Store(FBorderWidth, std::max(v, 0))) Repaint();
}
void TFcCustomProgressBar::SetBorderColor(TColor v) {
  if (Store(FBorderColor, v)) Repaint();
}
void TFcCustomProgressBar::SetBevelWidth(int v) {
  if (Store(FBevelWidth, std::max(v, 1))) Repaint();
}
void TFcCustomProgressBar::SetInteriorOffset(int v) {
  if (Store(FInteriorOffset, std::clamp(v, 0, 255))) Repaint();
}
void TFcCustomProgressBar::SetFlatColor(TColor v) {
  if (Store(FFlatColor, v)) Invalidate();
}
void TFcCustomProgressBar::SetFlatColorAdjustment(int v) {
  if (Store(FFlatColorAdjustment, v)) Invalidate();
}
void TFcCustomProgressBar::SetThemeAware(bool v) {
  if (Store(FThemeAware, v)) Invalidate();
}

void TFcProgressBar::SetBackColorStop(TColor v) {
  if (FBackColorStop == v) return;
  FBackColorStop = v;
  Repaint();
}
void TFcProgressBar::SetBarColorStop(TColor v) {
  if (FBarColorStop == v) return;
  FBarColorStop = v;
  Repaint();
}
void TFcProgressBar::SetGradientDirection(TGradientDirection v) {
  if (FGradientDirection == v) return;
  FGradientDirection = v;
  Repaint();
}

void TFcCustomProgressBar::SetBounds(int l, int t, int w, int h) {
  TGraphicControl::SetBounds(l, t, w, h);
  SetOrientation(FHeight > FWidth ? orVertical : orHorizontal);
}

void TFcCustomProgressBar::Paint() {
  if (FWidth <= 0 || FHeight <= 0) return;
  TBitmap bmp;
  bmp.SetSize(FWidth, FHeight, pf24bit);
  TCanvas* c = bmp.Canvas();
  c->SetFont(FFont);
  RECT r{0, 0, FWidth, FHeight};
  if (FcThemesEnabled() && FThemeAware) {
    if (HTHEME th = OpenThemeData(nullptr, L"PROGRESS")) {
      DrawThemeBackground(th, c->GetHandle(), FOrientation == orHorizontal ? PP_BAR : PP_BARVERT, 0, &r, nullptr);
      CloseThemeData(th);
    }
    InflateRect(&r, -(FInteriorOffset + (FBarStyle == bsLED ? 1 : 3)), -(FInteriorOffset + (FBarStyle == bsLED ? 1 : 3)));
  } else {
    FillSolidRect(c->GetHandle(), r, FBorderColor);
    TInnerOuterBorder b;
    b.BorderOuter = FBorderOuter;
    b.BorderInner = FBorderInner;
    b.BorderWidth = FBorderWidth;
    b.BevelWidth = FBevelWidth;
    b.BorderColor = FBorderColor;
    b.HighlightColor = clBtnHighlight;
    b.ShadowColor = clBtnShadow;
    b.FlatColor = FFlatColor;
    b.FlatColorAdjustment = FFlatColorAdjustment;
    b.Color = FBackColor;
    b.ParentColor = FParent ? FParent->GetColor() : clBtnFace;
    b.Transparent = false;
    b.RoundedInnerFlat = true;
    r = PaintInnerOuterBorders(c, r, b);
    if (FInteriorOffset > 0) PaintBevel(c, r, FBackColor, FBackColor, FInteriorOffset, AllSides);
    InflateRect(&r, -FInteriorOffset, -FInteriorOffset);
  }
  switch (FBarStyle) {
    case bsTraditional:
      PaintSolidBar(c, r, FOrientation, FBarColor, FBackColor, FPercent, FShowPercent, false);
      break;
    case bsLED:
      PaintLedBar(c, r, FOrientation, FBarColor, FBackColor, FNumSegments, FPercent, FThemeAware, false);
      break;
    case bsGradient:
      PaintGradientBar(c, r, FOrientation, FBarColor, FBarColorStop, FBackColor, FBackColorStop, FGradientDirection,
                       FPercent, FShowPercent, false);
      break;
  }
  BitBlt(Canvas()->GetHandle(), 0, 0, FWidth, FHeight, c->GetHandle(), 0, 0, SRCCOPY);
}
