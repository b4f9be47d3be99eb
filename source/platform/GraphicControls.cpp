// The controls that paint themselves on a canvas: the canvas bound to a control's DC, TGraphicControl
// (no window, painted by its parent), TCustomControl, and the parent background drawn behind a control.
#include "Controls.h"

// ---- TControlCanvas ----

void TControlCanvas::CreateHandle() {
  auto* w = dynamic_cast<TWinControl*>(FControl);
  if (w) {
    if (!w->HandleAllocated()) return;
    FOwnWindow = w->Handle();
    FOwnDC = GetDC(FOwnWindow);
  } else {
    TWinControl* p = FControl->GetParent();
    if (!p || !p->HandleAllocated()) return;
    FOwnWindow = p->Handle();
    FOwnDC = GetDC(FOwnWindow);
    SetViewportOrgEx(FOwnDC, FControl->GetLeft(), FControl->GetTop(), nullptr);
    IntersectClipRect(FOwnDC, 0, 0, FControl->GetWidth(), FControl->GetHeight());
  }
  SetHandle(FOwnDC);
}

void TControlCanvas::FreeHandle() {
  if (!FOwnDC) return;
  SetHandle(nullptr);
  ReleaseDC(FOwnWindow, FOwnDC);
  FOwnDC = nullptr;
  FOwnWindow = nullptr;
}

void TControlCanvas::PaintOn(HDC dc, TFont* font, const std::function<void()>& paint) {
  FreeHandle();
  SetHandle(dc);
  SetFont(font);
  try {
    paint();
  } catch (...) {
    SetHandle(nullptr);
    throw;
  }
  SetHandle(nullptr);
}

// ---- TGraphicControl and TCustomControl ----

ORV_DEFINE_CLASS(TGraphicControl, TControl, nullptr, {})

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(new TControlCanvas(this)) {}
TGraphicControl::~TGraphicControl() { delete FCanvas; }

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    FCanvas->PaintOn(HDC(m.WParam), FFont, [this] { Paint(); });
    return;
  }
  TControl::WndProc(m);
}

ORV_DEFINE_CLASS(TCustomControl, TWinControl, nullptr, {})

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(new TControlCanvas(this)) {
  FControlStyle |= csAcceptsControls;
}
TCustomControl::~TCustomControl() {
  DestroyHandle();
  delete FCanvas;
}

void TCustomControl::PaintWindow(HDC dc) {
  FCanvas->PaintOn(dc, FFont, [this] {
    FCanvas->Brush()->SetColor(FColor);
    Paint();
  });
}

void DrawParentBackground(TCanvas* canvas, TControl* control) {
  TWinControl* p = control ? control->GetParent() : nullptr;
  if (!p || !canvas) return;
  HDC dc = canvas->GetHandle();
  if (!dc) return;
  int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -control->GetLeft(), -control->GetTop(), nullptr);
  IntersectClipRect(dc, 0, 0, p->GetClientWidth(), p->GetClientHeight());
  p->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  p->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
}
