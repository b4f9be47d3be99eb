#include "Cursor.h"

#include <windows.h>

TCursor ScreenCursor = crDefault;

void SetScreenCursor(TCursor cursor)
{
    ScreenCursor = cursor;
    SetCursor(LoadCursor(nullptr, cursor == crHourGlass ? IDC_WAIT : IDC_ARROW));
}
