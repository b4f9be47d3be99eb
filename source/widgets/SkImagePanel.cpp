#include "SkImagePanel.h"

#include "SkUtils.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TskCustomPanel, TCustomPanel, nullptr,
                 {ObjProp<TskCustomPanel, TPicture>("Picture", &TskCustomPanel::GetPicture, &TskCustomPanel::SetPicture),
                  BoolProp<TskCustomPanel>("Transparent", &TskCustomPanel::GetTransparent, &TskCustomPanel::SetTransparent),
                  EnumProp<TskCustomPanel, TskDrawStyle>("DrawStyle", DrawStyleNames(), &TskCustomPanel::GetDrawStyle,
                                                         &TskCustomPanel::SetDrawStyle)})
ORV_DEFINE_CLASS(TskImagePanel, TskCustomPanel, FactoryOf<TskImagePanel>(), {})

TskCustomPanel::TskCustomPanel(TComponent* owner) : TCustomPanel(owner), FPicture(new TPicture) {
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
  FBevelInner = bvNone;
  FBevelOuter = bvNone;
  Repaint();
}

TskCustomPanel::~TskCustomPanel() {
  MarkDestroying();
  DestroyHandle();
  FPicture->OnChange = nullptr;
  delete FPicture;
}

void TskCustomPanel::SetPicture(TPicture* p) {
  FPicture->Assign(p);  // notifies PictureChanged
  PaintBackground();
  Repaint();
}

void TskCustomPanel::SetDrawStyle(TskDrawStyle v) {
  FDrawStyle = v;
  PaintBackground();
  Repaint();
}

void TskCustomPanel::SetAutoSize(bool v) {
  FAutoSize = v;
  if (FPicture->HasGraphic()) ApplyAutoSize();
}

void TskCustomPanel::SetTransparent(bool v) {
  FTransparent = v;
  if (FPicture->HasGraphic()) SyncPictureTransparency();
  Repaint();
}

void TskCustomPanel::PictureChanged() {
  if (FPicture->HasGraphic()) {
    if (FAutoSize) ApplyAutoSize();
    SyncPictureTransparency();
  }
  PaintBackground();
  Repaint();
}

void TskCustomPanel::PaintBackground() {
  Canvas()->Brush()->SetColor(GetColor());
  // A panel hosted in a foreign window is filled at once; inside the control tree Paint does it.
  if (GetParentWindow() && HandleAllocated()) {
    HDC dc = GetDC(Handle());
    RECT r = GetClientRect();
    FillSolidRect(dc, r, GetColor());
    ReleaseDC(Handle(), dc);
  }
}

void TskCustomPanel::ApplyAutoSize() {
  if (!FAutoSize) return;
  TAlign a = GetAlign();
  if (a != alTop && a != alBottom && a != alClient) SetWidth(FPicture->GetWidth());
  if (a != alLeft && a != alRight && a != alClient) SetHeight(FPicture->GetHeight());
}

void TskCustomPanel::SyncPictureTransparency() {
  TGraphic* g = FPicture->Graphic();
  if (g && g->GetTransparent() != FTransparent) g->SetTransparent(FTransparent);
}

void TskCustomPanel::Paint() {
  int w = GetWidth(), h = GetHeight();
  RECT client = GetClientRect();
  TBitmap buffer;
  buffer.SetPixelFormat(pfDevice);
  buffer.SetSize(w, h);
  TCanvas* bc = buffer.Canvas();
  if (FTransparent) DrawParentBackground(bc, this);
  if (FPicture->HasGraphic()) {
    switch (FDrawStyle) {
      case skStretch: bc->StretchDraw(client, FPicture->Graphic()); break;
      case skTile: TileDraw(bc, FPicture->Graphic(), client); break;
      case skNormal: bc->Draw(0, 0, FPicture->Graphic()); break;
    }
  } else if (!FTransparent) {
    bc->Brush()->SetStyle(bsSolid);
    bc->Brush()->SetColor(GetColor());
    bc->FillRect(client);
  }
  bc->Brush()->SetStyle(bsClear);
  std::string caption = GetCaption();
  if (!Trim(caption).empty()) {
    bc->SetFont(GetFont());
    static const UINT horizontal[] = {DT_LEFT, DT_RIGHT, DT_CENTER};  // by TAlignment
    RECT r = client;
    bc->DrawText(caption, r, DT_SINGLELINE | DT_VCENTER | horizontal[FAlignment]);
    FCaptionRect = client;
  }
  Canvas()->CopyRect(RECT{0, 0, w, h}, bc, RECT{0, 0, w, h});
}

void TskCustomPanel::Resize() {
  TCustomPanel::Resize();
  Repaint();
}

void TskCustomPanel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case CM_TEXTCHANGED:
      CaptionChanged(FCaptionRect);
      Repaint();
      return;
  }
  TCustomPanel::WndProc(m);
}
