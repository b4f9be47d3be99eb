#include "Cursor.h"

TCursor ScreenCursor = crDefault;

void SetScreenCursor(TCursor cursor)
{
    ScreenCursor = cursor;
    SetCursor(CursorHandle(cursor));
}

HCURSOR CursorHandle(TCursor c)
{
    LPCSTR id;
    switch (c) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: id = IDC_ARROW;
    }
    return LoadCursorA(nullptr, id);
}
