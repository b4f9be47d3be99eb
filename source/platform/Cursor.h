// The screen cursor: one cursor for the whole program while it is not the default (the wait cursor).
// Windows of the program honour it in WM_SETCURSOR.
#pragma once

enum TCursor { crDefault = 0, crHourGlass = -11 };

extern TCursor ScreenCursor;
void SetScreenCursor(TCursor cursor);
