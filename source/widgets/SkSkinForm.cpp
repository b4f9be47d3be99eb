#include "SkSkinForm.h"

#include "SkUtils.h"

ORV_DEFINE_CLASS(TskSkinForm, TGraphicControl, FactoryOf<TskSkinForm>(),
                 {ObjProp<TskSkinForm, TBitmap>("Glyph", &TskSkinForm::GetGlyph, &TskSkinForm::SetGlyph),
                  IntProp<TskSkinForm>("TransparentColor", &TskSkinForm::GetTransparentColor,
                                       &TskSkinForm::SetTransparentColor, &ColorIdents()),
                  EventProp("OnRegionChanged", &TskSkinForm::OnRegionChanged),
                  EventProp("OnPaint", &TskSkinForm::OnPaint)})

TskSkinForm::TskSkinForm(TComponent* owner) : TGraphicControl(owner), FGlyph(new TBitmap) {
  // Without a form to shape the control keeps an empty glyph and paints its placeholder frame.
  FOwnerForm = As<TCustomForm>(owner);
  if (FOwnerForm) FOwnerForm->SetBorderStyle(bsNone);
  FWidth = 200;
  FHeight = 100;
}

TskSkinForm::~TskSkinForm() { delete FGlyph; }

void TskSkinForm::SetGlyph(TBitmap* b) {
  FGlyph->Assign(b);
  ApplyGlyph();
  Repaint();
}

void TskSkinForm::SetTransparentColor(TColor c) {
  FTransparentColor = c;
  ApplyGlyph();
  Repaint();
}

void TskSkinForm::ApplyGlyph() {
  if (FGlyph->Empty()) return;
  if (FOwnerForm) SetWindowRegionFromBitmap(FOwnerForm->Handle(), FGlyph, FTransparentColor);
  if (FGlyph->GetHeight() != 0 && FGlyph->GetWidth() != 0) {
    SetHeight(FGlyph->GetHeight());
    SetWidth(FGlyph->GetWidth());
  }
  SetTop(0);
  SetLeft(0);
  if (FOwnerForm) {
    FOwnerForm->SetClientHeight(GetHeight());
    FOwnerForm->SetClientWidth(GetWidth());
  }
  if (OnRegionChanged) OnRegionChanged(this);
}

void TskSkinForm::Paint() {
  if (FGlyph->GetWidth() != 0 && FGlyph->GetHeight() != 0) {
    Canvas()->Draw(0, 0, FGlyph);
  } else {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(clBlack);
    Canvas()->FrameRect(GetClientRect());
  }
  if (OnPaint) OnPaint(this);
}

void TskSkinForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  SetMouseCapture(false);
  ReleaseCapture();
  // The system's move loop drags the window as if its caption had been pressed.
  if (FOwnerForm && FOwnerForm->HandleAllocated()) FOwnerForm->Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TskSkinForm::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;  // Paint covers the control
    return;
  }
  TGraphicControl::WndProc(m);
}
