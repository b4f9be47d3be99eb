#include "OrvLabel.h"

#include "OrvWindowsUtils.h"

ORV_DEFINE_CLASS(TOrvLabel, TLabel, FactoryOf<TOrvLabel>(),
                 {BoolProp<TOrvLabel>("MoveHandler", &TOrvLabel::GetMoveHandler, &TOrvLabel::SetMoveHandler)})

TOrvLabel::TOrvLabel(TComponent* owner) : TLabel(owner) {}

void TOrvLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLabel::MouseDown(button, shift, x, y);
  if (!FMoveHandler || !GetParent()) return;
  // The system's move loop drags the window as if its caption had been pressed (SC_MOVE + HTCAPTION).
  HWND window = GetTopLevelWindow(GetParent()->Handle());
  SetMouseCapture(false);
  ReleaseCapture();
  SendMessageA(window, WM_SYSCOMMAND, 0xF012, 0);
}
