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
  if (Mode == 1 && m.Msg == WM_PAINT) {
    HandleSkinPaint(this, m);
    return false;
  }
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

// ---- tool bars ----

namespace {

// The custom-draw handlers a form skinner gives a tool bar, known again by their type when it takes
// them back.
struct TToolbarDraw {
  TSkinnerForm* Form;
  void operator()(TToolBar* sender, const RECT& r, bool& defaultDraw) const {
    Form->ToolbarCustomDraw(sender, r, defaultDraw);
  }
};
struct TToolbarButtonDraw {
  TSkinnerForm* Form;
  void operator()(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw) const {
    Form->ToolbarCustomDrawButton(sender, button, state, defaultDraw);
  }
};

}  // namespace

void TSkinnerForm::HookToolbarDraw(TToolBar* bar) {
  if (!bar->OnCustomDrawButton) bar->OnCustomDrawButton = TToolbarButtonDraw{this};
  if (!bar->OnCustomDraw) bar->OnCustomDraw = TToolbarDraw{this};
  if (bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, TRUE);
}

void TSkinnerForm::ReleaseToolbarDraw(TToolBar* bar) {
  if (bar->OnCustomDrawButton.target<TToolbarButtonDraw>()) bar->OnCustomDrawButton = nullptr;
  if (bar->OnCustomDraw.target<TToolbarDraw>()) bar->OnCustomDraw = nullptr;
  if (bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, TRUE);
}

void TSkinnerForm::ReleaseToolMenus(TComponent* component) {
  if (!component) return;
  for (TComponent* c : component->ComponentList()) {
    if (auto* bar = As<TToolBar>(c)) {
      if (bar->GetMenu()) SetMenuItemsOwnerDraw(bar->GetMenu()->Items(), false);
    } else if (auto* button = As<TToolButton>(c)) {
      if (button->GetMenuItem()) SetMenuItemsOwnerDraw(button->GetMenuItem(), false);
    } else if (As<TCustomForm>(c)) {
      ReleaseToolMenus(c);
    }
  }
}

void TSkinnerForm::ToolbarCustomDraw(TToolBar* sender, const RECT& r, bool& defaultDraw) {
  (void)defaultDraw;
  const TDataSkinObject* g = FSkinData->ToolbarGradient;
  if (!g || g->Bitmap->Empty() || FSkinData->Has(xoToolbarBK)) return;
  HDC dc = sender->Canvas()->GetHandle();
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, g->Bitmap->Canvas()->GetHandle(), 0, 0,
             g->Bitmap->GetWidth(), g->Bitmap->GetHeight(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

void TSkinnerForm::ToolbarCustomDrawButton(TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                           bool& defaultDraw) {
  (void)defaultDraw;  // the bar draws the button's image and text over the frame
  const TDataSkinButton* e = FSkinData->Buttons;
  if (FState != skSkinned || !e || e->Bitmap->Empty() || FSkinData->Has(xoToolbarButton)) return;
  int frame;
  if (state & cdsSelected)
    frame = 2;
  else if (state & (cdsFocused | cdsHot))
    frame = 4;
  else if ((state & cdsDefault) && !(state & (cdsGrayed | cdsDisabled)))
    frame = 1;
  else
    return;
  TFont* font = sender->Canvas()->Font();
  if (frame == 1 && e->HasNormalColour2) font->SetColor(e->NormalColour2);
  if (frame == 4 && e->HasMouseOverColour2) font->SetColor(e->MouseOverColour2);
  if (frame == 2 && e->HasPressedColour2) font->SetColor(e->PressedColour2);
  RECT r = button->BoundsRect();
  InflateRect(&r, -1, -1);
  if (r.right <= r.left || r.bottom <= r.top) return;
  DrawSkinImage(sender->Canvas()->GetHandle(), r, e->Bitmap, false, e->Tile, e->Trans == 1, 5, frame, e->Margins);
}
