#include "SkinnerBox.h"

#include "Forms.h"
#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"

ORV_DEFINE_CLASS(TSkinGroupBox, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinBox, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinBoxH, TSkinControl, nullptr, {})

// ---- group boxes ----

void TSkinGroupBox::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  TSkinControl::AttachControl(form, data, setColour, canvas);
  if (Control) Mode = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (Mode == 1 && m.Msg == WM_PAINT) return HandleSkinPaint(this, m);
  return true;
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT& r) {
  Caption = GetWindowTextWide(WindowHandle);
  if (Caption.empty() && Control) Caption = GetWidePropText(Control, "Caption");
  FillFace(dc, r);
  const int saved = SaveDC(dc);
  if (Control) {
    SelectObject(dc, Control->GetFont()->Handle());
    SetTextColor(dc, ColorToRGB(Control->GetFont()->GetColor()));
  } else if (HFONT font = HFONT(SendMessageA(WindowHandle, WM_GETFONT, 0, 0))) {
    SelectObject(dc, font);
  }
  SIZE zero{0, 0};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  const int y = zero.cy / 2 - 1;
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->ButtonShadow));
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  RoundRect(dc, 1, y, r.right - 1, r.bottom - 1, 5, 5);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  // Opaque: the caption's cell hides the frame line behind it.
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorToRGB(SkinData->ButtonFace));
  if (!Caption.empty()) {
    if (GetWindowLongA(WindowHandle, GWL_EXSTYLE) & WS_EX_RIGHT) {
      RECT t{r.left, r.top, r.right - 8, r.bottom};
      DrawTextWide(dc, Caption, t, AddRtlReading(this, DT_RIGHT | DT_EXPANDTABS));
    } else {
      RECT t{r.left + 8, r.top, r.right, r.bottom};
      DrawTextWide(dc, Caption, t, DT_EXPANDTABS);
    }
  }
  RestoreDC(dc, saved);
  // The control's own painting was skipped, and with it the painting of its windowless children.
  if (auto* w = As<TWinControl>(Control)) w->PaintControls(dc);
}

// ---- panels and embedded forms ----

void TSkinBox::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached || !BindControl(form, data, setColour, canvas)) return;
  if (Form) Form->RegisterControl(this);
  TakeFaceColour();
  Attached = true;
  SkinnerState = ssAttached;
}

void TSkinBox::Detach() { TSkinControl::Detach(); }

// ---- raw dialogs and tool bars ----

bool TSkinBoxH::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetWindowRect(WindowHandle, &r);
      FillFace(HDC(m.WParam), RECT{0, 0, r.right - r.left, r.bottom - r.top});
      // Erased: answering 0 would make the window erase again over the face colour.
      m.Result = 1;
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallDefault(m);
      SetBkColor(HDC(m.WParam), ColorToRGB(SkinData->ButtonFace));
      if (SkinData->ButtonFaceBrush) m.Result = LRESULT(SkinData->ButtonFaceBrush);
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

// ---- size grips ----

ORV_DEFINE_CLASS(TSkinSizer, TSkinControl, nullptr, {})

void TSkinSizer::DrawControl(HDC dc, const RECT& r) { FillFace(dc, r); }
