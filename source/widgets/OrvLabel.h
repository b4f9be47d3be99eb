// TOrvLabel: a label that drags its top-level window when pressed, so a borderless window can be
// moved by any of its texts.
#pragma once

#include "StdCtrls.h"

class TOrvLabel : public TLabel {
  ORV_CLASS(TOrvLabel)
public:
  explicit TOrvLabel(TComponent* owner);
  bool GetMoveHandler() const { return FMoveHandler; }
  void SetMoveHandler(bool v) { FMoveHandler = v; }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  bool FMoveHandler = true;
};
