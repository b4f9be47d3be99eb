// Edits and spin arrows. TSkinEdit draws a flat frame in the skin's colours over an edit's border
// (an edit without a border keeps its look) and finds the spin-button child of a spin edit, which
// TSkinUpDown then paints: two arrow halves from the skin's UpDown.Vert or UpDown.Horz images (eight
// frames: the first part's normal, pressed and disabled frames, then the second part's), or plain
// bevelled halves with arrows when the skin has none.
#pragma once

#include "SkinnerControl.h"

// The frame of the up-down's element for a part: direction 0 up, 1 down, 2 left, 3 right; state 1
// normal, 2 pressed, 3 disabled. Up and left take frames 1 to 4, down and right 5 to 8.
int UpDownFrame(int direction, int state);

class TSkinUpDown : public TSkinControl {
  ORV_CLASS(TSkinUpDown)
public:
  using TSkinControl::TSkinControl;
  bool InEdit = false;  // lies inside an edit's frame (set by the edit skinner)
  int Horizontal = 0;   // 1: left and right halves whatever the window's style

  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  // The state (1 normal, 2 pressed, 3 disabled) of the first or second part with the cursor at the
  // given coordinate along the layout's axis.
  int PartState(bool second, int cursor, int half) const;
  bool HorizontalLayout() const;
};

class TSkinEdit : public TSkinControl {
  ORV_CLASS(TSkinEdit)
public:
  using TSkinControl::TSkinControl;
  ~TSkinEdit() override;
  TSkinUpDown* SpinButtons = nullptr;  // owned by the edit control

  // The edit paints itself first; the frame goes over its border after (WM_PAINT by the base's
  // AfterMessage, WM_PRINT and SM_PAINTEDITTO here).
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  void Notification(TComponent* component, TOperation op) override;
  // The spin-button child (once found, its skinner); repeated at every paint until one is found.
  void FindSpinButtons();
  // The frame of WM_PRINT: only where the edit has a border of more than one pixel.
  void PrintFrame(HDC dc);

private:
  void CallDefaultKeepingDC(TMessage& m, HDC dc);
};
