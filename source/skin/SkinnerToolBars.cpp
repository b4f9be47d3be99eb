// A skinned window's tool bars: the custom drawing the form skinner gives them (the skin's tool bar
// gradient behind the bar, the [Buttons] element's frames behind its buttons) and the owner drawing of
// their menus taken back.
#include "ComCtrls.h"
#include "Forms.h"
#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"

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
