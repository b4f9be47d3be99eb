#include "LayeredLabel.h"

static const bool TLayeredLabel_listed = ListLayeredClass(&TLayeredLabel::StaticClassInfo);

ORV_DEFINE_LAYERED_CLASS(TLayeredLabel, TLayeredControl, FactoryOf<TLayeredLabel>(),
                 {BoolProp<TLayeredLabel>("MoveHandler", &TLayeredLabel::GetMoveHandler,
                                          &TLayeredLabel::SetMoveHandler)})

TLayeredLabel::TLayeredLabel(TComponent* owner) : TLayeredControl(owner) {}

void TLayeredLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLayeredControl::MouseDown(button, shift, x, y);
  if (FMoveHandler && FLayeredParent) {
    ReleaseCapture();
    // The system drags the window until the button is released; the call returns then.
    SendMessageA(FLayeredParent->Handle(), WM_SYSCOMMAND, 0xF012, 0);
    if (!(ComponentState() & csDesigning)) SetState(true, false);
  }
}

void TLayeredLabel::MouseMove(TShiftState shift, int x, int y) {
  TLayeredControl::MouseMove(shift, x, y);
  if (!Inside(x, y)) SetState(false, false);
}
