// TLayeredLabel: a caption on a layered window, drawn into the window's memory surface; pressing it
// drags the window (MoveHandler).
#pragma once

#include "LayeredWnd.h"

class TLayeredLabel : public TLayeredControl {
  ORV_CLASS(TLayeredLabel)
public:
  explicit TLayeredLabel(TComponent* owner);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;

  bool GetMoveHandler() const { return FMoveHandler; }
  void SetMoveHandler(bool v) { FMoveHandler = v; }

private:
  bool FMoveHandler = true;
};
