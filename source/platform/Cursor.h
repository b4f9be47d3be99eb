// Cursors and the screen cursor: one cursor for the whole program while it is not the default (the
// wait cursor). Windows of the program honour it in WM_SETCURSOR; Screen->SetCursor is the same thing.
#pragma once

#include <windows.h>

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

extern TCursor ScreenCursor;
void SetScreenCursor(TCursor cursor);
// The system cursor for a cursor value (crDefault gives the arrow).
HCURSOR CursorHandle(TCursor c);
